// Tabs: TCustomTabControl (a row of tabs with a selection that OnChanging may refuse),
// TTabControl (tabs from a string list) and TPageControl with its TTabSheet pages, one shown
// at a time. The control keeps its tabs and answers the TCM_* messages; a click on a tab
// comes back from the toolkit as TCN_SELCHANGING / TCN_SELCHANGE.
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/Strings.h"

// ---- messages, notifications and records of "SysTabControl32"
inline constexpr UINT TCM_FIRST = 0x1300;
inline constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
inline constexpr UINT TCM_GETITEMA = TCM_FIRST + 5;
inline constexpr UINT TCM_SETITEMA = TCM_FIRST + 6;     // 0x1306
inline constexpr UINT TCM_INSERTITEMA = TCM_FIRST + 7;  // 0x1307
inline constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
inline constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
inline constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
inline constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
inline constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
inline constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
inline constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
inline constexpr UINT TCM_GETITEMW = TCM_FIRST + 60;
inline constexpr UINT TCM_SETITEMW = TCM_FIRST + 61;     // 0x133D
inline constexpr UINT TCM_INSERTITEMW = TCM_FIRST + 62;

inline constexpr UINT TCN_FIRST = 0u - 550u;
inline constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
inline constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
inline constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

inline constexpr UINT TCIF_TEXT = 0x1, TCIF_IMAGE = 0x2, TCIF_RTLREADING = 0x4, TCIF_PARAM = 0x8;

// A tab as TCM_*ITEMW takes it; the 8-bit record's text is UTF-8.
struct TCITEMW {
    UINT mask = 0;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    LPWSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};
struct TCITEMA {
    UINT mask = 0;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};

// What the toolkit's tab row shows; it reads the tabs from the control.
class TTabControlPeer {
public:
    virtual ~TTabControlPeer() = default;
    virtual void TabsChanged() = 0;
    virtual void SetTabIndex(int index) = 0;
    // The height of the row of tabs; the pages fill what is below it.
    virtual int TabHeight() const = 0;
    virtual TRect TabRect(int index) const = 0;
};

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TCustomTabControl : public TWinControl {
    QUILLORA_COMPONENT(TCustomTabControl)
    QUILLORA_MESSAGES()
public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    int TabCount() const { return static_cast<int>(tabs_.size()); }
    WideString TabCaption(int index) const;
    int TabImage(int index) const;
    // -1 when no tab is chosen. Setting it raises no events.
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* list);
    TRect TabRect(int index) const;
    int IndexOfTabAt(int x, int y) const;
    // Where pages and children go: below the tabs, inside the frame.
    TRect DisplayRect() const;

    // Moves the selection the way a click does: TCN_SELCHANGING (OnChanging may refuse it),
    // then TCN_SELCHANGE (OnChange). False when refused or nothing changed.
    bool SelectTabByUser(int index);

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    struct Tab {
        WideString caption;
        LPARAM object = 0;
        int image = -1;
    };
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void AdjustClientRect(TRect& rect) const override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanChange();
    virtual void Change();
    // Replaces every tab (a page control's visible pages, a tab control's strings).
    void SetTabList(std::vector<Tab> tabs);
    const std::vector<Tab>& TabList() const { return tabs_; }
    void CNNotify(TWMNotify& m);

private:
    TTabControlPeer* TabPeer() const;
    void PushTabs();
    std::vector<Tab> tabs_;
    int tabIndex_ = -1;
    TCustomImageList* images_ = nullptr;
};

class TTabControl : public TCustomTabControl {
    QUILLORA_COMPONENT(TTabControl)
public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;
    TStrings* Tabs() const { return tabs_.get(); }

private:
    std::unique_ptr<TStringList> tabs_;
};

class TPageControl;

class TTabSheet : public TWinControl {
    QUILLORA_COMPONENT(TTabSheet)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* control);
    int PageIndex() const;
    void SetPageIndex(int index);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);
    // The sheet's tab among the shown tabs, -1 when hidden.
    int TabIndex() const;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);

    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;

protected:
    void WndProc(TMessage& message) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    int imageIndex_ = -1;
};

class TPageControl : public TCustomTabControl {
    QUILLORA_COMPONENT(TPageControl)
    QUILLORA_MESSAGES()
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;
    void SelectNextPage(bool goForward, bool checkTabVisible = true);

    void GetChildren(const TGetChildProc& proc, TComponent* root) const override;

protected:
    void Change() override;
    void Notification(TComponent* component, TOperation operation) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void CMDialogKey(TWMKey& m);

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void UpdateTabs();
    void ShowActivePage();
    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};
