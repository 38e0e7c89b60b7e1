#include "platform/com/StructuredStorage.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace {

WideString W(const std::string& s) {
    WideString w;
    for (char c : s) w.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return w;
}
std::string A(const char16_t* s) {
    std::string a;
    for (; *s; ++s) a.push_back(static_cast<char>(*s));
    return a;
}

void WriteStream(IStorage* stg, const std::string& name, const std::string& data) {
    ComPtr<IStream> s;
    ASSERT_EQ(stg->CreateStream(W(name).c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, s.put()), S_OK);
    ULONG done = 0;
    ASSERT_EQ(s->Write(data.data(), static_cast<ULONG>(data.size()), &done), S_OK);
    ASSERT_EQ(done, data.size());
}

std::string ReadStream(IStorage* stg, const std::string& name) {
    ComPtr<IStream> s;
    if (stg->OpenStream(W(name).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, s.put()) != S_OK) return "<none>";
    std::string out;
    char buf[1000];
    ULONG got = 0;
    while (s->Read(buf, sizeof buf, &got) == S_OK && got > 0) out.append(buf, got);
    return out;
}

std::vector<std::string> Names(IStorage* stg) {
    ComPtr<IEnumSTATSTG> e;
    EXPECT_EQ(stg->EnumElements(0, nullptr, 0, e.put()), S_OK);
    std::vector<std::string> names;
    STATSTG st;
    while (e->Next(1, &st, nullptr) == S_OK) {
        CoTaskMemPtr<char16_t> name(st.pwcsName);
        names.push_back(A(name.get()) + (st.type == STGTY_STORAGE ? "/" : ""));
    }
    return names;
}

const CLSID kClass{0x00020D0B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// A small compound file: streams of the sizes around the mini-stream cutoff, a sub-storage
// with a class id, names of mixed case and length.
std::string BuildFile(const testsupport::TempDir& dir) {
    std::string path = (dir / "t.msg").string();
    ComPtr<IStorage> root;
    EXPECT_EQ(StgCreateDocfile(W(path).c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0, root.put()), S_OK);
    WriteStream(root.get(), "bb", "two");
    WriteStream(root.get(), "a", std::string(4095, 'x'));
    WriteStream(root.get(), "B", std::string(4096, 'y'));
    WriteStream(root.get(), "ccc", std::string(4097, 'z'));
    WriteStream(root.get(), "AA", std::string(10000, 'q'));
    ComPtr<IStorage> sub;
    EXPECT_EQ(root->CreateStorage(u"__recip_version1.0_#00000000", STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, sub.put()), S_OK);
    EXPECT_EQ(WriteClassStg(sub.get(), kClass), S_OK);
    WriteStream(sub.get(), "__substg1.0_3001001F", std::string("n\0a\0m\0e\0", 8));
    EXPECT_EQ(root->Commit(STGC_DEFAULT), S_OK);
    return path;
}

ComPtr<IStorage> Open(const std::string& path, HRESULT* hr = nullptr) {
    ComPtr<IStorage> stg;
    HRESULT r = StgOpenStorage(W(path).c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE | STGM_PRIORITY, nullptr, 0, stg.put());
    if (hr) *hr = r;
    return stg;
}

TEST(StructuredStorage, WritesAndReadsBackInDirectoryOrder) {
    testsupport::TempDir dir;
    std::string path = BuildFile(dir);
    EXPECT_EQ(StgIsStorageFile(W(path).c_str()), S_OK);
    ComPtr<IStorage> root = Open(path);
    ASSERT_TRUE(root);
    // Shorter names first, then upper-case comparison.
    EXPECT_EQ(Names(root.get()), (std::vector<std::string>{"a", "B", "AA", "bb", "ccc", "__recip_version1.0_#00000000/"}));
    EXPECT_EQ(ReadStream(root.get(), "bb"), "two");
    EXPECT_EQ(ReadStream(root.get(), "a"), std::string(4095, 'x'));
    EXPECT_EQ(ReadStream(root.get(), "b"), std::string(4096, 'y'));  // names compare case-insensitively
    EXPECT_EQ(ReadStream(root.get(), "ccc"), std::string(4097, 'z'));
    EXPECT_EQ(ReadStream(root.get(), "AA"), std::string(10000, 'q'));
    EXPECT_EQ(ReadStream(root.get(), "zz"), "<none>");

    ComPtr<IStorage> sub;
    ASSERT_EQ(root->OpenStorage(u"__recip_version1.0_#00000000", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, sub.put()), S_OK);
    CLSID id;
    EXPECT_EQ(ReadClassStg(sub.get(), &id), S_OK);
    EXPECT_TRUE(id == kClass);
    EXPECT_EQ(ReadStream(sub.get(), "__substg1.0_3001001F"), std::string("n\0a\0m\0e\0", 8));
    // A stream is no storage and a storage no stream.
    ComPtr<IStream> s;
    EXPECT_EQ(root->OpenStream(u"__recip_version1.0_#00000000", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, s.put()), STG_E_FILENOTFOUND);
    EXPECT_EQ(root->OpenStorage(u"a", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, sub.put()), STG_E_FILENOTFOUND);
}

TEST(StructuredStorage, StreamSeekStatAndReadOnlyAccess) {
    testsupport::TempDir dir;
    ComPtr<IStorage> root = Open(BuildFile(dir));
    ASSERT_TRUE(root);
    ComPtr<IStream> s;
    ASSERT_EQ(root->OpenStream(u"ccc", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, s.put()), S_OK);
    STATSTG st;
    ASSERT_EQ(s->Stat(&st, STATFLAG_DEFAULT), S_OK);
    CoTaskMemPtr<char16_t> name(st.pwcsName);
    EXPECT_EQ(A(name.get()), "ccc");
    EXPECT_EQ(st.type, STGTY_STREAM);
    EXPECT_EQ(st.cbSize.QuadPart, 4097u);
    LARGE_INTEGER move;
    move.QuadPart = -2;
    ULARGE_INTEGER pos;
    ASSERT_EQ(s->Seek(move, STREAM_SEEK_END, &pos), S_OK);
    EXPECT_EQ(pos.QuadPart, 4095u);
    char buf[10];
    ULONG got = 0;
    EXPECT_EQ(s->Read(buf, 10, &got), S_OK);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(s->Write("x", 1, &got), STG_E_ACCESSDENIED);
    ComPtr<IStream> created;
    EXPECT_EQ(root->CreateStream(u"new", STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, created.put()), STG_E_ACCESSDENIED);
    ComPtr<IStorage> rw;
    EXPECT_EQ(StgOpenStorage(W((dir / "t.msg").string()).c_str(), nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE, nullptr, 0, rw.put()), STG_E_INVALIDFLAG);
}

TEST(StructuredStorage, OpensFromMemory) {
    testsupport::TempDir dir;
    std::string bytes = testsupport::ReadFileBytes(BuildFile(dir));
    ComPtr<IStorage> root;
    ASSERT_EQ(StgOpenStorageOnMemory(bytes.data(), bytes.size(), STGM_READ | STGM_SHARE_EXCLUSIVE, root.put()), S_OK);
    EXPECT_EQ(ReadStream(root.get(), "bb"), "two");
    EXPECT_EQ(StgIsStorageMemory(bytes.data(), bytes.size()), S_OK);
    EXPECT_EQ(StgIsStorageMemory("hello", 5), S_FALSE);
    EXPECT_EQ(StgOpenStorageOnMemory("hello", 5, STGM_READ, root.put()), STG_E_FILEALREADYEXISTS);
}

TEST(StructuredStorage, PlainFilesAndMissingFiles) {
    testsupport::TempDir dir;
    auto text = dir.WriteFile("plain.txt", "just some text, not a compound file");
    EXPECT_EQ(StgIsStorageFile(W(text.string()).c_str()), S_FALSE);
    HRESULT hr;
    EXPECT_FALSE(Open(text.string(), &hr));
    EXPECT_EQ(hr, STG_E_FILEALREADYEXISTS);
    EXPECT_EQ(StgIsStorageFile(W((dir / "missing.msg").string()).c_str()), STG_E_FILENOTFOUND);
    EXPECT_FALSE(Open((dir / "missing.msg").string(), &hr));
    EXPECT_EQ(hr, STG_E_FILENOTFOUND);
}

TEST(StructuredStorage, CommitReplacesTheFileAndReleaseWithoutCommitLeavesIt) {
    testsupport::TempDir dir;
    std::string path = (dir / "out.msg").string();
    dir.WriteFile("out.msg", "old content");
    {
        ComPtr<IStorage> root;
        EXPECT_EQ(StgCreateDocfile(W(path).c_str(), STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0, root.put()), STG_E_FILEALREADYEXISTS);
        ASSERT_EQ(StgCreateDocfile(W(path).c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0, root.put()), S_OK);
        WriteStream(root.get(), "s", "data");
        // Not committed: the old file stays.
    }
    EXPECT_EQ(testsupport::ReadFileBytes(path), "old content");
    {
        ComPtr<IStorage> root;
        ASSERT_EQ(StgCreateDocfile(W(path).c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0, root.put()), S_OK);
        WriteStream(root.get(), "s", "data");
        ComPtr<IStream> again;
        EXPECT_EQ(root->CreateStream(u"s", STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, again.put()), STG_E_FILEALREADYEXISTS);
        EXPECT_EQ(root->CreateStream(u"bad/name", STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, again.put()), STG_E_INVALIDNAME);
        ASSERT_EQ(root->Commit(0), S_OK);
    }
    EXPECT_EQ(ReadStream(Open(path).get(), "s"), "data");
    std::size_t leftovers = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) leftovers += e.path().filename() != "out.msg";
    EXPECT_EQ(leftovers, 0u);
    ComPtr<IStorage> root;
    EXPECT_EQ(StgCreateDocfile(W((dir / "no/such/folder/x.msg").string()).c_str(), STGM_CREATE | STGM_READWRITE, 0, root.put()), STG_E_PATHNOTFOUND);
}

// Damaged files: each is refused as a whole, never loaded in part, never a crash or a hang.
class DamagedFile {
public:
    explicit DamagedFile(std::string bytes) : b_(std::move(bytes)) {}
    std::uint32_t U32(std::size_t off) const {
        std::uint32_t v;
        std::memcpy(&v, b_.data() + off, 4);
        return v;
    }
    void Set32(std::size_t off, std::uint32_t v) { std::memcpy(b_.data() + off, &v, 4); }
    // Offset of the directory entry with this name.
    std::size_t Entry(const std::string& name) const {
        std::string utf16;
        for (char c : name) utf16 += std::string{c, '\0'};
        for (std::size_t off = 512; off + 128 <= b_.size(); off += 128)
            if (b_.compare(off, utf16.size(), utf16) == 0 && b_[off + utf16.size()] == 0) return off;
        ADD_FAILURE() << "no entry " << name;
        return 0;
    }
    std::size_t FatSlot(std::uint32_t sector) const { return (U32(76) + 1) * 512 + 4 * sector; }
    std::string& bytes() { return b_; }

private:
    std::string b_;
};

TEST(StructuredStorage, RefusesDamagedFiles) {
    testsupport::TempDir dir;
    const std::string good = testsupport::ReadFileBytes(BuildFile(dir));
    struct Case {
        const char* what;
        std::function<void(DamagedFile&)> damage;
    };
    const std::vector<Case> cases = {
        {"truncated in the middle", [](DamagedFile& f) { f.bytes().resize(f.bytes().size() / 2); }},
        {"only the header", [](DamagedFile& f) { f.bytes().resize(512); }},
        {"FAT chain loops on itself",
         [](DamagedFile& f) {
             std::uint32_t start = f.U32(f.Entry("AA") + 116);
             f.Set32(f.FatSlot(start + 1), start);
         }},
        {"FAT entry out of range", [](DamagedFile& f) { f.Set32(f.FatSlot(f.U32(f.Entry("AA") + 116)), 0x00FFFFFF); }},
        {"stream longer than the file", [](DamagedFile& f) { f.Set32(f.Entry("AA") + 120, 0x7FFFFFFF); }},
        {"stream longer than its chain", [](DamagedFile& f) { f.Set32(f.Entry("AA") + 120, 20000); }},
        {"storage is its own child",
         [](DamagedFile& f) {
             std::size_t e = f.Entry("__recip_version1.0_#00000000");
             f.Set32(e + 76, static_cast<std::uint32_t>((e - (f.U32(48) + 1) * 512) / 128));
         }},
        {"sibling points back to the root", [](DamagedFile& f) { f.Set32(f.Entry("bb") + 68, 0); }},
        {"root entry with a sibling", [](DamagedFile& f) { f.Set32((f.U32(48) + 1) * 512 + 72, 1); }},
        {"directory chain loops", [](DamagedFile& f) { f.Set32(f.FatSlot(f.U32(48)), f.U32(48)); }},
        {"absurd FAT sector count", [](DamagedFile& f) { f.Set32(44, 0x7FFFFFFF); }},
        {"mini stream chain broken", [](DamagedFile& f) { f.Set32(f.Entry("a") + 116, 0x00FFFFF0); }},
    };
    for (const auto& c : cases) {
        DamagedFile f(good);
        c.damage(f);
        ComPtr<IStorage> root;
        HRESULT hr = StgOpenStorageOnMemory(f.bytes().data(), f.bytes().size(), STGM_READ, root.put());
        EXPECT_TRUE(FAILED(hr)) << c.what;
        EXPECT_FALSE(root) << c.what;
    }
}

TEST(StructuredStorage, ElementNameOrder) {
    auto cmp = [](const std::u16string& a, const std::u16string& b) {
        return CompareStorageElementNames(a.data(), a.size(), b.data(), b.size());
    };
    EXPECT_LT(cmp(u"Z", u"aa"), 0);
    EXPECT_EQ(cmp(u"abc", u"ABC"), 0);
    EXPECT_LT(cmp(u"abc", u"ABD"), 0);
    EXPECT_EQ(cmp(u"\u00e9", u"\u00c9"), 0);
    EXPECT_FALSE(IsValidStorageElementName(u""));
    EXPECT_FALSE(IsValidStorageElementName(u"12345678901234567890123456789012"));
    EXPECT_TRUE(IsValidStorageElementName(u"1234567890123456789012345678901"));
}

}  // namespace
