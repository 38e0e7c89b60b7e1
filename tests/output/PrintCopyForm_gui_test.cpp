// The print and copy window from its form file over a stub main window: the commands ask for
// the printer or folder, the window's timer runs the run once it is shown, Cancel stops between
// messages, and the closing box counts successes and names failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include <QWidget>

#include "message/MessageEML.h"
#include "output/PrintCopyForm.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Printers.h"
#include "platform/win/WinString.h"
#include "tests/output/WindowTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// A message that runs a step of the test when it is copied, or fails as a damaged store
// message may.
class HookedMessage : public MessageEML {
public:
    WideString Export(const WideString& folder) override {
        if (onExport) onExport();
        if (fails) throw std::runtime_error("store went away");
        return MessageEML::Export(folder);
    }
    std::function<void()> onExport;
    bool fails = false;
};

class PrintCopyFormTest : public testsupport::OutputWindowTest {
protected:
    void SetUp() override {
        OutputWindowTest::SetUp();
        RegisterForm2();
    }
    void TearDown() override { SetPrintDialogHook(nullptr); }
    HookedMessage* Raw(const std::string& name, const std::string& text) {
        auto m = std::make_unique<HookedMessage>();
        EXPECT_TRUE(m->LoadFromFile(Utf8ToUtf16(dir.WriteFile(name, text).string()), false));
        owned.push_back(std::move(m));
        provider.chosen.push_back(owned.back().get());
        return owned.back().get();
    }
    HookedMessage* Message(const std::string& name, const std::string& subject, const std::string& body) {
        return Raw(name, "From: a@example.com\r\nSubject: " + subject + "\r\n\r\n" + body + "\r\n");
    }
    // Answers boxes (recording them), the folder picker and lets the run's window run.
    TModalHook Answers(const WideString& folder = {}) {
        return [this, folder](TModalRequest& r) {
            switch (r.What) {
            case TModalRequest::MessageBox:
                boxes.push_back(Utf16ToUtf8(r.Caption) + ": " + Utf16ToUtf8(r.Text));
                return IDOK;
            case TModalRequest::FolderDialog:
                if (folder.empty()) return static_cast<int>(mrCancel);
                r.Files = {folder};
                return static_cast<int>(mrOk);
            case TModalRequest::ModalForm:
                runWindow = dynamic_cast<TForm2*>(r.Form);
                return 0;
            default:
                return 0;
            }
        };
    }
    void PrintInto(const fs::path& file) {
        SetPrintDialogHook([file](PRINTDLGW& d) {
            d.outputFile = file.u16string();
            return true;
        });
    }
    testsupport::TempDir dir;
    std::vector<std::unique_ptr<HookedMessage>> owned;
    testsupport::StubProvider provider;
    std::vector<std::string> boxes;
    TForm2* runWindow = nullptr;
};

TEST_F(PrintCopyFormTest, PrintsEachMessageIntoTheChosenFileAndNamesTheOneThatFailed) {
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    std::string bomb;
    for (int i = 0; i < 100; ++i) bomb += "<table><tr><td>";
    Message("1.eml", "Quarterly numbers", "first body");
    Raw("2.eml", "From: b@example.com\r\nSubject: Nested\r\nContent-Type: text/html\r\n\r\n" + bomb);
    Message("3.eml", "Tee und Kuchen \xC3\xBC", "third body");
    const fs::path file = dir / "printed.pdf";
    PrintInto(file);
    TScopedModalHook hook(Answers());
    TForm2::PrintFiles(&provider, true);
    ASSERT_NE(runWindow, nullptr) << "an interactive print shows its window";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Print: 2 of 3 files printed successfully \n"
                        "Nested: the body could not be laid out: tables nested more than 32 deep");
    const std::string text = testsupport::PdfText(file);
    const std::size_t first = text.find("Quarterly numbers"), third = text.find("Tee und Kuchen \xC3\xBC");
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_NE(third, std::string::npos) << text;
    EXPECT_LT(first, third);
    EXPECT_EQ(PrintJobDC, nullptr) << "the run deletes the printer context";
}

TEST_F(PrintCopyFormTest, NothingChosenStartsNoJobAndASilentPrintWithoutPrinterSaysSo) {
    const fs::path file = dir / "none.pdf";
    PrintInto(file);
    TScopedModalHook hook(Answers());
    TForm2::PrintFiles(&provider, true);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(boxes.empty());

    SetPrintDialogHook([](PRINTDLGW&) { return false; });
    TForm2::PrintFiles(&provider, true);
    PrintTextRaw(&provider, true);
    EXPECT_TRUE(boxes.empty()) << "a cancelled print dialog ends the command quietly";

    if (!GetDefaultPrinterName().empty()) GTEST_SKIP() << "this machine has a printer";
    Message("1.eml", "S", "x");
    runWindow = nullptr;
    TForm2::PrintFiles(&provider, false);
    PrintTextRaw(&provider, false);
    EXPECT_EQ(runWindow, nullptr);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], "Print: " + Utf16ToUtf8(kNoPrinterText));
    EXPECT_EQ(boxes[1], boxes[0]);
}

TEST_F(PrintCopyFormTest, CopyReportsFailuresByNameAndStopsAtCancel) {
    const fs::path target = dir / "copies";
    fs::create_directories(target);
    Message("1.eml", "Broken", "x")->fails = true;
    HookedMessage* second = Message("2.eml", "Second", "x");
    HookedMessage* third = Message("3.eml", "Third", "x");
    third->onExport = [&] {
        if (const char* path = std::getenv("QUILLORA_SCREENSHOT")) {
            EXPECT_TRUE(dynamic_cast<QWidget*>(runWindow->Peer())->grab().save(QString::fromLocal8Bit(path)));
        }
    };
    TScopedModalHook hook(Answers(Utf8ToUtf16(target.string())));
    TForm2::CopyFiles(&provider);
    ASSERT_NE(runWindow, nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Copy: 2 of 3 files copied successfully \nBroken: store went away");
    EXPECT_EQ(std::distance(fs::directory_iterator(target), fs::directory_iterator()), 2);

    // Cancel pressed while the first message copies: that one is finished, no other starts.
    boxes.clear();
    provider.chosen = {second, third, third};
    third->onExport = nullptr;
    second->onExport = [&] { runWindow->uxCancelClick(nullptr); };
    TForm2::CopyFiles(&provider);
    EXPECT_EQ(boxes, std::vector<std::string>{"Copy: 1 of 3 files copied successfully "});

    // No folder chosen, or nothing to copy: no run and no box.
    boxes.clear();
    runWindow = nullptr;
    {
        TScopedModalHook cancel(Answers());
        TForm2::CopyFiles(&provider);
    }
    provider.chosen.clear();
    TForm2::CopyFiles(&provider);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PrintCopyFormTest, HeaderPrintPutsTheHeaderLinesIntoOneJob) {
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    Message("1.eml", "First <one>", "not printed");
    Message("2.eml", "Second", "not printed");
    const fs::path file = dir / "headers.pdf";
    PrintInto(file);
    TScopedModalHook hook(Answers());
    PrintTextRaw(&provider, true);
    EXPECT_TRUE(boxes.empty());
    const std::string text = testsupport::PdfText(file);
    EXPECT_NE(text.find("Subject: First <one>"), std::string::npos) << text;
    EXPECT_NE(text.find("Subject: Second"), std::string::npos) << text;
    EXPECT_EQ(text.find("not printed"), std::string::npos) << text;
}

}  // namespace
