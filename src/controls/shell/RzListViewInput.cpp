// The framed list view's frame and colours, its notifications, context menus, info tips and
// wheel.
#include <algorithm>

#include "controls/shell/RzListView.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/WinUser.h"

namespace {

constexpr UINT kStateChecked = 0x2000, kStateUnchecked = 0x1000;
constexpr UINT WM_REFRESHHEADER = WM_USER + 100;

}  // namespace

// ---- frame and colours

void TRzCustomListView::UpdateColors() {
    if (ComponentState().Contains(csLoading)) return;
    frame_.ApplyStateColor(*this, Enabled(), Focused());
}

void TRzCustomListView::SendBackgroundColors() {
    if (!HandleAllocated()) return;
    const COLORREF rgb = ColorToRGB(Color());
    Perform(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(rgb));
    Perform(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(rgb));
}

void TRzCustomListView::ColorChanged() {
    SendBackgroundColors();
    frame_.ColorChanged(Color());
    if (frame_.visible && !UseThemes()) RepaintFrame();
}

void TRzCustomListView::UpdateFrame(bool viaMouse, bool active) {
    if (viaMouse) frame_.overControl = active;
    if (frame_.hotTrack) RepaintFrame();
    UpdateColors();
}

void TRzCustomListView::RepaintFrame() {
    if (ComponentState().Contains(csLoading) || !HandleAllocated()) return;
    RedrawNonClientFrame(WindowHandle(), TRect(0, 0, Width(), Height()));
}

void TRzCustomListView::PaintFrame(TCanvas& canvas, int width, int height) const {
    frame_.Paint(canvas, width, height, Color(), Focused());
}

void TRzCustomListView::SetDisabledColor(TColor v) {
    frame_.disabledColor = v;
    if (!Enabled()) UpdateColors();
}

void TRzCustomListView::SetFocusColor(TColor v) {
    frame_.focusColor = v;
    if (Focused()) UpdateColors();
}

void TRzCustomListView::SetFrameController(TRzFrameController* v) {
    settingController_ = true;
    try {
        LinkFrameController(*this, frame_.controller, v);
    } catch (...) {
        settingController_ = false;
        throw;
    }
    settingController_ = false;
}

void TRzCustomListView::SetFrameHotTrack(bool v) {
    if (frame_.hotTrack == v) return;
    frame_.hotTrack = v;
    if (v) {
        SetFrameVisible(true);
        if (!ComponentState().Contains(csLoading)) frame_.sides = sdAllSides;
    }
    RepaintFrame();
    Invalidate();
}

void TRzCustomListView::SetFrameVisible(bool v) {
    if (frame_.visible == v) return;
    frame_.visible = v;
    if (!settingController_ && HandleAllocated()) RecreateWnd();
}

void TRzCustomListView::SetFramingPreference(TFramingPreference v) {
    if (frame_.framingPreference == v) return;
    frame_.framingPreference = v;
    if (v == fpCustomFraming) RepaintFrame();
}

void TRzCustomListView::CreateWnd() {
    TCustomListView::CreateWnd();
    SendBackgroundColors();
    FormatHeader();
    PostMessageW(WindowHandle(), WM_REFRESHHEADER, 0, 0);
}

void TRzCustomListView::Notification(TComponent* component, TOperation operation) {
    TCustomListView::Notification(component, operation);
    if (operation == TOperation::opRemove && component == frame_.controller) frame_.controller = nullptr;
}

void TRzCustomListView::DefineProperties(TFiler* filer) {
    TCustomListView::DefineProperties(filer);
    frame_.DefineRetired(*filer);
}

// ---- context menus

void TRzCustomListView::ItemContextMenu(TPoint pos) {
    TPopupMenu* menu = dynamic_cast<TPopupMenu*>(PopupMenu());
    if (OnItemContextMenu) OnItemContextMenu(this, ItemFocused(), pos, menu);
    menuHandled_ = true;
    if (!menu) return;
    menu->SetPopupComponent(this);
    SetCaptureControl(nullptr);
    const TPoint screen = ClientToScreen(pos);
    menu->Popup(screen.x, screen.y);
}

void TRzCustomListView::ListPopup(TPoint pos) {
    bool handled = false;
    if (OnContextPopup) OnContextPopup(this, pos, handled);
    if (!handled) {
        auto* menu = dynamic_cast<TPopupMenu*>(PopupMenu());
        if (menu && menu->AutoPopup()) {
            menu->SetPopupComponent(this);
            const TPoint screen = ClientToScreen(pos);
            menu->Popup(screen.x, screen.y);
        }
    }
    menuHandled_ = true;
}

namespace {
TPoint IconCentre(const TRect& r) { return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
}  // namespace

void TRzCustomListView::ContextMenuAt(TPoint pos) {
    if (rightClicked_) {
        ItemContextMenu(pos);
        return;
    }
    TListItem* focused = ItemFocused();
    if (!focused) {
        ListPopup(pos);
        return;
    }
    if (ItemState(focused->Index(), LVIS_FOCUSED) & LVIS_FOCUSED) {
        ItemContextMenu(IconCentre(ItemRect(focused->Index(), 0, drIcon)));
    } else if (TListItem* selected = Selected()) {
        ItemContextMenu(IconCentre(ItemRect(selected->Index(), 0, drIcon)));
    } else {
        ListPopup(pos);
    }
}

bool TRzCustomListView::ContextMenuRequest(const TMessage& m) {
    if (ComponentState().Contains(csDesigning) || menuHandled_ || !Selected() || !ItemFocused()) return true;
    const int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
    if (x == -1 && y == -1) ContextMenuAt(TPoint(0, 0));
    else ItemContextMenu(ScreenToClient(TPoint(x, y)));
    return true;
}

void TRzCustomListView::RightButtonUp(TMessage& m) {
    TComponent* menu = PopupMenu();
    const bool drop = menuHandled_ && menu;
    if (drop) SetPopupMenu(nullptr);
    try {
        TCustomListView::WndProc(m);
    } catch (...) {
        if (drop) SetPopupMenu(menu);
        menuHandled_ = false;
        throw;
    }
    if (drop) SetPopupMenu(menu);
    menuHandled_ = false;
}

void TRzCustomListView::KeyDown(WORD& key, TShiftState shift) {
    if ((key == VK_APPS && shift.Empty()) || (key == VK_F10 && shift == TShiftState{ssShift})) {
        key = 0;
        ContextMenuAt(TPoint(0, 0));
    }
    TCustomListView::KeyDown(key, shift);
}

// ---- info tips

void TRzCustomListView::HideInfoTip() {
    if (hintWindow_ && hintWindow_->Active()) hintWindow_->ReleaseHandle();
}

void TRzCustomListView::UpdateInfoTip(TPoint pos) {
    if (!OnInfoTip) return;
    TListItem* item = GetItemAt(pos.x, pos.y);
    if (ComponentState().Contains(csDesigning) || !item || !Application || !Application->Active()) {
        HideInfoTip();
        return;
    }
    WideString tip = item->Caption();
    OnInfoTip(this, item, tip);
    if (!hintWindow_) hintWindow_ = std::make_unique<THintWindow>(nullptr);
    hintWindow_->SetColor(Application->HintColor);
    hintWindow_->Font()->Assign(Font());
    TRect r = hintWindow_->CalcHintRect(Screen->Width(), tip, nullptr);
    const TRect itemRect = ItemRect(item->Index(), 0, drBounds);
    const TPoint at = ClientToScreen(TPoint(itemRect.left + 5, itemRect.top + itemRect.Height() - 3));
    r.Offset(at.x, at.y);
    const bool moved = r.left != hintWindow_->Left() || r.top != hintWindow_->Top() || tip != hintWindow_->Caption();
    if (!hintWindow_->Active() || moved) hintWindow_->ActivateHint(r, tip);
}

// ---- wheel

void TRzCustomListView::MouseWheelScroll(int delta) {
    int step = 0;
    switch (ViewStyle()) {
    case vsIcon: step = 32; break;
    case vsSmallIcon:
    case vsList:
    case vsReport: step = 16; break;
    }
    const int lines = Mouse->WheelScrollLines();
    Scroll(0, (delta < 0 ? 1 : -1) * lines * step);
}

// ---- messages

// True when the notification was answered here.
bool TRzCustomListView::HandleNotify(TMessage& m) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(m.LParam);
    if (!hdr) return false;
    switch (hdr->code) {
    case LVN_COLUMNCLICK:
        ColumnClicked(reinterpret_cast<const NMLISTVIEW*>(m.LParam)->iSubItem);
        m.Result = 0;
        return true;
    case LVN_GETINFOTIPA:
    case LVN_GETINFOTIPW: m.Result = 0; return true;  // the list shows its own tips
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG: dragStarted_ = true; return false;
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW: {
        if (ViewStyle() != vsReport || !RowSelect() || IsEditing() || editOnRowClick_) return false;
        // A row click edits only on the label itself.
        const auto* nm = reinterpret_cast<const NMLVDISPINFOW*>(m.LParam);
        const TPoint p = ScreenToClient(Mouse->CursorPos());
        const TRect label = ItemRect(nm->item.iItem, 0, drLabel);
        if (!label.Contains(p)) {
            m.Result = 1;
            return true;
        }
        return false;
    }
    case LVN_ITEMCHANGING:
    case LVN_ITEMCHANGED: {
        if (!Checkboxes()) return false;
        const auto* nm = reinterpret_cast<const NMLISTVIEW*>(m.LParam);
        const UINT state = nm->uNewState & LVIS_STATEIMAGEMASK;
        TListItem* item = nm->iItem >= 0 && nm->iItem < Items()->Count() ? Items()->Item(nm->iItem) : nullptr;
        if (!item || (state != kStateChecked && state != kStateUnchecked)) return false;
        if (hdr->code == LVN_ITEMCHANGING) {
            bool allow = true;
            if (OnItemCheckStateChanging) OnItemCheckStateChanging(this, item, state == kStateChecked, allow);
            if (allow) return false;
            m.Result = 1;
            return true;
        }
        TCustomListView::WndProc(m);
        if (OnItemCheckStateChanged) OnItemCheckStateChanged(this, item);
        return true;
    }
    case NM_RCLICK: {
        const TPoint p = ScreenToClient(Mouse->CursorPos());
        if (GetItemAt(p.x, p.y)) {
            rightClicked_ = true;
            try {
                ContextMenuAt(p);
            } catch (...) {
                rightClicked_ = false;
                throw;
            }
            rightClicked_ = false;
        }
        return false;
    }
    default: return false;
    }
}

void TRzCustomListView::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_NOTIFY:
        if (HandleNotify(m)) return;
        break;
    case CM_ENTER:
        UpdateFrame(false, true);
        TCustomListView::WndProc(m);
        return;
    case CM_EXIT:
        TCustomListView::WndProc(m);
        UpdateFrame(false, false);
        return;
    case WM_MOUSEWHEEL:
        MouseWheelScroll(static_cast<short>(HIWORD(m.WParam)));
        m.Result = 1;
        return;
    case WM_CONTEXTMENU:
        ContextMenuRequest(m);
        m.Result = 1;
        return;
    case WM_RBUTTONUP: RightButtonUp(m); return;
    case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        if (dis && dis->CtlType == ODT_HEADER && dis->hwndItem == HeaderHandle()) {
            DrawHeaderItem(*dis);
            m.Result = 1;
            return;
        }
        break;
    }
    case WM_REFRESHHEADER: FormatHeader(); return;
    default: break;
    }
    TCustomListView::WndProc(m);
    switch (m.Msg) {
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(m.LParam);
        if (hdr && hdr->hwndFrom == HeaderHandle()) HeaderNotify(WideHeaderCode(hdr->code));
        break;
    }
    case WM_MOUSEMOVE: UpdateInfoTip(TPoint(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)))); break;
    case CM_MOUSEENTER:
        if (!ComponentState().Contains(csDesigning)) UpdateFrame(true, true);
        UpdateInfoTip(ScreenToClient(Mouse->CursorPos()));
        break;
    case CM_MOUSELEAVE:
        if (!ComponentState().Contains(csDesigning)) UpdateFrame(true, false);
        HideInfoTip();
        break;
    case CM_ENABLEDCHANGED: UpdateColors(); break;
    case CM_COLORCHANGED: ColorChanged(); break;
    case CM_PARENTCOLORCHANGED:
        if (ParentColor()) {
            frame_.ColorChanged(Color());
            if (frame_.visible) RepaintFrame();
        }
        break;
    case CM_SYSCOLORCHANGE:
        if (IsSystemColor(Color())) Perform(CM_COLORCHANGED, m.WParam, m.LParam);
        break;
    case WM_NCCALCSIZE: frame_.ReserveBorder(m); break;
    case WM_NCPAINT:
        frame_.PaintNonClient(*this, Focused());
        if (frame_.Painted()) m.Result = 0;
        break;
    case WM_SIZE:
        if (frame_.visible && !UseThemes()) RepaintFrame();
        break;
    default: break;
    }
}
