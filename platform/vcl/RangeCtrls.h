// Controls that show a position in a range: progress bars ("msctls_progress32"), track bars
// ("msctls_trackbar32") and up-down buttons ("msctls_updown32") that step an associated edit.
#pragma once

#include "platform/vcl/StdCtrls.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };
enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
QUILLORA_ENUM_TYPEINFO(TProgressBarOrientation, "pbHorizontal", "pbVertical")
QUILLORA_ENUM_TYPEINFO(TTrackBarOrientation, "trHorizontal", "trVertical")
QUILLORA_ENUM_TYPEINFO(TTickStyle, "tsNone", "tsAuto", "tsManual")
QUILLORA_ENUM_TYPEINFO(TUDOrientation, "udHorizontal", "udVertical")

using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;
using TUDChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

// What the three share: a position kept in Min..Max and pushed to the widget.
class TRangeControl : public TWinControl {
    QUILLORA_COMPONENT(TRangeControl)
public:
    explicit TRangeControl(TComponent* owner);
    int Min() const { return range_.Min; }
    void SetMin(int v);
    int Max() const { return range_.Max; }
    void SetMax(int v);
    int Position() const { return range_.Position; }
    void SetPosition(int v);

protected:
    void CreateWnd() override;
    // The position changed (not while the form loads).
    virtual void Changed() {}
    void Push();
    TRangeOptions range_;
};

class TProgressBar : public TRangeControl {
    QUILLORA_COMPONENT(TProgressBar)
public:
    explicit TProgressBar(TComponent* owner);
    int Step() const { return step_; }
    void SetStep(int v) { step_ = v; }
    // Advances by Step; past Max the bar starts again at Min.
    void StepIt();
    void StepBy(int delta);
    TProgressBarOrientation Orientation() const { return range_.Vertical ? pbVertical : pbHorizontal; }
    void SetOrientation(TProgressBarOrientation v);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool v) { smooth_ = v; }

protected:
    void CreateParams(TCreateParams& params) override;

private:
    int step_ = 10;
    bool smooth_ = false;
};

class TTrackBar : public TRangeControl {
    QUILLORA_COMPONENT(TTrackBar)
    QUILLORA_MESSAGES()
public:
    explicit TTrackBar(TComponent* owner);
    TTrackBarOrientation Orientation() const { return range_.Vertical ? trVertical : trHorizontal; }
    void SetOrientation(TTrackBarOrientation v);
    int Frequency() const { return range_.Frequency; }
    void SetFrequency(int v);
    int LineSize() const { return range_.SmallChange; }
    void SetLineSize(int v);
    int PageSize() const { return range_.LargeChange; }
    void SetPageSize(int v);
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle v);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void Changed() override;
    void CNScroll(TMessage& m);

private:
    TTickStyle tickStyle_ = tsAuto;
};

class TUpDown : public TRangeControl {
    QUILLORA_COMPONENT(TUpDown)
    QUILLORA_MESSAGES()
public:
    explicit TUpDown(TComponent* owner);
    // The control (an edit) that shows the position; it is placed beside the buttons.
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* control);
    int Increment() const { return range_.SmallChange; }
    void SetIncrement(int v) { range_.SmallChange = v; }
    bool Wrap() const { return wrap_; }
    void SetWrap(bool v) { wrap_ = v; }
    bool Thousands() const { return thousands_; }
    void SetThousands(bool v);
    TUDOrientation Orientation() const { return range_.Vertical ? udVertical : udHorizontal; }
    void SetOrientation(TUDOrientation v);
    // One step up (btNext) or down, as a click on that button.
    void ClickButton(TUDBtnType button);
    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& params) override;
    void Changed() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CNScroll(TMessage& m);

private:
    void UpdateAssociate();
    TWinControl* associate_ = nullptr;
    bool wrap_ = false;
    bool thousands_ = true;
};

void RegisterRangeCtrls();
