// The drawing routines every styled control and the framed views paint with: borders, bevels,
// focus marks, gradients, progress bars, small glyphs (drop-down, arrows, close, check and radio
// marks), parent backgrounds and a few text and font helpers. Every border routine returns the
// rectangle left inside what it drew; lines leave out their end point.
#pragma once

#include "controls/styled/ColorHelpers.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/GraphicsImages.h"

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = TSet<TSide>;
inline const TSides sdAllSides = {sdLeft, sdTop, sdRight, sdBottom};
QUILLORA_ENUM_TYPEINFO(TSide, "sdLeft", "sdTop", "sdRight", "sdBottom")

enum TFrameStyleEx {
    fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold,
    fsFlatRounded
};
// The published frame style: fsNone .. fsFlatBold.
using TFrameStyle = TFrameStyleEx;
QUILLORA_ENUM_TYPEINFO(TFrameStyleEx, "fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised",
                       "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold", "fsFlatRounded")

enum TGradientDirection {
    gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox, gdVerticalEnd,
    gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox
};
QUILLORA_ENUM_TYPEINFO(TGradientDirection, "gdDiagonalUp", "gdDiagonalDown", "gdHorizontalEnd", "gdHorizontalCenter",
                       "gdHorizontalBox", "gdVerticalEnd", "gdVerticalCenter", "gdVerticalBox", "gdSquareBox",
                       "gdBigSquareBox")

enum TRzButtonHotTrackStyle { htsInterior, htsFrame };
QUILLORA_ENUM_TYPEINFO(TRzButtonHotTrackStyle, "htsInterior", "htsFrame")

// Draw states of glyphs: normal, pressed, hot (under the mouse), disabled.
enum TRzDrawState { dsNormal = 0, dsPressed = 1, dsHot = 2, dsDisabled = 3 };
// Check states of the check-box glyph: unchecked, checked, grayed.
enum TRzGlyphCheckState { gcsUnchecked = 0, gcsChecked = 1, gcsGrayed = 2 };

// ---- sides, rings and frames
TRect PaintRectSides(TCanvas& canvas, const TRect& r, TColor upperLeft, TColor lowerRight, TSides sides);
TRect PaintBevelRings(TCanvas& canvas, const TRect& r, TColor upperLeft, TColor lowerRight, TSides sides, int rings);
TRect PaintCtl3DBorder(TCanvas& canvas, const TRect& r, bool lowered);
TRect PaintCtl3DBorderSides(TCanvas& canvas, const TRect& r, bool lowered, TSides sides);
TRect PaintButtonBorder(TCanvas& canvas, const TRect& r, bool lowered);
TRect PaintButtonBorderSides(TCanvas& canvas, const TRect& r, bool lowered, TSides sides);
TRect PaintColoredButtonBorder(TCanvas& canvas, const TRect& r, TColor face, bool lowered);
TRect PaintColoredButtonBorderSides(TCanvas& canvas, const TRect& r, TColor face, bool lowered, TSides sides);
TRect PaintFrameBorder(TCanvas& canvas, const TRect& r, TFrameStyle style);
TRect PaintFrameBorderSides(TCanvas& canvas, const TRect& r, TFrameStyle style, TSides sides);
TRect PaintColoredBorder(TCanvas& canvas, const TRect& r, TColor face, TFrameStyleEx style);
TRect PaintColoredBorderSides(TCanvas& canvas, const TRect& r, TColor face, TFrameStyleEx style, TSides sides);

// ---- outlines and marks
TRect PaintBoxOutline(TCanvas& canvas, const TRect& r, TColor color);
TRect PaintBoxCornerMarks(TCanvas& canvas, const TRect& r, TColor color, int length);
// Every second pixel of the outline turns to its opposite colour, so the dotted outline shows
// on any face.
TRect PaintFocusBorder(TCanvas& canvas, const TRect& r);
TRect PaintRoundedFlatBorder(TCanvas& canvas, const TRect& r, TColor color, TSides sides);

struct TPanelBorderStyle {
    TFrameStyleEx outer = fsNone;
    bool transparent = false;
    TColor parentColor = clBtnFace;
    TColor color = clBtnFace;
    int flatColorAdjustment = 0;
    TColor flatColor = clBtnShadow;
    TColor borderShadow = clBtnShadow;
    TColor borderHighlight = clBtnHighlight;
    TColor borderColor = clBtnFace;
    int bevelWidth = 1;
    TSides sides = sdAllSides;
    int borderWidth = 0;
    TFrameStyleEx inner = fsNone;
};
TRect PaintPanelBorder(TCanvas& canvas, const TRect& r, const TPanelBorderStyle& style);

// The frame of a framed control over its window border: canvas on the whole-window context.
void PaintNonClientFrame(TCanvas& canvas, int width, int height, TSides sides, TColor frameColor, TColor controlColor,
                         TFrameStyleEx style);
void RedrawNonClientFrame(HWND window, const TRect& r);
// WM_NCCALCSIZE of a framed control: the client area (the message's first rectangle) leaves a
// client-edge wide border for the frame.
void ReserveNonClientFrame(RECT* clientArea);

// ---- gradients
void PaintGradient(TCanvas& canvas, const TRect& r, TGradientDirection direction, int granularity, TColor first,
                   TColor second);
void PaintGradientFrameHighlight(TCanvas& canvas, const TRect& r, TGradientDirection direction, TColor first, TColor second);

// ---- progress bars
void PaintProgressPercentText(TCanvas& canvas, const TRect& r, bool vertical, bool transparent, bool showPercent,
                              int percent, TColor background, TColor bar);
void PaintProgressBarThemed(TCanvas& canvas, const TRect& r, bool vertical, bool transparent, bool useThemes, int percent,
                            int segments, TColor background, TColor bar);
void PaintGradientProgress(TCanvas& canvas, const TRect& r, bool vertical, bool transparent, bool showPercent, int percent,
                           TGradientDirection direction, TColor backgroundStop, TColor background, TColor barStop,
                           TColor bar);
// The part of r a percentage fills: the bottom part of a vertical bar, the left part otherwise.
TRect ProgressFilledRect(const TRect& r, bool vertical, int percent);

// ---- glyphs
void PaintDropDownButton(TCanvas& canvas, const TRect& r, bool themed, bool enabled, bool pressed);
// direction: 0 up, 1 down, 2 left, 3 right.
void PaintArrowButton(TCanvas& canvas, const TRect& r, bool themed, bool enabled, bool pressed, int direction);
void PaintCloseGlyph(TCanvas& canvas, const TRect& r, TColor color);
void PaintCloseButton(TCanvas& canvas, const TRect& r, bool themed, bool enabled, bool pressed);

struct TGlyphColors {
    TColor readOnlyColor = clBtnFace;
    bool readOnlyColorOnFocus = false;
    bool readOnly = false;
    TColor hotFrameColor = clHighlight;
    TColor hotFillColor = clWindow;
    TColor disabledColor = clBtnFace;
    TColor focusColor = clWindow;
    TColor fillColor = clWindow;
    TColor markColor = clWindowText;
    TColor frameColor = clBtnShadow;
    TRzButtonHotTrackStyle hotTrackStyle = htsInterior;
};
void PaintCheckBoxGlyph(TCanvas& canvas, const TRect& r, TRzGlyphCheckState state, const TGlyphColors& colors, bool focused,
                        TRzDrawState drawState);
void PaintRadioButtonGlyph(TCanvas& canvas, const TRect& r, bool checked, const TGlyphColors& colors, TColor transparentKey,
                           bool transparent, TColor controlColor, bool focused, TRzDrawState drawState);

// ---- parent background, bitmaps, text and fonts
void DrawParentBackground(TControl* control, HDC dc, bool invalidateParent);
void DrawParentBackgroundOnCanvas(TControl* control, TCanvas& canvas, bool invalidateParent);
void TransparentBlitFull(TCanvas& dest, TBitmap& source, const TRect& destRect, TColor transparent, const TRect& sourceRect);
void FlipBitmapVertically(TBitmap& bitmap);
// The 8 x 8 brush of latched buttons: base with every other pixel dot, as a chequerboard.
void BuildCheckerPattern(TBitmap& bitmap, TColor base, TColor dot);
void InvalidateTransparentChildren(TWinControl* panel);
int CanvasDrawText(TCanvas& canvas, const WideString& text, TRect& r, UINT flags);
int CanvasDrawCenteredText(TCanvas& canvas, const WideString& text, const TRect& r);
HFONT CreateRotatedFont(const TFont& font, int angle);
bool FontIsTrueType(TFont& font);
int FontMinimumHeight(TFont& font);
// The size of text in the font; without a font system (a run with no drawing backend) a cell
// of 7 by 13 pixels a character stands in, so that layouts and hit tests still work.
TSize FontTextExtent(const TFont& font, const WideString& text);
