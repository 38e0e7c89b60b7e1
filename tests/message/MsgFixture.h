// Builds compound files for the tests from a tree description, through platform/com.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/com/StructuredStorage.h"
#include "tests/support/TestSupport.h"

namespace msgfixture {

struct Element {
    std::string name;
    bool storage = false;
    std::string data;
    std::vector<Element> children;
};

inline Element Stream(std::string name, std::string data) { return Element{std::move(name), false, std::move(data), {}}; }
inline Element Storage(std::string name, std::vector<Element> children) {
    return Element{std::move(name), true, {}, std::move(children)};
}

struct FixedEntry {
    std::uint16_t type;
    std::uint16_t id;
    std::string value;  // up to 8 bytes, padded with zeros
};



inline std::u16string Wide(const std::string& s) {
    std::u16string w;
    for (char c : s) w.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return w;
}

inline void WriteElements(IStorage* stg, const std::vector<Element>& elements) {
    for (const Element& e : elements) {
        if (e.storage) {
            ComPtr<IStorage> sub;
            ASSERT_EQ(stg->CreateStorage(Wide(e.name).c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, sub.put()), S_OK);
            WriteElements(sub.get(), e.children);
        } else {
            ComPtr<IStream> s;
            ASSERT_EQ(stg->CreateStream(Wide(e.name).c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, s.put()), S_OK);
            ULONG done = 0;
            ASSERT_EQ(s->Write(e.data.data(), static_cast<ULONG>(e.data.size()), &done), S_OK);
        }
    }
}

inline std::string PropName(std::uint32_t tag) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "__substg1.0_%08X", tag);
    return buf;
}

inline std::string Utf16(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

inline std::string Le(std::uint64_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

inline Element Fixed(std::size_t headerSize, const std::vector<FixedEntry>& entries) {
    std::string data(headerSize, '\0');
    for (const FixedEntry& e : entries) {
        data += Le(e.type, 2) + Le(e.id, 2) + Le(0, 4);
        std::string value = e.value;
        value.resize(8, '\0');
        data += value;
    }
    return Stream("__properties_version1.0", data);
}

// Writes the tree as a compound file in dir and returns its bytes (its path in *path when given).
inline std::string Build(const std::vector<Element>& root, const testsupport::TempDir& dir, std::string* path = nullptr) {
    static int counter = 0;
    std::string p = (dir / ("fixture" + std::to_string(++counter) + ".msg")).string();
    ComPtr<IStorage> stg;
    EXPECT_EQ(StgCreateDocfile(Wide(p).c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0, stg.put()), S_OK);
    WriteElements(stg.get(), root);
    EXPECT_EQ(stg->Commit(STGC_DEFAULT), S_OK);
    if (path) *path = p;
    return testsupport::ReadFileBytes(p);
}


// A property stream: "__substg1.0_" + the tag in 8 upper-case hex digits.
inline Element Prop(std::uint32_t tag, std::string data) { return Stream(PropName(tag), std::move(data)); }

}  // namespace msgfixture
