// The toolkit side of the rich-text engine, for the class library's rich-edit control and the
// drawing layer.
#pragma once

#include <QPainter>
#include <QTextDocument>

#include "platform/vcl/richtext/RichTextDocument.h"

namespace richtext {

class RichTextCanvas {
public:
    // dpiX and dpiY: device units per inch of the painter's coordinates.
    RichTextCanvas(QPainter& painter, double dpiX, double dpiY)
        : painter_(painter), dpiX_(dpiX), dpiY_(dpiY) {}
    // The resolution of the painter's device.
    explicit RichTextCanvas(QPainter& painter)
        : RichTextCanvas(painter, painter.device()->logicalDpiX(), painter.device()->logicalDpiY()) {}

    QPainter& Painter() const { return painter_; }
    double DpiX() const { return dpiX_; }
    double DpiY() const { return dpiY_; }

private:
    QPainter& painter_;
    double dpiX_;
    double dpiY_;
};

// The document the control shows and edits.
QTextDocument& QtDocumentOf(RichTextDocument& document);

}  // namespace richtext
