// Tool buttons linked to actions: the action's image and checked state reach the button.
#include "platform/vcl/ToolBar.h"

bool TToolButtonActionLink::IsCheckedLinked() const {
    return TControlActionLink::IsCheckedLinked() && Button()->Down() == CustomAction()->Checked();
}

bool TToolButtonActionLink::IsImageIndexLinked() const {
    return TControlActionLink::IsImageIndexLinked() && Button()->ImageIndex() == CustomAction()->ImageIndex();
}

void TToolButtonActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) Button()->SetDown(value);
}

void TToolButtonActionLink::SetImageIndex(int value) {
    if (IsImageIndexLinked()) Button()->SetImageIndex(value);
}

void TToolButton::ActionChange(TObject* sender, bool checkDefaults) {
    TGraphicControl::ActionChange(sender, checkDefaults);
    const auto* action = dynamic_cast<const TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || !Down()) SetDown(action->Checked());
    if (!checkDefaults || ImageIndex() == -1) SetImageIndex(action->ImageIndex());
}

TControlActionLinkClass TToolButton::GetActionLinkClass() const {
    return [](TControl* client) -> std::unique_ptr<TControlActionLink> {
        return std::make_unique<TToolButtonActionLink>(static_cast<TToolButton*>(client));
    };
}
