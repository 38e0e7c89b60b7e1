// The search window from its form file with a recording host: START builds the engine from the
// fields and runs the scan with the window as its progress sink; a blank folder asks for one.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "controls/styled/RzDateTimeEdit.h"
#include "controls/styled/RzRadChk.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "search/SearchDlg.h"
#include "search/SearchRequest.h"

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

TEST_F(SearchDlgTest, EachFieldReachesItsOwnPartOfTheRequest) {
    const struct {
        const char* field;
        WideString SearchRequest::*part;
    } texts[] = {{"edFrom", &SearchRequest::from},       {"edTo", &SearchRequest::to},
                 {"edCC", &SearchRequest::cc},           {"edSubject", &SearchRequest::subject},
                 {"edHeader", &SearchRequest::header},   {"edText", &SearchRequest::body}};
    for (const auto& t : texts) {
        for (const auto& other : texts) C(other.field)->SetText(u"");
        C(t.field)->SetText(u"needle");
        const SearchRequest r = dlg_->Request();
        for (const auto& other : texts)
            EXPECT_EQ(r.*(other.part), other.field == t.field ? u"needle" : u"") << t.field << " read into " << other.field;
    }
    const struct {
        const char* box;
        bool SearchRequest::*part;
    } boxes[] = {{"cbWholeFrom", &SearchRequest::wholeFrom}, {"cbWholeTo", &SearchRequest::wholeTo},
                 {"cbWholeSubject", &SearchRequest::wholeSubject}, {"cbWholeCC", &SearchRequest::wholeCC},
                 {"rzcbEml", &SearchRequest::eml},           {"rzcbMsg", &SearchRequest::msg},
                 {"rzcbPst", &SearchRequest::pst}};
    auto box = [&](const char* name) { return dynamic_cast<TRzCustomGlyphButton*>(C(name)); };
    for (const auto& b : boxes) {
        ASSERT_TRUE(box(b.box)) << b.box;
        for (const auto& other : boxes) box(other.box)->SetChecked(false);
        box(b.box)->SetChecked(true);
        const SearchRequest r = dlg_->Request();
        for (const auto& other : boxes)
            EXPECT_EQ(r.*(other.part), other.box == b.box) << b.box << " read into " << other.box;
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
    from->SetDate(may1);
    EXPECT_EQ(to->MinDate(), may1) << "a set From date is the earliest To date at once";
    to->SetDate(may5);
    from->SetDate(may5 + 1);
    EXPECT_EQ(to->GetDate(), may5) << "a To date the user set is never moved";
    EXPECT_EQ(to->MinDate(), 0);
    dlg_->bbClearClick(nullptr);
    EXPECT_EQ(C("edSubject")->Text(), u"");
    EXPECT_EQ(C("edFolder")->Text(), u"/mail");
    EXPECT_EQ(from->GetDate(), 0);
    EXPECT_EQ(to->GetDate(), 0);
    dlg_->btnCloseClick(nullptr);
    EXPECT_GE(host_.stops, 1);
}

TEST_F(SearchDlgTest, TypingFromKeystrokeByKeystrokeLeavesTheToDateAlone) {
    auto* from = dynamic_cast<TRzDateTimeEdit*>(C("rzDate1"));
    auto* to = dynamic_cast<TRzDateTimeEdit*>(C("rzDate2"));
    TDateTime march1 = 0, jan1 = 0;
    ASSERT_TRUE(TryEncodeDate(2024, 3, 1, march1));
    ASSERT_TRUE(TryEncodeDate(2020, 1, 1, jan1));
    to->SetDate(march1);
    dlg_->Show();
    from->SetFocus();
    Application->ProcessMessages();
    auto* line = dynamic_cast<QWidget*>(from->Peer())->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    // Typed as the locale writes it, one key at a time: "1" alone reads as a date this year.
    const QString typed = QString::fromStdU16String(DateToStr(jan1));
    for (const QChar c : typed) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(line, &press);
        EXPECT_EQ(to->GetDate(), march1) << "after typing " << line->text().toStdString();
    }
    EXPECT_EQ(line->text(), typed);
    EXPECT_EQ(from->GetDate(), jan1);
    to->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(to->MinDate(), jan1) << "leaving From sets the earliest To date";
    EXPECT_EQ(to->GetDate(), march1);
    const SearchRequest r = dlg_->Request();
    EXPECT_EQ(r.fromDate, jan1);
    EXPECT_EQ(r.toDate, march1);
}

TEST_F(SearchDlgTest, AnImpossibleFromDateIsRefusedWhenLeft) {
    auto* from = dynamic_cast<TRzDateTimeEdit*>(C("rzDate1"));
    int invalid = 0;
    from->OnInvalidDate = [&](TObject*, bool&, bool&, TDateTime&) { ++invalid; };
    dlg_->Show();
    from->SetFocus();
    Application->ProcessMessages();
    auto* line = dynamic_cast<QWidget*>(from->Peer())->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    // Thirteen in both the day and the month place, whatever the locale's order.
    for (const QChar c : QString("13/13/2020")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(line, &press);
    }
    dynamic_cast<TWinControl*>(C("edFolder"))->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(invalid, 1);
    EXPECT_EQ(from->GetDate(), 0) << "no date of the current month is searched";
    EXPECT_EQ(dlg_->Request().fromDate, 0);
}

}  // namespace
