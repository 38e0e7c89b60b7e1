#include "platform/vcl/Menus.h"

#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/StdCtrls.h"

void RegisterMenuClasses() {
    RegisterClasses({&TMenuItem::StaticClass(), &TMainMenu::StaticClass(), &TPopupMenu::StaticClass()});
}

namespace {

// How a control shows its popup menu: installed with the first popup menu.
void InstallPopupHandler() {
    SetPopupMenuHandler([](TControl& control, TComponent* menu, TPoint screenPos) {
        auto* popup = dynamic_cast<TPopupMenu*>(menu);
        // A right click shows the control's own menu only with AutoPopup; other menus (a tool
        // button's drop-down) always show.
        if (!popup || (menu == control.PopupMenu() && !popup->AutoPopup())) return;
        popup->SetPopupComponent(&control);
        popup->Popup(screenPos.x, screenPos.y);
    });
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TMenu

const TMetaClass& TMenu::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TMenu>("TMenu", &TComponent::StaticClass(), [](TClassBuilder<TMenu>& b) {
        b.Property("AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys).Default(maManual);
        b.Property("Images", &TMenu::Images, &TMenu::SetImages);
        b.Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false);
    });
    return meta;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
    Destroying();
    items_.reset();
    if (handle_) DestroyMenu(handle_);
}

HMENU TMenu::Handle() {
    if (!handle_) {
        handle_ = CreateMenuHandle();
        items_->handle_ = handle_;
        items_->RebuildHandle();
    }
    return handle_;
}

void TMenu::SetWindowHandle(HWND window) { window_ = window; }

void TMenu::SetImages(TCustomImageList* images) {
    if (images == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images) images->FreeNotification(this);
    items_->RebuildAll();
}

void TMenu::SetOwnerDraw(bool v) {
    if (v == ownerDraw_) return;
    ownerDraw_ = v;
    items_->RebuildAll();
}

TMenuItem* TMenu::FindItem(UINT value, TFindItemKind kind) {
    if (kind == fkHandle && handle_ && reinterpret_cast<UINT_PTR>(handle_) == value) return items_.get();
    return items_->FindItem(value, kind);
}

bool TMenu::DispatchCommand(WORD command) {
    TMenuItem* item = FindItem(command, fkCommand);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU menu) {
    TMenuItem* item = FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(menu)), fkHandle);
    if (!item) return false;
    item->InitiateActions();
    if (item != items_.get()) item->Click();
    return true;
}

bool TMenu::IsShortCut(TWMKey& message) {
    const TShortCut shortCut = ShortCutFromMessage(message);
    if (shortCut == scNone) return false;
    TMenuItem* item = FindItem(shortCut, fkShortCut);
    if (!item) return false;
    // The sub-menus on the way update as if they were opened.
    std::vector<TMenuItem*> chain;
    for (TMenuItem* p = item->Parent(); p && p != items_.get(); p = p->Parent()) chain.push_back(p);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->InitiateActions();
        (*it)->Click();
    }
    item->InitiateAction();
    if (item->Enabled()) item->Click();
    return true;
}

void TMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    if (OnChange) OnChange(this, source, rebuild);
}

void TMenu::Loaded() {
    TComponent::Loaded();
    items_->RebuildAll();
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) const { items_->GetChildren(proc, root); }

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        if (!ComponentState().Contains(csDestroying)) items_->RebuildAll();
    }
}

// ---------------------------------------------------------------------------------------------
// TMainMenu

const TMetaClass& TMainMenu::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TMainMenu>("TMainMenu", &TMenu::StaticClass());
    return meta;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

void TMainMenu::SetWindowHandle(HWND window) {
    if (WindowHandle() && WindowHandle() != window && GetMenu(WindowHandle()) == Handle()) ::SetMenu(WindowHandle(), nullptr);
    TMenu::SetWindowHandle(window);
    if (window) ::SetMenu(window, Handle());
}

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    if (WindowHandle() && IsWindow(WindowHandle())) DrawMenuBar(WindowHandle());
    TMenu::MenuChanged(source, rebuild);
}

// ---------------------------------------------------------------------------------------------
// TPopupMenu

const TMetaClass& TPopupMenu::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TPopupMenu>("TPopupMenu", &TMenu::StaticClass(), [](TClassBuilder<TPopupMenu>& b) {
        b.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
        b.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
        b.Property("TrackButton", &TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton).Default(tbRightButton);
        b.Event("OnPopup", &TPopupMenu::OnPopup);
    });
    return meta;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {
    static const bool installed = (InstallPopupHandler(), true);
    (void)installed;
    PopupList->Add(this);
}

TPopupMenu::~TPopupMenu() {
    Destroying();
    PopupList->Remove(this);
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
    if (component == popupComponent_) return;
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = component;
    if (component) component->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::DoPopup(TObject* sender) {
    if (OnPopup) OnPopup(sender);
}

void TPopupMenu::Popup(int x, int y) {
    popupPoint_ = TPoint(x, y);
    DoPopup(this);
    Items()->InitiateActions();
    const UINT align = alignment_ == paRight ? TPM_RIGHTALIGN : alignment_ == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    const UINT button = trackButton_ == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON;
    TrackPopupMenu(Handle(), align | button, x, y, 0, PopupList->Window(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// TPopupList

TPopupList::TPopupList() {
    window_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TPopupList::~TPopupList() { DeallocateHWnd(window_); }

void TPopupList::Add(TPopupMenu* menu) { menus_.push_back(menu); }
void TPopupList::Remove(TPopupMenu* menu) { std::erase(menus_, menu); }

void TPopupList::WndProc(TMessage& m) {
    try {
        for (TPopupMenu* menu : std::vector<TPopupMenu*>(menus_))
            if (DispatchMenuMessage(menu, m)) return;
    } catch (...) {
        if (Application) Application->HandleException(nullptr);
    }
}

// The popup list lives for the whole process, as the menus that leave it at exit may.
TPopupList* TPopupListRef::operator->() const {
    static TPopupList* list = new TPopupList;
    return list;
}

TPopupListRef::operator TPopupList*() const { return operator->(); }

// ---------------------------------------------------------------------------------------------

namespace {

TMenuItem* ItemOfDrawing(TMenu* menu, UINT itemID) { return menu->FindItem(itemID, fkCommand); }

WideString LongHint(const WideString& hint) {
    const auto bar = hint.find(u'|');
    return bar == WideString::npos ? hint : hint.substr(bar + 1);
}

}  // namespace

bool DispatchMenuMessage(TMenu* menu, TMessage& m) {
    if (!menu) return false;
    switch (m.Msg) {
    case WM_COMMAND:
        if (m.LParam != 0 || HIWORD(m.WParam) > 1) return false;
        return menu->DispatchCommand(LOWORD(m.WParam));
    case WM_INITMENUPOPUP:
        return menu->DispatchPopup(reinterpret_cast<HMENU>(m.WParam));
    case WM_MENUSELECT: {
        const auto hmenu = reinterpret_cast<HMENU>(m.LParam);
        const WORD flags = HIWORD(m.WParam);
        if (flags == 0xFFFF && !hmenu) {
            // The menu closed: its hint goes; other menus hear it as well.
            if (Application) Application->SetHint(WideString());
            return false;
        }
        TMenuItem* item = nullptr;
        if (flags & MF_POPUP) {
            if (HMENU sub = GetSubMenu(hmenu, LOWORD(m.WParam))) item = menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub)), fkHandle);
        } else {
            item = menu->FindItem(LOWORD(m.WParam), fkCommand);
        }
        if (!item && menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(hmenu)), fkHandle) == nullptr) return false;
        if (Application) Application->SetHint(item ? LongHint(item->Hint()) : WideString());
        return true;
    }
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (!mi || mi->CtlType != ODT_MENU) return false;
        TMenuItem* item = ItemOfDrawing(menu, mi->itemID);
        if (!item) return false;
        HDC screen = GetDC(nullptr);
        TCanvas canvas;
        canvas.SetHandle(screen);
        int width = static_cast<int>(mi->itemWidth), height = static_cast<int>(mi->itemHeight);
        try {
            item->MeasureItem(&canvas, width, height);
        } catch (...) {
            canvas.SetHandle(nullptr);
            ReleaseDC(nullptr, screen);
            throw;
        }
        canvas.SetHandle(nullptr);
        ReleaseDC(nullptr, screen);
        mi->itemWidth = static_cast<UINT>(std::max(width, 0));
        mi->itemHeight = static_cast<UINT>(std::max(height, 0));
        m.Result = 1;
        return true;
    }
    case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (!di || di->CtlType != ODT_MENU) return false;
        TMenuItem* item = ItemOfDrawing(menu, di->itemID);
        if (!item) return false;
        TCanvas canvas;
        canvas.SetHandle(di->hDC);
        const int saved = SaveDC(di->hDC);
        try {
            item->DrawItem(&canvas, TRect(di->rcItem.left, di->rcItem.top, di->rcItem.right, di->rcItem.bottom),
                           (di->itemState & ODS_SELECTED) != 0);
        } catch (...) {
            canvas.SetHandle(nullptr);
            RestoreDC(di->hDC, saved);
            throw;
        }
        canvas.SetHandle(nullptr);
        RestoreDC(di->hDC, saved);
        m.Result = 1;
        return true;
    }
    case WM_MENUCHAR: {
        TMenuItem* parent = menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(reinterpret_cast<HMENU>(m.LParam))), fkHandle);
        if (!parent) return false;
        const WideChar key = WideUpperCase(WideString(1, static_cast<WideChar>(LOWORD(m.WParam))))[0];
        int position = 0, found = -1, matches = 0;
        for (int i = 0; i < parent->Count(); ++i) {
            const TMenuItem* item = parent->Items(i);
            if (!item->Visible()) continue;
            if (WideUpperCase(WideString(1, GetHotkey(item->Caption())))[0] == key) {
                if (found < 0) found = position;
                ++matches;
            }
            ++position;
        }
        m.Result = found < 0 ? 0 : static_cast<LRESULT>(MAKELONG(static_cast<WORD>(found), matches == 1 ? MNC_EXECUTE : MNC_SELECT));
        return true;
    }
    default: return false;
    }
}
