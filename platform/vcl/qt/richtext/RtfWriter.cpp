#include "platform/vcl/qt/richtext/RtfWriter.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

namespace richtext {

namespace {

constexpr double kTwipsPerPixel = 15.0;

int Twips(double pixels) { return static_cast<int>(std::lround(pixels * kTwipsPerPixel)); }

class Writer {
public:
    Writer(const QTextDocument& doc, int from, int to) : doc_(doc), from_(from), to_(to) {}

    std::string Run();

private:
    void WriteFrame(const QTextFrame* frame, bool inTable);
    void WriteTable(const QTextTable* table);
    void WriteBlock(const QTextBlock& block, bool inTable, bool lastInCell);
    void WriteParagraphFormat(const QTextBlockFormat& f, bool inTable);
    void WriteCharFormat(const QTextCharFormat& f);
    void WriteText(const QString& text);
    void WriteImage(const QTextImageFormat& f);
    int FontIndex(const QTextCharFormat& f);
    int ColorIndex(const QColor& c);
    bool Intersects(int start, int end) const { return end > from_ && start < to_; }

    const QTextDocument& doc_;
    int from_, to_;
    std::string body_;
    std::map<QString, int> fonts_;
    std::vector<QString> fontNames_;
    std::vector<QColor> colors_;
    bool pendingPar_ = false;
};

std::string Writer::Run() {
    WriteFrame(doc_.rootFrame(), false);
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    if (fontNames_.empty()) fontNames_.push_back(doc_.defaultFont().family());
    for (std::size_t i = 0; i < fontNames_.size(); ++i) {
        const QByteArray name = fontNames_[i].toUtf8();
        bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return c > 0x1F && c < 0x7F; });
        out += "{\\f" + std::to_string(i) + "\\fnil" + (ascii ? "\\fcharset0 " : "\\cpg65001 ");
        for (char c : name) {
            if (c == ';' || c == '{' || c == '}' || c == '\\' || static_cast<unsigned char>(c) >= 0x80) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned char>(c));
                out += hex;
            } else {
                out += c;
            }
        }
        out += ";}";
    }
    out += "}{\\colortbl;";
    for (const QColor& c : colors_)
        out += "\\red" + std::to_string(c.red()) + "\\green" + std::to_string(c.green()) + "\\blue" +
               std::to_string(c.blue()) + ";";
    out += "}\n\\viewkind4";
    out += body_;
    out += "}\n";
    return out;
}

void Writer::WriteFrame(const QTextFrame* frame, bool inTable) {
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (!Intersects(child->firstPosition(), child->lastPosition() + 1)) continue;
            if (const auto* table = qobject_cast<const QTextTable*>(child); table && !inTable)
                WriteTable(table);
            else
                WriteFrame(child, inTable);  // nested tables and frames run on as paragraphs
        } else {
            const QTextBlock block = it.currentBlock();
            if (Intersects(block.position(), block.position() + block.length()))
                WriteBlock(block, inTable, false);
        }
    }
}

void Writer::WriteTable(const QTextTable* table) {
    const QTextTableFormat format = table->format();
    const auto widths = format.columnWidthConstraints();
    const bool borders = format.border() > 0;
    if (pendingPar_) {
        body_ += "\\par\n";
        pendingPar_ = false;
    }
    for (int r = 0; r < table->rows(); ++r) {
        const QTextTableCell firstCell = table->cellAt(r, 0);
        const QTextTableCell lastCell = table->cellAt(r, table->columns() - 1);
        if (!Intersects(firstCell.firstPosition(), lastCell.lastPosition() + 1)) continue;
        std::string row = "\\trowd\\trgaph" + std::to_string(Twips(format.cellPadding()));
        int edge = 0;
        for (int c = 0; c < table->columns(); ++c) {
            double w = 1440;
            if (c < widths.size() && widths[c].type() == QTextLength::FixedLength)
                w = widths[c].rawValue() * kTwipsPerPixel;
            edge += static_cast<int>(std::lround(w));
            if (borders) row += "\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs";
            row += "\\cellx" + std::to_string(edge);
        }
        body_ += row + "\n";
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {  // covered by a merged cell
                body_ += "\\pard\\intbl\\cell\n";
                continue;
            }
            std::vector<QTextBlock> blocks;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (it.currentFrame()) {
                    for (auto b = it.currentFrame()->begin(); !b.atEnd(); ++b)
                        if (b.currentBlock().isValid()) blocks.push_back(b.currentBlock());
                } else {
                    blocks.push_back(it.currentBlock());
                }
            }
            for (std::size_t i = 0; i < blocks.size(); ++i)
                WriteBlock(blocks[i], true, i + 1 == blocks.size());
            if (blocks.empty()) body_ += "\\pard\\intbl\\cell\n";
        }
        body_ += row + "\\row\n";
    }
}

void Writer::WriteBlock(const QTextBlock& block, bool inTable, bool lastInCell) {
    if (pendingPar_) {
        body_ += "\\par\n";
        pendingPar_ = false;
    }
    WriteParagraphFormat(block.blockFormat(), inTable);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid()) continue;
        const int start = std::max(fragment.position(), from_);
        const int end = std::min(fragment.position() + fragment.length(), to_);
        if (start >= end) continue;
        const QTextCharFormat f = fragment.charFormat();
        if (f.isImageFormat()) {
            for (int i = start; i < end; ++i) WriteImage(f.toImageFormat());
            continue;
        }
        const QString text = fragment.text().mid(start - fragment.position(), end - start);
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        if (!href.isEmpty()) {
            body_ += "{\\field{\\*\\fldinst{HYPERLINK \"";
            WriteText(QString(href).replace(u'"', QStringLiteral("%22")));
            body_ += "\"}}{\\fldrslt";
        }
        body_ += "{";
        WriteCharFormat(f);
        body_ += " ";
        WriteText(text);
        body_ += "}";
        if (!href.isEmpty()) body_ += "}}";
    }
    if (inTable && lastInCell) body_ += "\\cell\n";
    else if (block.position() + block.length() <= to_ && block.next().isValid()) pendingPar_ = true;
}

void Writer::WriteParagraphFormat(const QTextBlockFormat& f, bool inTable) {
    body_ += "\\pard";
    if (inTable) body_ += "\\intbl";
    switch (f.alignment() & Qt::AlignHorizontal_Mask) {
    case Qt::AlignRight: body_ += "\\qr"; break;
    case Qt::AlignHCenter: body_ += "\\qc"; break;
    case Qt::AlignJustify: body_ += "\\qj"; break;
    default: break;
    }
    if (f.layoutDirection() == Qt::RightToLeft) body_ += "\\rtlpar";
    if (const int v = Twips(f.leftMargin())) body_ += "\\li" + std::to_string(v);
    if (const int v = Twips(f.rightMargin())) body_ += "\\ri" + std::to_string(v);
    if (const int v = Twips(f.textIndent())) body_ += "\\fi" + std::to_string(v);
    if (const int v = Twips(f.topMargin())) body_ += "\\sb" + std::to_string(v);
    if (const int v = Twips(f.bottomMargin())) body_ += "\\sa" + std::to_string(v);
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        body_ += "\\sl" + std::to_string(std::lround(f.lineHeight() * 240 / 100)) + "\\slmult1";
        break;
    case QTextBlockFormat::MinimumHeight:
        body_ += "\\sl" + std::to_string(Twips(f.lineHeight())) + "\\slmult0";
        break;
    case QTextBlockFormat::FixedHeight:
        body_ += "\\sl-" + std::to_string(Twips(f.lineHeight())) + "\\slmult0";
        break;
    default: break;
    }
    for (const QTextOption::Tab& tab : f.tabPositions()) {
        if (tab.type == QTextOption::RightTab) body_ += "\\tqr";
        else if (tab.type == QTextOption::CenterTab) body_ += "\\tqc";
        else if (tab.type == QTextOption::DelimiterTab) body_ += "\\tqdec";
        body_ += "\\tx" + std::to_string(Twips(tab.position));
    }
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) body_ += "\\pagebb";
    body_ += " ";
}

void Writer::WriteCharFormat(const QTextCharFormat& f) {
    body_ += "\\f" + std::to_string(FontIndex(f));
    double points = f.fontPointSize();
    if (points <= 0) points = doc_.defaultFont().pointSizeF();
    if (points <= 0) points = 12;
    body_ += "\\fs" + std::to_string(std::lround(points * 2));
    if (f.fontWeight() >= QFont::DemiBold) body_ += "\\b";
    if (f.fontItalic()) body_ += "\\i";
    if (f.fontStrikeOut()) body_ += "\\strike";
    switch (f.underlineStyle()) {
    case QTextCharFormat::NoUnderline: if (f.fontUnderline()) body_ += "\\ul"; break;
    case QTextCharFormat::DashUnderline: body_ += "\\uldash"; break;
    case QTextCharFormat::DotLine: body_ += "\\uld"; break;
    case QTextCharFormat::DashDotLine: body_ += "\\uldashd"; break;
    case QTextCharFormat::DashDotDotLine: body_ += "\\uldashdd"; break;
    case QTextCharFormat::WaveUnderline: case QTextCharFormat::SpellCheckUnderline: body_ += "\\ulwave"; break;
    default: body_ += "\\ul"; break;
    }
    if (f.fontCapitalization() == QFont::AllUppercase) body_ += "\\caps";
    else if (f.fontCapitalization() == QFont::SmallCaps) body_ += "\\scaps";
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        body_ += "\\cf" + std::to_string(ColorIndex(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        body_ += "\\highlight" + std::to_string(ColorIndex(f.background().color()));
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) body_ += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) body_ += "\\sub";
}

void Writer::WriteText(const QString& text) {
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        switch (u) {
        case u'\\': body_ += "\\\\"; continue;
        case u'{': body_ += "\\{"; continue;
        case u'}': body_ += "\\}"; continue;
        case u'\t': body_ += "\\tab "; continue;
        case 0x2028: body_ += "\\line "; continue;
        case 0x00A0: body_ += "\\~"; continue;
        case 0x00AD: body_ += "\\-"; continue;
        case 0x2011: body_ += "\\_"; continue;
        case QChar::ObjectReplacementCharacter: continue;
        default: break;
        }
        if (u >= 0x20 && u < 0x80) {
            body_ += static_cast<char>(u);
        } else if (u < 0x20) {
            continue;
        } else {
            body_ += "\\u" + std::to_string(static_cast<std::int16_t>(u)) + "?";
        }
    }
}

void Writer::WriteImage(const QTextImageFormat& f) {
    const QVariant resource = doc_.resource(QTextDocument::ImageResource, QUrl(f.name()));
    QImage image;
    if (resource.canConvert<QImage>()) image = resource.value<QImage>();
    else if (resource.canConvert<QPixmap>()) image = resource.value<QPixmap>().toImage();
    if (image.isNull()) return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return;
    const double w = f.width() > 0 ? f.width() : image.width();
    const double h = f.height() > 0 ? f.height() : image.height();
    body_ += "{\\pict\\pngblip\\picw" + std::to_string(image.width()) + "\\pich" +
             std::to_string(image.height()) + "\\picwgoal" + std::to_string(Twips(w)) +
             "\\pichgoal" + std::to_string(Twips(h)) + "\n";
    static const char* digits = "0123456789abcdef";
    for (qsizetype i = 0; i < png.size(); ++i) {
        const auto b = static_cast<unsigned char>(png[i]);
        body_ += digits[b >> 4];
        body_ += digits[b & 15];
        if (i % 64 == 63) body_ += '\n';
    }
    body_ += "}";
}

int Writer::FontIndex(const QTextCharFormat& f) {
    const QStringList families = f.fontFamilies().toStringList();
    const QString family = families.isEmpty() ? doc_.defaultFont().family() : families.first();
    const auto it = fonts_.find(family);
    if (it != fonts_.end()) return it->second;
    const int index = static_cast<int>(fontNames_.size());
    fonts_.emplace(family, index);
    fontNames_.push_back(family);
    return index;
}

int Writer::ColorIndex(const QColor& c) {
    for (std::size_t i = 0; i < colors_.size(); ++i)
        if (colors_[i].rgb() == c.rgb()) return static_cast<int>(i) + 1;
    colors_.push_back(c);
    return static_cast<int>(colors_.size());
}

}  // namespace

std::string RtfWriter::Write(const QTextDocument& document, int from, int to) {
    const int end = std::max(0, document.characterCount() - 1);
    if (to < 0 || to > end) to = end;
    from = std::clamp(from, 0, to);
    Writer writer(document, from, to);
    return writer.Run();
}

}  // namespace richtext
