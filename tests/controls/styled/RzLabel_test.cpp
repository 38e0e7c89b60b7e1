// The styled label: angle and rotation rules, border allowance, rotated auto size, condensing
// and blinking in step.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/styled/BlinkingControlsList.h"
#include "controls/styled/RzLabel.h"

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
}

}  // namespace
