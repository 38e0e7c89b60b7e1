// The node and block layers of a store file, read directly: the header (8-bit and Unicode
// stores), the node and block B-trees, blocks (undoing the store's byte permutation), data
// trees and subnode trees. Lists read through it without opening an item per message.
// Every structure is bounds-checked: a damaged one answers false, never a read outside a buffer.
// Private to platform/mapi.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/win/UniqueFd.h"

// One node: its data tree, its subnode tree and (for top-level nodes) its parent.
struct PstNodeRef {
    std::uint32_t nid = 0;
    std::uint64_t data = 0;
    std::uint64_t sub = 0;
    std::uint32_t parent = 0;
};

// A node's data as its blocks, in order (a heap addresses items by block).
using PstBlocks = std::vector<std::string>;

class PstNodeReader {
public:
    // Null, with the reason in why, for a file this reader does not read (not a store, or a
    // store kept with an encoding other than none or the byte permutation).
    static std::unique_ptr<PstNodeReader> Open(const std::string& utf8Path, std::string& why);

    bool Unicode() const { return unicode_; }

    // A top-level node by id.
    bool FindNode(std::uint32_t nid, PstNodeRef& out) const;
    // Top-level nodes whose parent is `parent` and whose type is `type`, in node-id order.
    bool Children(std::uint32_t parent, std::uint32_t type, std::vector<std::uint32_t>& out) const;
    // The blocks of a data tree.
    bool ReadData(std::uint64_t bid, PstBlocks& out) const;
    // The subnodes of a subnode tree, by node id (an empty tree for bid 0).
    bool ReadSubnodes(std::uint64_t bid, std::map<std::uint32_t, PstNodeRef>& out) const;

private:
    PstNodeReader() = default;
    bool ReadAt(std::uint64_t ib, std::size_t size, std::string& out) const;
    bool Page(std::uint64_t ib, const std::string*& out) const;
    bool FindBlock(std::uint64_t bid, std::uint64_t& ib, std::uint16_t& cb) const;
    bool ReadBlock(std::uint64_t bid, std::string& out) const;
    using Seen = std::unordered_set<std::uint64_t>;  // blocks or pages already met in one walk
    bool ReadTree(std::uint64_t bid, int depth, Seen& seen, PstBlocks& out) const;
    bool ReadSubTree(std::uint64_t bid, int depth, Seen& seen, std::map<std::uint32_t, PstNodeRef>& out) const;
    bool LoadNodes() const;
    bool ScanNodes(std::uint64_t ib, int depth, Seen& seen, std::vector<PstNodeRef>& out) const;

    UniqueFd file_;
    std::uint64_t fileSize_ = 0;
    bool unicode_ = true;
    bool permuted_ = false;
    std::uint64_t nbtRoot_ = 0, bbtRoot_ = 0;  // page offsets

    mutable std::mutex mutex_;
    mutable std::unordered_map<std::uint64_t, std::string> pages_;
    mutable bool nodesLoaded_ = false, nodesOk_ = false;
    mutable std::vector<PstNodeRef> nodes_;  // in node-id order
    mutable std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> children_;  // by parent, in id order
};
