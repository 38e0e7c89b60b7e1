// Actions over the headless widget set: links to controls and menu items both ways, the idle
// update, shortcuts arriving as key messages, radio groups, and a form file holding menus and
// an action list with its references resolved.
#include <gtest/gtest.h>

#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBar.h"
#include "platform/vcl/VclClasses.h"

namespace {

constexpr LONG kCtrl = 1 << 26;
constexpr LONG kAlt = 1 << 29;

class TActionHost : public TCustomControl {
    QUILLORA_COMPONENT(TActionHost)
public:
    explicit TActionHost(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 80, 24); }
};

const TMetaClass& TActionHost::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TActionHost>("TActionHost", &TCustomControl::StaticClass());
    return meta;
}

class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Application->Initialize();
        RegisterClass(TActionHost::StaticClass());
        RegisterVclClasses();
    }

    // An auto-checking action of a new list on form that counts its runs.
    static TAction* NewCheckingAction(TForm& form, const WideString& caption, int& runs) {
        auto* list = new TActionList(&form);
        auto* action = new TAction(&form);
        action->SetActionList(list);
        action->SetCaption(caption);
        action->SetAutoCheck(true);
        action->OnExecute = [&runs](TObject*) { ++runs; };
        return action;
    }

    // A form with an action list holding one action, a control and a menu item linked to it.
    struct Fixture {
        TForm form{nullptr};
        TActionList* list = new TActionList(&form);
        TAction* action = new TAction(&form);
        TActionHost* control = new TActionHost(&form);
        TMainMenu* menu = new TMainMenu(&form);
        TMenuItem* item = new TMenuItem(&form);
        int executed = 0;
        TComponent* executedBy = nullptr;

        Fixture() {
            action->SetActionList(list);
            action->SetCaption(u"&Open...");
            action->SetHint(u"Open a file|Opens a message file");
            action->SetShortCut(ShortCut('O', scCtrl));
            action->OnExecute = [this](TObject*) {
                ++executed;
                executedBy = action->ActionComponent();
            };
            control->SetParent(&form);
            menu->Items()->Add(item);
            form.SetMenu(menu);
            control->SetAction(action);
            item->SetAction(action);
        }
    };
};

TEST_F(ActionsTest, ActionChangesReachLinkedClientsAndClicksRunTheAction) {
    Fixture f;
    EXPECT_EQ(f.control->Caption(), u"&Open...");
    EXPECT_EQ(f.control->Hint(), u"Open a file|Opens a message file");
    EXPECT_EQ(f.item->Caption(), u"&Open...");
    EXPECT_EQ(f.item->ShortCut(), ShortCut('O', scCtrl));

    f.action->SetEnabled(false);
    EXPECT_FALSE(f.control->Enabled());
    EXPECT_FALSE(f.item->Enabled());
    f.action->SetVisible(false);
    EXPECT_FALSE(f.control->Visible());
    EXPECT_FALSE(f.item->Visible());
    f.action->SetVisible(true);
    f.action->SetEnabled(true);
    f.action->SetChecked(true);
    EXPECT_TRUE(f.item->Checked());
    f.action->SetShortCut(ShortCut('P', scCtrl));
    EXPECT_EQ(f.item->ShortCut(), ShortCut('P', scCtrl));
    EXPECT_EQ(GetMenuItemCount(f.menu->Handle()), 1);

    // A client set apart keeps its own value; one that differs only by hot key follows.
    f.control->SetCaption(u"Mine");
    f.item->SetCaption(u"Open...");
    f.action->SetCaption(u"&Load...");
    EXPECT_EQ(f.control->Caption(), u"Mine");
    EXPECT_EQ(f.item->Caption(), u"&Load...");

    // Clicking a client runs the action, telling it which client did.
    f.control->Click();
    EXPECT_EQ(f.executed, 1);
    EXPECT_EQ(f.executedBy, f.control);
    f.item->Click();
    EXPECT_EQ(f.executed, 2);
    EXPECT_EQ(f.executedBy, f.item);
    EXPECT_EQ(f.action->ActionComponent(), nullptr);
    // A disabled action does not run.
    f.action->SetEnabled(false);
    f.item->Click();
    f.action->SetEnabled(true);
    EXPECT_EQ(f.executed, 2);

    // The action goes: the clients keep their look and lose the link.
    delete f.action;
    EXPECT_EQ(f.control->Action(), nullptr);
    EXPECT_EQ(f.item->Action(), nullptr);
    EXPECT_EQ(f.list->ActionCount(), 0);
    EXPECT_EQ(f.item->Caption(), u"&Load...");
}

TEST_F(ActionsTest, TheIdleCycleUpdatesActionsOnceAndEnablesTheirClients) {
    Fixture f;
    bool allowed = false;
    int updates = 0;
    f.action->OnUpdate = [&](TObject*) {
        ++updates;
        f.action->SetEnabled(allowed);
    };
    auto* second = new TActionHost(&f.form);
    second->SetParent(&f.form);
    second->SetAction(f.action);
    // An action without an execute handler disables itself.
    auto* idle = new TAction(&f.form);
    idle->SetActionList(f.list);
    f.form.Show();

    Application->Idle();
    EXPECT_EQ(updates, 1);  // three clients and the list ask, OnUpdate runs once
    EXPECT_FALSE(f.control->Enabled());
    EXPECT_FALSE(second->Enabled());
    EXPECT_FALSE(f.item->Enabled());
    EXPECT_EQ(GetMenuState(f.menu->Handle(), 0, MF_BYPOSITION) & MF_GRAYED, MF_GRAYED);
    EXPECT_FALSE(idle->Enabled());

    allowed = true;
    Application->Idle();
    EXPECT_EQ(updates, 2);
    EXPECT_TRUE(f.control->Enabled());
    EXPECT_TRUE(f.item->Enabled());
    EXPECT_EQ(GetMenuState(f.menu->Handle(), 0, MF_BYPOSITION) & MF_GRAYED, 0u);

    // Hidden forms are left alone; a suspended list neither updates nor executes.
    f.form.Hide();
    Application->Idle();
    EXPECT_EQ(updates, 2);
    f.form.Show();
    f.list->SetState(asSuspended);
    Application->Idle();
    EXPECT_EQ(updates, 2);
    f.control->Click();
    EXPECT_EQ(f.executed, 0);
    // The list's own handler may take the update.
    f.list->SetState(asNormal);
    f.list->OnUpdate = [](TBasicAction*, bool& handled) { handled = true; };
    Application->Idle();
    EXPECT_EQ(updates, 2);
    f.list->OnUpdate = nullptr;

    // An action set by the program without OnUpdate keeps its state.
    auto* manual = new TAction(&f.form);
    manual->SetActionList(f.list);
    manual->OnExecute = [](TObject*) {};
    manual->SetEnabled(false);
    Application->Idle();
    EXPECT_FALSE(manual->Enabled());
    manual->SetEnabled(true);
    Application->Idle();
    EXPECT_TRUE(manual->Enabled());
}

TEST_F(ActionsTest, ShortcutsArriveAsKeyMessagesAndRunEnabledActions) {
    Fixture f;
    // The menu item shows the action's shortcut; move the item away so the action list answers.
    f.menu->Items()->Remove(f.item);
    bool enabled = true;
    f.action->OnUpdate = [&](TObject*) { f.action->SetEnabled(enabled); };
    // Two actions share a shortcut: the enabled one runs.
    auto* check = new TAction(&f.form);
    auto* uncheck = new TAction(&f.form);
    int checks = 0, unchecks = 0;
    for (TAction* a : {check, uncheck}) {
        a->SetActionList(f.list);
        a->SetShortCut(ShortCut('A', scCtrl | scAlt));
    }
    check->OnExecute = [&](TObject*) { ++checks; };
    uncheck->OnExecute = [&](TObject*) { ++unchecks; };
    check->OnUpdate = [&](TObject*) { check->SetEnabled(false); };
    f.form.Show();
    int keys = 0;
    f.control->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keys; };

    f.control->Perform(WM_KEYDOWN, 'O', kCtrl);
    EXPECT_EQ(f.executed, 1);
    enabled = false;
    f.control->Perform(WM_KEYDOWN, 'O', kCtrl);
    EXPECT_EQ(f.executed, 1);
    EXPECT_EQ(keys, 1);  // nothing took it: the control has it
    f.control->Perform(WM_SYSKEYDOWN, 'A', kCtrl | kAlt);
    EXPECT_EQ(checks, 0);
    EXPECT_EQ(unchecks, 1);
    EXPECT_EQ(keys, 1);
    f.control->Perform(WM_KEYDOWN, 'O', 0);
    EXPECT_EQ(keys, 2);
    // A popup menu of the control answers its own shortcuts first.
    auto* popup = new TPopupMenu(&f.form);
    auto* popupItem = new TMenuItem(&f.form);
    popupItem->SetShortCut(ShortCut('A', scCtrl | scAlt));
    int popupClicks = 0;
    popupItem->OnClick = [&](TObject*) { ++popupClicks; };
    popup->Items()->Add(popupItem);
    f.control->SetPopupMenu(popup);
    f.control->Perform(WM_SYSKEYDOWN, 'A', kCtrl | kAlt);
    EXPECT_EQ(popupClicks, 1);
    EXPECT_EQ(unchecks, 1);
}

TEST_F(ActionsTest, CheckedActionsOfAGroupAndAutoCheck) {
    TForm form(nullptr);
    auto* list = new TActionList(&form);
    std::vector<TAction*> actions;
    std::vector<TMenuItem*> items;
    auto* menu = new TPopupMenu(&form);
    for (int i = 0; i < 3; ++i) {
        auto* a = new TAction(&form);
        a->SetActionList(list);
        a->SetGroupIndex(i < 2 ? 1 : 0);
        a->SetAutoCheck(true);
        a->OnExecute = [](TObject*) {};
        auto* item = new TMenuItem(&form);
        item->SetRadioItem(i < 2);
        menu->Items()->Add(item);
        item->SetAction(a);
        actions.push_back(a);
        items.push_back(item);
    }
    actions[0]->SetChecked(true);
    actions[1]->Execute();
    EXPECT_FALSE(actions[0]->Checked());
    EXPECT_TRUE(actions[1]->Checked());
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[1]->Checked());
    // A checked group member stays checked when run again; an action outside groups toggles.
    items[1]->Click();
    EXPECT_TRUE(actions[1]->Checked());
    items[2]->Click();
    EXPECT_TRUE(items[2]->Checked());
    items[2]->Click();
    EXPECT_FALSE(items[2]->Checked());
    EXPECT_FALSE(actions[2]->Checked());
}

TEST_F(ActionsTest, ToolButtonsShowTheActionsImageAndCheckedState) {
    TForm form(nullptr);
    int runs = 0;
    TAction* action = NewCheckingAction(form, u"Bold", runs);
    action->SetImageIndex(3);
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    auto* button = new TToolButton(bar);
    button->SetParent(bar);
    button->SetStyle(tbsCheck);
    button->SetAction(action);
    EXPECT_NE(dynamic_cast<TToolButtonActionLink*>(button->ActionLink()), nullptr);
    EXPECT_EQ(button->Caption(), u"Bold");
    EXPECT_EQ(button->ImageIndex(), 3);
    EXPECT_FALSE(button->Down());

    action->SetChecked(true);
    EXPECT_TRUE(button->Down());
    action->SetImageIndex(5);
    EXPECT_EQ(button->ImageIndex(), 5);
    action->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    action->SetEnabled(true);
    // The click runs the action, which checks itself off again; the button follows.
    button->Click();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(action->Checked());
    EXPECT_FALSE(button->Down());

    // A drop-down menu shows though it does not pop up on a right click.
    auto* menu = new TPopupMenu(&form);
    menu->SetAutoPopup(false);
    auto* entry = new TMenuItem(&form);
    menu->Items()->Add(entry);
    button->SetStyle(tbsDropDown);
    button->SetDropdownMenu(menu);
    int shown = 0;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What == TModalRequest::PopupMenu) ++shown;
        return kPopupMenuDismissed;
    });
    EXPECT_TRUE(button->CheckMenuDropdown());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(menu->PopupComponent(), button);
}

TEST_F(ActionsTest, ButtonsAndCheckBoxesFollowTheirAction) {
    TForm form(nullptr);
    int runs = 0;
    TAction* action = NewCheckingAction(form, u"&Wrap lines", runs);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    auto* box = new TCheckBox(&form);
    box->SetParent(&form);
    button->SetAction(action);
    box->SetAction(action);
    EXPECT_NE(dynamic_cast<TButtonActionLink*>(button->ActionLink()), nullptr);
    EXPECT_EQ(button->Caption(), u"&Wrap lines");
    EXPECT_EQ(box->Caption(), u"&Wrap lines");

    // The action's check reaches the box without running the action again.
    action->SetChecked(true);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(runs, 0);
    // A click on the button runs the action, which checks itself off; the box follows.
    button->Click();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(action->Checked());
    EXPECT_FALSE(box->Checked());
    action->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(box->Enabled());
}

const char* const kMenuForm = R"(object MenuForm: TForm
  Caption = 'Menus'
  Menu = MainMenu1
  object Host: TActionHost
    Left = 8
    Top = 8
    Width = 80
    Height = 24
    PopupMenu = PopupMenu1
    Action = ActExit
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Action = ActOpen
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        ShortCut = 16472
        Action = ActExit
      end
    end
    object View1: TMenuItem
      Caption = '&View'
      object Body1: TMenuItem
        Caption = 'Message Body'
        Checked = True
        GroupIndex = 1
        RadioItem = True
      end
    end
  end
  object PopupMenu1: TPopupMenu
    Alignment = paRight
    AutoPopup = False
    object Save1: TMenuItem
      Action = ActOpen
    end
  end
  object ActionList1: TActionList
    object ActOpen: TAction
      Category = 'File'
      Caption = '&Open...'
      Hint = 'Open a file'
      ShortCut = 16463
    end
    object ActExit: TAction
      Caption = 'Exit'
      Enabled = False
    end
  end
end
)";

TEST_F(ActionsTest, FormFilesHoldMenusAndActionListsWithLinksResolved) {
    TForm form(nullptr);
    ReadComponentText(kMenuForm, &form);
    auto* main = dynamic_cast<TMainMenu*>(form.FindComponent("MainMenu1"));
    auto* popup = dynamic_cast<TPopupMenu*>(form.FindComponent("PopupMenu1"));
    auto* list = dynamic_cast<TActionList*>(form.FindComponent("ActionList1"));
    auto* open = dynamic_cast<TAction*>(form.FindComponent("ActOpen"));
    auto* exit = dynamic_cast<TAction*>(form.FindComponent("ActExit"));
    auto* host = dynamic_cast<TActionHost*>(form.FindComponent("Host"));
    ASSERT_TRUE(main && popup && list && open && exit && host);
    EXPECT_EQ(form.Menu(), main);
    ASSERT_EQ(main->Items()->Count(), 2);
    TMenuItem* file = main->Items()->Items(0);
    EXPECT_EQ(file->Name(), "File1");
    ASSERT_EQ(file->Count(), 3);
    TMenuItem* open1 = file->Items(0);
    EXPECT_EQ(open1->Action(), open);
    EXPECT_EQ(open1->Caption(), u"&Open...");
    EXPECT_EQ(open1->ShortCut(), ShortCut('O', scCtrl));
    EXPECT_TRUE(file->Items(1)->IsLine());
    // An item's own caption and shortcut stay; the action's state comes through.
    TMenuItem* exit1 = file->Items(2);
    EXPECT_EQ(exit1->Caption(), u"E&xit");
    EXPECT_EQ(exit1->ShortCut(), ShortCut('X', scCtrl));
    EXPECT_FALSE(exit1->Enabled());
    EXPECT_TRUE(main->Items()->Items(1)->Items(0)->RadioItem());
    EXPECT_EQ(popup->Alignment(), paRight);
    EXPECT_FALSE(popup->AutoPopup());
    EXPECT_EQ(popup->Items()->Items(0)->Action(), open);
    EXPECT_EQ(list->ActionCount(), 2);
    EXPECT_EQ(open->ActionList(), list);
    EXPECT_EQ(open->Category(), u"File");
    EXPECT_EQ(host->PopupMenu(), popup);
    EXPECT_EQ(host->Action(), exit);
    EXPECT_FALSE(host->Enabled());
    EXPECT_EQ(open->ClientCount(), 2);

    // Written out and read again, the same tree comes back.
    const std::string text = ComponentToText(&form);
    EXPECT_NE(text.find("object Open1: TMenuItem"), std::string::npos) << text;
    EXPECT_NE(text.find("Action = ActOpen"), std::string::npos) << text;
    EXPECT_NE(text.find("object ActExit: TAction"), std::string::npos) << text;
    TForm again(nullptr);
    ReadComponentText(text, &again);
    auto* again1 = dynamic_cast<TMainMenu*>(again.FindComponent("MainMenu1"));
    ASSERT_NE(again1, nullptr);
    EXPECT_EQ(again1->Items()->Items(0)->Count(), 3);
    EXPECT_EQ(again1->Items()->Items(0)->Items(0)->Action(), again.FindComponent("ActOpen"));
    EXPECT_EQ(dynamic_cast<TActionList*>(again.FindComponent("ActionList1"))->ActionCount(), 2);
}

}  // namespace
