// Mounts a store file made of the fuzzed bytes through the MAPI layer and walks it as the
// program does: folders, contents rows, and each listed message with its recipients and
// attachments.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "mapi/MapiSession.h"
#include "platform/win/WinString.h"

namespace {

MapiLibs& Libs() {
    static MapiLibs* libs = [] {
        auto* l = new MapiLibs();
        l->libraries = {{"Default", "mapi32.dll", false}};
        l->Open(0);
        return l;
    }();
    return *libs;
}

void Drain(IMAPITable* table, SPropTagArray columns) {
    SRowSetPtr rows;
    Libs().HrQueryAllRows(table, &columns, nullptr, nullptr, 0, &rows);
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
        if (att->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, 0, &embedded) == S_OK) embedded->Release();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One scratch file per fuzzing process, removed when it ends.
    static const struct Scratch {
        std::string path = "/tmp/quillora_pst_fuzz_" + std::to_string(::getpid()) + ".pst";
        ~Scratch() { std::remove(path.c_str()); }
    } scratch;
    const std::string& path = scratch.path;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    MapiSession session;
    session.Open(Utf8ToUtf16(path), &Libs(), 0);
    if (!session.opened) return 0;
    int messages = 0;
    for (const mapi_TFolderInfo& f : *session.GetFolders()) {
        ULONG type = 0;
        IUnknown* object = nullptr;
        if (session.GetStore()->OpenEntry(f.eid.cb, f.eid.ab.data(), nullptr, 0, &type, &object) != S_OK) continue;
        ComPtr<IMAPIFolder> folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
        ComPtr<IMAPITable> contents;
        if (folder->GetContentsTable(0, contents.put()) != S_OK) continue;
        SPropTagArray cols{PR_ENTRYID, PR_SUBJECT_W, PR_SENDER_NAME_W, PR_DISPLAY_TO_W, PR_MESSAGE_DELIVERY_TIME, PR_HASATTACH};
        SRowSetPtr rows;
        if (Libs().HrQueryAllRows(contents.get(), &cols, nullptr, nullptr, 0, &rows) != S_OK) continue;
        for (const SRow& row : rows->aRow) {
            if (++messages > 50) break;
            if (row.lpProps[0].type() != PT_BINARY) continue;
            IUnknown* m = nullptr;
            if (folder->OpenEntry(row.lpProps[0].Value.bin.cb, row.lpProps[0].Value.bin.lpb, nullptr, 0, &type, &m) != S_OK)
                continue;
            ComPtr<IMessage> msg = ComPtr<IMessage>::Adopt(static_cast<IMessage*>(m));
            WalkMessage(msg.get());
        }
    }
    return 0;
}
