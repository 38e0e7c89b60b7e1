#include <gtest/gtest.h>

#include "controls/dragdrop/DropEffects.h"

namespace {

TEST(DropEffects, ShiftStateTable) {
    const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    struct Case {
        TShiftState shift;
        DWORD allowed;
        bool fallback;
        DWORD effect;
    };
    const Case cases[] = {
        {{}, all, false, DROPEFFECT_MOVE},
        {{ssShift}, all, false, DROPEFFECT_MOVE},
        {{ssCtrl}, all, false, DROPEFFECT_COPY},
        {{ssCtrl, ssShift}, all, false, DROPEFFECT_LINK},
        {{ssCtrl, ssShift}, DROPEFFECT_COPY, false, DROPEFFECT_NONE},
        {{ssCtrl, ssShift}, DROPEFFECT_COPY, true, DROPEFFECT_COPY},
        {{}, DROPEFFECT_LINK | DROPEFFECT_MOVE, true, DROPEFFECT_MOVE},
        {{ssCtrl}, DROPEFFECT_LINK | DROPEFFECT_MOVE, true, DROPEFFECT_MOVE},
        {{}, DROPEFFECT_NONE, true, DROPEFFECT_NONE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShiftStateToDropEffect(c.shift, c.allowed, c.fallback), c.effect)
            << c.shift.Bits() << " " << c.allowed << " " << c.fallback;
}

TEST(DropEffects, KeyStatesDragTypesAndEffects) {
    EXPECT_EQ(KeysToShiftStatePlus(MK_SHIFT | MK_CONTROL | MK_ALT | MK_LBUTTON | MK_RBUTTON | MK_MBUTTON),
              (TShiftState{ssShift, ssCtrl, ssAlt, ssLeft, ssRight, ssMiddle}));
    EXPECT_EQ(DragTypesToDropEffect({dtCopy, dtLink}), DROPEFFECT_COPY | DROPEFFECT_LINK);
    TDragType type = dtLink;
    EXPECT_TRUE(DropEffectToDragType(DROPEFFECT_MOVE | DROPEFFECT_LINK, type));
    EXPECT_EQ(type, dtMove);
    EXPECT_FALSE(DropEffectToDragType(DROPEFFECT_NONE, type));
    EXPECT_EQ(type, dtCopy);
}

}  // namespace
