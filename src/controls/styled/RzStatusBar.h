// The styled status bar: a framed panel at the bottom of a form holding status panes, or one
// simple caption instead, with a size grip that resizes the form and panes that can scale with
// the bar's width; and the spacer that leaves a gap, optionally grooved, between toolbar items.
#pragma once

#include "controls/styled/RzPanel.h"
#include "controls/styled/RzStatus.h"
#include "controls/styled/RzTabs.h"

class TRzStatusBar : public TRzCustomPanel, public IStatusBarHost {
    QUILLORA_COMPONENT(TRzStatusBar)
    QUILLORA_MESSAGES()
public:
    explicit TRzStatusBar(TComponent* owner);

    bool AutoStyle() const { return autoStyle_; }
    void SetAutoStyle(bool v) { autoStyle_ = v; }
    bool ShowSizeGrip() const { return showSizeGrip_; }
    virtual void SetShowSizeGrip(bool v);
    const WideString& SimpleCaption() const { return simpleCaption_; }
    virtual void SetSimpleCaption(const WideString& v);
    bool SimpleStatus() const { return simpleStatus_; }
    virtual void SetSimpleStatus(bool v);
    TFrameStyle SimpleFrameStyle() const { return simpleFrameStyle_; }
    virtual void SetSimpleFrameStyle(TFrameStyle v);
    bool AutoScalePanes() const { return autoScalePanes_; }
    void SetAutoScalePanes(bool v) { autoScalePanes_ = v; }

    // A change of the borders is a style of the user's own: the automatic style stops applying.
    void SetBorderInner(TFrameStyleEx v);
    void SetBorderOuter(TFrameStyleEx v);
    void SetBorderSides(TSides v);

    virtual void ApplyAutoStyle();
    // The grip works while the parent form is sizeable and not maximised.
    bool SizeGripValid() const { return sizeGripValid_; }
    TRect SizeGripRect() const { return TRect(Width() - 13, 0, Width(), Height()); }

    TRect ClientRect() const override;
    void Loaded() override;

    // IStatusBarHost: what the panes on the bar ask it.
    bool DrawsThemed() const override;
    bool DrawsGradient() const override { return VisualStyle() == vsGradient; }
    bool ShowsSizeGrip() const override { return showSizeGrip_ && sizeGripValid_; }
    int LeadingBorderEnd() const override { return ClientRect().left; }
    TRzGradientColorStyle GradientColorStyle() const override { return TRzCustomPanel::GradientColorStyle(); }

protected:
    // The grip stays the bar's where a pane covers it.
    void WndProc(TMessage& message) override;
    void Paint() override;
    virtual void DrawSimpleFrame(const TRect& r);
    void GetGradientColors(TColor& start, TColor& stop) const override;
    void CreateWnd() override;
    void Resize() override;
    void MouseMove(TShiftState shift, int x, int y) override;

    void WMLButtonDown(TMessage& m);

private:
    void TestSizeGrip();
    bool OverGrip(int x, int y) const;
    void UpdateGripCursor(int x, int y);
    void DrawSizeGrip();

    bool autoStyle_ = true;
    bool showSizeGrip_ = true;
    bool sizeGripValid_ = false;
    bool simpleStatus_ = false;
    TFrameStyle simpleFrameStyle_ = fsFlat;
    WideString simpleCaption_;
    bool autoScalePanes_ = false;
    bool firstResize_ = true;
    int lastWidth_ = 0;
    TCursor cursorOffGrip_ = crDefault;
    bool cursorOnGrip_ = false;
};

class TRzSpacer : public TGraphicControl {
    QUILLORA_COMPONENT(TRzSpacer)
public:
    explicit TRzSpacer(TComponent* owner);

    bool Grooved() const { return grooved_; }
    void SetGrooved(bool v);
    TOrientation Orientation() const { return orientation_; }
    void SetOrientation(TOrientation v);

protected:
    void Paint() override;

private:
    bool grooved_ = false;
    TOrientation orientation_ = orHorizontal;
};

void RegisterStyledStatusBar();
