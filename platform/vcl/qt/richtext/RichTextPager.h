// Lays a document out at a page width and draws it a page at a time. A page ends between
// lines, never inside a table row (unless the row alone is taller than the page) and before
// a paragraph that starts a new page; the next page starts exactly at the first line left out.
#pragma once

#include <memory>
#include <vector>

#include <QRectF>

class QPainter;
class QTextDocument;

namespace richtext {

class RichTextPager {
public:
    // Layout is in pixels at 96 dots per inch.
    static constexpr double kLayoutDpi = 96.0;

    explicit RichTextPager(const QTextDocument& source, double widthPixels);
    ~RichTextPager();

    double Width() const { return width_; }

    struct Page {
        int next = 0;        // the first position not on the page
        double top = 0;      // layout y of the page's first line
        double bottom = 0;   // layout y where the page's content ends
    };
    // The page that starts at the line holding position start and holds at most
    // heightPixels, stopping before position end (-1: the end of the text).
    Page Measure(int start, int end, double heightPixels) const;
    // Draws the page's content with the painter's current transform (layout pixels).
    void Draw(QPainter& painter, const Page& page) const;

    int TextEnd() const;

private:
    struct Unit {
        double top, bottom;
        int start;
        bool breakBefore;
    };
    void BuildUnits();

    std::unique_ptr<QTextDocument> layout_;
    double width_;
    std::vector<Unit> units_;
};

}  // namespace richtext
