// Status bar without a toolkit: the SB_* messages on panels and the simple panel.
#include <gtest/gtest.h>

#include "platform/vcl/StatusBar.h"

namespace {

TEST(StatusBar, TextMessagesReachPanelsAndTheSimplePanel) {
    TStatusBar bar(nullptr);
    bar.SetBounds(0, 0, 400, 20);
    bar.SetSizeGrip(false);
    bar.Panels()->Add()->SetWidth(100);
    bar.Panels()->Add()->SetWidth(150);
    bar.Panels()->Add();

    bar.Perform(SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(u"Ready"));
    bar.Perform(SB_SETTEXTA, 0 | SBT_POPOUT, reinterpret_cast<LPARAM>("caf\xC3\xA9"));
    EXPECT_EQ(bar.Panels()->Items(1)->Text(), u"Ready");
    EXPECT_EQ(bar.Panels()->Items(0)->Text(), u"caf\u00E9");
    EXPECT_EQ(bar.Panels()->Items(0)->Bevel(), pbRaised);
    bar.Perform(SB_SETTEXTW, 2 | SBT_OWNERDRAW, 0);
    EXPECT_EQ(bar.Panels()->Items(2)->Style(), psOwnerDraw);
    EXPECT_EQ(bar.Perform(SB_SETTEXTW, 7, reinterpret_cast<LPARAM>(u"x")), 0);

    char16_t buffer[16] = {};
    EXPECT_EQ(LOWORD(bar.Perform(SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(buffer))), 5);
    EXPECT_EQ(WideString(buffer), u"Ready");

    // Panels sit side by side; the last one takes the rest of the bar.
    RECT r{};
    bar.Perform(SB_GETRECT, 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 100);
    bar.Perform(SB_GETRECT, 2, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left, 250);
    EXPECT_GE(r.right, 395);
    int edges[3] = {};
    EXPECT_EQ(bar.Perform(SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[2], -1);

    bar.Perform(SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(u"Loading\u2026"));
    EXPECT_EQ(bar.SimpleText(), u"Loading\u2026");
    bar.Perform(SB_SIMPLE, 1, 0);
    EXPECT_TRUE(bar.SimplePanel());
    EXPECT_EQ(bar.Perform(WM_GETTEXTLENGTH, 0, 0), 8);
}

}  // namespace
