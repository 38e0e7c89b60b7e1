// Controls: TControl (bounds, alignment, anchors, constraints, visibility, enabled state, font
// and colour inherited from the parent, text, hint, cursor, mouse events, messages through a
// replaceable WindowProc), TWinControl (a window handle with a toolkit peer, child controls, tab
// order, focus, keys), TCustomControl and TGraphicControl that paint in Paint on a canvas.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/Components.h"
#include "platform/vcl/ControlGraphics.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/Types.h"
#include "platform/vcl/WidgetSet.h"
#include "platform/vcl/WinUser.h"

class TWinControl;
class TCustomForm;
class TBasicAction;
class TControlActionLink;

// The class of link a control makes for its action (the class library's link class reference).
using TControlActionLinkClass = std::unique_ptr<TControlActionLink> (*)(TControl* client);

QUILLORA_EXCEPTION_CLASS(EInvalidOperation, Exception);

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

QUILLORA_ENUM_TYPEINFO(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
QUILLORA_ENUM_TYPEINFO(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
// The scroll bars of memos and rich edits.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
QUILLORA_ENUM_TYPEINFO(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")
// How lists and trees keep their items in order.
enum TSortType { stNone, stData, stText, stBoth };
QUILLORA_ENUM_TYPEINFO(TSortType, "stNone", "stData", "stText", "stBoth")
QUILLORA_ENUM_TYPEINFO(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
QUILLORA_ENUM_TYPEINFO(TBiDiMode, "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly")

enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
    csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
    csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint,
    csParentBackground
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
    csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateItem>;

// Cursors: the class library's numbers.
using TCursor = std::int16_t;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                         crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                         crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
                         crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18,
                         crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
const TTypeInfo* CursorTypeInfo();
// The colour identifiers of form files (clBtnFace, clWindow, clRed ...).
const TTypeInfo* ColorTypeInfo();

// Window styles a control's CreateParams fills.
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_MINIMIZE = 0x20000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_MAXIMIZE = 0x01000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
inline constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

struct TCreateParams {
    WideString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WideString WinClassName;
    // A custom control paints itself in Paint; otherwise the toolkit draws a standard widget.
    bool OwnerPainted = true;
};

// Limits of a control's size; 0 means no limit.
class TSizeConstraints : public TPersistent {
    QUILLORA_PERSISTENT(TSizeConstraints)
public:
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int v);
    void SetMinHeight(int v);
    void SetMaxWidth(int v);
    void SetMaxHeight(int v);
    void Assign(const TPersistent* source) override;
    TNotifyEvent OnChange;

private:
    void Changed();
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TMouseWheelEvent = std::function<void(TObject* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, WideChar& key)>;
using TContextPopupEvent = std::function<void(TObject* sender, TPoint mousePos, bool& handled)>;

// The shift state of a mouse message's key bits, and of the keyboard now.
TShiftState KeysToShiftState(WORD keys);
TShiftState KeyDataToShiftState(LONG keyData);

class TControl : public TComponent {
    QUILLORA_COMPONENT(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // ---- messages
    // The hook point for a control's messages; replace it to see every message first, and call
    // the saved one to pass a message on. Starts as WndProc.
    std::function<void(TMessage& message)> WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void WndProc(TMessage& message);
    // Calls the handler the class tables hold for the message's number, else DefaultHandler.
    void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    static const TMessageTable& ClassMessages();
    virtual const TMessageTable& MessageTable() const { return ClassMessages(); }
    // Calls the handler of a parent class's table for the message (the "inherited" of a
    // message method), else DefaultHandler.
    void InheritedMessage(const TMessageTable& parentTable, TMessage& message);

    // ---- place and size
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const { return TRect(0, 0, width_, height_); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
    void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
    virtual void SetClientSize(int width, int height);
    // The screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& p) const { return p + ClientOrigin(); }
    TPoint ScreenToClient(const TPoint& p) const { return p - ClientOrigin(); }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors anchors);
    TSizeConstraints* Constraints() const { return constraints_.get(); }

    // ---- appearance
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible with every parent up to a shown top-level window.
    bool IsShowing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* font);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    // Caption and Text are one value, read and written through WM_GETTEXT and WM_SETTEXT so
    // that a control's own text handling applies.
    WideString Text() const;
    void SetText(const WideString& text);
    WideString Caption() const { return Text(); }
    void SetCaption(const WideString& text) { SetText(text); }
    int GetTextLen() const;
    const WideString& Hint() const { return hint_; }
    void SetHint(const WideString& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* menu);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode mode) { biDiMode_ = mode; }
    bool UseRightToLeftAlignment() const { return biDiMode_ == bdRightToLeft; }
    bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }

    // ---- actions: the linked action's caption, enabled, hint and visible state reach the
    // control, and a click runs the action (ControlActions.cpp)
    TBasicAction* Action() const;
    void SetAction(TBasicAction* action);
    TControlActionLink* ActionLink() const { return actionLink_.get(); }
    // Asks the linked action to update (the idle cycle calls it for visible controls).
    virtual void InitiateAction();

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle style) { controlStyle_ = style; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState state) { controlState_ = state; }

    // ---- painting
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // The form that holds this control.
    TCustomForm* ParentForm() const;

    // Form files: a control's parent holds it.
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;

    virtual void Click();

protected:
    friend class TWinControl;
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual void Resize();
    virtual void ChangeScale(int m, int d);
    // Called when bounds change, before the parent realigns.
    virtual void BoundsChanged() {}
    // The bounds the constraints allow.
    void ConstrainSize(int& width, int& height) const;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void SendCancelMode();
    void FontChanged(TObject* sender);
    // The anchors' distances from the parent's right and bottom edges, taken afresh.
    void UpdateAnchorRules();

    // The action changed (or was just linked: checkDefaults keeps what the control set).
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    virtual TControlActionLinkClass GetActionLinkClass() const;

    void WMLButtonDown(TWMMouse& m);
    void WMRButtonDown(TWMMouse& m);
    void WMMButtonDown(TWMMouse& m);
    void WMLButtonUp(TWMMouse& m);
    void WMRButtonUp(TWMMouse& m);
    void WMMButtonUp(TWMMouse& m);
    void WMLButtonDblClk(TWMMouse& m);
    void WMMouseMove(TWMMouse& m);
    void WMCancelMode(TMessage& m);
    void WMMouseWheel(TWMMouseWheel& m);
    void WMContextMenu(TWMContextMenu& m);
    void CMEnabledChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMParentFontChanged(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMParentShowHintChanged(TMessage& m);
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void CMHintShow(TMessage& m);

    WideString text_;
    TControlStyle controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState controlState_;

private:
    friend class TCustomForm;
    void DoMouseDown(TWMMouse& m, TMouseButton button, TShiftState extra);
    void DoMouseUp(TWMMouse& m, TMouseButton button);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = {akLeft, akTop};
    int anchorRight_ = 0, anchorBottom_ = 0;  // distances kept by akRight / akBottom
    bool anchorRulesSet_ = false;
    std::unique_ptr<TSizeConstraints> constraints_;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_;
    bool parentColor_ = true;
    TFontPtr font_;
    bool parentFont_ = true;
    bool fontChanging_ = false;
    WideString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TComponent* popupMenu_ = nullptr;
    std::unique_ptr<TControlActionLink> actionLink_;
    TBiDiMode biDiMode_ = bdLeftToRight;
};

// The window that a toolkit peer shows; its handle exists from CreateWnd to DestroyWnd.
class TWinControl : public TControl {
    QUILLORA_COMPONENT(TWinControl)
    QUILLORA_MESSAGES()
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // ---- the handle
    HWND Handle();  // made on first use
    HWND WindowHandle() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    void RecreateWnd();
    void DestroyHandle();
    TWidgetPeer* Peer() const { return peer_.get(); }

    // ---- children
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(const TControl* control) const;
    // The visible, enabled child control at a client point (windowed ones too when asked).
    TControl* ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls = false) const;
    void Broadcast(TMessage& message);
    void GetChildren(const TGetChildProc& proc, TComponent* root) const override;

    // ---- alignment
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    void Realign();
    bool AlignDisabled() const { return alignDisabled_ > 0; }
    TRect ClientRect() const override;

    // ---- focus and tabs
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v) { tabStop_ = v; }
    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;
    // Windowed controls in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    void SelectFirst();

    TPoint ClientOrigin() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    // Paints the window: the background, PaintWindow, then the graphic children.
    void PaintHandler(HDC dc);
    void PaintControls(HDC dc, TControl* first);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    friend class TControl;
    friend class TCustomForm;
    class Target;

    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    virtual void CreateHandle();
    // Messages that the toolkit window answers by default.
    virtual void DefWndProc(TMessage& message);
    void DefaultHandler(TMessage& message) override;
    void WndProc(TMessage& message) override;
    virtual void PaintWindow(HDC dc);
    // Sizes the area that children align in (the client rectangle less borders).
    virtual void AdjustClientRect(TRect& rect) const;
    virtual void AlignControls(TControl* control, TRect& rect);
    void AlignControl(TControl* control);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(WideChar& key);
    bool DoKeyDown(TWMKey& m);
    // A shortcut of a popup menu up the parent chain, or of the form's menu and actions, took
    // the key (FormMenus.cpp).
    bool IsMenuKey(TWMKey& m);
    bool DoKeyUp(TWMKey& m);
    bool DoKeyPress(TWMKey& m);
    virtual void DoEnter();
    virtual void DoExit();
    void Loaded() override;
    TControlActionLinkClass GetActionLinkClass() const override;
    // Pushes the control's state to a fresh peer.
    void UpdatePeer();

    void WMPaint(TWMPaint& m);
    void WMEraseBkgnd(TWMEraseBkgnd& m);
    void WMSize(TWMSize& m);
    void WMSetFocus(TWMSetFocus& m);
    void WMKillFocus(TWMKillFocus& m);
    void WMKeyDown(TWMKey& m);
    void WMKeyUp(TWMKey& m);
    void WMChar(TWMKey& m);
    void WMSysKeyDown(TWMKey& m);
    void WMSysChar(TWMKey& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMDialogKey(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMShowHintChanged(TMessage& m);
    void CMEnabledChangedWin(TMessage& m);
    void CMVisibleChangedWin(TMessage& m);
    void CMTextChanged(TMessage& m);
    void CMCursorChanged(TMessage& m);
    // Passes the form's focus change on to the children.
    void CMFocusChanged(TMessage& m);

private:
    void AlignOne(TAlign align, TRect& rect);
    bool IsControlMouseMsg(TMessage& m);
    void TrackMouseControl(TControl* control);

    HWND handle_ = nullptr;
    std::unique_ptr<TWidgetPeer> peer_;
    std::unique_ptr<Target> target_;
    std::vector<TControl*> controls_;     // graphic and windowed children, in z order
    std::vector<TWinControl*> tabList_;   // windowed children in tab order
    int alignDisabled_ = 0;
    bool alignPending_ = false;
    bool aligning_ = false;
    bool tabStop_ = false;
    TControl* mouseControl_ = nullptr;    // the graphic child under the mouse
};

// A windowed control that paints itself in Paint on its canvas.
class TCustomControl : public TWinControl {
    QUILLORA_COMPONENT(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;

private:
    TCanvasPtr canvas_;
};

// A control without a window: its parent paints it (Paint, on a canvas over the parent's
// context) and hands it the mouse messages over it.
class TGraphicControl : public TControl {
    QUILLORA_COMPONENT(TGraphicControl)
    QUILLORA_MESSAGES()
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void WMPaint(TWMPaint& m);

private:
    TCanvasPtr canvas_;
};

// The control whose window has the keyboard focus, and the mouse capture.
TWinControl* FindControl(HWND window);
TControl* GetCaptureControl();
// The capture is the class library's own: the toolkit already sends a pressed widget its moves
// and release, and a grab of its own would outlive a press whose click runs a modal loop.
void SetCaptureControl(TControl* control);
// Ends the capture the way a cancel-mode message does: the captured control gets WM_CANCELMODE
// and forgets its press, so the release that follows fires no click. Modal loops, message
// pumping, popup loops and drags call it before they run.
void CancelMouseCapture();

// The mouse: cursor position in screen coordinates, wheel presence, drag threshold.
class TMouse {
public:
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint& p);
    bool WheelPresent() const { return true; }
    int WheelScrollLines() const { return 3; }
    int DragThreshold() const { return 5; }
    HWND Capture() const;
};
extern TMouse* Mouse;
