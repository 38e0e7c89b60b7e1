#include "controls/styled/RzPageControl.h"

#include <algorithm>
#include <string>

#include "controls/styled/RzStatus.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"

// ---- the page

const TMetaClass& TRzTabSheet::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzTabSheet>(
        "TRzTabSheet", &TCustomControl::StaticClass(), [](TClassBuilder<TRzTabSheet>& b) {
            // Form data sets the colour through the page's rules too (coloured tabs, the tab).
            b.Property("Color", [](const TRzTabSheet& p) { return p.Color(); }, &TRzTabSheet::SetPageColor)
                .Default(clBtnFace).Type(ColorTypeInfo());
            b.Property("DisabledIndex", &TRzTabSheet::DisabledIndex, &TRzTabSheet::SetDisabledIndex).Default(-1);
            b.Property("ImageIndex", &TRzTabSheet::ImageIndex, &TRzTabSheet::SetImageIndex).Default(-1);
            b.Property("TabEnabled", &TRzTabSheet::TabEnabled, &TRzTabSheet::SetTabEnabled).Default(true);
            b.Property("TabVisible", &TRzTabSheet::TabVisible, &TRzTabSheet::SetTabVisible).Default(true);
            b.Event("OnShow", &TRzTabSheet::OnShow);
            b.Event("OnHide", &TRzTabSheet::OnHide);
        });
    return meta;
}

const TMessageTable& TRzTabSheet::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_SHOWINGCHANGED, TRzTabSheet::CMShowingChanged),
        MESSAGE_HANDLER(CM_TEXTCHANGED, TRzTabSheet::CMTextChanged),
        MESSAGE_HANDLER(WM_ERASEBKGND, TRzTabSheet::WMEraseBkgnd),
    });
    return table;
}

TRzTabSheet::TRzTabSheet(TComponent* owner) : TCustomControl(owner) {
    controlStyle_ << csAcceptsControls << csOpaque;
    TControl::SetVisible(false);
    SetAlign(alClient);
    SetColor(clBtnFace);
}

TRzTabSheet::~TRzTabSheet() {
    if (pageControl_) {
        if (pageControl_->activePageDefault_ == this) pageControl_->activePageDefault_ = nullptr;
        pageControl_->RemovePage(this);
    }
}

void TRzTabSheet::SetVisible(bool) { throw ERzTabControlError("You cannot change the Visible property of a page"); }

// Shows or hides the page for its page control; OnShow and OnHide follow.
void TRzTabSheet::ShowPage(bool show) {
    if (Visible() == show) return;
    TControl::SetVisible(show);
    TMessage m{CM_SHOWINGCHANGED, 0, 0, 0};
    Perform(m.Msg, 0, 0);
}

void TRzTabSheet::CMShowingChanged(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    const bool showing = Visible();
    if (showing == wasShowing_) return;
    wasShowing_ = showing;
    try {
        if (showing) {
            if (OnShow) OnShow(this);
        } else if (OnHide) {
            OnHide(this);
        }
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

void TRzTabSheet::CMTextChanged(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    Rebuild();
}

void TRzTabSheet::Rebuild() {
    if (pageControl_) pageControl_->LayoutChanged();
}

void TRzTabSheet::SetPageControl(TRzPageControl* control) {
    if (pageControl_ == control) return;
    SetParent(control);
}

// A page joins the page control it is parented to, also while a form file is read.
void TRzTabSheet::SetParent(TWinControl* parent) {
    auto* control = dynamic_cast<TRzPageControl*>(parent);
    if (pageControl_ && pageControl_ != control) pageControl_->RemovePage(this);
    TCustomControl::SetParent(parent);
    if (control && pageControl_ != control) control->InsertPage(this);
}

int TRzTabSheet::GetPageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TRzTabSheet::SetPageIndex(int index) {
    if (!pageControl_) return;
    const int last = pageControl_->PageCount() - 1;
    // A negative index is refused as well as one past the end.
    if (index < 0 || index > last)
        throw ERzTabControlError(std::to_string(index) + " is an invalid PageIndex value. PageIndex must be between 0 and " +
                                 std::to_string(last));
    const int old = GetPageIndex();
    pageControl_->MovePage(this, index);
    pageControl_->TabOrderChange(old, index);
}

int TRzTabSheet::TabIndex() const {
    if (!tabVisible_ || !pageControl_) return -1;
    int n = 0;
    for (TRzTabSheet* p : pageControl_->pages_) {
        if (p == this) return n;
        if (p->tabVisible_) ++n;
    }
    return -1;
}

void TRzTabSheet::SetTabVisible(bool v) {
    if (tabVisible_ == v) return;
    tabVisible_ = v;
    Rebuild();
}
void TRzTabSheet::SetTabEnabled(bool v) {
    if (tabEnabled_ == v) return;
    tabEnabled_ = v;
    Rebuild();
}
void TRzTabSheet::SetImageIndex(int v) {
    if (imageIndex_ == v) return;
    imageIndex_ = v;
    Rebuild();
}
void TRzTabSheet::SetDisabledIndex(int v) {
    if (disabledIndex_ == v) return;
    disabledIndex_ = v;
    Rebuild();
}

void TRzTabSheet::SetPageColor(TColor c) {
    if (c == Color()) return;
    if (pageControl_ && !pageControl_->UseColoredTabs()) {
        if (c != pageControl_->Color()) pageControl_->SetUseColoredTabs(true);
    }
    SetColor(c);
    Rebuild();
}

void TRzTabSheet::Paint() {
    const TRect r = ClientRect();
    bool handled = false;
    if (OnPaintBackground) OnPaintBackground(this, Canvas(), r, handled);
    if (handled) return;
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
}

// ---- the page control

const TMetaClass& TRzPageControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzPageControl>(
        "TRzPageControl", &TRzCustomTabControl::StaticClass(), [](TClassBuilder<TRzPageControl>& b) {
            b.Property("ActivePage", &TRzPageControl::ActivePage, &TRzPageControl::SetActivePage);
            b.Property("ActivePageDefault", &TRzPageControl::ActivePageDefault, &TRzPageControl::SetActivePageDefault);
            b.Property("SaveResources", &TRzPageControl::SaveResources, &TRzPageControl::SetSaveResources).Default(false);
            b.Property("DblClickUndocks", &TRzPageControl::DblClickUndocks, &TRzPageControl::SetDblClickUndocks)
                .Default(true);
        });
    static const bool registered = (RegisterClasses({&TRzTabSheet::StaticClass()}), true);
    (void)registered;
    return meta;
}

const TMessageTable& TRzPageControl::ClassMessages() {
    static const TMessageTable table(&TRzCustomTabControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGKEY, TRzPageControl::CMDialogKey),
        MESSAGE_HANDLER(CM_COLORCHANGED, TRzPageControl::CMColorChanged),
    });
    return table;
}

TRzPageControl::TRzPageControl(TComponent* owner) : TRzCustomTabControl(owner) {
    controlStyle_ >> csAcceptsControls;
    controlStyle_ << csOpaque;
    SetHeight(150);
}

TRzPageControl::~TRzPageControl() {
    for (TRzTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

void TRzPageControl::InsertPage(TRzTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    LayoutChanged();
}

void TRzPageControl::RemovePage(TRzTabSheet* page) {
    if (page == activePage_) SetActivePage(nullptr);
    if (page == activePage_) activePage_ = nullptr;
    const auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it != pages_.end()) pages_.erase(it);
    page->pageControl_ = nullptr;
    if (!ComponentState().Contains(csDestroying)) LayoutChanged();
}

void TRzPageControl::MovePage(TRzTabSheet* page, int index) {
    const auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    pages_.erase(it);
    pages_.insert(pages_.begin() + index, page);
    LayoutChanged();
}

void TRzPageControl::LayoutChanged() {
    tabs_.Clear();
    for (TRzTabSheet* page : pages_) {
        if (!page->tabVisible_) continue;
        TRzTabData* tab = tabs_.Add();
        tab->Caption = page->Caption();
        tab->Color = page->Color();
        tab->Enabled = page->tabEnabled_;
        tab->Visible = true;
        tab->Hint = page->Hint();
        tab->ImageIndex = page->imageIndex_;
        tab->DisabledIndex = page->disabledIndex_;
    }
    if (activePage_) {
        const int t = activePage_->TabIndex();
        if (activePage_->tabVisible_ && t != TabIndex()) SetTabIndex(t);
        else if (!activePage_->tabVisible_) SetTabIndex(-1);
    }
    TRzCustomTabControl::LayoutChanged();
}

bool TRzPageControl::DoChanging(int newIndex) {
    bool allow = true;
    if (!loadingStep_ && OnChanging) OnChanging(this, newIndex, allow);
    if (!allow) return false;
    TRzTabSheet* target = nullptr;
    for (TRzTabSheet* page : pages_)
        if (newIndex >= 0 && page->TabIndex() == newIndex) target = page;
    ChangeActivePage(target);
    return true;
}

void TRzPageControl::Change() {
    if (!loadingStep_) TRzCustomTabControl::Change();
}

void TRzPageControl::PageChange() {
    if (!loadingStep_) TRzCustomTabControl::PageChange();
}

void TRzPageControl::ChangeActivePage(TRzTabSheet* page) {
    if (page == activePage_) return;
    TCustomForm* form = GetParentForm(this);
    TRzTabSheet* old = activePage_;
    if (form && old && form->ActiveControl() && old->ContainsControl(form->ActiveControl()))
        form->SetActiveControl(old);
    if (page) {
        page->BringToFront();
        page->ShowPage(true);
        if (form && old && form->ActiveControl() == old) {
            if (page->CanFocus()) form->SetActiveControl(page);
            else form->SetActiveControl(this);
        }
    }
    // Window handles stay: Qt has none to give up, so SaveResources changes nothing here.
    if (old) old->ShowPage(false);
    activePage_ = page;
    if (form && page && form->ActiveControl() == page) page->SelectFirst();
}

void TRzPageControl::SetActivePage(TRzTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    if (page) page->ShowPage(true);
    if (Loading()) {
        activePage_ = page;
        return;
    }
    const int t = page ? page->TabIndex() : -1;
    if (t < 0) {
        ChangeActivePage(page);
        PageChange();
    }
    SetTabIndex(t);
}

void TRzPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount()) SetTabIndex(-1);
    else SetActivePage(GetPage(index));
}

void TRzPageControl::SelectNextPage(bool forward) {
    const int count = PageCount();
    if (count == 0) return;
    int i = activePage_ ? activePage_->GetPageIndex() : (forward ? -1 : count);
    for (int n = 0; n < count; ++n) {
        i = (i + (forward ? 1 : -1) + count) % count;
        if (pages_[static_cast<std::size_t>(i)]->tabVisible_) {
            SetActivePage(pages_[static_cast<std::size_t>(i)]);
            return;
        }
    }
}

void TRzPageControl::SetSaveResources(bool v) { saveResources_ = v; }

void TRzPageControl::CloseTab() {
    if (!activePage_) return;
    const int index = TabIndex();
    delete activePage_;  // its destructor takes it out of this control
    SetTabIndex(index == 0 ? 0 : index - 1);
}

void TRzPageControl::MoveTab(int toIndex) {
    if (!activePage_) return;
    // The drop tab's page: tab indices count only pages with visible tabs.
    for (TRzTabSheet* page : pages_)
        if (page->TabIndex() == toIndex) {
            activePage_->SetPageIndex(page->GetPageIndex());
            return;
        }
}

void TRzPageControl::HideAllTabs() {
    for (TRzTabSheet* page : pages_) page->SetTabVisible(false);
}

void TRzPageControl::ShowAllTabs() {
    for (TRzTabSheet* page : pages_) page->SetTabVisible(true);
}

void TRzPageControl::GetChildren(const TGetChildProc& proc, TComponent* root) const {
    (void)root;
    for (TRzTabSheet* page : pages_) proc(page);
}

void TRzPageControl::SetChildOrder(TComponent* child, int order) {
    if (auto* page = dynamic_cast<TRzTabSheet*>(child)) page->SetPageIndex(order);
}

bool TRzPageControl::PaintCardBackgroundEvent(TCanvas& canvas, int row, const TRect& r) {
    if (TRzCustomTabControl::PaintCardBackgroundEvent(canvas, row, r)) return true;
    if (row != 0 || !activePage_ || TabIndex() < 0) return false;
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(activePage_->Color());
    canvas.FillRect(r);
    return true;
}

void TRzPageControl::Loaded() {
    // The base step selects a tab too: silence it as well.
    loadingStep_ = true;
    try {
        TRzCustomTabControl::Loaded();
        LayoutChanged();
        SetTabIndex(-1);
        TRzTabSheet* chosen = activePage_;
        if (activePageDefault_ && activePageDefault_ != activePage_) {
            if (activePage_) activePage_->ShowPage(false);
            chosen = activePageDefault_;
        }
        activePage_ = nullptr;
        LayoutChanged();
        SetActivePage(chosen);
    } catch (...) {
        loadingStep_ = false;
        throw;
    }
    loadingStep_ = false;
}

void TRzPageControl::Notification(TComponent* component, TOperation operation) {
    TRzCustomTabControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == activePageDefault_) activePageDefault_ = nullptr;
}

void TRzPageControl::DoEnter() {
    TRzCustomTabControl::DoEnter();
    if (activePage_ && !activePage_->tabVisible_) activePage_->SelectFirst();
}

void TRzPageControl::CMDialogKey(TMessage& m) {
    InheritedMessage(TRzCustomTabControl::ClassMessages(), m);
    if (m.Result) return;
    const WORD key = static_cast<WORD>(m.WParam);
    const TShiftState shift = KeyDataToShiftState(static_cast<LONG>(m.LParam));
    if (key != VK_TAB || !shift.Contains(ssCtrl)) return;
    TCustomForm* form = GetParentForm(this);
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    if (active != this && !(active && ContainsControl(active))) return;
    SelectNextPage(!shift.Contains(ssShift));
    m.Result = 1;
}

void TRzPageControl::CMColorChanged(TMessage& m) {
    InheritedMessage(TRzCustomTabControl::ClassMessages(), m);
    if (!UseColoredTabs())
        for (TRzTabSheet* page : pages_) page->SetColor(Color());
}

void RegisterRzTabsClasses() {
    RegisterClasses({&TRzPageControl::StaticClass(), &TRzTabSheet::StaticClass(), &TRzStatusPane::StaticClass(),
                     &TRzProgressStatus::StaticClass()});
}
