#include <gtest/gtest.h>

#include "controls/unicode/TntClasses.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<WideString> Items(const TTntStrings& list) {
    std::vector<WideString> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

using Lines = std::vector<WideString>;

WideString Wide(const std::filesystem::path& p) { return Utf8ToUtf16(p.string()); }

}  // namespace

TEST(TTntStrings, LoadsEveryCharacterSet) {
    const struct {
        const char* name;
        std::string bytes;
        TTntFileCharSet charSet;
        Lines lines;
    } cases[] = {
        {"be", std::string("\xFE\xFF\x00\x41\x00\x42", 6), FileCharSetUnicodeSwapped, {u"AB"}},
        {"le", std::string("\xFF\xFE\x41\x00\x42\x00\x0D\x00\x0A\x00\x3D\xD8\x00\xDE", 14), FileCharSetUnicode,
         {u"AB", u"\U0001F600"}},
        {"odd", std::string("\xFF\xFE\x41\x00\x42", 5), FileCharSetUnicode, {u"A"}},
        {"utf8", "\xEF\xBB\xBF\x41\x42\n\xF0\x9F\x98\x80", FileCharSetUtf8, {u"AB", u"\U0001F600"}},
        {"plain", "AB", FileCharSetAnsi, {u"AB"}},
        {"plainutf8", "gr\xC3\xBC\xC3\x9F", FileCharSetAnsi, {u"gr\u00fc\u00df"}},
        // Not UTF-8: read in the legacy code page instead of coming back empty.
        {"legacy", "gr\xFC\xDF \x80\r\nx", FileCharSetAnsi, {u"gr\u00fc\u00df \u20ac", u"x"}},
        {"one", "A", FileCharSetAnsi, {u"A"}},
        {"empty", "", FileCharSetAnsi, {}},
    };
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        TTntStringList list;
        EXPECT_EQ(list.LastFileCharSet(), FileCharSetUnicode);
        list.LoadFromFile(Wide(dir.WriteFile(c.name, c.bytes)));
        EXPECT_EQ(list.LastFileCharSet(), c.charSet) << c.name;
        EXPECT_EQ(Items(list), c.lines) << c.name;
    }
}

TEST(TTntStrings, DamagedUtf8KeepsItsGoodLines) {
    testsupport::TempDir dir;
    TTntStringList list;
    list.LoadFromFile(Wide(dir.WriteFile("bad", "\xEF\xBB\xBFok\nbad\xC3")));
    EXPECT_EQ(Items(list), (Lines{u"ok", u"bad\uFFFD"}));
}

TEST(TTntStrings, SavesUtf16LittleEndianWithMark) {
    testsupport::TempDir dir;
    TTntStringList list;
    list.LoadFromFile(Wide(dir.WriteFile("in", "\xEF\xBB\xBF\x41\n\xC3\xA9")));
    const auto out = dir / "\xD0\xB2\xD1\x8B\xD1\x85\xD0\xBE\xD0\xB4.txt";
    list.SaveToFile(Wide(out));
    EXPECT_EQ(testsupport::ReadFileBytes(out), std::string("\xFF\xFE\x41\x00\x0D\x00\x0A\x00\xE9\x00\x0D\x00\x0A\x00", 14));
    TTntMemoryStream m;
    list.SaveToStreamEx(m, false);
    EXPECT_EQ(m.Size(), 12);
    m.SetPosition(0);
    TTntStringList back;
    back.LoadFromStreamEx(m, false);
    EXPECT_TRUE(back.Equals(list));
}

TEST(TTntStrings, OpenFailureNamesTheFile) {
    testsupport::TempDir dir;
    TTntStringList list;
    try {
        list.LoadFromFile(Wide(dir.path()) + u"/\u043d\u0435\u0442.txt");
        FAIL();
    } catch (const EWideFOpenError& e) {
        EXPECT_NE(e.Message().find(u"Cannot open file \"" + Wide(dir.path()) + u"/\u043d\u0435\u0442.txt\"."),
                  WideString::npos);
        EXPECT_TRUE(dynamic_cast<const EWideFileStreamError*>(&e));
    }
    EXPECT_THROW(list.SaveToFile(Wide(dir.path()) + u"/no/such"), EWideFCreateError);
}

TEST(TTntStrings, AnsiViewConvertsThroughItsCodePage) {
    TTntStringList list;
    list.Add(u"\u00e9\U0001F600");
    EXPECT_EQ(list.AnsiStrings().Get(0), "\xC3\xA9\xF0\x9F\x98\x80");
    list.AnsiStrings().Add("\xC3\xBC");
    EXPECT_EQ(list[1], u"\u00fc");
    TStringList eight;
    eight.SetCommaText("a,b");
    list.SetAnsiStrings(eight);
    EXPECT_EQ(Items(list), (Lines{u"a", u"b"}));
    TAnsiStringsForWideStringsAdapter western(list, 1252);
    list.Add(u"\u20ac\u03a9");
    EXPECT_EQ(western.Get(2), "\x80?");
    TStringStream s("\xE9t\xE9\r\nx");
    western.LoadFromStreamEx(s, 1252);
    EXPECT_EQ(Items(list), (Lines{u"\u00e9t\u00e9", u"x"}));
    TStringStream out;
    western.SaveToStreamEx(out, 0);
    EXPECT_EQ(out.DataString(), "\xE9t\xE9\r\nx\r\n");
}

TEST(TTntStringList, SortedListsFollowDuplicatesRule) {
    TTntStringList list;
    list.SetSorted(true);
    list.Add(u"b");
    list.Add(u"a");
    EXPECT_EQ(list.Add(u"B"), 1);
    EXPECT_EQ(list.Count(), 2);
    list.SetDuplicates(dupError);
    try {
        list.Add(u"A");
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), u"String list does not allow duplicates");
    }
    list.SetDuplicates(dupAccept);
    list.Add(u"A");
    list.Add(u"a");
    int index = -1;
    EXPECT_TRUE(list.Find(u"a", index));
    EXPECT_EQ(index, 0);  // the first of the equal items
    EXPECT_FALSE(list.Find(u"aa", index));
    EXPECT_EQ(index, 3);
    try {
        list.Insert(0, u"z");
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), u"Operation not allowed on sorted list");
    }
    EXPECT_THROW(list.Put(9, u"z"), EStringListError);
}

TEST(TTntStringList, IndexErrorsReportTheBadIndex) {
    TTntStringList list;
    list.Add(u"x");
    const auto message = [&](auto call) {
        try {
            call();
        } catch (const EStringListError& e) {
            return e.Message();
        }
        return WideString(u"no error");
    };
    EXPECT_EQ(message([&] { list.Get(1); }), u"List index out of bounds (1)");
    EXPECT_EQ(message([&] { list.GetObject(-1); }), u"List index out of bounds (-1)");
    EXPECT_EQ(message([&] { list.Insert(2, u"y"); }), u"List index out of bounds (2)");
    EXPECT_EQ(message([&] { list.Exchange(5, 7); }), u"List index out of bounds (5)");
    EXPECT_EQ(message([&] { list.Delete(1); }), u"List index out of bounds (1)");
    list.Insert(1, u"y");
    EXPECT_EQ(Items(list), (Lines{u"x", u"y"}));
}

TEST(TTntStringList, GrowsByFourSixteenAndAQuarter) {
    TTntStringList list;
    std::vector<int> capacities;
    for (int i = 0; i < 100; ++i) {
        list.Add(u"x");
        if (capacities.empty() || capacities.back() != list.GetCapacity()) capacities.push_back(list.GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
}

TEST(TTntStringList, NamesInSortedAndUnsortedLists) {
    TTntStringList list;
    list.SetText(u"b=2\na=1\nab=3");
    EXPECT_EQ(list.IndexOfName(u"A"), 1);
    EXPECT_EQ(list.Values(u"ab"), u"3");
    list.SetSorted(true);
    EXPECT_EQ(Items(list), (Lines{u"a=1", u"ab=3", u"b=2"}));
    EXPECT_EQ(list.IndexOfName(u"ab"), 1);
    EXPECT_EQ(list.IndexOfName(u"b"), 2);
    EXPECT_EQ(list.IndexOfName(u"c"), -1);
    EXPECT_EQ(list.IndexOf(u"AB=3"), 1);
}

TEST(TTntStringList, NotifiesAroundChangesAndUpdates) {
    TTntStringList list;
    std::vector<char> events;
    list.OnChanging = [&](TObject*) { events.push_back('-'); };
    list.OnChange = [&](TObject*) { events.push_back('+'); };
    list.Add(u"a");
    list.Clear();
    list.Clear();  // nothing to clear: no events
    list.BeginUpdate();
    list.Add(u"b");
    list.Add(u"c");
    list.EndUpdate();
    list.CustomSort([](TTntStringList& l, int a, int b) { return -WideCompareText(l[a], l[b]); });
    EXPECT_EQ(Items(list), (Lines{u"c", u"b"}));
    EXPECT_EQ(std::string(events.begin(), events.end()), "-+-+-+-+");
}

TEST(ShadowStrings, FollowTheEightBitValue) {
    WideString shadow = u"\u0391";
    // The 8-bit value was changed by other code: it wins.
    EXPECT_EQ(GetSyncedWideString(shadow, "plain"), u"plain");
    EXPECT_EQ(shadow, u"plain");

    AnsiString ansi = "plain";
    int sets = 0;
    const auto setter = [&](const AnsiString& v) {
        ++sets;
        ansi = v;
    };
    SetSyncedWideString(u"\U0001F600 x", shadow, ansi, setter);
    EXPECT_EQ(ansi, "\xF0\x9F\x98\x80 x");
    EXPECT_EQ(GetSyncedWideString(shadow, ansi), u"\U0001F600 x");
    SetSyncedWideString(u"\U0001F600 x", shadow, ansi, setter);
    EXPECT_EQ(sets, 1);
}

TEST(ShadowStrings, LossyCodePageSetsEmptyFirst) {
    const UINT saved = DefaultAnsiCodePage;
    DefaultAnsiCodePage = 1252;
    WideString shadow = u"??";
    AnsiString ansi = "??";
    std::vector<AnsiString> seen;
    SetSyncedWideString(u"\u03b1\u03b2", shadow, ansi, [&](const AnsiString& v) {
        seen.push_back(v);
        ansi = v;
    });
    EXPECT_EQ(seen, (std::vector<AnsiString>{"", "??"}));
    EXPECT_EQ(GetSyncedWideString(shadow, ansi), u"\u03b1\u03b2");
    DefaultAnsiCodePage = saved;
}
