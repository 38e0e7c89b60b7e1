// The framed button with a picture beside its caption: a glyph strip of up to four pictures
// for its states, a picture of an image list, or one of ten stock kinds with their own
// picture, caption, default or cancel role and modal result.
#pragma once

#include <memory>

#include "controls/styled/RzButton.h"
#include "platform/vcl/GraphicsImageList.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
QUILLORA_ENUM_TYPEINFO(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
                       "bkRetry", "bkIgnore", "bkAll")
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
QUILLORA_ENUM_TYPEINFO(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")

// The stock picture of a kind: 32 x 16, a normal and a disabled 16 x 16 picture, made once.
// Read-only and never drawn on, so the cache holds no drawing context until the process ends.
const TBitmap& GetKindGlyph(TBitBtnKind kind);
// The stock caption of a kind ("OK", "Cancel", "&Help" ...); empty for bkCustom.
WideString KindCaption(TBitBtnKind kind);

class TRzBitBtn : public TRzButton {
    QUILLORA_COMPONENT(TRzBitBtn)
public:
    explicit TRzBitBtn(TComponent* owner);
    ~TRzBitBtn() override;

    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v);
    // Not const: a button that no longer matches its stock kind turns bkCustom when asked.
    TBitBtnKind GetKind();
    TBitBtnKind Kind() { return GetKind(); }
    void SetKind(TBitBtnKind v);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v) { Store(layout_, v); }
    int Margin() const { return margin_; }
    void SetMargin(int v);
    int Spacing() const { return spacing_; }
    void SetSpacing(int v) { Store(spacing_, v); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* list);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { Store(imageIndex_, v); }
    int DisabledIndex() const { return disabledIndex_; }
    void SetDisabledIndex(int v) { Store(disabledIndex_, v); }

    virtual TPoint GetGlyphSize() const;
    void GetCaptionRect(TRect& r) override;
    virtual TRect GetGlyphRect();
    // The caption height the centred layouts use; measured with the font unless a test sets it.
    std::function<int(const TRect&)> MeasureCaptionHeight;
    bool IsRoleStored() const override;
    bool IsGlyphStored() const { return IsRoleStored(); }

protected:
    void DrawContents() override;
    virtual void DrawImage(const TRect& r);
    virtual void DrawGlyph(const TRect& r);
    void GlyphChanged();
    void Notification(TComponent* component, TOperation operation) override;
    void ChangeScale(int m, int d) override;

private:
    bool MatchesKind() const;
    bool HasPicture() const;
    TButtonLayout EffectiveLayout() const;
    int CaptionHeight(const TRect& r);

    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TBitBtnKind kind_ = bkCustom;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = 2, spacing_ = 4;
    TCustomImageList* images_ = nullptr;
    int imageIndex_ = -1, disabledIndex_ = -1;
    bool customGlyphSet_ = false;
};

void RegisterStyledBitButtons();
