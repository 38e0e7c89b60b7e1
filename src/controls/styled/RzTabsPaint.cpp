// Painting the tab control: everything into an off-screen bitmap, copied once. Tabs are filled
// inside their outline regions; outlines and the card frame are one-pixel lines in the flat
// colour, run from a small command list so the drop shadow can blend with what lies below.
#include <algorithm>

#include "controls/styled/RzTabButtons.h"
#include "controls/styled/RzTabs.h"
#include "platform/vcl/Gdi.h"

namespace {

enum { cmdPen = 0, cmdItem = 2, cmdMove = 3, cmdLine = 4, cmdShadow30 = 5, cmdShadow15 = 6 };


// Keeps a canvas's drawing state for a scope.
class TSavedDC {
public:
    explicit TSavedDC(TCanvas& canvas) : dc_(canvas.Handle()), saved_(SaveDC(dc_)) {
        if (!saved_) throw ERzTabControlError("Error saving device context");
    }
    ~TSavedDC() { RestoreDC(dc_, saved_); }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace

void TRzCustomTabControl::Paint() {
    painted_ = true;
    // The layout pass (which may switch pages) runs from the message queue, not from here.
    if (layoutDirty_ && !layoutPosted_ && HandleAllocated()) {
        layoutPosted_ = true;
        PostMessageW(WindowHandle(), CM_TABLAYOUT, 0, 0);
    }
    UpdateGeometry();
    const int w = std::max(1, Width()), h = std::max(1, Height());
    if (!offscreen_) offscreen_ = std::make_unique<TBitmap>();
    if (offscreen_->Width() != w || offscreen_->Height() != h) offscreen_->SetSize(w, h);
    PaintTo(*offscreen_->Canvas());
    Canvas()->CopyRect(ClientRect(), offscreen_->Canvas(), ClientRect());
}

void TRzCustomTabControl::PaintTo(TCanvas& canvas) {
    UpdateGeometry();
    const TRect client(0, 0, Width(), Height());
    if (!PaintBackgroundEvent(canvas, client)) {
        if (transparent_) {
            DrawParentBackgroundOnCanvas(this, canvas, false);
        } else {
            canvas.Brush()->SetStyle(bsSolid);
            canvas.Brush()->SetColor(backgroundColor_);
            canvas.FillRect(client);
        }
    }
    PlaceButtons();
    const int count = tabs_.Count();
    if (count > 0) {
        // Walk backward from just before the first visible tab of row 0 so earlier tabs lie on
        // top of later ones, with the cards of the outer rows between them.
        int first = -1;
        for (int i = std::max(firstVisibleTab_, 0); i < count && first < 0; ++i)
            if (tabs_.Items(i)->Visible && tabs_.Items(i)->Row == 0) first = i;
        const int start = (first <= 0) ? count - 1 : first - 1;
        int cardRow = rowCount_ - 1;
        int i = start;
        do {
            const TRzTabData* tab = tabs_.Items(i);
            if (tab->Visible && TabIsShown(i) && i >= firstVisibleTab_ && i != tabIndex_) {
                if (cardRow > 0 && tab->Row < cardRow) {
                    PaintCard(canvas, cardRow);
                    cardRow = tab->Row;
                }
                PaintTab(canvas, i);
            }
            i = i == 0 ? count - 1 : i - 1;
        } while (i != start);
        if (cardRow == 1) PaintCard(canvas, 1);
        if (tabIndex_ >= 0 && tabIndex_ >= firstVisibleTab_ && TabIsShown(tabIndex_)) PaintTab(canvas, tabIndex_);
    }
    PaintCard(canvas, 0);
    if (dropMarkerShown_) {
        // The marker: a triangle pointing from the strip's outer edge toward the page.
        const TRect r = dropMarkerRect_;
        std::vector<TPoint> tri;
        switch (tabOrientation_) {
        case toTop: tri = {{r.left, r.top}, {r.right, r.top}, {(r.left + r.right) / 2, r.bottom}}; break;
        case toBottom: tri = {{r.left, r.bottom}, {r.right, r.bottom}, {(r.left + r.right) / 2, r.top}}; break;
        case toLeft: tri = {{r.left, r.top}, {r.left, r.bottom}, {r.right, (r.top + r.bottom) / 2}}; break;
        case toRight: tri = {{r.right, r.top}, {r.right, r.bottom}, {r.left, (r.top + r.bottom) / 2}}; break;
        }
        canvas.Pen()->SetColor(clBtnShadow);
        canvas.Brush()->SetColor(clBtnShadow);
        canvas.Polygon(tri);
    }
    hotOnlyPaint_ = false;
}

// ---- events

bool TRzCustomTabControl::PaintBackgroundEvent(TCanvas& canvas, const TRect& r) {
    bool handled = false;
    if (OnPaintBackground) OnPaintBackground(this, &canvas, r, handled);
    return handled;
}

bool TRzCustomTabControl::PaintCardBackgroundEvent(TCanvas& canvas, int row, const TRect& r) {
    bool handled = false;
    if (OnPaintCardBackground) OnPaintCardBackground(this, &canvas, row, r, handled);
    return handled;
}

bool TRzCustomTabControl::PaintTabBackgroundEvent(TCanvas& canvas, int index, const TRect& r) {
    bool handled = false;
    if (OnPaintTabBackground) OnPaintTabBackground(this, &canvas, index, r, handled);
    return handled;
}

TColor TRzCustomTabControl::GetTextColorEvent(int index, TRzTextStyle style, TColor color) {
    bool handled = false;
    TColor c = color;
    if (OnGetTextColor) OnGetTextColor(this, index, style, c, handled);
    return handled ? c : color;
}

// ---- tabs

void TRzCustomTabControl::PaintTab(TCanvas& canvas, int index) {
    const TRect bounds = TabBounds(index);
    const TRect clip = canvas.ClipRect();
    if (!clip.IsEmpty() && (bounds.right < clip.left || bounds.left > clip.right || bounds.bottom < clip.top ||
                            bounds.top > clip.bottom))
        return;
    if (HRGN region = TabRegion(index)) {
        TSavedDC saved(canvas);
        SelectClipRgn(canvas.Handle(), region);
        PaintTabBackground(canvas, index, bounds);
        PaintTabFace(canvas, index, bounds);
    }
    const std::vector<TPoint> outline = TabOutline(index);
    const std::size_t n = outline.size();
    bool ok = false;
    switch (tabStyle_) {
    case tsSingleSlant:
    case tsBackSlant: ok = n == (softCorners_ ? 6u : 5u); break;
    case tsDoubleSlant: ok = n == 4 || n == 6; break;
    case tsCutCorner: ok = n == 5; break;
    case tsRoundCorners: ok = n == 6; break;
    case tsSquareCorners: ok = n == 4; break;
    }
    if (!ok) throw ERzTabControlError("Incorrect number of points in tab shape");
    std::vector<Command> commands{{cmdItem, 0, index}, {cmdPen, 0, 0}};
    for (std::size_t k = 0; k < n; ++k) {
        const TPoint p = LogicalToClient(outline[k]);
        commands.push_back({k == 0 ? cmdMove : cmdLine, p.x, p.y});
    }
    RunCommands(canvas, commands);
}

void TRzCustomTabControl::PaintTabBackground(TCanvas& canvas, int index, const TRect& bounds) {
    if (PaintTabBackgroundEvent(canvas, index, bounds)) return;
    const TRzTabData* tab = tabs_.Items(index);
    TColor base, light, dark;
    if (useColoredTabs_) {
        base = tab->Color;
        light = LighterColor(base, 20);
        dark = ColorsAreClose(light, clWhite) ? clBtnFace : DarkerColor(base, 40);
    } else {
        base = Color();
        light = tabColors_->Unselected();
        dark = tabColors_->Shadow();
    }
    if (index == hotTab_ && hotTrack_ && hotTrackStyle_ == htsTab) {
        if (hotTrackColorSource_ == htcsTabColor) {
            dark = DarkerColor(dark, 30);
        } else if (hotTrackColorType_ == htctActual) {
            light = LighterColor(hotTrackColor_, 60);
            dark = hotTrackColor_;
        } else {
            dark = ComplementColor(hotTrackColor_, 140);
            light = LighterColor(dark, 60);
        }
    }
    canvas.Brush()->SetStyle(bsSolid);
    if (index == tabIndex_) {
        canvas.Brush()->SetColor(base);
        canvas.FillRect(bounds);
    } else if (useGradients_ && IsFullColorDisplay()) {
        switch (tabOrientation_) {
        case toTop: PaintGradient(canvas, bounds, gdHorizontalEnd, 1, dark, light); break;
        case toLeft: PaintGradient(canvas, bounds, gdVerticalEnd, 1, dark, light); break;
        case toBottom: PaintGradient(canvas, bounds, gdHorizontalEnd, 1, light, dark); break;
        case toRight: PaintGradient(canvas, bounds, gdVerticalEnd, 1, light, dark); break;
        }
    } else {
        canvas.Brush()->SetColor(light);
        canvas.FillRect(bounds);
    }
}

void TRzCustomTabControl::PaintBar(TCanvas& canvas, int index, const TRect& bounds, TColor color) {
    (void)index;
    TRect r = bounds;
    r.Inflate(1, 1);
    switch (tabOrientation_) {
    case toTop: r.bottom = r.top + 6; break;
    case toLeft: r.right = r.left + 6; break;
    case toBottom: r.top = r.bottom - 4; break;
    case toRight: r.left = r.right - 4; break;
    }
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(color);
    canvas.FillRect(r);
}

void TRzCustomTabControl::PaintTabFace(TCanvas& canvas, int index, const TRect& bounds) {
    const TRzTabData* tab = tabs_.Items(index);
    TRect box = TabTextRect(index, true);
    const bool hasImage = images_ && tab->ImageIndex != -1;
    TRect imageBox = box;
    if (hasImage) {
        const int iw = images_->Width(), ih = images_->Height();
        switch (imagePosition_) {
        case ipLeft:
            imageBox.right = imageBox.left + iw;
            box.left += iw + imageMargin_;
            break;
        case ipRight:
            imageBox.left = imageBox.right - iw;
            box.right -= iw + imageMargin_;
            break;
        case ipTop:
            imageBox.bottom = imageBox.top + ih;
            box.top += ih + imageMargin_;
            break;
        case ipBottom:
            imageBox.top = imageBox.bottom - ih;
            box.bottom -= ih + imageMargin_;
            break;
        default: break;
        }
        int x = imageBox.left, y = imageBox.top;
        if (imagePosition_ != ipStretch) {
            if (imageAlignment_ == haCenter) x += (imageBox.Width() - iw) / 2;
            else if (imageAlignment_ == haRight) x = imageBox.right - iw;
            if (imageAlignmentVertical_ == vaCenter) y += (imageBox.Height() - ih) / 2;
            else if (imageAlignmentVertical_ == vaBottom) y = imageBox.bottom - ih;
        }
        int image = tab->ImageIndex;
        bool enabled = tab->Enabled;
        if (!tab->Enabled && tab->DisabledIndex != -1) {
            image = tab->DisabledIndex;
            enabled = true;
        }
        if (image != -1) images_->Draw(&canvas, x, y, image, enabled);
    }
    // Text colour and the bars of hot and active tabs.
    TRzTextStyle style;
    TColor color;
    const bool hot = tab->Enabled && hotTrack_ && index == hotTab_;
    if (!tab->Enabled) {
        style = tsDisabled;
        color = textColors_->Disabled();
    } else if (hot) {
        style = tsHotTrack;
        if (hotTrackStyle_ == htsText)
            color = hotTrackColorType_ == htctActual ? hotTrackColor_ : ComplementColor(hotTrackColor_, 140);
        else
            color = textColors_->Selected();
    } else if (index == tabIndex_) {
        style = tsSelected;
        color = textColors_->Selected();
    } else {
        style = tsUnselected;
        color = textColors_->Unselected();
    }
    color = GetTextColorEvent(index, style, color);
    if (hotTrackStyle_ == htsTabBar) {
        if (hot) {
            TColor bar = hotTrackColor_;
            if (hotTrackColorSource_ == htcsTabColor) bar = DarkerColor(tab->Color, 40);
            else if (hotTrackColorType_ != htctActual) bar = ComplementColor(hotTrackColor_, 140);
            PaintBar(canvas, index, bounds, bar);
        } else if (index == tabIndex_ && hotTrack_ && tab->Enabled) {
            PaintBar(canvas, index, bounds, tabColors_->HighlightBar());
        }
    }
    if (!tab->Caption.empty()) PaintCaption(canvas, index, box, color);
    if (showFocusRect_ && index == tabIndex_ && Focused()) {
        TRect f = TabTextRect(index, true);
        if (HorizontalTabs()) {
            f.left -= 1;
            f.right += 1;
            f.bottom += 1;
        } else {
            f.top -= 1;
            f.bottom += 1;
        }
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(clWhite);
        canvas.Font()->SetColor(clBlack);
        canvas.DrawFocusRect(f);
    }
}

void TRzCustomTabControl::PaintCaption(TCanvas& canvas, int index, const TRect& box, TColor color) {
    const TRzTabData* tab = tabs_.Items(index);
    canvas.Font()->Assign(Font());
    TFontStyles style = Font()->Style();
    if (boldCurrentTab_ && index == tabIndex_) style << fsBold;
    canvas.Font()->SetStyle(style);
    canvas.Font()->SetColor(color);
    const bool vertical = VerticalText();
    // Vertical text turns a quarter: up on top, left and bottom tabs, down on right tabs.
    const bool down = tabOrientation_ == toRight;
    if (vertical) canvas.Font()->SetOrientation(down ? 2700 : 900);
    canvas.Brush()->SetStyle(bsClear);
    const std::vector<WideString> lines = TabCaptionLines(tab->Caption);
    std::vector<TSize> sizes;
    TSize total{0, 0};
    for (const WideString& line : lines) {
        const TSize e = canvas.TextExtent(StripTabAccelerator(line));
        sizes.push_back(e);
        total.cx = std::max(total.cx, e.cx);
        total.cy += e.cy;
    }
    TRect r = box;
    if (!vertical) {
        if (textAlignmentVertical_ == vaCenter) {
            const int free = (r.Height() - total.cy) / 2;
            r.top += free;
        } else if (textAlignmentVertical_ == vaBottom) {
            r.top = r.bottom - total.cy;
        }
    }
    int lineOffset = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const TSize e = sizes[k];
        int x = 0, y = 0;
        if (!vertical) {
            x = r.left;
            if (textAlignment_ == haCenter) x += (r.Width() - e.cx) / 2;
            else if (textAlignment_ == haRight) x = r.right - e.cx;
            y = r.top + lineOffset;
        } else if (down) {
            x = r.right - lineOffset;
            y = r.top + (textAlignmentVertical_ == vaCenter ? (r.Height() - e.cx) / 2 : 0);
        } else {
            x = r.left + lineOffset;
            y = r.bottom - (textAlignmentVertical_ == vaCenter ? (r.Height() - e.cx) / 2 : 0);
        }
        lineOffset += e.cy;
        const TRzCaptionPieces pieces = SplitTabCaption(lines[k]);
        auto advance = [&](const WideString& text) {
            const int d = canvas.TextExtent(text).cx;
            if (!vertical) x += d;
            else if (down) y += d;
            else y -= d;
        };
        canvas.TextOut(x, y, pieces.before);
        advance(pieces.before);
        if (!pieces.accel.empty()) {
            const bool underlined = canvas.Font()->Style().Contains(fsUnderline);
            if (!underlined) canvas.Font()->SetStyle(style + TFontStyles{fsUnderline});
            canvas.TextOut(x, y, pieces.accel);
            advance(pieces.accel);
            canvas.Font()->SetStyle(style);
            canvas.TextOut(x, y, pieces.after);
        }
    }
    canvas.Font()->SetOrientation(0);
    canvas.Brush()->SetStyle(bsSolid);
}

// ---- cards

void TRzCustomTabControl::PaintCard(TCanvas& canvas, int row) {
    TRect r = CardRect(row);
    if (r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0) return;
    TRect fill = r;
    if (showCardArea_) {
        ++fill.right;
        ++fill.bottom;
    }
    if (!PaintCardBackgroundEvent(canvas, row, fill)) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(useColoredTabs_ && tabIndex_ >= 0 ? tabs_.Items(tabIndex_)->Color : Color());
        canvas.FillRect(fill);
    }
    if (!showCardFrame_) return;
    const int L = r.left, T = r.top, B = r.bottom;
    int R = r.right;
    const bool shadow = tabOrientation_ == toTop && tabSequence_ == tsStandard && showShadow_;
    const int Rf = shadow ? R - 2 : R, Bf = shadow ? B - 2 : B;
    std::vector<Command> c{{cmdItem, 1, row}, {cmdPen, 0, 0}};
    const bool gap = row == 0 && tabIndex_ >= 0 && tabIndex_ >= firstVisibleTab_ && TabIsShown(tabIndex_);
    if (!gap) {
        c.push_back({cmdMove, L, T});
        c.push_back({cmdLine, Rf, T});
        if (showFullFrame_) {
            c.push_back({cmdLine, Rf, Bf});
            c.push_back({cmdLine, L, Bf});
            c.push_back({cmdLine, L, T});
        }
    } else {
        const std::vector<TPoint> outline = TabOutline(tabIndex_);
        TPoint S = LogicalToClient(outline.front());
        TPoint E = LogicalToClient(outline.back());
        // The edge along the tabs runs from its first corner to the tab, and on from the tab.
        TPoint c0, c1, c2, c3;  // the frame's corners, starting at the tab-side edge
        switch (tabOrientation_) {
        case toTop: c0 = {L, T}; c1 = {Rf, T}; c2 = {Rf, Bf}; c3 = {L, Bf}; break;
        case toBottom: c0 = {L, Bf}; c1 = {Rf, Bf}; c2 = {Rf, T}; c3 = {L, T}; break;
        case toLeft: c0 = {L, T}; c1 = {L, Bf}; c2 = {Rf, Bf}; c3 = {Rf, T}; break;
        case toRight: c0 = {Rf, T}; c1 = {Rf, Bf}; c2 = {L, Bf}; c3 = {L, T}; break;
        }
        // Order S and E along the edge from c0.
        const bool alongX = HorizontalTabs();
        if ((alongX ? S.x : S.y) > (alongX ? E.x : E.y)) std::swap(S, E);
        if (alongX) ++S.x;
        else ++S.y;
        c.push_back({cmdMove, c0.x, c0.y});
        c.push_back({cmdLine, S.x, S.y});
        c.push_back({cmdMove, E.x, E.y});
        c.push_back({cmdLine, c1.x, c1.y});
        if (showFullFrame_) {
            c.push_back({cmdLine, c2.x, c2.y});
            c.push_back({cmdLine, c3.x, c3.y});
            c.push_back({cmdLine, c0.x, c0.y + (tabOrientation_ == toTop ? -1 : 0)});
        }
    }
    if (shadow && !hotOnlyPaint_) {
        c.push_back({cmdMove, R - 1, T + 1});
        c.push_back({cmdShadow30, R - 1, B - 1});
        c.push_back({cmdShadow30, L, B - 1});
        c.push_back({cmdMove, R - 1, T});
        c.push_back({cmdShadow15, R, T});
        c.push_back({cmdShadow15, R, B});
        c.push_back({cmdShadow15, L, B});
        c.push_back({cmdShadow15, L, B - 1});
    }
    RunCommands(canvas, c);
}

void TRzCustomTabControl::RunCommands(TCanvas& canvas, const std::vector<Command>& commands) {
    const TColor flat = FlatColorAdjusted();
    TPoint pen;
    for (const Command& c : commands) {
        switch (c.code) {
        case cmdPen:
        case cmdItem: canvas.Pen()->SetColor(flat); break;
        case cmdMove:
            canvas.MoveTo(c.x, c.y);
            pen = TPoint(c.x, c.y);
            break;
        case cmdLine:
            canvas.LineTo(c.x, c.y);
            pen = TPoint(c.x, c.y);
            break;
        case cmdShadow30:
        case cmdShadow15: {
            // Blend every pixel of the line, both ends included, with the background below it.
            const int strength = c.code == cmdShadow30 ? 30 : 15;
            const int dx = c.x > pen.x ? 1 : (c.x < pen.x ? -1 : 0);
            const int dy = c.y > pen.y ? 1 : (c.y < pen.y ? -1 : 0);
            TPoint p = pen;
            const TColor under = transparent_ && Parent() ? Parent()->Color() : backgroundColor_;
            for (;;) {
                canvas.SetPixel(p.x, p.y, BlendColors(clBlack, ColorToRGB(under), strength));
                if (p == TPoint(c.x, c.y)) break;
                p = TPoint(p.x + dx, p.y + dy);
            }
            canvas.MoveTo(c.x, c.y);
            pen = TPoint(c.x, c.y);
            break;
        }
        default: break;
        }
    }
}

// ---- drop marker

TRect TRzCustomTabControl::DropMarkerFor(int index) const {
    const TRect b = TabBounds(index);
    const bool leading = index < tabIndex_;
    const int half = fixedDimension_ / 2;
    const bool standard = tabSequence_ == tsStandard;
    int inward = 0;
    if (leading) inward = (tabStyle_ == tsDoubleSlant || tabStyle_ == tsBackSlant) ? half : 0;
    else if (tabStyle_ == tsSingleSlant || tabStyle_ == tsDoubleSlant) inward = half;
    else inward = -1;
    if (HorizontalTabs()) {
        // The leading edge is the left one in standard sequence.
        const bool atLeft = leading == standard;
        const int edge = atLeft ? b.left + inward : b.right - inward;
        const int top = tabOrientation_ == toTop ? b.top - 2 : b.bottom - 6;
        return TRect(edge - 7, top, edge + 8, top + 8);
    }
    const bool atTop = (leading == standard) == (tabOrientation_ == toRight);
    const int edge = atTop ? b.top + inward : b.bottom - inward;
    const int left = tabOrientation_ == toLeft ? b.left - 2 : b.right - 5;
    return TRect(left, edge - 7, left + 8, edge + 8);
}

void TRzCustomTabControl::ShowDropMarker(bool show, const TRect& r) {
    // Drawn in the control's own paint: nothing may draw onto the screen directly.
    dropMarkerShown_ = show;
    dropMarkerRect_ = r;
    InvalidateTabs();
}
