#include "tools/vcldemo/DemoRun.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

// Open popup windows (a combo box's list) are drawn over the form where they stand.
bool SaveFormPicture(TCustomForm& form, const char* path) {
    auto* window = dynamic_cast<QWidget*>(form.Peer());
    if (!window) {
        std::fprintf(stderr, "vcldemo: cannot write %s\n", path);
        return false;
    }
    QImage picture = window->grab().toImage();
    {
        QPainter painter(&picture);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top == window || !top->isVisible() || !(top->windowFlags() & Qt::Popup)) continue;
            const QPoint at = window->mapFromGlobal(top->mapToGlobal(QPoint(0, 0)));
            painter.drawImage(at, top->grab().toImage());
        }
    }
    if (picture.save(QString::fromUtf8(path))) return true;
    std::fprintf(stderr, "vcldemo: cannot write %s\n", path);
    return false;
}

int ShowDemoForm(TCustomForm& form, const char* screenshot) {
    form.Show();
    if (!screenshot) {
        Application->Run();
        DoneApplication();
        return 0;
    }
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 25);
        Application->ProcessMessages();
    }
    const bool saved = SaveFormPicture(form, screenshot);
    DoneApplication();
    return saved ? 0 : 1;
}
