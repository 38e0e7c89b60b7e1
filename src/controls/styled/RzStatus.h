// Status panes: a framed, windowless text pane that can blink and size itself to its text, and
// the progress status that counts parts and shows them as a traditional, LED or gradient bar.
#pragma once

#include <cstdint>

#include "controls/styled/DrawHelpers.h"
#include "controls/styled/RzFrameController.h"
#include "platform/vcl/Controls.h"

// What a pane asks the status bar it sits on; a bar that answers it implements this.
class IStatusBarHost {
public:
    virtual ~IStatusBarHost() = default;
    virtual bool DrawsThemed() const = 0;
    virtual bool DrawsGradient() const = 0;
    virtual bool ShowsSizeGrip() const = 0;
    // Where the bar's leading border ends (client x).
    virtual int LeadingBorderEnd() const = 0;
    virtual TRzGradientColorStyle GradientColorStyle() const = 0;
};


// The settings a frame controller hands to the panes it frames.
struct TRzFramingSettings {
    bool FrameVisible = false;
    TFrameStyle FrameStyle = fsFlat;
    TColor FrameColor = clBtnShadow;
    TColor Color = clWindow;
    bool ParentColor = false;
};

class TRzCustomStatusPane : public TGraphicControl {
    QUILLORA_COMPONENT(TRzCustomStatusPane)
    QUILLORA_MESSAGES()
public:
    explicit TRzCustomStatusPane(TComponent* owner);
    ~TRzCustomStatusPane() override;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int v);
    TColor BlinkColor() const { return blinkColor_; }
    void SetBlinkColor(TColor c);
    bool Blinking() const { return blinking_; }
    void SetBlinking(bool v);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    int CaptionOffset() const { return captionOffset_; }
    void SetCaptionOffset(int v);
    bool ParentFillColor() const { return parentFillColor_; }
    void SetParentFillColor(bool v);
    TColor FillColor() const { return fillColor_; }
    void SetFillColor(TColor c);
    TColor FlatColor() const { return flatColor_; }
    void SetFlatColor(TColor c);
    int FlatColorAdjustment() const { return flatColorAdjustment_; }
    void SetFlatColorAdjustment(int v);
    TFrameStyle FrameStyle() const { return frameStyle_; }
    void SetFrameStyle(TFrameStyle s);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TRzFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
    void SetFrameControllerNotifications(TRzFrameControllerNotifications n) { notifications_ = n; }
    bool AutoHint() const { return autoHint_; }
    void SetAutoHint(bool v) { autoHint_ = v; }
    TColor CurrentColor() const { return currentColor_; }

    // The frame controller tells the pane its settings changed.
    virtual void CustomFramingChanged(const TRzFramingSettings& settings);
    virtual TRect GetInnerRect() const;
    virtual int GetAutoWidth();
    // Measures the caption's width (tests give their own).
    std::function<int(const WideString&)> MeasureText;

protected:
    void Paint() override;
    void Loaded() override;
    virtual void DrawFrame(TCanvas& canvas);
    virtual void DrawCaption(TCanvas& canvas, const WideString& text);
    virtual void SetBlinkState(bool on);
    IStatusBarHost* Host() const;
    void AdjustSize();
    bool InSizeGripArea(int x, int y) const;
    void CMTextChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMBlinkQuery(TMessage& m) { m.Result = blinking_ ? 1 : 0; }
    void CMBlinkState(TMessage& m) { SetBlinkState(m.WParam != 0); }
    void WMNCHitTest(TMessage& m);

    TAlignment alignment_ = taLeftJustify;

private:
    bool autoSize_ = false;
    int defaultWidth_ = 40;
    TColor blinkColor_ = clHighlight;
    bool blinking_ = false;
    int borderWidth_ = 1;
    int captionOffset_ = 2;
    bool parentFillColor_ = true;
    TColor fillColor_;
    TColor flatColor_ = clBtnShadow;
    int flatColorAdjustment_ = 30;
    TFrameStyle frameStyle_ = fsFlat;
    bool transparent_ = true;
    TRzFrameControllerNotifications notifications_ = {fcpColor, fcpFrameColor, fcpFrameStyle, fcpParentColor};
    bool autoHint_ = false;
    TColor fontColor_ = clWindowText;
    TColor currentColor_ = clWindowText;
    bool registered_ = false;
};

class TRzStatusPane : public TRzCustomStatusPane {
    QUILLORA_COMPONENT(TRzStatusPane)
public:
    using TRzCustomStatusPane::TRzCustomStatusPane;
};

enum TBarStyle { bsTraditional, bsLED, bsGradient };
QUILLORA_ENUM_TYPEINFO(TBarStyle, "bsTraditional", "bsLED", "bsGradient")

class TRzProgressStatus : public TRzCustomStatusPane {
    QUILLORA_COMPONENT(TRzProgressStatus)
public:
    explicit TRzProgressStatus(TComponent* owner);

    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor c);
    TColor BackColorStop() const { return backColorStop_; }
    void SetBackColorStop(TColor c);
    TColor BarColor() const { return barColor_; }
    void SetBarColor(TColor c);
    TColor BarColorStop() const { return barColorStop_; }
    void SetBarColorStop(TColor c);
    TBarStyle BarStyle() const { return barStyle_; }
    void SetBarStyle(TBarStyle s);
    TGradientDirection GradientDirection() const { return gradientDirection_; }
    void SetGradientDirection(TGradientDirection d);
    int NumSegments() const { return numSegments_; }
    void SetNumSegments(int n);
    std::uint32_t PartsComplete() const { return partsComplete_; }
    virtual void SetPartsComplete(std::uint32_t value);
    void IncPartsComplete(std::uint32_t amount) { SetPartsComplete(partsComplete_ + amount); }
    void StepIt() { IncPartsComplete(1); }
    int Percent() const { return percent_; }
    void SetPercent(int value);
    bool ShowPercent() const { return showPercent_; }
    void SetShowPercent(bool v);
    std::uint32_t TotalParts() const { return totalParts_; }
    void SetTotalParts(std::uint32_t value);

protected:
    void Paint() override;

private:
    TColor backColor_ = clBtnFace, backColorStop_ = clBtnFace;
    TColor barColor_ = clHighlight, barColorStop_ = clHotLight;
    TBarStyle barStyle_ = bsTraditional;
    TGradientDirection gradientDirection_ = gdHorizontalCenter;
    int numSegments_ = 15;
    std::uint32_t partsComplete_ = 0, totalParts_ = 0;
    std::uint16_t percent_ = 0;
    bool showPercent_ = false;
};
