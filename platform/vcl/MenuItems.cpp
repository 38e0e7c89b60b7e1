#include "platform/vcl/Menus.h"

#include <algorithm>
#include <bitset>

#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsImageList.h"

namespace {

// Item commands come from a range of their own, clear of the small ids a program gives the
// items of its own menus (both reach the same window as WM_COMMAND) and of the system's.
constexpr WORD kFirstCommand = 0x8000;
constexpr WORD kLastCommand = 0xEFFF;

// Kept for the whole process: items of forms freed at exit give their commands back.
std::bitset<0x10000>& UsedCommands() {
    static auto* used = new std::bitset<0x10000>;
    return *used;
}

WORD UniqueCommand() {
    auto& used = UsedCommands();
    for (unsigned c = kFirstCommand; c <= kLastCommand; ++c) {
        if (!used[c]) {
            used[c] = true;
            return static_cast<WORD>(c);
        }
    }
    throw EOutOfResources("Out of menu commands");
}

void FreeCommand(WORD command) {
    if (command) UsedCommands()[command] = false;
}

}  // namespace

WideString StripHotkey(const WideString& text) {
    WideString out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == cHotkey) {
            if (i + 1 < text.size() && text[i + 1] == cHotkey) out += cHotkey;
            if (i + 1 < text.size()) ++i;
            else break;
            if (text[i] == cHotkey) continue;
        }
        out += text[i];
    }
    return out;
}

bool SameCaption(const WideString& a, const WideString& b) {
    return WideUpperCase(StripHotkey(a)) == WideUpperCase(StripHotkey(b));
}

// ---------------------------------------------------------------------------------------------
// TMenuActionLink

TMenuActionLink::TMenuActionLink(TMenuItem* client) : TActionLink(client), client_(client) {}

bool TMenuActionLink::IsAutoCheckLinked() const { return CustomAction() && client_->AutoCheck() == CustomAction()->AutoCheck(); }
bool TMenuActionLink::IsCaptionLinked() const {
    return TActionLink::IsCaptionLinked() && SameCaption(client_->Caption(), CustomAction()->Caption());
}
bool TMenuActionLink::IsCheckedLinked() const {
    return TActionLink::IsCheckedLinked() && client_->Checked() == CustomAction()->Checked();
}
bool TMenuActionLink::IsEnabledLinked() const {
    return TActionLink::IsEnabledLinked() && client_->Enabled() == CustomAction()->Enabled();
}
bool TMenuActionLink::IsGroupIndexLinked() const {
    return TActionLink::IsGroupIndexLinked() && client_->GroupIndex() == CustomAction()->GroupIndex();
}
bool TMenuActionLink::IsHintLinked() const {
    return TActionLink::IsHintLinked() && client_->Hint() == CustomAction()->Hint();
}
bool TMenuActionLink::IsImageIndexLinked() const {
    return TActionLink::IsImageIndexLinked() && client_->ImageIndex() == CustomAction()->ImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() const {
    return TActionLink::IsShortCutLinked() && client_->ShortCut() == CustomAction()->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() const {
    return TActionLink::IsVisibleLinked() && client_->Visible() == CustomAction()->Visible();
}

void TMenuActionLink::SetAutoCheck(bool value) {
    if (IsAutoCheckLinked()) client_->SetAutoCheck(value);
}
void TMenuActionLink::SetCaption(const WideString& value) {
    if (IsCaptionLinked()) client_->SetCaption(value);
}
void TMenuActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) client_->SetChecked(value);
}
void TMenuActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) client_->SetEnabled(value);
}
void TMenuActionLink::SetGroupIndex(int value) {
    if (IsGroupIndexLinked()) client_->SetGroupIndex(value);
}
void TMenuActionLink::SetHint(const WideString& value) {
    if (IsHintLinked()) client_->SetHint(value);
}
void TMenuActionLink::SetImageIndex(int value) {
    if (IsImageIndexLinked()) client_->SetImageIndex(value);
}
void TMenuActionLink::SetShortCut(TShortCut value) {
    if (IsShortCutLinked()) client_->SetShortCut(value);
}
void TMenuActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) client_->SetVisible(value);
}

// ---------------------------------------------------------------------------------------------
// TMenuItem

const TMetaClass& TMenuItem::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TMenuItem>("TMenuItem", &TComponent::StaticClass(), [](TClassBuilder<TMenuItem>& b) {
        b.Property("Action", &TMenuItem::Action, &TMenuItem::SetAction);
        b.Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
        b.Property("AutoHotkeys", &TMenuItem::AutoHotkeys, &TMenuItem::SetAutoHotkeys).Default(maParent);
        b.Property("Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
        b.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
        b.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
        b.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
        b.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
        b.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
        b.Property("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext).Default(0);
        b.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
        b.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
        b.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
        b.Property("ShortCut", [](const TMenuItem& m) { return static_cast<int>(m.ShortCut()); },
                   [](TMenuItem& m, int v) { m.SetShortCut(static_cast<TShortCut>(v)); })
            .Default(0);
        b.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
        b.Event("OnClick", &TMenuItem::OnClick);
        b.Event("OnDrawItem", &TMenuItem::OnDrawItem);
        b.Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
    });
    return meta;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(UniqueCommand()) {}

TMenuItem::~TMenuItem() {
    Destroying();
    if (parent_) parent_->Remove(this);
    while (!items_.empty()) delete items_.back();
    actionLink_.reset();
    if (handle_ && !menu_) DestroyMenu(handle_);
    if (bitmap_) DeleteObject(bitmap_);
    FreeCommand(command_);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseRangeError();
    return items_[static_cast<std::size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_) throw EMenuError("Menu inserted twice");
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EMenuError("Menu inserted twice");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    MenuChanged(true);
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    Remove(item);
    delete item;
}

void TMenuItem::Remove(TMenuItem* item) {
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) throw EMenuError("Sub-menu is not in menu");
    items_.erase(it);
    item->parent_ = nullptr;
    MenuChanged(true);
}

void TMenuItem::Clear() {
    while (!items_.empty()) Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const WideString& caption) const {
    for (TMenuItem* item : items_)
        if (SameCaption(item->caption_, caption)) return item;
    return nullptr;
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int index) {
    if (!parent_) return;
    TMenuItem* p = parent_;
    index = std::clamp(index, 0, p->Count() - 1);
    if (index == MenuIndex()) return;
    p->Remove(this);
    p->Insert(index, this);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* i = this;
    while (i->parent_) i = i->parent_;
    return i->menu_;
}

void TMenuItem::SetCaption(const WideString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    MenuChanged(true);
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (checked && radioItem_) TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::TurnSiblingsOff() {
    if (!parent_) return;
    for (TMenuItem* s : parent_->items_) {
        if (s != this && s->radioItem_ && s->groupIndex_ == groupIndex_ && s->checked_) {
            s->checked_ = false;
            s->MenuChanged(false);
        }
    }
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    MenuChanged(true);
}

void TMenuItem::SetDefault(bool v) {
    if (v == default_) return;
    // One default item a menu.
    if (v && parent_)
        for (TMenuItem* s : parent_->items_) s->default_ = false;
    default_ = v;
    MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool v) {
    if (v == radioItem_) return;
    radioItem_ = v;
    if (v && checked_) TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(int index) {
    if (index == groupIndex_) return;
    groupIndex_ = index;
    if (radioItem_ && checked_) TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    MenuChanged(true);
}

void TMenuItem::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    MenuChanged(true);
}

void TMenuItem::SetBreak(TMenuBreak v) {
    if (v == break_) return;
    break_ = v;
    MenuChanged(true);
}

TBasicAction* TMenuItem::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* action) {
    SetClientAction(
        *this, actionLink_, action, [this] { return std::make_unique<TMenuActionLink>(this); },
        [this](TObject* sender, bool checkDefaults) { ActionChange(sender, checkDefaults); });
}

void TMenuItem::ActionChange(TObject* sender, bool checkDefaults) {
    const auto* a = dynamic_cast<const TCustomAction*>(sender);
    if (!a) return;
    if (!checkDefaults || !autoCheck_) SetAutoCheck(a->AutoCheck());
    if (!checkDefaults || caption_.empty()) SetCaption(a->Caption());
    if (!checkDefaults || groupIndex_ == 0) SetGroupIndex(a->GroupIndex());
    if (!checkDefaults || !checked_) SetChecked(a->Checked());
    if (!checkDefaults || enabled_) SetEnabled(a->Enabled());
    if (!checkDefaults || hint_.empty()) SetHint(a->Hint());
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(a->ImageIndex());
    if (!checkDefaults || shortCut_ == scNone) SetShortCut(a->ShortCut());
    if (!checkDefaults || visible_) SetVisible(a->Visible());
    if (!checkDefaults) OnClick = nullptr;
}

void TMenuItem::Click() {
    if (!enabled_) return;
    // An auto-checking action checks the item through the link when it runs.
    const auto* action = dynamic_cast<const TCustomAction*>(Action());
    if (autoCheck_ && !(action && action->AutoCheck())) SetChecked(!checked_);
    if (OnClick)
        OnClick(this);
    else if (actionLink_)
        actionLink_->Execute(this);
}

void TMenuItem::InitiateAction() {
    if (actionLink_) actionLink_->Update();
}

void TMenuItem::InitiateActions() {
    for (TMenuItem* item : std::vector<TMenuItem*>(items_)) item->InitiateAction();
}

TComponent* TMenuItem::GetParentComponent() const {
    if (parent_ && parent_->menu_) return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (parent_) parent_->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* root) const {
    for (TMenuItem* item : items_)
        if (item->Owner() == root) proc(item);
}

void TMenuItem::SetChildOrder(TComponent* child, int order) {
    if (auto* item = dynamic_cast<TMenuItem*>(child); item && item->parent_ == this) item->SetMenuIndex(order);
}

void TMenuItem::Loaded() {
    TComponent::Loaded();
    MenuChanged(true);
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == Action()) SetAction(nullptr);
}

void TMenuItem::MenuChanged(bool rebuild) {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    TMenuItem* holder = parent_ ? parent_ : this;
    holder->RebuildHandle();
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, rebuild);
}

HMENU TMenuItem::Handle() {
    if (!handle_) {
        handle_ = menu_ ? menu_->Handle() : CreatePopupMenu();
        RebuildHandle();
    }
    return handle_;
}

// The handle's entries are written afresh; the handle itself stays, so a shown menu that
// holds it reads the new entries.
void TMenuItem::RebuildHandle() {
    if (!handle_ || ComponentState().Contains(csDestroying)) return;
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    for (TMenuItem* item : items_)
        if (item->visible_) item->AppendTo(handle_);
}

void TMenuItem::RebuildAll() {
    for (TMenuItem* item : items_) item->RebuildAll();
    RebuildHandle();
    if (TMenu* menu = GetParentMenu(); menu && !parent_) menu->MenuChanged(this, true);
}

WideString TMenuItem::MenuText() const {
    WideString text = caption_;
    // Items of a menu bar show no shortcut.
    const bool onBar = parent_ && parent_->menu_ && dynamic_cast<TMainMenu*>(parent_->menu_);
    if (shortCut_ != scNone && items_.empty() && !onBar) text += u"\t" + Utf8ToUtf16(ShortCutToText(shortCut_));
    return text;
}

bool TMenuItem::IsOwnerDrawn() const {
    if (IsLine()) return false;
    const TMenu* menu = GetParentMenu();
    return OnDrawItem || OnMeasureItem || (menu && menu->OwnerDraw());
}

HBITMAP TMenuItem::ImageBitmap() {
    if (bitmap_) {
        DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }
    const TMenu* menu = GetParentMenu();
    TCustomImageList* images = menu ? menu->Images() : nullptr;
    if (!images || imageIndex_ < 0 || imageIndex_ >= images->Count()) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, images->Width(), images->Height());
    ReleaseDC(nullptr, screen);
    if (!dc || !bitmap_) {
        if (dc) DeleteDC(dc);
        return bitmap_;
    }
    HGDIOBJ old = SelectObject(dc, bitmap_);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Brush()->SetColor(clMenu);
        canvas.FillRect(TRect(0, 0, images->Width(), images->Height()));
        images->Draw(&canvas, 0, 0, imageIndex_, enabled_);
        canvas.SetHandle(nullptr);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap_;
}

void TMenuItem::AppendTo(HMENU menu) {
    MENUITEMINFOW info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING | MIIM_SUBMENU | MIIM_BITMAP;
    if (IsLine())
        info.fType = MFT_SEPARATOR;
    else if (IsOwnerDrawn())
        info.fType = MFT_OWNERDRAW;
    if (radioItem_) info.fType |= MFT_RADIOCHECK;
    if (break_ == mbBreak) info.fType |= MFT_MENUBREAK;
    if (break_ == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
    info.fState = (enabled_ ? 0 : MFS_GRAYED) | (checked_ ? MFS_CHECKED : 0) | (default_ ? MFS_DEFAULT : 0);
    info.wID = command_;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    info.hSubMenu = items_.empty() ? nullptr : Handle();
    const WideString text = MenuText();
    info.dwTypeData = const_cast<LPWSTR>(text.c_str());
    info.hbmpItem = IsLine() ? nullptr : ImageBitmap();
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

TMenuItem* TMenuItem::FindItem(UINT value, TFindItemKind kind) {
    for (TMenuItem* item : items_) {
        switch (kind) {
        case fkCommand:
            if (item->command_ == value) return item;
            break;
        case fkHandle:
            if (item->handle_ && reinterpret_cast<UINT_PTR>(item->handle_) == value) return item;
            break;
        case fkShortCut:
            if (item->shortCut_ != scNone && item->shortCut_ == value) return item;
            break;
        }
        if (TMenuItem* found = item->FindItem(value, kind)) return found;
    }
    return nullptr;
}

void TMenuItem::DrawItem(TCanvas* canvas, const TRect& rect, bool selected) {
    if (OnDrawItem) {
        OnDrawItem(this, canvas, rect, selected);
        return;
    }
    canvas->Brush()->SetColor(selected ? clHighlight : clMenu);
    canvas->FillRect(rect);
    canvas->Font()->SetColor(!enabled_ ? clGrayText : selected ? clHighlightText : clMenuText);
    canvas->Brush()->SetStyle(bsClear);
    const int y = rect.top + (rect.Height() - canvas->TextHeight(u"Wg")) / 2;
    canvas->TextOut(rect.left + 20, y, StripHotkey(caption_));
    if (shortCut_ != scNone) {
        const WideString sc = Utf8ToUtf16(ShortCutToText(shortCut_));
        canvas->TextOut(rect.right - 10 - canvas->TextWidth(sc), y, sc);
    }
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
    width = canvas->TextWidth(StripHotkey(caption_)) + 40;
    if (shortCut_ != scNone) width += canvas->TextWidth(Utf8ToUtf16(ShortCutToText(shortCut_))) + 20;
    height = std::max(canvas->TextHeight(u"Wg") + 6, 19);
    if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}
