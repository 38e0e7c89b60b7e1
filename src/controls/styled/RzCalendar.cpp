// The month calendar: state, dates, layout, mouse and keys. Painting is in RzCalendarPaint.cpp.
#include "controls/styled/RzCalendar.h"

#include <algorithm>
#include <cmath>

#include "platform/vcl/Forms.h"
#include "platform/vcl/FormatSettings.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/WinString.h"

namespace {

constexpr UINT_PTR kRepeatTimer = 0;
constexpr WORD kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
constexpr WORD kPageUp = 0x21, kPageDown = 0x22, kReturn = 0x0D, kEscape = 0x1B, kTab = 0x09;

TDateTime FirstOfMonth(TDateTime value) {
    WORD y, m, d;
    DecodeDate(value, y, m, d);
    TDateTime first = 0;
    TryEncodeDate(y, m, 1, first);
    return first;
}

TDateTime LastOfMonth(TDateTime value) { return IncMonth(FirstOfMonth(value), 1) - 1; }

int Mod7(int v) { return ((v % 7) + 7) % 7; }

}  // namespace

// ---- year spinner

const TMetaClass& TRzYearSpinner::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzYearSpinner>("TRzYearSpinner", &TRzSpinner::StaticClass());
    return meta;
}

TRzYearSpinner::TRzYearSpinner(TComponent* owner) : TRzSpinner(owner) {
    SetTabStop(false);
    SetVisible(false);
    SetMin(0);
    SetMax(9999);
    SetShowFocusRect(false);
}

void TRzYearSpinner::WndProc(TMessage& m) {
    const auto close = [this] {
        if (OnCloseUp) OnCloseUp();
    };
    switch (m.Msg) {
        case WM_CHAR:
            if (m.WParam == kTab) return;
            if (m.WParam == kReturn || m.WParam == kEscape) {
                close();
                return;
            }
            break;
        case WM_KEYDOWN:
            if (m.WParam == kEscape) {
                close();
                return;
            }
            if (m.WParam == 0x43) return;
            break;
        case WM_KILLFOCUS:
        case CM_CANCELMODE:
            TRzSpinner::WndProc(m);
            close();
            return;
        default: break;
    }
    TRzSpinner::WndProc(m);
}

// ---- calendar

const TMetaClass& TRzCalendar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCalendar>("TRzCalendar", &TRzCustomPanel::StaticClass(), [](TClassBuilder<TRzCalendar>& b) {
        b.Property("ButtonColor", &TRzCalendar::ButtonColor, &TRzCalendar::SetButtonColor).Default(clBtnFace).Type(ColorTypeInfo());
        b.Property("ButtonFontColor", &TRzCalendar::ButtonFontColor, &TRzCalendar::SetButtonFontColor).Default(clWindowText).Type(ColorTypeInfo());
        b.Property("CaptionClearBtn", &TRzCalendar::CaptionClearBtn, &TRzCalendar::SetCaptionClearBtn);
        b.Property("CaptionTodayBtn", &TRzCalendar::CaptionTodayBtn, &TRzCalendar::SetCaptionTodayBtn);
        b.Property("Date", &TRzCalendar::Date, &TRzCalendar::SetDate).NoDefault();
        b.Property("MinDate", &TRzCalendar::MinDate, &TRzCalendar::SetMinDate)
            .Stored([](const TObject& o) { return static_cast<const TRzCalendar&>(o).MinDate() != 0; });
        b.Property("MaxDate", &TRzCalendar::MaxDate, &TRzCalendar::SetMaxDate)
            .Stored([](const TObject& o) { return static_cast<const TRzCalendar&>(o).MaxDate() != 0; });
        b.Property("FirstDayOfWeek", &TRzCalendar::FirstDayOfWeek, &TRzCalendar::SetFirstDayOfWeek).Default(fdowLocale);
        b.Property("Elements", &TRzCalendar::Elements, &TRzCalendar::SetElements).NoDefault();
        b.Property("ShowDays", &TRzCalendar::ShowDays, &TRzCalendar::SetShowDays).Default(true);
        b.Property("ThemeAware", &TRzCalendar::ThemeAware, &TRzCalendar::SetThemeAware).Default(true);
        b.Property("BorderInner", &TRzCalendar::BorderInner, &TRzCalendar::SetBorderInner).Default(fsNone);
        b.Property("BorderOuter", &TRzCalendar::BorderOuter, &TRzCalendar::SetBorderOuter).Default(fsLowered);
        b.Property("BorderSides", &TRzCalendar::BorderSides, &TRzCalendar::SetBorderSides).NoDefault();
        b.Property("BorderColor", &TRzCalendar::BorderColor, &TRzCalendar::SetBorderColor).Default(clBtnFace).Type(ColorTypeInfo());
        b.Property("BorderWidth", &TRzCalendar::BorderWidth, &TRzCalendar::SetBorderWidth).Default(0);
        b.Property("FlatColor", &TRzCalendar::FlatColor, &TRzCalendar::SetFlatColor).Default(clBtnShadow).Type(ColorTypeInfo());
        b.Property("FlatColorAdjustment", &TRzCalendar::FlatColorAdjustment, &TRzCalendar::SetFlatColorAdjustment).Default(0);
        b.Event("OnChange", &TRzCalendar::OnChange);
    });
    return meta;
}

const TMessageTable& TRzCalendar::ClassMessages() {
    static const TMessageTable table(&TRzCustomPanel::ClassMessages(), {
        MESSAGE_HANDLER(WM_GETDLGCODE, TRzCalendar::WMGetDlgCode),
        MESSAGE_HANDLER(WM_ERASEBKGND, TRzCalendar::WMEraseBkgnd),
        MESSAGE_HANDLER(WM_TIMER, TRzCalendar::WMTimer),
        MESSAGE_HANDLER(CM_FONTCHANGED, TRzCalendar::CMFontChanged),
        MESSAGE_HANDLER(CM_DIALOGCHAR, TRzCalendar::CMDialogChar),
        MESSAGE_HANDLER(CM_ENTER, TRzCalendar::CMEnterLeave),
        MESSAGE_HANDLER(CM_EXIT, TRzCalendar::CMEnterLeave),
    });
    return table;
}

TDateTime TRzCalendar::DefaultToday() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return std::floor(SystemTimeToDateTime(st));
}

TRzCalendar::TRzCalendar(TComponent* owner) : TRzCustomPanel(owner), colors_(std::make_unique<TRzCalendarColors>(this)) {
    controlStyle_ >> csAcceptsControls;
    controlStyle_ >> csSetCaption;
    controlStyle_ >> csNoStdEvents;
    controlStyle_ << csReflector;
    SetColor(clWindow);
    SetFlatColorAdjustment(0);
    SetBorderOuter(fsLowered);
    SetTabStop(true);
    ApplyFirstDay();
    today_ = Today();
    date_ = ComponentState().Contains(csDesigning) ? 1.0 : today_;
    forceUpdate_ = true;
    SetViewDate(date_);
    forceUpdate_ = false;

    monthMenu_ = new TPopupMenu(this);
    const auto& names = FormatSettings().LongMonthNames;
    for (int i = 0; i < 12; ++i) {
        auto* item = new TMenuItem(monthMenu_);
        item->SetCaption(names[static_cast<size_t>(i)]);
        item->Tag = i + 1;
        item->OnClick = [this, i](TObject*) {
            WORD y, m, d;
            DecodeDate(viewDate_, y, m, d);
            MoveView(i + 1 - m);
        };
        monthMenu_->Items()->Add(item);
    }

    yearSpinner_ = new TRzYearSpinner(this);
    yearSpinner_->SetParent(this);
    yearSpinner_->OnCloseUp = [this] { CloseYearSpinner(); };
    yearSpinner_->OnIncrement = [this](TObject*, int amount) {
        if (!spinnerOpen_) return;
        TDateTime target = IncMonth(viewDate_, 12 * amount);
        if (maxDate_ != 0) target = std::min(target, FirstOfMonth(maxDate_));
        SetViewDate(target);
    };
    yearSpinner_->OnDecrement = [this](TObject*, int amount) {
        if (!spinnerOpen_) return;
        WORD y, m, d;
        DecodeDate(viewDate_, y, m, d);
        if (y <= amount) return;
        TDateTime target = IncMonth(viewDate_, -12 * amount);
        if (minDate_ != 0) target = std::max(target, FirstOfMonth(minDate_));
        SetViewDate(target);
    };

    todayTimer_ = new TTimer(this);
    todayTimer_->SetEnabled(false);
    todayTimer_->SetInterval(1000);
    todayTimer_->OnTimer = [this](TObject*) {
        const TDateTime now = Today();
        if (now != today_) {
            today_ = now;
            Invalidate();
        }
    };
    Measure();
}

TRzCalendar::~TRzCalendar() = default;

void TRzCalendar::ApplyFirstDay() {
    firstDay_ = firstDayOfWeek_ == fdowLocale ? FormatSettings().FirstDayOfWeek : static_cast<int>(firstDayOfWeek_);
}

void TRzCalendar::CreateWnd() {
    TRzCustomPanel::CreateWnd();
    SetFirstDayOfWeek(firstDayOfWeek_);
    todayTimer_->SetEnabled(true);
    pressedArea_ = calNone;
}

int TRzCalendar::CompareWithRange(TDateTime value) const {
    if (maxDate_ != 0 && value > maxDate_) return 1;
    if (minDate_ != 0 && value < minDate_) return -1;
    return 0;
}

void TRzCalendar::SetDate(TDateTime value) {
    const TDateTime whole = std::floor(value);
    switch (CompareWithRange(whole)) {
        case 1: throw ERzCalendarError(WideFormat(u"Date exceeds maximum of %s", DateToStr(maxDate_).c_str()));
        case -1: throw ERzCalendarError(WideFormat(u"Date is less than minimum of %s", DateToStr(minDate_).c_str()));
        default: SetDateInternal(whole);
    }
}

void TRzCalendar::SetDateInternal(TDateTime value) {
    const TDateTime whole = std::floor(value);
    if (!forceUpdate_ && (whole == date_ || CompareWithRange(whole) != 0)) return;
    date_ = whole;
    const bool saved = forceUpdate_;
    forceUpdate_ = true;
    SetViewDate(date_ != 0 ? date_ : Today());
    forceUpdate_ = saved;
    Changed();
}

void TRzCalendar::Changed() {
    // The new date shows even when a handler fails.
    try {
        if (OnChange) OnChange(this);
    } catch (...) {
        Invalidate();
        throw;
    }
    Invalidate();
}

void TRzCalendar::SetMinDate(TDateTime value) {
    const TDateTime whole = std::floor(value);
    if (whole != 0 && maxDate_ != 0 && whole > maxDate_)
        throw ERzCalendarError(WideFormat(u"Date exceeds maximum of %s", DateToStr(maxDate_).c_str()));
    if (whole != 0 && date_ != 0 && date_ < whole) SetDateInternal(whole);
    minDate_ = whole;
    Invalidate();
}

void TRzCalendar::SetMaxDate(TDateTime value) {
    const TDateTime whole = std::floor(value);
    if (whole != 0 && minDate_ != 0 && whole < minDate_)
        throw ERzCalendarError(WideFormat(u"Date is less than minimum of %s", DateToStr(minDate_).c_str()));
    if (whole != 0 && date_ != 0 && date_ > whole) SetDateInternal(whole);
    maxDate_ = whole;
    Invalidate();
}

void TRzCalendar::SetFirstDayOfWeek(TRzFirstDayOfWeek value) {
    firstDayOfWeek_ = value;
    ApplyFirstDay();
    const bool saved = forceUpdate_;
    forceUpdate_ = true;
    SetDateInternal(date_);
    forceUpdate_ = saved;
}

void TRzCalendar::SetElements(TRzCalendarElements value) {
    if (value == elements_) return;
    elements_ = value;
    Measure();
}

void TRzCalendar::SetShowDays(bool value) {
    if (value == showDays_) return;
    showDays_ = value;
    Measure();
}

void TRzCalendar::SetCaptionClearBtn(const WideString& value) {
    if (value == captionClear_) return;
    captionClear_ = value;
    Measure();
}

void TRzCalendar::SetCaptionTodayBtn(const WideString& value) {
    if (value == captionToday_) return;
    captionToday_ = value;
    Measure();
}

void TRzCalendar::SetButtonColor(TColor value) {
    if (value == buttonColor_) return;
    buttonColor_ = value;
    Invalidate();
}

void TRzCalendar::SetButtonFontColor(TColor value) {
    if (value == buttonFontColor_) return;
    buttonFontColor_ = value;
    Invalidate();
}

void TRzCalendar::SetThemeAware(bool value) {
    if (value == themeAware_) return;
    themeAware_ = value;
    Invalidate();
}

void TRzCalendar::SetViewDate(TDateTime value) {
    const TDateTime first = FirstOfMonth(value);
    if (!forceUpdate_) {
        if (first == viewDate_) return;
        if (maxDate_ != 0 && first > FirstOfMonth(maxDate_)) return;
        if (minDate_ != 0 && first < FirstOfMonth(minDate_)) return;
    }
    viewDate_ = first;
    if (OnViewDateChange) OnViewDateChange(this, viewDate_);
    RecomputeGrid();
}

void TRzCalendar::RecomputeGrid() {
    const TDateTime previous = viewDate_ - 1;
    firstGridDate_ = previous - Mod7(DayOfWeek(previous) + 5 - firstDay_);
    Invalidate();
}

void TRzCalendar::MoveView(int months) {
    if (months != 0) SetViewDate(IncMonth(viewDate_, months));
}

// ---- metrics and layout

TSize TRzCalendar::TextSize(const WideString& text) const {
    return MeasureText ? MeasureText(text) : FontTextExtent(*Font(), text);
}

void TRzCalendar::Measure() {
    const TSize zero = TextSize(u"0");
    charWidth_ = std::max<int>(1, zero.cx);
    charHeight_ = std::max<int>(1, zero.cy);
    todayWidth_ = TextSize(TodayCaption()).cx;
    clearWidth_ = TextSize(ClearCaption()).cx;
    const TSize size = MinimumSize();
    SetBounds(Left(), Top(), size.cx, size.cy);
    Invalidate();
}

TSize TRzCalendar::MinimumSize() const {
    const int cw = charWidth_, ch = charHeight_;
    int height = 4;
    if (elements_.Contains(ceYear) || elements_.Contains(ceMonth)) height += ch + 5;
    if (!showDays_) return TSize{Width(), height};
    height += 6 * (ch + 2) + 1;
    if (elements_.Contains(ceDaysOfWeek)) height += ch + 3;
    int width = 7 * (2 * cw + 5);
    if (elements_.Contains(ceWeekNumbers)) width += 2 * cw + 5;
    if (HasButtons()) {
        height += ch + 17;
        int buttons = 34;
        if (elements_.Contains(ceTodayButton) && elements_.Contains(ceClearButton)) buttons += todayWidth_ + 5 + clearWidth_;
        else if (elements_.Contains(ceTodayButton)) buttons += todayWidth_;
        else buttons += clearWidth_;
        width = std::max(width, buttons);
    }
    width += 4 * cw;
    return TSize{width, height};
}

void TRzCalendar::SetBounds(int left, int top, int width, int height) {
    // The calendar never gets smaller than its content.
    const TSize minimum = MinimumSize();
    TRzCustomPanel::SetBounds(left, top, std::max<int>(width, minimum.cx), std::max<int>(height, minimum.cy));
}

void TRzCalendar::UpdateLayout() {
    layout_.fill(TRect());
    TRect r = ClientRect();
    AdjustRectForBorders(r, true);
    const int cw = charWidth_, ch = charHeight_;
    if (elements_.Contains(ceYear) || elements_.Contains(ceMonth)) {
        TRect header = r;
        header.bottom = r.top + ch + 5;
        layout_[calHeader] = header;
        const WideString title = FormatDateTime(elements_.Contains(ceYear) ? u"mmmm yyyy" : u"mmmm", viewDate_);
        const int titleWidth = TextSize(title).cx;
        const int centre = (header.left + header.right) / 2;
        TRect titleRect = header;
        titleRect.right = centre - titleWidth / 2 + titleWidth - (elements_.Contains(ceYear) ? TextSize(u"yyyy").cx : 0);
        layout_[calTitle] = titleRect;
        if (elements_.Contains(ceArrows)) {
            layout_[calPrevious] = TRect(header.left, header.top, header.left + ch + 5, header.bottom);
            layout_[calNext] = TRect(header.right - ch - 5, header.top, header.right, header.bottom);
        }
        r.top = header.bottom;
    }
    if (!showDays_) return;
    r.left += 2 * cw - 1;
    r.right -= 2 * cw + 1;
    if (HasButtons()) {
        TRect band = r;
        band.top = r.bottom - ch - 18;
        const bool both = elements_.Contains(ceTodayButton) && elements_.Contains(ceClearButton);
        TRect todayArea = band;
        if (both) {
            todayArea.right = todayWidth_ + (band.right + band.left - todayWidth_ - clearWidth_ - 5) / 2;
            band.left = todayArea.right + 5;
        }
        const auto centred = [](const TRect& area, int w, int h) {
            const int left = (area.left + area.right - w) / 2, top = (area.top + area.bottom - h) / 2;
            return TRect(left, top, left + w, top + h);
        };
        if (elements_.Contains(ceTodayButton)) layout_[calToday] = centred(todayArea, todayWidth_ + 17, ch + 7);
        if (elements_.Contains(ceClearButton)) layout_[calClear] = centred(band, clearWidth_ + 17, ch + 7);
        r.bottom = band.top + 1;
    }
    if (elements_.Contains(ceWeekNumbers)) {
        layout_[calWeekNumbers] = TRect(r.left, r.top, r.left + 2 * cw + 10, r.bottom);
        r.left = layout_[calWeekNumbers].right;
    }
    const bool names = elements_.Contains(ceDaysOfWeek);
    const int rows = names ? 7 : 6, gaps = names ? 2 : 1;
    cellWidth_ = std::max<int>(1, r.Width() / 7);
    cellHeight_ = std::max<int>(1, (r.Height() - gaps) / rows);
    if (names) {
        layout_[calDayNames] = TRect(r.left, r.top, r.right, r.top + cellHeight_);
        if (elements_.Contains(ceWeekNumbers)) layout_[calWeekNumbers].top = layout_[calDayNames].bottom;
        r.top = layout_[calDayNames].bottom + 2;
    }
    layout_[calDays] = r;
}

TRzCalendarArea TRzCalendar::AreaAt(const TPoint& p) const {
    for (int i = 9; i >= 0; --i) {
        if (i == calNone) continue;
        if (layout_[static_cast<size_t>(i)].Contains(p)) return static_cast<TRzCalendarArea>(i);
    }
    return calNone;
}

TDateTime TRzCalendar::DateAt(const TPoint& p) const {
    const TRect& grid = layout_[calDays];
    if (grid.IsEmpty()) return 0;
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 7; ++col) {
            const int left = grid.left + col * cellWidth_, top = grid.top - 1 + row * cellHeight_;
            if (!TRect(left, top, left + cellWidth_ - 2, top + cellHeight_).Contains(p)) continue;
            const TDateTime day = firstGridDate_ + row * 7 + col;
            const bool inView = FirstOfMonth(day) == viewDate_;
            return inView || elements_.Contains(ceFillDays) ? day : 0;
        }
    }
    return 0;
}

// ---- mouse and keys

void TRzCalendar::SetOverArea(TRzCalendarArea area) {
    if (area == overArea_) return;
    const bool repaint = overArea_ == pressedArea_ || area == pressedArea_;
    overArea_ = area;
    if (repaint && pressedArea_ != calNone) Invalidate();
}

void TRzCalendar::SetPressedArea(TRzCalendarArea area) {
    if (area == pressedArea_) return;
    pressedArea_ = area;
    Invalidate();
}

void TRzCalendar::MouseMove(TShiftState shift, int x, int y) {
    UpdateLayout();
    SetOverArea(ClientRect().Contains(TPoint(x, y)) ? AreaAt(TPoint(x, y)) : calNone);
    TRzCustomPanel::MouseMove(shift, x, y);
}

void TRzCalendar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TRzCustomPanel::MouseDown(button, shift, x, y);
    if (spinnerOpen_) {
        CloseYearSpinner();
        return;
    }
    if (!ComponentState().Contains(csDesigning) && !isPopup_ && Visible() && CanFocus()) SetFocus();
    if (button != mbLeft) return;
    UpdateLayout();
    const TPoint p(x, y);
    SetOverArea(ClientRect().Contains(p) ? AreaAt(p) : calNone);
    mouseOverRect_ = overArea_ == calDays || overArea_ == calToday || overArea_ == calClear ? layout_[overArea_] : TRect();
    ignoreClick_ = false;
    SetPressedArea(overArea_);
    switch (pressedArea_) {
        case calPrevious:
        case calNext:
            repeatCounter_ = -1;
            RepeatStep();
            if (WindowHandle()) SetTimer(WindowHandle(), kRepeatTimer, 50, nullptr);
            break;
        case calHeader: OpenYearSpinner(); break;
        case calTitle: {
            WORD yy, mm, dd;
            DecodeDate(viewDate_, yy, mm, dd);
            for (int i = 0; i < monthMenu_->Items()->Count(); ++i) monthMenu_->Items()->Items(i)->SetChecked(i + 1 == mm);
            const TPoint screen = ClientToScreen(p);
            monthMenu_->Popup(screen.x, screen.y);
            break;
        }
        case calDays: {
            const TDateTime day = DateAt(p);
            if (day == 0 || CompareWithRange(day) != 0) {
                ignoreClick_ = true;
                break;
            }
            if (day != date_) {
                date_ = day;
                Changed();
            } else {
                Invalidate();
            }
            break;
        }
        default: break;
    }
}

void TRzCalendar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const TRzCalendarArea pressed = pressedArea_;
    if (button == mbLeft) {
        if (WindowHandle()) KillTimer(WindowHandle(), kRepeatTimer);
        // The click decides on the area pressed; the area is cleared once it has run.
        TRzCustomPanel::MouseUp(button, shift, x, y);
        if (pressed == pressedArea_) SetPressedArea(calNone);
        return;
    }
    TRzCustomPanel::MouseUp(button, shift, x, y);
}

void TRzCalendar::Click() {
    if (pressedArea_ != overArea_) return;
    switch (pressedArea_) {
        case calToday: GoToday(); break;
        case calClear: ClearDate(); break;
        case calDays:
            if (ignoreClick_) return;
            if (FirstOfMonth(date_) != viewDate_) SetViewDate(date_);
            break;
        default: return;
    }
    // In a drop-down this accepts the date (or the cleared date).
    TRzCustomPanel::Click();
}

void TRzCalendar::DblClick() {
    SetPressedArea(overArea_);
    if (pressedArea_ == calDays || pressedArea_ == calToday || pressedArea_ == calClear) TRzCustomPanel::DblClick();
}

void TRzCalendar::GoToday() {
    bool allow = true;
    if (OnToday) OnToday(this, allow);
    if (!allow) return;
    const bool saved = forceUpdate_;
    forceUpdate_ = true;
    SetDateInternal(Today());
    forceUpdate_ = saved;
}

void TRzCalendar::ClearDate() {
    clearClicked_ = true;
    bool allow = true;
    if (OnClear) OnClear(this, allow);
    if (!allow) return;
    const bool saved = forceUpdate_;
    forceUpdate_ = true;
    SetDateInternal(0);
    forceUpdate_ = saved;
}

void TRzCalendar::RepeatStep() {
    if (overArea_ != pressedArea_) return;
    if (pressedArea_ == calPrevious) MoveView(-1);
    else if (pressedArea_ == calNext) MoveView(1);
}

void TRzCalendar::WMTimer(TMessage& m) {
    if (m.WParam != kRepeatTimer) return InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    ++repeatCounter_;
    const int n = repeatCounter_;
    if ((n < 20 && n % 5 == 0) || (n >= 20 && n < 200 && n % 2 == 0) || n >= 200) RepeatStep();
}

void TRzCalendar::WndProc(TMessage& m) {
    // A drop-down calendar never has the focus (its popup hands it the keys): the open year
    // spinner gets them, as it would by having the focus.
    const bool key = m.Msg == WM_KEYDOWN || m.Msg == WM_KEYUP || m.Msg == WM_CHAR;
    if (key && spinnerOpen_ && !yearSpinner_->Focused()) {
        yearSpinner_->WindowProc(m);
        return;
    }
    TRzCustomPanel::WndProc(m);
}

void TRzCalendar::KeyDown(WORD& key, TShiftState shift) {
    TRzCustomPanel::KeyDown(key, shift);
    if (shift.Contains(ssShift) || shift.Contains(ssAlt) || shift.Contains(ssCtrl)) return;
    const TDateTime base = date_ == 0 ? Today() : date_;
    switch (key) {
        case kEnd: SetDateInternal(LastOfMonth(base)); break;
        case kHome: SetDateInternal(FirstOfMonth(base)); break;
        case kLeft: SetDateInternal(base - 1); break;
        case kUp: SetDateInternal(base - 7); break;
        case kRight: SetDateInternal(base + 1); break;
        case kDown: SetDateInternal(base + 7); break;
        case kPageUp:
            if (elements_.Contains(ceMonth)) SetDateInternal(IncMonth(base, -1));
            break;
        case kPageDown:
            if (elements_.Contains(ceMonth)) SetDateInternal(IncMonth(base, 1));
            break;
        case kReturn: TRzCustomPanel::Click(); break;
        default: break;
    }
}

void TRzCalendar::OpenYearSpinner() {
    WORD y, m, d;
    DecodeDate(viewDate_, y, m, d);
    yearSpinner_->SetValue(y);
    if (maxDate_ != 0) {
        DecodeDate(maxDate_, y, m, d);
        yearSpinner_->SetMax(y);
        yearSpinner_->SetCheckRange(true);
    }
    if (minDate_ != 0) {
        DecodeDate(minDate_, y, m, d);
        yearSpinner_->SetMin(y);
        yearSpinner_->SetCheckRange(true);
    }
    const int space = TextSize(u" ").cx;
    const TRect& header = layout_[calHeader];
    const int left = layout_[calTitle].right - yearSpinner_->ButtonWidth() - space;
    const int width = 2 * space + TextSize(u"0000").cx + 2 * yearSpinner_->ButtonWidth();
    yearSpinner_->SetBounds(left, header.top - 1, width, header.Height() + 2);
    yearSpinner_->SetVisible(true);
    spinnerOpen_ = true;
    if (yearSpinner_->CanFocus()) yearSpinner_->SetFocus();
}

void TRzCalendar::CloseYearSpinner() {
    if (!spinnerOpen_) return;
    spinnerOpen_ = false;
    yearSpinner_->SetVisible(false);
    if (CanFocus()) SetFocus();
}

// ---- messages

void TRzCalendar::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

void TRzCalendar::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TRzCalendar::CMFontChanged(TMessage& m) {
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    Measure();
}

void TRzCalendar::CMDialogChar(TMessage& m) {
    if (!Enabled()) return InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    const WORD key = static_cast<WORD>(m.WParam);
    if (IsAccel(key, captionClear_)) {
        ClearDate();
        m.Result = 1;
    } else if (IsAccel(key, captionToday_)) {
        GoToday();
        m.Result = 1;
    } else {
        InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    }
}

void TRzCalendar::CMEnterLeave(TMessage& m) {
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    Invalidate();
}

void RegisterStyledCalendar() { RegisterClasses({&TRzCalendar::StaticClass()}); }
