// The command-line export over copies of the real sample messages: every message that loads
// becomes a PDF holding its subject, attachments are extracted, and a damaged file among them
// makes the run end with status 1 and a report naming it.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/SupportLibrary.h"
#include "app/UiStrings.h"
#include "message/MessageMSG.h"
#include "output/export/CmdLineExport.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

std::string Flattened(std::string text)
{
    // pdftotext gives ligatures as single characters and breaks long lines.
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"\xEF\xAC\x81", "fi"}, {"\xEF\xAC\x82", "fl"}}) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) text.replace(at, from.size(), to);
    }
    // Only ASCII letters and digits: glyphs the installed fonts lack do not reach the text.
    std::string out;
    for (const char c : text)
        if (std::isalnum(static_cast<unsigned char>(c))) out += c;
    return out;
}

TEST(CmdLineExportCorpus, SampleMessagesBecomePdfsHoldingTheirSubjects) {
    QUILLORA_REQUIRE_CORPUS();
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "poppler-utils missing";
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
    RegisterUiStrings();
    TempDir root;
    testsupport::ScopedRegistry registry;
    testsupport::ScopedEnv data("XDG_DATA_HOME", (root / "data").string());
    const fs::path source = testsupport::CorpusDir() / "msg" / "msgreader";
    fs::create_directories(root / "in");
    int messages = 0;
    for (const auto& e : fs::directory_iterator(source)) {
        if (e.path().extension() != ".msg") continue;
        fs::copy_file(e.path(), root / "in" / e.path().filename());
        ++messages;
    }
    const int status = cmdLineExport({"quillora", "+EXPORT=" + (root / "in").string() + "," + (root / "out").string() +
                                                      ",pdf,A," + (root / "failed").string()},
                                     CreateHtmlConverter());
    EXPECT_EQ(status, ceAllExported);
    int checked = 0;
    for (const auto& e : fs::directory_iterator(root / "in")) {
        MessageMSG m;
        if (!m.LoadFromFile(Utf8ToUtf16(e.path().string()), true) || m.subject.empty()) continue;
        const std::string subject = Utf16ToUtf8(m.subject);
        if (Flattened(subject).empty()) continue;
        const fs::path pdf = root / "out" / (e.path().stem().string() + ".pdf");
        ASSERT_TRUE(fs::exists(pdf)) << pdf;
        EXPECT_NE(Flattened(testsupport::PdfText(pdf)).find(Flattened(subject)), std::string::npos) << pdf;
        ++checked;
    }
    EXPECT_GT(checked, 0);
    int attachments = 0;
    for (const auto& e : fs::directory_iterator(root / "out")) attachments += e.path().extension() != ".pdf";
    EXPECT_GT(attachments, 0);

    // A damaged file among them: status 1 and the report names it.
    fs::copy_file(root / "in" / fs::directory_iterator(root / "in")->path().filename(), root / "in" / "damaged.msg");
    fs::resize_file(root / "in" / "damaged.msg", 600);
    const int second = cmdLineExport({"quillora", "+EXPORT=" + (root / "in").string() + "," + (root / "out2").string() +
                                                      ",pdf,A," + (root / "failed").string()},
                                     CreateHtmlConverter());
    EXPECT_EQ(second, ceSomeFailed);
    EXPECT_NE(testsupport::ReadFileBytes(root / "failed" / "ExportLog.txt").find(
                  std::string("d\0a\0m\0a\0g\0e\0d\0.\0m\0s\0g\0", 22)),
              std::string::npos);
}

}  // namespace
