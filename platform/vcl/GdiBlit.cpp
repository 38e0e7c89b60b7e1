// Pixels and blits: GetPixel/SetPixel, PatBlt, BitBlt and StretchBlt with ternary raster
// operations and the monochrome conversions, transparent blits, device-independent bitmaps
// and icons.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/win/WinError.h"

namespace {

GdiBitmap* SelectedBitmap(const GdiDeviceContext& d) {
    if (d.kind() != GdiDeviceContext::Kind::Memory) return nullptr;
    return HandleAs<GdiBitmap>(static_cast<HANDLE>(d.state.bitmap));
}

bool IsMono(const GdiDeviceContext& d) {
    const GdiBitmap* b = SelectedBitmap(d);
    return b && b->BitsPerPixel() == 1;
}

bool Visible(const GdiDeviceContext& d, int x, int y) {
    if (d.state.clip && !d.state.clip->Contains(x, y)) return false;
    if (d.baseClip && !d.baseClip->Contains(x, y)) return false;
    return true;
}

std::optional<GdiPixels> PixelsOf(GdiDeviceContext& d) {
    if (GdiBitmap* b = SelectedBitmap(d)) {
        GdiPixels px;
        px.bits = b->Bits();
        px.width = b->Width();
        px.height = b->Height();
        px.stride = b->Stride();
        px.bpp = b->BitsPerPixel();
        px.palette = b->palette.data();
        px.paletteSize = static_cast<int>(b->palette.size());
        return px;
    }
    return d.Surface() ? d.Surface()->Pixels() : std::nullopt;
}

std::uint32_t Argb(COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// The part of the source context's pixels under a device rectangle, converted for the
// destination: monochrome to colour takes the destination's text (0) and background (1)
// colours, colour to monochrome makes the source's background colour white, the rest black.
// srcRect comes back relative to the picture.
std::optional<GdiImage> SourcePicture(GdiDeviceContext& src, RECT& srcRect, const GdiDeviceContext& dst) {
    const auto px = PixelsOf(src);
    if (!px) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return std::nullopt;
    }
    const LONG l = std::clamp<LONG>(std::min(srcRect.left, srcRect.right), 0, px->width);
    const LONG t = std::clamp<LONG>(std::min(srcRect.top, srcRect.bottom), 0, px->height);
    const LONG r = std::clamp<LONG>(std::max(srcRect.left, srcRect.right), 0, px->width);
    const LONG b = std::clamp<LONG>(std::max(srcRect.top, srcRect.bottom), 0, px->height);
    GdiImage img;
    img.width = r - l;
    img.height = b - t;
    img.pixels.resize(static_cast<size_t>(img.width) * img.height);
    const bool srcMono = px->bpp == 1, dstMono = IsMono(dst);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            COLORREF c = px->Get(l + x, t + y);
            if (srcMono && !dstMono) c = c == RGB(0, 0, 0) ? dst.state.textColor : dst.state.bkColor;
            else if (!srcMono && dstMono) c = c == (src.state.bkColor & 0xFFFFFF) ? RGB(255, 255, 255) : RGB(0, 0, 0);
            img.pixels[static_cast<size_t>(y) * img.width + x] = Argb(c);
        }
    srcRect.left -= l;
    srcRect.right -= l;
    srcRect.top -= t;
    srcRect.bottom -= t;
    return img;
}

RECT DeviceBox(const GdiDeviceContext& d, int x, int y, int w, int h) {
    const POINT a = d.ToDevicePoint(x, y), b = d.ToDevicePoint(x + w, y + h);
    return RECT{a.x, a.y, b.x, b.y};  // not normalised: a negative extent mirrors
}

bool UsesPattern(DWORD rop) {
    const auto code = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
    return ((code >> 4) & 0x0F) != (code & 0x0F);
}

BOOL BlitFrom(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop,
              COLORREF transparent) {
    auto* d = DcFromHandle(dest);
    if (!d) return FALSE;
    if (!d->Surface()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const RECT dst = DeviceBox(*d, x, y, w, h);
    std::optional<GdiPaint> pattern;
    if (UsesPattern(rop)) pattern = GdiBrushPaint(*d, d->state.brush);
    const auto code = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
    const bool usesSource = ((code >> 2) & 0x33) != (code & 0x33);
    std::optional<GdiImage> picture;
    RECT srcRect{};
    if (usesSource) {
        auto* s = DcFromHandle(src);
        if (!s) return FALSE;
        srcRect = DeviceBox(*s, sx, sy, sw, sh);
        picture = SourcePicture(*s, srcRect, *d);
        if (!picture) return FALSE;
    }
    if (UsesPattern(rop) && !pattern) return TRUE;  // a hollow brush paints nothing
    if (!d->Surface()->Blit(dst, picture ? &*picture : nullptr, srcRect, pattern ? &*pattern : nullptr, rop,
                            transparent, false, d->state.stretchMode)) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

COLORREF GetPixel(HDC dc, int x, int y) {
    auto* d = DcFromHandle(dc);
    if (!d) return CLR_INVALID;
    const POINT p = d->ToDevicePoint(x, y);
    const auto px = PixelsOf(*d);
    if (!px || p.x < 0 || p.y < 0 || p.x >= px->width || p.y >= px->height || !Visible(*d, p.x, p.y))
        return CLR_INVALID;
    return px->Get(p.x, p.y);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    auto* d = DcFromHandle(dc);
    if (!d || !d->Surface()) return static_cast<COLORREF>(-1);
    const POINT p = d->ToDevicePoint(x, y);
    if (!Visible(*d, p.x, p.y)) return static_cast<COLORREF>(-1);
    if (auto px = PixelsOf(*d)) {
        if (p.x < 0 || p.y < 0 || p.x >= px->width || p.y >= px->height) return static_cast<COLORREF>(-1);
        px->Set(p.x, p.y, color & 0xFFFFFF);
        return px->Get(p.x, p.y);
    }
    GdiPaint paint;
    paint.color = color & 0xFFFFFF;
    d->Surface()->FillRects({RECT{p.x, p.y, p.x + 1, p.y + 1}}, paint, R2_COPYPEN);
    return color & 0xFFFFFF;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != static_cast<COLORREF>(-1); }

BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
    const auto code = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
    if (((code >> 2) & 0x33) != (code & 0x33)) {  // a raster operation that needs a source
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    // The common ones need no pixels: plain fills of the brush, black or white.
    std::optional<GdiPaint> fill;
    if (rop == PATCOPY) fill = GdiBrushPaint(*d, d->state.brush);
    if (rop == BLACKNESS || rop == WHITENESS) {
        fill.emplace();
        fill->color = rop == BLACKNESS ? RGB(0, 0, 0) : RGB(255, 255, 255);
    }
    if ((rop == PATCOPY || rop == BLACKNESS || rop == WHITENESS) && d->Surface() && !d->Surface()->Pixels() &&
        !SelectedBitmap(*d)) {
        RECT q = DeviceBox(*d, x, y, w, h);
        q = RECT{std::min(q.left, q.right), std::min(q.top, q.bottom), std::max(q.left, q.right), std::max(q.top, q.bottom)};
        if (fill && q.right > q.left && q.bottom > q.top) d->Surface()->FillRects({q}, *fill, R2_COPYPEN);
        return TRUE;
    }
    return BlitFrom(dc, x, y, w, h, nullptr, 0, 0, 0, 0, rop, CLR_INVALID);
}

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    return BlitFrom(dest, x, y, w, h, src, sx, sy, w, h, rop, CLR_INVALID);
}

BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
    return BlitFrom(dest, x, y, w, h, src, sx, sy, sw, sh, rop, CLR_INVALID);
}

BOOL TransparentBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, UINT transparent) {
    if (w < 0 || h < 0 || sw < 0 || sh < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return BlitFrom(dest, x, y, w, h, src, sx, sy, sw, sh, SRCCOPY, transparent & 0xFFFFFF);
}

// ---- device-independent bitmaps

bool GdiDibToImage(const BITMAPINFOHEADER& h, const RGBQUAD* colors, int colorCount, const void* bits, size_t bitsSize,
                   GdiImage& out) {
    const int bpp = h.biBitCount;
    const long long width = h.biWidth, height = std::llabs(static_cast<long long>(h.biHeight));
    if (width <= 0 || height <= 0 || width * height > (1LL << 28)) return false;
    if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) return false;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32))) return false;
    const size_t stride = static_cast<size_t>(((width * bpp + 31) / 32) * 4);
    if (!bits || bitsSize < stride * static_cast<size_t>(height)) return false;
    DWORD masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    if (h.biCompression == BI_BITFIELDS) {
        if (!colors || colorCount < 3) return false;
        std::memcpy(masks, colors, sizeof(masks));
    }
    auto channel = [](DWORD v, DWORD mask) -> std::uint32_t {
        if (!mask) return 0;
        int shift = 0;
        while (!((mask >> shift) & 1)) ++shift;
        const DWORD max = mask >> shift;
        return static_cast<std::uint32_t>(((v & mask) >> shift) * 255 / max);
    };
    const bool bottomUp = h.biHeight > 0;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.hasAlpha = false;
    out.pixels.assign(static_cast<size_t>(width) * height, 0xFF000000u);
    const auto* base = static_cast<const std::uint8_t*>(bits);
    auto fromIndex = [&](int i) -> std::uint32_t {
        if (!colors || i >= colorCount) return 0xFF000000u;
        return 0xFF000000u | (colors[i].rgbRed << 16) | (colors[i].rgbGreen << 8) | colors[i].rgbBlue;
    };
    for (long long y = 0; y < height; ++y) {
        const std::uint8_t* row = base + stride * static_cast<size_t>(bottomUp ? height - 1 - y : y);
        std::uint32_t* dst = &out.pixels[static_cast<size_t>(y) * width];
        for (long long x = 0; x < width; ++x) {
            switch (bpp) {
                case 1: dst[x] = fromIndex((row[x / 8] >> (7 - (x & 7))) & 1); break;
                case 4: dst[x] = fromIndex((x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4)); break;
                case 8: dst[x] = fromIndex(row[x]); break;
                case 16: {
                    const DWORD v = row[x * 2] | (row[x * 2 + 1] << 8);
                    dst[x] = 0xFF000000u | (channel(v, masks[0]) << 16) | (channel(v, masks[1]) << 8) | channel(v, masks[2]);
                    break;
                }
                case 24: dst[x] = 0xFF000000u | (row[x * 3 + 2] << 16) | (row[x * 3 + 1] << 8) | row[x * 3]; break;
                default: {
                    const DWORD v = row[x * 4] | (row[x * 4 + 1] << 8) | (row[x * 4 + 2] << 16) |
                                    (static_cast<DWORD>(row[x * 4 + 3]) << 24);
                    dst[x] = (v & 0xFF000000u) | (channel(v, masks[0]) << 16) | (channel(v, masks[1]) << 8) |
                             channel(v, masks[2]);
                    break;
                }
            }
        }
    }
    return true;
}

namespace {

int DibColorCount(const BITMAPINFOHEADER& h) {
    if (h.biCompression == BI_BITFIELDS) return 3;
    if (h.biBitCount > 8) return 0;
    return h.biClrUsed ? static_cast<int>(std::min<DWORD>(h.biClrUsed, 1u << h.biBitCount)) : (1 << h.biBitCount);
}

}  // namespace

int StretchDIBits(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop) {
    auto* d = DcFromHandle(dc);
    if (!d) return 0;
    if (!info || !bits || usage != DIB_RGB_COLORS || !d->Surface()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const BITMAPINFOHEADER& hdr = info->bmiHeader;
    const long long height = std::llabs(static_cast<long long>(hdr.biHeight));
    const size_t stride = static_cast<size_t>(((static_cast<long long>(hdr.biWidth) * hdr.biBitCount + 31) / 32) * 4);
    GdiImage img;
    if (!GdiDibToImage(hdr, info->bmiColors, DibColorCount(hdr), bits, stride * static_cast<size_t>(height), img)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // The source origin of a bottom-up picture is its lower-left corner.
    const int top = hdr.biHeight > 0 ? static_cast<int>(height) - (sy + sh) : sy;
    const RECT srcRect{sx, top, sx + sw, top + sh};
    const RECT dst = DeviceBox(*d, x, y, w, h);
    std::optional<GdiPaint> pattern;
    if (UsesPattern(rop)) pattern = GdiBrushPaint(*d, d->state.brush);
    if (!d->Surface()->Blit(dst, &img, srcRect, pattern ? &*pattern : nullptr, rop, CLR_INVALID, false,
                            d->state.stretchMode)) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    return sh;
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage) {
    (void)dc;
    auto* b = GdiObjectAs<GdiBitmap>(bitmap);
    if (!b) return 0;
    if (!info || usage != DIB_RGB_COLORS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (!bits || h.biBitCount == 0) {
        h.biWidth = b->Width();
        h.biHeight = b->Height();
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(b->BitsPerPixel());
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(b->Stride() * b->Height());
        return b->Height();
    }
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biWidth != b->Width() || std::abs(h.biHeight) != b->Height()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int bpp = h.biBitCount;
    const size_t stride = static_cast<size_t>(((b->Width() * bpp + 31) / 32) * 4);
    const bool bottomUp = h.biHeight > 0;
    const UINT end = std::min<UINT>(start + lines, static_cast<UINT>(b->Height()));
    int copied = 0;
    for (UINT line = start; line < end; ++line) {
        // Line numbers count from the bottom of a bottom-up picture.
        const int y = bottomUp ? b->Height() - 1 - static_cast<int>(line) : static_cast<int>(line);
        std::uint8_t* dst = static_cast<std::uint8_t*>(bits) + stride * (line - start);
        for (int x = 0; x < b->Width(); ++x) {
            const COLORREF c = b->Pixel(x, y);
            std::uint8_t* p = dst + x * (bpp / 8);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            if (bpp == 32) p[3] = 0;
        }
        ++copied;
    }
    return copied;
}

int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
    (void)dc;
    auto* b = GdiObjectAs<GdiBitmap>(bitmap);
    if (!b) return 0;
    if (!info || !bits || usage != DIB_RGB_COLORS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BITMAPINFOHEADER h = info->bmiHeader;
    const bool bottomUp = h.biHeight > 0;
    const long long fullHeight = std::llabs(static_cast<long long>(h.biHeight));
    lines = std::min<UINT>(lines, static_cast<UINT>(std::max<long long>(0, fullHeight - start)));
    h.biHeight = bottomUp ? static_cast<LONG>(lines) : -static_cast<LONG>(lines);
    const size_t stride = static_cast<size_t>(((static_cast<long long>(h.biWidth) * h.biBitCount + 31) / 32) * 4);
    GdiImage img;
    if (!lines || !GdiDibToImage(h, info->bmiColors, DibColorCount(h), bits, stride * lines, img)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (int row = 0; row < img.height; ++row) {
        const int y = bottomUp ? static_cast<int>(fullHeight) - 1 - static_cast<int>(start) - (img.height - 1 - row)
                               : static_cast<int>(start) + row;
        for (int x = 0; x < std::min(img.width, b->Width()); ++x) {
            const std::uint32_t p = img.At(x, row);
            b->SetPixel(x, y, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    }
    return static_cast<int>(lines);
}

// ---- icons

namespace {

class GdiIcon : public WinHandleObject {
public:
    GdiImage image;
};

}  // namespace

HICON CreateIconFromPixels(int width, int height, const std::uint32_t* argb) {
    if (width <= 0 || height <= 0 || !argb || static_cast<long long>(width) * height > (1LL << 24)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto icon = std::make_unique<GdiIcon>();
    icon->image.width = width;
    icon->image.height = height;
    icon->image.hasAlpha = true;
    icon->image.pixels.assign(argb, argb + static_cast<size_t>(width) * height);
    return static_cast<HICON>(RegisterHandle(std::move(icon)));
}

BOOL DestroyIcon(HICON icon) {
    if (!HandleAs<GdiIcon>(static_cast<HANDLE>(icon))) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ReleaseHandle(static_cast<HANDLE>(icon));
    return TRUE;
}

bool GetIconPixels(HICON icon, int* width, int* height, std::vector<std::uint32_t>* argb) {
    auto* i = HandleAs<GdiIcon>(static_cast<HANDLE>(icon));
    if (!i) return false;
    if (width) *width = i->image.width;
    if (height) *height = i->image.height;
    if (argb) *argb = i->image.pixels;
    return true;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int w, int h, UINT step, HBRUSH flicker, UINT flags) {
    (void)step;
    auto* d = DcFromHandle(dc);
    auto* i = HandleAs<GdiIcon>(static_cast<HANDLE>(icon));
    if (!d || !i || !d->Surface()) {
        if (d && !i) SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!w) w = i->image.width;
    if (!h) h = i->image.height;
    const RECT dst = DeviceBox(*d, x, y, w, h);
    if (flicker) {
        if (const auto paint = GdiBrushPaint(*d, flicker)) d->Surface()->FillRects({dst}, *paint, R2_COPYPEN);
    }
    if (!(flags & DI_IMAGE)) return TRUE;
    const RECT srcRect{0, 0, i->image.width, i->image.height};
    return d->Surface()->Blit(dst, &i->image, srcRect, nullptr, SRCCOPY, CLR_INVALID, true, HALFTONE) ? TRUE : FALSE;
}
