#include "output/export/ExportManagerForm.h"

#include <algorithm>
#include <exception>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/UiHelpers.h"
#include "app/cLogger.h"
#include "controls/styled/RzLabel.h"
#include "controls/styled/RzStyledControls.h"
#include "controls/unicode/TntRegisterClasses.h"
#include "controls/unicode/TntStatusBar.h"
#include "controls/unicode/TntStdCtrls.h"
#include "output/export/ExportRun.h"
#include "output/export/FileRename.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/ProcessSpawn.h"
#include "platform/win/WinString.h"
#include "ui/IQuilloraProvider.h"

TfmBateStamp* fmBateStamp = nullptr;

namespace {

UINT IconFlags(TExportBoxIcon icon)
{
    switch (icon) {
    case TExportBoxIcon::Information:
        return MB_ICONINFORMATION;
    case TExportBoxIcon::Error:
        return MB_ICONERROR;
    case TExportBoxIcon::None:
        break;
    }
    return 0;
}

}  // namespace

const TMetaClass& TfmBateStamp::StaticClass()
{
    static const TMetaClass& meta =
        DescribeClass<TfmBateStamp>("TfmBateStamp", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TfmBateStamp>& b) {
            b.Method("FormCreate", &TfmBateStamp::FormCreate);
            b.Method("FormShow", &TfmBateStamp::FormShow);
            b.Method("FormCloseQuery", &TfmBateStamp::FormCloseQuery);
            b.Method("FormResize", &TfmBateStamp::FormResize);
            b.Method("StartBtnClick", &TfmBateStamp::StartBtnClick);
            b.Method("CancelBtnClick", &TfmBateStamp::CancelBtnClick);
            b.Method("RzBitBtn2Click", &TfmBateStamp::RzBitBtn2Click);
            b.Method("browseFailedPathClick", &TfmBateStamp::browseFailedPathClick);
            b.Method("edFailedPathChange", &TfmBateStamp::edFailedPathChange);
            b.Method("cbCopyFailedClick", &TfmBateStamp::cbCopyFailedClick);
            b.Method("cbExtractAttachmentClick", &TfmBateStamp::cbExtractAttachmentClick);
            b.Method("rbFileNumberingClick", &TfmBateStamp::rbFileNumberingClick);
            b.Method("rbNumberRangeClick", &TfmBateStamp::rbNumberRangeClick);
            b.Method("cbLetterChange", &TfmBateStamp::cbLetterChange);
            b.Method("cbSameNameClick", &TfmBateStamp::cbSameNameClick);
            b.Method("cbCustomSchemeClick", &TfmBateStamp::cbCustomSchemeClick);
            b.Method("edNumberKeyPress", &TfmBateStamp::edNumberKeyPress);
            b.Method("StatusBar1DrawPanel", &TfmBateStamp::StatusBar1DrawPanel);
        });
    return meta;
}

TfmBateStamp::TfmBateStamp(TComponent* owner) : IChangeableLangForm(owner)
{
    OpenFile = [](const WideString& path) {
        int error = 0;
        if (!SpawnDetached({"xdg-open", Utf16ToUtf8(path)}, &error))
            LogPrintf(u"could not open %s: error %d", path.c_str(), error);
    };
}

TfmBateStamp::~TfmBateStamp()
{
    if (fmBateStamp == this) fmBateStamp = nullptr;
}

template <class T>
T* TfmBateStamp::Find(const char* name) const
{
    return dynamic_cast<T*>(FindComponent(name));
}

TModalResult TfmBateStamp::Execute(IQuilloraProvider* provider, bool exportMode, const WideString& shownFolder)
{
    provider_ = provider;
    state_.exportMode = exportMode;
    if (auto* path = Find<TControl>("edPath"); path && exportMode && path->Text().empty()) path->SetText(shownFolder);
    return ShowModal();
}

// ---- the controls and the logic's state

void TfmBateStamp::ReadState()
{
    const auto text = [this](const char* name) {
        const auto* c = Find<TControl>(name);
        return c ? c->Text() : WideString();
    };
    const auto radio = [this](const char* name) {
        const auto* r = Find<TRadioButton>(name);
        return r && r->Checked();
    };
    const auto check = [this](const char* name) {
        const auto* c = Find<TCheckBox>(name);
        return c && c->Checked();
    };
    const auto index = [this](const char* name) {
        const auto* c = Find<TCustomComboBox>(name);
        return c ? c->ItemIndex() : -1;
    };
    state_.sameName = !radio("cbCustomScheme");
    state_.fileNumbering = !radio("rbNumberRange");
    state_.letterIndex = std::max(index("cbLetter"), 0);
    state_.digitIndex = std::max(index("cbNumberRange"), 0);
    state_.increaseLetter = check("cbIncreaseLetter");
    state_.extractAttachment = check("cbExtractAttachment");
    state_.insertFileName = check("cbInsertFileName");
    state_.exportFolders = check("cbExportFolders");
    state_.stopOnError = check("cbStopOnError");
    state_.copyFailed = check("cbCopyFailed");
    state_.path = text("edPath");
    state_.prefix = text("WP");
    state_.number = text("edNumber");
    state_.failedPath = text("edFailedPath");
    state_.formatIndex = index("ExportFormatCombo");
    auto* format = Find<TCustomComboBox>("ExportFormatCombo");
    state_.formatName = format && state_.formatIndex >= 0 && state_.formatIndex < format->Items()->Count()
                            ? Utf8ToUtf16(format->Items()->Get(state_.formatIndex))
                            : WideString();
}

void TfmBateStamp::ApplyChecks()
{
    applying_ = true;
    if (auto* r = Find<TRadioButton>(state_.sameName ? "cbSameName" : "cbCustomScheme")) r->SetChecked(true);
    if (auto* c = Find<TCheckBox>("cbIncreaseLetter")) c->SetChecked(state_.increaseLetter);
    if (auto* c = Find<TCheckBox>("cbExportFolders")) c->SetChecked(state_.exportFolders);
    applying_ = false;
}

void TfmBateStamp::ApplyView(const ExportFormView& view, bool visibility)
{
    for (const auto& [name, flags] : view) {
        auto* control = Find<TControl>(name.c_str());
        if (!control) continue;
        if (visibility) control->SetVisible(flags.visible);
        control->SetEnabled(flags.enabled);
    }
}

void TfmBateStamp::UpdateControls()
{
    ReadState();
    const ExportFormView view = ::UpdateControls(state_);
    ApplyChecks();
    ApplyView(view, true);
}

void TfmBateStamp::CustomSchemeControlsLogic()
{
    if (applying_) return;
    ReadState();
    ExportFormView view;
    ::CustomSchemeControlsLogic(state_, view);
    ApplyChecks();
    ApplyView(view, false);
}

void TfmBateStamp::EnableControls(bool enabled)
{
    ExportFormView view;
    ::EnableControls(view, enabled);
    ApplyView(view, false);
}

void TfmBateStamp::ReadExportOptions(ExportOpts& opts)
{
    ReadState();
    ::ReadExportOptions(state_, opts);
    opts.owner = WindowHandle();
    opts.progressForm = this;
}

// ---- form

void TfmBateStamp::FormCreate(TObject*)
{
    opts_.converter = CreateHtmlConverter();
    WideString formats;
    if (opts_.converter && FAILED(opts_.converter->GetSupportedFormats(formats))) formats.clear();
    if (auto* combo = Find<TCustomComboBox>("ExportFormatCombo")) {
        const std::vector<WideString> list = ExportFormatList(opts_.converter ? formats : WideString());
        combo->Items()->Clear();
        for (const WideString& format : list) combo->Items()->Add(Utf16ToUtf8(format));
        combo->SetItemIndex(DefaultFormatIndex(list));
    }
    if (!opts_.converter) MessageBoxW(nullptr, GetUiString(1084).c_str(), GetUiString(1007).c_str(), MB_OK);
    if (auto* failed = Find<TControl>("edFailedPath")) failed->SetText(appOptions.failedExportPath);
}

void TfmBateStamp::FormShow(TObject*)
{
    EnableControls(true);
    UpdateControls();
}

void TfmBateStamp::FormCloseQuery(TObject*, bool& canClose)
{
    opts_.stopRequested = true;
    canClose = true;
}

void TfmBateStamp::FormResize(TObject*)
{
    if (WindowState() != wsMinimized) return;
    if (OnMinimized) OnMinimized();
    if (Application) Application->Minimize();
}

void TfmBateStamp::StartBtnClick(TObject*)
{
    QUILLORA_TRACE(u"TfmBateStamp::StartBtnClick");
    ReadState();
    if (!CanStart(state_)) {
        MessageBoxW(WindowHandle(), GetUiString(1063).c_str(), GetUiString(1064).c_str(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    EnableControls(false);
    try {
        ReadExportOptions(opts_);
        messages_.clear();
        if (provider_) provider_->GetMessagesFromList(messages_, false);
        opts_.messages = &messages_;
        if (state_.exportMode) {
            PDFExport(opts_);
        } else {
            const RenameOutcome outcome = PDFRename(opts_);
            // After a letter-prefix run the next folder's series starts at "A" again.
            auto* letter = Find<TCustomComboBox>("cbLetter");
            if (letter && !opts_.useFileNumbering && !outcome.refused && !opts_.stopRequested) {
                letter->SetItemIndex(1);
                CustomSchemeControlsLogic();
            }
        }
    } catch (const std::exception& e) {
        // Whatever escapes the run is told, not swallowed: the user would take it for success.
        LogPrintf(u"export manager: %s", Utf8ToUtf16(e.what()).c_str());
        MessageBoxW(WindowHandle(), Utf8ToUtf16(e.what()).c_str(), GetUiString(1007).c_str(), MB_OK | MB_ICONERROR);
    }
    opts_.messages = nullptr;
    messages_.clear();
    EnableControls(true);
    UpdateControls();
}

void TfmBateStamp::CancelBtnClick(TObject*)
{
    opts_.stopRequested = true;
    Close();
}

void TfmBateStamp::BrowseInto(const char* edit)
{
    auto* field = Find<TControl>(edit);
    // The folder dialog opens at the folder the field names now.
    WideString folder = field ? field->Text() : WideString();
    if (BrowseFolder) {
        if (!BrowseFolder(folder)) return;
    } else {
        folder = BrowseForFolder(WindowHandle());
    }
    if (!folder.empty() && field) field->SetText(folder);
}

void TfmBateStamp::RzBitBtn2Click(TObject*) { BrowseInto("edPath"); }
void TfmBateStamp::browseFailedPathClick(TObject*) { BrowseInto("edFailedPath"); }

void TfmBateStamp::edFailedPathChange(TObject*)
{
    if (const auto* c = Find<TControl>("edFailedPath")) appOptions.failedExportPath = c->Text();
}

void TfmBateStamp::cbCopyFailedClick(TObject*)
{
    if (!applying_) UpdateControls();
}

void TfmBateStamp::cbExtractAttachmentClick(TObject*)
{
    if (!applying_) UpdateControls();
}

void TfmBateStamp::rbFileNumberingClick(TObject*) { CustomSchemeControlsLogic(); }
void TfmBateStamp::rbNumberRangeClick(TObject*) { CustomSchemeControlsLogic(); }
void TfmBateStamp::cbLetterChange(TObject*) { CustomSchemeControlsLogic(); }
void TfmBateStamp::cbSameNameClick(TObject*) { CustomSchemeControlsLogic(); }
void TfmBateStamp::cbCustomSchemeClick(TObject*) { CustomSchemeControlsLogic(); }

void TfmBateStamp::edNumberKeyPress(TObject*, WideChar& key)
{
    if ((key < u'0' || key > u'9') && key != u'\b') key = 0;
}

void TfmBateStamp::StatusBar1DrawPanel(TCustomStatusBar* bar, TStatusPanel* panel, const TRect& rect)
{
    DrawStatusProgress(bar, panel, rect, static_cast<unsigned>(std::max(opts_.progressPercent, 0)));
}

// ---- the run's progress

void TfmBateStamp::ShowStatus(const WideString& text)
{
    auto* bar = Find<TCustomStatusBar>("StatusBar1");
    if (bar && bar->Panels()->Count() > 1) bar->Panels()->Items(1)->SetText(text);
}

void TfmBateStamp::InvalidateProgress()
{
    if (auto* bar = Find<TCustomStatusBar>("StatusBar1")) bar->InvalidatePanel(0);
}

void TfmBateStamp::ProcessMessages()
{
    if (Application) Application->ProcessMessages();
}

void TfmBateStamp::ShowBox(const WideString& text, const WideString& caption, TExportBoxIcon icon)
{
    MessageBoxW(WindowHandle(), text.c_str(), caption.c_str(), MB_OK | IconFlags(icon));
}

void TfmBateStamp::OpenReport(const WideString& path)
{
    if (OpenFile) OpenFile(path);
}

void RegisterExportManagerForm()
{
    RegisterTntClasses();
    RegisterStyledControls();
    RegisterClasses({&TRzLabel::StaticClass(), &TComboBox::StaticClass(), &TListBox::StaticClass(), &TfmBateStamp::StaticClass()});
}
