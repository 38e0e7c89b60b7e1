#include "platform/vcl/qt/richtext/RtfPicture.h"

#include <cstdint>
#include <string>

#include <QBuffer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <gtest/gtest.h>

#include "platform/vcl/qt/richtext/RichTextQt.h"
#include "platform/vcl/qt/richtext/RtfReader.h"
#include "platform/vcl/richtext/MetafileConverter.h"
#include "platform/vcl/richtext/RichTextDocument.h"
#include "tests/platform/vcl/richtext/GuiApp.h"

using namespace richtext;

namespace {

void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& s, std::uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string EncodedImage(const char* format, QColor color) {
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return std::string(bytes.constData(), bytes.size());
}

// A 2 x 2 bottom-up 24-bit DIB: blue, green / red, white.
std::string Dib() {
    std::string d;
    Put32(d, 40); Put32(d, 2); Put32(d, 2); Put16(d, 1); Put16(d, 24);
    Put32(d, 0); Put32(d, 16); Put32(d, 2835); Put32(d, 2835); Put32(d, 0); Put32(d, 0);
    const unsigned char rows[] = {0, 0, 255, 255, 255, 255, 0, 0,   // bottom row: red, white
                                  255, 0, 0, 0, 255, 0, 0, 0};      // top row: blue, green
    d.append(reinterpret_cast<const char*>(rows), sizeof rows);
    return d;
}

// An enhanced metafile drawing one rectangle.
std::string Emf() {
    std::string e;
    Put32(e, 1); Put32(e, 108);
    Put32(e, 0); Put32(e, 0); Put32(e, 99); Put32(e, 49);        // bounds in pixels
    Put32(e, 0); Put32(e, 0); Put32(e, 2646); Put32(e, 1323);    // frame in 0.01 mm
    Put32(e, 0x464D4520); Put32(e, 0x10000); Put32(e, 152); Put32(e, 3);
    Put16(e, 1); Put16(e, 0); Put32(e, 0); Put32(e, 0); Put32(e, 0);
    Put32(e, 1024); Put32(e, 768); Put32(e, 320); Put32(e, 240);
    Put32(e, 0); Put32(e, 0); Put32(e, 0); Put32(e, 320000); Put32(e, 240000);
    Put32(e, 43); Put32(e, 24); Put32(e, 10); Put32(e, 10); Put32(e, 90); Put32(e, 40);
    Put32(e, 14); Put32(e, 20); Put32(e, 0); Put32(e, 16); Put32(e, 20);
    return e;
}

// A Windows metafile (no placeable header) drawing one rectangle.
std::string Wmf() {
    std::string w;
    Put16(w, 1); Put16(w, 9); Put16(w, 0x0300); Put32(w, 29); Put16(w, 0); Put32(w, 7); Put16(w, 0);
    Put32(w, 5); Put16(w, 0x020B); Put16(w, 0); Put16(w, 0);      // window origin
    Put32(w, 5); Put16(w, 0x020C); Put16(w, 50); Put16(w, 100);   // window extent
    Put32(w, 7); Put16(w, 0x041B); Put16(w, 40); Put16(w, 90); Put16(w, 10); Put16(w, 10);
    Put32(w, 3); Put16(w, 0);
    return w;
}

class RtfPictureTest : public ::testing::Test {
protected:
    void SetUp() override { richtext_test::EnsureGuiApp(); }

    // Reads one picture and returns its image format and the decoded resource.
    QTextImageFormat ReadPicture(const std::string& pict, RtfReadResult* result, QImage* image) {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        *result = RtfReader::Read("{\\rtf1 {\\pict" + pict + "}}", cursor);
        QTextCursor at(&doc);
        at.setPosition(1);
        const QTextImageFormat f = at.charFormat().toImageFormat();
        *image = doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
        return f;
    }
};

TEST_F(RtfPictureTest, EachPictureKindDecodes) {
    struct Case {
        const char* name;
        std::string pict;
        QSize shown;
        QColor corner;  // top-left pixel, when checked
    };
    const Case cases[] = {
        {"png", "\\pngblip\\picw8\\pich4\\picwgoal240\\pichgoal60 " + Hex(EncodedImage("PNG", Qt::red)),
         {16, 4}, Qt::red},
        {"jpeg scaled", "\\jpegblip\\picw8\\pich4\\picscalex50\\picscaley200 " + Hex(EncodedImage("JPEG", Qt::blue)),
         {4, 8}, QColor()},
        {"jpeg labelled png", "\\pngblip " + Hex(EncodedImage("JPEG", Qt::green)), {8, 4}, QColor()},
        {"binary png", "\\pngblip\\bin" + std::to_string(EncodedImage("PNG", Qt::red).size()) + " " +
                           EncodedImage("PNG", Qt::red), {8, 4}, Qt::red},
        {"dib", "\\dibitmap0\\picw2\\pich2 " + Hex(Dib()), {2, 2}, Qt::blue},
        {"device bitmap", "\\wbitmap0\\picw8\\pich2\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2 00ff0000",
         {8, 2}, Qt::black},
        {"emf", "\\emfblip\\picw2646\\pich1323 " + Hex(Emf()), {100, 50}, QColor()},
        {"wmf", "\\wmetafile8\\picw2646\\pich1323\\picwgoal1500\\pichgoal750 " + Hex(Wmf()), {100, 50}, QColor()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RtfReadResult result;
        QImage image;
        const QTextImageFormat f = ReadPicture(c.pict, &result, &image);
        EXPECT_EQ(result.pictures, 1);
        EXPECT_EQ(result.unreadablePictures, 0);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(QSize(qRound(f.width()), qRound(f.height())), c.shown);
        if (c.corner.isValid()) {
            EXPECT_EQ(QColor(image.pixel(0, 0)), c.corner);
        }
    }
}

TEST_F(RtfPictureTest, MetafilesDrawTheirContent) {
    for (const std::string& pict : {"\\emfblip " + Hex(Emf()), "\\wmetafile8 " + Hex(Wmf())}) {
        RtfReadResult result;
        QImage image;
        ReadPicture(pict, &result, &image);
        ASSERT_FALSE(image.isNull()) << pict.substr(0, 12);
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
        EXPECT_GT(dark, 20) << "the rectangle's outline is drawn: " << pict.substr(0, 12);
    }
}

TEST_F(RtfPictureTest, UnreadablePicturesLeaveABoxOfTheirSize) {
    const std::string cases[] = {
        "\\pngblip\\picwgoal1440\\pichgoal720 00112233",
        "\\emfblip\\picwgoal1440\\pichgoal720 " + Hex(Emf().substr(0, 120)),  // cut short
        "\\wmetafile8\\picwgoal1440\\pichgoal720 0100090000",
        "\\dibitmap0\\picwgoal1440\\pichgoal720 28000000ffffff7fffffff7f01001800",  // 2^31 pixels wide
        "\\wbitmap0\\picw100000\\pich100000\\picwgoal1440\\pichgoal720\\wbmwidthbytes2 00",
        "\\picwgoal1440\\pichgoal720 abcdef",  // no format at all
    };
    for (const std::string& pict : cases) {
        SCOPED_TRACE(pict.substr(0, 24));
        RtfReadResult result;
        QImage image;
        const QTextImageFormat f = ReadPicture(pict, &result, &image);
        EXPECT_EQ(result.unreadablePictures, 1);
        EXPECT_DOUBLE_EQ(f.width(), 96.0);
        EXPECT_DOUBLE_EQ(f.height(), 48.0);
        EXPECT_EQ(image.size(), QSize(96, 48));
    }
}

TEST_F(RtfPictureTest, DisplaySizesAreBounded) {
    RtfPicture p;
    p.goalWidth = 2147483647;
    p.goalHeight = -5;
    p.width = 1 << 30;
    p.height = 10;
    p.scaleX = 2147483647;
    const QSize s = RtfPictureDecoder::DisplaySize(p, {});
    EXPECT_LE(s.width(), RtfPictureDecoder::kMaxDisplaySide);
    EXPECT_GE(s.height(), 1);
    EXPECT_EQ(RtfPictureDecoder::DisplaySize(RtfPicture{}, {}), QSize(32, 32));
}

TEST_F(RtfPictureTest, MetafileRecordWalksRefuseBrokenStructure) {
    EXPECT_TRUE(MetafileConverter::IsWellFormedEmf(Emf()));
    std::string longRecord = Emf();
    longRecord[108 + 4] = '\x7f';  // the rectangle record claims to run past the end
    EXPECT_FALSE(MetafileConverter::IsWellFormedEmf(longRecord));
    EXPECT_FALSE(MetafileConverter::IsWellFormedEmf(Emf().substr(0, 132)));  // no end record
    EXPECT_TRUE(MetafileConverter::IsWellFormedWmf(Wmf()));
    std::string zeroRecord = Wmf();
    zeroRecord[18] = 0;  // a record of no size would never advance
    EXPECT_FALSE(MetafileConverter::IsWellFormedWmf(zeroRecord));
}

TEST_F(RtfPictureTest, PicturesInsideHiddenTextOrSkippedDestinationsAreNotPlaced) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    const std::string png = Hex(EncodedImage("PNG", Qt::red));
    const RtfReadResult r = RtfReader::Read(
        "{\\rtf1 a{\\v{\\pict\\pngblip " + png + "}}{\\*\\shppict{\\pict\\pngblip " + png +
            "}}{\\nonshppict{\\pict\\pngblip " + png + "}}b}", cursor);
    EXPECT_EQ(r.pictures, 1);  // the shape picture, not its fallback copy
    EXPECT_EQ(doc.toPlainText(), QString("a") + QChar::ObjectReplacementCharacter + "b");
}

}  // namespace
