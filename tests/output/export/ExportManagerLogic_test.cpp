// The export manager's control states in both modes, the format list, the start-number edit
// and the mapping of the controls into the run's record.
#include <gtest/gtest.h>

#include "output/export/ExportManagerLogic.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(ExportManagerLogic, ControlStatesFollowModeAndChoices) {
    ExportFormState s;
    // File naming mode hides the export-only controls and picks the custom scheme.
    s.exportMode = false;
    ExportFormView v = UpdateControls(s);
    for (const char* name : {"cbSameName", "cbCustomScheme", "cbExtractAttachment", "cbExportFolders",
                             "cbInsertFileName", "ExportFormatCombo", "cbStopOnError", "cbCopyFailed", "edFailedPath"})
        EXPECT_FALSE(v[name].visible) << name;
    EXPECT_FALSE(s.sameName);
    EXPECT_TRUE(v["WP"].enabled);
    EXPECT_TRUE(v["edNumber"].enabled);
    EXPECT_FALSE(v["cbLetter"].enabled);
    // Back in export mode: named after the message again, scheme controls disabled.
    s.exportMode = true;
    v = UpdateControls(s);
    EXPECT_TRUE(s.sameName);
    EXPECT_TRUE(v["cbSameName"].visible);
    EXPECT_FALSE(v["WP"].enabled);

    const struct {
        bool fileNumbering;
        int letter;
        bool increase;
        bool edNumber, cbNumberRange, cbLetter, cbIncreaseLetter, increaseAfter;
    } cases[] = {
        {true, 0, true, true, false, false, false, false},
        {true, 3, true, true, false, false, false, true},
        {false, 0, true, false, true, true, false, false},
        {false, 3, true, false, true, true, true, true},
    };
    for (const auto& c : cases) {
        ExportFormState t;
        t.sameName = false;
        t.fileNumbering = c.fileNumbering;
        t.letterIndex = c.letter;
        t.increaseLetter = c.increase;
        ExportFormView w = UpdateControls(t);
        SCOPED_TRACE(std::to_string(c.fileNumbering) + " letter " + std::to_string(c.letter));
        EXPECT_EQ(w["edNumber"].enabled, c.edNumber);
        EXPECT_EQ(w["cbNumberRange"].enabled, c.cbNumberRange);
        EXPECT_EQ(w["cbLetter"].enabled, c.cbLetter);
        EXPECT_EQ(w["cbIncreaseLetter"].enabled, c.cbIncreaseLetter);
        EXPECT_EQ(t.increaseLetter, c.increaseAfter);
    }

    // Per-message folders only with attachments; the failed folder only when copying.
    ExportFormState u;
    u.exportFolders = true;
    v = UpdateControls(u);
    EXPECT_FALSE(v["cbExportFolders"].enabled);
    EXPECT_FALSE(u.exportFolders);
    EXPECT_FALSE(v["edFailedPath"].enabled);
    u.extractAttachment = u.copyFailed = true;
    v = UpdateControls(u);
    EXPECT_TRUE(v["cbExportFolders"].enabled);
    EXPECT_TRUE(v["edFailedPath"].enabled && v["browseFailedPath"].enabled);

    EnableControls(v, false);
    EXPECT_FALSE(v["StartBtn"].enabled);
    EXPECT_TRUE(v["CancelBtn"].enabled);
}

TEST(ExportManagerLogic, FormatsNumberEditAndStart) {
    const auto formats = ExportFormatList(u"png\nPDF\r\nJPG\n");
    std::vector<std::string> names;
    for (const auto& f : formats) names.push_back(Utf16ToUtf8(f));
    EXPECT_EQ(names, (std::vector<std::string>{"TXT", "PNG", "PDF", "JPG"}));
    EXPECT_EQ(DefaultFormatIndex(formats), 2);
    EXPECT_EQ(DefaultFormatIndex(ExportFormatList(u"")), 0);

    EXPECT_EQ(Utf16ToUtf8(FilterNumberText(u"12a3")), "123");
    EXPECT_EQ(Utf16ToUtf8(FilterNumberText(u"12345678901")), "123456789");

    ExportFormState s;
    EXPECT_FALSE(CanStart(s));
    testsupport::TempDir dir;
    s.path = Utf8ToUtf16(dir.path().string());
    EXPECT_TRUE(CanStart(s));
    s.path += u"/missing";
    EXPECT_FALSE(CanStart(s));
}

TEST(ExportManagerLogic, ReadExportOptionsMapsEveryField) {
    ExportFormState s;
    s.path = u"/out";
    s.formatIndex = 2;
    s.formatName = u"PDF";
    s.sameName = false;
    s.prefix = u"DOC";
    s.fileNumbering = false;
    s.digitIndex = 0;
    s.letterIndex = 1;
    s.increaseLetter = true;
    s.extractAttachment = true;
    s.exportFolders = true;
    s.insertFileName = true;
    s.stopOnError = true;
    s.copyFailed = false;
    s.failedPath = u"/failed";
    ExportOpts o;
    o.stopRequested = true;
    ReadExportOptions(s, o);
    EXPECT_FALSE(o.stopRequested);
    EXPECT_EQ(o.destFolder, u"/out");
    EXPECT_EQ(o.formatIndex, 2);
    EXPECT_EQ(o.formatName, u"PDF");
    EXPECT_FALSE(o.sameName);
    EXPECT_EQ(o.prefix, u"DOC");
    EXPECT_FALSE(o.useFileNumbering);
    EXPECT_EQ(o.maxNumber, 9);
    EXPECT_EQ(o.currentNumber, 0);
    EXPECT_EQ(o.letter, u'A');
    EXPECT_TRUE(o.allowLetterIncrement && o.extractAttachments && o.perMessageFolders && o.insertFileName &&
                o.stopOnError);
    EXPECT_TRUE(o.failedFolder.empty());  // not copying, whatever the edit shows
    // Bates numbering from the dialog's record: DOCA0 ... DOCA9, DOCB0.
    for (int i = 0; i < 10; ++i) GenerateFileName(o);
    EXPECT_EQ(Utf16ToUtf8(GenerateFileName(o)), "DOCB0");

    const int maxima[] = {9, 99, 999, 9999, 99999, 999999};
    for (int i = 0; i < 6; ++i) {
        s.digitIndex = i;
        ReadExportOptions(s, o);
        EXPECT_EQ(o.maxNumber, maxima[i]);
    }
    s.fileNumbering = true;
    s.number = u"0042";
    s.copyFailed = true;
    s.letterIndex = 0;
    ReadExportOptions(s, o);
    EXPECT_EQ(o.currentNumber, 42);
    EXPECT_EQ(o.startNumber, 42);
    EXPECT_EQ(o.maxNumber, 99999999);
    EXPECT_EQ(o.letter, 0);
    EXPECT_FALSE(o.allowLetterIncrement);
    EXPECT_EQ(o.failedFolder, u"/failed");
    s.number = u"";
    ReadExportOptions(s, o);
    EXPECT_EQ(o.currentNumber, 0);
}

}  // namespace
