// The application and the screen: TApplication (the message loop, idle, exceptions that reach
// the loop, hints, message boxes) and TScreen (forms, active form, cursor, fonts).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/Forms.h"

// What CM_HINTSHOW hands a control (through LParam) to adjust before its hint shows.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint CursorPos;
    TRect CursorRect;
    TPoint HintPos;
    int HintMaxWidth = 0;
    TColor HintColor = static_cast<TColor>(0xFF000018);  // clInfoBk
    WideString HintStr;
    int HideTimeout = 2500;
    const TMetaClass* HintWindowClass = nullptr;  // the application's HintWindowClass
    void* HintData = nullptr;                     // handed to ActivateHintData
};

class THintWindow;

using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TExceptionEvent = std::function<void(TObject* sender, const std::exception& error)>;

class TApplication : public TComponent {
    QUILLORA_COMPONENT(TApplication)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // Makes a form owned by the application, reads its form file; the first becomes MainForm.
    template <class F>
    void CreateForm(F*& reference) {
        auto* form = new F(this);  // owned by the application
        reference = form;
        AddForm(form);
    }
    // The loop until Terminate (or the main form closes).
    void Run();
    // Handles every waiting event and message, then returns.
    void ProcessMessages();
    // Handles one message, or idles and waits for the next.
    void HandleMessage();
    // The loop found no message: the visible forms update their actions, then OnIdle.
    void Idle();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // An exception that reached the loop: OnException, else ShowException.
    void HandleException(TObject* sender);
    void ShowException(const std::exception& error);

    TCustomForm* MainForm() const { return mainForm_; }
    HWND Handle() const { return handle_; }
    const WideString& Title() const { return title_; }
    void SetTitle(const WideString& title) { title_ = title; }
    int MessageBox(const WideString& text, const WideString& caption, UINT flags = MB_OK);
    bool Active() const { return active_; }
    void Minimize();
    void Restore();

    // Hints: the current hint text, and the hint window shown for the control under the mouse.
    const WideString& Hint() const { return hint_; }
    void SetHint(const WideString& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v) { showHint_ = v; }
    TColor HintColor = static_cast<TColor>(0xFF000018);
    int HintPause = 500;
    int HintShortPause = 50;
    int HintHidePause = 2500;
    // Hints of controls whose action has a shortcut show it: "Open (Ctrl+O)".
    bool HintShortCuts = true;
    // Shows the short hint of the control under the mouse now (the hint timer calls it).
    void ActivateHint(TPoint cursorPos);
    void CancelHint();
    // The control the mouse moved over (the windows report it): Hint becomes its long hint.
    void HintMouseMessage(TControl* control, TPoint clientPos);
    // A control going away: no hint is kept or shown for it.
    void ControlDestroyed(const TControl* control);
    // The hint window while one was shown.
    THintWindow* HintWindow() const { return hintWindow_; }

    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TNotifyEvent OnRestore;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnHint;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TExceptionEvent OnException;

    // Application messages (thread messages, WM_QUIT) and a form that closed or was released.
    void FormClosed(TCustomForm* form);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    bool ProcessMessage(MSG& msg);
    void ActionIdle();
    void WndProc(TMessage& m);

    HWND handle_ = nullptr;
    TCustomForm* mainForm_ = nullptr;
    WideString title_;
    WideString hint_;
    bool showHint_ = true;
    bool terminated_ = false;
    bool active_ = true;
    bool running_ = false;
    TControl* hintControl_ = nullptr;
    UINT_PTR hintTimer_ = 0;
    THintWindow* hintWindow_ = nullptr;  // owned as a component
    TPoint hintPos_;
    std::vector<TCustomForm*> released_;
};

class TScreen : public TComponent {
    QUILLORA_COMPONENT(TScreen)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;
    const std::vector<TCustomForm*>& AllForms() const { return forms_; }
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeForm_ ? activeForm_->ActiveControl() : nullptr; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TStrings* Fonts();
    int PixelsPerInch() const { return 96; }
    int Width() const;
    int Height() const;
    TRect DesktopRect() const;
    TRect WorkAreaRect() const;
    int MonitorCount() const;
    // The work area of the monitor holding a screen point, else of the one nearest to it.
    TRect WorkAreaAt(TPoint point) const;
    TFont* HintFont() const { return hintFont_.get(); }
    // The control at a screen point (the windows of shown forms, topmost form first).
    TControl* ControlAtPos(TPoint screenPos) const;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);

    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TCursor cursor_ = crDefault;
    std::unique_ptr<TStringList> fonts_;
    TFontPtr hintFont_;
};

extern TApplication* Application;
extern TScreen* Screen;

// Destroys the application's forms and components (at exit, or before a display backend goes).
void DoneApplication();
