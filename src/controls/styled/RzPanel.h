// The framed panel: inner and outer borders in any frame style on chosen sides, a colour or
// gradient fill, transparency, a dot or line grid, a caption with margins and vertical
// alignment, and children that keep their own disabled state across disabling the panel.
#pragma once

#include <utility>
#include <vector>

#include "controls/styled/DrawHelpers.h"
#include "controls/styled/RzButton.h"
#include "platform/vcl/ExtCtrls.h"

enum TRzVisualStyle { vsClassic, vsWinXP, vsGradient };
QUILLORA_ENUM_TYPEINFO(TRzVisualStyle, "vsClassic", "vsWinXP", "vsGradient")
enum TRzGridStyle { gsDots = 0, gsDottedLines = 1, gsSolidLines = 2 };
QUILLORA_ENUM_TYPEINFO(TRzGridStyle, "gsDots", "gsDottedLines", "gsSolidLines")

class TRzCustomPanel : public TCustomPanel {
    QUILLORA_COMPONENT(TRzCustomPanel)
    QUILLORA_MESSAGES()
public:
    explicit TRzCustomPanel(TComponent* owner);

    TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
    void SetAlignmentVertical(TAlignmentVertical v) { Store(alignmentVertical_, v); }
    TFrameStyleEx BorderInner() const { return borderInner_; }
    void SetBorderInner(TFrameStyleEx v) { StoreAndRealign(borderInner_, v); }
    TFrameStyleEx BorderOuter() const { return borderOuter_; }
    void SetBorderOuter(TFrameStyleEx v) { StoreAndRealign(borderOuter_, v); }
    TSides BorderSides() const { return borderSides_; }
    void SetBorderSides(TSides v) { StoreAndRealign(borderSides_, v); }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v) { Store(borderColor_, v); }
    TColor BorderHighlight() const { return borderHighlight_; }
    void SetBorderHighlight(TColor v) { Store(borderHighlight_, v); }
    TColor BorderShadow() const { return borderShadow_; }
    void SetBorderShadow(TColor v) { Store(borderShadow_, v); }
    TColor FlatColor() const { return flatColor_; }
    void SetFlatColor(TColor v) { Store(flatColor_, v); }
    int FlatColorAdjustment() const { return flatColorAdjustment_; }
    void SetFlatColorAdjustment(int v) { Store(flatColorAdjustment_, v); }
    bool PaintClientArea() const { return paintClientArea_; }
    void SetPaintClientArea(bool v) { Store(paintClientArea_, v); }
    TRzVisualStyle VisualStyle() const { return visualStyle_; }
    void SetVisualStyle(TRzVisualStyle v) { Store(visualStyle_, v); }
    TRzGradientColorStyle GradientColorStyle() const { return gradientColorStyle_; }
    void SetGradientColorStyle(TRzGradientColorStyle v) { Store(gradientColorStyle_, v); }
    TColor GradientColorStart() const { return gradientColorStart_; }
    void SetGradientColorStart(TColor v) { StoreGradient(gradientColorStart_, v); }
    TColor GradientColorStop() const { return gradientColorStop_; }
    void SetGradientColorStop(TColor v) { StoreGradient(gradientColorStop_, v); }
    TGradientDirection GradientDirection() const { return gradientDirection_; }
    void SetGradientDirection(TGradientDirection v) { StoreGradient(gradientDirection_, v); }
    bool ShowGrid() const { return showGrid_; }
    void SetShowGrid(bool v) { Store(showGrid_, v); }
    TColor GridColor() const { return gridColor_; }
    void SetGridColor(TColor v) { Store(gridColor_, v); }
    TRzGridStyle GridStyle() const { return gridStyle_; }
    void SetGridStyle(TRzGridStyle v) { Store(gridStyle_, v); }
    int GridXSize() const { return gridXSize_; }
    void SetGridXSize(int v) { Store(gridXSize_, static_cast<std::uint16_t>(v)); }
    int GridYSize() const { return gridYSize_; }
    void SetGridYSize(int v) { Store(gridYSize_, static_cast<std::uint16_t>(v)); }
    int TextMargin() const { return textMargin_; }
    void SetTextMargin(int v) { Store(textMargin_, v); }
    int TextMarginVertical() const { return textMarginVertical_; }
    void SetTextMarginVertical(int v) { Store(textMarginVertical_, v); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v) { Store(wordWrap_, v); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool ShowDockClientCaptions() const { return showDockClientCaptions_; }
    void SetShowDockClientCaptions(bool v) { Store(showDockClientCaptions_, v); }
    bool FullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool v) { fullRepaint_ = v; }

    // Shrinks r by the borders on their sides (and by BorderWidth when asked).
    virtual void AdjustRectForBorders(TRect& r, bool includeBorderWidth) const;
    virtual void GetGradientColors(TColor& start, TColor& stop) const;
    virtual void GetFlatColors(TColor& flatColor, int& adjustment) const;
    void SetBounds(int left, int top, int width, int height) override;
    // Reads the older "FrameSides", "ThemeAware" and "UseGradients".
    void DefineProperties(TFiler* filer) override;

    TNotifyEvent OnPaint;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) const override;
    virtual void PaintCaptionText(TRect r);
    virtual void DrawGrid(const TRect& r);

    void WMEraseBkgnd(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void WMThemeChanged(TMessage& m);

private:
    template <class T>
    void Store(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    template <class T>
    void StoreAndRealign(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Realign();
        Invalidate();
    }
    template <class T>
    void StoreGradient(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Invalidate();
        InvalidateTransparentChildren(this);
    }

    TAlignmentVertical alignmentVertical_ = avCenter;
    TFrameStyleEx borderInner_ = fsNone, borderOuter_ = fsRaised;
    TSides borderSides_ = sdAllSides;
    TColor borderColor_ = clBtnFace, borderHighlight_ = clBtnHighlight, borderShadow_ = clBtnShadow;
    TColor flatColor_ = clBtnShadow;
    int flatColorAdjustment_ = 30;
    bool paintClientArea_ = true;
    TRzVisualStyle visualStyle_ = vsWinXP;
    TRzGradientColorStyle gradientColorStyle_ = gcsSystem;
    TColor gradientColorStart_ = clWhite, gradientColorStop_ = clBtnFace;
    TGradientDirection gradientDirection_ = gdHorizontalEnd;
    bool showGrid_ = false;
    TColor gridColor_ = clBtnShadow;
    TRzGridStyle gridStyle_ = gsDots;
    std::uint16_t gridXSize_ = 8, gridYSize_ = 8;
    int textMargin_ = 0, textMarginVertical_ = 0;
    bool wordWrap_ = true;
    bool transparent_ = false;
    bool showDockClientCaptions_ = true;
    bool fullRepaint_ = true;
    // The children and whether each was enabled when the panel was disabled.
    std::vector<std::pair<TControl*, bool>> enabledList_;
};

class TRzPanel : public TRzCustomPanel {
    QUILLORA_COMPONENT(TRzPanel)
public:
    using TRzCustomPanel::TRzCustomPanel;
};

// The border, colour and gradient properties the framed bars publish. T's own setters are the
// ones a form file calls (a bar whose explicit border stops its automatic style).
template <class T>
void PublishPanelFrame(TClassBuilder<T>& b) {
    b.Property("BorderColor", &T::BorderColor, &T::SetBorderColor).Default(clBtnFace).Type(ColorTypeInfo());
    b.Property("BorderInner", &T::BorderInner, &T::SetBorderInner).NoDefault();
    b.Property("BorderOuter", &T::BorderOuter, &T::SetBorderOuter).NoDefault();
    b.Property("BorderSides", &T::BorderSides, &T::SetBorderSides).NoDefault();
    b.Property("BorderWidth", &T::BorderWidth, &T::SetBorderWidth).Default(0);
    b.Property("FlatColor", &T::FlatColor, &T::SetFlatColor).Default(clBtnShadow).Type(ColorTypeInfo());
    b.Property("FlatColorAdjustment", &T::FlatColorAdjustment, &T::SetFlatColorAdjustment).Default(30);
    b.Property("GradientColorStyle", &T::GradientColorStyle, &T::SetGradientColorStyle).Default(gcsSystem);
    b.Property("GradientColorStart", &T::GradientColorStart, &T::SetGradientColorStart).Default(clWhite).Type(ColorTypeInfo());
    b.Property("GradientColorStop", &T::GradientColorStop, &T::SetGradientColorStop).Default(clBtnFace).Type(ColorTypeInfo());
    b.Property("GradientDirection", &T::GradientDirection, &T::SetGradientDirection).Default(gdHorizontalEnd);
    b.Property("VisualStyle", &T::VisualStyle, &T::SetVisualStyle).Default(vsWinXP);
}

void RegisterStyledPanels();
