// The framed edit.
#include "controls/styled/RzEdit.h"

#include "controls/styled/OldPropReader.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsThemes.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/StdCtrlsMessages.h"
#include "platform/vcl/TypInfo.h"

namespace {
constexpr WORD VK_F4_KEY = 0x73;
constexpr int kDropButtonWidth = 16;  // the width of a vertical scroll bar
}  // namespace

const TMetaClass& TRzCustomEdit::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomEdit>("TRzCustomEdit", &TCustomEdit::StaticClass());
    return meta;
}

const TMetaClass& TRzEdit::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzEdit>("TRzEdit", &TRzCustomEdit::StaticClass(), [](TClassBuilder<TRzEdit>& b) {
        // Written only while enabled (a disabled edit shows its disabled colour) and unless a
        // frame controller supplies it.
        b.Property("Color", [](const TRzEdit& e) { return e.Color(); }, [](TRzEdit& e, TColor c) { e.SetColor(c); })
            .Default(clWindow).Type(ColorTypeInfo())
            .Stored([](const TObject& o) { return static_cast<const TRzEdit&>(o).IsColorStored(); });
        b.Property("FrameController", &TRzEdit::FrameController, &TRzEdit::SetFrameController);
        b.Property("FrameControllerNotifications", &TRzEdit::FrameControllerNotifications,
                   &TRzEdit::SetFrameControllerNotifications).Default(fccAll);
        b.Property("DisabledColor", &TRzEdit::DisabledColor, &TRzEdit::SetDisabledColor).Default(clBtnFace).Type(ColorTypeInfo());
        b.Property("FocusColor", &TRzEdit::FocusColor, &TRzEdit::SetFocusColor)
            .Default(clWindow)
            .Type(ColorTypeInfo())
            .Stored([](const TObject& o) { return static_cast<const TRzEdit&>(o).IsFocusColorStored(); });
        b.Property("FrameColor", &TRzEdit::FrameColor, &TRzEdit::SetFrameColor).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("FrameHotColor", &TRzEdit::FrameHotColor, &TRzEdit::SetFrameHotColor).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("FrameHotTrack", &TRzEdit::FrameHotTrack, &TRzEdit::SetFrameHotTrack).Default(false);
        b.Property("FrameHotStyle", &TRzEdit::FrameHotStyle, &TRzEdit::SetFrameHotStyle).Default(fsFlatBold);
        b.Property("FrameSides", &TRzEdit::FrameSides, &TRzEdit::SetFrameSides).Default(sdAllSides);
        b.Property("FrameStyle", &TRzEdit::FrameStyle, &TRzEdit::SetFrameStyle).Default(fsFlat);
        b.Property("FrameVisible", &TRzEdit::FrameVisible, &TRzEdit::SetFrameVisible).Default(false);
        b.Property("FramingPreference", &TRzEdit::FramingPreference, &TRzEdit::SetFramingPreference).Default(fpXPThemes);
        b.Property("ReadOnly", &TRzEdit::ReadOnly, &TRzEdit::SetReadOnly).Default(false);
        b.Property("ReadOnlyColor", &TRzEdit::ReadOnlyColor, &TRzEdit::SetReadOnlyColor).Default(clInfoBk).Type(ColorTypeInfo());
        b.Property("ReadOnlyColorOnFocus", &TRzEdit::ReadOnlyColorOnFocus, &TRzEdit::SetReadOnlyColorOnFocus).Default(false);
        b.Property("TabOnEnter", &TRzEdit::TabOnEnter, &TRzEdit::SetTabOnEnter).Default(false);
        b.Property("TextHint", &TRzEdit::TextHint, &TRzEdit::SetTextHint).Default(u"");
        b.Property("TextHintVisibleOnFocus", &TRzEdit::TextHintVisibleOnFocus, &TRzEdit::SetTextHintVisibleOnFocus).Default(false);
    });
    return meta;
}

const TMessageTable& TRzCustomEdit::ClassMessages() {
    static const TMessageTable table(&TCustomEdit::ClassMessages(), {
        MESSAGE_HANDLER(CM_COLORCHANGED, TRzCustomEdit::CMColorChanged),
        MESSAGE_HANDLER(CM_PARENTCOLORCHANGED, TRzCustomEdit::CMParentColorChangedEdit),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TRzCustomEdit::CMEnabledChangedEdit),
        MESSAGE_HANDLER(CM_ENTER, TRzCustomEdit::CMEnterEdit),
        MESSAGE_HANDLER(CM_EXIT, TRzCustomEdit::CMExitEdit),
        MESSAGE_HANDLER(CM_MOUSEENTER, TRzCustomEdit::CMMouseEnterEdit),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzCustomEdit::CMMouseLeaveEdit),
        MESSAGE_HANDLER(CN_COMMAND, TRzCustomEdit::CNCommandEdit),
        MESSAGE_HANDLER(WM_NCCALCSIZE, TRzCustomEdit::WMNCCalcSizeEdit),
        MESSAGE_HANDLER(WM_NCPAINT, TRzCustomEdit::WMNCPaintEdit),
        MESSAGE_HANDLER(WM_SIZE, TRzCustomEdit::WMSizeEdit),
    });
    return table;
}

TRzCustomEdit::TRzCustomEdit(TComponent* owner) : TCustomEdit(owner) {
    controlStyle_ << csCaptureMouse;
    controlStyle_ >> csSetCaption;
    SetParentColor(false);
    SetColor(clWindow);
}

TRzCustomEdit::~TRzCustomEdit() { SetFrameController(nullptr); }

void TRzCustomEdit::Notification(TComponent* component, TOperation operation) {
    TCustomEdit::Notification(component, operation);
    if (operation == TOperation::opRemove && component == frameController_) frameController_ = nullptr;
}

void TRzCustomEdit::DefineProperties(TFiler* filer) {
    TCustomEdit::DefineProperties(filer);
    filer->DefineProperty("FrameFlat", [this](TReader& reader) {
        const bool flat = reader.ReadBoolean();
        SetFrameHotTrack(flat);
        if (flat) {
            SetFrameStyle(fsStatus);
            SetFrameHotStyle(fsLowered);
        }
    }, nullptr, false);
    filer->DefineProperty("FrameFocusStyle", [this](TReader& reader) {
        const int value = TypeInfoOf<TFrameStyleEx>()->EnumValue(reader.ReadIdent());
        if (value >= 0) SetFrameHotStyle(static_cast<TFrameStyle>(value));
    }, nullptr, false);
    filer->DefineProperty("FrameFlatStyle", &TRzOldPropReader::ReadOldEnumProp, nullptr, false);
}

// ---- colours

void TRzCustomEdit::UpdateColors() {
    if (ComponentState().Contains(csLoading)) return;
    updatingColor_ = true;
    try {
        if (!Enabled()) SetColor(disabledColor_);
        else if (Focused()) SetColor(ReadOnly() && readOnlyColorOnFocus_ ? readOnlyColor_ : focusColor_);
        else if (ReadOnly()) SetColor(readOnlyColor_);
        else SetColor(normalColor_);
    } catch (...) {
        updatingColor_ = false;
        throw;
    }
    updatingColor_ = false;
}

void TRzCustomEdit::ColorChanged() {
    if (!updatingColor_) {
        if (focusColor_ == normalColor_) focusColor_ = Color();
        normalColor_ = Color();
    }
    if (DrawsCustomFrame()) RepaintFrame();
}

void TRzCustomEdit::CMColorChanged(TMessage& m) {
    InheritedMessage(TCustomEdit::ClassMessages(), m);
    ColorChanged();
}

void TRzCustomEdit::CMParentColorChangedEdit(TMessage& m) {
    InheritedMessage(TCustomEdit::ClassMessages(), m);
    if (ParentColor()) ColorChanged();
}

void TRzCustomEdit::SetDisabledColor(TColor v) {
    disabledColor_ = v;
    if (!Enabled()) UpdateColors();
}

void TRzCustomEdit::SetFocusColor(TColor v) {
    focusColor_ = v;
    if (Focused()) UpdateColors();
}

void TRzCustomEdit::SetReadOnlyColor(TColor v) {
    readOnlyColor_ = v;
    if (ReadOnly()) UpdateColors();
}

void TRzCustomEdit::SetReadOnly(bool v) {
    if (v == ReadOnly()) return;
    TCustomEdit::SetReadOnly(v);
    // A read-only edit offers no drop-down.
    if (v && dropButtonVisible_) showDropButton_ = false;
    else if (!v && dropButtonVisible_) showDropButton_ = true;
    PushDropButton();
    UpdateColors();
    RepaintFrame();
}

void TRzCustomEdit::CMEnabledChangedEdit(TMessage& m) {
    InheritedMessage(TCustomEdit::ClassMessages(), m);
    UpdateColors();
    RepaintFrame();
}

void TRzCustomEdit::Loaded() {
    TCustomEdit::Loaded();
    UpdateColors();
    UpdateFrame(false, false);
}

// ---- frame

bool TRzCustomEdit::UseThemes() const { return framingPreference_ == fpXPThemes && ThemeServices()->ThemesEnabled(); }

void TRzCustomEdit::SetFrameHotTrack(bool v) {
    if (v == frameHotTrack_) return;
    frameHotTrack_ = v;
    if (v) {
        frameVisible_ = true;
        if (!ComponentState().Contains(csLoading)) frameSides_ = sdAllSides;
    }
    RepaintFrame();
}

void TRzCustomEdit::SetFrameVisible(bool v) {
    if (v == frameVisible_) return;
    frameVisible_ = v;
    if (HandleAllocated()) RecreateWnd();
}

void TRzCustomEdit::SetFramingPreference(TFramingPreference v) {
    if (v == framingPreference_) return;
    framingPreference_ = v;
    if (v == fpCustomFraming) RepaintFrame();
}

void TRzCustomEdit::RepaintFrame() {
    if (HandleAllocated()) RedrawNonClientFrame(WindowHandle(), TRect(0, 0, Width(), Height()));
    else Invalidate();
}

void TRzCustomEdit::WMNCCalcSizeEdit(TMessage& m) {
    InheritedMessage(TCustomEdit::ClassMessages(), m);
    // The drawn frame takes the place of the sunken client edge.
    if (DrawsCustomFrame()) ReserveNonClientFrame(reinterpret_cast<RECT*>(m.LParam));
}

void TRzCustomEdit::WMNCPaintEdit(TMessage& m) {
    InheritedMessage(TCustomEdit::ClassMessages(), m);
    if (!DrawsCustomFrame() || !HandleAllocated()) return;
    HDC dc = GetWindowDC(WindowHandle());
    if (!dc) return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    PaintNonClientFrame(canvas, Width(), Height(), frameSides_, CurrentFrameColor(), Color(), CurrentFrameStyle());
    canvas.SetHandle(nullptr);
    ReleaseDC(WindowHandle(), dc);
    m.Result = 0;
}

void TRzCustomEdit::WMSizeEdit(TMessage& m) {
    InheritedMessage(TCustomEdit::ClassMessages(), m);
    if (DrawsCustomFrame()) RepaintFrame();
}

void TRzCustomEdit::UpdateFrame(bool viaMouse, bool active) {
    (viaMouse ? overControl_ : inControl_) = active;
    if (frameHotTrack_ || (showDropButton_ && flatButtons_)) RepaintFrame();
    UpdateColors();
}

void TRzCustomEdit::CMEnterEdit(TMessage& m) {
    UpdateFrame(false, true);
    InheritedMessage(TCustomEdit::ClassMessages(), m);
}

void TRzCustomEdit::CMExitEdit(TMessage& m) {
    InheritedMessage(TCustomEdit::ClassMessages(), m);
    UpdateFrame(false, false);
    if (!droppedDown_) buttonState_ = dbsUp;
}

void TRzCustomEdit::CMMouseEnterEdit(TMessage& m) {
    if (ComponentState().Contains(csDesigning)) return;
    InheritedMessage(TCustomEdit::ClassMessages(), m);
    UpdateFrame(true, true);
}

void TRzCustomEdit::CMMouseLeaveEdit(TMessage& m) {
    if (ComponentState().Contains(csDesigning)) return;
    InheritedMessage(TCustomEdit::ClassMessages(), m);
    UpdateFrame(true, false);
}

void TRzCustomEdit::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.Style &= ~static_cast<DWORD>(ES_MULTILINE);
}

// ---- keys

void TRzCustomEdit::KeyPress(WideChar& key) {
    if (tabOnEnter_ && key == u'\r') {
        key = 0;
        if (HandleAllocated()) PostMessageW(WindowHandle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    TCustomEdit::KeyPress(key);
}

void TRzCustomEdit::KeyDown(WORD& key, TShiftState shift) {
    TCustomEdit::KeyDown(key, shift);
    if (!showDropButton_) return;
    if ((key == VK_DOWN && shift == TShiftState{ssAlt}) || key == VK_F4_KEY) {
        DoDropDown();
        key = 0;
    }
}

void TRzCustomEdit::InvalidKeyBeep() {
    if (beepOnInvalidKey_) MessageBeep(0);
}

void TRzCustomEdit::ValidateError() {
    WideString message;
    if (OnValidateError) OnValidateError(this, message);
    if (!message.empty()) throw EDBEditError(message);
    InvalidKeyBeep();
}

// ---- drop button

void TRzCustomEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    PushDropButton();
}

void TRzCustomEdit::PushDropButton() {
    if (auto* p = dynamic_cast<TEditPeer*>(Peer())) p->SetDropButton(showDropButton_);
}

void TRzCustomEdit::CNCommandEdit(TMessage& m) {
    if (HIWORD(m.WParam) == EN_DROPBUTTON) {
        if (showDropButton_ && !droppedDown_) DoDropDown();
        return;
    }
    InheritedMessage(TCustomEdit::ClassMessages(), m);
}

void TRzCustomEdit::SetDropButtonVisible(bool v) {
    if (v == dropButtonVisible_) return;
    dropButtonVisible_ = v;
    showDropButton_ = v && !ReadOnly();
    if (HandleAllocated()) RecreateWnd();
}

TRect TRzCustomEdit::DropButtonRect() const {
    if (!showDropButton_) return TRect();
    const TRect c = ClientRect();
    return UseRightToLeftAlignment() ? TRect(c.left, c.top, c.left + kDropButtonWidth, c.bottom)
                                     : TRect(c.right - kDropButtonWidth, c.top, c.right, c.bottom);
}

void TRzCustomEdit::DoDropDown() {
    droppedDown_ = true;
    buttonState_ = dbsDown;
    try {
        FireDropDown();
        FireCloseUp();
    } catch (...) {
        buttonState_ = dbsUp;
        droppedDown_ = false;
        throw;
    }
    buttonState_ = dbsUp;
    droppedDown_ = false;
}

void TRzCustomEdit::FireDropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TRzCustomEdit::FireCloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

void RegisterStyledEdits() { RegisterClasses({&TRzEdit::StaticClass()}); }
