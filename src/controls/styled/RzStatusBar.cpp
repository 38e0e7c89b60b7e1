// The styled status bar and the spacer.
#include "controls/styled/RzStatusBar.h"

#include <cmath>
#include <utility>

#include "controls/styled/ColorHelpers.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsThemes.h"
#include "platform/vcl/TypInfo.h"

namespace {

// Asks the form to resize itself from its bottom-right corner, as the window's own border does.
constexpr WPARAM kSizeFromBottomRight = 0xF008;

}  // namespace

const TMetaClass& TRzStatusBar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzStatusBar>("TRzStatusBar", &TRzCustomPanel::StaticClass(), [](TClassBuilder<TRzStatusBar>& b) {
        b.Property("AutoScalePanes", &TRzStatusBar::AutoScalePanes, &TRzStatusBar::SetAutoScalePanes).Default(false);
        b.Property("AutoStyle", &TRzStatusBar::AutoStyle, &TRzStatusBar::SetAutoStyle).Default(true);
        b.Property("ShowSizeGrip", &TRzStatusBar::ShowSizeGrip, &TRzStatusBar::SetShowSizeGrip).Default(true);
        b.Property("SimpleCaption", &TRzStatusBar::SimpleCaption, &TRzStatusBar::SetSimpleCaption);
        b.Property("SimpleFrameStyle", &TRzStatusBar::SimpleFrameStyle, &TRzStatusBar::SetSimpleFrameStyle).Default(fsFlat);
        b.Property("SimpleStatus", &TRzStatusBar::SimpleStatus, &TRzStatusBar::SetSimpleStatus).Default(false);
        PublishPanelFrame(b);
        b.Property("FullRepaint", &TRzStatusBar::FullRepaint, &TRzStatusBar::SetFullRepaint).Default(true);
    });
    return meta;
}

const TMessageTable& TRzStatusBar::ClassMessages() {
    static const TMessageTable table(&TRzCustomPanel::ClassMessages(), {
        MESSAGE_HANDLER(WM_LBUTTONDOWN, TRzStatusBar::WMLButtonDown),
    });
    return table;
}

TRzStatusBar::TRzStatusBar(TComponent* owner) : TRzCustomPanel(owner) {
    SetAlign(alBottom);
    SetTabStop(false);
    ApplyAutoStyle();
}

void TRzStatusBar::ApplyAutoStyle() {
    const bool keep = autoStyle_;
    TRzCustomPanel::SetBorderInner(fsNone);
    TRzCustomPanel::SetBorderOuter(fsNone);
    TRzCustomPanel::SetBorderSides(sdAllSides);
    SetHeight(19);
    SetBorderWidth(0);
    autoStyle_ = keep;
}

void TRzStatusBar::Loaded() {
    TRzCustomPanel::Loaded();
    if (autoStyle_) ApplyAutoStyle();
}

void TRzStatusBar::SetBorderInner(TFrameStyleEx v) {
    if (v == BorderInner()) return;
    autoStyle_ = false;
    TRzCustomPanel::SetBorderInner(v);
}

void TRzStatusBar::SetBorderOuter(TFrameStyleEx v) {
    if (v == BorderOuter()) return;
    autoStyle_ = false;
    TRzCustomPanel::SetBorderOuter(v);
}

void TRzStatusBar::SetBorderSides(TSides v) {
    if (v == BorderSides()) return;
    autoStyle_ = false;
    TRzCustomPanel::SetBorderSides(v);
}

void TRzStatusBar::SetShowSizeGrip(bool v) {
    showSizeGrip_ = v;
    TestSizeGrip();
    Invalidate();
}

void TRzStatusBar::SetSimpleCaption(const WideString& v) {
    if (v == simpleCaption_) return;
    simpleCaption_ = v;
    Invalidate();
}

void TRzStatusBar::SetSimpleFrameStyle(TFrameStyle v) {
    if (v == simpleFrameStyle_) return;
    simpleFrameStyle_ = v;
    Invalidate();
}

void TRzStatusBar::SetSimpleStatus(bool v) {
    if (v == simpleStatus_) return;
    simpleStatus_ = v;
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(!v);
    EnableAlign();
    Invalidate();
}

void TRzStatusBar::TestSizeGrip() {
    const TCustomForm* form = GetParentForm(this);
    sizeGripValid_ = form && (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin) &&
                     form->WindowState() != wsMaximized;
}

bool TRzStatusBar::OverGrip(int x, int y) const {
    return showSizeGrip_ && sizeGripValid_ && !ComponentState().Contains(csDesigning) && SizeGripRect().Contains(TPoint(x, y));
}

void TRzStatusBar::CreateWnd() {
    TestSizeGrip();
    TRzCustomPanel::CreateWnd();
}

TRect TRzStatusBar::ClientRect() const {
    TRect r = TRzCustomPanel::ClientRect();
    if (!ThemeServices()->ThemesAvailable()) {
        r.bottom += 1;
        r.top = simpleStatus_ ? 2 : 1;
        r.left -= 1;
        r.right += 1;
    } else if (simpleStatus_) {
        r.left += 1;
        r.top += 1;
        r.right -= 1;
    }
    return r;
}

void TRzStatusBar::GetGradientColors(TColor& start, TColor& stop) const {
    // The panel paints from its stop colour to its start colour; the bar runs the other way.
    if (GradientColorStyle() == gcsCustom) {
        stop = GradientColorStart();
        start = GradientColorStop();
        return;
    }
    TColor first, second, third;
    GetStatusGradientColors(GradientColorStyle(), first, second, third);
    stop = second;
    start = first;
}

void TRzStatusBar::Paint() {
    TestSizeGrip();
    TRzCustomPanel::Paint();
    if (simpleStatus_) {
        TCanvas& canvas = *Canvas();
        TRect r = ClientRect();
        r.bottom -= 1;
        DrawSimpleFrame(r);
        r.Inflate(-1, -1);
        if (!simpleCaption_.empty()) {
            canvas.SetFont(Font());
            canvas.Brush()->SetStyle(bsClear);
            const int y = r.top + (r.Height() - canvas.TextHeight(u"Pp")) / 2;
            canvas.TextRect(r, r.left + 2, y, simpleCaption_);
            canvas.Brush()->SetStyle(bsSolid);
        }
    }
    DrawSizeGrip();
}

void TRzStatusBar::DrawSimpleFrame(const TRect& r) {
    if (VisualStyle() != vsClassic) return;
    TCanvas& canvas = *Canvas();
    if (simpleFrameStyle_ != fsFlat) {
        PaintFrameBorder(canvas, r, simpleFrameStyle_);
        return;
    }
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetColor(AdjustedColor(FlatColor(), FlatColorAdjustment()));
    // An outline with open corners.
    const auto line = [&](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    line(r.left, r.top + 1, r.left, r.bottom - 1);
    line(r.left + 1, r.top, r.right - 1, r.top);
    line(r.right - 1, r.top + 1, r.right - 1, r.bottom - 1);
    line(r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
}

void TRzStatusBar::DrawSizeGrip() {
    if (!showSizeGrip_ || !sizeGripValid_) return;
    TCanvas& canvas = *Canvas();
    TRect client = ClientRect();
    const int right = client.right, bottom = client.bottom - 1;
    TColor light = clBtnHighlight, dark = clBtnShadow;
    if (VisualStyle() == vsGradient) {
        TColor first;
        GetStatusGradientColors(GradientColorStyle(), first, light, dark);
    }
    static const int spots[][2] = {{5, 12}, {5, 8}, {5, 4}, {9, 8}, {9, 4}, {13, 4}};
    canvas.Brush()->SetStyle(bsSolid);
    // The dark squares sit one pixel up and left of the light ones.
    const std::pair<TColor, int> layers[] = {{light, 0}, {dark, 1}};
    for (const auto& [colour, shift] : layers) {
        canvas.Brush()->SetColor(colour);
        for (const auto& s : spots) {
            const int x = right - s[0] - shift, y = bottom - s[1] - shift;
            canvas.FillRect(TRect(x, y, x + 2, y + 2));
        }
    }
}

void TRzStatusBar::Resize() {
    TRzCustomPanel::Resize();
    const int width = Width();
    if (firstResize_) {
        firstResize_ = false;
        lastWidth_ = width;
        return;
    }
    const int delta = width - lastWidth_;
    if (autoScalePanes_ && ControlCount() > 0 && delta != 0 && lastWidth_ > 0) {
        DisableAlign();
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* child = Controls(i);
            const float ratio = static_cast<float>(child->Width()) / static_cast<float>(lastWidth_);
            child->SetWidth(child->Width() + static_cast<int>(std::nearbyint(static_cast<float>(delta) * ratio)));
        }
        EnableAlign();
    }
    lastWidth_ = width;
}

void TRzStatusBar::UpdateGripCursor(int x, int y) {
    const bool over = OverGrip(x, y);
    if (over == cursorOnGrip_) return;
    if (over) cursorOffGrip_ = Cursor();
    SetCursor(over ? crSizeNWSE : cursorOffGrip_);
    cursorOnGrip_ = over;
}

void TRzStatusBar::MouseMove(TShiftState shift, int x, int y) {
    UpdateGripCursor(x, y);
    TRzCustomPanel::MouseMove(shift, x, y);
}

bool TRzStatusBar::DrawsThemed() const { return VisualStyle() == vsWinXP && ThemeServices()->ThemesEnabled(); }

void TRzStatusBar::WndProc(TMessage& m) {
    // Presses and moves over the grip reach the bar before a pane lying under the grip.
    if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_MOUSEMOVE) && ControlCount() > 0) {
        const TWMMouse mouse(m);
        if (m.Msg == WM_MOUSEMOVE) UpdateGripCursor(mouse.XPos, mouse.YPos);
        if (m.Msg == WM_LBUTTONDOWN && OverGrip(mouse.XPos, mouse.YPos)) {
            WMLButtonDown(m);
            return;
        }
    }
    TRzCustomPanel::WndProc(m);
}

void TRzStatusBar::WMLButtonDown(TMessage& m) {
    const TWMMouse mouse(m);
    if (OverGrip(mouse.XPos, mouse.YPos)) {
        if (TCustomForm* form = GetParentForm(this)) {
            SetCaptureControl(nullptr);
            form->Perform(WM_SYSCOMMAND, kSizeFromBottomRight, 0);
            return;
        }
    }
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
}

// ---- spacer

const TMetaClass& TRzSpacer::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzSpacer>("TRzSpacer", &TGraphicControl::StaticClass(), [](TClassBuilder<TRzSpacer>& b) {
        b.Property("Grooved", &TRzSpacer::Grooved, &TRzSpacer::SetGrooved).Default(false);
        b.Property("Orientation", &TRzSpacer::Orientation, &TRzSpacer::SetOrientation).Default(orHorizontal);
    });
    return meta;
}

TRzSpacer::TRzSpacer(TComponent* owner) : TGraphicControl(owner) { SetBounds(Left(), Top(), 8, 25); }

void TRzSpacer::SetGrooved(bool v) {
    if (v == grooved_) return;
    grooved_ = v;
    Invalidate();
}

void TRzSpacer::SetOrientation(TOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    if (ComponentState().Contains(csLoading)) return;
    SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TRzSpacer::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect r = ClientRect();
    if (!grooved_) {
        if (ComponentState().Contains(csDesigning)) {
            canvas.Pen()->SetStyle(psDot);
            canvas.Pen()->SetColor(clBlack);
            canvas.Brush()->SetStyle(bsClear);
            canvas.Rectangle(r);
            canvas.Brush()->SetStyle(bsSolid);
            canvas.Pen()->SetStyle(psSolid);
        }
        return;
    }
    const auto line = [&](TColor colour, int x1, int y1, int x2, int y2) {
        canvas.Pen()->SetColor(colour);
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    if (r.Width() > r.Height()) {
        const int y = (r.bottom - r.top) / 2 + r.top - 1;
        line(clBtnShadow, r.left + 1, y, r.right, y);
        line(clBtnHighlight, r.left + 1, y + 1, r.right, y + 1);
    } else {
        const int x = (r.right - r.left) / 2 + r.left - 1;
        line(clBtnShadow, x, r.top + 1, x, r.bottom);
        line(clBtnHighlight, x + 1, r.top + 1, x + 1, r.bottom);
    }
}

void RegisterStyledStatusBar() { RegisterClasses({&TRzStatusBar::StaticClass(), &TRzSpacer::StaticClass()}); }
