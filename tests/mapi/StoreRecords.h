// The records of every message of every folder of a mounted store, as a folder scan makes
// them (row fields filled, folder and row remembered).
#pragma once

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "mapi/MapiSession.h"
#include "mapi/MessagePST.h"
#include "platform/win/WinString.h"

namespace storerecords {

inline std::vector<std::unique_ptr<MessagePST>> Records(MapiLibs& libs, const std::string& path) {
    auto session = std::make_shared<MapiSession>();
    EXPECT_EQ(session->Open(Utf8ToUtf16(path), &libs, 0), S_OK);
    std::vector<std::unique_ptr<MessagePST>> out;
    for (const mapi_TFolderInfo& f : *session->GetFolders()) {
        ULONG type = 0;
        IUnknown* object = nullptr;
        if (session->GetStore()->OpenEntry(f.eid.cb, f.eid.ab.data(), nullptr, 0, &type, &object) != S_OK) continue;
        auto folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
        ComPtr<IMAPITable> table;
        folder->GetContentsTable(0, table.put());
        const SPropTagArray columns{PR_ENTRYID, PR_MESSAGE_FLAGS, 0x0E1B000B, PR_SUBJECT_W, PR_SENT_REPRESENTING_NAME_W,
                                    PR_SENDER_NAME_W, PR_MESSAGE_DELIVERY_TIME, 0x0E04001F, 0x0E03001F, 0x0E02001F,
                                    PR_INTERNET_CPID};
        table->SetColumns(&columns, 0);
        SRowSetPtr rows;
        libs.HrQueryAllRows(table.get(), nullptr, nullptr, nullptr, 0, &rows);
        for (std::size_t i = 0; rows && i < rows->aRow.size(); ++i) {
            auto m = std::make_unique<MessagePST>();
            m->FillFromSRow(session, rows->aRow[i]);
            m->pstAttr.folderName = Utf8ToUtf16(f.name);
            m->pstAttr.folderPath = Utf8ToUtf16(f.path);
            m->pstAttr.folderType = f.type;
            m->pstAttr.row = static_cast<std::int32_t>(i);
            m->attachRow = m->pstAttr.row;
            m->fileName = Utf8ToUtf16(path);
            out.push_back(std::move(m));
        }
    }
    return out;
}

}  // namespace storerecords
