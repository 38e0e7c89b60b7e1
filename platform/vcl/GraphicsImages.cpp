#include "platform/vcl/GraphicsImages.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/vcl/Metafile.h"
#include "platform/win/WinString.h"

namespace {

std::vector<std::uint8_t> ReadAll(TStream& stream) {
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    while (true) {
        const std::int64_t n = stream.Read(buffer, sizeof(buffer));
        if (n <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

GdiBackend& Backend() {
    GdiBackend* b = CurrentGdiBackend();
    if (!b) throw EInvalidGraphicOperation(u"Pictures need the display backend");
    return *b;
}

GdiBitmap* BitmapObject(HBITMAP h) { return HandleAs<GdiBitmap>(static_cast<HANDLE>(h)); }

int BitsOf(TPixelFormat f) {
    switch (f) {
        case pf1bit: return 1;
        case pf4bit: return 4;
        case pf8bit: return 8;
        case pf24bit: return 24;
        case pfDevice:
        case pf32bit: return 32;
        default: return 0;
    }
}

TPixelFormat FormatOf(int bits) {
    switch (bits) {
        case 1: return pf1bit;
        case 4: return pf4bit;
        case 8: return pf8bit;
        case 24: return pf24bit;
        default: return pf32bit;
    }
}

}  // namespace

// ---- graphic

void TGraphic::SetTransparent(bool transparent) {
    if (transparent_ == transparent) return;
    transparent_ = transparent;
    Changed();
}

void TGraphic::Changed() {
    Modified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const AnsiString& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const AnsiString& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

// ---- bitmap

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() {
    canvas_.reset();
    if (handle_) DeleteObject(handle_);
}

bool TBitmap::Empty() const { return width_ == 0 || height_ == 0; }

void TBitmap::FreeCanvasContext() {
    if (canvas_) canvas_->FreeContext();
}

void TBitmap::Replace(HBITMAP bitmap) {
    FreeCanvasContext();
    if (handle_ && handle_ != bitmap) DeleteObject(handle_);
    handle_ = bitmap;
    const GdiBitmap* b = BitmapObject(bitmap);
    width_ = b ? b->Width() : 0;
    height_ = b ? b->Height() : 0;
    if (b) format_ = FormatOf(b->BitsPerPixel());
    Changed();
}

HBITMAP TBitmap::Handle() {
    if (!handle_ && width_ > 0 && height_ > 0) SetSize(width_, height_);
    return handle_;
}

void TBitmap::SetHandle(HBITMAP bitmap) { Replace(bitmap); }

HBITMAP TBitmap::ReleaseHandle() {
    FreeCanvasContext();
    HBITMAP h = handle_;
    handle_ = nullptr;
    width_ = height_ = 0;
    return h;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (handle_ && width == width_ && height == height_) return;
    const int bits = BitsOf(format_);
    HBITMAP fresh = width > 0 && height > 0 ? CreateBitmap(width, height, 1, static_cast<UINT>(bits), nullptr) : nullptr;
    if (width > 0 && height > 0 && !fresh) throw EOutOfResources(u"Out of system resources");
    if (GdiBitmap* nb = BitmapObject(fresh)) {
        const GdiBitmap* old = BitmapObject(handle_);
        if (old && old->BitsPerPixel() == nb->BitsPerPixel()) nb->palette = old->palette;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                nb->SetPixel(x, y, old && x < old->Width() && y < old->Height() ? old->Pixel(x, y) : RGB(255, 255, 255));
    }
    Replace(fresh);
    width_ = width;
    height_ = height;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == pf15bit || format == pf16bit || format == pfCustom)
        throw EInvalidGraphicOperation(u"Pixel format not supported");
    if (format == format_ || (BitsOf(format) == BitsOf(format_) && handle_)) {
        format_ = format;
        return;
    }
    format_ = format;
    if (!handle_) return;
    const GdiBitmap* old = BitmapObject(handle_);
    HBITMAP fresh = CreateBitmap(width_, height_, 1, static_cast<UINT>(BitsOf(format)), nullptr);
    if (!fresh) throw EOutOfResources(u"Out of system resources");
    GdiBitmap* nb = BitmapObject(fresh);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) nb->SetPixel(x, y, old->Pixel(x, y));
    Replace(fresh);
    format_ = format;
}

void* TBitmap::ScanLine(int y) {
    GdiBitmap* b = BitmapObject(Handle());
    if (!b || y < 0 || y >= b->Height()) throw EInvalidGraphicOperation(u"Scan line index out of range");
    return b->Row(y);
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return canvas_.get();
}

TColor TBitmap::TransparentColor() {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
    // Automatic: the colour of the bottom-left pixel.
    const GdiBitmap* b = BitmapObject(Handle());
    if (!b) return clDefault;
    return static_cast<TColor>(b->Pixel(0, b->Height() - 1));
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TBitmap*>(source)) {
        if (other == this) return;
        const GdiBitmap* b = BitmapObject(other->handle_);
        format_ = other->format_;
        transparentMode_ = other->transparentMode_;
        transparentColor_ = other->transparentColor_;
        SetTransparent(other->Transparent());
        if (!b) {
            Replace(nullptr);
            width_ = other->width_;
            height_ = other->height_;
            return;
        }
        HBITMAP copy = CreateBitmap(b->Width(), b->Height(), 1, static_cast<UINT>(b->BitsPerPixel()), nullptr);
        if (!copy) throw EOutOfResources(u"Out of system resources");
        GdiBitmap* nb = BitmapObject(copy);
        nb->palette = b->palette;
        std::memcpy(nb->Bits(), b->Row(0), static_cast<size_t>(b->Stride()) * b->Height());
        Replace(copy);
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        auto* g = const_cast<TGraphic*>(graphic);
        SetSize(g->Width(), g->Height());
        TCanvas* c = Canvas();
        c->Brush()->SetColor(clWhite);
        c->FillRect(Rect(0, 0, width_, height_));
        c->Draw(0, 0, g);
        return;
    }
    TGraphic::Assign(source);
}

void TBitmap::LoadFromStream(TStream& stream) {
    const std::vector<std::uint8_t> data = ReadAll(stream);
    auto invalid = [] { return EInvalidGraphic(u"Bitmap image is not valid"); };
    if (data.size() < sizeof(BITMAPFILEHEADER) + 12) throw invalid();
    BITMAPFILEHEADER file;
    std::memcpy(&file, data.data(), sizeof(file));
    if (file.bfType != 0x4D42) throw invalid();
    const size_t infoAt = sizeof(BITMAPFILEHEADER);
    DWORD headerSize = 0;
    std::memcpy(&headerSize, data.data() + infoAt, 4);
    BITMAPINFOHEADER h;
    size_t colorsAt = 0;
    if (headerSize == 12) {
        // The old core header: 16-bit sizes, three-byte palette entries.
        WORD w = 0, hh = 0, planes = 0, bits = 0;
        std::memcpy(&w, data.data() + infoAt + 4, 2);
        std::memcpy(&hh, data.data() + infoAt + 6, 2);
        std::memcpy(&planes, data.data() + infoAt + 8, 2);
        std::memcpy(&bits, data.data() + infoAt + 10, 2);
        h.biWidth = w;
        h.biHeight = hh;
        h.biBitCount = bits;
        colorsAt = infoAt + 12;
    } else {
        if (headerSize < 40 || data.size() < infoAt + headerSize) throw invalid();
        std::memcpy(&h, data.data() + infoAt, sizeof(h));
        colorsAt = infoAt + headerSize;
    }
    const int bits = h.biBitCount;
    int colorCount = 0;
    if (h.biCompression == BI_BITFIELDS) colorCount = headerSize >= 52 ? 0 : 3;
    else if (bits <= 8) colorCount = h.biClrUsed ? static_cast<int>(std::min<DWORD>(h.biClrUsed, 1u << bits)) : (1 << bits);
    std::vector<RGBQUAD> colors;
    const size_t entry = headerSize == 12 ? 3 : 4;
    if (h.biCompression == BI_BITFIELDS && headerSize >= 52) {
        // The masks are inside the larger headers.
        colors.resize(3);
        std::memcpy(colors.data(), data.data() + infoAt + 40, 12);
        colorCount = 3;
    } else {
        if (colorsAt + entry * colorCount > data.size()) throw invalid();
        for (int i = 0; i < colorCount; ++i) {
            const std::uint8_t* e = data.data() + colorsAt + entry * i;
            colors.push_back(RGBQUAD{e[0], e[1], e[2], 0});
        }
    }
    const size_t bitsAt = file.bfOffBits ? file.bfOffBits : colorsAt + entry * colorCount;
    if (bitsAt >= data.size() || h.biWidth <= 0 || h.biHeight == 0) throw invalid();
    const long long width = h.biWidth, height = std::llabs(static_cast<long long>(h.biHeight));
    if (width * height > (1LL << 28) || h.biPlanes > 1) throw invalid();
    const size_t stride = static_cast<size_t>(((width * bits + 31) / 32) * 4);
    const size_t available = data.size() - bitsAt;
    const bool keepFormat = h.biCompression == BI_RGB && (bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32);
    if (keepFormat) {
        if (available < stride * static_cast<size_t>(height)) throw invalid();
        HBITMAP bmp = CreateBitmap(static_cast<int>(width), static_cast<int>(height), 1, static_cast<UINT>(bits), nullptr);
        if (!bmp) throw EOutOfResources(u"Out of system resources");
        GdiBitmap* b = BitmapObject(bmp);
        if (bits <= 8) {
            b->palette = colors;
            b->palette.resize(static_cast<size_t>(1) << bits);
        }
        for (long long y = 0; y < height; ++y) {
            const long long src = h.biHeight > 0 ? height - 1 - y : y;
            std::memcpy(b->Row(static_cast<int>(y)), data.data() + bitsAt + stride * static_cast<size_t>(src),
                        std::min<size_t>(stride, static_cast<size_t>(b->Stride())));
        }
        Replace(bmp);
        return;
    }
    GdiImage img;
    if (!GdiDibToImage(h, colors.data(), static_cast<int>(colors.size()), data.data() + bitsAt, available, img))
        throw invalid();
    HBITMAP bmp = CreateBitmap(img.width, img.height, 1, 32, nullptr);
    if (!bmp) throw EOutOfResources(u"Out of system resources");
    GdiBitmap* b = BitmapObject(bmp);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const std::uint32_t p = img.At(x, y);
            b->SetPixel(x, y, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    Replace(bmp);
}

void TBitmap::SaveToStream(TStream& stream) {
    GdiBitmap* b = BitmapObject(Handle());
    if (!b) throw EInvalidGraphicOperation(u"Cannot save an empty bitmap");
    const int bits = b->BitsPerPixel();
    const size_t colors = bits <= 8 ? b->palette.size() : 0;
    BITMAPINFOHEADER h;
    h.biWidth = b->Width();
    h.biHeight = b->Height();
    h.biBitCount = static_cast<WORD>(bits);
    h.biSizeImage = static_cast<DWORD>(b->Stride() * b->Height());
    h.biXPelsPerMeter = h.biYPelsPerMeter = 3780;
    h.biClrUsed = static_cast<DWORD>(colors);
    BITMAPFILEHEADER file;
    file.bfOffBits = static_cast<DWORD>(sizeof(file) + sizeof(h) + colors * 4);
    file.bfSize = file.bfOffBits + h.biSizeImage;
    stream.WriteBuffer(&file, sizeof(file));
    stream.WriteBuffer(&h, sizeof(h));
    if (colors) stream.WriteBuffer(b->palette.data(), static_cast<std::int64_t>(colors * 4));
    for (int y = b->Height() - 1; y >= 0; --y) stream.WriteBuffer(b->Row(y), b->Stride());
}

void TBitmap::DrawOn(TCanvas& canvas, const TRect& r) {
    if (Empty()) return;
    HDC src = Canvas()->Handle();
    HDC dst = canvas.Handle();
    if (Transparent()) {
        TransparentBlt(dst, r.left, r.top, r.Width(), r.Height(), src, 0, 0, width_, height_,
                       ColorToRGB(TransparentColor()));
    } else {
        StretchBlt(dst, r.left, r.top, r.Width(), r.Height(), src, 0, 0, width_, height_, canvas.CopyMode());
    }
}

void TBitmapCanvas::CreateHandle() {
    if (dc_) return;
    HBITMAP bmp = bitmap_.Handle();
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) return;
    if (bmp) oldBitmap_ = SelectObject(dc_, bmp);
    SetHandle(dc_);
}

void TBitmapCanvas::FreeContext() {
    if (!dc_) return;
    SetHandle(nullptr);
    if (oldBitmap_) SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
    oldBitmap_ = nullptr;
}

// ---- icon

TIcon::~TIcon() {
    if (handle_) DestroyIcon(handle_);
}

void TIcon::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TIcon*>(source)) {
        int w = 0, h = 0;
        std::vector<std::uint32_t> px;
        if (other->handle_ && GetIconPixels(other->handle_, &w, &h, &px))
            SetHandle(CreateIconFromPixels(w, h, px.data()));
        else
            SetHandle(nullptr);
        return;
    }
    TGraphic::Assign(source);
}

int TIcon::Width() const {
    int w = 0;
    GetIconPixels(handle_, &w, nullptr, nullptr);
    return w;
}

int TIcon::Height() const {
    int h = 0;
    GetIconPixels(handle_, nullptr, &h, nullptr);
    return h;
}

void TIcon::SetSize(int width, int height) {
    if (width != Width() || height != Height()) throw EInvalidGraphicOperation(u"Cannot change the size of an icon");
}

void TIcon::SetHandle(HICON icon) {
    if (handle_ && handle_ != icon) DestroyIcon(handle_);
    handle_ = icon;
    Changed();
}

HICON TIcon::ReleaseHandle() {
    HICON h = handle_;
    handle_ = nullptr;
    return h;
}

void TIcon::LoadFromStream(TStream& stream) {
    const std::vector<std::uint8_t> data = ReadAll(stream);
    GdiImage img;
    std::string format;
    if (!Backend().DecodeImage(data.data(), data.size(), img, &format) || format != "ico")
        throw EInvalidGraphic(u"Icon image is not valid");
    SetHandle(CreateIconFromPixels(img.width, img.height, img.pixels.data()));
}

void TIcon::SaveToStream(TStream& stream) {
    GdiImage img;
    if (!GetIconPixels(handle_, &img.width, &img.height, &img.pixels))
        throw EInvalidGraphicOperation(u"Cannot save an empty icon");
    img.hasAlpha = true;
    std::vector<std::uint8_t> out;
    if (!Backend().EncodeImage(img, "ico", -1, out)) throw EInvalidGraphicOperation(u"The icon could not be written");
    stream.WriteBuffer(out.data(), static_cast<std::int64_t>(out.size()));
}

void TIcon::DrawOn(TCanvas& canvas, const TRect& r) {
    if (!handle_) return;
    DrawIconEx(canvas.Handle(), r.left, r.top, handle_, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}

// ---- raster images

void TRasterImage::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TRasterImage*>(source)) {
        SetPixels(other->width_, other->height_, other->pixels_);
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(const_cast<TPersistent*>(source))) {
        std::vector<std::uint32_t> px;
        GdiBitmap* b = BitmapObject(bitmap->Handle());
        if (!b) {
            SetPixels(0, 0, {});
            return;
        }
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x) {
                const COLORREF c = b->Pixel(x, y);
                px.push_back(0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
            }
        SetPixels(b->Width(), b->Height(), std::move(px));
        return;
    }
    TGraphic::Assign(source);
}

void TRasterImage::SetPixels(int width, int height, std::vector<std::uint32_t> argb) {
    if (width < 0 || height < 0 || argb.size() != static_cast<size_t>(width) * height)
        throw EInvalidGraphicOperation(u"Invalid picture size");
    width_ = width;
    height_ = height;
    pixels_ = std::move(argb);
    Changed();
}

void TRasterImage::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::vector<std::uint32_t> scaled(static_cast<size_t>(width) * height, 0xFFFFFFFFu);
    for (int y = 0; y < height && height_ > 0; ++y)
        for (int x = 0; x < width && width_ > 0; ++x)
            scaled[static_cast<size_t>(y) * width + x] =
                pixels_[static_cast<size_t>(y * height_ / height) * width_ + static_cast<size_t>(x * width_ / width)];
    SetPixels(width, height, std::move(scaled));
}

void TRasterImage::LoadFromStream(TStream& stream) {
    const std::vector<std::uint8_t> data = ReadAll(stream);
    GdiImage img;
    std::string found;
    if (!Backend().DecodeImage(data.data(), data.size(), img, &found) ||
        (found != format_ && !(format_ == "jpeg" && found == "jpg")))
        throw EInvalidGraphic(Utf8ToUtf16("The " + format_ + " image is not valid"));
    SetPixels(img.width, img.height, std::move(img.pixels));
}

void TRasterImage::SaveToStream(TStream& stream) {
    GdiImage img;
    img.width = width_;
    img.height = height_;
    img.pixels = pixels_;
    img.hasAlpha = true;
    std::vector<std::uint8_t> out;
    if (Empty() || !Backend().EncodeImage(img, format_, Quality, out))
        throw EInvalidGraphicOperation(Utf8ToUtf16("The " + format_ + " image could not be written"));
    stream.WriteBuffer(out.data(), static_cast<std::int64_t>(out.size()));
}

void TRasterImage::DrawOn(TCanvas& canvas, const TRect& r) {
    if (Empty()) return;
    HICON icon = CreateIconFromPixels(width_, height_, pixels_.data());
    if (!icon) return;
    DrawIconEx(canvas.Handle(), r.left, r.top, icon, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
}

// ---- metafile

namespace {
constexpr double kHimetricPerPixel = 2540.0 / 96.0;
}

TMetafile::~TMetafile() {
    if (handle_) DeleteEnhMetaFile(handle_);
}

void TMetafile::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TMetafile*>(source)) {
        SetHandle(other->handle_ ? CopyEnhMetaFileW(other->handle_, nullptr) : nullptr);
        mmWidth_ = other->mmWidth_;
        mmHeight_ = other->mmHeight_;
        return;
    }
    TGraphic::Assign(source);
}

int TMetafile::MMWidth() const {
    ENHMETAHEADER h;
    if (handle_ && GetEnhMetaFileHeader(handle_, sizeof(h), &h)) return h.rclFrame.right - h.rclFrame.left;
    return mmWidth_;
}

int TMetafile::MMHeight() const {
    ENHMETAHEADER h;
    if (handle_ && GetEnhMetaFileHeader(handle_, sizeof(h), &h)) return h.rclFrame.bottom - h.rclFrame.top;
    return mmHeight_;
}

int TMetafile::Width() const { return static_cast<int>(std::lround(MMWidth() / kHimetricPerPixel)); }
int TMetafile::Height() const { return static_cast<int>(std::lround(MMHeight() / kHimetricPerPixel)); }

void TMetafile::SetSize(int width, int height) {
    SetMMSize(static_cast<int>(std::lround(width * kHimetricPerPixel)),
              static_cast<int>(std::lround(height * kHimetricPerPixel)));
}

void TMetafile::SetMMSize(int width, int height) {
    mmWidth_ = width;
    mmHeight_ = height;
    Changed();
}

void TMetafile::SetHandle(HENHMETAFILE picture) {
    if (handle_ && handle_ != picture) DeleteEnhMetaFile(handle_);
    handle_ = picture;
    Changed();
}

void TMetafile::LoadFromStream(TStream&) {
    throw EInvalidGraphicOperation(u"Metafile files cannot be read");
}

void TMetafile::SaveToStream(TStream&) {
    throw EInvalidGraphicOperation(u"Metafile files cannot be written");
}

void TMetafile::DrawOn(TCanvas& canvas, const TRect& r) {
    if (!handle_) return;
    PlayEnhMetaFile(canvas.Handle(), handle_, &r);
}

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile, HDC ref) : metafile_(metafile) {
    RECT frame{0, 0, metafile.MMWidth(), metafile.MMHeight()};
    HDC dc = CreateEnhMetaFileW(ref, nullptr, frame.right > 0 && frame.bottom > 0 ? &frame : nullptr, nullptr);
    if (!dc) throw EInvalidGraphicOperation(u"Cannot record a metafile");
    SetHandle(dc);
}

TMetafileCanvas::~TMetafileCanvas() {
    HDC dc = Handle();
    SetHandle(nullptr);
    if (HENHMETAFILE picture = CloseEnhMetaFile(dc)) metafile_.SetHandle(picture);
}

// ---- picture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_) graphic_->OnChange = [this](TObject*) {
        if (OnChange) OnChange(this);
    };
    if (OnChange) OnChange(this);
}

namespace {

std::unique_ptr<TGraphic> NewLike(const TGraphic& g) {
    if (dynamic_cast<const TBitmap*>(&g)) return std::make_unique<TBitmap>();
    if (dynamic_cast<const TIcon*>(&g)) return std::make_unique<TIcon>();
    if (dynamic_cast<const TMetafile*>(&g)) return std::make_unique<TMetafile>();
    if (dynamic_cast<const TJPEGImage*>(&g)) return std::make_unique<TJPEGImage>();
    if (dynamic_cast<const TGIFImage*>(&g)) return std::make_unique<TGIFImage>();
    return std::make_unique<TPngImage>();
}

std::string LowerExtension(const AnsiString& fileName) {
    const size_t slash = fileName.find_last_of('/');
    const size_t dot = fileName.find_last_of('.');
    if (dot == AnsiString::npos || (slash != AnsiString::npos && dot < slash)) return {};
    std::string ext = fileName.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

std::unique_ptr<TGraphic> NewForKind(const std::string& kind) {
    if (kind == "bmp" || kind == "dib") return std::make_unique<TBitmap>();
    if (kind == "ico") return std::make_unique<TIcon>();
    if (kind == "png") return std::make_unique<TPngImage>();
    if (kind == "jpg" || kind == "jpeg" || kind == "jpe") return std::make_unique<TJPEGImage>();
    if (kind == "gif") return std::make_unique<TGIFImage>();
    if (kind == "emf" || kind == "wmf") return std::make_unique<TMetafile>();
    return nullptr;
}

// The kind a file's first bytes announce.
std::string KindOfContent(const std::uint8_t* p, size_t n) {
    if (n >= 2 && p[0] == 'B' && p[1] == 'M') return "bmp";
    if (n >= 8 && std::memcmp(p, "\x89PNG\r\n\x1a\n", 8) == 0) return "png";
    if (n >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return "jpg";
    if (n >= 6 && (std::memcmp(p, "GIF87a", 6) == 0 || std::memcmp(p, "GIF89a", 6) == 0)) return "gif";
    if (n >= 4 && p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] == 0) return "ico";
    return {};
}

}  // namespace

void TPicture::Assign(const TPersistent* source) {
    if (!source) {
        Take(nullptr);
        return;
    }
    if (const auto* other = dynamic_cast<const TPicture*>(source)) {
        SetGraphic(other->graphic_.get());
        return;
    }
    if (const auto* g = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(const_cast<TGraphic*>(g));
        return;
    }
    TPersistent::Assign(source);
}

void TPicture::SetGraphic(TGraphic* graphic) {
    if (!graphic) {
        Take(nullptr);
        return;
    }
    auto copy = NewLike(*graphic);
    copy->Assign(graphic);
    copy->SetTransparent(graphic->Transparent());
    Take(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(graphic_.get())) Take(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
    if (!dynamic_cast<TIcon*>(graphic_.get())) Take(std::make_unique<TIcon>());
    return static_cast<TIcon*>(graphic_.get());
}

TMetafile* TPicture::Metafile() {
    if (!dynamic_cast<TMetafile*>(graphic_.get())) Take(std::make_unique<TMetafile>());
    return static_cast<TMetafile*>(graphic_.get());
}

void TPicture::LoadFromFile(const AnsiString& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    std::uint8_t head[8] = {};
    const auto n = stream.Read(head, sizeof(head));
    stream.SetPosition(0);
    std::string kind = KindOfContent(head, static_cast<size_t>(std::max<std::int64_t>(n, 0)));
    if (kind.empty()) kind = LowerExtension(fileName);
    auto graphic = NewForKind(kind);
    if (!graphic) throw EInvalidGraphic(u"Unknown picture file extension");
    graphic->LoadFromStream(stream);
    Take(std::move(graphic));
}

void TPicture::SaveToFile(const AnsiString& fileName) {
    if (!graphic_) throw EInvalidGraphicOperation(u"Cannot save an empty picture");
    const std::string kind = LowerExtension(fileName);
    auto target = NewForKind(kind);
    if (!target) throw EInvalidGraphic(u"Unknown picture file extension");
    if (typeid(*target) == typeid(*graphic_)) {
        graphic_->SaveToFile(fileName);
        return;
    }
    // Another kind: through a bitmap of the picture.
    TBitmap bitmap;
    bitmap.Assign(graphic_.get());
    if (auto* raster = dynamic_cast<TRasterImage*>(target.get())) raster->Assign(&bitmap);
    else if (dynamic_cast<TBitmap*>(target.get())) target->Assign(&bitmap);
    else throw EInvalidGraphicOperation(u"Cannot convert the picture to that kind");
    target->SaveToFile(fileName);
}
