// File group descriptors of virtual files: a 32-bit count, then fixed-size descriptors
// (332 bytes 8-bit, 592 bytes wide) whose name field of 260 characters is at offset 72.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/win/WinTypes.h"

inline constexpr std::size_t FILEDESCRIPTORA_SIZE = 332, FILEDESCRIPTORW_SIZE = 592;
inline constexpr std::size_t FILEDESCRIPTOR_NAME_OFFSET = 72, FILEDESCRIPTOR_NAME_CHARS = 260;

// The count of a block when the block holds that many descriptors (computed in 64 bits).
std::optional<std::uint32_t> FileGroupDescriptorCount(std::span<const std::uint8_t> block, bool wide);
// The names of a valid block (8-bit names read as UTF-8), each up to its terminator within
// its field; none for a block too small for its count.
std::optional<std::vector<WideString>> ReadFileGroupDescriptorNames(std::span<const std::uint8_t> block,
                                                                    bool wide);
// A zeroed descriptor block carrying the names (cut to 259 characters).
std::vector<std::uint8_t> BuildFileGroupDescriptor(const std::vector<WideString>& names, bool wide);
