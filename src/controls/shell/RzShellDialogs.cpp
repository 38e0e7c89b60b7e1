// The select-folder dialog.
#include "controls/shell/RzShellDialogs.h"

#include "controls/styled/RzBitBtn.h"
#include "controls/styled/RzStatusBar.h"
#include "controls/styled/RzStyledControls.h"
#include "controls/styled/RzToolButton.h"
#include "platform/vcl/TypInfo.h"

namespace {

void PutInt32(TStream& stream, int value) {
    const auto v = static_cast<std::uint32_t>(value);
    const unsigned char bytes[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                    static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    stream.WriteBuffer(bytes, 4);
}

int GetInt32(TStream& stream) {
    unsigned char bytes[4];
    stream.ReadBuffer(bytes, 4);
    return static_cast<int>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                            static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
}

// Restores the screen cursor when it goes.
class TCursorKeeper {
public:
    TCursorKeeper() : saved_(Screen ? Screen->Cursor() : crDefault) {
        if (Screen) Screen->SetCursor(crHourGlass);
    }
    ~TCursorKeeper() {
        if (Screen) Screen->SetCursor(saved_);
    }
    TCursorKeeper(const TCursorKeeper&) = delete;
    TCursorKeeper& operator=(const TCursorKeeper&) = delete;

private:
    TCursor saved_;
};

}  // namespace

// ---- TRzShellDialog

const TMetaClass& TRzShellDialog::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzShellDialog>("TRzShellDialog", &TComponent::StaticClass());
    return meta;
}

bool TRzShellDialog::Execute() {
    if (executing_) throw Exception(Utf8ToUtf16(AnsiString(ClassName())) + u" already executing");
    executing_ = true;
    try {
        const bool result = DoExecute();
        executing_ = false;
        return result;
    } catch (...) {
        executing_ = false;
        throw;
    }
}

void TRzShellDialog::DoInitialized() {
    if (OnInitialized) OnInitialized(this);
}

void TRzShellDialog::ReadPlacement(TStream& stream) {
    FormLeft = GetInt32(stream);
    FormTop = GetInt32(stream);
    FormWidth = GetInt32(stream);
    FormHeight = GetInt32(stream);
    unsigned char bytes[2];
    stream.ReadBuffer(bytes, 2);
    // Values outside the enumerations fall back to the defaults.
    FormWindowState = bytes[0] <= wsMaximized ? static_cast<TWindowState>(bytes[0]) : wsNormal;
    FormPosition = bytes[1] <= poMainFormCenter ? static_cast<TPosition>(bytes[1]) : poScreenCenter;
}

void TRzShellDialog::WritePlacement(TStream& stream) const {
    PutInt32(stream, FormLeft);
    PutInt32(stream, FormTop);
    PutInt32(stream, FormWidth);
    PutInt32(stream, FormHeight);
    const unsigned char bytes[2] = {static_cast<unsigned char>(FormWindowState), static_cast<unsigned char>(FormPosition)};
    stream.WriteBuffer(bytes, 2);
}

// ---- TRzCustomSelectFolderDialog

const TMetaClass& TRzCustomSelectFolderDialog::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TRzCustomSelectFolderDialog>("TRzCustomSelectFolderDialog", &TRzShellDialog::StaticClass());
    return meta;
}

const TMetaClass& TRzSelectFolderDialog::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzSelectFolderDialog>(
        "TRzSelectFolderDialog", &TRzCustomSelectFolderDialog::StaticClass(), [](TClassBuilder<TRzSelectFolderDialog>& b) {
            using C = TRzSelectFolderDialog;
            b.Property("Title", &C::Title, &C::SetTitle).Default(u"");
            b.Property("Options", &C::Options, &C::SetOptions).Default(kDefaultSelectFolderOptions);
            b.Property("BaseFolder", &C::BaseFolder, &C::SetBaseFolder);
            b.Event("OnFormShow", static_cast<TNotifyEvent C::*>(&C::OnFormShow));
            b.Event("OnFormClose", static_cast<TNotifyEvent C::*>(&C::OnFormClose));
            b.Event("OnInitialized", static_cast<TNotifyEvent C::*>(&C::OnInitialized));
        });
    return meta;
}

TRzCustomSelectFolderDialog::TRzCustomSelectFolderDialog(TComponent* owner)
    : TRzShellDialog(owner), baseFolder_(std::make_unique<TRzShellLocator>()),
      selectedFolder_(std::make_unique<TRzShellLocator>()) {}

TRzCustomSelectFolderDialog::~TRzCustomSelectFolderDialog() = default;

std::unique_ptr<TRzSelectFolderForm> TRzCustomSelectFolderDialog::CreateForm() {
    // The dialog owns the form for the run: the application would make it the main form.
    auto form = std::make_unique<TRzSelectFolderForm>(nullptr);
    form->InitForm();
    return form;
}

bool TRzCustomSelectFolderDialog::DoExecute() {
    if (form_) throw Exception(u"TRzSelectFolderDialog form already active");
    const TCursorKeeper cursor;
    struct FormRelease {
        std::unique_ptr<TRzSelectFolderForm>& form;
        ~FormRelease() { form.reset(); }
    } release{form_};
    form_ = CreateForm();
    SetupForm(*form_);
    DoInitialized();
    const bool ok = form_->ShowModal() == mrOk;
    if (!ComponentState().Contains(csDesigning)) FetchResults(*form_);
    return ok;
}

void TRzCustomSelectFolderDialog::SetupOptions(TRzSelectFolderForm& form) const {
    TRzShellTree& tree = *form.ShellTree();
    TRzShellTreeOptions tree_options = tree.Options();
    const auto take = [&](TRzShellTreeOption to, TRzSelectFolderDialogOption from) {
        if (options_.Contains(from)) tree_options << to;
        else tree_options >> to;
    };
    take(stoOleDrag, sfdoOleDrag);
    take(stoOleDrop, sfdoOleDrop);
    take(stoIncludeNonFolders, sfdoIncludeNonFolders);
    take(stoVirtualFolders, sfdoVirtualFolders);
    take(stoContextMenus, sfdoContextMenus);
    take(stoShowHidden, sfdoShowHidden);
    tree.SetOptions(tree_options);
    form.SetAllowVirtualFolders(options_.Contains(sfdoVirtualFolders));

    const bool buttons = options_.Contains(sfdoCreateDeleteButtons);
    TRzToolButton& create = *form.NewFolderButton();
    TRzToolButton& remove = *form.DeleteFolderButton();
    create.SetVisible(buttons);
    remove.SetVisible(buttons);
    create.SetImageIndex(options_.Contains(sfdoCreateFolderIcon) ? 0 : -1);
    remove.SetImageIndex(options_.Contains(sfdoDeleteFolderIcon) ? 2 : -1);
    if (!options_.Contains(sfdoCreateFolderIcon) || !options_.Contains(sfdoDeleteFolderIcon)) {
        create.SetFlat(false);
        remove.SetFlat(false);
    }
    tree.SetReadOnly(options_.Contains(sfdoReadOnly));
}

void TRzCustomSelectFolderDialog::SetupForm(TRzSelectFolderForm& form) {
    form.OnSelChange = OnSelChange;
    form.OnFormShow = OnFormShow;
    form.OnFormClose = OnFormClose;
    TRzShellTree& tree = *form.ShellTree();
    tree.OnAddItem = OnAddItem;
    form.StatusBar()->SetSimpleCaption(statusText_);
    form.SetPosition(FormPosition);
    if (FormPosition == poDesigned) {
        form.SetLeft(FormLeft);
        form.SetTop(FormTop);
    }
    if (FormWidth > 0) form.SetWidth(FormWidth);
    if (FormHeight > 0) form.SetHeight(FormHeight);
    form.SetWindowState(FormWindowState);
    SetupOptions(form);
    form.SetCaption(title_.empty() ? WideString(u"Browse for Folder") : title_);
    tree.SetFrameColor(FrameColor);
    tree.SetFrameStyle(FrameStyle);
    tree.SetFrameVisible(FrameVisible);
    tree.SetFramingPreference(FramingPreference);
    for (TRzBitBtn* button : {form.OkButton(), form.CancelButton()}) {
        button->SetColor(ButtonColor);
        button->SetHotTrack(HotTrack);
        button->SetHighlightColor(HighlightColor);
        button->SetHotTrackColor(HotTrackColor);
        button->SetHotTrackColorType(HotTrackColorType);
    }
    if (ShowButtonGlyphs) {
        TBitmap ok, cancel;
        ok.Assign(&GetKindGlyph(bkOK));
        cancel.Assign(&GetKindGlyph(bkCancel));
        form.OkButton()->SetGlyph(&ok);
        form.CancelButton()->SetGlyph(&cancel);
    }
    for (TRzToolButton* button : {form.NewFolderButton(), form.DeleteFolderButton()}) {
        button->SetGradientColorStyle(ToolBtnGradientColorStyle);
        button->SetSelectionColorStart(ToolBtnSelectionColorStart);
        button->SetSelectionColorStop(ToolBtnSelectionColorStop);
        button->SetSelectionFrameColor(ToolBtnSelectionFrameColor);
        button->SetVisualStyle(ToolBtnVisualStyle);
    }
    form.StatusBar()->SetVisualStyle(ToolBtnVisualStyle);
    tree.SetBaseFolder(baseFolder_.get());
    tree.SetSelectedFolder(selectedFolder_.get());
}

void TRzCustomSelectFolderDialog::FetchResults(TRzSelectFolderForm& form) {
    const TRect bounds = form.BoundsRect();
    FormLeft = bounds.left;
    FormTop = bounds.top;
    FormWidth = bounds.Width();
    FormHeight = bounds.Height();
    FormWindowState = form.WindowState();
    FormPosition = form.Position();
    if (form.ModalResult() == mrOk) selectedFolder_->Assign(form.ShellTree()->SelectedFolder());
}

void RegisterShellDialogs() {
    RegisterStyledControls();
    RegisterSelectFolderForm();
    RegisterClasses({&TRzSelectFolderDialog::StaticClass()});
}
