// The main window's commands on a listed folder: delete to the trash, save body and header,
// drops, opening files, refresh, check all, the menus the hidden parts remove, and the
// attachment commands with names that try to leave their folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/CAppUtils.h"
#include "app/UiStrings.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntTreeView.h"
#include "favorites/frmFavorites.h"
#include "controls/unicode/TntMenus.h"
#include "message/MessageEML.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/platform/mapi/FakeMailDesktop.h"
#include "tests/support/TestSupport.h"
#include "ui/Form1.h"

namespace {

namespace fs = std::filesystem;
using namespace testsupport;

std::string Eml(const std::string& subject, const std::string& body)
{
    return "From: Ann <ann@example.org>\r\nTo: Bob <bob@example.org>\r\nSubject: " + subject +
           "\r\nDate: Tue, 15 Nov 2022 12:00:00 +0000\r\nMIME-Version: 1.0\r\nContent-Type: text/plain; charset=utf-8\r\n\r\n" +
           body + "\r\n";
}

// An attached message whose reader may fail, and one attachment that saves "data".
class Carrier : public MessageEML {
public:
    bool yields = true;
    Carrier()
    {
        AttachmentItem item;
        item.name = u"../../evil name.pdf";
        attachments.push_back(item);
        AttachmentItem message;
        message.name = u"inner.msg";
        message.attachMethod = 5;
        attachments.push_back(message);
    }
    bool SaveAttachment(int index, const WideString& path, bool) override
    {
        if (index != 0) return false;
        std::ofstream(Utf16ToUtf8(path), std::ios::binary) << "data";
        return true;
    }
    std::unique_ptr<TMessageAttr> GetEmbeddedMessage(int) override
    {
        if (!yields) return nullptr;
        auto inner = std::make_unique<MessageEML>();
        inner->subject = u"Inner";
        inner->fileName = u"inner";
        return inner;
    }
};

class MainCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallQtWidgetSet();
        RegisterUiStrings();
        RegisterForm1();
        Application->Initialize();
        for (const char* name : {"a", "b", "c"}) dir_.WriteFile(std::string(name) + ".eml", Eml(name, std::string("Body ") + name));
        Application->CreateForm(form_);
        form_->pump = [] {};
        form_->moveToTrash = [this](const WideString& path, std::string*) {
            trashed_.push_back(path);
            fs::rename(Utf16ToUtf8(path), (trash_.path() / fs::path(Utf16ToUtf8(path)).filename()).string());
            return true;
        };
        form_->FindMSGFiles(Root(), nullptr, form_, false, ftAll);
        ASSERT_EQ(form_->Messages().size(), 3u);
    }
    void TearDown() override
    {
        ScanRunning = false;
        delete form_;
        appOptions.hideE = appOptions.hideAPP = false;
    }
    WideString Root() const { return Utf8ToUtf16(dir_.path().string()); }
    int RowOf(const char16_t* subject) const
    {
        for (std::size_t i = 0; i < form_->Messages().size(); ++i)
            if (form_->Messages()[i]->subject == subject) return static_cast<int>(i);
        return -1;
    }
    TTntListView* List() const { return dynamic_cast<TTntListView*>(form_->FindComponent("Messagelist")); }
    TAction* A(const char* name) const { return dynamic_cast<TAction*>(form_->FindComponent(name)); }
    void Run(const char* action) { ASSERT_TRUE(A(action)) << action; A(action)->Execute(); }
    // Answers message boxes with `box` (and counts them) and file dialogs with `file`.
    TScopedModalHook Answer(int box, const WideString& file = {})
    {
        return TScopedModalHook([this, box, file](TModalRequest& r) {
            if (r.What == TModalRequest::MessageBox) {
                boxes_.push_back(r.Text);
                return box;
            }
            if (r.What == TModalRequest::SaveDialog || r.What == TModalRequest::OpenDialog) {
                if (file.empty()) return static_cast<int>(mrCancel);
                r.Files = {file};
                return static_cast<int>(mrOk);
            }
            return 0;
        });
    }

    ScopedRegistry registry_;
    TempDir dir_, trash_;
    TForm1* form_ = nullptr;
    std::vector<WideString> trashed_;
    std::vector<WideString> boxes_;
};

TEST_F(MainCommands, DeleteTrashesTheCheckedElseTheSelectedAfterAsking)
{
    form_->Messages()[static_cast<std::size_t>(RowOf(u"a"))]->checked = true;
    form_->Messages()[static_cast<std::size_t>(RowOf(u"b"))]->checked = true;
    form_->SelectRows({RowOf(u"c")});
    form_->ToolbarInit();
    ASSERT_TRUE(A("actionDelete")->Enabled());
    {
        auto hook = Answer(IDNO);
        Run("actionDelete");
    }
    EXPECT_TRUE(trashed_.empty());
    EXPECT_EQ(form_->Messages().size(), 3u);
    {
        auto hook = Answer(IDYES);
        Run("actionDelete");
    }
    ASSERT_EQ(trashed_.size(), 2u);
    ASSERT_EQ(form_->Messages().size(), 1u);
    EXPECT_EQ(form_->Messages()[0]->subject, u"c");
    EXPECT_TRUE(fs::exists(trash_.path() / "a.eml"));
    EXPECT_TRUE(fs::exists(dir_.path() / "c.eml"));

    // A file the trash refused stays listed, and the user hears why.
    form_->moveToTrash = [](const WideString&, std::string* error) {
        *error = "read-only";
        return false;
    };
    form_->SelectRows({0});
    boxes_.clear();
    {
        auto hook = Answer(IDYES);
        Run("actionDelete");
    }
    EXPECT_EQ(form_->Messages().size(), 1u);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_NE(boxes_[1].find(u"read-only"), WideString::npos);
}

TEST_F(MainCommands, ForwardTakesTheSelectedRowLoadedInFull)
{
    FakeMailDesktop desktop;
    desktop.handler = {"org.gnome.Evolution.desktop", "evolution %U"};
    form_->mailDesktop = &desktop;
    // The listed records hold headers only; another row is checked.
    TMessageAttr* a = form_->Messages()[static_cast<std::size_t>(RowOf(u"a"))];
    ASSERT_LT(a->loadLevel, mllFull);
    form_->Messages()[static_cast<std::size_t>(RowOf(u"b"))]->checked = true;
    form_->SelectRows({RowOf(u"a")});
    form_->ToolbarInit();
    EXPECT_TRUE(A("actionForward")->Enabled());
    form_->Forward();
    ASSERT_EQ(desktop.launched.size(), 1u);
    const std::string url = desktop.launched[0].back();
    EXPECT_NE(url.find("subject=Fw%3A%20a"), std::string::npos) << url;
    EXPECT_NE(url.find("Body%20a"), std::string::npos) << "the quoted body is there: " << url;
    EXPECT_EQ(url.find("Body%20b"), std::string::npos) << url;
}

TEST_F(MainCommands, BodyAndHeaderSaveAsUtf16WithTheirKind)
{
    form_->SelectRows({RowOf(u"a")});
    form_->ToolbarInit();
    const fs::path html = dir_.path() / "out.HTML", text = dir_.path() / "out.txt", header = dir_.path() / "head.txt";
    {
        auto hook = Answer(IDOK, Utf8ToUtf16(html.string()));
        Run("actionSaveBody");
    }
    const std::string htmlBytes = ReadFileBytes(html);
    ASSERT_GE(htmlBytes.size(), 2u);
    EXPECT_EQ(htmlBytes.substr(0, 2), "\xFF\xFE");
    const std::string htmlText = Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(htmlBytes.data() + 2), (htmlBytes.size() - 2) / 2));
    EXPECT_NE(htmlText.find("<p>Body a"), std::string::npos) << htmlText;
    EXPECT_EQ(htmlText.substr(htmlText.size() - 2), "\r\n");
    {
        auto hook = Answer(IDOK, Utf8ToUtf16(text.string()));
        Run("actionSaveBody");
    }
    const std::string textBytes = ReadFileBytes(text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(reinterpret_cast<const char16_t*>(textBytes.data() + 2), (textBytes.size() - 2) / 2)).rfind("Body a", 0), 0u);
    {
        auto hook = Answer(IDOK, Utf8ToUtf16(header.string()));
        Run("actionSaveHeader");
    }
    EXPECT_NE(ReadFileBytes(header).find(std::string("a\0", 2)), std::string::npos);

    // A file that cannot be written is reported.
    boxes_.clear();
    {
        auto hook = Answer(IDOK, Utf8ToUtf16((dir_.path() / "missing" / "x.txt").string()));
        Run("actionSaveBody");
    }
    ASSERT_EQ(boxes_.size(), 1u);
}

TEST_F(MainCommands, DropsAddEveryFileAndShowAOneFileDrop)
{
    const fs::path extra = dir_.WriteFile("d.eml", Eml("d", "x"));
    const fs::path more = dir_.WriteFile("e.eml", Eml("e", "y"));
    form_->Clear();
    form_->DropFiles({Utf8ToUtf16(extra.string()), Utf8ToUtf16(more.string())});
    EXPECT_EQ(form_->Messages().size(), 5u);
    EXPECT_EQ(dynamic_cast<TControl*>(form_->FindComponent("lbSubject"))->Text(), u"");
    const fs::path one = dir_.WriteFile("f.eml", Eml("f", "z"));
    form_->DropFiles({Utf8ToUtf16(one.string())});
    EXPECT_EQ(dynamic_cast<TControl*>(form_->FindComponent("lbSubject"))->Text(), u"f");
}

TEST_F(MainCommands, OpeningAnEmptyFileSaysSoAndOtherFilesAreTypedByContent)
{
    const fs::path empty = dir_.WriteFile("empty.msg", "");
    {
        auto hook = Answer(IDOK);
        EXPECT_FALSE(form_->OpenMessageFile(Utf8ToUtf16(empty.string())));
    }
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], GetUiString(1126));
    // A mail with a .msg name that is no compound file reads as a mail.
    const fs::path misnamed = dir_.WriteFile("mail.msg", Eml("Misnamed", "text"));
    EXPECT_TRUE(form_->OpenMessageFile(Utf8ToUtf16(misnamed.string())));
    EXPECT_EQ(form_->Messages().back()->subject, u"Misnamed");
    EXPECT_EQ(form_->SelectedRows(), std::vector<int>{static_cast<int>(form_->Messages().size()) - 1});

    const WideString filter = form_->SetOpenFileDlgParams();
    EXPECT_EQ(filter.find(u"*.pst") != WideString::npos, form_->MapiAvailable());
    EXPECT_EQ(filter.substr(filter.size() - 4), u"|*.*");
}

TEST_F(MainCommands, RefreshListsTheLastFolderAgain)
{
    dir_.WriteFile("new.eml", Eml("new", "n"));
    CurrentShellFolder = Root();
    Run("actionRefreshList");
    EXPECT_EQ(form_->Messages().size(), 4u);
    EXPECT_EQ(CurrentShellFolder, Root());
}

TEST_F(MainCommands, TickingARowTicksTheSelectedRowsWithIt)
{
    form_->SelectRows({RowOf(u"a"), RowOf(u"b")});
    form_->MessagelistItemChecked(nullptr, List()->Items()->Item(RowOf(u"c")));
    for (const TMessageAttr* m : form_->Messages()) EXPECT_TRUE(m->checked) << Utf16ToUtf8(m->subject);
    form_->MessagelistItemChecked(nullptr, List()->Items()->Item(RowOf(u"a")));
    EXPECT_FALSE(form_->Messages()[static_cast<std::size_t>(RowOf(u"a"))]->checked);
    EXPECT_FALSE(form_->Messages()[static_cast<std::size_t>(RowOf(u"b"))]->checked);
    EXPECT_TRUE(form_->Messages()[static_cast<std::size_t>(RowOf(u"c"))]->checked);
}

TEST_F(MainCommands, DoubleClickOpensTheClickedFileInAViewer)
{
    std::vector<WideString> started;
    form_->startViewer = [&](const WideString& path) { started.push_back(path); };
    form_->MessagelistDblClick(nullptr);
    EXPECT_TRUE(started.empty());
    form_->SelectRows({RowOf(u"b")});
    form_->MessagelistDblClick(nullptr);
    EXPECT_EQ(started, std::vector<WideString>{Utf8ToUtf16((dir_.path() / "b.eml").string())});
}

TEST_F(MainCommands, CheckAllSwapsTheMenuEntryAndDoesNothingOnAnEmptyList)
{
    auto* entry = dynamic_cast<TMenuItem*>(form_->FindComponent("menuCheckAll"));
    ASSERT_NE(entry, nullptr);
    Run("actionCheckAll");
    for (const TMessageAttr* m : form_->Messages()) EXPECT_TRUE(m->checked);
    EXPECT_EQ(entry->Action(), A("actionUncheckAll"));
    EXPECT_TRUE(A("actionExport")->Enabled());
    Run("actionUncheckAll");
    EXPECT_EQ(entry->Action(), A("actionCheckAll"));
    form_->EmptyList();
    Run("actionCheckAll");
    EXPECT_EQ(entry->Action(), A("actionCheckAll"));
}

TEST_F(MainCommands, HiddenEditAndApplicationMenusAreRemoved)
{
    appOptions.hideE = appOptions.hideAPP = true;
    form_->PruneMainMenu();
    auto* menu = dynamic_cast<TMainMenu*>(form_->FindComponent("MainMenu1"));
    ASSERT_NE(menu, nullptr);
    std::vector<WideString> captions;
    for (int i = 0; i < menu->Items()->Count(); ++i) captions.push_back(menu->Items()->Items(i)->Caption());
    EXPECT_EQ(captions, (std::vector<WideString>{u"File", u"View", u"Message", u"About"}));
}

TEST_F(MainCommands, AttachmentsOpenFromTheTemporaryFolderUnderSafeNames)
{
    Carrier carrier;
    std::vector<WideString> opened;
    form_->openWithDesktop = [&](const WideString& path) {
        opened.push_back(path);
        return DesktopOpenResult::Opened;
    };
    EXPECT_TRUE(form_->AttachmentOpen(0, &carrier));
    ASSERT_EQ(opened.size(), 1u);
    const fs::path path = Utf16ToUtf8(opened[0]);
    EXPECT_EQ(path.parent_path() / "", fs::path(Utf16ToUtf8(form_->TempFolder())));
    EXPECT_EQ(path.extension(), ".PDF");
    EXPECT_EQ(ReadFileBytes(path), "data");
    EXPECT_EQ(fs::status(path).permissions() & (fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec), fs::perms::none);

    // A copy that fails is reported and nothing is opened.
    {
        auto hook = Answer(IDOK);
        EXPECT_TRUE(form_->AttachmentOpen(1, &carrier));
    }
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(MainCommands, ATypeWithoutProgramAsksTheDesktopsChooserElseSaysSo)
{
    Carrier carrier;
    form_->openWithDesktop = [](const WideString&) { return DesktopOpenResult::NoHandler; };
    std::vector<WideString> asked;
    bool chooser = true;
    form_->openWith = [&](const WideString& path) {
        asked.push_back(path);
        return chooser;
    };
    auto hook = Answer(IDOK);
    EXPECT_TRUE(form_->AttachmentOpen(0, &carrier));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(fs::path(Utf16ToUtf8(asked[0])).extension(), ".PDF");
    EXPECT_TRUE(boxes_.empty());
    // No portal on this desktop: the message as before.
    chooser = false;
    EXPECT_TRUE(form_->AttachmentOpen(0, &carrier));
    EXPECT_EQ(asked.size(), 2u);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find(u"no program is set"), WideString::npos);
}

TEST_F(MainCommands, AnAttachedMessageJoinsTheListOnlyWhenItCanBeRead)
{
    Carrier carrier;
    EXPECT_FALSE(form_->ProcessEmbeddedMessage(0, &carrier)) << "not a message";
    carrier.yields = false;
    {
        auto hook = Answer(IDOK);
        EXPECT_TRUE(form_->ProcessEmbeddedMessage(1, &carrier));
    }
    EXPECT_EQ(form_->Messages().size(), 3u);
    carrier.yields = true;
    EXPECT_TRUE(form_->ProcessEmbeddedMessage(1, &carrier));
    ASSERT_EQ(form_->Messages().size(), 4u);
    EXPECT_EQ(form_->Messages().back()->fileName, u"inner");
    EXPECT_EQ(form_->SelectedRows(), std::vector<int>{3});
}

}  // namespace

TEST_F(MainCommands, AddToFavoritesFillsThePaneWhichIsSavedAtClose)
{
    TfrmFavorites* pane = form_->Favorites();
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->Parent(), form_->FindComponent("TabSheet5"));
    form_->SelectRows({RowOf(u"b")});
    form_->ToolbarInit();
    ASSERT_TRUE(A("actionAddToFavs")->Enabled());
    Run("actionAddToFavs");
    ASSERT_EQ(pane->Tree()->Items()->Count(), 1);
    EXPECT_EQ(pane->Tree()->Items()->Item(0)->Text(), u"b - Ann <ann@example.org>");

    bool canClose = true;
    form_->FormCloseQuery(nullptr, canClose);
    EXPECT_EQ(form_->Favorites(), nullptr);
    std::ifstream saved(Utf16ToUtf8(CAppUtils::getFavoritesXmlFile()), std::ios::binary);
    const std::string xml((std::istreambuf_iterator<char>(saved)), {});
    EXPECT_NE(xml.find("<Message Tittle=\"b - Ann &lt;ann@example.org&gt;\""), std::string::npos) << xml;
}
