// The favorites file ("favorites.xml"): the tree of favorite items as nested elements under
// "Items". It is saved atomically, and a file that cannot be read as favorites is kept aside
// under another name, never written over, so the user's favorites are not lost.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "favorites/FavItems.h"

struct FavNode {
    std::unique_ptr<FavItem> item;
    std::vector<FavNode> children;
};

// A tree of items owned elsewhere (by the favorites pane's nodes), for writing.
struct FavItemRef {
    const FavItem* item = nullptr;
    std::vector<FavItemRef> children;
};

struct FavLoadResult {
    std::vector<FavNode> nodes;  // what was read, also when reading stopped at an error
    WideString error;            // empty when the file read cleanly (or is missing)
    WideString keptAsidePath;    // where a damaged file was moved, when it was
};

// Reads text; elements of unknown names are left out and their children join the parent.
FavLoadResult ParseFavorites(std::string_view text);
// Reads the file; a missing or empty file is no favorites and no error. A file that is not
// well-formed is renamed to "<name>.damaged" (or "<name>.damaged-N") and the result says so.
FavLoadResult LoadFavoritesFile(const WideString& path);

std::string FavoritesText(const std::vector<FavItemRef>& nodes);
std::string FavoritesText(const std::vector<FavNode>& nodes);
// Writes the tree atomically; false with the reason when it could not be written.
bool SaveFavoritesFile(const WideString& path, const std::vector<FavItemRef>& nodes, WideString& error);
bool SaveFavoritesFile(const WideString& path, const std::vector<FavNode>& nodes, WideString& error);
