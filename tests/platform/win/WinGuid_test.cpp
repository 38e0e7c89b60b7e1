#include <set>

#include <gtest/gtest.h>

#include "platform/win/WinGuid.h"

TEST(WinGuid, CreatesDistinctVersion4Guids) {
    std::set<WideString> seen;
    for (int i = 0; i < 100; ++i) {
        GUID g;
        ASSERT_EQ(CoCreateGuid(&g), S_OK);
        EXPECT_EQ(g.Data3 >> 12, 4);
        EXPECT_EQ(g.Data4[0] & 0xC0, 0x80);
        seen.insert(StringFromCLSID(g));
    }
    EXPECT_EQ(seen.size(), 100u);
    EXPECT_EQ(CoCreateGuid(nullptr), E_INVALIDARG);
}

TEST(WinGuid, TextFormRoundTrips) {
    const GUID g{0x00020D0B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    const WideString text = u"{00020D0B-0000-0000-C000-000000000046}";
    EXPECT_EQ(StringFromCLSID(g), text);
    char16_t buf[39];
    EXPECT_EQ(StringFromGUID2(g, buf, 39), 39);
    EXPECT_EQ(WideString(buf), text);
    EXPECT_EQ(StringFromGUID2(g, buf, 38), 0);

    CLSID parsed;
    ASSERT_EQ(CLSIDFromString(u"{00020d0b-0000-0000-c000-000000000046}", &parsed), S_OK);
    EXPECT_TRUE(IsEqualGUID(parsed, g));
    GUID random;
    ASSERT_EQ(CoCreateGuid(&random), S_OK);
    ASSERT_EQ(CLSIDFromString(StringFromCLSID(random).c_str(), &parsed), S_OK);
    EXPECT_TRUE(IsEqualGUID(parsed, random));
    EXPECT_FALSE(IsEqualGUID(parsed, g));
    ASSERT_TRUE(TryParseGuid(u"00020D0B-0000-0000-C000-000000000046", parsed));
    EXPECT_TRUE(IsEqualGUID(parsed, g));
}

TEST(WinGuid, RejectsMalformedText) {
    const char16_t* bad[] = {
        u"",
        u"{}",
        u"00020D0B-0000-0000-C000-000000000046",    // no braces
        u"{00020D0B-0000-0000-C000-000000000046",   // no closing brace
        u"{00020D0B-0000-0000-C000-0000000000467}", // too long
        u"{00020D0B-0000-0000-C000-00000000004}",   // too short
        u"{00020D0B00000-0000-C000-000000000046}",  // dash missing
        u"{00020D0G-0000-0000-C000-000000000046}",  // not hex
        u"{ 0020D0B-0000-0000-C000-000000000046}",
        u"{+0020D0B-0000-0000-C000-000000000046}",
        u"{00020D0B-0000-0000-C000-00000000004\u0661}",
        u"Word.Document",
    };
    for (const char16_t* text : bad) {
        CLSID c{1, 2, 3, {4}};
        EXPECT_EQ(CLSIDFromString(text, &c), CO_E_CLASSSTRING) << testing::PrintToString(WideString(text));
        EXPECT_TRUE(IsEqualGUID(c, CLSID_NULL));
        IID iid;
        EXPECT_EQ(IIDFromString(text, &iid), E_INVALIDARG);
    }
    CLSID c;
    EXPECT_EQ(CLSIDFromString(nullptr, &c), S_OK);
    EXPECT_TRUE(IsEqualGUID(c, GUID_NULL));
    EXPECT_EQ(CLSIDFromString(u"{00020D0B-0000-0000-C000-000000000046}", nullptr), E_INVALIDARG);
}
