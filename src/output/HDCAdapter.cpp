#include "output/HDCAdapter.h"

#include <algorithm>
#include <climits>

#include "app/cLogger.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/outside/PdfDocument.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/Printers.h"

namespace {

// The screen's resolution, read from a context of the whole screen each time.
int ScreenDpi(int index)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, index) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

float Ratio(int num, int den) { return den ? static_cast<float>(num) / static_cast<float>(den) : 0.0f; }

}  // namespace

// ---- printer

int PRN_HDCAdapter::GetResolutionX() { return GetDeviceCaps(dc_, LOGPIXELSX); }
int PRN_HDCAdapter::GetResolutionY() { return GetDeviceCaps(dc_, LOGPIXELSY); }
int PRN_HDCAdapter::GetPageWidth() { return GetDeviceCaps(dc_, HORZRES); }
int PRN_HDCAdapter::GetPageHeight() { return GetDeviceCaps(dc_, VERTRES); }

void PRN_HDCAdapter::GetScale(int dpiX, int dpiY, int, int, float& scaleX, float& scaleY)
{
    scaleX = Ratio(GetResolutionX(), dpiX);
    scaleY = Ratio(GetResolutionY(), dpiY);
}

bool PRN_HDCAdapter::NewPage()
{
    EndPage(dc_);
    return StartPage(dc_) > 0;
}

bool PRN_HDCAdapter::SetClipRect(const RECT& r)
{
    HRGN region = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    SelectClipRgn(dc_, region);
    DeleteObject(region);
    return true;
}

bool PRN_HDCAdapter::RenderEMF(HENHMETAFILE picture, int left, int top, int right, int bottom, float, float)
{
    const RECT r{left, top, right, bottom};
    return PlayEnhMetaFile(dc_, picture, &r) != FALSE;
}

// ---- PDF document

namespace {

void Check(HRESULT result, const char* call)
{
    if (FAILED(result)) throw EDeviceError(call);
}

}  // namespace

HDC PDF_HDCAdapter::GetDC()
{
    HDC dc = nullptr;
    Check(document_->GetDC(dc), "this->GetDC((OLE_HANDLE*)&HDC)");
    return dc;
}

int PDF_HDCAdapter::GetResolutionX()
{
    long dpi = 0;
    Check(document_->get_PageResolution(dpi), "this->get_PageResolution(&res)");
    return static_cast<int>(dpi);
}

int PDF_HDCAdapter::GetPageWidth()
{
    long width = 0;
    Check(document_->get_PageWidth(width), "this->get_PageWidth(&width)");
    return static_cast<int>(width);
}

int PDF_HDCAdapter::GetPageHeight()
{
    long height = 0;
    Check(document_->get_PageHeight(height), "this->get_PageHeight(&height)");
    return static_cast<int>(height);
}

void PDF_HDCAdapter::GetScale(int, int, int width, int, float& scaleX, float& scaleY)
{
    scaleX = scaleY = Ratio(GetPageWidth(), width);
}

bool PDF_HDCAdapter::NewPage() { return SUCCEEDED(document_->NewPage()); }

bool PDF_HDCAdapter::SetClipRect(const RECT& r)
{
    document_->DrawRectangle(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right - r.left),
                             static_cast<float>(r.bottom - r.top), 0);
    return SUCCEEDED(document_->Clip());
}

bool PDF_HDCAdapter::RenderEMF(HENHMETAFILE picture, int left, int top, int right, int bottom, float, float)
{
    // The picture fills the rectangle the placer pages through. Played at the bare scales it
    // would reach (margins x aspect ratio) further down than the placer's last band, and the
    // end of a long body would be lost.
    ENHMETAHEADER header;
    if (!GetEnhMetaFileHeader(picture, sizeof(header), &header)) return false;
    const int w = header.rclBounds.right - header.rclBounds.left + 1;
    const int h = header.rclBounds.bottom - header.rclBounds.top + 1;
    return SUCCEEDED(document_->PlayMetaFileFromHandle(picture, static_cast<float>(left), static_cast<float>(top),
                                                       Ratio(right - left, w), Ratio(bottom - top, h)));
}

bool PDF_HDCAdapter::DrawRect(float x, float y, float width, float height, float radius)
{
    document_->DrawRectangle(x, y, width, height, radius);
    document_->Stroke();
    return true;
}

// ---- image

HDC IMG_HDCAdapter::GetDC() { return bitmap_.Canvas()->Handle(); }
int IMG_HDCAdapter::GetResolutionX() { return 2 * ScreenDpi(LOGPIXELSX); }
int IMG_HDCAdapter::GetResolutionY() { return 2 * ScreenDpi(LOGPIXELSY); }

void IMG_HDCAdapter::GetScale(int dpiX, int dpiY, int, int, float& scaleX, float& scaleY)
{
    scaleX = Ratio(GetResolutionX(), dpiX);
    scaleY = Ratio(GetResolutionY(), dpiY);
}

bool IMG_HDCAdapter::RenderEMF(HENHMETAFILE picture, int left, int top, int right, int bottom, float, float)
{
    // The bitmap only grows: a body narrower than the header must not cut the header off.
    const long long width = std::max<long long>(bitmap_.Width(), static_cast<long long>(left) + right);
    const long long height = std::max<long long>(bitmap_.Height(), static_cast<long long>(top) + bottom);
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
        LogPrintf(u"image too large: %d x %d pixels", static_cast<int>(std::min<long long>(width, INT_MAX)),
                  static_cast<int>(std::min<long long>(height, INT_MAX)));
        return false;
    }
    try {
        bitmap_.SetSize(static_cast<int>(width), static_cast<int>(height));
    } catch (const std::exception&) {
        LogPrintf(u"exception caught on line %d", __LINE__);
        return false;
    }
    const RECT r{left, top, right, bottom};
    return PlayEnhMetaFile(GetDC(), picture, &r) != FALSE;
}

bool IMG_HDCAdapter::SaveToFile(const WideString& path)
{
    return SUCCEEDED(converter_.ImageSave(path, GetDC(), bitmap_.Width(), bitmap_.Height()));
}
