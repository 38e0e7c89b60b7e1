// Drop targets on windows of an offscreen form: the desktop's drag events carrying file URLs
// fill a file target, effects follow the keys and the target's settings, registration keeps
// parents and children in order, and a resting cursor near the edge scrolls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "controls/dragdrop/DropFileComponents.h"
#include "controls/dragdrop/DropTextComponents.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/OleDragDrop.h"
#include "platform/vcl/qt/DragSourceQt.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"

using enum TScrollDirection;

namespace {

class DropTargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        form_ = new TForm(Application);
        form_->SetBounds(10, 10, 300, 200);
        form_->Show();
    }
    void TearDown() override { delete form_; }

    QWidget* Widget() const { return dynamic_cast<QWidget*>(form_->Peer()); }
    POINTL Screen(int x, int y) const {
        const TPoint p = form_->ClientToScreen(TPoint(x, y));
        return {p.x, p.y};
    }

    TForm* form_ = nullptr;
};

TEST_F(DropTargetTest, DesktopUriListDropFillsTheFileTarget) {
    TDropFileTarget target(nullptr);
    target.DragTypes = {dtCopy, dtMove};
    target.Register(form_);
    ASSERT_TRUE(Widget()->acceptDrops());
    DWORD dropped = DROPEFFECT_NONE;
    std::vector<std::string> names;
    target.OnDrop = [&](TObject*, TShiftState, TPoint, DWORD& effect) {
        dropped = effect;
        for (int i = 0; i < target.Files().Count(); ++i) names.push_back(target.Files()[i]);
    };

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromUtf8("/tmp/\xE4\xB8\x80 a.msg")), QUrl::fromLocalFile("/tmp/b.eml")});
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(20, 20), actions, &data, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(Widget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    EXPECT_EQ(target.Target(), form_);

    // No keys: a move, which the file target performs as an optimized copy.
    QDropEvent drop(QPointF(30, 20), actions, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Widget(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(dropped, DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(names, (std::vector<std::string>{"/tmp/\xE4\xB8\x80 a.msg", "/tmp/b.eml"})) << "the names as dropped";
    ASSERT_EQ(target.Files().Count(), 0);  // cleared after the drop
    EXPECT_EQ(target.Target(), nullptr);
}

TEST_F(DropTargetTest, FilesAreThereDuringTheDropAndOptimizedMoveReportsCopy) {
    TDropFileTarget target(nullptr);
    target.DragTypes = {dtCopy, dtMove};
    target.Register(form_);
    std::vector<WideString> files;
    target.OnDrop = [&](TObject*, TShiftState, TPoint, DWORD&) {
        for (int i = 0; i < target.Files().Count(); ++i) files.push_back(Utf8ToUtf16(target.Files()[i]));
    };
    // Our own source, in process: the performed effect reaches it.
    TDropFileSource source(nullptr);
    source.DragTypes = {dtCopy, dtMove};
    source.Files().Add(Utf16ToUtf8(u"/tmp/\u4E00 a.msg"));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    IDropTarget* face = target.DropTarget();
    ASSERT_EQ(face->DragEnter(source.DataObject(), MK_LBUTTON, Screen(20, 20), &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(face->Drop(source.DataObject(), 0, Screen(20, 20), &effect), S_OK);
    EXPECT_EQ(files, (std::vector<WideString>{u"/tmp/\u4E00 a.msg"}));
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(source.GetPerformedDropEffect(), DWORD(DROPEFFECT_COPY));
}

TEST_F(DropTargetTest, RefusesWhatItCannotReadAndAFailedReadOnEnter) {
    TDropFileTarget target(nullptr);
    target.Register(form_);
    TDropTextSource text(nullptr);
    text.SetText("not a file");
    bool entered = false;
    target.OnEnter = [&](TObject*, TShiftState, TPoint, DWORD&) { entered = true; };
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target.DropTarget()->DragEnter(text.DataObject(), MK_LBUTTON, Screen(5, 5), &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_FALSE(entered);
    target.DropTarget()->DragLeave();

    // Offers files but cannot render them.
    TDropFileSource broken(nullptr);
    broken.Files().Add("/tmp/a");
    target.GetDataOnEnter = true;
    broken.OnGetData = [](TObject*, const FORMATETC&, STGMEDIUM&, bool&) { throw Exception("gone"); };
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target.DropTarget()->DragEnter(broken.DataObject(), MK_LBUTTON, Screen(5, 5), &effect), DV_E_FORMATETC);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
}

TEST_F(DropTargetTest, RegistrationKeepsChildrenAfterTheirParents) {
    auto* outer = new TPanel(form_);
    outer->SetParent(form_);
    auto* inner = new TPanel(form_);
    inner->SetParent(outer);
    auto* other = new TPanel(form_);
    other->SetParent(form_);
    TDropTextTarget target(nullptr);
    target.MultiTarget = true;
    target.Register(inner);
    target.Register(other);
    target.Register(outer);  // a parent after its child goes last...
    target.Register(form_);  // ...and the form, parent of all, too
    auto order = [&] {
        std::vector<TWinControl*> v;
        for (int i = 0; i < target.Targets().Count(); ++i) v.push_back(target.Targets()[i]);
        return v;
    };
    EXPECT_EQ(order(), (std::vector<TWinControl*>{inner, other, outer, form_}));
    target.Unregister(inner);
    target.Register(inner);  // a child after its parent goes right after the last ancestor
    EXPECT_EQ(order(), (std::vector<TWinControl*>{other, outer, form_, inner}));
    target.Unregister();
    EXPECT_EQ(target.Targets().Count(), 0);
}

TEST_F(DropTargetTest, RegistrationFollowsTheControlToItsNextWindowAndGoesWithIt) {
    TDropFileTarget target(nullptr);
    auto* panel = new TPanel(form_);
    panel->SetParent(form_);
    target.Register(panel);
    const HWND first = panel->Handle();
    ASSERT_TRUE(RegisteredDropTarget(first));
    panel->RecreateWnd();
    const HWND second = panel->Handle();
    ASSERT_NE(first, second);
    EXPECT_FALSE(RegisteredDropTarget(first)) << "the old window keeps no reference";
    EXPECT_EQ(RegisteredDropTarget(second).get(), target.DropTarget());
    EXPECT_TRUE(dynamic_cast<QWidget*>(panel->Peer())->acceptDrops());

    // Unregistered while it has no window: the next one takes no drops.
    panel->DestroyHandle();
    target.Unregister(panel);
    EXPECT_FALSE(RegisteredDropTarget(panel->Handle()));

    target.Register(panel);
    const HWND last = panel->Handle();
    delete panel;
    EXPECT_FALSE(RegisteredDropTarget(last));
    EXPECT_EQ(target.Targets().Count(), 0);
}

TEST_F(DropTargetTest, NearestTargetAndFastMovesDoNotScroll) {
    TDropTextTarget target(nullptr);
    target.MultiTarget = true;
    auto* left = new TPanel(form_);
    left->SetParent(form_);
    left->SetBounds(0, 0, 50, 50);
    auto* right = new TPanel(form_);
    right->SetParent(form_);
    right->SetBounds(200, 0, 50, 50);
    target.Register(left);
    target.Register(right);
    EXPECT_EQ(target.FindNearestTarget(form_->ClientToScreen(TPoint(60, 10))), left);
    EXPECT_EQ(target.FindNearestTarget(form_->ClientToScreen(TPoint(190, 10))), right);
    EXPECT_EQ(target.FindNearestTarget(form_->ClientToScreen(TPoint(210, 10))), right);

    DWORD now = 1000;
    target.Clock = [&] { return now; };
    target.SampleMouse(TPoint(0, 0), true);
    now += 10;
    // 100 000 pixels in 10 ms: far too fast, even where 32-bit arithmetic would wrap.
    EXPECT_FALSE(target.SampleMouse(TPoint(100000, 0), false));
    target.SampleMouse(TPoint(0, 0), true);
    now += 1000;
    EXPECT_TRUE(target.SampleMouse(TPoint(5, 0), false));
}

TEST_F(DropTargetTest, RestingNearTheBottomScrollsLineByLine) {
    TDropTextTarget target(nullptr);
    target.Register(form_);
    DWORD now = 5000;
    target.Clock = [&] { return now; };
    TDropScrollBar bar{0, 100, 10, 0};
    int steps = 0;
    target.ScrollBarOf = [&](TWinControl&, bool vertical, TDropScrollBar& b) {
        b = bar;
        return vertical;
    };
    target.ScrollStep = [&](TWinControl&, TScrollDirection d) {
        if (d != sdDown) return;
        ++steps;
        ++bar.Position;
    };
    TDropTextSource text(nullptr);
    text.SetText("x");
    DWORD effect = DROPEFFECT_COPY;
    const POINTL bottom = Screen(100, form_->ClientHeight() - 5);
    ASSERT_EQ(target.DropTarget()->DragEnter(text.DataObject(), MK_LBUTTON, bottom, &effect), S_OK);
    EXPECT_TRUE(effect & DROPEFFECT_SCROLL);
    now += 20;
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(target.DropTarget()->DragOver(MK_LBUTTON, bottom, &effect), S_OK);
    EXPECT_TRUE(target.ScrollTimerRunning());
    for (int i = 0; i < 3; ++i) {
        now += DragDropScrollInterval;
        target.DoAutoScroll();
    }
    EXPECT_EQ(steps, 3);
    EXPECT_TRUE(target.ScrollTimerRunning());

    // In the middle nothing scrolls and the effect has no scroll bit.
    effect = DROPEFFECT_COPY;
    target.DropTarget()->DragOver(MK_LBUTTON, Screen(100, 100), &effect);
    EXPECT_FALSE(effect & DROPEFFECT_SCROLL);
    EXPECT_FALSE(target.ScrollTimerRunning());
    target.DropTarget()->DragLeave();
}

TEST_F(DropTargetTest, OurDragDataReachesTheDesktopAsUriListAndText) {
    TDropFileSource source(nullptr);
    source.Files().Add(Utf16ToUtf8(u"/tmp/\u4E00 a.msg"));
    vclqt::DataObjectMime mime{ComPtr<IDataObject>(source.DataObject())};
    EXPECT_TRUE(mime.hasUrls());
    ASSERT_EQ(mime.urls().size(), 1);
    EXPECT_EQ(mime.urls()[0].toLocalFile(), QString::fromUtf8("/tmp/\xE4\xB8\x80 a.msg"));

    TDropTextSource text(nullptr);
    text.SetUnicodeText(u"h\u00E9llo");
    vclqt::DataObjectMime textMime{ComPtr<IDataObject>(text.DataObject())};
    EXPECT_EQ(textMime.text(), QString::fromUtf8("h\xC3\xA9llo"));
}

}  // namespace
