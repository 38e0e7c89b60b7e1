#include <gtest/gtest.h>

#include "platform/vcl/Strings.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<AnsiString> Items(const TStrings& list) {
    std::vector<AnsiString> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

using Lines = std::vector<AnsiString>;

}  // namespace

TEST(TStrings, TextSplitsAtEveryLineBreakAndJoinsWithCrLf) {
    TStringList list;
    list.SetText("a\r\nb\rc\nd\n\re");
    EXPECT_EQ(Items(list), (Lines{"a", "b", "c", "d", "", "e"}));
    list.SetText("x\r\n");
    EXPECT_EQ(Items(list), (Lines{"x"}));
    EXPECT_EQ(list.Text(), "x\r\n");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(TStrings, CommaTextQuotesAndParses) {
    const struct {
        const char* text;
        Lines items;
    } cases[] = {
        {"a,b,c", {"a", "b", "c"}},
        {"\"a b\",c", {"a b", "c"}},
        {"a b", {"a", "b"}},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"a,", {"a", ""}},
        {"  a , b  ", {"a", "b"}},
        {"\xC3\xA9t\xC3\xA9,x", {"\xC3\xA9t\xC3\xA9", "x"}},
    };
    for (const auto& c : cases) {
        TStringList list;
        list.SetCommaText(c.text);
        EXPECT_EQ(Items(list), c.items) << c.text;
    }
    TStringList list;
    list.Add("a b");
    list.Add("say \"hi\"");
    list.Add("\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(list.CommaText(), "\"a b\",\"say \"\"hi\"\"\",\xC3\xA9t\xC3\xA9");
    TStringList round;
    round.SetCommaText(list.CommaText());
    EXPECT_TRUE(round.Equals(list));
}

TEST(TStrings, StrictDelimiterKeepsBlanks) {
    TStringList list;
    list.Delimiter = ';';
    list.StrictDelimiter = true;
    list.SetDelimitedText("a b;c");
    EXPECT_EQ(Items(list), (Lines{"a b", "c"}));
    EXPECT_EQ(list.DelimitedText(), "a b;c");
}

TEST(TStrings, NamesAndValues) {
    TStringList list;
    list.SetText("Path=/tmp\nMode=1\nplain");
    EXPECT_EQ(list.Names(0), "Path");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.Values("mode"), "1");
    list.SetValue("Mode", "2");
    list.SetValue("New", "x");
    list.SetValue("Path", "");
    EXPECT_EQ(Items(list), (Lines{"Mode=2", "plain", "New=x"}));
    EXPECT_EQ(list.ValueFromIndex(0), "2");
}

TEST(TStringList, SortedListsFollowDuplicatesRule) {
    TStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add("b"), 0);
    EXPECT_EQ(list.Add("a"), 0);
    EXPECT_EQ(list.Add("B"), 1);  // equal without case: ignored, index of the existing one
    EXPECT_EQ(list.Count(), 2);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("A"), EStringListError);
    list.SetDuplicates(dupAccept);
    list.Add("A");
    int index = -1;
    EXPECT_TRUE(list.Find("a", index));
    EXPECT_EQ(index, 0);
    EXPECT_THROW(list.Insert(0, "z"), EStringListError);
    EXPECT_THROW(list.Put(0, "z"), EStringListError);
    list.SetCaseSensitive(true);
    list.SetDuplicates(dupIgnore);
    list.Add("B");
    EXPECT_EQ(list.Count(), 4);
}

TEST(TStringList, IndexErrorsAndObjects) {
    TStringList list;
    TObject object;
    list.AddObject("x", &object);
    EXPECT_EQ(list.GetObject(0), &object);
    EXPECT_EQ(list.IndexOfObject(&object), 0);
    try {
        list.Get(1);
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), u"List index out of bounds (1)");
    }
    EXPECT_THROW(list.Insert(2, "y"), EStringListError);
    EXPECT_THROW(list.Delete(-1), EStringListError);
    list.Insert(1, "y");
    list.Exchange(0, 1);
    EXPECT_EQ(Items(list), (Lines{"y", "x"}));
    EXPECT_EQ(list.GetObject(1), &object);
}

TEST(TStringList, NotifiesOncePerUpdate) {
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging = [&](TObject*) { ++changing; };
    list.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        ++changed;
    };
    list.Add("a");
    EXPECT_EQ(changed, 1);
    list.SetText("a\nb\nc");
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    list.BeginUpdate();
    list.Add("d");
    list.Delete(0);
    EXPECT_EQ(changed, 2);
    list.EndUpdate();
    EXPECT_EQ(changed, 3);
}

TEST(TStringList, SortOrdersWithoutCase) {
    TStringList list;
    list.SetCommaText("pear,Apple,banana,apple2");
    list.Sort();
    EXPECT_EQ(Items(list), (Lines{"Apple", "apple2", "banana", "pear"}));
    list.SetSorted(true);
    EXPECT_EQ(list.IndexOf("BANANA"), 2);
}

TEST(TStrings, AssignCopiesBetweenWideAndEightBitLists) {
    struct WideList : TWideStrings {
        std::vector<WideString> items;
        WideString Get(int i) const override { return items.at(static_cast<std::size_t>(i)); }
        int GetCount() const override { return static_cast<int>(items.size()); }
        void Clear() override { items.clear(); }
        void Delete(int i) override { items.erase(items.begin() + i); }
        void Insert(int i, const WideString& s) override { items.insert(items.begin() + i, s); }
    } wide;
    wide.items = {u"\u00e9", u"\U0001F600"};
    TStringList list;
    list.Assign(&wide);
    EXPECT_EQ(Items(list), (Lines{"\xC3\xA9", "\xF0\x9F\x98\x80"}));
    list.Add("x");
    wide.Assign(&list);
    EXPECT_EQ(wide.items, (std::vector<WideString>{u"\u00e9", u"\U0001F600", u"x"}));
}

TEST(TStrings, FilesAreUtf8AndLegacyBytesAreKept) {
    testsupport::TempDir dir;
    TStringList list;
    list.LoadFromFile((dir.WriteFile("bom.txt", "\xEF\xBB\xBFz\xC3\xBC\r\nb")).string());
    EXPECT_EQ(Items(list), (Lines{"z\xC3\xBC", "b"}));
    list.LoadFromFile((dir.WriteFile("latin.txt", "z\xFC\nb")).string());
    EXPECT_EQ(Items(list), (Lines{"z\xC3\xBC", "b"}));
    const auto out = dir / "out.txt";
    list.SaveToFile(out.string());
    EXPECT_EQ(testsupport::ReadFileBytes(out), "z\xC3\xBC\r\nb\r\n");
    EXPECT_THROW(list.LoadFromFile((dir / "missing.txt").string()), EFOpenError);
}
