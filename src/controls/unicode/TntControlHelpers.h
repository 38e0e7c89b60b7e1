// Helper objects that keep per-component values beside a component, in registries sorted by
// the component's address; a helper goes when its component goes.
#pragma once

#include <memory>
#include <vector>

#include "controls/unicode/TntSystem.h"
#include "platform/vcl/Controls.h"

class TWideComponentHelper;

// Owns its helpers, kept sorted by the address of the component each serves.
class TWideComponentHelperList {
public:
    TWideComponentHelperList() = default;
    ~TWideComponentHelperList();
    TWideComponentHelperList(const TWideComponentHelperList&) = delete;
    TWideComponentHelperList& operator=(const TWideComponentHelperList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // Binary search by address: true with the match's index, else false with the insertion point.
    bool Find(const TComponent* component, int& index) const;
    TWideComponentHelper* Items(int index) const { return items_[static_cast<std::size_t>(index)].get(); }

private:
    friend class TWideComponentHelper;
    void Insert(std::unique_ptr<TWideComponentHelper> helper);
    // Frees the helper.
    void Remove(TWideComponentHelper* helper);

    std::vector<std::unique_ptr<TWideComponentHelper>> items_;
};

class TWideComponentHelper : public TComponent {
public:
    // The plain component constructor is no way to make a helper: ETntInternalError.
    explicit TWideComponentHelper(TComponent* owner);
    std::string_view ClassName() const override { return "TWideComponentHelper"; }

    // Makes a helper for component, owned by registry.
    template <class H>
    static H* Create(TComponent* component, TWideComponentHelperList& registry) {
        auto helper = std::unique_ptr<H>(new H(component, registry));
        H* raw = helper.get();
        registry.Insert(std::move(helper));
        return raw;
    }

    TComponent* Component() const { return component_; }

protected:
    TWideComponentHelper(TComponent* component, TWideComponentHelperList& registry);
    // The served component went: the helper forgets it and frees itself.
    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* component_ = nullptr;
    TWideComponentHelperList* registry_ = nullptr;
};

// The helper of a control. Control text and hints are wide already, so it only keeps the
// values other code stores there.
class TWideControlHelper : public TWideComponentHelper {
public:
    std::string_view ClassName() const override { return "TWideControlHelper"; }
    TControl* Control() const { return static_cast<TControl*>(Component()); }
    WideString WideCaption;
    WideString WideHint;

protected:
    friend class TWideComponentHelper;
    TWideControlHelper(TComponent* control, TWideComponentHelperList& registry)
        : TWideComponentHelper(control, registry) {}
};

// Null when the registry has no helper for the component. An entry that serves another
// component breaks the registry's order: ETntInternalError.
TWideComponentHelper* FindWideComponentHelper(const TWideComponentHelperList& registry, const TComponent* component);
// The control's helper in the layer's registry; made when missing and create is set.
TWideControlHelper* FindWideControlHelper(TControl* control, bool create = false);
// The layer's registry of control helpers.
TWideComponentHelperList& WideControlHelpers();
