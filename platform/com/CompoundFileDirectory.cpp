#include "platform/com/CompoundFileDirectory.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/com/StructuredStorage.h"
#include "platform/win/ByteOrder.h"

namespace {

constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::uint32_t kMaxRegSect = 0xFFFFFFFAu;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFEu;
constexpr std::uint32_t kFreeSect = 0xFFFFFFFFu;
constexpr std::uint32_t kNoStream = 0xFFFFFFFFu;
constexpr std::size_t kDirEntrySize = 128;

// Walks sector chains of one allocation table, marking visits with a per-walk stamp so that
// a loop is seen without clearing a bitmap each time.
class ChainWalker {
public:
    // limit: sectors that exist. In a sound file every sector belongs to one chain at most,
    // so the walks together may visit each sector about once; chains that share sectors
    // would make the check quadratic and are refused past twice that.
    ChainWalker(const std::vector<std::uint32_t>& table, std::uint32_t limit)
        : table_(table), limit_(limit), stamp_(table.size(), 0),
          budget_(2 * static_cast<std::uint64_t>(limit) + 64) {}

    // Collects the chain from start; false on an index out of range, a loop, a free entry or
    // an exhausted budget.
    bool Walk(std::uint32_t start, std::vector<std::uint32_t>& chain) {
        chain.clear();
        ++walk_;
        for (std::uint32_t s = start; s != kEndOfChain;) {
            if (s >= limit_ || s >= table_.size()) return false;
            if (stamp_[s] == walk_ || budget_ == 0) return false;
            --budget_;
            stamp_[s] = walk_;
            chain.push_back(s);
            s = table_[s];
            if (s == kFreeSect) return false;
        }
        return true;
    }

private:
    const std::vector<std::uint32_t>& table_;
    std::uint32_t limit_;
    std::vector<std::uint32_t> stamp_;
    std::uint64_t budget_;
    std::uint32_t walk_ = 0;
};

CLSID ReadClsid(const std::uint8_t* p) {
    CLSID id;
    id.Data1 = Le32(p);
    id.Data2 = Le16(p + 4);
    id.Data3 = Le16(p + 6);
    std::memcpy(id.Data4, p + 8, 8);
    return id;
}

}  // namespace

bool CompoundFileDirectory::HasSignature(const std::uint8_t* data, std::size_t size) {
    return data && size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

HRESULT CompoundFileDirectory::Fail(HRESULT hr, std::string why) {
    reason_ = std::move(why);
    return hr;
}

HRESULT CompoundFileDirectory::Parse(const std::uint8_t* data, std::size_t size) {
    reason_.clear();
    entries_.clear();
    if (!HasSignature(data, size) || size < 512) return Fail(STG_E_INVALIDHEADER, "no compound-file header");
    const std::uint16_t major = Le16(data + 26);
    const std::uint16_t sectorShift = Le16(data + 30);
    const std::uint16_t miniShift = Le16(data + 32);
    if (Le16(data + 28) != 0xFFFE) return Fail(STG_E_INVALIDHEADER, "bad byte order mark");
    if (!((major == 3 && sectorShift == 9) || (major == 4 && sectorShift == 12)))
        return Fail(STG_E_INVALIDHEADER, "unsupported version or sector size");
    if (miniShift != 6) return Fail(STG_E_INVALIDHEADER, "unsupported mini sector size");

    const std::size_t ss = std::size_t{1} << sectorShift;
    const std::size_t perSector = ss / 4;
    if (size < ss) return Fail(STG_E_DOCFILECORRUPT, "file shorter than its header sector");
    // Sectors that start inside the file; a short last sector counts (it reads as zeros).
    const std::uint64_t sectorCount64 = (size - ss + ss - 1) / ss;
    if (sectorCount64 >= kMaxRegSect) return Fail(STG_E_DOCFILECORRUPT, "file too large");
    const auto sectorCount = static_cast<std::uint32_t>(sectorCount64);
    auto sectorData = [&](std::uint32_t s, std::size_t offset) -> const std::uint8_t* {
        std::size_t pos = (static_cast<std::size_t>(s) + 1) * ss + offset;
        return pos + 4 <= size ? data + pos : nullptr;
    };
    auto read32 = [&](std::uint32_t s, std::size_t offset, std::uint32_t& v) {
        const std::uint8_t* p = sectorData(s, offset);
        v = p ? Le32(p) : 0;  // the missing tail of a short last sector reads as zeros
    };

    const std::uint32_t fatSectors = Le32(data + 44);
    const std::uint32_t dirStart = Le32(data + 48);
    const std::uint32_t miniCutoff = Le32(data + 56);
    const std::uint32_t miniFatStart = Le32(data + 60);
    const std::uint32_t miniFatSectors = Le32(data + 64);
    std::uint32_t difatNext = Le32(data + 68);
    const std::uint32_t difatSectors = Le32(data + 72);
    if (miniCutoff != 4096) return Fail(STG_E_INVALIDHEADER, "unexpected mini stream cutoff");
    if (fatSectors > sectorCount) return Fail(STG_E_DOCFILECORRUPT, "more FAT sectors than the file holds");
    if (difatSectors > sectorCount) return Fail(STG_E_DOCFILECORRUPT, "more DIFAT sectors than the file holds");

    // FAT sector list from the header's 109 entries and the DIFAT chain.
    std::vector<std::uint32_t> fatList;
    fatList.reserve(fatSectors);
    for (std::uint32_t i = 0; i < 109 && fatList.size() < fatSectors; ++i)
        fatList.push_back(Le32(data + 76 + 4 * i));
    std::vector<bool> seenDifat(sectorCount, false);
    for (std::uint32_t n = 0; fatList.size() < fatSectors; ++n) {
        if (n >= difatSectors || difatNext >= sectorCount || seenDifat[difatNext])
            return Fail(STG_E_DOCFILECORRUPT, "broken DIFAT chain");
        seenDifat[difatNext] = true;
        for (std::size_t i = 0; i + 1 < perSector && fatList.size() < fatSectors; ++i) {
            std::uint32_t v;
            read32(difatNext, 4 * i, v);
            fatList.push_back(v);
        }
        read32(difatNext, 4 * (perSector - 1), difatNext);
    }
    std::vector<std::uint32_t> fat(fatList.size() * perSector);
    for (std::size_t k = 0; k < fatList.size(); ++k) {
        const std::uint32_t s = fatList[k];
        if (s >= sectorCount) return Fail(STG_E_DOCFILECORRUPT, "FAT sector out of range");
        for (std::size_t i = 0; i < perSector; ++i) read32(s, 4 * i, fat[k * perSector + i]);
    }
    ChainWalker fatWalk(fat, sectorCount);
    std::vector<std::uint32_t> chain;

    // Directory entries.
    if (!fatWalk.Walk(dirStart, chain) || chain.empty())
        return Fail(STG_E_DOCFILECORRUPT, "broken directory chain");
    std::vector<const std::uint8_t*> entries;
    for (std::uint32_t s : chain)
        for (std::size_t k = 0; k + kDirEntrySize <= ss; k += kDirEntrySize) {
            const std::uint8_t* p = sectorData(s, k);
            std::size_t pos = (static_cast<std::size_t>(s) + 1) * ss + k;
            entries.push_back(pos + kDirEntrySize <= size ? p : nullptr);
        }
    const std::uint8_t* root = entries[0];
    if (!root || root[66] != 5) return Fail(STG_E_DOCFILECORRUPT, "no root entry");
    // The root has no siblings; libgsf would follow them (and leaks on that path).
    if (Le32(root + 68) != kNoStream || Le32(root + 72) != kNoStream)
        return Fail(STG_E_DOCFILECORRUPT, "root entry with siblings");
    auto entrySize = [&](const std::uint8_t* e) -> std::uint64_t {
        std::uint64_t lo = Le32(e + 120), hi = Le32(e + 124);
        return major == 3 ? lo : (hi << 32) | lo;  // version 3 ignores the high half
    };

    // Mini FAT and the mini stream (held in the root entry's chain).
    std::vector<std::uint32_t> miniFat;
    if (miniFatSectors > 0) {
        if (!fatWalk.Walk(miniFatStart, chain) || chain.size() < miniFatSectors)
            return Fail(STG_E_DOCFILECORRUPT, "broken mini FAT chain");
        miniFat.resize(chain.size() * perSector);
        for (std::size_t k = 0; k < chain.size(); ++k)
            for (std::size_t i = 0; i < perSector; ++i) read32(chain[k], 4 * i, miniFat[k * perSector + i]);
    }
    const std::uint64_t miniStreamSize = entrySize(root);
    std::vector<std::uint32_t> miniStreamSectors;
    if (miniStreamSize > 0) {
        if (!fatWalk.Walk(Le32(root + 116), chain) || chain.size() * ss < miniStreamSize)
            return Fail(STG_E_DOCFILECORRUPT, "broken mini stream chain");
        miniStreamSectors = chain;
    }
    const std::uint64_t miniSectorCount = (miniStreamSize + 63) / 64;
    ChainWalker miniWalk(miniFat, static_cast<std::uint32_t>(std::min<std::uint64_t>(miniSectorCount, kMaxRegSect)));

    // The tree: each storage's children form a binary tree over left/right siblings.
    std::vector<Entry> out(entries.size());
    std::vector<bool> seen(entries.size(), false);
    seen[0] = true;
    out[0].type = 5;
    out[0].clsid = ReadClsid(root + 80);
    struct Pending {
        std::uint32_t index;
        std::uint32_t parent;
        int depth;
    };
    std::vector<Pending> todo;
    if (Le32(root + 76) != kNoStream) todo.push_back({Le32(root + 76), 0, 1});
    while (!todo.empty()) {
        Pending cur = todo.back();
        todo.pop_back();
        if (cur.index >= entries.size() || !entries[cur.index])
            return Fail(STG_E_DOCFILECORRUPT, "directory entry out of range");
        if (seen[cur.index]) return Fail(STG_E_DOCFILECORRUPT, "directory tree cycle");
        seen[cur.index] = true;
        const std::uint8_t* e = entries[cur.index];
        const std::uint16_t nameBytes = Le16(e + 64);
        if (nameBytes > 64 || nameBytes % 2 != 0) return Fail(STG_E_DOCFILECORRUPT, "bad element name length");
        for (std::uint32_t link : {Le32(e + 68), Le32(e + 72)})
            if (link != kNoStream) todo.push_back({link, cur.parent, cur.depth});
        Entry& entry = out[cur.index];
        entry.name.resize(nameBytes >= 2 ? nameBytes / 2 - 1 : 0);
        for (std::size_t i = 0; i < entry.name.size(); ++i) entry.name[i] = static_cast<char16_t>(Le16(e + 2 * i));
        entry.type = e[66];
        out[cur.parent].children.push_back(cur.index);
        if (entry.type == 1) {
            if (cur.depth >= kMaxDepth) return Fail(STG_E_DOCFILECORRUPT, "storages nested too deep");
            entry.clsid = ReadClsid(e + 80);
            if (Le32(e + 76) != kNoStream) todo.push_back({Le32(e + 76), cur.index, cur.depth + 1});
        } else if (entry.type == 2) {
            const std::uint64_t streamSize = entrySize(e);
            entry.size = streamSize;
            entry.start = Le32(e + 116);
            if (streamSize > size) return Fail(STG_E_DOCFILECORRUPT, "stream longer than the file");
            if (streamSize == 0) continue;
            if (streamSize < miniCutoff) {
                if (!miniWalk.Walk(Le32(e + 116), chain) || chain.size() * 64 < streamSize)
                    return Fail(STG_E_DOCFILECORRUPT, "broken mini stream sector chain");
            } else if (!fatWalk.Walk(Le32(e + 116), chain) || chain.size() * ss < streamSize) {
                return Fail(STG_E_DOCFILECORRUPT, "broken stream sector chain");
            }
        } else {
            return Fail(STG_E_DOCFILECORRUPT, "unused directory entry linked into the tree");
        }
    }
    for (Entry& entry : out)
        std::sort(entry.children.begin(), entry.children.end(), [&out](std::uint32_t a, std::uint32_t b) {
            const WideString& x = out[a].name;
            const WideString& y = out[b].name;
            return CompareStorageElementNames(x.data(), x.size(), y.data(), y.size()) < 0;
        });
    entries_ = std::move(out);
    fat_ = std::move(fat);
    miniFat_ = std::move(miniFat);
    miniStreamSectors_ = std::move(miniStreamSectors);
    sectorSize_ = ss;
    return S_OK;
}

CompoundFileDirectory::Extents CompoundFileDirectory::StreamExtents(std::uint32_t index) const {
    Extents out;
    if (index >= entries_.size() || entries_[index].type != 2 || entries_[index].size == 0) return out;
    const Entry& e = entries_[index];
    // Parse walked every chain: each is in range, loop-free and long enough for its size.
    const bool mini = e.size < 4096;
    out.blockSize = mini ? 64 : sectorSize_;
    const std::uint64_t blocks = (e.size + out.blockSize - 1) / out.blockSize;
    out.offsets.reserve(static_cast<std::size_t>(blocks));
    const std::vector<std::uint32_t>& table = mini ? miniFat_ : fat_;
    std::uint32_t s = e.start;
    for (std::uint64_t b = 0; b < blocks && s < table.size(); ++b, s = table[s]) {
        if (!mini) {
            out.offsets.push_back((static_cast<std::uint64_t>(s) + 1) * sectorSize_);
            continue;
        }
        const std::uint64_t at = static_cast<std::uint64_t>(s) * 64;
        const std::uint64_t sector = miniStreamSectors_[static_cast<std::size_t>(at / sectorSize_)];
        out.offsets.push_back((sector + 1) * sectorSize_ + at % sectorSize_);
    }
    return out;
}
