#include "tools/vcldemo/DemoRun.h"

#include <QImage>
#include <QWidget>

bool SaveFormPicture(TCustomForm& form, const char* path) {
    auto* window = dynamic_cast<QWidget*>(form.Peer());
    if (window && window->grab().toImage().save(QString::fromUtf8(path))) return true;
    std::fprintf(stderr, "vcldemo: cannot write %s\n", path);
    return false;
}
