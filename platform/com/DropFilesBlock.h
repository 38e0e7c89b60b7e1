// The drop-files list (CF_HDROP): a 20-byte header (offset of the list, drop point,
// non-client flag, wide flag), then each name with a terminating zero, then one more zero.
// Blocks come from other processes: reading never leaves the block.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/win/WinGlobalMemory.h"

inline constexpr std::size_t DROPFILES_HEADER_SIZE = 20;

// The block for names; in 8-bit mode the names are written as UTF-8. Empty when there are no
// names (a block of the header alone carries nothing).
std::vector<std::uint8_t> BuildDropFilesBlock(const std::vector<WideString>& names, bool wide);
// The names of a block, read until an empty name or the block's end. A block of the header
// or less, or whose list offset lies outside it, gives none.
std::vector<WideString> ReadDropFilesBlock(std::span<const std::uint8_t> block);

// The same on a global block (a new movable block; null without names or memory).
HGLOBAL BuildDropFilesGlobal(const std::vector<WideString>& names, bool wide);
std::vector<WideString> ReadFilesFromHGlobal(HGLOBAL block);
