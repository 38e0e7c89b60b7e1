// One process-wide timer that makes every blinking control (labels, status panes) switch
// between its normal and its blink colour in step. Controls register when made and unregister
// when destroyed; the list goes when the last one leaves.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"

// Sent to a registered control: answer 1 when it is blinking.
inline constexpr UINT CM_BLINKQUERY = 0xB3E8;
// Sent to a blinking control: wParam 1 shows the blink colour, 0 the normal one.
inline constexpr UINT CM_BLINKSTATE = 0xB3E9;

class TRzBlinkingControlsList : public TObject {
public:
    TRzBlinkingControlsList();
    ~TRzBlinkingControlsList() override;
    std::string_view ClassName() const override { return "TRzBlinkingControlsList"; }

    void AddControl(TControl* control);
    void RemoveControl(TControl* control);
    virtual int GetCount() const { return static_cast<int>(controls_.size()); }

    std::uint16_t IntervalOff = 500;
    std::uint16_t IntervalOn = 500;
    std::uint8_t BlinkState() const { return state_; }
    // One step of the timer, as the timer does it.
    void Tick();
    // How long the current state lasts.
    int TimerInterval() const;

private:
    std::uint8_t state_ = 1;
    std::unique_ptr<TTimer> timer_;
    std::vector<TControl*> controls_;
};

// The shared list: made by the first control that registers.
TRzBlinkingControlsList& BlinkingControls();
bool BlinkingControlsExist();
// Frees the shared list when no control is registered any more.
void DropBlinkingListWhenEmpty();
