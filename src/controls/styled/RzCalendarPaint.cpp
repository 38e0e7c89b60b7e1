// The month calendar's painting and the calendar button.
#include <algorithm>
#include <string>

#include "controls/styled/RzCalendar.h"
#include "platform/vcl/FormatSettings.h"
#include "platform/vcl/Gdi.h"

namespace {

constexpr UINT kCellText = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;

bool FlatStyle(TFrameStyleEx style) { return style == fsFlat || style == fsFlatBold || style == fsFlatRounded; }

void DrawCell(TCanvas& canvas, const WideString& text, TRect r) { CanvasDrawText(canvas, text, r, kCellText); }

WideString Number(int value) {
    const std::string digits = std::to_string(value);
    return WideString(digits.begin(), digits.end());
}

}  // namespace

void DrawCalendarButton(TCanvas& canvas, const TRect& r, const WideString& caption, bool /*themed*/, bool pressed, bool flat,
                        TColor fontColor, TColor buttonColor) {
    TRect inner;
    if (buttonColor == clBtnFace) {
        inner = pressed ? PaintButtonBorder(canvas, r, true) : flat ? PaintFrameBorder(canvas, r, fsFlat) : PaintCtl3DBorder(canvas, r, false);
    } else {
        inner = pressed ? PaintColoredButtonBorder(canvas, r, buttonColor, true)
                : flat  ? PaintColoredBorder(canvas, r, buttonColor, fsFlat)
                        : PaintColoredButtonBorder(canvas, r, buttonColor, false);
    }
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(buttonColor);
    canvas.FillRect(inner);
    TRect text = inner;
    if (pressed) text.Offset(2, 2);
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetColor(fontColor);
    CanvasDrawCenteredText(canvas, caption, text);
    canvas.Brush()->SetStyle(bsSolid);
}

void TRzCalendar::Paint() {
    today_ = Today();
    UpdateLayout();
    TRzCustomPanel::Paint();
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    if ((elements_.Contains(ceYear) || elements_.Contains(ceMonth)) && showDays_) PaintHeader(canvas);
    if (!showDays_) return;
    PaintButtons(canvas);
    if (elements_.Contains(ceDaysOfWeek)) PaintDayNames(canvas);
    PaintGrid(canvas);
}

void TRzCalendar::PaintHeader(TCanvas& canvas) {
    TRect header = layout_[calHeader];
    if (!FlatStyle(BorderOuter())) header = PaintFrameBorder(canvas, header, fsPopup);
    canvas.Brush()->SetColor(buttonColor_);
    canvas.FillRect(header);
    canvas.Brush()->SetStyle(bsClear);
    if (elements_.Contains(ceArrows)) {
        canvas.Font()->SetColor(buttonFontColor_);
        PaintArrowButton(canvas, layout_[calPrevious], false, true, false, 2);
        PaintArrowButton(canvas, layout_[calNext], false, true, false, 3);
    }
    canvas.Font()->SetColor(buttonFontColor_);
    TRect r = layout_[calHeader];
    CanvasDrawText(canvas, FormatDateTime(elements_.Contains(ceYear) ? u"mmmm yyyy" : u"mmmm", viewDate_), r, kCellText);
    canvas.Brush()->SetStyle(bsSolid);
}

void TRzCalendar::PaintButtons(TCanvas& canvas) {
    const bool flat = FlatStyle(BorderOuter());
    if (elements_.Contains(ceTodayButton))
        DrawCalendarButton(canvas, layout_[calToday], TodayCaption(), themeAware_, pressedArea_ == calToday && overArea_ == calToday, flat,
                           buttonFontColor_, buttonColor_);
    if (elements_.Contains(ceClearButton))
        DrawCalendarButton(canvas, layout_[calClear], ClearCaption(), themeAware_, pressedArea_ == calClear && overArea_ == calClear, flat,
                           buttonFontColor_, buttonColor_);
    canvas.SetFont(Font());
}

void TRzCalendar::PaintDayNames(TCanvas& canvas) {
    const TRect& row = layout_[calDayNames];
    canvas.Brush()->SetColor(Color());
    canvas.Font()->SetColor(colors_->DaysOfWeek());
    canvas.Font()->SetSize(Font()->Size() - 1);
    const auto& names = FormatSettings().ShortDayNames;
    int widest = 0;
    for (const WideString& n : names) widest = std::max<int>(widest, canvas.TextWidth(n));
    const int width = cellWidth_ - 2;
    for (int i = 0; i < 7; ++i) {
        // Columns count from the first day; the names from Sunday.
        WideString name = names[static_cast<size_t>((firstDay_ + i + 1) % 7)];
        if (width < widest) {
            name = name.substr(0, 2);
            if (canvas.TextWidth(name) > width) name = name.substr(0, 1);
        }
        const int left = row.left + i * cellWidth_;
        DrawCell(canvas, name, TRect(left, row.top - 1, left + width, row.top - 1 + cellHeight_));
    }
    const int from = elements_.Contains(ceWeekNumbers) ? layout_[calWeekNumbers].right - 5 : row.left;
    canvas.Pen()->SetColor(colors_->Lines());
    canvas.MoveTo(from, row.bottom);
    canvas.LineTo(row.right, row.bottom);
    canvas.SetFont(Font());
}

void TRzCalendar::PaintGrid(TCanvas& canvas) {
    const TRect& grid = layout_[calDays];
    const bool weeks = elements_.Contains(ceWeekNumbers);
    const bool fill = elements_.Contains(ceFillDays);
    // Bold days of the view month and its neighbours, by month offset -1, 0, 1.
    std::uint32_t bold[3] = {0, 0, 0};
    if (OnGetBoldDays) {
        for (int k = -1; k <= 1; ++k) {
            if (k != 0 && !fill) continue;
            const TDateTime month = k == 0 ? viewDate_ : k < 0 ? viewDate_ - 1 : viewDate_ + 31;
            WORD y, m, d;
            DecodeDate(month, y, m, d);
            OnGetBoldDays(this, y, m, bold[k + 1]);
        }
    }
    if (weeks) {
        const TRect& column = layout_[calWeekNumbers];
        canvas.Pen()->SetColor(colors_->DaysOfWeek());
        canvas.MoveTo(column.right - 5, column.top);
        canvas.LineTo(column.right - 5, column.bottom);
    }
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 7; ++col) {
            const TDateTime day = firstGridDate_ + row * 7 + col;
            WORD y, m, d;
            DecodeDate(day, y, m, d);
            WORD vy, vm, vd;
            DecodeDate(viewDate_, vy, vm, vd);
            const bool inView = y == vy && m == vm;
            if (!inView && !fill) continue;
            const int left = grid.left + col * cellWidth_, top = grid.top - 1 + row * cellHeight_;
            const TRect cell(left, top, left + cellWidth_ - 2, top + cellHeight_);
            TColor fontColor = inView ? colors_->Days() : colors_->FillDays();
            TColor back = Color();
            TFontStyles style;
            if (OnGetDayFormat) {
                OnGetDayFormat(this, day, y, m, d, back, fontColor, style);
            } else {
                const int month = inView ? 1 : day < viewDate_ ? 0 : 2;
                if (bold[month] & (1u << (d - 1))) style << fsBold;
            }
            // Fills and frames take the cell widened by 2 pixels.
            const TRect wide(cell.left - 1, cell.top, cell.right + 1, cell.bottom);
            if (ColorToRGB(back) != ColorToRGB(Color())) {
                canvas.Brush()->SetColor(back);
                canvas.FillRect(wide);
            }
            if (day == date_) {
                canvas.Brush()->SetColor(colors_->SelectedDateBack());
                canvas.FillRect(wide);
                fontColor = colors_->SelectedDateFore();
                if (Focused()) canvas.DrawFocusRect(wide);
            }
            canvas.Brush()->SetStyle(bsClear);
            canvas.Font()->SetColor(fontColor);
            canvas.Font()->SetStyle(style);
            DrawCell(canvas, Number(d), cell);
            canvas.Brush()->SetStyle(bsSolid);
            if (day == today_) {
                canvas.Pen()->SetColor(colors_->TodaysDateFrame());
                canvas.Brush()->SetStyle(bsClear);
                canvas.Rectangle(wide);
                canvas.Brush()->SetStyle(bsSolid);
            }
        }
        if (weeks) {
            const TRect& column = layout_[calWeekNumbers];
            const TDateTime rowStart = firstGridDate_ + row * 7;
            int week = WeekOfTheYear(rowStart + 1);
            if (OnGetWeekNumber) OnGetWeekNumber(this, rowStart + 7, week);
            canvas.Brush()->SetColor(Color());
            canvas.Font()->SetColor(colors_->DaysOfWeek());
            canvas.Font()->SetStyle({});
            const int top = column.top + 1 + row * cellHeight_;
            DrawCell(canvas, Number(week),
                     TRect(column.left, top, column.right - 5, top + cellHeight_));
        }
    }
    canvas.SetFont(Font());
    if (HasButtons()) {
        const int from = weeks ? layout_[calWeekNumbers].right - 5 : grid.left;
        canvas.Pen()->SetColor(colors_->Lines());
        canvas.MoveTo(from, grid.bottom - 1);
        canvas.LineTo(grid.right, grid.bottom - 1);
    }
}
