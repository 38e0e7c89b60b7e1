// The Date lines of the shared corpus read without the patterns read as the patterns read them.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win/WinString.h"
#include "tests/message/DatePatterns.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

TEST(DateLineCorpus, DirectReadingsAreThePatternsReadings)
{
    QUILLORA_REQUIRE_CORPUS();
    int dates = 0, direct = 0;
    for (const auto& entry : fs::recursive_directory_iterator(testsupport::CorpusDir())) {
        if (!entry.is_regular_file() || entry.path().extension() != ".eml") continue;
        SCOPED_TRACE(entry.path().string());
        const std::string text = testsupport::ReadFileBytes(entry.path());
        const WideString value = DateHeaderValue(Utf8ToUtf16(text.substr(0, text.find("\n\n"))), true);
        if (value.empty()) continue;
        ++dates;
        std::vector<AnsiString> groups;
        const AnsiString narrow = Utf16ToUtf8(value);
        if (DateGroupsWithoutBacktracking(narrow, groups)) {
            ++direct;
            EXPECT_EQ(groups, PatternGroups(narrow));
        }
        std::u16string_view zone;
        if (DateZoneWithoutBacktracking(value, zone)) {
            EXPECT_EQ(WideString(zone), PatternZone(value));
        }
    }
    EXPECT_GT(direct * 10, dates * 9) << direct << " of " << dates;
}

}  // namespace
