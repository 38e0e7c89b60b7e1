#include "platform/shell/IdListArray.h"

#include <algorithm>

namespace {

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t U32At(std::span<const std::uint8_t> in, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(in[at + i]) << (8 * i);
    return v;
}

}  // namespace

std::vector<std::uint8_t> BuildIdListArray(const IdListArray& array) {
    std::vector<std::vector<std::uint8_t>> lists{array.folder.Serialize()};
    for (const ItemIdList& item : array.items) lists.push_back(item.Serialize());
    std::vector<std::uint8_t> out;
    AppendU32(out, static_cast<std::uint32_t>(array.items.size()));
    std::size_t offset = 4 + 4 * lists.size();
    for (const auto& list : lists) {
        AppendU32(out, static_cast<std::uint32_t>(offset));
        offset += list.size();
    }
    for (const auto& list : lists) out.insert(out.end(), list.begin(), list.end());
    return out;
}

std::optional<IdListArray> ReadIdListArray(std::span<const std::uint8_t> block) {
    if (block.size() < 4) return std::nullopt;
    const std::uint64_t count = U32At(block, 0);
    if (count == 0 || 4 + (count + 1) * 4 > block.size()) return std::nullopt;
    IdListArray array;
    for (std::uint64_t i = 0; i <= count; ++i) {
        const std::uint64_t offset = U32At(block, static_cast<std::size_t>(4 + 4 * i));
        if (offset >= block.size()) return std::nullopt;
        std::optional<ItemIdList> list = ItemIdList::Parse(block.subspan(static_cast<std::size_t>(offset)));
        if (!list) return std::nullopt;
        if (i == 0)
            array.folder = std::move(*list);
        else
            array.items.push_back(std::move(*list));
    }
    return array;
}

std::optional<IdListArray> IdListArrayFromPaths(const std::vector<WideString>& paths) {
    if (paths.empty()) return std::nullopt;
    std::vector<ItemIdList> lists;
    for (const WideString& p : paths) lists.push_back(ItemIdList::FromPath(p));
    // The common folder: the first path's parent, cut to what every path shares.
    std::vector<WideString> root = lists.front().Components();
    if (!root.empty()) root.pop_back();
    for (const ItemIdList& list : lists) {
        const auto& c = list.Components();
        std::size_t n = 0;
        while (n < root.size() && n + 1 < c.size() && root[n] == c[n]) ++n;
        root.resize(n);
    }
    IdListArray array{ItemIdList(root), {}};
    for (const ItemIdList& list : lists) array.items.push_back(*list.RelativeTo(array.folder));
    return array;
}

std::vector<WideString> PathsFromIdListArray(const IdListArray& array) {
    std::vector<WideString> paths;
    for (const ItemIdList& item : array.items) paths.push_back(array.folder.Combine(item).ToPath());
    return paths;
}
