// Dialogs: the common dialogs (opening and saving files, printing, printer set-up, fonts), the
// message dialogs (MessageDlg, ShowMessage), the input query and the folder browser. Every
// dialog asks the modal hook first (tests answer there), then the dialog runner the toolkit side
// installs; without either it shows nothing and Execute gives false.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/Forms.h"

// One "Name|pattern" pair of a filter string; a pattern may hold several masks ("*.msg;*.eml").
struct TFileFilter {
    WideString Name;
    std::vector<WideString> Masks;
};
// "Text|*.txt|All|*.*" as name and mask pairs. A trailing name without masks takes "*".
std::vector<TFileFilter> ParseFilter(const WideString& filter);

// Runs a dialog of the toolkit for a request the hook left unanswered (Dialog names the asking
// component); returns mrOk with the request's answer filled in, mrCancel, or 0 when it cannot
// show one.
using TDialogRunner = std::function<int(TModalRequest& request)>;
void SetDialogRunner(TDialogRunner runner);

class TCommonDialog : public TComponent {
    QUILLORA_COMPONENT(TCommonDialog)
public:
    explicit TCommonDialog(TComponent* owner);
    ~TCommonDialog() override;
    virtual bool Execute() { return false; }
    HWND Handle() const { return nullptr; }  // the toolkit's dialog has no handle of ours
    int HelpContext = 0;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    // The hook, else the runner: mrOk, mrCancel or 0.
    int Run(TModalRequest& request);
};

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
    ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
    ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
    ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;
QUILLORA_ENUM_TYPEINFO(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir",
                       "ofShowHelp", "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent",
                       "ofPathMustExist", "ofFileMustExist", "ofCreatePrompt", "ofShareAware",
                       "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames",
                       "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
                       "ofDontAddToRecent", "ofForceShowHidden")

class TOpenDialog : public TCommonDialog {
    QUILLORA_COMPONENT(TOpenDialog)
public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;

    // Shows the dialog; true when the user chose. FileName, Files and FilterIndex then hold
    // the choice: a name without an extension has DefaultExt added, an existing file asks
    // before it is replaced (ofOverwritePrompt), a missing one is refused (ofFileMustExist).
    bool Execute() override;
    // Save dialogs ask for a name to write; open dialogs for existing files.
    virtual bool Saving() const { return false; }

    const WideString& FileName() const { return fileName_; }
    void SetFileName(const WideString& name) { fileName_ = name; }
    TStrings* Files() const { return files_.get(); }
    const WideString& Filter() const { return filter_; }
    void SetFilter(const WideString& filter) { filter_ = filter; }
    // 1-based, as the filter string counts its pairs.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    const WideString& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const WideString& ext);
    const WideString& InitialDir() const { return initialDir_; }
    void SetInitialDir(const WideString& dir) { initialDir_ = dir; }
    const WideString& Title() const { return title_; }
    void SetTitle(const WideString& title) { title_ = title; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions options) { options_ = options; }

    TNotifyEvent OnTypeChange;
    TCloseQueryEvent OnCanClose;
    TNotifyEvent OnSelectionChange;

    // The name with DefaultExt added when it has no extension of its own.
    WideString WithDefaultExt(const WideString& name) const;

private:
    // Checks a choice the dialog returned; false asks again.
    bool Accept(const std::vector<WideString>& names);

    WideString fileName_;
    std::unique_ptr<TStringList> files_;
    WideString filter_;
    int filterIndex_ = 1;
    WideString defaultExt_;
    WideString initialDir_;
    WideString title_;
    TOpenOptions options_ = {ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
    QUILLORA_COMPONENT(TSaveDialog)
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    bool Saving() const override { return true; }
};

enum TPrintRange { prAllPages, prSelection, prPageNums };
enum TPrintDialogOption { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
using TPrintDialogOptions = TSet<TPrintDialogOption>;
QUILLORA_ENUM_TYPEINFO(TPrintRange, "prAllPages", "prSelection", "prPageNums")
QUILLORA_ENUM_TYPEINFO(TPrintDialogOption, "poPrintToFile", "poPageNums", "poSelection", "poWarning", "poHelp",
                       "poDisablePrintToFile")

// Chooses a printer (or a PDF file to print to) for the program's printer (Printer()).
class TPrintDialog : public TCommonDialog {
    QUILLORA_COMPONENT(TPrintDialog)
public:
    explicit TPrintDialog(TComponent* owner) : TCommonDialog(owner) {}
    bool Execute() override;

    int Copies() const { return copies_; }
    void SetCopies(int v) { copies_ = v; }
    bool Collate() const { return collate_; }
    void SetCollate(bool v) { collate_ = v; }
    int FromPage() const { return fromPage_; }
    void SetFromPage(int v) { fromPage_ = v; }
    int ToPage() const { return toPage_; }
    void SetToPage(int v) { toPage_ = v; }
    int MinPage() const { return minPage_; }
    void SetMinPage(int v) { minPage_ = v; }
    int MaxPage() const { return maxPage_; }
    void SetMaxPage(int v) { maxPage_ = v; }
    TPrintRange PrintRange() const { return printRange_; }
    void SetPrintRange(TPrintRange v) { printRange_ = v; }
    TPrintDialogOptions Options() const { return options_; }
    void SetOptions(TPrintDialogOptions v) { options_ = v; }
    bool PrintToFile() const { return printToFile_; }
    void SetPrintToFile(bool v) { printToFile_ = v; }

protected:
    // Asks with the given kind and hands the answer to Printer().
    bool ExecuteAs(TModalRequest::Kind kind);

private:
    int copies_ = 1;
    bool collate_ = false;
    int fromPage_ = 0, toPage_ = 0, minPage_ = 0, maxPage_ = 0;
    TPrintRange printRange_ = prAllPages;
    TPrintDialogOptions options_;
    bool printToFile_ = false;
};

// Printer, orientation and copies for Printer(), without page ranges.
class TPrinterSetupDialog : public TPrintDialog {
    QUILLORA_COMPONENT(TPrinterSetupDialog)
public:
    explicit TPrinterSetupDialog(TComponent* owner) : TPrintDialog(owner) {}
    bool Execute() override { return ExecuteAs(TModalRequest::PrinterSetupDialog); }
};

class TFontDialog : public TCommonDialog {
    QUILLORA_COMPONENT(TFontDialog)
public:
    explicit TFontDialog(TComponent* owner);
    ~TFontDialog() override;
    // The font shown first; the chosen one when Execute gives true.
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* font) { font_->Assign(font); }
    bool Execute() override;

private:
    TFontPtr font_;
};

// Message dialogs.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// The message box flags that show a message dialog: the button set (a set without an exact box
// takes the nearest one that offers its answers) and the icon of the type.
UINT MessageDlgFlags(TMsgDlgType type, TMsgDlgButtons buttons);
// The caption of a type ("Warning", "Error", "Information", "Confirm"; custom: the title).
WideString MessageDlgCaption(TMsgDlgType type);
// Shows a message dialog; returns the mr* of the button pressed.
int MessageDlg(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
void ShowMessage(const WideString& message);

// Asks for one line of text; true with value changed when the user pressed OK.
bool InputQuery(const WideString& caption, const WideString& prompt, WideString& value);
// The text typed, or defaultValue when cancelled.
WideString InputBox(const WideString& caption, const WideString& prompt, const WideString& defaultValue);

// Asks for a folder, starting at directory; true with directory changed when chosen. root, when
// given, is where browsing starts if directory is empty.
bool SelectDirectory(const WideString& caption, const WideString& root, WideString& directory);
