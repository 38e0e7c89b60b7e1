// TTimer: a component that fires OnTimer every Interval milliseconds on the GUI thread.
// Panels (TCustomPanel) and bevels (TBevel), splitters that size the control they are aligned
// against (TSplitter), radio groups (TCustomRadioGroup), pictures (TImage) and the scrolling
// box of other controls (TScrollBox).
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/Components.h"
#include "platform/vcl/GraphicsImages.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WinUser.h"

class TTimer : public TComponent {
    QUILLORA_COMPONENT(TTimer)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);
    TNotifyEvent OnTimer;
    void SetOnTimer(TNotifyEvent handler);

protected:
    void Loaded() override;
    virtual void Timer();

private:
    void UpdateTimer();
    HWND window_ = nullptr;
    bool enabled_ = true;
    UINT interval_ = 1000;
};

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };
enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
QUILLORA_ENUM_TYPEINFO(TPanelBevel, "bvNone", "bvLowered", "bvRaised", "bvSpace")
QUILLORA_ENUM_TYPEINFO(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer")
QUILLORA_ENUM_TYPEINFO(TBevelStyle, "bsLowered", "bsRaised")
QUILLORA_ENUM_TYPEINFO(TResizeStyle, "rsNone", "rsLine", "rsUpdate", "rsPattern")

class TCustomPanel : public TCustomControl {
    QUILLORA_COMPONENT(TCustomPanel)
    QUILLORA_MESSAGES()
public:
    explicit TCustomPanel(TComponent* owner);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel v);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel v);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);

protected:
    void AdjustClientRect(TRect& rect) const override;
    void Paint() override;
    void CMTextChanged(TMessage& m);

private:
    void Changed();
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TFormBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
    QUILLORA_COMPONENT(TPanel)
public:
    using TCustomPanel::TCustomPanel;
};

class TBevel : public TGraphicControl {
    QUILLORA_COMPONENT(TBevel)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape v);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle v);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

using TCanResizeEvent = std::function<void(TObject* sender, int& newSize, bool& accept)>;

// Dragging a splitter sizes the control on its aligned side; the control keeps MinSize and
// leaves MinSize to the rest of the parent.
class TSplitter : public TGraphicControl {
    QUILLORA_COMPONENT(TSplitter)
public:
    explicit TSplitter(TComponent* owner);
    int MinSize() const { return minSize_; }
    void SetMinSize(int v) { minSize_ = std::max(v, 1); }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle v) { resizeStyle_ = v; }
    bool AutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool v) { autoSnap_ = v; }
    // The control the splitter sizes (found when a drag begins).
    TControl* FindSizedControl() const;

    TCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void BoundsChanged() override;

private:
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    int minSize_ = 30;
    TResizeStyle resizeStyle_ = rsPattern;
    bool autoSnap_ = false;
    TControl* sized_ = nullptr;
    TPoint down_;
    int startSize_ = 0;
    int maxSize_ = 0;
    bool dragging_ = false;
};

// Radio buttons made from Items, in Columns; ItemIndex is the checked one.
class TCustomRadioGroup : public TCustomGroupBox {
    QUILLORA_COMPONENT(TCustomRadioGroup)
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* items);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int v);
    TRadioButton* Buttons(int index) const;

protected:
    void Loaded() override;
    void BoundsChanged() override;

private:
    void UpdateButtons();
    void ArrangeButtons();
    std::unique_ptr<TStringList> items_;
    std::vector<TRadioButton*> buttons_;  // children: their parent frees them
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
    QUILLORA_COMPONENT(TRadioGroup)
public:
    using TCustomRadioGroup::TCustomRadioGroup;
};

class TImage : public TGraphicControl {
    QUILLORA_COMPONENT(TImage)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool Proportional() const { return proportional_; }
    void SetProportional(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // Where the picture is drawn in the client area.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
};

// Scrolls its children when they reach beyond its client area; the wheel scrolls too.
class TScrollBoxPeer {
public:
    virtual ~TScrollBoxPeer() = default;
    // The scroll bars: ranges (0 hides one), pages and positions.
    virtual void SetScrollBars(int hRange, int hPage, int hPos, int vRange, int vPage, int vPos) = 0;
};

class TScrollBox : public TWinControl {
    QUILLORA_COMPONENT(TScrollBox)
    QUILLORA_MESSAGES()
public:
    explicit TScrollBox(TComponent* owner);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TPoint ScrollPos() const { return pos_; }
    // Scrolls to a position (clamped to the range), moving the children.
    void ScrollTo(int x, int y);
    void ScrollInView(TControl* control);
    TSize Range() const;
    TRect ClientRect() const override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void AlignControls(TControl* control, TRect& rect) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void Loaded() override;
    void BoundsChanged() override;
    void WMPaint(TWMPaint& m);
    void WMHScroll(TMessage& m);
    void WMVScroll(TMessage& m);

private:
    void UpdateScrollBars();
    void Scroll(bool vertical, WORD code, int thumb);
    TFormBorderStyle borderStyle_ = bsSingle;
    TPoint pos_;
    bool hBar_ = false, vBar_ = false;
    bool updating_ = false;
};

// Registers the controls of this unit for form files.
void RegisterExtCtrls();
