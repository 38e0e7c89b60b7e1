#include "platform/outside/HtmlConverter.h"

#include <algorithm>

#include "platform/outside/HtmlNormalizer.h"
#include "platform/outside/HtmlPainter.h"
#include "platform/outside/HtmlSource.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsImages.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinString.h"

namespace {

// The largest page laid out: beyond it a body is refused rather than allocated.
constexpr int kMaxLayoutWidth = 20000;
// Content wider than the page is shown at no less than 1 / kMaxShrink of its size, so that
// it stays readable.
constexpr int kMaxShrink = 2;

std::string PathOfUrl(const WideString& url) {
    std::string u = Utf16ToUtf8(url);
    if (u.rfind("file://", 0) == 0) {
        u = u.substr(7);
        while (u.size() > 1 && u[0] == '/' && u[1] == '/') u.erase(0, 1);
    }
    return u;
}

std::string Extension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

class HtmlConverter : public IHTMLConverter {
public:
    explicit HtmlConverter(const THtmlConverterLimits& limits) : limits_(limits) {
        context_.load_master_stylesheet(HtmlConverterStyleSheet());
    }

    HRESULT GetSupportedFormats(WideString& formats) override {
        formats = u"PDF\nPNG\nJPG\nJPEG\nBMP";
        return S_OK;
    }

    HRESULT ConvertToEMF(const WideString& url, const WideString& emfPath, HENHMETAFILE& picture, long width, long height,
                         long& dpiX, long& dpiY) override {
        return Convert(url, emfPath, picture, width, height, dpiX, dpiY, {});
    }

    HRESULT ConvertToEMFCharset(const WideString& url, const WideString& emfPath, HENHMETAFILE& picture, long width, long height,
                                long& dpiX, long& dpiY, const WideString& charset) override {
        return Convert(url, emfPath, picture, width, height, dpiX, dpiY, Utf16ToUtf8(charset));
    }

    HRESULT ImageSave(const WideString& path, HDC dc, long width, long height) override {
        error_.clear();
        const std::string file = Utf16ToUtf8(path);
        const std::string ext = Extension(file);
        std::unique_ptr<TRasterImage> image;
        if (ext == "png") image = std::make_unique<TPngImage>();
        else if (ext == "jpg" || ext == "jpeg") image = std::make_unique<TJPEGImage>();
        else if (ext != "bmp") return Fail(E_INVALIDARG, "no image format for \"" + ext + "\"");
        if (!GetCurrentObject(dc, OBJ_BITMAP) || width <= 0 || height <= 0) return Fail(E_INVALIDARG, "no bitmap to save");
        try {
            // Copied through the context it is selected into: a bitmap is drawn on by one
            // memory context at a time, so another context could not read it.
            TBitmap part;
            part.SetSize(static_cast<int>(width), static_cast<int>(height));
            if (!BitBlt(part.Canvas()->Handle(), 0, 0, static_cast<int>(width), static_cast<int>(height), dc, 0, 0, SRCCOPY))
                return Fail(E_FAIL, "the picture could not be read");
            if (image) {
                image->Assign(&part);
                image->SaveToFile(file);
            } else {
                part.SaveToFile(file);
            }
        } catch (const std::exception& e) {
            return Fail(E_FAIL, e.what());
        }
        return S_OK;
    }

    const std::string& LastError() const override { return error_; }

private:
    HRESULT Fail(HRESULT result, std::string why) {
        error_ = std::move(why);
        return result;
    }

    HRESULT Convert(const WideString& url, const WideString&, HENHMETAFILE& picture, long width, long, long& dpiX, long& dpiY,
                    const std::string& charset) {
        error_.clear();
        picture = nullptr;
        THtmlSource source;
        std::string why;
        if (!LoadHtmlSource(PathOfUrl(url), charset, source, why)) return Fail(E_FAIL, why);
        if (!NormalizeMailHtml(source.html, why)) return Fail(E_FAIL, why);
        const int layoutWidth = width > 0 ? static_cast<int>(std::min<long>(width, kMaxLayoutWidth)) : limits_.defaultWidth;

        HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, u"metafile");
        if (!dc) return Fail(E_FAIL, "cannot record a picture");
        int pageWidth = layoutWidth, pageHeight = 0;
        try {
            HtmlPainter painter(dc, source, layoutWidth, std::chrono::steady_clock::now() + limits_.layoutBudget);
            litehtml::document::ptr doc = litehtml::document::createFromUTF8(source.html.c_str(), &painter, &context_);
            if (!doc) throw std::runtime_error("the page could not be read");
            doc->render(layoutWidth);
            if (doc->width() > layoutWidth) {
                // Content that cannot be narrower (a wide table or picture) gets up to kMaxShrink
                // times the room and is shown that much smaller; what is wider still is cut.
                pageWidth = std::min(doc->width(), kMaxShrink * layoutWidth);
                painter.SetWidth(pageWidth);
                doc->render(pageWidth);
            }
            pageHeight = std::max(doc->height(), 1);
            painter.SetDocumentSize(doc->width(), pageHeight);
            // The page is filled, so the picture spans the page's width whatever it shows.
            const RECT page{0, 0, pageWidth, pageHeight};
            FillRect(dc, &page, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            // Selected, not intersected: a recording's own extent is only the screen's, and the
            // painter's clips must narrow the page rather than the screen.
            HRGN pageRegion = CreateRectRgn(0, 0, pageWidth, pageHeight);
            SelectClipRgn(dc, pageRegion);
            DeleteObject(pageRegion);
            const litehtml::position clip(0, 0, pageWidth, pageHeight);
            doc->draw(reinterpret_cast<litehtml::uint_ptr>(dc), 0, 0, &clip);
            doc.reset();  // fonts go back before the painter does
        } catch (const std::exception& e) {
            DeleteEnhMetaFile(CloseEnhMetaFile(dc));
            return Fail(E_FAIL, e.what());
        }
        picture = CloseEnhMetaFile(dc);
        if (!picture) return Fail(E_FAIL, "cannot record a picture");
        if (pageWidth > layoutWidth && !Shrink(picture, pageWidth, pageHeight, layoutWidth)) {
            DeleteEnhMetaFile(picture);
            picture = nullptr;
            return Fail(E_FAIL, "cannot record a picture");
        }
        dpiX = dpiY = 96;
        return S_OK;
    }

    // Replaces the picture of a page width x height by the same drawn toWidth wide.
    static bool Shrink(HENHMETAFILE& picture, int width, int height, int toWidth) {
        HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, u"metafile");
        if (!dc) return false;
        const RECT to{0, 0, toWidth, std::max(1, static_cast<int>(static_cast<long long>(height) * toWidth / width))};
        PlayEnhMetaFile(dc, picture, &to);
        HENHMETAFILE smaller = CloseEnhMetaFile(dc);
        if (!smaller) return false;
        DeleteEnhMetaFile(picture);
        picture = smaller;
        return true;
    }

    THtmlConverterLimits limits_;
    litehtml::context context_;
    std::string error_;
};

}  // namespace

std::unique_ptr<IHTMLConverter> CreateHtmlConverter(const THtmlConverterLimits& limits) {
    return std::make_unique<HtmlConverter>(limits);
}
