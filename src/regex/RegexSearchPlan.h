// Where a left-to-right search may skip start positions without asking the tree: a pattern
// anchored at the text start, at line starts, one that begins with a literal prefix, or one
// whose first code unit lies in a known set. The plan only skips positions at which the tree
// would fail, so results are exactly those of trying every position.
#pragma once

#include <cstring>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "regex/RegexChars.h"
#include "regex/RegexContext.h"
#include "regex/RegexNodes.h"

template <class T>
class SearchPlanT {
public:
    enum class Mode { EveryPosition, TextStart, LineStart, Prefix, FirstUnit };

    void Build(const ElxInterface* root, int flags);
    Mode GetMode() const { return mode_; }

    // Moves c->position to the first position at or after it where a match may begin;
    // false when there is none up to the end of the text.
    bool NextCandidate(CContext* c) const
    {
        switch (mode_) {
        case Mode::EveryPosition: return true;
        case Mode::TextStart: return c->position == 0;
        case Mode::LineStart: return NextLineStart(c);
        case Mode::Prefix: return NextPrefix(c);
        case Mode::FirstUnit: return NextFirstUnit(c);
        }
        return true;
    }

    struct First {
        bool table[256] = {};
        bool high = false;      // some unit above 255 may begin a match
        bool nullable = false;  // the node may match without consuming
        bool unknown = false;   // no useful answer
    };

    // The units a node can begin with.
    static void Analyse(const ElxInterface* node, First* out);
    // Marks the single-unit greedy repeats that never need to give units back.
    static void MarkRepeatsWithoutGiveBack(const std::vector<std::unique_ptr<ElxInterface>>& nodes);

private:
    static bool AnchoredAt(const ElxInterface* node, BoundaryKind kind);
    static bool Transparent(const ElxInterface* node);
    static const CStringElxT<T>* LeadingLiteral(const ElxInterface* node);
    static void AddUnit(First* f, T unit);

    bool NextLineStart(CContext* c) const;
    bool NextPrefix(CContext* c) const;
    bool NextFirstUnit(CContext* c) const;

    Mode mode_ = Mode::EveryPosition;
    bool table_[256] = {};
    bool high_ = false;
    bool wordStart_ = false;  // candidates must also follow a non-word unit
    std::vector<T> prefix_;
};

template <class T>
void SearchPlanT<T>::AddUnit(First* f, T unit)
{
    int k = RegexUnit<T>::SmallIndex(unit);
    if (k >= 0) {
        f->table[k] = true;
    } else {
        f->high = true;
    }
}

template <class T>
bool SearchPlanT<T>::Transparent(const ElxInterface* node)
{
    return dynamic_cast<const CBracketElxT<T>*>(node) || dynamic_cast<const CEmptyElxT<0>*>(node);
}

template <class T>
bool SearchPlanT<T>::AnchoredAt(const ElxInterface* node, BoundaryKind kind)
{
    if (auto* b = dynamic_cast<const CBoundaryElxT<T>*>(node)) return b->kind == kind && b->positive;
    if (auto* list = dynamic_cast<const CListElxT<0>*>(node)) {
        if (list->rightToLeft) return false;
        for (int i = 0; i < list->nodes.Count(); ++i) {
            if (AnchoredAt(list->nodes[i], kind)) return true;
            if (!Transparent(list->nodes[i])) return false;
        }
        return false;
    }
    if (auto* alt = dynamic_cast<const CAlternativeElxT<0>*>(node)) {
        if (alt->alternatives.Empty()) return false;
        for (int i = 0; i < alt->alternatives.Count(); ++i) {
            if (!AnchoredAt(alt->alternatives[i], kind)) return false;
        }
        return true;
    }
    if (auto* ind = dynamic_cast<const CIndependentElxT<0>*>(node)) return AnchoredAt(ind->inner, kind);
    return false;
}

template <class T>
const CStringElxT<T>* SearchPlanT<T>::LeadingLiteral(const ElxInterface* node)
{
    if (auto* s = dynamic_cast<const CStringElxT<T>*>(node)) {
        return s->rightToLeft || s->ignoreCase ? nullptr : s;
    }
    if (auto* list = dynamic_cast<const CListElxT<0>*>(node)) {
        if (list->rightToLeft) return nullptr;
        for (int i = 0; i < list->nodes.Count(); ++i) {
            if (Transparent(list->nodes[i])) continue;
            return LeadingLiteral(list->nodes[i]);
        }
        return nullptr;
    }
    if (auto* rep = dynamic_cast<const CRepeatElxT<0>*>(node)) {
        return rep->requiredCount > 0 ? LeadingLiteral(rep->inner) : nullptr;
    }
    if (auto* ind = dynamic_cast<const CIndependentElxT<0>*>(node)) return LeadingLiteral(ind->inner);
    return nullptr;
}

template <class T>
void SearchPlanT<T>::Analyse(const ElxInterface* node, First* out)
{
    First f;
    if (dynamic_cast<const CEmptyElxT<0>*>(node) || dynamic_cast<const CGlobalElxT<0>*>(node) ||
        dynamic_cast<const CBoundaryElxT<T>*>(node) || dynamic_cast<const CAssertElxT<0>*>(node) ||
        dynamic_cast<const CBracketElxT<T>*>(node)) {
        f.nullable = true;  // zero width
    } else if (auto* s = dynamic_cast<const CStringElxT<T>*>(node)) {
        if (s->rightToLeft || s->literal.Empty()) {
            f.unknown = true;
        } else {
            const T u = s->literal[0];
            AddUnit(&f, u);
            if (s->ignoreCase) {
                const int code = RegexUnit<T>::Code(u);
                if (regexchars::IsAlpha(code)) AddUnit(&f, T(code ^ 32));
            }
        }
    } else if (auto* r = dynamic_cast<const CRangeElxT<T>*>(node)) {
        if (r->rightToLeft) {
            f.unknown = true;
        } else {
            for (int k = 0; k < 256; ++k) {
                T u = sizeof(T) == 1 ? T(static_cast<unsigned char>(k)) : T(k);
                f.table[k] = r->IsMember(u);
            }
            f.high = r->MayMatchAbove255();
        }
    } else if (auto* p = dynamic_cast<const CPosixElxT<T>*>(node)) {
        if (p->rightToLeft) {
            f.unknown = true;
        } else {
            for (int k = 0; k < 256; ++k) {
                T u = sizeof(T) == 1 ? T(static_cast<unsigned char>(k)) : T(k);
                f.table[k] = p->IsMember(u);
            }
            f.high = sizeof(T) > 1 && p->test && !p->positive;
        }
    } else if (auto* list = dynamic_cast<const CListElxT<0>*>(node)) {
        if (list->rightToLeft) {
            f.unknown = true;
        } else {
            f.nullable = true;
            for (int i = 0; i < list->nodes.Count() && f.nullable && !f.unknown; ++i) {
                First child;
                Analyse(list->nodes[i], &child);
                for (int k = 0; k < 256; ++k) f.table[k] = f.table[k] || child.table[k];
                f.high = f.high || child.high;
                f.unknown = child.unknown;
                f.nullable = child.nullable;
            }
        }
    } else if (auto* alt = dynamic_cast<const CAlternativeElxT<0>*>(node)) {
        f.nullable = alt->alternatives.Empty();
        for (int i = 0; i < alt->alternatives.Count() && !f.unknown; ++i) {
            First child;
            Analyse(alt->alternatives[i], &child);
            for (int k = 0; k < 256; ++k) f.table[k] = f.table[k] || child.table[k];
            f.high = f.high || child.high;
            f.unknown = child.unknown;
            f.nullable = f.nullable || child.nullable;
        }
    } else if (auto* rep = dynamic_cast<const CRepeatElxT<0>*>(node)) {
        Analyse(rep->inner, &f);
        if (rep->requiredCount == 0) f.nullable = true;
    } else if (auto* ind = dynamic_cast<const CIndependentElxT<0>*>(node)) {
        Analyse(ind->inner, &f);
    } else {
        f.unknown = true;  // back-references, conditions, recursion
    }
    *out = f;
}

template <class T>
void SearchPlanT<T>::MarkRepeatsWithoutGiveBack(const std::vector<std::unique_ptr<ElxInterface>>& nodes)
{
    // Who links to whom: a list reached from one place only has one continuation.
    std::unordered_map<const ElxInterface*, int> links;
    std::unordered_map<const ElxInterface*, std::pair<const CListElxT<0>*, int>> inList;
    auto link = [&links](const ElxInterface* n) {
        if (n) ++links[n];
    };
    for (const auto& owned : nodes) {
        const ElxInterface* n = owned.get();
        if (auto* list = dynamic_cast<const CListElxT<0>*>(n)) {
            for (int i = 0; i < list->nodes.Count(); ++i) {
                link(list->nodes[i]);
                inList[list->nodes[i]] = {list, i};
            }
        } else if (auto* alt = dynamic_cast<const CAlternativeElxT<0>*>(n)) {
            for (int i = 0; i < alt->alternatives.Count(); ++i) link(alt->alternatives[i]);
        } else if (auto* rep = dynamic_cast<const CRepeatElxT<0>*>(n)) {
            link(rep->inner);
        } else if (auto* as = dynamic_cast<const CAssertElxT<0>*>(n)) {
            link(as->inner);
        } else if (auto* ind = dynamic_cast<const CIndependentElxT<0>*>(n)) {
            link(ind->inner);
        } else if (auto* cond = dynamic_cast<const CConditionElxT<T>*>(n)) {
            link(cond->conditionNode);
            link(cond->yesBranch);
            link(cond->noBranch);
        } else if (auto* del = dynamic_cast<const CDelegateElxT<T>*>(n)) {
            link(del->target);
        }
    }
    // The node that runs after nodes[i] of a left-to-right list, brackets skipped, climbing out
    // of lists that end there; null when unknown.
    auto follower = [&](const CListElxT<0>* list, int i) -> const ElxInterface* {
        for (int depth = 0; depth < 1000; ++depth) {
            if (list->rightToLeft) return nullptr;
            int j = i + 1;
            while (j < list->nodes.Count() && dynamic_cast<const CBracketElxT<T>*>(list->nodes[j])) ++j;
            if (j < list->nodes.Count()) return list->nodes[j];
            auto up = inList.find(list);
            if (up == inList.end() || links[list] != 1) return nullptr;
            list = up->second.first;
            i = up->second.second;
        }
        return nullptr;
    };
    for (const auto& owned : nodes) {
        auto* list = dynamic_cast<const CListElxT<0>*>(owned.get());
        if (!list || list->rightToLeft) continue;
        for (int i = 0; i < list->nodes.Count(); ++i) {
            auto* greedy = dynamic_cast<CGreedyElxT<0>*>(list->nodes[i]);
            if (!greedy || dynamic_cast<CPossessiveElxT<0>*>(greedy) || greedy->inner->UnitStep() != 1) continue;
            if (links[greedy] != 1) continue;
            const ElxInterface* after = follower(list, i);
            if (!after) continue;
            First units, next;
            Analyse(greedy->inner, &units);
            Analyse(after, &next);
            if (units.unknown || next.unknown || next.nullable || (units.high && next.high)) continue;
            bool overlap = false;
            for (int k = 0; k < 256 && !overlap; ++k) overlap = units.table[k] && next.table[k];
            if (!overlap) greedy->giveBack = false;
        }
    }
}

template <class T>
void SearchPlanT<T>::Build(const ElxInterface* root, int flags)
{
    mode_ = Mode::EveryPosition;
    wordStart_ = false;
    prefix_.clear();
    if (!root || (flags & RightToLeftScan)) return;
    if (AnchoredAt(root, TextStart)) {
        mode_ = Mode::TextStart;
        return;
    }
    if (AnchoredAt(root, LineStart)) {
        mode_ = Mode::LineStart;
        return;
    }
    if (const CStringElxT<T>* lit = LeadingLiteral(root)) {
        prefix_.assign(lit->literal.Data(), lit->literal.Data() + lit->literal.Count());
        mode_ = Mode::Prefix;
        return;
    }
    First f;
    Analyse(root, &f);
    if (f.unknown || f.nullable) return;
    std::memcpy(table_, f.table, sizeof table_);
    high_ = f.high;
    mode_ = Mode::FirstUnit;

    // \b before a word character holds only where the previous unit is no word character.
    wordStart_ = false;
    const ElxInterface* lead = root;
    if (auto* list = dynamic_cast<const CListElxT<0>*>(root)) {
        int i = 0;
        while (i < list->nodes.Count() && dynamic_cast<const CBracketElxT<T>*>(list->nodes[i])) ++i;
        lead = i < list->nodes.Count() ? list->nodes[i] : nullptr;
    }
    auto* b = dynamic_cast<const CBoundaryElxT<T>*>(lead);
    if (b && b->kind == WordBoundary && b->positive && !high_) {
        bool allWord = true;
        for (int k = 0; k < 256 && allWord; ++k) allWord = !table_[k] || regexchars::IsWord(k);
        if (sizeof(T) == 1) {
            for (int k = 128; k < 256 && allWord; ++k) allWord = !table_[k];  // negative units
        }
        wordStart_ = allWord;
    }
}

template <class T>
bool SearchPlanT<T>::NextLineStart(CContext* c) const
{
    const T* text = c->Text<T>();
    const int len = c->length;
    for (int p = c->position; p <= len; ++p) {
        if (p == 0 || text[p - 1] == T('\n') || (text[p - 1] == T('\r') && (p >= len || text[p] != T('\n')))) {
            c->position = p;
            return true;
        }
    }
    return false;
}

template <class T>
bool SearchPlanT<T>::NextPrefix(CContext* c) const
{
    const T* text = c->Text<T>();
    const int n = static_cast<int>(prefix_.size());
    const int last = c->length - n;  // last position where the prefix fits
    const T first = prefix_[0];
    for (int p = c->position; p <= last;) {
        const T* hit;
        if constexpr (sizeof(T) == 1) {
            hit = static_cast<const T*>(std::memchr(text + p, first, static_cast<size_t>(last - p + 1)));
        } else {
            hit = nullptr;
            for (const T *q = text + p, *end = text + last + 1; q < end; ++q) {
                if (*q == first) {
                    hit = q;
                    break;
                }
            }
        }
        if (!hit) return false;
        p = static_cast<int>(hit - text);
        int k = 1;
        while (k < n && text[p + k] == prefix_[static_cast<size_t>(k)]) ++k;
        if (k == n) {
            c->position = p;
            return true;
        }
        ++p;
    }
    return false;
}

template <class T>
bool SearchPlanT<T>::NextFirstUnit(CContext* c) const
{
    const T* text = c->Text<T>();
    const int len = c->length;
    for (int p = c->position; p < len; ++p) {
        const int k = RegexUnit<T>::SmallIndex(text[p]);
        if (!(k >= 0 ? table_[k] : high_)) continue;
        if (wordStart_ && p > 0 && regexchars::IsWord(RegexUnit<T>::Code(text[p - 1]))) continue;
        c->position = p;
        return true;
    }
    return false;
}
