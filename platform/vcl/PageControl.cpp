#include "platform/vcl/PageControl.h"

#include <algorithm>

#include "platform/vcl/Forms.h"

// Without a toolkit row of tabs the row is as high as the platform's.
static constexpr int kDefaultTabHeight = 22;
static constexpr int kFrame = 4;

// ---- TCustomTabControl

const TMetaClass& TCustomTabControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomTabControl>("TCustomTabControl", &TWinControl::StaticClass(), [](TClassBuilder<TCustomTabControl>& b) {
        b.Property("Images", &TCustomTabControl::Images, &TCustomTabControl::SetImages);
        b.Property("TabStop", &TCustomTabControl::TabStop, &TCustomTabControl::SetTabStop).Default(true);
        b.Event("OnChange", &TCustomTabControl::OnChange);
        b.Event("OnChanging", &TCustomTabControl::OnChanging);
    });
    return meta;
}

const TMessageTable& TCustomTabControl::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_NOTIFY, TCustomTabControl::CNNotify),
    });
    return table;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    controlStyle_ = {csAcceptsControls, csDoubleClicks, csOpaque};
}

TCustomTabControl::~TCustomTabControl() { SetImages(nullptr); }

TTabControlPeer* TCustomTabControl::TabPeer() const { return dynamic_cast<TTabControlPeer*>(Peer()); }

void TCustomTabControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"SysTabControl32";
    params.Style |= WS_CLIPCHILDREN;
}

void TCustomTabControl::CreateWnd() {
    TWinControl::CreateWnd();
    PushTabs();
    // The toolkit's row of tabs has its own height: the pages move under it.
    Realign();
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) SetImages(nullptr);
}

void TCustomTabControl::SetImages(TCustomImageList* list) {
    if (ChangeImageList(*this, images_, list, [this](TObject*) { PushTabs(); })) PushTabs();
}

WideString TCustomTabControl::TabCaption(int index) const {
    return index >= 0 && index < TabCount() ? tabs_[static_cast<std::size_t>(index)].caption : WideString();
}

int TCustomTabControl::TabImage(int index) const {
    return index >= 0 && index < TabCount() ? tabs_[static_cast<std::size_t>(index)].image : -1;
}

void TCustomTabControl::SetTabIndex(int index) { Perform(TCM_SETCURSEL, static_cast<WPARAM>(index), 0); }

TRect TCustomTabControl::TabRect(int index) const {
    RECT r{};
    const_cast<TCustomTabControl*>(this)->Perform(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return TRect(r.left, r.top, r.right, r.bottom);
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const {
    for (int i = 0; i < TabCount(); ++i)
        if (TabRect(i).Contains(TPoint(x, y))) return i;
    return -1;
}

TRect TCustomTabControl::DisplayRect() const {
    TRect r = ClientRect();
    AdjustClientRect(r);
    return r;
}

void TCustomTabControl::AdjustClientRect(TRect& rect) const {
    const TTabControlPeer* peer = TabPeer();
    const int tabHeight = peer ? peer->TabHeight() : kDefaultTabHeight;
    rect = TRect(rect.left + kFrame, rect.top + tabHeight + kFrame, std::max(rect.left + kFrame, rect.right - kFrame),
                 std::max(rect.top + tabHeight + kFrame, rect.bottom - kFrame));
}

void TCustomTabControl::SetTabList(std::vector<Tab> tabs) {
    tabs_ = std::move(tabs);
    if (tabIndex_ >= TabCount()) tabIndex_ = TabCount() - 1;
    PushTabs();
}

void TCustomTabControl::PushTabs() {
    if (auto* peer = TabPeer()) {
        peer->TabsChanged();
        peer->SetTabIndex(tabIndex_);
    }
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

bool TCustomTabControl::SelectTabByUser(int index) {
    if (index < 0 || index >= TabCount() || index == tabIndex_) return false;
    NMHDR header;
    header.hwndFrom = WindowHandle();
    header.code = TCN_SELCHANGING;
    if (Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)) != 0) return false;
    Perform(TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    header.code = TCN_SELCHANGE;
    Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    return true;
}

void TCustomTabControl::KeyDown(WORD& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    if (key == 0 || !shift.Empty()) return;
    // The arrows move between tabs while the row of tabs has the focus.
    if (key == VK_LEFT || key == VK_RIGHT) {
        const int next = tabIndex_ + (key == VK_RIGHT ? 1 : -1);
        if (next >= 0 && next < TabCount()) SelectTabByUser(next);
        key = 0;
    }
}

void TCustomTabControl::CNNotify(TWMNotify& m) {
    if (!m.NMHdr) return;
    if (m.NMHdr->code == TCN_SELCHANGING) m.Result = CanChange() ? 0 : 1;
    else if (m.NMHdr->code == TCN_SELCHANGE) Change();
}

void TCustomTabControl::WndProc(TMessage& m) {
    auto tab = [this](WPARAM i) -> Tab* { return i < tabs_.size() ? &tabs_[i] : nullptr; };
    switch (m.Msg) {
    case TCM_GETITEMCOUNT: m.Result = TabCount(); return;
    case TCM_GETCURSEL: m.Result = tabIndex_; return;
    case TCM_SETCURSEL: {
        m.Result = tabIndex_;
        const int index = static_cast<int>(static_cast<LPARAM>(m.WParam));
        if (index < -1 || index >= TabCount()) {
            m.Result = -1;
            return;
        }
        tabIndex_ = index;
        if (auto* peer = TabPeer()) peer->SetTabIndex(index);
        return;
    }
    case TCM_SETITEMA:
    case TCM_SETITEMW:
    case TCM_INSERTITEMA:
    case TCM_INSERTITEMW: {
        const bool wide = m.Msg == TCM_SETITEMW || m.Msg == TCM_INSERTITEMW;
        const bool insert = m.Msg == TCM_INSERTITEMA || m.Msg == TCM_INSERTITEMW;
        const auto* w = reinterpret_cast<const TCITEMW*>(m.LParam);
        const auto* a = reinterpret_cast<const TCITEMA*>(m.LParam);
        if (!m.LParam) { m.Result = insert ? -1 : 0; return; }
        const UINT mask = wide ? w->mask : a->mask;
        Tab value;
        if (insert) {
            const std::size_t at = std::min<std::size_t>(m.WParam, tabs_.size());
            tabs_.insert(tabs_.begin() + static_cast<std::ptrdiff_t>(at), value);
            if (tabIndex_ >= static_cast<int>(at)) ++tabIndex_;
            if (tabIndex_ < 0) tabIndex_ = 0;
            m.Result = static_cast<LRESULT>(at);
        } else {
            m.Result = tab(m.WParam) ? 1 : 0;
        }
        Tab* t = tab(insert ? static_cast<WPARAM>(m.Result) : m.WParam);
        if (!t) return;
        if (mask & TCIF_TEXT) {
            if (wide) t->caption = w->pszText ? WideString(w->pszText) : WideString();
            else t->caption = a->pszText ? Utf8ToUtf16(a->pszText) : WideString();
        }
        if (mask & TCIF_IMAGE) t->image = wide ? w->iImage : a->iImage;
        if (mask & TCIF_PARAM) t->object = wide ? w->lParam : a->lParam;
        PushTabs();
        return;
    }
    case TCM_GETITEMW: {
        auto* w = reinterpret_cast<TCITEMW*>(m.LParam);
        const Tab* t = tab(m.WParam);
        m.Result = t && w ? 1 : 0;
        if (!m.Result) return;
        if ((w->mask & TCIF_TEXT) && w->pszText && w->cchTextMax > 0) {
            const std::size_t n = std::min<std::size_t>(t->caption.size(), static_cast<std::size_t>(w->cchTextMax - 1));
            std::copy_n(t->caption.begin(), n, w->pszText);
            w->pszText[n] = 0;
        }
        if (w->mask & TCIF_IMAGE) w->iImage = t->image;
        if (w->mask & TCIF_PARAM) w->lParam = t->object;
        return;
    }
    case TCM_DELETEITEM:
        if (!tab(m.WParam)) { m.Result = 0; return; }
        tabs_.erase(tabs_.begin() + static_cast<std::ptrdiff_t>(m.WParam));
        if (tabIndex_ >= TabCount() || tabIndex_ == static_cast<int>(m.WParam)) tabIndex_ = std::min(tabIndex_, TabCount() - 1);
        PushTabs();
        m.Result = 1;
        return;
    case TCM_DELETEALLITEMS:
        tabs_.clear();
        tabIndex_ = -1;
        PushTabs();
        m.Result = 1;
        return;
    case TCM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        const int index = static_cast<int>(m.WParam);
        if (!r || index < 0 || index >= TabCount()) { m.Result = 0; return; }
        TRect rect;
        if (const TTabControlPeer* peer = TabPeer()) {
            rect = peer->TabRect(index);
        } else {
            // Headless: tabs of one width side by side.
            rect = Bounds(2 + index * 80, 2, 80, kDefaultTabHeight - 2);
        }
        *r = RECT{rect.left, rect.top, rect.right, rect.bottom};
        m.Result = 1;
        return;
    }
    case TCM_ADJUSTRECT: {
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        if (!r) return;
        TRect rect(r->left, r->top, r->right, r->bottom);
        const int tabHeight = TabPeer() ? TabPeer()->TabHeight() : kDefaultTabHeight;
        if (m.WParam) rect = TRect(rect.left - kFrame, rect.top - tabHeight - kFrame, rect.right + kFrame, rect.bottom + kFrame);
        else AdjustClientRect(rect);
        *r = RECT{rect.left, rect.top, rect.right, rect.bottom};
        return;
    }
    default: TWinControl::WndProc(m);
    }
}

// ---- TTabControl

const TMetaClass& TTabControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTabControl>("TTabControl", &TCustomTabControl::StaticClass(), [](TClassBuilder<TTabControl>& b) {
        b.ReadOnly("Tabs", [](const TTabControl& c) { return static_cast<TStrings*>(c.Tabs()); });
        b.Property("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex).Default(-1);
    });
    return meta;
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner), tabs_(std::make_unique<TStringList>()) {
    tabs_->OnChange = [this](TObject*) {
        std::vector<Tab> list;
        for (int i = 0; i < tabs_->Count(); ++i)
            list.push_back(Tab{Utf8ToUtf16(tabs_->Get(i)), reinterpret_cast<LPARAM>(tabs_->GetObject(i)), i});
        const int old = TabIndex();
        SetTabList(std::move(list));
        if (old < 0 && TabCount() > 0) SetTabIndex(0);
    };
}

TTabControl::~TTabControl() { tabs_->OnChange = nullptr; }

// ---- TTabSheet

const TMetaClass& TTabSheet::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTabSheet>("TTabSheet", &TWinControl::StaticClass(), [](TClassBuilder<TTabSheet>& b) {
        b.Property("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption);
        b.Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
        b.Property("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex).Default(-1);
        // The page control places its pages; their order is their index.
        b.Property("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).Stored([](const TObject&) { return false; });
    });
    return meta;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    controlStyle_ = {csAcceptsControls, csOpaque};
    SetAlign(alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* control) {
    if (control == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    SetParent(control);
    if (control) control->InsertPage(this);
}

void TTabSheet::SetParentComponent(TComponent* parent) {
    if (auto* pc = dynamic_cast<TPageControl*>(parent)) SetPageControl(pc);
    else TWinControl::SetParentComponent(parent);
}

TComponent* TTabSheet::GetParentComponent() const {
    if (pageControl_) return pageControl_;
    return TWinControl::GetParentComponent();
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (pageControl_) pageControl_->MovePage(this, index);
}

void TTabSheet::SetTabVisible(bool visible) {
    if (visible == tabVisible_) return;
    tabVisible_ = visible;
    if (pageControl_) pageControl_->UpdateTabs();
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int index = 0;
    for (TTabSheet* p : pageControl_->pages_) {
        if (p == this) return index;
        if (p->tabVisible_) ++index;
    }
    return -1;
}

void TTabSheet::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    if (pageControl_) pageControl_->UpdateTabs();
}

void TTabSheet::WndProc(TMessage& m) {
    TWinControl::WndProc(m);
    if (m.Msg == CM_TEXTCHANGED && pageControl_) pageControl_->UpdateTabs();
}

// ---- TPageControl

const TMetaClass& TPageControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TPageControl>("TPageControl", &TCustomTabControl::StaticClass(), [](TClassBuilder<TPageControl>& b) {
        b.Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
    });
    return meta;
}

const TMessageTable& TPageControl::ClassMessages() {
    static const TMessageTable table(&TCustomTabControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGKEY, TPageControl::CMDialogKey),
    });
    return table;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) throw EInvalidOperation(WideString(u"List index out of bounds"));
    return pages_[static_cast<std::size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    UpdateTabs();
    if (!activePage_) SetActivePage(page);
    else page->SetVisible(false);
}

void TPageControl::RemovePage(TTabSheet* page) {
    TTabSheet* next = page == activePage_ ? FindNextPage(page, true, true) : activePage_;
    if (next == page) next = nullptr;
    std::erase(pages_, page);
    page->pageControl_ = nullptr;
    if (page == activePage_) {
        activePage_ = nullptr;
        SetActivePage(next);
    }
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    pages_.erase(it);
    index = std::clamp(index, 0, static_cast<int>(pages_.size()));
    pages_.insert(pages_.begin() + index, page);
    UpdateTabs();
}

void TPageControl::UpdateTabs() {
    std::vector<Tab> tabs;
    for (TTabSheet* p : pages_)
        if (p->tabVisible_) tabs.push_back(Tab{p->Caption(), reinterpret_cast<LPARAM>(p), p->imageIndex_});
    SetTabList(std::move(tabs));
    Perform(TCM_SETCURSEL, static_cast<WPARAM>(activePage_ ? activePage_->TabIndex() : -1), 0);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    activePage_ = page;
    Perform(TCM_SETCURSEL, static_cast<WPARAM>(page ? page->TabIndex() : -1), 0);
    ShowActivePage();
}

void TPageControl::ShowActivePage() {
    if (activePage_) {
        activePage_->SetVisible(true);
        activePage_->BringToFront();
    }
    for (TTabSheet* p : pages_)
        if (p != activePage_) p->SetVisible(false);
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
    if (pages_.empty()) return nullptr;
    const int count = PageCount();
    int start = current ? current->PageIndex() : -1;
    if (start < 0) start = goForward ? count - 1 : 0;
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TTabSheet* p = pages_[static_cast<std::size_t>(i)];
        if (!checkTabVisible || p->TabVisible()) return p;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
    TTabSheet* page = FindNextPage(activePage_, goForward, checkTabVisible);
    if (page && page != activePage_) SelectTabByUser(page->TabIndex());
}

void TPageControl::Change() {
    // The chosen tab's page becomes the active one before OnChange hears of it.
    const int index = TabIndex();
    for (TTabSheet* p : pages_)
        if (p->TabIndex() == index && index >= 0) {
            activePage_ = p;
            ShowActivePage();
            break;
        }
    TCustomTabControl::Change();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TCustomTabControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (auto* page = dynamic_cast<TTabSheet*>(component); page && page->pageControl_ == this) RemovePage(page);
}

void TPageControl::KeyDown(WORD& key, TShiftState shift) {
    if ((key == VK_TAB || key == VK_NEXT || key == VK_PRIOR) && shift.Contains(ssCtrl)) {
        SelectNextPage(key == VK_TAB ? !shift.Contains(ssShift) : key == VK_NEXT);
        key = 0;
        return;
    }
    TCustomTabControl::KeyDown(key, shift);
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is anywhere inside the control.
void TPageControl::CMDialogKey(TWMKey& m) {
    const TShiftState shift = KeyDataToShiftState(m.KeyData);
    bool inside = false;
    if (TCustomForm* form = ParentForm())
        for (TWinControl* w = form->ActiveControl(); w && !inside; w = w->Parent()) inside = w == this;
    if (inside && m.CharCode == VK_TAB && shift.Contains(ssCtrl)) {
        SelectNextPage(!shift.Contains(ssShift));
        m.Result = 1;
        return;
    }
    InheritedMessage(TCustomTabControl::ClassMessages(), m.Message);
}

void TPageControl::GetChildren(const TGetChildProc& proc, TComponent* root) const {
    // Pages first, in page order, so that a form file keeps their order.
    for (TTabSheet* p : pages_) proc(p);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!dynamic_cast<TTabSheet*>(c) && c->Owner() == root) proc(c);
    }
}
