#include "controls/styled/RzTabButtons.h"

#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/WinMenus.h"

namespace {

// The class library's popup menu: one item a tab, the chosen tab's index (-1 for none).
int PopupMenuOfTabs(const std::vector<TRzTabMenuEntry>& entries, const TRzTabMenuPlacement& at) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TRzTabMenuEntry& e = entries[i];
        const UINT flags = MF_STRING | (e.Enabled ? 0 : MF_GRAYED) | (e.Checked ? MF_CHECKED : 0);
        AppendMenuW(menu, flags, i + 1, e.Caption.c_str());
    }
    const UINT flags = TPM_RETURNCMD | (at.RightAligned ? TPM_RIGHTALIGN : 0);
    const int chosen = static_cast<int>(TrackPopupMenu(menu, flags, at.At.x, at.At.y, 0, at.Owner, nullptr));
    DestroyMenu(menu);
    if (chosen <= 0 || static_cast<std::size_t>(chosen) > entries.size()) return -1;
    return entries[static_cast<std::size_t>(chosen) - 1].Tag;
}

TRzTabMenuPopup& SharedPopup() {
    static TRzTabMenuPopup popup = PopupMenuOfTabs;
    return popup;
}

TRzCustomTabControl* TabsOf(const TControl* c) { return dynamic_cast<TRzCustomTabControl*>(c->Parent()); }

// Arrow directions of PaintArrowButton.
enum { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

WideString Lower(const WideString& s) {
    WideString r = s;
    for (auto& c : r)
        if (c >= u'A' && c <= u'Z') c = static_cast<WideChar>(c - u'A' + u'a');
    return r;
}

}  // namespace

void SetTabMenuPopup(TRzTabMenuPopup popup) { SharedPopup() = popup ? std::move(popup) : PopupMenuOfTabs; }

void PaintStripButtonFace(TCanvas& canvas, const TRect& r, const TRzCustomTabControl& tabs, TColor frameColor, bool hot,
                          bool down) {
    const TRzTabColors& colors = *tabs.TabColors();
    if (tabs.UseGradients()) {
        TColor first = colors.Shadow(), second = colors.Unselected();
        if (down) {
            first = DarkerColor(colors.Unselected(), 30);
            second = DarkerColor(colors.Shadow(), 30);
        } else if (hot) {
            first = LighterColor(colors.Shadow(), 30);
            second = LighterColor(colors.Unselected(), 30);
        }
        TRect inner = r;
        inner.Inflate(-1, -1);
        PaintGradient(canvas, inner, gdHorizontalEnd, 1, first, second);
        canvas.Brush()->SetStyle(bsClear);
    } else {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(colors.Unselected());
    }
    canvas.Pen()->SetColor(frameColor);
    canvas.Rectangle(r);
    canvas.Brush()->SetStyle(bsSolid);
}

// ---- scroller

const TMetaClass& TRzTabScroller::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzTabScroller>(
        "TRzTabScroller", &TCustomControl::StaticClass(), [](TClassBuilder<TRzTabScroller>& b) {
            b.Property("FrameColor", &TRzTabScroller::FrameColor, &TRzTabScroller::SetFrameColor).Type(ColorTypeInfo());
            b.Property("Orientation", &TRzTabScroller::Orientation, &TRzTabScroller::SetOrientation).Default(orHorizontal);
            b.Event("OnUpRightClick", &TRzTabScroller::OnUpRightClick);
            b.Event("OnDownLeftClick", &TRzTabScroller::OnDownLeftClick);
        });
    return meta;
}

const TMessageTable& TRzTabScroller::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_MOUSEENTER, TRzTabScroller::CMMouseEnter),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzTabScroller::CMMouseLeave),
        MESSAGE_HANDLER(WM_ERASEBKGND, TRzTabScroller::WMEraseBkgnd),
        MESSAGE_HANDLER(CM_DESIGNHITTEST, TRzTabScroller::CMDesignHitTest),
    });
    return table;
}

TRzTabScroller::TRzTabScroller(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 33, 17); }
TRzTabScroller::~TRzTabScroller() = default;

void TRzTabScroller::SetFrameColor(TColor c) {
    if (frameColor_ == c) return;
    frameColor_ = c;
    Invalidate();
}

void TRzTabScroller::SetOrientation(TOrientation o) {
    if (orientation_ == o) return;
    orientation_ = o;
    Invalidate();
}

void TRzTabScroller::Paint() {
    TRzCustomTabControl* tabs = TabsOf(this);
    TCanvas& c = *Canvas();
    const TRect r = ClientRect();
    const TColor face = LighterColor(frameColor_, 30);
    TRect downLeft, upRight;
    if (orientation_ == orHorizontal) {
        downLeft = TRect(r.left, r.top, r.left + r.Width() / 2 + 1, r.bottom);
        upRight = TRect(r.right - r.Width() / 2 - 1, r.top, r.right, r.bottom);
    } else {
        downLeft = TRect(r.left, r.bottom - r.Height() / 2 - 1, r.right, r.bottom);
        upRight = TRect(r.left, r.top, r.right, r.top + r.Height() / 2 + 1);
    }
    // Which half scrolls back: the down/left one, except on right tabs; reverse swaps both.
    bool upRightForward = !tabs || tabs->TabOrientation() != toRight;
    if (tabs && tabs->TabSequence() == tsReverse) upRightForward = !upRightForward;
    const bool backEnabled = tabs && tabs->CanScrollBack();
    const bool forwardEnabled = tabs && tabs->CanScrollForward();
    const bool halves[2] = {false, true};
    for (bool isUpRight : halves) {
        const TRect& half = isUpRight ? upRight : downLeft;
        const bool down = state_.down && upRight_ == isUpRight;
        if (tabs) PaintStripButtonFace(c, half, *tabs, face, state_.hot, down);
        const bool forward = isUpRight == upRightForward;
        const int dir = orientation_ == orHorizontal ? (isUpRight ? kRight : kLeft) : (isUpRight ? kUp : kDown);
        TRect glyph = half;
        glyph.Inflate(-1, -1);
        PaintArrowButton(c, glyph, false, forward ? forwardEnabled : backEnabled, down, dir);
    }
}

bool TRzTabScroller::InPressedHalf(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return false;
    if (orientation_ == orHorizontal) return upRight_ ? x >= Width() / 2 : x < Width() / 2;
    return upRight_ ? y <= Height() / 2 : y > Height() / 2;
}

void TRzTabScroller::FirePressed() {
    if (upRight_) {
        if (OnUpRightClick) OnUpRightClick(this);
    } else if (OnDownLeftClick) {
        OnDownLeftClick(this);
    }
}

void TRzTabScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    upRight_ = orientation_ == orHorizontal ? x >= Width() / 2 : y <= Height() / 2;
    state_.Press();
    Invalidate();
    SetCaptureControl(this);
    if (!timer_) {
        timer_ = std::make_unique<TTimer>(nullptr);
        timer_->SetOnTimer([this](TObject*) { TimerTick(); });
    }
    timer_->SetEnabled(false);
    timer_->SetInterval(400);
    timer_->SetEnabled(true);
}

void TRzTabScroller::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (state_.Move(InPressedHalf(x, y))) Invalidate();
}

void TRzTabScroller::TimerTick() {
    if (timer_) timer_->SetInterval(100);
    if (!state_.down || GetCaptureControl() != this) return;
    try {
        FirePressed();
    } catch (...) {
        if (timer_) timer_->SetEnabled(false);
        throw;
    }
}

void TRzTabScroller::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (timer_) timer_->SetEnabled(false);
    if (GetCaptureControl() == this) SetCaptureControl(nullptr);
    if (state_.Release()) {
        FirePressed();
        Invalidate();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TRzTabScroller::CMMouseEnter(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    state_.hot = true;
    Invalidate();
}

void TRzTabScroller::CMMouseLeave(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    state_.hot = false;
    Invalidate();
}

// ---- strip close button

const TMetaClass& TRzTabControlCloseButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzTabControlCloseButton>(
        "TRzTabControlCloseButton", &TCustomControl::StaticClass(), [](TClassBuilder<TRzTabControlCloseButton>& b) {
            b.Property("FrameColor", &TRzTabControlCloseButton::FrameColor, &TRzTabControlCloseButton::SetFrameColor)
                .Type(ColorTypeInfo());
            b.Event("OnClose", &TRzTabControlCloseButton::OnClose);
        });
    return meta;
}

const TMessageTable& TRzTabControlCloseButton::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_MOUSEENTER, TRzTabControlCloseButton::CMMouseEnter),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzTabControlCloseButton::CMMouseLeave),
        MESSAGE_HANDLER(WM_ERASEBKGND, TRzTabControlCloseButton::WMEraseBkgnd),
    });
    return table;
}

TRzTabControlCloseButton::TRzTabControlCloseButton(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 17, 17);
}

void TRzTabControlCloseButton::SetFrameColor(TColor c) {
    if (frameColor_ == c) return;
    frameColor_ = c;
    Invalidate();
}

void TRzTabControlCloseButton::Paint() {
    TCanvas& c = *Canvas();
    const TRect r = ClientRect();
    if (TRzCustomTabControl* tabs = TabsOf(this))
        PaintStripButtonFace(c, r, *tabs, LighterColor(frameColor_, 30), state_.hot, state_.down);
    TRect glyph = r;
    glyph.Inflate(-1, -1);
    PaintCloseButton(c, glyph, false, Enabled(), state_.down);
}

void TRzTabControlCloseButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    state_.Press();
    Invalidate();
    SetCaptureControl(this);
}

void TRzTabControlCloseButton::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (state_.Move(x >= 0 && y >= 0 && x < Width() && y < Height())) Invalidate();
}

void TRzTabControlCloseButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (GetCaptureControl() == this) SetCaptureControl(nullptr);
    if (state_.Release()) {
        Released();
        Invalidate();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TRzTabControlCloseButton::Released() {
    if (OnClose) OnClose(this);
}

void TRzTabControlCloseButton::CMMouseEnter(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    state_.hot = true;
    Invalidate();
}

void TRzTabControlCloseButton::CMMouseLeave(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    state_.hot = false;
    Invalidate();
}

// ---- menu button

const TMetaClass& TRzTabMenuButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzTabMenuButton>(
        "TRzTabMenuButton", &TRzTabControlCloseButton::StaticClass(),
        [](TClassBuilder<TRzTabMenuButton>& b) { b.Event("OnDisplayMenu", &TRzTabMenuButton::OnDisplayMenu); });
    return meta;
}

void TRzTabMenuButton::Paint() {
    TCanvas& c = *Canvas();
    const TRect r = ClientRect();
    TRzCustomTabControl* tabs = TabsOf(this);
    if (tabs) PaintStripButtonFace(c, r, *tabs, LighterColor(frameColor_, 30), state_.hot, state_.down);
    int dir = kDown;
    if (tabs) {
        switch (tabs->TabOrientation()) {
        case toTop: dir = kDown; break;
        case toBottom: dir = kUp; break;
        case toLeft: dir = kRight; break;
        case toRight: dir = kLeft; break;
        }
    }
    TRect glyph = r;
    glyph.Inflate(-1, -1);
    PaintArrowButton(c, glyph, false, true, state_.down, dir);
}

std::vector<TRzTabMenuEntry> TabMenuEntries(const TRzCustomTabControl& tabs) {
    std::vector<TRzTabMenuEntry> entries;
    for (int i = 0; i < tabs.Tabs().Count(); ++i) {
        const TRzTabData* tab = tabs.Tabs().Items(i);
        if (!tab->Visible) continue;
        TRzTabMenuEntry e;
        e.Caption = tab->Caption;
        e.Enabled = tab->Enabled;
        e.Checked = i == tabs.TabIndex();
        e.ImageIndex = !tab->Enabled && tab->DisabledIndex != -1 ? tab->DisabledIndex : tab->ImageIndex;
        e.Tag = i;
        entries.push_back(std::move(e));
    }
    // Every tab keeps its entry, also when captions are equal: otherwise one would be unreachable.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TRzTabMenuEntry& a, const TRzTabMenuEntry& b) { return Lower(a.Caption) < Lower(b.Caption); });
    return entries;
}

TRzTabMenuPlacement TRzTabMenuButton::MenuPlacement() const {
    TRzTabMenuPlacement p;
    TRzCustomTabControl* tabs = TabsOf(this);
    if (tabs) p.Owner = tabs->Handle();
    const bool standard = !tabs || tabs->TabSequence() == tsStandard;
    const TRzTabOrientation o = tabs ? tabs->TabOrientation() : toTop;
    const int w = Width(), h = Height();
    switch (o) {
    case toTop:
        p.At = standard ? TPoint(w, h) : TPoint(0, h);
        p.RightAligned = standard;
        break;
    case toBottom:
        p.At = standard ? TPoint(w, 0) : TPoint(0, 0);
        p.RightAligned = standard;
        break;
    case toLeft:
        p.At = TPoint(w, 0);
        p.RightAligned = false;
        break;
    case toRight:
        p.At = TPoint(0, 0);
        p.RightAligned = true;
        break;
    }
    p.At = ClientToScreen(p.At);
    return p;
}

void TRzTabMenuButton::DisplayMenu() {
    TRzCustomTabControl* tabs = TabsOf(this);
    if (!tabs) return;
    if (OnDisplayMenu) OnDisplayMenu(this);
    const std::vector<TRzTabMenuEntry> entries = TabMenuEntries(*tabs);
    if (!SharedPopup()) return;
    const int chosen = SharedPopup()(entries, MenuPlacement());
    if (chosen >= 0) tabs->SetTabIndex(chosen);
}

// ---- close button on the active tab

const TMetaClass& TRzActiveTabCloseButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzActiveTabCloseButton>(
        "TRzActiveTabCloseButton", &TGraphicControl::StaticClass(), [](TClassBuilder<TRzActiveTabCloseButton>& b) {
            b.Property("FrameColor", &TRzActiveTabCloseButton::FrameColor, &TRzActiveTabCloseButton::SetFrameColor)
                .Type(ColorTypeInfo());
            b.Event("OnClose", &TRzActiveTabCloseButton::OnClose);
        });
    return meta;
}

const TMessageTable& TRzActiveTabCloseButton::ClassMessages() {
    static const TMessageTable table(&TGraphicControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_MOUSEENTER, TRzActiveTabCloseButton::CMMouseEnter),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzActiveTabCloseButton::CMMouseLeave),
    });
    return table;
}

TRzActiveTabCloseButton::TRzActiveTabCloseButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 15, 13); }

void TRzActiveTabCloseButton::SetFrameColor(TColor c) {
    if (frameColor_ == c) return;
    frameColor_ = c;
    Invalidate();
}

void TRzActiveTabCloseButton::Paint() {
    TCanvas& c = *Canvas();
    const TRect r = ClientRect();
    TRzCustomTabControl* tabs = TabsOf(this);
    TColor glyph = frameColor_;
    if (state_.hot && tabs) {
        PaintStripButtonFace(c, r, *tabs, frameColor_, true, state_.down);
        glyph = tabs->TabColors()->HighlightBar();
    }
    TRect g = r;
    // The small button keeps a glyph that still reads as a cross.
    const int inset = r.Width() > 12 ? 3 : 2;
    g.Inflate(-inset, -inset);
    if (state_.down) g.Offset(1, 1);
    PaintCloseGlyph(c, g, glyph);
}

void TRzActiveTabCloseButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    state_.Press();
    Repaint();
}

void TRzActiveTabCloseButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (state_.Move(x >= 0 && y >= 0 && x < Width() && y < Height())) Repaint();
}

void TRzActiveTabCloseButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (state_.Release()) {
        if (OnClose) OnClose(this);
        Invalidate();
    }
    state_.hot = inside;
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TRzActiveTabCloseButton::CMMouseEnter(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    state_.hot = true;
    Repaint();
}

void TRzActiveTabCloseButton::CMMouseLeave(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    state_.hot = false;
    Repaint();
}

// ---- creating them for the tab control

void TRzCustomTabControl::EnsureScroller() {
    if (scroller_) return;
    scroller_ = new TRzTabScroller(this);  // owned by this control as a component
    scroller_->SetParent(this);
    scroller_->SetFrameColor(FlatColorAdjusted());
    scroller_->OnUpRightClick = [this](TObject*) {
        bool forward = tabOrientation_ != toRight;
        if (tabSequence_ == tsReverse) forward = !forward;
        ScrollTabs(forward);
    };
    scroller_->OnDownLeftClick = [this](TObject*) {
        bool forward = tabOrientation_ == toRight;
        if (tabSequence_ == tsReverse) forward = !forward;
        ScrollTabs(forward);
    };
}

void TRzCustomTabControl::EnsureCloseButton() {
    if (closeButton_) return;
    closeButton_ = new TRzTabControlCloseButton(this);  // owned by this control as a component
    closeButton_->SetParent(this);
    closeButton_->SetFrameColor(FlatColorAdjusted());
    closeButton_->OnClose = [this](TObject*) { CloseActiveTab(); };
}

void TRzCustomTabControl::EnsureMenuButton() {
    if (menuButton_) return;
    menuButton_ = new TRzTabMenuButton(this);  // owned by this control as a component
    menuButton_->SetParent(this);
    menuButton_->SetFrameColor(FlatColorAdjusted());
}

void TRzCustomTabControl::EnsureActiveCloseButton() {
    if (activeCloseButton_) return;
    activeCloseButton_ = new TRzActiveTabCloseButton(this);  // owned by this control as a component
    activeCloseButton_->SetParent(this);
    activeCloseButton_->SetFrameColor(FlatColorAdjusted());
    activeCloseButton_->OnClose = [this](TObject*) { CloseActiveTab(); };
}

void TRzCustomTabControl::PushFrameColor() {
    const TColor c = FlatColorAdjusted();
    if (scroller_) scroller_->SetFrameColor(c);
    if (closeButton_) closeButton_->SetFrameColor(c);
    if (menuButton_) menuButton_->SetFrameColor(c);
    if (activeCloseButton_) activeCloseButton_->SetFrameColor(c);
}

void TRzCustomTabControl::UpdateActiveCloseButton() {
    if (!activeCloseButton_) return;
    const TRect r = ActiveTabCloseButtonBounds();
    const bool show = showCloseButtonOnActiveTab_ && tabIndex_ >= 0 && TabIsShown(tabIndex_) && !r.IsEmpty();
    if (show) activeCloseButton_->SetBoundsRect(r);
    activeCloseButton_->SetVisible(show);
}
