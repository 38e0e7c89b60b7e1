#include "platform/vcl/qt/richtext/RtfWriter.h"

#include <string>

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextImageFormat>
#include <QUrl>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

#include "platform/vcl/qt/richtext/RichTextQt.h"
#include "platform/vcl/richtext/RichTextDocument.h"
#include "tests/platform/vcl/richtext/GuiApp.h"

using namespace richtext;

namespace {

const char kSample[] =
    "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
    "{\\colortbl;\\red200\\green0\\blue0;\\red255\\green255\\blue0;}"
    "\\pard\\qc\\li720\\sb120\\sa60\\sl360\\slmult1\\tx1440 {\\f0\\fs28\\b Title} \\u8364?\\par"
    "\\pard\\qj plain {\\i it} {\\ul un} {\\uldash dash} {\\strike st} {\\cf1 red} {\\highlight2 hi}"
    " x{\\super 2} {\\f1 mono} a\\tab b\\line c \\{\\}\\\\ caf\\'e9 \\u26085?\\par"
    "\\pard {\\field{\\*\\fldinst HYPERLINK \"https://example.org/?q=\\\\\"}{\\fldrslt link}}\\par"
    "\\trowd\\clbrdrt\\brdrs\\cellx1440\\cellx4320\\pard\\intbl A\\cell B\\par B2\\cell\\row"
    "\\pard\\pagebb after}";

class RtfWriterTest : public ::testing::Test {
protected:
    void SetUp() override { richtext_test::EnsureGuiApp(); }
    QTextCharFormat FormatOf(RichTextDocument& d, const QString& text) {
        QTextCursor c = QtDocumentOf(d).find(text);
        EXPECT_FALSE(c.isNull()) << text.toStdString();
        c.setPosition(c.selectionStart() + 1);
        return c.charFormat();
    }
};

TEST_F(RtfWriterTest, RoundTripKeepsTextAndFormatting) {
    RichTextDocument first;
    ASSERT_TRUE(first.LoadRtf(kSample));
    const std::string written = first.SaveRtf();
    RichTextDocument second;
    ASSERT_TRUE(second.LoadRtf(written)) << written;
    EXPECT_EQ(second.PlainText(), first.PlainText());
    EXPECT_EQ(second.Text(), first.Text());

    for (const char* word : {"Title", "it", "un", "dash", "st", "red", "hi", "2", "mono", "link"}) {
        SCOPED_TRACE(word);
        const QTextCharFormat a = FormatOf(first, word), b = FormatOf(second, word);
        EXPECT_EQ(a.fontWeight(), b.fontWeight());
        EXPECT_EQ(a.fontItalic(), b.fontItalic());
        EXPECT_EQ(a.underlineStyle(), b.underlineStyle());
        EXPECT_EQ(a.fontStrikeOut(), b.fontStrikeOut());
        EXPECT_EQ(a.foreground().color(), b.foreground().color());
        EXPECT_EQ(a.background().color(), b.background().color());
        EXPECT_EQ(a.verticalAlignment(), b.verticalAlignment());
        if (a.hasProperty(QTextFormat::FontFamilies)) {  // unnamed text gets the default font's name
            EXPECT_EQ(a.fontFamilies(), b.fontFamilies());
        }
        EXPECT_DOUBLE_EQ(a.fontPointSize(), b.fontPointSize());
        EXPECT_EQ(a.anchorHref(), b.anchorHref());
    }
    EXPECT_EQ(FormatOf(second, "link").anchorHref(), "https://example.org/?q=\\");

    const QTextBlockFormat t1 = QtDocumentOf(first).find("Title").blockFormat();
    const QTextBlockFormat t2 = QtDocumentOf(second).find("Title").blockFormat();
    EXPECT_EQ(t1.alignment(), t2.alignment());
    EXPECT_DOUBLE_EQ(t1.leftMargin(), t2.leftMargin());
    EXPECT_DOUBLE_EQ(t1.topMargin(), t2.topMargin());
    EXPECT_DOUBLE_EQ(t1.bottomMargin(), t2.bottomMargin());
    EXPECT_DOUBLE_EQ(t1.lineHeight(), t2.lineHeight());
    EXPECT_EQ(t1.tabPositions().size(), t2.tabPositions().size());
    EXPECT_TRUE(QtDocumentOf(first).find("after").blockFormat().pageBreakPolicy() &
                QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_TRUE(QtDocumentOf(second).find("after").blockFormat().pageBreakPolicy() &
                QTextFormat::PageBreak_AlwaysBefore);

    QTextTable* table = QTextCursor(QtDocumentOf(second).find("B2")).currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 1);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_GT(table->format().border(), 0);
}

TEST_F(RtfWriterTest, PicturesRoundTripAsPng) {
    QImage image(6, 3, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    RichTextDocument first;
    first.SetText(u"ab");
    first.SetSel(1, 1);
    ASSERT_TRUE(first.InsertPicture(std::string_view(png.constData(), png.size()), 900, 450));
    RichTextDocument second;
    ASSERT_TRUE(second.LoadRtf(first.SaveRtf()));
    EXPECT_EQ(second.Text(), u"a\uFFFCb");
    QTextCursor c(&QtDocumentOf(second));
    c.setPosition(2);
    const QTextImageFormat f = c.charFormat().toImageFormat();
    EXPECT_DOUBLE_EQ(f.width(), 60.0);
    EXPECT_DOUBLE_EQ(f.height(), 30.0);
    const QImage back = QtDocumentOf(second).resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    EXPECT_EQ(back.size(), QSize(6, 3));
    EXPECT_EQ(QColor(back.pixel(0, 0)), QColor(Qt::green));
}

TEST_F(RtfWriterTest, SelectionWritesOnlyTheRange) {
    RichTextDocument doc;
    ASSERT_TRUE(doc.LoadRtf("{\\rtf1 one {\\b two}\\par three\\par four}"));
    doc.SetSel(4, 13);  // "two", the mark, "three"
    RichTextDocument part;
    ASSERT_TRUE(part.LoadRtf(doc.StreamOut(SF_RTF | SFF_SELECTION)));
    EXPECT_EQ(part.PlainText(), u"two\r\nthree");
    EXPECT_EQ(FormatOf(part, "two").fontWeight(), QFont::Bold);
}

TEST_F(RtfWriterTest, NonAsciiFontNamesSurvive) {
    RichTextDocument doc;
    ASSERT_TRUE(doc.LoadRtf("{\\rtf1\\ansicpg932{\\fonttbl{\\f0\\fcharset128 \\'82\\'6c\\'82\\'72 Gothic;}}\\f0 x}"));
    const QStringList family = FormatOf(doc, "x").fontFamilies().toStringList();
    ASSERT_EQ(family.size(), 1);
    EXPECT_EQ(family[0], QString::fromUtf8("\xef\xbc\xad\xef\xbc\xb3 Gothic"));
    RichTextDocument back;
    ASSERT_TRUE(back.LoadRtf(doc.SaveRtf()));
    EXPECT_EQ(FormatOf(back, "x").fontFamilies().toStringList(), family);
}

}  // namespace
