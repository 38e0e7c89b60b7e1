// Attachment names from messages never leave the folder they are saved in, and a save never
// destroys a file that is there: a failed save leaves it, a no-replace save refuses it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "message/MessageAttr.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"
#include "ui/AttachmentFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace testsupport;

// Writes "saved" for attachment 0 and fails for any other.
class FakeMessage : public TMessageAttr {
public:
    int GetType() override { return 1; }
    bool SaveAttachment(int index, const WideString& path, bool) override
    {
        if (index != 0) return false;
        std::ofstream(Utf16ToUtf8(path), std::ios::binary) << "saved";
        return true;
    }
};

TEST(AttachmentFiles, NamesAreOneSafeComponent)
{
    struct Case {
        const char16_t* name;
        const char16_t* safe;
    } const cases[] = {
        {u"Report.pdf", u"Report.pdf"},
        {u"../../x", u"__.._x"},
        {u"a/b", u"a_b"},
        {u"..\\evil.exe", u"__evil.exe"},
        {u"tab\tand\nline", u"tab_and_line"},
        {u".hidden", u"_hidden"},
        {u"..", u"_.."},
        {u"", u"attachment"},
    };
    for (const Case& c : cases) {
        const WideString safe = SafeAttachmentName(c.name);
        EXPECT_EQ(safe, c.safe) << Utf16ToUtf8(c.name);
        EXPECT_EQ(safe.find(u'/'), WideString::npos);
    }
    EXPECT_EQ(UpperExtension(u"a.b.pdf"), u".PDF");
    EXPECT_EQ(UpperExtension(u"noext"), u"");
}

TEST(AttachmentFiles, SavesNeverDestroyAnExistingFile)
{
    TempDir dir;
    FakeMessage message;
    const fs::path existing = dir.WriteFile("keep.txt", "mine");
    const WideString target = Utf8ToUtf16(existing.string());

    EXPECT_FALSE(SaveAttachmentSafely(message, 1, target, true)) << "the failing attachment";
    EXPECT_EQ(ReadFileBytes(existing), "mine");
    EXPECT_FALSE(SaveAttachmentSafely(message, 0, target, false)) << "no replace";
    EXPECT_EQ(ReadFileBytes(existing), "mine");
    EXPECT_TRUE(SaveAttachmentSafely(message, 0, target, true));
    EXPECT_EQ(ReadFileBytes(existing), "saved");
    // No temporary files are left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    const WideString temp = CreateTempFileName(Utf8ToUtf16(dir.path().string()));
    ASSERT_FALSE(temp.empty());
    EXPECT_TRUE(fs::exists(Utf16ToUtf8(temp)));
    EXPECT_EQ(fs::path(Utf16ToUtf8(temp)).parent_path(), dir.path());
    EXPECT_NE(CreateTempFileName(Utf8ToUtf16(dir.path().string())), temp);
}

}  // namespace
