// The MAPI layer over generated store files: profiles and sessions, failures of unusable
// files, property values and their conversions, tables, entry ids, named properties,
// recipients and attachments.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "PstBuilder.h"
#include "platform/mapi/MapiFolder.h"
#include "platform/mapi/MapiProvider.h"
#include "platform/mapi/PstFile.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

using pstbuild::Prop;

class MapiInit {
public:
    MapiInit() { MAPIInitialize(nullptr); }
    ~MapiInit() { MAPIUninitialize(); }
};

std::string Text(const SPropValue& v) { return Utf16ToUtf8(PropValueText(v)); }

// One mounted store through the profile, service and logon steps.
struct Mounted {
    MapiInit init;
    ComPtr<IProfAdmin> admin;
    ComPtr<IMsgServiceAdmin> services;
    ComPtr<IMAPISession> session;
    ComPtr<IMsgStore> store;
    std::string profile;
    std::string path;
    HRESULT configured = E_FAIL;

    Mounted(const std::string& file, const std::string& profileName) : profile(profileName), path(file) {
        EXPECT_EQ(MAPIAdminProfiles(0, admin.put()), S_OK);
        EXPECT_EQ(admin->CreateProfile(profile.c_str(), nullptr, 0, 0), S_OK);
        EXPECT_EQ(admin->AdminServices(profile.c_str(), nullptr, 0, 0, services.put()), S_OK);
        EXPECT_EQ(services->CreateMsgService("MSPST MS", "Message Store", 0, SERVICE_UI_ALLOWED), S_OK);
        MAPIUID uid = ServiceUid();
        configured = services->ConfigureMsgService(&uid, 0, SERVICE_UI_ALLOWED,
                                                   {SPropValue::Unicode(PR_PST_PATH_W, Utf8ToUtf16(path))});
        if (configured != S_OK) return;
        EXPECT_EQ(MAPILogonEx(0, profile.c_str(), nullptr, MAPI_NO_MAIL | MAPI_EXTENDED | MAPI_NEW_SESSION, session.put()),
                  S_OK);
        ComPtr<IMAPITable> stores;
        EXPECT_EQ(session->GetMsgStoresTable(0, stores.put()), S_OK);
        SRowSetPtr rows;
        EXPECT_EQ(stores->QueryRows(10, 0, &rows), S_OK);
        EXPECT_EQ(rows->cRows(), 1u);
        const SBinary& eid = rows->aRow[0].lpProps[0].Value.bin;
        EXPECT_EQ(session->OpenMsgStore(0, eid.cb, eid.lpb, nullptr, MDB_WRITE | MDB_NO_MAIL, store.put()), S_OK);
    }
    ~Mounted() {
        if (session) session->Logoff(0, 0, 0);
        if (admin) admin->DeleteProfile(profile.c_str(), 0);
    }
    MAPIUID ServiceUid() {
        ComPtr<IMAPITable> table;
        EXPECT_EQ(services->GetMsgServiceTable(0, table.put()), S_OK);
        SPropTagArray cols{PR_SERVICE_UID, PR_DISPLAY_NAME_A};
        table->SetColumns(&cols, 0);
        SRowSetPtr rows;
        table->QueryRows(1, 0, &rows);
        MAPIUID uid;
        if (rows && rows->cRows() == 1) std::memcpy(uid.ab, rows->aRow[0].lpProps[0].Value.bin.lpb, 16);
        return uid;
    }

    ComPtr<IMAPIFolder> OpenFolder(const SPropValue& eid) {
        ULONG type = 0;
        IUnknown* object = nullptr;
        EXPECT_EQ(store->OpenEntry(eid.Value.bin.cb, eid.Value.bin.lpb, nullptr, 0, &type, &object), S_OK);
        EXPECT_EQ(type, MAPI_FOLDER);
        return ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
    }
    ComPtr<IMAPIFolder> Subtree() {
        SPropTagArray tags{PR_IPM_SUBTREE_ENTRYID};
        ULONG n = 0;
        SPropValueArray v;
        EXPECT_EQ(store->GetProps(&tags, 0, &n, &v), S_OK);
        return OpenFolder(v.at(0));
    }
    // The rows of a folder's hierarchy or contents table with the given columns.
    SRowSetPtr Rows(IMAPIFolder* folder, bool contents, SPropTagArray cols) {
        ComPtr<IMAPITable> t;
        EXPECT_EQ(contents ? folder->GetContentsTable(0, t.put()) : folder->GetHierarchyTable(0, t.put()), S_OK);
        EXPECT_EQ(t->SetColumns(&cols, 0), S_OK);
        SRowSetPtr rows;
        EXPECT_EQ(t->QueryRows(1000, 0, &rows), S_OK);
        return rows;
    }
    ComPtr<IMAPIFolder> Child(IMAPIFolder* parent, const std::string& name) {
        SRowSetPtr rows = Rows(parent, false, {PR_ENTRYID, PR_DISPLAY_NAME_A});
        for (const SRow& r : rows->aRow)
            if (Text(r.lpProps[1]) == name) return OpenFolder(r.lpProps[0]);
        ADD_FAILURE() << "no folder " << name;
        return {};
    }
    ComPtr<IMessage> FirstMessage(IMAPIFolder* folder) {
        SRowSetPtr rows = Rows(folder, true, {PR_ENTRYID});
        ULONG type = 0;
        IUnknown* object = nullptr;
        const SBinary& eid = rows->aRow.at(0).lpProps[0].Value.bin;
        EXPECT_EQ(folder->OpenEntry(eid.cb, eid.lpb, nullptr, 0, &type, &object), S_OK);
        EXPECT_EQ(type, MAPI_MESSAGE);
        return ComPtr<IMessage>::Adopt(static_cast<IMessage*>(object));
    }
};

class MapiLayer : public ::testing::Test {
protected:
    std::string Write(const pstbuild::Store& s, const std::string& name = "store.pst") {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(pstbuild::WriteFile(s, path));
        return path;
    }
    testsupport::TempDir dir_;
};

TEST_F(MapiLayer, WalksTheSampleStore) {
    Mounted m(Write(pstbuild::SampleStore()), "walk");
    ASSERT_TRUE(m.store);
    ComPtr<IMAPIFolder> subtree = m.Subtree();
    SRowSetPtr top = m.Rows(subtree.get(), false, {PR_DISPLAY_NAME_A, PR_SUBFOLDERS, PR_CONTAINER_CLASS_A, PR_CONTENT_COUNT});
    ASSERT_EQ(top->cRows(), 4u);
    EXPECT_EQ(Text(top->aRow[0].lpProps[0]), "Inbox");
    EXPECT_EQ(top->aRow[0].lpProps[1].Value.b, 1);
    EXPECT_EQ(Text(top->aRow[0].lpProps[2]), "IPF.Note");
    EXPECT_EQ(top->aRow[0].lpProps[3].Value.l, 2);
    EXPECT_EQ(top->aRow[1].lpProps[1].Value.b, 0);
    EXPECT_EQ(Text(top->aRow[3].lpProps[2]), "IPF.Appointment");

    ComPtr<IMAPIFolder> inbox = m.Child(subtree.get(), "Inbox");
    SRowSetPtr msgs = m.Rows(inbox.get(), true,
                             {PR_SUBJECT_A, PR_DISPLAY_TO_A, PR_DISPLAY_CC_A, PR_HASATTACH, PR_SENDER_NAME_W, PR_ENTRYID});
    ASSERT_EQ(msgs->cRows(), 2u);
    EXPECT_EQ(Text(msgs->aRow[0].lpProps[0]), "Hello");
    EXPECT_EQ(Text(msgs->aRow[0].lpProps[1]), "Bob");
    EXPECT_EQ(Text(msgs->aRow[0].lpProps[2]), "Carol");
    EXPECT_EQ(msgs->aRow[0].lpProps[3].Value.b, 1);
    EXPECT_EQ(msgs->aRow[1].lpProps[3].Value.b, 0);
    EXPECT_EQ(msgs->aRow[0].lpProps[4].type(), PT_UNICODE);
    EXPECT_EQ(Text(msgs->aRow[0].lpProps[4]), "Alice");
}

TEST_F(MapiLayer, ProfileAdministrationAnswersAsMapiDoes) {
    MapiInit init;
    ComPtr<IProfAdmin> admin;
    ASSERT_EQ(MAPIAdminProfiles(0, admin.put()), S_OK);
    EXPECT_EQ(admin->CreateProfile("Temp_Pst", nullptr, 0, 0), S_OK);
    EXPECT_EQ(admin->CreateProfile("Temp_Pst", nullptr, 0, 0), MAPI_E_NO_ACCESS);
    ComPtr<IMsgServiceAdmin> services;
    ASSERT_EQ(admin->AdminServices("Temp_Pst", nullptr, 0, 0, services.put()), S_OK);
    EXPECT_EQ(services->CreateMsgService("MSPST MS", "Message Store", 0, 0x4000), MAPI_E_UNKNOWN_FLAGS);
    EXPECT_EQ(services->CreateMsgService("OTHER", "x", 0, 0), MAPI_E_NOT_FOUND);
    MAPIUID unknown;
    EXPECT_EQ(services->ConfigureMsgService(&unknown, 0, 0, {}), MAPI_E_NOT_FOUND);
    // A profile without a configured store logs on with an empty stores table.
    ComPtr<IMAPISession> session;
    ASSERT_EQ(MAPILogonEx(0, "Temp_Pst", nullptr, 0, session.put()), S_OK);
    ComPtr<IMAPITable> stores;
    ASSERT_EQ(session->GetMsgStoresTable(0, stores.put()), S_OK);
    ULONG count = 9;
    EXPECT_EQ(stores->GetRowCount(0, &count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(admin->DeleteProfile("Temp_Pst", 0), S_OK);
    EXPECT_EQ(admin->DeleteProfile("Temp_Pst", 0), MAPI_E_NOT_FOUND);
    EXPECT_EQ(admin->AdminServices("Temp_Pst", nullptr, 0, 0, services.put()), MAPI_E_NOT_FOUND);
    ComPtr<IMAPISession> none;
    EXPECT_EQ(MAPILogonEx(0, "Temp_Pst", nullptr, 0, none.put()), MAPI_E_LOGON_FAILED);
}

TEST_F(MapiLayer, EntryPointsNeedInitialisation) {
    ComPtr<IProfAdmin> admin;
    EXPECT_EQ(MAPIAdminProfiles(0, admin.put()), MAPI_E_NOT_INITIALIZED);
    ComPtr<IMAPISession> session;
    EXPECT_EQ(MAPILogonEx(0, "x", nullptr, 0, session.put()), MAPI_E_NOT_INITIALIZED);
}

TEST_F(MapiLayer, UnusableFilesFailWithTheirErrors) {
    const std::string good = Write(pstbuild::SampleStore());
    const std::string bytes = testsupport::ReadFileBytes(good);
    std::string corrupt = bytes;
    for (std::size_t i = 0x4400; i < corrupt.size(); i += 7) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
    std::string badHeader = bytes;
    badHeader[0] = 'X';
    struct Case {
        const char* what;
        std::string path;
        HRESULT hr;
    } cases[] = {
        {"missing", (dir_ / "missing.pst").string(), MAPI_E_NOT_FOUND},
        {"directory", dir_.path().string(), MAPI_E_CALL_FAILED},
        {"not a store", dir_.WriteFile("text.pst", "just some text, not a store file").string(), MAPI_E_CORRUPT_DATA},
        {"empty", dir_.WriteFile("empty.pst", "").string(), MAPI_E_CORRUPT_DATA},
        {"bad signature", dir_.WriteFile("sig.pst", badHeader).string(), MAPI_E_CORRUPT_DATA},
        {"truncated", dir_.WriteFile("cut.pst", bytes.substr(0, 0x4500)).string(), MAPI_E_CORRUPT_DATA},
    };
    int n = 0;
    for (const Case& c : cases) {
        Mounted m(c.path, "bad" + std::to_string(n++));
        EXPECT_EQ(m.configured, c.hr) << c.what;
        std::unique_ptr<MAPIERROR> error;
        EXPECT_EQ(m.services->GetLastError(c.hr, 0, &error), S_OK) << c.what;
        ASSERT_TRUE(error) << c.what;
        EXPECT_FALSE(error->lpszError.empty()) << c.what;
    }
    // Damaged contents: the store may or may not mount, but walking it never crashes.
    Mounted damaged(dir_.WriteFile("damaged.pst", corrupt).string(), "damaged");
    if (damaged.store) {
        ComPtr<IMAPIFolder> subtree;
        SPropTagArray tags{PR_IPM_SUBTREE_ENTRYID};
        ULONG count = 0;
        SPropValueArray v;
        damaged.store->GetProps(&tags, 0, &count, &v);
    }
}

TEST_F(MapiLayer, PasswordProtectedStoresOpen) {
    // The password of a store file only guards its opening in the mail client: the contents
    // are not encrypted with it, and this read-only viewer opens the store.
    pstbuild::Store s = pstbuild::SampleStore();
    s.passwordCrc = 0x1234ABCD;
    Mounted m(Write(s), "password");
    ASSERT_TRUE(m.store);
    EXPECT_EQ(m.Rows(m.Subtree().get(), false, {PR_DISPLAY_NAME_A})->cRows(), 4u);
}

TEST_F(MapiLayer, TwoProfilesKeepTheirOwnStores) {
    pstbuild::Store a = pstbuild::SampleStore();
    pstbuild::Store b;
    b.displayName = u"Other";
    b.recordKey[0] = 0x77;
    b.folders = {pstbuild::Folder{u"Only", u"IPF.Note", {}, {}, ""}};
    Mounted ma(Write(a, "a.pst"), "A");
    Mounted mb(Write(b, "b.pst"), "B");
    ASSERT_TRUE(ma.store && mb.store);
    EXPECT_EQ(ma.Rows(ma.Subtree().get(), false, {PR_DISPLAY_NAME_A})->cRows(), 4u);
    EXPECT_EQ(mb.Rows(mb.Subtree().get(), false, {PR_DISPLAY_NAME_A})->cRows(), 1u);
    // A's store entry id means nothing to B's session.
    SPropTagArray tags{PR_ENTRYID};
    ULONG n = 0;
    SPropValueArray v;
    ASSERT_EQ(ma.store->GetProps(&tags, 0, &n, &v), S_OK);
    ComPtr<IMsgStore> foreign;
    EXPECT_EQ(mb.session->OpenMsgStore(0, v[0].Value.bin.cb, v[0].Value.bin.lpb, nullptr, 0, foreign.put()), MAPI_E_NOT_FOUND);
    // A folder id of A's store does not open in B's store.
    ComPtr<IMAPIFolder> inbox = ma.Child(ma.Subtree().get(), "Inbox");
    SPropValueArray fv;
    ASSERT_EQ(inbox->GetProps(&tags, 0, &n, &fv), S_OK);
    ULONG type = 0;
    IUnknown* object = nullptr;
    EXPECT_EQ(mb.store->OpenEntry(fv[0].Value.bin.cb, fv[0].Value.bin.lpb, nullptr, 0, &type, &object),
              MAPI_E_INVALID_ENTRYID);
    EXPECT_EQ(object, nullptr);
}

TEST_F(MapiLayer, GetPropsConvertsAndReportsAbsentValues) {
    Mounted m(Write(pstbuild::SampleStore()), "props");
    ComPtr<IMAPIFolder> inbox = m.Child(m.Subtree().get(), "Inbox");
    ComPtr<IMessage> msg = m.FirstMessage(inbox.get());
    SPropTagArray tags{PR_SUBJECT_A, PR_SUBJECT_W, PROP_TAG(PT_UNSPECIFIED, 0x0037), PROP_TAG(PT_LONG, 0x6666), PR_HASATTACH,
                       PR_ENTRYID, PR_PARENT_ENTRYID};
    ULONG n = 0;
    SPropValueArray v;
    ASSERT_EQ(msg->GetProps(&tags, 0, &n, &v), MAPI_W_ERRORS_RETURNED);
    ASSERT_EQ(n, 7u);
    EXPECT_EQ(v[0].ulPropTag, PR_SUBJECT_A);
    EXPECT_STREQ(v[0].Value.lpszA, "Hello");
    EXPECT_EQ(v[1].ulPropTag, PR_SUBJECT_W);
    EXPECT_EQ(std::u16string(v[1].Value.lpszW), u"Hello");
    EXPECT_EQ(v[2].ulPropTag, PR_SUBJECT_A);  // unspecified strings come as 8-bit without MAPI_UNICODE
    EXPECT_EQ(v[3].ulPropTag, PROP_TAG(PT_ERROR, 0x6666));
    EXPECT_EQ(v[3].Value.err, MAPI_E_NOT_FOUND);
    EXPECT_EQ(v[4].Value.b, 1);
    EXPECT_EQ(v[5].Value.bin.cb, 24u);
    EXPECT_EQ(v[6].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(PR_PARENT_ENTRYID)));  // opened by id, not from a table
    SPropTagArray unicode{PROP_TAG(PT_UNSPECIFIED, 0x0037)};
    ASSERT_EQ(msg->GetProps(&unicode, MAPI_UNICODE, &n, &v), S_OK);
    EXPECT_EQ(v[0].ulPropTag, PR_SUBJECT_W);
    EXPECT_EQ(msg->SetProps({}), MAPI_E_NO_ACCESS);
}

TEST_F(MapiLayer, StoreAnswersComputedProperties) {
    Mounted m(Write(pstbuild::SampleStore()), "store");
    SPropTagArray tags{PR_STORE_SUPPORT_MASK, PR_VALID_FOLDER_MASK, PR_IPM_WASTEBASKET_ENTRYID, PR_IPM_SENTMAIL_ENTRYID,
                       PR_IPM_OUTBOX_ENTRYID, PR_DISPLAY_NAME_A, PR_OBJECT_TYPE};
    ULONG n = 0;
    SPropValueArray v;
    EXPECT_EQ(m.store->GetProps(&tags, 0, &n, &v), MAPI_W_ERRORS_RETURNED);
    EXPECT_TRUE(v[0].Value.l & STORE_UNICODE_OK);
    EXPECT_EQ(v[1].Value.l, 0x1 | 0x8 | 0x10);
    EXPECT_EQ(v[2].Value.bin.cb, 24u);
    EXPECT_EQ(v[3].Value.bin.cb, 24u);
    EXPECT_EQ(v[4].type(), PT_ERROR);
    EXPECT_STREQ(v[5].Value.lpszA, "Personal Folders");
    EXPECT_EQ(v[6].Value.l, static_cast<LONG>(MAPI_STORE));
    std::vector<BYTE> receive;
    EXPECT_EQ(m.store->GetReceiveFolder("IPM.Note", 0, &receive, nullptr), MAPI_E_NOT_FOUND);  // no receive folders
    EXPECT_TRUE(receive.empty());
    // The wastebasket id opens the Deleted Items folder.
    ComPtr<IMAPIFolder> deleted = m.OpenFolder(v[2]);
    SPropTagArray name{PR_DISPLAY_NAME_A};
    SPropValueArray dn;
    ASSERT_EQ(deleted->GetProps(&name, 0, &n, &dn), S_OK);
    EXPECT_STREQ(dn[0].Value.lpszA, "Deleted Items");
}

// libpff types an item met by id by its message class: a folder that carries one must still
// list its messages and subfolders, in its row and when opened by its entry id.
TEST_F(MapiLayer, FoldersWithAMessageClassStillListTheirContents) {
    pstbuild::Store s;
    pstbuild::Folder inbox{u"Inbox", u"IPF.Note", {}, {pstbuild::Folder{u"Below", u"IPF.Note", {}, {}, ""}}, ""};
    pstbuild::Message one, two;
    one.subject = u"One";
    two.subject = u"Two";
    inbox.messages = {one, two};
    inbox.folders[0].messages = {one};
    s.folders = {inbox};
    s.folderProps = {{u"Inbox", Prop::Unicode(0x001A001F, u"IPM")}, {u"Inbox\\Below", Prop::Unicode(0x001A001F, u"IPM")}};
    Mounted m(Write(s), "classed");
    ComPtr<IMAPIFolder> subtree = m.Subtree();
    SRowSetPtr top = m.Rows(subtree.get(), false, {PR_DISPLAY_NAME_A, PR_CONTENT_COUNT, PR_SUBFOLDERS});
    ASSERT_EQ(top->cRows(), 1u);
    EXPECT_EQ(top->aRow[0].lpProps[1].Value.l, 2);
    EXPECT_EQ(top->aRow[0].lpProps[2].Value.b, 1);

    ComPtr<IMAPIFolder> folder = m.Child(subtree.get(), "Inbox");
    ASSERT_TRUE(folder);
    SPropTagArray counts{PR_CONTENT_COUNT, PR_SUBFOLDERS};
    ULONG n = 0;
    SPropValueArray v;
    ASSERT_EQ(folder->GetProps(&counts, 0, &n, &v), S_OK);
    EXPECT_EQ(v[0].Value.l, 2);
    EXPECT_EQ(v[1].Value.b, 1);
    SRowSetPtr msgs = m.Rows(folder.get(), true, {PR_SUBJECT_A});
    ASSERT_EQ(msgs->cRows(), 2u);
    EXPECT_EQ(Text(msgs->aRow[0].lpProps[0]), "One");
    EXPECT_EQ(Text(msgs->aRow[1].lpProps[0]), "Two");
    ComPtr<IMAPIFolder> below = m.Child(folder.get(), "Below");
    ASSERT_TRUE(below);
    EXPECT_EQ(m.Rows(below.get(), true, {PR_SUBJECT_A})->cRows(), 1u);

    // Met by id alone, libpff answers such a folder as an item: its counts fail with
    // libpff's text instead of answering an empty folder.
    HRESULT hr = S_OK;
    std::string error;
    auto file = PstFile::Open(m.path, hr, error);
    ASSERT_TRUE(file);
    SPropTagArray eid{PR_ENTRYID};
    ASSERT_EQ(folder->GetProps(&eid, 0, &n, &v), S_OK);
    const auto nid = file->NidFromEntryId(v[0].Value.bin.lpb, v[0].Value.bin.cb);
    ASSERT_TRUE(nid);
    int count = -1;
    std::string why;
    const PstItem byId = file->ItemByNid(*nid);
    ASSERT_TRUE(byId);
    EXPECT_EQ(byId.SubMessageCount(count, why), MAPI_E_CORRUPT_DATA);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(why.empty());
    const PstItem inTree = file->FolderByNid(*nid);
    ASSERT_TRUE(inTree);
    EXPECT_EQ(inTree.SubMessageCount(count, why), S_OK);
    EXPECT_EQ(count, 2);
}

// A folder that libpff can only meet by id, and then not as a folder, is reported as damaged
// with libpff's text: its tables fail and its counts are error values, never an empty folder.
TEST_F(MapiLayer, FolderThatCannotBeListedIsReportedNotEmpty) {
    pstbuild::Store s;
    s.folders = {pstbuild::Folder{u"Lost", u"IPF.Note", {pstbuild::Message{}}, {}, ""}};
    s.folderProps = {{u"Lost", Prop::Unicode(0x001A001F, u"IPM")}};
    s.detachedFolders = {u"Lost"};
    const std::uint32_t nid = pstbuild::FolderNid(s, u"Lost");
    ASSERT_NE(nid, 0u);
    Mounted m(Write(s), "lost");
    std::vector<BYTE> eid(4, 0);
    eid.insert(eid.end(), s.recordKey, s.recordKey + 16);
    for (int i = 0; i < 4; ++i) eid.push_back(static_cast<BYTE>(nid >> (8 * i)));
    ComPtr<IMAPIFolder> lost = m.OpenFolder(SPropValue::Binary(PR_ENTRYID, eid));
    ASSERT_TRUE(lost);
    ComPtr<IMAPITable> table;
    EXPECT_EQ(lost->GetContentsTable(0, table.put()), MAPI_E_CORRUPT_DATA);
    EXPECT_FALSE(table);
    std::unique_ptr<MAPIERROR> error;
    ASSERT_EQ(lost->GetLastError(MAPI_E_CORRUPT_DATA, 0, &error), S_OK);
    EXPECT_NE(error->lpszError.find("cannot be listed: "), std::string::npos) << error->lpszError;
    EXPECT_GT(error->lpszError.size(), std::string("the folder's messages cannot be listed: ").size());
    SPropTagArray counts{PR_CONTENT_COUNT, PR_SUBFOLDERS};
    ULONG n = 0;
    SPropValueArray v;
    EXPECT_EQ(lost->GetProps(&counts, 0, &n, &v), MAPI_W_ERRORS_RETURNED);
    EXPECT_EQ(v[0].ulPropTag, PROP_TAG(PT_ERROR, PROP_ID(PR_CONTENT_COUNT)));
    EXPECT_EQ(v[0].Value.err, MAPI_E_CORRUPT_DATA);
    EXPECT_EQ(v[1].Value.err, MAPI_E_CORRUPT_DATA);
}

TEST_F(MapiLayer, ReceiveFolderComesFromTheStoresTable) {
    pstbuild::Store s = pstbuild::SampleStore();
    s.folders[0].role = "inbox";
    Mounted m(Write(s), "receive");
    std::vector<BYTE> receive;
    std::string cls = "unset";
    ASSERT_EQ(m.store->GetReceiveFolder("ipm.note.custom", 0, &receive, &cls), S_OK);
    EXPECT_EQ(cls, "IPM");  // the most specific entry, matched in any case
    ASSERT_EQ(m.store->GetReceiveFolder("REPORT.IPM.Note.NDR", 0, &receive, &cls), S_OK);
    EXPECT_EQ(cls, "REPORT.IPM");
    ASSERT_EQ(m.store->GetReceiveFolder("IPMX", 0, &receive, &cls), S_OK);
    EXPECT_EQ(cls, "");  // whole parts only: the default entry
    ComPtr<IMAPIFolder> inbox = m.OpenFolder(SPropValue::Binary(PR_ENTRYID, receive));
    SPropTagArray name{PR_DISPLAY_NAME_A};
    ULONG n = 0;
    SPropValueArray v;
    ASSERT_EQ(inbox->GetProps(&name, 0, &n, &v), S_OK);
    EXPECT_STREQ(v[0].Value.lpszA, "Inbox");
}

TEST_F(MapiLayer, EqualNamesStayDistinctByEntryId) {
    pstbuild::Store s;
    s.folders = {pstbuild::Folder{u"Twin", u"IPF.Note", {}, {}, ""}, pstbuild::Folder{u"Twin", u"IPF.Note", {}, {}, ""}};
    s.folders[1].messages.push_back(pstbuild::Message{});
    Mounted m(Write(s), "twins");
    SRowSetPtr rows = m.Rows(m.Subtree().get(), false, {PR_ENTRYID, PR_CONTENT_COUNT});
    ASSERT_EQ(rows->cRows(), 2u);
    const SBinary& a = rows->aRow[0].lpProps[0].Value.bin;
    const SBinary& b = rows->aRow[1].lpProps[0].Value.bin;
    ULONG same = 9;
    ASSERT_EQ(m.session->CompareEntryIDs(a.cb, a.lpb, b.cb, b.lpb, 0, &same), S_OK);
    EXPECT_EQ(same, FALSE);
    ASSERT_EQ(m.session->CompareEntryIDs(a.cb, a.lpb, a.cb, a.lpb, 0, &same), S_OK);
    EXPECT_EQ(same, TRUE);
    ASSERT_EQ(m.store->CompareEntryIDs(b.cb, b.lpb, b.cb, b.lpb, 0, &same), S_OK);
    EXPECT_EQ(same, TRUE);
    EXPECT_EQ(rows->aRow[0].lpProps[1].Value.l, 0);
    EXPECT_EQ(rows->aRow[1].lpProps[1].Value.l, 1);
}

TEST_F(MapiLayer, TablesSeekRestrictAndSort) {
    pstbuild::Store s;
    pstbuild::Folder f{u"F", u"IPF.Note", {}, {}, ""};
    for (const char16_t* subject : {u"beta", u"Alpha", u"gamma", u"alphabet"}) {
        pstbuild::Message msg;
        msg.subject = subject;
        f.messages.push_back(msg);
    }
    s.folders = {f};
    Mounted m(Write(s), "tables");
    ComPtr<IMAPIFolder> folder = m.Child(m.Subtree().get(), "F");
    ComPtr<IMAPITable> t;
    ASSERT_EQ(folder->GetContentsTable(0, t.put()), S_OK);
    SPropTagArray cols{PR_SUBJECT_A};
    ASSERT_EQ(t->SetColumns(&cols, 0), S_OK);
    ULONG count = 0;
    ASSERT_EQ(t->GetRowCount(0, &count), S_OK);
    EXPECT_EQ(count, 4u);

    LONG sought = 0;
    EXPECT_EQ(t->SeekRow(BOOKMARK_BEGINNING, 2, &sought), S_OK);
    EXPECT_EQ(sought, 2);
    SRowSetPtr rows;
    ASSERT_EQ(t->QueryRows(1, TBL_NOADVANCE, &rows), S_OK);
    EXPECT_STREQ(rows->aRow.at(0).lpProps[0].Value.lpszA, "gamma");
    ASSERT_EQ(t->QueryRows(10, 0, &rows), S_OK);  // no advance above: gamma again, then alphabet
    ASSERT_EQ(rows->cRows(), 2u);
    EXPECT_STREQ(rows->aRow[1].lpProps[0].Value.lpszA, "alphabet");
    ASSERT_EQ(t->QueryRows(10, 0, &rows), S_OK);
    EXPECT_EQ(rows->cRows(), 0u);
    EXPECT_EQ(t->SeekRow(BOOKMARK_END, -10, &sought), S_OK);
    EXPECT_EQ(sought, -4);

    SRestriction alpha = SRestriction::Content(FL_PREFIX | FL_IGNORECASE, PR_SUBJECT_A, SPropValue::String8(PR_SUBJECT_A, "ALPHA"));
    ASSERT_EQ(t->Restrict(&alpha, 0), S_OK);
    ASSERT_EQ(t->GetRowCount(0, &count), S_OK);
    EXPECT_EQ(count, 2u);
    SSortOrderSet order{{{PR_SUBJECT_A, TABLE_SORT_DESCEND}}};
    ASSERT_EQ(t->Restrict(nullptr, 0), S_OK);
    ASSERT_EQ(t->SortTable(&order, 0), S_OK);
    ASSERT_EQ(t->QueryRows(10, 0, &rows), S_OK);
    ASSERT_EQ(rows->cRows(), 4u);
    EXPECT_STREQ(rows->aRow[0].lpProps[0].Value.lpszA, "gamma");
    EXPECT_STREQ(rows->aRow[3].lpProps[0].Value.lpszA, "Alpha");  // case-insensitive order
}

TEST_F(MapiLayer, StoredTextIsDecodedAndSubjectMarkersStripped) {
    pstbuild::Store s;
    pstbuild::Folder f{u"F", u"IPF.Note", {}, {}, ""};
    pstbuild::Message cyrillic;
    cyrillic.extra = {Prop::String8(0x0037001E, "\x01\x04RE: \xcf\xf0\xe8\xe2\xe5\xf2"), Prop::Long(0x3FFD0003, 1251)};
    pstbuild::Message latin;
    latin.extra = {Prop::String8(0x0037001E, "caf\xe9")};  // no code page: the store's (1252)
    pstbuild::Message marked;
    marked.extra = {Prop::Unicode(0x0037001F, u"\x01\x05" u"FW: \x65E5\x672C")};
    f.messages = {cyrillic, latin, marked};
    s.folders = {f};
    Mounted m(Write(s), "text");
    SRowSetPtr rows = m.Rows(m.Child(m.Subtree().get(), "F").get(), true, {PR_SUBJECT_W, PR_SUBJECT_A});
    ASSERT_EQ(rows->cRows(), 3u);
    EXPECT_EQ(std::u16string(rows->aRow[0].lpProps[0].Value.lpszW), u"RE: \x041F\x0440\x0438\x0432\x0435\x0442");
    EXPECT_EQ(Text(rows->aRow[1].lpProps[0]), "caf\xc3\xa9");
    EXPECT_STREQ(rows->aRow[1].lpProps[1].Value.lpszA, "caf\xc3\xa9");  // 8-bit answers are UTF-8
    EXPECT_EQ(std::u16string(rows->aRow[2].lpProps[0].Value.lpszW), u"FW: \x65E5\x672C");
}

TEST_F(MapiLayer, DisplayListsAreBuiltFromRecipientsWhenAbsent) {
    pstbuild::Store s = pstbuild::SampleStore();
    s.folders[0].messages[0].storeDisplayLists = false;
    s.folders[0].messages[0].recipients.push_back({1, u"Zoe", u"zoe@example.org"});
    s.folders[0].messages[0].recipients.push_back({3, u"Hidden", u"h@example.org"});
    Mounted m(Write(s), "lists");
    SRowSetPtr rows = m.Rows(m.Child(m.Subtree().get(), "Inbox").get(), true,
                             {PR_DISPLAY_TO_A, PR_DISPLAY_CC_A, PR_DISPLAY_BCC_A});
    EXPECT_EQ(Text(rows->aRow[0].lpProps[0]), "Bob; Zoe");
    EXPECT_EQ(Text(rows->aRow[0].lpProps[1]), "Carol");
    EXPECT_EQ(Text(rows->aRow[0].lpProps[2]), "Hidden");
}

TEST_F(MapiLayer, RecipientsAndAttachments) {
    Mounted m(Write(pstbuild::SampleStore()), "attach");
    ComPtr<IMessage> msg = m.FirstMessage(m.Child(m.Subtree().get(), "Inbox").get());
    ComPtr<IMAPITable> recips;
    ASSERT_EQ(msg->GetRecipientTable(0, recips.put()), S_OK);
    SPropTagArray rcols{PR_ROWID, PR_RECIPIENT_TYPE, PR_DISPLAY_NAME_A, PR_EMAIL_ADDRESS_W};
    recips->SetColumns(&rcols, 0);
    SRowSetPtr rows;
    ASSERT_EQ(recips->QueryRows(10, 0, &rows), S_OK);
    ASSERT_EQ(rows->cRows(), 2u);
    EXPECT_EQ(rows->aRow[1].lpProps[0].Value.l, 1);
    EXPECT_EQ(rows->aRow[1].lpProps[1].Value.l, static_cast<LONG>(MAPI_CC));
    EXPECT_STREQ(rows->aRow[1].lpProps[2].Value.lpszA, "Carol");
    EXPECT_EQ(Text(rows->aRow[1].lpProps[3]), "carol@example.org");

    ComPtr<IMAPITable> atts;
    ASSERT_EQ(msg->GetAttachmentTable(0, atts.put()), S_OK);
    SPropTagArray acols{PR_ATTACH_NUM, PR_ATTACH_LONG_FILENAME_A, PR_ATTACH_METHOD};
    atts->SetColumns(&acols, 0);
    ASSERT_EQ(atts->QueryRows(10, 0, &rows), S_OK);
    ASSERT_EQ(rows->cRows(), 1u);
    EXPECT_EQ(rows->aRow[0].lpProps[0].Value.l, 0);
    EXPECT_STREQ(rows->aRow[0].lpProps[1].Value.lpszA, "notes.txt");
    EXPECT_EQ(rows->aRow[0].lpProps[2].Value.l, static_cast<LONG>(ATTACH_BY_VALUE));

    ComPtr<IAttach> att;
    ASSERT_EQ(msg->OpenAttach(0, nullptr, 0, att.put()), S_OK);
    SPropTagArray data{PR_ATTACH_DATA_BIN, PR_ATTACH_NUM};
    ULONG n = 0;
    SPropValueArray v;
    ASSERT_EQ(att->GetProps(&data, 0, &n, &v), S_OK);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(v[0].Value.bin.lpb), v[0].Value.bin.cb), "attached text");
    IUnknown* embedded = nullptr;
    EXPECT_EQ(att->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, 0, &embedded), MAPI_E_NOT_FOUND);
    EXPECT_EQ(msg->OpenAttach(5, nullptr, 0, att.put()), MAPI_E_NOT_FOUND);
}

TEST_F(MapiLayer, NamedPropertiesMatchSetAndId) {
    const BYTE common[16] = {0x08, 0x20, 0x06, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    const BYTE other[16] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10};
    pstbuild::Store s;
    pstbuild::NamedProp byId{}, byName{};
    std::memcpy(byId.guid, common, 16);
    byId.lid = 0x8580;
    std::memcpy(byName.guid, other, 16);
    byName.isString = true;
    byName.name = u"Colour";
    s.names = {byId, byName};
    pstbuild::Folder f{u"F", u"IPF.Note", {}, {}, ""};
    pstbuild::Message msg;
    msg.extra = {Prop::Long(0x80000003, 42), Prop::Unicode(0x8001001F, u"blue")};
    f.messages = {msg};
    s.folders = {f};
    Mounted m(Write(s), "named");
    ComPtr<IMessage> message = m.FirstMessage(m.Child(m.Subtree().get(), "F").get());

    MAPINAMEID id{GuidFromBytes(common), MNID_ID, 0x8580, {}};
    MAPINAMEID name{GuidFromBytes(other), MNID_STRING, 0, u"Colour"};
    MAPINAMEID wrongSet{GuidFromBytes(other), MNID_ID, 0x8580, {}};
    MAPINAMEID wrongCase{GuidFromBytes(other), MNID_STRING, 0, u"colour"};
    SPropTagArray tags;
    EXPECT_EQ(message->GetIDsFromNames({id, name, wrongSet, wrongCase}, 0, &tags), MAPI_W_ERRORS_RETURNED);
    ASSERT_EQ(tags.cValues(), 4u);
    EXPECT_EQ(PROP_ID(tags.aulPropTag[0]), 0x8000u);
    EXPECT_EQ(PROP_ID(tags.aulPropTag[1]), 0x8001u);
    EXPECT_EQ(PROP_TYPE(tags.aulPropTag[2]), PT_ERROR);
    EXPECT_EQ(PROP_TYPE(tags.aulPropTag[3]), PT_ERROR);

    SPropTagArray ask{CHANGE_PROP_TYPE(tags.aulPropTag[0], PT_LONG), CHANGE_PROP_TYPE(tags.aulPropTag[1], PT_STRING8)};
    ULONG n = 0;
    SPropValueArray v;
    ASSERT_EQ(message->GetProps(&ask, 0, &n, &v), S_OK);
    EXPECT_EQ(v[0].Value.l, 42);
    EXPECT_STREQ(v[1].Value.lpszA, "blue");
    std::vector<MAPINAMEID> names;
    ASSERT_EQ(message->GetNamesFromIDs(SPropTagArray{tags.aulPropTag[1]}, &names), S_OK);
    EXPECT_EQ(names.at(0).lpwstrName, u"Colour");
}

TEST(MapiProviderTable, LibrariesResolveByFileName) {
    for (const char* name : {"mapi32.dll", "MAPI32.DLL", "C:\\Windows\\System32\\mapi32.dll", "/usr/lib/mapi32.dll"}) {
        HMODULE h = MapiLoadLibrary(name);
        ASSERT_NE(h, nullptr) << name;
        EXPECT_NE(MapiGetProcAddress(h, "MAPILogonEx"), nullptr);
        EXPECT_NE(MapiGetProcAddress(h, MapiOrdinal(147)), nullptr);
        EXPECT_EQ(MapiGetProcAddress(h, "NoSuchEntry"), nullptr);
        EXPECT_EQ(MapiGetProcAddress(h, MapiOrdinal(999)), nullptr);
        EXPECT_EQ(MapiFreeLibrary(h), TRUE);
    }
    EXPECT_EQ(MapiLoadLibrary("olmapi32.dll"), nullptr);
    EXPECT_EQ(MapiLoadLibrary(""), nullptr);
    RegisterMapiProvider("fake.dll", {{"MAPIInitialize", 0, reinterpret_cast<MapiProc>(&MAPIInitialize)}});
    HMODULE fake = MapiLoadLibrary("fake.dll");
    ASSERT_NE(fake, nullptr);
    UnregisterMapiProvider("fake.dll");
    EXPECT_NE(MapiGetProcAddress(fake, "MAPIInitialize"), nullptr);  // a loaded library keeps its entry points
    EXPECT_EQ(MapiFreeLibrary(fake), TRUE);
    EXPECT_EQ(MapiFreeLibrary(fake), FALSE);
}

TEST(MapiBuffers, MoreBuffersGoWithTheirParent) {
    void* parent = nullptr;
    ASSERT_EQ(MAPIAllocateBuffer(16, &parent), S_OK);
    void* child = nullptr;
    ASSERT_EQ(MAPIAllocateMore(32, parent, &child), S_OK);
    std::memset(child, 1, 32);
    EXPECT_EQ(MAPIAllocateMore(8, nullptr, &child), MAPI_E_INVALID_PARAMETER);
    EXPECT_EQ(MAPIFreeBuffer(parent), 0u);  // leak checking proves the child went too
    EXPECT_EQ(MAPIFreeBuffer(nullptr), 0u);
}

}  // namespace
