// Builds message property trees in memory for the tests; SaveToMsgFile turns them into
// .msg files, so every fixture is also a file written by the compound-file writer.
#pragma once

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "message/MSGFile.h"
#include "message/MSGWriter.h"
#include "tests/message/MsgFixture.h"
#include "tests/support/TestSupport.h"

namespace msgtree {

inline TMSGProperty& Add(TMSGProperties& c, std::uint32_t tag, MSGValue value, std::int32_t size)
{
    TMSGProperty& p = c.Add();
    p.TagID = tag;
    p.Value = std::move(value);
    p.DataSize = size;
    return p;
}

// 8-bit text or bytes (tag type 0x001E or 0x0102).
inline TMSGProperty& Bytes(TMSGProperties& c, std::uint32_t tag, const std::string& bytes)
{
    return Add(c, tag, bytes, static_cast<std::int32_t>(bytes.size()));
}

// UTF-16 text (tag type 0x001F).
inline TMSGProperty& Wide(TMSGProperties& c, std::uint32_t tag, const std::u16string& text)
{
    return Add(c, tag, text, static_cast<std::int32_t>(text.size() * 2));
}

inline TMSGProperty& Int(TMSGProperties& c, std::uint32_t tag, std::int32_t v) { return Add(c, tag, v, 4); }
inline TMSGProperty& Bool(TMSGProperties& c, std::uint32_t tag, bool v) { return Add(c, tag, v, 1); }
inline TMSGProperty& Date(TMSGProperties& c, std::uint32_t tag, double days) { return Add(c, tag, DateTime{days}, 8); }

// A storage node: the fixed-length node (tag 0), a recipient, an attachment, an attached message.
inline TMSGProperties& Node(TMSGProperties& c, std::uint32_t tag, const std::u16string& name = {})
{
    TMSGProperty& p = c.Add();
    p.TagID = tag;
    if (!name.empty()) p.Value = name;
    return p.SubProperties();
}

inline TMSGProperties& Fixed(TMSGProperties& c) { return Node(c, 0, u"__properties_version1.0"); }

using msgfixture::Le;

inline std::string GuidBytes(const GUID& g)
{
    return Le(g.Data1, 4) + Le(g.Data2, 2) + Le(g.Data3, 2) + std::string(reinterpret_cast<const char*>(g.Data4), 8);
}

// A name mapping: each (set, number) gets the id 0x8000 + its position.
struct Named {
    GUID set;
    std::uint32_t number;
    std::uint16_t id;
};
inline void NameMap(TMSGProperties& root, std::initializer_list<Named> names)
{
    TMSGProperties& node = Node(root, 0x00010000, u"__nameid_version1.0");
    std::string guids, entries;
    std::vector<GUID> sets;
    for (const Named& n : names) {
        std::size_t index = 0;
        while (index < sets.size() && !(sets[index] == n.set)) ++index;
        if (index == sets.size()) {
            sets.push_back(n.set);
            guids += GuidBytes(n.set);
        }
        entries += Le(n.number, 4) + Le((index + 3) << 1, 2) + Le(n.id - 0x8000u, 2);
    }
    Bytes(node, 0x00020102, guids);
    Bytes(node, 0x00030102, entries);
    Bytes(node, 0x00040102, "");
}

// Writes the tree and returns the file's path.
inline std::string Write(const TMessage& message, const testsupport::TempDir& dir, const std::string& name)
{
    const std::string path = (dir / name).string();
    std::u16string wide(path.begin(), path.end());
    EXPECT_EQ(SaveToMsgFile(message, wide, true), S_OK) << name;
    return path;
}

inline std::u16string W(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace msgtree
