// Painting of the styled tabs and the progress status, probed pixel by pixel offscreen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/styled/RzPageControl.h"
#include "controls/styled/RzStatus.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class RzPaintGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        form = new TForm(Application);
        form->SetBounds(0, 0, 400, 200);
    }
    void TearDown() override { delete form; }
    // The control drawn into a bitmap of its size.
    std::unique_ptr<TBitmap> Draw(TRzCustomTabControl& c) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSize(c.Width(), c.Height());
        c.PaintTo(*bitmap->Canvas());
        return bitmap;
    }
    static COLORREF At(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixel(x, y)); }
    static std::string Picture(TBitmap& b, int x0, int y0, int x1, int y1, COLORREF bg) {
        std::string s;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) s += At(b, x, y) == bg ? '.' : '#';
            s += '\n';
        }
        return s;
    }
    TForm* form = nullptr;
};

TEST_F(RzPaintGuiTest, WithoutTabsOnlyBackgroundAndTheFramedCard) {
    auto* tabs = new TRzCustomTabControl(form);
    tabs->SetParent(form);
    tabs->SetBounds(0, 0, 120, 60);
    tabs->SetColor(clWhite);
    tabs->UpdateLayout();
    auto b = Draw(*tabs);
    const COLORREF flat = ColorToRGB(tabs->FlatColorAdjusted());
    const COLORREF face = ColorToRGB(clWhite);
    // The frame: left and top edges, and the right and bottom moved in for the shadow.
    for (const TPoint p : {TPoint(0, 30), TPoint(60, 0), TPoint(117, 30), TPoint(60, 57)}) EXPECT_EQ(At(*b, p.x, p.y), flat);
    EXPECT_EQ(At(*b, 60, 30), face);
    // The shadow blends black into the background outside the frame.
    const COLORREF shadow = At(*b, 118, 30);
    EXPECT_NE(shadow, flat);
    EXPECT_NE(shadow, ColorToRGB(tabs->BackgroundColor()));
    EXPECT_LT(GetRValue(shadow), GetRValue(ColorToRGB(tabs->BackgroundColor())));
}

TEST_F(RzPaintGuiTest, HandledTabBackgroundKeepsTheOutline) {
    auto* tabs = new TRzCustomTabControl(form);
    tabs->SetParent(form);
    tabs->SetBounds(0, 0, 200, 80);
    tabs->SetTabStyle(tsDoubleSlant);
    tabs->SetBackgroundColor(clRed);
    tabs->Tabs().Add()->Caption = u"One";
    tabs->Tabs().Add()->Caption = u"Two";
    tabs->UpdateLayout();
    const TRect two = tabs->TabBounds(1);
    // Inside the inactive tab, left of its text: the gradient fill.
    const TPoint inside(two.left + two.Height() + 2, two.top + 3);
    auto filled = Draw(*tabs);
    EXPECT_NE(At(*filled, inside.x, inside.y), ColorToRGB(clRed));
    tabs->OnPaintTabBackground = [](TObject*, TCanvas*, int index, const TRect&, bool& handled) { handled = index == 1; };
    auto bare = Draw(*tabs);
    EXPECT_EQ(At(*bare, inside.x, inside.y), ColorToRGB(clRed));
    // The outline's top edge stays.
    EXPECT_EQ(At(*bare, (two.left + two.right) / 2, two.top), ColorToRGB(tabs->FlatColorAdjusted()));
}

TEST_F(RzPaintGuiTest, BoldCurrentTabKeepsEveryTabsSize) {
    auto* tabs = new TRzCustomTabControl(form);
    tabs->SetParent(form);
    tabs->SetBounds(0, 0, 300, 80);
    tabs->SetBoldCurrentTab(true);
    for (const char16_t* c : {u"Message", u"Header", u"Properties"}) tabs->Tabs().Add()->Caption = c;
    tabs->UpdateLayout();
    std::vector<TRect> before;
    for (int i = 0; i < 3; ++i) before.push_back(tabs->TabBounds(i));
    tabs->SetTabIndex(2);
    tabs->UpdateLayout();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(tabs->TabBounds(i), before[static_cast<std::size_t>(i)]) << i;
}

TEST_F(RzPaintGuiTest, LedProgressFillsItsShareAndNeverMore) {
    auto* progress = new TRzProgressStatus(form);
    progress->SetParent(form);
    progress->SetBounds(0, 0, 200, 24);
    progress->SetBarStyle(bsLED);
    progress->SetBarColor(clBlue);
    progress->SetBackColor(clWhite);
    progress->SetTotalParts(2);
    progress->StepIt();
    TBitmap bitmap;
    bitmap.SetSize(200, 24);
    auto paint = [&] {
        bitmap.Canvas()->Brush()->SetColor(clWhite);
        bitmap.Canvas()->FillRect(TRect(0, 0, 200, 24));
        progress->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
    };
    paint();
    int blue = 0;
    for (int x = 0; x < 200; ++x) blue += At(bitmap, x, 12) == ColorToRGB(clBlue);
    EXPECT_GT(blue, 60);
    EXPECT_LT(blue, 100);
    EXPECT_EQ(At(bitmap, 190, 12), ColorToRGB(clWhite));
    progress->SetPercent(250);
    paint();
    // Stored as given, drawn as full: nothing beyond the inner rectangle.
    EXPECT_EQ(At(bitmap, 199, 12), ColorToRGB(clWhite));
    EXPECT_EQ(At(bitmap, 190, 12), ColorToRGB(clBlue));
}

}  // namespace
