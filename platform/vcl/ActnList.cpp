#include "platform/vcl/ActnList.h"

#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsImageList.h"

namespace {

unsigned idleCycle = 0;
unsigned lastCycle = 0;

}  // namespace

void RegisterActionClasses() {
    RegisterClasses({&TActionList::StaticClass(), &TAction::StaticClass(), &THintAction::StaticClass()});
}

TShortCut ShortCutFromMessage(const TWMKey& message) {
    const TShiftState s = KeyDataToShiftState(message.KeyData);
    const TShortCut bits = static_cast<TShortCut>((s.Contains(ssShift) ? scShift : 0) | (s.Contains(ssCtrl) ? scCtrl : 0) |
                                                  (s.Contains(ssAlt) ? scAlt : 0));
    return ShortCut(message.CharCode, bits);
}

unsigned ActionIdleCycle() { return idleCycle; }
void BeginActionIdleCycle() { idleCycle = ++lastCycle; }
void EndActionIdleCycle() { idleCycle = 0; }

// ---------------------------------------------------------------------------------------------
// TBasicActionLink

TBasicActionLink::TBasicActionLink(TObject*) {}

TBasicActionLink::~TBasicActionLink() {
    if (action_) action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* action) {
    if (action == action_) return;
    if (action_) action_->UnRegisterChanges(this);
    action_ = action;
    if (action) action->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* target) {
    if (!action_) return false;
    action_->SetActionComponent(target);
    try {
        const bool done = action_->Execute();
        if (action_) action_->SetActionComponent(nullptr);
        return done;
    } catch (...) {
        if (action_) action_->SetActionComponent(nullptr);
        throw;
    }
}

bool TBasicActionLink::Update() { return action_ && action_->UpdateOnce(); }

void TBasicActionLink::Change() {
    if (OnChange) OnChange(action_);
}

// ---------------------------------------------------------------------------------------------
// TBasicAction

const TMetaClass& TBasicAction::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TBasicAction>("TBasicAction", &TComponent::StaticClass(), [](TClassBuilder<TBasicAction>& b) {
        b.Event("OnExecute", &TBasicAction::OnExecute);
        b.Event("OnUpdate", &TBasicAction::OnUpdate);
    });
    return meta;
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
    Destroying();
    // The links stay with their clients but lose the action.
    while (!clients_.empty()) clients_.back()->SetAction(nullptr);
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

bool TBasicAction::UpdateOnce() {
    const unsigned cycle = ActionIdleCycle();
    if (cycle != 0) {
        if (updatedInCycle_ == cycle) return true;
        updatedInCycle_ = cycle;
    }
    return Update();
}

void TBasicAction::SetActionComponent(TComponent* component) {
    if (component == actionComponent_) return;
    if (actionComponent_) actionComponent_->RemoveFreeNotification(this);
    actionComponent_ = component;
    if (component) component->FreeNotification(this);
}

void TBasicAction::Change() {
    if (OnChange) OnChange(this);
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) { clients_.push_back(link); }
void TBasicAction::UnRegisterChanges(TBasicActionLink* link) { std::erase(clients_, link); }

void TBasicAction::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == actionComponent_) actionComponent_ = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TContainedAction

const TMetaClass& TContainedAction::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TContainedAction>("TContainedAction", &TBasicAction::StaticClass(), [](TClassBuilder<TContainedAction>& b) {
        b.Property("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
    });
    return meta;
}

TContainedAction::TContainedAction(TComponent* owner) : TBasicAction(owner) {}

TContainedAction::~TContainedAction() {
    if (actionList_) actionList_->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* list) {
    if (list == actionList_) return;
    if (actionList_) actionList_->RemoveAction(this);
    if (list) list->AddAction(this);
}

void TContainedAction::SetCategory(const WideString& category) {
    if (category == category_) return;
    category_ = category;
    if (actionList_) actionList_->Change();
}

int TContainedAction::Index() const {
    if (!actionList_) return -1;
    const auto& list = actionList_->actions_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TContainedAction::SetIndex(int index) {
    if (!actionList_) return;
    auto& list = actionList_->actions_;
    const int count = static_cast<int>(list.size());
    index = std::clamp(index, 0, count - 1);
    const int current = Index();
    if (current == index) return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + index, this);
    actionList_->Change();
}

bool TContainedAction::Execute() {
    if (actionList_ && actionList_->ExecuteAction(this)) return true;
    return TBasicAction::Execute();
}

bool TContainedAction::Update() {
    if (actionList_ && actionList_->UpdateAction(this)) return true;
    return TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() const { return actionList_; }

void TContainedAction::SetParentComponent(TComponent* parent) {
    if (auto* list = dynamic_cast<TCustomActionList*>(parent)) SetActionList(list);
}

// ---------------------------------------------------------------------------------------------
// TCustomAction

const TMetaClass& TCustomAction::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomAction>("TCustomAction", &TContainedAction::StaticClass());
    return meta;
}

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}
TCustomAction::~TCustomAction() = default;

// The clients hear a change before the action keeps it, so that each link can compare the
// client with the old value (a client set apart from the action keeps its own).
template <class T, class Set>
void TCustomAction::SetLinked(T& field, const T& value, Set set) {
    if (field == value) return;
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(clients_))
        if (auto* l = dynamic_cast<TActionLink*>(link)) set(*l, value);
    field = value;
    Change();
}

void TCustomAction::SetCaption(const WideString& caption) {
    SetLinked(caption_, caption, [](TActionLink& l, const WideString& v) { l.SetCaption(v); });
}

void TCustomAction::SetChecked(bool checked) {
    if (checking_ || checked == checked_) return;
    checking_ = true;
    try {
        SetLinked(checked_, checked, [](TActionLink& l, bool v) { l.SetChecked(v); });
        // One checked action a group in the list.
        if (checked && groupIndex_ > 0 && ActionList()) {
            for (int i = 0; i < ActionList()->ActionCount(); ++i) {
                auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
                if (other && other != this && other->groupIndex_ == groupIndex_) other->SetChecked(false);
            }
        }
    } catch (...) {
        checking_ = false;
        throw;
    }
    checking_ = false;
}

void TCustomAction::SetEnabled(bool enabled) {
    if (ActionList() && ActionList()->State() == asSuspendedEnabled) enabled = true;
    SetLinked(enabled_, enabled, [](TActionLink& l, bool v) { l.SetEnabled(v); });
}

void TCustomAction::SetVisible(bool visible) {
    SetLinked(visible_, visible, [](TActionLink& l, bool v) { l.SetVisible(v); });
}

void TCustomAction::SetHint(const WideString& hint) {
    SetLinked(hint_, hint, [](TActionLink& l, const WideString& v) { l.SetHint(v); });
}

void TCustomAction::SetImageIndex(int index) {
    SetLinked(imageIndex_, index, [](TActionLink& l, int v) { l.SetImageIndex(v); });
}

void TCustomAction::SetShortCut(TShortCut shortCut) {
    SetLinked(shortCut_, shortCut, [](TActionLink& l, TShortCut v) { l.SetShortCut(v); });
}

void TCustomAction::SetGroupIndex(int index) {
    SetLinked(groupIndex_, index, [](TActionLink& l, int v) { l.SetGroupIndex(v); });
    // A checked action that joins a group unchecks the others there.
    if (checked_ && index > 0) {
        checked_ = false;
        SetChecked(true);
    }
}

void TCustomAction::SetAutoCheck(bool v) {
    SetLinked(autoCheck_, v, [](TActionLink& l, bool value) { l.SetAutoCheck(value); });
}

TCustomImageList* TCustomAction::Images() const { return ActionList() ? ActionList()->Images() : nullptr; }

bool TCustomAction::Execute() {
    if (ActionList() && ActionList()->State() != asNormal) return false;
    Update();
    if (!enabled_) return false;
    if (autoCheck_ && (!checked_ || groupIndex_ == 0)) SetChecked(!checked_);
    return TContainedAction::Execute();
}

bool TCustomAction::Update() {
    if (ActionList() && ActionList()->State() != asNormal) return false;
    const bool handled = TContainedAction::Update();
    // Only ever disables: an action the program disabled stays so.
    if (!handled && enabled_ && disableIfNoHandler_ && !OnExecute) SetEnabled(false);
    return handled;
}

// ---------------------------------------------------------------------------------------------
// TAction, hint and list actions

const TMetaClass& TAction::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TAction>("TAction", &TCustomAction::StaticClass(), [](TClassBuilder<TAction>& b) {
        b.Property("AutoCheck", &TAction::AutoCheck, &TAction::SetAutoCheck).Default(false);
        b.Property("Caption", &TAction::Caption, &TAction::SetCaption);
        b.Property("Checked", &TAction::Checked, &TAction::SetChecked).Default(false);
        b.Property("Enabled", &TAction::Enabled, &TAction::SetEnabled).Default(true);
        b.Property("GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex).Default(0);
        b.Property("HelpContext", &TAction::HelpContext, &TAction::SetHelpContext).Default(0);
        b.Property("Hint", &TAction::Hint, &TAction::SetHint);
        b.Property("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex).Default(-1);
        b.Property("ShortCut", [](const TAction& a) { return static_cast<int>(a.ShortCut()); },
                   [](TAction& a, int v) { a.SetShortCut(static_cast<TShortCut>(v)); })
            .Default(0);
        b.Property("Visible", &TAction::Visible, &TAction::SetVisible).Default(true);
    });
    return meta;
}

TAction::TAction(TComponent* owner) : TCustomAction(owner) {}

const TMetaClass& TCustomHintAction::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomHintAction>("TCustomHintAction", &TCustomAction::StaticClass());
    return meta;
}

TCustomHintAction::TCustomHintAction(TComponent* owner) : TCustomAction(owner) { SetDisableIfNoHandler(false); }

const TMetaClass& THintAction::StaticClass() {
    static const TMetaClass& meta = DescribeClass<THintAction>("THintAction", &TCustomHintAction::StaticClass(), [](TClassBuilder<THintAction>& b) {
        b.Property("Hint", &THintAction::Hint, &THintAction::SetHint);
    });
    return meta;
}

const TMetaClass& TCustomListAction::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomListAction>("TCustomListAction", &TCustomAction::StaticClass());
    return meta;
}

TCustomListAction::TCustomListAction(TComponent* owner) : TCustomAction(owner) {}

int TCustomListAction::Count() const {
    int count = 0;
    if (OnGetCount) OnGetCount(const_cast<TCustomListAction*>(this), count);
    return count;
}

void TCustomListAction::SetItemIndex(int index) {
    if (index == itemIndex_) return;
    itemIndex_ = index;
    if (OnItemSelected) OnItemSelected(this);
    Change();
}

// ---------------------------------------------------------------------------------------------
// TCustomActionList

const TMetaClass& TCustomActionList::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomActionList>("TCustomActionList", &TComponent::StaticClass(), [](TClassBuilder<TCustomActionList>& b) {
        b.Property("Images", &TCustomActionList::Images, &TCustomActionList::SetImages);
        b.Property("State", &TCustomActionList::State, &TCustomActionList::SetState).Default(asNormal);
        b.Event("OnChange", &TCustomActionList::OnChange);
        b.Event("OnExecute", &TCustomActionList::OnExecute);
        b.Event("OnUpdate", &TCustomActionList::OnUpdate);
    });
    return meta;
}

const TMetaClass& TActionList::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TActionList>("TActionList", &TCustomActionList::StaticClass());
    return meta;
}

TCustomActionList::TCustomActionList(TComponent* owner) : TComponent(owner) {}

TCustomActionList::~TCustomActionList() {
    Destroying();
    // The actions are the owner's; they only leave the list.
    while (!actions_.empty()) RemoveAction(actions_.back());
}

TContainedAction* TCustomActionList::Actions(int index) const {
    if (index < 0 || index >= ActionCount()) RaiseRangeError();
    return actions_[static_cast<std::size_t>(index)];
}

void TCustomActionList::SetImages(TCustomImageList* images) {
    if (images == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images) images->FreeNotification(this);
    Change();
}

void TCustomActionList::SetState(TActionListState state) {
    if (state == state_) return;
    state_ = state;
    if (state == asSuspendedEnabled)
        for (TContainedAction* a : actions_)
            if (auto* c = dynamic_cast<TCustomAction*>(a)) c->SetEnabled(true);
}

void TCustomActionList::AddAction(TContainedAction* action) {
    actions_.push_back(action);
    action->actionList_ = this;
    action->FreeNotification(this);
    Change();
}

void TCustomActionList::RemoveAction(TContainedAction* action) {
    if (std::find(actions_.begin(), actions_.end(), action) == actions_.end()) return;
    std::erase(actions_, action);
    action->actionList_ = nullptr;
    action->RemoveFreeNotification(this);
    if (!ComponentState().Contains(csDestroying)) Change();
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == images_) images_ = nullptr;
    if (auto* a = dynamic_cast<TContainedAction*>(component)) RemoveAction(a);
}

void TCustomActionList::Change() {
    if (OnChange) OnChange(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* action) {
    bool handled = false;
    if (OnExecute) OnExecute(action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* action) {
    bool handled = false;
    if (OnUpdate) OnUpdate(action, handled);
    return handled;
}

bool TCustomActionList::IsShortCut(TWMKey& message) {
    const TShortCut shortCut = ShortCutFromMessage(message);
    if (shortCut == scNone || state_ != asNormal) return false;
    // Actions sharing a shortcut: the first that runs takes it.
    for (TContainedAction* a : std::vector<TContainedAction*>(actions_)) {
        auto* action = dynamic_cast<TCustomAction*>(a);
        if (action && action->ShortCut() == shortCut && action->HandleShortCut()) return true;
    }
    return false;
}

void TCustomActionList::UpdateActions() {
    if (state_ != asNormal) return;
    for (TContainedAction* a : std::vector<TContainedAction*>(actions_)) a->UpdateOnce();
}

void TCustomActionList::GetChildren(const TGetChildProc& proc, TComponent* root) const {
    for (TContainedAction* a : actions_)
        if (a->Owner() == root) proc(a);
}

void TCustomActionList::SetChildOrder(TComponent* child, int order) {
    if (auto* a = dynamic_cast<TContainedAction*>(child); a && a->ActionList() == this) a->SetIndex(order);
}

// ---------------------------------------------------------------------------------------------
// TActionLink

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(action_); }

bool TActionLink::IsCaptionLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsGroupIndexLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHelpContextLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return CustomAction() != nullptr; }

// ---------------------------------------------------------------------------------------------
// TControlActionLink

TControlActionLink::TControlActionLink(TControl* client) : TActionLink(client), client_(client) {}

bool TControlActionLink::IsCaptionLinked() const {
    return TActionLink::IsCaptionLinked() && client_->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() const {
    return TActionLink::IsEnabledLinked() && client_->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() const {
    return TActionLink::IsHintLinked() && client_->Hint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() const {
    return TActionLink::IsVisibleLinked() && client_->Visible() == CustomAction()->Visible();
}

void TControlActionLink::SetCaption(const WideString& value) {
    if (IsCaptionLinked()) client_->SetCaption(value);
}

void TControlActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) client_->SetEnabled(value);
}

void TControlActionLink::SetHint(const WideString& value) {
    if (IsHintLinked()) client_->SetHint(value);
}

void TControlActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) client_->SetVisible(value);
}
