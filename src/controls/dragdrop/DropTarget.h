// The target side of a drag: registers windowed controls, decides the drop effect from the
// allowed drag types, the keys and the application's events, scrolls the control under a
// resting cursor, and fetches the dropped data into its data formats.
#pragma once

#include <functional>
#include <vector>

#include "controls/dragdrop/DragDropComponent.h"
#include "controls/dragdrop/DropEffects.h"

// Auto-scroll tunables: milliseconds before the first step and between steps, the speed in
// pixels per second above which the cursor is moving rather than resting, the sample time.
inline unsigned DragDropScrollDelay = 50;
inline unsigned DragDropScrollInterval = 50;
inline unsigned DragDropScrollMaxVelocity = 20;
inline unsigned DragDropScrollVelocitySample = 10;

// Scoped: the styled controls name their frame sides sdLeft and sdRight too.
enum class TScrollDirection { sdUp, sdDown, sdLeft, sdRight };
using TScrollDirections = TSet<TScrollDirection>;

QUILLORA_EXCEPTION_CLASS(EDropTarget, Exception);

// The registered controls in order.
class TControlList {
public:
    int Add(TWinControl* control);
    void Insert(int index, TWinControl* control);
    void Delete(int index);
    int Remove(TWinControl* control);
    int IndexOf(const TWinControl* control) const;
    TWinControl* operator[](int index) const { return items_.at(static_cast<std::size_t>(index)); }
    int Count() const { return static_cast<int>(items_.size()); }

private:
    std::vector<TWinControl*> items_;
};

// A scroll bar of the control under the drag.
struct TDropScrollBar {
    int Min = 0, Max = 0, Page = 0, Position = 0;
};

class TDropTargetFace;
class TTimer;

class TCustomDropTarget : public TDragDropComponent {
public:
    using TDropTargetEvent = std::function<void(TObject* sender, TShiftState shift, TPoint point, DWORD& effect)>;
    using TDropTargetScrollEvent =
        std::function<void(TObject* sender, TPoint point, TScrollDirections& scroll, int& interval)>;

    explicit TCustomDropTarget(TComponent* owner);
    ~TCustomDropTarget() override;
    std::string_view ClassName() const override { return "TCustomDropTarget"; }

    TDragTypes DragTypes;
    bool GetDataOnEnter = false;
    bool MultiTarget = false;
    bool OptimizedMove = false;
    bool AutoScroll = true;
    bool ShowImage = true;  // the window system shows the drag image; kept for the events' sake
    TDropTargetEvent OnEnter, OnDragOver, OnDrop, OnGetDropEffect;
    TNotifyEvent OnLeave;
    TDropTargetScrollEvent OnScroll;

    // Registers a control's window (unregistering the others unless MultiTarget); after the
    // last registered ancestor, else at the end.
    void Register(TWinControl* control);
    // Null unregisters every control, the last first.
    void Unregister(TWinControl* control = nullptr);
    const TControlList& Targets() const { return targets_; }
    // The control under the drag (null outside a drag).
    TWinControl* Target() const { return target_; }
    void SetTarget(TWinControl* control);
    IDataObject* DataObject() const { return dataObject_.get(); }
    IDropTarget* DropTarget() const;

    // The drop target's calls; no exception leaves them.
    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect);
    HRESULT DragOver(DWORD keyState, POINTL point, DWORD& effect);
    HRESULT DragLeave();
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect);

    // The registered control under a screen point, or one of its registered parents.
    virtual TWinControl* FindTarget(TPoint screenPoint);
    // The registered control whose client area is nearest to the point.
    TWinControl* FindNearestTarget(TPoint screenPoint) const;
    virtual DWORD GetValidDropEffect(TShiftState shift, TPoint clientPoint, DWORD effect);
    virtual DWORD GetPreferredDropEffect();
    virtual bool SetPerformedDropEffect(DWORD effect);
    virtual bool SetPasteSucceeded(DWORD effect);
    // Takes what the clipboard holds as a drop; the effect performed, 0 when nothing was taken.
    DWORD PasteFromClipboard();
    bool CanPasteFromClipboard();

    // The auto-scroll step (the timer's handler) and the cursor's velocity test: true when the
    // cursor rests enough to scroll.
    void DoAutoScroll();
    bool SampleMouse(TPoint screenPoint, bool reset);
    bool ScrollTimerRunning() const;
    // Milliseconds, replaceable for tests.
    std::function<DWORD()> Clock;
    // The scroll bars of the control under the drag and stepping them; replaceable for
    // controls that scroll otherwise. By default the scroll bars the control's window reports
    // and their line steps (WM_VSCROLL/WM_HSCROLL for a window that steps none itself).
    std::function<bool(TWinControl& control, bool vertical, TDropScrollBar& bar)> ScrollBarOf;
    std::function<void(TWinControl& control, TScrollDirection direction)> ScrollStep;

protected:
    virtual void DoEnter(TShiftState shift, TPoint point, DWORD& effect);
    virtual void DoDragOver(TShiftState shift, TPoint point, DWORD& effect);
    virtual void DoDrop(TShiftState shift, TPoint point, DWORD& effect);
    virtual void DoLeave();
    virtual void DoScroll(TPoint point, TScrollDirections& scroll, int& interval);
    virtual void DoOnPaste(DWORD& effect);
    virtual bool GetData(DWORD effect);
    virtual bool DoGetData() = 0;
    virtual void ClearData() = 0;
    virtual bool HasValidFormats(IDataObject* data) = 0;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void DoRegister(TWinControl* control);
    void DoUnregister(TWinControl* control);
    TPoint ClientPoint(TPoint screen) const;
    void StopTimer();
    void StartTimer(unsigned interval);

    ComPtr<TDropTargetFace> face_;
    ComPtr<IDataObject> dataObject_;
    TControlList targets_;
    TWinControl* target_ = nullptr;
    TPoint lastPoint_;
    bool vertical_ = false, horizontal_ = false;
    TRect scrollRect_;
    std::unique_ptr<TTimer> scrollTimer_;
    DWORD sampleTime0_ = 0, sampleTime1_ = 0;
    TPoint sample0_, sample1_;
};

// A target with a list of data formats; it accepts a drag when one of them can read one of the
// offered formats.
class TCustomDropMultiTarget : public TCustomDropTarget {
public:
    using TAcceptFormatEvent = std::function<void(TObject* sender, const TCustomDataFormat& format, bool& accept)>;

    explicit TCustomDropMultiTarget(TComponent* owner);
    ~TCustomDropMultiTarget() override;
    std::string_view ClassName() const override { return "TCustomDropMultiTarget"; }

    TAcceptFormatEvent OnAcceptFormat;
    void GetCompatibleClipboardFormats(const TDataFormatClass& dataClass, TClipboardFormats& list) override;

protected:
    bool DoGetData() override;
    void ClearData() override;
    bool HasValidFormats(IDataObject* data) override;
    virtual void DoAcceptFormat(const TCustomDataFormat& format, bool& accept);
};

// Formats are attached from outside.
class TDropEmptyTarget : public TCustomDropMultiTarget {
public:
    using TCustomDropMultiTarget::TCustomDropMultiTarget;
};

// Accepts nothing.
class TDropDummy : public TCustomDropTarget {
public:
    using TCustomDropTarget::TCustomDropTarget;

protected:
    bool DoGetData() override { return false; }
    void ClearData() override {}
    bool HasValidFormats(IDataObject*) override { return false; }
};
