#include "platform/vcl/RangeCtrls.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TRangeControl

const TMetaClass& TRangeControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRangeControl>("TRangeControl", &TWinControl::StaticClass());
    return meta;
}

TRangeControl::TRangeControl(TComponent* owner) : TWinControl(owner) {}

void TRangeControl::SetMin(int v) {
    range_.Min = v;
    if (!ComponentState().Contains(csLoading)) range_.Max = std::max(range_.Max, v);
    SetPosition(range_.Position);
    Push();
}

void TRangeControl::SetMax(int v) {
    range_.Max = v;
    if (!ComponentState().Contains(csLoading)) range_.Min = std::min(range_.Min, v);
    SetPosition(range_.Position);
    Push();
}

void TRangeControl::SetPosition(int v) {
    if (!ComponentState().Contains(csLoading)) v = std::clamp(v, std::min(range_.Min, range_.Max), std::max(range_.Min, range_.Max));
    if (v == range_.Position) return;
    range_.Position = v;
    Push();
    if (!ComponentState().Contains(csLoading)) Changed();
}

void TRangeControl::CreateWnd() {
    TWinControl::CreateWnd();
    Push();
}

void TRangeControl::Push() {
    if (auto* p = dynamic_cast<TRangePeer*>(Peer())) p->SetRange(range_);
}

// ---------------------------------------------------------------------------------------------
// TProgressBar

const TMetaClass& TProgressBar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TProgressBar>("TProgressBar", &TRangeControl::StaticClass(), [](TClassBuilder<TProgressBar>& b) {
        b.Property("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0);
        b.Property("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100);
        b.Property("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation).Default(pbHorizontal);
        b.Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0);
        b.Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(false);
        b.Property("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
    });
    return meta;
}

TProgressBar::TProgressBar(TComponent* owner) : TRangeControl(owner) { SetBounds(0, 0, 150, 17); }

void TProgressBar::StepIt() { StepBy(step_); }

void TProgressBar::StepBy(int delta) {
    int pos = range_.Position + delta;
    if (pos > range_.Max) pos = range_.Min + (pos - range_.Max - 1) % std::max(range_.Max - range_.Min + 1, 1);
    SetPosition(pos);
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
    range_.Vertical = v == pbVertical;
    Push();
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TRangeControl::CreateParams(params);
    params.WinClassName = u"msctls_progress32";
    params.OwnerPainted = false;
}

// ---------------------------------------------------------------------------------------------
// TTrackBar

const TMetaClass& TTrackBar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTrackBar>("TTrackBar", &TRangeControl::StaticClass(), [](TClassBuilder<TTrackBar>& b) {
        b.Property("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency).Default(1);
        b.Property("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize).Default(1);
        b.Property("Max", &TTrackBar::Max, &TTrackBar::SetMax).Default(10);
        b.Property("Min", &TTrackBar::Min, &TTrackBar::SetMin).Default(0);
        b.Property("Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation).Default(trHorizontal);
        b.Property("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize).Default(2);
        b.Property("Position", &TTrackBar::Position, &TTrackBar::SetPosition).Default(0);
        b.Property("TickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle).Default(tsAuto);
        b.Event("OnChange", static_cast<decltype(TTrackBar::OnChange) TTrackBar::*>(&TTrackBar::OnChange));
    });
    return meta;
}

const TMessageTable& TTrackBar::ClassMessages() {
    static const TMessageTable table(&TRangeControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_HSCROLL, TTrackBar::CNScroll),
        MESSAGE_HANDLER(CN_VSCROLL, TTrackBar::CNScroll),
    });
    return table;
}

TTrackBar::TTrackBar(TComponent* owner) : TRangeControl(owner) {
    range_.Max = 10;
    range_.LargeChange = 2;
    range_.Frequency = 1;
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
    if ((v == trVertical) == range_.Vertical) return;
    range_.Vertical = v == trVertical;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    Push();
}

void TTrackBar::SetFrequency(int v) {
    range_.Frequency = std::max(v, 0);
    Push();
}

void TTrackBar::SetLineSize(int v) { range_.SmallChange = std::max(v, 1); }
void TTrackBar::SetPageSize(int v) { range_.LargeChange = std::max(v, 1); }

void TTrackBar::SetTickStyle(TTickStyle v) {
    tickStyle_ = v;
    const int saved = range_.Frequency;
    if (v == tsNone) range_.Frequency = 0;
    Push();
    range_.Frequency = saved;
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TRangeControl::CreateParams(params);
    params.WinClassName = u"msctls_trackbar32";
    params.OwnerPainted = false;
}

void TTrackBar::Changed() {
    if (OnChange) OnChange(this);
}

// The widget moved the thumb: its position arrives with the scroll message.
void TTrackBar::CNScroll(TMessage& m) {
    int pos = static_cast<short>(HIWORD(m.WParam));
    if (auto* p = dynamic_cast<TRangePeer*>(Peer())) pos = p->TrackPosition();
    SetPosition(pos);
}

// ---------------------------------------------------------------------------------------------
// TUpDown

const TMetaClass& TUpDown::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TUpDown>("TUpDown", &TRangeControl::StaticClass(), [](TClassBuilder<TUpDown>& b) {
        b.Property("Associate", &TUpDown::Associate, &TUpDown::SetAssociate);
        b.Property("Increment", &TUpDown::Increment, &TUpDown::SetIncrement).Default(1);
        b.Property("Max", &TUpDown::Max, &TUpDown::SetMax).Default(100);
        b.Property("Min", &TUpDown::Min, &TUpDown::SetMin).Default(0);
        b.Property("Orientation", &TUpDown::Orientation, &TUpDown::SetOrientation).Default(udVertical);
        b.Property("Position", &TUpDown::Position, &TUpDown::SetPosition).Default(0);
        b.Property("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands).Default(true);
        b.Property("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap).Default(false);
        b.Event("OnChanging", static_cast<decltype(TUpDown::OnChanging) TUpDown::*>(&TUpDown::OnChanging));
        b.Event("OnClick", static_cast<decltype(TUpDown::OnClick) TUpDown::*>(&TUpDown::OnClick));
    });
    return meta;
}

const TMessageTable& TUpDown::ClassMessages() {
    static const TMessageTable table(&TRangeControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_HSCROLL, TUpDown::CNScroll),
        MESSAGE_HANDLER(CN_VSCROLL, TUpDown::CNScroll),
    });
    return table;
}

TUpDown::TUpDown(TComponent* owner) : TRangeControl(owner) {
    range_.Vertical = true;
    SetBounds(0, 0, 17, 25);
}

void TUpDown::SetAssociate(TWinControl* control) {
    associate_ = control;
    if (!control) return;
    control->FreeNotification(this);
    if (!ComponentState().Contains(csLoading) && control->Parent() == Parent() && Parent()) {
        // The buttons sit at the associate's right edge, as tall as it.
        SetBounds(control->Left() + control->Width(), control->Top(), Width(), control->Height());
    }
    UpdateAssociate();
}

void TUpDown::SetThousands(bool v) {
    thousands_ = v;
    UpdateAssociate();
}

void TUpDown::SetOrientation(TUDOrientation v) {
    range_.Vertical = v == udVertical;
    Push();
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
    TRangeControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == associate_) associate_ = nullptr;
}

void TUpDown::UpdateAssociate() {
    if (!associate_ || ComponentState().Contains(csLoading)) return;
    WideString text = WideFromAscii(std::to_string(std::abs(range_.Position)).c_str());
    if (thousands_)
        for (int i = static_cast<int>(text.size()) - 3; i > 0; i -= 3) text.insert(static_cast<std::size_t>(i), u",");
    if (range_.Position < 0) text.insert(0, u"-");
    associate_->SetText(text);
}

void TUpDown::Changed() { UpdateAssociate(); }

void TUpDown::Loaded() {
    TRangeControl::Loaded();
    UpdateAssociate();
}

// A step past an end stops there, or with Wrap goes round to the other end.
void TUpDown::ClickButton(TUDBtnType button) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) return;
    const int step = button == btNext ? range_.SmallChange : -range_.SmallChange;
    int pos = range_.Position + step;
    if (pos > range_.Max) pos = wrap_ ? range_.Min : range_.Max;
    if (pos < range_.Min) pos = wrap_ ? range_.Max : range_.Min;
    SetPosition(pos);
    if (OnClick) OnClick(this, button);
}

void TUpDown::CreateParams(TCreateParams& params) {
    TRangeControl::CreateParams(params);
    params.WinClassName = u"msctls_updown32";
    params.OwnerPainted = false;
}

void TUpDown::CNScroll(TMessage& m) {
    const WORD code = LOWORD(m.WParam);
    if (code == SB_LINEUP) ClickButton(btNext);
    else if (code == SB_LINEDOWN) ClickButton(btPrev);
}

void RegisterRangeCtrls() {
    RegisterClasses({&TProgressBar::StaticClass(), &TTrackBar::StaticClass(), &TUpDown::StaticClass()});
}
