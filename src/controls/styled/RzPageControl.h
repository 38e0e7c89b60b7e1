// The styled page control: a tab control whose tabs are the captions of its pages, showing the
// page of the selected tab. Docking has no counterpart here: no window of the program docks.
#pragma once

#include "controls/styled/RzTabs.h"

class TRzPageControl;

class TRzTabSheet : public TCustomControl {
    QUILLORA_COMPONENT(TRzTabSheet)
    QUILLORA_MESSAGES()
public:
    explicit TRzTabSheet(TComponent* owner);
    ~TRzTabSheet() override;

    TRzPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TRzPageControl* control);
    void SetParent(TWinControl* parent) override;
    int GetPageIndex() const;
    void SetPageIndex(int index);
    // -1 while the tab is hidden, else the number of pages with visible tabs before it.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool v);
    bool TabEnabled() const { return tabEnabled_; }
    void SetTabEnabled(bool v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    int DisabledIndex() const { return disabledIndex_; }
    void SetDisabledIndex(int v);
    void SetPageColor(TColor c);
    // Pages are shown and hidden by their page control alone.
    void SetVisible(bool visible) override;

    TRzPaintBackgroundEvent OnPaintBackground;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void Paint() override;
    void CMShowingChanged(TMessage& m);
    void CMTextChanged(TMessage& m);
    void WMEraseBkgnd(TMessage& m) { m.Result = 1; }

private:
    friend class TRzPageControl;
    void ShowPage(bool show);
    void Rebuild();
    TRzPageControl* pageControl_ = nullptr;
    int imageIndex_ = -1, disabledIndex_ = -1;
    bool tabEnabled_ = true, tabVisible_ = true;
    bool wasShowing_ = false;
};

class TRzPageControl : public TRzCustomTabControl {
    QUILLORA_COMPONENT(TRzPageControl)
    QUILLORA_MESSAGES()
public:
    explicit TRzPageControl(TComponent* owner);
    ~TRzPageControl() override;

    TRzTabSheet* GetPage(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TRzTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TRzTabSheet* page);
    TRzTabSheet* ActivePageDefault() const { return activePageDefault_; }
    void SetActivePageDefault(TRzTabSheet* page) { activePageDefault_ = page; }
    int GetActivePageIndex() const { return activePage_ ? activePage_->GetPageIndex() : -1; }
    void SetActivePageIndex(int index);
    void SelectNextPage(bool forward);
    bool SaveResources() const { return saveResources_; }
    void SetSaveResources(bool v);
    bool DblClickUndocks() const { return dblClickUndocks_; }
    void SetDblClickUndocks(bool v) { dblClickUndocks_ = v; }

    void LayoutChanged() override;
    void CloseTab() override;
    void MoveTab(int toIndex) override;
    void HideAllTabs() override;
    void ShowAllTabs() override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) const override;
    void SetChildOrder(TComponent* child, int order) override;

protected:
    bool DoChanging(int newIndex) override;
    void Change() override;
    void PageChange() override;
    bool PaintCardBackgroundEvent(TCanvas& canvas, int row, const TRect& r) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void DoEnter() override;
    virtual void ChangeActivePage(TRzTabSheet* page);
    void CMDialogKey(TMessage& m);
    void CMColorChanged(TMessage& m);

private:
    friend class TRzTabSheet;
    void InsertPage(TRzTabSheet* page);
    void RemovePage(TRzTabSheet* page);
    void MovePage(TRzTabSheet* page, int index);
    std::vector<TRzTabSheet*> pages_;
    TRzTabSheet* activePage_ = nullptr;
    TRzTabSheet* activePageDefault_ = nullptr;
    bool saveResources_ = false, dblClickUndocks_ = true;
    bool loadingStep_ = false;
};

// Registers the styled tab, page and status classes for form files.
void RegisterRzTabsClasses();
