// The hint window over Qt, offscreen: a tool-tip window that does not take the focus, drawn in
// the desktop's tool-tip colours, showing the short hint of the control under the mouse.
#include <gtest/gtest.h>

#include <QToolTip>
#include <QWidget>

#include "platform/vcl/Forms.h"
#include "platform/vcl/HintWindow.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

TEST(QtHintWindowTest, ShortHintInAToolTipWindowOfTheDesktopsColours) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    Application->Initialize();
    auto* form = new TForm(Application);
    form->SetBounds(50, 50, 300, 200);
    form->SetShowHint(true);
    auto* control = new TCustomControl(form);
    control->SetParent(form);
    control->SetBounds(10, 10, 100, 40);
    control->SetHint(u"Print|Prints the selected messages");
    form->Show();
    std::vector<WideString> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };

    control->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Application->ActivateHint(control->ClientToScreen({5, 5}));
    Application->OnHint = nullptr;
    EXPECT_EQ(hints, std::vector<WideString>{u"Prints the selected messages"});
    THintWindow* window = Application->HintWindow();
    ASSERT_NE(window, nullptr);
    auto* widget = dynamic_cast<QWidget*>(window->Peer());
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->windowType(), Qt::ToolTip);
    EXPECT_FALSE(widget->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(window->Caption(), u"Print");
    const QImage shot = widget->grab().toImage();
    const QColor base = QToolTip::palette().color(QPalette::ToolTipBase);
    const QColor inside = shot.pixelColor(shot.width() - 3, 2);
    EXPECT_EQ(inside.rgb() & 0xFFFFFF, base.rgb() & 0xFFFFFF);
    Application->CancelHint();
    EXPECT_FALSE(widget->isVisible());
    delete form;
    // Windows must go before exit tears Qt down; the application would keep this one.
    delete window;
    EXPECT_EQ(Application->HintWindow(), nullptr);
}

}  // namespace
