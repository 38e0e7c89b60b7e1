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

TEST_F(RzPaintGuiTest, DebugPicture) {
    auto* tabs = new TRzCustomTabControl(form);
    tabs->SetParent(form);
    tabs->SetBounds(0, 0, 200, 80);
    tabs->SetTabStyle(tsDoubleSlant);
    tabs->Tabs().Add()->Caption = u"One";
    tabs->Tabs().Add()->Caption = u"Two";
    tabs->UpdateLayout();
    auto b = Draw(*tabs);
    std::printf("FD %d bounds %d %d %d %d\n%s", tabs->FixedDimension(), tabs->TabBounds(0).left, tabs->TabBounds(0).top,
                tabs->TabBounds(0).right, tabs->TabBounds(0).bottom,
                Picture(*b, 0, 0, 120, 30, ColorToRGB(clBtnFace)).c_str());
}

}  // namespace
