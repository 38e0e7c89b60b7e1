// The drop-down calendar over the toolkit, used as a person does: the month menu opened from
// the title is chosen with a click while the popup's loop runs, and the year spinner takes
// the keys typed while it is open.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include "controls/styled/RzDateTimeEdit.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

QWidget* WidgetOf(TWinControl& c) { return dynamic_cast<QWidget*>(c.Peer()); }

void Mouse(QWidget* w, QEvent::Type type, QPoint p) {
    const QPointF at(p);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Click(QWidget* w, QPoint p) {
    Mouse(w, QEvent::MouseButtonPress, p);
    Mouse(w, QEvent::MouseButtonRelease, p);
}

void Key(QWidget* w, Qt::Key key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

TDateTime Day(WORD y, WORD m, WORD d) {
    TDateTime v = 0;
    EXPECT_TRUE(TryEncodeDate(y, m, d, v));
    return v;
}

WORD MonthOf(TDateTime v) {
    WORD y, m, d;
    DecodeDate(v, y, m, d);
    return m;
}

WORD YearOf(TDateTime v) {
    WORD y, m, d;
    DecodeDate(v, y, m, d);
    return y;
}

TEST(RzCalendarPopupGui, TheMonthMenuAndTheYearSpinnerWorkInsideTheDropDown) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    Application->Initialize();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 360, 300);
    auto* edit = new TRzDateTimeEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 150, 22);
    edit->SetDate(Day(2026, 3, 10));
    form->Show();

    int menuEntries = 0;
    WORD monthChosen = 0, yearTyped = 0;
    bool spinnerOpened = false, spinnerClosed = false;
    QTimer::singleShot(0, [&] {
        TRzCalendar* cal = edit->DroppedCalendar();
        ASSERT_NE(cal, nullptr);
        QWidget* w = WidgetOf(*cal);
        ASSERT_NE(w, nullptr);
        Mouse(w, QEvent::MouseMove, QPoint(1, 1));  // the pointer arrives: the calendar lays itself out
        const TRect title = cal->AreaRect(calTitle);
        ASSERT_FALSE(title.IsEmpty());
        const int middle = (title.top + title.bottom) / 2;
        // Runs inside the menu's own loop: a click on "May" as the user gives it.
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            menuEntries = static_cast<int>(menu->actions().size());
            Click(menu, menu->actionGeometry(menu->actions()[4]).center());
        });
        Click(w, QPoint(title.right - 3, middle));  // the month's name opens the menu

        // Once the chosen command has arrived: the year beside the month opens the spinner,
        // and the keys typed reach it though the popup has no focus.
        QTimer::singleShot(100, [&, cal, w, title, middle] {
            monthChosen = MonthOf(cal->ViewDate());
            Click(w, QPoint(title.right + 6, middle));
            spinnerOpened = cal->YearSpinnerOpen();
            Key(WidgetOf(*form), Qt::Key_Up);
            Key(WidgetOf(*form), Qt::Key_Up);
            Key(WidgetOf(*form), Qt::Key_Return, "\r");
            spinnerClosed = !cal->YearSpinnerOpen();
            yearTyped = YearOf(cal->ViewDate());
            // A day picked as a click would, which accepts the drop-down.
            cal->SetDate(Day(yearTyped, monthChosen, 12));
            cal->OnClick(cal);
        });
    });
    QTimer::singleShot(5000, [] {
        if (QWidget* w = QApplication::activePopupWidget()) w->close();  // never hang
    });
    edit->DoDropDown();

    EXPECT_EQ(menuEntries, 12);
    EXPECT_EQ(monthChosen, 5) << "the click on the menu reached it";
    EXPECT_TRUE(spinnerOpened);
    EXPECT_EQ(yearTyped, 2028) << "two Up keys, one year each";
    EXPECT_TRUE(spinnerClosed) << "Enter closes the spinner";
    EXPECT_EQ(edit->GetDate(), Day(2028, 5, 12));
    EXPECT_EQ(edit->DroppedCalendar(), nullptr);
}

}  // namespace
