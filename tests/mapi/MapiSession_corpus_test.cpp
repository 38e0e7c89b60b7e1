// Every store of the corpus mounts, and its folder list and message counts equal what the
// folder walk's rule gives on what libpff reads directly: folders named by the store's
// well-known ids are typed by that role first, the rest by their container class. A store
// built here, with every role and a folder that carries a message class, is held to the same.
#include <filesystem>

#include "PstBuilder.h"
#include "PstPeer.h"
#include "mapi/MapiSession.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

int TypeOfClass(const std::u16string& wide) {
    std::string cls = Utf16ToUtf8(wide);
    if (cls.empty()) return 11;
    if (cls.size() > 3 && cls.compare(0, 2, "IP") == 0) cls[2] = '.';
    auto starts = [&](const std::string& p) { return cls.compare(0, p.size(), p) == 0; };
    if (starts("IP..Note") || cls == "IP..Imap") return 10;
    if (starts("IP..Appointment")) return 4;
    if (starts("IP..Contact")) return 5;
    if (starts("IP..Journal")) return 6;
    if (starts("IP..StickyNote")) return 7;
    if (starts("IP..Task")) return 8;
    if (starts("IP..")) return 9;
    return 11;
}

// "depth path messages type" of each folder the walk keeps, in walk order.
std::vector<std::string> ExpectedFolders(const std::string& path) {
    std::vector<pstpeer::PeerFolder> peer;
    EXPECT_TRUE(pstpeer::ReadFolders(path, false, peer));
    const auto wellKnown = pstpeer::WellKnownFolders(path);
    std::vector<std::string> expected;
    int skipBelow = -1;
    for (const pstpeer::PeerFolder& f : peer) {
        if (skipBelow >= 0 && f.depth > skipBelow) continue;
        skipBelow = -1;
        int type = TypeOfClass(f.containerClass);
        for (int k = 1; k <= 9; ++k)
            if (wellKnown[k] != 0 && wellKnown[k] == f.nid) {
                type = k - 1;
                break;
            }
        if (type != 0 && type != 2 && type != 10 && type != 11) {
            skipBelow = f.depth;
            continue;
        }
        expected.push_back(std::to_string(f.depth) + " " + Utf16ToUtf8(f.path) + " " + std::to_string(f.messageCount) + " " +
                           std::to_string(type));
    }
    return expected;
}

// Mounts the store and gives its folder list in the same form.
std::vector<std::string> ListedFolders(const std::string& path, MapiLibs& libs) {
    MapiSession s;
    EXPECT_EQ(s.Open(Utf8ToUtf16(path), &libs, 0), S_OK);
    EXPECT_TRUE(s.opened);
    std::vector<std::string> listed;
    if (!s.opened) return listed;
    for (const mapi_TFolderInfo& f : *s.GetFolders()) {
        ULONG type = 0;
        IUnknown* object = nullptr;
        EXPECT_EQ(s.GetStore()->OpenEntry(f.eid.cb, f.eid.ab.data(), nullptr, 0, &type, &object), S_OK) << f.path;
        if (!object) continue;
        ComPtr<IMAPIFolder> folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
        ComPtr<IMAPITable> table;
        EXPECT_EQ(folder->GetContentsTable(0, table.put()), S_OK) << f.path;
        ULONG count = 0;
        if (table) table->GetRowCount(0, &count);
        listed.push_back(std::to_string(f.depth) + " " + f.path + " " + std::to_string(count) + " " + std::to_string(f.type));
    }
    return listed;
}

class StoreFolders : public ::testing::Test {
protected:
    void SetUp() override {
        libs_.libraries = {{"Default", "mapi32.dll", false}};
        ASSERT_TRUE(libs_.Open(0));
    }
    MapiLibs libs_;
};

TEST_F(StoreFolders, CorpusStoresListTheFoldersOfTheWalksRule) {
    QUILLORA_REQUIRE_CORPUS();
    const std::filesystem::path dir = testsupport::CorpusDir() / "pst";
    if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no pst corpus";
    int stores = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.path().extension() != ".pst") continue;
        ++stores;
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        EXPECT_EQ(ListedFolders(path, libs_), ExpectedFolders(path));
    }
    EXPECT_GT(stores, 0);
}

TEST_F(StoreFolders, BuiltStoreWithEveryRoleListsTheFoldersOfTheWalksRule) {
    using pstbuild::Folder;
    pstbuild::Store s = pstbuild::SampleStore();  // Inbox (and Projects), Sent, Deleted, Calendar
    s.folders[0].role = "inbox";
    s.folders[0].containerClass = u"IPF.Imap.Custom";  // typed by its role, not by this class
    s.folders.push_back(Folder{u"Outbox", u"IPF.Note", {pstbuild::Message{}}, {}, "outbox"});
    s.folders.push_back(Folder{u"Unclassed", u"", {}, {Folder{u"Inner", u"IPF.Note", {}, {}, ""}}, ""});
    s.folderProps = {{u"Inbox", pstbuild::Prop::Unicode(0x001A001F, u"IPM")}};
    testsupport::TempDir dir;
    const std::string path = (dir.path() / "roles.pst").string();
    ASSERT_TRUE(pstbuild::WriteFile(s, path));
    const std::vector<std::string> expected = ExpectedFolders(path);
    EXPECT_EQ(expected, (std::vector<std::string>{"0 Inbox 2 0", "1 Inbox\\Projects 1 10", "0 Sent Items 0 2",
                                                  "0 Unclassed 0 11", "1 Unclassed\\Inner 0 10"}));
    EXPECT_EQ(ListedFolders(path, libs_), expected);
}

}  // namespace
