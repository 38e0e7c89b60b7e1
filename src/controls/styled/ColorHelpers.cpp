#include "controls/styled/ColorHelpers.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>

#include "platform/vcl/Application.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsThemes.h"
#include "platform/vcl/Registry.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinVersion.h"

namespace {

// Rounding to nearest with ties to even, as the design's rounding does.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

struct Scheme {
    TColor hotFrame, hotStart, hotStop, gradientStart, gradientStop, frame;
};
constexpr Scheme kSchemes[3] = {
    {0x800000, 0xC2EEFF, 0xA0D9FF, 0xFFEFE3, 0xEABB99, 0xBF7F57},
    {0x385D3F, 0xC2EEFF, 0xA0D9FF, 0xEDFFFF, 0x92C7B8, 0x77A17F},
    {0x6F4B4B, 0xC2EEFF, 0xA0D9FF, 0xFFF9F9, 0xD0BCBD, 0xB19F9F},
};

bool UsePalette(TRzGradientColorStyle style) { return style == gcsMSOffice && ThemeServices()->ThemesEnabled(); }
const Scheme& CurrentScheme() { return kSchemes[std::clamp(CurrentXPColorScheme(), 0, 2)]; }

// Monitor handles are the widget set's monitor index plus one.
HMONITOR HandleOf(size_t index) { return reinterpret_cast<HMONITOR>(index + 1); }
const TMonitorArea* AreaOf(const std::vector<TMonitorArea>& monitors, HMONITOR monitor) {
    const auto index = reinterpret_cast<uintptr_t>(monitor);
    return index >= 1 && index <= monitors.size() ? &monitors[index - 1] : nullptr;
}

}  // namespace

void ColorToHsl(TColor color, std::uint8_t& hue, std::uint8_t& saturation, std::uint8_t& lightness) {
    const COLORREF rgb = ColorToRGB(color);
    const double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    double h = 0, s = 0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (r == mx) h = (g - b) / d;
        else if (g == mx) h = 2 + (b - r) / d;
        else h = 4 + (r - g) / d;
        h /= 6;
        if (h < 0) h += 1;
    }
    hue = static_cast<std::uint8_t>(RoundEven(h * 240));
    saturation = static_cast<std::uint8_t>(RoundEven(s * 240));
    lightness = static_cast<std::uint8_t>(RoundEven(l * 240));
}

THsl ColorToHsl(TColor color) {
    THsl hsl;
    ColorToHsl(color, hsl.Hue, hsl.Saturation, hsl.Lightness);
    return hsl;
}

TColor HslToColor(int hue, int saturation, int lightness) {
    const double l = lightness / 240.0, s = saturation / 240.0, h = hue / 239.0;
    const double v = l < 0.5 ? l * (1 + s) : l + s - l * s;
    if (v <= 0) return 0;
    const double m = 2 * l - v, sv = (v - m) / v, h6 = h * 6;
    const int sextant = static_cast<int>(h6);
    const double f = h6 - sextant, vsf = v * sv * f, mid1 = m + vsf, mid2 = v - vsf;
    double r, g, b;
    switch (sextant) {
    case 1: r = mid2, g = v, b = m; break;
    case 2: r = m, g = v, b = mid1; break;
    case 3: r = m, g = mid2, b = v; break;
    case 4: r = mid1, g = m, b = v; break;
    case 5: r = v, g = m, b = mid2; break;
    default: r = v, g = mid1, b = m; break;  // 0, and hue 239 and above
    }
    const auto channel = [](double c) { return RoundEven(std::min(c, 1.0) * 255); };
    return static_cast<TColor>(RGB(channel(r), channel(g), channel(b)));
}

std::uint8_t HueOfColor(TColor color) { return ColorToHsl(color).Hue; }

TColor DarkerColor(TColor color, int amount) {
    const THsl c = ColorToHsl(color);
    return HslToColor(c.Hue, c.Saturation, std::max(c.Lightness - amount, 0));
}

TColor LighterColor(TColor color, int amount) {
    const THsl c = ColorToHsl(color);
    return HslToColor(c.Hue, c.Saturation, std::min(c.Lightness + amount, 255));
}

TColor AdjustedColor(TColor color, int amount) {
    if (amount < 0) return DarkerColor(color, -amount);
    if (amount > 0) return LighterColor(color, amount);
    return color;
}

TColor BlendColors(TColor a, TColor b, int weight) {
    const COLORREF ca = ColorToRGB(a), cb = ColorToRGB(b);
    const float x = static_cast<float>(weight) / 255.0f;
    const auto mix = [x](int p, int q) { return RoundEven(static_cast<float>(p) * x + static_cast<float>(q) * (1.0f - x)); };
    return static_cast<TColor>(RGB(mix(GetRValue(ca), GetRValue(cb)), mix(GetGValue(ca), GetGValue(cb)), mix(GetBValue(ca), GetBValue(cb))));
}

bool ColorsAreClose(TColor a, TColor b) {
    const THsl x = ColorToHsl(a), y = ColorToHsl(b);
    return std::abs(x.Hue - y.Hue) < 20 && std::abs(x.Lightness - y.Lightness) < 60;
}

TColor ComplementColor(TColor color, int lightness) {
    const int h = HueOfColor(color);
    return HslToColor(h < 120 ? h + 120 : h - 120, 240, lightness);
}

TColor GetThemeElementColor(int) {
    // Themes are off on this platform: the classic face colour, as the design answers then.
    return clBtnFace;
}

int QueryXPColorScheme() {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    AnsiString name;
    if (reg.OpenKeyReadOnly("\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager") && reg.ValueExists("ColorName"))
        name = AnsiUpperCase(reg.ReadString("ColorName"));
    if (name == "HOMESTEAD") return 1;
    if (name == "METALLIC") return 2;
    return 0;
}

int& CurrentXPColorScheme() {
    static int scheme = QueryXPColorScheme();
    return scheme;
}

void GetHighlightGradientColors(TRzGradientColorStyle style, TColor& frame, TColor& start, TColor& stop) {
    if (UsePalette(style)) {
        frame = CurrentScheme().hotFrame;
        start = CurrentScheme().hotStart;
        stop = CurrentScheme().hotStop;
    } else {
        frame = clHighlight;
        stop = BlendColors(clHighlight, clWindow, 77);
        start = LighterColor(stop, 20);
    }
    if (!IsFullColorDisplay()) start = stop;
}

void GetGradientColors(TRzGradientColorStyle style, TColor& start, TColor& stop) {
    if (UsePalette(style)) {
        start = CurrentScheme().gradientStart;
        stop = CurrentScheme().gradientStop;
    } else {
        start = clWindow;
        stop = DarkerColor(clBtnFace, 10);
    }
}

TColor GetFrameColor(TRzGradientColorStyle style) {
    return UsePalette(style) ? CurrentScheme().frame : LighterColor(clBtnShadow, 30);
}

void GetStatusGradientColors(TRzGradientColorStyle style, TColor& first, TColor& second, TColor& third) {
    if (UsePalette(style)) {
        first = CurrentScheme().gradientStop;
        second = CurrentScheme().gradientStart;
        third = CurrentScheme().gradientStop;
    } else {
        first = DarkerColor(clBtnFace, 20);
        second = clWindow;
        third = DarkerColor(clBtnFace, 40);
    }
}

bool IsFullColorDisplay() {
    static const bool full = [] {
        HDC dc = GetDC(nullptr);
        const bool result = !dc || GetDeviceCaps(dc, NUMCOLORS) == -1;
        if (dc) ReleaseDC(nullptr, dc);
        return result;
    }();
    return full;
}

bool IsWindowsVersion(int release) {
    OSVERSIONINFOW v;
    if (!GetVersionExW(&v)) return false;
    const DWORD p = v.dwPlatformId, major = v.dwMajorVersion, minor = v.dwMinorVersion;
    switch (release & 0x7F) {
    case 0: return p == 1 && major <= 4 && minor == 0;
    case 1: return p == 2 && major <= 4;
    case 2: return p == 1 && major <= 4 && minor == 10;
    case 3: return p == 1 && major <= 4 && minor == 90;
    case 4: return p == 2 && major == 5 && minor == 0;
    case 5: return p == 2 && major == 5 && minor == 1;
    case 6: return p == 2 && major == 5 && minor == 2;
    case 7: return p == 2 && major == 6 && minor == 0;
    default: return false;
    }
}

bool IsWindowsVersionOrLater(int release) {
    static constexpr DWORD versions[8][2] = {{4, 0}, {4, 0}, {4, 10}, {4, 90}, {5, 0}, {5, 1}, {5, 2}, {6, 0}};
    release &= 0x7F;
    if (release > 7) return false;
    OSVERSIONINFOW v;
    if (!GetVersionExW(&v)) return false;
    const bool either = release == 0 || release == 2 || release == 3;
    if (either ? !(v.dwPlatformId == 1 || v.dwPlatformId == 2) : v.dwPlatformId != 2) return false;
    const DWORD major = versions[release][0], minor = versions[release][1];
    return v.dwMajorVersion > major || (v.dwMajorVersion == major && v.dwMinorVersion >= minor);
}

TRect MonitorWorkAreaOfWindow(const TWinControl* control) {
    const std::vector<TMonitorArea> monitors = WidgetSet().Monitors();
    if (monitors.empty()) return WidgetSet().WorkAreaRect();
    TPoint centre;
    if (control) {
        const TPoint at(control->Left() + control->Width() / 2, control->Top() + control->Height() / 2);
        centre = control->Parent() ? control->Parent()->ClientToScreen(at) : at;
    }
    return monitors[NearestMonitor(monitors, centre)].WorkArea;
}
int MonitorWorkAreaWidth(const TWinControl* control) { return MonitorWorkAreaOfWindow(control).Width(); }

TRect MonitorWorkArea(HMONITOR monitor) {
    const std::vector<TMonitorArea> monitors = WidgetSet().Monitors();
    const TMonitorArea* area = AreaOf(monitors, monitor);
    return area ? area->WorkArea : WidgetSet().WorkAreaRect();
}

TRect MonitorBounds(HMONITOR monitor) {
    const std::vector<TMonitorArea> monitors = WidgetSet().Monitors();
    const TMonitorArea* area = AreaOf(monitors, monitor);
    return area ? area->Bounds : WidgetSet().DesktopRect();
}

HMONITOR MonitorAtPoint(const TPoint& p) {
    const std::vector<TMonitorArea> monitors = WidgetSet().Monitors();
    for (size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].Bounds.Contains(p)) return HandleOf(i);
    return nullptr;
}

TRect CenteredRect(const TRect& r, int width, int height) {
    const int left = (r.left + r.right - width) / 2, top = (r.top + r.bottom - height) / 2;
    return TRect(left, top, left + width, top + height);
}

void SwapWords(std::uint16_t& a, std::uint16_t& b) { std::swap(a, b); }

bool CharIsLeadByte(std::uint8_t byte) { return IsDBCSLeadByte(byte) != FALSE; }

bool ByteInSet(std::uint8_t byte, const TByteSet& set) { return (set[byte / 32] >> (byte % 32)) & 1u; }

bool RemoveFirstChar(WideString& text, WideChar c) {
    const std::size_t at = text.find(c);
    if (at == WideString::npos) return false;
    text.erase(at, 1);
    return true;
}

LRESULT SendTextMessage(HWND window, UINT msg, WPARAM wParam, const WideString& text) {
    return SendMessageW(window, msg, wParam, reinterpret_cast<LPARAM>(text.c_str()));
}

void NotifyDesignerModified(TControl*) {}
