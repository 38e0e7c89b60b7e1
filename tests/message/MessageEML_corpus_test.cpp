// Every .eml of the shared corpus loads, headers only and in full, and shows itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/SupportLibrary.h"
#include "message/MessageEML.h"
#include "message/ViewEmpty.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> CorpusEmlFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(testsupport::CorpusDir()))
        if (entry.is_regular_file() && entry.path().extension() == ".eml") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(MessageEMLCorpus, EveryFileLoadsHeadersOnlyAndInFull)
{
    QUILLORA_REQUIRE_CORPUS();
    ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
    const std::vector<fs::path> files = CorpusEmlFiles();
    ASSERT_FALSE(files.empty());
    int withAttachments = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const WideString path = Utf8ToUtf16(file.string());
        MessageEML headers;
        ASSERT_TRUE(headers.LoadFromFile(path, true));
        EXPECT_EQ(headers.loadLevel, mllHeaders);
        EXPECT_TRUE(headers.attachments.empty());

        MessageEML full;
        ASSERT_TRUE(full.LoadFromFile(path, false));
        EXPECT_EQ(full.loadLevel, mllFull);
        // The list row and the full record agree on what the header says.
        EXPECT_EQ(full.subject, headers.subject);
        EXPECT_EQ(full.from, headers.from);
        EXPECT_EQ(full.to, headers.to);
        EXPECT_EQ(full.date, headers.date);
        EXPECT_EQ(full.hasAttachments || headers.hasAttachments, full.hasAttachments);
        withAttachments += full.attachments.empty() ? 0 : 1;

        ViewEmpty view;
        full.Display(view, false);
        EXPECT_FALSE(full.shownFile.empty());
        EXPECT_TRUE(fs::exists(Utf16ToUtf8(full.shownFile)));
    }
    EXPECT_GT(withAttachments, 5);
}

// A file name in raw UTF-8 bytes in a message whose text is ISO-8859-1 keeps its letters from
// the list to the saved file.
TEST(MessageEMLCorpus, RawUtf8AttachmentNameRoundTrips)
{
    QUILLORA_REQUIRE_CORPUS();
    ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
    const fs::path file = testsupport::CorpusDir() / "eml/mail-fixtures/attachment_emails/attachment_nonascii_filename.eml";
    MessageEML message;
    ASSERT_TRUE(message.LoadFromFile(Utf8ToUtf16(file.string()), false));
    ASSERT_EQ(message.attachments.size(), 1u);
    EXPECT_EQ(message.attachments[0].name, u"ci\u00EBle.txt");
    testsupport::TempDir out;
    std::vector<WideString> saved;
    ASSERT_TRUE(message.SaveAllAttachments(Utf8ToUtf16(out.path().string()), u"", &saved, false));
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_TRUE(fs::exists(out.path() / "ci\xC3\xABle.txt"));
    EXPECT_EQ(testsupport::ReadFileBytes(out.path() / "ci\xC3\xABle.txt").substr(0, 9), "Hi there.");
}

}  // namespace
