// What the controls take from the canvas unit: a control's font and canvas, colour values,
// and the popup-menu hook. Kept in one place so the controls only forward-declare TFont and
// TCanvas.
#pragma once

#include <functional>
#include <memory>

#include "platform/vcl/Classes.h"
#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/Types.h"

class TFont;
class TCanvas;
class TControl;
class TComponent;
class TWidgetPeer;

struct TFontDeleter {
    void operator()(TFont* font) const;
};
struct TCanvasDeleter {
    void operator()(TCanvas* canvas) const;
};
using TFontPtr = std::unique_ptr<TFont, TFontDeleter>;
using TCanvasPtr = std::unique_ptr<TCanvas, TCanvasDeleter>;

// The class library's button-face colour, every control's starting colour.
inline constexpr TColor clBtnFaceValue = static_cast<TColor>(0xFF00000F);

// A control's font: the form default ("MS Sans Serif", 8 points, window-text colour).
TFontPtr NewControlFont();
void SetFontChangeHandler(TFont* font, TNotifyEvent onChange);
void AssignFont(TFont* dest, const TFont* source);
// The font as the persistent object that form files read "Font.Name" etc. from.
TPersistent* FontAsPersistent(TFont* font);
TFont* FontFromPersistent(TPersistent* object);
void PushFontToPeer(TWidgetPeer& peer, const TFont* font);
// RGB of a colour value (system colours through the classic scheme).
COLORREF ControlColorRGB(TColor color);

// A control's canvas, and the painting bracket around Paint: the canvas draws on dc with the
// control's font until the bracket ends.
TCanvasPtr NewControlCanvas(TControl& control);
void BeginCanvasPaint(TCanvas* canvas, HDC dc, const TFont* font);
void EndCanvasPaint(TCanvas* canvas);

// Menus come with their own unit; it installs how a control's popup menu is shown.
using TPopupMenuHandler = std::function<void(TControl& control, TComponent* menu, TPoint screenPos)>;
void SetPopupMenuHandler(TPopupMenuHandler handler);
void PopupContextMenu(TControl& control, TComponent* menu, TPoint screenPos);
