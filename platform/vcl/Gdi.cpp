// Drawing objects, device contexts and their state, coordinate mapping, regions, clipping and
// shapes. Text is in GdiText.cpp, frames and system colours in GdiDraw.cpp, blits in GdiBlit.cpp.
#include "platform/vcl/Gdi.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/vcl/GdiDevice.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/win/WinError.h"

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long p = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const long long q = (p >= 0) == (c > 0) ? (std::llabs(p) + half) / std::llabs(c) : -((std::llabs(p) + half) / std::llabs(c));
    if (q > 0x7FFFFFFF || q < -0x7FFFFFFFLL - 1) return -1;
    return static_cast<int>(q);
}

void SetGdiLastErrorInvalidHandle() { SetLastError(ERROR_INVALID_HANDLE); }

HGDIOBJ RegisterGdiObject(std::unique_ptr<GdiObject> obj) { return RegisterHandle(std::move(obj)); }

HDC RegisterDc(std::unique_ptr<GdiDeviceContext> dc) { return static_cast<HDC>(RegisterHandle(std::move(dc))); }

GdiDeviceContext* DcFromHandle(HDC dc) {
    auto* d = HandleAs<GdiDeviceContext>(static_cast<HANDLE>(dc));
    if (!d) SetLastError(ERROR_INVALID_HANDLE);
    return d;
}

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

// ---- device contexts

GdiDeviceContext::GdiDeviceContext(Kind kind, std::unique_ptr<GdiSurface> surface)
    : kind_(kind), surface_(std::move(surface)) {
    state.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    state.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    state.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    state.palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    if (kind == Kind::Memory) state.bitmap = GdiDefaultBitmap();
    Hold(state);
}

GdiDeviceContext::~GdiDeviceContext() {
    if (onDelete) onDelete();
    for (const auto& s : saved) Release(s);
    Release(state);
}

void GdiDeviceContext::ReplaceSurface(std::unique_ptr<GdiSurface> surface) {
    surface_ = std::move(surface);
    ApplyClip();
}

static void Adjust(HGDIOBJ h, int delta) {
    if (!h) return;
    if (auto* o = HandleAs<GdiObject>(static_cast<HANDLE>(h))) o->selections += delta;
}

void GdiDeviceContext::Hold(const GdiDcState& s) {
    for (HGDIOBJ h : {HGDIOBJ(s.pen), HGDIOBJ(s.brush), HGDIOBJ(s.font), HGDIOBJ(s.bitmap), HGDIOBJ(s.palette)})
        Adjust(h, +1);
}

void GdiDeviceContext::Release(const GdiDcState& s) {
    for (HGDIOBJ h : {HGDIOBJ(s.pen), HGDIOBJ(s.brush), HGDIOBJ(s.font), HGDIOBJ(s.bitmap), HGDIOBJ(s.palette)})
        Adjust(h, -1);
}

void GdiDeviceContext::ApplyClip() {
    if (!surface_) return;
    if (state.clip && baseClip) {
        const GdiRegion both = state.clip->Combine(*baseClip, RGN_AND);
        surface_->SetClip(&both);
    } else if (state.clip) {
        surface_->SetClip(&*state.clip);
    } else if (baseClip) {
        surface_->SetClip(&*baseClip);
    } else {
        surface_->SetClip(nullptr);
    }
}

double GdiDeviceContext::ScaleX() const {
    return state.windowExt.cx ? double(state.viewportExt.cx) / state.windowExt.cx : 1.0;
}

double GdiDeviceContext::ScaleY() const {
    return state.windowExt.cy ? double(state.viewportExt.cy) / state.windowExt.cy : 1.0;
}

GdiPointF GdiDeviceContext::ToDevice(double x, double y) const {
    return GdiPointF{(x - state.windowOrg.x) * ScaleX() + state.viewportOrg.x,
                     (y - state.windowOrg.y) * ScaleY() + state.viewportOrg.y};
}

POINT GdiDeviceContext::ToDevicePoint(int x, int y) const {
    const GdiPointF p = ToDevice(x, y);
    return POINT{static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))};
}

GdiPointF GdiDeviceContext::ToLogical(double x, double y) const {
    return GdiPointF{(x - state.viewportOrg.x) / ScaleX() + state.windowOrg.x,
                     (y - state.viewportOrg.y) / ScaleY() + state.windowOrg.y};
}

RECT GdiDeviceContext::ToDeviceRect(const RECT& r) const {
    const POINT a = ToDevicePoint(r.left, r.top), b = ToDevicePoint(r.right, r.bottom);
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// ---- creating and deleting objects

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
        Adjust(old, -1);
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

// ---- regions

namespace {

HRGN NewRegion(GdiRegion region) {
    auto r = std::make_unique<GdiRegionObject>();
    r->region = std::move(region);
    return static_cast<HRGN>(RegisterGdiObject(std::move(r)));
}

RECT Normalized(int l, int t, int r, int b) {
    return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegion(GdiRegion(Normalized(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* r) {
    if (!r) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(r->left, r->top, r->right, r->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h) {
    return NewRegion(GdiRegion::FromRoundRect(Normalized(left, top, right, bottom), w, h));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return NewRegion(GdiRegion::FromEllipse(Normalized(left, top, right, bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* r) {
    if (!r) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateEllipticRgn(r->left, r->top, r->right, r->bottom);
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (!points || count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return NewRegion(GdiRegion::FromPolygons({std::vector<POINT>(points, points + count)}, fillMode));
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode) {
    if (!points || !counts || polygons < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<std::vector<POINT>> polys;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        polys.emplace_back(points, points + counts[i]);
        points += counts[i];
    }
    return NewRegion(GdiRegion::FromPolygons(polys, fillMode));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    auto* d = GdiObjectAs<GdiRegionObject>(dest);
    auto* a = GdiObjectAs<GdiRegionObject>(src1);
    if (!d || !a) return ERROR;
    if (mode == RGN_COPY) {
        d->region = a->region;
        return d->region.Kind();
    }
    auto* b = GdiObjectAs<GdiRegionObject>(src2);
    if (!b || mode < RGN_AND || mode > RGN_DIFF) {
        if (b) SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    d->region = a->region.Combine(b->region, mode);
    return d->region.Kind();
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!r) return FALSE;
    r->region = GdiRegion(Normalized(left, top, right, bottom));
    return TRUE;
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!r) return ERROR;
    r->region.Offset(dx, dy);
    return r->region.Kind();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    return r && r->region.Contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* rect) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    return r && rect && r->region.IntersectsRect(Normalized(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL EqualRgn(HRGN a, HRGN b) {
    auto* ra = GdiObjectAs<GdiRegionObject>(a);
    auto* rb = GdiObjectAs<GdiRegionObject>(b);
    if (!ra || !rb) return ERROR;
    return ra->region == rb->region;
}

int GetRgnBox(HRGN rgn, RECT* box) {
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!r || !box) return ERROR;
    *box = r->region.Bounds();
    return r->region.Kind();
}

// ---- clipping

int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode) {
    auto* d = DcFromHandle(dc);
    if (!d) return ERROR;
    if (!rgn) {
        if (mode != RGN_COPY) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR;
        }
        d->state.clip.reset();
    } else {
        auto* r = GdiObjectAs<GdiRegionObject>(rgn);
        if (!r) return ERROR;
        if (mode == RGN_COPY || !d->state.clip) {
            if (mode == RGN_COPY || mode == RGN_AND || mode == RGN_OR)
                d->state.clip = r->region;
            else {
                // Against no clip region: the whole surface.
                const SIZE s = d->Surface() ? d->Surface()->Size() : SIZE{};
                d->state.clip = GdiRegion(RECT{0, 0, s.cx, s.cy}).Combine(r->region, mode);
            }
        } else {
            d->state.clip = d->state.clip->Combine(r->region, mode);
        }
    }
    d->ApplyClip();
    if (!d->state.clip) return SIMPLEREGION;
    return d->state.clip->Kind();
}

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

namespace {

int ClipWithRect(HDC dc, int left, int top, int right, int bottom, int mode) {
    auto* d = DcFromHandle(dc);
    if (!d) return ERROR;
    const RECT r = d->ToDeviceRect(Normalized(left, top, right, bottom));
    GdiRegion current;
    if (d->state.clip)
        current = *d->state.clip;
    else {
        const SIZE s = d->Surface() ? d->Surface()->Size() : SIZE{};
        current = GdiRegion(RECT{0, 0, s.cx, s.cy});
    }
    d->state.clip = current.Combine(GdiRegion(r), mode);
    d->ApplyClip();
    return d->state.clip->Kind();
}

}  // namespace

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    return ClipWithRect(dc, left, top, right, bottom, RGN_AND);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    return ClipWithRect(dc, left, top, right, bottom, RGN_DIFF);
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
    auto* d = DcFromHandle(dc);
    if (!d) return ERROR;
    if (!d->state.clip) return SIMPLEREGION;
    const double sx = d->ScaleX(), sy = d->ScaleY();
    d->state.clip->Offset(static_cast<int>(std::lround(dx * sx)), static_cast<int>(std::lround(dy * sy)));
    d->ApplyClip();
    return d->state.clip->Kind();
}

namespace {

// The device pixels a context may draw on: its surface, its clip region and its base clip.
GdiRegion VisibleRegion(const GdiDeviceContext& d) {
    const SIZE s = d.Surface() ? d.Surface()->Size() : SIZE{};
    GdiRegion v(RECT{0, 0, s.cx, s.cy});
    if (d.state.clip) v = v.Combine(*d.state.clip, RGN_AND);
    if (d.baseClip) v = v.Combine(*d.baseClip, RGN_AND);
    return v;
}

}  // namespace

int GetClipBox(HDC dc, RECT* box) {
    auto* d = DcFromHandle(dc);
    if (!d || !box) return ERROR;
    const GdiRegion v = VisibleRegion(*d);
    const RECT b = v.Bounds();
    const GdiPointF a = d->ToLogical(b.left, b.top), c = d->ToLogical(b.right, b.bottom);
    *box = Normalized(static_cast<int>(std::lround(a.x)), static_cast<int>(std::lround(a.y)),
                      static_cast<int>(std::lround(c.x)), static_cast<int>(std::lround(c.y)));
    return v.Kind();
}

int GetClipRgn(HDC dc, HRGN rgn) {
    auto* d = DcFromHandle(dc);
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!d || !r) return -1;
    if (!d->state.clip) return 0;
    r->region = *d->state.clip;
    return 1;
}

BOOL PtVisible(HDC dc, int x, int y) {
    auto* d = DcFromHandle(dc);
    if (!d) return -1;
    const POINT p = d->ToDevicePoint(x, y);
    return VisibleRegion(*d).Contains(p.x, p.y);
}

BOOL RectVisible(HDC dc, const RECT* r) {
    auto* d = DcFromHandle(dc);
    if (!d || !r) return FALSE;
    return VisibleRegion(*d).IntersectsRect(d->ToDeviceRect(*r));
}

// ---- contexts

HDC CreateCompatibleDC(HDC dc) {
    if (dc && !DcFromHandle(dc)) return nullptr;
    GdiBackend* backend = CurrentGdiBackend();
    if (!backend) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    auto* bmp = GdiObjectAs<GdiBitmap>(GdiDefaultBitmap());
    auto context = std::make_unique<GdiDeviceContext>(GdiDeviceContext::Kind::Memory,
                                                      backend->CreateBitmapSurface(*bmp));
    return RegisterDc(std::move(context));
}

namespace {

HDC CreateScreenDc() {
    GdiBackend* backend = CurrentGdiBackend();
    if (!backend) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    return RegisterDc(std::make_unique<GdiDeviceContext>(GdiDeviceContext::Kind::Screen,
                                                         backend->CreateScreenSurface()));
}

WindowDcProvider& Provider() {
    static WindowDcProvider provider;
    return provider;
}

bool SameText(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace

HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* devMode) {
    (void)output;
    const std::u16string_view drv = driver ? driver : u"";
    if (SameText(drv, u"DISPLAY")) return CreateScreenDc();
    GdiBackend* backend = CurrentGdiBackend();
    if (!backend) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    const auto* dm = static_cast<const DEVMODEW*>(devMode);
    const bool landscape = dm && (dm->dmFields & DM_ORIENTATION) && dm->dmOrientation == DMORIENT_LANDSCAPE;
    const int copies = dm && (dm->dmFields & DM_COPIES) ? std::max<int>(1, dm->dmCopies) : 1;
    auto surface = backend->CreatePrinterSurface(device ? device : u"", landscape, copies);
    if (!surface) return nullptr;
    return RegisterDc(std::make_unique<GdiDeviceContext>(GdiDeviceContext::Kind::Printer, std::move(surface)));
}

HDC CreateICW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* devMode) {
    return CreateDCW(driver, device, output, devMode);
}

BOOL DeleteDC(HDC dc) {
    if (!DcFromHandle(dc)) return FALSE;
    ReleaseHandle(static_cast<HANDLE>(dc));
    return TRUE;
}

void SetWindowDcProvider(WindowDcProvider provider) { Provider() = std::move(provider); }

HDC GetDC(HWND window) {
    if (!window) return CreateScreenDc();
    if (!Provider()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE_GDI);
        return nullptr;
    }
    return Provider()(window, false);
}

HDC GetWindowDC(HWND window) {
    if (!window) return CreateScreenDc();
    if (!Provider()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE_GDI);
        return nullptr;
    }
    return Provider()(window, true);
}

int ReleaseDC(HWND, HDC dc) { return DeleteDC(dc) ? 1 : 0; }

int SaveDC(HDC dc) {
    auto* d = DcFromHandle(dc);
    if (!d) return 0;
    d->saved.push_back(d->state);
    GdiDeviceContext::Hold(d->state);
    return static_cast<int>(d->saved.size());
}

BOOL RestoreDC(HDC dc, int saved) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    const int depth = static_cast<int>(d->saved.size());
    const int target = saved < 0 ? depth + saved + 1 : saved;  // the level to go back to
    if (target < 1 || target > depth) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool bitmapChanges = d->saved[target - 1].bitmap != d->state.bitmap;
    GdiDeviceContext::Release(d->state);
    d->state = d->saved[target - 1];
    // The restored state keeps the hold its saved copy had.
    for (int i = depth - 1; i >= target; --i) GdiDeviceContext::Release(d->saved[i]);
    d->saved.resize(target - 1);
    if (bitmapChanges) {
        if (auto* bmp = GdiObjectAs<GdiBitmap>(d->state.bitmap))
            if (GdiBackend* backend = CurrentGdiBackend()) d->ReplaceSurface(backend->CreateBitmapSurface(*bmp));
    }
    d->ApplyClip();
    return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
    auto* d = DcFromHandle(dc);
    if (!d || !d->Surface()) return 0;
    GdiSurface& s = *d->Surface();
    const SIZE size = s.Size(), dpi = s.Resolution();
    switch (index) {
        case DRIVERVERSION: return 0x4000;
        case TECHNOLOGY: return d->kind() == GdiDeviceContext::Kind::Metafile ? DT_METAFILE : s.Technology();
        case HORZSIZE: return static_cast<int>(std::lround(size.cx * 25.4 / dpi.cx));
        case VERTSIZE: return static_cast<int>(std::lround(size.cy * 25.4 / dpi.cy));
        case HORZRES: return size.cx;
        case VERTRES: return size.cy;
        case DESKTOPHORZRES: return size.cx;
        case DESKTOPVERTRES: return size.cy;
        case BITSPIXEL: return s.BitsPerPixel();
        case PLANES: return 1;
        case NUMBRUSHES:
        case NUMPENS: return -1;
        case NUMFONTS: return 0;
        // More than 8 bits a pixel: no palette, and the number of colours is -1.
        case NUMCOLORS: return s.BitsPerPixel() > 8 ? -1 : (1 << s.BitsPerPixel());
        case SIZEPALETTE: return s.BitsPerPixel() > 8 ? 0 : (1 << s.BitsPerPixel());
        case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP;
        case LOGPIXELSX: return dpi.cx;
        case LOGPIXELSY: return dpi.cy;
        case PHYSICALWIDTH: return s.PhysicalSize().cx;
        case PHYSICALHEIGHT: return s.PhysicalSize().cy;
        case PHYSICALOFFSETX: return s.PhysicalOffset().x;
        case PHYSICALOFFSETY: return s.PhysicalOffset().y;
        default: return 0;
    }
}

// ---- attributes

#define GDI_ATTRIBUTE(Type, SetName, GetName, field, failValue)   \
    Type SetName(HDC dc, Type value) {                             \
        auto* d = DcFromHandle(dc);                                \
        if (!d) return failValue;                                  \
        const Type old = d->state.field;                           \
        d->state.field = value;                                    \
        return old;                                                \
    }                                                              \
    Type GetName(HDC dc) {                                         \
        auto* d = DcFromHandle(dc);                                \
        return d ? d->state.field : failValue;                     \
    }

GDI_ATTRIBUTE(COLORREF, SetTextColor, GetTextColor, textColor, CLR_INVALID)
GDI_ATTRIBUTE(COLORREF, SetBkColor, GetBkColor, bkColor, CLR_INVALID)
GDI_ATTRIBUTE(UINT, SetTextAlign, GetTextAlign, textAlign, GDI_ERROR)
#undef GDI_ATTRIBUTE

namespace {

template <class T>
T SetChecked(HDC dc, T GdiDcState::*field, T value, T low, T high) {
    auto* d = DcFromHandle(dc);
    if (!d) return 0;
    if (value < low || value > high) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const T old = d->state.*field;
    d->state.*field = value;
    return old;
}

template <class T>
T GetField(HDC dc, T GdiDcState::*field) {
    auto* d = DcFromHandle(dc);
    return d ? d->state.*field : 0;
}

}  // namespace

int SetBkMode(HDC dc, int mode) { return SetChecked(dc, &GdiDcState::bkMode, mode, TRANSPARENT, OPAQUE); }
int GetBkMode(HDC dc) { return GetField(dc, &GdiDcState::bkMode); }
int SetPolyFillMode(HDC dc, int mode) { return SetChecked(dc, &GdiDcState::polyFillMode, mode, ALTERNATE, WINDING); }
int GetPolyFillMode(HDC dc) { return GetField(dc, &GdiDcState::polyFillMode); }
int SetROP2(HDC dc, int rop2) { return SetChecked(dc, &GdiDcState::rop2, rop2, R2_BLACK, R2_WHITE); }
int GetROP2(HDC dc) { return GetField(dc, &GdiDcState::rop2); }
int SetStretchBltMode(HDC dc, int mode) {
    return SetChecked(dc, &GdiDcState::stretchMode, mode, BLACKONWHITE, HALFTONE);
}
int GetStretchBltMode(HDC dc) { return GetField(dc, &GdiDcState::stretchMode); }
int SetArcDirection(HDC dc, int direction) {
    return SetChecked(dc, &GdiDcState::arcDirection, direction, AD_COUNTERCLOCKWISE, AD_CLOCKWISE);
}
int GetArcDirection(HDC dc) { return GetField(dc, &GdiDcState::arcDirection); }

int SetTextCharacterExtra(HDC dc, int extra) {
    auto* d = DcFromHandle(dc);
    if (!d) return static_cast<int>(0x80000000u);
    const int old = d->state.textCharExtra;
    d->state.textCharExtra = extra;
    return old;
}

COLORREF SetDCBrushColor(HDC dc, COLORREF color) {
    auto* d = DcFromHandle(dc);
    if (!d) return CLR_INVALID;
    const COLORREF old = d->state.dcBrushColor;
    d->state.dcBrushColor = color & 0xFFFFFF;
    return old;
}

COLORREF SetDCPenColor(HDC dc, COLORREF color) {
    auto* d = DcFromHandle(dc);
    if (!d) return CLR_INVALID;
    const COLORREF old = d->state.dcPenColor;
    d->state.dcPenColor = color & 0xFFFFFF;
    return old;
}

BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (old) *old = d->state.brushOrg;
    d->state.brushOrg = POINT{x, y};
    return TRUE;
}

BOOL GetBrushOrgEx(HDC dc, POINT* org) {
    auto* d = DcFromHandle(dc);
    if (!d || !org) return FALSE;
    *org = d->state.brushOrg;
    return TRUE;
}

// ---- mapping

namespace {

// Fixes the extents of the metric map modes from the device's resolution: the window extent
// counts logical units per inch, the viewport extent pixels per inch (y grows upwards).
void FixMetricExtents(GdiDeviceContext& d) {
    int unitsPerInch = 0;
    switch (d.state.mapMode) {
        case MM_LOMETRIC: unitsPerInch = 254; break;
        case MM_HIMETRIC: unitsPerInch = 2540; break;
        case MM_LOENGLISH: unitsPerInch = 100; break;
        case MM_HIENGLISH: unitsPerInch = 1000; break;
        case MM_TWIPS: unitsPerInch = 1440; break;
        case MM_TEXT:
            d.state.windowExt = SIZE{1, 1};
            d.state.viewportExt = SIZE{1, 1};
            return;
        default: return;
    }
    const SIZE dpi = d.Surface() ? d.Surface()->Resolution() : SIZE{96, 96};
    d.state.windowExt = SIZE{unitsPerInch, unitsPerInch};
    d.state.viewportExt = SIZE{dpi.cx, -dpi.cy};
}

// In the isotropic mode one logical unit has the same size on both axes: the viewport
// extent shrinks on the axis that would scale more.
void FixIsotropic(GdiDeviceContext& d) {
    if (d.state.mapMode != MM_ISOTROPIC) return;
    SIZE& w = d.state.windowExt;
    SIZE& v = d.state.viewportExt;
    if (!w.cx || !w.cy) return;
    const double sx = std::abs(double(v.cx) / w.cx), sy = std::abs(double(v.cy) / w.cy);
    if (sx > sy)
        v.cx = static_cast<LONG>(std::lround((v.cx < 0 ? -1 : 1) * sy * std::abs(w.cx) * (w.cx < 0 ? -1 : 1)));
    else if (sy > sx)
        v.cy = static_cast<LONG>(std::lround((v.cy < 0 ? -1 : 1) * sx * std::abs(w.cy) * (w.cy < 0 ? -1 : 1)));
}

}  // namespace

int SetMapMode(HDC dc, int mode) {
    auto* d = DcFromHandle(dc);
    if (!d) return 0;
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int old = d->state.mapMode;
    d->state.mapMode = mode;
    if (mode == MM_ISOTROPIC && old != MM_ISOTROPIC && old != MM_ANISOTROPIC) {
        // Starts from the metric mode's extents, as the system does.
        d->state.mapMode = MM_LOMETRIC;
        FixMetricExtents(*d);
        d->state.mapMode = mode;
    }
    FixMetricExtents(*d);
    return old;
}

int GetMapMode(HDC dc) { return GetField(dc, &GdiDcState::mapMode); }

namespace {

BOOL SetPoint(HDC dc, POINT GdiDcState::*field, int x, int y, POINT* old, bool offset) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    POINT& p = d->state.*field;
    if (old) *old = p;
    if (offset)
        p = POINT{p.x + x, p.y + y};
    else
        p = POINT{x, y};
    return TRUE;
}

BOOL SetExtent(HDC dc, SIZE GdiDcState::*field, int x, int y, SIZE* old) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (old) *old = d->state.*field;
    // Only the scalable modes take extents; others ignore the call.
    if (d->state.mapMode != MM_ISOTROPIC && d->state.mapMode != MM_ANISOTROPIC) return TRUE;
    if (x == 0 || y == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    d->state.*field = SIZE{x, y};
    FixIsotropic(*d);
    return TRUE;
}

BOOL GetPointField(HDC dc, POINT GdiDcState::*field, POINT* out) {
    auto* d = DcFromHandle(dc);
    if (!d || !out) return FALSE;
    *out = d->state.*field;
    return TRUE;
}

BOOL GetSizeField(HDC dc, SIZE GdiDcState::*field, SIZE* out) {
    auto* d = DcFromHandle(dc);
    if (!d || !out) return FALSE;
    *out = d->state.*field;
    return TRUE;
}

}  // namespace

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old) { return SetPoint(dc, &GdiDcState::windowOrg, x, y, old, false); }
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old) {
    return SetPoint(dc, &GdiDcState::viewportOrg, x, y, old, false);
}
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old) {
    return SetPoint(dc, &GdiDcState::windowOrg, dx, dy, old, true);
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old) {
    return SetPoint(dc, &GdiDcState::viewportOrg, dx, dy, old, true);
}
BOOL GetWindowOrgEx(HDC dc, POINT* org) { return GetPointField(dc, &GdiDcState::windowOrg, org); }
BOOL GetViewportOrgEx(HDC dc, POINT* org) { return GetPointField(dc, &GdiDcState::viewportOrg, org); }
BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old) { return SetExtent(dc, &GdiDcState::windowExt, x, y, old); }
BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old) {
    return SetExtent(dc, &GdiDcState::viewportExt, x, y, old);
}
BOOL GetWindowExtEx(HDC dc, SIZE* ext) { return GetSizeField(dc, &GdiDcState::windowExt, ext); }
BOOL GetViewportExtEx(HDC dc, SIZE* ext) { return GetSizeField(dc, &GdiDcState::viewportExt, ext); }

BOOL LPtoDP(HDC dc, POINT* points, int count) {
    auto* d = DcFromHandle(dc);
    if (!d || (!points && count)) return FALSE;
    for (int i = 0; i < count; ++i) points[i] = d->ToDevicePoint(points[i].x, points[i].y);
    return TRUE;
}

BOOL DPtoLP(HDC dc, POINT* points, int count) {
    auto* d = DcFromHandle(dc);
    if (!d || (!points && count)) return FALSE;
    for (int i = 0; i < count; ++i) {
        const GdiPointF p = d->ToLogical(points[i].x, points[i].y);
        points[i] = POINT{static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))};
    }
    return TRUE;
}

// ---- paints and strokes of the selected objects

namespace {

bool HatchBit(int hatch, int x, int y) {
    switch (hatch) {
        case HS_HORIZONTAL: return y == 7;
        case HS_VERTICAL: return x == 7;
        case HS_FDIAGONAL: return x == y;
        case HS_BDIAGONAL: return x + y == 7;
        case HS_CROSS: return x == 7 || y == 7;
        case HS_DIAGCROSS: return x == y || x + y == 7;
        default: return false;
    }
}

std::uint32_t Argb(COLORREF c) {
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace

std::optional<GdiPaint> GdiBrushPaint(const GdiDeviceContext& d, HBRUSH brush) {
    // A small number stands for a system colour + 1.
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= 31) brush = GetSysColorBrush(static_cast<int>(value - 1));
    auto* b = HandleAs<GdiBrush>(static_cast<HANDLE>(brush));
    if (!b || b->style == BS_NULL) return std::nullopt;
    GdiPaint paint;
    paint.color = b->dcBrush ? d.state.dcBrushColor : b->color;
    if (b->sysColorIndex >= 0) paint.color = GetSysColor(b->sysColorIndex);
    paint.origin = d.state.brushOrg;
    if (b->style == BS_HATCHED) {
        paint.tiled = true;
        paint.tileWidth = paint.tileHeight = 8;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                if (HatchBit(b->hatch, x, y))
                    paint.tile.push_back(Argb(b->color));
                else
                    paint.tile.push_back(d.state.bkMode == OPAQUE ? Argb(d.state.bkColor) : 0u);
            }
    } else if (b->style == BS_PATTERN && b->patternWidth > 0 && b->patternHeight > 0) {
        paint.tiled = true;
        paint.tileWidth = b->patternWidth;
        paint.tileHeight = b->patternHeight;
        if (!b->monoPattern.empty()) {
            for (std::uint8_t bit : b->monoPattern)
                paint.tile.push_back(Argb(bit ? d.state.bkColor : d.state.textColor));
        } else {
            paint.tile = b->pattern;
        }
    }
    return paint;
}

std::optional<GdiStroke> GdiPenStroke(const GdiDeviceContext& d) {
    auto* p = HandleAs<GdiPen>(static_cast<HANDLE>(d.state.pen));
    if (!p || p->style == PS_NULL) return std::nullopt;
    GdiStroke s;
    s.color = p->dcPen ? d.state.dcPenColor : p->color;
    s.style = p->style == PS_INSIDEFRAME ? PS_SOLID : p->style;
    const double w = p->width * std::abs(d.ScaleX());
    s.width = (p->width <= 1 && !p->geometric) || w < 1.5 ? 0 : w;
    if (s.width > 0) {
        s.endCap = p->geometric && p->endCap != PS_ENDCAP_ROUND ? p->endCap : PS_ENDCAP_ROUND;
        s.join = p->geometric ? p->join : PS_JOIN_ROUND;
        if (!p->geometric) {
            s.endCap = PS_ENDCAP_ROUND;
            s.join = PS_JOIN_ROUND;
        }
    }
    s.opaqueGaps = d.state.bkMode == OPAQUE;
    s.bkColor = d.state.bkColor;
    return s;
}

bool GdiPenIsInsideFrame(const GdiDeviceContext& d) {
    auto* p = HandleAs<GdiPen>(static_cast<HANDLE>(d.state.pen));
    return p && p->style == PS_INSIDEFRAME;
}

// ---- lines

namespace {

GdiPointF Centre(const POINT& p) { return GdiPointF{p.x + 0.5, p.y + 0.5}; }

GdiPathElement MoveEl(GdiPointF p) {
    GdiPathElement e;
    e.kind = GdiPathElement::Move;
    e.point = p;
    return e;
}

GdiPathElement LineEl(GdiPointF p) {
    GdiPathElement e;
    e.kind = GdiPathElement::Line;
    e.point = p;
    return e;
}

GdiPathElement CloseEl() {
    GdiPathElement e;
    e.kind = GdiPathElement::Close;
    return e;
}

GdiPathElement ArcEl(double l, double t, double r, double b, double start, double sweep) {
    GdiPathElement e;
    e.kind = GdiPathElement::Arc;
    e.left = l;
    e.top = t;
    e.right = r;
    e.bottom = b;
    e.start = start;
    e.sweep = sweep;
    return e;
}

GdiSurface* SurfaceOf(GdiDeviceContext* d) {
    if (d && !d->Surface()) SetLastError(ERROR_NOT_SUPPORTED);
    return d ? d->Surface() : nullptr;
}

bool StrokePoints(GdiDeviceContext& d, const std::vector<POINT>& devicePoints, bool closed) {
    GdiSurface* s = SurfaceOf(&d);
    if (!s) return false;
    const auto stroke = GdiPenStroke(d);
    if (!stroke || devicePoints.size() < 2) return true;
    GdiPath path;
    path.push_back(MoveEl(Centre(devicePoints[0])));
    for (size_t i = 1; i < devicePoints.size(); ++i) path.push_back(LineEl(Centre(devicePoints[i])));
    if (closed) path.push_back(CloseEl());
    s->StrokePath(path, *stroke, d.state.rop2);
    return true;
}

}  // namespace

BOOL MoveToEx(HDC dc, int x, int y, POINT* old) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (old) *old = d->state.current;
    d->state.current = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC dc, POINT* pos) {
    auto* d = DcFromHandle(dc);
    if (!d || !pos) return FALSE;
    *pos = d->state.current;
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    const POINT a = d->ToDevicePoint(d->state.current.x, d->state.current.y);
    const POINT b = d->ToDevicePoint(x, y);
    d->state.current = POINT{x, y};
    return StrokePoints(*d, {a, b}, false);
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!points || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> dev;
    for (int i = 0; i < count; ++i) dev.push_back(d->ToDevicePoint(points[i].x, points[i].y));
    return StrokePoints(*d, dev, false);
}

BOOL PolylineTo(HDC dc, const POINT* points, DWORD count) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!points || count == 0) return TRUE;
    std::vector<POINT> dev{d->ToDevicePoint(d->state.current.x, d->state.current.y)};
    for (DWORD i = 0; i < count; ++i) dev.push_back(d->ToDevicePoint(points[i].x, points[i].y));
    d->state.current = points[count - 1];
    return StrokePoints(*d, dev, false);
}

BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines) {
    if (!points || !counts) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (DWORD i = 0; i < polylines; ++i) {
        if (!Polyline(dc, points, static_cast<int>(counts[i]))) return FALSE;
        points += counts[i];
    }
    return TRUE;
}

// ---- shapes

namespace {

// Fills the path with the brush, then outlines it with the pen.
BOOL FillAndStroke(GdiDeviceContext& d, const GdiPath& fillPath, const GdiPath& strokePath) {
    GdiSurface* s = SurfaceOf(&d);
    if (!s) return FALSE;
    if (const auto paint = GdiBrushPaint(d, d.state.brush)) s->FillPath(fillPath, d.state.polyFillMode, *paint, d.state.rop2);
    if (const auto stroke = GdiPenStroke(d)) s->StrokePath(strokePath, *stroke, d.state.rop2);
    return TRUE;
}

GdiPath PolygonPath(const std::vector<std::vector<POINT>>& polys) {
    GdiPath path;
    for (const auto& poly : polys) {
        if (poly.size() < 2) continue;
        path.push_back(MoveEl(Centre(poly[0])));
        for (size_t i = 1; i < poly.size(); ++i) path.push_back(LineEl(Centre(poly[i])));
        path.push_back(CloseEl());
    }
    return path;
}

// The box a shape's outline runs through: pixel centres of a box whose right and bottom edges
// are exclusive; without a pen the filled shape is one pixel smaller.
struct ShapeBoxes {
    double l, t, r, b;       // outline
    double fl, ft, fr, fb;   // fill without a pen
};

ShapeBoxes BoxesOf(const GdiDeviceContext& d, int left, int top, int right, int bottom) {
    const RECT r = d.ToDeviceRect(RECT{left, top, right, bottom});
    ShapeBoxes b{r.left + 0.5, r.top + 0.5, r.right - 0.5, r.bottom - 0.5,
                 double(r.left), double(r.top), r.right - 1.0, r.bottom - 1.0};
    if (GdiPenIsInsideFrame(d)) {
        if (const auto stroke = GdiPenStroke(d); stroke && stroke->width > 1) {
            const double half = stroke->width / 2 - 0.5;
            b.l += half;
            b.t += half;
            b.r -= half;
            b.b -= half;
        }
    }
    return b;
}

GdiPath EllipsePath(double l, double t, double r, double b) {
    GdiPath p;
    p.push_back(MoveEl(GdiPointF{r, (t + b) / 2}));
    p.push_back(ArcEl(l, t, r, b, 0, 360));
    p.push_back(CloseEl());
    return p;
}

GdiPath RoundRectPath(double l, double t, double r, double b, double cw, double ch) {
    cw = std::min(std::abs(cw), r - l);
    ch = std::min(std::abs(ch), b - t);
    GdiPath p;
    p.push_back(MoveEl(GdiPointF{r, t + ch / 2}));
    p.push_back(ArcEl(r - cw, t, r, t + ch, 0, 90));
    p.push_back(ArcEl(l, t, l + cw, t + ch, 90, 90));
    p.push_back(ArcEl(l, b - ch, l + cw, b, 180, 90));
    p.push_back(ArcEl(r - cw, b - ch, r, b, 270, 90));
    p.push_back(CloseEl());
    return p;
}

}  // namespace

BOOL Polygon(HDC dc, const POINT* points, int count) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!points || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<POINT> dev;
    for (int i = 0; i < count; ++i) dev.push_back(d->ToDevicePoint(points[i].x, points[i].y));
    const GdiPath path = PolygonPath({dev});
    return FillAndStroke(*d, path, path);
}

BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    if (!points || !counts || polygons < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<std::vector<POINT>> polys;
    for (int i = 0; i < polygons; ++i) {
        std::vector<POINT> dev;
        for (int k = 0; k < counts[i]; ++k) dev.push_back(d->ToDevicePoint(points[k].x, points[k].y));
        points += counts[i];
        polys.push_back(std::move(dev));
    }
    const GdiPath path = PolygonPath(polys);
    return FillAndStroke(*d, path, path);
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    auto* d = DcFromHandle(dc);
    GdiSurface* s = SurfaceOf(d);
    if (!s) return FALSE;
    const RECT r = d->ToDeviceRect(RECT{left, top, right, bottom});
    if (r.right - r.left < 1 || r.bottom - r.top < 1) return TRUE;
    const auto paint = GdiBrushPaint(*d, d->state.brush);
    const auto stroke = GdiPenStroke(*d);
    if (!stroke) {
        // Without a pen the rectangle is one pixel smaller on the right and at the bottom.
        if (paint) s->FillRects({RECT{r.left, r.top, r.right - 1, r.bottom - 1}}, *paint, d->state.rop2);
        return TRUE;
    }
    if (stroke->width == 0 && stroke->style == PS_SOLID) {
        // One-pixel outline exactly on the edges: four rectangles that never overlap.
        if (paint && r.right - r.left > 2 && r.bottom - r.top > 2)
            s->FillRects({RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}}, *paint, d->state.rop2);
        GdiPaint pen;
        pen.color = stroke->color;
        std::vector<RECT> edges{RECT{r.left, r.top, r.right, r.top + 1}};
        if (r.bottom - r.top > 1) edges.push_back(RECT{r.left, r.bottom - 1, r.right, r.bottom});
        if (r.bottom - r.top > 2) {
            edges.push_back(RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1});
            if (r.right - r.left > 1) edges.push_back(RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1});
        }
        s->FillRects(edges, pen, d->state.rop2);
        return TRUE;
    }
    const ShapeBoxes b = BoxesOf(*d, left, top, right, bottom);
    GdiPath path{MoveEl({b.l, b.t}), LineEl({b.r, b.t}), LineEl({b.r, b.b}), LineEl({b.l, b.b}), CloseEl()};
    return FillAndStroke(*d, path, path);
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int w, int h) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    const ShapeBoxes b = BoxesOf(*d, left, top, right, bottom);
    const double cw = w * std::abs(d->ScaleX()), ch = h * std::abs(d->ScaleY());
    const bool pen = GdiPenStroke(*d).has_value();
    const GdiPath fill = pen ? RoundRectPath(b.l, b.t, b.r, b.b, cw, ch) : RoundRectPath(b.fl, b.ft, b.fr, b.fb, cw, ch);
    return FillAndStroke(*d, fill, RoundRectPath(b.l, b.t, b.r, b.b, cw, ch));
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    const ShapeBoxes b = BoxesOf(*d, left, top, right, bottom);
    const bool pen = GdiPenStroke(*d).has_value();
    const GdiPath fill = pen ? EllipsePath(b.l, b.t, b.r, b.b) : EllipsePath(b.fl, b.ft, b.fr, b.fb);
    return FillAndStroke(*d, fill, EllipsePath(b.l, b.t, b.r, b.b));
}

namespace {

enum class ArcShape { Arc, Pie, Chord };

BOOL ArcLike(HDC dc, ArcShape shape, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    const ShapeBoxes b = BoxesOf(*d, left, top, right, bottom);
    const double cx = (b.l + b.r) / 2, cy = (b.t + b.b) / 2;
    const double rx = std::max((b.r - b.l) / 2, 0.5), ry = std::max((b.b - b.t) / 2, 0.5);
    // Angles of the radial lines through the start and end points, on the ellipse's circle.
    auto angleOf = [&](int x, int y) {
        const GdiPointF p = d->ToDevice(x + 0.0, y + 0.0);
        return std::atan2(-(p.y + 0.5 - cy) / ry, (p.x + 0.5 - cx) / rx) * 180.0 / M_PI;
    };
    const double start = angleOf(xs, ys), end = angleOf(xe, ye);
    double sweep = std::fmod(end - start + 720.0, 360.0);
    if (d->state.arcDirection == AD_CLOCKWISE) sweep = sweep == 0 ? -360 : sweep - 360;
    if (sweep == 0) sweep = 360;
    // With a y axis flipped by the mapping, counter-clockwise in logical space turns round.
    if ((d->ScaleX() < 0) != (d->ScaleY() < 0)) sweep = -sweep;
    const double rad = start * M_PI / 180.0;
    const GdiPointF startPt{cx + rx * std::cos(rad), cy - ry * std::sin(rad)};
    GdiPath path;
    if (shape == ArcShape::Pie) {
        path.push_back(MoveEl({cx, cy}));
        path.push_back(LineEl(startPt));
    } else {
        path.push_back(MoveEl(startPt));
    }
    path.push_back(ArcEl(b.l, b.t, b.r, b.b, start, sweep));
    if (shape == ArcShape::Arc) {
        GdiSurface* s = SurfaceOf(d);
        if (!s) return FALSE;
        if (const auto stroke = GdiPenStroke(*d)) s->StrokePath(path, *stroke, d->state.rop2);
        return TRUE;
    }
    path.push_back(CloseEl());
    return FillAndStroke(*d, path, path);
}

}  // namespace

BOOL Arc(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcLike(dc, ArcShape::Arc, l, t, r, b, xs, ys, xe, ye);
}
BOOL Pie(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcLike(dc, ArcShape::Pie, l, t, r, b, xs, ys, xe, ye);
}
BOOL Chord(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcLike(dc, ArcShape::Chord, l, t, r, b, xs, ys, xe, ye);
}

// ---- regions drawn

namespace {

// A region is in device units already; it is drawn where it lies.
BOOL FillRegionWith(HDC dc, HRGN rgn, std::optional<GdiPaint> paint, int rop2) {
    auto* d = DcFromHandle(dc);
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    GdiSurface* s = SurfaceOf(d);
    if (!s || !r) return FALSE;
    if (paint && !r->region.IsEmpty()) s->FillRects(r->region.Rects(), *paint, rop2);
    return TRUE;
}

}  // namespace

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    return FillRegionWith(dc, rgn, GdiBrushPaint(*d, brush), R2_COPYPEN);
}

BOOL PaintRgn(HDC dc, HRGN rgn) {
    auto* d = DcFromHandle(dc);
    if (!d) return FALSE;
    return FillRegionWith(dc, rgn, GdiBrushPaint(*d, d->state.brush), d->state.rop2);
}

BOOL InvertRgn(HDC dc, HRGN rgn) {
    GdiPaint white;
    white.color = RGB(255, 255, 255);
    return FillRegionWith(dc, rgn, white, R2_XORPEN);
}

BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h) {
    auto* d = DcFromHandle(dc);
    auto* r = GdiObjectAs<GdiRegionObject>(rgn);
    if (!d || !r) return FALSE;
    // The frame: the region less the region shrunk by w and h on every side.
    GdiRegion inner = r->region;
    for (int dx : {-w, w}) {
        GdiRegion moved = r->region;
        moved.Offset(dx, 0);
        inner = inner.Combine(moved, RGN_AND);
    }
    for (int dy : {-h, h}) {
        GdiRegion moved = r->region;
        moved.Offset(0, dy);
        inner = inner.Combine(moved, RGN_AND);
    }
    const GdiRegion frame = r->region.Combine(inner, RGN_DIFF);
    GdiSurface* s = SurfaceOf(d);
    const auto paint = GdiBrushPaint(*d, brush);
    if (!s) return FALSE;
    if (paint && !frame.IsEmpty()) s->FillRects(frame.Rects(), *paint, R2_COPYPEN);
    return TRUE;
}
