// TTimer: a component that fires OnTimer every Interval milliseconds on the GUI thread.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/WinUser.h"

class TTimer : public TComponent {
    QUILLORA_COMPONENT(TTimer)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);
    TNotifyEvent OnTimer;
    void SetOnTimer(TNotifyEvent handler);

protected:
    void Loaded() override;
    virtual void Timer();

private:
    void UpdateTimer();
    HWND window_ = nullptr;
    bool enabled_ = true;
    UINT interval_ = 1000;
};
