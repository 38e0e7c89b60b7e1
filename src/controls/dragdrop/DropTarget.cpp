#include "controls/dragdrop/DropTarget.h"

#include <algorithm>

#include "controls/dragdrop/DataFormatMap.h"
#include "controls/dragdrop/FeedbackFormats.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/OleClipboard.h"
#include "platform/vcl/OleDragDrop.h"
#include "platform/vcl/ScrollingPeer.h"
#include "platform/win/WinTime.h"

using enum TScrollDirection;

// The component's face towards the platform, which may hold it longer than the component
// lives; no exception leaves it.
class TDropTargetFace final : public ComObject<IDropTarget> {
public:
    explicit TDropTargetFace(TCustomDropTarget* owner) : owner_(owner) {}
    void Detach() { owner_ = nullptr; }

    HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        return Guard(effect, [&](TCustomDropTarget& t) { return t.DragEnter(data, keys, pt, *effect); });
    }
    HRESULT DragOver(DWORD keys, POINTL pt, DWORD* effect) override {
        return Guard(effect, [&](TCustomDropTarget& t) { return t.DragOver(keys, pt, *effect); });
    }
    HRESULT DragLeave() override {
        DWORD none = 0;
        return Guard(&none, [&](TCustomDropTarget& t) { return t.DragLeave(); });
    }
    HRESULT Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override {
        return Guard(effect, [&](TCustomDropTarget& t) { return t.Drop(data, keys, pt, *effect); });
    }

private:
    template <class F>
    HRESULT Guard(DWORD* effect, F&& f) {
        if (!effect) return E_INVALIDARG;
        if (!owner_) {
            *effect = DROPEFFECT_NONE;
            return E_UNEXPECTED;
        }
        try {
            return f(*owner_);
        } catch (...) {
            *effect = DROPEFFECT_NONE;
            return E_UNEXPECTED;
        }
    }

    TCustomDropTarget* owner_;
};

namespace {

// The mouse-message key bits of a drag's key state.
TShiftState ShiftOf(DWORD keys) { return KeysToShiftStatePlus(keys); }

TPoint PointOf(POINTL p) { return TPoint(p.x, p.y); }

bool IsAncestor(const TWinControl* ancestor, const TWinControl* control) {
    for (const TWinControl* p = control ? control->Parent() : nullptr; p; p = p->Parent())
        if (p == ancestor) return true;
    return false;
}

bool WriteDword(IDataObject* data, const TClipboardFormatClass& formatClass, DWORD value) {
    if (!data) return false;
    std::unique_ptr<TClipboardFormat> format = formatClass.Create();
    auto& dword = static_cast<TCustomDWORDClipboardFormat&>(*format);
    dword.Value = value;
    FORMATETC f = format->FormatEtc();
    f.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium;
    return format->SetData(data, f, medium);
}

}  // namespace

int TControlList::Add(TWinControl* control) {
    items_.push_back(control);
    return Count() - 1;
}

void TControlList::Insert(int index, TWinControl* control) {
    items_.insert(items_.begin() + std::clamp(index, 0, Count()), control);
}

void TControlList::Delete(int index) { items_.erase(items_.begin() + index); }

int TControlList::Remove(TWinControl* control) {
    const int at = IndexOf(control);
    if (at >= 0) Delete(at);
    return at;
}

int TControlList::IndexOf(const TWinControl* control) const {
    const auto it = std::find(items_.begin(), items_.end(), control);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TCustomDropTarget::TCustomDropTarget(TComponent* owner)
    : TDragDropComponent(owner),
      face_(ComPtr<TDropTargetFace>::Adopt(new TDropTargetFace(this))),
      scrollTimer_(std::make_unique<TTimer>(nullptr)) {
    Clock = [] { return GetTickCount(); };
    ScrollBarOf = [](TWinControl& control, bool vertical, TDropScrollBar& bar) {
        const auto* peer = control.HandleAllocated() ? dynamic_cast<const TScrollingPeer*>(control.Peer()) : nullptr;
        return peer && peer->ScrollBarRange(vertical, bar.Min, bar.Max, bar.Page, bar.Position);
    };
    ScrollStep = [](TWinControl& control, TScrollDirection d) {
        const bool vertical = d == sdUp || d == sdDown;
        if (auto* peer = control.HandleAllocated() ? dynamic_cast<TScrollingPeer*>(control.Peer()) : nullptr;
            peer && peer->ScrollLine(vertical, d == sdDown || d == sdRight))
            return;
        if (d == sdUp || d == sdDown)
            control.Perform(WM_VSCROLL, d == sdUp ? SB_LINEUP : SB_LINEDOWN, 0);
        else
            control.Perform(WM_HSCROLL, d == sdLeft ? SB_LINELEFT : SB_LINERIGHT, 0);
    };
    scrollTimer_->SetEnabled(false);
    scrollTimer_->OnTimer = [this](TObject*) { DoAutoScroll(); };
}

TCustomDropTarget::~TCustomDropTarget() {
    face_->Detach();
    dataObject_.reset();
    Unregister(nullptr);
}

IDropTarget* TCustomDropTarget::DropTarget() const { return face_.get(); }

void TCustomDropTarget::Register(TWinControl* control) {
    if (control && targets_.IndexOf(control) >= 0) return;
    if (!MultiTarget && !ComponentState().Contains(csLoading)) Unregister(nullptr);
    if (!control) return;
    int at = -1;
    for (int i = 0; i < targets_.Count(); ++i)
        if (IsAncestor(targets_[i], control)) at = i;
    if (at >= 0)
        targets_.Insert(at + 1, control);
    else
        targets_.Add(control);
    control->FreeNotification(this);
    DoRegister(control);
}

void TCustomDropTarget::DoRegister(TWinControl* control) {
    const HRESULT hr = RegisterDragDrop(control->Handle(), DropTarget());
    if (FAILED(hr) && hr != DRAGDROP_E_ALREADYREGISTERED) {
        targets_.Remove(control);
        throw EDropTarget(AnsiFormat("Drop target registration failed (%08X)", static_cast<unsigned>(hr)));
    }
}

void TCustomDropTarget::Unregister(TWinControl* control) {
    if (!control) {
        for (int i = targets_.Count() - 1; i >= 0; --i) Unregister(targets_[i]);
        return;
    }
    if (targets_.IndexOf(control) < 0) return;
    if (control == target_) target_ = nullptr;
    DoUnregister(control);
}

void TCustomDropTarget::DoUnregister(TWinControl* control) {
    targets_.Remove(control);
    control->RemoveFreeNotification(this);
    if (control->HandleAllocated()) RevokeDragDrop(control->WindowHandle());
    // Also a registration waiting for the control's next window.
    ForgetDropTargetOfControl(*control);
}

void TCustomDropTarget::SetTarget(TWinControl* control) {
    if (control == target_ && (!control || targets_.IndexOf(control) >= 0)) return;
    if (MultiTarget) Unregister(nullptr);
    Register(control);
}

void TCustomDropTarget::Notification(TComponent* component, TOperation operation) {
    TDragDropComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    // Found by address: a control being destroyed is no longer a TWinControl to a cast. Its
    // window, and the registration with it, went already.
    for (int i = 0; i < targets_.Count(); ++i) {
        TWinControl* control = targets_[i];
        if (static_cast<TComponent*>(control) != component) continue;
        if (control == target_) target_ = nullptr;
        targets_.Delete(i);
        return;
    }
}

TWinControl* TCustomDropTarget::FindTarget(TPoint screenPoint) {
    TControl* at = Screen ? Screen->ControlAtPos(screenPoint) : nullptr;
    TWinControl* control = dynamic_cast<TWinControl*>(at);
    if (!control && at) control = at->Parent();
    for (; control; control = control->Parent())
        if (targets_.IndexOf(control) >= 0) return control;
    return nullptr;
}

TWinControl* TCustomDropTarget::FindNearestTarget(TPoint screenPoint) const {
    TWinControl* nearest = nullptr;
    std::int64_t best = 0;
    for (int i = 0; i < targets_.Count(); ++i) {
        TWinControl* c = targets_[i];
        const TPoint p = c->ScreenToClient(screenPoint);
        TRect r = c->ClientRect();
        ++r.right;
        ++r.bottom;
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return c;
        const std::int64_t dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
        const std::int64_t dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
        const std::int64_t d = dx * dx + dy * dy;
        if (!nearest || d < best) {
            nearest = c;
            best = d;
        }
    }
    return nearest;
}

TPoint TCustomDropTarget::ClientPoint(TPoint screen) const { return target_ ? target_->ScreenToClient(screen) : screen; }

DWORD TCustomDropTarget::GetValidDropEffect(TShiftState shift, TPoint clientPoint, DWORD effect) {
    const DWORD allowed = effect & DragTypesToDropEffect(DragTypes);
    effect = OnGetDropEffect ? allowed : ShiftStateToDropEffect(shift, allowed, true);
    if (AutoScroll && (vertical_ || horizontal_)) {
        const bool inside = clientPoint.x >= scrollRect_.left && clientPoint.x < scrollRect_.right &&
                            clientPoint.y >= scrollRect_.top && clientPoint.y < scrollRect_.bottom;
        effect = inside ? effect & ~DROPEFFECT_SCROLL : effect | DROPEFFECT_SCROLL;
    }
    if (OnGetDropEffect) OnGetDropEffect(this, shift, clientPoint, effect);
    return effect;
}

void TCustomDropTarget::DoEnter(TShiftState shift, TPoint point, DWORD& effect) {
    if (OnEnter) OnEnter(this, shift, point, effect);
}
void TCustomDropTarget::DoDragOver(TShiftState shift, TPoint point, DWORD& effect) {
    if (OnDragOver) OnDragOver(this, shift, point, effect);
}
void TCustomDropTarget::DoLeave() {
    if (OnLeave) OnLeave(this);
}
void TCustomDropTarget::DoScroll(TPoint, TScrollDirections& scroll, int& interval) {
    if (OnScroll) OnScroll(this, lastPoint_, scroll, interval);
}

void TCustomDropTarget::DoDrop(TShiftState shift, TPoint point, DWORD& effect) {
    if (OnDrop) OnDrop(this, shift, point, effect);
    if (effect == DROPEFFECT_NONE) return;
    DWORD performed = effect;
    if (OptimizedMove && (performed & DROPEFFECT_MOVE)) performed = (performed & ~DROPEFFECT_MOVE) | DROPEFFECT_COPY;
    if (SetPerformedDropEffect(performed)) effect = performed;
}

DWORD TCustomDropTarget::GetPreferredDropEffect() {
    if (!dataObject_) return 0;
    TPreferredDropEffectClipboardFormat format;
    return format.GetData(dataObject_.get()) ? format.Value : 0;
}

bool TCustomDropTarget::SetPerformedDropEffect(DWORD effect) {
    return WriteDword(dataObject_.get(), TPerformedDropEffectClipboardFormat::StaticClass(), effect);
}

bool TCustomDropTarget::SetPasteSucceeded(DWORD effect) {
    return WriteDword(dataObject_.get(), TPasteSucceededClipboardFormat::StaticClass(), effect);
}

DWORD TCustomDropTarget::PasteFromClipboard() {
    target_ = nullptr;
    ComPtr<IDataObject> clipboard;
    if (const HRESULT hr = OleGetClipboard(clipboard.put()); FAILED(hr))
        throw EDropTarget(AnsiFormat("The clipboard could not be read (%08X)", static_cast<unsigned>(hr)));
    dataObject_ = clipboard;
    DWORD effect = 0;
    try {
        effect = GetPreferredDropEffect();
        if (!GetData(effect)) effect = 0;
        DoOnPaste(effect);
    } catch (...) {
        ClearData();
        dataObject_.reset();
        throw;
    }
    ClearData();
    dataObject_.reset();
    return effect;
}

void TCustomDropTarget::DoOnPaste(DWORD& effect) {
    DoDrop({}, TPoint(0, 0), effect);
    if (effect != 0) SetPasteSucceeded(effect);
}

bool TCustomDropTarget::CanPasteFromClipboard() {
    ComPtr<IDataObject> clipboard;
    return SUCCEEDED(OleGetClipboard(clipboard.put())) && HasValidFormats(clipboard.get());
}

bool TCustomDropTarget::GetData(DWORD) {
    ClearData();
    // Transfers run here: the data object of a drag belongs to the thread of the windows.
    return DoGetData();
}

HRESULT TCustomDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) {
    try {
        ClearData();
        dataObject_ = ComPtr<IDataObject>(data);
        const TPoint screen = PointOf(point);
        target_ = FindTarget(screen);
        // Window systems that cannot place the pointer exactly still give us the nearest one.
        if (!target_) target_ = FindNearestTarget(screen);
        lastPoint_ = ClientPoint(screen);
        SampleMouse(screen, true);
        if (!dataObject_ || !HasValidFormats(dataObject_.get())) {
            dataObject_.reset();
            effect = DROPEFFECT_NONE;
            return S_OK;
        }
        vertical_ = horizontal_ = false;
        TDropScrollBar bar;
        if (AutoScroll && target_) {
            vertical_ = ScrollBarOf(*target_, true, bar);
            horizontal_ = ScrollBarOf(*target_, false, bar);
        }
        if (vertical_ || horizontal_) {
            // Two scroll-bar widths at the edges scroll.
            constexpr int kEdge = 2 * 16;
            scrollRect_ = target_->ClientRect();
            if (vertical_) {
                scrollRect_.top += kEdge;
                scrollRect_.bottom -= kEdge;
            }
            if (horizontal_) {
                scrollRect_.left += kEdge;
                scrollRect_.right -= kEdge;
            }
        }
        if (GetDataOnEnter && !GetData(effect)) {
            dataObject_.reset();
            effect = DROPEFFECT_NONE;
            return DV_E_FORMATETC;
        }
        const TShiftState shift = ShiftOf(keyState);
        effect = GetValidDropEffect(shift, lastPoint_, effect);
        DoEnter(shift, lastPoint_, effect);
        if ((effect & ~DROPEFFECT_SCROLL) == DROPEFFECT_NONE) dataObject_.reset();
        return S_OK;
    } catch (...) {
        dataObject_.reset();
        effect = DROPEFFECT_NONE;
        return E_UNEXPECTED;
    }
}

HRESULT TCustomDropTarget::DragOver(DWORD keyState, POINTL point, DWORD& effect) {
    if (!target_) {
        effect = DROPEFFECT_NONE;
        return E_UNEXPECTED;
    }
    try {
        const TPoint screen = PointOf(point);
        const TPoint client = ClientPoint(screen);
        const TShiftState shift = ShiftOf(keyState);
        effect = GetValidDropEffect(shift, client, effect);
        HRESULT hr = DV_E_FORMATETC;
        if (dataObject_) {
            DoDragOver(shift, client, effect);
            hr = S_OK;
        }
        const bool slow = SampleMouse(screen, false);
        if (effect & DROPEFFECT_SCROLL) {
            if (!scrollTimer_->Enabled()) scrollTimer_->SetInterval(DragDropScrollDelay);
            if (slow)
                scrollTimer_->SetEnabled(true);
            else
                StopTimer();
        } else {
            StopTimer();
        }
        lastPoint_ = client;
        if (!dataObject_) effect = DROPEFFECT_NONE;
        return hr;
    } catch (...) {
        dataObject_.reset();
        effect = DROPEFFECT_NONE;
        return E_UNEXPECTED;
    }
}

HRESULT TCustomDropTarget::DragLeave() {
    try {
        ClearData();
        StopTimer();
        dataObject_.reset();
        DoLeave();
        target_ = nullptr;
        return S_OK;
    } catch (...) {
        dataObject_.reset();
        target_ = nullptr;
        return E_UNEXPECTED;
    }
}

HRESULT TCustomDropTarget::Drop(IDataObject*, DWORD keyState, POINTL point, DWORD& effect) {
    StopTimer();
    if (!dataObject_) {
        effect = DROPEFFECT_NONE;
        return E_UNEXPECTED;
    }
    HRESULT hr = S_OK;
    try {
        const TShiftState shift = ShiftOf(keyState);
        const TPoint client = ClientPoint(PointOf(point));
        effect = GetValidDropEffect(shift, client, effect) & ~DROPEFFECT_SCROLL;
        if (GetDataOnEnter || GetData(effect))
            DoDrop(shift, client, effect);
        else
            effect = DROPEFFECT_NONE;
    } catch (...) {
        effect = DROPEFFECT_NONE;
        hr = E_UNEXPECTED;
    }
    try {
        ClearData();
    } catch (...) {
        hr = E_UNEXPECTED;
    }
    dataObject_.reset();
    target_ = nullptr;
    return hr;
}

bool TCustomDropTarget::ScrollTimerRunning() const { return scrollTimer_->Enabled(); }

void TCustomDropTarget::StopTimer() { scrollTimer_->SetEnabled(false); }

void TCustomDropTarget::StartTimer(unsigned interval) {
    scrollTimer_->SetInterval(interval);
    scrollTimer_->SetEnabled(true);
}

void TCustomDropTarget::DoAutoScroll() {
    StopTimer();
    if (!target_) return;
    int interval = static_cast<int>(DragDropScrollInterval);
    TScrollDirections scroll;
    const bool outside = !(lastPoint_.x >= scrollRect_.left && lastPoint_.x < scrollRect_.right &&
                           lastPoint_.y >= scrollRect_.top && lastPoint_.y < scrollRect_.bottom);
    if (outside && SampleMouse(target_->ClientToScreen(lastPoint_), false)) {
        TDropScrollBar bar;
        if (vertical_ && ScrollBarOf(*target_, true, bar)) {
            if (lastPoint_.y < scrollRect_.top && bar.Position > bar.Min) scroll << sdUp;
            if (lastPoint_.y >= scrollRect_.bottom && bar.Max >= bar.Position + bar.Page) scroll << sdDown;
        }
        if (horizontal_ && ScrollBarOf(*target_, false, bar)) {
            if (lastPoint_.x < scrollRect_.left && bar.Position > bar.Min) scroll << sdLeft;
            if (lastPoint_.x >= scrollRect_.right && bar.Max >= bar.Position + bar.Page) scroll << sdRight;
        }
        if (!scroll.Empty()) DoScroll(lastPoint_, scroll, interval);
    }
    if (scroll.Empty()) return;
    if (scroll.Contains(sdUp))
        ScrollStep(*target_, sdUp);
    else if (scroll.Contains(sdDown))
        ScrollStep(*target_, sdDown);
    if (scroll.Contains(sdLeft))
        ScrollStep(*target_, sdLeft);
    else if (scroll.Contains(sdRight))
        ScrollStep(*target_, sdRight);
    StartTimer(static_cast<unsigned>(std::max(interval, 1)));
}

bool TCustomDropTarget::SampleMouse(TPoint screenPoint, bool reset) {
    const DWORD now = Clock();
    if (reset) {
        sampleTime0_ = now;
        sample0_ = screenPoint;
        sampleTime1_ = 0;
        return true;
    }
    bool slow = true;
    const DWORD elapsed = now - sampleTime0_;
    if (elapsed >= DragDropScrollVelocitySample) {
        // Squared speed in pixels per second, in 64 bits: fast moves must not wrap to "slow".
        const std::int64_t dx = screenPoint.x - sample0_.x, dy = screenPoint.y - sample0_.y;
        const std::int64_t t = elapsed;
        const std::int64_t v = t == 0 ? 0 : (dx * dx + dy * dy) * 1000000 / (t * t);
        const std::int64_t max = DragDropScrollMaxVelocity;
        slow = max * max >= v;
        if (sampleTime1_ == 0) {
            sampleTime1_ = now ? now : 1;
            sample1_ = screenPoint;
        }
    }
    if (sampleTime1_ != 0 && now - sampleTime1_ >= DragDropScrollVelocitySample) {
        sampleTime0_ = sampleTime1_;
        sample0_ = sample1_;
        sampleTime1_ = now ? now : 1;
        sample1_ = screenPoint;
    }
    return slow;
}

TCustomDropMultiTarget::TCustomDropMultiTarget(TComponent* owner) : TCustomDropTarget(owner) {
    DragTypes = {dtCopy, dtLink};
}

TCustomDropMultiTarget::~TCustomDropMultiTarget() = default;

void TCustomDropMultiTarget::GetCompatibleClipboardFormats(const TDataFormatClass& dataClass, TClipboardFormats& list) {
    TDataFormatMap::Instance().GetClipboardFormats(dataClass, list, ddtTarget);
}

void TCustomDropMultiTarget::DoAcceptFormat(const TCustomDataFormat& format, bool& accept) {
    if (OnAcceptFormat) OnAcceptFormat(this, format, accept);
}

bool TCustomDropMultiTarget::HasValidFormats(IDataObject* data) {
    ComPtr<IEnumFORMATETC> formats;
    if (!data || data->EnumFormatEtc(DATADIR_GET, formats.put()) != S_OK || !formats) return false;
    formats->Reset();
    FORMATETC f;
    ULONG got = 0;
    while (formats->Next(1, &f, &got) == S_OK && got == 1) {
        for (int i = 0; i < DataFormats().Count(); ++i) {
            TCustomDataFormat& format = *DataFormats()[i];
            if (!format.AcceptFormat(f) || !format.HasValidFormats(data)) continue;
            bool accept = true;
            DoAcceptFormat(format, accept);
            if (accept) return true;
        }
    }
    return false;
}

bool TCustomDropMultiTarget::DoGetData() {
    bool got = false;
    for (int i = 0; i < DataFormats().Count(); ++i) {
        TCustomDataFormat& format = *DataFormats()[i];
        if (!format.HasValidFormats(DataObject())) continue;
        bool accept = true;
        DoAcceptFormat(format, accept);
        if (accept && format.GetData(DataObject())) got = true;
    }
    return got;
}

void TCustomDropMultiTarget::ClearData() {
    for (int i = 0; i < DataFormats().Count(); ++i) DataFormats()[i]->Clear();
}
