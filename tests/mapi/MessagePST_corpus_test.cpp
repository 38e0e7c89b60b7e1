// Every message of every corpus store loads fully as a store message record; its subject,
// sender and attachment names equal what libpff reads directly, and the message saved as
// .msg reads back as the same record.
#include <filesystem>
#include <iostream>

#include "PstPeer.h"
#include "app/CAppUtils.h"
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

TEST(PstMessageCorpus, EveryMessageLoadsSavesAsMsgAndMatchesLibpff) {
    QUILLORA_REQUIRE_CORPUS();
    const std::filesystem::path dir = testsupport::CorpusDir() / "pst";
    if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no pst corpus";
    RegisterUiStrings();
    MapiLibs libs;
    libs.libraries = {{"Default", "mapi32.dll", false}};
    ASSERT_TRUE(libs.Open(0));
    testsupport::TempDir out;
    int compared = 0, mismatched = 0, inStores = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.path().extension() != ".pst") continue;
        const std::string path = entry.path().string();
        SCOPED_TRACE(path);
        std::vector<pstpeer::PeerFolder> peer;
        ASSERT_TRUE(pstpeer::ReadFolders(path, true, peer));
        for (const pstpeer::PeerFolder& p : peer) inStores += static_cast<int>(p.messages.size());
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
                        expectEq(name, isInline ? CAppUtils::MakeValidFileName(want, false) : want, "attachment name");
                    }
                }

                const WideString saved = r.Export(Utf8ToUtf16(out.path().string()));
                ASSERT_FALSE(saved.empty());
                MessageMSG back;
                ASSERT_TRUE(back.LoadFromFile(saved, false));
                expectEq(back.subject, r.subject, ".msg subject");
                expectEq(back.to, r.to, ".msg To");
                expectEq(back.cc, r.cc, ".msg CC");
                if (r.msgType == mtNote || r.msgType == mtOther)
                    expectEq(TrimEnd(back.plainBody), TrimEnd(r.plainBody), ".msg plain body");
                expectEq(back.GetAttachmentCount(), pm.attachments, ".msg attachments");
                ++compared;
                if (!same) ++mismatched;
            }
        }
    }
    std::cout << "store messages compared with libpff and through .msg: " << compared << ", mismatched: " << mismatched
              << (mismatched == 0 ? " (all matched)" : "") << "; messages in the stores: " << inStores
              << (inStores > compared ? " (the rest lie in folders the store walk does not list)" : "") << std::endl;
    EXPECT_GT(compared, 0);
}

}  // namespace
