#include "mapi/StoreMessageList.h"

#include "app/cLogger.h"
#include "platform/win/WinString.h"

int PST_EnumAllMessages(const std::shared_ptr<MapiSession>& session, const WideString& path,
                        std::vector<std::unique_ptr<TMessageAttr>>& list)
{
    QUILLORA_TRACE(u"PST_EnumAllMessages");
    if (!session || !session->opened || !session->GetStore() || !session->libs) return 0;
    int added = 0;
    const SPropTagArray columns{PR_ENTRYID,       PR_MESSAGE_FLAGS, PR_HASATTACH, PR_SUBJECT_W,
                                PR_SENT_REPRESENTING_NAME_W, PR_SENDER_NAME_W, PR_MESSAGE_DELIVERY_TIME,
                                PR_DISPLAY_TO_W, PR_DISPLAY_CC_W, PR_DISPLAY_BCC_W, PR_INTERNET_CPID};
    for (const mapi_TFolderInfo& f : *session->GetFolders()) {
        ULONG type = 0;
        IUnknown* object = nullptr;
        if (f.eid.empty() ||
            session->GetStore()->OpenEntry(f.eid.cb, f.eid.ab.data(), nullptr, 0, &type, &object) != S_OK)
            continue;
        auto folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
        ComPtr<IMAPITable> table;
        if (folder->GetContentsTable(0, table.put()) != S_OK || !table) continue;
        table->SetColumns(&columns, 0);
        SRowSetPtr rows;
        if (session->libs->HrQueryAllRows(table.get(), nullptr, nullptr, nullptr, 0, &rows) != S_OK || !rows) continue;
        for (std::size_t i = 0; i < rows->aRow.size(); ++i) {
            auto m = std::make_unique<MessagePST>();
            m->FillFromSRow(session, rows->aRow[i]);
            m->pstAttr.folderName = Utf8ToUtf16(f.name);
            m->pstAttr.folderPath = Utf8ToUtf16(f.path);
            m->pstAttr.folderType = f.type;
            m->pstAttr.row = static_cast<std::int32_t>(i);
            m->attachRow = m->pstAttr.row;
            m->fileName = path;
            list.push_back(std::move(m));
            ++added;
        }
    }
    return added;
}
