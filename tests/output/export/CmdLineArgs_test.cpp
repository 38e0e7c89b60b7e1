// The command-line export's argument: which argument is read, its five fields, quoting, the
// option letters, and what is refused.
#include <gtest/gtest.h>

#include "output/export/CmdLineExport.h"
#include "platform/win/WinString.h"

namespace {

TEST(CmdLineExportArgs, FieldsQuotesAndLetters) {
    const struct {
        std::vector<std::string> argv;
        bool parsed;
        const char *source, *destination, *format, *failed;
        bool a, n, f, s;
    } cases[] = {
        {{"quillora", "+EXPORT=/mail,/out,pdf,AS,/failed"}, true, "/mail", "/out", "pdf", "/failed", true, false, false, true},
        {{"quillora", "+EXPORT=\"/mail, old\",/out,pdf,AS,/failed"}, true, "/mail, old", "/out", "pdf", "/failed", true, false, false, true},
        {{"quillora", "+EXPORT=/in/a.msg,/out,TXT,,"}, true, "/in/a.msg", "/out", "TXT", "", false, false, false, false},
        {{"quillora", "+EXPORT=/in,/out,pdf,as,/f"}, true, "/in", "/out", "pdf", "/f", false, false, false, false},
        {{"quillora", "+EXPORT=/in,/out,png,FNxA,"}, true, "/in", "/out", "png", "", true, true, true, false},
        {{"quillora", "+export=/in,/out,txt,S,/f"}, true, "/in", "/out", "txt", "/f", false, false, false, true},
        {{"quillora", "+EXPORT=/in,/out, pdf ,,"}, true, "/in", "/out", "pdf", "", false, false, false, false},
        {{"quillora", "+EXPORT=/in,\"/out, new\",pdf,,\"/failed, too\""}, true, "/in", "/out, new", "pdf", "/failed, too", false, false, false, false},
        // The last field runs to the end of the command line: later arguments join it.
        {{"quillora", "+DEBUG", "+EXPORT=/in,/out,pdf,A,/my", "failed", "dir"}, true, "/in", "/out", "pdf", "/my failed dir", true, false, false, false},
        {{"quillora", "+EXPORT=/in,/out,pdf,AS"}, false, "", "", "", "", false, false, false, false},
        {{"quillora", "+EXPORT=/in,/out"}, false, "", "", "", "", false, false, false, false},
        {{"quillora", "/in,/out,pdf,AS,/f"}, false, "", "", "", "", false, false, false, false},
        // The program's own path is never read.
        {{"/opt/EXPORT=/a,/b,c,d,e/quillora", "x"}, false, "", "", "", "", false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argv.back());
        const auto args = ParseExportArgument(ExportArgumentText(c.argv));
        ASSERT_EQ(args.has_value(), c.parsed);
        if (!args) continue;
        EXPECT_EQ(Utf16ToUtf8(args->source), c.source);
        EXPECT_EQ(Utf16ToUtf8(args->destination), c.destination);
        EXPECT_EQ(Utf16ToUtf8(args->format), c.format);
        EXPECT_EQ(Utf16ToUtf8(args->failedFolder), c.failed);
        EXPECT_EQ(args->extractAttachments, c.a);
        EXPECT_EQ(args->insertFileName, c.n);
        EXPECT_EQ(args->perMessageFolders, c.f);
        EXPECT_EQ(args->stopOnError, c.s);
    }
}

TEST(CmdLineExportArgs, ExportArgumentIsRecognisedInAnyCase) {
    EXPECT_TRUE(IsExportArgument("+EXPORT=/a,/b,txt,,"));
    EXPECT_TRUE(IsExportArgument("+export"));
    EXPECT_FALSE(IsExportArgument("EXPORT=/a"));
    EXPECT_FALSE(IsExportArgument("+EXP"));
}

TEST(CmdLineExportArgs, RefusalsExitWithTwo) {
    // No converter: only text is possible.
    const struct {
        std::vector<std::string> argv;
    } cases[] = {
        {{"quillora", "+EXPORT=/in,/out,pdf"}},
        {{"quillora", "+EXPORT=/nonexistent-source-folder,/tmp/out,txt,,"}},
        {{"quillora", "+EXPORT=/tmp,/tmp/out,pdf,,"}},
        {{"quillora", "+EXPORT=/tmp,/tmp/out,bogus,,"}},
        {{"quillora", "+EXPORT=/tmp,,txt,,"}},
    };
    for (const auto& c : cases) EXPECT_EQ(cmdLineExport(c.argv, nullptr), ceBadRequest) << c.argv.back();
}

}  // namespace
