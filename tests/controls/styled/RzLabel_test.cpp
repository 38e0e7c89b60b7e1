// The styled label: angle and rotation rules, border allowance, rotated auto size, condensing
// and blinking in step.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/styled/BlinkingControlsList.h"
#include "controls/styled/RzFrameController.h"
#include "controls/styled/RzLabel.h"
#include "platform/vcl/Controls.h"

namespace {

TEST(RzLabel, AnglesAreNormalisedIntoOneTurn) {
    const std::pair<int, int> cases[] = {{-90, 270}, {450, 90}, {-450, 270}, {360, 0}, {-720, 0}, {100, 100}};
    for (auto [in, out] : cases) EXPECT_EQ(NormalizedAngle(in), out) << in;
    TRzLabel label(nullptr);
    label.SetAngle(-450);
    EXPECT_EQ(label.Angle(), 270);
    EXPECT_EQ(label.Rotation(), roFlat);  // an angle rotates the text
    label.SetCenterPoint(cpLowerLeft);
    label.SetRotation(roCurve);
    label.SetRotation(roFlat);
    EXPECT_EQ(label.Angle(), 0);
    EXPECT_EQ(label.CenterPoint(), cpCenter);
}

TEST(RzLabel, AutoSizeAddsBordersAndRotation) {
    TRzLabel label(nullptr);
    label.TextMeasurer = [](const WideString&, UINT) { return TSize{50, 13}; };
    label.SetAutoSize(true);
    label.SetBorderOuter(fsFlatBold);
    EXPECT_EQ(label.Width(), 54);
    EXPECT_EQ(label.Height(), 17);
    label.SetBorderOuter(fsNone);
    label.SetAngle(100);
    const TSize box = RotatedBoundingBox(50, 13, 100);
    EXPECT_EQ(box.cx, static_cast<int>(std::lround(0.1736 * 50 + 0.9848 * 13)));
    EXPECT_EQ(box.cy, static_cast<int>(std::lround(0.9848 * 50 + 0.1736 * 13)));
    EXPECT_EQ(label.Width(), box.cx);
    EXPECT_EQ(label.Height(), box.cy);
}

TEST(RzLabel, EveryWayToAutoSizeKeepsTheBorders) {
    TRzLabel label(nullptr);
    label.TextMeasurer = [](const WideString&, UINT) { return TSize{50, 13}; };
    label.SetAutoSize(false);
    label.SetBorderOuter(fsFlatBold);
    label.SetAutoSize(true);
    EXPECT_EQ(label.Width(), 54) << "turned on after the border: text + 4";
    label.SetWordWrap(true);
    label.SetShowAccelChar(false);
    EXPECT_EQ(label.Width(), 54);
    EXPECT_EQ(label.Height(), 17);
    // A frame controller's style reaches the size as the label's own would.
    label.SetBorderOuter(fsNone);
    EXPECT_EQ(label.Width(), 50);
    TRzFrameController fc(nullptr);
    fc.SetFrameVisible(true);
    fc.SetFrameStyle(fsFlatBold);
    label.SetFrameController(&fc);
    EXPECT_EQ(label.BorderOuter(), fsFlatBold);
    EXPECT_EQ(label.Width(), 54);
    label.SetFrameController(nullptr);
}

TEST(RzLabel, FlyByGivesTheFontItsOwnColourBack) {
    TRzLabel label(nullptr);
    label.Font()->SetColor(clRed);
    label.SetFlyByColor(clBlue);
    label.SetFlyByEnabled(true);
    label.SetFlyByEnabled(false);
    EXPECT_EQ(label.Font()->Color(), clRed) << "off again without a hover";
    // Switched on while the pointer is over it already: leaving keeps the font's colour.
    label.Perform(CM_MOUSEENTER, 0, 0);
    label.SetFlyByEnabled(true);
    label.Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(label.Font()->Color(), clRed);
    label.Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(label.Font()->Color(), clBlue);
    label.SetFlyByEnabled(false);
    EXPECT_EQ(label.Font()->Color(), clRed) << "off during a hover";
}

TEST(RzLabel, CondensingTurnsAutoSizeOff) {
    TRzLabel label(nullptr);
    label.SetAutoSize(true);
    label.SetCondenseCaption(ccAtEnd);
    EXPECT_FALSE(label.AutoSize());
}

TEST(RzLabel, TwoBlinkingLabelsSwitchTogether) {
    TRzLabel a(nullptr), b(nullptr), still(nullptr);
    for (TRzLabel* l : {&a, &b}) {
        l->SetBlinkColor(clRed);
        l->SetBlinking(true);
    }
    const TColor normal = a.CurrentColor();
    BlinkingControls().Tick();
    EXPECT_EQ(a.CurrentColor(), b.CurrentColor());
    BlinkingControls().Tick();
    EXPECT_EQ(a.CurrentColor(), clRed);
    EXPECT_EQ(b.CurrentColor(), clRed);
    EXPECT_EQ(still.CurrentColor(), normal);
    a.SetBlinking(false);
    EXPECT_EQ(a.CurrentColor(), normal);
    // The timings are the shared list's, the blink colour shown for IntervalOn.
    a.SetBlinkIntervalOn(250);
    b.SetBlinkIntervalOff(700);
    EXPECT_EQ(b.BlinkIntervalOn(), 250);
    EXPECT_EQ(a.BlinkIntervalOff(), 700);
    BlinkingControls().Tick();
    EXPECT_EQ(b.CurrentColor(), normal);
    EXPECT_EQ(BlinkingControls().TimerInterval(), 700);
    BlinkingControls().Tick();
    EXPECT_EQ(b.CurrentColor(), clRed);
    EXPECT_EQ(BlinkingControls().TimerInterval(), 250);
}

}  // namespace
