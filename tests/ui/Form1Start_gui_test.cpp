// The main window's start and run: the start modes of the first show and the close refusal,
// folders clicked while scans that are no folder listing run, a silent print while the window
// is used, and the window's state as the window manager leaves it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWidget>

#include "PstBuilder.h"
#include "app/CAppOptions.h"
#include "app/UiStrings.h"
#include "controls/unicode/TntRegistry.h"
#include "output/PrintCopyForm.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"
#include "ui/Form1.h"

namespace {

namespace fs = std::filesystem;
using namespace testsupport;

std::string Eml(const std::string& subject)
{
    return "From: Ann <ann@example.org>\r\nTo: Bob <bob@example.org>\r\nSubject: " + subject +
           "\r\nDate: Tue, 15 Nov 2022 12:00:00 +0000\r\nContent-Type: text/plain; charset=utf-8\r\n\r\nBody of " +
           subject + "\r\n";
}

pstbuild::Store Store(int messages)
{
    pstbuild::Folder inbox;
    inbox.name = u"Inbox";
    for (int i = 0; i < messages; ++i) {
        pstbuild::Message m;
        m.subject = u"stored " + std::u16string(1, char16_t(u'a' + i));
        inbox.messages.push_back(m);
    }
    pstbuild::Store store;
    store.folders = {inbox};
    return store;
}

class MainStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallQtWidgetSet();
        RegisterUiStrings();
        RegisterForm1();
        RegisterForm2();
        Application->Initialize();
        dir_.WriteFile("one/a.eml", Eml("first a"));
        dir_.WriteFile("one/b.eml", Eml("first b"));
        dir_.WriteFile("two/c.eml", Eml("second c"));
        dir_.WriteFile("three/d.eml", Eml("third d"));
        dir_.WriteFile("empty.eml", "");
        ASSERT_TRUE(pstbuild::WriteFile(Store(3), (dir_.path() / "store.pst").string()));
        ResetStart();
        CurrentShellFolder.clear();
    }
    void TearDown() override
    {
        ScanRunning = false;
        delete form_;
        form_ = nullptr;
        ResetStart();
        CurrentShellFolder.clear();
        Application->Initialize();  // a "+PRINT" start asked the loop to end
    }
    // The start options as a plain start has them.
    static void ResetStart()
    {
        appOptions.startDir.clear();
        appOptions.fileToOpen.clear();
        appOptions.fullScreenView = appOptions.silentPrint = appOptions.noLoad = false;
        appOptions.hideOF = appOptions.hideC = false;
    }
    void Create()
    {
        delete form_;
        form_ = nullptr;
        Application->CreateForm(form_);
        form_->pump = [] {};
    }
    WideString Path(const std::string& name) const { return Utf8ToUtf16((dir_.path() / name).string()); }
    std::string Subjects() const
    {
        std::string out;
        for (const TMessageAttr* m : form_->Messages()) out += (out.empty() ? "" : ",") + Utf16ToUtf8(m->subject);
        return out;
    }
    TAction* A(const char* name) const { return dynamic_cast<TAction*>(form_->FindComponent(name)); }
    QWidget* Widget() const { return dynamic_cast<QWidget*>(form_->Peer()); }
    static int StoredState()
    {
        TTntRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        if (!reg.OpenKeyReadOnly("SOFTWARE\\Kestrelwright\\quillora\\Properties")) return -1;
        return reg.ReadInteger("WState");
    }

    ScopedRegistry registry_;
    TempDir dir_;
    TForm1* form_ = nullptr;
};

TEST_F(MainStart, TheFirstShowFollowsTheStartOptions)
{
    struct Case {
        const char* what;
        std::function<void()> options;
        std::function<void()> check;
    };
    auto timer = [this] {
        auto* t = dynamic_cast<TTimer*>(form_->FindComponent("Timer1"));
        return t && t->Enabled();
    };
    TScopedModalHook hook([](TModalRequest& r) { return r.What == TModalRequest::MessageBox ? IDOK : 0; });
    // "+PRINT" never reaches a real printer: a machine with one prints into a file here.
    const fs::path printed = dir_.path() / "start.pdf";
    SetPrintDialogHook([&](PRINTDLGW& d) {
        d.outputFile = printed.u16string();
        return true;
    });
    const Case cases[] = {
        {"+DIR lists the folder, keeps Open off and writes no start folder",
         [&] { appOptions.startDir = Path("one"); },
         [&] {
             EXPECT_EQ(Subjects().size(), std::string("first a,first b").size());
             EXPECT_FALSE(A("actionOpenFile")->Enabled());
             EXPECT_EQ(TForm1::GetStartPath(), u"");
             EXPECT_FALSE(timer());
         }},
        {"+FULLSCR shows the file and titles the window with its subject",
         [&] {
             appOptions.fullScreenView = true;
             appOptions.fileToOpen = Path("two/c.eml");
         },
         [&] {
             EXPECT_EQ(Subjects(), "second c");
             EXPECT_EQ(form_->Caption(), u"second c");
             EXPECT_EQ(Application->Title(), u"second c");
             EXPECT_TRUE(A("actionOpenFile")->Enabled());
         }},
        {"+PRINT prints the file and ends the program",
         [&] {
             appOptions.silentPrint = true;
             appOptions.fileToOpen = Path("two/c.eml");
         },
         [&] { EXPECT_TRUE(Application->Terminated()); }},
        {"+PRINT of a file that cannot load keeps the program open",
         [&] {
             appOptions.silentPrint = true;
             appOptions.fileToOpen = Path("empty.eml");
         },
         [&] {
             EXPECT_FALSE(Application->Terminated());
             EXPECT_EQ(Subjects(), "");
         }},
        {"-LOAD starts with nothing listed and no start tick",
         [&] { appOptions.noLoad = true; },
         [&] {
             EXPECT_FALSE(timer());
             EXPECT_EQ(Subjects(), "");
         }},
        {"without -LOAD the start tick lists the tree's folder",
         [] {},
         [&] { EXPECT_TRUE(timer()); }},
        {"OF lists the tree's folder at once and ignores clicks",
         [&] {
             appOptions.hideOF = true;
             appOptions.startDir.clear();
         },
         [&] {
             EXPECT_FALSE(timer());
             EXPECT_FALSE(form_->NavigateToFolder(Path("two")));
             EXPECT_FALSE(A("actionOpenFile")->Visible());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetStart();
        Application->Initialize();
        Create();
        form_->ChangeShellDirListFolder(Path("three"));
        c.options();
        form_->Show();
        c.check();
        form_->Hide();
    }
    SetPrintDialogHook(nullptr);

    // "-UI C": the window refuses to close, and does nothing else.
    ResetStart();
    Create();
    form_->FindMSGFiles(Path("one"), nullptr, form_, false, ftAll);
    appOptions.hideC = true;
    bool canClose = true;
    form_->FormCloseQuery(nullptr, canClose);
    EXPECT_FALSE(canClose);
    EXPECT_EQ(form_->Messages().size(), 2u);
    appOptions.hideC = false;
    canClose = true;
    form_->FormCloseQuery(nullptr, canClose);
    EXPECT_TRUE(canClose);
    EXPECT_TRUE(form_->Messages().empty());
}

TEST_F(MainStart, AFolderClickedDuringAStartScanIsListedOnceItStops)
{
    // "+DIR one", and the user clicks "two" in the tree while it is read.
    Create();
    int pumps = 0;
    form_->pump = [&] {
        if (++pumps != 3) return;
        form_->ChangeShellDirListFolder(Path("two"));
        form_->TreeTimerTimer(nullptr);
    };
    appOptions.startDir = Path("one");
    appOptions.noLoad = true;
    form_->Show();
    EXPECT_EQ(Subjects(), "second c");
    EXPECT_EQ(CurrentShellFolder, Path("two"));

    // A later choice is listed as it is, with nothing replayed over it.
    form_->pump = [] {};
    form_->ChangeShellDirListFolder(Path("three"));
    form_->TreeTimerTimer(nullptr);
    EXPECT_EQ(Subjects(), "third d");
    EXPECT_EQ(CurrentShellFolder, Path("three"));
}

TEST_F(MainStart, AFolderClickedWhileAStoreIsReadIsListedOnceItStops)
{
    Create();
    if (!form_->MapiAvailable()) GTEST_SKIP() << "no store support in this build";
    form_->GoToFolder(Path("one"));
    int pumps = 0;
    form_->pump = [&] {
        if (++pumps != 2) return;
        form_->ChangeShellDirListFolder(Path("two"));
        form_->TreeTimerTimer(nullptr);
    };
    // The store opened from the File menu, then one dropped on the window.
    EXPECT_FALSE(form_->OpenMessageFile(Path("store.pst")));
    EXPECT_EQ(Subjects(), "second c");
    EXPECT_EQ(CurrentShellFolder, Path("two"));

    pumps = 0;
    form_->pump = [&] {
        if (++pumps != 2) return;
        form_->ChangeShellDirListFolder(Path("three"));
        form_->TreeTimerTimer(nullptr);
    };
    form_->DropFiles({Path("store.pst")});
    EXPECT_EQ(Subjects(), "third d");

    form_->pump = [] {};
    form_->ChangeShellDirListFolder(Path("one"));
    form_->TreeTimerTimer(nullptr);
    EXPECT_EQ(Subjects().size(), std::string("first a,first b").size());
    EXPECT_EQ(CurrentShellFolder, Path("one"));
}

TEST_F(MainStart, ASilentPrintKeepsItsMessagesWhileTheWindowIsUsed)
{
    if (!HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    appOptions.noLoad = true;
    Create();
    form_->Show();
    form_->GoToFolder(Path("one"));
    ASSERT_EQ(form_->Messages().size(), 2u);
    form_->SelectRows({0, 1});
    const fs::path file = dir_.path() / "printed.pdf";
    HDC job = CreatePdfDCW(file.u16string().c_str(), 210, 297, 300);
    ASSERT_NE(job, nullptr);
    // The user closes the main window as the run starts: it reaches the window during the
    // run's first turn of the message loop.
    QCoreApplication::postEvent(Widget(), new QCloseEvent);
    std::vector<std::string> boxes;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What == TModalRequest::MessageBox) boxes.push_back(Utf16ToUtf8(r.Text));
        return r.What == TModalRequest::MessageBox ? IDOK : 0;
    });
    TForm2::PrintJob(form_, job, true);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    const std::string text = PdfText(file);
    EXPECT_NE(text.find("first a"), std::string::npos) << text;
    EXPECT_NE(text.find("first b"), std::string::npos) << text;
    // The close did not reach the window; afterwards it takes input again.
    EXPECT_EQ(form_->Messages().size(), 2u);
    EXPECT_FALSE(form_->Closing());
    EXPECT_TRUE(form_->Enabled());
    EXPECT_TRUE(Widget()->isEnabled());
}

TEST_F(MainStart, TheWindowStateIsWhatTheWindowManagerLeft)
{
    appOptions.noLoad = true;
    Create();
    form_->SetWindowState(wsNormal);
    form_->Show();
    int restored = 0;
    const TNotifyEvent restore = Application->OnRestore;
    Application->OnRestore = [&](TObject* sender) {
        ++restored;
        if (restore) restore(sender);
    };
    // The window manager minimizes, then the user brings the window back maximized.
    Widget()->setWindowState(Qt::WindowMinimized);
    EXPECT_EQ(form_->WindowState(), wsMinimized);
    EXPECT_EQ(restored, 0);
    Widget()->setWindowState(Qt::WindowMaximized);
    EXPECT_EQ(form_->WindowState(), wsMaximized);
    EXPECT_EQ(restored, 1);
    form_->SaveSizes();
    EXPECT_EQ(StoredState(), 2);
    Widget()->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(form_->WindowState(), wsNormal);
    EXPECT_EQ(restored, 1);
    form_->SaveSizes();
    EXPECT_EQ(StoredState(), 0);
    Application->OnRestore = restore;
}

}  // namespace
