// Listed records of each kind (.msg, .eml, a store's message) as the folder scan makes them:
// they hold the list's fields and nothing of the body or the attachments, and every command
// that needs more (display, print, export, save, reply, body search) still gets the whole
// message. Full loads made on demand are given back once enough newer ones were made.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "PstBuilder.h"
#include "app/UiStrings.h"
#include "mail/ReplyForward.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "message/ViewEmpty.h"
#include "output/TextRenderer.h"
#include "platform/win/WinString.h"
#include "search/SearchAlgorithm.h"
#include "search/SearchCriteria.h"
#include "tests/message/MsgFixture.h"
#include "tests/platform/mapi/FakeMailDesktop.h"
#include "tests/support/TestSupport.h"
#include "ui/MessageScanner.h"

namespace {

namespace fs = std::filesystem;
using namespace msgfixture;

constexpr char kBodyWord[] = "zebrafinch";
constexpr char kAttachmentData[] = "attachment bytes 12345";

// The plain-text view of a display.
class TextView : public ViewEmpty {
public:
    WideString text;
    void ViewRTFString(TMessageAttr&, const WideString& body, HWND* = nullptr) override { text += body; }
};

bool HasWord(const std::string& bytes)
{
    const std::string wide = Utf16(Wide(kBodyWord));
    return bytes.find(kBodyWord) != std::string::npos || bytes.find(wide) != std::string::npos;
}
bool HasWord(const WideString& text) { return Utf16ToUtf8(text).find(kBodyWord) != std::string::npos; }

std::string BodyText() { return std::string("Dear all, the ") + kBodyWord + " report follows."; }

struct Command {
    const char* name;
    // What the user gets from the command, as bytes or text holding the body word.
    std::function<bool(TMessageAttr&, const fs::path& folder)> givesWholeMessage;
};

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"display",
         [](TMessageAttr& m, const fs::path&) {
             TextView view;
             m.Display(view, true);
             return HasWord(view.text);
         }},
        {"print text",
         [](TMessageAttr& m, const fs::path&) {
             m.EnsureFullyLoaded();
             TextRenderer text;
             m.RenderHeadersAndBody(text);
             return HasWord(text.GetDocument());
         }},
        {"export",
         [](TMessageAttr& m, const fs::path& folder) {
             const WideString path = m.ExportToHtml(Utf8ToUtf16(folder.string()));
             return !path.empty() && HasWord(testsupport::ReadFileBytes(Utf16ToUtf8(path)));
         }},
        {"save attachments",
         [](TMessageAttr& m, const fs::path& folder) {
             std::vector<WideString> saved;
             m.SaveAllAttachments(Utf8ToUtf16(folder.string()), u"", &saved, false);
             return saved.size() == 1 && testsupport::ReadFileBytes(Utf16ToUtf8(saved[0])) == kAttachmentData;
         }},
        {"reply",
         [](TMessageAttr& m, const fs::path& folder) {
             FakeMailDesktop desktop;
             desktop.handler = {"mail.desktop", "mail %u"};
             desktop.rfc822Exec = "viewer %f";
             ReplyForwardContext context;
             context.desktop = &desktop;
             context.tempFolder = Utf8ToUtf16(folder.string());
             RunReplyForward(&m, false, context);
             // The draft handed to the mail program quotes the body.
             return desktop.launched.size() == 1 && HasWord(testsupport::ReadFileBytes(desktop.launched[0].at(1)));
         }},
        {"body search",
         [](TMessageAttr& m, const fs::path&) {
             SCBody criterion;
             criterion.SetValue(Wide(kBodyWord));
             criterion.SetAlgorithm(std::make_unique<SmartSearchAlgorithm>(false, false));
             return criterion.Match(&m);
         }},
    };
    return commands;
}

class ListedRecords : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterUiStrings();
        ScanRunning = false;
        const fs::path root = dir_.path();
        dir_.WriteFile("plain.eml", "From: Ann <ann@example.org>\r\nTo: bob@example.org\r\nSubject: eml subject\r\n"
                                    "Date: Tue, 15 Nov 1994 08:12:31 +0000\r\nMIME-Version: 1.0\r\n"
                                    "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n--b\r\n"
                                    "Content-Type: text/plain\r\n\r\n" + BodyText() + "\r\n--b\r\n"
                                    "Content-Type: application/octet-stream\r\n"
                                    "Content-Disposition: attachment; filename=\"data.bin\"\r\n\r\n" +
                                        kAttachmentData + "\r\n--b--\r\n");
        std::string msgPath;
        Build({Fixed(32, {}), Prop(0x0037001F, Utf16(u"msg subject")), Prop(0x0042001F, Utf16(u"Ann")),
               Prop(0x1000001F, Utf16(Wide(BodyText()))), Prop(0x007D001F, Utf16(u"Received: by host\r\n")),
               Storage("__attach_version1.0_#00000000",
                       {Fixed(8, {}), Prop(0x3707001F, Utf16(u"data.bin")), Prop(0x37010102, kAttachmentData)})},
              msgDir_, &msgPath);
        fs::copy_file(msgPath, root / "compound.msg");
        pstbuild::Store store;
        pstbuild::Folder inbox;
        inbox.name = u"Inbox";
        pstbuild::Message mail;
        mail.subject = u"pst subject";
        mail.sender = u"Ann";
        mail.body = Wide(BodyText());
        mail.attachments.push_back({u"data.bin", kAttachmentData, {}, {}});
        inbox.messages.push_back(mail);
        store.folders = {inbox};
        ASSERT_TRUE(pstbuild::WriteFile(store, (root / "store.pst").string()));
        scanner_.FindMSGFiles(Utf8ToUtf16(root.string()), nullptr, nullptr, false, ftAll);
        ASSERT_EQ(list_.size(), 3u);
    }
    void TearDown() override { scanner_.EmptyList(); }

    testsupport::ScopedRegistry registry_;
    testsupport::TempDir dir_;
    testsupport::TempDir msgDir_;
    MessageAttrDeque list_;
    MessageScanner scanner_{list_, {}};
};

void ExpectHeadersOnly(TMessageAttr& m)
{
    SCOPED_TRACE(Utf16ToUtf8(m.subject));
    EXPECT_EQ(m.loadLevel, mllHeaders);
    EXPECT_FALSE(m.subject.empty());
    EXPECT_TRUE(m.hasAttachments);
    EXPECT_TRUE(m.plainBody.empty() && m.htmlBody.empty() && m.loadedHtmlBody.empty() && m.rtfBody.empty());
    EXPECT_TRUE(m.headerText.empty());
    EXPECT_TRUE(m.attachments.empty() && m.inlineParts.empty() && m.bodyBuffer.empty());
    EXPECT_TRUE(m.shownFile.empty() && m.shownCharset.empty()) << "nothing of a display stays";
    if (auto* msg = dynamic_cast<MessageMSG*>(&m)) EXPECT_EQ(msg->GetMSGFile(), nullptr);
    if (auto* eml = dynamic_cast<MessageEML*>(&m)) EXPECT_EQ(eml->idMessage, nullptr);
}

TEST_F(ListedRecords, HoldNoBodyNorAttachmentData)
{
    for (TMessageAttr* m : list_) ExpectHeadersOnly(*m);
}

TEST_F(ListedRecords, EveryCommandGetsTheWholeMessage)
{
    for (TMessageAttr* m : list_)
        for (const Command& command : Commands()) {
            SCOPED_TRACE(Utf16ToUtf8(m->subject) + ": " + command.name);
            testsupport::TempDir out;
            m->ReleaseFullLoad();
            ASSERT_EQ(m->loadLevel, mllHeaders);
            EXPECT_TRUE(command.givesWholeMessage(*m, out.path()));
        }
}

TEST_F(ListedRecords, OnlyTheRecentFullLoadsAreKept)
{
    // More records than the recent loads hold, displayed in turn.
    std::vector<std::pair<WideString, MessageFileType>> files;
    for (TMessageAttr* m : list_)
        if (m->GetType() != mftPST) files.emplace_back(m->fileName, static_cast<MessageFileType>(m->GetType()));
    ASSERT_EQ(files.size(), 2u);
    for (std::size_t i = 0; i < TMessageAttr::kRecentFullLoads + 2; ++i)
        scanner_.AddFileToList(files[i % 2].first, nullptr, nullptr, files[i % 2].second, true, false);
    TextView view;
    std::vector<TMessageAttr*> shown;
    for (TMessageAttr* m : list_) {
        if (m->GetType() == mftPST) continue;
        m->Display(view, false);  // the body as a page where the kind shows one
        shown.push_back(m);
    }
    ASSERT_GT(shown.size(), TMessageAttr::kRecentFullLoads);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(i);
        if (i + TMessageAttr::kRecentFullLoads < shown.size()) ExpectHeadersOnly(*shown[i]);
        else EXPECT_EQ(shown[i]->loadLevel, mllFull);
    }
}

}  // namespace
