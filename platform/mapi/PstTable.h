// The layers of a store node above its blocks: the heap on the node, the B-tree on the heap,
// property contexts (a message's or folder's properties) and table contexts (contents,
// recipient and attachment tables), read through PstNodeReader. Values come back as the raw
// bytes the store keeps, with their stored type. Private to platform/mapi.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/mapi/PstNodeReader.h"

// A node's heap and subnodes: where its values are found by heap or subnode id.
class PstNodeHeap {
public:
    // False when the node is not a heap of the given client kind (0 = any).
    bool Load(const PstNodeReader& reader, const PstNodeRef& node, std::uint8_t clientSig);
    std::uint32_t Root() const { return root_; }
    // The bytes of one heap allocation; false for an id outside the heap.
    bool Item(std::uint32_t hid, std::string_view& out) const;
    // The bytes named by a heap id or a subnode id (0 is empty).
    bool Value(std::uint32_t hnid, std::string& out) const;
    // The records of a B-tree on the heap (key then data), in stored order.
    bool Records(std::uint32_t hid, std::size_t keySize, std::size_t dataSize, std::vector<std::string_view>& out) const;
    const std::map<std::uint32_t, PstNodeRef>& Subnodes() const { return subnodes_; }

private:
    bool RecordsBelow(std::uint32_t hid, int levels, std::size_t keySize, std::size_t dataSize,
                      std::set<std::uint32_t>& seen, std::vector<std::string_view>& out) const;

    const PstNodeReader* reader_ = nullptr;
    PstBlocks blocks_;
    std::map<std::uint32_t, PstNodeRef> subnodes_;
    std::uint32_t root_ = 0;
};

// What a lookup of one value found: nothing, the value, or a value whose bytes cannot be read.
enum class PstFound { Absent, Present, Damaged };

// A stored value: its property type and its bytes.
struct PstRawValue {
    std::uint16_t type = 0;
    std::string bytes;
};

// The properties of one node (message, folder, attachment).
class PstPropContext {
public:
    bool Load(const PstNodeReader& reader, const PstNodeRef& node);
    PstFound Find(std::uint16_t propId, PstRawValue& out) const;
    const PstNodeHeap& Heap() const { return heap_; }

private:
    PstNodeHeap heap_;
    std::map<std::uint16_t, std::pair<std::uint16_t, std::uint32_t>> props_;  // id: type, value or hnid
};

// A table: its columns and its rows in row-index order.
class PstTableContext {
public:
    PstTableContext() = default;
    PstTableContext(const PstTableContext&) = delete;  // rows point into the blocks held here
    PstTableContext& operator=(const PstTableContext&) = delete;
    // why tells what is damaged when the table cannot be read.
    bool Load(const PstNodeReader& reader, const PstNodeRef& node, std::string& why);
    std::size_t RowCount() const { return rows_.size(); }
    std::uint32_t RowId(std::size_t row) const { return rowIds_[row]; }
    // The cell of a column (by property id) in a row; absent when the table has no such
    // column or the row has no value there.
    PstFound Cell(std::size_t row, std::uint16_t propId, PstRawValue& out) const;

private:
    struct Column {
        std::uint16_t type = 0;
        std::uint16_t offset = 0;
        std::uint8_t size = 0;
        std::uint8_t bit = 0;
    };
    PstNodeHeap heap_;
    std::map<std::uint16_t, Column> columns_;
    std::size_t rowSize_ = 0, bitmapAt_ = 0;
    std::vector<std::string_view> rows_;  // each row's bytes
    std::vector<std::uint32_t> rowIds_;
    PstBlocks matrix_;  // the row matrix when it lives in a subnode
};

// The size of a fixed-size property type; 0 for types kept by heap or subnode id.
std::size_t PstFixedSize(std::uint16_t type);
