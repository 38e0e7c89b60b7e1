// TImage: a picture drawn as it is, centred, stretched or scaled keeping its proportions.
#include <algorithm>

#include "platform/vcl/ExtCtrls.h"

const TMetaClass& TImage::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TImage>("TImage", &TGraphicControl::StaticClass(), [](TClassBuilder<TImage>& b) {
        b.Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(false);
        b.Property("Center", &TImage::Center, &TImage::SetCenter).Default(false);
        b.Property("Picture", &TImage::Picture, &TImage::SetPicture);
        b.Property("Proportional", &TImage::Proportional, &TImage::SetProportional).Default(false);
        b.Property("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
        b.Property("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false);
    });
    return meta;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    controlStyle_ = controlStyle_ + TControlStyle{csReplicatable};
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::SetPicture(TPicture* picture) {
    if (picture) picture_->Assign(picture);
    else picture_->SetGraphic(nullptr);
}

void TImage::SetStretch(bool v) {
    stretch_ = v;
    Invalidate();
}

void TImage::SetCenter(bool v) {
    center_ = v;
    Invalidate();
}

void TImage::SetProportional(bool v) {
    proportional_ = v;
    Invalidate();
}

void TImage::SetTransparent(bool v) {
    transparent_ = v;
    if (TGraphic* g = picture_->Graphic()) g->SetTransparent(v);
    Invalidate();
}

void TImage::SetAutoSize(bool v) {
    autoSize_ = v;
    PictureChanged();
}

void TImage::PictureChanged() {
    if (TGraphic* g = picture_->Graphic(); g && transparent_) g->SetTransparent(true);
    if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0) SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    Invalidate();
}

// Stretch fills the client area (Proportional keeps the aspect); Proportional alone only
// shrinks a picture that does not fit; Center centres what is left.
TRect TImage::DestRect() const {
    int w = picture_->Width(), h = picture_->Height();
    const int cw = ClientWidth(), ch = ClientHeight();
    if (w <= 0 || h <= 0) return TRect(0, 0, 0, 0);
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_) {
            const double scale = std::min(static_cast<double>(cw) / w, static_cast<double>(ch) / h);
            w = std::max(1, static_cast<int>(w * scale));
            h = std::max(1, static_cast<int>(h * scale));
        } else {
            w = cw;
            h = ch;
        }
    }
    int x = 0, y = 0;
    if (center_) {
        x = (cw - w) / 2;
        y = (ch - h) / 2;
    }
    return TRect(x, y, x + w, y + h);
}

void TImage::Paint() {
    TGraphic* g = picture_->Graphic();
    if (!g || g->Empty()) return;
    Canvas()->StretchDraw(DestRect(), g);
}
