// The framed tree view's frame, painted on an off-screen bitmap.
#include <gtest/gtest.h>

#include <QApplication>

#include "controls/shell/RzTreeView.h"
#include "platform/vcl/qt/GdiQt.h"

namespace {

void EnsureApp() {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "shell_gui_tests";
        static char* argv[] = {name, nullptr};
        // The widgets application type: other cases in this binary make widgets.
        static QApplication* app = new QApplication(argc, argv);  // lives until exit
        (void)app;
    }
    InstallQtGdi();
}

TEST(RzTreeView, HotTrackShowsTheFrameOnAllSidesInTheHotStyle) {
    EnsureApp();
    TRzTreeView tree(nullptr);
    tree.SetBounds(0, 0, 40, 30);
    tree.SetFrameSides({sdLeft});
    tree.SetFramingPreference(fpCustomFraming);
    tree.SetFrameHotColor(clRed);
    tree.SetFrameHotTrack(true);
    EXPECT_TRUE(tree.FrameVisible());
    EXPECT_TRUE(tree.FrameSides() == sdAllSides);
    tree.Perform(CM_MOUSEENTER, 0, 0);
    TBitmap bmp;
    bmp.SetSize(40, 30);
    tree.PaintFrame(*bmp.Canvas());
    for (auto [x, y] : {std::pair{0, 15}, {1, 15}, {20, 0}, {39, 15}, {38, 15}, {20, 29}})
        EXPECT_EQ(bmp.Canvas()->Pixel(x, y), clRed) << x << "," << y;  // fsFlatBold: two rings
    EXPECT_NE(bmp.Canvas()->Pixel(2, 15), clRed);
}

}  // namespace
