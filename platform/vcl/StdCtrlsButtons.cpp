// Push buttons, check boxes, radio buttons ("BUTTON") and group boxes.
#include "platform/vcl/ControlFrames.h"
#include "platform/vcl/StdCtrls.h"

// ---------------------------------------------------------------------------------------------
// TButtonControl

const TMetaClass& TButtonControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TButtonControl>("TButtonControl", &TWinControl::StaticClass());
    return meta;
}

const TMessageTable& TButtonControl::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_COMMAND, TButtonControl::CNCommand),
    });
    return table;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    // Clicks come from the widget (BN_CLICKED), not from the mouse messages.
    controlStyle_ = TControlStyle{csSetCaption, csDoubleClicks};
}

void TButtonControl::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    if (auto* p = dynamic_cast<TButtonPeer*>(Peer())) p->SetWordWrap(v);
}

void TButtonControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"BUTTON";
    params.OwnerPainted = false;
    if (wordWrap_) params.Style |= BS_MULTILINE;
}

void TButtonControl::CNCommand(TMessage& m) {
    if (HIWORD(m.WParam) == BN_CLICKED) ButtonClicked();
}

void TButtonControl::PushCheck(int state) {
    if (auto* p = dynamic_cast<TButtonPeer*>(Peer())) p->SetCheck(state);
}

// ---------------------------------------------------------------------------------------------
// TButton

const TMetaClass& TButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TButton>("TButton", &TButtonControl::StaticClass(), [](TClassBuilder<TButton>& b) {
        b.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
        b.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
        b.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(mrNone);
        b.Property("WordWrap", &TButton::WordWrap, &TButton::SetWordWrap).Default(false);
    });
    return meta;
}

const TMessageTable& TButton::ClassMessages() {
    static const TMessageTable table(&TButtonControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGKEY, TButton::CMDialogKey),
        MESSAGE_HANDLER(CM_DIALOGCHAR, TButton::CMDialogChar),
        MESSAGE_HANDLER(BM_CLICK, TButton::BMClick),
    });
    return table;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::SetDefault(bool v) {
    if (v == default_) return;
    default_ = v;
    if (auto* p = dynamic_cast<TButtonPeer*>(Peer())) p->SetDefault(v);
}

void TButton::Click() {
    if (modalResult_ != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
    TButtonControl::CreateWnd();
    if (auto* p = dynamic_cast<TButtonPeer*>(Peer())) p->SetDefault(default_);
}

// Enter clicks the focused button, else the default one; Escape clicks the cancel button.
void TButton::CMDialogKey(TMessage& m) {
    const WORD key = static_cast<WORD>(m.WParam);
    const TShiftState shift = KeyDataToShiftState(static_cast<LONG>(m.LParam));
    if (shift.Contains(ssAlt) || shift.Contains(ssCtrl)) return;
    bool answers = key == VK_ESCAPE && cancel_;
    if (key == VK_RETURN) {
        const TCustomForm* form = GetParentForm(this);
        const TWinControl* focused = form ? form->ActiveControl() : nullptr;
        answers = focused == this || (default_ && !dynamic_cast<const TButton*>(focused));
    }
    if (answers && CanFocus()) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    InheritedMessage(TButtonControl::ClassMessages(), m);
}

void TButton::BMClick(TMessage&) { Click(); }

// ---------------------------------------------------------------------------------------------
// TCustomCheckBox

const TMetaClass& TCustomCheckBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomCheckBox>("TCustomCheckBox", &TButtonControl::StaticClass());
    return meta;
}

const TMetaClass& TCheckBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCheckBox>("TCheckBox", &TCustomCheckBox::StaticClass(), [](TClassBuilder<TCheckBox>& b) {
        b.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightJustify);
        b.Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
        b.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false).Stored([](const TObject&) { return false; });
        b.Property("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
        b.Property("WordWrap", &TCheckBox::WordWrap, &TCheckBox::SetWordWrap).Default(false);
    });
    return meta;
}

const TMessageTable& TCustomCheckBox::ClassMessages() {
    static const TMessageTable table(&TButtonControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGCHAR, TCustomCheckBox::CMDialogChar),
        MESSAGE_HANDLER(BM_GETCHECK, TCustomCheckBox::BMGetCheck),
        MESSAGE_HANDLER(BM_SETCHECK, TCustomCheckBox::BMSetCheck),
    });
    return table;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::SetState(TCheckBoxState state) {
    if (state == state_) return;
    state_ = state;
    PushCheck(state_ == cbChecked ? BST_CHECKED : state_ == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED);
    if (!clicksDisabled_ && !ComponentState().Contains(csLoading)) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    RecreateWnd();
}

void TCustomCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= allowGrayed_ ? BS_3STATE : BS_CHECKBOX;
    if (alignment_ == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
    TButtonControl::CreateWnd();
    PushCheck(state_ == cbChecked ? BST_CHECKED : state_ == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED);
}

void TCustomCheckBox::ButtonClicked() { Toggle(); }

void TCustomCheckBox::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        m.Result = 1;
        return;
    }
    InheritedMessage(TButtonControl::ClassMessages(), m);
}

void TCustomCheckBox::BMGetCheck(TMessage& m) {
    m.Result = state_ == cbChecked ? BST_CHECKED : state_ == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED;
}

void TCustomCheckBox::BMSetCheck(TMessage& m) {
    const bool saved = clicksDisabled_;
    clicksDisabled_ = true;
    SetState(m.WParam == BST_CHECKED ? cbChecked : m.WParam == BST_INDETERMINATE ? cbGrayed : cbUnchecked);
    clicksDisabled_ = saved;
}

// ---------------------------------------------------------------------------------------------
// TRadioButton

const TMetaClass& TRadioButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRadioButton>("TRadioButton", &TButtonControl::StaticClass(), [](TClassBuilder<TRadioButton>& b) {
        b.Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify);
        b.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
        b.Property("WordWrap", &TRadioButton::WordWrap, &TRadioButton::SetWordWrap).Default(false);
    });
    return meta;
}

const TMessageTable& TRadioButton::ClassMessages() {
    static const TMessageTable table(&TButtonControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGCHAR, TRadioButton::CMDialogChar),
        MESSAGE_HANDLER(BM_GETCHECK, TRadioButton::BMGetCheck),
        MESSAGE_HANDLER(BM_SETCHECK, TRadioButton::BMSetCheck),
    });
    return table;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 113, 17);
    SetTabStop(false);
}

void TRadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    SetTabStop(v);
    PushCheck(v ? BST_CHECKED : BST_UNCHECKED);
    if (!v) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this) sibling->SetChecked(false);
    }
    if (!clicksDisabled_ && !ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    params.Style |= BS_RADIOBUTTON;
    if (alignment_ == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
    TButtonControl::CreateWnd();
    PushCheck(checked_ ? BST_CHECKED : BST_UNCHECKED);
}

// A click checks the button; it never unchecks it.
void TRadioButton::ButtonClicked() {
    if (checked_) {
        PushCheck(BST_CHECKED);
        return;
    }
    SetChecked(true);
}

void TRadioButton::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        SetChecked(true);
        m.Result = 1;
        return;
    }
    InheritedMessage(TButtonControl::ClassMessages(), m);
}

void TRadioButton::BMGetCheck(TMessage& m) { m.Result = checked_ ? BST_CHECKED : BST_UNCHECKED; }

void TRadioButton::BMSetCheck(TMessage& m) {
    const bool saved = clicksDisabled_;
    clicksDisabled_ = true;
    SetChecked(m.WParam == BST_CHECKED);
    clicksDisabled_ = saved;
}

// ---------------------------------------------------------------------------------------------
// TCustomGroupBox

const TMetaClass& TCustomGroupBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomGroupBox>("TCustomGroupBox", &TCustomControl::StaticClass());
    return meta;
}

const TMetaClass& TGroupBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TGroupBox>("TGroupBox", &TCustomGroupBox::StaticClass(), [](TClassBuilder<TGroupBox>& b) {
        b.Property("Ctl3D", &TGroupBox::Ctl3D, &TGroupBox::SetCtl3D).Default(true);
    });
    return meta;
}

const TMessageTable& TCustomGroupBox::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGCHAR, TCustomGroupBox::CMDialogChar),
        MESSAGE_HANDLER(CM_TEXTCHANGED, TCustomGroupBox::CMTextChanged),
    });
    return table;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
    controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csParentBackground};
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::SetCtl3D(bool v) {
    if (v == ctl3D_) return;
    ctl3D_ = v;
    Invalidate();
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
    TCustomControl::AdjustClientRect(rect);
    rect.top += FramePainter().CaptionHeight(*Font());
    rect.Inflate(ctl3D_ ? -2 : -1, ctl3D_ ? -2 : -1);
}

void TCustomGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    FramePainter().GroupFrame(canvas->Handle(), ClientRect(), Caption(), *Font(), Enabled());
}

// Alt + the caption's accelerator focuses the first control inside.
void TCustomGroupBox::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        SelectFirst();
        m.Result = 1;
        return;
    }
    InheritedMessage(TCustomControl::ClassMessages(), m);
}

void TCustomGroupBox::CMTextChanged(TMessage&) {
    Invalidate();
    Realign();
}
