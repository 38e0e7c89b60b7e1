#include "controls/styled/BlinkingControlsList.h"

#include <algorithm>

namespace {

std::unique_ptr<TRzBlinkingControlsList>& Shared() {
    static std::unique_ptr<TRzBlinkingControlsList> list;
    return list;
}

}  // namespace

TRzBlinkingControlsList::TRzBlinkingControlsList() : timer_(std::make_unique<TTimer>(nullptr)) {
    timer_->SetInterval(IntervalOff);
    timer_->SetOnTimer([this](TObject*) { Tick(); });
    timer_->SetEnabled(true);
}

TRzBlinkingControlsList::~TRzBlinkingControlsList() = default;

void TRzBlinkingControlsList::AddControl(TControl* control) {
    if (control) controls_.push_back(control);
}

void TRzBlinkingControlsList::RemoveControl(TControl* control) {
    const auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it != controls_.end()) controls_.erase(it);
}

void TRzBlinkingControlsList::Tick() {
    if (state_ == 0) {
        state_ = 1;
        timer_->SetInterval(IntervalOn);
    } else {
        state_ = 0;
        timer_->SetInterval(IntervalOff);
    }
    // A control may unregister while it is told: walk a copy.
    const std::vector<TControl*> controls = controls_;
    for (TControl* c : controls)
        if (std::find(controls_.begin(), controls_.end(), c) != controls_.end() && c->Perform(CM_BLINKQUERY, 0, 0) == 1)
            c->Perform(CM_BLINKSTATE, state_, 0);
}

int TRzBlinkingControlsList::TimerInterval() const { return static_cast<int>(timer_->Interval()); }

TRzBlinkingControlsList& BlinkingControls() {
    if (!Shared()) Shared() = std::make_unique<TRzBlinkingControlsList>();
    return *Shared();
}

bool BlinkingControlsExist() { return Shared() != nullptr; }

void DropBlinkingListWhenEmpty() {
    if (Shared() && Shared()->GetCount() == 0) Shared().reset();
}
