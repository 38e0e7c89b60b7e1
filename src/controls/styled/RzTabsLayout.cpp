// Where the tabs lie: sizes from captions and images, rows, placement in a logical space (tabs
// standing on the page, in standard sequence) mapped to each orientation, scrolling, the strip,
// card and display rectangles, outlines, regions and the hit test, and the child buttons.
#include <algorithm>
#include <cstdlib>

#include "controls/styled/RzTabButtons.h"
#include "controls/styled/RzTabs.h"
#include "platform/vcl/Gdi.h"

namespace {

bool RoundStyle(TRzTabStyle s) { return s == tsRoundCorners || s == tsSquareCorners; }

TRect Normalized(TPoint a, TPoint b) {
    return TRect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

}  // namespace

// ---- captions

std::vector<WideString> TabCaptionLines(const WideString& caption) {
    std::vector<WideString> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = caption.find(u"\r\n", start);
        if (at == WideString::npos) {
            lines.push_back(caption.substr(start));
            return lines;
        }
        lines.push_back(caption.substr(start, at - start));
        start = at + 2;
    }
}

TRzCaptionPieces SplitTabCaption(const WideString& line) {
    TRzCaptionPieces pieces;
    const std::size_t at = line.find(u'&');
    if (at == WideString::npos || at + 1 >= line.size()) {
        pieces.before = line;
        return pieces;
    }
    if (line[at + 1] == u'&') {
        // "&&" draws one "&" and underlines nothing.
        pieces.before = line.substr(0, at + 1) + line.substr(at + 2);
        return pieces;
    }
    pieces.before = line.substr(0, at);
    pieces.accel = line.substr(at + 1, 1);
    pieces.after = line.substr(at + 2);
    return pieces;
}

WideString StripTabAccelerator(const WideString& line) {
    const TRzCaptionPieces p = SplitTabCaption(line);
    return p.before + p.accel + p.after;
}

WideChar TabAcceleratorChar(const WideString& caption) {
    for (const WideString& line : TabCaptionLines(caption)) {
        const TRzCaptionPieces p = SplitTabCaption(line);
        if (p.accel.empty()) continue;
        WideChar c = p.accel[0];
        if (c >= u'A' && c <= u'Z') c = static_cast<WideChar>(c - u'A' + u'a');
        return c;
    }
    return 0;
}

// ---- sizes

int TRzCustomTabControl::Slant(int length) const {
    switch (tabStyle_) {
    case tsSingleSlant:
    case tsBackSlant: return length / 2;
    case tsDoubleSlant: return length;
    case tsSquareCorners: return tabOverlap_ + 1;
    default: return tabOverlap_;
    }
}

TSize TRzCustomTabControl::ContentSize(const TRzTabData& tab) {
    if (!tab.Visible) return {0, 0};
    TSize image{0, 0};
    if (images_ && tab.ImageIndex != -1) image = {images_->Width(), images_->Height()};
    TSize text{0, 0};
    const bool vertical = VerticalText();
    if (!tab.Caption.empty())
        for (const WideString& line : TabCaptionLines(tab.Caption)) {
            const TSize e = measurer_->Extent(StripTabAccelerator(line), boldCurrentTab_);
            if (vertical) {
                text.cx += e.cy;
                text.cy = std::max(text.cy, e.cx);
            } else {
                text.cx = std::max(text.cx, e.cx);
                text.cy += e.cy;
            }
        }
    TSize c;
    switch (imagePosition_) {
    case ipLeft:
    case ipRight:
        c = {(image.cx ? imageMargin_ + image.cx : 0) + text.cx, std::max(image.cy, text.cy)};
        break;
    case ipTop:
    case ipBottom:
        c = {std::max(image.cx, text.cx), (image.cy ? imageMargin_ + image.cy : 0) + text.cy};
        break;
    case ipBack: c = {std::max(image.cx, text.cx), std::max(image.cy, text.cy)}; break;
    case ipStretch: c = text; break;
    }
    const TSize sample = measurer_->Extent(RoundStyle(tabStyle_) ? u"AAA" : u"A", boldCurrentTab_);
    const int fontHeight = measurer_->FontHeight();
    const TSize minimum = vertical ? TSize{fontHeight, sample.cx} : TSize{sample.cx, fontHeight};
    if (tabWidth_ == 0) c.cx = std::max(c.cx, minimum.cx);
    if (tabHeight_ == 0) c.cy = std::max(c.cy, minimum.cy);
    if (showCloseButtonOnActiveTab_) {
        if (HorizontalTabs() && !vertical) c.cx += 20;
        if (!HorizontalTabs() && vertical) c.cy += 20;
    }
    return c;
}

TSize TRzCustomTabControl::TabSizeFor(int w, int h) const {
    const bool across = HorizontalTabs();
    TSize s;
    switch (tabStyle_) {
    case tsSingleSlant:
    case tsBackSlant:
        s = across ? TSize{2 * Slant(h + 6) + w + 6 + tabHeight_ / 2, h + 6}
                   : TSize{w + 6, 2 * Slant(w + 6) + h + 6 + tabHeight_ / 2};
        break;
    case tsDoubleSlant:
        s = across ? TSize{2 * (h + 2) + w + 6 + tabHeight_, h + 6} : TSize{w + 6, 2 * (w + 2) + h + 6 + tabHeight_};
        break;
    case tsCutCorner:
        if (!VerticalText())
            s = across ? TSize{2 * cutCornerSize_ + w + 8, h + 7} : TSize{w + cutCornerSize_ + 7, h + 10};
        else
            s = across ? TSize{w + 10, h + cutCornerSize_ + 7} : TSize{w + 7, 2 * cutCornerSize_ + h + 8};
        break;
    default: s = {w + 6, h + 6}; break;
    }
    if (tabWidth_ > 0) s.cx = tabWidth_;
    if (tabHeight_ > 0) s.cy = tabHeight_;
    return s;
}

int TRzCustomTabControl::StripLength() const {
    const TRect a = TabArea();
    return HorizontalTabs() ? a.right - a.left : a.bottom - a.top;
}

// The room the strip close and menu buttons take, with their gaps.
int TRzCustomTabControl::RoomForButtons() const {
    int room = 0;
    if (showCloseButton_ && tabs_.Count() > 0) room += buttonSize_ + 2;
    if (showMenuButton_ && tabs_.Count() > 0) room += buttonSize_ + 2;
    return room;
}

void TRzCustomTabControl::CalcTabRects() {
    const int count = tabs_.Count();
    const bool across = HorizontalTabs();
    // Sizes: every tab as thick as the thickest content.
    std::vector<TSize> contents(static_cast<std::size_t>(count));
    TSize largest{0, 0};
    fixedDimension_ = 0;
    for (int i = 0; i < count; ++i) {
        const TRzTabData* tab = tabs_.Items(i);
        if (!tab->Visible) continue;
        contents[static_cast<std::size_t>(i)] = ContentSize(*tab);
        const TSize c = contents[static_cast<std::size_t>(i)];
        largest = {std::max(largest.cx, c.cx), std::max(largest.cy, c.cy)};
        const TSize s = TabSizeFor(c.cx, c.cy);
        fixedDimension_ = std::max(fixedDimension_, across ? s.cy : s.cx);
    }
    std::vector<int> lengths(static_cast<std::size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        if (!tabs_.Items(i)->Visible) continue;
        TSize c = contents[static_cast<std::size_t>(i)];
        if (across) c.cy = largest.cy;
        else c.cx = largest.cx;
        const TSize s = TabSizeFor(c.cx, c.cy);
        lengths[static_cast<std::size_t>(i)] = across ? s.cx : s.cy;
    }

    // Button metrics from the tab font.
    const bool vertical = VerticalText();
    const int aHeight = measurer_->Extent(u"A", false).cy;
    const int extra = vertical ? 2 : 4;
    buttonSize_ = aHeight + extra;
    buttonThickness_ = aHeight + extra;
    const bool fitted = (across && !vertical) || (!across && vertical);
    const int given = across ? tabHeight_ : tabWidth_;
    if (fitted && given >= 1) buttonSize_ = std::max(buttonSize_, fixedDimension_ - 2);
    if (fitted && given >= buttonThickness_) buttonThickness_ = std::max(buttonThickness_, fixedDimension_ - 2);
    else buttonThickness_ = std::min(buttonThickness_, fixedDimension_ - 2);

    const int slant = Slant(fixedDimension_);
    const int cut = RoundStyle(tabStyle_) ? 4 : 0;
    const bool reverse = tabSequence_ == tsReverse;
    // Places the tabs assuming a row count; answers the rows needed.
    auto place = [&](int rows, bool commit) {
        int room = StripLength() - 2 * margin_;
        if (multiLine_) room -= (rows - 1) * rowIndent_;
        else room -= RoomForButtons() + 2 * buttonSize_ + 2;
        int x = reverse ? -margin_ : margin_;
        int row = 0;
        bool firstInRow = true;
        for (int i = 0; i < count; ++i) {
            TRzTabData* tab = tabs_.Items(i);
            if (!tab->Visible) continue;
            const int length = std::max(0, std::min(lengths[static_cast<std::size_t>(i)], room - cut));
            const int end = reverse ? -x + length : x + length;
            if (multiLine_ && !firstInRow && end >= margin_ + room) {
                ++row;
                x = reverse ? -margin_ : margin_;
            }
            firstInRow = false;
            if (commit) {
                tab->Row = row;
                if (reverse) tab->TabRect = TRect(x - length, 0, x, fixedDimension_);
                else tab->TabRect = TRect(x, 0, x + length, fixedDimension_);
            }
            x = reverse ? x - length + slant - 1 : x + length - slant + 1;
        }
        return std::pair<int, int>(row + 1, x);
    };
    int rows = 1;
    if (multiLine_) {
        while (place(rows, false).first > rows && rows < std::max(1, count)) ++rows;
    }
    const int finalX = place(rows, true).second;
    rowCount_ = rows;

    // Rows: row 0 next to the page, each further row farther out.
    const int thickness = showCardArea_ ? (RoundStyle(tabStyle_) ? 3 : 0) + fixedDimension_ +
                                              (fixedDimension_ - rowOverlap_) * (rowCount_ - 1)
                                        : (across ? Height() - 1 : Width() - 1);
    const int baseTop = thickness - fixedDimension_;
    for (int i = 0; i < count; ++i) {
        TRzTabData* tab = tabs_.Items(i);
        if (!tab->Visible) continue;
        const int top = baseTop - tab->Row * (fixedDimension_ - rowOverlap_);
        tab->TabRect.top = top;
        tab->TabRect.bottom = top + fixedDimension_;
        if (reverse) {
            const int shift = multiLine_ ? Width() : std::abs(finalX);
            tab->TabRect.left += shift;
            tab->TabRect.right += shift;
        }
    }

    // Stretch every row of a multi-line strip to its room.
    const bool alignable = across ? tabWidth_ == 0 : tabHeight_ == 0;
    if (multiLine_ && alignTabs_ && alignable) {
        const int room = StripLength() - 2 * margin_ - (rowCount_ - 1) * rowIndent_;
        for (int r = 0; r < rowCount_; ++r) {
            std::vector<TRzTabData*> row;
            for (int i = 0; i < count; ++i)
                if (tabs_.Items(i)->Visible && tabs_.Items(i)->Row == r) row.push_back(tabs_.Items(i));
            if (row.empty()) continue;
            int first = row.front()->TabRect.left, last = row.back()->TabRect.right;
            if (reverse) {
                first = row.back()->TabRect.left;
                last = row.front()->TabRect.right;
            }
            const int gap = room - (last - first + cut);
            if (gap < 1) continue;
            const int n = static_cast<int>(row.size());
            int moved = 0;
            for (int k = 0; k < n; ++k) {
                TRzTabData* tab = reverse ? row[static_cast<std::size_t>(n - 1 - k)] : row[static_cast<std::size_t>(k)];
                const int grow = gap / n + (k < gap % n ? 1 : 0);
                tab->TabRect.left += moved;
                moved += grow;
                tab->TabRect.right += moved;
            }
        }
    }
}

void TRzCustomTabControl::MoveRowForward(int index) {
    if (index < 0 || index >= tabs_.Count()) return;
    int m = 0;
    for (int i = 0; i < tabs_.Count(); ++i)
        if (tabs_.Items(i)->Visible) m = std::max(m, tabs_.Items(i)->Row);
    const int r = tabs_.Items(index)->Row;
    if (r == 0) return;
    // The logical top of each row before the change.
    std::vector<int> rowTop(static_cast<std::size_t>(m + 1), 0);
    std::vector<bool> seen(static_cast<std::size_t>(m + 1), false);
    for (int i = 0; i < tabs_.Count(); ++i) {
        const TRzTabData* tab = tabs_.Items(i);
        if (!tab->Visible || seen[static_cast<std::size_t>(tab->Row)]) continue;
        seen[static_cast<std::size_t>(tab->Row)] = true;
        rowTop[static_cast<std::size_t>(tab->Row)] = tab->TabRect.top;
    }
    for (int i = 0; i < tabs_.Count(); ++i) {
        TRzTabData* tab = tabs_.Items(i);
        if (!tab->Visible) continue;
        tab->Row = (tab->Row + m - r + 1) % (m + 1);
        tab->TabRect.top = rowTop[static_cast<std::size_t>(tab->Row)];
        tab->TabRect.bottom = tab->TabRect.top + fixedDimension_;
    }
    regionCache_.Clear();
}

// ---- rectangles

TRect TRzCustomTabControl::TabArea() const {
    const int w = Width(), h = Height();
    const bool round = RoundStyle(tabStyle_);
    const int t = showCardArea_ ? (round ? 3 : 0) + fixedDimension_ + (fixedDimension_ - rowOverlap_) * (rowCount_ - 1)
                                : (HorizontalTabs() ? h - 1 : w - 1);
    switch (tabOrientation_) {
    case toTop: return TRect(0, 0, (showShadow_ && tabSequence_ == tsStandard) ? w - 3 : w - 1, t);
    case toBottom: return TRect(0, h - 1 - t, w - 1, h - 1);
    case toLeft: return TRect(0, 0, t, h - 1);
    case toRight: return TRect(w - 1 - t, 0, w - 1, h - 1);
    }
    return {};
}

TRect TRzCustomTabControl::CardRect(int row) const {
    const int w = Width(), h = Height();
    const TRect base(0, 0, w - 1, h - 1);
    bool anyTab = false;
    for (int i = 0; i < tabs_.Count(); ++i) anyTab = anyTab || tabs_.Items(i)->Visible;
    if (!anyTab && showCardArea_) return base;
    const TRect a = TabArea();
    const int t = HorizontalTabs() ? a.bottom - a.top : a.right - a.left;
    const int step = fixedDimension_ - rowOverlap_;
    const int d = t - row * step, e = row * step, f = row * rowIndent_, g = (rowCount_ - row - 1) * rowIndent_;
    const bool standard = tabSequence_ == tsStandard;
    TRect r;
    switch (tabOrientation_) {
    case toTop: r = standard ? TRect(f, d, w - 1 - g, h - 1 - e) : TRect(g, d, w - 1 - f, h - 1 - e); break;
    case toLeft: r = standard ? TRect(d, g, w - 1 - e, h - 1 - f) : TRect(d, f, w - 1 - e, h - 1 - g); break;
    case toBottom: r = standard ? TRect(f, e, w - 1 - g, h - 1 - d) : TRect(g, e, w - 1 - f, h - 1 - d); break;
    case toRight: r = standard ? TRect(e, f, w - 1 - d, h - 1 - g) : TRect(e, g, w - 1 - d, h - 1 - f); break;
    }
    if (r.left > r.right || r.top > r.bottom) r = TRect(0, 0, 0, 0);
    if (!showCardArea_) {
        // Push the card beyond the edges away from the tabs.
        if (tabOrientation_ != toLeft) r.left -= 3;
        if (tabOrientation_ != toTop) r.top -= 3;
        if (tabOrientation_ != toRight) r.right += 3;
        if (tabOrientation_ != toBottom) r.bottom += 3;
    }
    return r;
}

TRect TRzCustomTabControl::DisplayRect() const {
    if (!showCardArea_) return TRect(-2, -2, -1, -1);
    TRect r = CardRect(0);
    if (showCardFrame_ && showFullFrame_) {
        ++r.left;
        ++r.top;
        if (tabOrientation_ == toTop && tabSequence_ == tsStandard && showShadow_) {
            r.right -= 2;
            r.bottom -= 2;
        }
    } else if (showCardFrame_) {
        if (tabOrientation_ == toTop) ++r.top;
        ++r.right;
        ++r.bottom;
    } else {
        if (!showFullFrame_) {
            if (tabOrientation_ == toLeft) --r.left;
            if (tabOrientation_ == toBottom) ++r.bottom;
            if (tabOrientation_ == toRight) ++r.right;
        }
        ++r.right;
        ++r.bottom;
    }
    return r;
}

void TRzCustomTabControl::AdjustClientRect(TRect& rect) const { rect = DisplayRect(); }

void TRzCustomTabControl::AlignControls(TControl* control, TRect& rect) {
    UpdateGeometry();
    rect = DisplayRect();
    PlaceButtons();
    TCustomControl::AlignControls(control, rect);
    alignedDisplayRect_ = DisplayRect();
}

// ---- scrolling

int TRzCustomTabControl::FirstVisibleTabOfList() const {
    for (int i = 0; i < tabs_.Count(); ++i)
        if (tabs_.Items(i)->Visible) return i;
    return -1;
}

int TRzCustomTabControl::LastVisibleTab() const {
    for (int i = tabs_.Count() - 1; i >= 0; --i)
        if (tabs_.Items(i)->Visible) return i;
    return -1;
}

int TRzCustomTabControl::ScrollOffset() const {
    if (firstVisibleTab_ < 0 || firstVisibleTab_ >= tabs_.Count()) return 0;
    const TRect& r = tabs_.Items(firstVisibleTab_)->TabRect;
    const int round = RoundStyle(tabStyle_) ? 2 : 0;
    return tabSequence_ == tsStandard ? r.left - margin_ - round : r.right + margin_ + round;
}

bool TRzCustomTabControl::TabIsShown(int index) const {
    if (index < 0 || index >= tabs_.Count()) return false;
    const TRzTabData* tab = tabs_.Items(index);
    if (!tab->Visible) return false;
    if (!scrolling_) return true;
    const int room = StripLength() - 2 * buttonSize_ - 2 * margin_ - RoomForButtons();
    const int o = ScrollOffset();
    const TRect& r = tab->TabRect;
    if (tabSequence_ == tsStandard) return r.left >= o && r.right - o <= room;
    return r.right <= o && o - r.left <= room;
}

void TRzCustomTabControl::UpdateScrollState() {
    const int first = FirstVisibleTabOfList();
    scrolling_ = false;
    if (!multiLine_ && first >= 0) {
        const int room = StripLength() - 2 * margin_ - RoomForButtons();
        const int last = LastVisibleTab();
        // The far end of the strip: the last tab in standard sequence, the first in reverse.
        const int end = tabSequence_ == tsStandard ? tabs_.Items(last)->TabRect.right
                                                   : tabs_.Items(first)->TabRect.right;
        scrolling_ = room < end;
    }
    if (!scrolling_) {
        firstVisibleTab_ = first;
    } else {
        const int count = tabs_.Count();
        int f = std::max(firstVisibleTab_, 0);
        const int old = f;
        while (f < count && !TabIsShownFrom(f, f)) ++f;
        if (f >= count) {
            f = old - 1;
            while (f >= 0 && !TabIsShownFrom(f, f)) --f;
        }
        if (f < 0) f = first;
        firstVisibleTab_ = f;
    }
    PlaceButtons();
}

// Whether a tab is shown when the strip starts at the given first visible tab.
bool TRzCustomTabControl::TabIsShownFrom(int first, int index) const {
    const int saved = firstVisibleTab_;
    const_cast<TRzCustomTabControl*>(this)->firstVisibleTab_ = first;
    const bool shown = TabIsShown(index);
    const_cast<TRzCustomTabControl*>(this)->firstVisibleTab_ = saved;
    return shown;
}

bool TRzCustomTabControl::CanScrollBack() const { return firstVisibleTab_ > 0 && firstVisibleTab_ != FirstVisibleTabOfList(); }

bool TRzCustomTabControl::CanScrollForward() const {
    const int last = LastVisibleTab();
    return last < 0 || !TabIsShown(last);
}

void TRzCustomTabControl::ScrollTabs(bool forward) {
    UpdateGeometry();
    const int count = tabs_.Count();
    const int old = firstVisibleTab_;
    if (forward) {
        if (firstVisibleTab_ < count - 1 && !TabIsShown(LastVisibleTab())) {
            do ++firstVisibleTab_;
            while (firstVisibleTab_ < count && !TabIsShown(firstVisibleTab_));
            if (firstVisibleTab_ >= count) firstVisibleTab_ = old;
        }
    } else if (firstVisibleTab_ > 0 && !TabIsShown(FirstVisibleTabOfList())) {
        do --firstVisibleTab_;
        while (firstVisibleTab_ >= 0 && !tabs_.Items(firstVisibleTab_)->Visible);
        if (firstVisibleTab_ < 0) firstVisibleTab_ = old;
    }
    if (firstVisibleTab_ != old) {
        regionCache_.Clear();
        InvalidateTabs();
        if (scroller_) scroller_->Invalidate();
    }
    if (showCloseButtonOnActiveTab_) UpdateActiveCloseButton();
    if (OnScrolledTabs) OnScrolledTabs(this);
}

// ---- mapping, outlines, regions, hit test

TPoint TRzCustomTabControl::LogicalToClient(const TPoint& p) const {
    const TRect a = TabArea();
    const int o = ScrollOffset();
    const bool standard = tabSequence_ == tsStandard;
    switch (tabOrientation_) {
    case toTop: return standard ? TPoint(a.left + p.x - o, a.top + p.y) : TPoint(a.right + p.x - o, a.top + p.y);
    case toLeft: return standard ? TPoint(a.left + p.y, a.bottom + o - p.x) : TPoint(a.left + p.y, a.top + o - p.x);
    case toBottom: return standard ? TPoint(a.left + p.x - o, a.bottom - p.y) : TPoint(a.right + p.x - o, a.bottom - p.y);
    case toRight: return standard ? TPoint(a.right - p.y, a.top + p.x - o) : TPoint(a.right - p.y, a.bottom + p.x - o);
    }
    return p;
}

// The tab's logical rectangle moved by its row's indent and grown when active and rounded.
static TRect LogicalTabRect(const TRzCustomTabControl& c, int index) {
    const TRzTabData* tab = c.Tabs().Items(index);
    TRect r = tab->TabRect;
    const int shift = tab->Row * c.RowIndent() * (c.TabSequence() == tsReverse ? -1 : 1);
    r.left += shift;
    r.right += shift;
    if (RoundStyle(c.TabStyle()) && index == c.TabIndex()) {
        r.left -= 2;
        r.right += 2;
        r.top -= 2;
    }
    return r;
}

TRect TRzCustomTabControl::TabBounds(int index) const {
    if (index < 0 || index >= tabs_.Count()) return {};
    const TRect r = LogicalTabRect(*this, index);
    return Normalized(LogicalToClient({r.left, r.top}), LogicalToClient({r.right, r.bottom}));
}

std::vector<TPoint> TRzCustomTabControl::TabOutline(int index) const {
    if (index < 0 || index >= tabs_.Count()) return {};
    const TRect r = LogicalTabRect(*this, index);
    const int L = r.left, T = r.top, R = r.right, B = r.bottom, H = B - T;
    const int c = cutCornerSize_;
    switch (tabStyle_) {
    case tsSingleSlant:
        if (softCorners_) return {{L, B}, {L, T + 2}, {L + 2, T}, {R - H - 4, T}, {R - H + 2, T + 2}, {R, B}};
        return {{L, B}, {L, T + 2}, {L + 2, T}, {R - H, T}, {R, B}};
    case tsDoubleSlant:
        if (softCorners_) return {{L, B}, {L + H - 2, T + 2}, {L + H + 4, T}, {R - H - 4, T}, {R - H + 2, T + 2}, {R, B}};
        return {{L, B}, {L + H, T}, {R - H, T}, {R, B}};
    case tsCutCorner: return {{L, B}, {L, T}, {R - c, T}, {R, T + c}, {R, B}};
    case tsRoundCorners: return {{L, B}, {L, T + 2}, {L + 2, T}, {R - 2, T}, {R, T + 2}, {R, B}};
    case tsBackSlant:
        if (softCorners_) return {{L, B}, {L + H - 2, T + 2}, {L + H + 4, T}, {R - 2, T}, {R, T + 2}, {R, B}};
        return {{L, B}, {L + H, T}, {R - 2, T}, {R, T + 2}, {R, B}};
    case tsSquareCorners: return {{L, B}, {L, T}, {R, T}, {R, B}};
    }
    return {};
}

HRGN TRzCustomTabControl::TabRegion(int index) {
    const TRect key = TabBounds(index);
    if (HRGN found = regionCache_.Find(key)) return found;
    const std::vector<TPoint> outline = TabOutline(index);
    if (outline.size() < 3) return nullptr;
    std::vector<POINT> points;
    for (const TPoint& p : outline) {
        const TPoint q = LogicalToClient(p);
        points.push_back(POINT{q.x, q.y});
    }
    HRGN region = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE);
    if (!region) throw ERzTabControlError("Error creating region");
    return regionCache_.Add(key, TRzRegion(region));
}

int TRzCustomTabControl::TabAtPos(int x, int y) {
    UpdateGeometry();
    const int count = tabs_.Count();
    if (count == 0 || firstVisibleTab_ < 0) return -1;
    auto hit = [&](int i) {
        if (!TabIsShown(i)) return false;
        const TRect b = TabBounds(i);
        if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
        HRGN region = TabRegion(i);
        return region && PtInRegion(region, x, y);
    };
    if (tabIndex_ >= 0 && tabIndex_ < count && hit(tabIndex_)) return tabIndex_;
    int i = firstVisibleTab_;
    do {
        if (i != tabIndex_ && hit(i)) return i;
        i = i + 1 >= count ? 0 : i + 1;
    } while (i != firstVisibleTab_);
    return -1;
}

// ---- region cache

TRzRegion::~TRzRegion() {
    if (region_) DeleteObject(region_);
}

TRzRegion& TRzRegion::operator=(TRzRegion&& other) noexcept {
    if (this != &other) {
        if (region_) DeleteObject(region_);
        region_ = other.release();
    }
    return *this;
}

HRGN TRzTabRegionCache::Find(const TRect& r) const {
    for (const auto& item : items_)
        if (item.Rect == r) return item.Region.get();
    return nullptr;
}

HRGN TRzTabRegionCache::Add(const TRect& r, TRzRegion region) {
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& item) { return item.Rect == r; });
    if (it != items_.end()) items_.erase(it);
    items_.insert(items_.begin(), TRzTabRegionCacheItem{r, std::move(region)});
    HRGN result = items_.front().Region.get();
    Trim();
    return result;
}

void TRzTabRegionCache::SetCapacity(int capacity) {
    if (capacity != -1 && capacity <= 0)
        throw ERzTabControlError("Capacity must be -1 (to cache all regions) or > 0");
    capacity_ = capacity;
    Trim();
}

void TRzTabRegionCache::Trim() {
    if (capacity_ == -1) return;
    while (static_cast<int>(items_.size()) > capacity_) items_.pop_back();
}

// ---- child buttons

void TRzCustomTabControl::PlaceButton(TControl* button, int w, int h, int s) const {
    const TRect a = TabArea();
    const int m = margin_;
    const bool standard = tabSequence_ == tsStandard;
    int left = 0, top = 0;
    switch (tabOrientation_) {
    case toTop:
        left = standard ? a.right - w - m - s - 1 + (showShadow_ ? 0 : 2) : a.left + m + s;
        top = a.bottom - h - 2;
        break;
    case toLeft:
        left = a.right - w - 2;
        top = standard ? a.top + m + s : a.bottom - h - m - s + 1;
        break;
    case toBottom:
        left = standard ? a.right - w - m - s + 1 : a.left + m + s;
        top = a.top + 2;
        break;
    case toRight:
        left = a.left + 2;
        top = standard ? a.bottom - h - m - s + 1 : a.top + m + s;
        break;
    }
    button->SetBounds(left, top, w, h);
}

TRect TRzCustomTabControl::CloseButtonBounds() const { return closeButton_ ? closeButton_->BoundsRect() : TRect(); }
TRect TRzCustomTabControl::MenuButtonBounds() const { return menuButton_ ? menuButton_->BoundsRect() : TRect(); }
TRect TRzCustomTabControl::ScrollerBounds() const { return scroller_ ? scroller_->BoundsRect() : TRect(); }

void TRzCustomTabControl::PlaceButtons() {
    const bool across = HorizontalTabs();
    const bool any = tabs_.Count() > 0;
    auto size = [&](int length) { return across ? TSize{length, buttonThickness_} : TSize{buttonThickness_, length}; };
    int s = 0;
    if (closeButton_) {
        const int length = showCloseButton_ && any ? buttonSize_ : 0;
        const TSize z = size(length);
        PlaceButton(closeButton_, showCloseButton_ && any ? z.cx : 0, showCloseButton_ && any ? z.cy : 0, s);
        if (showCloseButton_ && any) s += length + 2;
    }
    if (menuButton_) {
        const int length = showMenuButton_ && any ? buttonSize_ : 0;
        const TSize z = size(length);
        PlaceButton(menuButton_, showMenuButton_ && any ? z.cx : 0, showMenuButton_ && any ? z.cy : 0, s);
        if (showMenuButton_ && any) s += length + 2;
    }
    if (scrolling_) EnsureScroller();
    if (scroller_) {
        const TSize z = size(2 * buttonSize_ - 1);
        scroller_->SetOrientation(across ? orHorizontal : orVertical);
        if (scrolling_) {
            PlaceButton(scroller_, z.cx, z.cy, s);
            scroller_->SetVisible(true);
        } else {
            scroller_->SetBounds(-z.cx - 1, -z.cy - 1, z.cx, z.cy);
        }
    }
    if (activeCloseButton_) UpdateActiveCloseButton();
}

TRect TRzCustomTabControl::ActiveTabCloseButtonBounds() const {
    if (tabIndex_ < 0 || tabIndex_ >= tabs_.Count() || !tabs_.Items(tabIndex_)->Visible) return {};
    const bool across = HorizontalTabs();
    if (across == VerticalText()) return {};
    // The text box before it gave up its 20 pixels.
    const TRect r = TabTextRect(tabIndex_, false);
    const bool standard = tabSequence_ == tsStandard;
    if (across) {
        const int height = r.bottom - r.top;
        const bool large = height > 12;
        const int w = large ? 15 : 10, h = large ? 13 : 9;
        const int top = r.top + height / 2 - 6 + (height < 13 ? 2 : 0);
        const int left = standard ? r.right - w : r.left;
        return TRect(left, top, left + w, top + h);
    }
    const int width = r.right - r.left;
    const bool large = width > 14;
    const int w = large ? 15 : 10, h = large ? 13 : 9;
    const int left = r.left + width / 2 - (large ? 7 : 5);
    const bool atTop = (tabOrientation_ == toLeft) == standard;
    const int top = atTop ? r.top : r.bottom - h;
    return TRect(left, top, left + w, top + h);
}

// ---- text box

TRect TRzCustomTabControl::TabTextRect(int index, bool withCloseButton) const {
    TRect r = TabBounds(index);
    const bool across = HorizontalTabs();
    const int s = Slant(across ? r.bottom - r.top : r.right - r.left);
    const bool top = tabOrientation_ == toTop, bottom = tabOrientation_ == toBottom;
    const bool left = tabOrientation_ == toLeft, right = tabOrientation_ == toRight;
    const int c = cutCornerSize_;
    auto shrink = [&](int dx, int dy) {
        r.left += dx;
        r.right -= dx;
        r.top += dy;
        r.bottom -= dy;
    };
    auto move = [&](int dx, int dy) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    };
    switch (tabStyle_) {
    case tsSingleSlant:
        shrink(1, 1);
        if (across) {
            r.right -= 2 * s + 2;
            move(3, 0);
            if (top) r.top += 2;
            else r.bottom -= 2;
            if (bottom) move(0, 1);
        } else {
            if (left) {
                r.top += 2 * s + 2;
                move(0, -2);
            } else {
                r.bottom -= 2 * s + 2;
                move(0, 2);
            }
            move(0, 1);
            if (left) r.left += 2;
            else r.right -= 2;
            if (right) move(1, 0);
        }
        break;
    case tsDoubleSlant:
        if (across) {
            shrink(-1, 1);
            shrink(s, 0);
            move(1, 0);
            if (top) r.top += 2;
            else r.bottom -= 2;
            if (bottom) move(0, 1);
        } else {
            shrink(1, -1);
            shrink(0, s);
            r.bottom += 2;
            move(0, 1);
            if (left) r.left += 2;
            else r.right -= 2;
            if (right) move(1, 0);
        }
        break;
    case tsCutCorner:
        if (!VerticalText()) {
            if (across) {
                shrink(c + 3, 1);
                if (top) r.top += 3;
                else r.bottom -= 3;
                if (bottom) move(0, 1);
            } else {
                shrink(1, 4);
                if (left) r.left += c + 5;
                else r.right -= c + 5;
                if (right) move(1, 0);
            }
        } else if (across) {
            shrink(4, 1);
            if (top) r.top += c + 3;
            else r.bottom -= c + 3;
            if (bottom) move(0, 1);
        } else {
            shrink(1, c + 3);
            if (left) r.left += 5;
            else r.right -= 5;
            if (right) move(1, 0);
        }
        break;
    case tsBackSlant:
        shrink(1, 1);
        if (across) {
            r.left += 2 * s + 2;
            move(-3, 0);
            if (top) r.top += 2;
            else r.bottom -= 2;
            if (bottom) move(0, -1);
        } else {
            if (left) {
                r.bottom -= 2 * s + 2;
                move(0, 2);
            } else {
                r.top += 2 * s + 2;
                move(0, -2);
            }
            move(0, -1);
            if (left) r.left += 2;
            else r.right -= 2;
            if (right) move(1, 0);
        }
        break;
    case tsRoundCorners:
    case tsSquareCorners:
        if (!VerticalText()) shrink(4, 2);
        else shrink(2, 4);
        break;
    }
    if (showFocusRect_) shrink(1, 1);
    if (withCloseButton && index == tabIndex_ && showCloseButtonOnActiveTab_ && across != VerticalText()) {
        const bool standard = tabSequence_ == tsStandard;
        if (across) {
            if (standard) r.right -= 20;
            else r.left += 20;
        } else if ((left) == standard) {
            r.top += 20;
        } else {
            r.bottom -= 20;
        }
    }
    return r;
}
