// The glyph button.
#include "controls/styled/RzBitBtn.h"

#include "controls/styled/DrawHelpers.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/TypInfo.h"

namespace {

struct KindRole {
    bool isDefault, isCancel;
    TModalResult result;
};

KindRole RoleOf(TBitBtnKind kind) {
    switch (kind) {
        case bkOK: return {true, false, mrOk};
        case bkCancel: return {false, true, mrCancel};
        case bkYes: return {true, false, mrYes};
        case bkNo: return {false, true, mrNo};
        case bkAbort: return {false, false, mrAbort};
        case bkRetry: return {false, false, mrRetry};
        case bkIgnore: return {false, false, mrIgnore};
        case bkAll: return {false, false, mrAll};
        default: return {false, false, mrNone};
    }
}

}  // namespace

WideString KindCaption(TBitBtnKind kind) {
    static const char16_t* const captions[] = {u"",        u"OK",     u"Cancel",  u"&Help",   u"&Yes", u"&No",
                                               u"&Close", u"Abort", u"&Retry", u"&Ignore", u"&All"};
    return captions[static_cast<int>(kind)];
}

const TMetaClass& TRzBitBtn::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzBitBtn>("TRzBitBtn", &TRzButton::StaticClass(), [](TClassBuilder<TRzBitBtn>& b) {
        const auto glyphStored = [](const TObject& o) { return static_cast<const TRzBitBtn&>(o).IsGlyphStored(); };
        b.Property("Glyph", &TRzBitBtn::Glyph, &TRzBitBtn::SetGlyph).Stored(glyphStored);
        b.Property("NumGlyphs", &TRzBitBtn::NumGlyphs, &TRzBitBtn::SetNumGlyphs).Default(1).Stored(glyphStored);
        // Reading Kind may turn it bkCustom; the streamed buttons are never const objects.
        b.Property("Kind", [](const TRzBitBtn& c) { return const_cast<TRzBitBtn&>(c).GetKind(); }, &TRzBitBtn::SetKind)
            .Default(bkCustom);
        b.Property("Layout", &TRzBitBtn::Layout, &TRzBitBtn::SetLayout).Default(blGlyphLeft);
        b.Property("Margin", &TRzBitBtn::Margin, &TRzBitBtn::SetMargin).Default(2);
        b.Property("Spacing", &TRzBitBtn::Spacing, &TRzBitBtn::SetSpacing).Default(4);
        b.Property("Images", &TRzBitBtn::Images, &TRzBitBtn::SetImages);
        b.Property("ImageIndex", &TRzBitBtn::ImageIndex, &TRzBitBtn::SetImageIndex).Default(-1);
        b.Property("DisabledIndex", &TRzBitBtn::DisabledIndex, &TRzBitBtn::SetDisabledIndex).Default(-1);
    });
    return meta;
}

TRzBitBtn::TRzBitBtn(TComponent* owner) : TRzButton(owner), glyph_(std::make_unique<TBitmap>()) {
    glyph_->OnChange = [this](TObject*) { GlyphChanged(); };
}

TRzBitBtn::~TRzBitBtn() {
    if (images_) images_->UnRegisterChanges(this);
}

bool TRzBitBtn::MatchesKind() const {
    const KindRole role = RoleOf(kind_);
    return Default() == role.isDefault && Cancel() == role.isCancel && ModalResult() == role.result && !customGlyphSet_;
}

TBitBtnKind TRzBitBtn::GetKind() {
    if (kind_ != bkCustom && !MatchesKind()) kind_ = bkCustom;
    return kind_;
}

bool TRzBitBtn::IsRoleStored() const { return kind_ == bkCustom || !MatchesKind(); }

void TRzBitBtn::SetKind(TBitBtnKind v) {
    if (v == kind_) return;
    if (v == bkCustom) {
        kind_ = v;
        Repaint();
        return;
    }
    const KindRole role = RoleOf(v);
    SetDefault(role.isDefault);
    SetCancel(role.isCancel);
    if (!(ComponentState().Contains(csLoading) && !Caption().empty())) SetCaption(KindCaption(v));
    SetModalResult(role.result);
    glyph_->Assign(&GetKindGlyph(v));
    SetNumGlyphs(2);
    customGlyphSet_ = false;
    kind_ = v;
    Invalidate();
}

void TRzBitBtn::SetGlyph(TBitmap* glyph) {
    if (glyph) glyph_->Assign(glyph);
    else glyph_->SetSize(0, 0);
    customGlyphSet_ = true;
}

void TRzBitBtn::GlyphChanged() {
    const int w = glyph_->Width(), h = glyph_->Height();
    if (h != 0 && w % h == 0) {
        const int n = w / h;
        numGlyphs_ = n < 1 || n > 4 ? 1 : n;
    }
    Invalidate();
}

void TRzBitBtn::SetNumGlyphs(int v) { Store(numGlyphs_, v); }

void TRzBitBtn::SetMargin(int v) {
    if (v < -1) return;
    Store(margin_, v);
}

void TRzBitBtn::SetImages(TCustomImageList* list) {
    if (ChangeImageList(*this, images_, list, [this](TObject*) { Update(); })) Invalidate();
}

void TRzBitBtn::Notification(TComponent* component, TOperation operation) {
    TRzButton::Notification(component, operation);
    // The list is past its own destructor here: only forget it.
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        Invalidate();
    }
}

void TRzBitBtn::ChangeScale(int m, int d) {
    TRzButton::ChangeScale(m, d);
    margin_ = MulDiv(margin_, m, d);
    spacing_ = MulDiv(spacing_, m, d);
}

TPoint TRzBitBtn::GetGlyphSize() const {
    if (images_ && imageIndex_ != -1) return {images_->Width(), images_->Height()};
    return {glyph_->Width() / std::max(numGlyphs_, 1), glyph_->Height()};
}

bool TRzBitBtn::HasPicture() const { return (images_ && imageIndex_ != -1) || !glyph_->Empty(); }

TButtonLayout TRzBitBtn::EffectiveLayout() const {
    return layout_ == blGlyphLeft && UseRightToLeftAlignment() ? blGlyphRight : layout_;
}

int TRzBitBtn::CaptionHeight(const TRect& r) {
    if (MeasureCaptionHeight) return MeasureCaptionHeight(r);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return 0;  // nothing measures text without a drawing backend
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TRect t = r;
    const WideString caption = Caption();
    DrawTextW(dc, caption.c_str(), -1, &t, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    SelectObject(dc, old);
    DeleteDC(dc);
    return t.Height();
}

void TRzBitBtn::GetCaptionRect(TRect& r) {
    TRzButton::GetCaptionRect(r);
    if (!HasPicture()) return;
    const TPoint size = GetGlyphSize();
    const int w = size.x, h = size.y, height = Height();
    switch (EffectiveLayout()) {
        case blGlyphLeft: r.left += margin_ + w + spacing_; break;
        case blGlyphRight: r.right -= margin_ + w + spacing_; break;
        case blGlyphTop:
            if (margin_ >= 0) {
                r.top += margin_ + h + spacing_;
            } else {
                const int t = CaptionHeight(r);
                r.top += (height - (h + t + spacing_)) / 2 + h;
                r.bottom = r.top + t;
            }
            break;
        case blGlyphBottom:
            if (margin_ >= 0) {
                r.bottom -= margin_ + h + spacing_;
            } else {
                const int t = CaptionHeight(r);
                r.top += (height - (h + t + spacing_)) / 2;
                r.bottom = r.top + t;
            }
            break;
    }
}

TRect TRzBitBtn::GetGlyphRect() {
    TRect r;
    TRzButton::GetCaptionRect(r);
    const bool pressed = PressedLook();
    if (pressed) r.Offset(-1, UseThemes() ? 0 : -1);
    const TPoint size = GetGlyphSize();
    const int w = size.x, h = size.y, height = Height();
    const TButtonLayout layout = EffectiveLayout();
    const int t = margin_ < 0 && (layout == blGlyphTop || layout == blGlyphBottom) ? CaptionHeight(r) : 0;
    switch (layout) {
        case blGlyphLeft:
            if (margin_ >= 0) r.left += margin_;
            break;
        case blGlyphRight: r.left = margin_ >= 0 ? r.right - margin_ - w : r.right - w; break;
        case blGlyphTop: r.top = margin_ >= 0 ? r.top + margin_ : (height - (h + t + spacing_)) / 2; break;
        case blGlyphBottom: r.top = margin_ >= 0 ? r.bottom - margin_ - h : r.top + t + (height - (h + t + spacing_)) / 2; break;
    }
    if (layout == blGlyphLeft || layout == blGlyphRight) r.top += (r.bottom - r.top - h + 1) / 2;
    else r.left += (r.right - r.left - w + 1) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
    if (pressed) r.Offset(UseThemes() ? 2 : 1, UseThemes() ? 0 : 1);
    return r;
}

void TRzBitBtn::DrawContents() {
    TRzButton::DrawContents();
    const TRect r = GetGlyphRect();
    if (GetKind() == bkCustom && images_ && imageIndex_ != -1) DrawImage(r);
    else if (!glyph_->Empty()) DrawGlyph(r);
}

void TRzBitBtn::DrawImage(const TRect& r) {
    if (!images_) return;
    if (disabledIndex_ == -1) {
        if (imageIndex_ != -1) images_->Draw(Canvas(), r.left, r.top, imageIndex_, Enabled());
        return;
    }
    const int index = Enabled() ? imageIndex_ : disabledIndex_;
    if (index != -1) images_->Draw(Canvas(), r.left, r.top, index, true);
}

void TRzBitBtn::DrawGlyph(const TRect& r) {
    const int w = r.Width(), h = r.Height();
    int column = 0;
    if (numGlyphs_ == 4 && ButtonState() == bsExclusive) column = 3;
    else if (numGlyphs_ >= 3 && PressedLook()) column = 2;
    else if (numGlyphs_ >= 2 && !Enabled()) column = 1;
    TBitmap off(w, h);
    off.Canvas()->Brush()->SetColor(Color());
    off.Canvas()->CopyRect(TRect(0, 0, w, h), Canvas(), r);
    TransparentBlitFull(*off.Canvas(), *glyph_, TRect(0, 0, w, h), glyph_->TransparentColor(), TRect(column * w, 0, (column + 1) * w, h));
    Canvas()->Draw(r.left, r.top, &off);
}

void RegisterStyledBitButtons() { RegisterClasses({&TRzBitBtn::StaticClass()}); }
