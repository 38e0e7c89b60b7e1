#include "controls/shell/RzViewFrame.h"

#include <algorithm>

#include "controls/styled/DrawHelpers.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsThemes.h"

bool TRzViewFrame::UseThemes() const {
    return framingPreference == fpXPThemes && ThemeServices()->ThemesEnabled();
}

TColor TRzViewFrame::StateColor(bool enabled, bool focused) const {
    if (!enabled) return disabledColor;
    return focused ? focusColor : normalColor;
}

void TRzViewFrame::ColorChanged(TColor color) {
    if (updatingColor) return;
    if (focusColor == normalColor) focusColor = color;
    normalColor = color;
}

void TRzViewFrame::ApplyStateColor(TControl& view, bool enabled, bool focused) {
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(updatingColor);
    view.SetColor(StateColor(enabled, focused));
}

void TRzViewFrame::Paint(TCanvas& canvas, int width, int height, TColor color, bool focused) const {
    if (!Painted()) return;
    const bool hot = Hot(focused);
    PaintNonClientFrame(canvas, width, height, sides, hot ? frameHotColor : frameColor, color, hot ? hotStyle : style);
}

void TRzViewFrame::PaintNonClient(TWinControl& view, bool focused) const {
    if (!Painted() || !view.HandleAllocated()) return;
    HDC dc = GetWindowDC(view.WindowHandle());
    if (!dc) return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    Paint(canvas, view.Width(), view.Height(), view.Color(), focused);
    canvas.SetHandle(nullptr);
    ReleaseDC(view.WindowHandle(), dc);
}

void TRzViewFrame::ReserveBorder(TMessage& m) const {
    if (Painted()) ReserveNonClientFrame(reinterpret_cast<RECT*>(m.LParam));  // the first rectangle of either form
}

void TRzViewFrame::DefineRetired(TFiler& filer) {
    DefineRetiredFrameProperties(
        filer,
        [this](bool flat) {
            hotTrack = flat;
            if (flat) {
                style = fsStatus;
                hotStyle = fsLowered;
            }
        },
        [this](TFrameStyle s) { hotStyle = s; });
}
