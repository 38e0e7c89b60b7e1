// The form's side of menus and actions: its menu bar, the menu messages that reach its window,
// the shortcuts of its menu and action lists, and the idle update of its actions.
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

void TCustomForm::AttachMenu(bool keepClientSize) {
    if (!HandleAllocated() || ComponentState().Contains(csDestroying)) return;
    const TRect client = ClientRect();
    if (menu_)
        menu_->SetWindowHandle(WindowHandle());
    else if (GetMenu(WindowHandle()))
        ::SetMenu(WindowHandle(), nullptr);
    if (keepClientSize && ClientRect() != client) SetClientSize(client.Width(), client.Height());
}

TRect TCustomForm::ClientRect() const {
    TRect r = TWinControl::ClientRect();
    if (Peer() && menu_) r.bottom = std::max(r.top, r.bottom - Peer()->MenuBarHeight());
    return r;
}

void TCustomForm::WMMenuMessage(TMessage& m) {
    if (menu_ && DispatchMenuMessage(menu_, m)) return;
    InheritedMessage(TWinControl::ClassMessages(), m);
}

bool TCustomForm::IsShortCut(TWMKey& message) {
    if (menu_ && menu_->IsShortCut(message)) return true;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TCustomActionList*>(Components(i)); list && list->IsShortCut(message)) return true;
    return false;
}

namespace {

void InitiateControls(TControl* control) {
    if (!control->Visible()) return;
    control->InitiateAction();
    if (auto* w = dynamic_cast<TWinControl*>(control))
        for (int i = 0; i < w->ControlCount(); ++i) InitiateControls(w->Controls(i));
}

}  // namespace

void TCustomForm::UpdateActions() {
    if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csDestroying)) return;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TCustomActionList*>(Components(i))) list->UpdateActions();
    InitiateAction();
    if (menu_)
        for (int i = 0; i < menu_->Items()->Count(); ++i)
            if (TMenuItem* item = menu_->Items()->Items(i); item->Visible()) item->InitiateAction();
    for (int i = 0; i < ControlCount(); ++i) InitiateControls(Controls(i));
}

bool TWinControl::IsMenuKey(TWMKey& m) {
    if (ComponentState().Contains(csDesigning)) return false;
    for (TControl* c = this; c; c = c->Parent()) {
        auto* popup = dynamic_cast<TPopupMenu*>(c->PopupMenu());
        if (popup && popup->IsShortCut(m)) return true;
    }
    TCustomForm* form = ParentForm();
    return form && form->IsShortCut(m);
}
