// Item-ID lists of the synthetic shell namespace: a list is a run of items, each one path
// component, written as the shell does (a 16-bit size including itself, the item's bytes) and
// closed by a zero size. An item's bytes are its component in UTF-16.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/win/WinTypes.h"

class ItemIdList {
public:
    ItemIdList() = default;
    explicit ItemIdList(std::vector<WideString> components) : components_(std::move(components)) {}

    // The list of an absolute path ("/a/b" gives a, b); the root is the empty list.
    static ItemIdList FromPath(const WideString& path);
    WideString ToPath() const;

    const std::vector<WideString>& Components() const { return components_; }
    bool Empty() const { return components_.empty(); }
    ItemIdList Combine(const ItemIdList& relative) const;
    // The part after prefix when the list starts with it.
    std::optional<ItemIdList> RelativeTo(const ItemIdList& prefix) const;
    bool operator==(const ItemIdList&) const = default;

    std::vector<std::uint8_t> Serialize() const;
    // The list at the start of bytes; none when an item's size is impossible or the closing
    // zero lies beyond the bytes.
    static std::optional<ItemIdList> Parse(std::span<const std::uint8_t> bytes);
    // Bytes of the list at the start of bytes including its closing zero; 0 when malformed.
    static std::size_t SizeOf(std::span<const std::uint8_t> bytes);

private:
    std::vector<WideString> components_;
};
