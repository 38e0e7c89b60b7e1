#include "search/SearchDlg.h"

#include <string>

#include "app/AppLocDB.h"
#include "app/UiHelpers.h"
#include "controls/styled/RzDateTimeEdit.h"
#include "controls/styled/RzRadChk.h"
#include "controls/styled/RzStyledControls.h"
#include "controls/unicode/TntRegisterClasses.h"
#include "controls/unicode/TntStatusBar.h"
#include "controls/unicode/TntStdCtrls.h"
#include "platform/vcl/Forms.h"

TSearchDlg* SearchDlg = nullptr;

namespace {

WideString Decimal(unsigned value) {
    const std::string digits = std::to_string(value);
    return WideString(digits.begin(), digits.end());
}

bool IsBlank(const WideString& text) {
    for (char16_t c : text)
        if (c > u' ') return false;
    return true;
}

}  // namespace

const TMetaClass& TSearchDlg::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TSearchDlg>("TSearchDlg", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TSearchDlg>& b) {
        b.Method("RzBitBtn3Click", &TSearchDlg::RzBitBtn3Click);
        b.Method("RzBitBtn5Click", &TSearchDlg::RzBitBtn5Click);
        b.Method("btnCloseClick", &TSearchDlg::btnCloseClick);
        b.Method("bbClearClick", &TSearchDlg::bbClearClick);
        b.Method("rzDate1Change", &TSearchDlg::rzDate1Change);
        b.Method("rzDate1Exit", &TSearchDlg::rzDate1Exit);
        b.Method("FormShow", &TSearchDlg::FormShow);
        b.Method("FormCloseQuery", &TSearchDlg::FormCloseQuery);
        b.Method("FormClose", &TSearchDlg::FormClose);
        b.Method("StatusBar1DrawPanel", &TSearchDlg::StatusBar1DrawPanel);
    });
    return meta;
}

TSearchDlg::TSearchDlg(TComponent* owner) : IChangeableLangForm(owner) {}

TSearchDlg::~TSearchDlg() {
    if (SearchDlg == this) SearchDlg = nullptr;
}

template <class T>
T* TSearchDlg::Find(const char* name) const {
    return dynamic_cast<T*>(FindComponent(name));
}

WideString TSearchDlg::Text(const char* name) const {
    const auto* control = Find<TControl>(name);
    return control ? control->Text() : WideString();
}

bool TSearchDlg::Checked(const char* name) const {
    const auto* box = Find<TRzCustomGlyphButton>(name);
    return box && box->Checked();
}

SearchRequest TSearchDlg::Request() const {
    SearchRequest r;
    r.from = Text("edFrom");
    r.to = Text("edTo");
    r.cc = Text("edCC");
    r.subject = Text("edSubject");
    r.header = Text("edHeader");
    r.body = Text("edText");
    r.wholeFrom = Checked("cbWholeFrom");
    r.wholeTo = Checked("cbWholeTo");
    r.wholeSubject = Checked("cbWholeSubject");
    r.wholeCC = Checked("cbWholeCC");
    r.caseSensitive = Checked("rbCaseSensitive");
    r.eml = Checked("rzcbEml");
    r.msg = Checked("rzcbMsg");
    r.pst = Checked("rzcbPst");
    if (const auto* d = Find<TRzDateTimeEdit>("rzDate1")) r.fromDate = d->GetDate() + d->GetTime();
    if (const auto* d = Find<TRzDateTimeEdit>("rzDate2")) r.toDate = d->GetDate() + d->GetTime();
    return r;
}

void TSearchDlg::SetStatusText(const WideString& text) {
    auto* bar = Find<TTntStatusBar>("StatusBar1");
    if (bar && bar->Panels()->Count() > 1) bar->Panels()->Items(1)->SetText(text);
}

// ---- buttons

void TSearchDlg::RzBitBtn3Click(TObject*) {
    // A second search inside a running one would empty the list under the first.
    if (searching_) return;
    if (IsBlank(Text("edFolder"))) {
        Application->MessageBox(GetUiString(1063), GetUiString(1064), MB_OK);
        if (!Browse()) return;
    }
    const SearchRequest request = Request();
    const std::unique_ptr<SearchEngine> engine = CreateSearchEngine(request);
    auto* start = Find<TControl>("RzBitBtn3");
    auto* browse = Find<TControl>("RzBitBtn5");
    auto* clear = Find<TControl>("bbClear");
    const auto enable = [&](bool on) {
        for (TControl* c : {start, browse, clear})
            if (c) c->SetEnabled(on);
    };
    searching_ = true;
    enable(false);
    try {
        if (host_) host_->EmptyList();
        if (auto* found = Find<TControl>("lbfoundnumber")) found->SetText(u"0");
        SetStatusText(GetUiString(1083));
        if (host_)
            host_->FindMSGFiles(Text("edFolder"), engine.get(), this, Checked("rbSubFolder"), FileTypeFilterOf(request));
    } catch (...) {
        searching_ = false;
        enable(true);
        throw;
    }
    searching_ = false;
    enable(true);
    SetStatusText(GetUiString(1001));
    if (auto* dir = Find<TControl>("lbcurrdir")) dir->SetText(u"...");
    if (Checked("cbCloseDlg")) Close();
}

bool TSearchDlg::Browse() {
    WideString folder = Text("edFolder");
    bool chosen = false;
    if (BrowseFolder) {
        chosen = BrowseFolder(folder);
    } else {
        folder = BrowseForFolder(Handle());
        chosen = !folder.empty();
    }
    if (chosen) {
        if (auto* edit = Find<TControl>("edFolder")) edit->SetText(folder);
    }
    return chosen && !IsBlank(Text("edFolder"));
}

void TSearchDlg::RzBitBtn5Click(TObject*) { Browse(); }

void TSearchDlg::btnCloseClick(TObject*) {
    if (host_) host_->StopSearch();
    Close();
}

void TSearchDlg::bbClearClick(TObject*) {
    for (const char* name : {"edFrom", "edSubject", "edHeader", "edTo", "edCC", "edText"})
        if (auto* edit = Find<TControl>(name)) edit->SetText(WideString());
    for (const char* name : {"cbWholeFrom", "cbWholeTo", "cbWholeSubject", "cbWholeCC"})
        if (auto* box = Find<TRzCustomGlyphButton>(name)) box->SetChecked(false);
    for (const char* name : {"rzDate1", "rzDate2"})
        if (auto* date = Find<TRzDateTimeEdit>(name)) date->Clear();
}

void TSearchDlg::rzDate1Change(TObject*) {
    // Each typed keystroke is a half-typed date ("1" reads as January): the earliest To date
    // follows typing once From is left, and a picked or cleared date at once.
    const auto* from = Find<TRzDateTimeEdit>("rzDate1");
    if (from && from->TypedChange()) return;
    ApplyEarliestToDate();
}

void TSearchDlg::rzDate1Exit(TObject*) { ApplyEarliestToDate(); }

void TSearchDlg::ApplyEarliestToDate() {
    const auto* from = Find<TRzDateTimeEdit>("rzDate1");
    auto* to = Find<TRzDateTimeEdit>("rzDate2");
    if (!from || !to) return;
    const TDateTime first = from->GetDate(), last = to->GetDate();
    // A To date the user set is never moved: one before From keeps the range open below, and
    // the search then runs on the dates as typed.
    to->SetMinDate(last != 0 && last < first ? 0 : first);
}

// ---- form

void TSearchDlg::FormShow(TObject*) {
    if (auto* dir = Find<TControl>("lbcurrdir")) dir->SetText(u"...");
    if (auto* found = Find<TControl>("lbfoundnumber")) found->SetText(u"0");
    SetStatusText(WideString());
    progressPercent_ = 0;
}

void TSearchDlg::FormCloseQuery(TObject*, bool& canClose) {
    if (host_) host_->StopSearch();
    canClose = true;
}

void TSearchDlg::FormClose(TObject*, TCloseAction&) {
    if (host_) host_->StopSearch();
}

void TSearchDlg::StatusBar1DrawPanel(TCustomStatusBar* bar, TStatusPanel* panel, const TRect& rect) {
    DrawStatusProgress(bar, panel, rect, progressPercent_);
}

// ---- progress

void TSearchDlg::SetSearchMessagesCount(int count) {
    if (auto* found = Find<TControl>("lbfoundnumber")) {
        found->SetText(Decimal(static_cast<unsigned>(std::max(count, 0))));
        found->Repaint();
    }
}

void TSearchDlg::SetSearchFolder(const WideString& path) {
    if (auto* dir = Find<TControl>("lbcurrdir")) dir->SetText(path);
}

void TSearchDlg::SetSearchMsgName(const WideString&) {}

void TSearchDlg::SetSearchProgress(unsigned int done, unsigned int total) {
    progressPercent_ = SearchProgressPercent(done, total);
    if (auto* bar = Find<TTntStatusBar>("StatusBar1")) bar->InvalidatePanel(0);
    SetStatusText(GetUiString(1083) + u" [" + Decimal(done) + u" " + GetUiString(1091) + u" " + Decimal(total) + u"]");
}

void TSearchDlg::SetSearchStatus(const WideString& text) { SetStatusText(text); }

void TSearchDlg::SearchStarted() {}

void TSearchDlg::SearchFinished() { SetStatusText(GetUiString(1001)); }

void RegisterSearchDlg() {
    RegisterTntClasses();
    RegisterStyledControls();
    RegisterClasses({&TSearchDlg::StaticClass()});
}
