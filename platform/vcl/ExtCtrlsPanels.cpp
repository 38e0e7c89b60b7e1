// Panels, bevels, splitters and radio groups.
#include <algorithm>

#include "platform/vcl/ControlFrames.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Gdi.h"

// ---------------------------------------------------------------------------------------------
// TCustomPanel

const TMetaClass& TCustomPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomPanel>("TCustomPanel", &TCustomControl::StaticClass());
    return meta;
}

const TMetaClass& TPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TPanel>("TPanel", &TCustomPanel::StaticClass(), [](TClassBuilder<TPanel>& b) {
        b.Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
        b.Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
        b.Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
        b.Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
        b.Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
        b.Property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
    });
    return meta;
}

const TMessageTable& TCustomPanel::ClassMessages() {
    static const TMessageTable table(&TCustomControl::ClassMessages(), {
        MESSAGE_HANDLER(CM_TEXTCHANGED, TCustomPanel::CMTextChanged),
    });
    return table;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                                  csReplicatable, csParentBackground};
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel v) {
    bevelInner_ = v;
    Changed();
}

void TCustomPanel::SetBevelOuter(TPanelBevel v) {
    bevelOuter_ = v;
    Changed();
}

void TCustomPanel::SetBevelWidth(int v) {
    bevelWidth_ = std::max(v, 1);
    Changed();
}

void TCustomPanel::SetBorderWidth(int v) {
    borderWidth_ = std::max(v, 0);
    Changed();
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle v) {
    borderStyle_ = v == bsNone ? bsNone : bsSingle;
    Changed();
}

void TCustomPanel::SetAlignment(TAlignment v) {
    alignment_ = v;
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
    TCustomControl::AdjustClientRect(rect);
    int inset = borderWidth_ + (borderStyle_ == bsSingle ? 1 : 0);
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    rect.Inflate(-inset, -inset);
}

namespace {
TFrameKind KindOf(TPanelBevel b) { return b == bvLowered ? TFrameKind::Lowered : TFrameKind::Raised; }
}  // namespace

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(r);
    if (borderStyle_ == bsSingle) FramePainter().Bevel(dc, r, TFrameKind::Single, 1);
    if (bevelOuter_ != bvNone && bevelOuter_ != bvSpace) FramePainter().Bevel(dc, r, KindOf(bevelOuter_), bevelWidth_);
    else if (bevelOuter_ == bvSpace) r.Inflate(-bevelWidth_, -bevelWidth_);
    r.Inflate(-borderWidth_, -borderWidth_);
    if (bevelInner_ != bvNone && bevelInner_ != bvSpace) FramePainter().Bevel(dc, r, KindOf(bevelInner_), bevelWidth_);
    const WideString caption = Caption();
    if (caption.empty()) return;
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    const UINT align = alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    DrawTextW(dc, caption.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align);
}

void TCustomPanel::CMTextChanged(TMessage&) { Invalidate(); }

// ---------------------------------------------------------------------------------------------
// TBevel

const TMetaClass& TBevel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TBevel>("TBevel", &TGraphicControl::StaticClass(), [](TClassBuilder<TBevel>& b) {
        b.Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
        b.Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
    });
    return meta;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    controlStyle_ = controlStyle_ + TControlStyle{csReplicatable};
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape v) {
    shape_ = v;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle v) {
    style_ = v;
    Invalidate();
}

void TBevel::Paint() {
    HDC dc = Canvas()->Handle();
    TRect r = ClientRect();
    const bool raised = style_ == bsRaised;
    switch (shape_) {
    case bsBox: FramePainter().Bevel(dc, r, raised ? TFrameKind::Raised : TFrameKind::Lowered, 1); break;
    case bsFrame:
        FramePainter().Line(dc, TPoint(r.left, r.top), TPoint(r.right, r.top), raised);
        FramePainter().Line(dc, TPoint(r.left, r.bottom - 2), TPoint(r.right, r.bottom - 2), raised);
        FramePainter().Line(dc, TPoint(r.left, r.top), TPoint(r.left, r.bottom), raised);
        FramePainter().Line(dc, TPoint(r.right - 2, r.top), TPoint(r.right - 2, r.bottom), raised);
        break;
    case bsTopLine: FramePainter().Line(dc, TPoint(r.left, r.top), TPoint(r.right, r.top), raised); break;
    case bsBottomLine: FramePainter().Line(dc, TPoint(r.left, r.bottom - 2), TPoint(r.right, r.bottom - 2), raised); break;
    case bsLeftLine: FramePainter().Line(dc, TPoint(r.left, r.top), TPoint(r.left, r.bottom), raised); break;
    case bsRightLine: FramePainter().Line(dc, TPoint(r.right - 2, r.top), TPoint(r.right - 2, r.bottom), raised); break;
    case bsSpacer: break;
    }
}

// ---------------------------------------------------------------------------------------------
// TSplitter

const TMetaClass& TSplitter::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TSplitter>("TSplitter", &TGraphicControl::StaticClass(), [](TClassBuilder<TSplitter>& b) {
        b.Property("AutoSnap", &TSplitter::AutoSnap, &TSplitter::SetAutoSnap).Default(false);
        b.Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
        b.Property("ResizeStyle", &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle).Default(rsPattern);
        b.Event("OnCanResize", static_cast<decltype(TSplitter::OnCanResize) TSplitter::*>(&TSplitter::OnCanResize));
        b.Event("OnMoved", static_cast<decltype(TSplitter::OnMoved) TSplitter::*>(&TSplitter::OnMoved));
    });
    return meta;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

void TSplitter::BoundsChanged() {
    const TCursor wanted = Horizontal() ? crHSplit : crVSplit;
    if (Cursor() != wanted && (Cursor() == crHSplit || Cursor() == crVSplit)) SetCursor(wanted);
}

void TSplitter::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
}

// The visible sibling next to the splitter on its aligned side.
TControl* TSplitter::FindSizedControl() const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    TPoint p(Left(), Top());
    switch (Align()) {
    case alLeft: --p.x; break;
    case alRight: p.x += Width(); break;
    case alTop: --p.y; break;
    case alBottom: p.y += Height(); break;
    default: return nullptr;
    }
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        TRect r = c->BoundsRect();
        if (r.Width() == 0) (Align() == alTop || Align() == alLeft) ? --r.left : ++r.right;
        if (r.Height() == 0) (Align() == alTop || Align() == alLeft) ? --r.top : ++r.bottom;
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return c;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    sized_ = FindSizedControl();
    if (!sized_) return;
    // The most the sized control may take: the parent's client less the other controls aligned
    // on the same axis and MinSize for what fills the rest.
    TWinControl* parent = Parent();
    int others = 0;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        const TControl* c = parent->Controls(i);
        if (c == sized_ || !c->Visible()) continue;
        if (Horizontal() && (c->Align() == alLeft || c->Align() == alRight)) others += c->Width();
        if (!Horizontal() && (c->Align() == alTop || c->Align() == alBottom)) others += c->Height();
    }
    const int client = Horizontal() ? parent->ClientWidth() : parent->ClientHeight();
    maxSize_ = std::max(client - others - minSize_, minSize_);
    startSize_ = Horizontal() ? sized_->Width() : sized_->Height();
    down_ = TPoint(Left() + x, Top() + y);
    dragging_ = true;
}

// The sized control follows the mouse; the parent's alignment moves the splitter and the rest.
void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_ || !sized_) return;
    const TPoint p(Left() + x, Top() + y);
    int delta = Horizontal() ? p.x - down_.x : p.y - down_.y;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    int size = std::clamp(startSize_ + delta, minSize_, maxSize_);
    bool accept = true;
    if (OnCanResize) OnCanResize(this, size, accept);
    if (!accept) return;
    if (autoSnap_ && startSize_ + delta < minSize_) size = 0;
    const int current = Horizontal() ? sized_->Width() : sized_->Height();
    if (size == current) return;
    if (Horizontal()) {
        const int left = Align() == alRight ? sized_->Left() + sized_->Width() - size : sized_->Left();
        sized_->SetBounds(left, sized_->Top(), size, sized_->Height());
    } else {
        const int top = Align() == alBottom ? sized_->Top() + sized_->Height() - size : sized_->Top();
        sized_->SetBounds(sized_->Left(), top, sized_->Width(), size);
    }
    if (TWinControl* parent = Parent()) parent->Update();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!dragging_) return;
    dragging_ = false;
    const bool moved = sized_ && (Horizontal() ? sized_->Width() : sized_->Height()) != startSize_;
    sized_ = nullptr;
    if (moved && OnMoved) OnMoved(this);
}

// ---------------------------------------------------------------------------------------------
// TCustomRadioGroup

const TMetaClass& TCustomRadioGroup::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomRadioGroup>("TCustomRadioGroup", &TCustomGroupBox::StaticClass());
    return meta;
}

const TMetaClass& TRadioGroup::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRadioGroup>("TRadioGroup", &TCustomRadioGroup::StaticClass(), [](TClassBuilder<TRadioGroup>& b) {
        b.Property("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns).Default(1);
        b.Property("Items", &TRadioGroup::Items, &TRadioGroup::SetItems);
        b.Property("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex).Default(-1);
    });
    return meta;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
    items_->OnChange = [this](TObject*) { UpdateButtons(); };
}

TCustomRadioGroup::~TCustomRadioGroup() { items_->OnChange = nullptr; }

void TCustomRadioGroup::SetItems(TStrings* items) {
    if (items) items_->Assign(items);
    else items_->Clear();
}

TRadioButton* TCustomRadioGroup::Buttons(int index) const {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) RaiseRangeError();
    return buttons_[static_cast<std::size_t>(index)];
}

void TCustomRadioGroup::SetItemIndex(int index) {
    if (ComponentState().Contains(csLoading)) {
        itemIndex_ = index;
        return;
    }
    if (index < -1 || index >= static_cast<int>(buttons_.size())) index = -1;
    itemIndex_ = index;
    updating_ = true;
    if (index >= 0) buttons_[static_cast<std::size_t>(index)]->SetChecked(true);
    else
        for (TRadioButton* b : buttons_) b->SetChecked(false);
    updating_ = false;
}

void TCustomRadioGroup::SetColumns(int v) {
    columns_ = std::clamp(v, 1, 16);
    ArrangeButtons();
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    UpdateButtons();
}

void TCustomRadioGroup::BoundsChanged() {
    TCustomGroupBox::BoundsChanged();
    ArrangeButtons();
}

// One radio button an item: the group's OnClick follows a user's click on one.
void TCustomRadioGroup::UpdateButtons() {
    if (ComponentState().Contains(csLoading)) return;
    while (static_cast<int>(buttons_.size()) > items_->Count()) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    while (static_cast<int>(buttons_.size()) < items_->Count()) {
        auto* b = new TRadioButton(nullptr);  // its parent, the group, frees it
        const int index = static_cast<int>(buttons_.size());
        b->OnClick = [this, index](TObject*) {
            if (updating_) return;
            itemIndex_ = index;
            Click();
        };
        b->SetParent(this);
        buttons_.push_back(b);
    }
    for (int i = 0; i < items_->Count(); ++i) buttons_[static_cast<std::size_t>(i)]->SetCaption(Utf8ToUtf16(items_->Get(i)));
    SetItemIndex(itemIndex_);
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (buttons_.empty()) return;
    TRect r = ClientRect();
    AdjustClientRect(r);
    const int count = static_cast<int>(buttons_.size());
    const int perColumn = (count + columns_ - 1) / columns_;
    const int columnWidth = std::max((r.Width() - 8) / columns_, 1);
    const int rowHeight = std::max(r.Height() / std::max(perColumn, 1), 1);
    const int buttonHeight = std::min(rowHeight, 22);
    for (int i = 0; i < count; ++i) {
        const int column = i / perColumn, row = i % perColumn;
        buttons_[static_cast<std::size_t>(i)]->SetBounds(r.left + 6 + column * columnWidth, r.top + row * rowHeight + (rowHeight - buttonHeight) / 2,
                                                         columnWidth - 4, buttonHeight);
    }
}
