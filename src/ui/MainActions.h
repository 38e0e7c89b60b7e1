// The enabled and visible state of the main window's commands, worked out from the list, the
// selection, the shown message and the parts the options hide. Kept apart from the window so
// that every combination can be checked without one.
#pragma once

#include <string>
#include <vector>

#include "message/MessageAttrDeque.h"
#include "platform/win/WinTypes.h"

class CAppOptions;
class TMessageAttr;

// What the commands may act on now.
struct ActionTargets {
    int checked = 0;            // checked messages, counted up to 2
    bool targets = false;       // there are messages to act on
    bool headerTargets = false; // there are messages whose header can be printed
    bool singleHeader = false;  // one message whose header can be saved or copied
    bool singleBody = false;    // one message whose body can be saved, copied or kept
    bool answerable = false;    // exactly one selected row, the message a reply or forward takes
};

// The selection as the list shows it. `selected` is the one selected row's message (null when
// not exactly one row is selected); `shownAsHtml` says its body is on screen as HTML.
struct SelectionFacts {
    bool scanRunning = false;
    int checked = 0;
    int selectedRows = 0;
    const TMessageAttr* selected = nullptr;
    bool shownAsHtml = false;
};

ActionTargets ComputeActionTargets(const SelectionFacts& facts);

struct ActionState {
    std::string name;
    bool enabled = false;
    bool visible = false;
};

// Every command's state; listEmpty is whether the message list holds nothing.
std::vector<ActionState> ComputeActionStates(const ActionTargets& targets, bool listEmpty, const CAppOptions& options);

// The top-level menus to remove for the hidden parts, highest index first so that removing
// one keeps the others' indices (4 Application, 3 Message, 2 Edit).
std::vector<int> MenusToPrune(const CAppOptions& options);

// The one message a single-message command acts on: the only checked one, else the selected
// one when nothing is checked. Enabling and acting use this same rule.
TMessageAttr* SingleTarget(const MessageAttrDeque& messages, TMessageAttr* selected);
