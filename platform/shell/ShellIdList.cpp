#include "platform/shell/ShellIdList.h"

#include <algorithm>

namespace {

// An item's size field is 16 bits and counts itself.
constexpr std::size_t kMaxItemBytes = 0xFFFF - 2;

}  // namespace

ShellIdList ShellIdList::Single(std::string item) { return ShellIdList(std::vector<std::string>{std::move(item)}); }

std::optional<ShellIdList> ShellIdList::FromBytes(std::span<const std::uint8_t> bytes) {
    std::vector<std::string> items;
    std::size_t at = 0;
    while (at + 2 <= bytes.size()) {
        const std::size_t cb = bytes[at] | (bytes[at + 1] << 8);
        if (cb == 0) return ShellIdList(std::move(items));
        if (cb <= 2 || cb > bytes.size() - at) return std::nullopt;
        items.emplace_back(reinterpret_cast<const char*>(bytes.data() + at + 2), cb - 2);
        at += cb;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> ShellIdList::Bytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(Size());
    for (const std::string& item : items_) {
        const std::size_t n = std::min(item.size(), kMaxItemBytes);
        const std::size_t cb = n + 2;
        out.push_back(static_cast<std::uint8_t>(cb & 0xFF));
        out.push_back(static_cast<std::uint8_t>(cb >> 8));
        out.insert(out.end(), item.begin(), item.begin() + static_cast<std::ptrdiff_t>(n));
    }
    out.insert(out.end(), {0, 0});
    return out;
}

std::size_t ShellIdList::Size() const {
    std::size_t size = 2;
    for (const std::string& item : items_) size += 2 + std::min(item.size(), kMaxItemBytes);
    return size;
}

ShellIdList ShellIdList::First(int count) const {
    const std::size_t n = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), 0, items_.size());
    return ShellIdList(std::vector<std::string>(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(n)));
}

ShellIdList ShellIdList::Last() const { return items_.empty() ? ShellIdList() : Single(items_.back()); }

bool ShellIdList::StartsWith(const ShellIdList& prefix) const {
    return prefix.items_.size() <= items_.size() &&
           std::equal(prefix.items_.begin(), prefix.items_.end(), items_.begin());
}

ShellIdList ShellIdList::operator+(const ShellIdList& relative) const {
    std::vector<std::string> all = items_;
    all.insert(all.end(), relative.items_.begin(), relative.items_.end());
    return ShellIdList(std::move(all));
}
