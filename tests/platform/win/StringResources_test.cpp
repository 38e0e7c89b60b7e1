#include <gtest/gtest.h>

#include "platform/win/StringResources.h"
#include "platform/win/WinError.h"

namespace {

// Registered during static initialisation, as subsystems do.
const bool registered = RegisterStringTable({
    {61000, u"Cannot open the file."},
    {61001, u"Caf\u00E9 \U0001F600"},
});
const StringTableRegistrar registrar{{61002, u"From a registrar"}};

}  // namespace

TEST(StringResources, FindsTextsRegisteredAtStartUp) {
    EXPECT_TRUE(registered);
    EXPECT_EQ(LoadResString(61000), u"Cannot open the file.");
    EXPECT_EQ(LoadResString(61001), u"Caf\u00E9 \U0001F600");
    EXPECT_EQ(LoadResString(61002), u"From a registrar");
    EXPECT_EQ(LoadResString(61999), u"");
}

TEST(StringResources, LoadStringWCopiesTruncatesAndLends) {
    char16_t buf[8192];
    EXPECT_EQ(LoadStringW(nullptr, 61000, buf, 8192), 21);
    EXPECT_EQ(WideString(buf), u"Cannot open the file.");
    EXPECT_EQ(LoadStringW(nullptr, 61000, buf, 7), 6);
    EXPECT_EQ(WideString(buf), u"Cannot");
    EXPECT_EQ(LoadStringW(nullptr, 61000, buf, 1), 0);
    EXPECT_EQ(buf[0], u'\0');

    const char16_t* direct = nullptr;
    EXPECT_EQ(LoadStringW(nullptr, 61001, reinterpret_cast<char16_t*>(&direct), 0), 7);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(WideString(direct, 7), u"Caf\u00E9 \U0001F600");

    SetLastError(0);
    EXPECT_EQ(LoadStringW(nullptr, 61999, buf, 8192), 0);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(buf[0], u'\0');
}

TEST(StringResources, ReportsAnIdRegisteredTwiceWithDifferentTexts) {
    EXPECT_TRUE(RegisterStringTable({{61100, u"one"}}));
    EXPECT_TRUE(RegisterStringTable({{61100, u"one"}}));   // the same text again is harmless
    EXPECT_FALSE(RegisterStringTable({{61100, u"two"}}));
    EXPECT_EQ(LoadResString(61100), u"two");
}
