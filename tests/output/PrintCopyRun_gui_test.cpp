// The print and copy runs without their window: every message on its own page, only
// successes counted, failures named, Cancel honoured between messages, the bar's segments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "app/CAppUtils.h"
#include "app/SupportLibrary.h"
#include "message/MessageEML.h"
#include "output/PrintCopyRun.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class Progress : public IRunProgress {
public:
    explicit Progress(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
    void Start(int s, int t) override {
        segments = s;
        total = t;
    }
    void Step(const WideString& line) override { lines.push_back(Utf16ToUtf8(line)); }
    bool Cancelled() override { return cancelAfter_ >= 0 && static_cast<int>(lines.size()) >= cancelAfter_; }
    int segments = -1, total = -1;
    std::vector<std::string> lines;

private:
    int cancelAfter_;
};

// A message whose copy raises an error, as a damaged store message may.
class ThrowingMessage : public MessageEML {
public:
    WideString Export(const WideString&) override { throw std::runtime_error("store went away"); }
};

class PrintCopyRunTest : public ::testing::Test {
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
    }
    template <class Kind = MessageEML>
    TMessageAttr* Message(const std::string& name, const std::string& text) {
        auto m = std::make_unique<Kind>();
        EXPECT_TRUE(m->LoadFromFile(Utf8ToUtf16(dir.WriteFile(name, text).string()), false));
        owned.push_back(std::move(m));
        return owned.back().get();
    }
    testsupport::TempDir dir;
    std::vector<std::unique_ptr<TMessageAttr>> owned;
};

TEST_F(PrintCopyRunTest, EachMessageOnItsOwnPageAndOnlySuccessesCount) {
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    std::string bomb = "From: b@example.com\r\nSubject: Bomb\r\nContent-Type: text/html\r\n\r\n";
    for (int i = 0; i < 100; ++i) bomb += "<table><tr><td>";
    const std::vector<TMessageAttr*> messages = {
        Message("1.eml", "From: a@example.com\r\nSubject: First\r\n\r\nfirst body\r\n"),
        Message("2.eml", bomb),
        Message("3.eml", "From: c@example.com\r\nSubject: Third\r\n\r\nthird body\r\n"),
    };
    const fs::path file = dir / "printed.pdf";
    auto converter = CreateHtmlConverter();
    Progress progress;
    const TRunResult r = PrintMessages(messages, CreatePdfDCW(file.u16string().c_str(), 210, 297, 300), *converter, progress);
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.done, 2);
    EXPECT_EQ(progress.segments, 3);
    EXPECT_EQ(progress.lines, (std::vector<std::string>{"Printed: 1 files of 3", "Printed: 1 files of 3", "Printed: 2 files of 3"}));
    ASSERT_EQ(r.failures.size(), 1u);
    EXPECT_EQ(r.failures[0].message, u"Bomb");
    const std::string report = Utf16ToUtf8(RunReport(r, false));
    EXPECT_EQ(report, "2 of 3 files printed successfully \nBomb: the body could not be laid out: tables nested more than 32 deep");
    // Three pages, one a message, each starting with its own header.
    const std::string text = testsupport::PdfText(file);
    std::vector<std::string> pages;
    for (std::size_t at = 0, next; at <= text.size(); at = next + 1) {
        next = text.find('\f', at);
        if (next == std::string::npos) next = text.size();
        pages.push_back(text.substr(at, next - at));
    }
    ASSERT_GE(pages.size(), 3u) << text;
    EXPECT_NE(pages[0].find("First"), std::string::npos);
    EXPECT_NE(pages[1].find("Bomb"), std::string::npos);  // the header was printed before the body failed
    EXPECT_NE(pages[2].find("Third"), std::string::npos);
}

TEST_F(PrintCopyRunTest, PrintsIntoAPdfFileChosenInThePrintDialog) {
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    const fs::path file = dir / "chosen.pdf";
    DWORD flagsSeen = 0;
    SetPrintDialogHook([&](PRINTDLGW& d) {
        flagsSeen = d.Flags;
        d.outputFile = file.u16string();
        return true;
    });
    HDC dc = nullptr;
    EXPECT_EQ(ChoosePrintJob(false, dc), TPrintChoice::Chosen);
    SetPrintDialogHook(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(flagsSeen & (PD_PAGENUMS | PD_NOPAGENUMS | PD_NOSELECTION), PD_NOPAGENUMS | PD_NOSELECTION);
    auto converter = CreateHtmlConverter();
    Progress progress;
    const TRunResult r = PrintMessages({Message("1.eml", "From: a@example.com\r\nSubject: Into a document\r\n\r\ndocument body\r\n")},
                                       dc, *converter, progress);
    EXPECT_EQ(r.done, 1);
    const std::string text = testsupport::PdfText(file);
    EXPECT_NE(text.find("Into a document"), std::string::npos) << text;
    EXPECT_NE(text.find("document body"), std::string::npos) << text;

    SetPrintDialogHook([](PRINTDLGW&) { return false; });
    EXPECT_EQ(ChoosePrintJob(false, dc), TPrintChoice::Cancelled);
    SetPrintDialogHook(nullptr);
    if (GetDefaultPrinterName().empty()) {
        EXPECT_EQ(ChoosePrintJob(true, dc), TPrintChoice::NoPrinter);
        EXPECT_EQ(dc, nullptr);
    }
}

TEST_F(PrintCopyRunTest, HeaderPrintIsTheHeaderLinesOfEachMessage) {
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    const std::vector<TMessageAttr*> messages = {
        Message("1.eml", "From: Ann <a@example.com>\r\nTo: Bob <b@example.com>\r\nSubject: First <one>\r\n\r\nnot printed\r\n"),
        Message("2.eml", "From: Cy <c@example.com>\r\nSubject: Second\r\n\r\nnot printed\r\n"),
    };
    const std::string text = Utf16ToUtf8(HeaderPrintText(messages));
    EXPECT_EQ(text.rfind("From: Ann <a@example.com>\r\nTo: Bob <b@example.com>\r\nCC: \r\nSubject: First <one>\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("\r\n\n\n\nFrom: Cy <c@example.com>\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 3), "\n\n\n");

    const fs::path file = dir / "headers.pdf";
    auto converter = CreateHtmlConverter();
    ASSERT_TRUE(PrintHeaders(messages, CreatePdfDCW(file.u16string().c_str(), 210, 297, 300), *converter));
    const std::string printed = testsupport::PdfText(file);
    EXPECT_NE(printed.find("Subject: First <one>"), std::string::npos) << printed;
    EXPECT_NE(printed.find("From: Cy"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("not printed"), std::string::npos) << printed;
}

TEST_F(PrintCopyRunTest, NothingChosenStartsNoJobAndShowsNoBox) {
    const fs::path file = dir / "none.pdf";
    auto converter = CreateHtmlConverter();
    Progress progress;
    const TRunResult r = PrintMessages({}, CreatePdfDCW(file.u16string().c_str(), 210, 297, 300), *converter, progress);
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(RunReport(r, false).empty());
    EXPECT_EQ(RunSegments(40), 32);
    EXPECT_EQ(RunSegments(7), 7);
}

TEST_F(PrintCopyRunTest, CopyStopsAtCancelAndSurvivesAMessageThatThrows) {
    std::vector<TMessageAttr*> messages;
    for (int i = 0; i < 10; ++i)
        messages.push_back(Message("m" + std::to_string(i) + ".eml", "From: a@example.com\r\nSubject: S\r\n\r\nx\r\n"));
    const fs::path target = dir / "copies \xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0";  // a folder name beyond any ANSI code page
    fs::create_directories(target);
    Progress cancelAfterThree(3);
    const TRunResult r = CopyMessages(messages, Utf8ToUtf16(target.string()), cancelAfterThree);
    EXPECT_EQ(r.done, 3);
    EXPECT_EQ(Utf16ToUtf8(RunReport(r, true)), "3 of 10 files copied successfully ");
    EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 3);

    const std::vector<TMessageAttr*> mixed = {Message<ThrowingMessage>("t.eml", "Subject: Broken\r\n\r\nx\r\n"), messages[0]};
    Progress all;
    const TRunResult m = CopyMessages(mixed, Utf8ToUtf16(target.string()), all);
    EXPECT_EQ(m.done, 1);
    EXPECT_EQ(Utf16ToUtf8(RunReport(m, true)), "1 of 2 files copied successfully \nBroken: store went away");
    Progress none;
    EXPECT_EQ(Utf16ToUtf8(RunReport(CopyMessages({messages[0]}, u"/nonexistent/folder", none), true)),
              "Files were not copied\nS: the message could not be copied");
}

}  // namespace
