// TCustomImageList: pictures of one size kept in a row, drawn by index with their mask or
// transparent colour, greyed when disabled, with overlay pictures on top.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/vcl/Components.h"
#include "platform/vcl/GraphicsImages.h"

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner);
    std::string_view ClassName() const override { return "TCustomImageList"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size clears the list.
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(images_.size()); }
    // The colour behind pictures without transparency (clNone: transparent).
    TColor BkColor = clNone;

    // A bitmap may hold several pictures side by side; the mask's black pixels show. Returns the
    // index of the first picture added.
    int Add(TBitmap* image, TBitmap* mask);
    // The pixels of maskColor are transparent.
    int AddMasked(TBitmap* image, TColor maskColor);
    int AddIcon(TIcon* icon);
    // A picture from its pixels (0xAARRGGBB, Width x Height, top row first).
    int AddPixels(std::vector<std::uint32_t> argb);
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void Delete(int index);
    void Clear();
    // Pictures 0..3 may be made overlays, drawn over another by DrawOverlay.
    bool Overlay(int imageIndex, int overlay);

    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    void DrawOverlay(TCanvas* canvas, int x, int y, int index, int overlay, bool enabled = true);
    // The picture on a white background.
    void GetBitmap(int index, TBitmap* image);
    void GetIcon(int index, TIcon* icon);

    // The picture's pixels (0xAARRGGBB, Width x Height, top row first).
    const std::vector<std::uint32_t>& Pixels(int index) const;
    // The overlay picture registered for 1..3 (0 included), -1 when none.
    int OverlayImage(int overlay) const { return overlay >= 0 && overlay <= 3 ? overlays_[overlay] : -1; }

    TNotifyEvent OnChange;
    // Controls that show the list's pictures hear of every change (the change links).
    void RegisterChanges(TObject* client, TNotifyEvent onChange);
    void UnRegisterChanges(TObject* client);

private:
    struct Picture {
        std::vector<std::uint32_t> argb;
    };
    void Changed();
    void CheckIndex(int index) const;
    void DrawPicture(TCanvas* canvas, int x, int y, const Picture& picture, bool enabled);
    std::vector<Picture> Split(TBitmap* image, TBitmap* mask, std::optional<COLORREF> maskColor) const;

    int width_ = 16, height_ = 16;
    std::vector<Picture> images_;
    int overlays_[4] = {-1, -1, -1, -1};
    std::vector<std::pair<TObject*, TNotifyEvent>> links_;
};

// The image list component of form files.
class TImageList : public TCustomImageList {
    QUILLORA_COMPONENT(TImageList)
public:
    using TCustomImageList::TCustomImageList;
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
};

// Points a control's image-list field at list: the old list forgets the control, the new one
// tells it of changes (onChange) and of its destruction (the control's Notification). False when
// the field already held list.
bool ChangeImageList(TComponent& client, TCustomImageList*& field, TCustomImageList* list, TNotifyEvent onChange);
