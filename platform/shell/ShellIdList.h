// Item ID lists of the file-system namespace. A list is a run of items from the desktop down;
// each item is written as the shell writes it (a 16-bit little-endian size that counts itself,
// then the item's bytes) and the list is closed by a zero size. An item's bytes are one kind
// byte and then its raw name bytes, so a name that is not UTF-8 keeps the bytes that open it.
// The empty list is the desktop.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class ShellIdList {
public:
    ShellIdList() = default;
    // A list of one item.
    static ShellIdList Single(std::string item);
    // The list at the start of bytes; none when an item's size is impossible, an item is
    // empty, or the closing zero lies beyond the bytes.
    static std::optional<ShellIdList> FromBytes(std::span<const std::uint8_t> bytes);

    std::vector<std::uint8_t> Bytes() const;
    // Bytes including the closing zero: 2 for the desktop.
    std::size_t Size() const;

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    const std::string& Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    // The first count items (all when count exceeds Count).
    ShellIdList First(int count) const;
    // The last item alone; the desktop for the desktop.
    ShellIdList Last() const;
    // Everything but the last item; the desktop for the desktop.
    ShellIdList Parent() const { return First(Count() - 1); }
    bool StartsWith(const ShellIdList& prefix) const;
    ShellIdList operator+(const ShellIdList& relative) const;

    friend bool operator==(const ShellIdList&, const ShellIdList&) = default;
    friend auto operator<=>(const ShellIdList&, const ShellIdList&) = default;

private:
    explicit ShellIdList(std::vector<std::string> items) : items_(std::move(items)) {}
    std::vector<std::string> items_;
};
