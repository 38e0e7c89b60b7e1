// Hints: THintWindow, the small window that shows a control's short hint in the palette's
// tool-tip colours, the class the application makes its hint windows of (HintWindowClass), and
// the two parts of a hint text ("short|long").
#pragma once

#include "platform/vcl/Controls.h"

// The part before "|" (all of it without one), and the part after it (all of it without one).
WideString GetShortHint(const WideString& hint);
WideString GetLongHint(const WideString& hint);

class THintWindow : public TCustomControl {
    QUILLORA_COMPONENT(THintWindow)
public:
    explicit THintWindow(TComponent* owner);
    ~THintWindow() override;

    // Shows the hint over rect (screen coordinates) with hint as its caption.
    virtual void ActivateHint(TRect rect, const WideString& hint);
    virtual void ActivateHintData(TRect rect, const WideString& hint, void* data);
    // The size the hint needs, at most maxWidth wide, from (0, 0).
    virtual TRect CalcHintRect(int maxWidth, const WideString& hint, void* data);
    // Hides the window.
    void ReleaseHandle();
    bool Active() const { return active_; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    bool active_ = false;
};

// The class the application makes its hint window of; a subclass of THintWindow.
extern const TMetaClass* HintWindowClass;
