// The export manager window ("Export manager"): one window for two commands of the main window,
// the export of the chosen messages and the file naming utility, which renames the files of a
// folder. It collects the destination, the naming scheme and, for an export, the format and
// what happens to attachments and failures, then runs the export or the renaming on Start,
// showing progress in its status bar. The window's rules live in ExportManagerLogic.
#pragma once

#include <functional>

#include "app/IChangeableLangForm.h"
#include "output/export/ExportManagerLogic.h"
#include "output/export/ExportOpts.h"
#include "ui/ISearchInfoView.h"

class IQuilloraProvider;
class TCustomStatusBar;
class TStatusPanel;

class TfmBateStamp : public IChangeableLangForm, public ISearchInfoView, private IExportProgress {
    QUILLORA_COMPONENT(TfmBateStamp)
public:
    explicit TfmBateStamp(TComponent* owner);
    ~TfmBateStamp() override;

    // Shows the window modally for an export (exportMode) or the file naming utility of the
    // provider's chosen messages; an export starts in shownFolder when no destination is set.
    TModalResult Execute(IQuilloraProvider* provider, bool exportMode, const WideString& shownFolder);

    // The mode the window shows; the main window sets it before showing the window.
    bool ExportMode() const { return state_.exportMode; }
    void SetExportMode(bool exportMode) { state_.exportMode = exportMode; }
    void SetProvider(IQuilloraProvider* provider) { provider_ = provider; }
    // Told when the user minimizes the window, which minimizes the whole program; the main
    // window restores it with itself.
    std::function<void()> OnMinimized;
    // Opens the run's report with the desktop's program for it.
    std::function<void(const WideString& path)> OpenFile;
    // Asks for a folder, starting at the one given; false when cancelled. Unset: the desktop's
    // folder picker.
    std::function<bool(WideString& folder)> BrowseFolder;

    // The run's record as the last Start filled it.
    const ExportOpts& Options() const { return opts_; }
    void ReadExportOptions(ExportOpts& opts);
    void EnableControls(bool enabled);
    void UpdateControls();
    void CustomSchemeControlsLogic();

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormResize(TObject* sender);
    void StartBtnClick(TObject* sender);
    void CancelBtnClick(TObject* sender);
    void RzBitBtn2Click(TObject* sender);
    void browseFailedPathClick(TObject* sender);
    void edFailedPathChange(TObject* sender);
    void cbCopyFailedClick(TObject* sender);
    void cbExtractAttachmentClick(TObject* sender);
    void rbFileNumberingClick(TObject* sender);
    void rbNumberRangeClick(TObject* sender);
    void cbLetterChange(TObject* sender);
    void cbSameNameClick(TObject* sender);
    void cbCustomSchemeClick(TObject* sender);
    void edNumberKeyPress(TObject* sender, WideChar& key);
    void StatusBar1DrawPanel(TCustomStatusBar* bar, TStatusPanel* panel, const TRect& rect);
    void LanguageChanged() override {}

    // ISearchInfoView: the runs report through the status bar instead.
    void SetSearchMessagesCount(int) override {}
    void SetSearchFolder(const WideString&) override {}
    void SetSearchMsgName(const WideString&) override {}
    void SetSearchProgress(unsigned int, unsigned int) override {}
    void SetSearchStatus(const WideString&) override {}
    void SearchStarted() override {}
    void SearchFinished() override {}

private:
    // IExportProgress
    void ShowStatus(const WideString& text) override;
    void InvalidateProgress() override;
    void ProcessMessages() override;
    void ShowBox(const WideString& text, const WideString& caption, TExportBoxIcon icon) override;
    void OpenReport(const WideString& path) override;

    template <class T>
    T* Find(const char* name) const;
    // The controls into the logic's state and back.
    void ReadState();
    void ApplyView(const ExportFormView& view, bool visibility);
    void ApplyChecks();
    void BrowseInto(const char* edit);

    ExportOpts opts_;
    ExportFormState state_;
    MessageAttrDeque messages_;
    IQuilloraProvider* provider_ = nullptr;
    bool applying_ = false;  // setting the controls from the logic, whose clicks must not recurse
};

// The one export manager, made at start-up with the other windows.
extern TfmBateStamp* fmBateStamp;

// Registers the window's class for its form file.
void RegisterExportManagerForm();
