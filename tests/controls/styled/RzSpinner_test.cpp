// The spinner over the headless widget set: range and stepping arithmetic, refused changes,
// hexadecimal display, button sizes for pictures, auto-repeat by the area under the pointer,
// and the key and wheel mapping.
#include <gtest/gtest.h>

#include <climits>

#include "controls/styled/RzSpinner.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"

namespace {

class RzSpinnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 300, 200);
        form_->Show();
        spin_ = new TRzSpinner(form_.get());
        spin_->SetParent(form_.get());
        spin_->OnIncrement = [this](TObject*, int amount) { events_.push_back(amount); };
        spin_->OnDecrement = [this](TObject*, int amount) { events_.push_back(-amount); };
        spin_->OnChange = [this](TObject*) { ++changes_; };
    }
    std::unique_ptr<TForm> form_;
    TRzSpinner* spin_ = nullptr;
    std::vector<int> events_;
    int changes_ = 0;
};

TEST_F(RzSpinnerTest, RangeRulesAndStepping) {
    spin_->SetValue(95);
    spin_->SetIncrement(10);
    spin_->IncValue(10);
    EXPECT_EQ(spin_->Value(), 100);
    EXPECT_EQ(events_, std::vector<int>{10}) << "the amount asked for, though the range cut it";
    const int changesBefore = changes_;
    bool asked = false;
    spin_->OnChanging = [&](TObject*, int, bool&) { asked = true; };
    spin_->IncValue(10);
    EXPECT_FALSE(asked);
    EXPECT_EQ(changes_, changesBefore);
    EXPECT_EQ(events_.size(), 1u);

    // Max below Min pulls Min down and clamps the value; Min above Max pushes Max up. The two
    // then meet, which is no range unless CheckRange holds.
    spin_->SetCheckRange(true);
    spin_->SetMin(20);
    spin_->SetMax(10);
    EXPECT_EQ(spin_->Min(), 10);
    EXPECT_EQ(spin_->Value(), 10);
    spin_->SetMin(50);
    EXPECT_EQ(spin_->Max(), 50);
    EXPECT_EQ(spin_->Value(), 50);

    // Min = Max without CheckRange: no range, and no overflow at the ends of the integer.
    spin_->OnChanging = nullptr;
    spin_->SetCheckRange(false);
    spin_->SetMin(0);
    spin_->SetMax(0);
    spin_->SetValue(INT_MAX - 3);
    EXPECT_EQ(spin_->Value(), INT_MAX - 3);
    spin_->IncValue(10);
    EXPECT_EQ(spin_->Value(), INT_MAX);
    spin_->SetValue(INT_MIN + 1);
    spin_->DecValue(10);
    EXPECT_EQ(spin_->Value(), INT_MIN);
    spin_->SetCheckRange(true);
    EXPECT_EQ(spin_->Value(), 0);
}

TEST_F(RzSpinnerTest, ARefusedChangeFiresNothing) {
    spin_->OnChanging = [](TObject*, int, bool& allow) { allow = false; };
    spin_->IncValue(1);
    spin_->DecValue(1);
    EXPECT_EQ(spin_->Value(), 0);
    EXPECT_EQ(changes_, 0);
    EXPECT_TRUE(events_.empty());
}

TEST_F(RzSpinnerTest, HexDisplay) {
    spin_->SetMin(0);
    spin_->SetMax(0);
    spin_->SetShowHexValue(true);
    for (auto [value, text] : {std::pair{255, u"$FF"}, {-1, u"$FFFFFFFF"}, {0, u"$0"}}) {
        spin_->SetValue(value);
        EXPECT_EQ(spin_->DisplayText(), text);
    }
    spin_->SetHexValuePrefix(u"0x");
    spin_->SetValue(171);
    EXPECT_EQ(spin_->DisplayText(), u"0xAB");
    spin_->SetShowHexValue(false);
    EXPECT_EQ(spin_->DisplayText(), u"171");
}

TEST_F(RzSpinnerTest, PicturesWidenTheButtons) {
    TImageList big(form_.get());
    big.SetSize(24, 24);
    spin_->SetImages(&big);
    EXPECT_EQ(spin_->ButtonWidth(), 28);
    EXPECT_EQ(spin_->Height(), 28);
    auto* other = new TRzSpinner(form_.get());
    TImageList small(form_.get());
    small.SetSize(18, 16);
    other->SetImages(&small);
    EXPECT_EQ(other->ButtonWidth(), 18);
    EXPECT_EQ(other->Height(), 21);
}

TEST_F(RzSpinnerTest, HoldRepeatsByTheAreaUnderThePointer) {
    spin_->SetValue(50);
    const auto at = [&](int x) { return MAKELPARAM(x, 5); };
    spin_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at(3));  // on minus
    EXPECT_TRUE(spin_->MinusDown());
    EXPECT_EQ(spin_->Value(), 50) << "the press itself does not step";
    ASSERT_NE(spin_->RepeatTimer(), nullptr);
    EXPECT_TRUE(spin_->RepeatTimer()->Enabled());
    EXPECT_EQ(spin_->RepeatTimer()->Interval(), 400u);
    // Dragged onto plus: the ticks increment.
    Mouse->SetCursorPos(spin_->ClientToScreen(TPoint(spin_->Width() - 3, 5)));
    spin_->RepeatTimer()->OnTimer(spin_->RepeatTimer());
    EXPECT_EQ(spin_->RepeatTimer()->Interval(), 100u);
    spin_->RepeatTimer()->OnTimer(spin_->RepeatTimer());
    EXPECT_EQ(spin_->Value(), 52);
    // In the middle: nothing.
    Mouse->SetCursorPos(spin_->ClientToScreen(TPoint(40, 5)));
    spin_->RepeatTimer()->OnTimer(spin_->RepeatTimer());
    EXPECT_EQ(spin_->Value(), 52);
    spin_->Perform(WM_LBUTTONUP, 0, at(spin_->Width() - 3));
    EXPECT_EQ(spin_->Value(), 53) << "the release over plus steps once more";
    EXPECT_FALSE(spin_->RepeatTimer()->Enabled());
    EXPECT_FALSE(spin_->MinusDown());
    // A press between the buttons released over minus still steps once.
    spin_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at(40));
    spin_->Perform(WM_LBUTTONUP, 0, at(3));
    EXPECT_EQ(spin_->Value(), 52);
}

TEST_F(RzSpinnerTest, KeysAndWheel) {
    spin_->SetValue(50);
    struct Case {
        WORD key;
        int expected;
    } keys[] = {{VK_PRIOR, 60}, {VK_NEXT, 50}, {VK_UP, 51}, {VK_RIGHT, 52}, {VK_ADD, 53},
                {VK_DOWN, 52},  {VK_LEFT, 51}, {VK_SUBTRACT, 50}, {VK_HOME, 50}};
    for (const Case& c : keys) {
        spin_->Perform(WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(spin_->Value(), c.expected) << c.key;
    }
    EXPECT_EQ(spin_->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    const auto wheel = [&](int delta, WORD keysDown) {
        spin_->Perform(WM_MOUSEWHEEL, MAKEWPARAM(keysDown, delta), 0);
    };
    wheel(120, 0);
    EXPECT_EQ(spin_->Value(), 51);
    wheel(-120, MK_CONTROL);
    EXPECT_EQ(spin_->Value(), 41);
    wheel(120, MK_CONTROL);
    EXPECT_EQ(spin_->Value(), 51);
}

}  // namespace
