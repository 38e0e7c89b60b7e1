#include "platform/vcl/qt/richtext/RtfReader.h"

#include <string>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>

#include <gtest/gtest.h>

#include "platform/vcl/qt/richtext/RichTextQt.h"
#include "platform/vcl/richtext/RichTextDocument.h"
#include "tests/platform/vcl/richtext/GuiApp.h"

using namespace richtext;

namespace {

class RtfReaderTest : public ::testing::Test {
protected:
    void SetUp() override { richtext_test::EnsureGuiApp(); }

    QTextDocument& Load(const std::string& rtf) {
        EXPECT_TRUE(doc_.LoadRtf(rtf)) << rtf;
        return QtDocumentOf(doc_);
    }
    std::u16string Plain(const std::string& rtf) {
        Load(rtf);
        return doc_.PlainText();
    }
    // The character format at the first occurrence of the text.
    QTextCharFormat FormatOf(const QString& text) {
        QTextDocument& d = QtDocumentOf(doc_);
        QTextCursor c = d.find(text);
        EXPECT_FALSE(c.isNull()) << text.toStdString();
        c.setPosition(c.selectionStart() + 1);
        return c.charFormat();
    }
    QTextBlockFormat BlockOf(const QString& text) {
        QTextCursor c = QtDocumentOf(doc_).find(text);
        EXPECT_FALSE(c.isNull()) << text.toStdString();
        return c.blockFormat();
    }

    RichTextDocument doc_;
};

struct TextCase {
    const char* name;
    std::string rtf;
    std::u16string text;
};

TEST_F(RtfReaderTest, TextOfEachFeature) {
    const TextCase cases[] = {
        {"plain", "{\\rtf1 Hello world}", u"Hello world"},
        {"paragraphs", "{\\rtf1 one\\par two\\par three}", u"one\r\ntwo\r\nthree"},
        {"escapes", "{\\rtf1 a\\{b\\}c\\\\d}", u"a{b}c\\d"},
        {"specials", "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~x}",
         u"\u2014\u2013\u2022\u2018\u2019\u201C\u201D\u00A0x"},
        {"tab and line", "{\\rtf1 a\\tab b\\line c}", u"a\tb\r\nc"},
        {"ansi code page", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", u"\u041F\u0440\u0438"},
        {"default 1252", "{\\rtf1\\ansi caf\\'e9 \\'80}", u"caf\u00E9 \u20AC"},
        {"font charset", "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset161 Greek;}}"
                         "\\f1 \\'e1\\'e2\\f0 \\'e1}", u"\u03B1\u03B2\u00E1"},
        {"font cpg", "{\\rtf1{\\fonttbl{\\f0\\cpg1250 X;}}\\f0 \\'9a}", u"\u0161"},
        {"double-byte", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82\\'a2}", u"\u3042\u3044"},
        {"unicode with fallback", "{\\rtf1\\uc1 \\u26085?\\u26412?}", u"\u65E5\u672C"},
        {"uc2 skips two", "{\\rtf1\\uc2 \\u26085\\'93\\'fa x}", u"\u65E5 x"},
        {"negative unicode", "{\\rtf1 \\u-3971?}", u"\uF07D"},
        {"surrogate pair", "{\\rtf1\\uc1 \\u-10179?\\u-8704?}", u"\U0001F600"},
        {"uc0", "{\\rtf1\\uc0 \\u233 x}", u"\u00E9x"},
        {"skip resets at group end", "{\\rtf1\\uc1 {\\u233}x}", u"\u00E9x"},
        {"starred destination", "{\\rtf1 a{\\*\\unknown hidden}b}", u"ab"},
        {"ignored destinations", "{\\rtf1{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}a"
                                 "{\\header H}{\\footnote F}b}", u"ab"},
        {"unknown word keeps text", "{\\rtf1 a\\unknownword b}", u"ab"},
        {"hidden text", "{\\rtf1 a{\\v secret}b}", u"ab"},
        {"list text shown", "{\\rtf1{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}item\\par"
                            "{\\listtext 2.\\tab}next}", u"\u00B7\titem\r\n2.\tnext"},
        {"field result", "{\\rtf1{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}}", u"7"},
        {"object result", "{\\rtf1{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0102}"
                          "{\\result shown}}}", u"shown"},
        {"unicode pair", "{\\rtf1{\\upr{ansi}{\\*\\ud{\\u8364?}}}}", u"\u20AC"},
        {"shape picture text", "{\\rtf1 a{\\shp{\\*\\shpinst x}{\\shprslt b}}}", u"ab"},
        {"mailer html wrapping", "{\\rtf1\\ansi\\fromhtml1{\\*\\htmltag19 <html>}\\htmlrtf "
                                 "{\\*\\htmltag64 <p>}Hi\\htmlrtf0 {\\*\\htmltag84 &nbsp;}\\htmlrtf "
                                 "\\'a0\\htmlrtf0 there}", u"Hi\u00A0there"},
        {"text after root ignored", "{\\rtf1 a}b", u"a"},
        {"control bytes dropped", std::string("{\\rtf1 a\x01\x00" "b}", 11), u"ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Plain(c.rtf), c.text);
    }
}

TEST_F(RtfReaderTest, CharacterFormatting) {
    Load("{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fmodern Courier New;}}"
         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green255\\blue0;}"
         "\\f0\\fs20 n {\\b B}{\\i I}{\\ul U}{\\uldb D}{\\ulwave W}{\\uld T}{\\strike S}"
         "{\\cf1 R}{\\highlight3 H}{\\cb2 G}{\\super P}{\\sub Q}{\\f1\\fs36 M}{\\b\\plain K}"
         "{\\caps C}{\\ul\\ulnone N}}");
    EXPECT_DOUBLE_EQ(FormatOf("n").fontPointSize(), 10.0);
    EXPECT_EQ(FormatOf("n").fontFamilies().toStringList(), QStringList{"Times New Roman"});
    EXPECT_EQ(FormatOf("B").fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatOf("I").fontItalic());
    EXPECT_EQ(FormatOf("U").underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(FormatOf("D").underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(FormatOf("W").underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_EQ(FormatOf("T").underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_TRUE(FormatOf("S").fontStrikeOut());
    EXPECT_EQ(FormatOf("R").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(FormatOf("H").background().color(), QColor(255, 255, 0));
    EXPECT_EQ(FormatOf("G").background().color(), QColor(0, 0, 255));
    EXPECT_EQ(FormatOf("P").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(FormatOf("Q").verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(FormatOf("M").fontFamilies().toStringList(), QStringList{"Courier New"});
    EXPECT_EQ(FormatOf("M").fontStyleHint(), QFont::Monospace);
    EXPECT_DOUBLE_EQ(FormatOf("M").fontPointSize(), 18.0);
    EXPECT_NE(FormatOf("K").fontWeight(), QFont::Bold);  // \plain resets
    EXPECT_DOUBLE_EQ(FormatOf("K").fontPointSize(), 12.0);
    EXPECT_EQ(FormatOf("C").fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(FormatOf("N").underlineStyle(), QTextCharFormat::NoUnderline);
    EXPECT_FALSE(FormatOf("n").foreground().color() == QColor(255, 0, 0));  // colour 0 is automatic
}

TEST_F(RtfReaderTest, ParagraphFormatting) {
    Load("{\\rtf1\\pard\\qc centred\\par\\pard\\qr\\li720\\ri360\\fi-360\\sb240\\sa120 right\\par"
         "\\pard\\qj\\sl360\\slmult1\\tx1440\\tqr\\tx2880 justified\\par\\pard\\sl-300\\slmult0 exact"
         "\\par\\pard left\\page after}");
    EXPECT_EQ(BlockOf("centred").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextBlockFormat r = BlockOf("right");
    EXPECT_EQ(r.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_DOUBLE_EQ(r.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(r.rightMargin(), 24.0);
    EXPECT_DOUBLE_EQ(r.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(r.topMargin(), 16.0);
    EXPECT_DOUBLE_EQ(r.bottomMargin(), 8.0);
    const QTextBlockFormat j = BlockOf("justified");
    EXPECT_EQ(j.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(j.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(j.lineHeight(), 150.0);
    ASSERT_EQ(j.tabPositions().size(), 2);
    EXPECT_DOUBLE_EQ(j.tabPositions()[0].position, 96.0);
    EXPECT_EQ(j.tabPositions()[1].type, QTextOption::RightTab);
    EXPECT_EQ(BlockOf("exact").lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_EQ(BlockOf("left").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);  // \pard resets
    EXPECT_FALSE(BlockOf("left").pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_TRUE(BlockOf("after").pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

TEST_F(RtfReaderTest, TablesBecomeTables) {
    QTextDocument& d = Load(
        "{\\rtf1 before\\par"
        "\\trowd\\trgaph108\\clbrdrt\\brdrs\\cellx1440\\cellx4320\\pard\\intbl A1\\cell A2\\cell\\row"
        "\\trowd\\cellx1440\\cellx4320\\pard\\intbl B1\\par more\\cell B2\\cell\\row"
        "\\pard after}");
    QTextTable* table = QTextCursor(d.find("A1")).currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    const auto cellText = [&](int r, int c) {
        QTextCursor cur = table->cellAt(r, c).firstCursorPosition();
        cur.setPosition(table->cellAt(r, c).lastPosition(), QTextCursor::KeepAnchor);
        return cur.selectedText();
    };
    EXPECT_EQ(cellText(0, 1), "A2");
    EXPECT_EQ(cellText(1, 0), QString("B1") + QChar::ParagraphSeparator + "more");
    EXPECT_EQ(cellText(1, 1), "B2");
    const auto widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_DOUBLE_EQ(widths[1].rawValue(), 192.0);  // (4320 - 1440) twips
    EXPECT_GT(table->format().border(), 0);
    EXPECT_EQ(QTextCursor(d.find("after")).currentTable(), nullptr);
    EXPECT_EQ(doc_.PlainText(), u"before\r\nA1\tA2\r\nB1 more\tB2\r\nafter");
}

TEST_F(RtfReaderTest, TableDefinitionAfterCellsAndNestedTablesAsText) {
    // Later word processors write the row definition after the row's cells.
    QTextDocument& d = Load(
        "{\\rtf1\\pard\\intbl\\itap1 x\\cell \\pard\\intbl\\itap2 n1\\nestcell n2\\nestcell"
        "{\\*\\nesttableprops\\trowd\\cellx100\\nestrow}\\pard\\intbl\\itap1 y\\cell"
        "{\\trowd\\cellx2000\\cellx4000\\row}\\pard z}");
    QTextTable* table = QTextCursor(d.find("x")).currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(table->rows(), 1);
    EXPECT_EQ(doc_.PlainText(), u"x\tn1\tn2\ty\r\nz");
}

TEST_F(RtfReaderTest, RaggedAndStrayCells) {
    // more cells than the definition, a row without a definition and a \cell without \intbl
    Plain("{\\rtf1\\trowd\\cellx100\\intbl a\\cell b\\cell c\\cell\\row\\intbl d\\cell\\row\\pard e\\cell f}");
    EXPECT_EQ(doc_.PlainText(), u"a\tb\tc\r\nd\t\t\r\ne\tf");
}

TEST_F(RtfReaderTest, HyperlinkFieldsBecomeLinks) {
    Load("{\\rtf1{\\field{\\*\\fldinst{HYPERLINK \"https://example.org/a?b=1\"}}"
         "{\\fldrslt{\\ul\\cf1 site}}} "
         "{\\field{\\*\\fldinst HYPERLINK \\\\l \"top\" \\\\o \"tip\"}{\\fldrslt anchor}} "
         "{\\field{\\*\\fldinst{ HYPERLINK mailto:a@b.c }}{\\fldrslt mail}}"
         "{\\field{\\*\\fldinst DATE}{\\fldrslt today}}}");
    EXPECT_TRUE(FormatOf("site").isAnchor());
    EXPECT_EQ(FormatOf("site").anchorHref(), "https://example.org/a?b=1");
    EXPECT_EQ(FormatOf("anchor").anchorHref(), "#top");
    EXPECT_EQ(FormatOf("mail").anchorHref(), "mailto:a@b.c");
    EXPECT_FALSE(FormatOf("today").isAnchor());
    EXPECT_EQ(doc_.PlainText(), u"site anchor mailtoday");
}

TEST_F(RtfReaderTest, ObjectPlaceholdersAreRecorded) {
    Load("{\\rtf1 ab{\\objattph}cd\\par{\\objattph}}");
    ASSERT_EQ(doc_.ObjectPlaceholders().size(), 2u);
    EXPECT_EQ(doc_.ObjectPlaceholders()[0], 2);
    EXPECT_EQ(doc_.ObjectPlaceholders()[1], 5);
}

TEST_F(RtfReaderTest, WideRtfKeepsCharactersBeyondTheCodePage) {
    RichTextDocument d;
    ASSERT_TRUE(d.LoadRtf(std::u16string(u"{\\rtf1\\ansi\\ansicpg1252\\uc1 \u65E5\u672C {\\b \U0001F600}\\'e9}")));
    EXPECT_EQ(d.PlainText(), u"\u65E5\u672C \U0001F600\u00E9");
}

TEST_F(RtfReaderTest, NotRtfIsRefused) {
    RichTextDocument d;
    d.SetText(u"keep");
    EXPECT_FALSE(d.LoadRtf("plain text"));
    EXPECT_FALSE(d.LoadRtf(" {\\rtf1 leading blank}"));
    EXPECT_EQ(d.PlainText(), u"keep");
    EXPECT_TRUE(RtfReader::LooksLikeRtf("{\\RTF1"));
    EXPECT_TRUE(RtfReader::LooksLikeRtf("  {\\rtf1", true));
    EXPECT_TRUE(d.LoadRtf("{\\urtf1 u}"));
}

}  // namespace
