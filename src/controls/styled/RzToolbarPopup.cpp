// The overflow button of a toolbar whose controls do not fit, and the popup toolbar it drops
// down with a button for each hidden tool button.
#include <memory>

#include "controls/styled/RzPopup.h"
#include "controls/styled/RzToolbar.h"
#include "platform/vcl/Forms.h"

namespace {
constexpr int kOverflowWidth = 14;
}  // namespace

bool TRzToolbar::OverflowShown() const {
    return overflowShown_ && !wrapControls_ && orientation_ == orHorizontal && overflowButton_;
}

void TRzToolbar::ShowOverflow(bool show) {
    if (show && !overflowButton_) {
        auto* button = new TRzToolbarPopupButton(this, *this);
        overflowButton_ = button;  // known before it joins the children, so it is never listed
        button->SetFrameColor(AdjustedColor(FlatColor(), FlatColorAdjustment()));
        button->SetParent(this);
    }
    overflowShown_ = show;
}

void TRzToolbar::PlaceOverflowButton() {
    if (!overflowButton_ || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
    if (OverflowShown()) {
        overflowButton_->SetBounds(Width() - kOverflowWidth, 0, kOverflowWidth, Height());
        overflowButton_->SetVisible(true);
        overflowButton_->BringToFront();
    } else {
        overflowButton_->SetVisible(false);
    }
}

// ---- the overflow button

const TMetaClass& TRzToolbarPopupButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzToolbarPopupButton>("TRzToolbarPopupButton", &TCustomControl::StaticClass());
    return meta;
}

const TMessageTable& TRzToolbarPopupButton::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_ERASEBKGND, TRzToolbarPopupButton::WMEraseBkgnd),
    });
    return table;
}

TRzToolbarPopupButton::TRzToolbarPopupButton(TComponent* owner, TRzToolbar& toolbar)
    : TCustomControl(owner), toolbar_(toolbar) {
    controlStyle_ << csNoDesignVisible << csCaptureMouse;
}

void TRzToolbarPopupButton::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TRzToolbarPopupButton::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect inside = PaintBoxOutline(canvas, ClientRect(), frameColor_);
    if (toolbar_.VisualStyle() == vsGradient) {
        TColor start, stop;
        toolbar_.GetGradientColors(start, stop);
        if (down_) std::swap(start, stop);
        PaintGradient(canvas, inside, toolbar_.GradientDirection(), 0, stop, start);
    } else {
        canvas.Brush()->SetColor(down_ ? DarkerColor(toolbar_.Color(), 20) : toolbar_.Color());
        canvas.FillRect(inside);
    }
    // A bar over a downward triangle of 7, 5, 3 and 1 pixels.
    const TRect c = ClientRect();
    const int x = c.left + (c.right - c.left) / 2, y = c.bottom - (down_ ? 3 : 4);
    canvas.Brush()->SetColor(clBlack);
    canvas.FillRect(TRect(x - 3, y - 5, x + 4, y - 4));
    for (int row = 0; row < 4; ++row) canvas.FillRect(TRect(x - row, y - row, x + row + 1, y - row + 1));
}

void TRzToolbarPopupButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    pressed_ = down_ = true;
    Invalidate();
}

void TRzToolbarPopupButton::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (!pressed_) return;
    const bool inside = ClientRect().Contains(TPoint(x, y));
    if (inside == down_) return;
    down_ = inside;
    Invalidate();
}

void TRzToolbarPopupButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    pressed_ = false;
    if (!down_) return;
    down_ = false;
    Invalidate();
    ShowOverflowPopup();
}

void TRzToolbarPopupButton::ShowOverflowPopup() {
    const std::vector<TRzToolButton*> hidden = toolbar_.HiddenToolButtons();
    if (!GetParentForm(this) || hidden.empty()) return;
    auto panel = std::make_unique<TRzPopupPanel>(this);
    panel->SetParent(toolbar_.Parent());
    auto* bar = new TRzToolbar(panel.get());
    bar->SetAlign(alNone);
    bar->SetBorderOuter(fsFlat);
    bar->SetBorderSides(sdAllSides);
    bar->SetWidth(toolbar_.ButtonWidth() * 3 + 8);
    bar->SetBiDiMode(toolbar_.BiDiMode());
    bar->SetButtonWidth(toolbar_.ButtonWidth());
    bar->SetButtonHeight(toolbar_.ButtonHeight());
    bar->SetButtonLayout(toolbar_.ButtonLayout());
    bar->SetShowButtonCaptions(toolbar_.ShowButtonCaptions());
    bar->SetRowHeight(toolbar_.RowHeight());
    bar->SetColor(toolbar_.VisualStyle() == vsGradient ? clWindow : toolbar_.Color());
    bar->SetGradientColorStart(toolbar_.GradientColorStart());
    bar->SetGradientColorStop(toolbar_.GradientColorStop());
    bar->SetGradientColorStyle(toolbar_.GradientColorStyle());
    bar->SetGradientDirection(toolbar_.GradientDirection());
    bar->SetVisualStyle(toolbar_.VisualStyle());
    bar->SetImages(toolbar_.Images());
    bar->SetBackground(toolbar_.Background());
    bar->SetShowHint(toolbar_.ShowHint());
    bar->SetParent(panel.get());
    TRzPopupPanel* popup = panel.get();
    bar->OnClick = [popup](TObject*) { popup->ClosePopup(); };
    for (TRzToolButton* source : hidden) {
        auto* b = new TRzPopupToolButton(panel.get(), *this);
        b->Assign(source);
        b->SetParent(bar);
    }
    panel->Font()->SetName(Font()->Name());
    panel->SetColor(bar->Color());
    panel->SetBounds(0, 0, bar->Width() + 2 * panel->BorderWidth() + 4, bar->Height() + 2 * panel->BorderWidth() + 4);
    chosen_ = nullptr;
    if (panel->Popup(this) && chosen_) chosen_->Click();
    chosen_ = nullptr;
}

// ---- the popup's buttons

const TMetaClass& TRzPopupToolButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzPopupToolButton>("TRzPopupToolButton", &TRzToolButton::StaticClass());
    return meta;
}

TRzPopupToolButton::TRzPopupToolButton(TComponent* owner, TRzToolbarPopupButton& overflow)
    : TRzToolButton(owner), overflow_(overflow) {}

void TRzPopupToolButton::Assign(const TPersistent* source) {
    const auto* b = dynamic_cast<const TRzToolButton*>(source);
    if (!b) {
        TRzToolButton::Assign(source);
        return;
    }
    mapped_ = const_cast<TRzToolButton*>(b);
    SetAlignment(b->Alignment());
    SetBiDiMode(b->BiDiMode());
    SetCaption(b->Caption());
    SetColor(b->Color());
    SetDisabledIndex(b->DisabledIndex());
    SetDownIndex(b->DownIndex());
    SetDropDownMenu(b->DropDownMenu());
    SetEnabled(b->Enabled());
    SetFlat(b->Flat());
    SetParentFont(b->ParentFont());
    if (!b->ParentFont()) SetFont(b->Font());
    SetHint(b->Hint());
    SetHotIndex(b->HotIndex());
    SetImageIndex(b->ImageIndex());
    SetImages(b->Images());
    SetLayout(b->Layout());
    SetSelectionColorStart(b->SelectionColorStart());
    SetSelectionColorStop(b->SelectionColorStop());
    SetSelectionFrameColor(b->SelectionFrameColor());
    SetShowCaption(b->ShowCaption());
    SetShowHint(b->ShowHint());
    SetToolStyle(b->ToolStyle());
    SetTransparent(b->Transparent());
    SetVisualStyle(b->VisualStyle());
    SetGradientColorStyle(b->GradientColorStyle());
    SetGroupIndex(b->GroupIndex());
    SetAllowAllUp(b->AllowAllUp());
    SetDown(b->Down());
    SetVisible(b->Visible());
    TControl::SetBounds(Left(), Top(), b->Width(), b->Height());
    // The copied values were set by hand; which of them follow the toolbar is copied last.
    SetUseToolbarButtonLayout(b->UseToolbarButtonLayout());
    SetUseToolbarButtonSize(b->UseToolbarButtonSize());
    SetUseToolbarShowCaption(b->UseToolbarShowCaption());
    SetUseToolbarVisualStyle(b->UseToolbarVisualStyle());
}

void TRzPopupToolButton::Click() {
    overflow_.ChooseButton(mapped_);
    if (Parent()) Parent()->Click();
}
