// What the date and zone patterns themselves find in a Date value: the reference for the
// readings that do without them.
#pragma once

#include <iterator>
#include <string>
#include <vector>

#include "message/DateLine.h"
#include "regex/RegexpT.h"

namespace {

inline std::vector<AnsiString> PatternGroups(const std::string& text)
{
    CRegexpT<char> re(kDateFieldsPattern, static_cast<int>(std::size(kDateFieldsPattern) - 1), 0);
    re.SetStepBudget(kDatePatternStepBudget);
    const MatchResult m = re.Match(text.c_str(), static_cast<int>(text.size()), -1);
    std::vector<AnsiString> groups;
    for (int g = 1; m.Found() && g <= 7; ++g)
        groups.push_back(m.GroupBegin(g) < 0 ? AnsiString()
                                             : text.substr(static_cast<size_t>(m.GroupBegin(g)),
                                                           static_cast<size_t>(m.GroupEnd(g) - m.GroupBegin(g))));
    return groups;
}

inline WideString PatternZone(const WideString& value)
{
    CRegexpT<char16_t> re(kDateZonePattern, static_cast<int>(std::size(kDateZonePattern) - 1), CaseInsensitive);
    re.SetStepBudget(kDatePatternStepBudget);
    const MatchResult m = re.Match(value.c_str(), static_cast<int>(value.size()), -1);
    if (!m.Found()) return u"(none)";
    const int group = m.GroupBegin(1) >= 0 ? 1 : 2;
    if (m.GroupBegin(group) < 0) return u"(none)";
    return value.substr(static_cast<size_t>(m.GroupBegin(group)), static_cast<size_t>(m.GroupEnd(group) - m.GroupBegin(group)));
}

}  // namespace
