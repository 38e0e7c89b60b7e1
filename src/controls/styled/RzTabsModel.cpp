// The tab control's model: tab records, colour sets, properties, the selection and its change
// query, the deferred layout pass, colours and fonts from the parent.
#include "controls/styled/RzTabButtons.h"
#include "controls/styled/RzTabs.h"
#include "platform/vcl/Filer.h"

namespace {

// Measures in the control's font through a memory canvas.
class TFontMeasurer : public TRzTabTextMeasurer {
public:
    explicit TFontMeasurer(const TControl* control) : control_(control) {}
    TSize Extent(const WideString& text, bool bold) override {
        try {
            return Canvas(bold).TextExtent(text);
        } catch (const EInvalidGraphicOperation&) {
            // No drawing device (the headless widget set): estimate from the font height.
            const int h = FontHeight();
            return {static_cast<int>(text.size()) * (h + 1) / 2, h + 3};
        }
    }
    int FontHeight() override {
        const int h = control_->Font()->Height();
        return h < 0 ? -h : h;
    }

private:
    TCanvas& Canvas(bool bold) {
        if (!bitmap_) {
            bitmap_ = std::make_unique<TBitmap>();
            bitmap_->SetSize(1, 1);
        }
        TCanvas& c = *bitmap_->Canvas();
        c.Font()->Assign(control_->Font());
        TFontStyles style = control_->Font()->Style();
        if (bold) style << fsBold;
        c.Font()->SetStyle(style);
        return c;
    }
    const TControl* control_;
    std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace

// ---- tab records

void TRzTabData::Assign(const TPersistent* source) {
    if (const auto* t = dynamic_cast<const TRzTabData*>(source)) {
        Caption = t->Caption;
        DisabledIndex = t->DisabledIndex;
        ImageIndex = t->ImageIndex;
        Color = t->Color;
        Enabled = t->Enabled;
        Visible = t->Visible;
        Hint = t->Hint;
        return;
    }
    TPersistent::Assign(source);
}

TRzTabData* TRzTabDataList::Add() {
    items_.push_back(std::make_unique<TRzTabData>());
    return items_.back().get();
}

void TRzTabDataList::Assign(const TRzTabDataList& source) {
    if (&source == this) return;
    Clear();
    for (const auto& item : source.items_) Add()->Assign(item.get());
}

void TRzTabColors::Assign(const TPersistent* source) {
    if (const auto* c = dynamic_cast<const TRzTabColors*>(source)) {
        highlightBar_ = c->highlightBar_;
        shadow_ = c->shadow_;
        unselected_ = c->unselected_;
        if (owner_) owner_->InvalidateTabs();
        return;
    }
    TPersistent::Assign(source);
}

void TRzTabColors::Set(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    if (owner_) owner_->InvalidateTabs();
}

void TRzTextColors::Assign(const TPersistent* source) {
    if (const auto* c = dynamic_cast<const TRzTextColors*>(source)) {
        disabled_ = c->disabled_;
        selected_ = c->selected_;
        unselected_ = c->unselected_;
        if (owner_) owner_->InvalidateTabs();
        return;
    }
    TPersistent::Assign(source);
}

void TRzTextColors::Set(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    if (owner_) owner_->InvalidateTabs();
}

// ---- the control

const TMetaClass& TRzCustomTabControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomTabControl>(
        "TRzCustomTabControl", &TCustomControl::StaticClass(), [](TClassBuilder<TRzCustomTabControl>& b) {
            using C = TRzCustomTabControl;
            b.Property("AlignTabs", &C::AlignTabs, &C::SetAlignTabs).Default(false);
            b.Property("AllowTabDragging", &C::AllowTabDragging, &C::SetAllowTabDragging).Default(false);
            b.Property("BackgroundColor", &C::BackgroundColor, &C::SetBackgroundColor)
                .Type(ColorTypeInfo())
                .Stored([](const TObject& o) { return !static_cast<const C&>(o).ParentBackgroundColor(); });
            b.Property("BoldCurrentTab", &C::BoldCurrentTab, &C::SetBoldCurrentTab).Default(false);
            b.Property("CutCornerSize", &C::CutCornerSize, &C::SetCutCornerSize).Default(6);
            b.Property("FlatColor", &C::FlatColor, &C::SetFlatColor).Type(ColorTypeInfo()).Default(clBtnShadow);
            b.Property("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment).Default(0);
            b.Property("HotTrack", &C::HotTrack, &C::SetHotTrack).Default(true);
            b.Property("HotTrackColor", &C::HotTrackColor, &C::SetHotTrackColor).Type(ColorTypeInfo()).Default(0x00149BF0);
            b.Property("HotTrackStyle", &C::HotTrackStyle, &C::SetHotTrackStyle).Default(htsTab);
            b.Property("ImageMargin", &C::ImageMargin, &C::SetImageMargin).Default(2);
            b.Property("ImagePosition", &C::ImagePosition, &C::SetImagePosition).Default(ipLeft);
            b.Property("Margin", &C::Margin, &C::SetMargin).Default(0);
            b.Property("MultiLine", &C::MultiLine, &C::SetMultiLine).Default(false);
            b.Property("ParentBackgroundColor", &C::ParentBackgroundColor, &C::SetParentBackgroundColor).Default(true);
            b.Property("RowIndent", &C::RowIndent, &C::SetRowIndent).Default(5);
            b.Property("RowOverlap", &C::RowOverlap, &C::SetRowOverlap).Default(5);
            b.Property("ShowCardFrame", &C::ShowCardFrame, &C::SetShowCardFrame).Default(true);
            b.Property("ShowCloseButton", &C::ShowCloseButton, &C::SetShowCloseButton).Default(false);
            b.Property("ShowCloseButtonOnActiveTab", &C::ShowCloseButtonOnActiveTab, &C::SetShowCloseButtonOnActiveTab)
                .Default(false);
            b.Property("ShowMenuButton", &C::ShowMenuButton, &C::SetShowMenuButton).Default(false);
            b.Property("ShowFocusRect", &C::ShowFocusRect, &C::SetShowFocusRect).Default(true);
            b.Property("ShowFullFrame", &C::ShowFullFrame, &C::SetShowFullFrame).Default(true);
            b.Property("ShowShadow", &C::ShowShadow, &C::SetShowShadow).Default(true);
            b.Property("SoftCorners", &C::SoftCorners, &C::SetSoftCorners).Default(false);
            b.Property("TabHeight", &C::TabHeight, &C::SetTabHeight).Default(0);
            b.Property("TabHints", &C::TabHints, &C::SetTabHints).Default(false);
            b.Property("TabIndex", &C::TabIndex, &C::SetTabIndex).Default(-1);
            b.Property("TabOrientation", &C::TabOrientation, &C::SetTabOrientation).Default(toTop);
            b.Property("TabOverlap", &C::TabOverlap, &C::SetTabOverlap).Default(-1);
            b.Property("TabSequence", &C::TabSequence, &C::SetTabSequence).Default(tsStandard);
            b.Property("TabStyle", &C::TabStyle, &C::SetTabStyle).Default(tsSingleSlant);
            b.Property("TabWidth", &C::TabWidth, &C::SetTabWidth).Default(0);
            b.Property("TextAlignment", &C::TextAlignment, &C::SetTextAlignment).Default(haCenter);
            b.Property("TextOrientation", &C::TextOrientation, &C::SetTextOrientation).Default(orHorizontal);
            b.Property("Transparent", &C::Transparent, &C::SetTransparent).Default(false);
            b.Property("UseColoredTabs", &C::UseColoredTabs, &C::SetUseColoredTabs).Default(false);
            b.Property("UseGradients", &C::UseGradients, &C::SetUseGradients).Default(true);
            b.Event("OnChanging", &C::OnChanging);
            b.Event("OnChange", &C::OnChange);
            b.Event("OnPageChange", &C::OnPageChange);
            b.Event("OnTabClick", &C::OnTabClick);
            b.Event("OnClose", &C::OnClose);
            b.Event("OnTabOrderChange", &C::OnTabOrderChange);
            b.Event("OnScrolledTabs", &C::OnScrolledTabs);
        });
    return meta;
}

const TMessageTable& TRzCustomTabControl::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGCHAR, TRzCustomTabControl::CMDialogChar),
        MESSAGE_HANDLER(WM_GETDLGCODE, TRzCustomTabControl::WMGetDlgCode),
        MESSAGE_HANDLER(WM_ERASEBKGND, TRzCustomTabControl::WMEraseBkgnd),
        MESSAGE_HANDLER(WM_SIZE, TRzCustomTabControl::WMSize),
        MESSAGE_HANDLER(CM_FONTCHANGED, TRzCustomTabControl::CMFontChanged),
        MESSAGE_HANDLER(CM_COLORCHANGED, TRzCustomTabControl::CMColorChanged),
        MESSAGE_HANDLER(CM_PARENTCOLORCHANGED, TRzCustomTabControl::CMParentColorChanged),
        MESSAGE_HANDLER(CM_MOUSELEAVE, TRzCustomTabControl::CMMouseLeave),
        MESSAGE_HANDLER(CM_TABLAYOUT, TRzCustomTabControl::CMTabLayout),
    });
    return table;
}

TRzCustomTabControl::TRzCustomTabControl(TComponent* owner)
    : TCustomControl(owner),
      tabColors_(std::make_unique<TRzTabColors>(this)),
      textColors_(std::make_unique<TRzTextColors>(this)) {
    controlStyle_ << csAcceptsControls << csCaptureMouse << csClickEvents << csDoubleClicks;
    SetTabStop(true);
    SetBounds(0, 0, 300, 100);
    measurer_ = std::make_unique<TFontMeasurer>(this);
}

TRzCustomTabControl::~TRzCustomTabControl() {
    // The child buttons go after the members: nothing may lay out meanwhile.
    Destroying();
    if (hoverTimer_) hoverTimer_->SetEnabled(false);
    if (dragTimer_) dragTimer_->SetEnabled(false);
}

void TRzCustomTabControl::SetTextMeasurer(std::unique_ptr<TRzTabTextMeasurer> measurer) {
    measurer_ = measurer ? std::move(measurer) : std::make_unique<TFontMeasurer>(this);
    LayoutChanged();
}

void TRzCustomTabControl::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    // No CS_HREDRAW / CS_VREDRAW: the whole control is drawn off screen in one copy.
}

void TRzCustomTabControl::DefineProperties(TFiler* filer) {
    TCustomControl::DefineProperties(filer);
    filer->DefineProperty(
        "FixedDimension", [this](TReader& r) { fixedDimension_ = static_cast<int>(r.ReadInteger()); },
        [this](TWriter& w) { w.WriteInteger(fixedDimension_); }, true);
}

// ---- selection

bool TRzCustomTabControl::CanChange(int index) {
    if (tabs_.Count() == 0 || index < 0 || index >= tabs_.Count()) return false;
    const TRzTabData* tab = tabs_.Items(index);
    if (!tab->Visible || !(tab->Enabled || Designing())) return false;
    if (index == tabIndex_) return true;
    return DoChanging(index);
}

bool TRzCustomTabControl::DoChanging(int newIndex) {
    bool allow = true;
    if (OnChanging) OnChanging(this, newIndex, allow);
    return allow;
}

void TRzCustomTabControl::SetTabIndex(int value) {
    if (Loading()) {
        tabIndex_ = value;
        return;
    }
    if (value < 0 || value >= tabs_.Count()) {
        tabIndex_ = -1;
        InvalidateTabs();
    } else {
        const int old = tabIndex_;
        const bool allowed = value == tabIndex_ || forcedChange_ || CanChange(value);
        if (allowed) {
            tabIndex_ = value;
            bool scrolled = false;
            UpdateGeometry();
            if (!scrolling_) {
                if (multiLine_) MoveRowForward(value);
            } else if (value < firstVisibleTab_) {
                firstVisibleTab_ = value;
                scrolled = true;
            } else {
                while (!TabIsShown(value) && firstVisibleTab_ < value) {
                    ++firstVisibleTab_;
                    scrolled = true;
                }
            }
            if (scrolled || old != tabIndex_) {
                InvalidateTabs();
                if (scroller_) scroller_->Invalidate();
            }
            if (old != tabIndex_) {
                Change();
                PageChange();
                if (Designing() && painted_) NotifyDesignerModified(this);
            }
        }
    }
    if (showCloseButton_ && closeButton_) closeButton_->Invalidate();
    if (showCloseButtonOnActiveTab_) UpdateActiveCloseButton();
    if (showMenuButton_ && menuButton_) menuButton_->Invalidate();
}

void TRzCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TRzCustomTabControl::PageChange() {
    if (OnPageChange) OnPageChange(this);
}

void TRzCustomTabControl::TabClick() {
    if (OnTabClick) OnTabClick(this);
}

void TRzCustomTabControl::TabOrderChange(int oldIndex, int newIndex) {
    if (OnTabOrderChange) OnTabOrderChange(this, oldIndex, newIndex);
}

bool TRzCustomTabControl::DoClose() {
    bool allow = false;
    if (OnClose) OnClose(this, allow);
    return allow;
}

void TRzCustomTabControl::CloseActiveTab() {
    if (tabIndex_ == -1) return;
    if (DoClose()) CloseTab();
}

// ---- layout state

void TRzCustomTabControl::LayoutChanged() {
    geometryDirty_ = true;
    SetLayoutDirty(true);
    InvalidateTabs();
}

void TRzCustomTabControl::InvalidateTabs() {
    hotOnlyPaint_ = false;
    Invalidate();
}

void TRzCustomTabControl::SetLayoutDirty(bool dirty) {
    if (dirty) geometryDirty_ = true;
    if (layoutDirty_ == dirty) return;
    layoutDirty_ = dirty;
    if (!dirty) return;
    if (HandleAllocated() && !layoutPosted_ && !ComponentState().Contains(csDestroying)) {
        layoutPosted_ = true;
        PostMessageW(WindowHandle(), CM_TABLAYOUT, 0, 0);
    }
    InvalidateTabs();
}

void TRzCustomTabControl::CMTabLayout(TMessage&) {
    layoutPosted_ = false;
    if (layoutDirty_) UpdateLayout();
}

void TRzCustomTabControl::UpdateGeometry() {
    if (!geometryDirty_ || !measurer_ || ComponentState().Contains(csDestroying)) return;
    geometryDirty_ = false;
    CalcTabRects();
    regionCache_.Clear();
    UpdateScrollState();
}

void TRzCustomTabControl::UpdateLayout() {
    layoutDirty_ = false;
    geometryDirty_ = true;
    UpdateGeometry();
    const int count = tabs_.Count();
    bool anyVisible = false;
    for (int i = 0; i < count; ++i) anyVisible = anyVisible || tabs_.Items(i)->Visible;
    int index = anyVisible ? tabIndex_ : -1;
    int found = -1;
    if (index >= 0) {
        for (int i = index; i < count; ++i)
            if (CanChange(i)) {
                found = i;
                break;
            }
        if (found < 0) {
            int start = index == count ? index - 1 : index;
            for (int i = start; i >= 0; --i)
                if (CanChange(i)) {
                    found = i;
                    break;
                }
        }
    } else if (anyVisible) {
        for (int i = 0; i < count && found < 0; ++i)
            if (CanChange(i)) found = i;
    }
    if (found != tabIndex_) forcedChange_ = true;
    if (found != -1) SetTabIndex(found);
    forcedChange_ = false;
    if (DisplayRect() != alignedDisplayRect_) Realign();
}

void TRzCustomTabControl::Loaded() {
    TCustomControl::Loaded();
    hintStore_ = Hint();
    SetLayoutDirty(true);
    const int index = tabIndex_;
    tabIndex_ = 0;
    if (textOrientation_ == orVertical && !FontIsTrueType(*Font())) Font()->SetName(u"Verdana");
    SetTabIndex(index);
}

void TRzCustomTabControl::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        LayoutChanged();
    }
}

// ---- messages

void TRzCustomTabControl::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TRzCustomTabControl::WMSize(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    LayoutChanged();
}

void TRzCustomTabControl::CMFontChanged(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    LayoutChanged();
}

void TRzCustomTabControl::CMColorChanged(TMessage& m) {
    if (useColoredTabs_) {
        TMessage parent{CM_PARENTCOLORCHANGED, 0, 0, 0};
        Broadcast(parent);
        return;
    }
    InheritedMessage(TCustomControl::ClassMessages(), m);
    InvalidateTabs();
}

void TRzCustomTabControl::CMParentColorChanged(TMessage& m) {
    InheritedMessage(TCustomControl::ClassMessages(), m);
    if (parentBackgroundColor_ && Parent()) {
        backgroundColor_ = Parent()->Color();
        InvalidateTabs();
    }
}

// ---- property setters

void TRzCustomTabControl::ChangeLayout(bool& field, bool value) {
    if (field == value) return;
    field = value;
    LayoutChanged();
}

void TRzCustomTabControl::ChangeLayout(int& field, int value) {
    if (value < 0 || field == value) return;
    field = value;
    LayoutChanged();
}

void TRzCustomTabControl::ChangeRepaint(bool& field, bool value) {
    if (field == value) return;
    field = value;
    InvalidateTabs();
}

void TRzCustomTabControl::SetAlignTabs(bool v) {
    if (alignTabs_ == v) return;
    alignTabs_ = v;
    if (multiLine_) LayoutChanged();
}
void TRzCustomTabControl::SetBackgroundColor(TColor v) {
    parentBackgroundColor_ = false;
    if (backgroundColor_ == v) return;
    backgroundColor_ = v;
    InvalidateTabs();
}
void TRzCustomTabControl::SetBoldCurrentTab(bool v) { ChangeLayout(boldCurrentTab_, v); }
void TRzCustomTabControl::SetCutCornerSize(int v) {
    if (v < 0 || v == cutCornerSize_) return;
    cutCornerSize_ = v;
    if (tabStyle_ == tsCutCorner) LayoutChanged();
}
void TRzCustomTabControl::SetFlatColor(TColor v) {
    if (flatColor_ == v) return;
    flatColor_ = v;
    PushFrameColor();
    InvalidateTabs();
}
void TRzCustomTabControl::SetFlatColorAdjustment(int v) {
    if (flatColorAdjustment_ == v) return;
    flatColorAdjustment_ = v;
    PushFrameColor();
    InvalidateTabs();
}
void TRzCustomTabControl::SetHotTrack(bool v) {
    hotTrack_ = v;
    if (!hotTrack_ && !tabHints_ && hoverTimer_) hoverTimer_->SetEnabled(false);
}
void TRzCustomTabControl::SetTabHints(bool v) {
    tabHints_ = v;
    if (!hotTrack_ && !tabHints_ && hoverTimer_) hoverTimer_->SetEnabled(false);
}
void TRzCustomTabControl::SetHotTrackColor(TColor v) {
    hotTrackColor_ = v;
    InvalidateTabs();
}
void TRzCustomTabControl::SetHotTrackColorSource(TRzTabHotTrackColorSource v) {
    hotTrackColorSource_ = v;
    InvalidateTabs();
}
void TRzCustomTabControl::SetHotTrackColorType(TRzHotTrackColorType v) {
    hotTrackColorType_ = v;
    InvalidateTabs();
}
void TRzCustomTabControl::SetHotTrackStyle(TRzTabHotTrackStyle v) {
    hotTrackStyle_ = v;
    InvalidateTabs();
}
void TRzCustomTabControl::SetImageAlignment(TRzHorizontalAlignment v) { ChangeLayoutEnum(imageAlignment_, v); }
void TRzCustomTabControl::SetImageAlignmentVertical(TRzVerticalAlignment v) { ChangeLayoutEnum(imageAlignmentVertical_, v); }
void TRzCustomTabControl::SetImageMargin(int v) { ChangeLayout(imageMargin_, v); }
void TRzCustomTabControl::SetImagePosition(TRzImagePosition v) { ChangeLayoutEnum(imagePosition_, v); }
void TRzCustomTabControl::SetImages(TCustomImageList* v) {
    if (ChangeImageList(*this, images_, v, [this](TObject*) { LayoutChanged(); })) LayoutChanged();
}
void TRzCustomTabControl::SetMargin(int v) { ChangeLayout(margin_, v); }
void TRzCustomTabControl::SetMultiLine(bool v) { ChangeLayout(multiLine_, v); }
void TRzCustomTabControl::SetParentBackgroundColor(bool v) {
    parentBackgroundColor_ = v;
    if (v && Parent()) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}
void TRzCustomTabControl::SetRowIndent(int v) { ChangeLayout(rowIndent_, v); }
void TRzCustomTabControl::SetRowOverlap(int v) { ChangeLayout(rowOverlap_, v); }
void TRzCustomTabControl::SetShowCardArea(bool v) { ChangeLayout(showCardArea_, v); }
void TRzCustomTabControl::SetShowCardFrame(bool v) { ChangeLayout(showCardFrame_, v); }
void TRzCustomTabControl::SetShowCloseButton(bool v) {
    if (showCloseButton_ == v) return;
    showCloseButton_ = v;
    if (v) EnsureCloseButton();
    if (closeButton_) closeButton_->SetVisible(v);
    LayoutChanged();
}
void TRzCustomTabControl::SetShowCloseButtonOnActiveTab(bool v) {
    if (showCloseButtonOnActiveTab_ == v) return;
    showCloseButtonOnActiveTab_ = v;
    if (v) EnsureActiveCloseButton();
    if (activeCloseButton_) activeCloseButton_->SetVisible(v && tabIndex_ >= 0);
    LayoutChanged();
}
void TRzCustomTabControl::SetShowMenuButton(bool v) {
    if (showMenuButton_ == v) return;
    showMenuButton_ = v;
    if (v) EnsureMenuButton();
    if (menuButton_) menuButton_->SetVisible(v);
    LayoutChanged();
}
void TRzCustomTabControl::SetShowFocusRect(bool v) { ChangeRepaint(showFocusRect_, v); }
void TRzCustomTabControl::SetShowFullFrame(bool v) {
    if (!v) showShadow_ = false;
    ChangeLayout(showFullFrame_, v);
}
void TRzCustomTabControl::SetShowShadow(bool v) {
    if (v) showFullFrame_ = true;
    if (showShadow_ == v) return;
    showShadow_ = v;
    LayoutChanged();
}
void TRzCustomTabControl::SetSoftCorners(bool v) { ChangeLayout(softCorners_, v); }
void TRzCustomTabControl::SetTabHeight(int v) { ChangeLayout(tabHeight_, v); }
void TRzCustomTabControl::SetTabOrientation(TRzTabOrientation v) {
    if (tabOrientation_ == v) return;
    tabOrientation_ = v;
    if (!Loading()) LayoutChanged();
}
void TRzCustomTabControl::SetTabOverlap(int v) {
    if (tabOverlap_ == v) return;
    tabOverlap_ = v;
    LayoutChanged();
}
void TRzCustomTabControl::SetTabSequence(TRzTabSequence v) { ChangeLayoutEnum(tabSequence_, v); }
void TRzCustomTabControl::SetTabStyle(TRzTabStyle v) { ChangeLayoutEnum(tabStyle_, v); }
void TRzCustomTabControl::SetTabWidth(int v) { ChangeLayout(tabWidth_, v); }
void TRzCustomTabControl::SetTextAlignment(TRzHorizontalAlignment v) { ChangeLayoutEnum(textAlignment_, v); }
void TRzCustomTabControl::SetTextAlignmentVertical(TRzVerticalAlignment v) { ChangeLayoutEnum(textAlignmentVertical_, v); }
void TRzCustomTabControl::SetTextOrientation(TOrientation v) {
    if (textOrientation_ == v) return;
    textOrientation_ = v;
    if (v == orVertical && !Loading() && !FontIsTrueType(*Font())) Font()->SetName(u"Verdana");
    LayoutChanged();
}
void TRzCustomTabControl::SetTransparent(bool v) { ChangeRepaint(transparent_, v); }
void TRzCustomTabControl::SetUseColoredTabs(bool v) {
    const bool turnedOff = useColoredTabs_ && !v;
    ChangeRepaint(useColoredTabs_, v);
    // The pages take the control's colour again.
    if (turnedOff) Perform(CM_COLORCHANGED, 0, 0);
}
void TRzCustomTabControl::SetUseGradients(bool v) { ChangeRepaint(useGradients_, v); }
void TRzCustomTabControl::SetRegionCacheSize(int v) {
    regionCache_.SetCapacity(v);
    regionCacheSize_ = v;
}
