// Colour arithmetic (HSL on a 0..240 scale, darker, lighter, blends), the colour-scheme palette
// and gradient colours of the styled controls, the system version tests, monitor work areas
// and small helpers the drawing routines and styled controls share.
#pragma once

#include <array>
#include <cstdint>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

struct THsl {
    std::uint8_t Hue = 0, Saturation = 0, Lightness = 0;
};

void ColorToHsl(TColor color, std::uint8_t& hue, std::uint8_t& saturation, std::uint8_t& lightness);
THsl ColorToHsl(TColor color);
TColor HslToColor(int hue, int saturation, int lightness);
std::uint8_t HueOfColor(TColor color);
TColor DarkerColor(TColor color, int amount);
TColor LighterColor(TColor color, int amount);
TColor AdjustedColor(TColor color, int amount);
// weight 255 gives a, 0 gives b.
TColor BlendColors(TColor a, TColor b, int weight);
bool ColorsAreClose(TColor a, TColor b);
TColor ComplementColor(TColor color, int lightness);

enum TRzGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
QUILLORA_ENUM_TYPEINFO(TRzGradientColorStyle, "gcsSystem", "gcsMSOffice", "gcsCustom")

// Element kinds 0..6 of the theme colour query; clBtnFace while themes are off.
TColor GetThemeElementColor(int kind);
// 0 the default scheme, 1 "HOMESTEAD", 2 "METALLIC", from the user's theme settings.
int QueryXPColorScheme();
// The scheme the unit read at start-up; the framed panel reads it again when the theme changes.
int& CurrentXPColorScheme();
void GetHighlightGradientColors(TRzGradientColorStyle style, TColor& frame, TColor& start, TColor& stop);
void GetGradientColors(TRzGradientColorStyle style, TColor& start, TColor& stop);
TColor GetFrameColor(TRzGradientColorStyle style);
void GetStatusGradientColors(TRzGradientColorStyle style, TColor& first, TColor& second, TColor& third);
bool IsFullColorDisplay();

// Release codes: 0 Windows 95, 1 NT 4 or earlier, 2 98, 3 Me, 4 2000, 5 XP, 6 Server 2003, 7 Vista.
bool IsWindowsVersion(int release);
bool IsWindowsVersionOrLater(int release);

// Monitors: handles count from 1 in the widget set's order; a window's monitor is the one
// nearest its centre, a point's the one holding it (none otherwise).
using HMONITOR = struct HMONITOR__*;
TRect MonitorWorkAreaOfWindow(const TWinControl* control);
int MonitorWorkAreaWidth(const TWinControl* control);
TRect MonitorWorkArea(HMONITOR monitor);
TRect MonitorBounds(HMONITOR monitor);
HMONITOR MonitorAtPoint(const TPoint& point);

TRect CenteredRect(const TRect& r, int width, int height);
inline int IntMin(int a, int b) { return a < b ? a : b; }
inline int IntMax(int a, int b) { return a > b ? a : b; }
void SwapWords(std::uint16_t& a, std::uint16_t& b);
bool CharIsLeadByte(std::uint8_t byte);
using TByteSet = std::array<std::uint32_t, 8>;
bool ByteInSet(std::uint8_t byte, const TByteSet& set);
// Deletes the first occurrence of c; true when there was one.
bool RemoveFirstChar(WideString& text, WideChar c);
LRESULT SendTextMessage(HWND window, UINT msg, WPARAM wParam, const WideString& text);
// Tells the form designer of a change; there is no designer at run time.
void NotifyDesignerModified(TControl* control);
