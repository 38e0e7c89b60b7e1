// The styled label: raised, recessed or shadowed text, a panel border round it, rotation,
// blinking in step with every other blinking control, a hover colour, condensed captions, a text
// margin, and settings taken from a frame controller.
#pragma once

#include <functional>

#include "controls/styled/BlinkingControlsList.h"
#include "controls/styled/RzFrameController.h"
#include "controls/styled/StyledTypes.h"
#include "platform/vcl/StdCtrls.h"

enum TRotation { roNone, roFlat, roCurve };
enum TRzCondenseCaption { ccNone, ccAtEnd, ccWithinPath };
enum TCenterPoint {
    cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter, cpLowerLeft, cpLowerCenter,
    cpLowerRight
};
QUILLORA_ENUM_TYPEINFO(TRotation, "roNone", "roFlat", "roCurve")
QUILLORA_ENUM_TYPEINFO(TRzCondenseCaption, "ccNone", "ccAtEnd", "ccWithinPath")

// An angle in degrees brought into 0 .. 359.
int NormalizedAngle(int degrees);
// The size a W x H box needs when rotated by an angle: its bounding box.
TSize RotatedBoundingBox(int width, int height, int degrees);
// The point rotated or curved text turns about in a W x H label with border width bw; flat
// rotation always turns about the middle.
TPoint RotationCenter(TCenterPoint point, TRotation rotation, int width, int height, int borderWidth);
// The radii (x, y) of the arc curved text follows.
TPoint CurveRadii(TCenterPoint point, int width, int height, int borderWidth);

class TRzLabel : public TLabel, public IRzCustomFraming {
    QUILLORA_COMPONENT(TRzLabel)
public:
    explicit TRzLabel(TComponent* owner);
    ~TRzLabel() override;

    void CustomFramingChanged() override;
    virtual void BlinkStateChanged(int state);
    // Adds the borders, margin, shadow and rotation to the size of the text.
    virtual TRect GrowRectForBorders(const TRect& r) const;
    virtual TRect ShrinkRectForBorders(const TRect& r, bool includeBorderWidth) const;
    // Sizes the label to its text (AutoSize) with the text measured by TextMeasurer.
    void AdjustStyledBounds();
    void AdjustBounds() override { AdjustStyledBounds(); }
    // Measures the caption for a DrawText flag set (DT_CALCRECT); the screen's fonts unless
    // replaced.
    std::function<TSize(const WideString& text, UINT flags)> TextMeasurer;

    int Angle() const { return angle_; }
    virtual void SetAngle(int v);
    TRotation Rotation() const { return rotation_; }
    virtual void SetRotation(TRotation v);
    TCenterPoint CenterPoint() const { return centerPoint_; }
    virtual void SetCenterPoint(TCenterPoint v) { Change(centerPoint_, v); }
    bool Blinking() const { return blinking_; }
    virtual void SetBlinking(bool v);
    TColor BlinkColor() const { return blinkColor_; }
    virtual void SetBlinkColor(TColor v) { Change(blinkColor_, v); }
    // The blink timings are shared by every blinking control.
    int BlinkIntervalOff() const { return BlinkingControls().IntervalOff; }
    virtual void SetBlinkIntervalOff(int v) { BlinkingControls().IntervalOff = static_cast<std::uint16_t>(v); }
    int BlinkIntervalOn() const { return BlinkingControls().IntervalOn; }
    virtual void SetBlinkIntervalOn(int v) { BlinkingControls().IntervalOn = static_cast<std::uint16_t>(v); }
    int BevelWidth() const { return bevelWidth_; }
    virtual void SetBevelWidth(int v) { Resize(bevelWidth_, v); }
    TFrameStyleEx BorderInner() const { return borderInner_; }
    virtual void SetBorderInner(TFrameStyleEx v) { Resize(borderInner_, v); }
    TFrameStyleEx BorderOuter() const { return borderOuter_; }
    virtual void SetBorderOuter(TFrameStyleEx v) { Resize(borderOuter_, v); }
    TSides BorderSides() const { return borderSides_; }
    virtual void SetBorderSides(TSides v) { Resize(borderSides_, v); }
    int BorderWidth() const { return borderWidth_; }
    virtual void SetBorderWidth(int v) { Resize(borderWidth_, v); }
    TColor BorderColor() const { return borderColor_; }
    virtual void SetBorderColor(TColor v) { Change(borderColor_, v); }
    TColor BorderHighlight() const { return borderHighlight_; }
    virtual void SetBorderHighlight(TColor v) { Change(borderHighlight_, v); }
    TColor BorderShadow() const { return borderShadow_; }
    virtual void SetBorderShadow(TColor v) { Change(borderShadow_, v); }
    TRzCondenseCaption CondenseCaption() const { return condense_; }
    virtual void SetCondenseCaption(TRzCondenseCaption v);
    TColor FlatColor() const { return flatColor_; }
    virtual void SetFlatColor(TColor v) { Change(flatColor_, v); }
    int FlatColorAdjustment() const { return flatColorAdjustment_; }
    virtual void SetFlatColorAdjustment(int v) { Change(flatColorAdjustment_, v); }
    TRzFrameController* FrameController() const { return frameController_; }
    virtual void SetFrameController(TRzFrameController* v) { LinkFrameController(*this, frameController_, v); }
    TRzFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
    void SetFrameControllerNotifications(TRzFrameControllerNotifications v) { notifications_ = v; }
    TColor FlyByColor() const { return flyByColor_; }
    virtual void SetFlyByColor(TColor v) { Change(flyByColor_, v); }
    bool FlyByEnabled() const { return flyByEnabled_; }
    virtual void SetFlyByEnabled(bool v);
    bool LightTextStyle() const { return lightTextStyle_; }
    virtual void SetLightTextStyle(bool v) { Change(lightTextStyle_, v); }
    TColor HighlightColor() const { return highlightColor_; }
    virtual void SetHighlightColor(TColor v) { Change(highlightColor_, v); }
    TColor ShadowColor() const { return shadowColor_; }
    virtual void SetShadowColor(TColor v) { Change(shadowColor_, v); }
    int ShadowDepth() const { return shadowDepth_; }
    virtual void SetShadowDepth(int v) { Change(shadowDepth_, v); }
    int TextMargin() const { return textMargin_; }
    virtual void SetTextMargin(int v) { Change(textMargin_, v); }
    TTextStyle TextStyle() const { return textStyle_; }
    virtual void SetTextStyle(TTextStyle v) { Change(textStyle_, v); }
    // The colour the text is drawn in now: the font's, or the blink colour.
    TColor CurrentColor() const { return currentColor_; }

protected:
    void Paint() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void DefineProperties(TFiler* filer) override;

private:
    template <class T>
    void Change(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    template <class T>
    void Resize(T& field, const T& value) {
        if (field == value) return;
        field = value;
        AdjustStyledBounds();
        Invalidate();
    }
    UINT TextFlags() const;
    // The raised, recessed or shadow passes and the text: pass(dx, dy, colour) draws one.
    void DrawPasses(const std::function<void(int dx, int dy, TColor color)>& pass, int shadowOffset, int textOffset) const;
    void DrawStyledText(TCanvas& canvas, TRect r, UINT flags);
    void DrawRotatedText(TCanvas& canvas, const TRect& r, UINT flags);
    void DrawCurvedText(TCanvas& canvas);
    void SubstituteRotatableFont();

    int angle_ = 0;
    TRotation rotation_ = roNone;
    TCenterPoint centerPoint_ = cpCenter;
    bool blinking_ = false;
    TColor blinkColor_ = clHighlight;
    int bevelWidth_ = 1;
    TFrameStyleEx borderInner_ = fsNone, borderOuter_ = fsNone;
    TSides borderSides_ = sdAllSides;
    int borderWidth_ = 0;
    TColor borderColor_ = clBtnFace, borderHighlight_ = clBtnHighlight, borderShadow_ = clBtnShadow;
    TRzCondenseCaption condense_ = ccNone;
    TColor flatColor_ = clBtnShadow;
    int flatColorAdjustment_ = 30;
    TRzFrameController* frameController_ = nullptr;
    TRzFrameControllerNotifications notifications_ = fccAll;
    TColor flyByColor_ = clHighlight;
    bool flyByEnabled_ = false;
    bool lightTextStyle_ = false;
    TColor highlightColor_ = clBtnHighlight, shadowColor_ = clBtnShadow;
    int shadowDepth_ = 2;
    int textMargin_ = 0;
    TTextStyle textStyle_ = tsNormal;
    TColor textColor_ = clWindowText;
    TColor currentColor_ = clWindowText;
    TColor savedFontColor_ = clWindowText;
    bool flyByShown_ = false;  // the fly-by colour replaces the font's while the pointer is over
    bool initColor_ = false;
    bool substituting_ = false;
};
