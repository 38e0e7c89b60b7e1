#include <algorithm>
#include <cmath>

#include "platform/vcl/GdiDevice.h"
#include "platform/win/WinError.h"

// ---- bitmaps

namespace {

std::vector<RGBQUAD> DefaultPalette(int bpp) {
    std::vector<RGBQUAD> p;
    auto add = [&](int r, int g, int b) {
        p.push_back(RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0});
    };
    if (bpp == 1) {
        add(0, 0, 0);
        add(255, 255, 255);
    } else if (bpp == 4) {
        const int vga[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (const auto& c : vga) add(c[0], c[1], c[2]);
    } else if (bpp == 8) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) add(r * 51, g * 51, b * 51);
        for (int i = 0; i < 40; ++i) add(i * 255 / 39, i * 255 / 39, i * 255 / 39);
    }
    return p;
}

}  // namespace

GdiBitmap::GdiBitmap(int width, int height, int bitsPerPixel)
    : GdiObject(OBJ_BITMAP),
      width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bpp_(bitsPerPixel),
      stride_(((std::max(width, 0) * bitsPerPixel + 31) / 32) * 4),
      bits_(static_cast<size_t>(stride_) * std::max(height, 0), 0) {
    palette = DefaultPalette(bpp_);
}

COLORREF GdiPixels::Get(int x, int y) const {
    const std::uint8_t* row = bits + static_cast<size_t>(y) * stride;
    auto fromPalette = [&](int i) -> COLORREF {
        if (!palette || i >= paletteSize) return 0;
        return RGB(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
    };
    switch (bpp) {
        case 32:
        case 24: {
            const std::uint8_t* p = row + x * (bpp / 8);
            return RGB(p[2], p[1], p[0]);
        }
        case 8: return fromPalette(row[x]);
        case 4: return fromPalette((x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4));
        case 1: return fromPalette((row[x / 8] >> (7 - (x & 7))) & 1);
        default: return 0;
    }
}

namespace {

int NearestIn(const RGBQUAD* palette, int size, COLORREF c) {
    int best = 0;
    long bestDist = -1;
    for (int i = 0; i < size; ++i) {
        const long dr = long(palette[i].rgbRed) - GetRValue(c);
        const long dg = long(palette[i].rgbGreen) - GetGValue(c);
        const long db = long(palette[i].rgbBlue) - GetBValue(c);
        const long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            best = i;
            bestDist = d;
            if (d == 0) break;
        }
    }
    return best;
}

}  // namespace

void GdiPixels::Set(int x, int y, COLORREF c) {
    std::uint8_t* row = bits + static_cast<size_t>(y) * stride;
    switch (bpp) {
        case 32: {
            std::uint8_t* p = row + x * 4;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            p[3] = 0xFF;
            break;
        }
        case 24: {
            std::uint8_t* p = row + x * 3;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            break;
        }
        case 8: row[x] = static_cast<std::uint8_t>(NearestIn(palette, paletteSize, c)); break;
        case 4: {
            const int i = NearestIn(palette, paletteSize, c);
            std::uint8_t& b = row[x / 2];
            b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | i) : static_cast<std::uint8_t>((b & 0x0F) | (i << 4));
            break;
        }
        case 1: {
            const int i = NearestIn(palette, paletteSize, c);
            const std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
            if (i)
                row[x / 8] |= mask;
            else
                row[x / 8] &= static_cast<std::uint8_t>(~mask);
            break;
        }
        default: break;
    }
}

static GdiPixels PixelsOf(const GdiBitmap& b) {
    GdiPixels px;
    px.bits = const_cast<std::uint8_t*>(b.Row(0));
    px.width = b.Width();
    px.height = b.Height();
    px.stride = b.Stride();
    px.bpp = b.BitsPerPixel();
    px.palette = b.palette.data();
    px.paletteSize = static_cast<int>(b.palette.size());
    return px;
}

COLORREF GdiBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || bits_.empty()) return CLR_INVALID;
    return PixelsOf(*this).Get(x, y);
}

void GdiBitmap::SetPixel(int x, int y, COLORREF c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || bits_.empty()) return;
    PixelsOf(*this).Set(x, y, c);
}

int GdiBitmap::NearestIndex(COLORREF c) const {
    return NearestIn(palette.data(), static_cast<int>(palette.size()), c);
}

// ---- paints

std::optional<COLORREF> GdiPaint::At(int x, int y) const {
    if (!tiled || tileWidth <= 0 || tileHeight <= 0) return color;
    int tx = (x - origin.x) % tileWidth, ty = (y - origin.y) % tileHeight;
    if (tx < 0) tx += tileWidth;
    if (ty < 0) ty += tileHeight;
    const std::uint32_t p = tile[static_cast<size_t>(ty) * tileWidth + tx];
    if ((p >> 24) == 0) return std::nullopt;
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// ---- surfaces

void GdiSurface::SetClip(const GdiRegion* clip) {
    if (clip)
        clip_ = *clip;
    else
        clip_.reset();
    ApplyClip(clip);
}

namespace {

std::uint32_t Rop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((code >> i) & 1)) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r & 0xFFFFFF;
}

bool UsesSource(std::uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
bool UsesPattern(std::uint8_t code) { return ((code >> 4) & 0x0F) != (code & 0x0F); }

}  // namespace

bool GdiSurface::Blit(const RECT& dst, const GdiImage* src, const RECT& srcRect, const GdiPaint* pattern,
                      DWORD rop, COLORREF transparent, bool blend, int stretchMode) {
    (void)stretchMode;
    auto px = Pixels();
    if (!px) return false;
    const std::uint8_t code = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
    if (UsesSource(code) && !src) return false;
    const int dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    const int sw = srcRect.right - srcRect.left, sh = srcRect.bottom - srcRect.top;
    if (dw == 0 || dh == 0) return true;
    RECT area{std::max<LONG>(std::min(dst.left, dst.right), 0), std::max<LONG>(std::min(dst.top, dst.bottom), 0),
              std::min<LONG>(std::max(dst.left, dst.right), px->width),
              std::min<LONG>(std::max(dst.top, dst.bottom), px->height)};
    const GdiRegion* clip = Clip() ? &*Clip() : nullptr;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (clip && !clip->Contains(x, y)) continue;
            std::uint32_t s = 0;
            std::uint32_t alpha = 255;
            if (src && UsesSource(code)) {
                // Nearest source pixel; a negative extent mirrors.
                const int sx = srcRect.left + static_cast<int>(std::floor((x - dst.left + 0.5) * sw / double(dw)));
                const int sy = srcRect.top + static_cast<int>(std::floor((y - dst.top + 0.5) * sh / double(dh)));
                if (sx < 0 || sy < 0 || sx >= src->width || sy >= src->height) continue;
                const std::uint32_t argb = src->At(sx, sy);
                s = RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
                alpha = src->hasAlpha ? (argb >> 24) : 255;
                if (transparent != CLR_INVALID && s == (transparent & 0xFFFFFF)) continue;
            }
            std::uint32_t p = 0;
            if (UsesPattern(code)) {
                if (!pattern) return false;
                const auto c = pattern->At(x, y);
                if (!c) continue;
                p = *c;
            }
            const std::uint32_t d = px->Get(x, y);
            std::uint32_t out;
            if (blend) {
                if (alpha == 0) continue;
                auto mix = [&](int shift) {
                    const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                    return ((sc * alpha + dc * (255 - alpha) + 127) / 255) << shift;
                };
                out = mix(0) | mix(8) | mix(16);
            } else {
                out = Rop3(code, p, s, d);
            }
            px->Set(x, y, out);
        }
    }
    return true;
}

int GdiSurface::StartDoc(std::u16string_view, std::u16string_view) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return SP_ERROR;
}
int GdiSurface::StartPage() {
    SetLastError(ERROR_NOT_SUPPORTED);
    return SP_ERROR;
}
int GdiSurface::EndPage() {
    SetLastError(ERROR_NOT_SUPPORTED);
    return SP_ERROR;
}
int GdiSurface::EndDoc() {
    SetLastError(ERROR_NOT_SUPPORTED);
    return SP_ERROR;
}
int GdiSurface::AbortDoc() {
    SetLastError(ERROR_NOT_SUPPORTED);
    return SP_ERROR;
}

// ---- backend

namespace {
GdiBackend* g_backend = nullptr;
}

GdiBackend* CurrentGdiBackend() { return g_backend; }
void SetGdiBackend(GdiBackend* backend) { g_backend = backend; }
