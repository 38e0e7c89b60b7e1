#include "platform/vcl/Dialogs.h"

#include <filesystem>
#include <system_error>

#include "platform/vcl/Printers.h"
#include "platform/win/WinString.h"

namespace {

TDialogRunner& Runner() {
    static TDialogRunner runner;
    return runner;
}

std::filesystem::path PathOf(const WideString& name) { return std::filesystem::path(Utf16ToUtf8(name)); }

bool Exists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

WideString Trimmed(const WideString& s) {
    const auto first = s.find_first_not_of(u' ');
    if (first == WideString::npos) return {};
    return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}

}  // namespace

std::vector<TFileFilter> ParseFilter(const WideString& filter) {
    std::vector<WideString> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = filter.find(u'|', start);
        parts.push_back(filter.substr(start, bar == WideString::npos ? WideString::npos : bar - start));
        if (bar == WideString::npos) break;
        start = bar + 1;
    }
    std::vector<TFileFilter> filters;
    if (filter.empty()) return filters;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        TFileFilter f;
        f.Name = parts[i];
        const WideString masks = i + 1 < parts.size() ? parts[i + 1] : WideString(u"*");
        std::size_t at = 0;
        for (;;) {
            const std::size_t semi = masks.find(u';', at);
            const WideString mask = Trimmed(masks.substr(at, semi == WideString::npos ? WideString::npos : semi - at));
            if (!mask.empty()) f.Masks.push_back(mask);
            if (semi == WideString::npos) break;
            at = semi + 1;
        }
        if (f.Masks.empty()) f.Masks.push_back(u"*");
        filters.push_back(std::move(f));
    }
    return filters;
}

void SetDialogRunner(TDialogRunner runner) { Runner() = std::move(runner); }

// ---------------------------------------------------------------------------------------------
// TCommonDialog

const TMetaClass& TCommonDialog::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCommonDialog>("TCommonDialog", &TComponent::StaticClass(), [](TClassBuilder<TCommonDialog>& b) {
        b.Event("OnShow", &TCommonDialog::OnShow);
        b.Event("OnClose", &TCommonDialog::OnClose);
    });
    return meta;
}

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}
TCommonDialog::~TCommonDialog() = default;

int TCommonDialog::Run(TModalRequest& request) {
    request.Dialog = this;
    if (OnShow) OnShow(this);
    int answer = AskModalHook(request);
    if (answer == 0 && Runner()) answer = Runner()(request);
    if (OnClose) OnClose(this);
    return answer;
}

// ---------------------------------------------------------------------------------------------
// TOpenDialog

const TMetaClass& TOpenDialog::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TOpenDialog>("TOpenDialog", &TCommonDialog::StaticClass(), [](TClassBuilder<TOpenDialog>& b) {
        b.Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
        b.Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
        b.Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
        b.Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
        b.Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
        b.Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
            .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing});
        b.Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
        b.Event("OnCanClose", &TOpenDialog::OnCanClose);
        b.Event("OnTypeChange", &TOpenDialog::OnTypeChange);
        b.Event("OnSelectionChange", &TOpenDialog::OnSelectionChange);
    });
    return meta;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), files_(std::make_unique<TStringList>()) {}
TOpenDialog::~TOpenDialog() = default;

void TOpenDialog::SetDefaultExt(const WideString& ext) {
    // Stored without its dot, as the dialog adds one.
    defaultExt_ = !ext.empty() && ext.front() == u'.' ? ext.substr(1) : ext;
}

WideString TOpenDialog::WithDefaultExt(const WideString& name) const {
    if (defaultExt_.empty() || name.empty()) return name;
    const std::filesystem::path p = PathOf(name);
    if (p.has_extension() || !p.has_filename()) return name;
    return name + u"." + defaultExt_;
}

bool TOpenDialog::Accept(const std::vector<WideString>& names) {
    for (const WideString& name : names) {
        const std::filesystem::path p = PathOf(name);
        const bool exists = Exists(p);
        if (options_.Contains(ofFileMustExist) && !exists) {
            Application->MessageBox(name + u"\nFile not found.\nCheck the file name and try again.", title_,
                                    MB_OK | MB_ICONWARNING);
            return false;
        }
        if ((options_.Contains(ofPathMustExist) || options_.Contains(ofFileMustExist)) && p.has_parent_path() &&
            !Exists(p.parent_path())) {
            Application->MessageBox(name + u"\nPath does not exist.\nCheck the path and try again.", title_,
                                    MB_OK | MB_ICONWARNING);
            return false;
        }
        if (Saving() && exists && options_.Contains(ofOverwritePrompt) &&
            Application->MessageBox(name + u" already exists.\nDo you want to replace it?", title_,
                                    MB_YESNO | MB_ICONWARNING) != IDYES)
            return false;
    }
    bool canClose = true;
    if (OnCanClose) OnCanClose(this, canClose);
    return canClose;
}

bool TOpenDialog::Execute() {
    // A refused choice asks again; a hook that keeps giving one must not hang its test.
    constexpr int kMaxRounds = 100;
    for (int round = 0; round < kMaxRounds; ++round) {
        TModalRequest request;
        request.What = Saving() ? TModalRequest::SaveDialog : TModalRequest::OpenDialog;
        request.Caption = title_;
        request.FilterIndex = filterIndex_;
        if (!fileName_.empty()) request.Files.push_back(fileName_);
        if (Run(request) != mrOk || request.Files.empty()) return false;
        // A dialog that reported the change while open (SetFilterIndex) fired OnTypeChange then.
        const int count = static_cast<int>(ParseFilter(filter_).size());
        const bool changed = request.FilterIndex != filterIndex_ && request.FilterIndex >= 1 &&
                             (count == 0 || request.FilterIndex <= count);
        if (changed) filterIndex_ = request.FilterIndex;
        std::vector<WideString> names;
        for (const WideString& name : request.Files) names.push_back(WithDefaultExt(name));
        if (!options_.Contains(ofAllowMultiSelect)) names.resize(1);
        // The names as chosen so far, so OnCanClose sees them.
        fileName_ = names.front();
        files_->Clear();
        for (const WideString& name : names) files_->Add(Utf16ToUtf8(name));
        if (changed && OnTypeChange) OnTypeChange(this);
        if (Accept(names)) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TSaveDialog

const TMetaClass& TSaveDialog::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TSaveDialog>("TSaveDialog", &TOpenDialog::StaticClass());
    return meta;
}

// ---------------------------------------------------------------------------------------------
// TPrintDialog, TPrinterSetupDialog

const TMetaClass& TPrintDialog::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TPrintDialog>("TPrintDialog", &TCommonDialog::StaticClass(), [](TClassBuilder<TPrintDialog>& b) {
        b.Property("Collate", &TPrintDialog::Collate, &TPrintDialog::SetCollate).Default(false);
        b.Property("Copies", &TPrintDialog::Copies, &TPrintDialog::SetCopies).Default(1);
        b.Property("FromPage", &TPrintDialog::FromPage, &TPrintDialog::SetFromPage).Default(0);
        b.Property("MinPage", &TPrintDialog::MinPage, &TPrintDialog::SetMinPage).Default(0);
        b.Property("MaxPage", &TPrintDialog::MaxPage, &TPrintDialog::SetMaxPage).Default(0);
        b.Property("Options", &TPrintDialog::Options, &TPrintDialog::SetOptions).Default(TPrintDialogOptions{});
        b.Property("PrintRange", &TPrintDialog::PrintRange, &TPrintDialog::SetPrintRange).Default(prAllPages);
        b.Property("PrintToFile", &TPrintDialog::PrintToFile, &TPrintDialog::SetPrintToFile).Default(false);
        b.Property("ToPage", &TPrintDialog::ToPage, &TPrintDialog::SetToPage).Default(0);
    });
    return meta;
}

bool TPrintDialog::Execute() { return ExecuteAs(TModalRequest::PrintDialog); }

bool TPrintDialog::ExecuteAs(TModalRequest::Kind kind) {
    TPrinter* printer = Printer();
    TModalRequest request;
    request.What = kind;
    request.PrinterName = printer->PrinterIndex() >= 0
                              ? printer->Printers()[static_cast<std::size_t>(printer->PrinterIndex())]
                              : GetDefaultPrinterName();
    request.OutputFile = printer->FileName();
    if (Run(request) != mrOk) return false;
    if (!request.OutputFile.empty()) {
        printer->SetFileName(request.OutputFile);
        printToFile_ = true;
    } else {
        if (!printer->SelectPrinter(request.PrinterName)) return false;
        printer->SetFileName({});
        printToFile_ = false;
    }
    printer->SetCopies(copies_);
    return true;
}

const TMetaClass& TPrinterSetupDialog::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TPrinterSetupDialog>("TPrinterSetupDialog", &TPrintDialog::StaticClass());
    return meta;
}

// ---------------------------------------------------------------------------------------------
// TFontDialog

const TMetaClass& TFontDialog::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TFontDialog>("TFontDialog", &TCommonDialog::StaticClass(), [](TClassBuilder<TFontDialog>& b) {
        b.Property("Font", &TFontDialog::Font, &TFontDialog::SetFont);
    });
    return meta;
}

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner), font_(std::make_unique<TFont>()) {}
TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
    TModalRequest request;
    request.What = TModalRequest::FontDialog;
    // The answer is written into Font by whoever answers; a cancelled dialog keeps the old one.
    TFont saved;
    saved.Assign(font_.get());
    if (Run(request) == mrOk) return true;
    font_->Assign(&saved);
    return false;
}

// ---------------------------------------------------------------------------------------------
// Message dialogs, input query, folders

UINT MessageDlgFlags(TMsgDlgType type, TMsgDlgButtons buttons) {
    UINT flags = MB_OK;
    const auto has = [&](TMsgDlgBtn b) { return buttons.Contains(b); };
    if (has(mbYes) || has(mbNo) || has(mbYesToAll) || has(mbNoToAll) || has(mbAll))
        flags = has(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if (has(mbAbort) || has(mbIgnore))
        flags = MB_ABORTRETRYIGNORE;
    else if (has(mbRetry))
        flags = MB_RETRYCANCEL;
    else if (has(mbCancel))
        flags = MB_OKCANCEL;
    switch (type) {
    case mtWarning: flags |= MB_ICONWARNING; break;
    case mtError: flags |= MB_ICONERROR; break;
    case mtInformation: flags |= MB_ICONINFORMATION; break;
    case mtConfirmation: flags |= MB_ICONQUESTION; break;
    case mtCustom: break;
    }
    return flags;
}

WideString MessageDlgCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return u"Warning";
    case mtError: return u"Error";
    case mtInformation: return u"Information";
    case mtConfirmation: return u"Confirm";
    case mtCustom: break;
    }
    return Application ? Application->Title() : WideString();
}

int MessageDlg(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    // The box answers with ID* numbers, which equal the mr* results.
    const int answer = Application->MessageBox(message, MessageDlgCaption(type), MessageDlgFlags(type, buttons));
    return answer == 0 ? mrCancel : answer;
}

void ShowMessage(const WideString& message) { Application->MessageBox(message, Application->Title(), MB_OK); }

bool InputQuery(const WideString& caption, const WideString& prompt, WideString& value) {
    TModalRequest request;
    request.What = TModalRequest::InputQuery;
    request.Caption = caption;
    request.Text = prompt;
    request.Value = value;
    int answer = AskModalHook(request);
    if (answer == 0 && Runner()) answer = Runner()(request);
    if (answer != mrOk) return false;
    value = request.Value;
    return true;
}

WideString InputBox(const WideString& caption, const WideString& prompt, const WideString& defaultValue) {
    WideString value = defaultValue;
    return InputQuery(caption, prompt, value) ? value : defaultValue;
}

bool SelectDirectory(const WideString& caption, const WideString& root, WideString& directory) {
    TModalRequest request;
    request.What = TModalRequest::FolderDialog;
    request.Caption = caption;
    request.Files.push_back(directory.empty() ? root : directory);
    int answer = AskModalHook(request);
    if (answer == 0 && Runner()) answer = Runner()(request);
    if (answer != mrOk || request.Files.empty() || request.Files.front().empty()) return false;
    directory = request.Files.front();
    return true;
}
