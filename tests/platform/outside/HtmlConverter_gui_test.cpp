// The HTML converter: pages and MIME messages laid out into recorded pictures that play onto a
// PDF page with their text and pictures; hostile bodies fail fast instead of hanging.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/qt/GdiQt.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::TempDir;

class HtmlConverterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
    }
    static WideString Url(const std::filesystem::path& p) { return u"file:///" + Utf8ToUtf16(p.string()); }

    // Plays the picture onto one PDF page and gives the page's text.
    static std::string TextOf(HENHMETAFILE picture, const TempDir& dir) {
        const auto file = dir / "out.pdf";
        HDC pdf = CreatePdfDCW(file.u16string().c_str(), 210, 297, 96);
        DOCINFOW info;
        info.lpszDocName = u"converter test";
        StartDocW(pdf, &info);
        StartPage(pdf);
        ENHMETAHEADER h;
        GetEnhMetaFileHeader(picture, sizeof(h), &h);
        const RECT r{0, 0, h.rclBounds.right + 1, h.rclBounds.bottom + 1};
        PlayEnhMetaFile(pdf, picture, &r);
        EndPage(pdf);
        EndDoc(pdf);
        DeleteDC(pdf);
        return testsupport::PdfText(file);
    }
};

TEST_F(HtmlConverterTest, LaysOutAPageInItsCharsetWithTablesAndLists) {
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    TempDir dir;
    // windows-1251 without a mark: the charset the caller names decodes it.
    const auto page = dir.WriteFile("body.html",
                                    "<html><head><style><!-- td {padding:4px} --></style></head><body>"
                                    "<h1>Quarterly \xEE\xF2\xF7\xE5\xF2</h1><table border=1><tr><td>Cell A</td><td>Cell B</td></tr></table>"
                                    "<ul><li>first item</li><li>second item</li></ul></body></html>");
    auto converter = CreateHtmlConverter();
    HENHMETAFILE picture = nullptr;
    long dpiX = 0, dpiY = 0;
    ASSERT_EQ(converter->ConvertToEMFCharset(Url(page), u"", picture, 600, 0, dpiX, dpiY, u"windows-1251"), S_OK)
        << converter->LastError();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(dpiX, 96);
    ENHMETAHEADER h;
    GetEnhMetaFileHeader(picture, sizeof(h), &h);
    EXPECT_LE(h.rclBounds.right, 600);
    EXPECT_GT(h.rclBounds.bottom, 100);
    EXPECT_LT(h.rclBounds.bottom, 1000);  // the page's background ends with the page
    const std::string text = TextOf(picture, dir);
    EXPECT_NE(text.find("Quarterly \xD0\xBE\xD1\x82\xD1\x87\xD0\xB5\xD1\x82"), std::string::npos) << text;
    EXPECT_NE(text.find("Cell A"), std::string::npos);
    EXPECT_NE(text.find("second item"), std::string::npos);
    DeleteEnhMetaFile(picture);

    WideString formats;
    converter->GetSupportedFormats(formats);
    EXPECT_EQ(formats.rfind(u"PDF\n", 0), 0u);
}

TEST_F(HtmlConverterTest, TextWithoutSpacesInChineseWrapsAtTheWidth) {
    TempDir dir;
    std::string line;
    for (int i = 0; i < 200; ++i) line += "\xE4\xB8\xAD";  // U+4E2D, no spaces anywhere
    const auto page = dir.WriteFile("cjk.html", "<meta charset=utf-8><p>" + line + "</p>");
    auto converter = CreateHtmlConverter();
    HENHMETAFILE picture = nullptr;
    long dpiX = 0, dpiY = 0;
    ASSERT_EQ(converter->ConvertToEMF(Url(page), u"", picture, 300, 0, dpiX, dpiY), S_OK) << converter->LastError();
    ENHMETAHEADER h;
    GetEnhMetaFileHeader(picture, sizeof(h), &h);
    EXPECT_LT(h.rclBounds.right, 300);
    EXPECT_GT(h.rclBounds.bottom, 150);  // many lines
    DeleteEnhMetaFile(picture);
}

TEST_F(HtmlConverterTest, AMimeMessageShowsItsInlinePictureAndNothingRemote) {
    TempDir dir;
    // A 2x2 red PNG inline, and a remote picture that must not be fetched.
    const auto eml = dir.WriteFile(
        "message.eml",
        "From: a@example.com\r\nSubject: s\r\nMIME-Version: 1.0\r\nContent-Type: multipart/related; boundary=\"b\"\r\n\r\n"
        "--b\r\nContent-Type: text/html; charset=utf-8\r\n\r\n"
        "<body style=\"margin:0\"><img src=\"cid:red@x\" width=40 height=40><img src=\"http://tracker.invalid/p.png\"></body>\r\n"
        "--b\r\nContent-Type: image/png\r\nContent-ID: <red@x>\r\nContent-Transfer-Encoding: base64\r\n\r\n"
        "iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAIAAAD91JpzAAAAEElEQVR4nGP4z8AARAwQCgAf7gP9i18U1AAAAABJRU5ErkJggg==\r\n"
        "--b--\r\n");
    auto converter = CreateHtmlConverter();
    HENHMETAFILE picture = nullptr;
    long dpiX = 0, dpiY = 0;
    ASSERT_EQ(converter->ConvertToEMF(Url(eml), u"", picture, 200, 0, dpiX, dpiY), S_OK) << converter->LastError();
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    HDC dc = CreateImageDC(image);
    ENHMETAHEADER h;
    GetEnhMetaFileHeader(picture, sizeof(h), &h);
    const RECT at{0, 0, h.rclBounds.right + 1, h.rclBounds.bottom + 1};
    PlayEnhMetaFile(dc, picture, &at);
    DeleteDC(dc);
    DeleteEnhMetaFile(picture);
    const QColor c = image.pixelColor(20, 20);
    EXPECT_GT(c.red(), 200);
    EXPECT_LT(c.green(), 60);
}

TEST_F(HtmlConverterTest, HostileBodiesFailFastWithAReason) {
    TempDir dir;
    std::string nested;
    for (int i = 0; i < 200; ++i) nested += "<table><tr><td>";
    const auto bomb = dir.WriteFile("bomb.html", nested);
    std::string wide = "<body>";
    for (int i = 0; i < 200000; ++i) wide += "<span>word </span>";
    const auto slow = dir.WriteFile("slow.html", wide);

    THtmlConverterLimits limits;
    limits.layoutBudget = std::chrono::milliseconds(200);
    auto converter = CreateHtmlConverter(limits);
    HENHMETAFILE picture = nullptr;
    long dpiX = 0, dpiY = 0;
    EXPECT_TRUE(FAILED(converter->ConvertToEMF(Url(bomb), u"", picture, 0, 0, dpiX, dpiY)));
    EXPECT_EQ(picture, nullptr);
    EXPECT_NE(converter->LastError().find("nested"), std::string::npos);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(FAILED(converter->ConvertToEMF(Url(slow), u"", picture, 0, 0, dpiX, dpiY)));
    EXPECT_EQ(picture, nullptr);
    EXPECT_NE(converter->LastError().find("too long"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    EXPECT_TRUE(FAILED(converter->ConvertToEMF(u"file:///no/such/file.html", u"", picture, 0, 0, dpiX, dpiY)));
}

}  // namespace
