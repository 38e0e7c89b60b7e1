// The pictures a shell control shows: an image list of one size that gains each picture of
// the icon theme on first use, with the link emblem as overlay 1.
#pragma once

#include <map>
#include <memory>

#include "platform/shell/ShellIcons.h"
#include "platform/vcl/GraphicsImageList.h"

class TRzShellImages {
public:
    explicit TRzShellImages(int size) : size_(size) {}

    // The picture's index, added on first use; -1 without a picture source.
    int IconIndex(ShellIcon icon);
    // The image list, made with the first picture; null until then.
    TImageList* List() const { return list_.get(); }
    // Makes sure overlay 1 (the link emblem) is set when a link is shown.
    void UseLinkOverlay();

private:
    int size_;
    std::unique_ptr<TImageList> list_;
    std::map<ShellIcon, int> index_;
};
