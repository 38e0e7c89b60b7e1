// The toolbar: its settings, the order of its controls, their layout and the automatic style.
// The overflow button and its popup are in RzToolbarPopup.cpp.
#include "controls/styled/RzToolbar.h"

#include <algorithm>

#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/TypInfo.h"

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

const char16_t* const kCustomizeDefaults[TRzCustomizeCaptions::kCount] = {
    u"Customize Toolbar", u"Uncheck to hide control", u"Close",
    u"Move Up",           u"Move Down",               u"Text Options",
    u"No text labels",    u"Show text labels",        u"Selective text on right"};

}  // namespace

// ---- the control order

int TRzToolbarControlList::PositionOfControl(const TControl* control) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<std::size_t>(i)]->Control == control) return i;
    return -1;
}

int TRzToolbarControlList::PositionOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameName(items_[static_cast<std::size_t>(i)]->Name, name)) return i;
    return -1;
}

std::unique_ptr<TRzToolbarControl> TRzToolbarControlList::NewItem(TControl* control, std::string name) {
    return std::make_unique<TRzToolbarControl>(control, std::move(name));
}

int TRzToolbarControlList::Include(TControl* control) {
    const int at = PositionOfControl(control);
    if (at >= 0) return at;
    items_.push_back(NewItem(control, control->Name()));
    return Count() - 1;
}

int TRzToolbarControlList::IncludeName(const std::string& name) {
    const int at = PositionOfName(name);
    if (at >= 0) return at;
    items_.push_back(NewItem(nullptr, name));
    return Count() - 1;
}

int TRzToolbarControlList::Exclude(const TControl* control) {
    const int at = PositionOfControl(control);
    if (at >= 0) items_.erase(items_.begin() + at);
    return at;
}

int TRzToolbarControlList::ExcludeName(std::string_view name) {
    const int at = PositionOfName(name);
    if (at >= 0) items_.erase(items_.begin() + at);
    return at;
}

void TRzToolbarControlList::ReadOrder(TReader& reader) {
    readNames_.clear();
    reader.ReadListBegin();
    while (!reader.EndOfList()) readNames_.push_back(reader.ReadIdent());
    reader.ReadListEnd();
}

void TRzToolbarControlList::WriteOrder(TWriter& writer) const {
    writer.WriteListBegin();
    for (const auto& item : items_) writer.WriteIdent(item->Control ? item->Control->Name() : item->Name);
    writer.WriteListEnd();
}

void TRzToolbarControlList::ResolveOrder(const TComponent* owner) {
    items_.clear();
    for (const std::string& name : readNames_) {
        auto* control = owner ? dynamic_cast<TControl*>(owner->FindComponent(name)) : nullptr;
        // A name whose control now lives elsewhere is dropped.
        if (control && control->Parent() == &toolbar_ && PositionOfControl(control) < 0)
            items_.push_back(NewItem(control, name));
    }
    readNames_.clear();
    for (int i = 0; i < toolbar_.ControlCount(); ++i) {
        TControl* child = toolbar_.Controls(i);
        if (child != toolbar_.OverflowButton()) Include(child);
    }
}

// ---- customisation captions

const TMetaClass& TRzCustomizeCaptions::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomizeCaptions>("TRzCustomizeCaptions", nullptr, [](TClassBuilder<TRzCustomizeCaptions>& b) {
        static const char* const names[kCount] = {"Title",         "Hint",          "Close",
                                                  "MoveUp",        "MoveDown",      "TextOptions",
                                                  "NoTextLabels",  "ShowTextLabels", "SelectiveTextOnRight"};
        for (int i = 1; i <= kCount; ++i)
            b.Property(names[i - 1], [i](const TRzCustomizeCaptions& c) { return c.Caption(i); },
                       [i](TRzCustomizeCaptions& c, const WideString& v) { c.SetCaption(i, v); })
                .Stored([](const TObject& o) { return static_cast<const TRzCustomizeCaptions&>(o).Stored(); });
    });
    return meta;
}

TRzCustomizeCaptions::TRzCustomizeCaptions() {
    for (int i = 0; i < kCount; ++i) captions_[static_cast<std::size_t>(i)] = kCustomizeDefaults[i];
}

void TRzCustomizeCaptions::SetCaption(int index, const WideString& text) {
    captions_.at(static_cast<std::size_t>(index - 1)) = text;
    stored_ = true;
}

void TRzCustomizeCaptions::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TRzCustomizeCaptions*>(source)) {
        captions_ = other->captions_;
        stored_ = other->stored_;
        return;
    }
    TPersistent::Assign(source);
}

// ---- the toolbar

const TMetaClass& TRzToolbar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzToolbar>("TRzToolbar", &TRzCustomPanel::StaticClass(), [](TClassBuilder<TRzToolbar>& b) {
        using T = TRzToolbar;
        b.Property("Align", &T::Align, &T::SetAlign).Default(alTop);
        b.Property("AutoResize", &T::AutoResize, &T::SetAutoResize).Default(true);
        b.Property("AutoStyle", &T::AutoStyle, &T::SetAutoStyle).Default(true);
        b.Property("Background", &T::Background, &T::SetBackground).Stored([](const TObject& o) {
            return !static_cast<const T&>(o).Background()->Empty();
        });
        b.ReadOnly("CustomizeCaptions", &T::CustomizeCaptions);
        b.Property("Images", &T::Images, &T::SetImages);
        b.Property("Margin", &T::Margin, &T::SetMargin).Default(4);
        b.Property("TopMargin", &T::TopMargin, &T::SetTopMargin).Default(2);
        b.Property("Orientation", &T::Orientation, &T::SetOrientation).Default(orHorizontal);
        b.Property("RowHeight", &T::RowHeight, &T::SetRowHeight).Default(25);
        b.Property("ButtonLayout", &T::ButtonLayout, &T::SetButtonLayout).Default(blGlyphLeft);
        b.Property("ButtonWidth", &T::ButtonWidth, &T::SetButtonWidth).Default(25);
        b.Property("ButtonHeight", &T::ButtonHeight, &T::SetButtonHeight).Default(25);
        b.Property("RegIniFile", &T::RegIniFile, &T::SetRegIniFile);
        b.Property("ShowButtonCaptions", &T::ShowButtonCaptions, &T::SetShowButtonCaptions).Default(false);
        b.Property("ShowDivider", &T::ShowDivider, &T::SetShowDivider).Default(true);
        b.Property("TextOptions", &T::TextOptions, &T::SetTextOptions).Default(ttoNoTextLabels);
        b.Property("WrapControls", &T::WrapControls, &T::SetWrapControls).Default(true);
        PublishPanelFrame(b);
        b.Property("FullRepaint", &T::FullRepaint, &T::SetFullRepaint).Default(false);
        b.Property("ShowDockClientCaptions", &T::ShowDockClientCaptions, &T::SetShowDockClientCaptions).Default(false);
        b.Property("Transparent", &T::Transparent, &T::SetTransparent).Default(false);
        b.Event("OnPaint", static_cast<TNotifyEvent T::*>(&TRzCustomPanel::OnPaint));
        b.Event("OnVisibleChanged", &T::OnVisibleChanged);
    });
    return meta;
}

const TMessageTable& TRzToolbar::ClassMessages() {
    static const TMessageTable table(&TRzCustomPanel::ClassMessages(), {
        MESSAGE_HANDLER(CM_CONTROLLISTCHANGE, TRzToolbar::CMControlListChange),
        MESSAGE_HANDLER(CM_VISIBLECHANGED, TRzToolbar::CMVisibleChanged),
    });
    return table;
}

// The list is made here by this class's factory: a derived factory does not run in a constructor.
TRzToolbar::TRzToolbar(TComponent* owner)
    : TRzCustomPanel(owner),
      controls_(TRzToolbar::CreateControlList()),
      background_(std::make_unique<TBitmap>()),
      customizeCaptions_(std::make_unique<TRzCustomizeCaptions>()) {
    controlStyle_ << csAcceptsControls;
    TRzCustomPanel::SetBorderInner(fsNone);
    TRzCustomPanel::SetBorderOuter(fsGroove);
    TRzCustomPanel::SetBorderSides({sdTop});
    SetBorderWidth(0);
    TControl::SetAlign(alTop);
    SetBounds(Left(), Top(), 32, 32);
    SetShowDockClientCaptions(false);
    SetFullRepaint(false);
    background_->OnChange = [this](TObject*) { Invalidate(); };
}

TRzToolbar::~TRzToolbar() {
    if (images_) images_->UnRegisterChanges(this);
    if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
}

std::unique_ptr<TRzToolbarControlList> TRzToolbar::CreateControlList() { return std::make_unique<TRzToolbarControlList>(*this); }

void TRzToolbar::DefineProperties(TFiler* filer) {
    TRzCustomPanel::DefineProperties(filer);
    filer->DefineProperty("ToolbarControls", [this](TReader& reader) { controls_->ReadOrder(reader); },
                          [this](TWriter& writer) { controls_->WriteOrder(writer); }, controls_->Count() > 0);
}

void TRzToolbar::Loaded() {
    TRzCustomPanel::Loaded();
    controls_->ResolveOrder(Owner());
    PositionControls();
    if (autoStyle_) ApplyAutoStyle(Align());
}

void TRzToolbar::SetParent(TWinControl* parent) {
    TRzCustomPanel::SetParent(parent);
    CheckAutoResize(autoResize_);
}

void TRzToolbar::CheckAutoResize(bool& flag) const {
    if (!flag || !Parent()) return;
    const std::string_view name = Parent()->ClassName();
    if (SameName(name, "TPageScroller") || SameName(name, "TToolbar")) flag = false;
}

void TRzToolbar::SetAutoResize(bool v) {
    CheckAutoResize(v);
    if (v == autoResize_) return;
    autoResize_ = v;
    PositionControls();
}

void TRzToolbar::SetBackground(TBitmap* v) {
    if (v) background_->Assign(v);
    else background_->SetSize(0, 0);
}

void TRzToolbar::SetImages(TCustomImageList* list) {
    if (ChangeImageList(*this, images_, list, [this](TObject*) { Invalidate(); })) Invalidate();
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TRzToolbar::SetRegIniFile(TRzRegIniFile* v) {
    if (v == regIniFile_) return;
    if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
    regIniFile_ = v;
    if (regIniFile_) regIniFile_->FreeNotification(this);
}

void TRzToolbar::Notification(TComponent* component, TOperation operation) {
    TRzCustomPanel::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == images_) images_ = nullptr;
    if (component == regIniFile_) regIniFile_ = nullptr;
    if (component == overflowButton_) {
        overflowButton_ = nullptr;
        overflowShown_ = false;
    }
}

void TRzToolbar::SetOrientation(TOrientation v) {
    if (v == orientation_) return;
    orientation_ = v;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* spacer = dynamic_cast<TRzSpacer*>(Controls(i))) spacer->SetOrientation(v);
    PositionControls();
}

void TRzToolbar::NotifyControls(UINT message) {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(message, 0, 0);
}

// The four button settings: the buttons hear of each, and the text options become custom.
void TRzToolbar::SetShowButtonCaptions(bool v) {
    if (v == showButtonCaptions_) return;
    showButtonCaptions_ = v;
    NotifyControls(CM_TOOLBARSHOWCAPTIONCHANGED);
    NotifyControls(CM_TOOLBARBUTTONSIZECHANGED);
    if (!updatingTextOptions_) textOptions_ = ttoCustom;
    PositionControls();
}

void TRzToolbar::SetButtonLayout(TButtonLayout v) {
    if (v == buttonLayout_) return;
    buttonLayout_ = v;
    NotifyControls(CM_TOOLBARBUTTONLAYOUTCHANGED);
    if (!updatingTextOptions_) textOptions_ = ttoCustom;
}

void TRzToolbar::SetButtonWidth(int v) {
    if (v == buttonWidth_) return;
    buttonWidth_ = v;
    NotifyControls(CM_TOOLBARBUTTONSIZECHANGED);
    if (!updatingTextOptions_) textOptions_ = ttoCustom;
    PositionControls();
}

void TRzToolbar::SetButtonHeight(int v) {
    if (v == buttonHeight_) return;
    buttonHeight_ = v;
    NotifyControls(CM_TOOLBARBUTTONSIZECHANGED);
    if (!updatingTextOptions_) textOptions_ = ttoCustom;
    PositionControls();
}

void TRzToolbar::SetVisualStyle(TRzVisualStyle v) {
    if (v == VisualStyle()) return;
    TRzCustomPanel::SetVisualStyle(v);
    NotifyControls(CM_TOOLBARVISUALSTYLECHANGED);
}

void TRzToolbar::SetGradientColorStyle(TRzGradientColorStyle v) {
    if (v == GradientColorStyle()) return;
    TRzCustomPanel::SetGradientColorStyle(v);
    NotifyControls(CM_TOOLBARVISUALSTYLECHANGED);
}

void TRzToolbar::SetTextOptions(TRzToolbarTextOptions v) {
    if (v == textOptions_) return;
    textOptions_ = v;
    if (v == ttoCustom) return;
    updatingTextOptions_ = true;
    try {
        SetButtonLayout(v == ttoShowTextLabels ? blGlyphTop : blGlyphLeft);
        const bool captions = v == ttoShowTextLabels || v == ttoSelectiveTextOnRight;
        SetButtonSizes(captions ? 60 : 25, v == ttoShowTextLabels ? 40 : 25, captions);
    } catch (...) {
        updatingTextOptions_ = false;
        throw;
    }
    updatingTextOptions_ = false;
}

void TRzToolbar::SetButtonSizes(int width, int height, bool showCaptions) {
    SetShowButtonCaptions(showCaptions);
    SetButtonWidth(width);
    SetButtonHeight(height);
    SetRowHeight(orientation_ == orVertical ? width : height);
}

void TRzToolbar::SetShowDivider(bool v) {
    if (v == showDivider_) return;
    showDivider_ = v;
    TRzCustomPanel::SetBorderOuter(v ? fsGroove : fsNone);
}

void TRzToolbar::SetBorderInner(TFrameStyleEx v) {
    if (v == BorderInner()) return;
    autoStyle_ = false;
    TRzCustomPanel::SetBorderInner(v);
}

void TRzToolbar::SetBorderOuter(TFrameStyleEx v) {
    if (v == BorderOuter()) return;
    autoStyle_ = false;
    TRzCustomPanel::SetBorderOuter(v);
}

void TRzToolbar::SetBorderSides(TSides v) {
    if (v == BorderSides()) return;
    autoStyle_ = false;
    TRzCustomPanel::SetBorderSides(v);
}

void TRzToolbar::ApplyAutoStyle(TAlign alignment) {
    TRzCustomPanel::SetBorderInner(fsNone);
    TRzCustomPanel::SetBorderOuter(showDivider_ ? fsGroove : fsNone);
    switch (alignment) {
        case alLeft: TRzCustomPanel::SetBorderSides({sdLeft}); break;
        case alRight: TRzCustomPanel::SetBorderSides({sdRight}); break;
        case alBottom: TRzCustomPanel::SetBorderSides({sdBottom}); break;
        default: TRzCustomPanel::SetBorderSides({sdTop}); break;
    }
    Invalidate();
}

void TRzToolbar::SetAlign(TAlign v) {
    if (autoStyle_) ApplyAutoStyle(v);
    TControl::SetAlign(v);
    if (!autoResize_) return;
    if (v == alLeft || v == alRight) SetWidth(32);
    else SetHeight(32);
    PositionControls();
}

void TRzToolbar::ChangeScale(int m, int d) {
    TRzCustomPanel::ChangeScale(m, d);
    rowHeight_ = MulDiv(rowHeight_, m, d);
}

void TRzToolbar::CMControlListChange(TMessage& m) {
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    auto* control = reinterpret_cast<TControl*>(m.WParam);
    if (!control || control == overflowButton_) return;
    if (m.LParam) {
        if (ComponentState().Contains(csLoading)) return;  // the stored order is resolved once loaded
        controls_->Include(control);
    } else {
        if (controls_->Exclude(control) < 0 || ComponentState().Contains(csDestroying)) return;
    }
    PositionControls();
}

void TRzToolbar::CMVisibleChanged(TMessage& m) {
    InheritedMessage(TRzCustomPanel::ClassMessages(), m);
    if (OnVisibleChanged) OnVisibleChanged(this);
}

void TRzToolbar::AlignControls(TControl* control, TRect& rect) {
    TRzCustomPanel::AlignControls(control, rect);
    if (ComponentState().Contains(csLoading)) return;
    if (control && control->Parent() == this && control != overflowButton_) controls_->Include(control);
    PositionControls();
}

void TRzToolbar::ControlChanged() { PositionControls(); }

// ---- layout

int TRzToolbar::GetRowHeight(int) const { return rowHeight_; }

void TRzToolbar::PositionControls() {
    if (positioning_ || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading) ||
        ComponentState().Contains(csDestroying))
        return;
    positioning_ = true;
    try {
        if (orientation_ == orHorizontal) PositionHorizontal();
        else PositionVertical();
    } catch (...) {
        positioning_ = false;
        throw;
    }
    positioning_ = false;
    PlaceOverflowButton();
}

void TRzToolbar::PositionControl(int index, int row, int& position) {
    TControl* c = controls_->Items(index).Control;
    const int top = (row - 1) * GetRowHeight(1) + topMargin_ + rowHeight_ / 2 - c->Height() / 2;
    const int left = c->UseRightToLeftAlignment() ? Width() - c->Width() - position : position;
    c->SetBounds(left, top, c->Width(), c->Height());
    position += c->Width();
}

namespace {

bool Shown(const TControl* c) { return c && (c->Visible() || c->ComponentState().Contains(csDesigning)); }

}  // namespace

void TRzToolbar::PositionHorizontal() {
    int x = margin_, rows = 1, largest = 0;
    bool first = true;
    for (int i = 0; i < controls_->Count(); ++i) {
        const TControl* c = controls_->Items(i).Control;
        if (!Shown(c)) continue;
        if (!first && wrapControls_ && Width() - margin_ < x + c->Width()) {
            x = margin_;
            ++rows;
        }
        PositionControl(i, rows, x);
        largest = std::max(largest, x);
        first = false;
    }
    // Judged on this layout and on the last control shown, so the button shows exactly while
    // something is cut off.
    const TControl* last = nullptr;
    for (int i = 0; i < controls_->Count(); ++i)
        if (Shown(controls_->Items(i).Control)) last = controls_->Items(i).Control;
    ShowOverflow(!wrapControls_ && last && last->Left() + last->Width() > Width() - margin_);
    if (!autoResize_) return;
    const TAlign align = Align();
    if (align == alLeft || align == alRight) {
        if (largest != 0 && Width() != margin_ + largest) {
            SetWidth(margin_ + largest);
            Invalidate();
        }
    } else if (align == alNone || align == alTop || align == alBottom) {
        const int height = rowHeight_ * rows + 2 * topMargin_;
        if (height != Height()) {
            SetHeight(height);
            Invalidate();
        }
    }
}

void TRzToolbar::PositionVertical() {
    int y = margin_, columns = 1, largest = 0, columnWidth = GetRowHeight(1);
    bool first = true;
    for (int i = 0; i < controls_->Count(); ++i) {
        TControl* c = controls_->Items(i).Control;
        if (!Shown(c)) continue;
        if (!first && wrapControls_ && Height() - margin_ < y + c->Height()) {
            y = margin_;
            ++columns;
            columnWidth = GetRowHeight(columns);
        }
        const int left = (columns - 1) * columnWidth + margin_ + rowHeight_ / 2 - c->Width() / 2;
        c->SetBounds(left, y, c->Width(), c->Height());
        y += c->Height();
        largest = std::max(largest, y);
        first = false;
    }
    ShowOverflow(false);
    if (!autoResize_) return;
    const TAlign align = Align();
    if (align == alLeft || align == alRight) {
        const int width = rowHeight_ * columns + topMargin_ + 2;
        if (width != Width()) {
            SetWidth(width);
            Invalidate();
        }
    } else if ((align == alNone || align == alTop || align == alBottom) && largest != 0 && Height() != margin_ + largest) {
        SetHeight(margin_ + largest);
        Invalidate();
    }
}

std::vector<TRzToolButton*> TRzToolbar::HiddenToolButtons() const {
    std::vector<TRzToolButton*> hidden;
    for (int i = 0; i < controls_->Count(); ++i) {
        auto* b = dynamic_cast<TRzToolButton*>(controls_->Items(i).Control);
        if (b && b->Visible() && b->Left() + b->Width() > Width() - margin_) hidden.push_back(b);
    }
    return hidden;
}

// ---- painting

void TRzToolbar::Paint() {
    TRzCustomPanel::Paint();
    if (background_->Empty()) return;
    TRect r = ClientRect();
    AdjustRectForBorders(r, true);
    const int bw = background_->Width(), bh = background_->Height();
    const int columns = r.Width() / bw + (r.Width() % bw ? 1 : 0);
    const int rows = r.Height() / bh + (r.Height() % bh ? 1 : 0);
    TCanvas& canvas = *Canvas();
    const HDC dc = canvas.Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) canvas.Draw(r.left + column * bw, r.top + row * bh, background_.get());
    RestoreDC(dc, saved);
}

void RegisterStyledToolbars() {
    RegisterClasses({&TRzToolbar::StaticClass(), &TRzToolButton::StaticClass()});
}
