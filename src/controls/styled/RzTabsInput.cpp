// The tab control's input: clicks, hot tracking and tab hints, dragging a tab to a new place,
// arrow keys, Home and End, accelerators, and focus.
#include <cstdlib>

#include "controls/styled/RzTabs.h"
#include "platform/vcl/Forms.h"

// ---- mouse

void TRzCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (!Enabled() || (Designing() && button != mbLeft)) return;
    const int index = TabAtPos(x, y);
    dragStartTab_ = -1;
    dragging_ = false;
    if (index >= 0 && tabs_.Items(index)->Enabled) {
        if (TabStop() && index == tabIndex_ && !Designing()) {
            if (CanFocus()) SetFocus();
            if (!Focused()) return;
        }
        SetTabIndex(index);
        if (tabIndex_ == index) TabClick();
        dragStartTab_ = index;
        dragOrigin_ = TPoint(x, y);
    }
}

void TRzCustomTabControl::LeaveHotTracking() {
    if (hoverTimer_) hoverTimer_->SetEnabled(false);
    const bool wasHot = hotTab_ != -1;
    hotTab_ = -1;
    if (wasHot) {
        hotOnlyPaint_ = true;
        Invalidate();
    }
    if (tabHints_) SetHint(hintStore_);
}

void TRzCustomTabControl::HoverTimerTick() {
    const TPoint p = ScreenToClient(Mouse->CursorPos());
    if (TabAtPos(p.x, p.y) < 0) LeaveHotTracking();
}

void TRzCustomTabControl::MouseMove(TShiftState shift, int x, int y) {
    if (!Designing() && (hotTrack_ || tabHints_)) {
        const int index = TabAtPos(x, y);
        if (index < 0) {
            const TRect strip = TabArea();
            const bool inStrip = x >= strip.left && x < strip.right && y >= strip.top && y < strip.bottom;
            if (tabHints_ && (hotTab_ != -1 || inStrip) && Application) Application->CancelHint();
            if (hotTab_ != -1) LeaveHotTracking();
        } else if (index != hotTab_) {
            hotTab_ = index;
            if (hotTrack_) {
                hotOnlyPaint_ = true;
                Invalidate();
            }
            if (tabHints_) {
                if (Application) Application->CancelHint();
                SetHint(tabs_.Items(index)->Hint);
            }
            if (!hoverTimer_) {
                hoverTimer_ = std::make_unique<TTimer>(nullptr);
                hoverTimer_->SetEnabled(false);
                hoverTimer_->SetInterval(60);
                hoverTimer_->SetOnTimer([this](TObject*) { HoverTimerTick(); });
            }
            hoverTimer_->SetEnabled(true);
        }
    }
    TCustomControl::MouseMove(shift, x, y);
    if (!allowTabDragging_ || !shift.Contains(ssLeft) || dragStartTab_ < 0) return;
    if (!dragging_) {
        const int threshold = Mouse ? Mouse->DragThreshold() : 5;
        if (std::abs(x - dragOrigin_.x) < threshold && std::abs(y - dragOrigin_.y) < threshold) return;
        if (dragStartTab_ >= tabs_.Count() || !tabs_.Items(dragStartTab_)->Enabled) return;
        dragging_ = true;
    }
    DragOverTab(x, y);
}

void TRzCustomTabControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (dragging_ && button == mbLeft) {
        dragging_ = false;
        dragStartTab_ = -1;
        DragDropTab(x, y);
    }
    dragStartTab_ = -1;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TRzCustomTabControl::CMMouseLeave(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    if (hotTab_ != -1) LeaveHotTracking();
}

// ---- dragging a tab

bool TRzCustomTabControl::DragOverTab(int x, int y) {
    dragPoint_ = TPoint(x, y);
    const int index = TabAtPos(x, y);
    if (index < 0) {
        if (!dragTimer_) {
            dragTimer_ = std::make_unique<TTimer>(nullptr);
            dragTimer_->SetOnTimer([this](TObject*) { DragScrollTick(); });
        }
        dragTimer_->SetEnabled(false);
        dragTimer_->SetInterval(400);
        dragTimer_->SetEnabled(true);
    } else if (dragTimer_) {
        dragTimer_->SetEnabled(false);
    }
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (!inside) {
        DragLeave();
        return false;
    }
    if (index != dropTarget_) {
        if (dropMarkerShown_) ShowDropMarker(false, dropMarkerRect_);
        dropTarget_ = index;
        if (index >= 0 && index != tabIndex_) ShowDropMarker(true, DropMarkerFor(index));
    }
    return index >= 0 && index != tabIndex_;
}

void TRzCustomTabControl::DragLeave() {
    if (dropMarkerShown_) ShowDropMarker(false, dropMarkerRect_);
    dropTarget_ = -1;
}

void TRzCustomTabControl::DragScrollTick() {
    if (!dragTimer_) return;
    dragTimer_->SetInterval(300);
    if (!dragging_) {
        dragTimer_->SetEnabled(false);
        return;
    }
    const TPoint p = dragPoint_;
    int sense = 0;  // -1 back, +1 forward
    switch (tabOrientation_) {
    case toTop:
    case toBottom: sense = p.x < 0 ? -1 : (p.x >= Width() ? 1 : 0); break;
    case toRight: sense = p.y < 0 ? -1 : (p.y >= Height() ? 1 : 0); break;
    case toLeft: sense = p.y < 0 ? 1 : (p.y >= Height() ? -1 : 0); break;
    }
    if (tabSequence_ == tsReverse) sense = -sense;
    if (sense == 0) return;
    try {
        ScrollTabs(sense > 0);
    } catch (...) {
        dragTimer_->SetEnabled(false);
        throw;
    }
}

void TRzCustomTabControl::DragDropTab(int x, int y) {
    if (dragTimer_) dragTimer_->SetEnabled(false);
    DragLeave();
    const int index = TabAtPos(x, y);
    if (index >= 0 && index != tabIndex_) MoveTab(index);
}

// ---- keys

void TRzCustomTabControl::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

// From start, stepping by step: the first tab the change query allows, or the current tab.
int TRzCustomTabControl::SearchTab(int start, int step, bool wrap) const {
    auto* self = const_cast<TRzCustomTabControl*>(this);
    const int count = tabs_.Count();
    int i = start;
    for (int guard = 0; guard <= count; ++guard) {
        if (i < 0 || i >= count) {
            if (!wrap) return tabIndex_;
            i = i < 0 ? count - 1 : 0;
        }
        if (i == tabIndex_) return tabIndex_;
        if (self->CanChange(i)) return i;
        i += step;
    }
    return tabIndex_;
}

void TRzCustomTabControl::KeySelect(int target) {
    if (target == tabIndex_ || target < 0) return;
    forcedChange_ = true;
    SetTabIndex(target);
    forcedChange_ = false;
    TabClick();
}

void TRzCustomTabControl::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    const int count = tabs_.Count();
    if (count == 0) return;
    const bool standard = tabSequence_ == tsStandard;
    const bool left = tabOrientation_ == toLeft;
    // Home goes to tab 0 unless the strip runs the other way on screen.
    const bool homeIsFirst = left ? !standard : standard;
    int target = tabIndex_;
    switch (key) {
    case VK_HOME:
        target = homeIsFirst ? SearchTab(0, 1, false) : SearchTab(count - 1, -1, false);
        break;
    case VK_END:
        target = homeIsFirst ? SearchTab(count - 1, -1, false) : SearchTab(0, 1, false);
        break;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        const bool leftUp = key == VK_LEFT || key == VK_UP;
        bool forward = left ? leftUp : !leftUp;
        if (!standard) forward = !forward;
        const int step = forward ? 1 : -1;
        int start = tabIndex_ + step;
        if (tabIndex_ < 0) start = forward ? 0 : count - 1;
        target = SearchTab(start, step, true);
        break;
    }
    default: return;
    }
    KeySelect(target);
}

int TRzCustomTabControl::TabWithAccelerator(WideChar c) const {
    if (c >= u'A' && c <= u'Z') c = static_cast<WideChar>(c - u'A' + u'a');
    for (int i = 0; i < tabs_.Count(); ++i) {
        const TRzTabData* tab = tabs_.Items(i);
        if (tab->Enabled && tab->Visible && TabAcceleratorChar(tab->Caption) == c) return i;
    }
    return -1;
}

void TRzCustomTabControl::CMDialogChar(TMessage& m) {
    const int index = CanFocus() ? TabWithAccelerator(static_cast<WideChar>(m.WParam)) : -1;
    if (index < 0) {
        InheritedMessage(TCustomControl::ClassMessages(), m);
        return;
    }
    m.Result = 1;
    SetFocus();
    if (Focused()) {
        SetTabIndex(index);
        TabClick();
    }
}

// ---- focus

void TRzCustomTabControl::DoEnter() {
    TCustomControl::DoEnter();
    InvalidateTabs();
}

void TRzCustomTabControl::DoExit() {
    TCustomControl::DoExit();
    InvalidateTabs();
}
