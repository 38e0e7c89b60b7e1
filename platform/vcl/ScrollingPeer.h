// What a peer offers when its control scrolls its content (a tree, a list): its scroll bars
// as the original platform gives them, for callers that scroll as a user would (a drag
// resting at the edge). Peers that scroll nothing do not have it.
#pragma once

class TScrollingPeer {
public:
    virtual ~TScrollingPeer() = default;
    // The vertical or horizontal scroll bar (max is the last position plus page less one);
    // false when the control cannot scroll that way.
    virtual bool ScrollBarRange(bool vertical, int& min, int& max, int& page, int& position) const = 0;
    // One line step (forward: down or right); false when nothing scrolled.
    virtual bool ScrollLine(bool vertical, bool forward) = 0;
};
