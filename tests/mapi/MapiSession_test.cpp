// PST sessions and their folder lists over generated stores.
#include "PstBuilder.h"
#include "mapi/MapiSession.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

using pstbuild::Folder;

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        libs_.libraries = {{"Default", "mapi32.dll", false}};
        ASSERT_TRUE(libs_.Open(0));
        SetMapiErrorBoxSink([this](ULONG_PTR owner, const WideString& caption, const WideString& text) {
            boxes_.push_back(std::to_string(owner) + "|" + Utf16ToUtf8(caption) + "|" + Utf16ToUtf8(text));
        });
    }
    void TearDown() override { SetMapiErrorBoxSink(nullptr); }

    std::string Write(const pstbuild::Store& s, const std::string& name) {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(pstbuild::WriteFile(s, path));
        return path;
    }
    static std::vector<std::string> Listing(const MapiSession& s) {
        std::vector<std::string> out;
        for (const mapi_TFolderInfo& f : *s.GetFolders())
            out.push_back(std::to_string(f.depth) + " " + f.path + " " + std::to_string(f.type));
        return out;
    }
    // Messages in a listed folder, through the store and the folder's entry id.
    static ULONG MessageCount(MapiSession& s, const std::string& path) {
        for (const mapi_TFolderInfo& f : *s.GetFolders()) {
            if (f.path != path) continue;
            ULONG type = 0;
            IUnknown* object = nullptr;
            if (s.GetStore()->OpenEntry(f.eid.cb, f.eid.ab.data(), nullptr, 0, &type, &object) != S_OK) return 999;
            ComPtr<IMAPIFolder> folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
            ComPtr<IMAPITable> table;
            folder->GetContentsTable(0, table.put());
            ULONG n = 0;
            table->GetRowCount(0, &n);
            return n;
        }
        return 999;
    }

    MapiLibs libs_;
    testsupport::TempDir dir_;
    std::vector<std::string> boxes_;
};

pstbuild::Store FolderCases(bool deletedMaskBit) {
    pstbuild::Store s;
    Folder inbox{u"Inbox", u"IPF.Note", {}, {Folder{u"Projects", u"IPF.Note", {}, {}, ""}}, ""};
    Folder calendar{u"Calendar", u"IPF.Appointment", {}, {Folder{u"Hidden mail", u"IPF.Note", {}, {}, ""}}, ""};
    Folder plain{u"Plain", u"", {}, {Folder{u"Child", u"IPM.Note", {}, {}, ""}}, ""};
    s.folders = {inbox,
                 calendar,
                 plain,
                 Folder{u"Imap", u"IPF.Imap", {}, {}, ""},
                 Folder{u"ImapSub", u"IPF.Imap.Sub", {}, {}, ""},
                 Folder{u"Custom", u"IPF.Note.Custom", {}, {}, ""},
                 Folder{u"Contacts", u"IPF.Contact", {}, {}, ""},
                 Folder{u"Tasks", u"IPF.Task", {}, {}, ""},
                 Folder{u"Notes", u"IPF.StickyNote", {}, {}, ""},
                 Folder{u"Twin", u"IPF.Note", {}, {}, ""},
                 Folder{u"Twin", u"IPF.Note", {pstbuild::Message{}}, {}, ""},
                 Folder{u"Sent Items", u"IPF.Note", {}, {}, "sent"},
                 Folder{u"Deleted Items", u"IPF.Note", {}, {}, "deleted"},
                 Folder{u"\x041F\x043E\x0447\x0442\x0430", u"IPF.Note", {}, {}, ""}};
    s.validFolderMask = deletedMaskBit ? 0x19 : 0x11;
    s.keepMaskAsGiven = true;
    return s;
}

TEST_F(Session, FolderListKeepsMailFoldersInTreeOrder) {
    MapiSession s;
    EXPECT_EQ(s.Open(Utf8ToUtf16(Write(FolderCases(true), "cases.pst")), &libs_, 0), S_OK);
    ASSERT_TRUE(s.opened);
    EXPECT_EQ(Listing(s), (std::vector<std::string>{
                              "0 Inbox 10", "1 Inbox\\Projects 10", "0 Plain 11", "1 Plain\\Child 10", "0 Imap 10",
                              "0 Custom 10", "0 Twin 10", "0 Twin 10", "0 Sent Items 2",
                              "0 \xd0\x9f\xd0\xbe\xd1\x87\xd1\x82\xd0\xb0 10"}));
    EXPECT_FALSE(s.commonEids[0].empty());
    EXPECT_FALSE(s.commonEids[3].empty());
    EXPECT_FALSE(s.commonEids[4].empty());
    EXPECT_TRUE(s.commonEids[1].empty());  // stores give no receive folder: the Inbox is typed by class
    // The twins stay apart: their ids differ and each opens its own folder.
    const auto& f = *s.GetFolders();
    EXPECT_FALSE(f[6].eid.equals(s.mapi_session.get(), f[7].eid));
    ULONG counts[2] = {};
    for (int i = 0; i < 2; ++i) {
        ULONG type = 0;
        IUnknown* object = nullptr;
        ASSERT_EQ(s.GetStore()->OpenEntry(f[6 + i].eid.cb, f[6 + i].eid.ab.data(), nullptr, 0, &type, &object), S_OK);
        ComPtr<IMAPIFolder> folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
        ComPtr<IMAPITable> t;
        folder->GetContentsTable(0, t.put());
        t->GetRowCount(0, &counts[i]);
    }
    EXPECT_EQ(counts[0], 0u);
    EXPECT_EQ(counts[1], 1u);
}

TEST_F(Session, InboxIsTheStoresReceiveFolderWhateverItsClass) {
    pstbuild::Store store = FolderCases(true);
    store.folders[0].role = "inbox";
    store.folders[0].containerClass = u"IPF.Imap.Sub";  // alone, this class would leave it out
    MapiSession s;
    EXPECT_EQ(s.Open(Utf8ToUtf16(Write(store, "inbox.pst")), &libs_, 0), S_OK);
    ASSERT_TRUE(s.opened);
    EXPECT_FALSE(s.commonEids[1].empty());
    const auto listing = Listing(s);
    ASSERT_GE(listing.size(), 2u);
    EXPECT_EQ(listing[0], "0 Inbox 0");
    EXPECT_EQ(listing[1], "1 Inbox\\Projects 10");
}

TEST_F(Session, DeletedItemsWithoutItsMaskBitIsTypedByClass) {
    MapiSession s;
    s.Open(Utf8ToUtf16(Write(FolderCases(false), "nomask.pst")), &libs_, 0);
    ASSERT_TRUE(s.opened);
    const auto listing = Listing(s);
    EXPECT_NE(std::find(listing.begin(), listing.end(), "0 Deleted Items 10"), listing.end());
    EXPECT_TRUE(s.commonEids[4].empty());
}

TEST_F(Session, FailuresLeaveTheSessionClosed) {
    struct Case {
        const char* what;
        std::string path;
        ULONG_PTR window;
        std::string box;  // expected start of the box text, "" for none
    } cases[] = {
        {"missing, no window", (dir_ / "none.pst").string(), 0, ""},
        {"missing", (dir_ / "none.pst").string(), 7, "7|Error|MAPI Error 8004010F: "},
        {"not a store", dir_.WriteFile("text.pst", "plain text").string(), 7, "7|Error|MAPI Error 8004011B: "},
        {"directory", dir_.path().string(), 7, "7|Error|MAPI Error 80004005: "},
    };
    for (const Case& c : cases) {
        boxes_.clear();
        MapiSession s;
        EXPECT_LT(s.Open(Utf8ToUtf16(c.path), &libs_, c.window), 0) << c.what;
        EXPECT_FALSE(s.opened) << c.what;
        EXPECT_TRUE(s.GetFolders()->empty()) << c.what;
        EXPECT_FALSE(s.mapi_session) << c.what;
        if (c.box.empty()) {
            EXPECT_TRUE(boxes_.empty()) << c.what;
        } else {
            ASSERT_EQ(boxes_.size(), 1u) << c.what;
            EXPECT_EQ(boxes_[0].rfind(c.box, 0), 0u) << c.what << ": " << boxes_[0];
        }
    }
}

TEST_F(Session, WithoutReadyLibraryNothingIsCalled) {
    MapiSession s;
    EXPECT_EQ(s.Open(u"/nowhere.pst", nullptr, 0), -1);
    EXPECT_FALSE(s.opened);
    s.Close();
    MapiLibs notReady;
    EXPECT_EQ(s.Open(u"/nowhere.pst", &notReady, 0), -1);
    EXPECT_EQ(s.OpenPstFolders(u"/nowhere.pst"), -1);
    EXPECT_FALSE(s.iprofadmin);
    { MapiSession neverOpened; }  // destroying it calls nothing
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Session, TwoSessionsKeepTheirOwnStores) {
    pstbuild::Store a = pstbuild::SampleStore();
    pstbuild::Store b;
    b.recordKey[3] = 0x99;
    b.folders = {Folder{u"Inbox", u"IPF.Note", {pstbuild::Message{}, pstbuild::Message{}, pstbuild::Message{}}, {}, ""}};
    auto first = std::make_unique<MapiSession>();
    MapiSession second;
    ASSERT_EQ(first->Open(Utf8ToUtf16(Write(a, "a.pst")), &libs_, 0), S_OK);
    ASSERT_EQ(second.Open(Utf8ToUtf16(Write(b, "b.pst")), &libs_, 0), S_OK);
    EXPECT_NE(first->ProfileName(), second.ProfileName());
    EXPECT_EQ(MessageCount(*first, "Inbox"), 2u);
    EXPECT_EQ(MessageCount(second, "Inbox"), 3u);
    EXPECT_EQ(first->Open(u"/other.pst", &libs_, 0), S_OK);  // already open: unchanged
    first->Close();
    first->Close();
    EXPECT_FALSE(first->opened);
    first.reset();
    EXPECT_EQ(MessageCount(second, "Inbox"), 3u);  // the other session is untouched
    EXPECT_EQ(Listing(second), (std::vector<std::string>{"0 Inbox 10"}));
}

}  // namespace
