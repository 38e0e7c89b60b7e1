#include "controls/shell/RzShellImages.h"

#include "platform/shell/ShellNamespace.h"

int TRzShellImages::Add(std::vector<std::uint32_t> pixels) {
    if (pixels.empty()) return -1;
    if (!list_) {
        list_ = std::make_unique<TImageList>(nullptr);
        list_->SetSize(size_, size_);
    }
    return list_->AddPixels(std::move(pixels));
}

int TRzShellImages::IconIndex(ShellIcon icon) {
    if (const auto it = index_.find(icon); it != index_.end()) return it->second;
    const int index = Add(ShellIconPixels(icon, size_));
    index_[icon] = index;
    return index;
}

int TRzShellImages::ItemIconIndex(const ShellIdList& absolute, DWORD attributes, bool open) {
    const ShellIcon icon = GetShellIcon(absolute, attributes, open);
    if (icon != ShellIcon::File) return IconIndex(icon);
    const std::string name = ShellTypeIconName(ShellIdListToPath(absolute));
    if (name.empty()) return IconIndex(icon);
    if (const auto it = typeIndex_.find(name); it != typeIndex_.end()) return it->second;
    int index = Add(ShellNamedIconPixels(name, size_));
    if (index < 0) index = IconIndex(icon);
    typeIndex_[name] = index;
    return index;
}

void TRzShellImages::UseLinkOverlay() {
    if (list_ && list_->OverlayImage(1) >= 0) return;
    if (const int link = IconIndex(ShellIcon::LinkOverlay); link >= 0) list_->Overlay(link, 1);
}
