// The search window from its form file with a recording host: START builds the engine from the
// fields and runs the scan with the window as its progress sink; a blank folder asks for one.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QWidget>

#include "controls/styled/RzDateTimeEdit.h"
#include "controls/styled/RzRadChk.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "search/SearchDlg.h"

namespace {

class RecordingHost : public ISearchHost {
public:
    void EmptyList() override { ++emptied; }
    void FindMSGFiles(const WideString& f, SearchEngine* engine, ISearchInfoView* view, bool sub, int filter) override {
        folder = f;
        subFolders = sub;
        fileTypes = filter;
        hadEngine = engine != nullptr;
        if (view) {
            view->SearchStarted();
            view->SetSearchFolder(u"/mail/2026");
            view->SetSearchProgress(3, 4);
            view->SetSearchMessagesCount(2);
            view->SearchFinished();
        }
    }
    void StopSearch() override { ++stops; }
    int emptied = 0, stops = 0, fileTypes = -1;
    bool subFolders = false, hadEngine = false;
    WideString folder;
};

class SearchDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallQtWidgetSet();
        RegisterSearchDlg();
        Application->Initialize();
        Application->CreateForm(dlg_);
        dlg_->SetHost(&host_);
    }
    void TearDown() override { delete dlg_; }
    TControl* C(const char* name) { return dynamic_cast<TControl*>(dlg_->FindComponent(name)); }
    TSearchDlg* dlg_ = nullptr;
    RecordingHost host_;
};

TEST_F(SearchDlgTest, StartRunsTheScanWithTheFieldsAndShowsProgress) {
    EXPECT_EQ(dlg_->Caption(), u"Search Dialog");
    EXPECT_EQ(dlg_->ClientWidth(), 537);
    C("edFolder")->SetText(u" /mail ");
    C("edFrom")->SetText(u"alice");
    dynamic_cast<TRzCustomGlyphButton*>(C("rzcbPst"))->SetChecked(false);
    dynamic_cast<TRzCustomGlyphButton*>(C("cbCloseDlg"))->SetChecked(false);
    dlg_->RzBitBtn3Click(nullptr);
    EXPECT_EQ(host_.emptied, 1);
    EXPECT_EQ(host_.folder, u" /mail ") << "the folder goes to the scan untrimmed";
    EXPECT_TRUE(host_.subFolders);
    EXPECT_EQ(host_.fileTypes, 3);
    EXPECT_TRUE(host_.hadEngine);
    EXPECT_EQ(C("lbcurrdir")->Text(), u"...");
    EXPECT_EQ(C("lbfoundnumber")->Text(), u"2");
    EXPECT_EQ(dlg_->ProgressPercent(), 75u);
    EXPECT_TRUE(C("RzBitBtn3")->Enabled());
    if (const char* path = std::getenv("QUILLORA_SCREENSHOT")) {
        dlg_->Show();
        Application->ProcessMessages();
        EXPECT_TRUE(dynamic_cast<QWidget*>(dlg_->Peer())->grab().save(QString::fromLocal8Bit(path)));
    }
}

TEST_F(SearchDlgTest, ABlankFolderAsksForOneAndCancellingStops) {
    C("edFolder")->SetText(u"   ");
    int boxes = 0;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.What == TModalRequest::MessageBox) {
            ++boxes;
            EXPECT_EQ(r.Text, u"Select folder, please");
            EXPECT_EQ(r.Caption, u"Select folder");
            return 1;
        }
        return 0;
    });
    dlg_->BrowseFolder = [](WideString&) { return false; };
    dlg_->RzBitBtn3Click(nullptr);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(host_.emptied, 0) << "no search without a folder";
    dlg_->BrowseFolder = [](WideString& f) {
        f = u"/picked";
        return true;
    };
    dlg_->RzBitBtn3Click(nullptr);
    EXPECT_EQ(host_.folder, u"/picked");
}

TEST_F(SearchDlgTest, ClearKeepsFolderAndChoicesAndDatesBoundEachOther) {
    C("edFolder")->SetText(u"/mail");
    C("edSubject")->SetText(u"report");
    auto* from = dynamic_cast<TRzDateTimeEdit*>(C("rzDate1"));
    auto* to = dynamic_cast<TRzDateTimeEdit*>(C("rzDate2"));
    TDateTime may1 = 0, may5 = 0;
    ASSERT_TRUE(TryEncodeDate(2026, 5, 1, may1));
    ASSERT_TRUE(TryEncodeDate(2026, 5, 5, may5));
    to->SetDate(may1);
    from->SetDate(may5);
    EXPECT_EQ(to->MinDate(), may5);
    EXPECT_EQ(to->GetDate(), may5) << "the To date moves up to the new earliest date";
    dlg_->bbClearClick(nullptr);
    EXPECT_EQ(C("edSubject")->Text(), u"");
    EXPECT_EQ(C("edFolder")->Text(), u"/mail");
    EXPECT_EQ(from->GetDate(), 0);
    EXPECT_EQ(to->GetDate(), 0);
    dlg_->btnCloseClick(nullptr);
    EXPECT_GE(host_.stops, 1);
}

}  // namespace
