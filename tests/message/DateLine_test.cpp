#include "message/DateLine.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "regex/RegexpT.h"

namespace {

std::vector<AnsiString> PatternGroups(const std::string& text)
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

// Whenever the direct reading answers, it answers as the pattern does; what it cannot read
// without backtracking it leaves to the pattern.
TEST(DateLine, GroupsWithoutBacktrackingAreThePatternsGroups)
{
    const struct {
        std::string value;
        bool direct;
    } cases[] = {
        {" Tue, 15 Nov 2022 08:12:31 +0000", true},
        {"15 Nov 2022 08:12:31 -0500 (EST)", true},
        {"\t  Tue,15 Nov 94 8:2:3", true},
        {"tue, 1 jan 06 00:30:00 GMT", true},
        {"Tue 15 Nov 2022 08:12:31", true},  // no comma: the weekday is skipped on the way
        {"2022-11-15T08:12:31Z", true},
        {"Mon, 15-Nov-2022 08_12:31:07", true},
        {"Di, 15 M\xC3\xA4r 2022 08:12:31", true},
        {"Date_x, 15 Nov 2022 08:12:31", true},
        {"15 Nov2022 08:12:31", false},  // the month word swallows the year: backtracking decides
        {"15 Nov 2022 08:12", false},
        {"someday", false},
        {"", false},
        {"15 Nov\n2022 08:12:31", false},  // a line break is no "."
        {"Mon, 0ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ 11 CAsser 1 2 3", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        std::vector<AnsiString> direct;
        EXPECT_EQ(DateGroupsWithoutBacktracking(c.value, direct), c.direct);
        if (c.direct) {
            EXPECT_EQ(direct, PatternGroups(c.value));
        }
    }
}

}  // namespace
