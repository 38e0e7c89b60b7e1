// What the controls take from the canvas unit: a control's font and canvas, the painting
// bracket around Paint, and the popup-menu hook.
#pragma once

#include <functional>
#include <memory>

#include "platform/vcl/Classes.h"
#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Types.h"

class TControl;
class TComponent;
class TWidgetPeer;

using TFontPtr = std::unique_ptr<TFont>;
using TCanvasPtr = std::unique_ptr<TCanvas>;

// A control's font: the form default ("MS Sans Serif", 8 points, window-text colour).
TFontPtr NewControlFont();
void SetFontChangeHandler(TFont* font, TNotifyEvent onChange);
void AssignFont(TFont* dest, const TFont* source);
void PushFontToPeer(TWidgetPeer& peer, const TFont* font);

// A control's canvas, and the painting bracket around Paint: the canvas draws on dc with the
// control's font and its colour as the brush until the bracket ends.
TCanvasPtr NewControlCanvas(TControl& control);
void BeginCanvasPaint(TCanvas* canvas, HDC dc, const TFont* font, TColor color);
void EndCanvasPaint(TCanvas* canvas);

// Menus come with their own unit; it installs how a control's popup menu is shown.
using TPopupMenuHandler = std::function<void(TControl& control, TComponent* menu, TPoint screenPos)>;
void SetPopupMenuHandler(TPopupMenuHandler handler);
void PopupContextMenu(TControl& control, TComponent* menu, TPoint screenPos);
