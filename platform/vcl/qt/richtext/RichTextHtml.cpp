// The rich-text document as an HTML page, for drawing it through the HTML converter.
#include <vector>

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include "platform/vcl/qt/richtext/RichTextQt.h"

namespace richtext {

namespace {

QString DataUri(const QVariant& resource) {
    QImage image;
    if (resource.canConvert<QImage>()) image = resource.value<QImage>();
    else if (resource.canConvert<QPixmap>()) image = resource.value<QPixmap>().toImage();
    if (image.isNull()) return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

}  // namespace

std::string RichTextDocument::ToHtml() const {
    QTextDocument& source = QtDocumentOf(const_cast<RichTextDocument&>(*this));
    std::unique_ptr<QTextDocument> copy(source.clone());
    struct Picture {
        int position, length;
        QTextImageFormat format;
    };
    std::vector<Picture> pictures;
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isImageFormat())
                pictures.push_back({fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
        }
    // Changing formats splits fragments, so the pictures are found first and changed after.
    for (Picture& p : pictures) {
        const QString uri = DataUri(source.resource(QTextDocument::ImageResource, QUrl(p.format.name())));
        if (uri.isEmpty()) continue;
        p.format.setName(uri);
        QTextCursor cursor(copy.get());
        cursor.setPosition(p.position);
        cursor.setPosition(p.position + p.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(p.format);
    }
    return copy->toHtml().toStdString();
}

}  // namespace richtext
