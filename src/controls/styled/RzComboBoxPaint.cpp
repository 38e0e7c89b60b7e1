// What a styled combo box draws: owner-drawn items with their focus border, and over the
// widget the custom frame and the flat drop-down button.
#include "controls/styled/RzComboBox.h"
#include "platform/vcl/ControlGraphics.h"
#include "platform/vcl/GraphicsThemes.h"
#include "platform/vcl/StdCtrlsMessages.h"
#include "platform/vcl/WinMenus.h"

namespace {
constexpr int kButtonWidth = 16;  // the width of a vertical scroll bar
}  // namespace

TRect TRzCustomComboBox::DropButtonRect() const {
    const int b = ThemeServices()->ThemesEnabled() ? 1 : 2;
    if (BiDiMode() == bdRightToLeft) return TRect(b, b, b + kButtonWidth, Height() - b);
    return TRect(Width() - kButtonWidth - b, b, Width() - b, Height() - b);
}

// The selected item takes the highlight; a dotted border marks it while ShowFocusBorder.
void TRzCustomComboBox::CNDrawItem(TMessage& m) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (!dis || !dis->hDC) return;
    TOwnerDrawState state;
    if (dis->itemState & ODS_SELECTED) state << odSelected;
    if (dis->itemState & ODS_FOCUS) state << odFocused;
    if (dis->itemState & ODS_DISABLED) state << odDisabled;
    if (dis->itemState & ODS_COMBOBOXEDIT) state << odComboBoxEdit;
    if (dis->itemState & ODS_DEFAULT) state << odDefault;
    TCanvas* canvas = Canvas();
    BeginCanvasPaint(canvas, dis->hDC, Font(), Color());
    const TRect rect(dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom);
    const int index = static_cast<int>(dis->itemID);
    const bool real = index >= 0 && index < Items()->Count();
    const bool selected = state.Contains(odSelected);
    try {
        if (real) {
            if (selected) {
                canvas->Brush()->SetColor(clHighlight);
                canvas->Font()->SetColor(clHighlightText);
            }
            DrawItem(index, rect, state);
            if (selected && showFocusBorder_) PaintFocusBorder(*canvas, rect);
        } else if (selected) {
            PaintFocusBorder(*canvas, rect);
        } else {
            canvas->FillRect(rect);
        }
    } catch (...) {
        EndCanvasPaint(canvas);
        throw;
    }
    EndCanvasPaint(canvas);
    m.Result = TRUE;
}

void TRzCustomComboBox::CNPaintOver(TMessage& m) {
    auto dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc) return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    try {
        PaintOver(canvas);
    } catch (...) {
        canvas.SetHandle(nullptr);
        throw;
    }
    canvas.SetHandle(nullptr);
}

void TRzCustomComboBox::PaintOver(TCanvas& canvas) {
    const TRect client(0, 0, Width(), Height());
    const bool themed = ThemeServices()->ThemesEnabled();
    // Two rings in the control's colour cover the widget's own border under the custom frame.
    if (DrawsCustomFrame()) {
        if (themed) {
            PaintBoxOutline(canvas, client, Color());
            TRect inner = client;
            inner.Inflate(-1, -1);
            PaintBevelRings(canvas, inner, Color(), Color(), sdAllSides, 2);
        } else {
            PaintBevelRings(canvas, client, Color(), Color(), sdAllSides, 2);
        }
    }
    if (readOnly_) {
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(DropButtonRect());
    } else if (flatButtons_) {
        PaintFlatButton(canvas);
    }
    if (DrawsCustomFrame()) PaintFrame(canvas);
}

void TRzCustomComboBox::PaintFlatButton(TCanvas& canvas) {
    const TRect button = DropButtonRect();
    const bool themed = ThemeServices()->ThemesEnabled();
    const bool dropped = DroppedDown();
    if (!Hot()) {
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(button);
        PaintDropDownButton(canvas, button, themed, Enabled(), false);
        return;
    }
    TRect inner = button;
    if (flatButtonColor_ == clBtnFace) {
        inner = dropped ? PaintBevelRings(canvas, button, clBtnShadow, clBtnHighlight, sdAllSides, 1)
                        : PaintBevelRings(canvas, button, clBtnHighlight, clBtnShadow, sdAllSides, 1);
    } else {
        inner = PaintColoredBorder(canvas, button, flatButtonColor_, dropped ? fsStatus : fsPopup);
    }
    canvas.Brush()->SetColor(flatButtonColor_);
    canvas.FillRect(inner);
    PaintDropDownButton(canvas, inner, false, Enabled(), dropped);
}

void TRzCustomComboBox::PaintFrame(TCanvas& canvas) {
    const TRect client(0, 0, Width(), Height());
    const TColor color = CurrentFrameColor();
    const TFrameStyle style = CurrentFrameStyle();
    if (style == fsFlat) PaintRectSides(canvas, client, color, color, frameSides_);
    else if (style == fsFlatBold) PaintBevelRings(canvas, client, color, color, frameSides_, 2);
    else if (Color() == clWindow) PaintFrameBorderSides(canvas, client, style, frameSides_);
    else PaintColoredBorderSides(canvas, client, Color(), style, frameSides_);
}
