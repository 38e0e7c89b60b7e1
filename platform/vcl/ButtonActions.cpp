// Buttons linked to actions: a check box or radio button shows the action's checked state.
#include "platform/vcl/StdCtrls.h"

namespace {

// The checked state of a button that has one.
std::optional<bool> CheckedOf(const TControl* button) {
    if (const auto* box = dynamic_cast<const TCustomCheckBox*>(button)) return box->Checked();
    if (const auto* radio = dynamic_cast<const TRadioButton*>(button)) return radio->Checked();
    return std::nullopt;
}

void SetCheckedOf(TControl* button, bool checked) {
    if (auto* box = dynamic_cast<TCustomCheckBox*>(button)) box->SetChecked(checked);
    if (auto* radio = dynamic_cast<TRadioButton*>(button)) radio->SetChecked(checked);
}

}  // namespace

bool TButtonActionLink::IsCheckedLinked() const {
    const std::optional<bool> checked = CheckedOf(client_);
    return TWinControlActionLink::IsCheckedLinked() && checked && *checked == CustomAction()->Checked();
}

void TButtonActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) static_cast<TButtonControl*>(client_)->SetCheckedQuietly(value);
}

void TButtonControl::SetCheckedQuietly(bool checked) {
    const bool saved = clicksDisabled_;
    clicksDisabled_ = true;
    SetCheckedOf(this, checked);
    clicksDisabled_ = saved;
}

void TButtonControl::ActionChange(TObject* sender, bool checkDefaults) {
    TWinControl::ActionChange(sender, checkDefaults);
    const auto* action = dynamic_cast<const TCustomAction*>(sender);
    if (!action) return;
    const std::optional<bool> checked = CheckedOf(this);
    if (checked && (!checkDefaults || !*checked)) SetCheckedQuietly(action->Checked());
}

TControlActionLinkClass TButtonControl::GetActionLinkClass() const {
    return [](TControl* client) -> std::unique_ptr<TControlActionLink> {
        return std::make_unique<TButtonActionLink>(static_cast<TButtonControl*>(client));
    };
}
