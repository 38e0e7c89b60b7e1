// The directory of a compound file image, read and checked before any stream is read: Parse
// turns every structural fault into one clear failure (a damaged file never loads partly), its
// directory gives the enumeration order and the element sizes, and its allocation tables lead
// a stream's reads to the image's sectors.
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
        std::uint32_t start = 0;  // first sector of a stream (a mini sector below the cutoff)
        std::vector<std::uint32_t> children;  // entry indexes in directory order
    };

    // Where the bytes of a stream lie in the image: one offset a block, in stream order.
    struct Extents {
        std::vector<std::uint64_t> offsets;
        std::size_t blockSize = 0;
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

    // The blocks of stream entry `index` of the parsed image (chains checked by Parse).
    Extents StreamExtents(std::uint32_t index) const;

    static constexpr int kMaxDepth = 128;

private:
    HRESULT Fail(HRESULT hr, std::string why);

    std::vector<Entry> entries_;
    std::string reason_;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<std::uint32_t> miniStreamSectors_;  // the root entry's chain
    std::size_t sectorSize_ = 512;
};
