// Coordinate mapping: map modes, window and viewport origins and extents.
#include "platform/vcl/Gdi.h"

#include <cmath>
#include <cstdlib>

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

int GetMapMode(HDC dc) {
    auto* d = DcFromHandle(dc);
    return d ? d->state.mapMode : 0;
}

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
