// The shell list's default column widths as the desktop keeps them for every folder window:
// the registry value "DirectoryCols", up to eleven little-endian 16-bit values of which the
// first four are the Name, Size, Type and Modified widths.
#pragma once

#include <cstdint>
#include <vector>

// The value as stored (at most 22 bytes); empty when absent, unreadable or longer.
std::vector<std::uint8_t> ReadDirectoryCols();
// The four widths a value gives: the defaults 200, 60, 100, 120 overlaid with its bytes.
std::vector<int> DirectoryColsWidths(const std::vector<std::uint8_t>& value);
// Stores the widths of columns (the first four; further stored values are kept); false when
// the registry refused.
bool WriteDirectoryCols(const std::vector<int>& widths);
