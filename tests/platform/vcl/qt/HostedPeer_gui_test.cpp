// A control shown by a real Qt widget: the widget's input reaches the control as window
// messages first and goes on to the widget only when the control leaves it to the default
// handling; the peer is chosen by the control's window class name.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/ControlsQt.h"
#include "platform/vcl/qt/PeerClasses.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class LineEditPeer : public vclqt::HostedPeer {
public:
    LineEditPeer(TWinControl& control, const TCreateParams& params, QWidget* parent)
        : HostedPeer(control, params, parent), edit_(new QLineEdit) {
        Host(edit_);
    }
    QLineEdit* Edit() const { return edit_; }

private:
    QLineEdit* edit_;  // owned by the peer as its Qt child
};

class TTestEdit : public TWinControl {
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        params.WinClassName = u"testedit";  // names compare without case
    }
};

class HostedPeerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        vclqt::RegisterPeerClass(u"TESTEDIT", [](TWinControl& c, const TCreateParams& p, vclqt::PeerWidget* parent) {
            return std::make_unique<LineEditPeer>(c, p, parent);
        });
    }
    static void Type(QWidget* w, Qt::Key key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QApplication::sendEvent(w, &release);
    }
};

TEST_F(HostedPeerTest, KeysReachTheControlFirstAndTheWidgetGetsWhatTheControlLeaves) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 200, 100);
    auto* edit = new TTestEdit(form);
    edit->SetParent(form);
    edit->SetBounds(5, 5, 150, 24);
    edit->SetTabStop(true);
    form->Show();
    auto* peer = dynamic_cast<LineEditPeer*>(edit->Peer());
    ASSERT_NE(peer, nullptr);
    QLineEdit* line = peer->Edit();
    EXPECT_EQ(line->parentWidget(), static_cast<QWidget*>(peer));
    EXPECT_EQ(line->geometry(), QRect(0, 0, 150, 24));

    std::vector<WORD> downs;
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        downs.push_back(key);
        if (key == VK_F2) key = 0;  // swallowed: the widget never sees it
    };
    edit->OnKeyPress = [](TObject*, WideChar& ch) {
        if (ch == u'b') ch = u'c';   // replaced
        if (ch == u'x') ch = 0;      // dropped
    };
    Type(line, Qt::Key_A, QStringLiteral("a"));
    Type(line, Qt::Key_B, QStringLiteral("b"));
    Type(line, Qt::Key_X, QStringLiteral("x"));
    Type(line, Qt::Key_D, QStringLiteral("d"));
    EXPECT_EQ(line->text(), QStringLiteral("acd"));
    EXPECT_EQ(downs, (std::vector<WORD>{'A', 'B', 'X', 'D'}));

    // A key the control clears never reaches the widget: F2 is gone, Backspace still edits.
    Type(line, Qt::Key_F2, QString());
    Type(line, Qt::Key_Backspace, QString());
    EXPECT_EQ(line->text(), QStringLiteral("ac"));
    EXPECT_EQ(downs.back(), VK_BACK);

    // The mouse reaches the control's events and the widget both.
    int downsByMouse = 0;
    edit->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        ++downsByMouse;
        EXPECT_EQ(b, mbLeft);
        EXPECT_EQ(x, 7);
        EXPECT_EQ(y, 8);
    };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(7, 8), QPointF(7, 8), line->mapToGlobal(QPointF(7, 8)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(line, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(7, 8), QPointF(7, 8), line->mapToGlobal(QPointF(7, 8)), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(line, &release);
    EXPECT_EQ(downsByMouse, 1);

    // A context menu the control answers (OnContextPopup handled) replaces the widget's own.
    int popups = 0;
    edit->OnContextPopup = [&](TObject*, TPoint, bool& handled) {
        ++popups;
        handled = true;
    };
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(3, 3), line->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(line, &menu);
    EXPECT_EQ(popups, 1);
    delete form;
}

TEST_F(HostedPeerTest, FocusOfTheHostedWidgetIsTheControlsFocus) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 200, 100);
    auto* edit = new TTestEdit(form);
    edit->SetParent(form);
    edit->SetBounds(5, 5, 150, 24);
    edit->SetTabStop(true);
    int enters = 0, exits = 0;
    edit->OnEnter = [&](TObject*) { ++enters; };
    edit->OnExit = [&](TObject*) { ++exits; };
    form->Show();
    edit->SetFocus();
    Application->ProcessMessages();
    auto* peer = dynamic_cast<LineEditPeer*>(edit->Peer());
    ASSERT_NE(peer, nullptr);
    EXPECT_TRUE(peer->Edit()->hasFocus());
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(enters, 1);
    delete form;
}

}  // namespace
