// The store's nodes and tables read directly: the contents rows of generated stores against
// their messages, and damaged files, B-trees, heaps and tables answered as damaged.
#include <filesystem>
#include <fstream>

#include "ContentsRowsCheck.h"
#include "PstBuilder.h"
#include "platform/mapi/PstTable.h"
#include "platform/win/ByteOrder.h"
#include "tests/support/TestSupport.h"

namespace {

using pstbuild::Prop;

constexpr std::uint32_t kContents = 0x0E;

pstbuild::Message Mail(const std::u16string& subject) {
    pstbuild::Message m;
    m.subject = subject;
    m.sender = u"Sender " + subject;
    m.recipients = {{1, u"To One", u"one@example.org"}, {2, u"Cc Two", u"two@example.org"}, {3, u"Bcc Three", u"b@example.org"}};
    return m;
}

// A store whose Inbox has enough messages that its row matrix lives in a subnode, with
// messages that keep no display lists, a subject marker, 8-bit text in their own code page,
// and an attachment.
pstbuild::Store VariedStore() {
    pstbuild::Store s = pstbuild::SampleStore();
    pstbuild::Folder& inbox = s.folders[0];
    for (int i = 0; i < 150; ++i) {
        pstbuild::Message m = Mail(u"Message " + Utf8ToUtf16(std::to_string(i)));
        m.storeDisplayLists = i % 3 != 0;
        if (i % 7 == 0) m.extra.push_back(Prop::Unicode(0x0037001F, u"\x01\x04RE: Marked"));
        if (i % 5 == 0) {
            m.extra.push_back(Prop::Long(0x3FFD0003, 1251));                     // the message's code page
            m.extra.push_back(Prop::String8(0x0042001E, "\xcf\xf0\xe8\xe2\xe5\xf2"));  // "Привет" in 1251
        }
        if (i % 11 == 0) m.attachments = {{u"a.txt", "data", {}, {}}};
        inbox.messages.push_back(m);
    }
    return s;
}

std::string Write(const testsupport::TempDir& dir, const std::string& name, const pstbuild::Store& s) {
    const std::string path = (dir / name).string();
    EXPECT_TRUE(pstbuild::WriteFile(s, path));
    return path;
}

TEST(PstNodeReader, GeneratedStoresListAsTheirMessagesRead) {
    testsupport::TempDir dir;
    const struct {
        const char* name;
        pstbuild::Store store;
        int messages;
    } cases[] = {{"sample", pstbuild::SampleStore(), 3}, {"varied", VariedStore(), 153}, {"empty", pstbuild::Store{}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(contentscheck::CheckStore(Write(dir, std::string(c.name) + ".pst", c.store)).messages, c.messages);
    }
}

// The offset of a heap item inside the first block of a heap.
std::size_t ItemAt(const std::string& block, std::uint32_t hid) {
    const std::size_t map = Le16(block, 0);
    return Le16(block, map + 4 + 2 * (((hid >> 5) & 0x7FF) - 1));
}

TEST(PstNodeReader, DamagedTablesAreReportedNotListed) {
    testsupport::TempDir dir;
    const pstbuild::Store base = pstbuild::SampleStore();  // the table's header in its first block
    const std::uint32_t inboxTable = (pstbuild::FolderNid(base, u"Inbox") & ~0x1Fu) | kContents;
    const struct {
        const char* name;
        std::function<void(std::string& info)> edit;  // on the table's header
        const char* why;
        bool messagesCount = false;  // the folder's messages can still be counted one by one
    } cases[] = {
        {"cell bitmap past the row", [](std::string& info) { info[8] = 2, info[9] = 0; }, "a column lies outside"},
        {"row matrix shorter than its rows",
         [](std::string& info) { info[8] = static_cast<char>(info[8] + 40); },
         "row matrix is shorter", true},
        {"row index out of the heap", [](std::string& info) { info[10] = static_cast<char>(0xE0), info[11] = 0x7F; },
         "row index cannot be read"},
        {"columns past the header", [](std::string& info) { info[1] = static_cast<char>(0xFF); }, "columns run past"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pstbuild::Store s = base;
        s.editNode = [&](std::uint32_t nid, std::string& block) {
            if (nid != inboxTable) return;
            std::string info = block.substr(ItemAt(block, Le32(block, 4)));
            c.edit(info);
            block.replace(ItemAt(block, Le32(block, 4)), 12, info.substr(0, 12));
        };
        const std::string path = Write(dir, "damaged.pst", s);
        std::string why;
        auto reader = PstNodeReader::Open(path, why);
        ASSERT_TRUE(reader) << why;
        PstNodeRef node;
        ASSERT_TRUE(reader->FindNode(inboxTable, node));
        PstTableContext table;
        EXPECT_FALSE(table.Load(*reader, node, why));
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
        // Through the MAPI layer the folder is listed message by message, or reported as
        // damaged when its messages cannot be counted either; never listed as empty.
        std::vector<std::string> lines;
        SetPlatformTraceSink([&](std::u16string_view line) { lines.push_back(Utf16ToUtf8(line)); });
        HRESULT hr = S_OK;
        auto file = PstFile::Open(path, hr, why);
        ASSERT_TRUE(file) << why;
        auto ctx = std::make_shared<PstStoreContext>(PstStoreContext{file, PstStoreEntryId(path)});
        ComPtr<IMAPIFolder> folder = MakePstFolder(ctx, file->FolderByNid(pstbuild::FolderNid(base, u"Inbox")));
        ComPtr<IMAPITable> contents;
        const HRESULT listed = folder->GetContentsTable(0, contents.put());
        SetPlatformTraceSink({});
        if (c.messagesCount) {
            ASSERT_EQ(listed, S_OK);
            ULONG rows = 0;
            contents->GetRowCount(0, &rows);
            EXPECT_EQ(rows, 2u);
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_NE(lines[0].find(c.why), std::string::npos) << lines[0];
        } else {
            EXPECT_TRUE(FAILED(listed));
        }
    }
}

// A contents table whose rows are not the messages the node tree gives the folder is not
// trusted: the folder lists as its messages read one by one, and the trace log says why.
TEST(PstNodeReader, TableThatDisagreesWithTheNodeTreeIsNotUsed) {
    testsupport::TempDir dir;
    pstbuild::Store s = pstbuild::SampleStore();
    const std::uint32_t inbox = pstbuild::FolderNid(s, u"Inbox");
    std::uint32_t moved = 0;
    s.editParent = [&](std::uint32_t nid, std::uint32_t parent) {
        if (parent != inbox || (nid & 0x1F) != 0x04 || moved) return parent;
        moved = nid;
        return pstbuild::FolderNid(s, u"Sent Items");
    };
    const std::string path = Write(dir, "moved.pst", s);
    HRESULT hr = S_OK;
    std::string why;
    auto file = PstFile::Open(path, hr, why);
    ASSERT_TRUE(file) << why;
    auto ctx = std::make_shared<PstStoreContext>(PstStoreContext{file, PstStoreEntryId(path)});
    PstItem item = file->FolderByNid(inbox);
    int count = 0;
    ASSERT_EQ(item.SubMessageCount(count, why), S_OK) << why;
    std::vector<std::string> lines;
    SetPlatformTraceSink([&](std::u16string_view line) { lines.push_back(Utf16ToUtf8(line)); });
    ComPtr<IMAPITable> contents;
    const HRESULT listed = MakePstFolder(ctx, std::move(item))->GetContentsTable(0, contents.put());
    SetPlatformTraceSink({});
    ASSERT_EQ(listed, S_OK);
    ULONG rows = 0;
    contents->GetRowCount(0, &rows);
    EXPECT_EQ(rows, static_cast<ULONG>(count));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("2 rows for 1 messages"), std::string::npos) << lines[0];
}

TEST(PstNodeReader, HeapIdOutOfRangeIsDamagedNotAbsent) {
    testsupport::TempDir dir;
    pstbuild::Store s = pstbuild::SampleStore();
    std::uint32_t message = 0;
    s.editNode = [&](std::uint32_t nid, std::string& block) {
        if ((nid & 0x1F) != 0x04 || message) return;
        message = nid;
        // The record of PR_DISPLAY_BCC (id 0x0E02, Unicode) names a heap item that is not there.
        const std::size_t at = block.find(std::string("\x02\x0E\x1F\x00", 4));
        ASSERT_NE(at, std::string::npos);
        PutLe32(reinterpret_cast<unsigned char*>(block.data() + at + 4), 0xFFE0);
    };
    const std::string path = Write(dir, "heap.pst", s);
    std::string why;
    auto reader = PstNodeReader::Open(path, why);
    ASSERT_TRUE(reader) << why;
    PstNodeRef node;
    ASSERT_TRUE(reader->FindNode(message, node));
    PstPropContext pc;
    ASSERT_TRUE(pc.Load(*reader, node));
    PstRawValue v;
    EXPECT_EQ(pc.Find(0x0E02, v), PstFound::Damaged);
    EXPECT_EQ(pc.Find(0x0037, v), PstFound::Present);
    EXPECT_EQ(pc.Find(0x0FFF, v), PstFound::Absent);
}

TEST(PstNodeReader, DamagedFilesAnswerFalse) {
    testsupport::TempDir dir;
    const std::string good = pstbuild::Build(pstbuild::SampleStore());
    const std::uint32_t inbox = pstbuild::FolderNid(pstbuild::SampleStore(), u"Inbox");
    auto withLe64 = [&](std::size_t at, std::uint64_t v) {
        std::string bytes = good;
        for (int i = 0; i < 8; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
        return bytes;
    };
    // Every entry of the node tree's root leads back to the root.
    const std::string looping = [&] {
        std::string bytes = good;
        const std::size_t root = Le32(good, 224);
        for (std::size_t i = 0; i < static_cast<std::uint8_t>(good[root + 488]); ++i)
            for (int b = 0; b < 8; ++b) bytes[root + i * 24 + 16 + b] = static_cast<char>(std::uint64_t{root} >> (8 * b));
        return bytes;
    }();
    const struct {
        const char* name;
        std::string bytes;
        bool opens;
    } cases[] = {
        {"node tree looping to its root", looping, true},
        {"header cut short", good.substr(0, 300), false},
        {"not a store", std::string(4096, 'x'), false},
        {"cut after the blocks", good.substr(0, good.size() - 1024), true},
        {"node tree outside the file", withLe64(224, good.size() + 4096), true},
        {"block tree outside the file", withLe64(240, 1ull << 40), true},
        {"node tree is a block tree page", withLe64(224, Le32(good, 240)), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.WriteFile("file.pst", c.bytes).string();
        std::string why;
        auto reader = PstNodeReader::Open(path, why);
        ASSERT_EQ(reader != nullptr, c.opens) << why;
        if (!reader) continue;
        PstNodeRef node;
        std::vector<std::uint32_t> children;
        PstBlocks blocks;
        const bool found = reader->FindNode(inbox, node) && reader->Children(inbox, 0x04, children) &&
                           reader->ReadData(node.data, blocks);
        EXPECT_FALSE(found);
    }
}

}  // namespace
