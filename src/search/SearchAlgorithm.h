// How a search criterion compares a message's text with what the user typed: whole texts or a
// substring, with or without regard to letter case.
#pragma once

#include "platform/win/WinTypes.h"

class ISearchAlgorithm {
public:
    virtual ~ISearchAlgorithm() = default;
    virtual bool Match(const WideString& text, const WideString& pattern);
};

class SmartSearchAlgorithm : public ISearchAlgorithm {
public:
    SmartSearchAlgorithm(bool caseSensitive, bool exactMatch) : caseSensitive(caseSensitive), exactMatch(exactMatch) {}
    // Without case both sides are upper-cased one code point at a time (lengths kept). Exact:
    // equal texts. Otherwise the pattern anywhere in the text; an empty pattern is never found.
    bool Match(const WideString& text, const WideString& pattern) override;

    const bool caseSensitive;
    const bool exactMatch;
};
