// Painting the toolbar button: the face of its visual style, the latched pattern, the drop-down
// arrow, and the picture and caption placed by CalcLayout. The platform draws no themes, so
// the themed branches of the styles fall back to their flat drawings.
#include "controls/styled/RzToolButton.h"

#include "controls/styled/DrawHelpers.h"
#include "platform/vcl/Gdi.h"

void TRzToolButton::Paint() {
    if (!Enabled()) {
        buttonState_ = bsDisabled;
        tracking_ = false;
    } else if (buttonState_ == bsDisabled) {
        buttonState_ = down_ && groupIndex_ != 0 ? bsExclusive : bsUp;
    }
    TCanvas& canvas = *Canvas();
    TRect r = ClientRect();
    DrawFace(r);
    if (!transparent_) {
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(r);
    }
    if (buttonState_ == bsExclusive && !(FlatLooking() && pointerInside_) && visualStyle_ != vsGradient) {
        TBitmap pattern;
        if (transparent_) BuildCheckerPattern(pattern, clBtnFace, clBtnHighlight);
        else BuildCheckerPattern(pattern, Color(), LighterColor(Color(), 20));
        canvas.Brush()->SetBitmap(&pattern);
        canvas.FillRect(r);
        canvas.Brush()->SetBitmap(nullptr);
    }
    if (toolStyle_ == tsDropDown) DrawDropDownArrow();
    TRect picture, text;
    CalcLayout(picture, text);
    DrawPicture(picture);
    DrawCaptionText(text);
}

void TRzToolButton::DrawFace(TRect& r) {
    TCanvas& canvas = *Canvas();
    const bool pressed = LooksPressed();
    const bool designing = ComponentState().Contains(csDesigning);
    if (!FlatLooking()) {
        r = PaintFrameBorder(canvas, r, pressed ? fsLowered : fsButtonUp);
        return;
    }
    if (!pressed && !Active()) return;
    if (visualStyle_ != vsGradient) {
        r = PaintFrameBorder(canvas, r, pressed ? fsStatus : fsPopup);
        return;
    }
    TColor frame, start, stop;
    if (gradientColorStyle_ == gcsCustom) {
        frame = selectionFrameColor_;
        start = selectionColorStart_;
        stop = selectionColorStop_;
    } else {
        GetHighlightGradientColors(gradientColorStyle_, frame, start, stop);
    }
    if (designing) {
        r.Inflate(-1, -1);
        PaintBoxCornerMarks(canvas, r, frame, 4);
        r.Inflate(-1, -1);
    } else {
        r = PaintBoxOutline(canvas, r, frame);
    }
    switch (buttonState_) {
        case bsDown:
        case bsDropped: PaintGradient(canvas, r, gdHorizontalEnd, 0, stop, start); break;
        case bsExclusive:
            if (pointerInside_) {
                if (down_) PaintGradient(canvas, r, gdHorizontalEnd, 0, stop, start);
                else PaintGradient(canvas, r, gdHorizontalEnd, 0, start, stop);
            } else {
                PaintGradient(canvas, r, gdHorizontalEnd, 0, DarkerColor(stop, 40), start);
            }
            break;
        case bsUp:
            if (!designing) PaintGradient(canvas, r, gdHorizontalEnd, 0, start, stop);
            break;
        default: break;
    }
}

void TRzToolButton::DrawDropDownArrow() {
    TCanvas& canvas = *Canvas();
    const bool rtl = UseRightToLeftAlignment();
    int x0 = rtl ? kArrowWidth : Width() - kArrowWidth;
    const bool gradient = visualStyle_ == vsGradient;
    if (buttonState_ == bsDropped) {
        if (IsSplitButton()) {
            const int w = gradient ? kArrowWidth + 1 : kArrowWidth;
            TRect part = rtl ? TRect(0, 0, w, Height()) : TRect(Width() - w, 0, Width(), Height());
            if (gradient) {
                TColor frame, start, stop;
                GetHighlightGradientColors(gradientColorStyle_, frame, start, stop);
                if (gradientColorStyle_ == gcsCustom) {
                    frame = selectionFrameColor_;
                    start = selectionColorStart_;
                    stop = selectionColorStop_;
                }
                part = PaintBoxOutline(canvas, part, frame);
                PaintGradient(canvas, part, gdHorizontalEnd, 0, start, stop);
            } else {
                PaintFrameBorder(canvas, part, fsStatus);
            }
        }
    } else if (Enabled() && (!FlatLooking() || pointerInside_)) {
        if (!gradient && buttonState_ == bsDown) ++x0;
        if (IsSplitButton()) {
            const auto line = [&](TColor color, int x) {
                canvas.Pen()->SetColor(color);
                canvas.MoveTo(x, 0);
                canvas.LineTo(x, Height());
            };
            if (gradient) {
                line(gradientColorStyle_ == gcsCustom ? selectionFrameColor_ : GetFrameColor(gradientColorStyle_), x0 - 1);
            } else {
                if (buttonState_ != bsDown) line(clBtnHighlight, x0);
                line(clBtnShadow, x0 - 1);
            }
        }
    }
    int x = rtl ? 6 : ClientWidth() - 8, y = ClientHeight() / 2 + 2;
    if (!gradient && (buttonState_ == bsDown || buttonState_ == bsDropped)) {
        ++x;
        ++y;
    }
    const TColor color = Enabled() ? clWindowText : clBtnShadow;
    canvas.Pen()->SetColor(color);
    canvas.Brush()->SetColor(color);
    canvas.Polygon({TPoint(x, y), TPoint(x - 2, y - 2), TPoint(x + 2, y - 2)});
}

TPoint TRzToolButton::GetPictureSize() const {
    const TCustomImageList* list = PictureList();
    if (!list || imageIndex_ == -1) return {0, 0};
    return {list->Width(), list->Height()};
}

TSize TRzToolButton::CaptionSize(const TRect& r) {
    if (MeasureCaption) return MeasureCaption(r);
    const WideString caption = Caption();
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return FontTextExtent(*Font(), StripHotkey(caption));  // no drawing backend
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    RECT t = r;
    DrawTextW(dc, caption.c_str(), -1, &t, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_VCENTER | DT_CENTER);
    SelectObject(dc, old);
    DeleteDC(dc);
    return TSize{t.right - t.left, t.bottom - t.top};
}

void TRzToolButton::CalcLayout(TRect& pictureRect, TRect& textRect) {
    TRect r = ClientRect();
    if (toolStyle_ == tsDropDown) {
        if (UseRightToLeftAlignment()) r.left += kArrowWidth;
        else r.right -= kArrowWidth;
    }
    r.Inflate(-2, -2);
    const TPoint picture = GetPictureSize();
    const int w = picture.x, h = picture.y;
    const WideString caption = Caption();
    if (showCaption_ && !caption.empty()) {
        TRect room = r;
        switch (layout_) {
            case blGlyphLeft: room.left += w; break;
            case blGlyphRight: room.right -= w; break;
            case blGlyphTop: room.top += h; break;
            case blGlyphBottom: room.bottom -= h; break;
        }
        const TSize text = CaptionSize(room);
        const int tw = text.cx, th = text.cy;
        const int L = r.left, T = r.top, W = r.Width(), H = r.Height();
        int px = 0, py = 0, tx = 0, ty = 0;
        switch (layout_) {
            case blGlyphLeft:
                px = L + (W - w - 4 - tw) / 2;
                py = T + (H - h) / 2;
                tx = px + w + 4;
                ty = T + (H - th) / 2;
                break;
            case blGlyphRight:
                px = r.right - w - (W - w - 4 - tw) / 2;
                py = T + (H - h) / 2;
                tx = px - tw - 4;
                ty = T + (H - th) / 2;
                break;
            case blGlyphTop:
                px = L + (W - w) / 2;
                py = T + (H - h - 4 - th) / 2;
                tx = L + (W - tw) / 2;
                ty = py + h + 4;
                break;
            case blGlyphBottom:
                px = L + (W - w) / 2;
                py = r.bottom - h - (H - h - 4 - th) / 2;
                tx = L + (W - tw) / 2;
                ty = py - th - 4;
                break;
        }
        pictureRect = TRect(px, py, px + w, py + h);
        textRect = TRect(tx, ty, tx + tw, ty + th);
    } else {
        pictureRect = CenteredRect(r, w, h);
        textRect = TRect(0, 0, 0, 0);
    }
    if (alignment_ != taCenter) {
        int leftmost = textRect.IsEmpty() ? pictureRect.left : textRect.left;
        if (w > 0 && pictureRect.left < leftmost) leftmost = pictureRect.left;
        const int s = leftmost - 4;
        const int shift = alignment_ == taLeftJustify ? -s : s;
        pictureRect.Offset(shift, 0);
        textRect.Offset(shift, 0);
    }
    const bool pressedLook = LooksPressed() || (buttonState_ == bsDropped && toolStyle_ == tsDropDown && !IsSplitButton());
    if (pressedLook && visualStyle_ != vsGradient) {
        pictureRect.Offset(1, 1);
        textRect.Offset(1, 1);
    }
}

void TRzToolButton::DrawPicture(const TRect& r) {
    TCustomImageList* list = PictureList();
    if (!list || imageIndex_ == -1) return;
    const bool pressedLook = LooksPressed() || (buttonState_ == bsDropped && toolStyle_ == tsDropDown && !IsSplitButton());
    const bool hot = pointerInside_ && Enabled() && hotIndex_ != -1;
    if (pressedLook && downIndex_ != -1) {
        list->Draw(Canvas(), r.left, r.top, downIndex_, true);
    } else if (disabledIndex_ == -1) {
        list->Draw(Canvas(), r.left, r.top, hot ? hotIndex_ : imageIndex_, Enabled());
    } else {
        list->Draw(Canvas(), r.left, r.top, !Enabled() ? disabledIndex_ : hot ? hotIndex_ : imageIndex_, true);
    }
}

void TRzToolButton::DrawCaptionText(const TRect& r) {
    if (!showCaption_) return;
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetStyle(bsClear);
    canvas.SetFont(Font());
    if (buttonState_ == bsDown && visualStyle_ != vsGradient) canvas.Font()->SetColor(clHighlightText);
    if (!Enabled()) canvas.Font()->SetColor(clBtnShadow);
    // Text is measured to whole pixels but laid out in fractions of one: a rectangle exactly as
    // wide as the measured caption could wrap its last word. Centred text stays centred.
    TRect t = r;
    t.Inflate(2, 0);
    UINT flags = DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS;
    if (UseRightToLeftAlignment()) flags |= DT_RTLREADING;
    CanvasDrawText(canvas, Caption(), t, flags);
    canvas.Brush()->SetStyle(bsSolid);
}
