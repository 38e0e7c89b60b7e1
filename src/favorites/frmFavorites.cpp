#include "favorites/frmFavorites.h"

#include "app/AppLocDB.h"
#include "app/cLogger.h"
#include "controls/dragdrop/DragDetect.h"
#include "controls/dragdrop/DropFileComponents.h"
#include "controls/styled/RzImageComboBox.h"
#include "controls/unicode/TntSysUtils.h"
#include "controls/unicode/TntTreeView.h"
#include "favorites/FavoritesFile.h"
#include "favorites/frmNewFolder.h"
#include "message/MessageAttr.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/WinString.h"
#include "ui/IQuilloraProvider.h"

const TMetaClass& TfrmFavorites::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TfrmFavorites>(
        "TfrmFavorites", &IChangeableLangForm::StaticClass(), [](TClassBuilder<TfrmFavorites>& b) {
            b.Method("actOpenExecute", &TfrmFavorites::actOpenExecute);
            b.Method("actNewFolderExecute", &TfrmFavorites::actNewFolderExecute);
            b.Method("actNewShortcutExecute", &TfrmFavorites::actNewShortcutExecute);
            b.Method("actRenameExecute", &TfrmFavorites::actRenameExecute);
            b.Method("actDeleteExecute", &TfrmFavorites::actDeleteExecute);
            b.Method("actPropertiesExecute", &TfrmFavorites::actPropertiesExecute);
            b.Method("uxTreeEdited", &TfrmFavorites::uxTreeEdited);
            b.Method("uxTreeKeyDown", &TfrmFavorites::uxTreeKeyDown);
            b.Method("uxTreeDblClick", &TfrmFavorites::uxTreeDblClick);
            b.Method("uxTreeMouseMove", &TfrmFavorites::uxTreeMouseMove);
            b.Method("uxTreeMouseDown", &TfrmFavorites::uxTreeMouseDown);
            b.Method("uxTreeChange", &TfrmFavorites::uxTreeChange);
            b.Method("uxTreeClick", &TfrmFavorites::uxTreeClick);
            b.Method("FormClose", &TfrmFavorites::FormClose);
        });
    return meta;
}

const TMessageTable& TfrmFavorites::ClassMessages() {
    static const TMessageTable table(&IChangeableLangForm::ClassMessages(), {
        MESSAGE_HANDLER(WM_DROPFILES, TfrmFavorites::WMDropFiles),
        MESSAGE_HANDLER(WM_FAVORITES_DRAG_ENDED, TfrmFavorites::WMDragEnded),
    });
    return table;
}

TfrmFavorites::TfrmFavorites(TComponent* owner) : IChangeableLangForm(owner) {
    // Copies only: a drag out never moves the user's message copies away.
    dropFileSrc_ = new TDropFileSource(this);
    dropFileSrc_->SetName("DropFileSrc");
    dropFileSrc_->DragTypes = {dtCopy};
    detectDrag = [](TWinControl* control, int x, int y) { return DragDetectPlus(control, TPoint{x, y}); };
    dragFilesOut = [source = dropFileSrc_](const std::vector<WideString>& files) {
        source->Files().Clear();
        for (const WideString& file : files) source->Files().Add(Utf16ToUtf8(file));
        source->Execute();
    };
}

// The items go with items_; the nodes no longer point at them once the tree is gone.
TfrmFavorites::~TfrmFavorites() { EndDrag(); }

void TfrmFavorites::CreateParams(TCreateParams& params) {
    IChangeableLangForm::CreateParams(params);
    params.ExStyle |= WS_EX_ACCEPTFILES;
}

void TfrmFavorites::CreateWnd() {
    IChangeableLangForm::CreateWnd();
    DragAcceptFiles(Handle(), TRUE);
}

TTntTreeView* TfrmFavorites::Tree() const { return dynamic_cast<TTntTreeView*>(FindComponent("uxTree")); }

void TfrmFavorites::SetImages(TCustomImageList* images) {
    images_ = images;
    if (TTntTreeView* tree = Tree()) tree->SetImages(images);
}

int TfrmFavorites::Ask(const WideString& text, const WideString& caption, UINT flags) {
    return MessageBoxW(Handle(), text.c_str(), caption.c_str(), flags);
}

// ---- items

FavItem* TfrmFavorites::Adopt(std::unique_ptr<FavItem> item) {
    FavItem* raw = item.get();
    if (raw) items_[raw] = std::move(item);
    return raw;
}

void TfrmFavorites::FreeItem(TTreeNode* node) {
    items_.erase(static_cast<const FavItem*>(node->Data()));
    node->SetData(nullptr);
}

TTreeNode* TfrmFavorites::AddItemNode(TTreeNode* parent, std::unique_ptr<FavItem> item) {
    TTntTreeView* tree = Tree();
    if (!tree || !item) return nullptr;
    FavItem* raw = Adopt(std::move(item));
    TTreeNode* node = tree->Items()->AddChildObject(parent, raw->Tittle, raw);
    node->SetImageIndex(raw->ImageIndex);
    node->SetSelectedIndex(raw->ImageIndex);
    return node;
}

void TfrmFavorites::AddMessage(TMessageAttr* message, const WideString& caption) {
    if (!message) return;
    AddMessageNode(caption.empty() ? message->subject + u" - " + message->from : caption, message, nullptr);
}

TTreeNode* TfrmFavorites::AddMessageNode(const WideString& caption, TMessageAttr* message, TTreeNode* parent) {
    if (!message) return nullptr;
    if (root_.empty()) {
        Ask(GetUiString(1146), GetUiString(1145), MB_OK | MB_ICONERROR);
        return nullptr;
    }
    auto item = std::make_unique<FavMsg>();
    item->ImageIndex = message->GetImageIndex();
    item->Tittle = caption;
    const WideString folder = root_ + u"/" + item->GetGuidText() + u"/";
    WideCreateDir(folder);
    item->FileName = message->Export(folder);
    if (item->FileName.empty()) {
        // A favorite without its copy would open nothing: the user hears of it instead.
        WideRemoveDir(folder);
        Ask(WideFormat(GetUiFormat(1147).c_str(), message->fileName.c_str()), GetUiString(1145), MB_OK | MB_ICONERROR);
        return nullptr;
    }
    return AddItemNode(parent, std::move(item));
}

void TfrmFavorites::AddFolder() {
    if (!frmNewFolder) return;
    if (std::unique_ptr<FavFolder> folder = frmNewFolder->Execute()) AddItemNode(InsertionParent(), std::move(folder));
}

TTreeNode* TfrmFavorites::InsertionParent() const {
    const TTntTreeView* tree = Tree();
    TTreeNode* node = tree ? tree->Selected() : nullptr;
    while (node && node->Data() && !IsFavFolder(static_cast<const FavItem*>(node->Data()))) node = node->Parent();
    return node;
}

void TfrmFavorites::OpenNode(TTreeNode* node) {
    if (!node || !host_) return;
    const auto* item = static_cast<const FavItem*>(node->Data());
    if (const auto* message = dynamic_cast<const FavMsg*>(item)) {
        if (!message->FileName.empty() && WideFileExists(message->FileName)) host_->Show(message->FileName);
    } else if (const auto* shortcut = dynamic_cast<const FavShortcut*>(item)) {
        if (!shortcut->Path.empty() && WideDirectoryExists(shortcut->Path)) host_->GoToFolder(shortcut->Path);
    }
}

// ---- deleting

bool TfrmFavorites::ConfirmDelete(TTreeNode* node) {
    const auto* item = node ? static_cast<const FavItem*>(node->Data()) : nullptr;
    if (!item) return false;
    const int question = dynamic_cast<const FavMsg*>(item) ? 1148 : IsFavFolder(item) ? 1149 : 1150;
    const WideString text = WideFormat(GetUiFormat(question).c_str(), node->Text().c_str());
    return Ask(text, GetUiString(1151), MB_YESNO) == IDYES;
}

namespace {
void ForEachInSubtree(TTreeNode* node, const std::function<void(TTreeNode*)>& visit) {
    visit(node);
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) ForEachInSubtree(child, visit);
}
}  // namespace

void TfrmFavorites::DeleteNode(TTreeNode* node) {
    if (!node) return;
    ForEachInSubtree(node, [this](TTreeNode* n) {
        const auto* message = dynamic_cast<const FavMsg*>(static_cast<const FavItem*>(n->Data()));
        // Without a storage folder there is no copy of ours to delete.
        if (message && !root_.empty()) QueueCopyDeletion(message->GetStoragePath(root_));
        FreeItem(n);
    });
    node->Delete();
}

void TfrmFavorites::QueueCopyDeletion(const WideString& path) { pendingDeletions_.Add(path); }

void TfrmFavorites::DeleteQueuedCopies() {
    for (int i = 0; i < pendingDeletions_.GetCount(); ++i) {
        const WideString path = pendingDeletions_.Get(i);
        const WideString folder = WideExtractFileDir(path);
        WideDeleteFile(path);
        WideRemoveDir(folder);  // only when nothing else is left in it
    }
    pendingDeletions_.Clear();
}

void TfrmFavorites::FreeItems() {
    if (TTntTreeView* tree = Tree()) {
        for (TTreeNode* node = tree->Items()->GetFirstNode(); node; node = node->GetNext()) node->SetData(nullptr);
        tree->Items()->Clear();
    }
    items_.clear();
}

void TfrmFavorites::Clear() {
    FreeItems();
    DeleteQueuedCopies();
}

// ---- folder lists

void TfrmFavorites::GetFolderNodes(TFavNodeList& folders, TTreeNode* excluded) {
    folders.clear();
    const TTntTreeView* tree = Tree();
    if (!tree) return;
    for (TTreeNode* node = tree->Items()->GetFirstNode(); node; node = node->GetNext()) {
        // The excluded node's subtree goes too: nothing can move into itself.
        if (excluded && (node == excluded || node->HasAsParent(excluded))) continue;
        if (IsFavFolder(static_cast<const FavItem*>(node->Data()))) folders.push_back(node);
    }
}

int TfrmFavorites::IndexOfNode(TTreeNode* node, const TFavNodeList& folders) {
    if (!node) return -1;
    for (std::size_t i = 0; i < folders.size(); ++i)
        if (folders[i] == node) return static_cast<int>(i);
    return -1;
}

void TfrmFavorites::FillFolderCombo(TRzImageComboBox* combo, const TFavNodeList& folders) {
    if (!combo) return;
    combo->AddItem(GetUiString(1152), 10, 0);
    for (TTreeNode* node : folders) {
        TRzImageComboBoxItem* entry = combo->AddItem(node->Text(), node->ImageIndex(), node->Level() + 1);
        entry->Data = node;
    }
}

void TfrmFavorites::CopyFolderNodes(TTreeNodes* target) {
    const TTntTreeView* tree = Tree();
    if (!tree || !target) return;
    std::function<void(TTreeNode*, TTreeNode*)> copy = [&](TTreeNode* node, TTreeNode* into) {
        TTreeNode* under = into;
        if (IsFavFolder(static_cast<const FavItem*>(node->Data()))) {
            under = target->AddChildObject(into, node->Text(), node->Data());
            under->SetImageIndex(node->ImageIndex());
            under->SetSelectedIndex(node->SelectedIndex());
        }
        for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) copy(child, under);
    };
    for (int i = 0; i < tree->Items()->TopCount(); ++i) copy(tree->Items()->TopItem(i), nullptr);
}

// ---- the favorites file

void TfrmFavorites::LoadItems(std::vector<FavNode>& nodes, TTreeNode* parent) {
    for (FavNode& node : nodes) {
        TTreeNode* added = AddItemNode(parent, std::move(node.item));
        if (added) LoadItems(node.children, added);
    }
}

void TfrmFavorites::Load(const WideString& path) {
    WideString root = host_ ? host_->GetRootFolderLocation() : WideString();
    while (root.size() > 1 && root.back() == u'/') root.pop_back();
    root_ = root;
    FavLoadResult result = LoadFavoritesFile(path);
    if (TTntTreeView* tree = Tree()) {
        tree->Items()->BeginUpdate();
        LoadItems(result.nodes, nullptr);
        tree->Items()->EndUpdate();
    }
    if (result.error.empty()) return;
    LogPrintf(u"favorites: %s", result.error.c_str());
    // Not kept aside: writing over it at the next save would lose what it still holds.
    if (result.keptAsidePath.empty()) unreadFile_ = path;
    Ask(result.error, GetUiString(1145), MB_OK | MB_ICONWARNING);
}

void TfrmFavorites::Save(const WideString& path) {
    if (!unreadFile_.empty() && path == unreadFile_) {
        Ask(WideFormat(GetUiFormat(1153).c_str(), path.c_str()), GetUiString(1145), MB_OK | MB_ICONERROR);
        return;
    }
    std::function<std::vector<FavItemRef>(TTreeNode*)> refs = [&](TTreeNode* first) {
        std::vector<FavItemRef> out;
        for (TTreeNode* node = first; node; node = node->GetNextSibling())
            out.push_back(FavItemRef{static_cast<const FavItem*>(node->Data()), refs(node->GetFirstChild())});
        return out;
    };
    const TTntTreeView* tree = Tree();
    WideString error;
    if (!SaveFavoritesFile(path, refs(tree ? tree->Items()->GetFirstNode() : nullptr), error)) {
        LogPrintf(u"favorites: %s", error.c_str());
        Ask(error, GetUiString(1145), MB_OK | MB_ICONERROR);
    }
}
