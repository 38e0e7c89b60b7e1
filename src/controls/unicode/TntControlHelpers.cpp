#include "controls/unicode/TntControlHelpers.h"

#include <algorithm>
#include <functional>

// --- TWideComponentHelperList --------------------------------------------------------------

TWideComponentHelperList::~TWideComponentHelperList() {
    // Helpers stop listening before they go, so the components need not know.
    for (auto& helper : items_)
        if (helper->Component()) helper->RemoveFreeNotification(helper->Component());
}

bool TWideComponentHelperList::Find(const TComponent* component, int& index) const {
    const auto less = std::less<const TComponent*>();
    const auto it = std::lower_bound(items_.begin(), items_.end(), component,
                                     [&](const auto& h, const TComponent* c) { return less(h->Component(), c); });
    index = static_cast<int>(it - items_.begin());
    return it != items_.end() && (*it)->Component() == component;
}

void TWideComponentHelperList::Insert(std::unique_ptr<TWideComponentHelper> helper) {
    int index = 0;
    Find(helper->Component(), index);
    items_.insert(items_.begin() + index, std::move(helper));
}

void TWideComponentHelperList::Remove(TWideComponentHelper* helper) {
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& h) { return h.get() == helper; });
    if (it != items_.end()) items_.erase(it);
}

// --- TWideComponentHelper ------------------------------------------------------------------

TWideComponentHelper::TWideComponentHelper(TComponent*) : TComponent(nullptr) {
    throw ETntInternalError(u"TNT Internal Error: TWideComponentHelper.Create should never be called.");
}

TWideComponentHelper::TWideComponentHelper(TComponent* component, TWideComponentHelperList& registry)
    : TComponent(nullptr), component_(component), registry_(&registry) {
    if (component_) component_->FreeNotification(this);
}

void TWideComponentHelper::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove || component != component_) return;
    component_ = nullptr;
    // The registry owns the helper: this frees it, so nothing may follow.
    registry_->Remove(this);
}

// --- lookup --------------------------------------------------------------------------------

TWideComponentHelper* FindWideComponentHelper(const TWideComponentHelperList& registry, const TComponent* component) {
    int index = 0;
    if (!registry.Find(component, index)) return nullptr;
    TWideComponentHelper* helper = registry.Items(index);
    if (helper->Component() != component)
        throw ETntInternalError(u"TNT Internal Error: FindWideComponentHelper.index error.");
    return helper;
}

TWideComponentHelperList& WideControlHelpers() {
    static TWideComponentHelperList registry;
    return registry;
}

TWideControlHelper* FindWideControlHelper(TControl* control, bool create) {
    TWideComponentHelperList& registry = WideControlHelpers();
    if (auto* helper = dynamic_cast<TWideControlHelper*>(FindWideComponentHelper(registry, control))) return helper;
    if (!create || !control) return nullptr;
    return TWideComponentHelper::Create<TWideControlHelper>(control, registry);
}
