// The directory of a compound file image, read and checked before libgsf reads the streams.
// libgsf survives most damage without crashing, but it drops broken streams silently and so
// would let a damaged file load partly; Parse turns every structural fault into one clear
// failure, and its directory gives the enumeration order and the element sizes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

class CompoundFileDirectory {
public:
    struct Entry {
        WideString name;
        std::uint8_t type = 0;  // STGTY_STORAGE, STGTY_STREAM, or 5 for the root
        std::uint64_t size = 0;
        CLSID clsid{};
        std::vector<std::uint32_t> children;  // entry indexes in directory order
    };

    // True when the bytes begin with the compound-file signature.
    static bool HasSignature(const std::uint8_t* data, std::size_t size);

    // S_OK when the image is sound: a valid header; DIFAT, FAT, mini FAT, directory and every
    // stream chain in range and free of loops; the directory tree reachable from the root
    // acyclic, no entry in it twice, storages nested at most kMaxDepth deep; every stream's
    // chain long enough for its size. Otherwise STG_E_INVALIDHEADER or STG_E_DOCFILECORRUPT,
    // with the reason in reason().
    HRESULT Parse(const std::uint8_t* data, std::size_t size);
    const std::string& reason() const { return reason_; }

    // Index 0 is the root; entries not reachable from it stay empty.
    const std::vector<Entry>& entries() const { return entries_; }

    static constexpr int kMaxDepth = 128;

private:
    HRESULT Fail(HRESULT hr, std::string why);

    std::vector<Entry> entries_;
    std::string reason_;
};
