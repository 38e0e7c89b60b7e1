#include "PstBuilder.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <stdexcept>

namespace pstbuild {
namespace {

constexpr std::size_t kBlockData = 8176;  // the largest data block (8192 less the trailer)
constexpr std::uint32_t kRowId = 0x67F20003, kRowVer = 0x67F30003;

void Put8(std::string& s, std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& s, std::uint64_t v) { Put8(s, v, 2); }
void Put32(std::string& s, std::uint64_t v) { Put8(s, v, 4); }
void Put64(std::string& s, std::uint64_t v) { Put8(s, v, 8); }
void Set32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Set16(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 2; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t Crc(const std::string& s, std::size_t from, std::size_t len) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0;
    for (std::size_t i = from; i < from + len; ++i) crc = table[(crc ^ static_cast<unsigned char>(s[i])) & 0xFF] ^ (crc >> 8);
    return crc;
}

std::uint16_t Sig(std::uint64_t ib, std::uint64_t bid) {
    ib ^= bid;
    return static_cast<std::uint16_t>((ib >> 16) ^ ib);
}

std::string Utf16(const std::u16string& t) {
    std::string s;
    for (char16_t c : t) Put16(s, c);
    return s;
}

std::size_t FixedSize(std::uint32_t type) {
    switch (type) {
    case 0x0002: return 2;
    case 0x000B: return 1;
    case 0x0003:
    case 0x0004:
    case 0x000A: return 4;
    case 0x0005:
    case 0x0006:
    case 0x0007:
    case 0x0014:
    case 0x0040: return 8;
    default: return 0;  // variable size
    }
}

// A node's data as data blocks, and the nodes below it.
struct SubNode {
    std::uint32_t nid = 0;
    std::vector<std::string> blocks;
    std::vector<SubNode> subs;
};

// A heap-on-node spread over as many blocks as it needs.
class Heap {
public:
    explicit Heap(std::uint8_t clientSig) : clientSig_(clientSig) { blocks_.push_back({}); }

    // Adds an allocation and gives its heap id.
    std::uint32_t Add(const std::string& bytes) {
        if (bytes.size() > 3580) throw std::runtime_error("heap item too large");
        Block* b = &blocks_.back();
        if (Used(*b, blocks_.size() - 1) + bytes.size() + 2 * (b->items.size() + 3) > kBlockData) {
            blocks_.push_back({});
            b = &blocks_.back();
        }
        b->items.push_back(bytes);
        const std::uint32_t blockIndex = static_cast<std::uint32_t>(blocks_.size() - 1);
        return (blockIndex << 16) | (static_cast<std::uint32_t>(b->items.size()) << 5);
    }
    void SetRoot(std::uint32_t hid) { root_ = hid; }

    std::vector<std::string> Finish() const {
        std::vector<std::string> out;
        for (std::size_t bi = 0; bi < blocks_.size(); ++bi) {
            const Block& b = blocks_[bi];
            std::string s;
            if (bi == 0) {
                Put16(s, 0);  // ibHnpm, set below
                s.push_back(static_cast<char>(0xEC));
                s.push_back(static_cast<char>(clientSig_));
                Put32(s, root_);
                Put32(s, 0);
            } else if (IsBitmapBlock(bi)) {
                Put16(s, 0);
                s.append(64, '\0');
            } else {
                Put16(s, 0);
            }
            std::vector<std::uint16_t> starts;
            for (const std::string& item : b.items) {
                starts.push_back(static_cast<std::uint16_t>(s.size()));
                s += item;
            }
            starts.push_back(static_cast<std::uint16_t>(s.size()));
            if (s.size() % 2) s.push_back('\0');
            Set16(s, 0, static_cast<std::uint32_t>(s.size()));
            Put16(s, b.items.size());
            Put16(s, 0);
            for (std::uint16_t at : starts) Put16(s, at);
            out.push_back(std::move(s));
        }
        return out;
    }

private:
    struct Block {
        std::vector<std::string> items;
    };
    static bool IsBitmapBlock(std::size_t i) { return i == 8 || (i > 8 && (i - 8) % 128 == 0); }
    static std::size_t Used(const Block& b, std::size_t index) {
        std::size_t n = index == 0 ? 12 : (IsBitmapBlock(index) ? 66 : 2);
        for (const std::string& item : b.items) n += item.size();
        return n + 8;
    }

    std::uint8_t clientSig_;
    std::uint32_t root_ = 0;
    std::vector<Block> blocks_;
};

// A B-tree on the heap with one level of sorted records.
std::uint32_t AddBth(Heap& heap, int keySize, int dataSize, std::vector<std::pair<std::string, std::string>> records) {
    std::sort(records.begin(), records.end());
    std::uint32_t root = 0;
    if (!records.empty()) {
        std::string all;
        for (const auto& [k, d] : records) all += k + d;
        if (all.size() > 3580) throw std::runtime_error("B-tree on heap too large");
        root = heap.Add(all);
    }
    std::string header;
    header.push_back(static_cast<char>(0xB5));
    header.push_back(static_cast<char>(keySize));
    header.push_back(static_cast<char>(dataSize));
    header.push_back(0);
    Put32(header, root);
    return heap.Add(header);
}

// Splits bytes into data blocks.
std::vector<std::string> Chunks(const std::string& data) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < data.size(); at += kBlockData) out.push_back(data.substr(at, kBlockData));
    if (out.empty()) out.push_back({});
    return out;
}

class NidAllocator {
public:
    std::uint32_t Next(std::uint32_t type) { return (next_++ << 5) | type; }

private:
    std::uint32_t next_ = 0x400;
};

// A property context: its heap blocks and the subnodes holding large values.
SubNode PropertyContext(std::uint32_t nid, std::vector<Prop> props, NidAllocator& nids) {
    SubNode node;
    node.nid = nid;
    std::sort(props.begin(), props.end(), [](const Prop& a, const Prop& b) { return (a.tag >> 16) < (b.tag >> 16); });
    Heap heap(0xBC);
    std::vector<std::pair<std::string, std::string>> records;
    for (const Prop& p : props) {
        const std::uint32_t type = p.tag & 0xFFFF;
        std::string key, data;
        Put16(key, p.tag >> 16);
        Put16(data, type);
        const std::size_t fixed = FixedSize(type);
        if (fixed > 0 && fixed <= 4) {
            std::string v = p.bytes;
            v.resize(4, '\0');
            data += v;
        } else if (p.bytes.size() <= 3580) {
            Put32(data, heap.Add(p.bytes));
        } else {
            SubNode big;
            big.nid = nids.Next(0x1F);
            big.blocks = Chunks(p.bytes);
            Put32(data, big.nid);
            node.subs.push_back(std::move(big));
        }
        records.emplace_back(key, data);
    }
    heap.SetRoot(AddBth(heap, 2, 6, std::move(records)));
    node.blocks = heap.Finish();
    return node;
}

struct TableRow {
    std::uint32_t rowId = 0;
    std::vector<Prop> cells;
};

// A table context over the given columns (row id and version are added first).
SubNode TableContext(std::uint32_t nid, std::vector<std::uint32_t> columns, const std::vector<TableRow>& rows,
                     NidAllocator& nids) {
    SubNode node;
    node.nid = nid;
    struct Col {
        std::uint32_t tag;
        std::size_t size;
        std::size_t ib = 0;
        int bit = 0;
    };
    std::vector<Col> cols = {{kRowId, 4}, {kRowVer, 4}};
    std::sort(columns.begin(), columns.end());
    for (std::uint32_t tag : columns) {
        const std::size_t fixed = FixedSize(tag & 0xFFFF);
        cols.push_back({tag, fixed ? fixed : 4});
    }
    for (std::size_t i = 0; i < cols.size(); ++i) cols[i].bit = static_cast<int>(i);
    std::uint16_t ends[4] = {};
    // Row id and version must open the row: lay out 4-byte group first, then 8-byte ones.
    std::size_t at = 0;
    for (std::size_t i = 0; i < cols.size(); ++i)
        if (i < 2 || cols[i].size == 4) cols[i].ib = at, at += 4;
    for (std::size_t i = 2; i < cols.size(); ++i)
        if (cols[i].size == 8) cols[i].ib = at, at += 8;
    ends[0] = static_cast<std::uint16_t>(at);
    for (std::size_t i = 2; i < cols.size(); ++i)
        if (cols[i].size == 2) cols[i].ib = at, at += 2;
    ends[1] = static_cast<std::uint16_t>(at);
    for (std::size_t i = 2; i < cols.size(); ++i)
        if (cols[i].size == 1) cols[i].ib = at, at += 1;
    ends[2] = static_cast<std::uint16_t>(at);
    const std::size_t rowSize = at + (cols.size() + 7) / 8;
    ends[3] = static_cast<std::uint16_t>(rowSize);

    Heap heap(0x7C);
    std::string matrix;
    std::vector<std::pair<std::string, std::string>> index;
    const std::size_t rowsPerBlock = kBlockData / rowSize;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::string row(rowSize, '\0');
        auto setBit = [&](int bit) { row[at + bit / 8] = static_cast<char>(row[at + bit / 8] | (0x80 >> (bit % 8))); };
        Set32(row, cols[0].ib, rows[r].rowId);
        setBit(0);
        Set32(row, cols[1].ib, 1);
        setBit(1);
        for (const Prop& p : rows[r].cells) {
            for (const Col& c : cols) {
                if (c.tag != p.tag) continue;
                if (FixedSize(p.tag & 0xFFFF)) {
                    for (std::size_t i = 0; i < c.size && i < p.bytes.size(); ++i) row[c.ib + i] = p.bytes[i];
                } else if (p.bytes.size() <= 3580) {
                    Set32(row, c.ib, heap.Add(p.bytes));
                } else {
                    SubNode big;
                    big.nid = nids.Next(0x1F);
                    big.blocks = Chunks(p.bytes);
                    Set32(row, c.ib, big.nid);
                    node.subs.push_back(std::move(big));
                }
                setBit(c.bit);
            }
        }
        if (r > 0 && r % rowsPerBlock == 0) matrix.resize((r / rowsPerBlock) * kBlockData, '\0');
        matrix += row;
        std::string k, d;
        Put32(k, rows[r].rowId);
        Put32(d, r);
        index.emplace_back(k, d);
    }
    std::uint32_t hnidRows = 0;
    if (!rows.empty()) {
        if (matrix.size() <= 3580) {
            hnidRows = heap.Add(matrix);
        } else {
            SubNode sub;
            sub.nid = nids.Next(0x1F);
            sub.blocks = Chunks(matrix);
            hnidRows = sub.nid;
            node.subs.push_back(std::move(sub));
        }
    }
    // The row index keys are row ids; the B-tree sorts them as bytes, which is wrong for
    // little-endian numbers above 255, so sort by value here and keep that order.
    std::sort(index.begin(), index.end(), [](const auto& a, const auto& b) {
        auto v = [](const std::string& s) {
            return std::uint32_t(std::uint8_t(s[0])) | std::uint32_t(std::uint8_t(s[1])) << 8 |
                   std::uint32_t(std::uint8_t(s[2])) << 16 | std::uint32_t(std::uint8_t(s[3])) << 24;
        };
        return v(a.first) < v(b.first);
    });
    std::uint32_t rowIndex = 0;
    {
        std::uint32_t root = 0;
        if (!index.empty()) {
            std::string all;
            for (const auto& [k, d] : index) all += k + d;
            if (all.size() > 3580) throw std::runtime_error("table too large for one index block");
            root = heap.Add(all);
        }
        std::string header;
        header.push_back(static_cast<char>(0xB5));
        header.push_back(4);
        header.push_back(4);
        header.push_back(0);
        Put32(header, root);
        rowIndex = heap.Add(header);
    }
    std::string info;
    info.push_back(0x7C);
    info.push_back(static_cast<char>(cols.size()));
    for (std::uint16_t e : ends) Put16(info, e);
    Put32(info, rowIndex);
    Put32(info, hnidRows);
    Put32(info, 0);
    std::vector<Col> sorted = cols;
    std::sort(sorted.begin(), sorted.end(), [](const Col& a, const Col& b) { return a.tag < b.tag; });
    for (const Col& c : sorted) {
        Put32(info, c.tag);
        Put16(info, c.ib);
        info.push_back(static_cast<char>(c.size));
        info.push_back(static_cast<char>(c.bit));
    }
    heap.SetRoot(heap.Add(info));
    node.blocks = heap.Finish();
    return node;
}

// A top-level node of the node B-tree.
struct Node {
    SubNode data;
    std::uint32_t parent = 0;
};

std::string EntryId(const Store& store, std::uint32_t nid) {
    std::string s(4, '\0');
    s.append(reinterpret_cast<const char*>(store.recordKey), 16);
    Put32(s, nid);
    return s;
}

class Writer {
public:
    explicit Writer(const Store& store) : store_(store) {}

    std::string Build() {
        const std::uint32_t root = 0x122, subtree = nids_.Next(0x02), finder = nids_.Next(0x02);
        std::uint32_t mask = store_.validFolderMask;
        std::map<std::string, std::uint32_t> roles;
        std::vector<TableRow> topRows;
        std::vector<std::pair<const Folder*, std::uint32_t>> top;
        for (const Folder& f : store_.folders) top.emplace_back(&f, nids_.Next(0x02));
        for (const auto& [f, nid] : top) {
            AddFolder(*f, nid, subtree, roles, f->name);
            topRows.push_back(FolderRow(*f, nid));
        }
        if (!store_.keepMaskAsGiven) {
            if (roles.count("inbox")) mask |= 0x2;
            if (roles.count("outbox")) mask |= 0x4;
            if (roles.count("deleted")) mask |= 0x8;
            if (roles.count("sent")) mask |= 0x10;
        }
        // The root folder holds the IPM subtree and the finder.
        Folder subtreeFolder{u"Top of Personal Folders", u"", {}, {}, ""};
        Folder finderFolder{u"Search Root", u"", {}, {}, ""};
        AddFolderNodes(root, root, Folder{u"", u"", {}, {}, ""}, {FolderRow(subtreeFolder, subtree, !top.empty()),
                                                                     FolderRow(finderFolder, finder)}, {});
        AddFolderNodes(subtree, root, subtreeFolder, topRows, {});
        AddFolderNodes(finder, root, finderFolder, {}, {});

        std::vector<Prop> storeProps = {
            Prop::Binary(0x0FF90102, std::string(reinterpret_cast<const char*>(store_.recordKey), 16)),
            Prop::Unicode(0x3001001F, store_.displayName),
            Prop::Binary(0x35E00102, EntryId(store_, subtree)),
            Prop::Binary(0x35E70102, EntryId(store_, finder)),
            Prop::Long(0x35DF0003, static_cast<std::int32_t>(mask)),
        };
        if (roles.count("outbox")) storeProps.push_back(Prop::Binary(0x35E20102, EntryId(store_, roles["outbox"])));
        if (roles.count("deleted")) storeProps.push_back(Prop::Binary(0x35E30102, EntryId(store_, roles["deleted"])));
        if (roles.count("sent")) storeProps.push_back(Prop::Binary(0x35E40102, EntryId(store_, roles["sent"])));
        if (store_.passwordCrc) storeProps.push_back(Prop::Long(0x67FF0003, static_cast<std::int32_t>(store_.passwordCrc)));
        nodes_.push_back({PropertyContext(0x21, storeProps, nids_), 0});
        nodes_.push_back({NameMap(), 0});
        if (roles.count("inbox")) {
            // The receive-folder table: message class and the node id of the folder receiving it.
            std::vector<TableRow> rows;
            for (const char16_t* cls : {u"", u"IPM", u"REPORT.IPM"})
                rows.push_back({static_cast<std::uint32_t>(rows.size() + 1),
                                {Prop::Unicode(0x001A001F, cls), Prop::Long(0x66050003, static_cast<std::int32_t>(roles["inbox"]))}});
            nodes_.push_back({TableContext(0x62B, {0x001A001F, 0x66050003}, rows, nids_), 0});
        }
        return Layout();
    }

private:
    TableRow FolderRow(const Folder& f, std::uint32_t nid, bool hasSub = false) {
        TableRow row;
        row.rowId = nid;
        row.cells = {Prop::Unicode(0x3001001F, f.name), Prop::Long(0x36020003, static_cast<std::int32_t>(f.messages.size())),
                     Prop::Long(0x36030003, 0), Prop::Bool(0x360A000B, hasSub || !f.folders.empty())};
        if (!f.containerClass.empty()) row.cells.push_back(Prop::Unicode(0x3613001F, f.containerClass));
        return row;
    }

    void AddFolder(const Folder& f, std::uint32_t nid, std::uint32_t parent, std::map<std::string, std::uint32_t>& roles,
                   const std::u16string& path) {
        if (!f.role.empty()) roles[f.role] = nid;
        nidsByPath_[path] = nid;
        std::vector<TableRow> subRows;
        for (const Folder& sub : f.folders) {
            const std::uint32_t subNid = nids_.Next(0x02);
            AddFolder(sub, subNid, nid, roles, path + u"\\" + sub.name);
            subRows.push_back(FolderRow(sub, subNid));
        }
        std::vector<TableRow> msgRows;
        for (const Message& m : f.messages) {
            const std::uint32_t mnid = nids_.Next(0x04);
            std::vector<Prop> props = MessageProps(m);
            SubNode pc = PropertyContext(mnid, props, nids_);
            AddMessageSubnodes(m, pc);
            nodes_.push_back({std::move(pc), nid});
            TableRow row;
            row.rowId = mnid;
            for (const Prop& p : props) {
                const std::uint32_t id = p.tag >> 16;
                if (id == 0x0037 || id == 0x001A || id == 0x0E06 || id == 0x0E07 || id == 0x0E08 || id == 0x0C1A ||
                    id == 0x0E04 || id == 0x0E03 || id == 0x0E1B)
                    row.cells.push_back(p);
            }
            msgRows.push_back(std::move(row));
        }
        const bool detached = std::find(store_.detachedFolders.begin(), store_.detachedFolders.end(), path) !=
                              store_.detachedFolders.end();
        AddFolderNodes(nid, detached ? 0 : parent, f, subRows, msgRows, path);
    }

    void AddFolderNodes(std::uint32_t nid, std::uint32_t parent, const Folder& f, const std::vector<TableRow>& subRows,
                        const std::vector<TableRow>& msgRows, const std::u16string& path = u"") {
        std::vector<Prop> props = {Prop::Unicode(0x3001001F, f.name),
                                   Prop::Long(0x36020003, static_cast<std::int32_t>(msgRows.size())),
                                   Prop::Long(0x36030003, 0), Prop::Bool(0x360A000B, !subRows.empty())};
        if (!f.containerClass.empty()) props.push_back(Prop::Unicode(0x3613001F, f.containerClass));
        for (const auto& [at, p] : store_.folderProps) {
            if (path.empty() || at != path) continue;
            std::erase_if(props, [&](const Prop& have) { return (have.tag >> 16) == (p.tag >> 16); });
            props.push_back(p);
        }
        nodes_.push_back({PropertyContext(nid, props, nids_), parent});
        const std::uint32_t index = nid & ~0x1Fu;
        nodes_.push_back({TableContext(index | 0x0D, {0x3001001F, 0x36020003, 0x36030003, 0x360A000B, 0x3613001F}, subRows,
                                       nids_),
                          0});
        nodes_.push_back({TableContext(index | 0x0E,
                                       {0x0037001F, 0x001A001F, 0x0E060040, 0x0E070003, 0x0E080003, 0x0C1A001F, 0x0E04001F,
                                        0x0E03001F, 0x0E1B000B},
                                       msgRows, nids_),
                          0});
        nodes_.push_back({TableContext(index | 0x0F, {0x001A001F}, {}, nids_), 0});
    }

    std::vector<Prop> MessageProps(const Message& m) {
        std::vector<Prop> props = {
            Prop::Unicode(0x001A001F, m.messageClass), Prop::Unicode(0x0037001F, m.subject),
            Prop::Long(0x0E070003, m.attachments.empty() ? 0x1 : 0x11), Prop::Long(0x0E080003, 1000),
            Prop::Time(0x0E060040, m.deliveryTime), Prop::Time(0x00390040, m.deliveryTime),
            Prop::Unicode(0x0C1A001F, m.sender), Prop::Bool(0x0E1B000B, !m.attachments.empty()),
        };
        if (!m.body.empty()) props.push_back(Prop::Unicode(0x1000001F, m.body));
        if (m.storeDisplayLists) {
            for (std::uint32_t type : {1u, 2u, 3u}) {
                std::u16string line;
                for (const Recipient& r : m.recipients) {
                    if (r.type != type) continue;
                    if (!line.empty()) line += u"; ";
                    line += r.name;
                }
                props.push_back(Prop::Unicode(type == 1 ? 0x0E04001F : type == 2 ? 0x0E03001F : 0x0E02001F, line));
            }
        }
        for (const Prop& p : m.extra) {
            std::erase_if(props, [&](const Prop& have) { return (have.tag >> 16) == (p.tag >> 16); });
            props.push_back(p);
        }
        return props;
    }

    void AddMessageSubnodes(const Message& m, SubNode& pc) {
        std::vector<TableRow> recips;
        std::uint32_t rowId = 0;
        for (const Recipient& r : m.recipients) {
            TableRow row;
            row.rowId = rowId++;
            row.cells = {Prop::Long(0x0C150003, static_cast<std::int32_t>(r.type)), Prop::Unicode(0x3001001F, r.name),
                         Prop::Unicode(0x3003001F, r.email), Prop::Unicode(0x3002001F, u"SMTP"),
                         Prop::Long(0x0FFE0003, 6), Prop::Long(0x39000003, 0), Prop::Bool(0x0E0F000B, true)};
            recips.push_back(std::move(row));
        }
        pc.subs.push_back(TableContext(0x692,
                                       {0x0C150003, 0x3001001F, 0x3003001F, 0x3002001F, 0x0FFE0003, 0x39000003, 0x0E0F000B},
                                       recips, nids_));
        if (m.attachments.empty()) return;
        std::vector<TableRow> atts;
        for (const Attachment& a : m.attachments) {
            const std::uint32_t anid = nids_.Next(0x05);
            std::vector<Prop> props = {Prop::Long(0x37050003, 1),
                                       Prop::Long(0x0E200003, static_cast<std::int32_t>(a.data.size())),
                                       Prop::Binary(0x37010102, a.data), Prop::Long(0x370B0003, -1)};
            if (!a.fileName.empty()) {
                props.push_back(Prop::Unicode(0x3707001F, a.fileName));
                props.push_back(Prop::Unicode(0x3704001F, a.fileName));
            }
            SubNode inner;
            if (!a.embedded.empty()) {
                // The attached message is a subnode of the attachment, named by its object value.
                const std::uint32_t mnid = nids_.Next(0x04);
                inner = PropertyContext(mnid, MessageProps(a.embedded[0]), nids_);
                AddMessageSubnodes(a.embedded[0], inner);
                std::string object;
                Put32(object, mnid);
                Put32(object, 0);
                std::erase_if(props, [](const Prop& have) { return (have.tag >> 16) == 0x3701 || (have.tag >> 16) == 0x3705; });
                props.push_back(Prop::Long(0x37050003, 5));
                props.push_back({0x3701000D, object});
            }
            for (const Prop& p : a.extra) {
                std::erase_if(props, [&](const Prop& have) { return (have.tag >> 16) == (p.tag >> 16); });
                props.push_back(p);
            }
            pc.subs.push_back(PropertyContext(anid, props, nids_));
            if (!a.embedded.empty()) pc.subs.back().subs.push_back(std::move(inner));
            TableRow row;
            row.rowId = anid;
            row.cells = {Prop::Long(0x37050003, a.embedded.empty() ? 1 : 5), Prop::Unicode(0x3707001F, a.fileName),
                         Prop::Long(0x0E200003, static_cast<std::int32_t>(a.data.size())), Prop::Long(0x370B0003, -1)};
            atts.push_back(std::move(row));
        }
        pc.subs.push_back(TableContext(0x671, {0x37050003, 0x3707001F, 0x0E200003, 0x370B0003}, atts, nids_));
    }

    SubNode NameMap() {
        std::string guids, entries, strings;
        std::vector<std::string> buckets(251);
        std::vector<std::string> known;
        std::vector<NamedProp> names = store_.names;
        if (names.empty()) {  // readers expect a map with entries: give the usual keywords name
            NamedProp keywords{{0x29, 0x03, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46}, true, 0, u"Keywords"};
            names.push_back(keywords);
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            const NamedProp& n = names[i];
            const std::string g(reinterpret_cast<const char*>(n.guid), 16);
            static const std::string psMapi("\x28\x03\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
            static const std::string psPublic("\x29\x03\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
            std::uint32_t guidIndex;
            if (g == psMapi) {
                guidIndex = 1;
            } else if (g == psPublic) {
                guidIndex = 2;
            } else {
                auto it = std::find(known.begin(), known.end(), g);
                if (it == known.end()) {
                    known.push_back(g);
                    guids += g;
                    it = known.end() - 1;
                }
                guidIndex = 3 + static_cast<std::uint32_t>(it - known.begin());
            }
            std::uint32_t value = n.lid;
            if (n.isString) {
                value = static_cast<std::uint32_t>(strings.size());
                const std::string text = Utf16(n.name);
                Put32(strings, text.size());
                strings += text;
                while (strings.size() % 4) strings.push_back('\0');
            }
            std::string e;
            Put32(e, value);
            Put16(e, (guidIndex << 1) | (n.isString ? 1 : 0));
            Put16(e, i);
            entries += e;
            buckets[(value ^ ((guidIndex << 1) | (n.isString ? 1 : 0))) % 251] += e;
        }
        if (guids.empty())  // readers expect at least one property set: give the common one
            guids.assign("\x08\x20\x06\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
        std::vector<Prop> props = {Prop::Long(0x00010003, 251), Prop::Binary(0x00020102, guids),
                                   Prop::Binary(0x00030102, entries), Prop::Binary(0x00040102, strings)};
        for (std::size_t b = 0; b < buckets.size(); ++b)
            if (!buckets[b].empty()) props.push_back(Prop::Binary(static_cast<std::uint32_t>((0x1000 + b) << 16 | 0x0102), buckets[b]));
        return PropertyContext(0x61, props, nids_);
    }

    // Writes a block and gives its id.
    std::uint64_t AddBlock(const std::string& data, bool internal) {
        const std::uint64_t bid = (nextBid_ += 4) | (internal ? 2 : 0);
        blocks_.push_back({bid, data});
        return bid;
    }

    std::uint64_t EmitData(const std::vector<std::string>& chunks) {
        if (chunks.size() == 1) return AddBlock(chunks[0], false);
        std::string x;
        x.push_back(0x01);
        x.push_back(0x01);
        Put16(x, chunks.size());
        std::uint64_t total = 0;
        for (const std::string& c : chunks) total += c.size();
        Put32(x, total);
        for (const std::string& c : chunks) Put64(x, AddBlock(c, false));
        return AddBlock(x, true);
    }

    std::uint64_t EmitSubnodes(std::vector<SubNode> subs) {
        if (subs.empty()) return 0;
        std::sort(subs.begin(), subs.end(), [](const SubNode& a, const SubNode& b) { return a.nid < b.nid; });
        std::string sl;
        sl.push_back(0x02);
        sl.push_back(0x00);
        Put16(sl, subs.size());
        Put32(sl, 0);
        for (const SubNode& s : subs) {
            const std::uint64_t data = EmitData(s.blocks);
            const std::uint64_t sub = EmitSubnodes(s.subs);
            Put64(sl, s.nid);
            Put64(sl, data);
            Put64(sl, sub);
        }
        return AddBlock(sl, true);
    }

    struct Page {
        std::uint64_t bid, ib;
        std::string bytes;
    };

    // Builds a B-tree of pages over sorted leaf entries; gives the root's id and offset.
    std::pair<std::uint64_t, std::uint64_t> BuildTree(std::vector<std::pair<std::uint64_t, std::string>> leaves,
                                                      int leafSize, std::uint8_t ptype, std::uint64_t& fileEnd) {
        std::vector<std::pair<std::uint64_t, std::string>> level = std::move(leaves);
        int cLevel = 0, entSize = leafSize;
        while (true) {
            const std::size_t cap = 488 / entSize;
            std::vector<std::pair<std::uint64_t, std::string>> up;
            for (std::size_t at = 0; at < level.size() || at == 0; at += cap) {
                std::string page(512, '\0');
                const std::size_t n = std::min(cap, level.size() - std::min(at, level.size()));
                for (std::size_t i = 0; i < n; ++i) page.replace(i * entSize, entSize, level[at + i].second);
                page[488] = static_cast<char>(n);
                page[489] = static_cast<char>(cap);
                page[490] = static_cast<char>(entSize);
                page[491] = static_cast<char>(cLevel);
                const std::uint64_t bid = (nextPage_ += 4);
                const std::uint64_t ib = fileEnd;
                fileEnd += 512;
                page[496] = static_cast<char>(ptype);
                page[497] = static_cast<char>(ptype);
                Set16(page, 498, Sig(ib, bid));
                Set32(page, 500, Crc(page, 0, 496));
                std::string tail;
                Put64(tail, bid);
                page.replace(504, 8, tail);
                pages_.push_back({bid, ib, page});
                std::string entry;
                Put64(entry, n ? level[at].first : 0);
                Put64(entry, bid);
                Put64(entry, ib);
                up.emplace_back(n ? level[at].first : 0, entry);
                if (level.empty()) break;
            }
            if (up.size() == 1) return {pages_.back().bid, pages_.back().ib};
            level = std::move(up);
            ++cLevel;
            entSize = 24;
        }
    }

    std::string Layout() {
        std::vector<std::pair<std::uint64_t, std::string>> nbt;
        std::sort(nodes_.begin(), nodes_.end(), [](const Node& a, const Node& b) { return a.data.nid < b.data.nid; });
        for (const Node& n : nodes_) {
            std::vector<std::string> blocks = n.data.blocks;
            if (store_.editNode) store_.editNode(n.data.nid, blocks[0]);
            const std::uint64_t data = EmitData(blocks);
            const std::uint64_t sub = EmitSubnodes(n.data.subs);
            std::string e;
            Put64(e, n.data.nid);
            Put64(e, data);
            Put64(e, sub);
            Put32(e, store_.editParent ? store_.editParent(n.data.nid, n.parent) : n.parent);
            Put32(e, 0);
            nbt.emplace_back(n.data.nid, e);
        }
        std::string file(0x4400, '\0');
        std::vector<std::pair<std::uint64_t, std::string>> bbt;
        std::sort(blocks_.begin(), blocks_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [bid, data] : blocks_) {
            const std::uint64_t ib = file.size();
            const std::size_t total = (data.size() + 16 + 63) / 64 * 64;
            std::string block = data;
            block.resize(total - 16, '\0');
            Put16(block, data.size());
            Put16(block, Sig(ib, bid));
            Put32(block, Crc(data, 0, data.size()));
            Put64(block, bid);
            file += block;
            std::string e;
            Put64(e, bid);
            Put64(e, ib);
            Put16(e, data.size());
            Put16(e, 2);
            Put32(e, 0);
            bbt.emplace_back(bid, e);
        }
        file.resize((file.size() + 511) / 512 * 512, '\0');
        std::uint64_t end = file.size();
        const auto nbtRoot = BuildTree(nbt, 32, 0x81, end);
        const auto bbtRoot = BuildTree(bbt, 24, 0x80, end);
        for (const Page& p : pages_) {
            if (file.size() < p.ib + 512) file.resize(p.ib + 512, '\0');
            file.replace(p.ib, 512, p.bytes);
        }

        std::string h;
        h += "!BDN";
        Put32(h, 0);  // partial CRC, below
        h += "SM";
        Put16(h, 23);
        Put16(h, 19);
        h.push_back(1);
        h.push_back(1);
        Put32(h, 0);
        Put32(h, 0);
        Put64(h, 0);
        Put64(h, nextPage_ + 4);
        Put32(h, 1);
        for (int i = 0; i < 32; ++i) Put32(h, 0x100000);
        Put64(h, 0);
        // ROOT
        Put32(h, 0);
        Put64(h, file.size());
        Put64(h, 0);
        Put64(h, 0);
        Put64(h, 0);
        Put64(h, nbtRoot.first);
        Put64(h, nbtRoot.second);
        Put64(h, bbtRoot.first);
        Put64(h, bbtRoot.second);
        h.push_back(0);  // the allocation maps are not kept: readers rebuild them
        h.push_back(0);
        Put16(h, 0);
        Put32(h, 0);  // dwAlign
        h.append(128, static_cast<char>(0xFF));
        h.append(128, static_cast<char>(0xFF));
        h.push_back(static_cast<char>(0x80));
        h.push_back(0);  // no encryption
        Put16(h, 0);
        Put64(h, nextBid_ + 4);
        Put32(h, 0);  // full CRC, below
        h.append(36, '\0');
        Set32(h, 4, Crc(h, 8, 471));
        Set32(h, 524, Crc(h, 8, 516));
        file.replace(0, h.size(), h);
        return file;
    }

public:
    std::map<std::u16string, std::uint32_t> nidsByPath_;

private:
    const Store& store_;
    NidAllocator nids_;
    std::vector<Node> nodes_;
    std::vector<std::pair<std::uint64_t, std::string>> blocks_;
    std::vector<Page> pages_;
    std::uint64_t nextBid_ = 0;
    std::uint64_t nextPage_ = 0x10000;
};

}  // namespace

Prop Prop::Unicode(std::uint32_t tag, const std::u16string& text) { return {tag, Utf16(text)}; }
Prop Prop::String8(std::uint32_t tag, const std::string& bytes) { return {tag, bytes}; }
Prop Prop::Long(std::uint32_t tag, std::int32_t v) {
    Prop p{tag, {}};
    Put32(p.bytes, static_cast<std::uint32_t>(v));
    return p;
}
Prop Prop::Bool(std::uint32_t tag, bool v) { return {tag, std::string(1, v ? '\1' : '\0')}; }
Prop Prop::Time(std::uint32_t tag, std::uint64_t filetime) {
    Prop p{tag, {}};
    Put64(p.bytes, filetime);
    return p;
}
Prop Prop::Binary(std::uint32_t tag, const std::string& bytes) { return {tag, bytes}; }

std::string Build(const Store& store) { return Writer(store).Build(); }

std::uint32_t FolderNid(const Store& store, const std::u16string& path) {
    Writer w(store);
    w.Build();
    const auto found = w.nidsByPath_.find(path);
    return found == w.nidsByPath_.end() ? 0 : found->second;
}

bool WriteFile(const Store& store, const std::string& path) {
    const std::string bytes = Build(store);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

Store SampleStore() {
    Store s;
    Folder inbox{u"Inbox", u"IPF.Note", {}, {}, ""};
    Message hello;
    hello.subject = u"Hello";
    hello.sender = u"Alice";
    hello.body = u"First message";
    hello.recipients = {{1, u"Bob", u"bob@example.org"}, {2, u"Carol", u"carol@example.org"}};
    hello.attachments = {{u"notes.txt", "attached text", {}, {}}};
    Message second;
    second.subject = u"Second";
    second.sender = u"Dave";
    second.recipients = {{1, u"Bob", u"bob@example.org"}};
    inbox.messages = {hello, second};
    Folder projects{u"Projects", u"IPF.Note", {}, {}, ""};
    Message plan;
    plan.subject = u"Plan";
    plan.sender = u"Erin";
    plan.recipients = {{1, u"Bob", u"bob@example.org"}};
    projects.messages = {plan};
    inbox.folders = {projects};
    Folder sent{u"Sent Items", u"IPF.Note", {}, {}, "sent"};
    Folder deleted{u"Deleted Items", u"IPF.Note", {}, {}, "deleted"};
    Folder calendar{u"Calendar", u"IPF.Appointment", {}, {}, ""};
    s.folders = {inbox, sent, deleted, calendar};
    return s;
}

}  // namespace pstbuild
