// The spinner.
#include "controls/styled/RzSpinner.h"

#include <limits>

#include "controls/styled/DrawHelpers.h"
#include "controls/styled/OldPropReader.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsThemes.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinString.h"

const TMetaClass& TRzSpinner::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzSpinner>("TRzSpinner", &TCustomControl::StaticClass(), [](TClassBuilder<TRzSpinner>& b) {
        b.Property("Value", &TRzSpinner::Value, &TRzSpinner::SetValue).Default(0);
        b.Property("Min", &TRzSpinner::Min, &TRzSpinner::SetMin).Default(0);
        b.Property("Max", &TRzSpinner::Max, &TRzSpinner::SetMax).Default(100);
        b.Property("CheckRange", &TRzSpinner::CheckRange, &TRzSpinner::SetCheckRange).Default(false);
        b.Property("Increment", &TRzSpinner::Increment, &TRzSpinner::SetIncrement).Default(1);
        b.Property("PageSize", &TRzSpinner::PageSize, &TRzSpinner::SetPageSize).Default(10);
        b.Property("ShowHexValue", &TRzSpinner::ShowHexValue, &TRzSpinner::SetShowHexValue).Default(false);
        b.Property("HexValuePrefix", &TRzSpinner::HexValuePrefix, &TRzSpinner::SetHexValuePrefix).Default(u"$");
        b.Property("TabOnEnter", &TRzSpinner::TabOnEnter, &TRzSpinner::SetTabOnEnter).Default(false);
        b.Property("ButtonColor", &TRzSpinner::ButtonColor, &TRzSpinner::SetButtonColor).Default(clBtnFace).Type(ColorTypeInfo());
        b.Property("ButtonWidth", &TRzSpinner::ButtonWidth, &TRzSpinner::SetButtonWidth).Default(18);
        b.Property("FrameColor", &TRzSpinner::FrameColor, &TRzSpinner::SetFrameColor).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("ShowFocusRect", &TRzSpinner::ShowFocusRect, &TRzSpinner::SetShowFocusRect).Default(true);
        b.Property("ThemeAware", &TRzSpinner::ThemeAware, &TRzSpinner::SetThemeAware).Default(true);
        b.Property("Images", &TRzSpinner::Images, &TRzSpinner::SetImages);
        b.Property("ImageIndexMinus", &TRzSpinner::ImageIndexMinus, &TRzSpinner::SetImageIndexMinus).Default(-1);
        b.Property("ImageIndexPlus", &TRzSpinner::ImageIndexPlus, &TRzSpinner::SetImageIndexPlus).Default(-1);
        b.Event("OnChange", &TRzSpinner::OnChange);
        b.Event("OnChanging", &TRzSpinner::OnChanging);
        b.Event("OnIncrement", &TRzSpinner::OnIncrement);
        b.Event("OnDecrement", &TRzSpinner::OnDecrement);
    });
    return meta;
}

const TMessageTable& TRzSpinner::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_GETDLGCODE, TRzSpinner::WMGetDlgCode),
        MESSAGE_HANDLER(CM_MOUSEENTER, TRzSpinner::CMMouseEnter),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzSpinner::CMMouseLeave),
        MESSAGE_HANDLER(CM_DESIGNHITTEST, TRzSpinner::CMDesignHitTest),
        MESSAGE_HANDLER(WM_SETFOCUS, TRzSpinner::WMSetFocus),
        MESSAGE_HANDLER(WM_KILLFOCUS, TRzSpinner::WMKillFocus),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TRzSpinner::CMEnabledChanged),
    });
    return table;
}

TRzSpinner::TRzSpinner(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 85, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TRzSpinner::~TRzSpinner() {
    if (images_) images_->UnRegisterChanges(this);
}

void TRzSpinner::DefineProperties(TFiler* filer) {
    TCustomControl::DefineProperties(filer);
    filer->DefineProperty("NumGlyphsMinus", &TRzOldPropReader::ReadOldIntegerProp, nullptr, false);
    filer->DefineProperty("NumGlyphsPlus", &TRzOldPropReader::ReadOldIntegerProp, nullptr, false);
    filer->DefineProperty("Flat", &TRzOldPropReader::ReadOldBooleanProp, nullptr, false);
}

// ---- value

int TRzSpinner::CheckValue(int v) const {
    if (min_ == max_ && !checkRange_) return v;
    if (v < min_) return min_;
    if (v > max_) return max_;
    return v;
}

void TRzSpinner::SetValue(int v) {
    v = CheckValue(v);
    if (v == value_ || !CanChange(v)) return;
    value_ = v;
    Invalidate();
    Change();
    NotifyDesignerModified(this);
}

bool TRzSpinner::CanChange(int newValue) {
    bool allow = true;
    if (OnChanging) OnChanging(this, newValue, allow);
    return allow;
}

void TRzSpinner::Change() {
    if (OnChange) OnChange(this);
}

void TRzSpinner::StepBy(long long amount, const TRzSpinnerIncDecEvent& event, int reported) {
    // Without a range the sum could leave the 32-bit range: it stops at the ends instead.
    long long next = static_cast<long long>(value_) + amount;
    if (next > std::numeric_limits<int>::max()) next = std::numeric_limits<int>::max();
    if (next < std::numeric_limits<int>::min()) next = std::numeric_limits<int>::min();
    const int before = value_;
    SetValue(static_cast<int>(next));
    if (value_ != before && event) event(this, reported);
}

void TRzSpinner::IncValue(int amount) { StepBy(amount, OnIncrement, amount); }
void TRzSpinner::DecValue(int amount) { StepBy(-static_cast<long long>(amount), OnDecrement, amount); }

void TRzSpinner::SetMax(int v) {
    if (v == max_) return;
    max_ = v;
    if (v < min_) min_ = v;
    SetValue(value_);
    Invalidate();
}

void TRzSpinner::SetMin(int v) {
    if (v == min_) return;
    min_ = v;
    if (max_ < v) max_ = v;
    SetValue(value_);
    Invalidate();
}

void TRzSpinner::SetCheckRange(bool v) {
    if (v == checkRange_) return;
    checkRange_ = v;
    SetValue(value_);
}

WideString TRzSpinner::DisplayText() const {
    if (!showHexValue_) return WideFormat(u"%d", value_);
    return hexValuePrefix_ + WideFormat(u"%X", static_cast<unsigned>(value_));
}

// ---- pictures

void TRzSpinner::SetImages(TCustomImageList* list) {
    if (ChangeImageList(*this, images_, list, [this](TObject*) {
            EnsureButtonSize();
            Update();
        })) {
        if (images_) EnsureButtonSize();
        Invalidate();
    }
}

void TRzSpinner::SetImageIndex(int index, int v) {
    Store(index == arMinus ? imageIndexMinus_ : imageIndexPlus_, v);
}

void TRzSpinner::EnsureButtonSize() {
    if (!images_) return;
    if (buttonWidth_ < images_->Width()) SetButtonWidth(images_->Width() + 4);
    if (Height() < images_->Height()) SetHeight(images_->Height() + 4);
}

void TRzSpinner::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    // The list is being destroyed and is past its own destructor: only forget it.
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        Invalidate();
    }
}

// ---- mouse

TRzSpinner::TArea TRzSpinner::AreaAt(const TPoint& p) const {
    if (TRect(0, 0, buttonWidth_, Height()).Contains(p)) return arMinus;
    if (TRect(Width() - buttonWidth_, 0, Width(), Height()).Contains(p)) return arPlus;
    return arNone;
}

void TRzSpinner::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (!ComponentState().Contains(csDesigning) && CanFocus()) SetFocus();
    const TArea area = AreaAt(TPoint(x, y));
    if (button != mbLeft || area == arNone) return;
    minusDown_ = area == arMinus;
    plusDown_ = area == arPlus;
    if (!repeatTimer_) {
        repeatTimer_ = new TTimer(this);
        repeatTimer_->SetEnabled(false);
        repeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
    }
    repeatTimer_->SetInterval(InitialRepeatDelay);
    repeatTimer_->SetEnabled(true);
    Repaint();
}

void TRzSpinner::RepeatTick() {
    repeatTimer_->SetInterval(RepeatDelay);
    try {
        // The area under the pointer decides, not the button first pressed.
        switch (AreaAt(ScreenToClient(Mouse->CursorPos()))) {
            case arPlus: IncValue(increment_); break;
            case arMinus: DecValue(increment_); break;
            case arNone: break;
        }
    } catch (...) {
        repeatTimer_->SetEnabled(false);
        throw;
    }
}

void TRzSpinner::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    switch (AreaAt(TPoint(x, y))) {
        case arPlus: IncValue(increment_); break;
        case arMinus: DecValue(increment_); break;
        case arNone: break;
    }
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
    minusDown_ = plusDown_ = false;
    Repaint();
}

void TRzSpinner::HotTrack(const TPoint& p) {
    const TArea area = AreaAt(p);
    overPlus_ = area == arPlus;
    overMinus_ = area == arMinus;
    if (area == lastHotArea_) return;
    lastHotArea_ = area;
    Repaint();
}

void TRzSpinner::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    HotTrack(TPoint(x, y));
}

void TRzSpinner::CMMouseEnter(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    HotTrack(ScreenToClient(Mouse->CursorPos()));
}

void TRzSpinner::CMMouseLeave(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    overMinus_ = overPlus_ = false;
    if (lastHotArea_ != arNone) Repaint();
    lastHotArea_ = arNone;
}

bool TRzSpinner::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos);
    const int amount = shift.Contains(ssCtrl) ? pageSize_ : increment_;
    if (wheelDelta < 0) DecValue(amount);
    else if (wheelDelta > 0) IncValue(amount);
    return true;
}

void TRzSpinner::CMDesignHitTest(TMessage& m) {
    const TShiftState shift = KeysToShiftState(static_cast<WORD>(m.WParam));
    const bool both = shift.Contains(ssShift) && shift.Contains(ssCtrl);
    m.Result = AreaAt(ScreenToClient(Mouse->CursorPos())) != arNone && !both ? 1 : 0;
}

// ---- keys and focus

void TRzSpinner::WMGetDlgCode(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    m.Result = DLGC_WANTARROWS;
}

void TRzSpinner::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    switch (key) {
        case VK_PRIOR: IncValue(pageSize_); break;
        case VK_NEXT: DecValue(pageSize_); break;
        case VK_LEFT:
        case VK_DOWN:
        case VK_SUBTRACT: DecValue(increment_); break;
        case VK_UP:
        case VK_RIGHT:
        case VK_ADD: IncValue(increment_); break;
        default: break;
    }
}

void TRzSpinner::KeyPress(WideChar& key) {
    if (tabOnEnter_ && key == u'\r') {
        key = 0;
        if (HandleAllocated()) PostMessageW(WindowHandle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    TCustomControl::KeyPress(key);
}

void TRzSpinner::WMSetFocus(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    Repaint();
}

void TRzSpinner::WMKillFocus(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    Repaint();
}

void TRzSpinner::CMEnabledChanged(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    Repaint();
}

// ---- painting (themes are off on this platform: the classic look throughout)

void TRzSpinner::DrawFrame() {
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetColor(Enabled() ? Color() : clBtnFace);
    canvas.Pen()->SetColor(Enabled() ? frameColor_ : clBtnShadow);
    canvas.Rectangle(ClientRect());
    canvas.MoveTo(buttonWidth_ - 1, 1);
    canvas.LineTo(buttonWidth_ - 1, Height() - 1);
    canvas.MoveTo(Width() - buttonWidth_, 1);
    canvas.LineTo(Width() - buttonWidth_, Height() - 1);
}

void TRzSpinner::DrawValue() {
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    TRect t(buttonWidth_ - 1, 0, Width() - buttonWidth_ + 1, Height());
    t.Inflate(-1, -1);
    const WideString text = DisplayText();
    const int h = canvas.TextHeight(WideFormat(u"%d", value_));
    const int top = t.top + (t.bottom - t.top - h) / 2;
    if (!Enabled()) canvas.Font()->SetColor(clBtnShadow);
    const int w = canvas.TextWidth(text);
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextRect(t, Width() / 2 - w / 2, top, text);
    canvas.Brush()->SetStyle(bsSolid);
}

void TRzSpinner::DrawButton(TArea button, bool down, const TRect& bounds) {
    TCanvas& canvas = *Canvas();
    TRect inside = PaintBoxOutline(canvas, bounds, clWindow);
    const bool hot = button == arMinus ? overMinus_ : overPlus_;
    TColor fill = buttonColor_;
    if (down) {
        fill = DarkerColor(buttonColor_, 20);
    } else if (!Enabled()) {
        fill = clBtnFace;
    } else if (hot) {
        fill = LighterColor(buttonColor_, 10);
        inside = PaintBoxOutline(canvas, inside, DarkerColor(buttonColor_, 20));
    }
    canvas.Brush()->SetColor(fill);
    canvas.FillRect(inside);
    const int index = GetImageIndex(button);
    if (images_ && index != -1) {
        const int x = inside.left + inside.Width() / 2 - images_->Width() / 2;
        const int y = inside.top + inside.Height() / 2 - images_->Height() / 2;
        images_->Draw(&canvas, x, y, index, Enabled());
    } else {
        PaintArrowButton(canvas, bounds, false, Enabled(), down, button == arMinus ? 2 : 3);
    }
    canvas.Pen()->SetColor(clWindowText);
    canvas.Brush()->SetColor(clWindow);
}

void TRzSpinner::Paint() {
    DrawFrame();
    DrawValue();
    DrawButton(arMinus, minusDown_, TRect(1, 1, buttonWidth_ - 1, Height() - 1));
    DrawButton(arPlus, plusDown_, TRect(Width() - buttonWidth_ + 1, 1, Width() - 1, Height() - 1));
    if (Focused() && showFocusRect_) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->DrawFocusRect(TRect(buttonWidth_ + 1, 2, Width() - buttonWidth_ - 1, Height() - 2));
    }
}

void RegisterStyledSpinner() { RegisterClasses({&TRzSpinner::StaticClass()}); }
