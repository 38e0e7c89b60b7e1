// TControl's side of actions: the Action property, the link it makes, and how a change of the
// action reaches the control.
#include "platform/vcl/ActnList.h"

namespace {

template <class L>
std::unique_ptr<TControlActionLink> MakeLink(TControl* client) {
    return std::make_unique<L>(client);
}

}  // namespace

TBasicAction* TControl::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TControl::SetAction(TBasicAction* action) {
    SetClientAction(
        *this, actionLink_, action, [this] { return GetActionLinkClass()(this); },
        [this](TObject* sender, bool checkDefaults) { ActionChange(sender, checkDefaults); });
}

void TControl::InitiateAction() {
    if (actionLink_) actionLink_->Update();
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
    const auto* action = dynamic_cast<const TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || Caption().empty() || Utf16ToUtf8(Caption()) == Name()) SetCaption(action->Caption());
    if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
    if (!checkDefaults || Hint().empty()) SetHint(action->Hint());
    if (!checkDefaults || Visible()) SetVisible(action->Visible());
    // The click runs the action unless the control keeps a handler of its own.
    if (!checkDefaults) OnClick = nullptr;
}

TControlActionLinkClass TControl::GetActionLinkClass() const { return &MakeLink<TControlActionLink>; }
TControlActionLinkClass TWinControl::GetActionLinkClass() const { return &MakeLink<TWinControlActionLink>; }
