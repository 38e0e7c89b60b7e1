#include <gtest/gtest.h>

#include "controls/dragdrop/DragDetector.h"

namespace {

using State = DragDetector::State;

DragDetector Pressed() { return DragDetector({100, 100}, {4, 4}, 1000); }

TEST(DragDetector, MovesSettleByRectangleAndDelay) {
    DragDetector d = Pressed();
    EXPECT_EQ(d.Move({102, 103}, 1500), State::Undecided);  // inside the rectangle
    EXPECT_EQ(d.Move({120, 100}, 1199), State::Undecided);  // outside, but too early
    EXPECT_EQ(d.Move({120, 100}, 1200), State::Drag);
    EXPECT_EQ(d.Stop(), State::Drag);  // settled answers stay
}

TEST(DragDetector, EndingsWithoutMovement) {
    DragDetector released = Pressed();
    EXPECT_EQ(released.Stop(), State::Click);

    DragDetector held = Pressed();
    EXPECT_EQ(held.Timeout(), State::Drag);

    DragDetector noAuto = Pressed();
    DragDropAutoDrag = false;
    EXPECT_EQ(noAuto.Timeout(), State::Undecided);
    DragDropAutoDrag = true;

    DragDetector quit = Pressed();
    EXPECT_EQ(quit.Quit(3), State::Click);
    EXPECT_TRUE(quit.QuitPending());
    EXPECT_EQ(quit.QuitCode(), 3);
}

}  // namespace
