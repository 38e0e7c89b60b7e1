#include "controls/styled/RzLabel.h"

#include <cmath>
#include <numbers>

#include "controls/styled/BlinkingControlsList.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"

namespace {

// The room a border style takes on one side.
int StyleAllowance(TFrameStyleEx style, int bevelWidth) {
    switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth;
    default: return 2;
    }
}

TRect Sided(const TRect& r, TSides sides, int n) {
    TRect out = r;
    if (sides.Contains(sdLeft)) out.left += n;
    if (sides.Contains(sdTop)) out.top += n;
    if (sides.Contains(sdRight)) out.right -= n;
    if (sides.Contains(sdBottom)) out.bottom -= n;
    return out;
}

}  // namespace

int NormalizedAngle(int degrees) { return ((degrees % 360) + 360) % 360; }

TSize RotatedBoundingBox(int w, int h, int degrees) {
    const double t = degrees * std::numbers::pi / 180.0;
    const double c = std::fabs(std::cos(t)), s = std::fabs(std::sin(t));
    return TSize{static_cast<int>(std::lround(w * c + h * s)), static_cast<int>(std::lround(w * s + h * c))};
}

TRzLabel::TRzLabel(TComponent* owner) : TLabel(owner) {
    controlStyle_ << csOpaque;
    initColor_ = true;
    SetColor(clBtnFace);
    SetParentColor(true);
    initColor_ = false;
    textColor_ = currentColor_ = Font()->Color();
    BlinkingControls().AddControl(this);
}

TRzLabel::~TRzLabel() {
    SetFrameController(nullptr);
    BlinkingControls().RemoveControl(this);
    DropBlinkingListWhenEmpty();
}

void TRzLabel::SubstituteRotatableFont() {
    // Rotation needs a scalable font; the usual sans face is one.
    if (FontIsTrueType(*Font())) return;
    // The substitute is taken as scalable even where the face is missing: the font-change check
    // below must not undo the angle that asked for it.
    substituting_ = true;
    Font()->SetName(u"Verdana");
    substituting_ = false;
}

void TRzLabel::SetAngle(int v) {
    const int a = NormalizedAngle(v);
    if (a == angle_) return;
    angle_ = a;
    if (!ComponentState().Contains(csLoading) && a != 0) SubstituteRotatableFont();
    if (a != 0 && rotation_ == roNone) rotation_ = roFlat;
    AdjustStyledBounds();
    Invalidate();
}

void TRzLabel::SetRotation(TRotation v) {
    if (rotation_ == v) return;
    if (!ComponentState().Contains(csLoading) && v != roNone) SubstituteRotatableFont();
    rotation_ = v;
    if (v != roCurve) angle_ = 0;
    if (v == roFlat) centerPoint_ = cpCenter;
    Invalidate();
}

void TRzLabel::SetBlinking(bool v) {
    if (blinking_ == v) return;
    blinking_ = v;
    if (!v) {
        currentColor_ = textColor_;
        Invalidate();
    }
}

void TRzLabel::BlinkStateChanged(int state) {
    if (!blinking_) return;
    currentColor_ = state == 1 ? blinkColor_ : textColor_;
    Invalidate();
}

void TRzLabel::SetCondenseCaption(TRzCondenseCaption v) {
    if (condense_ == v) return;
    condense_ = v;
    if (v != ccNone) SetAutoSize(false);
    Invalidate();
}

void TRzLabel::SetFlyByEnabled(bool v) {
    if (flyByEnabled_ == v) return;
    flyByEnabled_ = v;
    // Only a fly-by colour on show hides the font's own colour.
    if (!v && flyByShown_) {
        flyByShown_ = false;
        Font()->SetColor(savedFontColor_);
    }
    Invalidate();
}

void TRzLabel::CustomFramingChanged() {
    TRzFrameController* fc = frameController_;
    if (!fc || !fc->FrameVisible()) return;
    const TRzFrameControllerNotifications n = notifications_;
    // Through the setters: an auto-sized label grows or shrinks with the new frame.
    if (n.Contains(fcpFrameStyle)) SetBorderOuter(fc->FrameStyle());
    if (n.Contains(fcpFrameSides)) SetBorderSides(fc->FrameSides());
    if (n.Contains(fcpFrameColor)) {
        flatColor_ = fc->FrameColor();
        flatColorAdjustment_ = 0;
    }
    if (n.Contains(fcpColor)) SetColor(fc->Color());
    if (n.Contains(fcpParentColor)) SetParentColor(fc->ParentColor());
    if (n.Contains(fcpColor)) {
        borderHighlight_ = LighterColor(Color(), 100);
        borderShadow_ = DarkerColor(Color(), 50);
    }
    Invalidate();
}

TRect TRzLabel::ShrinkRectForBorders(const TRect& r, bool includeBorderWidth) const {
    TRect out = r;
    if (includeBorderWidth) out = TRect(out.left + borderWidth_, out.top + borderWidth_, out.right - borderWidth_,
                                        out.bottom - borderWidth_);
    out = Sided(out, borderSides_, StyleAllowance(borderOuter_, bevelWidth_));
    return Sided(out, borderSides_, StyleAllowance(borderInner_, bevelWidth_));
}

TRect TRzLabel::GrowRectForBorders(const TRect& r) const {
    const int outer = StyleAllowance(borderOuter_, bevelWidth_), inner = StyleAllowance(borderInner_, bevelWidth_);
    TRect out = Sided(r, borderSides_, -(outer + borderWidth_));
    out = TRect(out.left - textMargin_, out.top - textMargin_, out.right + textMargin_, out.bottom + textMargin_);
    out = Sided(out, borderSides_, -inner);
    if (rotation_ == roFlat && angle_ != 0 && angle_ != 180) {
        if (textStyle_ == tsShadow) {
            out.right += shadowDepth_ / 2;
            out.bottom += shadowDepth_ / 2;
        }
        const TSize box = RotatedBoundingBox(out.Width(), out.Height(), angle_);
        return TRect(out.left, out.top, out.left + box.cx, out.top + box.cy);
    }
    if (textStyle_ == tsShadow) {
        out.right += shadowDepth_;
        out.bottom += shadowDepth_;
    }
    return out;
}

UINT TRzLabel::TextFlags() const {
    UINT flags = DT_EXPANDTABS;
    TAlignment a = Alignment();
    if (UseRightToLeftAlignment()) {
        if (a == taLeftJustify) a = taRightJustify;
        else if (a == taRightJustify) a = taLeftJustify;
        flags |= DT_RTLREADING;
    }
    flags |= a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : DT_LEFT;
    if (WordWrap()) flags |= DT_WORDBREAK;
    if (!ShowAccelChar()) flags |= DT_NOPREFIX;
    return flags;
}

void TRzLabel::AdjustStyledBounds() {
    if (!AutoSize() || ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) return;
    UINT flags = (TextFlags() & ~(DT_RIGHT | DT_CENTER)) | DT_CALCRECT;
    TSize text{0, 0};
    if (TextMeasurer) {
        text = TextMeasurer(Caption(), flags);
    } else {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) return;  // nothing measures text without a drawing backend
        Canvas()->SetHandle(dc);
        Canvas()->Font()->Assign(Font());
        TRect r = ShrinkRectForBorders(ClientRect(), true);
        r = TRect(0, 0, r.Width(), r.Height());
        CanvasDrawText(*Canvas(), Caption(), r, flags);
        Canvas()->SetHandle(nullptr);
        DeleteDC(dc);
        text = TSize{r.Width(), r.Height()};
    }
    const TRect grown = GrowRectForBorders(TRect(0, 0, text.cx, text.cy));
    int x = Left();
    if (TextFlags() & DT_RIGHT) x += Width() - grown.Width();
    SetBounds(x, Top(), grown.Width(), grown.Height());
}

void TRzLabel::DrawPasses(const std::function<void(int, int, TColor)>& pass, int shadowOffset, int textOffset) const {
    if (!Enabled()) {
        pass(0, 0, clGrayText);
        return;
    }
    if (textStyle_ == tsRaised || textStyle_ == tsRecessed) {
        const bool raised = textStyle_ == tsRaised;
        if (lightTextStyle_) {
            if (raised) pass(-1, -1, highlightColor_);
            else pass(1, 1, highlightColor_);
        } else {
            pass(1, 1, raised ? shadowColor_ : highlightColor_);
            pass(-1, -1, raised ? highlightColor_ : shadowColor_);
        }
    } else if (textStyle_ == tsShadow) {
        pass(shadowOffset, shadowOffset, shadowColor_);
    }
    pass(textOffset, textOffset, currentColor_);
}

void TRzLabel::DrawStyledText(TCanvas& c, TRect r, UINT flags) {
    const WideString text = Caption();
    DrawPasses(
        [&](int dx, int dy, TColor color) {
            TRect p(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
            c.Font()->SetColor(color);
            CanvasDrawText(c, text, p, flags);
        },
        shadowDepth_, 0);
}

void TRzLabel::Paint() {
    TCanvas& c = *Canvas();
    TPanelBorderStyle style;
    style.outer = borderOuter_;
    style.transparent = Transparent();
    style.parentColor = Parent() ? Parent()->Color() : Color();
    style.color = Color();
    style.flatColorAdjustment = flatColorAdjustment_;
    style.flatColor = flatColor_;
    style.borderShadow = borderShadow_;
    style.borderHighlight = borderHighlight_;
    style.borderColor = borderColor_;
    style.bevelWidth = bevelWidth_;
    style.sides = borderSides_;
    style.borderWidth = borderWidth_;
    style.inner = borderInner_;
    const TRect inside = PaintPanelBorder(c, ClientRect(), style);
    if (!Transparent()) {
        c.Brush()->SetColor(Color());
        c.Brush()->SetStyle(bsSolid);
        c.FillRect(inside);
    }
    c.Brush()->SetStyle(bsClear);
    c.Font()->Assign(Font());
    TRect r = ShrinkRectForBorders(ClientRect(), true);
    r = TRect(r.left + textMargin_, r.top + textMargin_, r.right - textMargin_, r.bottom - textMargin_);
    UINT flags = TextFlags();
    if (condense_ == ccAtEnd) flags |= DT_END_ELLIPSIS;
    else if (condense_ == ccWithinPath) flags |= DT_PATH_ELLIPSIS;
    if (Layout() != tlTop) {
        TRect calc = r;
        CanvasDrawText(c, Caption(), calc, flags | DT_CALCRECT);
        const int free = r.Height() - calc.Height();
        r.top += Layout() == tlBottom ? free : free / 2;
    }
    if (textStyle_ == tsShadow) {
        if (flags & DT_RIGHT) r.right -= shadowDepth_;
        if (Layout() == tlBottom) r.top -= shadowDepth_;
    }
    if (rotation_ == roCurve) DrawCurvedText(c);
    else if (rotation_ == roFlat) DrawRotatedText(c, r, flags);
    else DrawStyledText(c, r, flags);
}

void TRzLabel::Loaded() {
    TLabel::Loaded();
    if (angle_ != 0 && rotation_ == roNone) rotation_ = roFlat;
    if (rotation_ != roNone) SubstituteRotatableFont();
    textColor_ = currentColor_ = Font()->Color();
    AdjustStyledBounds();
}

void TRzLabel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_BLINKQUERY: m.Result = blinking_ ? 1 : 0; return;
    case CM_BLINKSTATE: BlinkStateChanged(static_cast<int>(m.WParam)); return;
    case CM_PARENTCOLORCHANGED:
        if (initColor_) return;
        break;
    case CM_MOUSEENTER:
        if (flyByEnabled_ && !flyByShown_ && !ComponentState().Contains(csDesigning)) {
            savedFontColor_ = Font()->Color();
            flyByShown_ = true;
            Font()->SetColor(flyByColor_);
        }
        break;
    case CM_MOUSELEAVE:
        if (flyByShown_) {
            flyByShown_ = false;
            Font()->SetColor(savedFontColor_);
        }
        break;
    default: break;
    }
    TLabel::WndProc(m);
    if (m.Msg == CM_FONTCHANGED && !ComponentState().Contains(csLoading)) {
        if (!blinking_) textColor_ = currentColor_ = Font()->Color();
        if (angle_ != 0 && !substituting_ && !FontIsTrueType(*Font())) angle_ = 0;
        AdjustStyledBounds();
    } else if (m.Msg == CM_TEXTCHANGED) {
        AdjustStyledBounds();
    }
}

void TRzLabel::Notification(TComponent* component, TOperation operation) {
    TLabel::Notification(component, operation);
    if (operation == TOperation::opRemove && component == frameController_) frameController_ = nullptr;
}

void TRzLabel::DefineProperties(TFiler* filer) {
    TLabel::DefineProperties(filer);
    filer->DefineProperty("FrameSides", [](TReader& r) { (void)r.ReadSet(); }, nullptr, false);
}

const TMetaClass& TRzLabel::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TRzLabel>("TRzLabel", &TLabel::StaticClass(), [](TClassBuilder<TRzLabel>& b) {
            using C = TRzLabel;
            b.Property("Angle", &C::Angle, &C::SetAngle).Default(0);
            b.Property("Blinking", &C::Blinking, &C::SetBlinking).Default(false);
            b.Property("BlinkColor", &C::BlinkColor, &C::SetBlinkColor).Default(clHighlight).Type(ColorTypeInfo());
            b.Property("BlinkIntervalOff", &C::BlinkIntervalOff, &C::SetBlinkIntervalOff).Default(500);
            b.Property("BlinkIntervalOn", &C::BlinkIntervalOn, &C::SetBlinkIntervalOn).Default(500);
            b.Property("BevelWidth", &C::BevelWidth, &C::SetBevelWidth).Default(1);
            b.Property("BorderInner", &C::BorderInner, &C::SetBorderInner).Default(fsNone);
            b.Property("BorderOuter", &C::BorderOuter, &C::SetBorderOuter).Default(fsNone);
            b.Property("BorderSides", &C::BorderSides, &C::SetBorderSides).Default(sdAllSides);
            b.Property("BorderColor", &C::BorderColor, &C::SetBorderColor).Default(clBtnFace).Type(ColorTypeInfo());
            b.Property("BorderHighlight", &C::BorderHighlight, &C::SetBorderHighlight).Default(clBtnHighlight)
                .Type(ColorTypeInfo());
            b.Property("BorderShadow", &C::BorderShadow, &C::SetBorderShadow).Default(clBtnShadow).Type(ColorTypeInfo());
            b.Property("BorderWidth", &C::BorderWidth, &C::SetBorderWidth).Default(0);
            b.Property("CondenseCaption", &C::CondenseCaption, &C::SetCondenseCaption).Default(ccNone);
            b.Property("FlatColor", &C::FlatColor, &C::SetFlatColor).Default(clBtnShadow).Type(ColorTypeInfo());
            b.Property("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
            b.Property("FrameController", &C::FrameController, &C::SetFrameController);
            b.Property("FrameControllerNotifications", &C::FrameControllerNotifications,
                       &C::SetFrameControllerNotifications).Default(fccAll);
            b.Property("FlyByColor", &C::FlyByColor, &C::SetFlyByColor).Default(clHighlight).Type(ColorTypeInfo());
            b.Property("FlyByEnabled", &C::FlyByEnabled, &C::SetFlyByEnabled).Default(false);
            b.Property("LightTextStyle", &C::LightTextStyle, &C::SetLightTextStyle).Default(false);
            b.Property("Rotation", &C::Rotation, &C::SetRotation).Default(roNone);
            b.Property("HighlightColor", &C::HighlightColor, &C::SetHighlightColor).Default(clBtnHighlight)
                .Type(ColorTypeInfo());
            b.Property("ShadowColor", &C::ShadowColor, &C::SetShadowColor).Default(clBtnShadow).Type(ColorTypeInfo());
            b.Property("ShadowDepth", &C::ShadowDepth, &C::SetShadowDepth).Default(2);
            b.Property("TextMargin", &C::TextMargin, &C::SetTextMargin).Default(0);
            b.Property("TextStyle", &C::TextStyle, &C::SetTextStyle).Default(tsNormal);
        });
    return meta;
}
