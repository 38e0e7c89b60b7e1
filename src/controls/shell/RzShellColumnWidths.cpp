#include "controls/shell/RzShellColumnWidths.h"

#include <algorithm>

#include "platform/vcl/Registry.h"

namespace {

constexpr char kExplorerKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr char kValue[] = "DirectoryCols";
constexpr int kMaxBytes = 22;
constexpr std::uint16_t kDefaults[] = {200, 60, 100, 120, 50};
constexpr int kColumns = 4;

std::vector<std::uint8_t> DefaultBytes() {
    std::vector<std::uint8_t> bytes;
    for (const std::uint16_t w : kDefaults) {
        bytes.push_back(static_cast<std::uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> ReadDirectoryCols() {
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        if (!reg.OpenKeyReadOnly(kExplorerKey) || !reg.ValueExists(kValue)) return {};
        const int size = reg.GetDataSize(kValue);
        if (size <= 0 || size > kMaxBytes) return {};
        std::vector<std::uint8_t> value(static_cast<std::size_t>(size));
        if (reg.ReadBinaryData(kValue, value.data(), size) != size) return {};
        return value;
    } catch (const Exception&) {
        return {};  // a value of another type: as if absent
    }
}

std::vector<int> DirectoryColsWidths(const std::vector<std::uint8_t>& value) {
    std::vector<std::uint8_t> bytes = DefaultBytes();
    std::copy_n(value.begin(), std::min(value.size(), bytes.size()), bytes.begin());
    std::vector<int> widths;
    for (int i = 0; i < kColumns; ++i)
        widths.push_back(bytes[static_cast<std::size_t>(2 * i)] | bytes[static_cast<std::size_t>(2 * i + 1)] << 8);
    return widths;
}

bool WriteDirectoryCols(const std::vector<int>& widths) {
    std::vector<std::uint8_t> value = ReadDirectoryCols();
    if (value.size() < 2 * kColumns) {
        const std::vector<std::uint8_t> defaults = DefaultBytes();
        value.resize(defaults.size());
        std::copy(defaults.begin(), defaults.end(), value.begin());
    }
    for (int i = 0; i < kColumns && i < static_cast<int>(widths.size()); ++i) {
        const int w = std::clamp(widths[static_cast<std::size_t>(i)], 0, 0xFFFF);
        value[static_cast<std::size_t>(2 * i)] = static_cast<std::uint8_t>(w & 0xFF);
        value[static_cast<std::size_t>(2 * i + 1)] = static_cast<std::uint8_t>(w >> 8);
    }
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        if (!reg.OpenKey(kExplorerKey, true)) return false;
        reg.WriteBinaryData(kValue, value.data(), static_cast<int>(value.size()));
        return true;
    } catch (const Exception&) {
        return false;
    }
}
