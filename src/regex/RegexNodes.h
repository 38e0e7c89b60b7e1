// The node kinds of a compiled pattern and how each one matches and backtracks.
// Matching is depth-first backtracking over explicit stacks in the context: a node that
// succeeds leaves exactly what it needs to be asked later for its next way of matching; a node
// that fails leaves the context as it found it. Nodes never change while matching, so one tree
// serves any number of contexts. Kinds that never read text take the template argument 0.
//
// Every call from a node into another node costs one step of the search's budget; once the
// budget is spent every composite node fails at once and the driver reports no match.
#pragma once

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>

#include "regex/RegexBuffer.h"
#include "regex/RegexChars.h"
#include "regex/RegexContext.h"

class ElxInterface {
public:
    virtual int Match(CContext* c) const = 0;
    virtual int Backtrack(CContext* c) const = 0;
    virtual ~ElxInterface() = default;

    // Nodes that match exactly one code unit answer +1 (left to right) or -1 (right to left)
    // and can match a run of themselves in one call; every other node answers 0.
    virtual int UnitStep() const { return 0; }
    // Matches up to max consecutive units from the position, moves past them, returns how many.
    virtual int MatchRun(CContext*, int) const { return 0; }
};

inline constexpr int kRegexUnbounded = INT_MAX;

// Index in captures of the newest record of a group, or -1 when the group is unset.
// The slot is only a hint: walk down from it (or from the top) to the group's record.
inline int RegexFindRecord(const CContext* c, int group)
{
    if (group < 0 || group >= c->groupSlots.Count()) return -1;
    int slot = c->groupSlots[group];
    if (slot < 0) return -1;
    int last = c->captures.Count() - 4;
    for (int i = slot > last ? last : slot; i >= 0; i -= 4) {
        if (c->captures[i] == group) return i;
    }
    return -1;
}

// ---- nodes that never read text ----

template <int x>
class CEmptyElxT : public ElxInterface {
public:
    int Match(CContext*) const override { return 1; }
    int Backtrack(CContext*) const override { return 0; }
};

template <int x>
class CGlobalElxT : public ElxInterface {
public:
    int Match(CContext* c) const override { return c->position == c->anchor; }
    int Backtrack(CContext*) const override { return 0; }
};

template <int x>
class CListElxT : public ElxInterface {
public:
    explicit CListElxT(int rtl = 0) : rightToLeft(rtl) {}

    int Match(CContext* c) const override
    {
        if (nodes.Empty()) return 1;
        return Resume(c, 0, true);
    }
    int Backtrack(CContext* c) const override
    {
        if (nodes.Empty()) return 0;
        return Resume(c, nodes.Count() - 1, false);
    }

    CBufferT<ElxInterface*> nodes;
    int rightToLeft = 0;

private:
    const ElxInterface* At(int i) const { return nodes[rightToLeft ? nodes.Count() - 1 - i : i]; }
    // Moves through the nodes in visiting order: forward asking Match, back asking Backtrack.
    int Resume(CContext* c, int i, bool forward) const
    {
        const int n = nodes.Count();
        for (;;) {
            if (forward) {
                if (i == n) return 1;
                if (!RegexStep(c)) return 0;
                if (At(i)->Match(c)) {
                    ++i;
                } else {
                    if (--i < 0) return 0;
                    forward = false;
                }
            } else {
                if (!RegexStep(c)) return 0;
                if (At(i)->Backtrack(c)) {
                    ++i;
                    forward = true;
                } else if (--i < 0) {
                    return 0;
                }
            }
        }
    }
};

template <int x>
class CAlternativeElxT : public ElxInterface {
public:
    int Match(CContext* c) const override
    {
        if (alternatives.Empty()) return 1;
        return TryFrom(c, 0);
    }
    int Backtrack(CContext* c) const override
    {
        if (alternatives.Empty()) return 0;
        int i = c->backtrack.Pop();
        if (i < 0 || i >= alternatives.Count()) return 0;
        if (!RegexStep(c)) return 0;
        if (alternatives[i]->Backtrack(c)) {
            c->backtrack.Push(i);
            return 1;
        }
        return TryFrom(c, i + 1);
    }

    CBufferT<ElxInterface*> alternatives;

private:
    int TryFrom(CContext* c, int first) const
    {
        for (int i = first; i < alternatives.Count(); ++i) {
            if (!RegexStep(c)) return 0;
            if (alternatives[i]->Match(c)) {
                c->backtrack.Push(i);
                return 1;
            }
        }
        return 0;
    }
};

// x{n}: exactly requiredCount repetitions, with full backtracking among them.
template <int x>
class CRepeatElxT : public ElxInterface {
public:
    CRepeatElxT(ElxInterface* in, int required)
        : inner(in), requiredCount(required), unitStep_(in->UnitStep()) {}

    int Match(CContext* c) const override { return MatchRequired(c); }
    int Backtrack(CContext* c) const override { return BacktrackRequired(c); }

    ElxInterface* inner;
    int requiredCount;

protected:
    int MatchRequired(CContext* c) const
    {
        if (requiredCount == 0) return 1;
        if (unitStep_) {
            int run = inner->MatchRun(c, requiredCount);
            c->stepsLeft -= run;
            if (run == requiredCount) return 1;
            c->position -= run * unitStep_;
            return 0;
        }
        return RunRequired(c, 0, true);
    }
    int BacktrackRequired(CContext* c) const
    {
        if (requiredCount == 0) return 0;
        if (unitStep_) {
            // Single units have no other way to match: give the whole run back.
            c->position -= requiredCount * unitStep_;
            return 0;
        }
        return RunRequired(c, requiredCount - 1, false);
    }

    const int unitStep_;

private:
    // Repetition i is asked to Match (forward) or to Backtrack; stops at requiredCount.
    int RunRequired(CContext* c, int i, bool forward) const
    {
        for (;;) {
            if (forward) {
                if (i == requiredCount) return 1;
                if (!RegexStep(c)) return 0;
                if (inner->Match(c)) {
                    ++i;
                } else {
                    if (--i < 0) return 0;
                    forward = false;
                }
            } else {
                if (!RegexStep(c)) return 0;
                if (inner->Backtrack(c)) {
                    ++i;
                    forward = true;
                } else if (--i < 0) {
                    return 0;
                }
            }
        }
    }
};

template <int x>
class CGreedyElxT : public CRepeatElxT<x> {
public:
    CGreedyElxT(ElxInterface* in, int required, int optional)
        : CRepeatElxT<x>(in, required), optionalCount(optional) {}

    int Match(CContext* c) const override
    {
        if (!this->MatchRequired(c)) return 0;
        return MatchOptional(c);
    }
    int Backtrack(CContext* c) const override
    {
        if (BacktrackOptional(c)) return 1;
        while (this->BacktrackRequired(c)) {
            if (MatchOptional(c)) return 1;
        }
        return 0;
    }

    int optionalCount;
    // Cleared by the compiler when the node after a single-unit repeat can never start with
    // one of its units: giving units back one by one could then never lead to a match.
    bool giveBack = true;

protected:
    int MatchOptional(CContext* c) const
    {
        if (this->unitStep_) {
            int run = this->inner->MatchRun(c, optionalCount);
            c->stepsLeft -= run;
            c->backtrack.Push(run);
            return 1;
        }
        int p = c->position;
        int i = 0;
        while (i < optionalCount) {
            if (!RegexStep(c) || !this->inner->Match(c)) break;
            // Zero-length guard: a repetition that consumes nothing is never counted.
            bool counted = true;
            while (c->position == p) {
                if (!RegexStep(c) || !this->inner->Backtrack(c)) {
                    counted = false;
                    break;
                }
            }
            if (!counted) break;
            ++i;
            p = c->position;
        }
        c->backtrack.Push(i);
        return 1;
    }
    int BacktrackOptional(CContext* c) const
    {
        int i = c->backtrack.Pop();
        if (i <= 0) return 0;
        if (this->unitStep_ && !giveBack) {
            c->position -= i * this->unitStep_;  // what follows cannot start with a unit we took
            return 0;
        }
        if (this->unitStep_) {
            c->position -= this->unitStep_;
            c->backtrack.Push(i - 1);
            return 1;
        }
        if (RegexStep(c) && this->inner->Backtrack(c)) {
            c->backtrack.Push(i);
        } else {
            c->backtrack.Push(i - 1);
        }
        return 1;
    }
};

template <int x>
class CReluctantElxT : public CRepeatElxT<x> {
public:
    CReluctantElxT(ElxInterface* in, int required, int optional)
        : CRepeatElxT<x>(in, required), optionalCount(optional) {}

    int Match(CContext* c) const override
    {
        if (!this->MatchRequired(c)) return 0;
        c->backtrack.Push(0);
        return 1;
    }
    int Backtrack(CContext* c) const override
    {
        int p = c->position;
        int n = c->backtrack.Pop();
        if (n < 0) return 0;
        // One more repetition, when it consumes something.
        if (n < optionalCount && RegexStep(c) && this->inner->Match(c)) {
            bool moved = true;
            while (c->position == p) {
                if (!RegexStep(c) || !this->inner->Backtrack(c)) {
                    moved = false;
                    break;
                }
            }
            if (moved) {
                c->backtrack.Push(p);
                c->backtrack.Push(n + 1);
                return 1;
            }
        }
        // Give back: retry the last repetition, or undo it and retry the one before.
        while (n > 0) {
            if (!c->backtrack.Empty()) p = c->backtrack.Pop();
            for (;;) {
                if (!RegexStep(c) || !this->inner->Backtrack(c)) break;
                if (c->position != p) {
                    c->backtrack.Push(p);
                    c->backtrack.Push(n);
                    return 1;
                }
            }
            --n;
        }
        if (!this->BacktrackRequired(c)) return 0;
        c->backtrack.Push(0);
        return 1;
    }

    int optionalCount;
};

template <int x>
class CPossessiveElxT : public CGreedyElxT<x> {
public:
    CPossessiveElxT(ElxInterface* in, int required, int optional)
        : CGreedyElxT<x>(in, required, optional) {}

    int Match(CContext* c) const override
    {
        const int pos = c->position;
        const int btSize = c->backtrack.Count();
        const int capSize = c->captures.Count();
        int r = CGreedyElxT<x>::Match(c);
        c->backtrack.Truncate(btSize);
        if (r) {
            c->backtrack.Push(pos);
            c->backtrack.Push(capSize);
        }
        return r;
    }
    int Backtrack(CContext* c) const override
    {
        c->captures.Truncate(c->backtrack.Pop());
        c->position = c->backtrack.Pop();
        return 0;
    }
};

template <int x>
class CAssertElxT : public ElxInterface {
public:
    CAssertElxT(ElxInterface* in, int pos) : inner(in), positive(pos) {}

    int Match(CContext* c) const override
    {
        const int pos = c->position;
        const int btSize = c->backtrack.Count();
        const int capSize = c->captures.Count();
        int r = RegexStep(c) ? inner->Match(c) : 0;
        if (c->budgetExhausted) return 0;
        if (!positive) r = !r;
        c->backtrack.Truncate(btSize);
        c->position = pos;
        if (r) {
            c->backtrack.Push(capSize);  // captures of a positive look-around stay visible
        } else {
            c->captures.Truncate(capSize);
        }
        return r;
    }
    int Backtrack(CContext* c) const override
    {
        c->captures.Truncate(c->backtrack.Pop());
        return 0;
    }

    ElxInterface* inner;
    int positive;
};

template <int x>
class CIndependentElxT : public ElxInterface {
public:
    explicit CIndependentElxT(ElxInterface* in) : inner(in) {}

    int Match(CContext* c) const override
    {
        const int pos = c->position;
        const int btSize = c->backtrack.Count();
        const int capSize = c->captures.Count();
        int r = RegexStep(c) ? inner->Match(c) : 0;
        c->backtrack.Truncate(btSize);
        if (r) {
            c->backtrack.Push(pos);
            c->backtrack.Push(capSize);
        }
        return r;
    }
    int Backtrack(CContext* c) const override
    {
        c->captures.Truncate(c->backtrack.Pop());
        c->position = c->backtrack.Pop();
        return 0;
    }

    ElxInterface* inner;
};

// ---- nodes that read text ----

template <class T>
class CStringElxT : public ElxInterface {
public:
    CStringElxT(const T* chars, int n, int rtl, int icase)
        : literal(chars, n), rightToLeft(rtl), ignoreCase(icase) {}

    int Match(CContext* c) const override
    {
        const int n = literal.Count();
        const T* text = c->Text<T>();
        int from;
        if (rightToLeft) {
            if (c->position < n || c->position > c->length) return 0;
            from = c->position - n;
        } else {
            if (c->position < 0 || c->position > c->length - n) return 0;
            from = c->position;
        }
        if (!Equal(text + from)) return 0;
        c->position += rightToLeft ? -n : n;
        return 1;
    }
    int Backtrack(CContext* c) const override
    {
        c->position += rightToLeft ? literal.Count() : -literal.Count();
        return 0;
    }
    int UnitStep() const override { return literal.Count() == 1 ? (rightToLeft ? -1 : 1) : 0; }
    int MatchRun(CContext* c, int max) const override;

    CBufferT<T> literal;
    int rightToLeft;
    int ignoreCase;

private:
    bool Equal(const T* s) const
    {
        const T* lit = literal.Data();
        const int n = literal.Count();
        if (ignoreCase) {
            for (int i = 0; i < n; ++i) {
                if (!RegexFoldEqual(s[i], lit[i])) return false;
            }
            return true;
        }
        for (int i = 0; i < n; ++i) {
            if (s[i] != lit[i]) return false;
        }
        return true;
    }
};

template <class T>
class CBackrefElxT : public ElxInterface {
public:
    CBackrefElxT(int group, int rtl, int icase) : groupNumber(group), rightToLeft(rtl), ignoreCase(icase) {}

    int Match(CContext* c) const override
    {
        int rec = RegexFindRecord(c, groupNumber);
        if (rec < 0) return 0;
        int b = c->captures[rec + 1];
        int e = c->captures[rec + 2];
        if (e == -1) e = c->position;  // a reference from inside its own open group
        if (b > e) std::swap(b, e);
        if (b < 0 || e > c->length) return 0;
        const int n = e - b;
        const T* text = c->Text<T>();
        int from;
        if (rightToLeft) {
            if (c->position < n || c->position > c->length) return 0;
            from = c->position - n;
        } else {
            if (c->position < 0 || c->position > c->length - n) return 0;
            from = c->position;
        }
        for (int i = 0; i < n; ++i) {
            T a = text[from + i], s = text[b + i];
            if (ignoreCase ? !RegexFoldEqual(a, s) : a != s) return 0;
        }
        c->backtrack.Push(c->position);
        c->position += rightToLeft ? -n : n;
        return 1;
    }
    int Backtrack(CContext* c) const override
    {
        c->position = c->backtrack.Pop();
        return 0;
    }

    int groupNumber;
    int rightToLeft;
    int ignoreCase;
    CBufferT<T> name;
};

enum BoundaryKind : int {
    TextStart = 0,
    TextEnd = 1,
    TextEndOrFinalBreak = 2,
    LineStart = 3,
    LineEnd = 4,
    WordStart = 5,
    WordEnd = 6,
    WordBoundary = 7,
};

template <class T>
class CBoundaryElxT : public ElxInterface {
public:
    CBoundaryElxT(BoundaryKind k, int pos) : kind(k), positive(pos) {}

    int Match(CContext* c) const override { return Test(c) == (positive != 0); }
    int Backtrack(CContext*) const override { return 0; }

    BoundaryKind kind;
    int positive;

private:
    bool Test(const CContext* c) const
    {
        const T* text = c->Text<T>();
        const int pos = c->position, len = c->length;
        const int prev = pos > 0 && pos <= len ? RegexUnit<T>::Code(text[pos - 1]) : 0;
        const int cur = pos >= 0 && pos < len ? RegexUnit<T>::Code(text[pos]) : 0;
        switch (kind) {
        case TextStart: return pos <= 0;
        case TextEnd: return pos >= len;
        case TextEndOrFinalBreak:
            if (pos >= len) return true;
            if (len >= 1 && text[len - 1] == T('\n') && pos == len - 1) return true;
            return len >= 2 && text[len - 2] == T('\r') && text[len - 1] == T('\n') && pos == len - 2;
        case LineStart: return pos <= 0 || prev == '\n' || (prev == '\r' && cur != '\n');
        case LineEnd: return pos >= len || cur == '\r' || (cur == '\n' && prev != '\r');
        case WordStart: return !regexchars::IsWord(prev) && regexchars::IsWord(cur);
        case WordEnd: return regexchars::IsWord(prev) && !regexchars::IsWord(cur);
        case WordBoundary: return regexchars::IsWord(prev) != regexchars::IsWord(cur);
        }
        return false;
    }
};

template <class T>
class CPosixElxT : public ElxInterface {
public:
    CPosixElxT(regexchars::ClassTest t, int rtl, int pos) : test(t), rightToLeft(rtl), positive(pos) {}

    bool IsMember(T unit) const
    {
        if (!test) return false;
        bool r = test(RegexUnit<T>::Code(unit)) != 0;
        return positive ? r : !r;
    }
    int Match(CContext* c) const override
    {
        const int i = rightToLeft ? c->position - 1 : c->position;
        if (i < 0 || i >= c->length) return 0;
        if (!IsMember(c->Text<T>()[i])) return 0;
        c->position += rightToLeft ? -1 : 1;
        return 1;
    }
    int Backtrack(CContext* c) const override
    {
        c->position += rightToLeft ? 1 : -1;
        return 0;
    }
    int UnitStep() const override { return test ? (rightToLeft ? -1 : 1) : 0; }
    int MatchRun(CContext* c, int max) const override;

    regexchars::ClassTest test;
    int rightToLeft;
    int positive;
};

template <class T>
class CBracketElxT : public ElxInterface {
public:
    CBracketElxT(int group, int isClosing) : groupNumber(group), closing(isClosing) {}

    int Match(CContext* c) const override
    {
        const int g = groupNumber;
        if (g < 0) return 0;
        if (!closing) {
            if (g >= c->groupSlots.Count()) c->groupSlots.GrowTo(g, 0xFF);
            int rec = RegexFindRecord(c, g);
            if (rec >= 0 && c->captures[rec + 2] == -1) {
                --c->captures[rec + 3];  // re-entered by a recursion
                return 1;
            }
            c->groupSlots[g] = c->captures.Count();
            c->captures.Push(g);
            c->captures.Push(c->position);
            c->captures.Push(-1);
            c->captures.Push(0);
            return 1;
        }
        int rec = RegexFindRecord(c, g);
        if (rec < 0) return 1;
        if (c->captures[rec + 3] < 0) {
            ++c->captures[rec + 3];
        } else {
            c->captures[rec + 2] = c->position;
            c->captures[rec + 3] = c->closeCount++;
        }
        return 1;
    }
    int Backtrack(CContext* c) const override
    {
        const int g = groupNumber;
        int rec = RegexFindRecord(c, g);
        if (rec < 0) return 0;
        if (!closing) {
            if (c->captures[rec + 3] < 0) {
                ++c->captures[rec + 3];
            } else {
                c->captures.Truncate(c->captures.Count() - 4);
                c->groupSlots[g] = c->captures.Count();
                c->groupSlots[g] = RegexFindRecord(c, g);
            }
        } else if (c->captures[rec + 2] != -1) {
            c->captures[rec + 2] = -1;
            c->captures[rec + 3] = 0;
        } else {
            --c->captures[rec + 3];
        }
        return 0;
    }

    int groupNumber;
    int closing;
    CBufferT<T> name;
};

template <class T>
class CRangeElxT : public ElxInterface {
public:
    CRangeElxT(int rtl, int pos) : rightToLeft(rtl), positive(pos) {}

    // Builds the membership table of the small units; call once the members are complete.
    void Finalize();

    // Whether the unit is listed (ranges, chars, or a class), before negation.
    bool Listed(T unit) const;
    bool Contains(T unit) const;  // ranges and chars only (the compiler's case folding)
    // Whether some unit above 255 is a member (never in the 8-bit engine).
    bool MayMatchAbove255() const;
    bool IsMember(T unit) const
    {
        int k = RegexUnit<T>::SmallIndex(unit);
        if (k >= 0 && finalized_) return table_[k];
        return Listed(unit) == (positive != 0);
    }

    int Match(CContext* c) const override
    {
        const int i = rightToLeft ? c->position - 1 : c->position;
        if (i < 0 || i >= c->length) return 0;
        if (!IsMember(c->Text<T>()[i])) return 0;
        c->position += rightToLeft ? -1 : 1;
        return 1;
    }
    int Backtrack(CContext* c) const override
    {
        c->position += rightToLeft ? 1 : -1;
        return 0;
    }
    int UnitStep() const override { return rightToLeft ? -1 : 1; }
    int MatchRun(CContext* c, int max) const override;

    CBufferT<T> ranges;
    CBufferT<T> chars;
    CBufferT<ElxInterface*> classes;
    int rightToLeft;
    int positive;

private:
    bool table_[256] = {};
    bool finalized_ = false;
};

template <class T>
class CConditionElxT : public ElxInterface {
public:
    explicit CConditionElxT(int group) : groupNumber(group) {}

    int Match(CContext* c) const override
    {
        const int pos = c->position;
        const int btSize = c->backtrack.Count();
        const int capSize = c->captures.Count();
        int cond;
        if (groupNumber >= 0) {
            cond = RegexFindRecord(c, groupNumber) >= 0;
        } else if (!conditionNode) {
            cond = 1;
        } else {
            cond = RegexStep(c) ? conditionNode->Match(c) : 0;
            c->backtrack.Truncate(btSize);
            c->position = pos;
        }
        if (c->budgetExhausted) return 0;
        const ElxInterface* branch = cond ? yesBranch : noBranch;
        int r = branch ? (RegexStep(c) ? branch->Match(c) : 0) : 1;
        if (r) {
            c->backtrack.Push(capSize);
            c->backtrack.Push(cond);
        } else {
            c->captures.Truncate(capSize);
        }
        return r;
    }
    int Backtrack(CContext* c) const override
    {
        int cond = c->backtrack.Pop();
        int capSize = c->backtrack.Pop();
        const ElxInterface* branch = cond ? yesBranch : noBranch;
        int r = branch ? (RegexStep(c) ? branch->Backtrack(c) : 0) : 0;
        if (r) {
            c->backtrack.Push(capSize);
            c->backtrack.Push(cond);
        } else {
            c->captures.Truncate(capSize);
        }
        return r;
    }

    int groupNumber;
    CBufferT<T> name;
    ElxInterface* conditionNode = nullptr;
    ElxInterface* yesBranch = nullptr;
    ElxInterface* noBranch = nullptr;
};

// Recursion into the whole pattern or a group. Deeper recursions than the context allows fail,
// so a recursion that re-enters without consuming text cannot exhaust the call stack.
template <class T>
class CDelegateElxT : public ElxInterface {
public:
    explicit CDelegateElxT(int group) : groupNumber(group) {}

    int Match(CContext* c) const override
    {
        if (!target) return 1;
        return Enter(c, true);
    }
    int Backtrack(CContext* c) const override
    {
        if (!target) return 0;
        return Enter(c, false);
    }

    ElxInterface* target = nullptr;
    int groupNumber;
    CBufferT<T> name;

private:
    int Enter(CContext* c, bool match) const
    {
        if (c->recursionDepth >= c->recursionLimit || !RegexStep(c)) return 0;
        ++c->recursionDepth;
        int r = match ? target->Match(c) : target->Backtrack(c);
        --c->recursionDepth;
        return r;
    }
};

// ---- runs of single units (the fast path of repeats) ----

namespace regexrun {

// Advances over up to max units accepted by member, in the node's direction.
template <class T, class Member>
inline int Run(CContext* c, int max, int rtl, Member member)
{
    const T* text = c->Text<T>();
    const int pos = c->position;
    if (pos < 0 || pos > c->length) return 0;
    if (!rtl) {
        const int end = max >= c->length - pos ? c->length : pos + max;
        int p = pos;
        while (p < end && member(text[p])) ++p;
        c->position = p;
        return p - pos;
    }
    const int lo = max >= pos ? 0 : pos - max;
    int p = pos;
    while (p > lo && member(text[p - 1])) --p;
    c->position = p;
    return pos - p;
}

}  // namespace regexrun

template <class T>
int CStringElxT<T>::MatchRun(CContext* c, int max) const
{
    const T ch = literal[0];
    if (ignoreCase) {
        return regexrun::Run<T>(c, max, rightToLeft, [ch](T u) { return RegexFoldEqual(u, ch); });
    }
    return regexrun::Run<T>(c, max, rightToLeft, [ch](T u) { return u == ch; });
}

template <class T>
int CPosixElxT<T>::MatchRun(CContext* c, int max) const
{
    return regexrun::Run<T>(c, max, rightToLeft, [this](T u) { return IsMember(u); });
}

template <class T>
int CRangeElxT<T>::MatchRun(CContext* c, int max) const
{
    return regexrun::Run<T>(c, max, rightToLeft, [this](T u) { return IsMember(u); });
}

template <class T>
bool CRangeElxT<T>::Contains(T unit) const
{
    const int u = RegexUnit<T>::Code(unit);
    for (int i = 0; i + 1 < ranges.Count(); i += 2) {
        if (RegexUnit<T>::Code(ranges[i]) <= u && u <= RegexUnit<T>::Code(ranges[i + 1])) return true;
    }
    for (int i = 0; i < chars.Count(); ++i) {
        if (chars[i] == unit) return true;
    }
    return false;
}

template <class T>
bool CRangeElxT<T>::Listed(T unit) const
{
    if (Contains(unit)) return true;
    for (int i = 0; i < classes.Count(); ++i) {
        const ElxInterface* cls = classes[i];
        if (auto* r = dynamic_cast<const CRangeElxT<T>*>(cls)) {
            if (r->IsMember(unit)) return true;
        } else if (auto* p = dynamic_cast<const CPosixElxT<T>*>(cls)) {
            if (p->IsMember(unit)) return true;
        }
    }
    return false;
}

template <class T>
bool CRangeElxT<T>::MayMatchAbove255() const
{
    if constexpr (sizeof(T) == 1) {
        return false;
    } else {
        if (!positive) return true;
        for (int i = 0; i + 1 < ranges.Count(); i += 2) {
            if (ranges[i + 1] >= 256 && ranges[i] <= ranges[i + 1]) return true;
        }
        for (int i = 0; i < chars.Count(); ++i) {
            if (chars[i] >= 256) return true;
        }
        for (int i = 0; i < classes.Count(); ++i) {
            if (auto* r = dynamic_cast<const CRangeElxT<T>*>(classes[i])) {
                if (r->MayMatchAbove255()) return true;
            } else if (auto* p = dynamic_cast<const CPosixElxT<T>*>(classes[i])) {
                if (p->test && !p->positive) return true;
            }
        }
        return false;
    }
}

template <class T>
void CRangeElxT<T>::Finalize()
{
    finalized_ = false;
    bool table[256];
    for (int k = 0; k < 256; ++k) {
        T unit;
        if constexpr (sizeof(T) == 1) {
            unit = static_cast<T>(static_cast<unsigned char>(k));
        } else {
            unit = static_cast<T>(k);
        }
        table[k] = Listed(unit) == (positive != 0);
    }
    std::copy(std::begin(table), std::end(table), std::begin(table_));
    finalized_ = true;
}
