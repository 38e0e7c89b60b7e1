#include "tools/vcldemo/DemoRun.h"

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

bool SaveFormPicture(TCustomForm& form, const char* path) {
    auto* window = dynamic_cast<QWidget*>(form.Peer());
    if (window && window->grab().toImage().save(QString::fromUtf8(path))) return true;
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
