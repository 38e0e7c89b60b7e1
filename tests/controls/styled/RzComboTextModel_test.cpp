// The combo text model: incremental search against a fake clock, Backspace, completion with and
// without the typed case, refused characters without AllowEdit, the wheel at the ends, the
// drop-down width and the Values fallback.
#include <gtest/gtest.h>

#include "controls/styled/RzComboTextModel.h"
#include "platform/vcl/ShortCuts.h"

namespace {

TRzComboTextModel Zones() {
    TRzComboTextModel m;
    m.Items = {u"Amsterdam", u"Athens", u"Atlanta", u"Berlin", u"Москва", u"Москва-Сити"};
    return m;
}

TEST(RzComboTextModel, SearchWithinTheDelayExtendsAfterAPauseRestarts) {
    TRzComboTextModel m = Zones();
    std::int64_t now = 10'000;
    EXPECT_TRUE(m.ListChar(u'a', now).changed);
    EXPECT_EQ(m.ItemIndex, 0);
    EXPECT_TRUE(m.ListChar(u't', now += 1000).changed);
    EXPECT_EQ(m.ItemIndex, 1);
    EXPECT_EQ(m.SearchText, u"at");
    EXPECT_TRUE(m.ListChar(u'l', now += 1499).changed);
    EXPECT_EQ(m.ItemIndex, 2);
    // After the delay, "b" alone.
    EXPECT_TRUE(m.ListChar(u'b', now += 1500).changed);
    EXPECT_EQ(m.ItemIndex, 3);
    EXPECT_EQ(m.SearchText, u"b");
    // No match: a beep and nothing else.
    const auto fx = m.ListChar(u'x', now += 10);
    EXPECT_TRUE(fx.beep);
    EXPECT_FALSE(fx.changed);
    EXPECT_EQ(m.ItemIndex, 3);
    EXPECT_EQ(m.SearchText, u"b");
    // Non-Latin characters search too.
    EXPECT_TRUE(m.ListChar(U'м', now += 2000).changed);
    EXPECT_EQ(m.ItemIndex, 4);
    // Navigation ends the search.
    m.ListKeyDown(VK_DOWN);
    EXPECT_TRUE(m.SearchText.empty());
}

TEST(RzComboTextModel, BackspaceInTheList) {
    TRzComboTextModel m = Zones();
    m.ListChar(u'a', 0);
    m.ListChar(u't', 1);
    m.ListChar(u'l', 2);
    EXPECT_EQ(m.ItemIndex, 2);
    m.ListChar(u'\b', 3);
    EXPECT_EQ(m.SearchText, u"at");
    EXPECT_EQ(m.ItemIndex, 1);
    m.ListChar(u'\b', 4);
    m.ListChar(u'\b', 5);  // the last character: the first item, search cleared
    EXPECT_EQ(m.ItemIndex, 0);
    EXPECT_TRUE(m.SearchText.empty());
    EXPECT_TRUE(m.ListChar(u'\b', 6).beep);
}

TEST(RzComboTextModel, CompletionSelectsTheSuffixAndKeepsTheTypedCaseWhenAsked) {
    TRzComboTextModel m = Zones();
    m.KeepSearchCase = true;
    for (char16_t c : std::u16string(u"ATH")) EXPECT_TRUE(m.EditChar(c).swallowed);
    EXPECT_EQ(m.Text, u"ATHens");
    EXPECT_EQ(m.SelStart, 3);
    EXPECT_EQ(m.SelLength, 3);
    EXPECT_EQ(m.ItemIndex, 1);
    m.KeepSearchCase = false;
    EXPECT_TRUE(m.EditBackspace().changed);  // the selection goes, "AT" completes again
    EXPECT_EQ(m.Text, u"Athens");
    EXPECT_EQ(m.SearchText, u"AT");
    // A surrogate pair is one character.
    m.Items.push_back(u"\U0001F600 smile");
    m.Text.clear();
    m.SelStart = m.SelLength = 0;
    m.SearchText.clear();
    m.EditChar(U'\U0001F600');
    EXPECT_EQ(m.Text, u"\U0001F600 smile");
    EXPECT_EQ(m.SelStart, 2);
    m.EditBackspace();
    EXPECT_TRUE(m.Text.empty());
    EXPECT_EQ(m.ItemIndex, -1);
}

TEST(RzComboTextModel, WithoutAllowEditUnknownCharactersAreRefused) {
    TRzComboTextModel m = Zones();
    m.AllowEdit = false;
    m.EditChar(u'b');
    EXPECT_EQ(m.Text, u"Berlin");
    const auto fx = m.EditChar(u'q');
    EXPECT_TRUE(fx.beep);
    EXPECT_EQ(m.Text, u"Berlin");
    EXPECT_EQ(m.SearchText, u"b");
    // Delete only with everything selected.
    m.SelStart = 2;
    m.SelLength = 1;
    EXPECT_TRUE(m.EditDelete().swallowed);
    EXPECT_EQ(m.Text, u"Berlin");
    m.SelStart = 0;
    m.SelLength = 6;
    EXPECT_TRUE(m.EditDelete().changed);
    EXPECT_TRUE(m.Text.empty());
    // With AllowEdit an unknown text is simply typed.
    m.AllowEdit = true;
    m.EditChar(u'q');
    EXPECT_EQ(m.Text, u"q");
    EXPECT_EQ(m.ItemIndex, -1);
}

TEST(RzComboTextModel, WheelAtTheEndsChangesNothing) {
    TRzComboTextModel m = Zones();
    m.ItemIndex = 5;
    EXPECT_FALSE(m.Wheel(true).changed);
    EXPECT_EQ(m.ItemIndex, 5);
    EXPECT_TRUE(m.Wheel(false).changed);
    EXPECT_EQ(m.ItemIndex, 4);
    m.ItemIndex = 0;
    EXPECT_FALSE(m.Wheel(false).changed);
    m.ItemIndex = -1;
    EXPECT_FALSE(m.Wheel(false).changed);
    EXPECT_EQ(m.ItemIndex, 0) << "quietly to the first item";
}

TEST(RzComboTextModel, DropDownWidthAndValues) {
    EXPECT_EQ(ComboDropDownWidth({40, 60}, 0, 120, 8, 16), 120);
    EXPECT_EQ(ComboDropDownWidth({40, 160}, 0, 120, 8, 16), 168);
    EXPECT_EQ(ComboDropDownWidth({40, 160, 10}, 0, 120, 2, 16), 184);
    EXPECT_EQ(ComboDropDownWidth({40, 160}, 90, 120, 8, 16), 90);
    const std::vector<WideString> items = {u"One", u"Two", u"Three"};
    const std::vector<WideString> values = {u"1", u""};
    EXPECT_EQ(ComboItemValue(items, values, 0), u"1");
    EXPECT_EQ(ComboItemValue(items, values, 1), u"Two");
    EXPECT_EQ(ComboItemValue(items, values, 2), u"Three");
    EXPECT_EQ(ComboItemValue(items, values, 3), u"");
}

}  // namespace
