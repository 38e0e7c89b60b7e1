// The search window: a folder, the kinds of message file, text criteria with their case and
// exact-match choices and a date range; START turns them into an engine and runs the main
// window's folder scan with it, showing the progress itself.
#pragma once

#include <functional>

#include "app/IChangeableLangForm.h"
#include "search/SearchRequest.h"
#include "ui/ISearchInfoView.h"

class TCustomStatusBar;
class TStatusPanel;

// What the dialog asks of the window whose list a search fills.
class ISearchHost {
public:
    virtual ~ISearchHost() = default;
    virtual void EmptyList() = 0;
    virtual void FindMSGFiles(const WideString& folder, SearchEngine* engine, ISearchInfoView* view, bool subFolders,
                              int fileTypeFilter) = 0;
    virtual void StopSearch() = 0;
};

class TSearchDlg : public IChangeableLangForm, public ISearchInfoView {
    QUILLORA_COMPONENT(TSearchDlg)
public:
    explicit TSearchDlg(TComponent* owner);
    ~TSearchDlg() override;

    void SetHost(ISearchHost* host) { host_ = host; }
    // Picks a folder, starting from the one given; false when the user cancels. Unset, the
    // desktop's folder picker asks.
    std::function<bool(WideString& folder)> BrowseFolder;

    // The fields as a request.
    SearchRequest Request() const;
    bool Searching() const { return searching_; }
    unsigned ProgressPercent() const { return progressPercent_; }

    void RzBitBtn3Click(TObject* sender);
    void RzBitBtn5Click(TObject* sender);
    void btnCloseClick(TObject* sender);
    void bbClearClick(TObject* sender);
    void rzDate1Change(TObject* sender);
    void rzDate1Exit(TObject* sender);
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormClose(TObject* sender, TCloseAction& action);
    void StatusBar1DrawPanel(TCustomStatusBar* bar, TStatusPanel* panel, const TRect& rect);
    void LanguageChanged() override {}

    // ISearchInfoView
    void SetSearchMessagesCount(int count) override;
    void SetSearchFolder(const WideString& path) override;
    void SetSearchMsgName(const WideString& path) override;
    void SetSearchProgress(unsigned int done, unsigned int total) override;
    void SetSearchStatus(const WideString& text) override;
    void SearchStarted() override;
    void SearchFinished() override;

private:
    template <class T>
    T* Find(const char* name) const;
    WideString Text(const char* name) const;
    bool Checked(const char* name) const;
    void SetStatusText(const WideString& text);
    bool Browse();
    void ApplyEarliestToDate();

    ISearchHost* host_ = nullptr;
    unsigned progressPercent_ = 0;
    bool searching_ = false;
};

// The one search window, made at start-up with the other windows.
extern TSearchDlg* SearchDlg;

void RegisterSearchDlg();
