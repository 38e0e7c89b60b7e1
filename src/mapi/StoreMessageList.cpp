#include "mapi/StoreMessageList.h"

#include "app/cLogger.h"
#include "mapi/MapiLibs.h"
#include "mapi/MapiRegistration.h"
#include "platform/win/WinString.h"

bool EnsureMapi()
{
    MapiLibs& libs = MapiLibs::get();
    if (libs.isReady) return true;
    EnsureMapiRegistration();
    if (libs.Open(0)) return true;
    // Without a registered provider (a read-only machine hive) our own layer is still there.
    libs.libraries = {{"Default", "mapi32.dll", false}};
    return libs.Open(0);
}

bool WalkStoreMessages(const std::shared_ptr<MapiSession>& session, const WideString& path, const StoreWalk& walk)
{
    QUILLORA_TRACE(u"WalkStoreMessages");
    if (!session || !session->opened || !session->GetStore() || !session->libs) return false;
    // The sender's own name stands in where the represented sender's is missing.
    SPropTagArray columns{PR_ENTRYID,       PR_SUBJECT_W,     PR_SENT_REPRESENTING_NAME_W, PR_SENDER_NAME_W,
                          PR_DISPLAY_TO_W,  PR_DISPLAY_CC_W,  PR_DISPLAY_BCC_W,            PR_MESSAGE_DELIVERY_TIME,
                          PR_HASATTACH,     PR_INTERNET_CPID, PR_MESSAGE_CODEPAGE,         PR_MESSAGE_FLAGS};
    if (walk.withBody) columns.aulPropTag.push_back(PR_BODY_W);
    for (const mapi_TFolderInfo& f : *session->GetFolders()) {
        ULONG type = 0;
        IUnknown* object = nullptr;
        if (f.eid.empty() ||
            session->GetStore()->OpenEntry(f.eid.cb, f.eid.ab.data(), nullptr, 0, &type, &object) != S_OK || !object)
            continue;
        auto folder = ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(object));
        if (type != MAPI_FOLDER) continue;
        ComPtr<IMAPITable> table;
        // A folder whose table cannot be had is skipped: the other folders' messages still list.
        if (folder->GetContentsTable(0, table.put()) != S_OK || !table) continue;
        table->SetColumns(&columns, 0);
        SRowSetPtr rows;
        if (session->libs->HrQueryAllRows(table.get(), nullptr, nullptr, nullptr, 0, &rows) != S_OK || !rows) continue;
        if (walk.onFolderRows) walk.onFolderRows(rows->aRow.size());
        if (!walk.onRow) continue;
        const SharedWideString folderName(Utf8ToUtf16(f.name)), folderPath(Utf8ToUtf16(f.path));
        for (std::size_t i = 0; i < rows->aRow.size(); ++i) {
            auto m = std::make_unique<MessagePST>();
            m->FillFromSRow(session, rows->aRow[i]);
            m->pstAttr.folderName = folderName;
            m->pstAttr.folderPath = folderPath;
            m->pstAttr.folderType = f.type;
            m->pstAttr.row = static_cast<std::int32_t>(i);
            m->attachRow = m->pstAttr.row;
            m->fileName = path;
            if (!walk.onRow(std::move(m))) return true;
        }
    }
    return true;
}

int PST_EnumAllMessages(const std::shared_ptr<MapiSession>& session, const WideString& path,
                        std::vector<std::unique_ptr<TMessageAttr>>& list)
{
    int added = 0;
    StoreWalk walk;
    walk.onRow = [&](std::unique_ptr<MessagePST> m) {
        list.push_back(std::move(m));
        ++added;
        return true;
    };
    WalkStoreMessages(session, path, walk);
    return added;
}
