// TComponent: the owner of components, named within its owner, with free notifications, the
// loading state of form files and the parent chain that form files are written by.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/TypInfo.h"

QUILLORA_EXCEPTION_CLASS(EComponentError, Exception);

enum TComponentStateItem {
    csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups,
    csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleItem>;

enum class TOperation { opInsert, opRemove };

using TGetChildProc = std::function<void(TComponent* child)>;

class TComponent : public TPersistent {
public:
    // The new component joins its owner's components; the owner destroys it with itself.
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string_view ClassName() const override { return "TComponent"; }
    static const TMetaClass& StaticClass();
    // The class reference of the object's class.
    virtual const TMetaClass& ClassType() const { return StaticClass(); }
    bool InheritsFrom(const TMetaClass& meta) const { return ClassType().InheritsFrom(&meta); }

    TComponent* Owner() const { return owner_; }
    const AnsiString& Name() const { return name_; }
    // A name is empty or an identifier unique (without case) among the owner's components;
    // otherwise EComponentError is raised and the name is kept.
    virtual void SetName(const AnsiString& name);

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    // The owned component of that name (without case), or null.
    TComponent* FindComponent(std::string_view name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

    // A component asked for notification hears (Notification opRemove) when this one is
    // destroyed, and the other way round.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    TComponentState ComponentState() const { return state_; }
    TComponentStyle ComponentStyle() const { return style_; }
    void SetSubComponent(bool subComponent);
    // Marks the component and everything it owns as being destroyed.
    void Destroying();

    // Form files: the component that contains this one (a control's parent) and the children
    // written inside it.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}
    virtual void GetChildren(const TGetChildProc& proc, TComponent* root) const;
    virtual void SetChildOrder(TComponent*, int) {}

    // The form-file reader calls these around reading the component.
    virtual void ReadState(class TReader& reader);
    void SetLoadingState(TComponentState add, TComponentState remove);
    // Called once every component of the file is read and its references resolved.
    virtual void Loaded();

    std::intptr_t Tag = 0;

    // The method names that the component's events were bound to (for writing form files).
    void SetMethodName(std::string_view property, const std::string& name);
    std::string MethodName(std::string_view property) const;

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void ValidateRename(TComponent* component, const AnsiString& curName, const AnsiString& newName);
    void SetDesigning(bool designing);

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* owner_ = nullptr;
    AnsiString name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    TComponentState state_;
    TComponentStyle style_ = {csInheritable};
    std::map<std::string, std::string, std::less<>> methodNames_;
};

// True when text is an identifier: a letter or '_' first, then letters, digits and '_'.
bool IsValidIdent(std::string_view text);
