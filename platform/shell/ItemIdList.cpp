#include "platform/shell/ItemIdList.h"

#include <algorithm>
#include <utility>

ItemIdList ItemIdList::FromPath(const WideString& path) {
    std::vector<WideString> parts;
    WideString part;
    for (char16_t c : path) {
        if (c == u'/') {
            if (!part.empty()) parts.push_back(std::exchange(part, {}));
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts.push_back(part);
    return ItemIdList(std::move(parts));
}

WideString ItemIdList::ToPath() const {
    if (components_.empty()) return u"/";
    WideString path;
    for (const WideString& c : components_) path += u"/" + c;
    return path;
}

ItemIdList ItemIdList::Combine(const ItemIdList& relative) const {
    std::vector<WideString> all = components_;
    all.insert(all.end(), relative.components_.begin(), relative.components_.end());
    return ItemIdList(std::move(all));
}

std::optional<ItemIdList> ItemIdList::RelativeTo(const ItemIdList& prefix) const {
    if (prefix.components_.size() > components_.size() ||
        !std::equal(prefix.components_.begin(), prefix.components_.end(), components_.begin()))
        return std::nullopt;
    return ItemIdList({components_.begin() + prefix.components_.size(), components_.end()});
}

std::vector<std::uint8_t> ItemIdList::Serialize() const {
    std::vector<std::uint8_t> out;
    for (const WideString& c : components_) {
        const std::size_t size = 2 + 2 * std::min<std::size_t>(c.size(), 0x7FF0);
        out.push_back(static_cast<std::uint8_t>(size & 0xFF));
        out.push_back(static_cast<std::uint8_t>(size >> 8));
        for (std::size_t i = 0; 2 + 2 * i < size; ++i) {
            out.push_back(static_cast<std::uint8_t>(c[i] & 0xFF));
            out.push_back(static_cast<std::uint8_t>(c[i] >> 8));
        }
    }
    out.insert(out.end(), {0, 0});
    return out;
}

std::size_t ItemIdList::SizeOf(std::span<const std::uint8_t> bytes) {
    std::uint64_t at = 0;
    while (at + 2 <= bytes.size()) {
        const std::uint64_t cb = bytes[at] | (bytes[at + 1] << 8);
        if (cb == 0) return static_cast<std::size_t>(at + 2);
        // An item holds its own size field and whole UTF-16 units.
        if (cb < 2 || cb % 2 != 0 || at + cb > bytes.size()) return 0;
        at += cb;
    }
    return 0;
}

std::optional<ItemIdList> ItemIdList::Parse(std::span<const std::uint8_t> bytes) {
    const std::size_t size = SizeOf(bytes);
    if (size == 0) return std::nullopt;
    std::vector<WideString> parts;
    std::size_t at = 0;
    while (at + 2 < size) {
        const std::size_t cb = bytes[at] | (bytes[at + 1] << 8);
        WideString c;
        for (std::size_t i = at + 2; i + 1 < at + cb; i += 2)
            c.push_back(char16_t(bytes[i] | (bytes[i + 1] << 8)));
        parts.push_back(std::move(c));
        at += cb;
    }
    return ItemIdList(std::move(parts));
}
