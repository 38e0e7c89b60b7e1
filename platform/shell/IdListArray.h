// "Shell IDList Array": a folder and items relative to it. A 32-bit item count, then count + 1
// 32-bit offsets from the block's start (the folder's list first), then the lists.
#pragma once

#include <optional>

#include "platform/shell/ItemIdList.h"

struct IdListArray {
    ItemIdList folder;
    std::vector<ItemIdList> items;
};

std::vector<std::uint8_t> BuildIdListArray(const IdListArray& array);
// None for a block with no items, an offset outside the block or a malformed list.
std::optional<IdListArray> ReadIdListArray(std::span<const std::uint8_t> block);

// The deepest folder holding all paths, and the paths relative to it ("/A/f1" and "/A/B/f2"
// give A with f1 and B/f2). None without paths.
std::optional<IdListArray> IdListArrayFromPaths(const std::vector<WideString>& paths);
std::vector<WideString> PathsFromIdListArray(const IdListArray& array);
