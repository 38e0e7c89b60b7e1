#include "platform/vcl/qt/ImageListQt.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "platform/vcl/GraphicsImageList.h"

namespace {

QImage PictureImage(const TCustomImageList& list, int index) {
    const auto& px = list.Pixels(index);
    QImage image(list.Width(), list.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < list.Height(); ++y)
        std::copy_n(px.data() + static_cast<std::size_t>(y) * list.Width(), list.Width(), reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    return image;
}

}  // namespace

QPixmap ImageListPixmap(const TCustomImageList& list, int index, int overlay, bool enabled, bool ghosted) {
    if (index < 0 || index >= list.Count()) return {};
    QImage image = PictureImage(list, index);
    const int over = list.OverlayImage(overlay);
    if (over >= 0 && over < list.Count()) {
        QPainter p(&image);
        p.drawImage(0, 0, PictureImage(list, over));
    }
    if (ghosted) {
        QImage faded(image.size(), QImage::Format_ARGB32_Premultiplied);
        faded.fill(Qt::transparent);
        QPainter p(&faded);
        p.setOpacity(0.5);
        p.drawImage(0, 0, image);
        p.end();
        image = faded;
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    if (!enabled) {
        QStyleOption option;
        option.palette = QApplication::palette();
        pixmap = QApplication::style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
    }
    return pixmap;
}
