#include "platform/vcl/GraphicsImageList.h"

#include "platform/vcl/Gdi.h"

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

const TMetaClass& TImageList::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TImageList>("TImageList", &TComponent::StaticClass(), [](TClassBuilder<TImageList>& b) {
        b.Property("Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
        b.Property("Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
    });
    return meta;
}

void TCustomImageList::Changed() {
    if (OnChange) OnChange(this);
    const auto links = links_;  // a client may unregister while it hears the change
    for (const auto& [client, onChange] : links)
        if (onChange) onChange(this);
}

void TCustomImageList::RegisterChanges(TObject* client, TNotifyEvent onChange) {
    UnRegisterChanges(client);
    links_.emplace_back(client, std::move(onChange));
}

void TCustomImageList::UnRegisterChanges(TObject* client) {
    std::erase_if(links_, [client](const auto& link) { return link.first == client; });
}

const std::vector<std::uint32_t>& TCustomImageList::Pixels(int index) const {
    CheckIndex(index);
    return images_[static_cast<size_t>(index)].argb;
}

void TCustomImageList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EInvalidGraphicOperation(u"Invalid image list index");
}

void TCustomImageList::SetSize(int width, int height) {
    if (width <= 0 || height <= 0) throw EInvalidGraphicOperation(u"Invalid image size");
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    Clear();
}

std::vector<TCustomImageList::Picture> TCustomImageList::Split(TBitmap* image, TBitmap* mask,
                                                                std::optional<COLORREF> maskColor) const {
    std::vector<Picture> out;
    if (!image || image->Empty()) return out;
    TCanvas* ic = image->Canvas();
    TCanvas* mc = mask && !mask->Empty() ? mask->Canvas() : nullptr;
    const int count = std::max(1, image->Width() / width_);
    for (int i = 0; i < count; ++i) {
        Picture p;
        p.argb.assign(static_cast<size_t>(width_) * height_, 0);
        for (int y = 0; y < height_ && y < image->Height(); ++y)
            for (int x = 0; x < width_ && i * width_ + x < image->Width(); ++x) {
                const COLORREF c = GetPixel(ic->Handle(), i * width_ + x, y);
                bool shown = true;
                if (mc) shown = GetPixel(mc->Handle(), i * width_ + x, y) == RGB(0, 0, 0);
                else if (maskColor) shown = c != *maskColor;
                if (shown)
                    p.argb[static_cast<size_t>(y) * width_ + x] =
                        0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        out.push_back(std::move(p));
    }
    return out;
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    auto pictures = Split(image, mask, std::nullopt);
    if (pictures.empty()) return -1;
    const int first = Count();
    for (auto& p : pictures) images_.push_back(std::move(p));
    Changed();
    return first;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    auto pictures = Split(image, nullptr, ColorToRGB(maskColor));
    if (pictures.empty()) return -1;
    const int first = Count();
    for (auto& p : pictures) images_.push_back(std::move(p));
    Changed();
    return first;
}

int TCustomImageList::AddIcon(TIcon* icon) {
    if (!icon || icon->Empty()) return -1;
    int w = 0, h = 0;
    std::vector<std::uint32_t> px;
    if (!GetIconPixels(icon->Handle(), &w, &h, &px)) return -1;
    Picture p;
    p.argb.assign(static_cast<size_t>(width_) * height_, 0);
    // Scaled to the list's size, nearest pixel.
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            p.argb[static_cast<size_t>(y) * width_ + x] = px[static_cast<size_t>(y * h / height_) * w + x * w / width_];
    images_.push_back(std::move(p));
    Changed();
    return Count() - 1;
}

int TCustomImageList::AddPixels(std::vector<std::uint32_t> argb) {
    if (argb.size() != static_cast<size_t>(width_) * height_) throw EInvalidGraphicOperation(u"Invalid image size");
    images_.push_back(Picture{std::move(argb)});
    Changed();
    return Count() - 1;
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    CheckIndex(index);
    auto pictures = Split(image, mask, std::nullopt);
    if (pictures.empty()) return;
    images_[static_cast<size_t>(index)] = std::move(pictures.front());
    Changed();
}

void TCustomImageList::Delete(int index) {
    CheckIndex(index);
    images_.erase(images_.begin() + index);
    for (int& o : overlays_) {
        if (o == index) o = -1;
        else if (o > index) --o;
    }
    Changed();
}

void TCustomImageList::Clear() {
    images_.clear();
    for (int& o : overlays_) o = -1;
    Changed();
}

bool TCustomImageList::Overlay(int imageIndex, int overlay) {
    if (overlay < 0 || overlay > 3 || imageIndex < 0 || imageIndex >= Count()) return false;
    overlays_[overlay] = imageIndex;
    return true;
}

void TCustomImageList::DrawPicture(TCanvas* canvas, int x, int y, const Picture& picture, bool enabled) {
    HDC dc = canvas->Handle();
    if (BkColor != clNone) {
        const RECT r{x, y, x + width_, y + height_};
        HBRUSH bk = CreateSolidBrush(ColorToRGB(BkColor));
        FillRect(dc, &r, bk);
        DeleteObject(bk);
    }
    std::vector<std::uint32_t> px = picture.argb;
    if (!enabled) {
        // The classic disabled look: the shape embossed in highlight and shadow.
        const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
        auto argb = [](COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); };
        std::vector<std::uint32_t> light(px.size(), 0), dark(px.size(), 0);
        for (size_t i = 0; i < px.size(); ++i) {
            if ((px[i] >> 24) < 128) continue;
            const std::uint32_t v = px[i];
            const int lum = (((v >> 16) & 0xFF) * 30 + ((v >> 8) & 0xFF) * 59 + (v & 0xFF) * 11) / 100;
            if (lum > 192) continue;  // light parts vanish, as on a button face
            light[i] = argb(hi);
            dark[i] = argb(sh);
        }
        HICON lo = CreateIconFromPixels(width_, height_, light.data());
        HICON dk = CreateIconFromPixels(width_, height_, dark.data());
        DrawIconEx(dc, x + 1, y + 1, lo, 0, 0, 0, nullptr, DI_NORMAL);
        DrawIconEx(dc, x, y, dk, 0, 0, 0, nullptr, DI_NORMAL);
        DestroyIcon(lo);
        DestroyIcon(dk);
        return;
    }
    HICON icon = CreateIconFromPixels(width_, height_, px.data());
    DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    if (!canvas || index < 0 || index >= Count()) return;
    DrawPicture(canvas, x, y, images_[static_cast<size_t>(index)], enabled);
}

void TCustomImageList::DrawOverlay(TCanvas* canvas, int x, int y, int index, int overlay, bool enabled) {
    Draw(canvas, x, y, index, enabled);
    if (overlay < 0 || overlay > 3 || overlays_[overlay] < 0) return;
    const TColor bk = BkColor;
    BkColor = clNone;  // the overlay shows the picture under it
    Draw(canvas, x, y, overlays_[overlay], enabled);
    BkColor = bk;
}

void TCustomImageList::GetBitmap(int index, TBitmap* image) {
    CheckIndex(index);
    if (!image) return;
    image->SetPixelFormat(pf32bit);
    image->SetSize(width_, height_);
    TCanvas* c = image->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, width_, height_));
    DrawPicture(c, 0, 0, images_[static_cast<size_t>(index)], true);
}

void TCustomImageList::GetIcon(int index, TIcon* icon) {
    CheckIndex(index);
    if (icon) icon->SetHandle(CreateIconFromPixels(width_, height_, images_[static_cast<size_t>(index)].argb.data()));
}

bool ChangeImageList(TComponent& client, TCustomImageList*& field, TCustomImageList* list, TNotifyEvent onChange) {
    if (list == field) return false;
    if (field) {
        field->UnRegisterChanges(&client);
        field->RemoveFreeNotification(&client);
    }
    field = list;
    if (field) {
        field->FreeNotification(&client);
        field->RegisterChanges(&client, std::move(onChange));
    }
    return true;
}
