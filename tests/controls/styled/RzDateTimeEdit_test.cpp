// The date-time edit over the headless widget set: the lenient readers as tables in two
// locales, the range rules, stepping keys, and a date picked in the drop-down calendar.
#include <gtest/gtest.h>

#include <deque>

#include "controls/styled/RzDateTimeEdit.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrlsMessages.h"
#include "platform/vcl/WinUser.h"

namespace {

TDateTime Day(WORD y, WORD m, WORD d) {
    TDateTime v = 0;
    EXPECT_TRUE(TryEncodeDate(y, m, d, v));
    return v;
}

TDateTime Clock(WORD h, WORD n) {
    TDateTime v = 0;
    EXPECT_TRUE(TryEncodeTime(h, n, 0, 0, v));
    return v;
}

TEST(ParseDateText, ReadsWhatUsersType) {
    const TDateTime today = Day(2026, 3, 10);
    const TFormatSettings us = LocaleFormatSettings("en_US"), de = LocaleFormatSettings("de_DE");
    const TFormatSettings ru = LocaleFormatSettings("ru_RU"), pl = LocaleFormatSettings("pl_PL"), fr = LocaleFormatSettings("fr_FR");
    struct Case {
        const TFormatSettings* fs;
        const char16_t* text;
        bool ok;
        TDateTime expected;
    } cases[] = {
        {&us, u"3/4/05", true, Day(2005, 3, 4)},
        {&us, u"25 12 2024", true, Day(2024, 12, 25)},   // 25 can only be a day
        {&us, u"20240115", false, 0},                     // 20, 24 and 0115 all fall to the day
        {&us, u"JAN 5", true, Day(2026, 1, 5)},
        {&us, u"5 January", true, Day(2026, 1, 10)},      // 5 was the month, the name replaced it
        {&de, u"5 Januar", true, Day(2026, 1, 5)},
        {&de, u"05.03.2026", true, Day(2026, 3, 5)},
        {&de, u"050326", true, Day(2026, 3, 5)},          // six digits: 2 + 2 + 2
        {&us, u"", true, 0},
        {&us, u"2/30/2026", false, 0},
        {&us, u"13/5/2026", true, Day(2026, 5, 13)},      // the month above 12 swaps with the day
        {&us, u"13/13/2020", false, 0},                   // no month 13: refused, not 13 March
        {&de, u"13.13.2020", false, 0},
        {&us, u"12/13/2020", true, Day(2020, 12, 13)},
        {&ru, u"5 января 2024", true, Day(2024, 1, 5)},    // the form written after a day number
        {&ru, u"5 январь 2024", true, Day(2024, 1, 5)},    // and the form standing alone
        {&pl, u"5 stycznia", true, Day(2026, 1, 5)},
        {&pl, u"5 Stycznia 2025", true, Day(2025, 1, 5)},
        {&fr, u"5 janv. 2024", true, Day(2024, 1, 5)},     // the abbreviation's dot is no part of the name
        {&fr, u"5 févr. 2024", true, Day(2024, 2, 5)},
    };
    for (const Case& c : cases) {
        TDateTime value = -1;
        EXPECT_EQ(ParseDateText(c.text, value, *c.fs, today), c.ok) << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
        EXPECT_EQ(value, c.expected) << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    }
}

TEST(ParseTimeText, ReadsWhatUsersType) {
    const TFormatSettings us = LocaleFormatSettings("en_US");
    struct Case {
        const char16_t* text;
        TDateTime expected;
    } cases[] = {
        {u"1230PM", Clock(12, 30)},
        {u"12:15 AM", Clock(0, 15)},
        {u"25:70", Clock(1, 0)},
        {u"7:05 p", Clock(19, 5)},
        {u"905", Clock(9, 5)},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseTimeText(c.text, us), c.expected);
}

class RzDateTimeEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
        edit_ = new TRzDateTimeEdit(form_.get());
        edit_->SetParent(form_.get());
        edit_->SetBounds(10, 10, 120, 21);
        edit_->Now = [] { return Day(2026, 3, 10) + Clock(9, 30); };
    }
    std::unique_ptr<TForm> form_;
    TRzDateTimeEdit* edit_ = nullptr;
};

TEST_F(RzDateTimeEditTest, EmptyUntilAValueIsSetAndClearEmptiesAgain) {
    EXPECT_EQ(edit_->GetDate(), 0);
    edit_->RefreshText();
    EXPECT_EQ(edit_->Text(), u"") << "no value is not 12/30/1899";
    edit_->SetDate(Day(2026, 3, 5));
    EXPECT_FALSE(edit_->Text().empty());
    edit_->Clear();
    EXPECT_EQ(edit_->Text(), u"");
    EXPECT_EQ(edit_->GetDate(), 0);
}

TEST_F(RzDateTimeEditTest, RangeRules) {
    edit_->SetDate(Day(2026, 3, 5));
    edit_->SetMinDate(Day(2026, 3, 8));
    EXPECT_EQ(edit_->GetDate(), Day(2026, 3, 8)) << "a new minimum moves the date up";
    edit_->SetMaxDate(Day(2026, 3, 20));
    try {
        edit_->SetMinDate(Day(2026, 4, 1));
        FAIL() << "a minimum beyond the maximum";
    } catch (const ERzCalendarError& e) {
        EXPECT_NE(e.Message().find(u"Date exceeds maximum of "), WideString::npos);
    }
    EXPECT_THROW(edit_->SetDate(Day(2026, 3, 21)), ERzCalendarError);
    EXPECT_EQ(edit_->GetDate(), Day(2026, 3, 8)) << "nothing is stored";
}

TEST_F(RzDateTimeEditTest, KeysStepTheValueUnlessReadOnly) {
    WORD key = 0x21;  // page up
    edit_->Perform(WM_KEYDOWN, key, 0);
    EXPECT_EQ(edit_->GetDate(), Day(2026, 4, 10)) << "an empty edit starts from today";
    edit_->Clear();
    // Shift is read from the keyboard state: step a year through the message with the flag.
    edit_->SetDate(Day(2026, 3, 10));
    edit_->Perform(WM_KEYDOWN, 0x26, 0);  // up: one day
    EXPECT_EQ(edit_->GetDate(), Day(2026, 3, 11));
    edit_->Perform(WM_CHAR, u'-', 0);
    EXPECT_EQ(edit_->GetDate(), Day(2026, 3, 10));
    edit_->SetReadOnly(true);
    for (const UINT msg : {WM_KEYDOWN, WM_CHAR}) {
        edit_->Perform(msg, msg == WM_KEYDOWN ? 0x21 : u'+', 0);
        EXPECT_EQ(edit_->GetDate(), Day(2026, 3, 10));
    }
}

TEST_F(RzDateTimeEditTest, ADayPickedInTheDropDownBecomesTheDate) {
    edit_->SetDate(Day(2026, 3, 10));
    TDateTime changed = 0;
    edit_->OnDateTimeChange = [&](TObject*, TDateTime v) { changed = v; };
    // While the calendar is open, a day is picked in it as a click would.
    auto* injector = new TPanel(form_.get());
    injector->SetParent(form_.get());
    const auto original = injector->WindowProc;
    injector->WindowProc = [&, original](TMessage& m) {
        if (m.Msg != WM_USER + 9) return original(m);
        TRzCalendar* cal = edit_->DroppedCalendar();
        ASSERT_NE(cal, nullptr);
        cal->SetDate(Day(2026, 3, 21));
        cal->OnClick(cal);
    };
    PostMessageW(injector->Handle(), WM_USER + 9, 0, 0);
    edit_->DoDropDown();
    EXPECT_EQ(edit_->GetDate(), Day(2026, 3, 21));
    EXPECT_EQ(changed, Day(2026, 3, 21));
    EXPECT_EQ(edit_->DroppedCalendar(), nullptr);
}

TEST_F(RzDateTimeEditTest, LeavingRefusesImpossibleAndOutOfRangeDates) {
    std::vector<WideString> boxes;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What == TModalRequest::MessageBox) boxes.push_back(r.Text);
        return IDOK;
    });
    const auto typeAndLeave = [&](const char16_t* text) {
        edit_->SetText(text);
        edit_->SetModified(true);
        edit_->Perform(CM_EXIT, 0, 0);
    };
    // No date: the invalid-date event decides; keeping the text keeps what was typed.
    int invalid = 0;
    edit_->OnInvalidDate = [&](TObject*, bool&, bool& keepText, TDateTime& newDate) {
        ++invalid;
        keepText = true;
        newDate = 0;
    };
    typeAndLeave(u"13/13/2020");
    EXPECT_EQ(invalid, 1);
    EXPECT_EQ(edit_->GetDate(), 0);
    EXPECT_EQ(edit_->Text(), u"13/13/2020");
    EXPECT_TRUE(boxes.empty());
    // A readable date outside the range: the box, and the value is not taken as searched.
    edit_->SetMinDate(Day(2026, 3, 1));
    typeAndLeave(DateToStr(Day(2026, 2, 1)).c_str());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], u"Date is beyond valid date range");
}

}  // namespace
