#include "platform/vcl/ExtCtrls.h"

#include "platform/vcl/Forms.h"

const TMetaClass& TTimer::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTimer>("TTimer", &TComponent::StaticClass(), [](TClassBuilder<TTimer>& b) {
        b.Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
        b.Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000u);
        b.Event("OnTimer", &TTimer::OnTimer);
    });
    return meta;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    window_ = AllocateHWnd([this](TMessage& m) {
        if (m.Msg != WM_TIMER) return;
        try {
            Timer();
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    });
}

TTimer::~TTimer() {
    enabled_ = false;
    KillTimer(window_, 1);
    DeallocateHWnd(window_);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(UINT interval) {
    if (interval == interval_) return;
    interval_ = interval;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    OnTimer = std::move(handler);
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

// A timer runs while enabled with an interval and a handler, and not while its form loads.
void TTimer::UpdateTimer() {
    KillTimer(window_, 1);
    if (enabled_ && interval_ != 0 && OnTimer && !ComponentState().Contains(csLoading))
        SetTimer(window_, 1, interval_, nullptr);
}

void TTimer::Timer() {
    if (enabled_ && OnTimer) OnTimer(this);
}

void RegisterExtCtrls() {
    RegisterClasses({&TTimer::StaticClass(), &TPanel::StaticClass(), &TBevel::StaticClass(), &TSplitter::StaticClass(),
                     &TRadioGroup::StaticClass(), &TImage::StaticClass(), &TScrollBox::StaticClass()});
}
