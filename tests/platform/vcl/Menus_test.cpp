// Menus over the headless widget set: the menu-handle calls, items and their handles, radio
// groups, popup menus answered by the modal hook (by TrackPopupMenu and by a right click),
// owner drawing through the popup list, and shortcuts that arrive as key messages.
#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/WinError.h"

namespace {

constexpr LONG kCtrl = 1 << 26;

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Drain();
        Application->Initialize();
    }
    static void Drain() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    static TMenuItem* NewItem(TComponent* owner, const WideString& caption, TShortCut shortCut = scNone) {
        auto* item = new TMenuItem(owner);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        return item;
    }
    static WideString TextAt(HMENU menu, int position) {
        char16_t buffer[64] = {};
        MENUITEMINFOW info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = buffer;
        info.cch = 64;
        EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info));
        return buffer;
    }
};

TEST_F(MenusTest, MenuHandleCallsKeepItemsStatesAndSubMenus) {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(menu, MF_STRING, 10, u"&Open"));
    ASSERT_TRUE(AppendMenuW(menu, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More"));
    ASSERT_TRUE(AppendMenuW(sub, MF_STRING | MF_GRAYED, 20, u"Deep"));
    MENUITEMINFOW add;
    add.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA;
    add.wID = 5;
    add.dwItemData = 77;
    add.dwTypeData = const_cast<LPWSTR>(u"First");
    ASSERT_TRUE(InsertMenuItemW(menu, 0, TRUE, &add));

    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(menu, 0), 5u);
    EXPECT_EQ(GetMenuItemID(menu, 3), 0xFFFFFFFFu);  // a sub-menu has no command
    EXPECT_EQ(GetSubMenu(menu, 3), sub);
    EXPECT_EQ(TextAt(menu, 1), u"&Open");

    // The text: the length comes back, a short buffer gets what fits.
    char16_t small[4] = {};
    MENUITEMINFOW get;
    get.fMask = MIIM_STRING | MIIM_DATA | MIIM_FTYPE;
    get.dwTypeData = small;
    get.cch = 4;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 5, FALSE, &get));
    EXPECT_EQ(WideString(small), u"Fir");
    EXPECT_EQ(get.cch, 5u);
    EXPECT_EQ(get.dwItemData, 77u);
    get.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 2, TRUE, &get));
    EXPECT_EQ(get.fType & MFT_SEPARATOR, MFT_SEPARATOR);

    // By command, items of sub-menus are found too; the previous state comes back.
    EXPECT_EQ(EnableMenuItem(menu, 20, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_EQ(CheckMenuItem(menu, 10, MF_CHECKED), MF_UNCHECKED);
    MENUITEMINFOW set;
    set.fMask = MIIM_STATE | MIIM_STRING;
    set.fState = MFS_GRAYED;
    set.dwTypeData = const_cast<LPWSTR>(u"Changed");
    ASSERT_TRUE(SetMenuItemInfoW(menu, 10, FALSE, &set));
    EXPECT_EQ(TextAt(menu, 1), u"Changed");
    EXPECT_EQ(GetMenuState(menu, 10, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), MF_GRAYED);

    // Unknown commands and handles fail as the system's calls do.
    EXPECT_EQ(EnableMenuItem(menu, 999, MF_GRAYED), 0xFFFFFFFFu);
    EXPECT_FALSE(GetMenuItemInfoW(menu, 999, FALSE, &get));
    EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);

    // RemoveMenu leaves the sub-menu alive, DeleteMenu destroys it.
    HMENU kept = CreatePopupMenu();
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(kept), u"Kept");
    ASSERT_TRUE(RemoveMenu(menu, 4, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(kept));
    ASSERT_TRUE(DeleteMenu(menu, 3, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    ASSERT_TRUE(DestroyMenu(menu));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_FALSE(DestroyMenu(menu));
    DestroyMenu(kept);
}

TEST_F(MenusTest, TrackPopupMenuReturnsTheHooksCommandOrPostsIt) {
    std::vector<TMessage> heard;
    HWND owner = AllocateHWnd([&](TMessage& m) { heard.push_back(m); });
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 7, u"Seven");
    AppendMenuW(menu, MF_STRING, 8, u"Eight");
    int answer = 8;
    HMENU asked = nullptr;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What != TModalRequest::PopupMenu) return 0;
        asked = r.Menu;
        EXPECT_EQ(r.Pos, TPoint(30, 40));
        return answer;
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 30, 40, 0, owner, nullptr), 8);
    EXPECT_EQ(asked, menu);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard[1].Msg, WM_INITMENUPOPUP);
    EXPECT_EQ(reinterpret_cast<HMENU>(heard[1].WParam), menu);
    const auto commands = [&] {
        return std::count_if(heard.begin(), heard.end(), [](const TMessage& m) { return m.Msg == WM_COMMAND; });
    };
    EXPECT_EQ(commands(), 0);

    // Without TPM_RETURNCMD the owner hears WM_COMMAND from its queue.
    answer = 7;
    EXPECT_TRUE(TrackPopupMenuEx(menu, 0, 30, 40, owner, nullptr));
    Drain();
    ASSERT_EQ(commands(), 1);
    EXPECT_EQ(std::find_if(heard.begin(), heard.end(), [](const TMessage& m) { return m.Msg == WM_COMMAND; })->WParam, 7u);

    answer = kPopupMenuDismissed;
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 30, 40, 0, owner, nullptr), 0);
    EXPECT_FALSE(TrackPopupMenu(menu, 0, 30, 40, 0, owner, nullptr));
    Drain();
    EXPECT_EQ(commands(), 1);
    EXPECT_FALSE(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, nullptr, nullptr));
    DestroyMenu(menu);
    DeallocateHWnd(owner);
}

TEST_F(MenusTest, ItemsBuildTheirMenuHandle) {
    TForm form(nullptr);
    auto* menu = new TPopupMenu(&form);
    TMenuItem* open = NewItem(&form, u"&Open...", ShortCut('O', scCtrl));
    TMenuItem* line = NewItem(&form, u"-");
    TMenuItem* more = NewItem(&form, u"&More");
    TMenuItem* deep = NewItem(&form, u"Deep");
    TMenuItem* hidden = NewItem(&form, u"Hidden");
    menu->Items()->Add(open);
    menu->Items()->Add(more);
    menu->Items()->Insert(1, line);
    menu->Items()->Add(hidden);
    more->Add(deep);
    hidden->SetVisible(false);

    EXPECT_EQ(menu->Items()->Count(), 4);
    EXPECT_EQ(menu->Items()->Items(2), more);
    EXPECT_EQ(more->MenuIndex(), 2);
    EXPECT_EQ(deep->Parent(), more);
    EXPECT_EQ(deep->GetParentMenu(), menu);
    EXPECT_EQ(menu->Items()->Find(u"more"), more);
    EXPECT_EQ(menu->Items()->IndexOf(hidden), 3);
    EXPECT_TRUE(line->IsLine());
    EXPECT_THROW(more->Add(open), EMenuError);

    HMENU h = menu->Handle();
    ASSERT_EQ(GetMenuItemCount(h), 3);  // the hidden item is left out
    EXPECT_EQ(TextAt(h, 0), u"&Open...\tCtrl+O");
    EXPECT_EQ(GetMenuItemID(h, 0), open->Command());
    EXPECT_EQ(GetMenuState(h, 1, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(GetSubMenu(h, 2), more->Handle());
    EXPECT_EQ(GetMenuItemCount(more->Handle()), 1);

    // Changes reach the handle, which stays the same.
    open->SetEnabled(false);
    open->SetChecked(true);
    open->SetCaption(u"Op&en");
    EXPECT_EQ(GetMenuState(h, 0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED), MF_GRAYED | MF_CHECKED);
    EXPECT_EQ(TextAt(h, 0), u"Op&en\tCtrl+O");
    hidden->SetVisible(true);
    EXPECT_EQ(GetMenuItemCount(h), 4);
    more->Delete(0);
    EXPECT_EQ(more->Count(), 0);
    EXPECT_EQ(GetSubMenu(h, 2), nullptr);  // an item without sub-items is a plain one
    menu->Items()->Remove(hidden);
    EXPECT_EQ(hidden->Parent(), nullptr);
    delete hidden;
    EXPECT_EQ(menu->FindItem(open->Command(), fkCommand), open);
    EXPECT_EQ(menu->FindItem(ShortCut('O', scCtrl), fkShortCut), open);
    menu->Items()->Clear();
    EXPECT_EQ(GetMenuItemCount(h), 0);
    EXPECT_EQ(form.ComponentCount(), 1);  // the cleared items are gone
}

TEST_F(MenusTest, HotkeyTextHelpers) {
    const struct {
        const char16_t* caption;
        const char16_t* stripped;
        WideChar hotkey;
    } cases[] = {
        {u"&File", u"File", u'F'},      {u"Save &as", u"Save as", u'a'},  {u"Fish && Chips", u"Fish & Chips", 0},
        {u"&&Not &it", u"&Not it", u'i'}, {u"Trailing&", u"Trailing", 0}, {u"", u"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripHotkey(c.caption), c.stripped) << Utf16ToUtf8(c.caption);
        EXPECT_EQ(GetHotkey(c.caption), c.hotkey) << Utf16ToUtf8(c.caption);
    }
    EXPECT_TRUE(SameCaption(u"&Open", u"open"));
    EXPECT_FALSE(SameCaption(u"Open", u"Opened"));
}

TEST_F(MenusTest, RadioItemsOfAGroupCheckOneAtATime) {
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    std::vector<TMenuItem*> items;
    for (int i = 0; i < 4; ++i) {
        TMenuItem* item = NewItem(&form, u"Item");
        item->SetRadioItem(true);
        item->SetGroupIndex(i < 3 ? 1 : 2);
        menu->Items()->Add(item);
        items.push_back(item);
    }
    items[0]->SetChecked(true);
    items[3]->SetChecked(true);
    items[1]->SetChecked(true);
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[1]->Checked());
    EXPECT_FALSE(items[2]->Checked());
    EXPECT_TRUE(items[3]->Checked());  // another group
    // The handle marks radio items and their check.
    const UINT state = GetMenuState(menu->Handle(), 1, MF_BYPOSITION);
    EXPECT_EQ(state & (MFT_RADIOCHECK | MF_CHECKED), MFT_RADIOCHECK | MF_CHECKED);
    EXPECT_EQ(GetMenuState(menu->Handle(), 0, MF_BYPOSITION) & MF_CHECKED, 0u);
    // An auto-checking radio item checks itself when clicked.
    items[2]->SetAutoCheck(true);
    items[2]->Click();
    EXPECT_TRUE(items[2]->Checked());
    EXPECT_FALSE(items[1]->Checked());
}

class TMenuHost : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

TEST_F(MenusTest, PopupMenusRunThroughTheHookAndClickTheChosenItem) {
    TForm form(nullptr);
    form.SetBounds(100, 100, 300, 200);
    auto* host = new TMenuHost(&form);
    host->SetParent(&form);
    host->SetBounds(10, 10, 100, 50);
    auto* menu = new TPopupMenu(&form);
    TMenuItem* first = NewItem(&form, u"First");
    TMenuItem* second = NewItem(&form, u"Second");
    menu->Items()->Add(first);
    menu->Items()->Add(second);
    std::vector<std::string> events;
    menu->OnPopup = [&](TObject*) { events.push_back("popup"); };
    first->OnClick = [&](TObject*) { events.push_back("first"); };
    second->OnClick = [&](TObject*) { events.push_back("second"); };
    int answer = 0;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What != TModalRequest::PopupMenu) return 0;
        events.push_back("shown at " + std::to_string(r.Pos.x) + "," + std::to_string(r.Pos.y));
        return answer;
    });
    form.Show();

    answer = second->Command();
    menu->Popup(5, 6);
    Drain();
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "shown at 5,6", "second"}));
    EXPECT_EQ(menu->PopupPoint(), TPoint(5, 6));

    // A right click on a control with the menu shows it where the mouse is.
    events.clear();
    host->SetPopupMenu(menu);
    answer = first->Command();
    host->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host->Handle()), MAKELPARAM(150, 160));
    Drain();
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "shown at 150,160", "first"}));
    EXPECT_EQ(menu->PopupComponent(), host);

    // From the keyboard it shows at the control's corner; dismissed, nothing is clicked.
    events.clear();
    answer = kPopupMenuDismissed;
    host->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    Drain();
    const TPoint corner = host->ClientToScreen(TPoint(0, 0));
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "shown at " + std::to_string(corner.x) + "," + std::to_string(corner.y)}));

    // Without AutoPopup the right click shows nothing.
    events.clear();
    menu->SetAutoPopup(false);
    host->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(150, 160));
    EXPECT_TRUE(events.empty());
    delete menu;
    EXPECT_EQ(host->PopupMenu(), nullptr);
}

TEST_F(MenusTest, OwnerDrawnItemsAreMarkedAndHotKeysAnswerMenuChar) {
    TForm form(nullptr);
    auto* menu = new TPopupMenu(&form);
    TMenuItem* plain = NewItem(&form, u"Plain");
    TMenuItem* drawn = NewItem(&form, u"&Drawn");
    drawn->OnDrawItem = [](TObject*, TCanvas*, TRect, bool) {};
    menu->Items()->Add(plain);
    menu->Items()->Add(drawn);
    HMENU h = menu->Handle();
    EXPECT_EQ(GetMenuState(h, 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
    EXPECT_EQ(GetMenuState(h, 1, MF_BYPOSITION) & MF_OWNERDRAW, MF_OWNERDRAW);
    MENUITEMINFOW info;
    info.fMask = MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(h, 1, TRUE, &info));
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(drawn));
    // A menu drawn by its owner makes every item but the lines owner-drawn.
    menu->SetOwnerDraw(true);
    EXPECT_EQ(GetMenuState(h, 0, MF_BYPOSITION) & MF_OWNERDRAW, MF_OWNERDRAW);

    // The hot key of an item picks it when a character is typed in the menu.
    const auto menuChar = [&](char16_t c) {
        return SendMessageW(PopupList->Window(), WM_MENUCHAR, MAKEWPARAM(c, MF_POPUP), reinterpret_cast<LPARAM>(h));
    };
    EXPECT_EQ(menuChar(u'd'), static_cast<LRESULT>(MAKELONG(1, MNC_EXECUTE)));
    EXPECT_EQ(menuChar(u'x'), MNC_IGNORE);
    plain->SetCaption(u"&Dup");
    EXPECT_EQ(menuChar(u'D'), static_cast<LRESULT>(MAKELONG(0, MNC_SELECT)));  // two match: select the first
}

TEST_F(MenusTest, MainMenuShortcutsArriveAsKeyMessages) {
    TForm form(nullptr);
    auto* host = new TMenuHost(&form);
    host->SetParent(&form);
    auto* menu = new TMainMenu(&form);
    TMenuItem* file = NewItem(&form, u"&File");
    TMenuItem* fresh = NewItem(&form, u"&New", ShortCut('N', scCtrl));
    menu->Items()->Add(file);
    file->Add(fresh);
    form.SetMenu(menu);
    int clicks = 0, opened = 0, keys = 0;
    fresh->OnClick = [&](TObject*) { ++clicks; };
    file->OnClick = [&](TObject*) { ++opened; };  // the sub-menu "opens" on the way
    host->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keys; };
    form.Show();

    host->Perform(WM_KEYDOWN, 'N', kCtrl);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(keys, 0);  // the shortcut took the key
    host->Perform(WM_KEYDOWN, 'N', 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(keys, 1);
    // A disabled item still takes its key but does not run.
    fresh->SetEnabled(false);
    host->Perform(WM_KEYDOWN, 'N', kCtrl);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(keys, 1);

    // The bar's items reach the form as WM_COMMAND.
    fresh->SetEnabled(true);
    EXPECT_EQ(GetMenu(form.Handle()), menu->Handle());
    form.Perform(WM_COMMAND, fresh->Command(), 0);
    EXPECT_EQ(clicks, 2);
    form.SetMenu(nullptr);
    EXPECT_EQ(GetMenu(form.Handle()), nullptr);
}

}  // namespace
