// What crosses the engine's interface: compile flags, the match result and the search context.
#pragma once

#include <cstdint>

#include "regex/RegexBuffer.h"

// Compile flags, combined by OR.
enum RegexFlags : int {
    NoFlags = 0,
    DotMatchesNewline = 1,
    LineAnchors = 2,
    ContinueAnchor = 4,
    CaseInsensitive = 8,
    RightToLeftScan = 16,
    ExtendedSyntax = 32,
};

// The result of one match: [1, maxGroup, begin0, end0, begin1, end1, ...]; empty for no match.
// Unset groups read -1; reading past the end gives -1 for positions and 0 for the header.
template <int x>
class MatchResultT : public CBufferT<int> {
public:
    MatchResultT() = default;

    int Found() const { return Count() > 0 ? (*this)[0] : 0; }
    int HighestGroup() const { return Count() > 1 ? (*this)[1] : 0; }
    int GroupBegin(int group) const { return At(2 + 2 * group); }
    int GroupEnd(int group) const { return At(3 + 2 * group); }
    int MatchBegin() const { return GroupBegin(0); }
    int MatchEnd() const { return GroupEnd(0); }

private:
    int At(int index) const { return index >= 2 && index < Count() ? (*this)[index] : -1; }
};

using MatchResult = MatchResultT<0>;

// The state of one search over one text. The stacks keep their storage from one start position
// and one search to the next.
class CContext {
public:
    CBufferT<int> backtrack;   // backtracking stack of the nodes
    CBufferT<int> captures;    // capture records of four ints: group, begin, end, nest
    CBufferT<int> groupSlots;  // by group: index in captures of its newest record (a hint)
    int position = 0;          // current position; between searches where the next one starts
    int anchor = 0;            // where the current search started; \G matches here
    int emptyMatchAt = -1;     // position of the previous accepted match when it was empty
    int closeCount = 0;        // running count of group closings
    const void* text = nullptr;  // the subject text (code units of the engine's width), borrowed
    int length = 0;

    // Safety limits of one search (set by the driver from the regex).
    std::int64_t stepsLeft = 0;  // backtracking steps left before the search gives up
    int recursionDepth = 0;      // active recursions into groups or the whole pattern
    int recursionLimit = 0;      // deepest recursion allowed; deeper attempts fail
    bool budgetExhausted = false;  // the last search gave up on its step budget (no match)

    template <class T>
    const T* Text() const { return static_cast<const T*>(text); }
};

// One unit of matching work; false once the search's step budget is spent.
inline bool RegexStep(CContext* c)
{
    if (--c->stepsLeft >= 0) return true;
    c->budgetExhausted = true;
    return false;
}
