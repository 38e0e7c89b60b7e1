#include "controls/dragdrop/DropEffects.h"

bool DropEffectToDragType(DWORD dropEffect, TDragType& dragType) {
    if (dropEffect & DROPEFFECT_COPY)
        dragType = dtCopy;
    else if (dropEffect & DROPEFFECT_MOVE)
        dragType = dtMove;
    else if (dropEffect & DROPEFFECT_LINK)
        dragType = dtLink;
    else {
        dragType = dtCopy;
        return false;
    }
    return true;
}

DWORD DragTypesToDropEffect(TDragTypes dragTypes) {
    DWORD effect = DROPEFFECT_NONE;
    if (dragTypes.Contains(dtCopy)) effect |= DROPEFFECT_COPY;
    if (dragTypes.Contains(dtMove)) effect |= DROPEFFECT_MOVE;
    if (dragTypes.Contains(dtLink)) effect |= DROPEFFECT_LINK;
    return effect;
}

TShiftState KeysToShiftStatePlus(DWORD keyState) {
    TShiftState shift = KeysToShiftState(static_cast<WORD>(keyState));
    if (keyState & MK_ALT) shift << ssAlt;
    return shift;
}

DWORD ShiftStateToDropEffect(TShiftState shift, DWORD allowedEffects, bool fallback) {
    DWORD effect;
    if (shift.Contains(ssCtrl) && shift.Contains(ssShift))
        effect = DROPEFFECT_LINK;
    else if (shift.Contains(ssCtrl))
        effect = DROPEFFECT_COPY;
    else
        effect = DROPEFFECT_MOVE;
    effect &= allowedEffects;
    if (effect == DROPEFFECT_NONE && fallback) {
        for (DWORD e : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
            if (allowedEffects & e) return e;
    }
    return effect;
}
