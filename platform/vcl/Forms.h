// Forms: TCustomForm/TForm (border, position, window state, modal showing with ModalResult,
// closing, focus and the active control, key preview) and the one hook through which tests
// answer every message box and modal form. The application and the screen are in
// Application.h, which this header includes for its callers.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Strings.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

QUILLORA_ENUM_TYPEINFO(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin")
QUILLORA_ENUM_TYPEINFO(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
QUILLORA_ENUM_TYPEINFO(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                       "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
QUILLORA_ENUM_TYPEINFO(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")
QUILLORA_ENUM_TYPEINFO(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")

using TModalResult = int;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                              mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// Message boxes.
inline constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
                      MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_ICONERROR = 0x10, MB_ICONHAND = 0x10,
                      MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONEXCLAMATION = 0x30,
                      MB_ICONINFORMATION = 0x40, MB_ICONASTERISK = 0x40, MB_DEFBUTTON2 = 0x100,
                      MB_DEFBUTTON3 = 0x200, MB_APPLMODAL = 0x0, MB_TASKMODAL = 0x2000,
                      MB_TYPEMASK = 0xF, MB_ICONMASK = 0xF0;
inline constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TMainMenu;

class TCustomForm : public TWinControl {
    QUILLORA_COMPONENT(TCustomForm)
    QUILLORA_MESSAGES()
public:
    // A form without a form file ("CreateNew").
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads the form files of the form's classes below TForm and fires OnCreate; done once.
    // Application->CreateForm calls it; a form built with new calls it after construction.
    // EResNotFound when a derived form class has no form file.
    void InitForm();

    TCanvas* Canvas() const { return canvas_.get(); }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style) { formStyle_ = style; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    int PixelsPerInch() const { return 96; }
    void SetPixelsPerInch(int) {}  // forms are laid out at 96 dots per inch
    // The menu bar; the client area starts below it.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    TRect ClientRect() const override;
    // A key message is a shortcut of the main menu or of an action list of the form: the item
    // or action ran (FormMenus.cpp).
    virtual bool IsShortCut(TWMKey& message);
    // The idle cycle's update of the actions of the form, its menu bar and its controls.
    void UpdateActions();

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    void DefocusControl(TWinControl* control, bool removing);
    bool Active() const { return active_; }

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    // Shows the form modally and runs the loop until ModalResult is set or the form closes;
    // returns ModalResult (mrCancel when closed). The modal hook, when set, answers instead of
    // a user.
    virtual TModalResult ShowModal();
    bool Modal() const { return modal_; }
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the loop is back from the current message.
    void Release();

    void SetVisible(bool visible) override;
    void Show();
    void BringToFront();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    friend class TWinControl;
    friend class TApplication;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void PaintWindow(HDC dc) override;
    virtual void Paint();
    // The class whose subclasses have form files: InitForm reads those below it.
    virtual const TMetaClass& FormFileRoot() const;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();
    void FocusChanged(TWinControl* control);
    void ControlRemoved(TWinControl* control);
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // A form file holds the form's components without a parent (timers, image lists, menus)
    // first, then its controls.
    void GetChildren(const TGetChildProc& proc, TComponent* root) const override;
    void PlaceOnScreen();

    void WMClose(TMessage& m);
    void WMActivate(TWMActivate& m);
    // The window manager minimized, maximized or restored the window: the state is read from
    // the window, and the main window's minimize and restore reach the application.
    void WMSize(TWMSize& m);
    void CMDialogKey(TMessage& m);
    void CMRelease(TMessage& m);
    void CMShowingChanged(TMessage& m);
    // WM_COMMAND, WM_INITMENUPOPUP, WM_MENUSELECT, WM_DRAWITEM, WM_MEASUREITEM, WM_MENUCHAR of
    // the menu bar.
    void WMMenuMessage(TMessage& m);

private:
    // Shows the menu bar on the window; a window being made keeps the client size it was given
    // (the bar adds to its height), a shown one keeps its size (the bar takes from its client).
    void AttachMenu(bool keepClientSize = false);

    TCanvasPtr canvas_;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = {biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDefaultPosOnly;
    TWindowState windowState_ = wsNormal;
    TFormStyle formStyle_ = fsNormal;
    bool keyPreview_ = false;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool active_ = false;
    bool initialized_ = false;
    bool placed_ = false;
};

class TForm : public TCustomForm {
    QUILLORA_COMPONENT(TForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// The one place tests answer dialogs: a message box or a modal form asks the hook first.
struct TModalRequest {
    enum Kind {
        MessageBox, ModalForm, OpenDialog, SaveDialog, PrintDialog, PrinterSetupDialog, FontDialog,
        FolderDialog, InputQuery, PopupMenu
    };
    Kind What = MessageBox;
    TCustomForm* Form = nullptr;  // ModalForm: shown, with its handle
    TComponent* Dialog = nullptr; // the dialog component asking (Dialogs.h), when one asks
    HMENU Menu = nullptr;         // PopupMenu: the menu and its screen point; answer a command
    TPoint Pos;                   // id, or kPopupMenuDismissed
    WideString Text;              // MessageBox; the prompt of InputQuery
    WideString Caption;
    UINT Flags = 0;
    // Answers of the dialogs. File dialogs: the names chosen and the 1-based filter index.
    // InputQuery: the value (the initial one on the way in). FolderDialog: Files[0].
    // Print dialogs: the printer chosen, or OutputFile to print into a PDF file.
    std::vector<WideString> Files;
    int FilterIndex = 0;
    WideString Value;
    WideString PrinterName;
    WideString OutputFile;
};
// Returns the answer (an ID* of a message box, an mr* of a form or dialog, a popup menu's
// command), or 0 to let the dialog run.
inline constexpr int kPopupMenuDismissed = -1;
using TModalHook = std::function<int(TModalRequest& request)>;
void SetModalHook(TModalHook hook);
// Asks the hook; 0 when none is set or it lets the dialog run.
int AskModalHook(TModalRequest& request);
// Installs a hook for its lifetime, then puts the earlier one back.
class TScopedModalHook {
public:
    explicit TScopedModalHook(TModalHook hook);
    ~TScopedModalHook();
    TScopedModalHook(const TScopedModalHook&) = delete;
    TScopedModalHook& operator=(const TScopedModalHook&) = delete;

private:
    TModalHook saved_;
};

// A message box with an owner window; 0 when none can be shown (no display and no hook).
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
void MessageBeep(UINT type);

// The form that holds a control (null for a control outside any form).
TCustomForm* GetParentForm(TControl* control);

// Room a window manager's frame takes around a window's client area.
inline constexpr int kFrameTitle = 32;
inline constexpr int kFrameBorder = 4;
// A window's rectangle moved and shrunk into the work area of the monitor it opens on (its
// middle's, else the primary one); unchanged when there is no real screen.
TRect FitToWorkArea(const TRect& window, bool framed);

#include "platform/vcl/Application.h"
