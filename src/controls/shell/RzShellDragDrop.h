// Drag and drop for the shell controls: dragging their items out as files, and taking files
// dropped onto their folders (copied or moved there, never replacing anything). The control
// says which folder lies under the pointer and shows the drop highlight there; this class
// checks what is dropped, carries the drop out and lets the control refresh.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/dragdrop/DropFileComponents.h"

class TRzShellDragDrop {
public:
    struct Hooks {
        // The file-system folder a drop at a client point goes into, with the highlight moved
        // there; empty (and no highlight) when nothing can be dropped there.
        std::function<std::string(TPoint client)> folderAt;
        std::function<void()> clearHighlight;
        // The pointer rested on a client point while dragging (the tree opens the node there).
        std::function<void(TPoint client)> hover;
        // Files were dropped or dragged away: the control reads its folders again.
        std::function<void()> changed;
    };

    TRzShellDragDrop(TWinControl& control, Hooks hooks);
    ~TRzShellDragDrop();
    TRzShellDragDrop(const TRzShellDragDrop&) = delete;
    TRzShellDragDrop& operator=(const TRzShellDragDrop&) = delete;

    // Takes drops on the control's window (its handle exists) or stops taking them.
    void SetAcceptDrops(bool accept);
    // Drags paths out as files; moving is offered only with canMove. Nothing of ours is
    // deleted by the drag: a target that moves them does that itself.
    TDragResult DragFiles(const std::vector<std::string>& paths, bool canMove);
    TDropFileTarget& Target() { return *target_; }

    // Milliseconds the pointer rests before hover runs, and the clock (replaceable for tests).
    DWORD HoverTime = 400;
    std::function<DWORD()> Clock;

private:
    // The effect a drop of the dragged files into folder may have (none when a file cannot go).
    DWORD Allowed(const std::string& folder, DWORD effect);
    void Over(TPoint client, DWORD& effect);
    void Drop(TPoint client, DWORD& effect);
    void Leave();

    TWinControl& control_;
    Hooks hooks_;
    std::unique_ptr<TDropFileTarget> target_;
    std::unique_ptr<TDropFileSource> source_;
    TPoint hoverPoint_;
    DWORD hoverStart_ = 0;
    bool hovered_ = false;
};

// Whether items with these attributes, all entries of real folders, may be moved by a drag.
bool CanDragMove(const std::vector<DWORD>& attributes);
