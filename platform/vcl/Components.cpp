#include "platform/vcl/Components.h"

#include <algorithm>

#include "platform/vcl/Filer.h"

bool IsValidIdent(std::string_view text) {
    if (text.empty()) return false;
    const auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(text[0])) return false;
    return std::all_of(text.begin(), text.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

const TMetaClass& TComponent::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TComponent>("TComponent", nullptr, [](TClassBuilder<TComponent>& b) {
        b.Property("Name", &TComponent::Name, &TComponent::SetName)
            .Stored([](const TObject&) { return false; });  // written as the object's name
        b.Field("Tag", &TComponent::Tag).Default(std::intptr_t{0});
    });
    return meta;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell everyone who asked; each removes its own link back.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) RaiseRangeError();
    return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (AnsiSameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::SetName(const AnsiString& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("Component name \"" + name + "\" is not valid");
    if (owner_)
        owner_->ValidateRename(this, name_, name);
    else
        ValidateRename(nullptr, name_, name);
    name_ = name;
}

void TComponent::ValidateRename(TComponent* component, const AnsiString& curName, const AnsiString& newName) {
    if (!component || newName.empty() || AnsiSameText(curName, newName)) return;
    if (TComponent* other = FindComponent(newName); other && other != component)
        throw EComponentError("A component named " + newName + " already exists");
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component) return;
    // The name is checked before the component leaves its old owner, so a clash loses nothing.
    ValidateRename(component, {}, component->name_);
    if (component->owner_) component->owner_->RemoveComponent(component);
    Insert(component);
    if (state_.Contains(csDesigning)) component->SetDesigning(true);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Notification(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        Remove(c);
        delete c;
    }
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_ << csDestroying;
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    // An owner and its components already hear of each other.
    if (component->owner_ == this || owner_ == component) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
        freeNotifies_.push_back(component);
        component->freeNotifies_.push_back(this);
    }
    state_ << csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
    auto& theirs = component->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
    // Owned components hear of their siblings coming and going.
    for (std::size_t i = 0; i < components_.size(); ++i)
        if (components_[i] != component) components_[i]->Notification(component, operation);
}

void TComponent::SetSubComponent(bool subComponent) {
    if (subComponent)
        style_ << csSubComponent;
    else
        style_ >> csSubComponent;
}

void TComponent::SetDesigning(bool designing) {
    if (designing)
        state_ << csDesigning;
    else
        state_ >> csDesigning;
    for (TComponent* c : components_) c->SetDesigning(designing);
}

void TComponent::GetChildren(const TGetChildProc&, TComponent*) const {}

void TComponent::ReadState(TReader& reader) { reader.ReadData(this); }

void TComponent::SetLoadingState(TComponentState add, TComponentState remove) {
    state_ = (state_ - remove) + add;
}

void TComponent::Loaded() { state_ >> csLoading; }

void TComponent::SetMethodName(std::string_view property, const std::string& name) {
    if (name.empty())
        methodNames_.erase(std::string(property));
    else
        methodNames_[std::string(property)] = name;
}

std::string TComponent::MethodName(std::string_view property) const {
    const auto it = methodNames_.find(property);
    return it == methodNames_.end() ? std::string() : it->second;
}
