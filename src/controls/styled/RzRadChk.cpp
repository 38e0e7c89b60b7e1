// The styled check box and radio button.
#include "controls/styled/RzRadChk.h"

#include <algorithm>

#include "platform/vcl/Filer.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/TypInfo.h"

// ---------------------------------------------------------------------------------------------
// TRzCustomGlyphButton

const TMetaClass& TRzCustomGlyphButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomGlyphButton>("TRzCustomGlyphButton", &TRzCustomButton::StaticClass());
    return meta;
}

const TMessageTable& TRzCustomGlyphButton::ClassMessages() {
    static const TMessageTable table(&TRzCustomButton::ClassMessages(), {
        MESSAGE_HANDLER(WM_ERASEBKGND, TRzCustomGlyphButton::WMEraseBkgndGlyph),
        MESSAGE_HANDLER(CM_TEXTCHANGED, TRzCustomGlyphButton::CMTextChangedGlyph),
        MESSAGE_HANDLER(CM_FONTCHANGED, TRzCustomGlyphButton::CMFontChanged),
        MESSAGE_HANDLER(CM_COLORCHANGED, TRzCustomGlyphButton::CMColorChanged),
        MESSAGE_HANDLER(CM_PARENTCOLORCHANGED, TRzCustomGlyphButton::CMColorChanged),
        MESSAGE_HANDLER(CM_ENABLEDCHANGED, TRzCustomGlyphButton::CMEnabledChangedGlyph),
    });
    return table;
}

TRzCustomGlyphButton::TRzCustomGlyphButton(TComponent* owner)
    : TRzCustomButton(owner), customGlyphs_(std::make_unique<TBitmap>()), backgroundCache_(std::make_unique<TBitmap>()) {
    customGlyphs_->OnChange = [this](TObject*) {
        backgroundStale_ = true;
        UpdateUseCustomGlyphs();
    };
    controlStyle_ << csSetCaption << csReplicatable;
}

TRzCustomGlyphButton::~TRzCustomGlyphButton() {
    if (customGlyphImages_) customGlyphImages_->UnRegisterChanges(this);
}

void TRzCustomGlyphButton::DefineProperties(TFiler* filer) {
    TRzCustomButton::DefineProperties(filer);
    filer->DefineProperty("Flat", [this](TReader& reader) { SetHotTrack(reader.ReadBoolean()); }, nullptr, false);
}

void TRzCustomGlyphButton::SetAlignment(TAlignment v) {
    if (v == alignment_) return;
    alignment_ = v;
    AdjustBounds();
    Invalidate();
}

void TRzCustomGlyphButton::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    AdjustBounds();
}

void TRzCustomGlyphButton::SetReadOnly(bool v) {
    if (v == readOnly_) return;
    readOnly_ = v;
    Repaint();
}

bool TRzCheckedActionLink::IsCheckedLinked() const {
    const auto* button = static_cast<const TRzCustomGlyphButton*>(client_);
    return TWinControlActionLink::IsCheckedLinked() && button->Checked() == CustomAction()->Checked();
}

void TRzCheckedActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) static_cast<TRzCustomGlyphButton*>(client_)->SetCheckedQuietly(value);
}

void TRzCustomGlyphButton::ActionChange(TObject* sender, bool checkDefaults) {
    TRzCustomButton::ActionChange(sender, checkDefaults);
    const auto* action = dynamic_cast<const TCustomAction*>(sender);
    if (action && (!checkDefaults || !Checked())) SetCheckedQuietly(action->Checked());
}

TControlActionLinkClass TRzCustomGlyphButton::GetActionLinkClass() const {
    return [](TControl* client) -> std::unique_ptr<TControlActionLink> {
        return std::make_unique<TRzCheckedActionLink>(static_cast<TRzCustomGlyphButton*>(client));
    };
}

void TRzCustomGlyphButton::SetCheckedQuietly(bool v) {
    clicksSuppressed_ = true;
    try {
        SetChecked(v);
    } catch (...) {
        clicksSuppressed_ = false;
        throw;
    }
    clicksSuppressed_ = false;
}

void TRzCustomGlyphButton::SetCustomGlyphs(TBitmap* strip) {
    if (strip) customGlyphs_->Assign(strip);
    else customGlyphs_->SetSize(0, 0);
    UpdateUseCustomGlyphs();
}

void TRzCustomGlyphButton::SetCustomGlyphImages(TCustomImageList* list) {
    ChangeImageList(*this, customGlyphImages_, list, [this](TObject*) {
        backgroundStale_ = true;
        UpdateUseCustomGlyphs();
    });
    UpdateUseCustomGlyphs();
}

void TRzCustomGlyphButton::UpdateUseCustomGlyphs() {
    const TCustomImageList* list = customGlyphImages_;
    if (list && list->Width() > 0 && list->Height() > 0 && list->Count() > 0) SetUseCustomGlyphs(true);
    else SetUseCustomGlyphs(!customGlyphs_->Empty());
}

void TRzCustomGlyphButton::SetUseCustomGlyphs(bool v) {
    useCustomGlyphs_ = v;
    if (v && customGlyphImages_ && customGlyphImages_->Count() > 0) {
        pictureWidth_ = customGlyphImages_->Width();
        pictureHeight_ = customGlyphImages_->Height();
    } else if (v) {
        pictureWidth_ = customGlyphs_->Width() / std::max<int>(pictureCount_, 1);
        pictureHeight_ = customGlyphs_->Height();
    } else {
        pictureWidth_ = pictureHeight_ = 13;
    }
    Invalidate();
}

void TRzCustomGlyphButton::CopyGlyphFromStrip(int index, TBitmap& bitmap, int height, int width, TBitmap& strip) {
    bitmap.SetSize(width, height);
    bitmap.Canvas()->CopyRect(TRect(0, 0, width, height), strip.Canvas(), TRect(width * index, 0, width * (index + 1), height));
}

void TRzCustomGlyphButton::Notification(TComponent* component, TOperation operation) {
    TRzCustomButton::Notification(component, operation);
    // The list is past its own destructor here: only forget it.
    if (operation == TOperation::opRemove && component == customGlyphImages_) {
        customGlyphImages_ = nullptr;
        UpdateUseCustomGlyphs();
    }
}

bool TRzCustomGlyphButton::PictureOnLeft() const {
    const bool rtl = UseRightToLeftAlignment();
    return (alignment_ == taRightJustify && !rtl) || (alignment_ == taLeftJustify && rtl);
}

TPoint TRzCustomGlyphButton::PicturePosition() const {
    const int x = PictureOnLeft() ? 0 : Width() - pictureWidth_;
    int y = 2;
    if (AlignmentVertical() == avCenter) y = (Height() - pictureHeight_) / 2;
    else if (AlignmentVertical() == avBottom) y = Height() - pictureHeight_ - 2;
    return {x, y};
}

TRect TRzCustomGlyphButton::GetHotTrackRect() const {
    const TPoint p = PicturePosition();
    return Bounds(p.x, p.y, pictureWidth_, pictureHeight_);
}

void TRzCustomGlyphButton::AdjustBounds() {
    if (!HandleAllocated() || ComponentState().Contains(csLoading) || !autoSize_) return;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;  // nothing measures text without a drawing backend
    if (wrapWidth_ == 0) wrapWidth_ = Width();
    TRect r{0, 0, std::max(wrapWidth_, Width()), Height()};
    r.Inflate(-1, -1);
    r.right -= pictureWidth_ + 4;
    r.right = std::max<LONG>(r.right, r.left + 2);
    if (ComponentState().Contains(csDesigning)) r.right = std::max<LONG>(r.right, r.left + 100);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    const WideString caption = Caption();
    DrawTextW(dc, caption.c_str(), -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    SelectObject(dc, old);
    DeleteDC(dc);
    const int height = std::max<int>(pictureHeight_ + 2, r.Height() + 2);
    // One pixel more than the measured text: the toolkit measures fractional widths, and the
    // caption must not wrap in the very width it was measured for.
    const int width = r.Width() + pictureWidth_ + 7;
    const int left = PictureOnLeft() ? Left() : Left() + Width() - width;
    SetBounds(left, Top(), width, height);
}

void TRzCustomGlyphButton::CreateWnd() {
    TRzCustomButton::CreateWnd();
    AdjustBounds();
}

void TRzCustomGlyphButton::Loaded() {
    TRzCustomButton::Loaded();
    AdjustBounds();
}

void TRzCustomGlyphButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    clickedByMouse_ = true;
    TRzCustomButton::MouseDown(button, shift, x, y);
}

void TRzCustomGlyphButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TRzCustomButton::MouseUp(button, shift, x, y);
    clickedByMouse_ = false;
}

void TRzCustomGlyphButton::KeyPress(WideChar& key) {
    if (tabOnEnter_ && key == u'\r') {
        key = 0;
        if (HandleAllocated()) PostMessageW(WindowHandle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    TRzCustomButton::KeyPress(key);
}

void TRzCustomGlyphButton::WMEraseBkgndGlyph(TMessage& m) {
    backgroundStale_ = true;
    InheritedMessage(TRzCustomButton::ClassMessages(), m);
}

void TRzCustomGlyphButton::CMTextChangedGlyph(TMessage& m) {
    InheritedMessage(TRzCustomButton::ClassMessages(), m);
    AdjustBounds();
}

void TRzCustomGlyphButton::CMFontChanged(TMessage& m) {
    InheritedMessage(TRzCustomButton::ClassMessages(), m);
    AdjustBounds();
}

void TRzCustomGlyphButton::CMColorChanged(TMessage& m) {
    InheritedMessage(TRzCustomButton::ClassMessages(), m);
    backgroundStale_ = true;
    Invalidate();
}

void TRzCustomGlyphButton::CMEnabledChangedGlyph(TMessage& m) {
    InheritedMessage(TRzCustomButton::ClassMessages(), m);
    backgroundStale_ = true;
    Invalidate();
}

TGlyphColors TRzCustomGlyphButton::GlyphColors() const {
    TGlyphColors c;
    c.readOnlyColor = readOnlyColor_;
    c.readOnlyColorOnFocus = readOnlyColorOnFocus_;
    c.readOnly = readOnly_;
    if (HotTrackColorType() == htctActual) {
        c.hotFillColor = BlendColors(clWhite, HotTrackColor(), 190);
        c.hotFrameColor = HotTrackColor();
    } else {
        c.hotFillColor = ComplementColor(HotTrackColor(), 180);
        c.hotFrameColor = DarkerColor(c.hotFillColor, 30);
    }
    c.disabledColor = disabledColor_;
    c.focusColor = focusColor_;
    c.fillColor = fillColor_;
    c.markColor = HighlightColor();
    c.frameColor = frameColor_;
    c.hotTrackStyle = hotTrackStyle_;
    return c;
}

TRzDrawState TRzCustomGlyphButton::GlyphDrawState() const {
    if (!Enabled()) return dsDisabled;
    if (PressedLook()) return dsPressed;
    if (PointerInside()) return dsHot;
    return dsNormal;
}

void TRzCustomGlyphButton::DrawGlyph(TCanvas& canvas) {
    const TPoint at = PicturePosition();
    const TRect d(0, 0, pictureWidth_, pictureHeight_);
    const TRect p = Bounds(at.x, at.y, pictureWidth_, pictureHeight_);
    TBitmap a(pictureWidth_, pictureHeight_), b(pictureWidth_, pictureHeight_);
    if (Transparent()) {
        b.Canvas()->CopyRect(d, &canvas, p);
        SelectGlyph(a);
        TransparentBlitFull(*b.Canvas(), a, d, transparentColor_, d);
    } else {
        SelectGlyph(a);
        b.Canvas()->Brush()->SetColor(Color());
        b.Canvas()->BrushCopy(d, &a, d, transparentColor_);
    }
    TBitmap c(pictureWidth_, pictureHeight_);
    if (useCustomGlyphs_) {
        c.Canvas()->Brush()->SetColor(clWindow);
        c.Canvas()->BrushCopy(d, &b, d, winMaskColor_);
    } else {
        c.Canvas()->CopyRect(d, b.Canvas(), d);
        if (Transparent()) FinishTransparentGlyph(c);
    }
    canvas.Draw(at.x, at.y, &c);
}

void TRzCustomGlyphButton::Paint() {
    if (ComponentState().Contains(csDestroying)) return;
    TBitmap off(Width(), Height());
    TCanvas& canvas = *off.Canvas();
    canvas.SetFont(Font());
    canvas.Brush()->SetColor(Color());
    const TRect all = ClientRect();
    if (backgroundStale_) {
        backgroundCache_->SetSize(Width(), Height());
        if (Transparent()) {
            // What the erase step put on the window: the parent's background.
            DrawParentBackground(this, backgroundCache_->Canvas()->Handle(), false);
        } else {
            backgroundCache_->Canvas()->Brush()->SetColor(Color());
            backgroundCache_->Canvas()->FillRect(all);
        }
        backgroundStale_ = false;
    }
    canvas.CopyRect(all, backgroundCache_->Canvas(), all);
    DrawGlyph(canvas);
    TRect r = all;
    r.Inflate(-1, -1);
    if (PictureOnLeft()) r.left += pictureWidth_ + 4;
    else r.right -= pictureWidth_ + 4;
    UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
    if (UseRightToLeftAlignment()) flags |= DT_RIGHT;
    DrawCaption(canvas, r, flags);
    if (Focused() && !Caption().empty()) {
        r.Inflate(1, 1);
        PaintFocusBorder(canvas, r);
    }
    Canvas()->Draw(0, 0, &off);
}

// ---------------------------------------------------------------------------------------------
// Picture indexes and edge smoothing

int CheckBoxPictureIndex(TCheckBoxState state, bool enabled, bool pressed, bool hot, int imageCount, bool fromImageList) {
    const int s = static_cast<int>(state);
    if (!enabled) return 6 + s;
    if (pressed) return 3 + s;
    if (fromImageList && hot && imageCount > 9) return 9 + s;
    return s;
}

int RadioButtonPictureIndex(bool checked, bool enabled, bool pressed, bool hot, int imageCount, bool fromImageList) {
    const int c = checked ? 1 : 0;
    if (!enabled) return 4 + c;
    if (pressed) return 2 + c;
    if (fromImageList && hot && imageCount > 6) return 6 + c;
    return c;
}

void SmoothRadioEdges(TBitmap& bitmap, TColor frameColor) {
    static constexpr struct {
        int x, y, weight;
    } edge[] = {
        {4, 0, 128},  {8, 0, 128},  {2, 1, 128},  {10, 1, 128}, {1, 2, 128},  {11, 2, 128}, {0, 4, 128},  {12, 4, 128},
        {0, 8, 128},  {12, 8, 128}, {1, 10, 128}, {11, 10, 128}, {2, 11, 128}, {10, 11, 128}, {4, 12, 128}, {8, 12, 128},
        {3, 0, 40},   {9, 0, 40},   {0, 3, 40},   {12, 3, 40},  {0, 9, 40},   {12, 9, 40},  {3, 12, 40},  {9, 12, 40},
    };
    TCanvas& canvas = *bitmap.Canvas();
    for (const auto& e : edge) canvas.SetPixel(e.x, e.y, BlendColors(frameColor, canvas.Pixel(e.x, e.y), e.weight));
}

namespace {

void ImageListPicture(TBitmap& bitmap, TCustomImageList& list, int index, int w, int h, TColor transparent) {
    bitmap.SetSize(w, h);
    bitmap.Canvas()->Brush()->SetColor(transparent);
    bitmap.Canvas()->FillRect(TRect(0, 0, w, h));
    list.Draw(bitmap.Canvas(), 0, 0, index, true);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TRzCustomCheckBox

const TMetaClass& TRzCustomCheckBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCustomCheckBox>("TRzCustomCheckBox", &TRzCustomGlyphButton::StaticClass());
    return meta;
}

const TMessageTable& TRzCustomCheckBox::ClassMessages() {
    static const TMessageTable table(&TRzCustomGlyphButton::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGCHAR, TRzCustomCheckBox::CMDialogChar),
        MESSAGE_HANDLER(BM_GETCHECK, TRzCustomCheckBox::BMGetCheck),
        MESSAGE_HANDLER(CM_EXIT, TRzCustomCheckBox::CMExit),
    });
    return table;
}

TRzCustomCheckBox::TRzCustomCheckBox(TComponent* owner) : TRzCustomGlyphButton(owner) {
    SetAlignmentVertical(avTop);
    pictureCount_ = 9;
}

void TRzCustomCheckBox::SetState(TCheckBoxState v) {
    if (v == state_) return;
    state_ = v;
    Repaint();
    if (!clicksSuppressed_) Click();
}

void TRzCustomCheckBox::ChangeState() {
    if (ClickedByMouse() && ReadOnly()) return;
    switch (state_) {
        case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
        case cbChecked: SetState(cbUnchecked); break;
        case cbGrayed: SetState(cbChecked); break;
    }
}

void TRzCustomCheckBox::KeyDown(WORD& key, TShiftState shift) {
    TRzCustomGlyphButton::KeyDown(key, shift);
    if (ReadOnly()) return;
    if (key == VK_SPACE) {
        spaceArmed_ = true;
        SetPressedLook(true);
        Repaint();
    } else if (key == VK_ESCAPE) {
        spaceArmed_ = false;
        SetPressedLook(false);
        Repaint();
    }
}

void TRzCustomCheckBox::KeyUp(WORD& key, TShiftState shift) {
    TRzCustomGlyphButton::KeyUp(key, shift);
    if (ReadOnly() || key != VK_SPACE) return;
    SetPressedLook(false);
    if (spaceArmed_) ChangeState();
    Repaint();
}

void TRzCustomCheckBox::CMExit(TMessage& m) {
    InheritedMessage(TRzCustomGlyphButton::ClassMessages(), m);
    SetPressedLook(false);
    Repaint();
}

void TRzCustomCheckBox::CMDialogChar(TMessage& m) {
    if (!IsAccel(static_cast<WORD>(m.WParam), Caption()) || !CanFocus()) {
        InheritedMessage(TRzCustomGlyphButton::ClassMessages(), m);
        return;
    }
    SetFocus();
    if (Focused() && !ReadOnly()) {
        ChangeState();
        Repaint();
    }
    m.Result = 1;
}

void TRzCustomCheckBox::BMGetCheck(TMessage& m) { m.Result = static_cast<LRESULT>(state_); }

void TRzCustomCheckBox::SelectGlyph(TBitmap& bitmap) {
    const int w = pictureWidth_, h = pictureHeight_;
    if (UseCustomGlyphs() && CustomGlyphImages()) {
        const int index = CheckBoxPictureIndex(state_, Enabled(), PressedLook(), PointerInside() && HotTrack(),
                                               CustomGlyphImages()->Count(), true);
        ImageListPicture(bitmap, *CustomGlyphImages(), index, w, h, TransparentColor());
        return;
    }
    if (UseCustomGlyphs()) {
        CopyGlyphFromStrip(CheckBoxPictureIndex(state_, Enabled(), PressedLook(), false, 0, false), bitmap, h, w, *CustomGlyphs());
        return;
    }
    bitmap.SetSize(w, h);
    if (HotTrack()) {
        PaintCheckBoxGlyph(*bitmap.Canvas(), TRect(0, 0, w, h), static_cast<TRzGlyphCheckState>(state_), GlyphColors(),
                           Focused(), GlyphDrawState());
        return;
    }
    UINT flags = state_ == cbChecked ? DFCS_CHECKED : state_ == cbGrayed ? DFCS_BUTTON3STATE | DFCS_CHECKED : DFCS_BUTTONCHECK;
    if (PressedLook()) flags |= DFCS_PUSHED;
    if (!Enabled()) flags |= DFCS_INACTIVE;
    RECT r{0, 0, w, h};
    DrawFrameControl(bitmap.Canvas()->Handle(), &r, DFC_BUTTON, flags);
}

// ---------------------------------------------------------------------------------------------
// TRzRadioButton

const TMessageTable& TRzRadioButton::ClassMessages() {
    static const TMessageTable table(&TRzCustomGlyphButton::ClassMessages(), {
        MESSAGE_HANDLER(CM_DIALOGCHAR, TRzRadioButton::CMDialogChar),
        MESSAGE_HANDLER(CM_DIALOGKEY, TRzRadioButton::CMDialogKey),
        MESSAGE_HANDLER(BM_GETCHECK, TRzRadioButton::BMGetCheck),
        MESSAGE_HANDLER(WM_SETFOCUS, TRzRadioButton::WMSetFocusRadio),
    });
    return table;
}

TRzRadioButton::TRzRadioButton(TComponent* owner) : TRzCustomGlyphButton(owner) {
    SetAlignmentVertical(avTop);
    pictureCount_ = 6;
    SetTabStop(false);
}

void TRzRadioButton::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    SetTabStop(v);
    Repaint();
    if (!v) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRzRadioButton*>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetChecked(false);
    }
    if (!clicksSuppressed_) Click();
}

void TRzRadioButton::SetReadOnly(bool v) {
    if (v == ReadOnly()) return;
    TRzCustomGlyphButton::SetReadOnly(v);
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRzRadioButton*>(parent->Controls(i)); sibling && sibling != this)
                sibling->SetReadOnly(v);
    }
}

void TRzRadioButton::ChangeState() {
    if (!checked_ && !ReadOnly()) SetChecked(true);
}

void TRzRadioButton::CMDialogChar(TMessage& m) {
    if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        m.Result = 1;
        return;
    }
    InheritedMessage(TRzCustomGlyphButton::ClassMessages(), m);
}

void TRzRadioButton::CMDialogKey(TMessage& m) {
    const TShiftState shift = KeyDataToShiftState(static_cast<LONG>(m.LParam));
    if (static_cast<WORD>(m.WParam) == VK_DOWN && shift.Empty() && CanFocus()) {
        if (!clicksSuppressed_) Click();
        m.Result = 1;
        return;
    }
    InheritedMessage(TRzCustomGlyphButton::ClassMessages(), m);
}

void TRzRadioButton::BMGetCheck(TMessage& m) { m.Result = checked_ ? 1 : 0; }

void TRzRadioButton::WMSetFocusRadio(TMessage& m) {
    InheritedMessage(TRzCustomGlyphButton::ClassMessages(), m);
    // Moving through a group with the keyboard checks each button reached.
    if (!ClickedByMouse() && !ReadOnly()) SetChecked(true);
}

void TRzRadioButton::SelectGlyph(TBitmap& bitmap) {
    const int w = pictureWidth_, h = pictureHeight_;
    if (UseCustomGlyphs() && CustomGlyphImages()) {
        const int index = RadioButtonPictureIndex(checked_, Enabled(), PressedLook(), PointerInside() && HotTrack(),
                                                  CustomGlyphImages()->Count(), true);
        ImageListPicture(bitmap, *CustomGlyphImages(), index, w, h, TransparentColor());
        return;
    }
    if (UseCustomGlyphs()) {
        CopyGlyphFromStrip(RadioButtonPictureIndex(checked_, Enabled(), PressedLook(), false, 0, false), bitmap, h, w, *CustomGlyphs());
        return;
    }
    bitmap.SetSize(w, h);
    if (HotTrack()) {
        PaintRadioButtonGlyph(*bitmap.Canvas(), TRect(0, 0, w, h), checked_, GlyphColors(), TransparentColor(), Transparent(),
                              Color(), Focused(), GlyphDrawState());
        return;
    }
    bitmap.Canvas()->Brush()->SetColor(TransparentColor());
    bitmap.Canvas()->FillRect(TRect(0, 0, w, h));
    UINT flags = DFCS_BUTTONRADIO | DFCS_TRANSPARENT;
    if (checked_) flags |= DFCS_CHECKED;
    if (PressedLook()) flags |= DFCS_PUSHED;
    if (!Enabled()) flags |= DFCS_INACTIVE;
    RECT r{0, 0, w, h};
    DrawFrameControl(bitmap.Canvas()->Handle(), &r, DFC_BUTTON, flags);
}

void TRzRadioButton::FinishTransparentGlyph(TBitmap& bitmap) { SmoothRadioEdges(bitmap, FrameColor()); }

// ---------------------------------------------------------------------------------------------
// Form files

namespace {

template <class C>
void DescribeGlyphButton(TClassBuilder<C>& b) {
    b.Property("Alignment", &C::Alignment, &C::SetAlignment).Default(taRightJustify);
    b.Property("AlignmentVertical", &C::AlignmentVertical, &C::SetAlignmentVertical).Default(avTop);
    b.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
    b.Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor).Default(clBtnFace).Type(ColorTypeInfo());
    b.Property("FillColor", &C::FillColor, &C::SetFillColor).Default(clWindow).Type(ColorTypeInfo());
    b.Property("FocusColor", &C::FocusColor, &C::SetFocusColor).Default(clWindow).Type(ColorTypeInfo());
    b.Property("FrameColor", &C::FrameColor, &C::SetFrameColor).Default(clBtnShadow).Type(ColorTypeInfo());
    b.Property("HighlightColor", &C::HighlightColor, &C::SetHighlightColor).Default(clHighlight).Type(ColorTypeInfo());
    b.Property("HotTrack", &C::HotTrack, &C::SetHotTrack).Default(false);
    b.Property("HotTrackColor", &C::HotTrackColor, &C::SetHotTrackColor).Default(TColor(0x00149BF0)).Type(ColorTypeInfo());
    b.Property("HotTrackColorType", &C::HotTrackColorType, &C::SetHotTrackColorType).Default(htctActual);
    b.Property("HotTrackStyle", &C::HotTrackStyle, &C::SetHotTrackStyle).Default(htsInterior);
    b.Property("LightTextStyle", &C::LightTextStyle, &C::SetLightTextStyle).Default(false);
    b.Property("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor).Default(clInfoBk).Type(ColorTypeInfo());
    b.Property("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus).Default(false);
    b.Property("TabOnEnter", &C::TabOnEnter, &C::SetTabOnEnter).Default(false);
    b.Property("TextHighlightColor", &C::TextHighlightColor, &C::SetTextHighlightColor).Default(clBtnHighlight).Type(ColorTypeInfo());
    b.Property("TextShadowColor", &C::TextShadowColor, &C::SetTextShadowColor).Default(clBtnShadow).Type(ColorTypeInfo());
    b.Property("TextShadowDepth", &C::TextShadowDepth, &C::SetTextShadowDepth).Default(2);
    b.Property("TextStyle", &C::TextStyle, &C::SetTextStyle).Default(tsNormal);
    b.Property("ThemeAware", &C::ThemeAware, &C::SetThemeAware).Default(true);
    b.Property("Transparent", &C::Transparent, &C::SetTransparent).Default(false);
    b.Property("TransparentColor", &C::TransparentColor, &C::SetTransparentColor).Default(TColor(0x008080)).Type(ColorTypeInfo());
    b.Property("WinMaskColor", &C::WinMaskColor, &C::SetWinMaskColor).Default(TColor(0x00FF00)).Type(ColorTypeInfo());
    b.Property("CustomGlyphImages", &C::CustomGlyphImages, &C::SetCustomGlyphImages);
}

}  // namespace

const TMetaClass& TRzCheckBox::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzCheckBox>("TRzCheckBox", &TRzCustomCheckBox::StaticClass(), [](TClassBuilder<TRzCheckBox>& b) {
        DescribeGlyphButton(b);
        b.Property("AllowGrayed", &TRzCheckBox::AllowGrayed, &TRzCheckBox::SetAllowGrayed).Default(false);
        b.Property("State", &TRzCheckBox::State, &TRzCheckBox::SetState).NoDefault();
        // State is what form data keeps; Checked is read from older data and set by code.
        b.Property("Checked", &TRzCheckBox::GetChecked, &TRzCheckBox::SetChecked)
            .Default(false).Stored([](const TObject&) { return false; });
        b.Property("CustomGlyphs", &TRzCheckBox::CustomGlyphs, &TRzCheckBox::SetCustomGlyphs)
            .Stored([](const TObject& o) { return !static_cast<const TRzCheckBox&>(o).CustomGlyphs()->Empty(); });
        b.Property("UseCustomGlyphs", &TRzCheckBox::UseCustomGlyphs, &TRzCheckBox::SetUseCustomGlyphs).Default(false);
        b.Property("ReadOnly", &TRzCheckBox::ReadOnly, &TRzCheckBox::SetReadOnly).Default(false);
    });
    return meta;
}

const TMetaClass& TRzRadioButton::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzRadioButton>("TRzRadioButton", &TRzCustomGlyphButton::StaticClass(), [](TClassBuilder<TRzRadioButton>& b) {
        DescribeGlyphButton(b);
        b.Property("Checked", &TRzRadioButton::GetChecked, &TRzRadioButton::SetChecked).Default(false);
        b.Property("ReadOnly", &TRzRadioButton::ReadOnly, &TRzRadioButton::SetReadOnly).Default(false);
    });
    return meta;
}

void RegisterStyledCheckBoxes() {
    RegisterClasses({&TRzCheckBox::StaticClass(), &TRzRadioButton::StaticClass()});
}
