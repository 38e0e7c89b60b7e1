#include "platform/com/FileGroupDescriptor.h"

#include "platform/win/WinString.h"

namespace {

std::size_t EntrySize(bool wide) { return wide ? FILEDESCRIPTORW_SIZE : FILEDESCRIPTORA_SIZE; }

}  // namespace

std::optional<std::uint32_t> FileGroupDescriptorCount(std::span<const std::uint8_t> block, bool wide) {
    if (block.size() < 4) return std::nullopt;
    const std::uint32_t count = block[0] | (block[1] << 8) | (block[2] << 16) | (std::uint32_t(block[3]) << 24);
    if (4 + std::uint64_t(count) * EntrySize(wide) > block.size()) return std::nullopt;
    return count;
}

std::optional<std::vector<WideString>> ReadFileGroupDescriptorNames(std::span<const std::uint8_t> block,
                                                                    bool wide) {
    const std::optional<std::uint32_t> count = FileGroupDescriptorCount(block, wide);
    if (!count) return std::nullopt;
    std::vector<WideString> names;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::size_t field = 4 + i * EntrySize(wide) + FILEDESCRIPTOR_NAME_OFFSET;
        WideString wname;
        std::string bytes;
        for (std::size_t k = 0; k < FILEDESCRIPTOR_NAME_CHARS; ++k) {
            if (wide) {
                const char16_t c = char16_t(block[field + 2 * k] | (block[field + 2 * k + 1] << 8));
                if (c == 0) break;
                wname.push_back(c);
            } else {
                if (block[field + k] == 0) break;
                bytes.push_back(static_cast<char>(block[field + k]));
            }
        }
        names.push_back(wide ? wname : Utf8ToUtf16(bytes));
    }
    return names;
}

std::vector<std::uint8_t> BuildFileGroupDescriptor(const std::vector<WideString>& names, bool wide) {
    std::vector<std::uint8_t> block(4 + names.size() * EntrySize(wide), 0);
    const auto count = static_cast<std::uint32_t>(names.size());
    for (int i = 0; i < 4; ++i) block[i] = static_cast<std::uint8_t>(count >> (8 * i));
    for (std::size_t n = 0; n < names.size(); ++n) {
        const std::size_t field = 4 + n * EntrySize(wide) + FILEDESCRIPTOR_NAME_OFFSET;
        if (wide) {
            const std::size_t len = std::min<std::size_t>(names[n].size(), FILEDESCRIPTOR_NAME_CHARS - 1);
            for (std::size_t k = 0; k < len; ++k) {
                block[field + 2 * k] = static_cast<std::uint8_t>(names[n][k] & 0xFF);
                block[field + 2 * k + 1] = static_cast<std::uint8_t>(names[n][k] >> 8);
            }
        } else {
            const AnsiString bytes = Utf16ToUtf8(names[n]);
            const std::size_t len = std::min<std::size_t>(bytes.size(), FILEDESCRIPTOR_NAME_CHARS - 1);
            for (std::size_t k = 0; k < len; ++k) block[field + k] = static_cast<std::uint8_t>(bytes[k]);
        }
    }
    return block;
}
