// The favorites pane: the tree of favorite folders, message copies and folder shortcuts that
// fills the main window's "Favorites" tab, with its commands, its file, the private copies of
// favorite messages, and dragging favorites out and files in.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "app/IChangeableLangForm.h"
#include "controls/unicode/TntClasses.h"
#include "favorites/FavoritesFile.h"
#include "favorites/IFavorites.h"
#include "platform/vcl/Messages.h"

class TDropFileSource;
class TTntTreeView;
class TTntTreeNode;

// Posted when a drag out has ended; drops posted during the drag are handled before it.
inline constexpr UINT WM_FAVORITES_DRAG_ENDED = WM_APP + 0x0F31;

class TfrmFavorites : public IChangeableLangForm, public IFavorites {
    QUILLORA_COMPONENT(TfrmFavorites)
    QUILLORA_MESSAGES()
public:
    explicit TfrmFavorites(TComponent* owner);
    ~TfrmFavorites() override;

    // ---- IFavorites
    void AddMessage(TMessageAttr* message, const WideString& caption) override;
    TCustomImageList* GetImages() override { return images_; }
    void CopyFolderNodes(TTreeNodes* target) override;
    void FillFolderCombo(TRzImageComboBox* combo, const TFavNodeList& folders) override;
    void GetFolderNodes(TFavNodeList& folders, TTreeNode* excluded) override;
    int IndexOfNode(TTreeNode* node, const TFavNodeList& folders) override;
    // Reads the favorites file; an unreadable one is reported once and kept aside.
    void Load(const WideString& path) override;
    // Writes the favorites file atomically; a failure is reported.
    void Save(const WideString& path) override;
    void SetHost(IQuilloraProvider* host) override { host_ = host; }
    void Clear() override;

    // ---- the pane
    void SetImages(TCustomImageList* images);
    TTntTreeView* Tree() const;
    // A favorite for the message with its own copy in the storage folder, as the parent's last
    // child; null (the user told) when no copy could be made.
    TTreeNode* AddMessageNode(const WideString& caption, TMessageAttr* message, TTreeNode* parent);
    void AddFolder();
    void OpenNode(TTreeNode* node);
    void DeleteNode(TTreeNode* node);
    bool ConfirmDelete(TTreeNode* node);
    void FreeItems();
    void DeleteQueuedCopies();
    void QueueCopyDeletion(const WideString& path);
    const TTntStringList& QueuedCopies() const { return pendingDeletions_; }
    // Where New Folder and New Shortcut put their item: the selected folder, else the folder
    // of the selected item; null for the top level.
    TTreeNode* InsertionParent() const;
    // The selected nodes in the order they were selected.
    std::vector<TTreeNode*> SelectedNodes() const;

    // ---- commands and events
    void actOpenExecute(TObject* sender);
    void actNewFolderExecute(TObject* sender);
    void actNewShortcutExecute(TObject* sender);
    void actRenameExecute(TObject* sender);
    void actDeleteExecute(TObject* sender);
    void actPropertiesExecute(TObject* sender);
    void uxNewItemClick(TObject* sender);
    void uxTreeEdited(TObject* sender, TTntTreeNode* node, WideString& text);
    void uxTreeKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void uxTreeDblClick(TObject* sender);
    void uxTreeMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void uxTreeMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void uxTreeChange(TObject* sender, TTreeNode* node);
    void uxTreeClick(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void LanguageChanged() override {}

    // ---- drag and drop
    // The selected message copies and, for selected folders, the marker file listing them;
    // the marker is written here. Empty when nothing can be dragged.
    std::vector<WideString> DragFiles();
    // Offers DragFiles through the drag source; drops of the marker are obeyed only until
    // the drag has ended.
    void DragOut();
    void WMDropFiles(TMessage& message);
    void WMDragEnded(TMessage& message);
    // The marker file of this process's drags.
    static WideString MarkerPath();

    // Seams for the drag: whether a press starts one, and the drag itself (the drop source).
    std::function<bool(TWinControl* control, int x, int y)> detectDrag;
    std::function<void(const std::vector<WideString>& files)> dragFilesOut;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    FavItem* Adopt(std::unique_ptr<FavItem> item);
    void FreeItem(TTreeNode* node);
    TTreeNode* AddItemNode(TTreeNode* parent, std::unique_ptr<FavItem> item);
    void LoadItems(std::vector<FavNode>& nodes, TTreeNode* parent);
    // The node as the parent's last child (top level when null); a move into its own subtree
    // is not made.
    void MoveNode(TTreeNode* node, TTreeNode* parent);
    // The marker of the drag in progress, and no other file.
    bool IsOwnMarker(const WideString& path) const;
    void MoveMarkedFolders(const WideString& marker, TTreeNode* parent);
    // The drag is over: its marker is no longer obeyed and is removed.
    void EndDrag();
    int Ask(const WideString& text, const WideString& caption, UINT flags);

    TCustomImageList* images_ = nullptr;
    IQuilloraProvider* host_ = nullptr;
    WideString root_;  // without a trailing "/"
    TTntStringList pendingDeletions_;
    std::unordered_map<const FavItem*, std::unique_ptr<FavItem>> items_;
    TDropFileSource* dropFileSrc_ = nullptr;
    WideString unreadFile_;  // a favorites file that could not be read nor kept aside
    bool dragging_ = false;
    WideString dragMarker_;  // the marker of the drag in progress, when it lists folders
};

// The caption of a shortcut to path: its last name, or the whole path for a root or a path
// ending in "/".
WideString ShortcutCaption(const WideString& path);
