// Mounts a store file made of the fuzzed bytes through the MAPI layer, as a session does
// (profile, service, logon, store), and walks it: the folder tree from the IPM subtree, the
// contents rows, and each message with its properties, recipients and attachments.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/mapi/MapiFolder.h"
#include "platform/mapi/MapiProvider.h"
#include "platform/win/WinString.h"

namespace {

int budget = 0;  // objects opened per input, so that a deep or looping tree ends

void Drain(IMAPITable* table, SPropTagArray columns) {
    table->SetColumns(&columns, 0);
    SRowSetPtr rows;
    table->QueryRows(1000, 0, &rows);
}

void WalkMessage(IMessage* msg) {
    SPropValueArray values;
    ULONG count = 0;
    msg->GetProps(nullptr, MAPI_UNICODE, &count, &values);
    ComPtr<IMAPITable> table;
    if (msg->GetRecipientTable(0, table.put()) == S_OK)
        Drain(table.get(), {PR_DISPLAY_NAME_W, PR_EMAIL_ADDRESS_W, PR_RECIPIENT_TYPE});
    if (msg->GetAttachmentTable(0, table.put()) == S_OK) Drain(table.get(), {PR_ATTACH_NUM, PR_ATTACH_LONG_FILENAME_W});
    ComPtr<IAttach> att;
    if (msg->OpenAttach(0, nullptr, 0, att.put()) == S_OK) {
        SPropTagArray data{PR_ATTACH_DATA_BIN, PR_ATTACH_METHOD};
        att->GetProps(&data, 0, &count, &values);
        IUnknown* embedded = nullptr;
        if (att->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, 0, &embedded) == S_OK) {
            ComPtr<IMessage> inner = ComPtr<IMessage>::Adopt(static_cast<IMessage*>(embedded));
            if (++budget < 200) WalkMessage(inner.get());
        }
    }
}

void WalkFolder(IMAPIFolder* folder, int depth) {
    if (depth > 20 || ++budget > 200) return;
    ComPtr<IMAPITable> contents;
    if (folder->GetContentsTable(0, contents.put()) == S_OK) {
        SPropTagArray cols{PR_ENTRYID, PR_SUBJECT_W, PR_SENDER_NAME_W, PR_DISPLAY_TO_W, PR_MESSAGE_DELIVERY_TIME, PR_HASATTACH};
        contents->SetColumns(&cols, 0);
        SRowSetPtr rows;
        if (contents->QueryRows(50, 0, &rows) == S_OK) {
            for (const SRow& row : rows->aRow) {
                if (row.lpProps[0].type() != PT_BINARY || ++budget > 200) continue;
                ULONG type = 0;
                IUnknown* m = nullptr;
                if (folder->OpenEntry(row.lpProps[0].Value.bin.cb, row.lpProps[0].Value.bin.lpb, nullptr, 0, &type, &m) != S_OK)
                    continue;
                ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(m);
                if (type == MAPI_MESSAGE) WalkMessage(static_cast<IMessage*>(m));
            }
        }
    }
    ComPtr<IMAPITable> hierarchy;
    if (folder->GetHierarchyTable(0, hierarchy.put()) != S_OK) return;
    SPropTagArray cols{PR_ENTRYID, PR_DISPLAY_NAME_W, PR_SUBFOLDERS, PR_CONTAINER_CLASS_A};
    hierarchy->SetColumns(&cols, 0);
    SRowSetPtr rows;
    if (hierarchy->QueryRows(100, 0, &rows) != S_OK) return;
    for (const SRow& row : rows->aRow) {
        if (row.lpProps[0].type() != PT_BINARY) continue;
        ULONG type = 0;
        IUnknown* f = nullptr;
        if (folder->OpenEntry(row.lpProps[0].Value.bin.cb, row.lpProps[0].Value.bin.lpb, nullptr, 0, &type, &f) != S_OK)
            continue;
        ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(f);
        if (type == MAPI_FOLDER) WalkFolder(static_cast<IMAPIFolder*>(f), depth + 1);
    }
}

}  // namespace

// libpff itself leaks small records on some error paths of damaged tables (for instance a
// column definition in libpff_column_definition_initialize); those are not ours to fix, so
// leaks allocated inside libpff are not reported. Leaks of our own code still are.
extern "C" const char* __lsan_default_suppressions() { return "leak:libpff_\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One scratch file per fuzzing process, removed when it ends.
    static const struct Scratch {
        std::string path = "/tmp/quillora_pst_fuzz_" + std::to_string(::getpid()) + ".pst";
        ~Scratch() { std::remove(path.c_str()); }
    } scratch;
    static const HRESULT init = MAPIInitialize(nullptr);
    if (init != S_OK) return 0;
    if (FILE* f = std::fopen(scratch.path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    budget = 0;
    ComPtr<IProfAdmin> admin;
    if (MAPIAdminProfiles(0, admin.put()) != S_OK) return 0;
    const char* profile = "Temp_Pst_fuzz";
    admin->CreateProfile(profile, nullptr, 0, 0);
    ComPtr<IMsgServiceAdmin> services;
    ComPtr<IMAPISession> session;
    if (admin->AdminServices(profile, nullptr, 0, 0, services.put()) == S_OK &&
        services->CreateMsgService("MSPST MS", "Message Store", 0, 0) == S_OK) {
        ComPtr<IMAPITable> table;
        SRowSetPtr rows;
        services->GetMsgServiceTable(0, table.put());
        table->QueryRows(1, 0, &rows);
        MAPIUID uid;
        std::memcpy(uid.ab, rows->aRow.at(0).lpProps[0].Value.bin.lpb, 16);
        if (services->ConfigureMsgService(&uid, 0, 0, {SPropValue::Unicode(PR_PST_PATH_W, Utf8ToUtf16(scratch.path))}) == S_OK &&
            MAPILogonEx(0, profile, nullptr, MAPI_NO_MAIL | MAPI_EXTENDED | MAPI_NEW_SESSION, session.put()) == S_OK) {
            ComPtr<IMAPITable> stores;
            ComPtr<IMsgStore> store;
            if (session->GetMsgStoresTable(0, stores.put()) == S_OK && stores->QueryRows(1, 0, &rows) == S_OK &&
                rows->cRows() == 1) {
                const SBinary& eid = rows->aRow[0].lpProps[0].Value.bin;
                if (session->OpenMsgStore(0, eid.cb, eid.lpb, nullptr, MDB_NO_MAIL, store.put()) == S_OK) {
                    SPropTagArray tags{PR_IPM_SUBTREE_ENTRYID, PR_VALID_FOLDER_MASK, PR_DISPLAY_NAME_W};
                    ULONG n = 0;
                    SPropValueArray v;
                    store->GetProps(&tags, 0, &n, &v);
                    ULONG type = 0;
                    IUnknown* root = nullptr;
                    if (v.size() == 3 && v[0].type() == PT_BINARY &&
                        store->OpenEntry(v[0].Value.bin.cb, v[0].Value.bin.lpb, nullptr, 0, &type, &root) == S_OK) {
                        ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(root);
                        if (type == MAPI_FOLDER) WalkFolder(static_cast<IMAPIFolder*>(root), 0);
                    }
                }
            }
            session->Logoff(0, 0, 0);
        }
    }
    admin->DeleteProfile(profile, 0);
    return 0;
}
