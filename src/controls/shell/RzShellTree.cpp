#include "controls/shell/RzShellTree.h"

#include <algorithm>

#include "controls/shell/RzShellDialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/WinUser.h"

namespace {

// Posted to itself when the window is made: the tree fills once creation has finished.
constexpr UINT kFillMessage = WM_USER + 103;
constexpr WORD kRefreshKey = VK_F1 + 4;  // F5

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
      selectedFolder_(std::make_unique<TRzShellLocator>()) {
    baseFolder_->OnChange = [this](TObject*) { BaseFolderChanged(); };
    selectedFolder_->OnChange = [this](TObject*) { SelectedFolderChanged(); };
    SetShowRoot(false);
    SetWidth(150);
    SetHeight(150);
}

TRzCustomShellTree::~TRzCustomShellTree() {
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

void TRzCustomShellTree::SetSelectedFolder(const TRzShellLocator* locator) {
    if (Loading() || busy_ > 0) return;
    selectedFolder_->Assign(locator);
}

void TRzCustomShellTree::SetSelectedPath(const AnsiString& path) {
    if (busy_ > 0) return;
    selectedFolder_->SetPath(path);
}

void TRzCustomShellTree::SetBaseFolder(const TRzShellLocator* locator) {
    if (!Loading()) baseFolder_->Assign(locator);
}

void TRzCustomShellTree::SetOptions(TRzShellTreeOptions options) { options_ = options; }

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
    // again (a slow mount, a permission granted later).
    if (FAILED(EnumShellFolder(data->GetAbsoluteIdList(), EnumFlags(), items))) return;
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
    if (node && node->HasChildren() && node->Count() == 0 && GetItemData(node)) FillNode(node);
    return true;
}

void TRzCustomShellTree::FillTree() {
    {
        Raise busy(busy_);
        SetSelected(nullptr);
        Items()->Clear();
    }
    FillNode(nullptr);
    const ShellIdList target = selectedFolder_->GetIdList();
    if (!target.Empty()) SelectIdList(target);
    else if (TTreeNode* first = Items()->GetFirstNode()) SetSelected(first);
}

int TRzCustomShellTree::IconIndex(ShellIcon icon) {
    constexpr int kSize = 16;
    if (const auto it = iconIndex_.find(icon); it != iconIndex_.end()) return it->second;
    std::vector<std::uint32_t> pixels = ShellIconPixels(icon, kSize);
    int index = -1;
    if (!pixels.empty()) {
        if (!icons_) {
            icons_ = std::make_unique<TImageList>(nullptr);
            icons_->SetSize(kSize, kSize);
            SetImages(icons_.get());
        }
        index = icons_->AddPixels(std::move(pixels));
    }
    iconIndex_[icon] = index;
    return index;
}

void TRzCustomShellTree::SetNodeImages(TTreeNode* node, const TRzShellTreeData& data) {
    const ShellIdList& list = data.GetAbsoluteIdList();
    node->SetImageIndex(IconIndex(GetShellIcon(list, data.Attributes(), false)));
    node->SetSelectedIndex(IconIndex(GetShellIcon(list, data.Attributes(), true)));
    // Overlay 1 of the images is the link emblem.
    if ((data.Attributes() & SFGAO_LINK) && icons_ && icons_->OverlayImage(1) < 0) {
        if (const int link = IconIndex(ShellIcon::LinkOverlay); link >= 0) icons_->Overlay(link, 1);
    }
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
                if (i + 1 < target.Count()) node->Expand(false);
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
    if (data) {
        Raise busy(busy_);
        selectedFolder_->SetIdList(data->GetAbsoluteIdList());
    }
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
    if (options_.Contains(stoAutoFill)) FillTree();
}

// ---- refresh

void TRzCustomShellTree::Refresh() {
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
    if (remembered) {
        if (Selected() != remembered) {
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
    // A node that was never opened is read when it is.
    if (!data || (node->HasChildren() && node->Count() == 0)) return;
    std::vector<ShellItem> items;
    if (FAILED(EnumShellFolder(data->GetAbsoluteIdList(), EnumFlags(), items))) return;
    for (TTreeNode* child = node->GetLastChild(); child;) {
        TTreeNode* previous = child->GetPrevSibling();
        const TRzShellTreeData* d = GetItemData(child);
        const bool present = !d || std::any_of(items.begin(), items.end(), [&](const ShellItem& i) {
            return i.id == d->GetRelativeIdList();
        });
        if (!present) {
            if (remembered && (remembered == child || remembered->HasAsParent(child))) remembered = node;
            child->Delete();
        }
        child = previous;
    }
    bool added = false;
    const ShellIdList parentList = data->GetAbsoluteIdList();
    for (const ShellItem& item : items)
        if (!FindChildNode(node, item.id.Item(0))) added |= AddItem(parentList, item, node);
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
    if (!Loading() && options_.Contains(stoAutoFill) && Items()->Count() == 0)
        PostMessageW(WindowHandle(), kFillMessage, 0, 0);
}

void TRzCustomShellTree::WndProc(TMessage& m) {
    if (m.Msg == kFillMessage) {
        if (Items()->Count() == 0) FillTree();
        return;
    }
    TRzCustomTreeView::WndProc(m);
}

void TRzCustomShellTree::KeyDown(WORD& key, TShiftState shift) {
    TRzCustomTreeView::KeyDown(key, shift);
    if (IsEditing() || ComponentState().Contains(csDesigning) || !options_.Contains(stoDefaultKeyHandling)) return;
    if (key == kRefreshKey && shift.Empty()) {
        Refresh();
        key = 0;
    }
}

// ---- classes

const TMetaClass& TRzCustomShellTree::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomShellTree>(
        "TRzCustomShellTree", &TRzCustomTreeView::StaticClass(), [](TClassBuilder<TRzCustomShellTree>& b) {
            using C = TRzCustomShellTree;
            b.Property("BaseFolder", &C::BaseFolder, &C::SetBaseFolder);
            b.Property("Options", &C::Options, &C::SetOptions).Default(kDefaultShellTreeOptions);
            b.Event("OnAddItem", &C::OnAddItem);
            b.Event("OnInsertItem", &C::OnInsertItem);
            b.Event("OnDeleteItem", &C::OnDeleteItem);
            b.Event("OnFillStart", &C::OnFillStart);
            b.Event("OnFillComplete", &C::OnFillComplete);
        });
    return meta;
}

const TMetaClass& TRzShellTree::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzShellTree>(
        "TRzShellTree", &TRzCustomShellTree::StaticClass(), [](TClassBuilder<TRzShellTree>& b) { PublishFramedTreeView(b); });
    return meta;
}

void RegisterShellControls() {
    RegisterClasses({&TRzShellTree::StaticClass()});
    RegisterShellDialogs();
}
