// The framed views in the Qt widget set: the tree's selection outline while another control has
// the focus, its wheel scrolling by rows, and the list's own header sections with the sort arrow.
#include <gtest/gtest.h>

#include <vector>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "controls/shell/RzListView.h"
#include "controls/shell/RzTreeView.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListItems.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class ViewsPaint : public ::testing::Test {
protected:
    void SetUp() override {
        InstallQtWidgetSet();
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) GTEST_SKIP() << "no widget application";
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
    }
    static QImage Grab(TWinControl& c) {
        auto* w = dynamic_cast<QWidget*>(c.Peer());
        return w ? w->grab().toImage() : QImage();
    }
    std::unique_ptr<TForm> form_;
};

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

TEST_F(ViewsPaint, TreeOutlinesTheSelectionOnlyWhileUnfocused) {
    auto* edit = new TEdit(form_.get());
    edit->SetParent(form_.get());
    edit->SetBounds(0, 250, 100, 24);
    auto* tree = new TRzTreeView(form_.get());
    tree->SetParent(form_.get());
    tree->SetBounds(0, 0, 200, 200);
    tree->SetHideSelection(false);
    tree->SelectionPen()->SetColor(clRed);
    TTreeNode* node = tree->Items()->AddChild(nullptr, u"Attachments");
    tree->Items()->AddChild(nullptr, u"Headers");
    form_->Show();
    tree->SetSelected(node);
    edit->SetFocus();
    Application->ProcessMessages();
    ASSERT_FALSE(tree->Focused());
    const TRect r = node->DisplayRect(true);
    ASSERT_FALSE(r.IsEmpty());
    QImage image = Grab(*tree);
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    for (auto [x, y] : {std::pair{r.left, midY}, {r.right - 1, midY}, {midX, r.top}, {midX, r.bottom - 1}})
        EXPECT_EQ(At(image, x, y), QColor(Qt::red)) << x << "," << y;
    EXPECT_NE(At(image, r.left + 1, midY), QColor(Qt::red));

    tree->SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(tree->Focused());
    image = Grab(*tree);
    EXPECT_NE(At(image, r.left, midY), QColor(Qt::red));
    form_->Hide();
}

TEST_F(ViewsPaint, TreeWheelScrollsByRowsAndStopsAtTheTop) {
    auto* tree = new TRzTreeView(form_.get());
    tree->SetParent(form_.get());
    tree->SetBounds(0, 0, 200, 100);
    for (int i = 0; i < 60; ++i) tree->Items()->AddChild(nullptr, u"row");
    form_->Show();
    Application->ProcessMessages();
    const LPARAM at = MAKELPARAM(10, 10);
    EXPECT_EQ(tree->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), at), 1);
    EXPECT_EQ(tree->VertScrollPos(), 3);
    tree->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), at);
    EXPECT_EQ(tree->VertScrollPos(), 6);
    for (int i = 0; i < 3; ++i) tree->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), at);
    EXPECT_EQ(tree->VertScrollPos(), 0);
    form_->Hide();
}

TEST_F(ViewsPaint, ListDrawsItsHeaderSectionsWithTheArrow) {
    auto* list = new TRzCustomListView(form_.get());
    list->SetParent(form_.get());
    list->SetBounds(0, 0, 300, 200);
    list->SetViewStyle(vsReport);
    for (const char16_t* name : {u"Subject", u"Size"}) {
        TListColumn* c = list->Columns()->Add();
        c->SetCaption(name);
        c->SetWidth(120);
    }
    list->Items()->Add()->SetCaption(u"one");
    list->SetSortArrowPlacement(sapRightEdge);
    list->SetHeaderSortColumn(1);
    int custom = 0;
    form_->Show();
    Application->ProcessMessages();
    const QImage image = Grab(*list);
    // The arrow in clBtnShadow at the right end of the second section, none in the first.
    auto shadowIn = [&](int from, int to) {
        int n = 0;
        for (int x = from; x < to; ++x)
            for (int y = 0; y < 16; ++y) n += At(image, x, y) == QColor(0x80, 0x80, 0x80);
        return n;
    };
    EXPECT_GT(shadowIn(220, 236), 10);
    EXPECT_LT(shadowIn(100, 116), 4);  // the first section's raised edge at most
    list->SetDefaultHeaderDrawing(false);
    list->OnDrawHeaderSection = [&](TObject*, TCanvas*, int, const TRect&) { ++custom; };
    Grab(*list);
    EXPECT_GE(custom, 2);
    form_->Hide();
}

// The frame is painted round the hosted view in the running program: its colour on the border
// pixels, the view's own colour (not the toolkit's border) just inside, and a new style or the
// pointer over a hot-tracking view repaint it.
TEST_F(ViewsPaint, FramedViewsPaintTheirFrameRoundTheView) {
    const auto framed = [this](auto* view, int left) {
        view->SetParent(form_.get());
        view->SetBounds(left, 10, 120, 90);
        view->SetFramingPreference(fpCustomFraming);
        view->SetFrameVisible(true);
        view->SetFrameColor(clRed);
        view->SetFrameHotColor(clBlue);
        return view;
    };
    auto* tree = framed(new TRzTreeView(form_.get()), 10);
    tree->Items()->AddChild(nullptr, u"Message");
    auto* list = framed(new TRzCustomListView(form_.get()), 140);
    form_->Show();
    Application->ProcessMessages();
    const QColor red(Qt::red), blue(Qt::blue), window(Qt::white);
    const auto ring = [](const QImage& image, int inset) {
        const int w = image.width(), h = image.height();
        return std::vector<QColor>{At(image, inset, h / 2), At(image, w - 1 - inset, h / 2), At(image, w / 2, inset),
                                   At(image, w / 2, h - 1 - inset)};
    };
    for (TWinControl* view : {static_cast<TWinControl*>(tree), static_cast<TWinControl*>(list)}) {
        const QImage flat = Grab(*view);
        ASSERT_EQ(flat.size(), QSize(120, 90));
        for (const QColor& c : ring(flat, 0)) EXPECT_EQ(c, red) << view->ClassName();
        for (const QColor& c : ring(flat, 1)) EXPECT_EQ(c, window) << view->ClassName();
    }

    tree->SetFrameStyle(fsFlatBold);
    Application->ProcessMessages();
    for (const QColor& c : ring(Grab(*tree), 1)) EXPECT_EQ(c, red) << "the bold frame's second ring";

    list->SetFocus();
    tree->SetFrameHotTrack(true);  // hot: bold in the hot colour while the pointer is over it
    Application->ProcessMessages();
    ASSERT_FALSE(tree->Focused());
    tree->Perform(CM_MOUSEENTER, 0, 0);
    Application->ProcessMessages();
    for (const QColor& c : ring(Grab(*tree), 0)) EXPECT_EQ(c, blue);
    tree->Perform(CM_MOUSELEAVE, 0, 0);
    Application->ProcessMessages();
    for (const QColor& c : ring(Grab(*tree), 0)) EXPECT_EQ(c, red);

    tree->SetFrameVisible(false);  // back to the toolkit's own border
    Application->ProcessMessages();
    for (const QColor& c : ring(Grab(*tree), 0)) EXPECT_NE(c, red);
    form_->Hide();
}

}  // namespace
