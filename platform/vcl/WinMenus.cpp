#include "platform/vcl/WinMenus.h"

#include <algorithm>
#include <map>
#include <memory>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/WinError.h"

namespace {

struct Item {
    UINT type = MFT_STRING;
    UINT state = 0;
    UINT id = 0;
    HMENU subMenu = nullptr;
    WideString text;
    ULONG_PTR data = 0;
    HBITMAP bitmap = nullptr;
};

struct Menu {
    bool bar = false;
    std::vector<Item> items;
};

// Handles count up and are never reused, so a stale handle names nothing.
struct Table {
    std::map<std::uintptr_t, std::unique_ptr<Menu>> menus;
    std::uintptr_t next = 1;
    std::map<HWND, HMENU> bars;
};

// The table lives for the whole process: menus of forms that the application frees at exit
// go while statics of other units are being destroyed.
Table& Menus() {
    static Table* table = new Table;
    return *table;
}

Menu* Find(HMENU h) {
    auto& m = Menus().menus;
    const auto it = m.find(reinterpret_cast<std::uintptr_t>(h));
    if (it == m.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

HMENU Make(bool bar) {
    Table& t = Menus();
    const std::uintptr_t h = t.next++ << 4;
    t.menus[h] = std::make_unique<Menu>();
    t.menus[h]->bar = bar;
    return reinterpret_cast<HMENU>(h);
}

// The item by command (searched through sub-menus, as the system does) or by position; the
// menu that holds it comes back in owner.
Item* Locate(HMENU h, UINT item, bool byPosition, HMENU* owner = nullptr) {
    Menu* m = Find(h);
    if (!m) return nullptr;
    if (byPosition) {
        if (item >= m->items.size()) return nullptr;
        if (owner) *owner = h;
        return &m->items[item];
    }
    for (Item& it : m->items) {
        if (!it.subMenu && it.id == item) {
            if (owner) *owner = h;
            return &it;
        }
    }
    for (Item& it : m->items)
        if (it.subMenu)
            if (Item* found = Locate(it.subMenu, item, false, owner)) return found;
    return nullptr;
}

std::size_t IndexIn(HMENU h, const Item* item) {
    Menu* m = Find(h);
    return static_cast<std::size_t>(item - m->items.data());
}

Item ItemOfFlags(UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text) {
    Item it;
    it.type = flags & (MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP | MF_MENUBREAK | MF_MENUBARBREAK | MF_RIGHTJUSTIFY);
    it.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if (flags & MF_POPUP)
        it.subMenu = reinterpret_cast<HMENU>(idOrSubMenu);
    else
        it.id = static_cast<UINT>(idOrSubMenu);
    if (flags & (MF_OWNERDRAW | MF_BITMAP))
        it.data = reinterpret_cast<ULONG_PTR>(text);
    else if (text && !(flags & MF_SEPARATOR))
        it.text = text;
    return it;
}

void Apply(Item& it, const MENUITEMINFOW& info) {
    if (info.fMask & MIIM_TYPE) {
        it.type = info.fType;
        it.text = (info.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) || !info.dwTypeData ? WideString() : WideString(info.dwTypeData);
    }
    if (info.fMask & MIIM_FTYPE) it.type = info.fType;
    if (info.fMask & MIIM_STRING) it.text = info.dwTypeData ? WideString(info.dwTypeData) : WideString();
    if (info.fMask & MIIM_STATE) it.state = info.fState;
    if (info.fMask & MIIM_ID) it.id = info.wID;
    if (info.fMask & MIIM_SUBMENU) it.subMenu = info.hSubMenu;
    if (info.fMask & MIIM_DATA) it.data = info.dwItemData;
    if (info.fMask & MIIM_BITMAP) it.bitmap = info.hbmpItem;
}

void CopyText(const WideString& text, MENUITEMINFOW& info) {
    if (info.dwTypeData && info.cch > 0) {
        const std::size_t n = std::min<std::size_t>(text.size(), info.cch - 1);
        std::copy_n(text.data(), n, info.dwTypeData);
        info.dwTypeData[n] = 0;
    }
    info.cch = static_cast<UINT>(text.size());
}

BOOL InsertAt(HMENU h, UINT position, bool byPosition, Item item) {
    Menu* m = Find(h);
    if (!m) return FALSE;
    std::size_t at = m->items.size();
    if (byPosition) {
        at = std::min<std::size_t>(position, m->items.size());
    } else if (position != 0xFFFFFFFF) {
        HMENU owner = nullptr;
        if (Item* before = Locate(h, position, false, &owner)) {
            m = Find(owner);
            at = IndexIn(owner, before);
        }
    }
    m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    return TRUE;
}

BOOL Take(HMENU h, UINT position, UINT flags, bool destroy) {
    HMENU owner = nullptr;
    Item* it = Locate(h, position, (flags & MF_BYPOSITION) != 0, &owner);
    if (!it) return FALSE;
    const HMENU sub = it->subMenu;
    Menu* m = Find(owner);
    m->items.erase(m->items.begin() + static_cast<std::ptrdiff_t>(IndexIn(owner, it)));
    if (destroy && sub) DestroyMenu(sub);
    return TRUE;
}

void ShowBar(HWND window) {
    TWinControl* control = FindControl(window);
    if (!control || !control->Peer()) return;
    const auto& bars = Menus().bars;
    const auto it = bars.find(window);
    control->Peer()->SetMenuBar(it == bars.end() ? nullptr : it->second);
    // The client area moved below the bar.
    control->Realign();
}

}  // namespace

HMENU CreateMenu() { return Make(true); }
HMENU CreatePopupMenu() { return Make(false); }

BOOL DestroyMenu(HMENU menu) {
    Menu* m = Find(menu);
    if (!m) return FALSE;
    std::vector<HMENU> subs;
    for (const Item& it : m->items)
        if (it.subMenu) subs.push_back(it.subMenu);
    Menus().menus.erase(reinterpret_cast<std::uintptr_t>(menu));
    std::erase_if(Menus().bars, [menu](const auto& bar) { return bar.second == menu; });
    for (HMENU s : subs)
        if (Menus().menus.count(reinterpret_cast<std::uintptr_t>(s))) DestroyMenu(s);
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return Menus().menus.count(reinterpret_cast<std::uintptr_t>(menu)) ? TRUE : FALSE; }

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text) {
    return InsertAt(menu, 0xFFFFFFFF, true, ItemOfFlags(flags, idOrSubMenu, text));
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text) {
    return InsertAt(menu, position, (flags & MF_BYPOSITION) != 0, ItemOfFlags(flags, idOrSubMenu, text));
}

BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Item it;
    Apply(it, *info);
    return InsertAt(menu, item, byPosition != FALSE, std::move(it));
}

BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOW* info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const Item* it = Locate(menu, item, byPosition != FALSE);
    if (!it) {
        if (IsMenu(menu)) SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it->type;
    if (info->fMask & (MIIM_TYPE | MIIM_STRING)) {
        if ((info->fMask & MIIM_TYPE) && (it->type & (MFT_OWNERDRAW | MFT_BITMAP)))
            info->dwTypeData = reinterpret_cast<LPWSTR>(it->data);
        else
            CopyText(it->text, *info);
    }
    if (info->fMask & MIIM_STATE) info->fState = it->state;
    if (info->fMask & MIIM_ID) info->wID = it->id;
    if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it->subMenu;
    if (info->fMask & MIIM_DATA) info->dwItemData = it->data;
    if (info->fMask & MIIM_BITMAP) info->hbmpItem = it->bitmap;
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Item* it = Locate(menu, item, byPosition != FALSE);
    if (!it) {
        if (IsMenu(menu)) SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    Apply(*it, *info);
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    const Menu* m = Find(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    const Item* it = position < 0 ? nullptr : Locate(menu, static_cast<UINT>(position), true);
    return it && !it->subMenu ? it->id : 0xFFFFFFFF;
}

HMENU GetSubMenu(HMENU menu, int position) {
    const Item* it = position < 0 ? nullptr : Locate(menu, static_cast<UINT>(position), true);
    return it ? it->subMenu : nullptr;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int maxCount, UINT flags) {
    const Item* it = Locate(menu, item, (flags & MF_BYPOSITION) != 0);
    if (!it) return 0;
    MENUITEMINFOW info;
    info.dwTypeData = text;
    info.cch = maxCount > 0 ? static_cast<UINT>(maxCount) : 0;
    CopyText(it->text, info);
    return text && maxCount > 0 ? static_cast<int>(std::min<std::size_t>(it->text.size(), static_cast<std::size_t>(maxCount - 1)))
                                : static_cast<int>(it->text.size());
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    const Item* it = Locate(menu, item, (flags & MF_BYPOSITION) != 0);
    if (!it) return 0xFFFFFFFF;
    UINT state = it->type | it->state;
    if (it->subMenu) state |= MF_POPUP | (static_cast<UINT>(GetMenuItemCount(it->subMenu)) << 8);
    return state;
}

DWORD EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    Item* it = Locate(menu, item, (enable & MF_BYPOSITION) != 0);
    if (!it) return 0xFFFFFFFF;
    const DWORD old = it->state & (MF_GRAYED | MF_DISABLED);
    it->state = (it->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return old;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    Item* it = Locate(menu, item, (check & MF_BYPOSITION) != 0);
    if (!it) return 0xFFFFFFFF;
    const DWORD old = it->state & MF_CHECKED;
    it->state = (it->state & ~MF_CHECKED) | (check & MF_CHECKED);
    return old;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return Take(menu, position, flags, true); }
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return Take(menu, position, flags, false); }

BOOL SetMenu(HWND window, HMENU menu) {
    if (!IsWindow(window) || (menu && !IsMenu(menu))) {
        SetLastError(menu && !IsMenu(menu) ? ERROR_INVALID_HANDLE : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (menu)
        Menus().bars[window] = menu;
    else
        Menus().bars.erase(window);
    ShowBar(window);
    return TRUE;
}

HMENU GetMenu(HWND window) {
    const auto& bars = Menus().bars;
    const auto it = bars.find(window);
    return it == bars.end() ? nullptr : it->second;
}

BOOL DrawMenuBar(HWND window) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    ShowBar(window);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS*) {
    if (!IsMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const bool notify = !(flags & TPM_NONOTIFY);
    if (notify) {
        SendMessageW(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    }
    TModalRequest request;
    request.What = TModalRequest::PopupMenu;
    request.Menu = menu;
    request.Pos = TPoint(x, y);
    const int answer = AskModalHook(request);
    UINT chosen = 0;
    if (answer > 0)
        chosen = static_cast<UINT>(answer);
    else if (answer == 0)
        chosen = WidgetSet().TrackPopupMenu(menu, flags, TPoint(x, y), owner);
    if (notify) SendMessageW(owner, WM_EXITMENULOOP, TRUE, 0);
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen == 0) return FALSE;
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<int>(chosen & 0xFFFF), 0), 0);
    return TRUE;
}

std::vector<TMenuItemRecord> MenuItemRecords(HMENU menu) {
    std::vector<TMenuItemRecord> records;
    if (const Menu* m = Find(menu))
        for (const Item& it : m->items) records.push_back({it.type, it.state, it.id, it.subMenu, it.text, it.data, it.bitmap});
    return records;
}
