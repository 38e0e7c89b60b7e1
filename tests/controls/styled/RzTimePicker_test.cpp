// The time picker over the headless widget set: hit tests on the clock, AM and PM, stepping,
// dragging the minute hand over twelve, and a time set through the date-time edit's drop-down.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "controls/styled/RzDateTimeEdit.h"
#include "controls/styled/RzTimePicker.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WinUser.h"

namespace {

TDateTime Clock(WORD h, WORD n) {
    TDateTime v = 0;
    EXPECT_TRUE(TryEncodeTime(h, n, 0, 0, v));
    return v;
}

// The offset from the centre that points at a minute.
TPoint AtMinute(int minute, int length = 50) {
    const double a = minute * std::numbers::pi / 30 - std::numbers::pi / 2;
    return TPoint(static_cast<int>(std::lround(std::cos(a) * length)), static_cast<int>(std::lround(std::sin(a) * length)));
}

class RzTimePickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 400);
        picker_ = new TRzTimePicker(form_.get());
        picker_->SetParent(form_.get());
        picker_->UpdateLayout();
    }
    void Mouse(UINT msg, TPoint offset, WPARAM keys = 0) {
        const TPoint c = picker_->ClockCentre();
        picker_->Perform(msg, keys, MAKELPARAM(c.x + offset.x, c.y + offset.y));
    }
    std::unique_ptr<TForm> form_;
    TRzTimePicker* picker_ = nullptr;
};

TEST_F(RzTimePickerTest, HitTestsOnTheClock) {
    struct Case {
        int dx, dy, hour;
    } hours[] = {{0, -40, 12}, {0, 40, 6}, {40, 0, 3}, {-40, 0, 9}, {AtMinute(5).x, AtMinute(5).y, 1}};
    for (const Case& c : hours) EXPECT_EQ(TRzTimePicker::HourAt(c.dx, c.dy), c.hour) << c.dx << "," << c.dy;
    EXPECT_EQ(picker_->MinuteAt(AtMinute(13).x, AtMinute(13).y, false), 13);
    EXPECT_EQ(picker_->MinuteAt(AtMinute(13).x, AtMinute(13).y, true), 15) << "Ctrl snaps to five minutes";
    EXPECT_EQ(picker_->MinuteAt(AtMinute(58).x, AtMinute(58).y, true), 0) << "sixty is zero";
}

TEST_F(RzTimePickerTest, HalvesOfTheDayAndSteps) {
    picker_->SetTime(Clock(11, 30));
    picker_->SetPM();
    EXPECT_EQ(picker_->Time(), Clock(23, 30));
    picker_->SetTime(Clock(12, 15));
    picker_->SetAM();
    EXPECT_EQ(picker_->Time(), Clock(0, 15));
    picker_->SetTime(Clock(0, 10));
    picker_->Perform(WM_KEYDOWN, 0x22, 0);  // page down
    EXPECT_EQ(picker_->Time(), Clock(23, 10));
    // A left click straight above the centre sets twelve, which is 0 in the morning.
    picker_->SetTime(Clock(3, 20));
    Mouse(WM_LBUTTONDOWN, TPoint(0, -30), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, TPoint(0, -30));
    EXPECT_EQ(picker_->Time(), Clock(0, 20));
}

TEST_F(RzTimePickerTest, DraggingTheMinuteHandOverTwelveMovesTheHour) {
    picker_->SetTime(Clock(4, 55));
    Mouse(WM_RBUTTONDOWN, AtMinute(55), MK_RBUTTON);
    Mouse(WM_MOUSEMOVE, AtMinute(0), MK_RBUTTON);
    EXPECT_EQ(picker_->Time(), Clock(5, 0));
    Mouse(WM_MOUSEMOVE, AtMinute(50), MK_RBUTTON);
    EXPECT_EQ(picker_->Time(), Clock(4, 50)) << "back over twelve";
    Mouse(WM_RBUTTONUP, AtMinute(50));
}

TEST_F(RzTimePickerTest, AFastDragMovesTheHourTheShortWayRound) {
    struct Case {
        int from, to;
        TDateTime expected;
    } cases[] = {
        {57, 2, Clock(5, 2)},    // forward over twelve without touching it
        {2, 57, Clock(3, 57)},   // back over twelve
        {29, 31, Clock(4, 31)},  // past six: no hour moves
        {31, 29, Clock(4, 29)},
        {10, 35, Clock(4, 35)},  // a long way round, but not over twelve
    };
    for (const Case& c : cases) {
        picker_->SetTime(Clock(4, static_cast<WORD>(c.from)));
        Mouse(WM_RBUTTONDOWN, AtMinute(c.from), MK_RBUTTON);
        Mouse(WM_MOUSEMOVE, AtMinute(c.to), MK_RBUTTON);
        Mouse(WM_RBUTTONUP, AtMinute(c.to));
        EXPECT_EQ(picker_->Time(), c.expected) << c.from << " -> " << c.to;
    }
}

TEST_F(RzTimePickerTest, TheEditTakesTheTimeSetOnTheClock) {
    auto* edit = new TRzDateTimeEdit(form_.get());
    edit->SetParent(form_.get());
    edit->SetTime(Clock(8, 0));
    auto* injector = new TPanel(form_.get());
    injector->SetParent(form_.get());
    const auto original = injector->WindowProc;
    injector->WindowProc = [&, original](TMessage& m) {
        if (m.Msg != WM_USER + 3) return original(m);
        TRzTimePicker* picker = edit->DroppedTimePicker();
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->Time(), Clock(8, 0));
        picker->SetTime(Clock(14, 45));
        picker->OnSetBtnClick(picker);
    };
    PostMessageW(injector->Handle(), WM_USER + 3, 0, 0);
    edit->DoDropDown();
    EXPECT_EQ(edit->GetTime(), Clock(14, 45));
}

}  // namespace
