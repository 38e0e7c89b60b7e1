// A popup over the toolkit: a click on another window ends the loop without reaching that
// window, and keys typed anywhere go to the popup.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include "controls/styled/RzPopup.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

QWidget* WidgetOf(TWinControl& c) { return dynamic_cast<QWidget*>(c.Peer()); }

TEST(RzPopupGui, AClickOutsideEndsTheLoopAndIsNotDelivered) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    Application->Initialize();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(50, 50, 300, 200);
    auto* target = new TPanel(form.get());
    target->SetParent(form.get());
    target->SetBounds(10, 120, 100, 40);
    int targetClicks = 0;
    target->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++targetClicks; };
    auto* panel = new TRzPopupPanel(form.get());
    panel->SetParent(form.get());
    auto* inner = new TPanel(form.get());
    inner->SetParent(panel);
    inner->SetAlign(alClient);
    WideString typed;
    inner->WindowProc = [&, original = inner->WindowProc](TMessage& m) {
        if (m.Msg == WM_CHAR) typed += static_cast<char16_t>(m.WParam);
        original(m);
    };
    form->Show();

    QTimer::singleShot(0, [&] {
        // Typed into the form: the popup's first windowed child gets it.
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QApplication::sendEvent(WidgetOf(*form), &key);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(WidgetOf(*target), &press);
    });
    EXPECT_FALSE(panel->Popup(target));
    EXPECT_EQ(targetClicks, 0);
    EXPECT_EQ(typed, u"a");
    EXPECT_EQ(inner->Parent(), panel);
}

}  // namespace
