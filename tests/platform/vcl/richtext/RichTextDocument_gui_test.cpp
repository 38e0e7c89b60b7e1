#include "platform/vcl/richtext/RichTextDocument.h"

#include <string>

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

#include "platform/vcl/qt/richtext/RichTextQt.h"
#include "tests/platform/vcl/richtext/GuiApp.h"

using namespace richtext;

namespace {

class RichTextDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { richtext_test::EnsureGuiApp(); }
    RichTextDocument doc_;
};

TEST_F(RichTextDocumentTest, SelectionFollowsTheRichEditRules) {
    doc_.SetText(u"abc\r\ndef");  // positions: a b c CR d e f, then the final mark
    EXPECT_EQ(doc_.TextLength(), 7);
    EXPECT_EQ(doc_.GetTextLengthEx(GTL_USECRLF), 8);
    EXPECT_EQ(doc_.Text(), u"abc\rdef");

    doc_.SetSel(0, -1);  // everything, final mark included
    EXPECT_EQ(doc_.GetSel().cpMin, 0);
    EXPECT_EQ(doc_.GetSel().cpMax, 8);
    EXPECT_EQ(doc_.GetSelText(), u"abc\rdef");

    doc_.SetSel(5, 2);  // reversed bounds are ordered
    EXPECT_EQ(doc_.GetSel().cpMin, 2);
    EXPECT_EQ(doc_.GetSel().cpMax, 5);
    EXPECT_EQ(doc_.GetSelText(), u"c\rd");

    doc_.SetSel(-1, 0);  // removes the selection, keeping the caret at its end
    EXPECT_EQ(doc_.GetSel().cpMin, 5);
    EXPECT_EQ(doc_.GetSel().cpMax, 5);

    EXPECT_EQ(doc_.ExSetSel({3, 100}), 8);  // clamped to the whole text
    EXPECT_EQ(doc_.ExSetSel({4, -1}), 8);

    RichTextDocument empty;
    empty.SetSel(0, -1);
    EXPECT_EQ(empty.GetSel().cpMax, 1);  // only the final mark
    EXPECT_EQ(empty.TextLength(), 0);
}

TEST_F(RichTextDocumentTest, FindTextDownUpCaseAndWholeWord) {
    doc_.SetText(u"Cat scatter cat\rCAT");
    CHARRANGE found;
    EXPECT_EQ(doc_.FindText(FR_DOWN, {0, -1}, u"cat", &found), 0);
    EXPECT_EQ(found.cpMax, 3);
    EXPECT_EQ(doc_.FindText(FR_DOWN | FR_MATCHCASE, {0, -1}, u"cat"), 5);
    EXPECT_EQ(doc_.FindText(FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD, {0, -1}, u"cat"), 12);
    EXPECT_EQ(doc_.FindText(FR_DOWN | FR_WHOLEWORD, {1, -1}, u"cat"), 12);
    EXPECT_EQ(doc_.FindText(FR_DOWN, {13, -1}, u"cat"), 16);  // across the paragraph mark
    EXPECT_EQ(doc_.FindText(FR_DOWN, {0, 14}, u"cat", &found), 0);
    EXPECT_EQ(doc_.FindText(FR_DOWN, {13, 18}, u"cat"), -1);  // a match must end inside the range
    EXPECT_EQ(doc_.FindText(0, {19, 0}, u"cat"), 16);          // upwards: the last one first
    EXPECT_EQ(doc_.FindText(0, {15, 0}, u"cat"), 12);
    EXPECT_EQ(doc_.FindText(FR_DOWN, {0, -1}, u"t\rC"), 14);
    EXPECT_EQ(doc_.FindText(FR_DOWN, {0, -1}, u""), -1);
    EXPECT_EQ(doc_.FindText(FR_DOWN, {0, -1}, u"dog"), -1);
}

TEST_F(RichTextDocumentTest, ReplaceSelectionKeepsFormattingAndMovesTheCaret) {
    ASSERT_TRUE(doc_.LoadRtf("{\\rtf1 a{\\b %%PH%%}z}"));
    CHARRANGE found;
    ASSERT_EQ(doc_.FindText(FR_DOWN, {0, -1}, u"%%PH%%", &found), 1);
    doc_.ExSetSel(found);
    doc_.ReplaceSel(u"one\r\ntwo");
    EXPECT_EQ(doc_.Text(), u"aone\rtwoz");
    EXPECT_EQ(doc_.GetSel().cpMin, 8);
    EXPECT_EQ(doc_.GetSel().cpMax, 8);
    QTextCursor c(&QtDocumentOf(doc_));
    c.setPosition(3);
    EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);

    doc_.SetSel(0, -1);  // replacing everything cannot remove the final mark
    doc_.ReplaceSel(u"x");
    EXPECT_EQ(doc_.Text(), u"x");

    doc_.LoadRtf("{\\rtf1 keep%%PH%%this}");
    doc_.SetSel(4, 10);
    doc_.ReplaceSel(u"");  // an empty replacement deletes the selection
    EXPECT_EQ(doc_.Text(), u"keepthis");
    EXPECT_EQ(doc_.GetSel().cpMin, 4);
}

TEST_F(RichTextDocumentTest, StreamInAndOut) {
    EXPECT_EQ(doc_.StreamIn(SF_RTF, "{\\rtf1 Hello {\\b world}}"), 11);
    EXPECT_EQ(doc_.PlainText(), u"Hello world");

    doc_.SetSel(6, 11);
    const std::string selected = doc_.StreamOut(SF_RTF | SFF_SELECTION);
    RichTextDocument copy;
    ASSERT_TRUE(copy.LoadRtf(selected));
    EXPECT_EQ(copy.PlainText(), u"world");

    doc_.SetSel(5, 5);
    doc_.StreamIn(SF_RTF | SFF_SELECTION, "{\\rtf1 ,\\par dear}");
    EXPECT_EQ(doc_.PlainText(), u"Hello,\r\ndear world");
    EXPECT_EQ(doc_.GetSel().cpMin, 11);

    // SF_RTF text that is not RTF is read as text
    doc_.StreamIn(SF_RTF, "just text\nline two");
    EXPECT_EQ(doc_.PlainText(), u"just text\r\nline two");

    doc_.StreamIn(SF_TEXT, "caf\xc3\xa9");
    EXPECT_EQ(doc_.Text(), u"caf\u00e9");
    EXPECT_EQ(doc_.StreamOut(SF_TEXT), "caf\xc3\xa9");
    EXPECT_EQ(doc_.StreamOut(SF_TEXT | SF_UNICODE), std::string("c\0a\0f\0\xe9\0", 8));
    doc_.StreamIn(SF_TEXT | SF_UNICODE, std::string("h\0i\0\r\0\n\0!\0", 10));
    EXPECT_EQ(doc_.PlainText(), u"hi\r\n!");
    doc_.SetSel(0, -1);
    EXPECT_EQ(doc_.StreamOut(SF_TEXT | SFF_SELECTION), "hi\r\n!");
}

TEST_F(RichTextDocumentTest, InsertPictureAtTheSelection) {
    doc_.SetText(u"a[]b");
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    doc_.SetSel(1, 3);
    ASSERT_TRUE(doc_.InsertPicture(std::string_view(png.constData(), png.size())));
    EXPECT_EQ(doc_.Text(), u"a\uFFFCb");
    QTextCursor c(&QtDocumentOf(doc_));
    c.setPosition(2);
    ASSERT_TRUE(c.charFormat().isImageFormat());
    EXPECT_DOUBLE_EQ(c.charFormat().toImageFormat().width(), 20.0);
    EXPECT_EQ(doc_.GetSel().cpMin, 2);

    doc_.SetSel(0, 0);
    EXPECT_TRUE(doc_.InsertPicture(std::string_view(png.constData(), png.size()), 1440, 720));
    c.setPosition(1);
    EXPECT_DOUBLE_EQ(c.charFormat().toImageFormat().width(), 96.0);
    EXPECT_DOUBLE_EQ(c.charFormat().toImageFormat().height(), 48.0);

    EXPECT_FALSE(doc_.InsertPicture("not a picture"));
    EXPECT_EQ(doc_.TextLength(), 4);
}

TEST_F(RichTextDocumentTest, TargetDeviceSetsTheWrapWidth) {
    doc_.SetTargetDevice(1440 * 3);
    EXPECT_EQ(doc_.TargetLineWidth(), 4320);
    EXPECT_DOUBLE_EQ(QtDocumentOf(doc_).textWidth(), 288.0);
    doc_.SetTargetDevice(1);
    EXPECT_LT(QtDocumentOf(doc_).textWidth(), 0);
}

}  // namespace
