// Messages rendered off-screen onto the output devices: the header block before the body,
// plain, HTML (with an inline picture and text beyond ASCII) and RTF bodies, long bodies over
// several pages, message text kept as text, and failures reported as failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/CAppUtils.h"
#include "app/SupportLibrary.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "output/HDCAdapter.h"
#include "output/MessageRender.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/outside/PdfDocument.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/message/MsgTreeBuilder.h"
#include "tests/output/OutputChecks.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

const char kRedPng[] =
    "iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAIAAAD91JpzAAAAEElEQVR4nGP4z8AARAwQCgAf7gP9i18U1AAAAABJRU5ErkJggg==";

std::string Output(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
        ::pclose(p);
    }
    return out;
}

int Pages(const fs::path& pdf)
{
    const std::string info = Output("pdfinfo '" + pdf.string() + "' 2>/dev/null");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

// A converter whose every layout fails, as a hostile or broken page makes the real one fail.
class FailingConverter : public IHTMLConverter {
public:
    HRESULT GetSupportedFormats(WideString& formats) override {
        formats = u"PDF";
        return S_OK;
    }
    HRESULT ConvertToEMF(const WideString&, const WideString&, HENHMETAFILE& picture, long, long, long&, long&) override {
        picture = nullptr;
        return E_FAIL;
    }
    HRESULT ConvertToEMFCharset(const WideString&, const WideString&, HENHMETAFILE& picture, long, long, long&, long&,
                                const WideString&) override {
        picture = nullptr;
        return E_FAIL;
    }
    HRESULT ImageSave(const WideString&, HDC, long, long) override { return E_FAIL; }
    const std::string& LastError() const override { return error_; }

private:
    std::string error_ = "layout refused";
};

class MessageRenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1); }
    // The renderer's pages live in the per-process temporary folder.
    static void TearDownTestSuite() {
        std::error_code error;
        fs::remove_all(Utf16ToUtf8(CAppUtils::getAppTempFolder()), error);
    }
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    }

    // Renders the message into a fresh PDF document saved as name; false when rendering failed.
    bool ToPdf(TMessageAttr& message, const std::string& name, IHTMLConverter* converter = nullptr) {
        auto pdf = CreatePdfDocument();
        auto own = CreateHtmlConverter();
        PDF_HDCAdapter device(pdf);
        MessageRender render;
        const bool ok = render.RenderToDC(message, device, converter ? *converter : *own, 1);
        error = render.LastError();
        EXPECT_EQ(pdf->SaveToFile(Utf8ToUtf16((dir / name).string())), S_OK) << pdf->LastError();
        return ok;
    }
    // Prints the message on a 300-dpi printer that writes the PDF file; false when rendering failed.
    bool Print(TMessageAttr& message, const fs::path& file, IHTMLConverter& converter) {
        HDC dc = CreatePdfDCW(file.u16string().c_str(), 210, 297, 300);
        if (!dc) return false;
        DOCINFOW info;
        info.lpszDocName = u"Text Document";
        EXPECT_GT(StartDocW(dc, &info), 0);
        EXPECT_GT(StartPage(dc), 0);
        PRN_HDCAdapter device(dc);
        printerDpi = device.GetResolutionX();
        MessageRender render;
        const bool ok = render.RenderToDC(message, device, converter, 1);
        error = render.LastError();
        EndPage(dc);
        EndDoc(dc);
        DeleteDC(dc);
        return ok;
    }
    std::unique_ptr<MessageEML> Eml(const std::string& name, const std::string& text) {
        auto m = std::make_unique<MessageEML>();
        EXPECT_TRUE(m->LoadFromFile(Utf8ToUtf16(dir.WriteFile(name, text).string()), false));
        return m;
    }
    static void ExpectInOrder(const std::string& text, std::initializer_list<const char*> words) {
        std::size_t at = 0;
        for (const char* w : words) {
            const std::size_t found = text.find(w, at);
            ASSERT_NE(found, std::string::npos) << "\"" << w << "\" missing or out of order in:\n" << text;
            at = found + 1;
        }
    }

    TempDir dir;
    std::string error;
    int printerDpi = 0;
};

TEST_F(MessageRenderTest, PlainEmlShowsTheHeaderBeforeTheBody) {
    auto m = Eml("plain.eml",
                 "From: Ann Example <ann@example.com>\r\nTo: Bob <bob@example.com>\r\nSubject: Quarterly status\r\n"
                 "Date: Tue, 15 Nov 2022 08:12:31 +0000\r\n\r\nHello Bob,\r\nall is well.\r\n");
    ASSERT_TRUE(ToPdf(*m, "plain.pdf")) << error;
    const std::string text = testsupport::PdfText(dir / "plain.pdf");
    ExpectInOrder(text, {"From:", "Ann Example", "To:", "Bob", "Subject:", "Quarterly status", "Hello Bob,", "all is well."});
    EXPECT_EQ(Pages(dir / "plain.pdf"), 1);
}

TEST_F(MessageRenderTest, HtmlEmlWithAnInlinePictureAndTextBeyondAscii) {
    auto m = Eml("html.eml",
                 "From: =?UTF-8?B?SsO8cmdlbg==?= <j@example.com>\r\nSubject: =?UTF-8?B?R3LDvMOfZQ==?= aus K\xC3\xB6ln\r\n"
                 "MIME-Version: 1.0\r\nContent-Type: multipart/related; boundary=\"b\"\r\n\r\n"
                 "--b\r\nContent-Type: text/html; charset=utf-8\r\n\r\n"
                 "<html><body><p>Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82</p>"
                 "<img src=\"cid:red@x\" width=60 height=60></body></html>\r\n"
                 "--b\r\nContent-Type: image/png\r\nContent-ID: <red@x>\r\nContent-Transfer-Encoding: base64\r\n\r\n" +
                     std::string(kRedPng) + "\r\n--b--\r\n");
    ASSERT_TRUE(ToPdf(*m, "html.pdf")) << error;
    const std::string text = testsupport::PdfText(dir / "html.pdf");
    ExpectInOrder(text, {"From:", "J\xC3\xBCrgen", "Subject:", "Gr\xC3\xBC\xC3\x9F" "e",
                         "Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"});
    const std::string images = Output("pdfimages -list '" + (dir / "html.pdf").string() + "' 2>/dev/null");
    if (!images.empty()) {
        EXPECT_NE(images.find("image"), std::string::npos) << images;
    }
}

TEST_F(MessageRenderTest, RtfMsgBodyIsRenderedFormatted) {
    using namespace msgtree;
    TMSGFile f;
    TMSGProperties& root = f.GetProperties();
    Bytes(root, 0x001A001E, "IPM.Note");
    Int(Fixed(root), 0x3FDE0003, 1252);
    Wide(root, 0x0037001F, u"RTF body test");
    Wide(root, 0x0C1A001F, u"Carla");
    Wide(root, 0x1000001F, u"the plain alternative");
    Bytes(root, 0x10090102, std::string("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0 First "
                                        "{\\b bold} paragraph caf\\'e9.\\par Second paragraph.\\par}") + '\0');
    MessageMSG m;
    ASSERT_TRUE(m.LoadFromFile(Utf8ToUtf16(Write(f, dir, "rtf.msg")), false));
    ASSERT_TRUE(m.bodyIsRtf);
    ASSERT_TRUE(ToPdf(m, "rtf.pdf")) << error;
    const std::string text = testsupport::PdfText(dir / "rtf.pdf");
    ExpectInOrder(text, {"From:", "Carla", "Subject:", "RTF body test", "First bold paragraph caf\xC3\xA9.",
                         "Second paragraph."});
    EXPECT_EQ(text.find("plain alternative"), std::string::npos);
}

// An attachment placed in an RTF body prints in its place: the mark is gone from the text and
// the page carries its picture.
TEST_F(MessageRenderTest, RtfMsgBodyPrintsItsPlacedAttachment) {
    using namespace msgtree;
    TMSGFile f;
    TMSGProperties& root = f.GetProperties();
    Bytes(root, 0x001A001E, "IPM.Note");
    Fixed(root);
    Wide(root, 0x0037001F, u"placed picture");
    Bytes(root, 0x10090102, std::string("{\\rtf1\\ansi Before {\\objattph} after.\\par}") + '\0');
    std::string bmp("BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x04\0\0\0"
                    "\x13\x0B\0\0\x13\x0B\0\0\0\0\0\0\0\0\0\0\0\0\xFF\0",
                    58);
    TMSGProperties& attachment = Node(root, 0x37000000);
    Int(Fixed(attachment), 0x37050003, 1);
    Bytes(attachment, 0x37010102, bmp);
    MessageMSG m;
    ASSERT_TRUE(m.LoadFromFile(Utf8ToUtf16(Write(f, dir, "placed.msg")), false));
    ASSERT_TRUE(m.bodyIsRtf);
    ASSERT_TRUE(ToPdf(m, "placed.pdf")) << error;
    const std::string text = testsupport::PdfText(dir / "placed.pdf");
    ExpectInOrder(text, {"Before", "after."});
    EXPECT_EQ(text.find("OBJATTPH"), std::string::npos) << text;
    const std::string images = Output("pdfimages -list '" + (dir / "placed.pdf").string() + "' 2>/dev/null");
    if (!images.empty()) {
        EXPECT_NE(images.find("image"), std::string::npos) << images;
    }
}

TEST_F(MessageRenderTest, LongBodiesTakeMorePagesEachOfBoundedSize) {
    const auto body = [](int lines) {
        std::string text = "From: a@example.com\r\nSubject: long\r\n\r\n";
        for (int i = 0; i < lines; ++i) text += "Line " + std::to_string(i) + " of a long body that goes on.\r\n";
        return text;
    };
    auto shorter = Eml("short.eml", body(300));
    auto longer = Eml("long.eml", body(1200));
    ASSERT_TRUE(ToPdf(*shorter, "short.pdf")) << error;
    ASSERT_TRUE(ToPdf(*longer, "long.pdf")) << error;
    const int few = Pages(dir / "short.pdf"), many = Pages(dir / "long.pdf");
    EXPECT_GE(few, 2);
    EXPECT_GE(many, 3 * few);
    // Each page holds only its own part of the body: the file grows with the pages, not
    // with their square.
    const double perPageShort = static_cast<double>(fs::file_size(dir / "short.pdf")) / few;
    const double perPageLong = static_cast<double>(fs::file_size(dir / "long.pdf")) / many;
    EXPECT_LT(perPageLong, 1.5 * perPageShort);
    const std::string text = testsupport::PdfText(dir / "long.pdf");
    ExpectInOrder(text, {"Subject:", "Line 0 of", "Line 600 of", "Line 1199 of"});
    // Pages end between lines: no line is cut in two, so none shows on two pages.
    for (int i = 0; i < 1200; ++i) {
        const std::string line = "Line " + std::to_string(i) + " of";
        const std::size_t first = text.find(line);
        ASSERT_NE(first, std::string::npos) << line;
        EXPECT_EQ(text.find(line, first + 1), std::string::npos) << line << " is on two pages";
    }
}

// The body continues below the header on the PDF document and on a printer alike, wrapped or
// scaled so that it stays readable.
TEST_F(MessageRenderTest, BodiesLieBelowTheHeaderReadablyOnEveryPagedDevice) {
    auto converter = CreateHtmlConverter();
    for (const outputchecks::Kind& kind : outputchecks::kMessages) {
        auto m = Eml(std::string(kind.name) + ".eml", kind.text());
        const std::string document = std::string(kind.name) + "-document.pdf";
        ASSERT_TRUE(ToPdf(*m, document)) << error;
        outputchecks::ExpectReadablePdf(dir / document, kind);

        const fs::path printed = dir / (std::string(kind.name) + "-printer.pdf");
        EXPECT_TRUE(Print(*m, printed, *converter)) << error;
        outputchecks::ExpectReadablePdf(printed, kind);
    }
}

TEST_F(MessageRenderTest, MessageTextNeverBecomesMarkup) {
    auto m = Eml("hostile.eml",
                 "From: \"<b>Mallory</b> & Co\" <m@example.com>\r\nSubject: <i>urgent</i> \"quote\" & <script>x</script>\r\n"
                 "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
                 "--b\r\nContent-Type: text/plain\r\n\r\nbody\r\n"
                 "--b\r\nContent-Type: application/octet-stream; name=\"R&D <b>.bin\"\r\n"
                 "Content-Disposition: attachment; filename=\"R&D <b>.bin\"\r\n\r\nxx\r\n--b--\r\n");
    ASSERT_TRUE(ToPdf(*m, "hostile.pdf")) << error;
    const std::string text = testsupport::PdfText(dir / "hostile.pdf");
    ExpectInOrder(text, {"<b>Mallory</b> & Co", "<i>urgent</i> \"quote\" & <script>x</script>", "R&D _b_.bin", "body"});
}

TEST_F(MessageRenderTest, AFailedConversionFailsTheMessage) {
    auto m = Eml("plain.eml", "From: a@example.com\r\nSubject: s\r\n\r\nbody\r\n");
    FailingConverter failing;
    EXPECT_FALSE(ToPdf(*m, "failed.pdf", &failing));
    EXPECT_NE(error.find("layout refused"), std::string::npos) << error;

    std::string nested = "From: a@example.com\r\nSubject: bomb\r\nContent-Type: text/html\r\n\r\n";
    for (int i = 0; i < 200; ++i) nested += "<table><tr><td>";
    auto bomb = Eml("bomb.eml", nested);
    EXPECT_FALSE(ToPdf(*bomb, "bomb.pdf"));
    EXPECT_NE(error.find("nested"), std::string::npos) << error;
}

TEST_F(MessageRenderTest, PrinterDeviceDrawsOnTheLentContext) {
    auto m = Eml("plain.eml", "From: a@example.com\r\nSubject: Printed\r\n\r\nprinted body\r\n");
    const fs::path file = dir / "printer.pdf";
    auto converter = CreateHtmlConverter();
    EXPECT_TRUE(Print(*m, file, *converter)) << error;
    EXPECT_EQ(printerDpi, 300);
    ExpectInOrder(testsupport::PdfText(file), {"Subject:", "Printed", "printed body"});
}

TEST_F(MessageRenderTest, PdfDocumentCarriesItsInformation) {
    auto pdf = CreatePdfDocument();
    pdf->put_Title(u"T\u00EDtulo");
    pdf->put_Author(u"Ann");
    pdf->put_Subject(u"About (things)");
    pdf->put_Creator(u"Quillora");
    pdf->put_Producer(u"Quillora PDF");
    PDF_HDCAdapter device(pdf);
    EXPECT_TRUE(device.NewPage());
    EXPECT_TRUE(device.DrawRect(10, 10, 100, 100, 0));
    ASSERT_EQ(pdf->SaveToFile(Utf8ToUtf16((dir / "info.pdf").string())), S_OK) << pdf->LastError();
    const std::string info = Output("pdfinfo '" + (dir / "info.pdf").string() + "' 2>&1");
    for (const char* line : {"Title:           T\xC3\xADtulo", "Author:          Ann", "Subject:         About (things)",
                             "Creator:         Quillora", "Producer:        Quillora PDF", "Pages:           2"})
        EXPECT_NE(info.find(line), std::string::npos) << line << "\n" << info;
    EXPECT_EQ(info.find("Error"), std::string::npos) << info;
}

}  // namespace
