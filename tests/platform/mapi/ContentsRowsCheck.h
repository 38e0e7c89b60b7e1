// Checks a store's contents tables against its messages: for every folder, each row of the
// table (read from the store's own table node) must give what the message opened at the same
// place in the folder gives for the list's columns, in the same order, with no folder listed
// message by message.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/mapi/PstObjects.h"
#include "platform/win/PlatformTrace.h"
#include "platform/win/WinString.h"

namespace contentscheck {

inline std::string Describe(const SPropValue& v) {
    char buf[64];
    switch (v.type()) {
    case PT_ERROR: std::snprintf(buf, sizeof buf, "error %08X", static_cast<unsigned>(v.Value.err)); return buf;
    case PT_LONG: return "long " + std::to_string(v.Value.l);
    case PT_BOOLEAN: return v.Value.b ? "true" : "false";
    case PT_SYSTIME:
        std::snprintf(buf, sizeof buf, "time %08X%08X", static_cast<unsigned>(v.Value.ft.dwHighDateTime),
                      static_cast<unsigned>(v.Value.ft.dwLowDateTime));
        return buf;
    case PT_BINARY: {
        std::string s = "bin ";
        for (ULONG i = 0; i < v.Value.bin.cb; ++i) {
            std::snprintf(buf, sizeof buf, "%02X", v.Value.bin.lpb[i]);
            s += buf;
        }
        return s;
    }
    case PT_STRING8:
    case PT_UNICODE: return "text " + Utf16ToUtf8(PropValueText(v));
    default: return "type " + std::to_string(v.type());
    }
}

struct Counts {
    int folders = 0, messages = 0;
};

// The list's columns, as the program's store walk asks for them.
inline SPropTagArray ListColumns() {
    return {PR_ENTRYID,         PR_SUBJECT_W,           PR_SENT_REPRESENTING_NAME_W, PR_SENDER_NAME_W, PR_DISPLAY_TO_W,
            PR_DISPLAY_CC_W,    PR_DISPLAY_BCC_W,       PR_MESSAGE_DELIVERY_TIME,    PR_HASATTACH,     PR_INTERNET_CPID,
            PR_MESSAGE_CODEPAGE, PR_MESSAGE_FLAGS,      PR_MESSAGE_CLASS_W,          PR_INSTANCE_KEY,  PR_SUBJECT_A};
}

inline void CheckFolder(const PstContextPtr& ctx, const PstItem& folder, Counts& counts, int depth) {
    ASSERT_LT(depth, 20);
    ++counts.folders;
    const std::uint32_t nid = folder.Nid();
    int count = 0;
    std::string why;
    ASSERT_EQ(folder.SubMessageCount(count, why), S_OK) << why;
    ComPtr<IMAPIFolder> mapiFolder = MakePstFolder(ctx, ctx->file->FolderByNid(nid));
    ComPtr<IMAPITable> table;
    ASSERT_EQ(mapiFolder->GetContentsTable(0, table.put()), S_OK);
    SPropTagArray columns = ListColumns();
    table->SetColumns(&columns, 0);
    SRowSetPtr rows;
    ASSERT_EQ(table->QueryRows(1 << 30, 0, &rows), S_OK);
    ASSERT_EQ(rows->cRows(), static_cast<ULONG>(count)) << "folder " << nid;
    for (int i = 0; i < count; ++i) {
        ComPtr<IMessage> message = MakePstMessage(ctx, folder.SubMessage(i), nid);
        ULONG n = 0;
        SPropValueArray values;
        message->GetProps(&columns, 0, &n, &values);
        ASSERT_EQ(values.size(), columns.aulPropTag.size());
        for (std::size_t c = 0; c < values.size(); ++c)
            EXPECT_EQ(Describe(rows->aRow[i].lpProps[c]), Describe(values[c]))
                << "folder " << nid << " row " << i << " column " << std::hex << columns.aulPropTag[c];
        ++counts.messages;
    }
    int subfolders = 0;
    ASSERT_EQ(folder.SubFolderCount(subfolders, why), S_OK) << why;
    for (int i = 0; i < subfolders; ++i) CheckFolder(ctx, folder.SubFolder(i), counts, depth + 1);
}

// Checks every folder of the store file; the counts say how much was compared. Folders
// listed message by message are expected only when perMessage is given (it gets the lines).
inline Counts CheckStore(const std::string& path, std::vector<std::string>* perMessage = nullptr) {
    Counts counts;
    HRESULT hr = S_OK;
    std::string error;
    auto file = PstFile::Open(path, hr, error);
    EXPECT_TRUE(file) << error;
    if (!file) return counts;
    EXPECT_NE(file->Nodes(), nullptr) << "the store's nodes are not read directly";
    std::vector<std::string> lines;
    SetPlatformTraceSink([&](std::u16string_view line) {
        if (line.find(u"message by message") != std::u16string_view::npos) lines.push_back(Utf16ToUtf8(line));
    });
    auto ctx = std::make_shared<PstStoreContext>(PstStoreContext{file, PstStoreEntryId(path)});
    CheckFolder(ctx, file->FolderByNid(NID_ROOT_FOLDER), counts, 0);
    SetPlatformTraceSink({});
    if (perMessage)
        *perMessage = lines;
    else
        EXPECT_TRUE(lines.empty()) << lines.front();
    return counts;
}

}  // namespace contentscheck
