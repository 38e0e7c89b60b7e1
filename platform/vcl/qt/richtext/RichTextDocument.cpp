#include "platform/vcl/richtext/RichTextDocument.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include "platform/vcl/qt/richtext/RichTextPager.h"
#include "platform/vcl/qt/richtext/RichTextQt.h"
#include "platform/vcl/qt/richtext/RtfPicture.h"
#include "platform/vcl/qt/richtext/RtfReader.h"
#include "platform/vcl/qt/richtext/RtfWriter.h"
#include "platform/win/WinString.h"

namespace richtext {

namespace {

constexpr char16_t kCellMark = 0x0007;

bool IsWordUnit(char16_t u) { return QChar(u).isLetterOrNumber() || u == u'_'; }

QString FromWide(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

WideString ToWide(const QString& text) { return text.toStdU16String(); }

// Inserts text, each CR, LF or CR LF ending a paragraph.
void InsertTextWithBreaks(QTextCursor& cursor, const QString& text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (!end && text[i] != u'\r' && text[i] != u'\n') continue;
        if (i > start) cursor.insertText(text.mid(start, i - start));
        if (end) break;
        cursor.insertBlock();
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
}

void AppendFramePlainText(const QTextFrame* frame, QString& out, bool& first);

void AppendBlockPlainText(const QTextBlock& block, QString& out, bool& first) {
    if (!first) out += QStringLiteral("\r\n");
    first = false;
    QString text = block.text();
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    out += text;
}

void AppendTablePlainText(const QTextTable* table, QString& out, bool& first) {
    for (int r = 0; r < table->rows(); ++r) {
        if (!first) out += QStringLiteral("\r\n");
        first = false;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (c > 0) out += u'\t';
            if (cell.row() != r || cell.column() != c) continue;
            QString cellText;
            bool cellFirst = true;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (const QTextFrame* f = it.currentFrame()) AppendFramePlainText(f, cellText, cellFirst);
                else AppendBlockPlainText(it.currentBlock(), cellText, cellFirst);
            }
            out += cellText.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        }
    }
}

// The empty paragraphs the document keeps before a table at the start of a frame and after
// a table at its end hold no text of their own.
bool IsStructuralBlock(const QTextFrame* frame, const QTextBlock& block) {
    if (block.length() != 1) return false;
    const bool first = block.position() == frame->firstPosition();
    const bool last = block.position() + block.length() - 1 == frame->lastPosition();
    if (first && block.next().isValid() && QTextCursor(block.next()).currentTable() &&
        QTextCursor(block.next()).currentTable() != QTextCursor(block).currentTable())
        return true;
    return last && block.previous().isValid() && QTextCursor(block.previous()).currentTable() &&
           QTextCursor(block.previous()).currentTable() != QTextCursor(block).currentTable();
}

void AppendFramePlainText(const QTextFrame* frame, QString& out, bool& first) {
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (!it.currentFrame() && IsStructuralBlock(frame, it.currentBlock())) continue;
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(child))
                AppendTablePlainText(table, out, first);
            else
                AppendFramePlainText(child, out, first);
        } else {
            AppendBlockPlainText(it.currentBlock(), out, first);
        }
    }
}

}  // namespace

struct RichTextDocument::Impl {
    Impl() {
        doc.setUndoRedoEnabled(false);
        QObject::connect(&doc, &QTextDocument::contentsChanged, &doc, [this] { ++generation; });
    }

    LONG End() const { return std::max(0, doc.characterCount() - 1); }
    // A selection bound as a cursor position (the final mark cannot be selected into).
    int Clamp(LONG pos) const { return static_cast<int>(std::clamp<LONG>(pos, 0, End())); }
    QTextCursor SelectionCursor() {
        QTextCursor c(&doc);
        c.setPosition(Clamp(selection.cpMin));
        c.setPosition(Clamp(selection.cpMax), QTextCursor::KeepAnchor);
        return c;
    }
    void Collapse(LONG pos) { selection = {pos, pos}; }

    QTextDocument doc;
    CHARRANGE selection;
    LONG targetWidth = 0;
    std::vector<LONG> placeholders;
    std::unique_ptr<RichTextPager> pager;
    quint64 generation = 0;
    quint64 pagerGeneration = 0;
};

RichTextDocument::RichTextDocument() : impl_(std::make_unique<Impl>()) {}
RichTextDocument::~RichTextDocument() = default;

QTextDocument& QtDocumentOf(RichTextDocument& document) { return document.impl_->doc; }

bool RichTextDocument::LoadRtf(std::string_view rtf) {
    if (!RtfReader::LooksLikeRtf(rtf)) return false;
    impl_->doc.clear();
    QTextCursor cursor(&impl_->doc);
    const RtfReadResult result = RtfReader::Read(rtf, cursor);
    impl_->placeholders.assign(result.objectPlaceholders.begin(), result.objectPlaceholders.end());
    impl_->Collapse(0);
    return result.ok;
}

bool RichTextDocument::LoadRtf(std::u16string_view rtf) {
    // Markup is ASCII; every other character becomes a Unicode escape in a group of its own,
    // so that no fallback characters are expected after it.
    std::string bytes;
    bytes.reserve(rtf.size());
    for (char16_t u : rtf) {
        if (u < 0x80) bytes.push_back(static_cast<char>(u));
        else bytes += "{\\uc0\\u" + std::to_string(static_cast<std::int16_t>(u)) + "}";
    }
    return LoadRtf(std::string_view(bytes));
}

void RichTextDocument::SetText(std::u16string_view text) {
    impl_->doc.clear();
    impl_->placeholders.clear();
    QTextCursor cursor(&impl_->doc);
    InsertTextWithBreaks(cursor, FromWide(text));
    impl_->Collapse(0);
}

std::string RichTextDocument::SaveRtf() const { return RtfWriter::Write(impl_->doc); }

WideString RichTextDocument::PlainText() const {
    QString out;
    bool first = true;
    AppendFramePlainText(impl_->doc.rootFrame(), out, first);
    return ToWide(out);
}

WideString RichTextDocument::Text() const { return TextRange(0, impl_->End()); }

WideString RichTextDocument::TextRange(LONG from, LONG to) const {
    from = impl_->Clamp(from);
    to = impl_->Clamp(to);
    WideString out;
    if (to <= from) return out;
    out.reserve(static_cast<std::size_t>(to - from));
    for (LONG i = from; i < to; ++i) {
        const char16_t u = impl_->doc.characterAt(static_cast<int>(i)).unicode();
        switch (u) {
        case QChar::ParagraphSeparator: out.push_back(u'\r'); break;
        case 0xFDD0: case 0xFDD1: out.push_back(kCellMark); break;  // table cell and table end
        default: out.push_back(u); break;
        }
    }
    return out;
}

LONG RichTextDocument::TextLength() const { return impl_->End(); }

LONG RichTextDocument::GetTextLengthEx(DWORD flags) const {
    LONG length = impl_->End();
    if (flags & GTL_USECRLF) length += impl_->doc.blockCount() - 1;
    return length;
}

LONG RichTextDocument::StreamIn(DWORD format, std::string_view bytes) {
    const LONG before = impl_->End();
    const bool selectionOnly = format & SFF_SELECTION;
    QTextCursor cursor = selectionOnly ? impl_->SelectionCursor() : QTextCursor(&impl_->doc);
    if (!selectionOnly) {
        impl_->doc.clear();
        impl_->placeholders.clear();
        cursor = QTextCursor(&impl_->doc);
    } else if (cursor.hasSelection()) {
        cursor.removeSelectedText();
    }
    const LONG removed = before - impl_->End();
    const DWORD kind = format & 0xF;
    if ((kind == SF_RTF || kind == SF_RTFNOOBJS) && RtfReader::LooksLikeRtf(bytes)) {
        const RtfReadResult result = RtfReader::Read(bytes, cursor);
        if (!selectionOnly)
            impl_->placeholders.assign(result.objectPlaceholders.begin(), result.objectPlaceholders.end());
    } else if (format & SF_UNICODE) {
        QString text(static_cast<qsizetype>(bytes.size() / 2), Qt::Uninitialized);
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            text[static_cast<qsizetype>(i / 2)] = QChar(static_cast<char16_t>(
                static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        InsertTextWithBreaks(cursor, text);
    } else {
        InsertTextWithBreaks(cursor, FromWide(Utf8ToUtf16(bytes)));
    }
    impl_->Collapse(selectionOnly ? cursor.position() : 0);
    return impl_->End() - (before - removed);
}

std::string RichTextDocument::StreamOut(DWORD format) const {
    const bool selectionOnly = format & SFF_SELECTION;
    const int from = selectionOnly ? impl_->Clamp(std::min(impl_->selection.cpMin, impl_->selection.cpMax)) : 0;
    const int to = selectionOnly ? impl_->Clamp(std::max(impl_->selection.cpMin, impl_->selection.cpMax))
                                 : static_cast<int>(impl_->End());
    const DWORD kind = format & 0xF;
    if (kind == SF_RTF || kind == SF_RTFNOOBJS) return RtfWriter::Write(impl_->doc, from, to);

    WideString text;
    if (selectionOnly) {
        for (char16_t u : TextRange(from, to)) {
            if (u == u'\r') text += u"\r\n";
            else if (u == kCellMark) text += u'\t';
            else if (u == 0x2028) text += u"\r\n";
            else if (u != QChar::ObjectReplacementCharacter) text += u;
        }
    } else {
        text = PlainText();
    }
    if (!(format & SF_UNICODE)) return Utf16ToUtf8(text);
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t u : text) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    }
    return out;
}

void RichTextDocument::SetSel(LONG start, LONG end) {
    const LONG all = impl_->End() + 1;  // a whole-text selection takes in the final mark
    if (start == -1) {
        impl_->Collapse(std::min(impl_->selection.cpMax, impl_->End()));
        return;
    }
    if (start == 0 && end == -1) {
        impl_->selection = {0, all};
        return;
    }
    if (end < 0) end = all;
    start = std::clamp<LONG>(start, 0, all);
    end = std::clamp<LONG>(end, 0, all);
    impl_->selection = {std::min(start, end), std::max(start, end)};
}

LONG RichTextDocument::ExSetSel(CHARRANGE range) {
    SetSel(range.cpMin, range.cpMax);
    return impl_->selection.cpMax;
}

CHARRANGE RichTextDocument::GetSel() const { return impl_->selection; }

WideString RichTextDocument::GetSelText() const {
    return TextRange(impl_->selection.cpMin, impl_->selection.cpMax);
}

LONG RichTextDocument::FindText(DWORD flags, CHARRANGE range, std::u16string_view needle,
                                CHARRANGE* found) const {
    if (needle.empty()) return -1;
    const WideString text = Text();
    const LONG length = static_cast<LONG>(text.size());
    const LONG n = static_cast<LONG>(needle.size());
    const bool down = flags & FR_DOWN;
    const bool matchCase = flags & FR_MATCHCASE;
    const bool wholeWord = flags & FR_WHOLEWORD;
    LONG lo, hi;  // the match must lie within [lo, hi)
    if (down) {
        lo = std::clamp<LONG>(range.cpMin, 0, length);
        hi = range.cpMax < 0 ? length : std::clamp<LONG>(range.cpMax, 0, length);
    } else {
        hi = range.cpMin < 0 ? length : std::clamp<LONG>(range.cpMin, 0, length);
        lo = range.cpMax < 0 ? 0 : std::clamp<LONG>(range.cpMax, 0, length);
    }
    const auto fold = [matchCase](char16_t u) {
        return matchCase ? u : static_cast<char16_t>(QChar(u).toCaseFolded().unicode());
    };
    const auto matchesAt = [&](LONG at) {
        for (LONG k = 0; k < n; ++k)
            if (fold(text[at + k]) != fold(needle[k])) return false;
        if (wholeWord) {
            if (at > 0 && IsWordUnit(text[at - 1]) && IsWordUnit(needle.front())) return false;
            if (at + n < length && IsWordUnit(text[at + n]) && IsWordUnit(needle.back())) return false;
        }
        return true;
    };
    if (hi - lo < n) return -1;
    for (LONG i = 0; i <= hi - lo - n; ++i) {
        const LONG at = down ? lo + i : hi - n - i;
        if (!matchesAt(at)) continue;
        if (found) *found = {at, at + n};
        return at;
    }
    return -1;
}

void RichTextDocument::ReplaceSel(std::u16string_view text) {
    QTextCursor cursor = impl_->SelectionCursor();
    // Replacing with nothing deletes the selection; inserting no text would leave it standing.
    if (text.empty()) cursor.removeSelectedText();
    InsertTextWithBreaks(cursor, FromWide(text));
    impl_->Collapse(cursor.position());
}

bool RichTextDocument::InsertPicture(std::string_view bytes, LONG widthTwips, LONG heightTwips) {
    const QImage image = RtfPictureDecoder::DecodeFile(bytes);
    if (image.isNull()) return false;
    static unsigned serial = 0;
    const QString name = QStringLiteral("inserted:%1").arg(++serial);
    impl_->doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    RtfPicture size;
    size.goalWidth = widthTwips;
    size.goalHeight = heightTwips;
    const QSize shown = RtfPictureDecoder::DisplaySize(size, image.size());
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(shown.width());
    format.setHeight(shown.height());
    QTextCursor cursor = impl_->SelectionCursor();
    cursor.insertImage(format);
    impl_->Collapse(cursor.position());
    return true;
}

void RichTextDocument::SetTargetDevice(LONG lineWidthTwips) {
    impl_->targetWidth = std::max<LONG>(0, lineWidthTwips);
    if (impl_->targetWidth > 1) impl_->doc.setTextWidth(impl_->targetWidth / 15.0);
    else impl_->doc.setTextWidth(-1);
}

LONG RichTextDocument::TargetLineWidth() const { return impl_->targetWidth; }

LONG RichTextDocument::FormatRange(const RichTextFormatRange* range, bool render) {
    if (!range) {
        impl_->pager.reset();
        return 0;
    }
    const double widthPx = std::max<LONG>(1, range->rc.right - range->rc.left) / 15.0;
    const double heightPx = std::max<LONG>(0, range->rc.bottom - range->rc.top) / 15.0;
    if (!impl_->pager || impl_->pagerGeneration != impl_->generation ||
        std::abs(impl_->pager->Width() - widthPx) > 0.01) {
        impl_->pager = std::make_unique<RichTextPager>(impl_->doc, widthPx);
        impl_->pagerGeneration = impl_->generation;
    }
    const int start = impl_->Clamp(range->chrg.cpMin);
    const int end = range->chrg.cpMax < 0 ? -1 : impl_->Clamp(range->chrg.cpMax);
    const RichTextPager::Page page = impl_->pager->Measure(start, end, heightPx);
    if (render && range->canvas) {
        QPainter& painter = range->canvas->Painter();
        const double sx = range->canvas->DpiX() / 1440.0, sy = range->canvas->DpiY() / 1440.0;
        painter.save();
        painter.translate(range->rc.left * sx, range->rc.top * sy);
        painter.scale(range->canvas->DpiX() / RichTextPager::kLayoutDpi,
                      range->canvas->DpiY() / RichTextPager::kLayoutDpi);
        impl_->pager->Draw(painter, page);
        painter.restore();
    }
    return page.next;
}

const std::vector<LONG>& RichTextDocument::ObjectPlaceholders() const { return impl_->placeholders; }

}  // namespace richtext
