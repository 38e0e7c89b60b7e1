#include "platform/mapi/PstTable.h"

#include <algorithm>
#include <set>

#include "platform/win/ByteOrder.h"

namespace {

constexpr std::uint8_t kHeapSig = 0xEC, kTreeSig = 0xB5, kPropSig = 0xBC, kTableSig = 0x7C;

bool IsHeapId(std::uint32_t hnid) { return (hnid & 0x1F) == 0; }

}  // namespace

std::size_t PstFixedSize(std::uint16_t type) {
    switch (type) {
    case 0x000B: return 1;  // boolean
    case 0x0002: return 2;  // 16-bit integer
    case 0x0003:            // 32-bit integer
    case 0x0004:            // float
    case 0x000A: return 4;  // error code
    case 0x0005:            // double
    case 0x0006:            // currency
    case 0x0007:            // application time
    case 0x0014:            // 64-bit integer
    case 0x0040: return 8;  // time
    default: return 0;
    }
}

bool PstNodeHeap::Load(const PstNodeReader& reader, const PstNodeRef& node, std::uint8_t clientSig) {
    reader_ = &reader;
    if (!reader.ReadData(node.data, blocks_) || !reader.ReadSubnodes(node.sub, subnodes_)) return false;
    if (blocks_.empty() || blocks_[0].size() < 12) return false;
    const std::string& first = blocks_[0];
    if (static_cast<std::uint8_t>(first[2]) != kHeapSig) return false;
    if (clientSig != 0 && static_cast<std::uint8_t>(first[3]) != clientSig) return false;
    root_ = Le32(first, 4);
    return true;
}

bool PstNodeHeap::Item(std::uint32_t hid, std::string_view& out) const {
    if (!IsHeapId(hid)) return false;
    const std::size_t index = (hid >> 5) & 0x7FF, block = hid >> 16;
    if (index == 0 || block >= blocks_.size()) return false;
    const std::string& b = blocks_[block];
    if (b.size() < 2) return false;
    // The page map: allocation count, free count, then count + 1 offsets.
    const std::size_t map = Le16(b, 0);
    if (map + 4 > b.size()) return false;
    const std::size_t count = Le16(b, map);
    if (index > count || map + 4 + 2 * (count + 1) > b.size()) return false;
    const std::size_t start = Le16(b, map + 4 + 2 * (index - 1)), end = Le16(b, map + 4 + 2 * index);
    if (start > end || end > b.size()) return false;
    out = std::string_view(b).substr(start, end - start);
    return true;
}

bool PstNodeHeap::Value(std::uint32_t hnid, std::string& out) const {
    out.clear();
    if (hnid == 0) return true;
    if (IsHeapId(hnid)) {
        std::string_view item;
        if (!Item(hnid, item)) return false;
        out.assign(item);
        return true;
    }
    const auto sub = subnodes_.find(hnid);
    PstBlocks blocks;
    if (sub == subnodes_.end() || !reader_->ReadData(sub->second.data, blocks)) return false;
    for (const std::string& b : blocks) out += b;
    return true;
}

bool PstNodeHeap::Records(std::uint32_t hid, std::size_t keySize, std::size_t dataSize,
                          std::vector<std::string_view>& out) const {
    out.clear();
    std::string_view header;
    if (!Item(hid, header) || header.size() < 8 || static_cast<std::uint8_t>(header[0]) != kTreeSig ||
        static_cast<std::uint8_t>(header[1]) != keySize || static_cast<std::uint8_t>(header[2]) != dataSize)
        return false;
    const std::uint32_t root = Le32(header, 4);
    std::set<std::uint32_t> seen;
    return root == 0 || RecordsBelow(root, static_cast<std::uint8_t>(header[3]), keySize, dataSize, seen, out);
}

bool PstNodeHeap::RecordsBelow(std::uint32_t hid, int levels, std::size_t keySize, std::size_t dataSize,
                               std::set<std::uint32_t>& seen, std::vector<std::string_view>& out) const {
    // An item met twice is a damaged tree: following it again could loop or multiply.
    if (levels > 8 || !seen.insert(hid).second) return false;
    std::string_view item;
    if (!Item(hid, item)) return false;
    const std::size_t size = keySize + (levels == 0 ? dataSize : 4);
    if (item.size() % size != 0) return false;
    for (std::size_t at = 0; at < item.size(); at += size) {
        if (levels == 0) {
            out.push_back(item.substr(at, size));
        } else if (!RecordsBelow(Le32(item, at + keySize), levels - 1, keySize, dataSize, seen, out)) {
            return false;
        }
    }
    return true;
}

bool PstPropContext::Load(const PstNodeReader& reader, const PstNodeRef& node) {
    props_.clear();
    std::vector<std::string_view> records;
    if (!heap_.Load(reader, node, kPropSig) || !heap_.Records(heap_.Root(), 2, 6, records)) return false;
    for (std::string_view r : records) props_[Le16(r, 0)] = {Le16(r, 2), Le32(r, 4)};
    return true;
}

PstFound PstPropContext::Find(std::uint16_t propId, PstRawValue& out) const {
    const auto found = props_.find(propId);
    if (found == props_.end()) return PstFound::Absent;
    out.type = found->second.first;
    const std::uint32_t v = found->second.second;
    const std::size_t fixed = PstFixedSize(out.type);
    if (fixed > 0 && fixed <= 4) {
        out.bytes.clear();
        AppendLe(out.bytes, v, static_cast<int>(fixed));
        return PstFound::Present;
    }
    return heap_.Value(v, out.bytes) ? PstFound::Present : PstFound::Damaged;
}

bool PstTableContext::Load(const PstNodeReader& reader, const PstNodeRef& node, std::string& why) {
    columns_.clear();
    rows_.clear();
    rowIds_.clear();
    std::string_view info;
    if (!heap_.Load(reader, node, kTableSig) || !heap_.Item(heap_.Root(), info) || info.size() < 22 ||
        static_cast<std::uint8_t>(info[0]) != kTableSig) {
        why = "the table's heap or header cannot be read";
        return false;
    }
    const std::size_t count = static_cast<std::uint8_t>(info[1]);
    if (22 + count * 8 > info.size()) {
        why = "the table's columns run past its header";
        return false;
    }
    bitmapAt_ = Le16(info, 6);
    rowSize_ = Le16(info, 8);
    const std::uint32_t rowIndex = Le32(info, 10), rowsHnid = Le32(info, 14);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 22 + i * 8;
        const std::uint32_t tag = Le32(info, at);
        Column c{static_cast<std::uint16_t>(tag & 0xFFFF), Le16(info, at + 4), static_cast<std::uint8_t>(info[at + 6]),
                 static_cast<std::uint8_t>(info[at + 7])};
        const std::size_t need = PstFixedSize(c.type) ? PstFixedSize(c.type) : 4;
        if (c.size < need || c.offset + c.size > bitmapAt_ || bitmapAt_ + c.bit / 8 >= rowSize_) {
            why = "a column lies outside the table's rows";
            return false;
        }
        columns_[static_cast<std::uint16_t>(tag >> 16)] = c;
    }
    // The row index: row id, then the row's place in the matrix (4 bytes, 2 in 8-bit stores).
    std::vector<std::string_view> index;
    const std::size_t indexData = reader.Unicode() ? 4 : 2;
    if (!heap_.Records(rowIndex, 4, indexData, index)) {
        why = "the table's row index cannot be read";
        return false;
    }
    if (index.empty()) return true;
    std::vector<std::string_view> slices;  // where rows may lie, each a whole number of rows
    std::string_view inHeap;
    if (rowSize_ == 0) {
        why = "the table's rows have no size";
        return false;
    }
    if (rowsHnid == 0) {
        // no row matrix
    } else if (IsHeapId(rowsHnid)) {
        if (!heap_.Item(rowsHnid, inHeap)) {
            why = "the table's rows are not in its heap";
            return false;
        }
        slices.push_back(inHeap);
    } else {
        const auto sub = heap_.Subnodes().find(rowsHnid);
        if (sub == heap_.Subnodes().end() || !reader.ReadData(sub->second.data, matrix_)) {
            why = "the table's row matrix cannot be read";
            return false;
        }
        for (const std::string& b : matrix_) slices.emplace_back(b);
    }
    std::vector<std::string_view> all;
    for (std::string_view s : slices)
        for (std::size_t at = 0; at + rowSize_ <= s.size(); at += rowSize_) all.push_back(s.substr(at, rowSize_));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> placed;  // row index, row id
    for (std::string_view r : index)
        placed.emplace_back(indexData == 4 ? Le32(r, 4) : Le16(r, 4), Le32(r, 0));
    std::sort(placed.begin(), placed.end());
    for (const auto& [at, id] : placed) {
        if (at >= all.size()) {
            why = "the table's row matrix is shorter than its rows";
            rows_.clear();
            rowIds_.clear();
            return false;
        }
        rows_.push_back(all[at]);
        rowIds_.push_back(id);
    }
    return true;
}

PstFound PstTableContext::Cell(std::size_t row, std::uint16_t propId, PstRawValue& out) const {
    const auto found = columns_.find(propId);
    if (found == columns_.end() || row >= rows_.size()) return PstFound::Absent;
    const Column& c = found->second;
    const std::string_view r = rows_[row];
    if (!((static_cast<std::uint8_t>(r[bitmapAt_ + c.bit / 8]) >> (7 - c.bit % 8)) & 1)) return PstFound::Absent;
    out.type = c.type;
    const std::size_t fixed = PstFixedSize(c.type);
    if (fixed) {
        out.bytes.assign(r.substr(c.offset, fixed));
        return PstFound::Present;
    }
    return heap_.Value(Le32(r, c.offset), out.bytes) ? PstFound::Present : PstFound::Damaged;
}
