// Tool bar without a toolkit: check and grouped buttons, the layout with captions, separators,
// and clicks by mouse through the bar.
#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/ToolBar.h"

namespace {

TToolButton* AddButton(TToolBar* bar, TToolButtonStyle style, bool grouped = false) {
    auto* b = new TToolButton(bar);
    b->SetStyle(style);
    b->SetGrouped(grouped);
    b->SetParent(bar);
    return b;
}

TEST(ToolBar, CheckAndGroupedButtons) {
    auto* form = new TForm(Application);
    auto* bar = new TToolBar(form);
    bar->SetParent(form);
    TToolButton* plain = AddButton(bar, tbsButton);
    TToolButton* check = AddButton(bar, tbsCheck);
    AddButton(bar, tbsSeparator);
    TToolButton* g1 = AddButton(bar, tbsCheck, true);
    TToolButton* g2 = AddButton(bar, tbsCheck, true);
    TToolButton* g3 = AddButton(bar, tbsCheck, true);
    AddButton(bar, tbsDivider);
    TToolButton* other = AddButton(bar, tbsCheck, true);  // a group of its own

    int clicks = 0;
    plain->OnClick = [&](TObject*) { ++clicks; };
    plain->Click();
    EXPECT_FALSE(plain->Down());
    EXPECT_EQ(clicks, 1);

    check->Click();
    EXPECT_TRUE(check->Down());
    check->Click();
    EXPECT_FALSE(check->Down());

    g1->Click();
    other->Click();
    EXPECT_TRUE(g1->Down());
    g3->Click();
    EXPECT_FALSE(g1->Down());
    EXPECT_TRUE(g3->Down());
    EXPECT_TRUE(other->Down());  // beyond the divider
    g3->Click();                 // the last one down stays down
    EXPECT_TRUE(g3->Down());
    g2->SetAllowAllUp(true);
    g2->SetDown(true);
    EXPECT_FALSE(g3->Down());
    g2->Click();
    EXPECT_FALSE(g2->Down());

    // Buttons sit in a row; separators are narrow.
    EXPECT_EQ(bar->ButtonCount(), 8);
    EXPECT_EQ(check->Left(), plain->Left() + plain->Width());
    EXPECT_EQ(bar->Buttons(2)->Width(), 8);
    EXPECT_EQ(g1->Left(), check->Left() + check->Width() + 8);
    delete form;
}

TEST(ToolBar, CaptionsUnderTheImageMakeTallerButtonsAndMouseClicks) {
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 300, 200);
    auto* bar = new TToolBar(form);
    bar->SetParent(form);
    auto* images = new TImageList(form);
    images->SetSize(24, 24);
    bar->SetImages(images);
    TToolButton* b = AddButton(bar, tbsButton);
    b->SetCaption(u"Print");
    const int plainHeight = b->Height();
    bar->SetShowCaptions(true);
    EXPECT_GT(b->Height(), plainHeight);
    EXPECT_GE(b->Height(), 24 + 8);

    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    const LPARAM at = MAKELPARAM(b->Left() + 4, b->Top() + 4);
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    bar->Perform(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(clicks, 1);

    // A drop-down button's arrow opens its menu instead of clicking.
    TToolButton* drop = AddButton(bar, tbsDropDown);
    TComponent menu(nullptr);
    drop->SetDropdownMenu(&menu);
    int dropped = 0;
    drop->OnDropDown = [&](TObject*) { ++dropped; };
    drop->OnClick = [&](TObject*) { ++clicks; };
    const LPARAM arrow = MAKELPARAM(drop->Left() + drop->Width() - 3, drop->Top() + 4);
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, arrow);
    bar->Perform(WM_LBUTTONUP, 0, arrow);
    EXPECT_EQ(dropped, 1);
    EXPECT_EQ(clicks, 1);
    drop->SetDropdownMenu(nullptr);
    delete form;
}

}  // namespace
