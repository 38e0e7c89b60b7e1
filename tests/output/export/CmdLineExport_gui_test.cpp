// The command-line export over fixture messages in temporary folders: text byte for byte, PDF
// names, information and text order, images, attachments, failures with their report and
// copies, the rules of collection, path safety, Bates numbering through the run's record, and
// the exit statuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "app/AppLocDB.h"
#include "app/SupportLibrary.h"
#include "app/UiStrings.h"
#include "message/MessageEML.h"
#include "output/export/CmdLineExport.h"
#include "output/export/ExportRun.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/message/MsgTreeBuilder.h"
#include "tests/output/OutputChecks.h"
#include "tests/output/export/RecordingProgress.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ScopedEnv;
using testsupport::TempDir;

const char kPlain[] =
    "From: Ann Example <ann@example.com>\r\n"
    "To: Bob <bob@example.com>\r\n"
    "Subject: Quarterly status\r\n"
    "Date: Tue, 15 Nov 1994 08:12:31 +0000\r\n"
    "\r\n"
    "All is well.\r\n";

const char kWithFile[] =
    "From: Ann Example <ann@example.com>\r\n"
    "To: Bob <bob@example.com>\r\n"
    "Subject: Budget numbers\r\n"
    "MIME-Version: 1.0\r\n"
    "Content-Type: multipart/mixed; boundary=\"b\"\r\n"
    "\r\n"
    "--b\r\n"
    "Content-Type: text/plain; charset=utf-8\r\n"
    "\r\n"
    "See the notes, caf\xC3\xA9.\r\n"
    "--b\r\n"
    "Content-Type: text/plain; name=\"notes.txt\"\r\n"
    "Content-Disposition: attachment; filename=\"notes.txt\"\r\n"
    "\r\n"
    "attached text\r\n"
    "--b--\r\n";

const char kHtmlOnly[] =
    "From: a@example.com\r\n"
    "Subject: html only\r\n"
    "Content-Type: text/html; charset=utf-8\r\n"
    "\r\n"
    "<html><body><p>only html</p></body></html>\r\n";

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

std::set<std::string> Listing(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// The UTF-16LE file's text without its byte-order mark, as UTF-8.
std::string Utf16File(const fs::path& file)
{
    const std::string bytes = testsupport::ReadFileBytes(file);
    if (bytes.size() < 2 || bytes.substr(0, 2) != "\xFF\xFE") return "(no byte-order mark)";
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return Utf16ToUtf8(text);
}

std::string MsgFixture(const TempDir& dir, const std::string& name)
{
    using namespace msgtree;
    TMSGFile f;
    TMSGProperties& root = f.GetProperties();
    Bytes(root, 0x001A001E, "IPM.Note");
    Int(Fixed(root), 0x3FDE0003, 1252);
    Wide(root, 0x0037001F, u"Compound subject");
    Wide(root, 0x0C1A001F, u"Carla");
    Wide(root, 0x1000001F, u"compound body text");
    return Write(f, dir, name);
}

class CmdLineExportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
    }
    void SetUp() override { RegisterUiStrings(); }

    int Export(const std::string& argument, bool withConverter = true) {
        std::shared_ptr<IHTMLConverter> converter;
        if (withConverter) converter = CreateHtmlConverter();
        return cmdLineExport({"quillora", "+EXPORT=" + argument}, converter);
    }
    std::string P(const fs::path& p) const { return p.string(); }

    TempDir root;
    const fs::path in = root / "in";
    const fs::path out = root / "out";
    const fs::path failed = root / "failed";
    ScopedEnv data{"XDG_DATA_HOME", (root / "data").string()};
    ScopedEnv zone{"TZ", "UTC"};
    testsupport::ScopedRegistry registry;
};

TEST_F(CmdLineExportTest, TextIsUtf16WithHeaderAndBody) {
    root.WriteFile("in/plain.eml", kPlain);
    root.WriteFile("in/withfile.eml", kWithFile);
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",TXT,N,"), ceAllExported);
    EXPECT_EQ(Listing(out), (std::set<std::string>{"plain.TXT", "withfile.TXT"}));
    const std::string plain = testsupport::ReadFileBytes(out / "plain.TXT");
    EXPECT_EQ(plain.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(Utf16File(out / "plain.TXT"),
              "Message File name: plain.eml\r\n\r\n"
              "From: Ann Example  [ann@example.com]\r\nTo: Bob <bob@example.com>\r\nCC: \r\nBCC: \r\n"
              "Created: 1994-11-15 08:12:31\r\nSubject: Quarterly status\r\n\r\nAttachments:\r\n\r\n\r\n"
              "All is well.\r\n");
    // The attachment list comes from the fully loaded message.
    const std::string withFile = Utf16File(out / "withfile.TXT");
    EXPECT_NE(withFile.find("Attachments:\r\nnotes.txt\r\n"), std::string::npos) << withFile;
    EXPECT_NE(withFile.find("See the notes, caf\xC3\xA9."), std::string::npos) << withFile;
}

TEST_F(CmdLineExportTest, HtmlOnlyMessageFailsTextExportButKeepsItsFile) {
    root.WriteFile("in/html.eml", kHtmlOnly);
    root.WriteFile("in/plain.eml", kPlain);
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",txt,," + P(failed)), ceSomeFailed);
    EXPECT_EQ(Listing(out), (std::set<std::string>{"html.txt", "plain.txt"}));
    EXPECT_NE(Utf16File(out / "html.txt").find("WARNING: Message  has no plain text body"), std::string::npos);
    const std::string report = Utf16File(failed / "ExportLog.txt");
    EXPECT_EQ(report, "WARNING: Message " + P(in / "html.eml") +
                          " has no plain text body and can not be exported to plain text properly. Please use "
                          "image or pdf format.\r\n");
    EXPECT_TRUE(fs::exists(failed / "html.eml"));
}

TEST_F(CmdLineExportTest, PdfNamesInformationAndTextOrder) {
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "poppler-utils missing";
    root.WriteFile("in/withfile.eml", kWithFile);
    MsgFixture(root, "in/compound.msg");
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",pdf,,"), ceAllExported);
    EXPECT_EQ(Listing(out), (std::set<std::string>{"compound.pdf", "withfile.pdf"}));
    const std::string info = Output("pdfinfo '" + P(out / "withfile.pdf") + "'");
    EXPECT_NE(info.find("Title:           withfile.eml"), std::string::npos) << info;
    EXPECT_NE(info.find("Author:          Quillora Pro"), std::string::npos) << info;
    EXPECT_NE(info.find("Subject:         Budget numbers"), std::string::npos) << info;
    const std::string text = testsupport::PdfText(out / "withfile.pdf");
    const size_t subject = text.find("Budget numbers"), body = text.find("See the notes, caf\xC3\xA9.");
    ASSERT_NE(subject, std::string::npos) << text;
    ASSERT_NE(body, std::string::npos) << text;
    EXPECT_LT(subject, body);
    EXPECT_NE(testsupport::PdfText(out / "compound.pdf").find("compound body text"), std::string::npos);

    // A second run never overwrites: the new files are numbered.
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",pdf,,"), ceAllExported);
    EXPECT_EQ(Listing(out),
              (std::set<std::string>{"compound.pdf", "compound (2).pdf", "withfile.pdf", "withfile (2).pdf"}));
}

// Every picture and PDF format shows the header and, below it, the body at a readable size:
// a plain body, a 600-letter word that must wrap, and a wide table that keeps its grid.
TEST_F(CmdLineExportTest, EveryPagedFormatShowsTheHeaderAndTheBodyReadably) {
    for (const outputchecks::Kind& kind : outputchecks::kMessages) root.WriteFile("in/" + std::string(kind.name) + ".eml", kind.text());
    for (const std::string format : {"png", "jpg", "bmp", "pdf"}) {
        SCOPED_TRACE(format);
        if (format == "pdf" && !testsupport::HasPdfToText()) continue;
        const fs::path folder = root / ("out-" + format);
        ASSERT_EQ(Export(P(in) + "," + P(folder) + "," + format + ",,"), ceAllExported);
        for (const outputchecks::Kind& kind : outputchecks::kMessages) {
            const fs::path file = folder / (std::string(kind.name) + "." + format);
            if (format == "pdf")
                outputchecks::ExpectReadablePdf(file, kind);
            else
                outputchecks::ExpectReadablePicture(file, kind);
        }
    }
}

// A picture taller than an image may be is a failed message with its report line, not a
// blank file counted as exported.
TEST_F(CmdLineExportTest, APictureThatCannotBeDrawnFailsTheMessage) {
    std::string tall = outputchecks::Headers("Tall", "text/plain");
    for (int i = 0; i < 2500; ++i) tall += "line " + std::to_string(i) + "\r\n";
    root.WriteFile("in/tall.eml", tall);
    root.WriteFile("in/plain.eml", kPlain);
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",png,," + P(failed)), ceSomeFailed);
    EXPECT_EQ(Listing(out), (std::set<std::string>{"plain.png"}));
    EXPECT_EQ(Utf16File(failed / "ExportLog.txt"), "Error exporting message \"" + P(in / "tall.eml") + "\" to image\r\n");
    EXPECT_TRUE(fs::exists(failed / "tall.eml"));
}

TEST_F(CmdLineExportTest, AttachmentsBesideOrInAFolderPerMessage) {
    root.WriteFile("in/withfile.eml", kWithFile);
    root.WriteFile("in/plain.eml", kPlain);
    root.WriteFile("out/notes.txt", "already here");
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",TXT,A,"), ceAllExported);
    EXPECT_EQ(Listing(out), (std::set<std::string>{"notes.txt", "notes (2).txt", "plain.TXT", "withfile.TXT"}));
    EXPECT_EQ(testsupport::ReadFileBytes(out / "notes.txt"), "already here");
    EXPECT_EQ(testsupport::ReadFileBytes(out / "notes (2).txt"), "attached text");

    const fs::path folders = root / "folders";
    ASSERT_EQ(Export(P(in) + "," + P(folders) + ",TXT,AF,"), ceAllExported);
    EXPECT_EQ(Listing(folders), (std::set<std::string>{"plain.TXT", "withfile"}));
    EXPECT_EQ(Listing(folders / "withfile"), (std::set<std::string>{"notes.txt", "withfile.TXT"}));
    // F without A does nothing.
    const fs::path noA = root / "noA";
    ASSERT_EQ(Export(P(in) + "," + P(noA) + ",TXT,F,"), ceAllExported);
    EXPECT_EQ(Listing(noA), (std::set<std::string>{"plain.TXT", "withfile.TXT"}));
}

TEST_F(CmdLineExportTest, FailuresAreReportedCopiedAndStopTheRunWhenAsked) {
    root.WriteFile("in/a-broken.msg", "not a message at all");
    root.WriteFile("in/b-plain.eml", kPlain);
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",TXT,," + P(failed)), ceSomeFailed);
    EXPECT_EQ(Utf16File(failed / "ExportLog.txt"), "Can't load message \"" + P(in / "a-broken.msg") + "\"\r\n");
    EXPECT_EQ(testsupport::ReadFileBytes(failed / "a-broken.msg"), "not a message at all");
    EXPECT_EQ(Listing(out), (std::set<std::string>{"b-plain.TXT"}));

    // S: the run ends after the first failure.
    const fs::path stopped = root / "stopped";
    ASSERT_EQ(Export(P(in) + "," + P(stopped) + ",TXT,S,"), ceSomeFailed);
    EXPECT_FALSE(fs::exists(stopped / "b-plain.TXT"));
    // Without a failed folder, or with one that cannot be made, the report goes to app data.
    EXPECT_TRUE(fs::exists(root / "data" / "Quillora" / "ExportLog.txt"));
    fs::remove(root / "data" / "Quillora" / "ExportLog.txt");
    root.WriteFile("blocker", "a file where the folder should be");
    ASSERT_EQ(Export(P(in) + "," + P(root / "out2") + ",TXT,," + P(root / "blocker" / "sub")), ceSomeFailed);
    EXPECT_TRUE(fs::exists(root / "data" / "Quillora" / "ExportLog.txt"));

    // A report that cannot be written is its own status.
    ScopedEnv nowhere("XDG_DATA_HOME", (root / "blocker" / "data").string());
    EXPECT_EQ(Export(P(in) + "," + P(root / "out3") + ",TXT,,"), ceReportFailed);
}

TEST_F(CmdLineExportTest, TooManyFailuresEndTheRun) {
    for (int i = 0; i < 60; ++i) root.WriteFile("in/bad" + std::to_string(100 + i) + ".msg", "garbage");
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",TXT,," + P(failed)), ceSomeFailed);
    const std::string report = Utf16File(failed / "ExportLog.txt");
    size_t lines = 0;
    for (size_t at = report.find("Can't load message"); at != std::string::npos; at = report.find("Can't load message", at + 1))
        ++lines;
    EXPECT_EQ(lines, 51u);
    EXPECT_NE(report.find("bad150.msg\"\r\nFatal error: too many errors during export, aborting\r\n"), std::string::npos);
    EXPECT_EQ(report.find("bad151"), std::string::npos);
}

TEST_F(CmdLineExportTest, CollectionRules) {
    root.WriteFile("in/plain.eml", kPlain);
    root.WriteFile("in/mime.msg", kPlain);  // a MIME message named .msg
    root.WriteFile("in/empty.eml", "");
    root.WriteFile("in/notes.txt", "not a message");
    root.WriteFile("in/sub/inner.eml", kPlain);
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",TXT,,"), ceAllExported);
    EXPECT_EQ(Listing(out), (std::set<std::string>{"mime.TXT", "plain.TXT"}));
    EXPECT_NE(Utf16File(out / "mime.TXT").find("All is well."), std::string::npos);

    // One file as the source.
    ASSERT_EQ(Export(P(in / "plain.eml") + "," + P(root / "one") + ",TXT,,"), ceAllExported);
    EXPECT_EQ(Listing(root / "one"), (std::set<std::string>{"plain.TXT"}));

    EXPECT_EQ(Export(P(root / "missing") + "," + P(out) + ",TXT,,"), ceBadRequest);
    EXPECT_EQ(Export(P(in / "notes.txt") + "," + P(out) + ",TXT,,"), ceBadRequest);
    EXPECT_EQ(Export(P(in) + "," + P(out) + ",gif,,"), ceBadRequest);
    EXPECT_EQ(Export(P(in) + "," + P(out) + ",pdf,,", false), ceBadRequest);

    // A store that cannot be opened is a failure the report names.
    root.WriteFile("stores/bad.pst", "not a store");
    EXPECT_EQ(Export(P(root / "stores") + "," + P(root / "storeOut") + ",TXT,," + P(failed)), ceSomeFailed);
    EXPECT_EQ(Utf16File(failed / "ExportLog.txt"), "Can't load message \"" + P(root / "stores" / "bad.pst") + "\"\r\n");
}

TEST_F(CmdLineExportTest, NamesNeverLeaveTheDestination) {
    root.WriteFile("in/...eml", kWithFile);  // its name without extension is ".."
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",TXT,AF,"), ceAllExported);
    for (const auto& e : fs::recursive_directory_iterator(root.path())) {
        const std::string p = e.path().string();
        EXPECT_TRUE(p.rfind(P(in), 0) == 0 || p.rfind(P(out), 0) == 0 || p.rfind(P(root / "data"), 0) == 0 ||
                    p.rfind(P(registry.path()), 0) == 0)
            << p;
    }
    EXPECT_EQ(Listing(out).size(), 1u);
}

TEST_F(CmdLineExportTest, AnInteractiveRunShowsProgressBoxesAndHonoursCancel) {
    std::vector<std::unique_ptr<MessageEML>> owned;
    MessageAttrDeque messages;
    for (int i = 0; i < 8; ++i) {
        owned.push_back(std::make_unique<MessageEML>());
        ASSERT_TRUE(owned.back()->LoadFromFile(
            Utf8ToUtf16(P(root.WriteFile("in/m" + std::to_string(i) + ".eml", kPlain))), true));
        messages.push_back(owned.back().get());
    }
    ExportOpts o;
    o.destFolder = Utf8ToUtf16(P(out));
    o.formatName = u"TXT";
    o.messages = &messages;
    o.prefix = u"R";
    o.useFileNumbering = true;
    o.currentNumber = 7;
    testsupport::RecordingProgress progress;
    progress.opts = &o;
    o.progressForm = &progress;
    PDFExport(o);
    EXPECT_EQ(Listing(out).size(), 8u);
    EXPECT_TRUE(fs::exists(out / "R7.TXT") && fs::exists(out / "R14.TXT"));
    EXPECT_EQ(progress.boxes, (std::vector<std::string>{"Completed: All files exported successfully"}));
    EXPECT_EQ(progress.statuses.back(), "Completed");
    EXPECT_EQ(progress.statuses[4], "Exporting... [5 of 8];  Remaining time: ");
    EXPECT_EQ(progress.percents[3], 50);
    EXPECT_EQ(o.progressPercent, 0);

    // Cancel during the second pump: the third message is still written, then the run ends.
    testsupport::RecordingProgress cancelling;
    cancelling.opts = &o;
    cancelling.cancelAfterPumps = 2;
    o.progressForm = &cancelling;
    o.destFolder = Utf8ToUtf16(P(root / "cancelled"));
    o.stopRequested = false;
    PDFExport(o);
    EXPECT_EQ(Listing(root / "cancelled").size(), 3u);
    EXPECT_EQ(cancelling.boxes, (std::vector<std::string>{"Operation aborted: Some files were not exported"}));

    // A failed folder that cannot be made: said once, and the report goes to app data.
    root.WriteFile("blocker", "x");
    root.WriteFile("in/broken.msg", "garbage");
    auto broken = std::make_unique<MessageEML>();
    broken->LoadFromFile(Utf8ToUtf16(P(root / "in" / "broken.msg")), true);
    broken->fileName = Utf8ToUtf16(P(root / "in" / "broken.msg"));
    MessageAttrDeque one{broken.get()};
    testsupport::RecordingProgress failing;
    o.progressForm = &failing;
    failing.opts = &o;
    o.messages = &one;
    o.stopRequested = false;
    o.failedFolder = Utf8ToUtf16(P(root / "blocker" / "failed"));
    const ExportOutcome r = PDFExport(o);
    ASSERT_EQ(failing.boxes.size(), 2u);
    EXPECT_EQ(failing.boxes[0].rfind("Error: Can't create folder to copy failed messages", 0), 0u) << failing.boxes[0];
    EXPECT_EQ(failing.boxes[1], "Completed: Some files were not exported");
    EXPECT_EQ(failing.opened, (std::vector<std::string>{Utf16ToUtf8(r.reportPath)}));
    EXPECT_EQ(fs::path(Utf16ToUtf8(r.reportPath)), root / "data" / "Quillora" / "ExportLog.txt");
}

TEST_F(CmdLineExportTest, BatesNumberingThroughTheRunsRecord) {
    auto plain = std::make_unique<MessageEML>();
    auto withFile = std::make_unique<MessageEML>();
    ASSERT_TRUE(plain->LoadFromFile(Utf8ToUtf16(P(root.WriteFile("in/p.eml", kPlain))), true));
    ASSERT_TRUE(withFile->LoadFromFile(Utf8ToUtf16(P(root.WriteFile("in/w.eml", kWithFile))), true));
    MessageAttrDeque messages{plain.get(), withFile.get(), plain.get()};
    ExportOpts o;
    o.destFolder = Utf8ToUtf16(P(out));
    o.formatName = u"TXT";
    o.messages = &messages;
    o.prefix = u"DOC";
    o.letter = u'A';
    o.maxNumber = 1;
    o.extractAttachments = true;
    o.failedFolder = Utf8ToUtf16(P(failed));
    const ExportOutcome r = PDFExport(o);
    EXPECT_EQ(r.exported, 2);
    EXPECT_EQ(r.failed, 1);
    EXPECT_TRUE(o.stopRequested);
    EXPECT_EQ(Listing(out), (std::set<std::string>{"DOCA0.TXT", "DOCA1.TXT", "DOCA1 - notes.txt"}));
    EXPECT_EQ(Utf16File(failed / "ExportLog.txt"),
              "Too many files for current naming scheme, please change naming scheme settings.\r\n");
}

}  // namespace

#include "tests/platform/mapi/PstBuilder.h"

namespace {

pstbuild::Message StoreMail(const std::u16string& subject, const std::u16string& body)
{
    pstbuild::Message m;
    m.subject = subject;
    m.sender = u"Dora";
    m.body = body;
    m.recipients = {{1, u"Eve", u"eve@example.com"}};
    return m;
}

TEST_F(CmdLineExportTest, StoreMessagesAreNamedBySubjectAndStayInside) {
    pstbuild::Store store;
    pstbuild::Message withFile = StoreMail(u"Store budget", u"store body one");
    withFile.attachments = {{u"sheet.csv", "a,b\n", {}, {}}};
    store.folders = {pstbuild::Folder{
        u"Inbox", u"IPF.Note",
        {withFile, StoreMail(u"../../escape", u"hostile body"), StoreMail(u"", u"no subject body")}, {}, ""}};
    fs::create_directories(in);
    ASSERT_TRUE(pstbuild::WriteFile(store, P(in / "mail.pst")));
    ASSERT_EQ(Export(P(in) + "," + P(out) + ",TXT,AF,"), ceAllExported);
    const std::set<std::string> names = Listing(out);
    EXPECT_EQ(names.size(), 3u);
    EXPECT_TRUE(names.count("Store budget")) << *names.begin();
    EXPECT_EQ(Listing(out / "Store budget"), (std::set<std::string>{"Store budget.TXT", "sheet.csv"}));
    // The hostile subject is one name; the empty one falls back to the store's name and row.
    EXPECT_TRUE(names.count(".._.._escape.TXT"));
    EXPECT_TRUE(names.count("mail_2.TXT"));
    EXPECT_NE(Utf16File(out / "mail_2.TXT").find("no subject body"), std::string::npos);
}

}  // namespace
