#include "platform/vcl/Controls.h"

#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/OleDragDrop.h"

// ---------------------------------------------------------------------------------------------
// TWinControl

class TWinControl::Target : public TWindowTarget {
public:
    explicit Target(TWinControl& control) : control_(control) {}
    LRESULT WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        return control_.Perform(msg, wParam, lParam);
    }

private:
    TWinControl& control_;
};

const TMetaClass& TWinControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TWinControl>("TWinControl", &TControl::StaticClass(), [](TClassBuilder<TWinControl>& b) {
        b.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Default(-1)
            .Stored([](const TObject& o) { return static_cast<const TWinControl&>(o).Parent() != nullptr; });
        b.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
        b.Event("OnKeyDown", &TWinControl::OnKeyDown);
        b.Event("OnKeyUp", &TWinControl::OnKeyUp);
        b.Event("OnKeyPress", &TWinControl::OnKeyPress);
        b.Event("OnEnter", &TWinControl::OnEnter);
        b.Event("OnExit", &TWinControl::OnExit);
    });
    return meta;
}

const TMessageTable& TWinControl::ClassMessages() {
    static const TMessageTable table(&TControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_PAINT, TWinControl::WMPaint),
        MESSAGE_HANDLER(WM_ERASEBKGND, TWinControl::WMEraseBkgnd),
        MESSAGE_HANDLER(WM_SIZE, TWinControl::WMSize),
        MESSAGE_HANDLER(WM_SETFOCUS, TWinControl::WMSetFocus),
        MESSAGE_HANDLER(WM_KILLFOCUS, TWinControl::WMKillFocus),
        MESSAGE_HANDLER(WM_KEYDOWN, TWinControl::WMKeyDown),
        MESSAGE_HANDLER(WM_KEYUP, TWinControl::WMKeyUp),
        MESSAGE_HANDLER(WM_CHAR, TWinControl::WMChar),
        MESSAGE_HANDLER(WM_SYSKEYDOWN, TWinControl::WMSysKeyDown),
        MESSAGE_HANDLER(WM_SYSCHAR, TWinControl::WMSysChar),
        MESSAGE_HANDLER(CM_ENTER, TWinControl::CMEnter),
        MESSAGE_HANDLER(CM_EXIT, TWinControl::CMExit),
        MESSAGE_HANDLER(CM_DIALOGCHAR, TWinControl::CMDialogChar),
        MESSAGE_HANDLER(CM_DIALOGKEY, TWinControl::CMDialogKey),
        MESSAGE_HANDLER(CM_FONTCHANGED, TWinControl::CMFontChanged),
        MESSAGE_HANDLER(CM_COLORCHANGED, TWinControl::CMColorChanged),
        MESSAGE_HANDLER(CM_SHOWHINTCHANGED, TWinControl::CMShowHintChanged),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TWinControl::CMEnabledChangedWin),
        MESSAGE_HANDLER(CM_VISIBLECHANGED, TWinControl::CMVisibleChangedWin),
        MESSAGE_HANDLER(CM_TEXTCHANGED, TWinControl::CMTextChanged),
        MESSAGE_HANDLER(CM_FOCUSCHANGED, TWinControl::CMFocusChanged),
        MESSAGE_HANDLER(CM_CURSORCHANGED, TWinControl::CMCursorChanged),
    });
    return table;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), target_(std::make_unique<Target>(*this)) {}

TWinControl::~TWinControl() {
    Destroying();
    // Children go with their parent (their owner may be another component).
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        RemoveControl(c);
        delete c;
    }
    // Leave the parent while still a windowed control, so its tab list forgets this one.
    if (Parent()) Parent()->RemoveControl(this);
    if (HandleAllocated()) DestroyHandle();
    ForgetDropTargetOfControl(*this);
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded() {
    if (handle_) return;
    if (Parent()) Parent()->HandleNeeded();
    if (!handle_) CreateHandle();
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    CreateWnd();
    for (TWinControl* c : tabList_)
        if (!c->handle_) c->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params = TCreateParams();
    params.Caption = text_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (tabStop_) params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->handle_ : nullptr;
    params.WinClassName = WideFromAscii(std::string(ClassName()).c_str());
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (Parent() && !params.WndParent) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    controlState_ << csCreating;
    try {
        CreateWindowHandle(params);
    } catch (...) {
        controlState_ >> csCreating;
        throw;
    }
    controlState_ >> csCreating;
    UpdatePeer();
    // A drop registration belongs to the control, not to one of its windows.
    RestoreDropTargetOfWindow(*this, handle_);
    Perform(WM_CREATE, 0, 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    peer_ = WidgetSet().CreatePeer(*this, params, Parent() ? Parent()->peer_.get() : nullptr);
    if (!peer_) throw EOutOfResources("Error creating window for " + Name());
    handle_ = AllocateWindowHandle(target_.get());
}

void TWinControl::UpdatePeer() {
    if (!peer_) return;
    peer_->SetBounds(BoundsRect());
    peer_->SetText(text_);
    peer_->SetEnabled(Enabled());
    PushFontToPeer(*peer_, Font());
    peer_->SetColor(ColorToRGB(Color()));
    peer_->SetCursor(Cursor());
    peer_->SetVisible(Visible());
}

void TWinControl::DestroyWnd() {
    // The text a toolkit widget holds (an edit's) survives the window.
    if (peer_)
        if (std::optional<WideString> t = peer_->Text()) text_ = *t;
    Perform(WM_DESTROY, 0, 0);
    KeepDropTargetOfWindow(*this, handle_);
    FreeWindowHandle(handle_);
    handle_ = nullptr;
    peer_.reset();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    controlState_ << csDestroyingHandle;
    for (TWinControl* c : tabList_) c->DestroyHandle();
    DestroyWnd();
    controlState_ >> csDestroyingHandle;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    const bool wasFocused = Focused();
    DestroyHandle();
    HandleNeeded();
    if (wasFocused && CanFocus()) SetFocus();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) RaiseRangeError();
    return controls_[static_cast<std::size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
    if (!control || control->parent_ == this) return;
    if (auto* w = dynamic_cast<TWinControl*>(control)) tabList_.push_back(w);
    controls_.push_back(control);
    control->parent_ = this;
    if (!ComponentState().Contains(csLoading) && !control->ComponentState().Contains(csLoading)) {
        if (control->parentColor_) control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (control->parentFont_) control->Perform(CM_PARENTFONTCHANGED, 0, 0);
        if (control->parentShowHint_) control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    }
    control->UpdateAnchorRules();
    if (auto* w = dynamic_cast<TWinControl*>(control); w && handle_) w->HandleNeeded();
    if (control->Align() != alNone) Realign();
    control->Invalidate();
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), TRUE);
}

void TWinControl::RemoveControl(TControl* control) {
    if (!control || control->parent_ != this) return;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), FALSE);
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (w->HandleAllocated()) w->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
        if (TCustomForm* form = ParentForm()) form->ControlRemoved(w);
    }
    if (mouseControl_ == control) mouseControl_ = nullptr;
    control->Invalidate();
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    if (control->Align() != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        if (c->BoundsRect().Contains(pos)) return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        controls_[i]->WindowProc(message);
        if (message.Result != 0) return;
    }
}

void TWinControl::CMFocusChanged(TMessage& m) { Broadcast(m); }

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) const {
    for (TControl* c : controls_)
        if (c->Owner() == root) proc(c);
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AdjustClientRect(TRect&) const {}

TRect TWinControl::ClientRect() const { return TControl::ClientRect(); }

void TWinControl::AlignControl(TControl* control) {
    if (alignDisabled_ > 0 || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) {
        alignPending_ = true;
        return;
    }
    alignPending_ = false;
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    AlignControls(control, rect);
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
    if (aligning_) return;
    aligning_ = true;
    try {
        for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) AlignOne(a, rect);
        // Anchored controls keep their distance to the right and bottom edges.
        const TRect client = ClientRect();
        for (TControl* c : controls_) {
            if (c->Align() != alNone || !c->anchorRulesSet_) continue;
            const TAnchors a = c->Anchors();
            int left = c->Left(), top = c->Top(), width = c->Width(), height = c->Height();
            if (a.Contains(akRight)) {
                if (a.Contains(akLeft)) width = client.Width() - c->anchorRight_ - left;
                else left = client.Width() - c->anchorRight_ - width;
            }
            if (a.Contains(akBottom)) {
                if (a.Contains(akTop)) height = client.Height() - c->anchorBottom_ - top;
                else top = client.Height() - c->anchorBottom_ - height;
            }
            c->SetBounds(left, top, width, height);
        }
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignOne(TAlign align, TRect& rect) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
        if (c->Align() == align && c->Visible()) list.push_back(c);
    // Controls of one alignment stack in the order of their current places.
    std::stable_sort(list.begin(), list.end(), [align](const TControl* a, const TControl* b) {
        switch (align) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
        }
    });
    for (TControl* c : list) {
        int w = c->Width(), h = c->Height();
        switch (align) {
        case alTop:
            w = rect.Width();
            c->ConstrainSize(w, h);
            c->SetBounds(rect.left, rect.top, w, h);
            rect.top += c->Height();
            break;
        case alBottom:
            w = rect.Width();
            c->ConstrainSize(w, h);
            c->SetBounds(rect.left, rect.bottom - h, w, h);
            rect.bottom -= c->Height();
            break;
        case alLeft:
            h = rect.Height();
            c->ConstrainSize(w, h);
            c->SetBounds(rect.left, rect.top, w, h);
            rect.left += c->Width();
            break;
        case alRight:
            h = rect.Height();
            c->ConstrainSize(w, h);
            c->SetBounds(rect.right - w, rect.top, w, h);
            rect.right -= c->Width();
            break;
        case alClient:
            c->SetBounds(rect.left, rect.top, std::max<LONG>(rect.Width(), 0), std::max<LONG>(rect.Height(), 0));
            break;
        default: break;
        }
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent() || order < 0) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(order), list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    TCustomForm* form = ParentForm();
    if (form && form != this) {
        form->FocusControl(this);
        return;
    }
    HandleNeeded();
    peer_->SetFocus();
}

bool TWinControl::Focused() const { return peer_ && peer_->Focused(); }

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    auto it = std::find(list.begin(), list.end(), current);
    std::ptrdiff_t start = it == list.end() ? (goForward ? -1 : 0) : it - list.begin();
    const auto n = static_cast<std::ptrdiff_t>(list.size());
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((start + (goForward ? step : -step)) % n + n) % n;
        TWinControl* c = list[static_cast<std::size_t>(i)];
        if (c == current) break;
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false)) next->SetFocus();
}

void TWinControl::SelectFirst() {
    TCustomForm* form = ParentForm();
    TWinControl* first = FindNextControl(nullptr, true, true, false);
    if (!first) first = FindNextControl(nullptr, true, false, false);
    if (!first) return;
    if (form && !form->Visible())
        form->SetActiveControl(first);
    else
        first->SetFocus();
}

TPoint TWinControl::ClientOrigin() const {
    if (peer_) return peer_->ClientOrigin();
    return TControl::ClientOrigin();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    const int oldW = Width(), oldH = Height();
    TControl::SetBounds(left, top, width, height);
    if (peer_) peer_->SetBounds(BoundsRect());
    // Without a toolkit to report the new size, children realign here.
    if (Width() != oldW || Height() != oldH) Realign();
}

void TWinControl::Invalidate() {
    if (peer_) peer_->Invalidate(nullptr);
}

void TWinControl::Update() {
    if (peer_) peer_->Update();
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::DefWndProc(TMessage& m) {
    if (peer_ && peer_->DefaultMessage(m)) return;
    TControl::DefaultHandler(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
    DefWndProc(m);
    // The window shows its new text.
    if (m.Msg == WM_SETTEXT && peer_) peer_->SetText(text_);
}

void TWinControl::WndProc(TMessage& m) {
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL) {
        if (m.Msg == WM_MOUSEMOVE && Application) {
            const TPoint pos(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
            TControl* over = ControlAtPos(pos, false);
            Application->HintMouseMessage(over ? over : this, over ? pos - TPoint(over->Left(), over->Top()) : pos);
        }
        if (IsControlMouseMsg(m)) return;
        if (m.Msg == WM_MOUSEMOVE) TrackMouseControl(nullptr);
    }
    TControl::WndProc(m);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TWMMouse mouse(m);
    TControl* target = nullptr;
    TControl* const capture = GetCaptureControl();
    if (capture && capture->Parent() == this) {
        target = capture;
    } else if (!capture || capture == this) {
        target = ControlAtPos(mouse.Pos(), false);
        if (m.Msg == WM_MOUSEMOVE) TrackMouseControl(target);
    }
    if (!target || dynamic_cast<TWinControl*>(target)) return false;
    const TPoint local = mouse.Pos() - TPoint(target->Left(), target->Top());
    m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(local.x, local.y));
    return true;
}

void TWinControl::TrackMouseControl(TControl* control) {
    if (control == mouseControl_) return;
    TControl* old = mouseControl_;
    mouseControl_ = control;
    if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
    if (control) control->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::PaintHandler(HDC dc) {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int saved = SaveDC(dc);
    PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto it = first ? std::find(controls_.begin(), controls_.end(), first) : controls_.begin();
    for (; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        const int saved = SaveDC(dc);
        POINT org{};
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + c->Left(), org.y + c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::WMPaint(TWMPaint& m) {
    if (m.DC) PaintHandler(m.DC);
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& m) {
    if (!m.DC) return;
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    const TRect r = ClientRect();
    FillRect(m.DC, &r, brush);
    DeleteObject(brush);
    m.Result = 1;
}

void TWinControl::WMSize(TWMSize& m) {
    // The toolkit resized the window (the user dragged a frame): take the new size.
    if (m.SizeType != SIZE_MINIMIZED && (m.Width != ClientWidth() || m.Height != ClientHeight())) {
        const TRect c = ClientRect();
        TControl::SetBounds(Left(), Top(), Width() + m.Width - c.Width(), Height() + m.Height - c.Height());
        Realign();
    }
}

void TWinControl::WMSetFocus(TWMSetFocus&) {
    if (TCustomForm* form = ParentForm()) form->FocusChanged(this);
}

void TWinControl::WMKillFocus(TWMKillFocus&) {}

bool TWinControl::DoKeyDown(TWMKey& m) {
    WORD key = m.CharCode;
    const TShiftState shift = KeyDataToShiftState(m.KeyData);
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyDown(key, shift);
        if (key == 0) return true;
    }
    KeyDown(key, shift);
    if (key == 0) return true;
    m.Message.WParam = key;
    m.CharCode = key;
    return false;
}

bool TWinControl::DoKeyUp(TWMKey& m) {
    WORD key = m.CharCode;
    const TShiftState shift = KeyDataToShiftState(m.KeyData);
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyUp(key, shift);
        if (key == 0) return true;
    }
    KeyUp(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(TWMKey& m) {
    WideChar ch = static_cast<WideChar>(m.CharCode);
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyPress(ch);
        if (ch == 0) return true;
    }
    KeyPress(ch);
    if (ch == 0) return true;
    m.Message.WParam = ch;
    return false;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(WideChar& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::WMKeyDown(TWMKey& m) {
    if (IsMenuKey(m) || DoKeyDown(m)) return;
    // Keys the control does not want go to the form as dialog keys (Tab, arrows, Enter, Esc).
    const LRESULT wants = Perform(WM_GETDLGCODE, 0, 0);
    const WORD key = static_cast<WORD>(m.Message.WParam);
    const bool dialogKey = (key == VK_TAB && !(wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) ||
                           ((key == VK_RETURN || key == VK_ESCAPE) && !(wants & DLGC_WANTALLKEYS)) ||
                           ((key >= VK_LEFT && key <= VK_DOWN) && !(wants & (DLGC_WANTARROWS | DLGC_WANTALLKEYS)));
    if (dialogKey) {
        if (TCustomForm* form = ParentForm()) {
            if (form->Perform(CM_DIALOGKEY, key, m.Message.LParam) != 0) return;
        }
    }
    DefaultHandler(m.Message);
}

void TWinControl::WMKeyUp(TWMKey& m) {
    if (!DoKeyUp(m)) DefaultHandler(m.Message);
}

void TWinControl::WMChar(TWMKey& m) {
    if (!DoKeyPress(m)) DefaultHandler(m.Message);
}

void TWinControl::WMSysKeyDown(TWMKey& m) {
    if (!IsMenuKey(m) && !DoKeyDown(m)) DefaultHandler(m.Message);
}

void TWinControl::WMSysChar(TWMKey& m) {
    // Alt+letter: the form's controls look for their accelerator.
    if (TCustomForm* form = ParentForm()) {
        if (form->Perform(CM_DIALOGCHAR, m.Message.WParam, m.Message.LParam) != 0) {
            m.Result = 1;
            return;
        }
    }
    DefaultHandler(m.Message);
}

void TWinControl::CMDialogChar(TMessage& m) { Broadcast(m); }
// Enter and Escape reach the default and cancel buttons inside containers too.
void TWinControl::CMDialogKey(TMessage& m) { Broadcast(m); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::CMFontChanged(TMessage&) {
    if (peer_) PushFontToPeer(*peer_, Font());
    TMessage m{CM_PARENTFONTCHANGED, 0, 0, 0};
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->WindowProc(m);
    Invalidate();
}

void TWinControl::CMColorChanged(TMessage&) {
    if (peer_) peer_->SetColor(ColorToRGB(Color()));
    TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->WindowProc(m);
    Invalidate();
}

void TWinControl::CMShowHintChanged(TMessage&) {
    TMessage m{CM_PARENTSHOWHINTCHANGED, 0, 0, 0};
    for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->WindowProc(m);
}

void TWinControl::CMEnabledChangedWin(TMessage&) {
    if (!Enabled() && Focused())
        if (TCustomForm* form = ParentForm()) form->DefocusControl(this, false);
    if (peer_) peer_->SetEnabled(Enabled());
    Invalidate();
}

void TWinControl::CMVisibleChangedWin(TMessage&) {
    if (!Visible())
        if (TCustomForm* form = ParentForm(); form && form != this && ContainsControl(form->ActiveControl()))
            form->DefocusControl(this, true);
    if (peer_) peer_->SetVisible(Visible());
    else if (Visible() && Parent() && Parent()->HandleAllocated()) HandleNeeded();
}

void TWinControl::CMTextChanged(TMessage&) {}

void TWinControl::CMCursorChanged(TMessage&) {
    if (peer_) peer_->SetCursor(Cursor());
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}
