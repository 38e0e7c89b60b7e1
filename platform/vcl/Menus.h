// Menus: TMenuItem (a caption with an "&" hot key or "-" for a separator line, shortcut,
// checked / radio / enabled / visible / default state, image, sub-items, owner drawing, an
// action link), TMenu over a menu handle (WinMenus.h), TMainMenu (a form's menu bar) and
// TPopupMenu (shown at a point, or by a control's right click through AutoPopup), and the popup
// list: the hidden window that receives the messages of shown popup menus.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/WinMenus.h"

class TMenu;
class TMenuItem;
class TCanvas;
class TCustomImageList;

QUILLORA_EXCEPTION_CLASS(EMenuError, Exception);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TMenuAutoFlag { maAutomatic, maManual, maParent };
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

QUILLORA_ENUM_TYPEINFO(TMenuBreak, "mbNone", "mbBreak", "mbBarBreak")
QUILLORA_ENUM_TYPEINFO(TMenuAutoFlag, "maAutomatic", "maManual", "maParent")
QUILLORA_ENUM_TYPEINFO(TPopupAlignment, "paLeft", "paRight", "paCenter")
QUILLORA_ENUM_TYPEINFO(TTrackButton, "tbRightButton", "tbLeftButton")

using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, TRect rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;
using TMenuChangeEvent = std::function<void(TObject* sender, TMenuItem* source, bool rebuild)>;

// The caption without its hot-key marks ("&File" -> "File", "&&" -> "&").
WideString StripHotkey(const WideString& text);
// The hot-key character of a caption is GetHotkey of StdCtrls.h.
// Equal apart from hot-key marks and case.
bool SameCaption(const WideString& a, const WideString& b);
inline constexpr char16_t cHotkey = u'&';
inline const WideString cLineCaption = u"-";

// The link of a menu item to its action: every property the item shows follows the action
// while the item still shows the action's value.
class TMenuActionLink : public TActionLink {
public:
    explicit TMenuActionLink(TMenuItem* client);
    bool IsAutoCheckLinked() const;
    bool IsCaptionLinked() const override;
    bool IsCheckedLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsGroupIndexLinked() const override;
    bool IsHintLinked() const override;
    bool IsImageIndexLinked() const override;
    bool IsShortCutLinked() const override;
    bool IsVisibleLinked() const override;
    void SetAutoCheck(bool value) override;
    void SetCaption(const WideString& value) override;
    void SetChecked(bool value) override;
    void SetEnabled(bool value) override;
    void SetGroupIndex(int value) override;
    void SetHint(const WideString& value) override;
    void SetImageIndex(int value) override;
    void SetShortCut(TShortCut value) override;
    void SetVisible(bool value) override;

protected:
    TMenuItem* client_;
};

class TMenuItem : public TComponent {
    QUILLORA_COMPONENT(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const WideString& Caption() const { return caption_; }
    void SetCaption(const WideString& caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    // Checking a radio item unchecks the radio items of its group among its siblings.
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool v);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    const WideString& Hint() const { return hint_; }
    void SetHint(const WideString& hint) { hint_ = hint; }
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool v) { autoCheck_ = v; }
    // Hot keys are never assigned by the menu: captions show as written.
    TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuAutoFlag v) { autoHotkeys_ = v; }
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak v);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int v) { helpContext_ = v; }

    TBasicAction* Action() const;
    void SetAction(TBasicAction* action);
    TMenuActionLink* ActionLink() const { return actionLink_.get(); }

    // ---- sub-items
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Delete frees the item; Remove only takes it out.
    void Delete(int index);
    void Remove(TMenuItem* item);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    // The sub-item of that caption (hot keys and case ignored), or null.
    TMenuItem* Find(const WideString& caption) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void SetMenuIndex(int index);
    TMenu* GetParentMenu() const;
    bool IsLine() const { return caption_ == cLineCaption; }

    // The command id WM_COMMAND reports for the item.
    WORD Command() const { return command_; }
    // The handle of the item's sub-menu (made on first use).
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }

    virtual void Click();
    virtual void InitiateAction();
    // InitiateAction for every sub-item (before a sub-menu shows).
    void InitiateActions();

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    // ---- owner drawing (WM_DRAWITEM / WM_MEASUREITEM of the menu)
    bool IsOwnerDrawn() const;
    virtual void DrawItem(TCanvas* canvas, const TRect& rect, bool selected);
    virtual void MeasureItem(TCanvas* canvas, int& width, int& height);

    // Form files: items sit inside their menu or parent item.
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) const override;
    void SetChildOrder(TComponent* child, int order) override;

protected:
    friend class TMenu;
    friend class TMenuActionLink;
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    // The item's look changed: the parent's menu handle is built afresh.
    void MenuChanged(bool rebuild);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void RebuildHandle();
    // This item's handle and those of every sub-item (the menu's images or drawing changed).
    void RebuildAll();
    void AppendTo(HMENU menu);
    void TurnSiblingsOff();
    TMenuItem* FindItem(UINT value, TFindItemKind kind);
    WideString MenuText() const;
    HBITMAP ImageBitmap();

    WideString caption_;
    WideString hint_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    bool radioItem_ = false;
    bool autoCheck_ = false;
    int groupIndex_ = 0;
    TShortCut shortCut_ = scNone;
    int imageIndex_ = -1;
    TMenuAutoFlag autoHotkeys_ = maParent;
    TMenuBreak break_ = mbNone;
    int helpContext_ = 0;
    std::unique_ptr<TMenuActionLink> actionLink_;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on a menu's root item
    HMENU handle_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    WORD command_ = 0;
};

class TMenu : public TComponent {
    QUILLORA_COMPONENT(TMenu)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item: its sub-items are the menu's entries.
    TMenuItem* Items() const { return items_.get(); }
    HMENU Handle();
    // The window the menu belongs to (a form for a main menu).
    HWND WindowHandle() const { return window_; }
    virtual void SetWindowHandle(HWND window);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    // Every item is drawn through WM_DRAWITEM / WM_MEASUREITEM.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v);
    TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuAutoFlag v) { autoHotkeys_ = v; }

    TMenuItem* FindItem(UINT value, TFindItemKind kind);
    // WM_COMMAND of an item: clicks it; true when the command is the menu's.
    bool DispatchCommand(WORD command);
    // WM_INITMENUPOPUP of a sub-menu: its items update their actions, its item is clicked.
    bool DispatchPopup(HMENU menu);
    // The key message is an item's shortcut: the item is clicked when enabled; true when found.
    bool IsShortCut(TWMKey& message);

    TMenuChangeEvent OnChange;

    void GetChildren(const TGetChildProc& proc, TComponent* root) const override;

protected:
    friend class TMenuItem;
    virtual HMENU CreateMenuHandle() { return CreatePopupMenu(); }
    virtual void MenuChanged(TMenuItem* source, bool rebuild);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TMenuItem> items_;
    HMENU handle_ = nullptr;
    HWND window_ = nullptr;
    TCustomImageList* images_ = nullptr;
    bool ownerDraw_ = false;
    TMenuAutoFlag autoHotkeys_ = maManual;
};

// A form's menu bar.
class TMainMenu : public TMenu {
    QUILLORA_COMPONENT(TMainMenu)
public:
    explicit TMainMenu(TComponent* owner);
    void SetWindowHandle(HWND window) override;

protected:
    HMENU CreateMenuHandle() override { return CreateMenu(); }
    void MenuChanged(TMenuItem* source, bool rebuild) override;
};

class TPopupMenu : public TMenu {
    QUILLORA_COMPONENT(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // OnPopup, the items' actions, then the menu at a screen point; a chosen item is clicked
    // when the popup list receives its WM_COMMAND.
    virtual void Popup(int x, int y);
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool v) { autoPopup_ = v; }
    // The control whose right click showed the menu.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component);
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment v) { alignment_ = v; }
    TTrackButton TrackButton() const { return trackButton_; }
    void SetTrackButton(TTrackButton v) { trackButton_ = v; }
    TPoint PopupPoint() const { return popupPoint_; }
    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup(TObject* sender);
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool autoPopup_ = true;
    TComponent* popupComponent_ = nullptr;
    TPopupAlignment alignment_ = paLeft;
    TTrackButton trackButton_ = tbRightButton;
    TPoint popupPoint_;
};

// The hidden window that owns shown popup menus and hands their messages to them.
class TPopupList {
public:
    TPopupList();
    ~TPopupList();
    TPopupList(const TPopupList&) = delete;
    TPopupList& operator=(const TPopupList&) = delete;
    HWND Window() const { return window_; }
    int Count() const { return static_cast<int>(menus_.size()); }
    TPopupMenu* Items(int index) const { return menus_[static_cast<std::size_t>(index)]; }
    void Add(TPopupMenu* menu);
    void Remove(TPopupMenu* menu);

protected:
    virtual void WndProc(TMessage& message);

private:
    HWND window_ = nullptr;
    std::vector<TPopupMenu*> menus_;
};

// The one popup list, made on first use.
struct TPopupListRef {
    TPopupList* operator->() const;
    operator TPopupList*() const;  // NOLINT: reads as the global it stands for
};
inline constexpr TPopupListRef PopupList{};

// TMenuItem, TMainMenu and TPopupMenu for form files (RegisterVclClasses calls it).
void RegisterMenuClasses();

// A menu's answer to the messages of its shown menus: WM_COMMAND, WM_INITMENUPOPUP,
// WM_MENUSELECT (the item's hint becomes the application's), WM_DRAWITEM / WM_MEASUREITEM of
// owner-drawn items and WM_MENUCHAR (an item's hot key). True when the message was the menu's.
bool DispatchMenuMessage(TMenu* menu, TMessage& message);
