#include "platform/com/DropFilesBlock.h"

#include <cstring>

#include "platform/win/FileNameText.h"
#include "platform/win/WinString.h"

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetU32(std::span<const std::uint8_t> in, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(in[at + i]) << (8 * i);
    return v;
}

}  // namespace

std::vector<std::uint8_t> BuildDropFilesBlock(const std::vector<WideString>& names, bool wide) {
    if (names.empty()) return {};
    std::vector<std::uint8_t> list;
    for (const WideString& name : names) {
        if (wide) {
            for (char16_t c : name) {
                list.push_back(static_cast<std::uint8_t>(c & 0xFF));
                list.push_back(static_cast<std::uint8_t>(c >> 8));
            }
            list.insert(list.end(), {0, 0});
        } else {
            const AnsiString bytes = FileNameFromUtf16(name);
            list.insert(list.end(), bytes.begin(), bytes.end());
            list.push_back(0);
        }
    }
    // The final empty name, and a spare zero so the size is the same formula in both modes.
    std::vector<std::uint8_t> block(DROPFILES_HEADER_SIZE + list.size() + 2, 0);
    PutU32(block, 0, DROPFILES_HEADER_SIZE);
    PutU32(block, 16, wide ? 1 : 0);
    std::memcpy(block.data() + DROPFILES_HEADER_SIZE, list.data(), list.size());
    return block;
}

std::vector<WideString> ReadDropFilesBlock(std::span<const std::uint8_t> block) {
    std::vector<WideString> names;
    if (block.size() <= DROPFILES_HEADER_SIZE) return names;
    const std::uint64_t offset = GetU32(block, 0);
    const bool wide = GetU32(block, 16) != 0;
    if (offset < DROPFILES_HEADER_SIZE || offset >= block.size()) return names;
    const std::size_t width = wide ? 2 : 1;
    std::size_t at = static_cast<std::size_t>(offset);
    while (at + width <= block.size()) {
        WideString wname;
        std::string bytes;
        bool terminated = false;
        for (; at + width <= block.size(); at += width) {
            const char16_t c = wide ? char16_t(block[at] | (block[at + 1] << 8)) : char16_t(block[at]);
            if (c == 0) {
                terminated = true;
                at += width;
                break;
            }
            if (wide)
                wname.push_back(c);
            else
                bytes.push_back(static_cast<char>(block[at]));
        }
        WideString name = wide ? wname : FileNameToUtf16(bytes);
        // An unterminated name at the block's end is cut off data, not a name.
        if (name.empty() || !terminated) break;
        names.push_back(std::move(name));
    }
    return names;
}

HGLOBAL BuildDropFilesGlobal(const std::vector<WideString>& names, bool wide) {
    const std::vector<std::uint8_t> bytes = BuildDropFilesBlock(names, wide);
    if (bytes.empty()) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) return nullptr;
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

std::vector<WideString> ReadFilesFromHGlobal(HGLOBAL block) {
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block));
    if (!bytes) return {};
    std::vector<WideString> names = ReadDropFilesBlock({bytes, GlobalSize(block)});
    GlobalUnlock(block);
    return names;
}
