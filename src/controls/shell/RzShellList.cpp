#include "controls/shell/RzShellList.h"

#include <sys/stat.h>

#include <algorithm>
#include <unordered_map>

#include "controls/shell/RzShellColumnWidths.h"
#include "controls/shell/RzShellKeys.h"
#include "controls/shell/RzShellMenus.h"
#include "controls/shell/RzShellTree.h"
#include "platform/shell/ShellFileOps.h"
#include "platform/shell/menus/ShellProperties.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/WinString.h"

namespace {

constexpr UINT kFillMessage = WM_USER + 103;
constexpr const char16_t* kColumnNames[] = {u"Name", u"Size", u"Type", u"Modified"};

// The column widths of the last list that showed a folder, for the next one.
std::vector<int>& WidthStream() {
    static std::vector<int> widths;
    return widths;
}

// The stored widths as last read: while they stay the same, the width stream holds the newer.
std::vector<std::uint8_t>& KeptDirectoryCols() {
    static std::vector<std::uint8_t> value;
    return value;
}

class Raise {
public:
    explicit Raise(int& counter) : counter_(counter) { ++counter_; }
    ~Raise() { --counter_; }
    Raise(const Raise&) = delete;
    Raise& operator=(const Raise&) = delete;

private:
    int& counter_;
};

int CompareItems(LPARAM a, LPARAM b, LPARAM list) {
    const auto* l = reinterpret_cast<const TRzCustomShellList*>(list);
    TRzShellListData* da = reinterpret_cast<TRzShellListData*>(a);
    TRzShellListData* db = reinterpret_cast<TRzShellListData*>(b);
    if (!da || !db) return 0;
    const int column = l->SortColumn();
    const int r = CompareShellListData(*da, *db, std::abs(column) - 1);
    return column < 0 ? -r : r;
}

int Sign(std::int64_t v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

}  // namespace

bool IsBrowsableFolder(DWORD attributes, bool streamFolders) {
    if (!(attributes & SFGAO_FOLDER)) return false;
    return streamFolders || !(attributes & SFGAO_STREAM);
}

WideString ShellSizeText(std::uint64_t bytes, WideChar separator) {
    const std::uint64_t kb = bytes / 1024 + (bytes % 1024 ? 1 : 0);
    return FormatStrPos(u"%1KB", {ShellGroupedNumber(kb, separator)});
}

WideString ShellSizeText(std::uint64_t bytes) { return ShellSizeText(bytes, ShellThousandsSeparator()); }

// ---- item data

void TRzShellListData::ReadDetails() {
    if (detailsValid_) return;
    detailsValid_ = true;
    const std::string path = GetPath();
    type_ = GetShellTypeName(path, item_.attributes);
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return;
    isFile_ = !S_ISDIR(st.st_mode);
    size_ = isFile_ ? static_cast<std::uint64_t>(st.st_size) : 0;
    modified_ = st.st_mtime ? st.st_mtime : st.st_ctime;
}

std::uint64_t TRzShellListData::Size() {
    ReadDetails();
    return size_;
}

std::int64_t TRzShellListData::Modified() {
    ReadDetails();
    return modified_;
}

const WideString& TRzShellListData::TypeName() {
    ReadDetails();
    return type_;
}

WideString TRzShellListData::GetColumnText(int column) {
    ReadDetails();
    switch (column) {
    case 1: return isFile_ ? ShellSizeText(size_) : WideString();
    case 2: return type_;
    case 3: return modified_ ? ShellDateTimeText(modified_) : WideString();
    default: return {};
    }
}

void TRzShellListData::SetRelativeIdList(const ShellIdList& relative, const WideString& name) {
    absolute_ = absolute_.Parent() + relative;
    item_.id = relative;
    item_.name = name;
    detailsValid_ = false;
}

int CompareShellListData(TRzShellListData& a, TRzShellListData& b, int column) {
    if (a.PlaceRank() >= 0 || b.PlaceRank() >= 0) {
        if (a.PlaceRank() < 0 || b.PlaceRank() < 0) return a.PlaceRank() >= 0 ? -1 : 1;
        return a.PlaceRank() - b.PlaceRank();
    }
    const bool fa = a.GetAttributes() & SFGAO_FOLDER, fb = b.GetAttributes() & SFGAO_FOLDER;
    if (fa != fb) return fa ? -1 : 1;
    int r = 0;
    switch (column) {
    case 1: r = a.Size() < b.Size() ? -1 : a.Size() > b.Size() ? 1 : 0; break;
    case 2: r = CompareShellNames(a.TypeName(), b.TypeName()); break;
    case 3: r = Sign(a.Modified() - b.Modified()); break;
    default: break;
    }
    return r != 0 ? r : CompareShellItems(a.Item(), b.Item());
}

// ---- the list

TRzCustomShellList::TRzCustomShellList(TComponent* owner)
    : TRzCustomListView(owner),
      folder_(std::make_unique<TRzShellLocator>()),
      timer_(std::make_unique<TTimer>(nullptr)),
      dragDrop_(MakeDragDrop()) {
    folder_->OnChange = [this](TObject*) { FolderChanged(); };
    timer_->SetEnabled(false);
    timer_->OnTimer = [this](TObject*) { TimerFired(); };
    SetMultiSelect(true);
}

TRzCustomShellList::~TRzCustomShellList() {
    if (tree_) tree_->SetShellList(nullptr);
    watcher_.reset();
    dragDrop_->SetAcceptDrops(false);
    ClearItems();
}

TRzShellListData* TRzCustomShellList::GetDataFromItem(const TListItem* item) const {
    const auto it = data_.find(item);
    return it == data_.end() ? nullptr : it->second.get();
}

void TRzCustomShellList::SetFolderFrom(const TRzShellLocator* locator) { folder_->Assign(locator); }

void TRzCustomShellList::SetOptions(TRzShellListOptions options) {
    const bool watch = options.Contains(sloDynamicRefresh) && !options_.Contains(sloDynamicRefresh);
    const bool unwatch = !options.Contains(sloDynamicRefresh) && options_.Contains(sloDynamicRefresh);
    options_ = options;
    UpdateDropRegistration();
    if (unwatch && watcher_) watcher_->RemoveAllWatches();
    if (watch && Items()->Count() > 0) StartWatch();
}

void TRzCustomShellList::SetShellTree(TRzCustomShellTree* tree) {
    if (tree_ == tree) return;
    if (tree_) tree_->RemoveFreeNotification(this);
    tree_ = tree;
    if (tree_) tree_->FreeNotification(this);
}

void TRzCustomShellList::Notification(TComponent* component, TOperation operation) {
    TRzCustomListView::Notification(component, operation);
    if (operation == TOperation::opRemove && component == tree_) tree_ = nullptr;
}

void TRzCustomShellList::SetSortColumn(int column) {
    SetHeaderSortColumn(std::abs(column) - 1);
    SetHeaderSortDirection(column > 0 ? sdAscending : sdDescending);
    if (column == sortColumn_) return;
    sortColumn_ = column;
    SortItems();
}

void TRzCustomShellList::SortItems() {
    if (sortColumn_ != 0 && Items()->Count() > 1) CustomSort(CompareItems, reinterpret_cast<LPARAM>(this));
}

DWORD TRzCustomShellList::EnumFlags() const {
    DWORD flags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    if (options_.Contains(sloShowHidden)) flags |= SHCONTF_INCLUDEHIDDEN;
    return flags;
}

void TRzCustomShellList::FolderChanged() {
    if (ignore_ == 0) {
        Raise raise(ignore_);
        if (tree_) tree_->SetSelectedFolder(folder_.get());
        FillList();
    }
    if (OnFolderChanged) OnFolderChanged(this);
}

// ---- columns

void TRzCustomShellList::SetupColumns() {
    const int count = Columns()->Count();
    if (count > 0) {
        std::vector<int>& widths = WidthStream();
        widths.clear();
        for (int i = 0; i < count; ++i) widths.push_back(Column(i)->Width());
        return;
    }
    const std::vector<std::uint8_t> stored = ReadDirectoryCols();
    const std::vector<int> registry = DirectoryColsWidths(stored);
    const bool stream = !WidthStream().empty() && stored == KeptDirectoryCols();
    KeptDirectoryCols() = stored;
    const std::vector<int>& saved = stream ? WidthStream() : registry;
    for (int i = 0; i < 4; ++i) {
        TListColumn* c = Columns()->Add();
        c->SetCaption(kColumnNames[i]);
        c->SetWidth(i < static_cast<int>(saved.size()) ? saved[static_cast<std::size_t>(i)] : registry[static_cast<std::size_t>(i)]);
        if (i == 1) c->SetAlignment(taRightJustify);
    }
    StretchLastColumn();
    if (std::abs(sortColumn_) > Columns()->Count()) sortColumn_ = 1;
    SetHeaderSortColumn(std::abs(sortColumn_) - 1);
    SetHeaderSortDirection(sortColumn_ >= 0 ? sdAscending : sdDescending);
}

void TRzCustomShellList::SaveColumnWidths() {
    const std::vector<int>& widths = WidthStream();
    if (widths.size() < 4 || !RunTime()) return;
    const std::vector<std::uint8_t> stored = ReadDirectoryCols();
    if (std::equal(widths.begin(), widths.begin() + 4, DirectoryColsWidths(stored).begin())) return;
    if (WriteDirectoryCols(widths)) KeptDirectoryCols() = ReadDirectoryCols();
}

// ---- filling

bool TRzCustomShellList::AddItem(const ShellItem& item) {
    const DWORD a = item.attributes;
    if (!options_.Contains(sloVirtualFolders) && !(a & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))) return false;
    if (options_.Contains(sloFilesOnlyWithTree) && tree_ && IsBrowsableFolder(a, options_.Contains(sloStreamFolders)))
        return false;
    bool allow = true;
    if (OnAddItem) OnAddItem(this, shown_, item.id, a, allow);
    return allow;
}

void TRzCustomShellList::InsertItem(const ShellItem& item) {
    auto data = std::make_unique<TRzShellListData>(item, shown_ + item.id);
    // The desktop's and Computer's places keep the order they are listed in.
    if (GetShellPlace(data->GetAbsoluteIdList()) != ShellPlace::Entry) data->SetPlaceRank(Items()->Count());
    TListItem* li = Items()->Add();
    li->SetCaption(item.name);
    li->SetData(data.get());
    li->SetImageIndex(smallImages_.ItemIconIndex(data->GetAbsoluteIdList(), item.attributes, false));
    largeImages_.ItemIconIndex(data->GetAbsoluteIdList(), item.attributes, false);
    if (item.attributes & SFGAO_LINK) {
        smallImages_.UseLinkOverlay();
        largeImages_.UseLinkOverlay();
        li->SetOverlayIndex(1);
    }
    if (item.attributes & SFGAO_HIDDEN) li->SetCut(true);
    // Size, type and date are read when a row shows them.
    for (int sub = 1; sub <= 3; ++sub) {
        LVITEMW lv;
        lv.iSubItem = sub;
        lv.pszText = LPSTR_TEXTCALLBACKW;
        Perform(LVM_SETITEMTEXTW, static_cast<WPARAM>(li->Index()), reinterpret_cast<LPARAM>(&lv));
    }
    data_[li] = std::move(data);
    if (smallImages_.List() && SmallImages() != smallImages_.List()) SetSmallImages(smallImages_.List());
    if (largeImages_.List() && LargeImages() != largeImages_.List()) SetLargeImages(largeImages_.List());
}

void TRzCustomShellList::ClearItems() {
    dropItem_ = nullptr;
    Items()->BeginUpdate();
    for (int i = 0; i < Items()->Count(); ++i) {
        TListItem* item = Items()->Item(i);
        if (OnDeleteItem) OnDeleteItem(this, item, GetDataFromItem(item));
        item->SetData(nullptr);
    }
    Items()->Clear();
    Items()->EndUpdate();
    data_.clear();
}

void TRzCustomShellList::DeleteItem(TListItem* item) {
    if (item == dropItem_) dropItem_ = nullptr;
    auto it = data_.find(item);
    if (OnDeleteItem) OnDeleteItem(this, item, it == data_.end() ? nullptr : it->second.get());
    item->SetData(nullptr);
    if (it != data_.end()) data_.erase(it);
    item->Delete();
}

void TRzCustomShellList::FillList() {
    if (IsEditing() || menuActive_) {
        refreshPending_ = true;
        return;
    }
    refreshPending_ = false;
    if (OnFillStart) OnFillStart(this);
    struct Complete {
        TRzCustomShellList* list;
        ~Complete() {
            if (list->OnFillComplete) list->OnFillComplete(list);
        }
    } complete{this};
    ClearSelection();
    ClearItems();
    shown_ = folder_->GetIdList();
    SetupColumns();
    std::vector<ShellItem> items;
    // A folder that cannot be read shows nothing; the next fill tries again.
    if (SUCCEEDED(EnumShellFolder(shown_, EnumFlags(), items))) {
        Items()->BeginUpdate();
        for (const ShellItem& item : items)
            if (AddItem(item)) InsertItem(item);
        Items()->EndUpdate();
    }
    SortItems();
    if (Items()->Count() > 0) Items()->Item(0)->SetFocused(true);
    if (options_.Contains(sloDynamicRefresh) && RunTime()) StartWatch();
}

void TRzCustomShellList::StartWatch() {
    timer_->SetEnabled(false);
    if (!HandleAllocated()) return;
    if (!watcher_) watcher_ = std::make_unique<TChangeHandlerThread>(WindowHandle(), kShellChangeMessage);
    else watcher_->RemoveAllWatches();
    const AnsiString path = ShellIdListToPath(shown_);
    int slot = -1;
    // A place without a folder (Computer) is not watched.
    if (!path.empty()) watcher_->AddWatch(path, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME, slot, false);
}

void TRzCustomShellList::Resync() {
    if (IsEditing() || menuActive_) {
        refreshPending_ = true;
        return;
    }
    if (Items()->Count() == 0) {
        FillList();
        return;
    }
    std::vector<ShellItem> items;
    if (FAILED(EnumShellFolder(shown_, EnumFlags(), items))) return;
    // Items matched through their hashed bytes: a folder of many thousand entries refreshes in
    // linear time.
    std::unordered_map<std::string_view, std::size_t> listed;
    listed.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) listed.emplace(items[i].id.Item(0), i);
    std::vector<bool> shown(items.size(), false);
    Items()->BeginUpdate();
    for (int i = Items()->Count() - 1; i >= 0; --i) {
        TListItem* li = Items()->Item(i);
        const TRzShellListData* d = GetDataFromItem(li);
        if (!d) continue;
        const auto it = d->GetRelativeIdList().Count() == 1 ? listed.find(d->GetRelativeIdList().Item(0)) : listed.end();
        if (it == listed.end()) DeleteItem(li);
        else shown[it->second] = true;
    }
    bool added = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ShellItem& item = items[i];
        if (shown[i] || !AddItem(item)) continue;
        InsertItem(item);
        added = true;
    }
    Items()->EndUpdate();
    if (added) SortItems();
}

// ---- navigation

void TRzCustomShellList::OpenItem(TListItem* item) {
    FlushPending(true);
    TRzShellListData* data = GetDataFromItem(item);
    if (!data) {
        bool handled = false;
        if (OnDblClickOpen) OnDblClickOpen(this, handled);
        return;
    }
    // Links to folders are folders here (the namespace follows them): both open in place.
    if (IsBrowsableFolder(data->GetAttributes(), options_.Contains(sloStreamFolders))) {
        NavigateTo(data->GetAbsoluteIdList());
        return;
    }
    bool handled = false;
    if (OnDblClickOpen) OnDblClickOpen(this, handled);
    if (handled) return;
    if (auto menu = GetShellContextMenu(shown_, {data->GetRelativeIdList()})) InvokeContextCommand(WindowHandle(), *menu, "open");
}

void TRzCustomShellList::OpenSelection() {
    if (SelCount() < 2) {
        if (TListItem* item = Selected()) OpenItem(item);
        return;
    }
    bool handled = false;
    if (OnDblClickOpen) OnDblClickOpen(this, handled);
    if (handled) return;
    if (auto menu = GetShellContextMenu(shown_, SelectedItems())) InvokeContextCommand(WindowHandle(), *menu, "open");
}

void TRzCustomShellList::NavigateTo(const ShellIdList& absolute) {
    if (options_.Contains(sloNoNavigation)) return;
    // The list may belong to an item about to go.
    const ShellIdList target = absolute;
    ClearSelection();
    ClearItems();
    if (tree_) tree_->SelectedFolder()->SetIdList(target);
    else folder_->SetIdList(target);
}

void TRzCustomShellList::GoUp(int levels) {
    if (options_.Contains(sloNoNavigation)) return;
    if (tree_) {
        tree_->GoUp(levels);
        return;
    }
    const ShellIdList& list = folder_->GetIdList();
    if (list.Count() > 0) folder_->SetIdList(list.First(std::max(0, list.Count() - levels)));
}

void TRzCustomShellList::FlushPending(bool withTree) {
    if (withTree && tree_) tree_->FlushPendingSelection();
    if (timer_->Enabled()) TimerFired();
}

void TRzCustomShellList::TimerFired() {
    timer_->SetEnabled(false);
    {
        Raise raise(ignore_);
        FlushPending(true);
    }
    Resync();
}

// ---- verbs and menus

std::vector<ShellIdList> TRzCustomShellList::SelectedItems() const {
    std::vector<ShellIdList> items;
    for (int i = 0; i < Items()->Count(); ++i) {
        const TListItem* li = Items()->Item(i);
        if (!li->Selected()) continue;
        if (const TRzShellListData* d = GetDataFromItem(li)) items.push_back(d->GetRelativeIdList());
    }
    return items;
}

HRESULT TRzCustomShellList::InvokeVerbOnSelection(const std::string& verb) {
    const std::vector<ShellIdList> items = SelectedItems();
    if (items.empty()) return E_FAIL;
    auto menu = GetShellContextMenu(shown_, items);
    if (!menu) throw Exception(SysErrorMessage(static_cast<DWORD>(E_INVALIDARG)));
    return InvokeContextCommand(WindowHandle(), *menu, verb);
}

HRESULT TRzCustomShellList::InvokeVerbOnFolder(const std::string& verb) {
    if (shown_.Empty()) return E_FAIL;
    auto menu = GetShellContextMenu(shown_.Parent(), {shown_.Last()});
    if (!menu) throw Exception(SysErrorMessage(static_cast<DWORD>(E_INVALIDARG)));
    return InvokeContextCommand(WindowHandle(), *menu, verb);
}

bool TRzCustomShellList::ShowShellContextMenu(TPoint screen) {
    const std::vector<ShellIdList> items = SelectedItems();
    if (items.empty()) return false;
    const TRzShellListData* focused = GetDataFromItem(ItemFocused());
    UINT flags = CMF_EXPLORE;
    if (focused && !focused->GetPath().empty() && !ReadOnly()) flags |= CMF_CANRENAME;
    TShellPopup popup;
    std::unique_ptr<IContextMenu> menu = BuildContextMenu(shown_, items, flags, kFirstShellCommand, popup);
    if (!menu) return false;
    const UINT id = TrackShellContextMenu(popup, *menu, screen, Handle(), menuActive_, activeMenu_);
    if (id >= kFirstShellCommand) {
        const UINT offset = id - kFirstShellCommand;
        // Rename is label editing here: the command is known by its verb, not its place.
        if (ContextCommandVerb(*menu, offset) == "rename") {
            if (TListItem* item = ItemFocused()) item->EditCaption();
        } else {
            InvokeContextCommand(WindowHandle(), *menu, offset);
            Resync();
        }
    }
    if (refreshPending_) Resync();
    return true;
}

// ---- messages and keys

void TRzCustomShellList::ColumnClick(int column) {
    const int oneBased = column + 1;
    SetSortColumn(std::abs(sortColumn_) == oneBased ? -sortColumn_ : oneBased);
    if (OnColumnClick && column >= 0 && column < Columns()->Count()) OnColumnClick(this, Column(column));
}

void TRzCustomShellList::EndLabelEdit(TListItem* item, WideString text, LRESULT& result) {
    result = 0;
    TRzShellListData* data = GetDataFromItem(item);
    if (!data) return;
    while (!text.empty() && text.back() == u' ') text.pop_back();
    while (!text.empty() && text.front() == u' ') text.erase(text.begin());
    if (OnEdited) OnEdited(this, item, text);
    if (text == data->GetDisplayName()) return;
    ignoreNextChange_ = true;
    ShellIdList renamed;
    const HRESULT hr = SetShellItemName(shown_, data->GetRelativeIdList(), text, renamed);
    if (FAILED(hr)) {
        ignoreNextChange_ = false;
        const WideString message = u"Unable to rename \"" + data->GetDisplayName() + u"\".\n\n" + SysErrorMessage(static_cast<DWORD>(hr));
        MessageBoxW(WindowHandle(), message.c_str(), u"Error", MB_OK | MB_ICONWARNING);
        return;
    }
    data->SetRelativeIdList(renamed, GetShellDisplayName(shown_ + renamed, ShellNameKind::InFolder));
    item->SetCaption(data->GetDisplayName());
    SortItems();
    result = 0;  // the caption is set here, not by the view
}

bool TRzCustomShellList::HandleNotify(TMessage& m) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    switch (hdr->code) {
    case LVN_COLUMNCLICK:
        ColumnClick(reinterpret_cast<const NMLISTVIEW*>(m.LParam)->iSubItem);
        m.Result = 0;
        return true;
    case LVN_GETDISPINFOW: {
        auto* nm = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
        auto* data = reinterpret_cast<TRzShellListData*>(nm->item.lParam);
        if (!data || !(nm->item.mask & LVIF_TEXT) || !nm->item.pszText || nm->item.cchTextMax <= 0) return true;
        const WideString text = nm->item.iSubItem == 0 ? data->GetDisplayName() : data->GetColumnText(nm->item.iSubItem);
        const std::size_t n = std::min(text.size(), static_cast<std::size_t>(nm->item.cchTextMax - 1));
        std::copy_n(text.begin(), n, nm->item.pszText);
        nm->item.pszText[n] = 0;
        return true;
    }
    case LVN_BEGINLABELEDITW: {
        const auto* nm = reinterpret_cast<const NMLVDISPINFOW*>(m.LParam);
        const TListItem* item = nm->item.iItem >= 0 && nm->item.iItem < Items()->Count() ? Items()->Item(nm->item.iItem) : nullptr;
        const TRzShellListData* data = GetDataFromItem(item);
        if (data && (!data->CanRename() || !RunTime())) {
            m.Result = 1;
            return true;
        }
        return false;
    }
    case LVN_ENDLABELEDITW: {
        auto* nm = reinterpret_cast<NMLVDISPINFOW*>(m.LParam);
        TListItem* item = nm->item.iItem >= 0 && nm->item.iItem < Items()->Count() ? Items()->Item(nm->item.iItem) : nullptr;
        if (!GetDataFromItem(item)) return false;
        // The view's own handling ends the edit state; a cancelled edit stops there.
        WideString text = nm->item.pszText ? WideString(nm->item.pszText) : WideString();
        const bool cancelled = !nm->item.pszText;
        LPWSTR saved = nm->item.pszText;
        nm->item.pszText = nullptr;
        TRzCustomListView::WndProc(m);
        nm->item.pszText = saved;
        if (!cancelled) EndLabelEdit(item, std::move(text), m.Result);
        if (refreshPending_) Resync();
        return true;
    }
    default: return false;
    }
}

void TRzCustomShellList::WndProc(TMessage& m) {
    if (m.Msg == WM_MENUSELECT && activeMenu_ && OnPopupHint) OnPopupHint(this, MenuSelectHint(*activeMenu_, m.WParam));
    if (m.Msg == CN_NOTIFY && m.LParam && HandleNotify(m)) return;
    if (m.Msg == kShellChangeMessage) {
        if (ignoreNextChange_ || menuActive_) {
            ignoreNextChange_ = false;
            return;
        }
        timer_->SetEnabled(false);
        timer_->SetInterval(Focused() ? 400 : 2000);
        timer_->SetEnabled(true);
        return;
    }
    if (m.Msg == kFillMessage) {
        if (Items()->Count() == 0) FillList();
        return;
    }
    if (m.Msg == WM_CONTEXTMENU && options_.Contains(sloContextMenus) && RunTime()) {
        TPoint p(static_cast<short>(LOWORD(static_cast<DWORD_PTR>(m.LParam))), static_cast<short>(HIWORD(static_cast<DWORD_PTR>(m.LParam))));
        if (p.x == -1 && p.y == -1) p = ClientToScreen(TPoint(0, 0));
        if (ShowShellContextMenu(p)) {
            m.Result = 1;
            return;
        }
    }
    TRzCustomListView::WndProc(m);
}

void TRzCustomShellList::KeyDown(WORD& key, TShiftState shift) {
    TRzCustomListView::KeyDown(key, shift);
    if (key == 0 || IsEditing() || !RunTime() || !options_.Contains(sloDefaultKeyHandling)) return;
    switch (MatchShellKey(key, shift)) {
    case TRzShellKey::SelectAll: Items()->BeginUpdate(); SelectAll(); Items()->EndUpdate(); break;
    case TRzShellKey::Refresh: FillList(); break;
    case TRzShellKey::Copy: InvokeVerbOnSelection("copy"); break;
    case TRzShellKey::Cut: InvokeVerbOnSelection("cut"); break;
    case TRzShellKey::Paste: InvokeVerbOnFolder("paste"); Resync(); break;
    case TRzShellKey::Rename:
        if (TListItem* item = ItemFocused()) item->EditCaption();
        break;
    case TRzShellKey::Delete: InvokeVerbOnSelection("delete"); Resync(); break;
    default: return;
    }
    key = 0;
}

void TRzCustomShellList::KeyPress(WideChar& key) {
    TRzCustomListView::KeyPress(key);
    if (IsEditing() || !RunTime() || !options_.Contains(sloDefaultKeyHandling)) return;
    if (key == VK_BACK) {
        GoUp(1);
        key = 0;
    } else if (key == VK_RETURN) {
        OpenSelection();
        key = 0;
    }
}

void TRzCustomShellList::DblClick() {
    TRzCustomListView::DblClick();
    OpenSelection();
}

void TRzCustomShellList::CreateWnd() {
    TRzCustomListView::CreateWnd();
    UpdateDropRegistration();
    if (!Loading() && options_.Contains(sloAutoFill) && Items()->Count() == 0) PostMessageW(WindowHandle(), kFillMessage, 0, 0);
}

void TRzCustomShellList::DestroyWnd() {
    if (Columns()->Count() > 0) {
        SetupColumns();  // keeps the widths for the next list...
        SaveColumnWidths();  // ...and the next session
    }
    watcher_.reset();
    dragDrop_->SetAcceptDrops(false);
    timer_->SetEnabled(false);
    TRzCustomListView::DestroyWnd();
}

void TRzCustomShellList::Loaded() {
    TRzCustomListView::Loaded();
    if (options_.Contains(sloAutoFill) && Items()->Count() == 0 && HandleAllocated())
        PostMessageW(WindowHandle(), kFillMessage, 0, 0);
}

const TMetaClass& TRzCustomShellList::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomShellList>(
        "TRzCustomShellList", &TRzCustomListView::StaticClass(), [](TClassBuilder<TRzCustomShellList>& b) {
            using C = TRzCustomShellList;
            b.Property("Folder", &C::Folder, &C::SetFolder);
            b.Property("Options", &C::Options, &C::SetOptions).Default(kDefaultShellListOptions);
            b.Property("SortColumn", &C::SortColumn, &C::SetSortColumn).Default(1);
            b.Event("OnAddItem", &C::OnAddItem);
            b.Event("OnDblClickOpen", &C::OnDblClickOpen);
            b.Event("OnFolderChanged", &C::OnFolderChanged);
            b.Event("OnFillStart", &C::OnFillStart);
            b.Event("OnFillComplete", &C::OnFillComplete);
            b.Event("OnDeleteItem", &C::OnDeleteItem);
            b.Event("OnPopupHint", &C::OnPopupHint);
        });
    return meta;
}

const TMetaClass& TRzShellList::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TRzShellList>("TRzShellList", &TRzCustomShellList::StaticClass(), [](TClassBuilder<TRzShellList>&) {});
    return meta;
}
