#include "controls/shell/RzShellImages.h"

int TRzShellImages::IconIndex(ShellIcon icon) {
    if (const auto it = index_.find(icon); it != index_.end()) return it->second;
    std::vector<std::uint32_t> pixels = ShellIconPixels(icon, size_);
    int index = -1;
    if (!pixels.empty()) {
        if (!list_) {
            list_ = std::make_unique<TImageList>(nullptr);
            list_->SetSize(size_, size_);
        }
        index = list_->AddPixels(std::move(pixels));
    }
    index_[icon] = index;
    return index;
}

void TRzShellImages::UseLinkOverlay() {
    if (list_ && list_->OverlayImage(1) >= 0) return;
    if (const int link = IconIndex(ShellIcon::LinkOverlay); link >= 0) list_->Overlay(link, 1);
}
