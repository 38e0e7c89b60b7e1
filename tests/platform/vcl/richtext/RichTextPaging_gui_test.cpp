// Paged drawing: every line lands on exactly one page, pages follow each other without a gap,
// and each page is drawn inside its rectangle.
#include <map>
#include <set>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "platform/vcl/qt/richtext/RichTextQt.h"
#include "platform/vcl/richtext/RichTextDocument.h"
#include "tests/platform/vcl/richtext/GuiApp.h"

using namespace richtext;

namespace {

constexpr int kLines = 120;

// Line i has a background colour of its own: red i, green 0, blue 77.
// Single-line paragraphs of mixed sizes, and a table in the middle whose rows are one unit.
std::string NumberedDocument() {
    std::string rtf = "{\\rtf1\\ansi{\\colortbl;";
    for (int i = 0; i < kLines; ++i)
        rtf += "\\red" + std::to_string(i) + "\\green0\\blue77;";
    rtf += "}";
    for (int i = 0; i < kLines; ++i) {
        const std::string c = std::to_string(i + 1);
        const std::string size = std::to_string(16 + (i * 7) % 30);
        if (i >= 50 && i < 60) {  // ten table rows, two cells each
            rtf += "\\trowd\\cellx1440\\cellx2880\\pard\\intbl{\\fs" + size + "\\highlight" + c +
                   "\\cf" + c + " cell}\\cell{\\highlight" + c + "\\cf" + c + " two}\\cell\\row";
            continue;
        }
        rtf += "\\pard{\\fs" + size + "\\highlight" + c + "\\cf" + c + " xxxxxxxx}";
        if (i + 1 < kLines) rtf += "\\par ";
    }
    return rtf + "}";
}

// The lines whose colour covers a real area of the image (not an edge sliver).
std::set<int> LinesOn(const QImage& image) {
    std::map<int, int> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qBlue(p) == 77 && qGreen(p) == 0 && qRed(p) < kLines) ++pixels[qRed(p)];
        }
    std::set<int> lines;
    for (auto [line, count] : pixels)
        if (count >= 150) lines.insert(line);
    return lines;
}

TEST(RichTextPaging, PagesContinueExactlyWhereThePreviousStopped) {
    richtext_test::EnsureGuiApp();
    RichTextDocument doc;
    ASSERT_TRUE(doc.LoadRtf(NumberedDocument()));
    doc.SetSel(0, -1);
    CHARRANGE all = doc.GetSel();

    // A page 4 x 2 inches, drawn 1 inch down on a 96 dpi device.
    RichTextFormatRange range;
    range.rc = {0, 1440, 5760, 1440 + 2880};
    range.rcPage = range.rc;
    range.chrg = all;
    std::set<int> seen;
    int pages = 0;
    int previousLast = -1;
    while (range.chrg.cpMin < all.cpMax - 1) {
        QImage image(384, 96 + 192 + 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        LONG next;
        {
            QPainter painter(&image);
            RichTextCanvas canvas(painter, 96, 96);
            range.canvas = &canvas;
            next = doc.FormatRange(&range, true);
        }
        ASSERT_GT(next, range.chrg.cpMin) << "no progress on page " << pages;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (y < 96 || y >= 96 + 192) {
                    ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
                }
        const std::set<int> lines = LinesOn(image);
        ASSERT_FALSE(lines.empty()) << "empty page " << pages;
        EXPECT_EQ(*lines.begin(), previousLast + 1) << "page " << pages << " does not start where the last stopped";
        EXPECT_EQ(static_cast<int>(lines.size()), *lines.rbegin() - *lines.begin() + 1) << "gap on page " << pages;
        for (int l : lines) EXPECT_TRUE(seen.insert(l).second) << "line " << l << " drawn twice";
        previousLast = *lines.rbegin();
        range.chrg.cpMin = next;
        ++pages;
        ASSERT_LT(pages, 200);
    }
    EXPECT_EQ(static_cast<int>(seen.size()), kLines);
    EXPECT_GT(pages, 5);
    EXPECT_EQ(doc.FormatRange(nullptr, false), 0);
}

TEST(RichTextPaging, MeasuringMatchesDrawingAndHonoursPageBreaks) {
    richtext_test::EnsureGuiApp();
    RichTextDocument doc;
    ASSERT_TRUE(doc.LoadRtf("{\\rtf1 first\\par second\\page third\\par fourth}"));
    RichTextFormatRange range;
    range.rc = {0, 0, 5760, 14400};
    range.chrg = {0, -1};
    const LONG measured = doc.FormatRange(&range, false);
    EXPECT_EQ(measured, 13);  // "third" starts a new page
    range.chrg.cpMin = measured;
    EXPECT_EQ(doc.FormatRange(&range, false), doc.TextLength());
    // a range that ends early stops there
    range.chrg = {0, 3};
    EXPECT_EQ(doc.FormatRange(&range, false), 3);
}

TEST(RichTextPaging, EmptyDocumentAndOversizedLinesStillProgress) {
    richtext_test::EnsureGuiApp();
    RichTextDocument empty;
    RichTextFormatRange range;
    range.rc = {0, 0, 1440, 1440};
    range.chrg = {0, -1};
    EXPECT_EQ(empty.FormatRange(&range, false), 0);

    RichTextDocument big;  // a 72-point line on a page 0.1 inch high
    ASSERT_TRUE(big.LoadRtf("{\\rtf1\\fs144 A\\par B}"));
    range.rc = {0, 0, 1440, 144};
    EXPECT_EQ(big.FormatRange(&range, false), 2);
    range.chrg.cpMin = 2;
    EXPECT_EQ(big.FormatRange(&range, false), 3);
}

}  // namespace
