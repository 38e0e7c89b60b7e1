// The default keys of the shell tree and list.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/ShortCuts.h"

enum class TRzShellKey { None, SelectAll, Delete, Copy, Cut, Paste, Refresh, Rename };

// The default key a key press is; Delete also with Shift held.
inline TRzShellKey MatchShellKey(WORD key, TShiftState shift) {
    const bool ctrl = shift.Contains(ssCtrl), alt = shift.Contains(ssAlt), sh = shift.Contains(ssShift);
    if (alt) return TRzShellKey::None;
    if (key == VK_DELETE && !ctrl) return TRzShellKey::Delete;
    if (sh) return TRzShellKey::None;
    if (ctrl) {
        switch (key) {
        case 'A': return TRzShellKey::SelectAll;
        case 'C': return TRzShellKey::Copy;
        case 'X': return TRzShellKey::Cut;
        case 'V': return TRzShellKey::Paste;
        default: return TRzShellKey::None;
        }
    }
    if (key == VK_F1 + 4) return TRzShellKey::Refresh;  // F5
    if (key == VK_F1 + 1) return TRzShellKey::Rename;   // F2
    return TRzShellKey::None;
}
