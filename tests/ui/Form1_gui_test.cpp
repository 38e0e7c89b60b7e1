// The main window from its form file: a folder scan fills the virtual list, selecting rows shows
// each body kind, the list's sort keeps the selection, the layout goes through the registry, and
// the services answer other windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <QWidget>

#include "app/CAppOptions.h"
#include "app/UiStrings.h"
#include "controls/shell/RzTreeView.h"
#include "controls/styled/RzComboBox.h"
#include "controls/styled/RzPageControl.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntRichEdit.h"
#include "controls/unicode/TntStatusBar.h"
#include "platform/outside/WebBrowser.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WidgetSet.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"
#include "ui/Form1.h"

namespace {

namespace fs = std::filesystem;

std::string Eml(const std::string& subject, const std::string& type, const std::string& body)
{
    return "From: Ann <ann@example.org>\r\nTo: Bob <bob@example.org>\r\nSubject: " + subject +
           "\r\nDate: Tue, 15 Nov 2022 12:00:00 +0530\r\nMIME-Version: 1.0\r\nContent-Type: " + type +
           "; charset=utf-8\r\n\r\n" + body + "\r\n";
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallQtWidgetSet();
        RegisterUiStrings();
        RegisterForm1();
        Application->Initialize();
        dir_.WriteFile("plain.eml", Eml("Plain one", "text/plain", "Just text."));
        dir_.WriteFile("html.eml", Eml("Html one", "text/html",
                                       "<html><body><p>Hello</p><img src=\"http://example.invalid/x.png\"></body></html>"));
        dir_.WriteFile("empty.eml", "");
        Create();
    }
    void TearDown() override
    {
        ScanRunning = false;
        delete form_;
        form_ = nullptr;
    }
    void Create()
    {
        Application->CreateForm(form_);
        form_->pump = [] {};
    }
    TControl* C(const char* name) const { return dynamic_cast<TControl*>(form_->FindComponent(name)); }
    TTntListView* List() const { return dynamic_cast<TTntListView*>(form_->FindComponent("Messagelist")); }
    WideString Root() const { return Utf8ToUtf16(dir_.path().string()); }
    int RowOf(const char16_t* subject) const
    {
        for (std::size_t i = 0; i < form_->Messages().size(); ++i)
            if (form_->Messages()[i]->subject == subject) return static_cast<int>(i);
        return -1;
    }
    void ShowRow(int row)
    {
        form_->SelectRows({row});
        form_->KeyTimerTimer(nullptr);
    }

    testsupport::ScopedRegistry registry_;
    testsupport::TempDir dir_;
    TForm1* form_ = nullptr;
};

TEST_F(MainWindow, ScanListsTheFolderAndShowsEachBodyKind)
{
    EXPECT_EQ(form_->Caption(), u"Kestrelwright Quillora Pro");
    form_->FindMSGFiles(Root(), nullptr, form_, false, ftAll);
    ASSERT_EQ(form_->Messages().size(), 2u);
    EXPECT_EQ(List()->Items()->Count(), 2);
    EXPECT_NE(List()->CellText(0, 4), u"");  // subject column filled on demand
    auto* status = dynamic_cast<TTntStatusBar*>(form_->FindComponent("StatusBar1"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->Panels()->Items(0)->Text().rfind(u"Messages found: 2 (", 0), 0u);

    // Text bodies show in the rich edit in the plain-text view.
    form_->SetPlainTextMode(true);
    ShowRow(RowOf(u"Plain one"));
    EXPECT_EQ(C("lbSubject")->Text(), u"Plain one");
    EXPECT_NE(dynamic_cast<TTntRichEdit*>(C("mmBody"))->GetText().find(u"Just text."), WideString::npos);
    EXPECT_TRUE(C("mmBody")->Visible());
    EXPECT_FALSE(C("CppWebBrowser1")->Visible());
    // The Date header's zone +0530 shows in whole hours: 12:00 +0530 is 06:30 UTC, 11:30 at +05:00.
    EXPECT_NE(form_->DateText().find(u"11:30"), WideString::npos) << Utf16ToUtf8(form_->DateText());

    form_->SetPlainTextMode(false);
    ShowRow(RowOf(u"Html one"));
    EXPECT_EQ(C("lbSubject")->Text(), u"Html one");
    EXPECT_TRUE(C("CppWebBrowser1")->Visible());
    EXPECT_FALSE(C("mmBody")->Visible());
    EXPECT_EQ(C("lbSubject")->Text(), u"Html one");
}

TEST_F(MainWindow, TheStyledControlsOfTheDesignShowTheMessage)
{
    auto* zones = dynamic_cast<TRzComboBox*>(C("cbTimeZone"));
    ASSERT_NE(zones, nullptr);
    EXPECT_EQ(zones->Style(), csOwnerDrawFixed);
    EXPECT_TRUE(zones->FrameHotTrack());
    EXPECT_EQ(zones->Items()->Count(), 25);
    EXPECT_FALSE(zones->Enabled()) << "no message yet";
    auto* properties = dynamic_cast<TRzTreeView*>(C("tvProperties"));
    ASSERT_NE(properties, nullptr);
    EXPECT_TRUE(properties->HotTrack());
    EXPECT_EQ(properties->SelectionPen()->Color(), clBtnShadow);
    EXPECT_EQ(properties->Indent(), 20);
    for (const char* name : {"RzPageControl1", "RzPageControl2"}) {
        auto* pages = dynamic_cast<TRzPageControl*>(C(name));
        ASSERT_NE(pages, nullptr) << name;
        EXPECT_EQ(pages->TabStyle(), tsDoubleSlant) << name;
    }
    EXPECT_FALSE(dynamic_cast<TRzPageControl*>(C("RzPageControl1"))->ShowFocusRect());

    form_->FindMSGFiles(Root(), nullptr, form_, false, ftAll);
    ShowRow(RowOf(u"Plain one"));
    EXPECT_TRUE(zones->Enabled());
    EXPECT_EQ(zones->ItemIndex(), 17) << "+05:00, the message's own zone in whole hours";
    zones->SetItemIndex(12);  // "0": the date in UTC
    if (zones->OnChange) zones->OnChange(zones);
    EXPECT_NE(form_->DateText().find(u"6:30"), WideString::npos) << Utf16ToUtf8(form_->DateText());
}

TEST_F(MainWindow, AMessageThatFailsToLoadSaysSoInPlaceOfItsBody)
{
    form_->FindMSGFiles(Root(), nullptr, form_, false, ftAll);
    const int plain = RowOf(u"Plain one");
    fs::remove(dir_.path() / "plain.eml");
    ShowRow(plain);
    EXPECT_TRUE(C("mmBody")->Visible());
    EXPECT_NE(dynamic_cast<TTntRichEdit*>(C("mmBody"))->GetText().find(u"Error loading message."), WideString::npos);
}

TEST_F(MainWindow, SortKeepsTheSelectionOnTheSameMessages)
{
    form_->FindMSGFiles(Root(), nullptr, form_, false, ftAll);
    const int plain = RowOf(u"Plain one");
    form_->SelectRows({plain});
    TMessageAttr* picked = form_->Messages()[static_cast<std::size_t>(plain)];
    form_->SortMessages(mlcSubject, true);
    form_->SortMessages(mlcSubject, false);
    ASSERT_EQ(form_->SelectedRows().size(), 1u);
    EXPECT_EQ(form_->Messages()[static_cast<std::size_t>(form_->SelectedRows()[0])], picked);
}

TEST_F(MainWindow, MessagesForOtherWindowsAreTheCheckedElseTheSelected)
{
    for (int i = 0; i < 5; ++i) dir_.WriteFile("m" + std::to_string(i) + ".eml", Eml("m" + std::to_string(i), "text/plain", "x"));
    form_->FindMSGFiles(Root(), nullptr, form_, false, ftAll);
    auto& list = const_cast<MessageAttrDeque&>(form_->Messages());
    ASSERT_EQ(list.size(), 7u);
    list[1]->checked = true;
    list[4]->checked = true;
    form_->SelectRows({5, 2, 6});
    MessageAttrDeque out;
    form_->GetMessagesFromList(out, false);
    EXPECT_EQ(out, (MessageAttrDeque{list[1], list[4]}));
    list[1]->checked = list[4]->checked = false;
    form_->GetMessagesFromList(out, false);
    EXPECT_EQ(out, (MessageAttrDeque{list[2], list[5], list[6]}));
    form_->GetMessagesFromList(out, true);
    EXPECT_TRUE(out.empty());
}

TEST_F(MainWindow, ShowSelectsAListedFileAndAppendsAnotherSpelling)
{
    const WideString path = Utf8ToUtf16((dir_.path() / "plain.eml").string());
    form_->Show(path);
    ASSERT_EQ(form_->Messages().size(), 1u);
    TMessageAttr* first = form_->Messages()[0];
    form_->Show(path);
    EXPECT_EQ(form_->Messages().size(), 1u);
    EXPECT_EQ(form_->Messages()[0], first);
    EXPECT_EQ(form_->SelectedRows(), std::vector<int>{0});
    fs::copy_file(dir_.path() / "plain.eml", dir_.path() / "PLAIN.eml");
    form_->Show(Utf8ToUtf16((dir_.path() / "PLAIN.eml").string()));
    EXPECT_EQ(form_->Messages().size(), 2u);
    EXPECT_EQ(form_->SelectedRows(), std::vector<int>{1});
}

TEST_F(MainWindow, GoingToAFolderSelectsItInTheTreeListsItAndRemembersIt)
{
    form_->GoToFolder(Root());
    EXPECT_EQ(form_->Messages().size(), 2u);
    EXPECT_EQ(TForm1::GetStartPath(), Root());
    // The same folder again lists nothing anew; Refresh does.
    TMessageAttr* first = form_->Messages()[0];
    form_->GoToFolder(Root());
    EXPECT_EQ(form_->Messages()[0], first);
    dir_.WriteFile("third.eml", Eml("Third", "text/plain", "x"));
    form_->actionRefreshListExecute(nullptr);
    EXPECT_EQ(form_->Messages().size(), 3u);
}

TEST_F(MainWindow, ScanSwapsStopAndRefresh)
{
    auto* stop = dynamic_cast<TAction*>(form_->FindComponent("actionStopList"));
    auto* refresh = dynamic_cast<TAction*>(form_->FindComponent("actionRefreshList"));
    ASSERT_TRUE(stop && refresh);
    EXPECT_FALSE(stop->Visible());
    form_->SearchStarted();
    EXPECT_TRUE(stop->Visible());
    EXPECT_FALSE(refresh->Visible());
    form_->SearchFinished();
    EXPECT_FALSE(stop->Visible());
    EXPECT_TRUE(refresh->Visible());
}

TEST_F(MainWindow, LayoutRoundTripsAndIsClampedToTheScreen)
{
    C("Panel4")->SetWidth(300);
    form_->SetWindowState(wsNormal);
    form_->SetBounds(40, 50, 500, 400);
    form_->SaveSizes();
    delete form_;
    form_ = nullptr;
    Create();
    EXPECT_EQ(C("Panel4")->Width(), 300);
    EXPECT_EQ(form_->Left(), 40);
    EXPECT_EQ(form_->Width(), 500);
    EXPECT_EQ(form_->WindowState(), wsNormal);

    // A position stored on a screen that is gone comes back onto this one.
    form_->SetBounds(-20000, 30000, 500, 400);
    form_->SaveSizes();
    delete form_;
    form_ = nullptr;
    Create();
    const TRect area = WidgetSet().WorkAreaRect();
    EXPECT_GE(form_->Left(), area.left);
    EXPECT_LE(form_->Top() + form_->Height(), area.bottom);
}

TEST_F(MainWindow, FirstRunOpensMaximized)
{
    EXPECT_EQ(form_->WindowState(), wsMaximized);
}

TEST_F(MainWindow, Screenshot)
{
    const char* path = std::getenv("QUILLORA_SCREENSHOT");
    if (!path) GTEST_SKIP() << "QUILLORA_SCREENSHOT names the picture to write";
    // "+DIR": the folder is listed at the first show; the start folder is not written.
    appOptions.startDir = Root();
    form_->SetWindowState(wsNormal);
    form_->SetBounds(0, 0, 1146, 756);
    form_->Show();
    appOptions.startDir.clear();
    Application->ProcessMessages();
    ASSERT_EQ(form_->Messages().size(), 2u);
    EXPECT_EQ(TForm1::GetStartPath(), u"");
    ShowRow(RowOf(u"Plain one"));
    Application->ProcessMessages();
    EXPECT_TRUE(dynamic_cast<QWidget*>(form_->Peer())->grab().save(QString::fromLocal8Bit(path)));
}

}  // namespace
