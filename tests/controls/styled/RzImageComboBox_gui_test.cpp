// The image combo box: the item height from the font and the pictures, the indent that the
// closed box leaves out, a caption-less entry without highlight, case-blind IndexOfText, and
// items that go with their entries and with the control.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/styled/RzImageComboBox.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrlsMessages.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

// Measuring and drawing need the widget set.
class RzImageComboBox : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
    }
};

// Counts the items alive.
class TCountedItem : public TRzImageComboBoxItem {
public:
    TCountedItem(TRzCustomImageComboBox* owner, int& alive) : TRzImageComboBoxItem(owner), alive_(alive) { ++alive_; }
    ~TCountedItem() override { --alive_; }

private:
    int& alive_;
};

std::unique_ptr<TImageList> SolidPictures(int size, std::uint32_t argb) {
    auto list = std::make_unique<TImageList>(nullptr);
    list->SetSize(size, size);
    list->AddPixels(std::vector<std::uint32_t>(static_cast<std::size_t>(size * size), argb));
    return list;
}

// Draws entry index of the combo into a 120 x 20 white bitmap with the given item states.
std::unique_ptr<TBitmap> DrawEntry(TRzImageComboBox& combo, int index, UINT state) {
    auto bitmap = std::make_unique<TBitmap>(120, 20);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(TRect(0, 0, 120, 20));
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = static_cast<UINT>(index);
    dis.itemState = state;
    dis.hDC = bitmap->Canvas()->Handle();
    dis.rcItem = RECT{0, 0, 120, 20};
    combo.Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    return bitmap;
}

// The leftmost column holding a pixel of colour c; -1 when none.
int LeftmostOf(TBitmap& b, TColor c) {
    for (int x = 0; x < b.Width(); ++x)
        for (int y = 0; y < b.Height(); ++y)
            if (b.Canvas()->Pixel(x, y) == c) return x;
    return -1;
}

TEST_F(RzImageComboBox, ItemHeightFollowsTheTallerOfFontAndPictures) {
    TRzImageComboBox combo(nullptr);
    combo.Font()->SetSize(8);
    EXPECT_EQ(combo.Style(), csOwnerDrawFixed);
    const auto tall = SolidPictures(20, 0xFFFF0000);
    combo.SetImages(tall.get());
    EXPECT_EQ(combo.ItemHeight(), 20);
    const auto small = SolidPictures(16, 0xFFFF0000);
    combo.SetImages(small.get());
    const int fontHeight = combo.ItemHeight() - 4;
    EXPECT_GT(combo.ItemHeight(), 16) << "the font's height plus 4 wins";
    EXPECT_GE(fontHeight, 10);
    combo.Font()->SetSize(20);
    EXPECT_GT(combo.ItemHeight() - 4, fontHeight) << "a font change adjusts the height";
    combo.SetImages(nullptr);
}

TEST_F(RzImageComboBox, TheClosedBoxLeavesOutTheIndentAndAnEmptyCaptionShowsNoHighlight) {
    TRzImageComboBox combo(nullptr);
    const auto pictures = SolidPictures(16, 0xFFFF0000);
    combo.SetImages(pictures.get());
    combo.AddItem(u"Root", 0, 0);
    combo.AddItem(u"Nested", 0, 2);
    combo.AddItem(u"", 0, 1);
    const TColor red = 0x0000FF;
    auto list = DrawEntry(combo, 1, 0);
    EXPECT_EQ(LeftmostOf(*list, red), 2 + 2 * 12);
    auto closed = DrawEntry(combo, 1, ODS_COMBOBOXEDIT);
    EXPECT_EQ(LeftmostOf(*closed, red), 2);
    // Selected: only the caption's box is highlighted.
    const TColor highlight = ColorToRGB(clHighlight);
    auto selected = DrawEntry(combo, 1, ODS_SELECTED);
    EXPECT_EQ(LeftmostOf(*selected, highlight), 2 * 12 + 16 + 4 + 1);
    EXPECT_NE(selected->Canvas()->Pixel(119, 10), highlight);
    auto empty = DrawEntry(combo, 2, ODS_SELECTED);
    EXPECT_EQ(LeftmostOf(*empty, highlight), -1);
    EXPECT_EQ(LeftmostOf(*empty, red), 2 + 12);
}

TEST_F(RzImageComboBox, IndexOfTextIgnoresCase) {
    TRzImageComboBox combo(nullptr);
    combo.AddItem(u"Root folder", 0, 0);
    combo.AddItem(u"Ärger", 0, 1);
    combo.Items()->Add("no item");
    const struct {
        const char16_t* text;
        int index;
    } cases[] = {{u"root FOLDER", 0}, {u"ärger", 1}, {u"Root", -1}, {u"", 2}, {u"no item", -1}};
    for (const auto& c : cases) EXPECT_EQ(combo.IndexOfText(c.text), c.index) << Utf16ToUtf8(c.text);
}

TEST_F(RzImageComboBox, ItemsGoWithTheirEntriesAndWithTheControl) {
    int alive = 0;
    std::vector<TRzImageComboBoxItem*> deleted;
    {
        TRzImageComboBox combo(nullptr);
        combo.OnDeleteItem = [&](TObject*, TRzImageComboBoxItem* item) { deleted.push_back(item); };
        for (const char16_t* name : {u"a", u"b", u"c"}) combo.AddItemObject(name, std::make_unique<TCountedItem>(&combo, alive));
        ASSERT_EQ(alive, 3);
        TRzImageComboBoxItem* first = combo.GetImageItem(0);
        combo.Items()->Delete(0);
        EXPECT_EQ(deleted, std::vector<TRzImageComboBoxItem*>{first});
        EXPECT_EQ(alive, 2);
        // Refilling, as a dialog does on every activation, leaves nothing behind.
        combo.Items()->Clear();
        EXPECT_EQ(alive, 0);
        combo.AddItemObject(u"d", std::make_unique<TCountedItem>(&combo, alive));
        combo.AddItem(u"e", 0, 0);
        EXPECT_EQ(combo.GetImageItem(1)->Caption(), u"e");
        EXPECT_EQ(combo.GetImageItem(1)->Index, 1);
    }
    EXPECT_EQ(alive, 0);
}

}  // namespace
