// Actions: commands with a caption, hint, image, shortcut, checked / enabled / visible state and
// OnExecute / OnUpdate handlers, kept in action lists; and the links that bind their clients
// (controls, menu items) both ways: a change of the action reaches every linked client, and a
// client's click executes the action. The application's idle cycle updates the actions.
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/ShortCuts.h"

class TBasicAction;
class TCustomAction;
class TCustomActionList;
class TCustomImageList;

// The link between an action and one client.
class TBasicActionLink : public TObject {
public:
    explicit TBasicActionLink(TObject* client);
    ~TBasicActionLink() override;
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;

    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* action);
    // Runs the action for the client (the target, when given, becomes ActionComponent).
    virtual bool Execute(TComponent* target = nullptr);
    virtual bool Update();
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    virtual void AssignClient(TObject*) {}
    virtual void Change();

    TBasicAction* action_ = nullptr;
};

class TBasicAction : public TComponent {
    QUILLORA_COMPONENT(TBasicAction)
public:
    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;

    // OnExecute, when assigned; true when something handled the action.
    virtual bool Execute();
    // OnUpdate, when assigned; true when something updated it.
    virtual bool Update();
    virtual bool HandlesTarget(TObject*) { return false; }
    virtual void ExecuteTarget(TObject*) {}
    virtual void UpdateTarget(TObject*) {}
    // The client that executes the action now (a menu item or a control), else null.
    TComponent* ActionComponent() const { return actionComponent_; }
    void SetActionComponent(TComponent* component);
    // Calls OnUpdate once an idle cycle, however many clients ask.
    bool UpdateOnce();
    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;
    TNotifyEvent OnChange;
    int ClientCount() const { return static_cast<int>(clients_.size()); }
    TBasicActionLink* Clients(int index) const { return clients_[static_cast<std::size_t>(index)]; }

protected:
    friend class TBasicActionLink;
    friend class TApplication;
    virtual void Change();
    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);
    void Notification(TComponent* component, TOperation operation) override;

    std::vector<TBasicActionLink*> clients_;

private:
    TComponent* actionComponent_ = nullptr;
    unsigned updatedInCycle_ = 0;
};

// An action that belongs to an action list.
class TContainedAction : public TBasicAction {
    QUILLORA_COMPONENT(TContainedAction)
public:
    explicit TContainedAction(TComponent* owner);
    ~TContainedAction() override;

    TCustomActionList* ActionList() const { return actionList_; }
    void SetActionList(TCustomActionList* list);
    const WideString& Category() const { return category_; }
    void SetCategory(const WideString& category);
    int Index() const;
    void SetIndex(int index);
    // The list's OnExecute / OnUpdate first, then the action's own.
    bool Execute() override;
    bool Update() override;

    bool HasParent() const override { return actionList_ != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

private:
    friend class TCustomActionList;
    TCustomActionList* actionList_ = nullptr;
    WideString category_;
};

class TCustomAction : public TContainedAction {
    QUILLORA_COMPONENT(TCustomAction)
public:
    explicit TCustomAction(TComponent* owner);
    ~TCustomAction() override;

    const WideString& Caption() const { return caption_; }
    void SetCaption(const WideString& caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    const WideString& Hint() const { return hint_; }
    void SetHint(const WideString& hint);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool v);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int v) { helpContext_ = v; }
    // Without any OnExecute handler the action disables itself at the update.
    bool DisableIfNoHandler() const { return disableIfNoHandler_; }
    void SetDisableIfNoHandler(bool v) { disableIfNoHandler_ = v; }
    TCustomImageList* Images() const;

    // Updates the action, then runs it when enabled (AutoCheck toggles Checked first).
    bool Execute() override;
    bool Update() override;
    // The action's shortcut was pressed: executes it.
    virtual bool HandleShortCut() { return Execute(); }

private:
    template <class T, class Set>
    void SetLinked(T& field, const T& value, Set set);

    WideString caption_;
    WideString hint_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int imageIndex_ = -1;
    TShortCut shortCut_ = scNone;
    int groupIndex_ = 0;
    bool autoCheck_ = false;
    int helpContext_ = 0;
    bool disableIfNoHandler_ = true;
    bool checking_ = false;
};

class TAction : public TCustomAction {
    QUILLORA_COMPONENT(TAction)
public:
    explicit TAction(TComponent* owner);
};

// An action that only carries a hint (a status-bar text); it stays enabled without a handler.
class TCustomHintAction : public TCustomAction {
    QUILLORA_COMPONENT(TCustomHintAction)
public:
    explicit TCustomHintAction(TComponent* owner);
};

class THintAction : public TCustomHintAction {
    QUILLORA_COMPONENT(THintAction)
public:
    explicit THintAction(TComponent* owner) : TCustomHintAction(owner) {}
};

// An action over a list of items with a selected one.
class TCustomListAction : public TCustomAction {
    QUILLORA_COMPONENT(TCustomListAction)
public:
    explicit TCustomListAction(TComponent* owner);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Count() const;
    std::function<void(TCustomListAction* sender, int& count)> OnGetCount;
    TNotifyEvent OnItemSelected;

private:
    int itemIndex_ = -1;
};

enum TActionListState { asNormal, asSuspended, asSuspendedEnabled };
QUILLORA_ENUM_TYPEINFO(TActionListState, "asNormal", "asSuspended", "asSuspendedEnabled")

using TActionEvent = std::function<void(TBasicAction* action, bool& handled)>;

class TCustomActionList : public TComponent {
    QUILLORA_COMPONENT(TCustomActionList)
public:
    explicit TCustomActionList(TComponent* owner);
    ~TCustomActionList() override;

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TContainedAction* Actions(int index) const;
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    // asSuspended: no action executes or updates; asSuspendedEnabled: the same, and every
    // action is enabled.
    TActionListState State() const { return state_; }
    void SetState(TActionListState state);
    // OnExecute / OnUpdate of the list; true when the list handled the action.
    virtual bool ExecuteAction(TBasicAction* action);
    virtual bool UpdateAction(TBasicAction* action);
    // Executes the first action whose shortcut the key message is; true when one took it.
    bool IsShortCut(TWMKey& message);
    // Updates every action (the application's idle cycle).
    void UpdateActions();

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TNotifyEvent OnChange;

    void GetChildren(const TGetChildProc& proc, TComponent* root) const override;
    void SetChildOrder(TComponent* child, int order) override;

protected:
    friend class TContainedAction;
    void AddAction(TContainedAction* action);
    void RemoveAction(TContainedAction* action);
    void Notification(TComponent* component, TOperation operation) override;
    void Change();

private:
    std::vector<TContainedAction*> actions_;
    TCustomImageList* images_ = nullptr;
    TActionListState state_ = asNormal;
};

class TActionList : public TCustomActionList {
    QUILLORA_COMPONENT(TActionList)
public:
    explicit TActionList(TComponent* owner) : TCustomActionList(owner) {}
};

// The link of a client to a TCustomAction: the Is...Linked tests say whether the client still
// shows the action's value (then the action's change reaches it); the Set... hand it a change.
class TActionLink : public TBasicActionLink {
public:
    using TBasicActionLink::TBasicActionLink;
    virtual bool IsCaptionLinked() const;
    virtual bool IsCheckedLinked() const;
    virtual bool IsEnabledLinked() const;
    virtual bool IsGroupIndexLinked() const;
    virtual bool IsHelpContextLinked() const;
    virtual bool IsHintLinked() const;
    virtual bool IsImageIndexLinked() const;
    virtual bool IsShortCutLinked() const;
    virtual bool IsVisibleLinked() const;
    virtual void SetAutoCheck(bool) {}
    virtual void SetCaption(const WideString&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetGroupIndex(int) {}
    virtual void SetHelpContext(int) {}
    virtual void SetHint(const WideString&) {}
    virtual void SetImageIndex(int) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}

protected:
    TCustomAction* CustomAction() const;
};

// A control's link: caption, enabled, hint, visible; the click runs the action.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl* client);
    bool IsCaptionLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsHintLinked() const override;
    bool IsVisibleLinked() const override;
    void SetCaption(const WideString& value) override;
    void SetEnabled(bool value) override;
    void SetHint(const WideString& value) override;
    void SetVisible(bool value) override;

protected:
    TControl* client_;
};

class TWinControlActionLink : public TControlActionLink {
public:
    using TControlActionLink::TControlActionLink;
};

// Sets the action of a client (a control, a menu item) through its link, made by makeLink on
// first use, with free notifications both ways. change hears the action's changes, and once
// now (checkDefaults: the action is being read from a form file).
template <class L, class Make, class Change>
void SetClientAction(TComponent& client, std::unique_ptr<L>& link, TBasicAction* action, Make makeLink, Change change) {
    TBasicAction* old = link ? link->Action() : nullptr;
    if (action == old) return;
    if (old) old->RemoveFreeNotification(&client);
    if (!action) {
        link.reset();
        return;
    }
    if (!link) {
        link = makeLink();
        L* made = link.get();
        made->OnChange = [made, change](TObject* sender) {
            if (sender && sender == made->Action()) change(sender, false);
        };
    }
    link->SetAction(action);
    action->FreeNotification(&client);
    change(action, action->ComponentState().Contains(csLoading));
}

// TActionList, TAction and THintAction for form files (RegisterVclClasses calls it).
void RegisterActionClasses();

// The shortcut a key message is (its key with the Shift, Ctrl and Alt state of its key data).
TShortCut ShortCutFromMessage(const TWMKey& message);

// The application's idle cycle: the number of the cycle running now (0 outside it). An action
// updates once a cycle however many clients ask.
unsigned ActionIdleCycle();
void BeginActionIdleCycle();
void EndActionIdleCycle();
