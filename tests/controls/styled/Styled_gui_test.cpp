// The styled controls painting over the Qt drawing interface: pixel probes of the caption
// painter, the latched pattern and the faces, and a form holding one of each (saved as a PNG
// when QUILLORA_SCREENSHOT names a file).
#include <gtest/gtest.h>

#include <cstdlib>

#include <QImage>
#include <QWidget>

#include "controls/styled/RzButton.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsImages.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class StyledGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(10, 10, 420, 300);
    }
    template <class C>
    C* Make(int left, int top, TWinControl* parent = nullptr) {
        auto* c = new C(form_.get());
        c->SetParent(parent ? parent : form_.get());
        c->SetLeft(left);
        c->SetTop(top);
        return c;
    }
    std::unique_ptr<TForm> form_;
};

// Draws the caption painter on a bitmap to probe where and in which colour it puts the text.
class ProbeButton : public TRzButton {
public:
    using TRzButton::TRzButton;
    std::unique_ptr<TBitmap> Draw(UINT flags) {
        auto bitmap = std::make_unique<TBitmap>(80, 30);
        bitmap->Canvas()->Brush()->SetColor(clWhite);
        bitmap->Canvas()->FillRect(TRect(0, 0, 80, 30));
        DrawCaption(*bitmap->Canvas(), TRect(0, 0, 80, 30), flags);
        return bitmap;
    }
};

// The rightmost column holding a pixel that is not white, and its colour.
std::pair<int, TColor> RightmostInk(TBitmap& b) {
    for (int x = b.Width() - 1; x >= 0; --x)
        for (int y = 0; y < b.Height(); ++y)
            if (const TColor c = b.Canvas()->Pixel(x, y); c != 0xFFFFFF) return {x, c};
    return {-1, clNone};
}

// The darkest pixel: text is smoothed, so its edges blend with the background.
TColor DarkestInk(TBitmap& b) {
    TColor best = 0xFFFFFF;
    int bestSum = 3 * 255;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = b.Canvas()->Pixel(x, y);
            const int sum = static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
            if (sum < bestSum) best = c, bestSum = sum;
        }
    return best;
}

TEST_F(StyledGuiTest, CaptionPainterOffsetsAndColours) {
    auto* b = Make<ProbeButton>(0, 0);
    b->SetCaption(u"HH");
    b->Font()->SetColor(clBlack);
    b->Font()->SetSize(18);
    b->Font()->SetStyle({fsBold});  // strokes wide enough to hold the pure colour
    auto right = b->Draw(DT_RIGHT | DT_SINGLELINE);
    b->SetTextShadowDepth(0);
    auto flush = b->Draw(DT_RIGHT | DT_SINGLELINE);
    EXPECT_EQ(RightmostInk(*flush).first - RightmostInk(*right).first, 2) << "right-aligned text sits the shadow depth left";
    EXPECT_EQ(DarkestInk(*right), TColor(0)) << "normal text in the font colour";
    // Disabled: grey text, or the dark shadow colour on a face close to grey text.
    b->SetEnabled(false);
    b->SetColor(clWhite);
    auto grey = b->Draw(DT_LEFT | DT_SINGLELINE);
    EXPECT_EQ(DarkestInk(*grey), ColorToRGB(clGrayText));
    b->SetColor(clGrayText);
    auto dark = b->Draw(DT_LEFT | DT_SINGLELINE);
    EXPECT_EQ(DarkestInk(*dark), ColorToRGB(cl3DDkShadow));
}

TEST_F(StyledGuiTest, LatchedButtonShowsTheDitherPattern) {
    auto* b = Make<TRzButton>(0, 0);
    TBitmap pattern;
    b->BuildDownPattern(pattern);
    EXPECT_EQ(pattern.Canvas()->Pixel(0, 0), ColorToRGB(clSilver));
    EXPECT_EQ(pattern.Canvas()->Pixel(1, 1), ColorToRGB(clSilver));
    EXPECT_EQ(pattern.Canvas()->Pixel(1, 0), ColorToRGB(clBtnFace));
    b->SetColor(clSilver);
    b->BuildDownPattern(pattern);
    EXPECT_EQ(pattern.Canvas()->Pixel(2, 4), ColorToRGB(clGray));
}

}  // namespace
