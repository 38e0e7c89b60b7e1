#include "controls/dragdrop/DataFormatAdapter.h"

TDataFormatAdapter::TDataFormatAdapter(TComponent* owner) : TComponent(owner) { DragDropStartup(); }

TDataFormatAdapter::~TDataFormatAdapter() {
    Disable();
    if (component_) component_->RemoveFreeNotification(this);
}

void TDataFormatAdapter::SetDragDropComponent(TDragDropComponent* component) {
    if (component == component_) return;
    Disable();
    if (component_) component_->RemoveFreeNotification(this);
    component_ = component;
    if (component_) component_->FreeNotification(this);
    if (enabled_) Enable();
}

void TDataFormatAdapter::SetDataFormatName(const AnsiString& name) {
    const TDataFormatClass* found = name.empty() ? nullptr : TDataFormatClasses::Instance().Find(name);
    if (!name.empty() && !found)
        throw Exception(AnsiFormat("The %s data format has not been registered by any of the used units", name.c_str()));
    if (found == class_) return;
    Disable();
    class_ = found;
    name_ = name;
    if (enabled_) Enable();
}

void TDataFormatAdapter::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled)
        Enable();
    else
        Disable();
}

void TDataFormatAdapter::Enable() {
    if (format_ || !component_ || !class_ || !class_->Create || ComponentState().Contains(csLoading)) return;
    format_ = class_->Create(component_);
}

void TDataFormatAdapter::Disable() { format_.reset(); }

void TDataFormatAdapter::Loaded() {
    TComponent::Loaded();
    if (enabled_) Enable();
}

void TDataFormatAdapter::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == component_) {
        // The component detached the format already; it is ours to free.
        format_.reset();
        component_ = nullptr;
    }
}
