// The framed panel.
#include "controls/styled/RzPanel.h"

#include <algorithm>

#include "controls/styled/OldPropReader.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/TypInfo.h"

const TMetaClass& TRzCustomPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomPanel>("TRzCustomPanel", &TCustomPanel::StaticClass());
    return meta;
}

const TMetaClass& TRzPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzPanel>("TRzPanel", &TRzCustomPanel::StaticClass(), [](TClassBuilder<TRzPanel>& b) {
        b.Property("Alignment", &TRzPanel::Alignment, &TRzPanel::SetAlignment).Default(taCenter);
        b.Property("AlignmentVertical", &TRzPanel::AlignmentVertical, &TRzPanel::SetAlignmentVertical).Default(avCenter);
        b.Property("BevelWidth", &TRzPanel::BevelWidth, &TRzPanel::SetBevelWidth).Default(1);
        b.Property("BorderWidth", &TRzPanel::BorderWidth, &TRzPanel::SetBorderWidth).Default(0);
        b.Property("BorderInner", &TRzPanel::BorderInner, &TRzPanel::SetBorderInner).NoDefault();
        b.Property("BorderOuter", &TRzPanel::BorderOuter, &TRzPanel::SetBorderOuter).NoDefault();
        b.Property("BorderSides", &TRzPanel::BorderSides, &TRzPanel::SetBorderSides).NoDefault();
        b.Property("BorderColor", &TRzPanel::BorderColor, &TRzPanel::SetBorderColor).Default(clBtnFace).Type(ColorTypeInfo());
        b.Property("BorderHighlight", &TRzPanel::BorderHighlight, &TRzPanel::SetBorderHighlight).Default(clBtnHighlight).Type(ColorTypeInfo());
        b.Property("BorderShadow", &TRzPanel::BorderShadow, &TRzPanel::SetBorderShadow).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("FlatColor", &TRzPanel::FlatColor, &TRzPanel::SetFlatColor).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("FlatColorAdjustment", &TRzPanel::FlatColorAdjustment, &TRzPanel::SetFlatColorAdjustment).Default(30);
        b.Property("GradientColorStyle", &TRzPanel::GradientColorStyle, &TRzPanel::SetGradientColorStyle).Default(gcsSystem);
        b.Property("GradientColorStart", &TRzPanel::GradientColorStart, &TRzPanel::SetGradientColorStart).Default(clWhite).Type(ColorTypeInfo());
        b.Property("GradientColorStop", &TRzPanel::GradientColorStop, &TRzPanel::SetGradientColorStop).Default(clBtnFace).Type(ColorTypeInfo());
        b.Property("GradientDirection", &TRzPanel::GradientDirection, &TRzPanel::SetGradientDirection).Default(gdHorizontalEnd);
        b.Property("GridColor", &TRzPanel::GridColor, &TRzPanel::SetGridColor).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("GridStyle", &TRzPanel::GridStyle, &TRzPanel::SetGridStyle).Default(gsDots);
        b.Property("GridXSize", &TRzPanel::GridXSize, &TRzPanel::SetGridXSize).Default(8);
        b.Property("GridYSize", &TRzPanel::GridYSize, &TRzPanel::SetGridYSize).Default(8);
        b.Property("ShowGrid", &TRzPanel::ShowGrid, &TRzPanel::SetShowGrid).Default(false);
        b.Property("TextMargin", &TRzPanel::TextMargin, &TRzPanel::SetTextMargin).Default(0);
        b.Property("TextMarginVertical", &TRzPanel::TextMarginVertical, &TRzPanel::SetTextMarginVertical).Default(0);
        b.Property("WordWrap", &TRzPanel::WordWrap, &TRzPanel::SetWordWrap).Default(true);
        b.Property("FullRepaint", &TRzPanel::FullRepaint, &TRzPanel::SetFullRepaint).Default(true);
        b.Property("ShowDockClientCaptions", &TRzPanel::ShowDockClientCaptions, &TRzPanel::SetShowDockClientCaptions).Default(true);
        b.Property("Transparent", &TRzPanel::Transparent, &TRzPanel::SetTransparent).Default(false);
        b.Property("VisualStyle", &TRzPanel::VisualStyle, &TRzPanel::SetVisualStyle).Default(vsWinXP);
        b.Event("OnPaint", static_cast<TNotifyEvent TRzPanel::*>(&TRzCustomPanel::OnPaint));
    });
    return meta;
}

const TMessageTable& TRzCustomPanel::ClassMessages() {
    static const TMessageTable table(&TCustomPanel::ClassMessages(), {
        MESSAGE_HANDLER(WM_ERASEBKGND, TRzCustomPanel::WMEraseBkgnd),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TRzCustomPanel::CMEnabledChanged),
        MESSAGE_HANDLER(WM_THEMECHANGED, TRzCustomPanel::WMThemeChanged),
    });
    return table;
}

TRzCustomPanel::TRzCustomPanel(TComponent* owner) : TCustomPanel(owner) {
    SetBevelOuter(bvNone);
    controlStyle_ >> csSetCaption;
    controlStyle_ >> csParentBackground;
    controlStyle_ << csOpaque;
}

void TRzCustomPanel::DefineProperties(TFiler* filer) {
    TCustomPanel::DefineProperties(filer);
    filer->DefineProperty("FrameSides", &TRzOldPropReader::ReadOldSetProp, nullptr, false);
    filer->DefineProperty("ThemeAware", &TRzOldPropReader::ReadOldBooleanProp, nullptr, false);
    filer->DefineProperty("UseGradients", [this](TReader& reader) {
        if (reader.ReadBoolean()) SetVisualStyle(vsGradient);
    }, nullptr, false);
}

void TRzCustomPanel::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    if (v) controlStyle_ >> csOpaque;
    else controlStyle_ << csOpaque;
    Invalidate();
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TRzCustomPanel::SetBounds(int left, int top, int width, int height) {
    // Bottom- and right-aligned panels grow towards the inside of the parent.
    if (Align() == alBottom && height != Height()) top -= height - Height();
    if (Align() == alRight && width != Width()) left -= width - Width();
    const bool resized = width != Width() || height != Height();
    TCustomPanel::SetBounds(left, top, width, height);
    if (resized) Invalidate();
}

namespace {

int BorderDepth(TFrameStyleEx style, int bevelWidth) {
    switch (style) {
        case fsNone: return 0;
        case fsFlat: return 1;
        case fsStatus:
        case fsPopup: return bevelWidth;
        default: return 2;
    }
}

}  // namespace

void TRzCustomPanel::AdjustRectForBorders(TRect& r, bool includeBorderWidth) const {
    if (includeBorderWidth) r.Inflate(-BorderWidth(), -BorderWidth());
    for (const TFrameStyleEx style : {borderOuter_, borderInner_}) {
        const int d = BorderDepth(style, BevelWidth());
        if (borderSides_.Contains(sdLeft)) r.left += d;
        if (borderSides_.Contains(sdTop)) r.top += d;
        if (borderSides_.Contains(sdRight)) r.right -= d;
        if (borderSides_.Contains(sdBottom)) r.bottom -= d;
    }
}

void TRzCustomPanel::AdjustClientRect(TRect& rect) const {
    TCustomPanel::AdjustClientRect(rect);
    AdjustRectForBorders(rect, false);
}

void TRzCustomPanel::GetGradientColors(TColor& start, TColor& stop) const {
    if (gradientColorStyle_ == gcsCustom) {
        start = gradientColorStart_;
        stop = gradientColorStop_;
    } else {
        ::GetGradientColors(gradientColorStyle_, start, stop);
    }
}

void TRzCustomPanel::GetFlatColors(TColor& flatColor, int& adjustment) const {
    if (visualStyle_ != vsGradient || gradientColorStyle_ == gcsCustom) {
        flatColor = flatColor_;
        adjustment = flatColorAdjustment_;
    } else {
        flatColor = GetFrameColor(gradientColorStyle_);
        adjustment = 0;
    }
}

void TRzCustomPanel::Paint() {
    TCanvas& canvas = *Canvas();
    TPanelBorderStyle style;
    style.outer = borderOuter_;
    style.transparent = transparent_;
    style.parentColor = Parent() ? Parent()->Color() : clBtnFace;
    style.color = Color();
    GetFlatColors(style.flatColor, style.flatColorAdjustment);
    style.borderShadow = borderShadow_;
    style.borderHighlight = borderHighlight_;
    style.borderColor = borderColor_;
    style.bevelWidth = BevelWidth();
    style.sides = borderSides_;
    style.borderWidth = BorderWidth();
    style.inner = borderInner_;
    const TRect inner = PaintPanelBorder(canvas, ClientRect(), style);
    if (!transparent_ && paintClientArea_) {
        if (visualStyle_ == vsGradient) {
            TColor start, stop;
            GetGradientColors(start, stop);
            PaintGradient(canvas, inner, gradientDirection_, 1, stop, start);
        } else {
            canvas.Brush()->SetColor(Color());
            canvas.FillRect(inner);
        }
    }
    if (showGrid_) DrawGrid(inner);
    canvas.Brush()->SetStyle(bsClear);
    PaintCaptionText(inner);
    canvas.Brush()->SetStyle(bsSolid);
    if (OnPaint) OnPaint(this);
}

void TRzCustomPanel::PaintCaptionText(TRect r) {
    const WideString caption = Caption();
    if (caption.empty()) return;
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    r.Inflate(-textMargin_, -textMarginVertical_);
    UINT flags = DT_EXPANDTABS | DT_VCENTER;
    if (wordWrap_) flags |= DT_WORDBREAK;
    flags |= Alignment() == taLeftJustify ? DT_LEFT : Alignment() == taRightJustify ? DT_RIGHT : DT_CENTER;
    TRect measured = r;
    CanvasDrawText(canvas, caption, measured, flags | DT_CALCRECT);
    const int h = measured.Height();
    switch (alignmentVertical_) {
        case avTop: r.bottom = std::min<LONG>(r.bottom, r.top + h); break;
        case avCenter:
            r.top = (r.top + r.bottom - h) / 2;
            r.bottom = std::min<LONG>(r.bottom, r.top + h);
            break;
        case avBottom: r.top = std::max<LONG>(r.top, r.bottom - h - 1); break;
    }
    if (!Enabled()) canvas.Font()->SetColor(clGrayText);
    CanvasDrawText(canvas, caption, r, flags);
}

void TRzCustomPanel::DrawGrid(const TRect& r) {
    TCanvas& canvas = *Canvas();
    const int columns = gridXSize_ ? r.Width() / gridXSize_ : 0;
    const int rows = gridYSize_ ? r.Height() / gridYSize_ : 0;
    canvas.Pen()->SetColor(gridColor_);
    if (gridStyle_ == gsDots) {
        for (int i = 1; i <= columns; ++i)
            for (int j = 1; j <= rows; ++j) canvas.SetPixel(r.left + gridXSize_ * i - 1, r.top + gridYSize_ * j - 1, gridColor_);
        return;
    }
    const auto line = [&](int x1, int y1, int x2, int y2) {
        if (gridStyle_ == gsSolidLines) {
            canvas.MoveTo(x1, y1);
            canvas.LineTo(x2, y2);
            return;
        }
        const int dx = x2 > x1 ? 1 : 0, dy = y2 > y1 ? 1 : 0;
        for (int x = x1 + dx, y = y1 + dy; x < x2 || y < y2; x += 2 * dx, y += 2 * dy)
            canvas.SetPixel(x, y, gridColor_);
    };
    for (int i = 1; i <= columns; ++i) line(r.left + gridXSize_ * i - 1, r.top, r.left + gridXSize_ * i - 1, r.bottom);
    for (int j = 1; j <= rows; ++j) line(r.left, r.top + gridYSize_ * j - 1, r.right, r.top + gridYSize_ * j - 1);
}

void TRzCustomPanel::WMEraseBkgnd(TMessage& m) {
    if (transparent_ && paintClientArea_) {
        DrawParentBackground(this, reinterpret_cast<HDC>(m.WParam), true);
        m.Result = 1;
        return;
    }
    InheritedMessage(TCustomPanel::ClassMessages(), m);
}

void TRzCustomPanel::CMEnabledChanged(TMessage& m) {
    InheritedMessage(TCustomPanel::ClassMessages(), m);
    Repaint();
    if (!Enabled()) {
        enabledList_.clear();
        for (int i = 0; i < ControlCount(); ++i) enabledList_.emplace_back(Controls(i), Controls(i)->Enabled());
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(false);
        return;
    }
    // Only the current children are looked up: a listed control may be gone by now.
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        const auto it = std::find_if(enabledList_.begin(), enabledList_.end(), [&](const auto& e) { return e.first == child; });
        if (it == enabledList_.end() || it->second) child->SetEnabled(true);
    }
}

void TRzCustomPanel::WMThemeChanged(TMessage& m) {
    InheritedMessage(TCustomPanel::ClassMessages(), m);
    CurrentXPColorScheme() = QueryXPColorScheme();
}

void RegisterStyledPanels() { RegisterClasses({&TRzPanel::StaticClass()}); }
