// Bates-style names, the output file's name and folder (collisions, per-message folders,
// names that try to leave the destination), exclusive creation and the run's small rules.
#include <gtest/gtest.h>

#include <filesystem>

#include "output/export/ExportOpts.h"
#include "output/export/ExportRun.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

std::vector<std::string> Names(ExportOpts opts, int calls)
{
    std::vector<std::string> out;
    for (int i = 0; i < calls; ++i) out.push_back(Utf16ToUtf8(GenerateFileName(opts)));
    return out;
}

ExportOpts Letters(const char16_t* prefix, char16_t letter, std::int32_t max, bool increment)
{
    ExportOpts o;
    o.prefix = prefix;
    o.letter = letter;
    o.maxNumber = max;
    o.allowLetterIncrement = increment;
    return o;
}

TEST(GenerateFileName, SequencesOfEachScheme) {
    // The whole letter series: A0 .. Z9, then nothing, for ever.
    const auto all = Names(Letters(u"", u'A', 9, true), 265);
    EXPECT_EQ(all[0], "A0");
    EXPECT_EQ(all[9], "A9");
    EXPECT_EQ(all[10], "B0");
    EXPECT_EQ(all[259], "Z9");
    for (int i = 260; i < 265; ++i) EXPECT_EQ(all[i], "") << i;

    const struct {
        ExportOpts opts;
        int calls;
        std::vector<std::string> expected;
    } cases[] = {
        {Letters(u"DOC", u'A', 9, true), 12, {"DOCA0", "DOCA1", "DOCA2", "DOCA3", "DOCA4", "DOCA5", "DOCA6", "DOCA7",
                                               "DOCA8", "DOCA9", "DOCB0", "DOCB1"}},
        {Letters(u"DOC", u'A', 1, false), 4, {"DOCA0", "DOCA1", "", ""}},
        {Letters(u"DOC", 0, 1, false), 3, {"DOC0", "DOC1", ""}},
        {Letters(u"", u'Y', 0, true), 4, {"Y0", "Z0", "", ""}},
        // Plain decimal: the digit choice only sets the series' end.
        {Letters(u"", u'C', 999, false), 1, {"C0"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Names(c.opts, c.calls), c.expected);

    ExportOpts numbered;
    numbered.prefix = u"DOC";
    numbered.useFileNumbering = true;
    numbered.letter = u'Q';  // ignored, as is the largest number
    numbered.maxNumber = 3;
    numbered.currentNumber = 5;
    EXPECT_EQ(Names(numbered, 3), (std::vector<std::string>{"DOC5", "DOC6", "DOC7"}));
    numbered.prefix.clear();
    numbered.currentNumber = 99999999;
    EXPECT_EQ(Names(numbered, 2), (std::vector<std::string>{"99999999", "100000000"}));
}

TEST(FormExportTarget, NamesAreUniqueAndStayInsideTheDestination) {
    TempDir dir;
    ExportOpts o;
    o.destFolder = Utf8ToUtf16(dir.path().string());
    o.formatName = u"PDF";
    const auto path = [&](const ExportTarget& t) { return fs::path(Utf16ToUtf8(t.fullPath)); };

    ExportTarget first = FormExportTarget(o, u"report", 0);
    EXPECT_EQ(path(first), dir / "report.PDF");
    EXPECT_EQ(Utf16ToUtf8(first.baseName), "report");
    dir.WriteFile("report.PDF", "x");
    ExportTarget second = FormExportTarget(o, u"report", 0);
    EXPECT_EQ(path(second), dir / "report (2).PDF");
    EXPECT_EQ(Utf16ToUtf8(second.baseName), "report (2)");

    // Attachments without F, or F without A: no folder of its own.
    o.perMessageFolders = true;
    EXPECT_EQ(path(FormExportTarget(o, u"mail", 3)).parent_path(), dir.path());
    o.extractAttachments = true;
    EXPECT_EQ(path(FormExportTarget(o, u"mail", 0)).parent_path(), dir.path());
    ExportTarget own = FormExportTarget(o, u"mail", 1);
    EXPECT_EQ(path(own), dir / "mail" / "mail.PDF");
    fs::create_directory(dir / "mail");
    EXPECT_EQ(path(FormExportTarget(o, u"mail", 1)), dir / "mail (2)" / "mail.PDF");

    // Names from messages never name folders, with or without a folder per message.
    for (const char16_t* hostile : {u"../../x", u"..", u"/etc/passwd", u"a/../../b", u"..\\..\\x"}) {
        for (int attachments : {0, 1}) {
            const ExportTarget t = FormExportTarget(o, hostile, attachments);
            const fs::path p = fs::weakly_canonical(path(t));
            const fs::path root = fs::weakly_canonical(dir.path());
            EXPECT_EQ(attachments ? p.parent_path().parent_path() : p.parent_path(), root) << p;
            EXPECT_EQ(std::string(Utf16ToUtf8(t.baseName)).find('/'), std::string::npos);
        }
    }
}

TEST(ReserveNewFile, NeverTouchesAnExistingFile) {
    TempDir dir;
    const auto taken = dir.WriteFile("taken.txt", "keep me");
    EXPECT_EQ(ReserveNewFile(Utf8ToUtf16(taken.string())), ERROR_FILE_EXISTS);
    EXPECT_EQ(testsupport::ReadFileBytes(taken), "keep me");
    EXPECT_EQ(ReserveNewFile(Utf8ToUtf16((dir / "new.txt").string())), 0u);
    EXPECT_TRUE(fs::exists(dir / "new.txt"));
    EXPECT_NE(ReserveNewFile(Utf8ToUtf16((dir / "missing" / "x.txt").string())), 0u);
}

TEST(ExportRunRules, RemainingTimeStatusErrorsAndPrefixes) {
    const struct {
        long long ms;
        const char* text;
    } times[] = {{0, ""}, {999, ""}, {72000, "1 m 12 s"}, {3600000, "1 h "}, {90061000, "1 d 1 h 1 m 1 s"}, {5000, "5 s"}};
    for (const auto& t : times) EXPECT_EQ(Utf16ToUtf8(RemainingTimeText(t.ms)), t.text) << t.ms;
    EXPECT_EQ(Utf16ToUtf8(ExportStatusText(6, 40, 72000)), "Exporting... [7 of 40];  Remaining time: 1 m 12 s");
    EXPECT_EQ(Utf16ToUtf8(ExportStatusText(4, 5, 72000)), "Exporting... [5 of 5];  Remaining time: ");

    EXPECT_FALSE(TooManyErrors(50, 49));
    EXPECT_TRUE(TooManyErrors(51, 50));
    EXPECT_FALSE(TooManyErrors(51, 51));  // one message succeeded

    EXPECT_EQ(Utf16ToUtf8(AttachmentPrefix(u"DOCA0", false, false)), "DOCA0 - ");
    EXPECT_EQ(Utf16ToUtf8(AttachmentPrefix(u"DOCA0", true, false)), "");
    EXPECT_EQ(Utf16ToUtf8(AttachmentPrefix(u"DOCA0", false, true)), "");
}

TEST(ExportRunRules, TranslatedTextsCannotReadMissingArguments) {
    EXPECT_EQ(Utf16ToUtf8(SubstituteArgs(u"Can't create folder \"%s\" for message \"%s\"", {u"/o", u"/m.eml"})),
              "Can't create folder \"/o\" for message \"/m.eml\"");
    // Extra or foreign conversions stay as text; "%%" is a percent sign.
    EXPECT_EQ(Utf16ToUtf8(SubstituteArgs(u"%s %s %n %d 100%%", {u"a"})), "a %s %n %d 100%");
    EXPECT_EQ(Utf16ToUtf8(SubstituteArgs(u"%s", {u"%s%n"})), "%s%n");
}

}  // namespace
