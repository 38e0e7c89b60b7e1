// Device contexts: their state, creating and saving them, and their attributes.
#include "platform/vcl/Gdi.h"

#include <algorithm>
#include <cmath>

#include "platform/vcl/GdiDevice.h"
#include "platform/vcl/GdiInternal.h"
#include "platform/win/WinError.h"

HDC RegisterDc(std::unique_ptr<GdiDeviceContext> dc) { return static_cast<HDC>(RegisterHandle(std::move(dc))); }

GdiDeviceContext* DcFromHandle(HDC dc) {
    auto* d = HandleAs<GdiDeviceContext>(static_cast<HANDLE>(dc));
    if (!d) SetLastError(ERROR_INVALID_HANDLE);
    return d;
}

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

void GdiDeviceContext::Hold(const GdiDcState& s) {
    for (HGDIOBJ h : {HGDIOBJ(s.pen), HGDIOBJ(s.brush), HGDIOBJ(s.font), HGDIOBJ(s.bitmap), HGDIOBJ(s.palette)})
        GdiAdjustSelections(h, +1);
}

void GdiDeviceContext::Release(const GdiDcState& s) {
    for (HGDIOBJ h : {HGDIOBJ(s.pen), HGDIOBJ(s.brush), HGDIOBJ(s.font), HGDIOBJ(s.bitmap), HGDIOBJ(s.palette)})
        GdiAdjustSelections(h, -1);
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
