// CRegexpT: a compiled regular expression over wide (char16_t) or 8-bit (char) text, with the
// match driver, whole-text matching, search contexts and replacement.
//
// Safety on untrusted text: a start index outside the text is clamped to it; recursion deeper
// than the tree allows fails that recursion; each search has a budget of backtracking steps
// after which it reports no match, sets CContext::budgetExhausted and calls the handler
// installed with SetRegexBudgetHandler (so the caller can log it).
#pragma once

#include <cstdint>

#include "regex/RegexBuffer.h"
#include "regex/RegexBuilder.h"
#include "regex/RegexContext.h"
#include "regex/RegexSearchPlan.h"

using RegexBudgetHandler = void (*)(std::int64_t stepBudget);
// Installs the process-wide handler told about every search that ran out of steps.
void SetRegexBudgetHandler(RegexBudgetHandler handler);
void NotifyRegexBudgetExhausted(std::int64_t stepBudget);

template <class T>
class CRegexpT {
public:
    static constexpr std::int64_t kDefaultStepBudget = 50'000'000;

    explicit CRegexpT(const T* pattern = nullptr, int flags = 0);
    CRegexpT(const T* pattern, int length, int flags);
    CRegexpT(const CRegexpT&) = delete;
    CRegexpT& operator=(const CRegexpT&) = delete;

    void Compile(const T* pattern, int flags = 0);
    void Compile(const T* pattern, int length, int flags);

    // First match at or after start (-1: the start, or the end for a right-to-left pattern).
    MatchResult Match(const T* text, int start = -1, CContext* context = nullptr) const;
    MatchResult Match(const T* text, int length, int start, CContext* context = nullptr) const;
    // Next match on a context prepared by StartSearch.
    MatchResult Match(CContext* context) const;

    // A match of the whole text.
    MatchResult MatchWhole(const T* text, CContext* context = nullptr) const;
    MatchResult MatchWhole(const T* text, int length, CContext* context = nullptr) const;

    // Prepares the given context, or a new one released with EndSearch; null when no pattern.
    CContext* StartSearch(const T* text, int length, int start = -1, CContext* context = nullptr) const;
    // Releases a context that StartSearch created (never one the caller owns); null is ignored.
    static void EndSearch(CContext* context);

    // A new zero-terminated text with matches replaced; release it with FreeString.
    T* Replace(const T* text, const T* replacement, int start = -1, int count = -1,
               MatchResult* result = nullptr, CContext* context = nullptr) const;
    T* Replace(const T* text, int length, const T* replacement, int replacementLength, int& resultLength,
               int start = -1, int count = -1, MatchResult* result = nullptr,
               CContext* context = nullptr) const;
    static void FreeString(T* text);
    static void ReleaseString(T* text) { FreeString(text); }

    // Steps one search may take before it gives up and reports no match.
    void SetStepBudget(std::int64_t steps) { stepBudget_ = steps > 0 ? steps : 1; }
    std::int64_t StepBudget() const { return stepBudget_; }

    const CBuilderT<T>& Builder() const { return builder; }

private:
    void Prepare(CContext* c, const T* text, int length, int start) const;
    void BeginAttempt(CContext* c) const;
    void BeginSearch(CContext* c) const;
    MatchResult BuildResult(const CContext* c) const;
    MatchResult RunSearch(CContext* c) const;
    MatchResult RunWhole(CContext* c, const T* text, int length) const;

    CBuilderT<T> builder;
    SearchPlanT<T> plan_;
    std::int64_t stepBudget_ = kDefaultStepBudget;
};

extern template class CRegexpT<char16_t>;
extern template class CRegexpT<char>;

using CRegexpW = CRegexpT<char16_t>;
using CRegexpA = CRegexpT<char>;
