#include "platform/vcl/Application.h"

#include <algorithm>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/ControlMap.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/HintWindow.h"
#include "platform/win/WinString.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// The application and screen objects live from start-up to DoneApplication or exit. The widget
// set's slot is made first so that it outlives them.
struct Globals {
    std::unique_ptr<TApplication> application;
    std::unique_ptr<TScreen> screen;
    Globals() {
        (void)WidgetSet();
        screen = std::make_unique<TScreen>(nullptr);
        Screen = screen.get();
        application = std::make_unique<TApplication>(nullptr);
        Application = application.get();
        RegisterFindGlobalComponent([](std::string_view name) -> TComponent* {
            if (!Screen) return nullptr;
            for (TCustomForm* f : Screen->AllForms())
                if (AnsiSameText(f->Name(), name)) return f;
            return nullptr;
        });
    }
    ~Globals() { DoneApplication(); }
};
Globals globals;

}  // namespace

void DoneApplication() {
    if (Application) Application->DestroyComponents();
    if (Screen) Screen->DestroyComponents();
}

// ---------------------------------------------------------------------------------------------
// TApplication

const TMetaClass& TApplication::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TApplication>("TApplication", &TComponent::StaticClass());
    return meta;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    handle_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TApplication::~TApplication() {
    Destroying();
    DestroyComponents();
    DeallocateHWnd(handle_);
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
    SetGuiThread();
    terminated_ = false;
}

void TApplication::AddForm(TCustomForm* form) {
    if (!mainForm_) mainForm_ = form;
    form->InitForm();
}

void TApplication::FormClosed(TCustomForm* form) {
    if (form == mainForm_) mainForm_ = nullptr;
    std::erase(released_, form);
    if (hintControl_ && form->ContainsControl(hintControl_)) CancelHint();
}

void TApplication::Run() {
    running_ = true;
    if (mainForm_ && !mainForm_->Visible()) mainForm_->Show();
    while (!terminated_) {
        HandleMessage();
        if (!mainForm_ && !terminated_) terminated_ = true;  // the main form went
    }
    running_ = false;
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    try {
        bool handled = false;
        if (OnMessage) OnMessage(msg, handled);
        if (!handled) DispatchMessageW(&msg);
    } catch (...) {
        HandleException(this);
    }
    // Released forms go once their last message is handled.
    while (!released_.empty()) {
        TCustomForm* f = released_.back();
        released_.pop_back();
        delete f;
    }
    return true;
}

void TApplication::ProcessMessages() {
    // A handler that pumps messages (a scan, an export) lets go of the mouse first.
    CancelMouseCapture();
    WidgetSet().ProcessEvents();
    MSG msg;
    while (ProcessMessage(msg)) {
        if (terminated_) break;
    }
}

void TApplication::HandleMessage() {
    try {
        WidgetSet().ProcessEvents();
    } catch (...) {
        HandleException(this);
    }
    MSG msg;
    if (!ProcessMessage(msg)) {
        Idle();
        if (!terminated_) WidgetSet().WaitEvents(NextTimerDue());
    }
}

void TApplication::Idle() {
    bool done = true;
    try {
        ActionIdle();
        if (OnIdle) OnIdle(this, done);
        WriteControlMapIfAsked();
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::ActionIdle() {
    BeginActionIdleCycle();
    try {
        for (TCustomForm* form : std::vector<TCustomForm*>(Screen ? Screen->AllForms() : std::vector<TCustomForm*>{}))
            if (form->HandleAllocated() && form->Visible()) form->UpdateActions();
    } catch (...) {
        EndActionIdleCycle();
        throw;
    }
    EndActionIdleCycle();
}

void TApplication::HandleException(TObject* sender) {
    try {
        throw;
    } catch (const EAbort&) {
        // Silent by design.
    } catch (const std::exception& e) {
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    }
}

void TApplication::ShowException(const std::exception& error) {
    WideString text = Utf8ToUtf16(error.what());
    if (!text.empty() && text.back() != u'.') text += u'.';
    MessageBoxW(mainForm_ ? mainForm_->WindowHandle() : nullptr, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const WideString& text, const WideString& caption, UINT flags) {
    HWND owner = Screen && Screen->ActiveForm() ? Screen->ActiveForm()->WindowHandle()
               : mainForm_ ? mainForm_->WindowHandle() : nullptr;
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::Minimize() {
    if (mainForm_) mainForm_->SetWindowState(wsMinimized);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    // Only a minimized window comes back: one the window manager restored keeps its state.
    if (mainForm_ && mainForm_->WindowState() == wsMinimized) mainForm_->SetWindowState(wsNormal);
    if (OnRestore) OnRestore(this);
}

void TApplication::SetHint(const WideString& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) OnHint(this);
}

namespace {

// A control's hint, else its nearest parent's.
WideString HintOf(const TControl* control) {
    for (; control; control = control->Parent())
        if (!control->Hint().empty()) return control->Hint();
    return {};
}

constexpr UINT_PTR kShowTimer = 1, kHideTimer = 2;

}  // namespace

void TApplication::HintMouseMessage(TControl* control, TPoint clientPos) {
    if (control == hintControl_) return;
    // Moving on from a shown hint shows the next one sooner.
    const bool showing = hintWindow_ && hintWindow_->Active();
    CancelHint();
    hintControl_ = control;
    if (!control) return;
    SetHint(GetLongHint(HintOf(control)));
    if (showHint_ && control->ShowHint() && !GetShortHint(HintOf(control)).empty()) {
        hintPos_ = control->ClientToScreen(clientPos);
        hintTimer_ = SetTimer(handle_, kShowTimer, static_cast<UINT>(showing ? HintShortPause : HintPause), nullptr);
    }
}

void TApplication::ControlDestroyed(const TControl* control) {
    if (control && control == hintControl_) CancelHint();
}

void TApplication::ActivateHint(TPoint cursorPos) {
    if (!hintControl_ || !showHint_ || !hintControl_->ShowHint()) return;
    THintInfo info;
    info.HintControl = hintControl_;
    info.CursorPos = hintControl_->ScreenToClient(cursorPos);
    info.CursorRect = hintControl_->ClientRect();
    info.HintPos = cursorPos + TPoint(0, 20);
    info.HintMaxWidth = Screen->Width();
    info.HintColor = HintColor;
    info.HintStr = GetShortHint(HintOf(hintControl_));
    info.HideTimeout = HintHidePause;
    info.HintWindowClass = HintWindowClass;
    // The control may change or refuse its hint.
    if (hintControl_->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0 || info.HintStr.empty()) return;
    const TMetaClass* windowClass = info.HintWindowClass && info.HintWindowClass->InheritsFrom(&THintWindow::StaticClass())
                                        ? info.HintWindowClass : &THintWindow::StaticClass();
    if (hintWindow_ && &hintWindow_->ClassType() != windowClass) {
        delete hintWindow_;
        hintWindow_ = nullptr;
    }
    if (!hintWindow_) {
        hintWindow_ = static_cast<THintWindow*>(windowClass->Create(this));
        // Owned components go without telling the owner; this way we hear of it.
        hintWindow_->FreeNotification(this);
    }
    hintWindow_->SetColor(info.HintColor);
    TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    r.Offset(info.HintPos.x, info.HintPos.y);
    hintWindow_->ActivateHintData(r, info.HintStr, info.HintData);
    if (info.HideTimeout > 0) SetTimer(handle_, kHideTimer, static_cast<UINT>(info.HideTimeout), nullptr);
}

void TApplication::CancelHint() {
    if (hintTimer_) KillTimer(handle_, kShowTimer);
    KillTimer(handle_, kHideTimer);
    hintTimer_ = 0;
    hintControl_ = nullptr;
    if (hintWindow_) hintWindow_->ReleaseHandle();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == hintWindow_) hintWindow_ = nullptr;
}

void TApplication::WndProc(TMessage& m) {
    if (m.Msg != WM_TIMER) return;
    KillTimer(handle_, m.WParam);
    if (m.WParam == kShowTimer) {
        hintTimer_ = 0;
        ActivateHint(hintPos_);
    } else if (m.WParam == kHideTimer && hintWindow_) {
        hintWindow_->ReleaseHandle();
    }
}

// ---------------------------------------------------------------------------------------------
// TScreen

const TMetaClass& TScreen::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TScreen>("TScreen", &TComponent::StaticClass());
    return meta;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner), hintFont_(NewControlFont()) {}

TScreen::~TScreen() {
    if (Screen == this) Screen = nullptr;
}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) RaiseRangeError();
    return forms_[static_cast<std::size_t>(index)];
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
    std::erase(forms_, form);
    if (activeForm_ == form) activeForm_ = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* form) { activeForm_ = form; }

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    WidgetSet().SetScreenCursor(cursor);
}

TStrings* TScreen::Fonts() {
    if (!fonts_) {
        fonts_ = std::make_unique<TStringList>();
        for (const WideString& name : WidgetSet().FontNames()) fonts_->Add(Utf16ToUtf8(name));
        fonts_->SetSorted(true);
    }
    return fonts_.get();
}

int TScreen::Width() const { return DesktopRect().Width(); }
int TScreen::Height() const { return DesktopRect().Height(); }
TRect TScreen::DesktopRect() const { return WidgetSet().DesktopRect(); }
TRect TScreen::WorkAreaRect() const { return WidgetSet().WorkAreaRect(); }
int TScreen::MonitorCount() const { return static_cast<int>(WidgetSet().Monitors().size()); }
TRect TScreen::WorkAreaAt(TPoint point) const {
    const std::vector<TMonitorArea> monitors = WidgetSet().Monitors();
    return monitors.empty() ? WorkAreaRect() : monitors[NearestMonitor(monitors, point)].WorkArea;
}

TControl* TScreen::ControlAtPos(TPoint screenPos) const {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
        TCustomForm* f = *it;
        if (!f->Visible() || !f->BoundsRect().Contains(screenPos)) continue;
        TWinControl* at = f;
        for (;;) {
            TControl* c = at->ControlAtPos(at->ScreenToClient(screenPos), true, true);
            if (!c) return at;
            auto* w = dynamic_cast<TWinControl*>(c);
            if (!w) return c;
            at = w;
        }
    }
    return nullptr;
}
