// The select-folder dialog: a component that shows TRzSelectFolderForm modally, hands it its
// appearance settings and, after OK, keeps the chosen folder in SelectedFolder. The window's
// last placement carries over to the next run. TRzShellDialog guards against re-entry.
#pragma once

#include <memory>

#include "controls/shell/RzSelectFolderForm.h"
#include "controls/styled/ColorHelpers.h"
#include "controls/styled/DrawHelpers.h"
#include "controls/styled/RzPanel.h"
#include "controls/styled/StyledTypes.h"
#include "platform/vcl/Streams.h"

class TRzShellDialog : public TComponent {
    QUILLORA_COMPONENT(TRzShellDialog)
public:
    using TComponent::TComponent;

    // Runs the dialog; raises "<class> already executing" when it runs already.
    bool Execute();
    bool Executing() const { return executing_; }

    int FormLeft = -1, FormTop = -1, FormWidth = -1, FormHeight = -1;
    TWindowState FormWindowState = wsNormal;
    TPosition FormPosition = poScreenCenter;

    // 18 bytes: left, top, width, height (32-bit little-endian), window state, position.
    virtual void ReadPlacement(TStream& stream);
    virtual void WritePlacement(TStream& stream) const;

    TNotifyEvent OnInitialized;

protected:
    virtual void DoInitialized();
    virtual bool DoExecute() = 0;

private:
    bool executing_ = false;
};

enum TRzSelectFolderDialogOption {
    sfdoCreateDeleteButtons, sfdoContextMenus, sfdoReadOnly, sfdoIncludeNonFolders, sfdoOleDrag, sfdoOleDrop,
    sfdoCreateFolderIcon, sfdoDeleteFolderIcon, sfdoVirtualFolders, sfdoShowHidden
};
QUILLORA_ENUM_TYPEINFO(TRzSelectFolderDialogOption, "sfdoCreateDeleteButtons", "sfdoContextMenus", "sfdoReadOnly",
                       "sfdoIncludeNonFolders", "sfdoOleDrag", "sfdoOleDrop", "sfdoCreateFolderIcon",
                       "sfdoDeleteFolderIcon", "sfdoVirtualFolders", "sfdoShowHidden")
using TRzSelectFolderDialogOptions = TSet<TRzSelectFolderDialogOption>;
inline const TRzSelectFolderDialogOptions kDefaultSelectFolderOptions = {sfdoContextMenus, sfdoCreateFolderIcon,
                                                                          sfdoDeleteFolderIcon, sfdoShowHidden};

class TRzCustomSelectFolderDialog : public TRzShellDialog {
    QUILLORA_COMPONENT(TRzCustomSelectFolderDialog)
public:
    explicit TRzCustomSelectFolderDialog(TComponent* owner);
    ~TRzCustomSelectFolderDialog() override;

    const WideString& Title() const { return title_; }
    void SetTitle(const WideString& v) { title_ = v; }
    TRzShellLocator* BaseFolder() const { return baseFolder_.get(); }
    void SetBaseFolder(const TRzShellLocator* v) { baseFolder_->Assign(v); }
    // The folder shown selected at start, and the answer after OK.
    TRzShellLocator* SelectedFolder() const { return selectedFolder_.get(); }
    TRzSelectFolderDialogOptions Options() const { return options_; }
    void SetOptions(TRzSelectFolderDialogOptions v) { options_ = v; }
    const WideString& StatusText() const { return statusText_; }
    void SetStatusText(const WideString& v) { statusText_ = v; }
    // The form while it is shown; null otherwise.
    TRzSelectFolderForm* Form() const { return form_.get(); }

    TColor FrameColor = clBtnShadow;
    TFrameStyle FrameStyle = fsFlat;
    bool FrameVisible = false;
    TFramingPreference FramingPreference = fpXPThemes;
    TColor ButtonColor = clBtnFace;
    bool ShowButtonGlyphs = false;
    bool HotTrack = false;
    TColor HighlightColor = clHighlight;
    TColor HotTrackColor = static_cast<TColor>(0x00149BF0);
    TRzHotTrackColorType HotTrackColorType = htctActual;
    TRzGradientColorStyle ToolBtnGradientColorStyle = gcsSystem;
    TColor ToolBtnSelectionColorStart = clBtnFace;
    TColor ToolBtnSelectionColorStop = clBtnShadow;
    TColor ToolBtnSelectionFrameColor = cl3DDkShadow;
    TRzVisualStyle ToolBtnVisualStyle = vsWinXP;

    TRzShAddItemEvent OnAddItem;
    TNotifyEvent OnFormShow;
    TNotifyEvent OnFormClose;
    TRzFolderBrowseSelChangeEvent OnSelChange;

protected:
    virtual std::unique_ptr<TRzSelectFolderForm> CreateForm();
    virtual void SetupForm(TRzSelectFolderForm& form);
    virtual void FetchResults(TRzSelectFolderForm& form);
    bool DoExecute() override;

private:
    void SetupOptions(TRzSelectFolderForm& form) const;

    WideString title_;
    std::unique_ptr<TRzShellLocator> baseFolder_;
    std::unique_ptr<TRzShellLocator> selectedFolder_;
    TRzSelectFolderDialogOptions options_ = kDefaultSelectFolderOptions;
    WideString statusText_;
    std::unique_ptr<TRzSelectFolderForm> form_;
};

class TRzSelectFolderDialog : public TRzCustomSelectFolderDialog {
    QUILLORA_COMPONENT(TRzSelectFolderDialog)
public:
    using TRzCustomSelectFolderDialog::TRzCustomSelectFolderDialog;
};

// Makes TRzSelectFolderDialog and its form known to form files.
void RegisterShellDialogs();
