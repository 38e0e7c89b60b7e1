#include "platform/vcl/Forms.h"

#include <algorithm>

#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Menus.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

TModalHook& Hook() {
    static TModalHook hook;
    return hook;
}

}  // namespace

TCustomForm* GetParentForm(TControl* control) { return control ? control->ParentForm() : nullptr; }

void SetModalHook(TModalHook hook) { Hook() = std::move(hook); }
int AskModalHook(TModalRequest& request) {
    // A modal loop takes the mouse: a press that opened it must not keep it.
    CancelMouseCapture();
    return Hook() ? Hook()(request) : 0;
}

TScopedModalHook::TScopedModalHook(TModalHook hook) : saved_(std::move(Hook())) { Hook() = std::move(hook); }
TScopedModalHook::~TScopedModalHook() { Hook() = std::move(saved_); }

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    TModalRequest request;
    request.What = TModalRequest::MessageBox;
    request.Text = text ? text : u"";
    request.Caption = caption ? caption : u"Error";
    request.Flags = type;
    if (int answer = AskModalHook(request)) return answer;
    TMessageBoxRequest box{owner, request.Text, request.Caption, type};
    const int answer = WidgetSet().MessageBox(box);
    if (answer == 0) SetLastError(ERROR_NOT_SUPPORTED);
    return answer;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const WideString t = text ? Utf8ToUtf16(text) : WideString();
    const WideString c = caption ? Utf8ToUtf16(caption) : WideString(u"Error");
    return MessageBoxW(owner, t.c_str(), c.c_str(), type);
}

void MessageBeep(UINT) { WidgetSet().Beep(); }

// ---------------------------------------------------------------------------------------------
// TCustomForm

const TMetaClass& TCustomForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomForm>("TCustomForm", &TWinControl::StaticClass(), [](TClassBuilder<TCustomForm>& b) {
        b.Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
        b.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
            .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
        b.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
        b.Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight).NoDefault();
        b.Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth).NoDefault();
        b.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
        b.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
        b.Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
        b.Property("OldCreateOrder", [](const TCustomForm&) { return false; }, [](TCustomForm&, bool) {}).Default(false);
        b.Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch).Default(96);
        b.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDefaultPosOnly);
        b.Property("Scaled", [](const TCustomForm&) { return true; }, [](TCustomForm&, bool) {}).Default(true);
        b.Property("TextHeight", [](const TCustomForm&) { return 13; }, [](TCustomForm&, int) {})
            .Stored([](const TObject&) { return false; });
        b.Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(wsNormal);
        b.Property("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible).Default(false);
        b.Event("OnActivate", &TCustomForm::OnActivate);
        b.Event("OnClose", &TCustomForm::OnClose);
        b.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
        b.Event("OnCreate", &TCustomForm::OnCreate);
        b.Event("OnDeactivate", &TCustomForm::OnDeactivate);
        b.Event("OnDestroy", &TCustomForm::OnDestroy);
        b.Event("OnHide", &TCustomForm::OnHide);
        b.Event("OnPaint", &TCustomForm::OnPaint);
        b.Event("OnShow", &TCustomForm::OnShow);
    });
    return meta;
}

const TMetaClass& TForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TForm>("TForm", &TCustomForm::StaticClass());
    return meta;
}

const TMessageTable& TCustomForm::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_CLOSE, TCustomForm::WMClose),
        MESSAGE_HANDLER(WM_ACTIVATE, TCustomForm::WMActivate),
        MESSAGE_HANDLER(WM_SIZE, TCustomForm::WMSize),
        MESSAGE_HANDLER(CM_DIALOGKEY, TCustomForm::CMDialogKey),
        MESSAGE_HANDLER(CM_RELEASE, TCustomForm::CMRelease),
        MESSAGE_HANDLER(CM_SHOWINGCHANGED, TCustomForm::CMShowingChanged),
        MESSAGE_HANDLER(WM_COMMAND, TCustomForm::WMMenuMessage),
        MESSAGE_HANDLER(WM_INITMENUPOPUP, TCustomForm::WMMenuMessage),
        MESSAGE_HANDLER(WM_MENUSELECT, TCustomForm::WMMenuMessage),
        MESSAGE_HANDLER(WM_DRAWITEM, TCustomForm::WMMenuMessage),
        MESSAGE_HANDLER(WM_MEASUREITEM, TCustomForm::WMMenuMessage),
        MESSAGE_HANDLER(WM_MENUCHAR, TCustomForm::WMMenuMessage),
    });
    return table;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), canvas_(NewControlCanvas(*this)) {
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    SetParentColor(false);
    SetParentFont(false);
    controlStyle_ = controlStyle_ + TControlStyle{csAcceptsControls};
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    if (initialized_ && OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            // A destructor must not throw; the handler's error goes to the application.
            if (Application) Application->HandleException(this);
        }
    }
    if (Screen) Screen->RemoveForm(this);
    if (Application) Application->FormClosed(this);
}

void TCustomForm::InitForm() {
    if (initialized_) return;
    initialized_ = true;
    if (&ClassType() != &FormFileRoot() && &ClassType() != &TCustomForm::StaticClass()) {
        if (!InitInheritedComponent(this, FormFileRoot()))
            throw EResNotFound("Resource " + AnsiString(ClassName()) + " not found");
    }
    DoCreate();
}

const TMetaClass& TCustomForm::FormFileRoot() const { return TForm::StaticClass(); }

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == borderIcons_) return;
    borderIcons_ = icons;
    RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    if (Peer()) Peer()->SetWindowState(static_cast<int>(state));
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_) menu_->RemoveFreeNotification(this);
    menu_ = menu;
    if (menu) menu->FreeNotification(this);
    AttachMenu();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == menu_) {
        menu_ = nullptr;
        AttachMenu();
    }
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == focusedControl_) focusedControl_ = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // A form placed inside another control is a child window of it, without a frame.
    if (Parent()) {
        params.Style &= ~WS_TABSTOP;
        return;
    }
    params.Style &= ~(WS_CHILD | WS_TABSTOP);
    params.WndParent = nullptr;
    switch (borderStyle_) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle: params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: params.Style |= WS_CAPTION | WS_POPUP; params.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case bsToolWindow: params.Style |= WS_CAPTION; params.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: params.Style |= WS_CAPTION | WS_THICKFRAME; params.ExStyle |= WS_EX_TOOLWINDOW; break;
    }
    if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
        params.Style |= WS_SYSMENU;
        if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
            if (borderIcons_.Contains(biMinimize)) params.Style |= WS_MINIMIZEBOX;
            if (borderIcons_.Contains(biMaximize)) params.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (formStyle_ == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
    if (windowState_ == wsMaximized) params.Style |= WS_MAXIMIZE;
    if (windowState_ == wsMinimized) params.Style |= WS_MINIMIZE;
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (TWidgetPeer* p = Peer()) {
        const bool sizeable = borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin;
        const bool tool = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
        const bool sys = borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu);
        p->SetFrame(sizeable, tool, borderStyle_ == bsNone, sys && borderIcons_.Contains(biMinimize) && !tool && borderStyle_ != bsDialog,
                    sys && borderIcons_.Contains(biMaximize) && !tool && borderStyle_ != bsDialog, sys);
        if (windowState_ != wsNormal) p->SetWindowState(static_cast<int>(windowState_));
    }
    AttachMenu(true);
}

void TCustomForm::PaintWindow(HDC dc) {
    BeginCanvasPaint(canvas_.get(), dc, Font(), Color());
    try {
        Paint();
    } catch (...) {
        EndCanvasPaint(canvas_.get());
        throw;
    }
    EndCanvasPaint(canvas_.get());
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    if (activeControl_ && !ContainsControl(activeControl_)) activeControl_ = nullptr;
}

TRect FitToWorkArea(const TRect& window, bool framed) {
    const TRect area = WidgetSet().WorkAreaAt(TPoint(window.left + window.Width() / 2, window.top + window.Height() / 2));
    if (area.Width() <= 0 || area.Height() <= 0) return window;
    // The window manager's frame sits around the client size we set: leave room for a title bar
    // and borders, so the bottom edge (the status bar) stays on the screen.
    const int frameW = framed ? 2 * kFrameBorder : 0;
    const int frameH = framed ? kFrameTitle + kFrameBorder : 0;
    const int w = std::max(1, std::min<int>(window.Width(), area.Width() - frameW));
    const int h = std::max(1, std::min<int>(window.Height(), area.Height() - frameH));
    const int x = std::clamp<int>(window.left, area.left, std::max<int>(area.left, area.right - w - frameW));
    const int y = std::clamp<int>(window.top, area.top, std::max<int>(area.top, area.bottom - h - frameH));
    return TRect{x, y, x + w, y + h};
}

void TCustomForm::PlaceOnScreen() {
    if (placed_) return;
    placed_ = true;
    TRect area = WidgetSet().WorkAreaRect();
    if (Application && Application->MainForm() && Application->MainForm() != this) {
        const TRect main = Application->MainForm()->BoundsRect();
        if (const TRect at = WidgetSet().WorkAreaAt(TPoint(main.left + main.Width() / 2, main.top + main.Height() / 2));
            at.Width() > 0)
            area = at;
    }
    TCustomForm* around = nullptr;
    if (position_ == poMainFormCenter && Application) around = Application->MainForm();
    if (position_ == poOwnerFormCenter) around = dynamic_cast<TCustomForm*>(Owner());
    if (around == this) around = nullptr;
    if (around) area = around->BoundsRect();
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
    case poMainFormCenter:
    case poOwnerFormCenter:
        SetBounds(area.left + (area.Width() - Width()) / 2, area.top + (area.Height() - Height()) / 2, Width(), Height());
        break;
    default: break;
    }
    // Designed for a larger screen, or saved on a monitor that is gone: brought onto the screen.
    if (Parent() == nullptr) {
        const TRect fitted = FitToWorkArea(BoundsRect(), borderStyle_ != bsNone);
        if (fitted != BoundsRect()) SetBoundsRect(fitted);
    }
}

void TCustomForm::SetVisible(bool visible) {
    if (visible == Visible()) return;
    if (visible) {
        PlaceOnScreen();
        HandleNeeded();
        TWinControl::SetVisible(true);
        DoShow();
        if (!activeControl_) {
            if (TWinControl* first = FindNextControl(nullptr, true, true, false)) activeControl_ = first;
        }
        if (activeControl_ && activeControl_->CanFocus()) FocusControl(activeControl_);
        if (TWidgetPeer* p = Peer()) p->Activate();
        if (Screen) Screen->SetActiveForm(this);
    } else {
        TWinControl::SetVisible(false);
        DoHide();
        if (Screen && Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::BringToFront() {
    if (TWidgetPeer* p = Peer()) {
        p->SetZOrder(true);
        p->Activate();
    }
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::Activate() {
    active_ = true;
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    active_ = false;
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control && (control == this || !ContainsControl(control)))
        throw EInvalidOperation("Invalid form for the active control");
    if (control && Visible() && !control->CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = control;
    if (control && Visible() && !ComponentState().Contains(csLoading)) FocusControl(control);
}

void TCustomForm::FocusControl(TWinControl* control) {
    activeControl_ = control;
    if (!Visible()) return;
    control->HandleNeeded();
    if (TWidgetPeer* p = control->Peer()) p->SetFocus();
}

// The window of control got the focus: the controls that lose and gain it hear CM_EXIT and
// CM_ENTER, outermost first for entering and innermost first for leaving.
void TCustomForm::FocusChanged(TWinControl* control) {
    if (control == focusedControl_) return;
    TWinControl* old = focusedControl_;
    focusedControl_ = control;
    if (control != this) activeControl_ = control;
    // The nearest control holding both.
    TWinControl* common = old;
    while (common && !common->ContainsControl(control)) common = common->Parent();
    for (TWinControl* c = old; c && c != common; c = c->Parent()) c->Perform(CM_EXIT, 0, 0);
    std::vector<TWinControl*> entering;
    for (TWinControl* c = control; c && c != common; c = c->Parent()) entering.push_back(c);
    for (auto it = entering.rbegin(); it != entering.rend(); ++it) (*it)->Perform(CM_ENTER, 0, 0);
    TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control), 0};
    Broadcast(m);
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (removing && control->ContainsControl(activeControl_)) activeControl_ = control->Parent() != this ? control->Parent() : nullptr;
    if (control->ContainsControl(focusedControl_)) {
        focusedControl_ = nullptr;
        if (Peer() && Visible()) Peer()->SetFocus();
    }
}

void TCustomForm::ControlRemoved(TWinControl* control) {
    if (control->ContainsControl(activeControl_)) activeControl_ = nullptr;
    if (control->ContainsControl(focusedControl_)) focusedControl_ = nullptr;
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    modal_ = true;
    modalResult_ = mrNone;
    CancelMouseCapture();
    if (TWidgetPeer* p = Peer()) p->SetModal(true);
    else {
        HandleNeeded();
        Peer()->SetModal(true);
    }
    try {
        Show();
        TModalRequest request;
        request.What = TModalRequest::ModalForm;
        request.Form = this;
        request.Caption = Caption();
        if (Hook()) {
            if (const int answer = AskModalHook(request); answer != 0 && modalResult_ == mrNone) modalResult_ = answer;
        } else if (!WidgetSet().HasDisplay() && modalResult_ == mrNone) {
            throw EInvalidOperation("A modal form cannot be shown without a display");
        }
        while (modalResult_ == mrNone) {
            Application->HandleMessage();
            if (Application->Terminated()) modalResult_ = mrCancel;
            else if (modalResult_ != mrNone) {
                // The form asks before it goes, as Close does.
                if (!CloseQuery()) modalResult_ = mrNone;
            }
            if (!Visible() && modalResult_ == mrNone) modalResult_ = mrCancel;
        }
    } catch (...) {
        modal_ = false;
        Hide();
        if (Peer()) Peer()->SetModal(false);
        throw;
    }
    // Hidden before it stops being modal: a window made modeless while shown stays on the
    // toolkit's list of modal windows, which then outlives it.
    modal_ = false;
    Hide();
    if (Peer()) Peer()->SetModal(false);
    return modalResult_;
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;  // the modal loop asks CloseQuery before it ends
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = Application && Application->MainForm() == this ? caFree : caHide;
    if (OnClose) OnClose(this, action);
    switch (action) {
    case caNone: return;
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree:
        if (Application && Application->MainForm() == this) {
            Hide();
            Application->Terminate();
        } else {
            Release();
        }
        break;
    }
}

void TCustomForm::Release() {
    HandleNeeded();
    PostMessageW(WindowHandle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CMRelease(TMessage&) {
    if (Application) Application->released_.push_back(this);
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMActivate(TWMActivate& m) {
    if (m.Active != WA_INACTIVE) {
        if (Screen) Screen->SetActiveForm(this);
        Activate();
        if (activeControl_ && activeControl_->CanFocus() && activeControl_->Peer() && !activeControl_->Focused())
            activeControl_->Peer()->SetFocus();
    } else {
        Deactivate();
    }
}

void TCustomForm::WMSize(TWMSize& m) {
    TWinControl::WMSize(m);
    const TWindowState state = m.SizeType == SIZE_MINIMIZED   ? wsMinimized
                               : m.SizeType == SIZE_MAXIMIZED ? wsMaximized
                                                              : wsNormal;
    if (state == windowState_) return;
    const TWindowState before = windowState_;
    windowState_ = state;  // the window is already there: only the field follows
    // A state change without a new size is still a resize to the form's handlers.
    Resize();
    if (!Application || Application->MainForm() != this) return;
    if (state == wsMinimized) Application->Minimize();
    else if (before == wsMinimized) Application->Restore();
}

void TCustomForm::CMDialogKey(TMessage& m) {
    const WORD key = static_cast<WORD>(m.WParam);
    const TShiftState shift = KeyDataToShiftState(static_cast<LONG>(m.LParam));
    if (key == VK_TAB && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
        SelectNext(activeControl_, !shift.Contains(ssShift), true);
        m.Result = 1;
        return;
    }
    // Enter and Escape go to the controls (default and cancel buttons).
    m.Result = 0;
    Broadcast(m);
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) const {
    if (root == this)
        for (int i = 0; i < ComponentCount(); ++i)
            if (TComponent* c = Components(i); !c->HasParent()) proc(c);
    TWinControl::GetChildren(proc, root);
}

void TCustomForm::CMShowingChanged(TMessage&) {}
