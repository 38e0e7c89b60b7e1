// The layer's hint window: shows the wide hint text of a hint record prepared by the wide
// controls (PrepareWideHint), sized and drawn for that text.
#pragma once

#include "controls/unicode/TntControls.h"
#include "platform/vcl/HintWindow.h"

// The text a prepared hint record shows: its hint string as the application's hint event
// left it.
WideString WideHintText(const THintInfo& info);

class TTntCustomHintWindow : public THintWindow {
    QUILLORA_COMPONENT(TTntCustomHintWindow)
public:
    explicit TTntCustomHintWindow(TComponent* owner) : THintWindow(owner) {}

    void ActivateHint(TRect rect, const WideString& hint) override;
    void ActivateHintData(TRect rect, const WideString& hint, void* data) override;
    // For a prepared record: the wrapped text's rectangle, 6 wider and 2 higher.
    TRect CalcHintRect(int maxWidth, const WideString& hint, void* data) override;

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    bool blockPaint_ = false;
    bool activating_ = false;
};
