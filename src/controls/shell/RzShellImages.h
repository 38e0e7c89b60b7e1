// The pictures a shell control shows: an image list of one size that gains each picture of
// the icon theme on first use (places and folders by kind, files by type), with the link
// emblem as overlay 1. An index, once given, stays the picture's.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/shell/ShellIcons.h"
#include "platform/vcl/GraphicsImageList.h"

class TRzShellImages {
public:
    explicit TRzShellImages(int size) : size_(size) {}

    // The picture's index, added on first use; -1 without a picture source.
    int IconIndex(ShellIcon icon);
    // The picture of an item: a file shows its type's picture, the generic file's when the
    // theme has none for the type.
    int ItemIconIndex(const ShellIdList& absolute, DWORD attributes, bool open);
    // The image list, made with the first picture; null until then.
    TImageList* List() const { return list_.get(); }
    // Makes sure overlay 1 (the link emblem) is set when a link is shown.
    void UseLinkOverlay();

private:
    int Add(std::vector<std::uint32_t> pixels);

    int size_;
    std::unique_ptr<TImageList> list_;
    std::map<ShellIcon, int> index_;
    std::map<std::string, int> typeIndex_;  // by the theme's icon name
};
