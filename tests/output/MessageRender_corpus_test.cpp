// Every message of the shared corpus renders onto PDF pages, its header before its body.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/SupportLibrary.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "output/HDCAdapter.h"
#include "output/MessageRender.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/outside/PdfDocument.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

TEST(MessageRenderCorpus, EveryMessageRendersWithItsHeader)
{
    QUILLORA_REQUIRE_CORPUS();
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(testsupport::CorpusDir()))
        if (e.is_regular_file() && (e.path().extension() == ".eml" || e.path().extension() == ".msg"))
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_GT(files.size(), 100u);
    testsupport::TempDir dir;
    auto converter = CreateHtmlConverter();
    MessageRender render;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        std::unique_ptr<TMessageAttr> message;
        if (file.extension() == ".msg") message = std::make_unique<MessageMSG>();
        else message = std::make_unique<MessageEML>();
        if (!message->LoadFromFile(Utf8ToUtf16(file.string()), false)) continue;  // the readers' own tests judge these
        auto pdf = CreatePdfDocument();
        PDF_HDCAdapter device(pdf);
        ASSERT_TRUE(render.RenderToDC(*message, device, *converter, 1)) << render.LastError();
        const fs::path out = dir / "message.pdf";
        ASSERT_EQ(pdf->SaveToFile(Utf8ToUtf16(out.string())), S_OK) << pdf->LastError();
        if (!message->subject.empty()) {
            EXPECT_NE(testsupport::PdfText(out).find("Subject:"), std::string::npos);
        }
    }
}

}  // namespace
