#include "platform/mapi/PstNodeReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/win/ByteOrder.h"

namespace {

constexpr std::size_t kPage = 512;
constexpr std::size_t kMaxBlock = 8192;
constexpr int kMaxDepth = 16;  // deeper trees are damaged (or looping) ones
constexpr std::size_t kCachedPages = 4096;  // 2 MB of block-tree pages
constexpr std::uint8_t kPageBlockTree = 0x80, kPageNodeTree = 0x81;

// The byte permutation of stores kept with the simple encoding: stored = kPermute[plain].
constexpr std::uint8_t kPermute[256] = {
    65,  54,  19,  98,  168, 33,  110, 187, 244, 22,  204, 4,   127, 100, 232, 93,  30,  242, 203, 42,  116, 197,
    94,  53,  210, 149, 71,  158, 150, 45,  154, 136, 76,  125, 132, 63,  219, 172, 49,  182, 72,  95,  246, 196,
    216, 57,  139, 231, 35,  59,  56,  142, 200, 193, 223, 37,  177, 32,  165, 70,  96,  78,  156, 251, 170, 211,
    86,  81,  69,  124, 85,  0,   7,   201, 43,  157, 133, 155, 9,   160, 143, 173, 179, 15,  99,  171, 137, 75,
    215, 167, 21,  90,  113, 102, 66,  191, 38,  74,  107, 152, 250, 234, 119, 83,  178, 112, 5,   44,  253, 89,
    58,  134, 126, 206, 6,   235, 130, 120, 87,  199, 141, 67,  175, 180, 28,  212, 91,  205, 226, 233, 39,  79,
    195, 8,   114, 128, 207, 176, 239, 245, 40,  109, 190, 48,  77,  52,  146, 213, 14,  60,  34,  50,  229, 228,
    249, 159, 194, 209, 10,  129, 18,  225, 238, 145, 131, 118, 227, 151, 230, 97,  138, 23,  121, 164, 183, 220,
    144, 122, 92,  140, 2,   166, 202, 105, 222, 80,  26,  17,  147, 185, 82,  135, 88,  252, 237, 29,  55,  73,
    27,  106, 224, 41,  51,  153, 189, 108, 217, 148, 243, 64,  84,  111, 240, 198, 115, 184, 214, 62,  101, 24,
    68,  31,  221, 103, 16,  241, 12,  25,  236, 174, 3,   161, 20,  123, 169, 11,  255, 248, 163, 192, 162, 1,
    247, 46,  188, 36,  104, 117, 13,  254, 186, 47,  181, 208, 218, 61};

struct Unpermute {
    std::uint8_t table[256];
    constexpr Unpermute() : table() {
        for (int i = 0; i < 256; ++i) table[kPermute[i]] = static_cast<std::uint8_t>(i);
    }
};
constexpr Unpermute kUnpermute;

const unsigned char* U(const std::string& s, std::size_t at = 0) {
    return reinterpret_cast<const unsigned char*>(s.data() + at);
}

bool Internal(std::uint64_t bid) { return (bid & 2) != 0; }

}  // namespace

std::unique_ptr<PstNodeReader> PstNodeReader::Open(const std::string& utf8Path, std::string& why) {
    std::unique_ptr<PstNodeReader> r(new PstNodeReader());
    r->file_.reset(::open(utf8Path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (r->file_.get() < 0 || ::fstat(r->file_.get(), &st) != 0) {
        why = utf8Path + ": " + std::strerror(errno);
        return nullptr;
    }
    r->fileSize_ = static_cast<std::uint64_t>(st.st_size);
    std::string h;
    if (!r->ReadAt(0, 564, h) || std::memcmp(h.data(), "!BDN", 4) != 0) {
        why = "not a personal folders file";
        return nullptr;
    }
    const std::uint16_t version = Le16(U(h, 10));
    std::uint8_t crypt = 0;
    if (version == 14 || version == 15) {
        r->unicode_ = false;
        r->nbtRoot_ = Le32(U(h, 188));
        r->bbtRoot_ = Le32(U(h, 196));
        crypt = static_cast<std::uint8_t>(h[461]);
    } else if (version >= 23 && version < 36) {
        r->nbtRoot_ = Le64(U(h, 224));
        r->bbtRoot_ = Le64(U(h, 240));
        crypt = static_cast<std::uint8_t>(h[513]);
    } else {
        why = "a store version this reader does not read (" + std::to_string(version) + ")";
        return nullptr;
    }
    if (crypt > 1) {
        why = "a store encoding this reader does not read (" + std::to_string(crypt) + ")";
        return nullptr;
    }
    r->permuted_ = crypt == 1;
    return r;
}

bool PstNodeReader::ReadAt(std::uint64_t ib, std::size_t size, std::string& out) const {
    if (ib > fileSize_ || size > fileSize_ - ib) return false;
    out.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(file_.get(), out.data() + done, size - done, static_cast<off_t>(ib + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool PstNodeReader::Page(std::uint64_t ib, const std::string*& out) const {
    const auto found = pages_.find(ib);
    if (found != pages_.end()) {
        out = &found->second;
        return true;
    }
    std::string page;
    if (!ReadAt(ib, kPage, page)) return false;
    if (pages_.size() >= kCachedPages) pages_.clear();  // a bound, not a working set: pages are cheap to read again
    out = &pages_.emplace(ib, std::move(page)).first->second;
    return true;
}

bool PstNodeReader::FindBlock(std::uint64_t bid, std::uint64_t& ib, std::uint16_t& cb) const {
    bid &= ~std::uint64_t{1};  // the lowest bit is not part of the id
    std::lock_guard lock(mutex_);
    const std::size_t entries = unicode_ ? 488 : 496, key = unicode_ ? 8 : 4;
    std::uint64_t at = bbtRoot_;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const std::string* page = nullptr;
        if (!Page(at, page)) return false;
        const unsigned char* p = U(*page);
        const std::size_t count = p[entries], size = p[entries + 2], level = p[entries + 3];
        const std::size_t type = p[unicode_ ? 496 : 500];
        if (type != kPageBlockTree || size == 0 || count * size > entries) return false;
        auto keyAt = [&](std::size_t i) { return key == 8 ? Le64(p + i * size) : Le32(p + i * size); };
        if (level == 0) {
            if (size < 2 * key + 2) return false;
            // Leaves are sorted by id: binary search.
            std::size_t lo = 0, hi = count;
            while (lo < hi) {
                const std::size_t mid = (lo + hi) / 2;
                const std::uint64_t k = keyAt(mid) & ~std::uint64_t{1};
                if (k == bid) {
                    const unsigned char* e = p + mid * size;
                    ib = key == 8 ? Le64(e + 8) : Le32(e + 4);
                    cb = Le16(e + 2 * key);
                    return true;
                }
                if (k < bid) lo = mid + 1; else hi = mid;
            }
            return false;
        }
        if (size < 3 * key) return false;
        // The last entry whose key is not above the id leads on.
        std::size_t pick = count;
        for (std::size_t i = 0; i < count && keyAt(i) <= bid; ++i) pick = i;
        if (pick == count) return false;
        const unsigned char* e = p + pick * size;
        at = key == 8 ? Le64(e + 16) : Le32(e + 8);
    }
    return false;
}

bool PstNodeReader::ReadBlock(std::uint64_t bid, std::string& out) const {
    std::uint64_t ib = 0;
    std::uint16_t cb = 0;
    if (!FindBlock(bid, ib, cb) || cb > kMaxBlock || !ReadAt(ib, cb, out)) return false;
    if (permuted_ && !Internal(bid))
        for (char& c : out) c = static_cast<char>(kUnpermute.table[static_cast<std::uint8_t>(c)]);
    return true;
}

bool PstNodeReader::ReadData(std::uint64_t bid, PstBlocks& out) const {
    out.clear();
    Seen seen;
    return ReadTree(bid, 0, seen, out);
}

bool PstNodeReader::ReadTree(std::uint64_t bid, int depth, Seen& seen, PstBlocks& out) const {
    // A block met twice is a damaged (or hostile) tree: reading it again could loop or multiply.
    if (depth > 2 || !seen.insert(bid & ~std::uint64_t{1}).second) return false;
    std::string block;
    if (!ReadBlock(bid, block)) return false;
    if (!Internal(bid)) {
        out.push_back(std::move(block));
        return true;
    }
    // An index of the blocks below: type 1, its level, the count, the total size, the ids.
    if (block.size() < 8 || block[0] != 0x01) return false;
    const std::size_t count = Le16(U(block, 2)), width = unicode_ ? 8 : 4;
    if (8 + count * width > block.size()) return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t child = width == 8 ? Le64(U(block, 8 + i * 8)) : Le32(U(block, 8 + i * 4));
        if (!ReadTree(child, depth + 1, seen, out)) return false;
    }
    return true;
}

bool PstNodeReader::ReadSubnodes(std::uint64_t bid, std::map<std::uint32_t, PstNodeRef>& out) const {
    out.clear();
    Seen seen;
    return bid == 0 || ReadSubTree(bid, 0, seen, out);
}

bool PstNodeReader::ReadSubTree(std::uint64_t bid, int depth, Seen& seen,
                                std::map<std::uint32_t, PstNodeRef>& out) const {
    if (depth > kMaxDepth || !seen.insert(bid & ~std::uint64_t{1}).second) return false;
    std::string block;
    if (!ReadBlock(bid, block)) return false;
    const std::size_t head = unicode_ ? 8 : 4, width = unicode_ ? 8 : 4;
    if (block.size() < head || block[0] != 0x02) return false;
    const int level = static_cast<std::uint8_t>(block[1]);
    const std::size_t count = Le16(U(block, 2)), size = level == 0 ? 3 * width : 2 * width;
    if (head + count * size > block.size()) return false;
    auto num = [&](std::size_t at) { return width == 8 ? Le64(U(block, at)) : Le32(U(block, at)); };
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = head + i * size;
        if (level == 0) {
            PstNodeRef ref;
            ref.nid = static_cast<std::uint32_t>(num(at));
            ref.data = num(at + width);
            ref.sub = num(at + 2 * width);
            out[ref.nid] = ref;
        } else if (!ReadSubTree(num(at + width), depth + 1, seen, out)) {
            return false;
        }
    }
    return true;
}

bool PstNodeReader::ScanNodes(std::uint64_t ib, int depth, Seen& seen, std::vector<PstNodeRef>& out) const {
    if (depth > kMaxDepth || !seen.insert(ib).second) return false;
    std::string page;
    if (!ReadAt(ib, kPage, page)) return false;
    const unsigned char* p = U(page);
    const std::size_t entries = unicode_ ? 488 : 496, key = unicode_ ? 8 : 4;
    const std::size_t count = p[entries], size = p[entries + 2], level = p[entries + 3];
    if (p[unicode_ ? 496 : 500] != kPageNodeTree || size == 0 || count * size > entries) return false;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* e = p + i * size;
        if (level == 0) {
            if (size < 4 * key) return false;
            PstNodeRef ref;
            ref.nid = Le32(e);
            ref.data = key == 8 ? Le64(e + 8) : Le32(e + 4);
            ref.sub = key == 8 ? Le64(e + 16) : Le32(e + 8);
            ref.parent = Le32(e + (key == 8 ? 24 : 12));
            out.push_back(ref);
        } else {
            if (size < 3 * key) return false;
            if (!ScanNodes(key == 8 ? Le64(e + 16) : Le32(e + 8), depth + 1, seen, out)) return false;
        }
    }
    return true;
}

bool PstNodeReader::LoadNodes() const {
    std::lock_guard lock(mutex_);
    if (!nodesLoaded_) {
        nodesLoaded_ = true;
        Seen seen;
        nodesOk_ = ScanNodes(nbtRoot_, 0, seen, nodes_);
        std::sort(nodes_.begin(), nodes_.end(), [](const PstNodeRef& a, const PstNodeRef& b) { return a.nid < b.nid; });
        if (!nodesOk_) nodes_.clear();
        for (const PstNodeRef& n : nodes_)
            if (n.parent != n.nid) children_[n.parent].push_back(n.nid);
    }
    return nodesOk_;
}

bool PstNodeReader::FindNode(std::uint32_t nid, PstNodeRef& out) const {
    if (!LoadNodes()) return false;
    const auto at = std::lower_bound(nodes_.begin(), nodes_.end(), nid,
                                     [](const PstNodeRef& n, std::uint32_t id) { return n.nid < id; });
    if (at == nodes_.end() || at->nid != nid) return false;
    out = *at;
    return true;
}

bool PstNodeReader::Children(std::uint32_t parent, std::uint32_t type, std::vector<std::uint32_t>& out) const {
    out.clear();
    if (!LoadNodes()) return false;
    const auto found = children_.find(parent);
    if (found != children_.end())
        for (std::uint32_t nid : found->second)
            if ((nid & 0x1F) == type) out.push_back(nid);
    return true;
}
