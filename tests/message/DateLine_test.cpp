#include "message/DateLine.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "platform/win/WinString.h"
#include "tests/message/DatePatterns.h"

namespace {

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

TEST(DateLine, ZoneWithoutBacktrackingIsThePatternsZone)
{
    const struct {
        std::u16string value;
        bool direct;
    } cases[] = {
        {u" Tue, 15 Nov 1994 08:12:31 -0500", true},
        {u"Tue, 15 Nov 1994 08:12:31 +0530 (IST)", true},
        {u" 15 Nov 1994 08:12:31 GMT", true},
        {u" 15 Nov 1994 08:12:31 (PST)", true},
        {u" 15 Nov 1994 08:12:31\t+0100", true},
        {u" 15 Nov 1994 08:12:31 +", false},  // a sign without digits and no word: backtracking decides
        {u" 15 Nov 1994 08:12:31 - 0500", true},
        {u" 15 Nov 1994 8h12:31:07 +0000", true},  // "8h" ends in a letter: the next run counts
        {u" 15Nov 1994 08:12:31 z", true},
        {u"2022-11-15T08:12:31Z +0000", false},  // "15T" and "31Z" are no ends: backtracking decides
        {u"Mon, 15 Nov 1994 08:12:31 +0000 (UTC)", true},
        {u" 15 Nov 1994 08:12:31", false},
        {u" 15 Nov 1994 08:12", false},
        {u" someday", false},
        {u" 15 Nov\n1994 08:12:31 +0000", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.value));
        std::u16string_view token;
        const bool direct = DateZoneWithoutBacktracking(c.value, token);
        EXPECT_EQ(direct, c.direct);
        if (direct) {
            EXPECT_EQ(WideString(token), PatternZone(c.value));
        }
    }
}

}  // namespace
