// A date picked with the mouse from the search dialog's drop-down calendar becomes the search's
// date and narrows what it finds.
#include "tests/e2e/Journey.h"

#include <ctime>
#include <thread>

namespace e2e {
namespace {

using CalendarJourney = Journey;

TEST_F(CalendarJourney, ADatePickedFromTheDropDownCalendarLimitsTheSearch) {
    CopyMail({"msg/msgconvert-pairs/plain_unsent.msg", "msg/msgconvert-pairs/plain_jpeg_attached.msg"});
    Program& program = Start({"+DIR", Mail().string()});
    ASSERT_TRUE(program.WaitUntil(ListHas(2), 90s)) << "the main window does not list the folder's two messages";
    ClickOn("Form1.TopBar.Button10", "the toolbar has no Search button");
    ASSERT_TRUE(program.WaitFor("SearchDlg.rzDate1", 30s)) << "the Search button does not open the search dialog";

    // The drop button at the right end of the From date opens this month's calendar. A dialog
    // that has just come up may still be placed by the window manager on a loaded machine:
    // aim at where the button is now, and click again, as a person would, when nothing opened.
    std::optional<Control> calendar;
    for (int attempt = 0; attempt < 3 && !calendar; ++attempt) {
        std::this_thread::sleep_for(500ms);
        const auto from = program.Find("SearchDlg.rzDate1");
        ASSERT_TRUE(from) << "the search dialog closed before its From date was clicked";
        desktop_->Click(from->x + from->w - 8, from->cy());
        calendar = program.WaitFor("SearchDlg.#popup", 5s);
    }
    ASSERT_TRUE(calendar) << "the From date's drop button opens no calendar";
    std::this_thread::sleep_for(300ms);
    // A day in the middle of the grid belongs to the month shown.
    desktop_->Click(calendar->cx(), calendar->cy());
    ASSERT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) { return !FindControl(cs, "SearchDlg.#popup"); }, 10s))
        << "a click on a day does not close the calendar";
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    const std::string thisMonth = std::to_string(today.tm_mon + 1) + "/";
    const std::string thisYear = "/" + std::to_string(today.tm_year + 1900);
    std::string picked;
    ASSERT_TRUE(program.WaitUntil([&](const std::vector<Control>& cs) {
        const auto d = FindControl(cs, "SearchDlg.rzDate1");
        picked = d ? d->text : std::string();
        return picked.rfind(thisMonth, 0) == 0 && picked.find(thisYear) != std::string::npos;
    }, 10s)) << "the From date does not show the day picked in this month's calendar: \"" << picked << "\"";

    // From a day of this month on, none of the folder's older messages is found.
    ClickOn("SearchDlg.RzBitBtn3", "the search dialog has no START SEARCH button");
    EXPECT_TRUE(program.WaitUntil([](const std::vector<Control>& cs) {
        return !FindControl(cs, "SearchDlg") && DetailNumber(FindControl(cs, "Form1.Messagelist"), "items") == 0;
    }, 60s)) << "a search from " << picked << " still lists the folder's messages of 2007: "
             << (program.Find("Form1.Messagelist") ? program.Find("Form1.Messagelist")->detail : "no list");
}

}  // namespace
}  // namespace e2e
