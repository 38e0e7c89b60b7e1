#include "regex/RegexpT.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <new>
#include <cstring>
#include <utility>
#include <vector>

namespace {

std::atomic<RegexBudgetHandler> g_budgetHandler{nullptr};

template <class T>
int ZeroTerminatedLength(const T* s)
{
    return CBufferRefT<T>(s).Count();
}

// \$(?:[$&`'+_\d]|\{.*?\}) : "$" and one reference character, or "${" ... "}".
template <class T>
const CRegexpT<T>& ReferencePattern()
{
    static const CRegexpT<T> pattern = [] {
        static const char text[] = "\\$(?:[$&`'+_\\d]|\\{.*?\\})";
        T wide[sizeof text];
        for (size_t i = 0; i < sizeof text; ++i) wide[i] = static_cast<T>(text[i]);
        return CRegexpT<T>(wide, static_cast<int>(sizeof text) - 1, 0);
    }();
    return pattern;
}

}  // namespace

void SetRegexBudgetHandler(RegexBudgetHandler handler)
{
    g_budgetHandler.store(handler);
}

void NotifyRegexBudgetExhausted(std::int64_t stepBudget)
{
    if (RegexBudgetHandler handler = g_budgetHandler.load()) handler(stepBudget);
}

regexchars::ClassTest regexchars::PosixClassByName(const char* name, int length)
{
    static const struct {
        const char* name;
        ClassTest test;
    } kClasses[] = {
        {"alnum", IsAlnum}, {"alpha", IsAlpha}, {"ascii", IsAscii}, {"blank", IsBlank},
        {"cntrl", IsCntrl}, {"digit", IsDigit}, {"graph", IsGraph}, {"lower", IsLower},
        {"print", IsPrint}, {"punct", IsPunct}, {"space", IsSpace}, {"upper", IsUpper},
        {"xdigit", IsXDigit},
    };
    for (const auto& c : kClasses) {
        if (static_cast<int>(std::strlen(c.name)) == length && std::strncmp(c.name, name, length) == 0) {
            return c.test;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------- compiling

template <class T>
CRegexpT<T>::CRegexpT(const T* pattern, int flags)
{
    Compile(pattern, ZeroTerminatedLength(pattern), flags);
}

template <class T>
CRegexpT<T>::CRegexpT(const T* pattern, int length, int flags)
{
    Compile(pattern, length, flags);
}

template <class T>
void CRegexpT<T>::Compile(const T* pattern, int flags)
{
    Compile(pattern, ZeroTerminatedLength(pattern), flags);
}

template <class T>
void CRegexpT<T>::Compile(const T* pattern, int length, int flags)
{
    builder.Reset();
    if (pattern) builder.BuildTree(CBufferRefT<T>(pattern, length < 0 ? 0 : length), flags);
    SearchPlanT<T>::MarkRepeatsWithoutGiveBack(builder.ownedNodes);
    plan_.Build(builder.root, builder.flags);
}

// ---------------------------------------------------------------- the driver

template <class T>
void CRegexpT<T>::Prepare(CContext* c, const T* text, int length, int start) const
{
    static const T empty[1] = {T(0)};
    if (!text || length < 0) {
        text = empty;
        length = 0;
    }
    c->closeCount = 0;
    c->emptyMatchAt = -1;
    c->text = text;
    c->length = length;
    if (start < 0) start = (builder.flags & RightToLeftScan) ? length : 0;
    if (start > length) start = length;  // a start beyond the text is clamped to its end
    c->anchor = c->position = start;
}

template <class T>
void CRegexpT<T>::BeginSearch(CContext* c) const
{
    c->stepsLeft = stepBudget_;
    c->budgetExhausted = false;
    c->recursionDepth = 0;
    c->recursionLimit = builder.recursionLimit;
}

// Empties the stacks for a new start position. Only the slots of the groups the previous
// attempt recorded are reset: slots are hints checked against the records, so a stale one
// (left by a record a look-around dropped) cannot make an unset group look set.
template <class T>
void CRegexpT<T>::BeginAttempt(CContext* c) const
{
    CBufferT<int>& slots = c->groupSlots;
    const CBufferT<int>& caps = c->captures;
    for (int i = 0; i + 3 < caps.Count(); i += 4) {
        const int g = caps[i];
        if (g >= 0 && g < slots.Count()) slots[g] = -1;
    }
    c->captures.Clear();
    c->backtrack.Clear();
    slots.GrowTo(0, 0xFF);
    slots[0] = 0;
    c->captures.Push(0);
    c->captures.Push(c->position);
    c->captures.Push(-1);
    c->captures.Push(-1);
}

template <class T>
MatchResult CRegexpT<T>::BuildResult(const CContext* c) const
{
    const int maxGroup = builder.maxGroupNumber;
    MatchResult result;
    result.GrowTo(2 * maxGroup + 3, 0xFF);
    result[0] = 1;
    result[1] = maxGroup;
    for (int g = 0; g <= maxGroup; ++g) {
        const int rec = RegexFindRecord(c, g);
        if (rec < 0) continue;
        int b = c->captures[rec + 1], e = c->captures[rec + 2];
        if (e < 0) continue;  // still open: took no complete part in the match
        if (b > e) std::swap(b, e);
        result[2 + 2 * g] = b;
        result[3 + 2 * g] = e;
    }
    return result;
}

template <class T>
MatchResult CRegexpT<T>::RunSearch(CContext* c) const
{
    if (!builder.root || !c) return MatchResult();
    const bool rtl = (builder.flags & RightToLeftScan) != 0;
    const int step = rtl ? -1 : 1;
    const int stop = rtl ? -1 : c->length + 1;
    BeginSearch(c);
    while (c->position >= 0 && c->position <= c->length) {
        if (!rtl && !plan_.NextCandidate(c)) break;
        const int s = c->position;
        BeginAttempt(c);
        const int matched = builder.root->Match(c);
        if (c->budgetExhausted) break;
        if (!matched) {
            c->position = s + step;
            continue;
        }
        const int e = c->position;
        if (e == s && s == c->emptyMatchAt) {
            c->position = s + step;
            continue;
        }
        c->emptyMatchAt = e == s ? e : -1;
        c->anchor = e;
        c->captures[2] = e;
        return BuildResult(c);
    }
    if (c->budgetExhausted) NotifyRegexBudgetExhausted(stepBudget_);
    c->position = stop;
    return MatchResult();
}

template <class T>
MatchResult CRegexpT<T>::Match(const T* text, int start, CContext* context) const
{
    return Match(text, ZeroTerminatedLength(text), start, context);
}

template <class T>
MatchResult CRegexpT<T>::Match(const T* text, int length, int start, CContext* context) const
{
    if (!builder.root) return MatchResult();
    CContext own;
    CContext* c = context ? context : &own;
    Prepare(c, text, length, start);
    return RunSearch(c);
}

template <class T>
MatchResult CRegexpT<T>::Match(CContext* context) const
{
    return RunSearch(context);
}

template <class T>
MatchResult CRegexpT<T>::MatchWhole(const T* text, CContext* context) const
{
    return MatchWhole(text, ZeroTerminatedLength(text), context);
}

template <class T>
MatchResult CRegexpT<T>::MatchWhole(const T* text, int length, CContext* context) const
{
    if (!builder.root) return MatchResult();
    CContext own;
    return RunWhole(context ? context : &own, text, length);
}

template <class T>
MatchResult CRegexpT<T>::RunWhole(CContext* c, const T* text, int length) const
{
    const bool rtl = (builder.flags & RightToLeftScan) != 0;
    Prepare(c, text, length, rtl ? length : 0);
    c->captures.Clear();
    c->backtrack.Clear();
    const int start = c->position;
    const int target = rtl ? 0 : c->length;
    BeginSearch(c);
    BeginAttempt(c);
    bool ok = builder.root->Match(c) && !c->budgetExhausted;
    while (ok && c->position != target) {
        if (!RegexStep(c) || !builder.root->Backtrack(c) || c->budgetExhausted) {
            ok = false;
            break;
        }
        if (c->position == start && c->emptyMatchAt == start) {
            ok = false;
            break;
        }
        c->emptyMatchAt = c->position;
    }
    if (c->budgetExhausted) {
        NotifyRegexBudgetExhausted(stepBudget_);
        return MatchResult();
    }
    if (!ok) return MatchResult();
    c->captures[2] = c->position;
    return BuildResult(c);
}

template <class T>
CContext* CRegexpT<T>::StartSearch(const T* text, int length, int start, CContext* context) const
{
    if (!builder.root) return nullptr;
    CContext* c = context ? context : new CContext();  // owned by the caller until EndSearch
    Prepare(c, text, length, start);
    return c;
}

template <class T>
void CRegexpT<T>::EndSearch(CContext* context)
{
    delete context;
}

// ---------------------------------------------------------------- replace

template <class T>
T* CRegexpT<T>::Replace(const T* text, const T* replacement, int start, int count, MatchResult* result,
                        CContext* context) const
{
    int resultLength = 0;
    return Replace(text, ZeroTerminatedLength(text), replacement, ZeroTerminatedLength(replacement),
                   resultLength, start, count, result, context);
}

template <class T>
T* CRegexpT<T>::Replace(const T* text, int length, const T* replacement, int replacementLength,
                        int& resultLength, int start, int count, MatchResult* result,
                        CContext* context) const
{
    if (!builder.root) return nullptr;
    static const T empty[1] = {T(0)};
    if (!text || length < 0) {
        text = empty;
        length = 0;
    }
    if (!replacement || replacementLength < 0) {
        replacement = empty;
        replacementLength = 0;
    }
    CContext own;
    CContext* c = context ? context : &own;
    MatchResult local;
    MatchResult* res = result ? result : &local;
    const int maxGroup = builder.maxGroupNumber;

    // 1. The replacement as segments: (index, length) literal, (-1, c) special, (-2, n) group.
    std::vector<std::pair<int, int>> segments;
    int literalFrom = 0;
    auto literalUpTo = [&](int to) {
        if (to > literalFrom) segments.emplace_back(literalFrom, to - literalFrom);
    };
    const CRegexpT<T>& refs = ReferencePattern<T>();
    refs.StartSearch(replacement, replacementLength, 0, c);
    for (MatchResult ref = refs.Match(c); ref.Found(); ref = refs.Match(c)) {
        const int b = ref.MatchBegin(), e = ref.MatchEnd();
        if (b < literalFrom) continue;  // inside digits already taken by a group reference
        literalUpTo(b);
        const int kind = RegexUnit<T>::Code(replacement[b + 1]);
        switch (kind) {
        case '$':
            segments.emplace_back(b, 1);
            literalFrom = b + 2;
            break;
        case '&': case '`': case '\'': case '+': case '_':
            segments.emplace_back(-1, kind);
            literalFrom = b + 2;
            break;
        case '{': {
            const int k = builder.NamedGroupNumber(replacement + b + 2, e - b - 3);
            if (k >= 1 && k <= maxGroup) {
                segments.emplace_back(-2, k);
            } else {
                segments.emplace_back(b, e - b);
            }
            literalFrom = e;
            break;
        }
        default: {  // digits
            int n = 0, digits = 0;
            while (digits < 3 && b + 1 + digits < replacementLength &&
                   regexchars::IsDigit(RegexUnit<T>::Code(replacement[b + 1 + digits]))) {
                n = n * 10 + (RegexUnit<T>::Code(replacement[b + 1 + digits]) - '0');
                ++digits;
            }
            bool dropped = false;
            while (n > maxGroup) {
                n /= 10;
                --digits;
                dropped = true;
            }
            if (dropped && n == 0) {
                segments.emplace_back(b, 1);
                literalFrom = b + 1;
            } else {
                segments.emplace_back(-2, n);
                literalFrom = b + 1 + digits;
            }
            break;
        }
        }
    }
    literalUpTo(replacementLength);

    // 2.-4. Walk the matches and collect the pieces of the new text.
    const bool rtl = (builder.flags & RightToLeftScan) != 0;
    std::vector<std::pair<const T*, int>> pieces;
    long long total = 0;
    auto add = [&pieces, &total](const T* p, int n) {
        if (n <= 0) return;
        pieces.emplace_back(p, n);
        total += n;
    };
    StartSearch(text, length, start, c);
    int last = rtl ? length : 0;
    int replaced = 0;
    long long insertBefore = 0, insertAfter = 0;  // output lengths around the last insertion
    while (count < 0 || replaced < count) {
        *res = Match(c);
        if (!res->Found()) break;
        const int mb = res->MatchBegin(), me = res->MatchEnd();
        if (rtl) {
            add(text + me, last - me);
            last = mb;
        } else {
            add(text + last, mb - last);
            last = me;
        }
        insertBefore = total;
        const int nseg = static_cast<int>(segments.size());
        for (int k = 0; k < nseg; ++k) {
            const auto& seg = segments[static_cast<size_t>(rtl ? nseg - 1 - k : k)];
            if (seg.first >= 0) {
                add(replacement + seg.first, seg.second);
            } else if (seg.first == -2) {
                const int gb = res->GroupBegin(seg.second), ge = res->GroupEnd(seg.second);
                if (gb >= 0 && ge >= gb) add(text + gb, ge - gb);
            } else {
                switch (seg.second) {
                case '&': add(text + mb, me - mb); break;
                case '`': add(text, mb); break;
                case '\'': add(text + me, length - me); break;
                case '_': add(text, length); break;
                case '+': {
                    int g = maxGroup;
                    while (g > 0 && res->GroupBegin(g) < 0) --g;
                    add(text + res->GroupBegin(g), res->GroupEnd(g) - res->GroupBegin(g));
                    break;
                }
                default: break;
                }
            }
        }
        insertAfter = total;
        ++replaced;
    }
    if (rtl) {
        add(text, last);
    } else {
        add(text + last, length - last);
    }

    // 5. One allocation of the exact size; right to left the pieces were collected backwards.
    if (total > INT_MAX - 1) throw std::bad_alloc();
    T* out = static_cast<T*>(std::malloc(sizeof(T) * static_cast<size_t>(total + 1)));
    if (!out) throw std::bad_alloc();
    T* w = out;
    for (size_t k = 0; k < pieces.size(); ++k) {
        const auto& p = pieces[rtl ? pieces.size() - 1 - k : k];
        std::memcpy(w, p.first, sizeof(T) * static_cast<size_t>(p.second));
        w += p.second;
    }
    *w = T(0);
    resultLength = static_cast<int>(total);

    // 6. The summary: new length, replacements, and where the last insertion lies.
    int insertBegin = 0, insertEnd = 0;
    if (replaced > 0) {
        insertBegin = static_cast<int>(rtl ? total - insertAfter : insertBefore);
        insertEnd = static_cast<int>(rtl ? total - insertBefore : insertAfter);
    }
    res->Push(resultLength);
    res->Push(replaced);
    res->Push(insertBegin);
    res->Push(insertEnd);
    return out;
}

template <class T>
void CRegexpT<T>::FreeString(T* text)
{
    std::free(text);
}

template class CRegexpT<char16_t>;
template class CRegexpT<char>;
