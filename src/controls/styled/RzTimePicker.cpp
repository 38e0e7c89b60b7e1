// The time picker: time of day, layout, clock face, mouse, keys and the how-to-use hint.
#include "controls/styled/RzTimePicker.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "controls/styled/ColorHelpers.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/FormatSettings.h"
#include "platform/vcl/HintWindow.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinString.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr WORD kReturn = 0x0D, kPageUp = 0x21, kPageDown = 0x22, kUp = 0x26, kDown = 0x28;

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

TPoint OffsetAtAngle(int length, double angle) { return TPoint(Nearest(std::cos(angle) * length), Nearest(std::sin(angle) * length)); }
TPoint HourOffset(int hour, int length) { return OffsetAtAngle(length, hour * kPi / 6 - kPi / 2); }
TPoint HourHandOffset(int hour, int minute, int length) {
    return OffsetAtAngle(length, hour * kPi / 6 + minute * kPi / 360 - kPi / 2);
}
TPoint MinuteOffset(int minute, int length) { return OffsetAtAngle(length, minute * kPi / 30 - kPi / 2); }

// 0 pointing right, growing clockwise on the screen, in 0..2 pi.
double AngleOf(int dx, int dy) {
    double a = std::atan(static_cast<double>(dy) / dx);
    if (dx > 0 && dy < 0) a += 2 * kPi;
    if (dx < 0) a += kPi;
    return a;
}

TDateTime TimeOf(int totalMinutes) {
    totalMinutes = ((totalMinutes % 1440) + 1440) % 1440;
    TDateTime t = 0;
    TryEncodeTime(static_cast<WORD>(totalMinutes / 60), static_cast<WORD>(totalMinutes % 60), 0, 0, t);
    return t;
}

}  // namespace

// ---- picker

const TMetaClass& TRzTimePicker::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzTimePicker>("TRzTimePicker", &TRzCustomPanel::StaticClass(), [](TClassBuilder<TRzTimePicker>& b) {
        b.Property("ButtonColor", &TRzTimePicker::ButtonColor, &TRzTimePicker::SetButtonColor).Default(clBtnFace).Type(ColorTypeInfo());
        b.Property("ButtonFontColor", &TRzTimePicker::ButtonFontColor, &TRzTimePicker::SetButtonFontColor).Default(clWindowText).Type(ColorTypeInfo());
        b.Property("CaptionAM", &TRzTimePicker::CaptionAM, &TRzTimePicker::SetCaptionAM);
        b.Property("CaptionPM", &TRzTimePicker::CaptionPM, &TRzTimePicker::SetCaptionPM);
        b.Property("CaptionSet", &TRzTimePicker::CaptionSet, &TRzTimePicker::SetCaptionSet);
        b.Property("Format", &TRzTimePicker::Format, &TRzTimePicker::SetFormat);
        b.Property("HowToUseMsg", &TRzTimePicker::HowToUseMsg, &TRzTimePicker::SetHowToUseMsg);
        b.Property("RestrictMinutesBy", &TRzTimePicker::RestrictMinutesBy, &TRzTimePicker::SetRestrictMinutesBy).Default(5);
        b.Property("RestrictMinutes", &TRzTimePicker::RestrictMinutes, &TRzTimePicker::SetRestrictMinutes).Default(false);
        b.Property("ShowHowToUseHint", &TRzTimePicker::ShowHowToUseHint, &TRzTimePicker::SetShowHowToUseHint).Default(true);
        b.Property("ShowSetButton", &TRzTimePicker::ShowSetButton, &TRzTimePicker::SetShowSetButton).Default(false);
        b.Property("ShowTime", &TRzTimePicker::ShowTime, &TRzTimePicker::SetShowTime).Default(true);
        b.Property("Time", &TRzTimePicker::Time, &TRzTimePicker::SetTime).NoDefault();
        b.Property("ThemeAware", &TRzTimePicker::ThemeAware, &TRzTimePicker::SetThemeAware).Default(true);
        b.Property("BorderOuter", &TRzTimePicker::BorderOuter, &TRzTimePicker::SetBorderOuter).Default(fsLowered);
        b.Property("FlatColorAdjustment", &TRzTimePicker::FlatColorAdjustment, &TRzTimePicker::SetFlatColorAdjustment).Default(0);
        b.Event("OnChange", &TRzTimePicker::OnChange);
        b.Event("OnSetBtnClick", &TRzTimePicker::OnSetBtnClick);
        b.Event("OnSetTime", &TRzTimePicker::OnSetTime);
    });
    return meta;
}

const TMessageTable& TRzTimePicker::ClassMessages() {
    static const TMessageTable table(&TRzCustomPanel::ClassMessages(), {
        MESSAGE_HANDLER(WM_GETDLGCODE, TRzTimePicker::WMGetDlgCode),
        MESSAGE_HANDLER(CM_FONTCHANGED, TRzTimePicker::CMFontChanged),
        MESSAGE_HANDLER(CM_DIALOGCHAR, TRzTimePicker::CMDialogChar),
        MESSAGE_HANDLER(CM_ENTER, TRzTimePicker::CMEnterLeave),
        MESSAGE_HANDLER(CM_EXIT, TRzTimePicker::CMEnterLeave),
        MESSAGE_HANDLER(CM_MOUSEENTER, TRzTimePicker::CMMouseEnter),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzTimePicker::CMMouseLeave),
    });
    return table;
}

TRzTimePicker::TRzTimePicker(TComponent* owner) : TRzCustomPanel(owner), colors_(std::make_unique<TRzClockFaceColors>(this)) {
    controlStyle_ >> csAcceptsControls;
    controlStyle_ >> csSetCaption;
    controlStyle_ >> csNoStdEvents;
    controlStyle_ << csReflector;
    SetColor(clWindow);
    SetFlatColorAdjustment(0);
    SetBorderOuter(fsLowered);
    SetTabStop(true);
    hintTimer_ = new TTimer(this);
    hintTimer_->SetEnabled(false);
    hintTimer_->SetInterval(1000);
    hintTimer_->OnTimer = [this](TObject*) {
        const TPoint p = ScreenToClient(Mouse->CursorPos());
        if (!InClock(p.x, p.y)) HideHint();
    };
    Measure();
    SetBounds(Left(), Top(), 160, 190);
}

TRzTimePicker::~TRzTimePicker() = default;

// ---- time

int TRzTimePicker::Hour() const { return static_cast<int>(std::llround(time_ * 1440) % 1440 / 60); }
int TRzTimePicker::Minute() const { return static_cast<int>(std::llround(time_ * 1440) % 60); }

void TRzTimePicker::SetTime(TDateTime value) {
    const double fraction = value - std::floor(value);
    if (!forceUpdate_ && fraction == time_) return;
    time_ = TimeOf(static_cast<int>(std::floor(fraction * 1440 + 1e-6)));
    pm_ = Hour() > 11;
    try {
        if (OnChange) OnChange(this);
    } catch (...) {
        Invalidate();
        throw;
    }
    Invalidate();
}

void TRzTimePicker::SetHour(int hour) {
    if (pm_ && hour < 12) hour += 12;
    if (!pm_ && hour == 12) hour = 0;
    SetTime(TimeOf(hour * 60 + Minute()));
}

void TRzTimePicker::SetMinute(int minute) { SetTime(TimeOf(Hour() * 60 + minute)); }

void TRzTimePicker::SetAM() {
    if (!pm_) return;
    pm_ = false;
    SetHour(Hour() - 12);
}

void TRzTimePicker::SetPM() {
    if (pm_) return;
    pm_ = true;
    SetHour(Hour() + 12);
}

void TRzTimePicker::IncHours(int n) { SetTime(TimeOf(Hour() * 60 + Minute() + 60 * n)); }
void TRzTimePicker::IncMinutes(int n) { SetTime(TimeOf(Hour() * 60 + Minute() + n)); }

// ---- properties

void TRzTimePicker::SetFormat(const WideString& v) {
    if (v == format_) return;
    format_ = v;
    Invalidate();
}

void TRzTimePicker::SetCaptionAM(const WideString& v) {
    if (v == captionAM_) return;
    captionAM_ = v;
    Measure();
}

void TRzTimePicker::SetCaptionPM(const WideString& v) {
    if (v == captionPM_) return;
    captionPM_ = v;
    Measure();
}

void TRzTimePicker::SetCaptionSet(const WideString& v) {
    if (v == captionSet_) return;
    captionSet_ = v;
    Measure();
}

void TRzTimePicker::SetButtonColor(TColor v) {
    if (v == buttonColor_) return;
    buttonColor_ = v;
    Invalidate();
}

void TRzTimePicker::SetButtonFontColor(TColor v) {
    if (v == buttonFontColor_) return;
    buttonFontColor_ = v;
    Invalidate();
}

void TRzTimePicker::SetShowSetButton(bool v) {
    if (v == showSetButton_) return;
    showSetButton_ = v;
    Invalidate();
}

void TRzTimePicker::SetShowTime(bool v) {
    if (v == showTime_) return;
    showTime_ = v;
    Invalidate();
}

void TRzTimePicker::SetThemeAware(bool v) {
    if (v == themeAware_) return;
    themeAware_ = v;
    Invalidate();
}

// ---- metrics and layout

TSize TRzTimePicker::TextSize(const WideString& text) const {
    return MeasureText ? MeasureText(text) : FontTextExtent(*Font(), text);
}

void TRzTimePicker::Measure() {
    const TSize zero = TextSize(u"0");
    charWidth_ = std::max<int>(1, zero.cx);
    charHeight_ = std::max<int>(1, zero.cy);
    fontHeight_ = charHeight_ + 2;
    const TSize size = MinimumSize();
    SetBounds(Left(), Top(), std::max<int>(Width(), size.cx), std::max<int>(Height(), size.cy));
    Invalidate();
}

TSize TRzTimePicker::MinimumSize() const {
    const int setWidth = captionSet_.empty() ? 24 * charWidth_
                                             : 12 * charWidth_ + 2 * charWidth_ * (static_cast<int>(captionSet_.size()) + 2);
    return TSize{std::max(13 * charWidth_ + 78, setWidth), 14 * charHeight_ + 8};
}

void TRzTimePicker::SetBounds(int left, int top, int width, int height) {
    const TSize minimum = MinimumSize();
    TRzCustomPanel::SetBounds(left, top, std::max<int>(width, minimum.cx), std::max<int>(height, minimum.cy));
}

void TRzTimePicker::UpdateLayout() {
    TRect r = ClientRect();
    AdjustRectForBorders(r, true);
    const int fh = fontHeight_;
    timeRect_ = r;
    timeRect_.bottom = showTime_ ? fh + 4 : r.top;
    const WideString am = captionAM_.empty() ? WideString(u"AM") : captionAM_;
    const WideString pm = captionPM_.empty() ? WideString(u"PM") : captionPM_;
    const int top = Height() - fh - 9;
    amRect_ = TRect(5, top, 5 + TextSize(am).cx + 14, top + fh + 4);
    pmRect_ = TRect(amRect_.right + 5, top, amRect_.right + 5 + TextSize(pm).cx + 14, top + fh + 4);
    setRect_ = TRect(pmRect_.right + (Width() - pmRect_.right - 5) / 3, top, Width() - 5, pmRect_.bottom);
    const int free = amRect_.top - timeRect_.bottom - 10;
    centre_ = TPoint((Width() - 10) / 2 + 5, timeRect_.bottom + free / 2 + 3);
    radius_ = std::max(0, std::min((Width() - 10) / 2, free / 2));
    clockRect_ = TRect(centre_.x - radius_, centre_.y - radius_, centre_.x + radius_, centre_.y + radius_);
}

bool TRzTimePicker::InClock(int x, int y) const {
    const double dx = x - centre_.x, dy = y - centre_.y;
    return radius_ > 0 && dx * dx + dy * dy <= static_cast<double>(radius_) * radius_;
}

// ---- hit tests

int TRzTimePicker::HourAt(int dx, int dy) {
    if (dx == 0) return dy < 1 ? 12 : 6;
    double a = AngleOf(dx, dy) + kPi / 3;
    if (a > 2 * kPi) a -= 2 * kPi;
    for (int h = 1; h <= 12; ++h)
        if (a < h * kPi / 6 - kPi / 12) return h;
    return 12;
}

int TRzTimePicker::MinuteAt(int dx, int dy, bool restrict) const {
    int minute = 0;
    if (dx == 0) {
        minute = dy < 1 ? 0 : 30;
    } else {
        double a = AngleOf(dx, dy) + kPi / 2;
        if (a > 2 * kPi) a -= 2 * kPi;
        for (int m = 1; m <= 60; ++m)
            if (a < m * kPi / 30 - kPi / 60) {
                minute = m - 1;
                break;
            }
    }
    if (restrictMinutes_ || restrict) {
        minute = restrictMinutesBy_ * Nearest(minute / 60.0 * (60 / restrictMinutesBy_));
        if (minute >= 60) minute = 0;
    }
    return minute;
}

// ---- painting

void TRzTimePicker::Paint() {
    UpdateLayout();
    TRzCustomPanel::Paint();
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    const bool flat = BorderOuter() == fsFlat || BorderOuter() == fsFlatBold || BorderOuter() == fsFlatRounded;
    if (showTime_) {
        TRect strip = timeRect_;
        if (!flat) strip = PaintFrameBorder(canvas, strip, fsPopup);
        canvas.Brush()->SetColor(buttonColor_);
        canvas.FillRect(strip);
        canvas.Brush()->SetStyle(bsClear);
        canvas.Font()->SetColor(buttonFontColor_);
        CanvasDrawCenteredText(canvas, FormatDateTime(format_.empty() ? WideString(u"h:mm ampm") : format_, time_), timeRect_);
        canvas.Brush()->SetStyle(bsSolid);
    }
    DrawClockFace(canvas, clockRect_, centre_, radius_);
    TColor flatColor;
    int adjustment;
    GetFlatColors(flatColor, adjustment);
    canvas.Pen()->SetColor(AdjustedColor(flatColor, adjustment));
    canvas.MoveTo(5, amRect_.top - 5);
    canvas.LineTo(Width() - 5, amRect_.top - 5);

    TGlyphColors glyph;
    glyph.readOnlyColor = clWindow;
    glyph.hotFrameColor = TColor(0x1FFFFFFF);
    glyph.hotFillColor = TColor(0x1FFFFFFF);
    glyph.disabledColor = clBtnFace;
    glyph.focusColor = clWindow;
    glyph.fillColor = clWindow;
    glyph.markColor = clHighlight;
    glyph.frameColor = AdjustedColor(flatColor, adjustment);
    glyph.hotTrackStyle = htsFrame;
    canvas.SetFont(Font());
    const auto option = [&](const TRect& r, const WideString& caption, bool checked) {
        const int top = (r.top + r.bottom - 13) / 2;
        PaintRadioButtonGlyph(canvas, TRect(r.left, top, r.left + 13, top + 13), checked, glyph, Color(), false, Color(), false,
                              dsNormal);
        canvas.Brush()->SetColor(Color());
        canvas.Font()->SetColor(Font()->Color());
        CanvasDrawCenteredText(canvas, caption, TRect(r.left + 14, r.top, r.right, r.bottom));
    };
    option(amRect_, captionAM_.empty() ? WideString(u"AM") : captionAM_, !pm_);
    option(pmRect_, captionPM_.empty() ? WideString(u"PM") : captionPM_, pm_);
    if (showSetButton_)
        DrawCalendarButton(canvas, setRect_, captionSet_.empty() ? WideString(u"Set") : captionSet_, themeAware_,
                           pressingLeft_ && overSet_, flat, buttonFontColor_, buttonColor_);
}

void TRzTimePicker::DrawClockFace(TCanvas& canvas, const TRect& face, TPoint centre, int radius) {
    if (radius <= 0) return;
    const int cx = centre.x, cy = centre.y;
    canvas.Pen()->SetColor(Focused() ? DarkerColor(colors_->Face(), 40) : colors_->Face());
    canvas.Brush()->SetColor(colors_->Face());
    canvas.Ellipse(face);
    canvas.Font()->SetStyle(TFontStyles{fsBold});
    canvas.Font()->SetHeight(-Nearest(0.2 * radius));
    canvas.Font()->SetColor(colors_->Numbers());
    canvas.Brush()->SetStyle(bsClear);
    const int h = canvas.TextHeight(u"0") / 2;
    for (int n = 1; n <= 12; ++n) {
        const TPoint o = HourOffset(n, Nearest(0.75 * radius));
        const WideString text = n < 10 ? WideString(1, static_cast<char16_t>(u'0' + n)) : WideString(u"1") + static_cast<char16_t>(u'0' + n - 10);
        canvas.TextOut(cx + o.x - canvas.TextWidth(text) / 2, cy + o.y - h, text);
    }
    canvas.Brush()->SetStyle(bsSolid);
    const int e = Nearest(0.02 * radius);
    canvas.Brush()->SetColor(colors_->HourTicks());
    canvas.Pen()->SetColor(colors_->HourTicks());
    for (int i = 1; i <= 60; ++i) {
        const TPoint o = MinuteOffset(i, Nearest(0.92 * radius));
        const int x = cx + o.x, y = cy + o.y;
        if (i % 5 == 0) canvas.FillRect(TRect(x - e, y - e, x + e + 1, y + e + 1));
        else canvas.SetPixel(x, y, colors_->MinuteTicks());
    }
    canvas.Brush()->SetColor(colors_->Hands());
    canvas.Pen()->SetColor(colors_->Hands());
    const int hour = Hour() % 12, minute = Minute();
    const auto hand = [&](TPoint tip, TPoint base, TPoint w) {
        canvas.Polygon({TPoint(cx, cy), TPoint(cx + base.x - w.x, cy + base.y - w.y), TPoint(cx + tip.x, cy + tip.y),
                        TPoint(cx + base.x + w.x, cy + base.y + w.y)});
    };
    hand(MinuteOffset(minute, Nearest(0.8 * radius)), MinuteOffset(minute, Nearest(0.25 * radius)),
         OffsetAtAngle(Nearest(0.04 * radius), minute * kPi / 30));
    hand(HourHandOffset(hour, minute, Nearest(0.5 * radius)), HourHandOffset(hour, minute, Nearest(0.15 * radius)),
         OffsetAtAngle(Nearest(0.04 * radius), hour * kPi / 6 + minute * kPi / 360));
    canvas.SetFont(Font());
}

// ---- mouse and keys

void TRzTimePicker::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TRzCustomPanel::MouseDown(button, shift, x, y);
    if (!ComponentState().Contains(csDesigning) && !isPopup_ && CanFocus()) SetFocus();
    UpdateLayout();
    const TPoint p(x, y);
    if (button == mbRight) {
        pressingRight_ = true;
        if (InClock(x, y)) {
            overClock_ = true;
            const int m = MinuteAt(x - centre_.x, y - centre_.y, shift.Contains(ssCtrl));
            lastMinute_ = m;
            SetMinute(m);
        }
    } else if (button == mbLeft) {
        pressingLeft_ = true;
        overAM_ = amRect_.Contains(p);
        overPM_ = pmRect_.Contains(p);
        overSet_ = showSetButton_ && setRect_.Contains(p);
        if (!overAM_ && !overPM_ && !overSet_ && InClock(x, y)) {
            overClock_ = true;
            SetHour(HourAt(x - centre_.x, y - centre_.y));
        }
    }
    Invalidate();
}

void TRzTimePicker::MouseMove(TShiftState shift, int x, int y) {
    if (showHowToUseHint_) UpdateHint(TPoint(x, y));
    if (overClock_ && InClock(x, y)) {
        if (pressingLeft_) {
            SetHour(HourAt(x - centre_.x, y - centre_.y));
        } else if (pressingRight_) {
            const int m = MinuteAt(x - centre_.x, y - centre_.y, shift.Contains(ssCtrl));
            // Passing twelve o'clock moves the hour with the minute hand. A fast drag skips
            // minutes: the hand went the shorter way round, so a jump of more than half the
            // dial crossed twelve.
            if (lastMinute_ - m > 30) IncHours(1);
            else if (m - lastMinute_ > 30) IncHours(-1);
            lastMinute_ = m;
            SetMinute(m);
        }
    }
    TRzCustomPanel::MouseMove(shift, x, y);
}

void TRzTimePicker::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TRzCustomPanel::MouseUp(button, shift, x, y);
    const TPoint p(x, y);
    if (button == mbLeft && pressingLeft_) {
        if (overAM_ && amRect_.Contains(p)) SetAM();
        else if (overPM_ && pmRect_.Contains(p)) SetPM();
        else if (overSet_ && setRect_.Contains(p)) SetAction();
        else if (overClock_ && InClock(x, y)) {
            SetHour(HourAt(x - centre_.x, y - centre_.y));
            if (OnSetTime) OnSetTime(this);
        }
    } else if (button == mbRight && pressingRight_ && overClock_ && InClock(x, y)) {
        SetMinute(MinuteAt(x - centre_.x, y - centre_.y, shift.Contains(ssCtrl)));
        if (OnSetTime) OnSetTime(this);
    }
    if (button == mbRight) pressingRight_ = false;
    pressingLeft_ = false;
    overAM_ = overPM_ = overSet_ = overClock_ = false;
    Invalidate();
}

void TRzTimePicker::SetAction() {
    if (OnSetBtnClick) OnSetBtnClick(this);
}

void TRzTimePicker::KeyDown(WORD& key, TShiftState shift) {
    TRzCustomPanel::KeyDown(key, shift);
    switch (key) {
        case kReturn:
            if (showSetButton_) SetAction();
            break;
        case kPageUp: IncHours(1); break;
        case kPageDown: IncHours(-1); break;
        case kUp: IncMinutes(1); break;
        case kDown: IncMinutes(-1); break;
        default: break;
    }
}

// ---- hint

WideString TRzTimePicker::HowToUseText() const {
    if (!howToUseMsg_.empty()) return howToUseMsg_;
    return WideFormat(u"Left-click to set Hour\rRight-click to set Minute\r    Ctrl key restricts to %d minutes", restrictMinutesBy_);
}

void TRzTimePicker::UpdateHint(TPoint client) {
    if (ComponentState().Contains(csDesigning)) return;
    if (!InClock(client.x, client.y) || !Application->Active()) {
        HideHint();
        return;
    }
    if (!hint_) {
        hint_ = new THintWindow(this);
        hint_->SetColor(Application->HintColor);
    }
    const WideString text = HowToUseText();
    TRect r = hint_->CalcHintRect(Screen->Width(), text, nullptr);
    const TPoint corner = ClientToScreen(TPoint(0, Height()));
    r.Offset(corner.x, corner.y);
    if (!(hint_->Active() && r == hintRect_)) hint_->ActivateHint(r, text);
    hintRect_ = r;
    hintTimer_->SetEnabled(true);
}

void TRzTimePicker::HideHint() {
    hintTimer_->SetEnabled(false);
    if (hint_ && hint_->Active()) {
        hint_->ReleaseHandle();
        Invalidate();
    }
}

// ---- messages

void TRzTimePicker::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

void TRzTimePicker::CMFontChanged(TMessage& m) {
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    Measure();
}

void TRzTimePicker::CMDialogChar(TMessage& m) {
    const WORD key = static_cast<WORD>(m.WParam);
    if (Enabled()) {
        if (IsAccel(key, captionAM_)) {
            SetAM();
            m.Result = 1;
            return;
        }
        if (IsAccel(key, captionPM_)) {
            SetPM();
            m.Result = 1;
            return;
        }
        if (IsAccel(key, captionSet_)) {
            SetAction();
            m.Result = 1;
            return;
        }
    }
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
}

void TRzTimePicker::CMEnterLeave(TMessage& m) {
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    Invalidate();
}

void TRzTimePicker::CMMouseEnter(TMessage& m) {
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    if (showHowToUseHint_) UpdateHint(ScreenToClient(Mouse->CursorPos()));
}

void TRzTimePicker::CMMouseLeave(TMessage& m) {
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    HideHint();
}

void RegisterStyledTimePicker() { RegisterClasses({&TRzTimePicker::StaticClass()}); }
