// Unicode menus and actions without a display: wide captions through action links (linked,
// unlinked, differing by a hot key), check defaults, the link class per control, the hint of a
// menu item under the mouse, and the hot-key alignment of two captions.
#include <gtest/gtest.h>

#include "controls/unicode/TntActnList.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntMenus.h"
#include "controls/unicode/TntStdCtrls.h"
#include "platform/vcl/Forms.h"

namespace {

class TntActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        list_ = new TTntActionList(form_.get());
        action_ = new TTntAction(form_.get());
        action_->SetActionList(list_);
        action_->SetCaption(u"&\u041E\u0442\u043A\u0440\u044B\u0442\u044C");
        action_->SetHint(u"\u041E\u0442\u043A\u0440\u044B\u0442\u044C|\u0424\u0430\u0439\u043B \U0001F4C2");
        action_->OnExecute = [](TObject*) {};
    }
    std::unique_ptr<TForm> form_;
    TTntActionList* list_ = nullptr;
    TTntAction* action_ = nullptr;
};

TEST_F(TntActionsTest, LinkedClientsFollowWideCaptionsUntilEdited) {
    auto* button = new TTntButton(form_.get());
    button->SetParent(form_.get());
    button->SetAction(action_);
    EXPECT_EQ(button->Caption(), action_->Caption());
    EXPECT_EQ(WideGetHint(button), action_->Hint());
    EXPECT_FALSE(IsWideCaptionStored(button));
    auto* tool = new TToolButton(form_.get());
    tool->SetAction(action_);
    action_->SetCaption(u"\u958B\u304F");  // Japanese
    EXPECT_EQ(button->Caption(), u"\u958B\u304F");
    EXPECT_EQ(tool->Caption(), u"\u958B\u304F");
    // A caption edited away from the action's keeps its own text.
    button->SetCaption(u"\u0421\u0432\u043E\u0439");
    EXPECT_TRUE(IsWideCaptionStored(button));
    action_->SetCaption(u"\u65B0\u3057\u3044");
    EXPECT_EQ(button->Caption(), u"\u0421\u0432\u043E\u0439");
    EXPECT_EQ(tool->Caption(), u"\u65B0\u3057\u3044");
}

TEST_F(TntActionsTest, MenuItemDifferingByAHotKeyStaysLinked) {
    auto* menu = new TTntPopupMenu(form_.get());
    TTntMenuItem* item = menu->CreateMenuItem();
    menu->Items()->Add(item);
    item->SetAction(action_);
    item->SetCaption(u"\u041E\u0442\u043A&\u0440\u044B\u0442\u044C");
    ASSERT_NE(item->ActionLink(), nullptr);
    EXPECT_TRUE(item->ActionLink()->IsCaptionLinked());
    action_->SetCaption(u"\u0417\u0430\u043A\u0440\u044B\u0442\u044C");
    EXPECT_EQ(item->GetCaption(), u"\u0417\u0430\u043A\u0440\u044B\u0442\u044C");
}

TEST_F(TntActionsTest, CheckDefaultsKeepAChosenCaption) {
    auto* named = new TTntButton(form_.get());
    named->SetName("Button1");
    named->SetCaption(u"Button1");
    CopyWideActionTexts(named, action_, true);
    EXPECT_EQ(named->Caption(), action_->Caption());
    auto* own = new TTntButton(form_.get());
    own->SetCaption(u"\u0421\u0432\u043E\u0439");
    own->SetHint(u"x");
    CopyWideActionTexts(own, action_, true);
    EXPECT_EQ(own->Caption(), u"\u0421\u0432\u043E\u0439");
    EXPECT_EQ(WideGetHint(own), u"x");
    CopyWideActionTexts(own, action_, false);
    EXPECT_EQ(own->Caption(), action_->Caption());
}

TEST_F(TntActionsTest, LinkClassFollowsTheKindOfControl) {
    auto linkOf = [](TControl* c) { return GetWideActionLinkClass(c)(c); };
    TTntListView view(nullptr);
    TTntButton button(nullptr);
    TTntEdit edit(nullptr);
    TTntLabel label(nullptr);
    TToolButton tool(nullptr);
    EXPECT_EQ(linkOf(&view)->ClassName(), "TTntListViewActionLink");
    EXPECT_EQ(linkOf(&button)->ClassName(), "TTntButtonActionLink");
    EXPECT_EQ(linkOf(&edit)->ClassName(), "TTntWinControlActionLink");
    EXPECT_EQ(linkOf(&label)->ClassName(), "TTntControlActionLink");
    EXPECT_EQ(linkOf(&tool)->ClassName(), "TTntToolButtonActionLink");
}

TEST_F(TntActionsTest, AssignCopiesWideTexts) {
    TTntAction copy(nullptr);
    copy.Assign(action_);
    EXPECT_EQ(copy.Caption(), action_->Caption());
    EXPECT_EQ(copy.Hint(), action_->Hint());
    TTntEdit edit(nullptr);
    edit.SetText(u"\u03B1");
    copy.Assign(&edit);
    EXPECT_EQ(copy.Caption(), u"\u03B1");
}

TEST_F(TntActionsTest, HoveredMenuItemGivesItsLongHint) {
    auto* menu = new TTntMainMenu(form_.get());
    auto* top = new TTntMenuItem(form_.get());
    top->SetCaption(u"&\u0424\u0430\u0439\u043B");
    menu->Items()->Add(top);
    auto* item = new TTntMenuItem(form_.get());
    item->SetCaption(u"\u041F\u0435\u0447\u0430\u0442\u044C");
    item->SetShortCut(ShortCut('P', {ssCtrl}));
    item->SetHint(u"a|\u0431 \U0001F5A8");
    top->Add(item);
    form_->SetMenu(menu);
    form_->HandleNeeded();
    form_->Perform(WM_MENUSELECT, MAKEWPARAM(item->Command(), 0), reinterpret_cast<LPARAM>(top->Handle()));
    EXPECT_EQ(Application->Hint(), u"\u0431 \U0001F5A8");
    form_->Perform(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(Application->Hint(), u"");
    EXPECT_EQ(WideGetMenuItemHint(item), u"a|\u0431 \U0001F5A8");
}

TEST(SyncHotKeyPosition, MovesTheHotKeyOrLeavesTheCaption) {
    struct Case {
        const char16_t* source;
        const char16_t* destination;
        const char16_t* result;
    } cases[] = {
        {u"&\u0424\u0430\u0439\u043B", u"\u0424\u0430\u0439\u043B", u"&\u0424\u0430\u0439\u043B"},
        {u"\u0424\u0430&\u0439\u043B", u"&\u0424\u0430\u0439\u043B", u"\u0424\u0430&\u0439\u043B"},
        {u"A&&B", u"A&&B", u"A&&B"},
        {u"&Other", u"\u0424\u0430\u0439\u043B", u"\u0424\u0430\u0439\u043B"},  // not the same caption
    };
    for (const Case& c : cases) EXPECT_EQ(SyncHotKeyPosition(c.source, c.destination), c.result);
}

}  // namespace
