#include "controls/shell/RzShellTree.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "controls/shell/RzShellDialogs.h"
#include "controls/shell/RzShellKeys.h"
#include "controls/shell/RzShellList.h"
#include "controls/shell/RzShellMenus.h"
#include "platform/shell/MountTable.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/WinUser.h"

namespace {

// Posted to itself when the window is made: the tree fills once creation has finished.
constexpr UINT kFillMessage = WM_USER + 103;
// A keyboard walk through the tree refills the linked list once the user pauses.
constexpr UINT kSelectionDelay = 500;

// Raises a counter for the life of the object.
class Raise {
public:
    explicit Raise(int& counter) : counter_(counter) { ++counter_; }
    ~Raise() { --counter_; }
    Raise(const Raise&) = delete;
    Raise& operator=(const Raise&) = delete;

private:
    int& counter_;
};

int CompareNodes(LPARAM a, LPARAM b, LPARAM tree) {
    const auto* t = reinterpret_cast<const TRzCustomShellTree*>(tree);
    const TRzShellTreeData* da = t->GetItemData(reinterpret_cast<const TTreeNode*>(a));
    const TRzShellTreeData* db = t->GetItemData(reinterpret_cast<const TTreeNode*>(b));
    return da && db ? CompareShellItems(da->Item(), db->Item()) : 0;
}

}  // namespace

TRzCustomShellTree::TRzCustomShellTree(TComponent* owner)
    : TRzCustomTreeView(owner),
      baseFolder_(std::make_unique<TRzShellLocator>()),
      selectedFolder_(std::make_unique<TRzShellLocator>()),
      timer_(std::make_unique<TTimer>(nullptr)),
      dragDrop_(MakeDragDrop()) {
    timer_->SetEnabled(false);
    timer_->OnTimer = [this](TObject*) { TimerFired(); };
    baseFolder_->OnChange = [this](TObject*) { BaseFolderChanged(); };
    selectedFolder_->OnChange = [this](TObject*) { SelectedFolderChanged(); };
    SetShowRoot(false);
    SetWidth(150);
    SetHeight(150);
}

TRzCustomShellTree::~TRzCustomShellTree() {
    watcher_.reset();
    dragDrop_->SetAcceptDrops(false);
    if (shellList_) shellList_->SetShellTree(nullptr);
    // The nodes go while their data can still be told about.
    Raise busy(busy_);
    Items()->Clear();
    SetImages(nullptr);
}

TRzShellTreeData* TRzCustomShellTree::GetItemData(const TTreeNode* node) const {
    const auto it = data_.find(node);
    return it == data_.end() ? nullptr : it->second.get();
}

AnsiString TRzCustomShellTree::GetSelectedPath() const {
    const TRzShellTreeData* data = GetSelectedItemData();
    return data ? data->GetPath() : AnsiString();
}

void TRzShellTreeData::SetRelativeIdList(const ShellIdList& relative, const WideString& name) {
    absolute_ = absolute_.Parent() + relative;
    item_.id = relative;
    item_.name = name;
}

void TRzCustomShellTree::SetSelectedFolder(const TRzShellLocator* locator) {
    if (Loading() || busy_ > 0) {
        if (shellList_) shellList_->SetFolderFrom(selectedFolder_.get());
        return;
    }
    selectedFolder_->Assign(locator);
}

void TRzCustomShellTree::SetSelectedPath(const AnsiString& path) {
    if (busy_ > 0) return;
    selectedFolder_->SetPath(path);
}

void TRzCustomShellTree::SetBaseFolder(const TRzShellLocator* locator) {
    if (!Loading()) baseFolder_->Assign(locator);
}

void TRzCustomShellTree::SetOptions(TRzShellTreeOptions options) {
    const bool watched = options_.Contains(stoDynamicRefresh);
    options_ = options;
    UpdateDropRegistration();
    if (watched != options_.Contains(stoDynamicRefresh) && Items()->Count() > 0 && !ComponentState().Contains(csDesigning))
        StartDriveWatch();
}

DWORD TRzCustomShellTree::EnumFlags() const {
    DWORD flags = SHCONTF_FOLDERS;
    if (options_.Contains(stoIncludeNonFolders)) flags |= SHCONTF_NONFOLDERS;
    if (options_.Contains(stoShowHidden)) flags |= SHCONTF_INCLUDEHIDDEN;
    return flags;
}

// ---- filling

bool TRzCustomShellTree::DoAddItem(const ShellIdList& parentAbsolute, const ShellItem& item) {
    bool allow = true;
    if (OnAddItem) OnAddItem(this, parentAbsolute, item.id, item.attributes, allow);
    return allow;
}

void TRzCustomShellTree::DoInsertItem(TTreeNode* node) {
    lastInserted_ = node;
    if (OnInsertItem) OnInsertItem(this, node);
}

bool TRzCustomShellTree::AddItem(const ShellIdList& parentAbsolute, const ShellItem& item, TTreeNode* parent) {
    const DWORD a = item.attributes;
    if (!options_.Contains(stoVirtualFolders) && !(a & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))) return false;
    if (!DoAddItem(parentAbsolute, item)) return false;
    auto data = std::make_unique<TRzShellTreeData>(this, GetItemData(parent), item, parentAbsolute + item.id);
    TTreeNode* node = Items()->AddChildObject(parent, item.name, data.get());
    SetNodeImages(node, *data);
    data_[node] = std::move(data);
    const bool button = options_.Contains(stoIncludeNonFolders)
                            ? (a & (SFGAO_FOLDER | SFGAO_HASSUBFOLDER)) != 0
                            : (a & SFGAO_FOLDER) && (a & SFGAO_HASSUBFOLDER);
    node->SetHasChildren(button);
    if (a & SFGAO_SHARE) node->SetOverlayIndex(0);
    else if (a & SFGAO_LINK) node->SetOverlayIndex(1);
    node->SetCut((a & SFGAO_HIDDEN) != 0);
    DoInsertItem(node);
    return true;
}

void TRzCustomShellTree::FillNode(TTreeNode* node) {
    DoFillStart();
    struct Complete {
        TRzCustomShellTree* tree;
        ~Complete() { tree->DoFillComplete(); }
    } complete{this};
    TTreeNode* parent = node;
    if (!parent) {
        const ShellIdList base = baseFolder_->GetIdList();
        ShellItem root{base.Last(), GetShellDisplayName(base, ShellNameKind::InFolder), 0};
        if (const HRESULT hr = GetShellAttributes(base, root.attributes); FAILED(hr))
            throw Exception(SysErrorMessage(static_cast<DWORD>(hr)));
        auto data = std::make_unique<TRzShellTreeData>(this, nullptr, root, base);
        parent = Items()->AddChildObject(nullptr, root.name, data.get());
        SetNodeImages(parent, *data);
        data_[parent] = std::move(data);
        parent->SetHasChildren(true);
        DoInsertItem(parent);
    }
    const TRzShellTreeData* data = GetItemData(parent);
    if (!data) return;
    std::vector<ShellItem> items;
    // A folder that cannot be read keeps its button and stays empty: opening it again tries
    // again (a slow mount, a permission granted later). A volume that does not answer says
    // so in a node of its own, which opening it again replaces.
    if (const HRESULT hr = EnumShellFolder(data->GetAbsoluteIdList(), EnumFlags(), items); FAILED(hr)) {
        if (hr == kShellNotReachable && node) Items()->AddChild(node, kNotReachableText);
        return;
    }
    const ShellIdList parentList = data->GetAbsoluteIdList();
    for (const ShellItem& item : items) AddItem(parentList, item, parent);
    if (parent->Count() == 0) parent->SetHasChildren(false);
    if (!node) parent->Expand(false);
}

void TRzCustomShellTree::DoFillStart() {
    if (OnFillStart) OnFillStart(this);
}

void TRzCustomShellTree::DoFillComplete() {
    if (OnFillComplete) OnFillComplete(this);
}

void TRzCustomShellTree::SortChildren(TTreeNode* node) {
    if (node) node->CustomSort(CompareNodes, reinterpret_cast<LPARAM>(this), false);
    else CustomSort(CompareNodes, reinterpret_cast<LPARAM>(this), false);
}

bool TRzCustomShellTree::CanExpand(TTreeNode* node) {
    if (expandGuard_) return false;
    if (!TRzCustomTreeView::CanExpand(node)) return false;
    if (node && IsNotReachableNode(node->GetFirstChild())) {
        node->DeleteChildren();
        node->SetHasChildren(true);
    }
    if (node && node->HasChildren() && node->Count() == 0 && GetItemData(node)) FillNode(node);
    return true;
}

bool TRzCustomShellTree::IsNotReachableNode(const TTreeNode* node) const {
    return node && !GetItemData(node) && node->Parent() && !node->GetNextSibling() && !node->GetPrevSibling() &&
           node->Text() == kNotReachableText;
}

void TRzCustomShellTree::FillTree() {
    if (Interacting()) {
        refreshPending_ = true;
        return;
    }
    refreshPending_ = false;
    {
        Raise busy(busy_);
        SetSelected(nullptr);
        Items()->Clear();
    }
    FillNode(nullptr);
    const ShellIdList target = selectedFolder_->GetIdList();
    if (!target.Empty()) {
        SelectIdList(target);
    } else if (TTreeNode* first = Items()->GetFirstNode()) {
        selectNow_ = true;
        SetSelected(first);
    }
    FlushPendingSelection();
    if (!ComponentState().Contains(csDesigning)) StartDriveWatch();
}

void TRzCustomShellTree::StartDriveWatch() {
    if (!HandleAllocated()) return;
    mountsChanged_ = false;
    if (!watcher_) watcher_ = std::make_unique<TChangeHandlerThread>(WindowHandle(), kShellChangeMessage, kMountTableFile);
    else watcher_->RemoveAllWatches();
    if (!options_.Contains(stoDynamicRefresh)) return;
    DWORD filter = FILE_NOTIFY_CHANGE_DIR_NAME;
    if (options_.Contains(stoIncludeNonFolders)) filter |= FILE_NOTIFY_CHANGE_FILE_NAME;
    // Removable media come and go; network shares tell nothing of changes made elsewhere and
    // may hang.
    for (const MountEntry& m : ReadMountTable()) {
        if (!m.visible || m.removable || m.remote) continue;
        int slot = -1;
        watcher_->AddWatch(m.mountPoint, filter, slot, true);
    }
}

void TRzCustomShellTree::SetNodeImages(TTreeNode* node, const TRzShellTreeData& data) {
    const ShellIdList& list = data.GetAbsoluteIdList();
    node->SetImageIndex(images_.ItemIconIndex(list, data.Attributes(), false));
    node->SetSelectedIndex(images_.ItemIconIndex(list, data.Attributes(), true));
    if (data.Attributes() & SFGAO_LINK) images_.UseLinkOverlay();
    if (images_.List() && Images() != images_.List()) SetImages(images_.List());
}

// ---- selection

TTreeNode* TRzCustomShellTree::FindChildNode(TTreeNode* parent, const std::string& item) const {
    for (TTreeNode* child = parent->GetFirstChild(); child; child = child->GetNextSibling()) {
        const TRzShellTreeData* d = GetItemData(child);
        if (d && d->GetRelativeIdList().Count() == 1 && d->GetRelativeIdList().Item(0) == item) return child;
    }
    return nullptr;
}

void TRzCustomShellTree::SelectIdList(const ShellIdList& target) {
    if (busy_ > 0) return;
    TTreeNode* root = Items()->GetFirstNode();
    if (!root) return;
    selectNow_ = true;
    const bool expandLast = shellList_ && shellList_->Options().Contains(sloFilesOnlyWithTree);
    const ShellIdList base = baseFolder_->GetIdList();
    TTreeNode* node = root;
    Items()->BeginUpdate();
    try {
        // Only a place below the base folder has a node to walk to; anything else selects
        // the root rather than a look-alike path below it.
        if (target.Count() > base.Count() && target.StartsWith(base)) {
            root->Expand(false);
            for (int i = base.Count(); i < target.Count(); ++i) {
                TTreeNode* child = FindChildNode(node, target.Item(i));
                if (!child) {
                    // An item the enumeration left out (a hidden folder): add it on its own.
                    const ShellIdList parentList = GetItemData(node)->GetAbsoluteIdList();
                    const ShellIdList list = target.First(i + 1);
                    ShellItem item{list.Last(), GetShellDisplayName(list, ShellNameKind::InFolder), 0};
                    lastInserted_ = nullptr;
                    if (FAILED(GetShellAttributes(list, item.attributes)) || !AddItem(parentList, item, node)) {
                        MessageBeep(0xFFFFFFFF);
                        break;
                    }
                    child = lastInserted_;
                    SortChildren(node);
                }
                node = child;
                // With a list that shows files only, the tree shows the last folder's folders.
                if (i + 1 < target.Count() || expandLast) node->Expand(false);
            }
        }
    } catch (...) {
        Items()->EndUpdate();
        throw;
    }
    Items()->EndUpdate();
    SetSelected(node);
    node->MakeVisible();
}

void TRzCustomShellTree::GoUp(int levels) {
    TTreeNode* node = Selected();
    if (!node || !node->Parent()) return;
    for (int i = 0; i < levels && node->Parent(); ++i) node = node->Parent();
    selectNow_ = true;
    SetSelected(node);
}

void TRzCustomShellTree::Change(TTreeNode* node) {
    const TRzShellTreeData* data = GetItemData(node);
    if (busy_ > 0 || Loading()) {
        if (data) {
            Raise busy(busy_);
            selectedFolder_->SetIdList(data->GetAbsoluteIdList());
        }
        return;
    }
    TRzCustomTreeView::Change(node);
    if (!data) return;
    if (selectNow_ || !shellList_) {
        UpdateSelectedFolder(node);
        selectNow_ = false;
    } else {
        StartTimer(1, kSelectionDelay);
    }
}

void TRzCustomShellTree::UpdateSelectedFolder(const TTreeNode* node) {
    const TRzShellTreeData* data = GetItemData(node);
    if (!data) return;
    Raise busy(busy_);
    selectedFolder_->SetIdList(data->GetAbsoluteIdList());
    if (shellList_) shellList_->SetFolderFrom(selectedFolder_.get());
}

void TRzCustomShellTree::StartTimer(int tag, UINT interval) {
    timer_->SetEnabled(false);
    timerTag_ = tag;
    timer_->SetInterval(interval);
    timer_->SetEnabled(true);
}

void TRzCustomShellTree::TimerFired() {
    timer_->SetEnabled(false);
    const int tag = std::exchange(timerTag_, 0);
    if (tag == 1) UpdateSelectedFolder(CurrentNode());
    else if (tag == 2) Refresh();
}

void TRzCustomShellTree::FlushPendingSelection() {
    if (timer_->Enabled()) TimerFired();
}

void TRzCustomShellTree::SetShellList(TRzCustomShellList* list) {
    if (shellList_ == list) return;
    if (shellList_) {
        TRzCustomShellList* old = std::exchange(shellList_, nullptr);
        old->SetShellTree(nullptr);
        old->RemoveFreeNotification(this);
    }
    shellList_ = list;
    if (!list) return;
    list->FreeNotification(this);
    list->SetShellTree(this);
    if (Items()->Count() > 0) list->SetFolderFrom(selectedFolder_.get());
}

void TRzCustomShellTree::Notification(TComponent* component, TOperation operation) {
    TRzCustomTreeView::Notification(component, operation);
    if (operation == TOperation::opRemove && component == shellList_) shellList_ = nullptr;
}

void TRzCustomShellTree::SelectedFolderChanged() {
    if (busy_ > 0 || Loading()) return;
    if (Items()->Count() > 0) SelectIdList(selectedFolder_->GetIdList());
}

void TRzCustomShellTree::BaseFolderChanged() {
    if (Loading()) return;
    {
        Raise busy(busy_);
        selectedFolder_->Clear();
    }
    if (options_.Contains(stoAutoFill)) {
        selectNow_ = true;
        FillTree();
    }
}

// ---- refresh

void TRzCustomShellTree::Refresh() {
    if (Interacting()) {
        refreshPending_ = true;
        return;
    }
    if (Items()->Count() == 0) {
        FillTree();
        return;
    }
    DoFillStart();
    TTreeNode* remembered = Selected();
    {
        Raise busy(busy_);
        Items()->BeginUpdate();
        try {
            for (TTreeNode* top = Items()->GetFirstNode(); top; top = top->GetNextSibling()) Resync(top, remembered);
        } catch (...) {
            Items()->EndUpdate();
            throw;
        }
        Items()->EndUpdate();
    }
    refreshPending_ = false;
    // New volumes are watched and gone ones dropped.
    if (mountsChanged_ && watcher_) StartDriveWatch();
    if (remembered) {
        if (Selected() != remembered) {
            selectNow_ = true;
            SetSelected(remembered);
        } else if (const TRzShellTreeData* data = GetItemData(remembered)) {
            Raise busy(busy_);
            selectedFolder_->SetIdList(data->GetAbsoluteIdList());
        }
    }
    DoFillComplete();
}

void TRzCustomShellTree::Resync(TTreeNode* node, TTreeNode*& remembered) {
    const TRzShellTreeData* data = GetItemData(node);
    // A node that was never opened is read when it is; one that could not be reached is read
    // again when it opens.
    if (!data || (node->HasChildren() && node->Count() == 0) || IsNotReachableNode(node->GetFirstChild())) return;
    std::vector<ShellItem> items;
    if (FAILED(EnumShellFolder(data->GetAbsoluteIdList(), EnumFlags(), items))) return;
    // One pass each way over hashed item bytes: a folder of many thousand folders refreshes
    // in linear time.
    std::unordered_set<std::string_view> listed;
    listed.reserve(items.size());
    for (const ShellItem& item : items) listed.insert(item.id.Item(0));
    std::unordered_set<std::string_view> shown;
    for (TTreeNode* child = node->GetLastChild(); child;) {
        TTreeNode* previous = child->GetPrevSibling();
        const TRzShellTreeData* d = GetItemData(child);
        if (d && d->GetRelativeIdList().Count() == 1 && listed.contains(d->GetRelativeIdList().Item(0))) {
            shown.insert(d->GetRelativeIdList().Item(0));
        } else if (d) {
            if (remembered && (remembered == child || remembered->HasAsParent(child))) remembered = node;
            child->Delete();
        }
        child = previous;
    }
    bool added = false;
    const ShellIdList parentList = data->GetAbsoluteIdList();
    for (const ShellItem& item : items)
        if (!shown.contains(item.id.Item(0))) added |= AddItem(parentList, item, node);
    if (added) SortChildren(node);
    node->SetHasChildren(node->Count() > 0);
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) Resync(child, remembered);
}

// ---- the control

void TRzCustomShellTree::Delete(TTreeNode* node) {
    if (auto it = data_.find(node); it != data_.end()) {
        if (OnDeleteItem) OnDeleteItem(this, node, it->second.get());
        node->SetData(nullptr);
        data_.erase(it);
    }
    if (node == lastInserted_) lastInserted_ = nullptr;
    TRzCustomTreeView::Delete(node);
}

void TRzCustomShellTree::Loaded() {
    expandGuard_ = true;
    try {
        TRzCustomTreeView::Loaded();
    } catch (...) {
        expandGuard_ = false;
        throw;
    }
    expandGuard_ = false;
    if (options_.Contains(stoAutoFill) && Items()->Count() == 0) FillTree();
}

void TRzCustomShellTree::CreateWnd() {
    TRzCustomTreeView::CreateWnd();
    UpdateDropRegistration();
    if (!Loading() && options_.Contains(stoAutoFill) && Items()->Count() == 0)
        PostMessageW(WindowHandle(), kFillMessage, 0, 0);
    // A window made again over nodes it kept watches again (its watcher went with the old one).
    else if (Items()->Count() > 0 && !ComponentState().Contains(csDesigning))
        StartDriveWatch();
}

void TRzCustomShellTree::WndProc(TMessage& m) {
    if (m.Msg == WM_MENUSELECT && activeMenu_ && OnPopupHint) OnPopupHint(this, MenuSelectHint(*activeMenu_, m.WParam));
    if (m.Msg == kFillMessage) {
        if (Items()->Count() == 0) FillTree();
        return;
    }
    if (m.Msg == kShellChangeMessage && m.WParam == TChangeHandlerThread::kMountsChangedSlot) {
        // A volume came or went: "Computer" and the watch follow, whatever this tree did.
        mountsChanged_ = true;
        StartTimer(2, 400);
        return;
    }
    if (m.Msg == kShellChangeMessage) {
        if (ignoreNextChange_ || menuActive_) {
            ignoreNextChange_ = false;
            return;
        }
        StartTimer(2, Focused() ? 400 : 2000);
        return;
    }
    if (m.Msg == CN_NOTIFY && m.LParam && reinterpret_cast<const NMHDR*>(m.LParam)->code == NM_CLICK) selectNow_ = true;
    if (m.Msg == CN_NOTIFY && m.LParam && options_.Contains(stoOleDrag) && !ComponentState().Contains(csDesigning)) {
        const auto* nm = reinterpret_cast<const NMTREEVIEWW*>(m.LParam);
        if (nm->hdr.code == TVN_BEGINDRAGW || nm->hdr.code == TVN_BEGINRDRAGW) {
            DragNode(reinterpret_cast<TTreeNode*>(nm->itemNew.lParam));
            return;
        }
    }
    if (m.Msg == WM_CONTEXTMENU && options_.Contains(stoContextMenus) && !ComponentState().Contains(csDesigning)) {
        TPoint p(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(m.LParam))), static_cast<short>(HIWORD(static_cast<DWORD_PTR>(m.LParam))));
        const bool keyboard = p.x == -1 && p.y == -1;
        TTreeNode* node = nullptr;
        if (keyboard) {
            node = Selected();
            p = ClientToScreen(TPoint(0, 0));
        } else {
            const TPoint local = ScreenToClient(p);
            node = GetNodeAt(local.x, local.y);
        }
        if (node && ShowShellContextMenu(node, p)) {
            m.Result = 1;
            return;
        }
    }
    TRzCustomTreeView::WndProc(m);
}

// ---- verbs, menus and renaming

HRESULT TRzCustomShellTree::InvokeVerb(TTreeNode* node, const std::string& verb) {
    const TRzShellTreeData* data = GetItemData(node);
    if (!data || !node->Parent() || data->GetAbsoluteIdList().Empty()) return 1;
    const ShellIdList absolute = data->GetAbsoluteIdList();
    auto menu = GetShellContextMenu(absolute.Parent(), {absolute.Last()});
    if (!menu) throw Exception(SysErrorMessage(static_cast<DWORD>(E_INVALIDARG)));
    const HRESULT hr = InvokeContextCommand(WindowHandle(), *menu, verb);
    Refresh();
    return hr;
}

bool TRzCustomShellTree::ShowShellContextMenu(TTreeNode* node, TPoint screen) {
    const TRzShellTreeData* data = GetItemData(node);
    if (!data || data->GetAbsoluteIdList().Empty()) return false;
    const ShellIdList absolute = data->GetAbsoluteIdList();
    UINT flags = CMF_EXPLORE;
    if (!ReadOnly()) flags |= CMF_CANRENAME;
    TShellPopup popup;
    std::unique_ptr<IContextMenu> menu;
    try {
        menu = BuildContextMenu(absolute.Parent(), {absolute.Last()}, flags, kFirstShellCommand, popup);
    } catch (const Exception&) {
        return false;
    }
    if (!menu) return false;
    const UINT id = TrackShellContextMenu(popup, *menu, screen, Handle(), menuActive_, activeMenu_);
    if (id >= kFirstShellCommand) {
        const UINT offset = id - kFirstShellCommand;
        // Rename is label editing here: the command is known by its verb, not its place.
        if (ContextCommandVerb(*menu, offset) == "rename") {
            node->EditText();
        } else {
            InvokeContextCommand(WindowHandle(), *menu, offset);
            Refresh();
        }
    }
    if (refreshPending_) Refresh();
    return true;
}

bool TRzCustomShellTree::CreateNewFolder() {
    TTreeNode* node = CurrentNode();
    const AnsiString path = GetSelectedPath();
    if (!node || path.empty()) return false;
    ignoreNextChange_ = true;
    WideString name;
    if (!CreateNewShellFolder(WindowHandle(), path, name)) {
        ignoreNextChange_ = false;
        return false;
    }
    // The namespace reads the disk directly: the new folder is there at once.
    Refresh();
    if (node->HasChildren() && node->Count() == 0 && GetItemData(node)) FillNode(node);
    node->Expand(false);
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
        if (child->Text() != name) continue;
        SetSelected(child);
        if (!ReadOnly()) child->EditText();
        break;
    }
    return true;
}

bool TRzCustomShellTree::CanEdit(TTreeNode* node) {
    const TRzShellTreeData* data = GetItemData(node);
    if (data && (!data->CanRename() || ComponentState().Contains(csDesigning))) return false;
    return TRzCustomTreeView::CanEdit(node);
}

void TRzCustomShellTree::Edit(const TVITEMW& item) {
    RenameNode(item);
    // Refreshes asked for while the label was edited run now, whatever the edit's end was.
    if (refreshPending_) Refresh();
}

void TRzCustomShellTree::RenameNode(const TVITEMW& item) {
    TTreeNode* node = Items()->GetNode(item.hItem);
    TRzShellTreeData* data = GetItemData(node);
    if (!data || !data->Parent()) {
        TRzCustomTreeView::Edit(item);
        return;
    }
    if (!item.pszText) return;
    WideString text(item.pszText);
    while (!text.empty() && text.back() == u' ') text.pop_back();
    while (!text.empty() && text.front() == u' ') text.erase(text.begin());
    if (OnEdited) OnEdited(this, node, text);
    if (text == data->Item().name) return;
    ignoreNextChange_ = true;
    ShellIdList renamed;
    const ShellIdList parentList = data->Parent()->GetAbsoluteIdList();
    HRESULT hr = S_OK;
    {
        Raise busy(busy_);
        hr = SetShellItemName(parentList, data->GetRelativeIdList(), EditedShellName(data->GetRelativeIdList(), text), renamed);
        if (SUCCEEDED(hr)) {
            data->SetRelativeIdList(renamed, GetShellDisplayName(parentList + renamed, ShellNameKind::InFolder));
            for (TTreeNode* d = node->GetNext(); d && d->HasAsParent(node); d = d->GetNext())
                if (TRzShellTreeData* dd = GetItemData(d); dd && dd->Parent()) dd->Rebase(dd->Parent()->GetAbsoluteIdList());
            node->SetText(data->Item().name);
            if (Selected() == node || (Selected() && Selected()->HasAsParent(node))) {
                if (const TRzShellTreeData* sel = GetItemData(Selected())) selectedFolder_->SetIdList(sel->GetAbsoluteIdList());
                if (shellList_) shellList_->SetFolderFrom(selectedFolder_.get());
            }
            SortChildren(node->Parent());
        }
    }
    if (FAILED(hr)) {
        ignoreNextChange_ = false;
        // An unusable name is refused with its reason, never cut to fit.
        const WideString message = u"Unable to rename \"" + data->Item().name + u"\".\n\n" + SysErrorMessage(static_cast<DWORD>(hr));
        MessageBoxW(WindowHandle(), message.c_str(), u"Error", MB_OK | MB_ICONWARNING);
    }
}

void TRzCustomShellTree::DestroyWnd() {
    watcher_.reset();
    dragDrop_->SetAcceptDrops(false);
    timer_->SetEnabled(false);
    TRzCustomTreeView::DestroyWnd();
}

void TRzCustomShellTree::KeyDown(WORD& key, TShiftState shift) {
    TRzCustomTreeView::KeyDown(key, shift);
    if (key == 0 || IsEditing() || ComponentState().Contains(csDesigning) || !options_.Contains(stoDefaultKeyHandling)) return;
    TTreeNode* node = CurrentNode();
    switch (MatchShellKey(key, shift)) {
    case TRzShellKey::Delete: InvokeVerb(node, "delete"); break;
    case TRzShellKey::Copy: InvokeVerb(node, "copy"); break;
    case TRzShellKey::Cut: InvokeVerb(node, "cut"); break;
    case TRzShellKey::Paste: InvokeVerb(node, "paste"); break;
    case TRzShellKey::Refresh: Refresh(); break;
    case TRzShellKey::Rename:
        if (node) node->EditText();
        break;
    default: return;
    }
    key = 0;
}

// ---- classes

const TMetaClass& TRzCustomShellTree::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomShellTree>(
        "TRzCustomShellTree", &TRzCustomTreeView::StaticClass(), [](TClassBuilder<TRzCustomShellTree>& b) {
            using C = TRzCustomShellTree;
            b.Property("BaseFolder", &C::BaseFolder, &C::SetBaseFolder);
            b.Property("Options", &C::Options, &C::SetOptions).Default(kDefaultShellTreeOptions);
            b.Property("ShellList", &C::ShellList, &C::SetShellList);
            b.Event("OnAddItem", &C::OnAddItem);
            b.Event("OnInsertItem", &C::OnInsertItem);
            b.Event("OnDeleteItem", &C::OnDeleteItem);
            b.Event("OnFillStart", &C::OnFillStart);
            b.Event("OnFillComplete", &C::OnFillComplete);
            b.Event("OnPopupHint", &C::OnPopupHint);
        });
    return meta;
}

const TMetaClass& TRzShellTree::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzShellTree>(
        "TRzShellTree", &TRzCustomShellTree::StaticClass(), [](TClassBuilder<TRzShellTree>& b) { PublishFramedTreeView(b); });
    return meta;
}

void RegisterShellControls() {
    RegisterClasses({&TRzTreeView::StaticClass(), &TRzShellTree::StaticClass(), &TRzShellList::StaticClass()});
    RegisterShellDialogs();
}
