// The MAPI layer over the corpus stores: an attached message opens as a message.
#include <cstring>
#include <filesystem>

#include "platform/mapi/MapiFolder.h"
#include "platform/mapi/MapiProvider.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(MapiLayerCorpus, AttachedMessageOpensAsMessage) {
    QUILLORA_REQUIRE_CORPUS();
    const std::string path = (testsupport::CorpusDir() / "pst" / "pstsdk" / "submessage.pst").string();
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no submessage.pst";
    ASSERT_EQ(MAPIInitialize(nullptr), S_OK);
    {
        ComPtr<IProfAdmin> admin;
        ASSERT_EQ(MAPIAdminProfiles(0, admin.put()), S_OK);
        ASSERT_EQ(admin->CreateProfile("corpus", nullptr, 0, 0), S_OK);
        ComPtr<IMsgServiceAdmin> services;
        ASSERT_EQ(admin->AdminServices("corpus", nullptr, 0, 0, services.put()), S_OK);
        ASSERT_EQ(services->CreateMsgService("MSPST MS", "", 0, 0), S_OK);
        ComPtr<IMAPITable> table;
        SRowSetPtr rows;
        services->GetMsgServiceTable(0, table.put());
        table->QueryRows(1, 0, &rows);
        MAPIUID uid;
        std::memcpy(uid.ab, rows->aRow.at(0).lpProps[0].Value.bin.lpb, 16);
        ASSERT_EQ(services->ConfigureMsgService(&uid, 0, 0, {SPropValue::String8(PR_PST_PATH_A, path)}), S_OK);
        ComPtr<IMAPISession> session;
        ASSERT_EQ(MAPILogonEx(0, "corpus", nullptr, 0, session.put()), S_OK);
        ComPtr<IMAPITable> stores;
        session->GetMsgStoresTable(0, stores.put());
        stores->QueryRows(1, 0, &rows);
        const SBinary& seid = rows->aRow.at(0).lpProps[0].Value.bin;
        ComPtr<IMsgStore> store;
        ASSERT_EQ(session->OpenMsgStore(0, seid.cb, seid.lpb, nullptr, 0, store.put()), S_OK);
        // The subtree's mail folder, its one message, and that message's attachment.
        SPropTagArray tags{PR_IPM_SUBTREE_ENTRYID};
        ULONG n = 0, type = 0;
        SPropValueArray v;
        ASSERT_EQ(store->GetProps(&tags, 0, &n, &v), S_OK);
        IUnknown* object = nullptr;
        ASSERT_EQ(store->OpenEntry(v[0].Value.bin.cb, v[0].Value.bin.lpb, nullptr, 0, &type, &object), S_OK);
        ComPtr<IMAPIFolder> subtree = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
        ComPtr<IMAPITable> hierarchy;
        subtree->GetHierarchyTable(0, hierarchy.put());
        SPropTagArray fcols{PR_ENTRYID, PR_CONTAINER_CLASS_A};
        hierarchy->SetColumns(&fcols, 0);
        hierarchy->QueryRows(10, 0, &rows);
        ComPtr<IMessage> message;
        for (const SRow& r : rows->aRow) {
            if (r.lpProps[1].type() != PT_STRING8) continue;
            ASSERT_EQ(subtree->OpenEntry(r.lpProps[0].Value.bin.cb, r.lpProps[0].Value.bin.lpb, nullptr, 0, &type, &object), S_OK);
            ComPtr<IMAPIFolder> folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
            ComPtr<IMAPITable> contents;
            folder->GetContentsTable(0, contents.put());
            SPropTagArray mcols{PR_ENTRYID};
            contents->SetColumns(&mcols, 0);
            SRowSetPtr mrows;
            contents->QueryRows(1, 0, &mrows);
            ASSERT_EQ(mrows->cRows(), 1u);
            const SBinary& meid = mrows->aRow[0].lpProps[0].Value.bin;
            ASSERT_EQ(folder->OpenEntry(meid.cb, meid.lpb, nullptr, 0, &type, &object), S_OK);
            message = ComPtr<IMessage>::Adopt(static_cast<IMessage*>(object));
        }
        ASSERT_TRUE(message);
        ComPtr<IAttach> att;
        ASSERT_EQ(message->OpenAttach(0, nullptr, 0, att.put()), S_OK);
        SPropTagArray method{PR_ATTACH_METHOD};
        ASSERT_EQ(att->GetProps(&method, 0, &n, &v), S_OK);
        EXPECT_EQ(v[0].Value.l, static_cast<LONG>(ATTACH_EMBEDDED_MSG));
        ASSERT_EQ(att->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, 0, &object), S_OK);
        ComPtr<IMessage> inner = ComPtr<IMessage>::Adopt(static_cast<IMessage*>(object));
        SPropTagArray subject{PR_SUBJECT_W, PR_ENTRYID};
        EXPECT_EQ(inner->GetProps(&subject, 0, &n, &v), MAPI_W_ERRORS_RETURNED);  // no entry id of its own
        EXPECT_FALSE(PropValueText(v[0]).empty());
        session->Logoff(0, 0, 0);
        admin->DeleteProfile("corpus", 0);
    }
    MAPIUninitialize();
}

}  // namespace
