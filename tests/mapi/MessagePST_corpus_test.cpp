// Every message of every corpus store loads fully as a store message record; its subject,
// sender and attachment names equal what libpff reads directly, and the message saved as
// .msg reads back as the same record, its To line by the .msg record's own rule. A store
// built here, with inline pictures and received-by addresses, is held to the same.
#include <filesystem>
#include <iostream>
#include <set>

#include "PstBuilder.h"
#include "PstPeer.h"
#include "app/CAppUtils.h"
#include "app/RegExpUtils.h"
#include "app/UiStrings.h"
#include "mapi/MessagePST.h"
#include "message/MessageMSG.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

// The record's name of attachment row n: listed, or inline (saved under a cleaned name).
bool NameOfRow(const MessagePST& r, int n, WideString& name, bool& isInline) {
    for (const AttachmentItem& a : r.attachments)
        if (a.number == n) {
            name = a.name;
            isInline = false;
            return true;
        }
    for (const AttachmentItem& a : r.inlineParts)
        if (a.number == n) {
            name = a.name;
            isInline = true;
            return true;
        }
    return false;
}

WideString TrimEnd(WideString s) {
    while (!s.empty() && (s.back() == 0 || s.back() == u'\r' || s.back() == u'\n' || s.back() == u' ')) s.pop_back();
    return s;
}

// The To line of the .msg record: the stored To line, with " <address>" of the received-by
// address when that is a valid address other than the line, CR, LF and tabs removed; when
// that leaves nothing, every recipient as "name <address> ".
WideString MsgToLine(const WideString& displayTo, const pstpeer::PeerMessage& pm) {
    WideString to = displayTo;
    if (!pm.receivedBy.empty() && pm.receivedBy != to && IsValidEmailAddress(pm.receivedBy, true))
        to += u" <" + pm.receivedBy + u">";
    std::erase_if(to, [](char16_t c) { return c == u'\r' || c == u'\n' || c == u'\t'; });
    if (to.empty())
        for (std::size_t i = 0; i < pm.recipientNames.size(); ++i)
            to += pm.recipientNames[i] + u" <" + pm.recipientAddresses[i] + u"> ";
    return to;
}

// How many attachments a record holds, listed and inline.
int AttachmentNumbers(const TMessageAttr& r) {
    std::set<int> numbers;
    for (const AttachmentItem& a : r.attachments) numbers.insert(a.number);
    for (const AttachmentItem& a : r.inlineParts) numbers.insert(a.number);
    return static_cast<int>(numbers.size());
}

struct Tally {
    int compared = 0, mismatched = 0, inStores = 0;
};

// Loads every listed message of the store, compares it with libpff's reading, saves it as
// .msg into `out` and compares the record read back.
void CheckStore(const std::string& path, const std::filesystem::path& out, Tally& tally) {
    SCOPED_TRACE(path);
    RegisterUiStrings();
    MapiLibs libs;
    libs.libraries = {{"Default", "mapi32.dll", false}};
    ASSERT_TRUE(libs.Open(0));
    std::vector<pstpeer::PeerFolder> peer;
    ASSERT_TRUE(pstpeer::ReadFolders(path, true, peer));
    for (const pstpeer::PeerFolder& p : peer) tally.inStores += static_cast<int>(p.messages.size());
    auto session = std::make_shared<MapiSession>();
    ASSERT_EQ(session->Open(Utf8ToUtf16(path), &libs, 0), S_OK);
    for (const mapi_TFolderInfo& f : *session->GetFolders()) {
        SCOPED_TRACE(f.path);
        const pstpeer::PeerFolder* pf = nullptr;
        for (const pstpeer::PeerFolder& p : peer)
            if (Utf16ToUtf8(p.path) == f.path) pf = &p;
        ASSERT_NE(pf, nullptr);
        ULONG type = 0;
        IUnknown* object = nullptr;
        ASSERT_EQ(session->GetStore()->OpenEntry(f.eid.cb, f.eid.ab.data(), nullptr, 0, &type, &object), S_OK);
        auto folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
        ComPtr<IMAPITable> table;
        ASSERT_EQ(folder->GetContentsTable(0, table.put()), S_OK);
        // The row carries the sender's own name, the one libpff is asked for.
        const SPropTagArray columns{PR_ENTRYID,         PR_MESSAGE_FLAGS, 0x0E1B000B, PR_SUBJECT_W,
                                    PR_SENDER_NAME_W,   PR_MESSAGE_DELIVERY_TIME, 0x0E04001F, 0x0E03001F,
                                    0x0E02001F,         PR_INTERNET_CPID};
        table->SetColumns(&columns, 0);
        SRowSetPtr rows;
        ASSERT_EQ(libs.HrQueryAllRows(table.get(), nullptr, nullptr, nullptr, 0, &rows), S_OK);
        ASSERT_EQ(rows->cRows(), pf->messages.size());
        for (std::size_t i = 0; i < rows->aRow.size(); ++i) {
            SCOPED_TRACE("row " + std::to_string(i));
            const pstpeer::PeerMessage& pm = pf->messages[i];
            MessagePST r;
            r.FillFromSRow(session, rows->aRow[i]);
            r.pstAttr.row = static_cast<std::int32_t>(i);
            r.fileName = Utf8ToUtf16(path);
            bool same = true;
            auto expectEq = [&same](const auto& got, const auto& want, const char* what) {
                EXPECT_EQ(got, want) << what;
                if (!(got == want)) same = false;
            };
            ASSERT_TRUE(r.OpenMessage());
            expectEq(r.subject, pm.subject, "subject");
            expectEq(r.from, pm.sender, "sender");
            expectEq(static_cast<int>(r.attachments.size() + r.inlineParts.size()), pm.attachments, "attachments");
            for (int n = 0; n < pm.attachments; ++n) {
                WideString name;
                bool isInline = false;
                ASSERT_TRUE(NameOfRow(r, n, name, isInline)) << "attachment " << n;
                const WideString& want = pm.attachmentNames[static_cast<std::size_t>(n)];
                if (want.empty()) {
                    expectEq(name.rfind(u"attachment ", 0), std::size_t{0}, "fallback name");
                } else {
                    // An inline part's file carries the load's number and the part's: "<load>-<part>-<name>".
                    const WideString shown = isInline ? name.substr(name.find(u'-', name.find(u'-') + 1) + 1) : name;
                    expectEq(shown, isInline ? CAppUtils::MakeValidFileName(want, false) : want, "attachment name");
                }
            }

            const WideString saved = r.Export(Utf8ToUtf16(out.string()));
            ASSERT_FALSE(saved.empty());
            MessageMSG back;
            ASSERT_TRUE(back.LoadFromFile(saved, false));
            expectEq(back.subject, r.subject, ".msg subject");
            expectEq(back.to, MsgToLine(r.to, pm), ".msg To");
            expectEq(back.cc, r.cc, ".msg CC");
            if (r.msgType == mtNote || r.msgType == mtOther)
                expectEq(TrimEnd(back.plainBody), TrimEnd(r.plainBody), ".msg plain body");
            // Inline pictures are kept apart from the listed attachments; one with a rendering
            // is in both lists under the same number.
            expectEq(AttachmentNumbers(back), pm.attachments, ".msg attachments");
            ++tally.compared;
            if (!same) ++tally.mismatched;
        }
    }
}

TEST(PstMessageCorpus, EveryMessageLoadsSavesAsMsgAndMatchesLibpff) {
    QUILLORA_REQUIRE_CORPUS();
    const std::filesystem::path dir = testsupport::CorpusDir() / "pst";
    if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no pst corpus";
    testsupport::TempDir out;
    Tally tally;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.path().extension() == ".pst") CheckStore(entry.path().string(), out.path(), tally);
    std::cout << "store messages compared with libpff and through .msg: " << tally.compared
              << ", mismatched: " << tally.mismatched << (tally.mismatched == 0 ? " (all matched)" : "")
              << "; messages in the stores: " << tally.inStores
              << (tally.inStores > tally.compared ? " (the rest lie in folders the store walk does not list)" : "")
              << std::endl;
    EXPECT_GT(tally.compared, 0);
}

TEST(PstMessageCorpus, BuiltStoreMessagesRoundTripByTheSameRules) {
    using pstbuild::Prop;
    pstbuild::Message html;
    html.subject = u"Pictures";
    html.sender = u"Alice";
    html.recipients = {{1, u"Bob", u"bob@example.org"}};
    html.extra = {Prop::Binary(0x10130102, "<html><body><img src=\"cid:a\"><img src=\"cid:b\"></body></html>"),
                  Prop::Unicode(0x0076001F, u"me@example.org")};
    html.attachments = {{u"a.png", "A", {Prop::Unicode(0x3712001F, u"a")}, {}},
                        {u"b.png", "B", {Prop::Unicode(0x3712001F, u"b")}, {}},
                        {u"report.txt", "text", {}, {}}};
    pstbuild::Message sameAddress;
    sameAddress.subject = u"Same";
    sameAddress.recipients = {{1, u"carol@example.org", u"carol@example.org"}};
    sameAddress.extra = {Prop::Unicode(0x0076001F, u"carol@example.org")};
    pstbuild::Message invalidAddress;
    invalidAddress.subject = u"Invalid";
    invalidAddress.recipients = {{1, u"Dave", u"dave@example.org"}};
    invalidAddress.extra = {Prop::Unicode(0x0076001F, u"not an address")};
    pstbuild::Message copiesOnly;  // no To line: the .msg record lists every recipient
    copiesOnly.subject = u"Copies";
    copiesOnly.recipients = {{2, u"Erin", u"erin@example.org"}};
    copiesOnly.storeDisplayLists = false;
    pstbuild::Message custom;  // a class libpff does not know still lists its attachment
    custom.subject = u"Custom";
    custom.messageClass = u"X.Custom";
    custom.attachments = {{u"data.bin", "DATA", {}, {}}};
    pstbuild::Store s;
    s.folders = {
        pstbuild::Folder{u"Inbox", u"IPF.Note", {html, sameAddress, invalidAddress, copiesOnly, custom}, {}, "inbox"}};
    s.folderProps = {{u"Inbox", Prop::Unicode(0x001A001F, u"IPM")}};
    testsupport::TempDir dir;
    const std::string path = (dir.path() / "built.pst").string();
    ASSERT_TRUE(pstbuild::WriteFile(s, path));
    std::vector<pstpeer::PeerFolder> peer;
    ASSERT_TRUE(pstpeer::ReadFolders(path, true, peer));
    ASSERT_EQ(peer.at(0).messages.size(), 5u);
    EXPECT_EQ(MsgToLine(u"Bob", peer[0].messages[0]), u"Bob <me@example.org>");
    EXPECT_EQ(MsgToLine(u"carol@example.org", peer[0].messages[1]), u"carol@example.org");
    EXPECT_EQ(MsgToLine(u"Dave", peer[0].messages[2]), u"Dave");
    EXPECT_EQ(MsgToLine(u"", peer[0].messages[3]), u"Erin <erin@example.org> ");
    Tally tally;
    std::filesystem::create_directories(dir.path() / "out");
    CheckStore(path, dir.path() / "out", tally);
    EXPECT_EQ(tally.compared, 5);
    EXPECT_EQ(tally.mismatched, 0);
}

}  // namespace
