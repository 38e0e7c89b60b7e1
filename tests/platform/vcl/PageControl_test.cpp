// Page control and tab control without a toolkit: pages and tabs, switching with the
// OnChanging veto, hidden tabs, Ctrl+Tab, and the tab messages.
#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/PageControl.h"

namespace {

TEST(PageControl, SwitchingPagesAsksOnChangingFirst) {
    auto* form = new TForm(Application);
    auto* pages = new TPageControl(form);
    pages->SetParent(form);
    TTabSheet* sheets[3];
    for (int i = 0; i < 3; ++i) {
        sheets[i] = new TTabSheet(form);
        sheets[i]->SetPageControl(pages);
        sheets[i]->SetCaption(i == 0 ? u"General" : i == 1 ? u"Fonts" : u"Advanced");
    }
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);  // the first page shows
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[1]->Visible());
    EXPECT_EQ(pages->TabCaption(2), u"Advanced");

    bool allow = false;
    int changes = 0;
    pages->OnChanging = [&](TObject*, bool& a) { a = allow; };
    pages->OnChange = [&](TObject*) {
        ++changes;
        EXPECT_EQ(pages->ActivePage(), sheets[2]);  // the page is active when OnChange runs
    };
    EXPECT_FALSE(pages->SelectTabByUser(2));
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(pages->TabIndex(), 0);
    allow = true;
    EXPECT_TRUE(pages->SelectTabByUser(2));
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_TRUE(sheets[2]->Visible());
    EXPECT_FALSE(sheets[0]->Visible());
    EXPECT_EQ(changes, 1);

    // A hidden tab moves the others' tab indices; pages keep theirs.
    pages->OnChange = nullptr;
    sheets[1]->SetTabVisible(false);
    EXPECT_EQ(pages->TabCount(), 2);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    EXPECT_EQ(sheets[2]->PageIndex(), 2);
    EXPECT_EQ(pages->TabIndex(), 1);

    // Ctrl+Tab turns to the next page with a visible tab, wrapping around.
    pages->Perform(WM_KEYDOWN, VK_TAB, 1 << 26);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    pages->Perform(WM_KEYDOWN, VK_TAB, (1 << 26) | (1 << 25));
    EXPECT_EQ(pages->ActivePage(), sheets[2]);

    // Setting the active page in code raises no events; removing it activates another.
    int events = 0;
    pages->OnChanging = [&](TObject*, bool&) { ++events; };
    pages->SetActivePageIndex(0);
    EXPECT_EQ(events, 0);
    delete sheets[0];
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_NE(pages->ActivePage(), nullptr);
    delete form;
}

TEST(TabControl, TabsFromStringsAndTheTabMessages) {
    TTabControl tabs(nullptr);
    tabs.Tabs()->Add("One");
    tabs.Tabs()->Add("Two");
    EXPECT_EQ(tabs.TabCount(), 2);
    EXPECT_EQ(tabs.TabIndex(), 0);

    // TCM_INSERTITEMA / TCM_SETITEMA / TCM_SETITEMW with the TCIF_* mask.
    char three[] = "Thr\xC3\xA9";
    TCITEMA a;
    a.mask = TCIF_TEXT | TCIF_PARAM;
    a.pszText = three;
    a.lParam = 42;
    EXPECT_EQ(tabs.Perform(TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&a)), 1);
    EXPECT_EQ(tabs.TabCaption(1), u"Thr\u00E9");
    EXPECT_EQ(tabs.TabCount(), 3);
    WideString wide = u"Zwei";
    TCITEMW w;
    w.mask = TCIF_TEXT;
    w.pszText = wide.data();
    EXPECT_EQ(tabs.Perform(TCM_SETITEMW, 2, reinterpret_cast<LPARAM>(&w)), 1);
    EXPECT_EQ(tabs.TabCaption(2), u"Zwei");
    EXPECT_EQ(tabs.Perform(TCM_SETITEMW, 9, reinterpret_cast<LPARAM>(&w)), 0);
    TCITEMW read;
    read.mask = TCIF_PARAM;
    tabs.Perform(TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&read));
    EXPECT_EQ(read.lParam, 42);
    EXPECT_EQ(tabs.Perform(TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(tabs.Perform(TCM_SETCURSEL, 2, 0), 0);
    EXPECT_EQ(tabs.TabIndex(), 2);
    EXPECT_EQ(tabs.Perform(TCM_SETCURSEL, 7, 0), -1);
}

}  // namespace
