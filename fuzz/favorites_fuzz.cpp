// Reads arbitrary bytes as a favorites file, writes the tree back and reads that again: nothing
// may crash or hang, and a tree that read cleanly reads back with the same shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "favorites/FavoritesFile.h"

namespace {

std::size_t Count(const std::vector<FavNode>& nodes) {
    std::size_t n = nodes.size();
    for (const FavNode& node : nodes) n += Count(node.children);
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FavLoadResult first = ParseFavorites(std::string(reinterpret_cast<const char*>(data), size));
    const FavLoadResult again = ParseFavorites(FavoritesText(first.nodes));
    if (!again.error.empty() || Count(again.nodes) != Count(first.nodes)) std::abort();
    return 0;
}
