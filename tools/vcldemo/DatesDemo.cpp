#include "tools/vcldemo/DatesDemo.h"

#include <cstdio>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "controls/styled/RzDateTimeEdit.h"
#include "controls/styled/RzPanel.h"
#include "controls/styled/RzStatus.h"
#include "controls/styled/RzStatusBar.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WinUser.h"
#include "controls/styled/RzPopup.h"
#include "tools/vcldemo/DemoRun.h"

namespace {

QWidget* WidgetOf(TWinControl* c) { return c ? dynamic_cast<QWidget*>(c->Peer()) : nullptr; }

// The form with the drop-down drawn over it where the desktop shows it.
bool SaveWithPopup(TForm& form, TWinControl* popup, const char* path) {
    QWidget* window = WidgetOf(&form);
    if (!window) return false;
    QImage image = window->grab().toImage();
    if (QWidget* p = WidgetOf(popup)) {
        QPainter painter(&image);
        painter.drawImage(window->mapFromGlobal(p->mapToGlobal(QPoint(0, 0))), p->grab().toImage());
    }
    if (image.save(QString::fromUtf8(path))) return true;
    std::fprintf(stderr, "vcldemo: cannot write %s\n", path);
    return false;
}

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        Application->ProcessMessages();
    }
}

}  // namespace

int RunDatesDemo(const char* screenshot) {
    Application->Initialize();
    auto* form = new TForm(Application);
    form->SetCaption(u"Dates");
    form->SetBounds(40, 40, 420, 330);
    const auto label = [&](const char16_t* text, int top) {
        auto* l = new TLabel(form);
        l->SetParent(form);
        l->SetBounds(12, top + 3, 80, 16);
        l->SetCaption(text);
    };
    label(u"From date:", 12);
    auto* date = new TRzDateTimeEdit(form);
    date->SetParent(form);
    date->SetBounds(96, 12, 140, 21);
    date->SetFrameVisible(true);
    date->SetCalendarElements({ceYear, ceMonth, ceArrows, ceDaysOfWeek, ceFillDays, ceTodayButton});
    TDateTime day = 0;
    TryEncodeDate(2026, 3, 18, day);
    date->SetDate(day);
    label(u"At:", 44);
    auto* time = new TRzDateTimeEdit(form);
    time->SetParent(form);
    time->SetBounds(96, 44, 140, 21);
    time->SetFrameVisible(true);
    TDateTime at = 0;
    TryEncodeTime(14, 45, 0, 0, at);
    time->SetTime(at);
    auto* bar = new TRzStatusBar(form);
    bar->SetParent(form);
    auto* pane = new TRzStatusPane(form);
    pane->SetParent(bar);
    pane->SetAlign(alLeft);
    pane->SetWidth(200);
    pane->SetCaption(u"Messages found: 42");
    auto* progress = new TRzProgressStatus(form);
    progress->SetParent(bar);
    progress->SetAlign(alClient);
    progress->SetTotalParts(4);
    progress->StepIt();
    form->Show();
    if (!screenshot) {
        Application->Run();
        DoneApplication();
        return 0;
    }
    Settle();
    // The picture is taken while the calendar is dropped down, from inside its loop.
    bool saved = false;
    auto* trigger = new TPanel(form);
    trigger->SetParent(form);
    trigger->SetBounds(0, 0, 0, 0);
    const auto original = trigger->WindowProc;
    trigger->WindowProc = [&, original](TMessage& m) {
        if (m.Msg != WM_USER + 1) return original(m);
        Settle();
        TRzCalendar* calendar = date->DroppedCalendar();
        saved = SaveWithPopup(*form, calendar ? calendar->Parent() : nullptr, screenshot);
        if (calendar) PostMessageW(calendar->Parent()->Handle(), TRzPopup::kCloseMessage, 0, 0);
    };
    PostMessageW(trigger->Handle(), WM_USER + 1, 0, 0);
    date->DoDropDown();
    DoneApplication();
    return saved ? 0 : 1;
}
