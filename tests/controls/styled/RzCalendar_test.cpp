// The month calendar over the headless widget set: the grid's first day, range limits on dates
// and on the view, clicks on days and buttons, and the keys, with today fixed.
#include <gtest/gtest.h>

#include "controls/styled/RzCalendar.h"
#include "platform/vcl/Forms.h"

namespace {

TDateTime Day(WORD y, WORD m, WORD d) {
    TDateTime v = 0;
    EXPECT_TRUE(TryEncodeDate(y, m, d, v));
    return v;
}

class RzCalendarTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 400);
        cal_ = new TRzCalendar(form_.get());
        cal_->Today = [] { return Day(2026, 3, 10); };
        cal_->MeasureText = [](const WideString& t) { return TSize{static_cast<LONG>(7 * t.size()), 13}; };
        cal_->Remeasure();
        cal_->SetParent(form_.get());
        cal_->SetFirstDayOfWeek(fdowMonday);
        cal_->SetDate(Day(2026, 3, 10));
    }
    // Presses and releases the left button over the centre of a rectangle.
    void ClickAt(const TRect& r) {
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        cal_->Perform(WM_MOUSEMOVE, 0, at);
        cal_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
        cal_->Perform(WM_LBUTTONUP, 0, at);
    }
    TRect Cell(int row, int col) {
        cal_->Perform(WM_MOUSEMOVE, 0, 0);  // lays the calendar out
        const TRect grid = cal_->AreaRect(calDays);
        const int w = grid.Width() / 7;
        const int h = (cal_->Height() > 0 ? grid.Height() : 0) / 6;
        return TRect(grid.left + col * w, grid.top + row * h, grid.left + col * w + w - 2, grid.top + row * h + h - 2);
    }
    std::unique_ptr<TForm> form_;
    TRzCalendar* cal_ = nullptr;
};

TEST_F(RzCalendarTest, TheGridStartsWithOneToSevenDaysOfThePreviousMonth) {
    struct Case {
        TRzFirstDayOfWeek first;
        TDateTime month, firstCell;
    } cases[] = {
        {fdowMonday, Day(2026, 6, 15), Day(2026, 5, 25)},   // June 1st is a Monday: a whole week before
        {fdowMonday, Day(2026, 3, 10), Day(2026, 2, 23)},
        {fdowSunday, Day(2026, 3, 10), Day(2026, 2, 22)},   // March 1st is a Sunday
        {fdowSunday, Day(2026, 2, 10), Day(2026, 1, 25)},
    };
    for (const Case& c : cases) {
        cal_->SetFirstDayOfWeek(c.first);
        cal_->SetDate(c.month);
        EXPECT_EQ(cal_->FirstGridDate(), c.firstCell) << c.first;
    }
}

TEST_F(RzCalendarTest, RangeLimitsDatesAndTheView) {
    cal_->SetMaxDate(Day(2026, 3, 20));
    EXPECT_THROW(cal_->SetDate(Day(2026, 3, 21)), ERzCalendarError);
    cal_->SetMinDate(Day(2026, 1, 5));
    EXPECT_THROW(cal_->SetMinDate(Day(2026, 4, 1)), ERzCalendarError) << "a minimum beyond the maximum";
    cal_->SetDate(Day(2026, 1, 20));
    cal_->MoveView(1);
    cal_->MoveView(1);
    EXPECT_EQ(cal_->ViewDate(), Day(2026, 3, 1));
    cal_->MoveView(1);
    EXPECT_EQ(cal_->ViewDate(), Day(2026, 3, 1)) << "the view stops at the maximum's month";
    cal_->MoveView(-5);
    EXPECT_EQ(cal_->ViewDate(), Day(2026, 3, 1)) << "a jump before the minimum's month is refused";
    // A new maximum pulls the date into the range.
    cal_->SetDate(Day(2026, 3, 18));
    cal_->SetMaxDate(Day(2026, 3, 15));
    EXPECT_EQ(cal_->Date(), Day(2026, 3, 15));
}

TEST_F(RzCalendarTest, ClickingAFillDaySelectsItAndMovesTheView) {
    int changes = 0;
    cal_->OnChange = [&](TObject*) { ++changes; };
    // March 2026 from Monday Feb 23: the last row holds April 1st to 5th.
    ClickAt(Cell(5, 3));
    EXPECT_EQ(cal_->Date(), Day(2026, 4, 2));
    EXPECT_EQ(cal_->ViewDate(), Day(2026, 4, 1));
    EXPECT_EQ(changes, 1);
    // Without fill days the neighbours' cells are empty.
    cal_->SetElements(cal_->Elements() - TRzCalendarElements{ceFillDays});
    cal_->SetDate(Day(2026, 3, 10));
    ClickAt(Cell(0, 0));
    EXPECT_EQ(cal_->Date(), Day(2026, 3, 10));
}

TEST_F(RzCalendarTest, TodayAndClearButtons) {
    cal_->SetDate(Day(2026, 1, 2));
    cal_->Perform(WM_MOUSEMOVE, 0, 0);
    ClickAt(cal_->AreaRect(calToday));
    EXPECT_EQ(cal_->Date(), Day(2026, 3, 10));
    bool allow = false;
    cal_->OnClear = [&](TObject*, bool& a) { a = allow; };
    ClickAt(cal_->AreaRect(calClear));
    EXPECT_EQ(cal_->Date(), Day(2026, 3, 10)) << "the handler refused";
    allow = true;
    ClickAt(cal_->AreaRect(calClear));
    EXPECT_EQ(cal_->Date(), 0);
    EXPECT_TRUE(cal_->ClearClicked());
}

TEST_F(RzCalendarTest, KeysMoveTheDate) {
    struct Case {
        WORD key;
        TDateTime expected;
    } cases[] = {
        {0x27, Day(2026, 3, 11)},  // right
        {0x28, Day(2026, 3, 17)},  // down
        {0x25, Day(2026, 3, 9)},   // left
        {0x26, Day(2026, 3, 3)},   // up
        {0x23, Day(2026, 3, 31)},  // end
        {0x24, Day(2026, 3, 1)},   // home
        {0x22, Day(2026, 4, 10)},  // page down
    };
    for (const Case& c : cases) {
        cal_->SetDate(Day(2026, 3, 10));
        cal_->Perform(WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(cal_->Date(), c.expected) << c.key;
    }
}

TEST_F(RzCalendarTest, SizesItselfToItsContent) {
    const TSize minimum = cal_->MinimumSize();
    EXPECT_EQ(cal_->Width(), minimum.cx);
    EXPECT_EQ(cal_->Height(), minimum.cy);
    cal_->SetBounds(0, 0, 10, 10);
    EXPECT_EQ(cal_->Width(), minimum.cx) << "never smaller than its content";
    const int withoutWeeks = cal_->Width();
    cal_->SetElements(cal_->Elements() + TRzCalendarElements{ceWeekNumbers});
    EXPECT_GT(cal_->Width(), withoutWeeks);
}

}  // namespace
