// Drawing objects: the stock objects, creating, deleting and selecting pens, brushes, fonts
// and bitmaps.
#include "platform/vcl/Gdi.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/vcl/GdiDevice.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/win/WinError.h"

void SetGdiLastErrorInvalidHandle() { SetLastError(ERROR_INVALID_HANDLE); }

HGDIOBJ RegisterGdiObject(std::unique_ptr<GdiObject> obj) { return RegisterHandle(std::move(obj)); }

// ---- stock objects

namespace {

template <class T>
T* NewStock(std::unique_ptr<T> obj, HGDIOBJ* handle) {
    obj->stock = true;
    T* raw = obj.get();
    *handle = RegisterGdiObject(std::move(obj));
    return raw;
}

struct StockTable {
    HGDIOBJ objects[20] = {};
    HGDIOBJ sysBrushes[31] = {};
    HBITMAP defaultBitmap = nullptr;
    StockTable() {
        auto brush = [&](int i, UINT style, COLORREF c) {
            auto b = std::make_unique<GdiBrush>();
            b->style = style;
            b->color = c;
            b->dcBrush = i == DC_BRUSH;
            NewStock(std::move(b), &objects[i]);
        };
        brush(WHITE_BRUSH, BS_SOLID, RGB(255, 255, 255));
        brush(LTGRAY_BRUSH, BS_SOLID, RGB(192, 192, 192));
        brush(GRAY_BRUSH, BS_SOLID, RGB(128, 128, 128));
        brush(DKGRAY_BRUSH, BS_SOLID, RGB(64, 64, 64));
        brush(BLACK_BRUSH, BS_SOLID, RGB(0, 0, 0));
        brush(NULL_BRUSH, BS_NULL, 0);
        brush(DC_BRUSH, BS_SOLID, RGB(255, 255, 255));
        auto pen = [&](int i, int style, COLORREF c) {
            auto p = std::make_unique<GdiPen>();
            p->style = style;
            p->color = c;
            p->dcPen = i == DC_PEN;
            NewStock(std::move(p), &objects[i]);
        };
        pen(WHITE_PEN, PS_SOLID, RGB(255, 255, 255));
        pen(BLACK_PEN, PS_SOLID, 0);
        pen(NULL_PEN, PS_NULL, 0);
        pen(DC_PEN, PS_SOLID, 0);
        auto font = [&](int i, const char16_t* face, LONG height, LONG weight, BYTE pitch) {
            auto f = std::make_unique<GdiFont>();
            f->logFont.lfHeight = height;
            f->logFont.lfWeight = weight;
            f->logFont.lfPitchAndFamily = pitch;
            std::u16string_view(face).copy(f->logFont.lfFaceName, LF_FACESIZE - 1);
            NewStock(std::move(f), &objects[i]);
        };
        font(OEM_FIXED_FONT, u"Terminal", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN);
        font(ANSI_FIXED_FONT, u"Courier", 13, FW_NORMAL, FIXED_PITCH | FF_MODERN);
        font(ANSI_VAR_FONT, u"MS Sans Serif", 13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
        font(SYSTEM_FONT, u"System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
        font(DEVICE_DEFAULT_FONT, u"System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
        font(SYSTEM_FIXED_FONT, u"Fixedsys", 15, FW_NORMAL, FIXED_PITCH | FF_MODERN);
        font(DEFAULT_GUI_FONT, u"MS Shell Dlg", -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
        NewStock(std::make_unique<GdiPalette>(), &objects[DEFAULT_PALETTE]);
        HGDIOBJ bmp = nullptr;
        NewStock(std::make_unique<GdiBitmap>(1, 1, 1), &bmp);
        defaultBitmap = static_cast<HBITMAP>(bmp);
    }
};

StockTable& Stock() {
    static StockTable* table = new StockTable();  // lives until exit, like the system's
    return *table;
}

}  // namespace

HGDIOBJ GetStockObject(int which) {
    if (which < 0 || which >= 20 || !Stock().objects[which]) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Stock().objects[which];
}

HBRUSH GetSysColorBrush(int index) {
    if (index < 0 || index > 30) return nullptr;
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    HGDIOBJ& slot = Stock().sysBrushes[index];
    if (!slot) {
        auto b = std::make_unique<GdiBrush>();
        b->color = GetSysColor(index);
        b->sysColorIndex = index;
        NewStock(std::move(b), &slot);
    }
    return static_cast<HBRUSH>(slot);
}

HBITMAP GdiDefaultBitmap() { return Stock().defaultBitmap; }

// ---- creating and deleting objects

void GdiAdjustSelections(HGDIOBJ h, int delta) {
    if (!h) return;
    if (auto* o = HandleAs<GdiObject>(static_cast<HANDLE>(h))) o->selections += delta;
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if ((style & PS_STYLE_MASK) > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto p = std::make_unique<GdiPen>();
    p->style = style & PS_STYLE_MASK;
    p->width = std::max(width, 0);
    p->color = color & 0xFFFFFF;
    // A pen wider than one unit draws only solid lines, with round ends and joins.
    if (p->width > 1 && p->style != PS_NULL && p->style != PS_INSIDEFRAME) p->style = PS_SOLID;
    p->geometric = p->width > 1;
    return static_cast<HPEN>(RegisterGdiObject(std::move(p)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (!pen) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
    (void)styles;
    if (!brush || (styleCount && (style & PS_STYLE_MASK) != PS_USERSTYLE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto p = std::make_unique<GdiPen>();
    p->style = static_cast<int>(style & PS_STYLE_MASK);
    if (p->style == PS_USERSTYLE) p->style = PS_DASH;
    p->geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
    p->width = p->geometric ? static_cast<int>(width) : 1;
    p->endCap = static_cast<int>(style & PS_ENDCAP_MASK);
    p->join = static_cast<int>(style & PS_JOIN_MASK);
    p->color = brush->lbStyle == BS_NULL ? 0 : brush->lbColor & 0xFFFFFF;
    if (brush->lbStyle == BS_NULL) p->style = PS_NULL;
    return static_cast<HPEN>(RegisterGdiObject(std::move(p)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto b = std::make_unique<GdiBrush>();
    b->color = color & 0xFFFFFF;
    return static_cast<HBRUSH>(RegisterGdiObject(std::move(b)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto b = std::make_unique<GdiBrush>();
    b->style = BS_HATCHED;
    b->hatch = hatch;
    b->color = color & 0xFFFFFF;
    return static_cast<HBRUSH>(RegisterGdiObject(std::move(b)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    auto* bmp = GdiObjectAs<GdiBitmap>(bitmap);
    if (!bmp) return nullptr;
    auto b = std::make_unique<GdiBrush>();
    b->style = BS_PATTERN;
    b->patternWidth = bmp->Width();
    b->patternHeight = bmp->Height();
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x) {
            if (bmp->BitsPerPixel() == 1) {
                const std::uint8_t bit = (bmp->Row(y)[x / 8] >> (7 - (x & 7))) & 1;
                b->monoPattern.push_back(bit);
            } else {
                const COLORREF c = bmp->Pixel(x, y);
                b->pattern.push_back(0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
            }
        }
    return static_cast<HBRUSH>(RegisterGdiObject(std::move(b)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    switch (brush->lbStyle) {
        case BS_SOLID: return CreateSolidBrush(brush->lbColor);
        case BS_HATCHED: return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
        case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
        case BS_NULL: {
            auto b = std::make_unique<GdiBrush>();
            b->style = BS_NULL;
            return static_cast<HBRUSH>(RegisterGdiObject(std::move(b)));
        }
        default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto f = std::make_unique<GdiFont>();
    f->logFont = *font;
    f->logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(RegisterGdiObject(std::move(f)));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face) {
    LOGFONTW lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic != 0);
    lf.lfUnderline = static_cast<BYTE>(underline != 0);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (face) std::u16string_view(face).substr(0, LF_FACESIZE - 1).copy(lf.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&lf);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    const UINT bpp = planes * bitsPerPixel;
    if (width < 0 || height < 0 || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) ||
        static_cast<long long>(width) * height > (1LL << 28)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto b = std::make_unique<GdiBitmap>(width, height, static_cast<int>(bpp));
    if (bits) {
        // Device bitmap rows are padded to two bytes.
        const int srcStride = ((width * static_cast<int>(bpp) + 15) / 16) * 2;
        for (int y = 0; y < height; ++y)
            std::copy_n(static_cast<const std::uint8_t*>(bits) + static_cast<size_t>(y) * srcStride,
                        std::min(srcStride, b->Stride()), b->Row(y));
    }
    return static_cast<HBITMAP>(RegisterGdiObject(std::move(b)));
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    auto* d = DcFromHandle(dc);
    if (!d) return nullptr;
    int bpp = 32;
    if (d->kind() == GdiDeviceContext::Kind::Memory) {
        if (auto* b = GdiObjectAs<GdiBitmap>(d->state.bitmap)) bpp = b->BitsPerPixel();
    }
    return CreateBitmap(width, height, 1, static_cast<UINT>(bpp), nullptr);
}

BOOL DeleteObject(HGDIOBJ obj) {
    auto* o = GdiObjectAs<GdiObject>(obj);
    if (!o) return FALSE;
    if (o->stock) return TRUE;
    // An object still selected into a context stays: deleting it would leave the context
    // drawing with freed state.
    if (o->selections > 0) {
        SetLastError(ERROR_BUSY);
        return FALSE;
    }
    ReleaseHandle(static_cast<HANDLE>(obj));
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj) {
    if (auto* o = HandleAs<GdiObject>(static_cast<HANDLE>(obj))) return o->Type();
    if (auto* d = HandleAs<GdiDeviceContext>(static_cast<HANDLE>(obj))) {
        if (d->kind() == GdiDeviceContext::Kind::Memory) return OBJ_MEMDC;
        if (d->kind() == GdiDeviceContext::Kind::Metafile) return OBJ_ENHMETADC;
        return OBJ_DC;
    }
    if (GdiIsMetafileHandle(obj)) return OBJ_ENHMETAFILE;
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

int GetObjectW(HGDIOBJ obj, int size, void* buffer) {
    auto* o = GdiObjectAs<GdiObject>(obj);
    if (!o) return 0;
    auto put = [&](const auto& value) -> int {
        const int need = static_cast<int>(sizeof(value));
        if (!buffer) return need;
        if (size < need) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        std::memcpy(buffer, &value, sizeof(value));
        return need;
    };
    switch (o->Type()) {
        case OBJ_BITMAP: {
            auto* b = static_cast<GdiBitmap*>(o);
            BITMAP bm;
            bm.bmWidth = b->Width();
            bm.bmHeight = b->Height();
            bm.bmWidthBytes = b->Stride();
            bm.bmBitsPixel = static_cast<WORD>(b->BitsPerPixel());
            bm.bmBits = b->Bits();
            return put(bm);
        }
        case OBJ_PEN: {
            auto* p = static_cast<GdiPen*>(o);
            LOGPEN lp;
            lp.lopnStyle = static_cast<UINT>(p->style);
            lp.lopnWidth.x = p->width;
            lp.lopnColor = p->color;
            return put(lp);
        }
        case OBJ_BRUSH: {
            auto* b = static_cast<GdiBrush*>(o);
            LOGBRUSH lb;
            lb.lbStyle = b->style;
            lb.lbColor = b->color;
            lb.lbHatch = static_cast<UINT_PTR>(b->hatch);
            return put(lb);
        }
        case OBJ_FONT: return put(static_cast<GdiFont*>(o)->logFont);
        default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj) {
    auto* d = DcFromHandle(dc);
    if (!d) return nullptr;
    if (auto* r = HandleAs<GdiRegionObject>(static_cast<HANDLE>(obj))) {
        // Selecting a region sets the clip region; the answer is the region's kind.
        SelectClipRgn(dc, static_cast<HRGN>(obj));
        return reinterpret_cast<HGDIOBJ>(static_cast<INT_PTR>(r->region.Kind()));
    }
    auto* o = GdiObjectAs<GdiObject>(obj);
    if (!o) return nullptr;
    auto swap = [&](auto& slot) -> HGDIOBJ {
        using H = std::remove_reference_t<decltype(slot)>;
        HGDIOBJ old = slot;
        slot = static_cast<H>(obj);
        o->selections++;
        GdiAdjustSelections(old, -1);
        return old;
    };
    switch (o->Type()) {
        case OBJ_PEN: return swap(d->state.pen);
        case OBJ_BRUSH: return swap(d->state.brush);
        case OBJ_FONT: return swap(d->state.font);
        case OBJ_PAL: return swap(d->state.palette);
        case OBJ_BITMAP: {
            if (d->kind() != GdiDeviceContext::Kind::Memory) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
            auto* bmp = static_cast<GdiBitmap*>(o);
            // A bitmap is drawn on by one memory context at a time.
            if (obj != d->state.bitmap && bmp->selections > 0 && !bmp->stock) {
                SetLastError(ERROR_BUSY);
                return nullptr;
            }
            GdiBackend* backend = CurrentGdiBackend();
            if (!backend) {
                SetLastError(ERROR_NOT_SUPPORTED);
                return nullptr;
            }
            d->ReplaceSurface(nullptr);
            HGDIOBJ old = swap(d->state.bitmap);
            d->ReplaceSurface(backend->CreateBitmapSurface(*bmp));
            return old;
        }
        default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    auto* d = DcFromHandle(dc);
    if (!d) return nullptr;
    switch (type) {
        case OBJ_PEN: return d->state.pen;
        case OBJ_BRUSH: return d->state.brush;
        case OBJ_FONT: return d->state.font;
        case OBJ_BITMAP: return d->state.bitmap;
        case OBJ_PAL: return d->state.palette;
        default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}
