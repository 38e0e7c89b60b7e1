// A favorite kept across a restart: added from the Message menu, found in the Favorites tab
// after the program starts again, and opened from there.
#include "tests/e2e/Journey.h"

#include <thread>

namespace fs = std::filesystem;

namespace e2e {
namespace {

using FavoritesJourney = Journey;

// Clicks along the top of a page control's tab strip until the sheet shows; false if it never does.
bool SwitchToSheet(Program& program, const Desktop& desktop, const std::string& pages, const std::string& firstSheet,
                   const std::string& sheet) {
    const auto control = program.Find(pages);
    const auto first = program.Find(firstSheet);
    if (!control || !first) return false;
    for (int x = control->x + 12; x < control->x + control->w - 4; x += 20) {
        desktop.Click(x, control->y + (first->y - control->y) / 2);
        if (program.WaitFor(sheet, 300ms)) return true;
    }
    return false;
}

TEST_F(FavoritesJourney, AFavoriteAddedFromTheMenuIsThereAfterARestartAndOpens) {
    CopyMail({"msg/msgconvert-pairs/plain_jpeg_attached.msg"});
    Program* program = &Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program->WaitUntil(ListHas(1), 90s)) << "the main window does not list the folder's message";
    SelectMessage(0, "test");
    ClickMenu("Message1", "miAddToFavs", "the Message menu has no Add To Favorites item");
    ASSERT_TRUE(SwitchToSheet(*program, *desktop_, "Form1.RzPageControl2", "Form1.RzPageControl2.TabSheet4",
                              "Form1.RzPageControl2.TabSheet5"))
        << "the Favorites tab does not open when clicked";
    ASSERT_TRUE(program->WaitFor(".uxTree", 10s)) << "the Favorites tab shows no tree";
    EXPECT_EQ(program->Close(), 0) << "the program does not end when its window is closed";

    // Started on another folder: what opens can only come from the favorite.
    fs::create_directories(home_ / "empty");
    program = &Start({"+DIR", (home_ / "empty").string()});
    ASSERT_TRUE(program->WaitUntil(ListHas(0), 90s)) << "after a restart the main window does not come up on the empty folder";
    ASSERT_TRUE(SwitchToSheet(*program, *desktop_, "Form1.RzPageControl2", "Form1.RzPageControl2.TabSheet4",
                              "Form1.RzPageControl2.TabSheet5"))
        << "after a restart the Favorites tab does not open when clicked";
    const auto tree = program->WaitFor(".uxTree", 10s);
    ASSERT_TRUE(tree) << "the Favorites tab shows no tree";
    // The favorite's row: "subject - sender", somewhere in the first rows.
    std::optional<Control> row;
    int rowY = 0;
    for (int y = tree->y + 8; y < tree->y + std::min(tree->h, 200) && !row; y += 8) {
        desktop_->Click(tree->x + 40, y);
        const auto t = program->Find(".uxTree");
        if (t && DetailText(t, "selected").rfind("test - ", 0) == 0) {
            row = t;
            rowY = y;
        }
    }
    ASSERT_TRUE(row) << "after a restart the Favorites tab does not show the favorite \"test - ...\": " << program->Find(".uxTree")->detail;
    desktop_->DoubleClick(tree->x + 40, rowY);
    EXPECT_TRUE(program->WaitUntil([](const std::vector<Control>& cs) {
        const auto s = FindControl(cs, "Form1.lbSubject");
        return s && s->text == "test";
    }, 30s)) << "a double click on the favorite does not show its message";
}

}  // namespace
}  // namespace e2e
