// Drop effects, drag types and key states: how the keys held during a drag choose the effect.
#pragma once

#include "platform/com/DataObject.h"
#include "platform/vcl/Controls.h"

enum TDragType { dtCopy, dtMove, dtLink };
using TDragTypes = TSet<TDragType>;

// The drag type of an effect (copy before move before link); none gives dtCopy and false.
bool DropEffectToDragType(DWORD dropEffect, TDragType& dragType);
DWORD DragTypesToDropEffect(TDragTypes dragTypes);
TShiftState KeysToShiftStatePlus(DWORD keyState);
// Ctrl+Shift links, Ctrl copies, otherwise move; masked with the allowed effects. When that
// gives none and fallback is asked for: the first allowed of copy, move, link.
DWORD ShiftStateToDropEffect(TShiftState shift, DWORD allowedEffects, bool fallback);
