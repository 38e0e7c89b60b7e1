// The styled tab strip: tab records, the selection with its change query, the layout of
// single- and multi-line strips in a logical space mapped to each orientation, outline regions
// and hit testing, painting into an off-screen bitmap, the scroller, close and menu buttons, and
// mouse and key input. TRzPageControl (RzPageControl.h) turns it into a page control.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "controls/styled/DrawHelpers.h"
#include "controls/styled/StyledTypes.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/GraphicsImageList.h"

QUILLORA_EXCEPTION_CLASS(ERzTabControlError, Exception);

// Posted when the layout went dirty: the pass runs outside painting.
inline constexpr UINT CM_TABLAYOUT = WM_USER + 0x7A10;

enum TRzTabStyle { tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners, tsBackSlant, tsSquareCorners };
enum TRzTabOrientation { toTop, toLeft, toBottom, toRight };
enum TRzTabSequence { tsStandard, tsReverse };
enum TRzTabHotTrackStyle { htsTab, htsText, htsTabBar };
enum TRzTabHotTrackColorSource { htcsTabColor, htcsHotTrackColorProp };
enum TRzImagePosition { ipLeft, ipTop, ipRight, ipBottom, ipBack, ipStretch };
enum TRzHorizontalAlignment { haLeft, haCenter, haRight };
enum TRzVerticalAlignment { vaTop, vaCenter, vaBottom };
enum TRzTextStyle { tsHotTrack, tsSelected, tsUnselected, tsDisabled };
enum TOrientation { orHorizontal, orVertical };
QUILLORA_ENUM_TYPEINFO(TRzTabStyle, "tsSingleSlant", "tsDoubleSlant", "tsCutCorner", "tsRoundCorners", "tsBackSlant",
                       "tsSquareCorners")
QUILLORA_ENUM_TYPEINFO(TRzTabOrientation, "toTop", "toLeft", "toBottom", "toRight")
QUILLORA_ENUM_TYPEINFO(TRzTabSequence, "tsStandard", "tsReverse")
QUILLORA_ENUM_TYPEINFO(TRzTabHotTrackStyle, "htsTab", "htsText", "htsTabBar")
QUILLORA_ENUM_TYPEINFO(TRzImagePosition, "ipLeft", "ipTop", "ipRight", "ipBottom", "ipBack", "ipStretch")
QUILLORA_ENUM_TYPEINFO(TRzHorizontalAlignment, "haLeft", "haCenter", "haRight")
QUILLORA_ENUM_TYPEINFO(TRzVerticalAlignment, "vaTop", "vaCenter", "vaBottom")
QUILLORA_ENUM_TYPEINFO(TOrientation, "orHorizontal", "orVertical")

class TRzCustomTabControl;

class TRzTabData : public TPersistent {
public:
    std::string_view ClassName() const override { return "TRzTabData"; }
    void Assign(const TPersistent* source) override;

    WideString Caption;
    TColor Color = clBtnFace;
    int DisabledIndex = -1;
    bool Enabled = true;
    WideString Hint;
    int ImageIndex = -1;
    TRect TabRect;  // logical, set by the layout
    bool Visible = true;
    int Row = 0;
};

class TRzTabDataList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TRzTabData* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
    TRzTabData* Add();
    void Clear() { items_.clear(); }
    void SetItem(int index, std::unique_ptr<TRzTabData> item) { items_.at(static_cast<std::size_t>(index)) = std::move(item); }
    void Assign(const TRzTabDataList& source);

private:
    std::vector<std::unique_ptr<TRzTabData>> items_;
};

// Colour sets: a change repaints the owner's tabs.
class TRzTabColors : public TPersistent {
public:
    explicit TRzTabColors(TRzCustomTabControl* owner) : owner_(owner) {}
    std::string_view ClassName() const override { return "TRzTabColors"; }
    void Assign(const TPersistent* source) override;
    TColor HighlightBar() const { return highlightBar_; }
    TColor Shadow() const { return shadow_; }
    TColor Unselected() const { return unselected_; }
    void SetHighlightBar(TColor c) { Set(highlightBar_, c); }
    void SetShadow(TColor c) { Set(shadow_, c); }
    void SetUnselected(TColor c) { Set(unselected_, c); }

private:
    void Set(TColor& field, TColor value);
    TRzCustomTabControl* owner_;
    TColor highlightBar_ = clHighlight, shadow_ = clBtnFace, unselected_ = clWindow;
};

class TRzTextColors : public TPersistent {
public:
    explicit TRzTextColors(TRzCustomTabControl* owner) : owner_(owner) {}
    std::string_view ClassName() const override { return "TRzTextColors"; }
    void Assign(const TPersistent* source) override;
    TColor Disabled() const { return disabled_; }
    TColor Selected() const { return selected_; }
    TColor Unselected() const { return unselected_; }
    void SetDisabled(TColor c) { Set(disabled_, c); }
    void SetSelected(TColor c) { Set(selected_, c); }
    void SetUnselected(TColor c) { Set(unselected_, c); }

private:
    void Set(TColor& field, TColor value);
    TRzCustomTabControl* owner_;
    TColor disabled_ = clGrayText, selected_ = clBtnText, unselected_ = clBtnText;
};

// An owned region handle.
class TRzRegion {
public:
    TRzRegion() = default;
    explicit TRzRegion(HRGN region) : region_(region) {}
    ~TRzRegion();
    TRzRegion(TRzRegion&& other) noexcept : region_(other.release()) {}
    TRzRegion& operator=(TRzRegion&& other) noexcept;
    TRzRegion(const TRzRegion&) = delete;
    TRzRegion& operator=(const TRzRegion&) = delete;
    HRGN get() const { return region_; }
    HRGN release() {
        HRGN r = region_;
        region_ = nullptr;
        return r;
    }

private:
    HRGN region_ = nullptr;
};

struct TRzTabRegionCacheItem {
    TRect Rect{-1, -1, -1, -1};
    TRzRegion Region;
};

// Outline regions by tab bounds, most recently used first.
class TRzTabRegionCache {
public:
    explicit TRzTabRegionCache(int capacity = 1) { SetCapacity(capacity); }
    HRGN Find(const TRect& r) const;
    // Takes the region; an item with an equal key moves to the front with it.
    HRGN Add(const TRect& r, TRzRegion region);
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    int Capacity() const { return capacity_; }
    // -1 keeps every region.
    void SetCapacity(int capacity);

private:
    void Trim();
    std::vector<TRzTabRegionCacheItem> items_;
    int capacity_ = 1;
};

// Measures tab captions in the tab font: extents along and across the text line.
class TRzTabTextMeasurer {
public:
    virtual ~TRzTabTextMeasurer() = default;
    virtual TSize Extent(const WideString& text, bool bold) = 0;
    // The absolute height of the tab font.
    virtual int FontHeight() = 0;
};

// The text of a caption line as drawn: the first accelerator "&" dropped, "&&" as one "&", a
// trailing "&" kept.
WideString StripTabAccelerator(const WideString& line);
// The up to three pieces a line draws in: before the accelerator, the underlined character,
// and the rest. accel is empty when the line has none.
struct TRzCaptionPieces {
    WideString before, accel, after;
};
TRzCaptionPieces SplitTabCaption(const WideString& line);
// The accelerator character of a caption (lower case), 0 when none.
WideChar TabAcceleratorChar(const WideString& caption);
// Caption lines split at CR LF.
std::vector<WideString> TabCaptionLines(const WideString& caption);

using TRzTabChangingEvent = std::function<void(TObject* sender, int newIndex, bool& allowChange)>;
using TRzTabCloseEvent = std::function<void(TObject* sender, bool& allowClose)>;
using TRzTabOrderChangeEvent = std::function<void(TObject* sender, int oldIndex, int newIndex)>;
using TRzGetTextColorEvent =
    std::function<void(TObject* sender, int tabIndex, TRzTextStyle style, TColor& color, bool& handled)>;
using TRzPaintBackgroundEvent =
    std::function<void(TObject* sender, TCanvas* canvas, const TRect& r, bool& handled)>;
using TRzPaintCardBackgroundEvent =
    std::function<void(TObject* sender, TCanvas* canvas, int row, const TRect& r, bool& handled)>;
using TRzPaintTabBackgroundEvent =
    std::function<void(TObject* sender, TCanvas* canvas, int tabIndex, const TRect& r, bool& handled)>;

class TRzTabScroller;
class TRzTabControlCloseButton;
class TRzActiveTabCloseButton;
class TRzTabMenuButton;

class TRzCustomTabControl : public TCustomControl {
    QUILLORA_COMPONENT(TRzCustomTabControl)
    QUILLORA_MESSAGES()
public:
    explicit TRzCustomTabControl(TComponent* owner);
    ~TRzCustomTabControl() override;

    // ---- tabs and selection
    TRzTabDataList& Tabs() { return tabs_; }
    const TRzTabDataList& Tabs() const { return tabs_; }
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int value);
    bool CanChange(int index);
    virtual void LayoutChanged();
    virtual void InvalidateTabs();
    void SetLayoutDirty(bool dirty);
    bool LayoutDirty() const { return layoutDirty_; }
    // The deferred layout pass: sizes, scroll state, selection repair, child alignment. It runs
    // from a posted message, never inside painting: the repair may switch pages.
    void UpdateLayout();
    // Tab sizes and scroll state only, without events: what painting and hit tests need.
    void UpdateGeometry();
    void CloseActiveTab();
    virtual void CloseTab() {}
    virtual void MoveTab(int /*toIndex*/) {}
    virtual void HideAllTabs() {}
    virtual void ShowAllTabs() {}

    // ---- geometry
    void CalcTabRects();
    TRect TabArea() const;
    TRect CardRect(int row) const;
    TRect DisplayRect() const;
    TPoint LogicalToClient(const TPoint& p) const;
    TRect TabBounds(int index) const;
    std::vector<TPoint> TabOutline(int index) const;
    HRGN TabRegion(int index);
    int TabAtPos(int x, int y);
    bool TabIsShown(int index) const;
    void ScrollTabs(bool forward);
    int FirstVisibleTab() const { return firstVisibleTab_; }
    bool Scrolling() const { return scrolling_; }
    int ScrollOffset() const;
    int RowCount() const { return rowCount_; }
    int FixedDimension() const { return fixedDimension_; }
    void SetFixedDimension(int v) { fixedDimension_ = v; }
    int ButtonSize() const { return buttonSize_; }
    int ButtonThickness() const { return buttonThickness_; }
    TRect ScrollerBounds() const;
    TRect CloseButtonBounds() const;
    TRect MenuButtonBounds() const;
    // The close button's place on the active tab; empty when it does not go there.
    TRect ActiveTabCloseButtonBounds() const;
    // The text box of a tab (Bounds shrunk by the style, the focus margin and the image part).
    TRect TabTextRect(int index, bool withCloseButton = true) const;
    int Slant(int length) const;
    bool VerticalText() const { return textOrientation_ == orVertical; }
    bool HorizontalTabs() const { return tabOrientation_ == toTop || tabOrientation_ == toBottom; }
    // Whether the scroller's back and forward halves can scroll.
    bool CanScrollBack() const;
    bool CanScrollForward() const;
    TRzTabRegionCache& RegionCache() { return regionCache_; }

    // Measures in the tab font unless a measurer is given (tests, other fonts).
    void SetTextMeasurer(std::unique_ptr<TRzTabTextMeasurer> measurer);

    // ---- input state
    int HotTab() const { return hotTab_; }
    bool HoverTimerRunning() const { return hoverTimer_ && hoverTimer_->Enabled(); }
    void HoverTimerTick();
    // The tab drag as the control's own drag: over and drop at client points.
    bool DragOverTab(int x, int y);
    void DragDropTab(int x, int y);
    void DragLeave();
    void DragScrollTick();
    bool DragScrollTimerRunning() const { return dragTimer_ && dragTimer_->Enabled(); }
    bool DropMarkerShown() const { return dropMarkerShown_; }
    TRect DropMarkerRect() const { return dropMarkerRect_; }
    int ForcedChangeDepth() const { return forcedChange_ ? 1 : 0; }

    // ---- painting
    // Draws the whole control on a canvas the size of the client area.
    void PaintTo(TCanvas& canvas);
    TColor FlatColorAdjusted() const { return AdjustedColor(flatColor_, flatColorAdjustment_); }

    // ---- children
    TRzTabScroller* Scroller() const { return scroller_; }
    TRzTabControlCloseButton* CloseButton() const { return closeButton_; }
    TRzActiveTabCloseButton* ActiveTabCloseButton() const { return activeCloseButton_; }
    TRzTabMenuButton* MenuButton() const { return menuButton_; }

    // ---- properties
#define RZ_TAB_PROP(Type, Name, field) \
    Type Name() const { return field; } \
    void Set##Name(Type v)
    RZ_TAB_PROP(bool, AlignTabs, alignTabs_);
    RZ_TAB_PROP(bool, AllowTabDragging, allowTabDragging_) { allowTabDragging_ = v; }
    RZ_TAB_PROP(TColor, BackgroundColor, backgroundColor_);
    RZ_TAB_PROP(bool, BoldCurrentTab, boldCurrentTab_);
    RZ_TAB_PROP(int, CutCornerSize, cutCornerSize_);
    RZ_TAB_PROP(TColor, FlatColor, flatColor_);
    RZ_TAB_PROP(int, FlatColorAdjustment, flatColorAdjustment_);
    RZ_TAB_PROP(bool, HotTrack, hotTrack_);
    RZ_TAB_PROP(TColor, HotTrackColor, hotTrackColor_);
    RZ_TAB_PROP(TRzTabHotTrackColorSource, HotTrackColorSource, hotTrackColorSource_);
    RZ_TAB_PROP(TRzHotTrackColorType, HotTrackColorType, hotTrackColorType_);
    RZ_TAB_PROP(TRzTabHotTrackStyle, HotTrackStyle, hotTrackStyle_);
    RZ_TAB_PROP(TRzHorizontalAlignment, ImageAlignment, imageAlignment_);
    RZ_TAB_PROP(TRzVerticalAlignment, ImageAlignmentVertical, imageAlignmentVertical_);
    RZ_TAB_PROP(int, ImageMargin, imageMargin_);
    RZ_TAB_PROP(TRzImagePosition, ImagePosition, imagePosition_);
    RZ_TAB_PROP(TCustomImageList*, Images, images_);
    RZ_TAB_PROP(int, Margin, margin_);
    RZ_TAB_PROP(bool, MultiLine, multiLine_);
    RZ_TAB_PROP(bool, ParentBackgroundColor, parentBackgroundColor_);
    RZ_TAB_PROP(int, RowIndent, rowIndent_);
    RZ_TAB_PROP(int, RowOverlap, rowOverlap_);
    RZ_TAB_PROP(bool, ShowCardArea, showCardArea_);
    RZ_TAB_PROP(bool, ShowCardFrame, showCardFrame_);
    RZ_TAB_PROP(bool, ShowCloseButton, showCloseButton_);
    RZ_TAB_PROP(bool, ShowCloseButtonOnActiveTab, showCloseButtonOnActiveTab_);
    RZ_TAB_PROP(bool, ShowMenuButton, showMenuButton_);
    RZ_TAB_PROP(bool, ShowFocusRect, showFocusRect_);
    RZ_TAB_PROP(bool, ShowFullFrame, showFullFrame_);
    RZ_TAB_PROP(bool, ShowShadow, showShadow_);
    RZ_TAB_PROP(bool, SoftCorners, softCorners_);
    RZ_TAB_PROP(int, TabHeight, tabHeight_);
    RZ_TAB_PROP(bool, TabHints, tabHints_);
    RZ_TAB_PROP(TRzTabOrientation, TabOrientation, tabOrientation_);
    RZ_TAB_PROP(int, TabOverlap, tabOverlap_);
    RZ_TAB_PROP(TRzTabSequence, TabSequence, tabSequence_);
    RZ_TAB_PROP(TRzTabStyle, TabStyle, tabStyle_);
    RZ_TAB_PROP(int, TabWidth, tabWidth_);
    RZ_TAB_PROP(TRzHorizontalAlignment, TextAlignment, textAlignment_);
    RZ_TAB_PROP(TRzVerticalAlignment, TextAlignmentVertical, textAlignmentVertical_);
    RZ_TAB_PROP(TOrientation, TextOrientation, textOrientation_);
    RZ_TAB_PROP(bool, Transparent, transparent_);
    RZ_TAB_PROP(bool, UseColoredTabs, useColoredTabs_);
    RZ_TAB_PROP(bool, UseGradients, useGradients_);
    RZ_TAB_PROP(int, RegionCacheSize, regionCacheSize_);
#undef RZ_TAB_PROP
    TRzTabColors* TabColors() const { return tabColors_.get(); }
    void SetTabColors(const TRzTabColors* colors) { tabColors_->Assign(colors); }
    TRzTextColors* TextColors() const { return textColors_.get(); }
    void SetTextColors(const TRzTextColors* colors) { textColors_->Assign(colors); }

    TRzTabChangingEvent OnChanging;
    TNotifyEvent OnChange;
    TNotifyEvent OnPageChange;
    TNotifyEvent OnTabClick;
    TRzTabCloseEvent OnClose;
    TRzTabOrderChangeEvent OnTabOrderChange;
    TNotifyEvent OnScrolledTabs;
    TRzGetTextColorEvent OnGetTextColor;
    TRzPaintBackgroundEvent OnPaintBackground;
    TRzPaintCardBackgroundEvent OnPaintCardBackground;
    TRzPaintTabBackgroundEvent OnPaintTabBackground;

protected:
    virtual bool DoChanging(int newIndex);
    virtual void Change();
    virtual void PageChange();
    virtual void TabClick();
    virtual bool DoClose();
    virtual void TabOrderChange(int oldIndex, int newIndex);
    virtual bool IsSwitchingLocked() const { return false; }
    virtual bool PaintBackgroundEvent(TCanvas& canvas, const TRect& r);
    virtual bool PaintCardBackgroundEvent(TCanvas& canvas, int row, const TRect& r);
    virtual bool PaintTabBackgroundEvent(TCanvas& canvas, int index, const TRect& r);
    virtual TColor GetTextColorEvent(int index, TRzTextStyle style, TColor color);
    virtual void ShowDropMarker(bool show, const TRect& r);
    bool Loading() const { return ComponentState().Contains(csLoading) || ControlState().Contains(csReadingState); }
    bool Designing() const { return ComponentState().Contains(csDesigning); }

    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(TRect& rect) const override;
    void AlignControls(TControl* control, TRect& rect) override;
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void DefineProperties(TFiler* filer) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;

    void CMDialogChar(TMessage& m);
    void WMGetDlgCode(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMSize(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void CMTabLayout(TMessage& m);

    TRzTabDataList tabs_;
    bool forcedChange_ = false;

private:
    friend class TRzTabScroller;
    bool TabIsShownFrom(int first, int index) const;
    TSize ContentSize(const TRzTabData& tab);
    TSize TabSizeFor(int w, int h) const;
    int StripLength() const;
    int RoomForButtons() const;
    void MoveRowForward(int index);
    void UpdateScrollState();
    void PlaceButtons();
    void PlaceButton(TControl* button, int w, int h, int before) const;
    void EnsureScroller();
    void EnsureCloseButton();
    void EnsureActiveCloseButton();
    void EnsureMenuButton();
    void PushFrameColor();
    void UpdateActiveCloseButton();
    void ChangeLayout(bool& field, bool value);
    void ChangeLayout(int& field, int value);
    template <class E>
    void ChangeLayoutEnum(E& field, E value) {
        if (field == value) return;
        field = value;
        LayoutChanged();
    }
    void ChangeRepaint(bool& field, bool value);
    void LeaveHotTracking();
    int LastVisibleTab() const;
    int FirstVisibleTabOfList() const;
    void KeySelect(int target);
    int TabWithAccelerator(WideChar c) const;
    int SearchTab(int start, int step, bool wrap) const;
    TRect DropMarkerFor(int index) const;

    // painting pieces
    void PaintTab(TCanvas& canvas, int index);
    void PaintTabBackground(TCanvas& canvas, int index, const TRect& bounds);
    void PaintTabFace(TCanvas& canvas, int index, const TRect& bounds);
    void PaintCaption(TCanvas& canvas, int index, const TRect& box, TColor color);
    void PaintCard(TCanvas& canvas, int row);
    void PaintBar(TCanvas& canvas, int index, const TRect& bounds, TColor color);
    struct Command {
        int code, x, y;
    };
    void RunCommands(TCanvas& canvas, const std::vector<Command>& commands);

    bool geometryDirty_ = true;
    bool layoutPosted_ = false;
    int tabIndex_ = -1;
    int firstVisibleTab_ = -1;
    bool scrolling_ = false;
    int hotTab_ = -1;
    bool hotOnlyPaint_ = false;
    bool layoutDirty_ = true;
    bool painted_ = false;
    int rowCount_ = 1;
    int fixedDimension_ = 0;
    int buttonSize_ = 0, buttonThickness_ = 0;
    TRect alignedDisplayRect_{-1, -1, -1, -1};
    WideString hintStore_;
    int dragStartTab_ = -1;
    int dropTarget_ = -1;
    bool dropMarkerShown_ = false;
    TRect dropMarkerRect_;
    bool dragging_ = false;
    TPoint dragOrigin_, dragPoint_;
    std::unique_ptr<TTimer> hoverTimer_;
    std::unique_ptr<TTimer> dragTimer_;
    std::unique_ptr<TRzTabTextMeasurer> measurer_;
    TRzTabRegionCache regionCache_{1};
    std::unique_ptr<TBitmap> offscreen_;
    std::unique_ptr<TRzTabColors> tabColors_;
    std::unique_ptr<TRzTextColors> textColors_;
    TRzTabScroller* scroller_ = nullptr;
    TRzTabControlCloseButton* closeButton_ = nullptr;
    TRzActiveTabCloseButton* activeCloseButton_ = nullptr;
    TRzTabMenuButton* menuButton_ = nullptr;

    bool alignTabs_ = false, allowTabDragging_ = false, boldCurrentTab_ = false;
    TColor backgroundColor_ = clBtnFace;
    int cutCornerSize_ = 6;
    TColor flatColor_ = clBtnShadow;
    int flatColorAdjustment_ = 0;
    bool hotTrack_ = true;
    TColor hotTrackColor_ = 0x00149BF0;
    TRzTabHotTrackColorSource hotTrackColorSource_ = htcsTabColor;
    TRzHotTrackColorType hotTrackColorType_ = htctActual;
    TRzTabHotTrackStyle hotTrackStyle_ = htsTab;
    TRzHorizontalAlignment imageAlignment_ = haCenter;
    TRzVerticalAlignment imageAlignmentVertical_ = vaCenter;
    int imageMargin_ = 2;
    TRzImagePosition imagePosition_ = ipLeft;
    TCustomImageList* images_ = nullptr;
    int margin_ = 0;
    bool multiLine_ = false, parentBackgroundColor_ = true;
    int rowIndent_ = 5, rowOverlap_ = 5;
    bool showCardArea_ = true, showCardFrame_ = true, showCloseButton_ = false, showCloseButtonOnActiveTab_ = false;
    bool showMenuButton_ = false, showFocusRect_ = true, showFullFrame_ = true, showShadow_ = true;
    bool softCorners_ = false;
    int tabHeight_ = 0;
    bool tabHints_ = false;
    TRzTabOrientation tabOrientation_ = toTop;
    int tabOverlap_ = -1;
    TRzTabSequence tabSequence_ = tsStandard;
    TRzTabStyle tabStyle_ = tsSingleSlant;
    int tabWidth_ = 0;
    TRzHorizontalAlignment textAlignment_ = haCenter;
    TRzVerticalAlignment textAlignmentVertical_ = vaCenter;
    TOrientation textOrientation_ = orHorizontal;
    bool transparent_ = false, useColoredTabs_ = false, useGradients_ = true;
    int regionCacheSize_ = 1;
};
