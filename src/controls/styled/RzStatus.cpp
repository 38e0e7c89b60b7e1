#include "controls/styled/RzStatus.h"

#include <algorithm>
#include <cmath>

#include "controls/styled/BlinkingControlsList.h"
#include "platform/vcl/Gdi.h"

namespace {

// The hit-test answers the size grip needs.
inline constexpr LRESULT kHitTransparent = -1;
inline constexpr int kGripWidth = 12;

}  // namespace

const TMetaClass& TRzCustomStatusPane::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomStatusPane>(
        "TRzCustomStatusPane", &TGraphicControl::StaticClass(), [](TClassBuilder<TRzCustomStatusPane>& b) {
            using C = TRzCustomStatusPane;
            b.Property("BorderWidth", &C::BorderWidth, &C::SetBorderWidth).Default(1);
            b.Property("ParentFillColor", &C::ParentFillColor, &C::SetParentFillColor).Default(true);
            b.Property("FillColor", &C::FillColor, &C::SetFillColor)
                .Type(ColorTypeInfo())
                .Stored([](const TObject& o) { return !static_cast<const C&>(o).ParentFillColor(); });
            b.Property("FlatColor", &C::FlatColor, &C::SetFlatColor).Type(ColorTypeInfo()).Default(clBtnShadow);
            b.Property("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
            b.Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle).Default(fsFlat);
            b.Property("Transparent", &C::Transparent, &C::SetTransparent).Default(true);
        });
    return meta;
}

const TMessageTable& TRzCustomStatusPane::ClassMessages() {
    static const TMessageTable table(&TGraphicControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_TEXTCHANGED, TRzCustomStatusPane::CMTextChanged),
        MESSAGE_HANDLER(CM_FONTCHANGED, TRzCustomStatusPane::CMFontChanged),
        MESSAGE_HANDLER(CM_COLORCHANGED, TRzCustomStatusPane::CMColorChanged),
        MESSAGE_HANDLER(CM_PARENTCOLORCHANGED, TRzCustomStatusPane::CMParentColorChanged),
        MESSAGE_HANDLER(CM_BLINKQUERY, TRzCustomStatusPane::CMBlinkQuery),
        MESSAGE_HANDLER(CM_BLINKSTATE, TRzCustomStatusPane::CMBlinkState),
        MESSAGE_HANDLER(WM_NCHITTEST, TRzCustomStatusPane::WMNCHitTest),
    });
    return table;
}

TRzCustomStatusPane::TRzCustomStatusPane(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 100, 20);
    SetParentColor(true);
    fillColor_ = Color();
    fontColor_ = currentColor_ = Font()->Color();
    BlinkingControls().AddControl(this);
    registered_ = true;
}

TRzCustomStatusPane::~TRzCustomStatusPane() {
    if (registered_ && BlinkingControlsExist()) {
        BlinkingControls().RemoveControl(this);
        DropBlinkingListWhenEmpty();
    }
}

IStatusBarHost* TRzCustomStatusPane::Host() const { return dynamic_cast<IStatusBarHost*>(Parent()); }

// ---- settings

void TRzCustomStatusPane::SetAlignment(TAlignment a) {
    if (alignment_ == a) return;
    alignment_ = a;
    Invalidate();
}
void TRzCustomStatusPane::SetAutoSize(bool v) {
    if (autoSize_ == v) return;
    autoSize_ = v;
    AdjustSize();
}
void TRzCustomStatusPane::SetDefaultWidth(int v) {
    defaultWidth_ = v;
    AdjustSize();
}
void TRzCustomStatusPane::SetBlinkColor(TColor c) {
    blinkColor_ = c;
    Invalidate();
}
void TRzCustomStatusPane::SetBlinking(bool v) {
    blinking_ = v;
    if (!v) {
        currentColor_ = fontColor_;
        Repaint();
    }
}
void TRzCustomStatusPane::SetBorderWidth(int v) {
    borderWidth_ = v;
    Invalidate();
}
void TRzCustomStatusPane::SetCaptionOffset(int v) {
    captionOffset_ = v;
    Invalidate();
    AdjustSize();
}
void TRzCustomStatusPane::SetParentFillColor(bool v) {
    parentFillColor_ = v;
    if (v && Parent() && !ControlState().Contains(csReadingState)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}
void TRzCustomStatusPane::SetFillColor(TColor c) {
    parentFillColor_ = false;
    fillColor_ = c;
    Invalidate();
}
void TRzCustomStatusPane::SetFlatColor(TColor c) {
    flatColor_ = c;
    Invalidate();
}
void TRzCustomStatusPane::SetFlatColorAdjustment(int v) {
    flatColorAdjustment_ = v;
    Invalidate();
}
void TRzCustomStatusPane::SetFrameStyle(TFrameStyle s) {
    frameStyle_ = s;
    Invalidate();
}
void TRzCustomStatusPane::SetTransparent(bool v) {
    transparent_ = v;
    if (v) controlStyle_ >> csOpaque;
    else controlStyle_ << csOpaque;
    Invalidate();
}

void TRzCustomStatusPane::CustomFramingChanged(const TRzFramingSettings& s) {
    if (!s.FrameVisible) return;
    if (notifications_.Contains(fcpFrameStyle)) frameStyle_ = s.FrameStyle;
    if (notifications_.Contains(fcpFrameColor)) {
        flatColor_ = s.FrameColor;
        flatColorAdjustment_ = 0;
    }
    if (notifications_.Contains(fcpColor)) SetFillColor(s.Color);
    if (notifications_.Contains(fcpParentColor)) SetParentColor(s.ParentColor);
    Invalidate();
}

// ---- size

int TRzCustomStatusPane::GetAutoWidth() {
    const WideString text = Caption();
    if (text.empty()) return defaultWidth_;
    int width = 0;
    if (MeasureText) {
        width = MeasureText(text);
    } else {
        TBitmap scratch;
        scratch.SetSize(1, 1);
        scratch.Canvas()->Font()->Assign(Font());
        TRect r(0, 0, 0, 0);
        scratch.Canvas()->TextRect(r, text, {tfCalcRect, tfExpandTabs, tfNoPrefix});
        width = r.Width();
    }
    return 2 * borderWidth_ + width + captionOffset_ + 6;
}

void TRzCustomStatusPane::AdjustSize() {
    if (!autoSize_ || ControlState().Contains(csReadingState)) return;
    SetWidth(GetAutoWidth());
}

void TRzCustomStatusPane::Loaded() {
    TGraphicControl::Loaded();
    if (!ParentColor()) SetTransparent(false);
    fontColor_ = currentColor_ = Font()->Color();
    AdjustSize();
}

// ---- messages

void TRzCustomStatusPane::CMTextChanged(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    Invalidate();
    AdjustSize();
}

void TRzCustomStatusPane::CMFontChanged(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    if (!ComponentState().Contains(csLoading)) {
        fontColor_ = Font()->Color();
        if (!blinking_) currentColor_ = fontColor_;
    }
    AdjustSize();
}

void TRzCustomStatusPane::CMColorChanged(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    if (parentFillColor_) fillColor_ = Color();
    Invalidate();
}

void TRzCustomStatusPane::CMParentColorChanged(TMessage& m) {
    InheritedMessage(TGraphicControl::ClassMessages(), m);
    if (parentFillColor_) fillColor_ = Color();
    Invalidate();
}

bool TRzCustomStatusPane::InSizeGripArea(int x, int) const {
    const IStatusBarHost* host = Host();
    if (!host || !host->ShowsSizeGrip() || !Parent()) return false;
    if (Left() + Width() < Parent()->ClientWidth()) return false;
    return x >= Width() - kGripWidth;
}

void TRzCustomStatusPane::WMNCHitTest(TMessage& m) {
    const TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
    if (InSizeGripArea(p.x, p.y)) {
        // The bar answers for its grip.
        m.Result = Parent()->Perform(WM_NCHITTEST, m.WParam, m.LParam);
        if (m.Result == 0) m.Result = kHitTransparent;
        return;
    }
    InheritedMessage(TGraphicControl::ClassMessages(), m);
}

void TRzCustomStatusPane::SetBlinkState(bool on) {
    if (!blinking_) return;
    currentColor_ = on ? blinkColor_ : fontColor_;
    Repaint();
}

// ---- painting

TRect TRzCustomStatusPane::GetInnerRect() const {
    TRect r = ClientRect();
    int frame = 1;
    switch (frameStyle_) {
    case fsNone: frame = 0; break;
    case fsFlat:
    case fsStatus:
    case fsPopup: frame = 1; break;
    default: frame = 2; break;
    }
    r.Inflate(-(borderWidth_ + frame), -(borderWidth_ + frame));
    return r;
}

void TRzCustomStatusPane::DrawFrame(TCanvas& canvas) {
    TRect r = ClientRect();
    if (!transparent_) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(r);
    }
    r.Inflate(-borderWidth_, -borderWidth_);
    if (const IStatusBarHost* host = Host(); host && host->DrawsGradient()) {
        if (Left() <= host->LeadingBorderEnd()) return;
        TColor first, second, third;
        GetStatusGradientColors(host->GradientColorStyle(), first, second, third);
        canvas.Pen()->SetColor(third);
        canvas.MoveTo(r.left, r.top + 1);
        canvas.LineTo(r.left, r.bottom - 1);
        return;
    }
    if (frameStyle_ != fsFlat) {
        PaintFrameBorder(canvas, r, frameStyle_);
        return;
    }
    canvas.Pen()->SetColor(AdjustedColor(flatColor_, flatColorAdjustment_));
    canvas.MoveTo(r.left, r.top + 1);
    canvas.LineTo(r.left, r.bottom - 1);
    canvas.MoveTo(r.right - 1, r.top + 1);
    canvas.LineTo(r.right - 1, r.bottom - 1);
    canvas.MoveTo(r.left + 1, r.top);
    canvas.LineTo(r.right - 1, r.top);
    canvas.MoveTo(r.left + 1, r.bottom - 1);
    canvas.LineTo(r.right - 1, r.bottom - 1);
}

void TRzCustomStatusPane::DrawCaption(TCanvas& canvas, const WideString& text) {
    canvas.Font()->Assign(Font());
    canvas.Font()->SetColor(Enabled() ? currentColor_ : clGrayText);
    const TRect inner = GetInnerRect();
    TAlignment a = alignment_;
    if (UseRightToLeftAlignment()) a = a == taLeftJustify ? taRightJustify : (a == taRightJustify ? taLeftJustify : a);
    const int width = canvas.TextWidth(text);
    int x = inner.left + captionOffset_ + 1;
    if (a == taRightJustify) x = inner.right - captionOffset_ - 1 - width;
    else if (a == taCenter) x = (inner.left + inner.right) / 2 - width / 2;
    const int y = inner.top + (inner.Height() - canvas.TextHeight(u"Pp")) / 2;
    if (transparent_) {
        canvas.Brush()->SetStyle(bsClear);
    } else {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(fillColor_);
    }
    canvas.TextRect(inner, x, y, text);
    canvas.Brush()->SetStyle(bsSolid);
}

void TRzCustomStatusPane::Paint() {
    DrawFrame(*Canvas());
    DrawCaption(*Canvas(), Caption());
}

// ---- progress

const TMetaClass& TRzStatusPane::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzStatusPane>("TRzStatusPane", &TRzCustomStatusPane::StaticClass());
    return meta;
}

const TMetaClass& TRzProgressStatus::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzProgressStatus>(
        "TRzProgressStatus", &TRzCustomStatusPane::StaticClass(), [](TClassBuilder<TRzProgressStatus>& b) {
            using C = TRzProgressStatus;
            b.Property("BackColor", &C::BackColor, &C::SetBackColor).Type(ColorTypeInfo()).Default(clBtnFace);
            b.Property("BarColor", &C::BarColor, &C::SetBarColor).Type(ColorTypeInfo()).Default(clHighlight);
            b.Property("BarStyle", &C::BarStyle, &C::SetBarStyle).Default(bsTraditional);
            b.Property("NumSegments", &C::NumSegments, &C::SetNumSegments).Default(15);
            b.Property("PartsComplete", [](const C& c) { return static_cast<int>(c.PartsComplete()); },
                       [](C& c, int v) { c.SetPartsComplete(static_cast<std::uint32_t>(std::max(v, 0))); })
                .Default(0);
            b.Property("Percent", &C::Percent, &C::SetPercent).Default(0);
            b.Property("ShowPercent", &C::ShowPercent, &C::SetShowPercent).Default(false);
            b.Property("TotalParts", [](const C& c) { return static_cast<int>(c.TotalParts()); },
                       [](C& c, int v) { c.SetTotalParts(static_cast<std::uint32_t>(std::max(v, 0))); })
                .Default(0);
        });
    return meta;
}

TRzProgressStatus::TRzProgressStatus(TComponent* owner) : TRzCustomStatusPane(owner) { SetShowHint(true); }

void TRzProgressStatus::SetBackColor(TColor c) {
    backColor_ = c;
    Invalidate();
}
void TRzProgressStatus::SetBackColorStop(TColor c) {
    backColorStop_ = c;
    Invalidate();
}
void TRzProgressStatus::SetBarColor(TColor c) {
    barColor_ = c;
    Invalidate();
}
void TRzProgressStatus::SetBarColorStop(TColor c) {
    barColorStop_ = c;
    Invalidate();
}
void TRzProgressStatus::SetBarStyle(TBarStyle s) {
    barStyle_ = s;
    showPercent_ = false;
    Invalidate();
}
void TRzProgressStatus::SetGradientDirection(TGradientDirection d) {
    gradientDirection_ = d;
    Invalidate();
}
void TRzProgressStatus::SetNumSegments(int n) {
    numSegments_ = std::clamp(n, 1, 100);
    Invalidate();
}
void TRzProgressStatus::SetShowPercent(bool v) {
    showPercent_ = v;
    Invalidate();
}

void TRzProgressStatus::SetPartsComplete(std::uint32_t value) {
    if (value == partsComplete_) return;
    if (value > totalParts_) value = totalParts_;
    partsComplete_ = value;
    if (ComponentState().Contains(csLoading) || totalParts_ == 0) return;
    // Halves go to the even neighbour under the default rounding mode.
    SetPercent(static_cast<int>(std::nearbyint(static_cast<double>(value) / totalParts_ * 100.0)));
}

void TRzProgressStatus::SetTotalParts(std::uint32_t value) {
    if (value == totalParts_) return;
    totalParts_ = value;
    if (ComponentState().Contains(csLoading)) return;
    partsComplete_ = 0;
    SetPercent(0);
}

void TRzProgressStatus::SetPercent(int value) {
    const auto v = static_cast<std::uint16_t>(value);
    if (v == percent_) return;
    percent_ = v;
    Repaint();
}

void TRzProgressStatus::Paint() {
    TCanvas& c = *Canvas();
    DrawFrame(c);
    c.Font()->Assign(Font());
    TRect r = GetInnerRect();
    r.top += 1;
    r.bottom -= 1;
    // A stored percentage above 100 fills the bar and no more.
    const int percent = std::min<int>(percent_, 100);
    switch (barStyle_) {
    case bsTraditional: PaintProgressPercentText(c, r, false, true, showPercent_, percent, backColor_, barColor_); break;
    case bsLED: PaintProgressBarThemed(c, r, false, true, false, percent, numSegments_, backColor_, barColor_); break;
    case bsGradient:
        PaintGradientProgress(c, r, false, true, showPercent_, percent, gradientDirection_, backColorStop_, backColor_,
                              barColorStop_, barColor_);
        break;
    }
}
