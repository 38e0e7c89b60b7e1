#include "platform/vcl/qt/richtext/RichTextPager.h"

#include <algorithm>
#include <map>

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

namespace richtext {

namespace {

// The table at the top level of the document that holds the block, if any.
QTextTable* OutermostTable(const QTextBlock& block) {
    QTextFrame* frame = QTextCursor(block).currentFrame();
    QTextTable* outer = nullptr;
    for (; frame && frame->parentFrame(); frame = frame->parentFrame())
        if (auto* t = qobject_cast<QTextTable*>(frame)) outer = t;
    return outer;
}

}  // namespace

RichTextPager::RichTextPager(const QTextDocument& source, double widthPixels)
    : layout_(source.clone()), width_(std::max(1.0, widthPixels)) {
    layout_->setDocumentMargin(0);
    layout_->setTextWidth(width_);
    BuildUnits();
}

RichTextPager::~RichTextPager() = default;

int RichTextPager::TextEnd() const { return std::max(0, layout_->characterCount() - 1); }

// One unit per line outside tables and one per table row, in text order.
void RichTextPager::BuildUnits() {
    QAbstractTextDocumentLayout* layout = layout_->documentLayout();
    std::map<std::pair<QTextTable*, int>, std::size_t> rows;
    for (QTextBlock block = layout_->begin(); block.isValid(); block = block.next()) {
        const QRectF rect = layout->blockBoundingRect(block);
        const QTextLayout* lines = block.layout();
        if (!lines) continue;
        const bool breakBefore =
            block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
        if (QTextTable* table = OutermostTable(block)) {
            const QTextTableCell cell = table->cellAt(block.position());
            const auto key = std::make_pair(table, cell.row());
            const double top = rect.top(), bottom = rect.bottom();
            const auto it = rows.find(key);
            if (it == rows.end()) {
                rows.emplace(key, units_.size());
                const double pad = table->format().cellPadding() + table->format().border();
                units_.push_back({top - pad, bottom + pad, block.position(), false});
            } else {
                Unit& u = units_[it->second];
                u.top = std::min(u.top, top);
                u.bottom = std::max(u.bottom, bottom);
            }
            continue;
        }
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            const double top = rect.top() + line.y();
            units_.push_back({top, top + line.height(), block.position() + line.textStart(),
                              breakBefore && i == 0});
        }
        if (lines->lineCount() == 0)
            units_.push_back({rect.top(), rect.bottom(), block.position(), breakBefore});
    }
}

RichTextPager::Page RichTextPager::Measure(int start, int end, double height) const {
    const int textEnd = TextEnd();
    if (end < 0 || end > textEnd) end = textEnd;
    Page page;
    page.next = std::max(start, end);
    if (units_.empty() || start >= end) return page;
    // the unit holding start
    auto first = std::upper_bound(units_.begin(), units_.end(), start,
                                  [](int pos, const Unit& u) { return pos < u.start; });
    if (first != units_.begin()) --first;
    page.top = first->top;
    page.bottom = std::min(first->bottom, first->top + std::max(height, 1.0));  // a unit taller than the page is cut
    for (auto it = first + 1;; ++it) {
        if (it == units_.end() || it->start >= end) {
            page.next = end;
            return page;
        }
        if (it->breakBefore || it->bottom - page.top > height) {
            page.next = it->start;
            return page;
        }
        page.bottom = std::max(page.bottom, it->bottom);
    }
}

void RichTextPager::Draw(QPainter& painter, const Page& page) const {
    painter.save();
    painter.translate(0, -page.top);
    const QRectF clip(0, page.top, width_, std::max(0.0, page.bottom - page.top));
    painter.setClipRect(clip, Qt::IntersectClip);
    layout_->drawContents(&painter, clip);
    painter.restore();
}

}  // namespace richtext
