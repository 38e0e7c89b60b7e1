// Little-endian numbers inside file formats; callers check the bounds first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

inline std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint64_t Le64(const unsigned char* p) {
    return static_cast<std::uint64_t>(Le32(p)) | (static_cast<std::uint64_t>(Le32(p + 4)) << 32);
}

inline std::uint16_t Le16(std::string_view d, std::size_t at) {
    return Le16(reinterpret_cast<const unsigned char*>(d.data() + at));
}

inline std::uint32_t Le32(std::string_view d, std::size_t at) {
    return Le32(reinterpret_cast<const unsigned char*>(d.data() + at));
}

// Stores the low four bytes of v at p.
inline void PutLe32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Appends the low bytes (1 .. 8) of value.
inline void AppendLe(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
