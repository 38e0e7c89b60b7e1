// Little-endian numbers inside picture data; callers check the bounds first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace richtext {

inline std::uint32_t Le32(std::string_view d, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(d[at + i]);
    return v;
}

inline std::uint16_t Le16(std::string_view d, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(d[at]) |
                                      (static_cast<unsigned char>(d[at + 1]) << 8));
}

}  // namespace richtext
