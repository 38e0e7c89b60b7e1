// Entry ids and the property-value readers.
#include <gtest/gtest.h>

#include "mapi/MapiSession.h"

namespace {

TEST(Entryid, EmptinessCopiesAndComparison) {
    const BYTE a[] = {0, 0, 0, 0, 1, 2, 3, 4};
    const BYTE aOtherFlags[] = {1, 0, 0, 0, 1, 2, 3, 4};
    const BYTE b[] = {0, 0, 0, 0, 1, 2, 3, 5};
    mapi_TEntryid x, y, z, empty, countOnly;
    x.set(sizeof a, a);
    y.set(sizeof aOtherFlags, aOtherFlags);
    z.set(sizeof b, b);
    countOnly.set(8, nullptr);
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(countOnly.empty());
    EXPECT_EQ(countOnly.cb, 8u);
    EXPECT_TRUE(x.equals(nullptr, y));  // flag bytes do not name the object
    EXPECT_FALSE(x.equals(nullptr, z));
    EXPECT_FALSE(x.equals(nullptr, empty));
    EXPECT_FALSE(empty.equals(nullptr, empty));
    EXPECT_FALSE(countOnly.equals(nullptr, countOnly));

    mapi_TEntryid copy(x);
    x.clear();
    EXPECT_TRUE(copy.equals(nullptr, y));  // deep copy
    copy = copy;
    EXPECT_FALSE(copy.empty());
    copy = SPropValue::Error(PR_ENTRYID, MAPI_E_NOT_FOUND);
    EXPECT_TRUE(copy.empty());
    copy = SPropValue::Binary(PR_ENTRYID, b, sizeof b);
    EXPECT_TRUE(copy.equals(nullptr, z));
    copy = SPropValue::Long(PR_OBJECT_TYPE, 3);
    EXPECT_TRUE(copy.empty());
}

TEST(PropValues, ReadersAnswerOnlyTheirTypes) {
    SPropValue nullText;
    nullText.ulPropTag = PR_SUBJECT_A;
    nullText.Value.lpszA = nullptr;
    SPropValue nullWide;
    nullWide.ulPropTag = PR_SUBJECT_W;
    nullWide.Value.lpszW = nullptr;
    const SPropValue a = SPropValue::String8(PR_SUBJECT_A, "abc");
    const SPropValue w = SPropValue::Unicode(PR_SUBJECT_W, u"\x00e9t\x00e9");
    const SPropValue n = SPropValue::Long(PR_MESSAGE_FLAGS, 1);
    EXPECT_EQ(MapiSession::GetPropValA(nullptr), "");
    EXPECT_EQ(MapiSession::GetPropValA(&nullText), "");
    EXPECT_EQ(MapiSession::GetPropValW(&nullWide), u"");
    EXPECT_EQ(MapiSession::GetPropValAsString(&nullText, 1252), u"");
    EXPECT_EQ(MapiSession::GetPropValA(&a), "abc");
    EXPECT_EQ(MapiSession::GetPropValA(&w), "");
    EXPECT_EQ(MapiSession::GetPropValW(&w), u"\x00e9t\x00e9");
    EXPECT_EQ(MapiSession::GetPropValAsString(&w, 932), u"\x00e9t\x00e9");
    EXPECT_EQ(MapiSession::GetPropValAsString(&n, 1252), u"");
    EXPECT_EQ(MapiSession::GetPropValAsString(nullptr, 0), u"");
}

TEST(PropValues, EightBitTextByCodePage) {
    struct Case {
        ULONG codePage;
        const char* bytes;
        std::u16string text;
    } cases[] = {
        {1252, "plain", u"plain"},
        {1252, "caf\xe9 \x80", u"caf\x00e9 \x20AC"},
        {1251, "\xcf\xf0\xe8\xe2\xe5\xf2", u"\x041F\x0440\x0438\x0432\x0435\x0442"},
        {932, "\x93\xfa\x96\x7b", u"\x65E5\x672C"},  // exact length, no padding
        {65001, "\xc3\xa9t\xc3\xa9", u"\x00e9t\x00e9"},
        {0, "plain", u"plain"},
        {0, "caf\xe9", u"caf\x00e9"},  // no code page: the store's ANSI one, not the OEM one
    };
    for (const Case& c : cases) {
        const SPropValue v = SPropValue::String8(PR_SUBJECT_A, c.bytes);
        EXPECT_EQ(MapiSession::GetPropValAsString(&v, c.codePage), c.text) << c.codePage << " " << c.bytes;
    }
    const SPropValue cyr = SPropValue::String8(PR_SUBJECT_A, "\xcf\xf0\xe8\xe2\xe5\xf2");
    EXPECT_EQ(MapiSession::GetPropValAsString(&cyr, 0, 1251), u"\x041F\x0440\x0438\x0432\x0435\x0442");
}

}  // namespace
