#include "platform/mapi/MapiFolder.h"

#include "platform/mapi/PstObjects.h"
#include "platform/win/PlatformTrace.h"
#include "platform/win/WinString.h"

namespace {

std::vector<BYTE> NidBytes(std::uint32_t nid) {
    return {static_cast<BYTE>(nid), static_cast<BYTE>(nid >> 8), static_cast<BYTE>(nid >> 16), static_cast<BYTE>(nid >> 24)};
}

using SharedItem = std::shared_ptr<const PstItem>;

// Rows of a folder's subfolders or messages, read from the store when asked.
class FolderRowSource final : public TableRowSource {
public:
    FolderRowSource(PstContextPtr ctx, SharedItem folder, bool messages, int count)
        : ctx_(std::move(ctx)), folderNid_(folder->Nid()), messages_(messages), folder_(std::move(folder)), count_(count) {}

    ULONG RowCount() override { return static_cast<ULONG>(count_); }

    void ReadRow(ULONG row, const std::vector<ULONG>& tags, std::vector<SPropValue>& out) override {
        out.clear();
        out.reserve(tags.size());
        PstItem item = messages_ ? folder_->SubMessage(static_cast<int>(row)) : folder_->SubFolder(static_cast<int>(row));
        if (!item) {
            for (ULONG tag : tags) out.push_back(SPropValue::Error(tag, MAPI_E_CORRUPT_DATA));
            return;
        }
        const LazyCodePage cp = messages_ ? LazyCodePage([&] { return MessageCodePage(*ctx_, item); })
                                          : LazyCodePage(ctx_->file->CodePage());
        for (ULONG tag : tags) {
            SPropValue v;
            bool found;
            if (PROP_ID(tag) == PROP_ID(PR_ROWID)) {
                v = SPropValue::Long(PR_ROWID, static_cast<LONG>(row));
                found = true;
            } else {
                found = messages_ ? ReadMessageProp(*ctx_, item, folderNid_, cp, tag, v) : ReadFolderProp(*ctx_, item, tag, v);
            }
            out.push_back(AnswerColumn(tag, found, v));
        }
    }

private:
    PstContextPtr ctx_;
    std::uint32_t folderNid_;
    bool messages_;
    SharedItem folder_;
    int count_ = 0;
};

class PstFolder final : public MapiPropObject<IMAPIFolder> {
public:
    PstFolder(PstContextPtr ctx, PstItem item)
        : ctx_(std::move(ctx)), item_(std::make_shared<const PstItem>(std::move(item))) {}

    HRESULT GetContentsTable(ULONG flags, IMAPITable** table) override { return MakeTable(true, flags, table); }
    HRESULT GetHierarchyTable(ULONG flags, IMAPITable** table) override { return MakeTable(false, flags, table); }

    HRESULT OpenEntry(ULONG cb, const BYTE* eid, const IID*, ULONG, ULONG* objType, IUnknown** object) override {
        if (!object) return MAPI_E_INVALID_PARAMETER;
        std::string why = "no folder or message with this entry id in the store";
        const HRESULT hr = OpenPstEntry(ctx_, cb, eid, objType, object, why);
        return FAILED(hr) ? Fail(hr, why) : hr;
    }

    HRESULT OpenProperty(ULONG tag, const IID* iid, ULONG, ULONG flags, IUnknown** out) override {
        if (!out) return MAPI_E_INVALID_PARAMETER;
        *out = nullptr;
        if (iid && !(*iid == IID_IMAPITable)) return MAPI_E_INTERFACE_NOT_SUPPORTED;
        IMAPITable* table = nullptr;
        HRESULT hr;
        if (tag == PR_CONTAINER_HIERARCHY) {
            hr = GetHierarchyTable(flags, &table);
        } else if (tag == PR_CONTAINER_CONTENTS) {
            hr = GetContentsTable(flags, &table);
        } else {
            return MAPI_E_NO_SUPPORT;
        }
        *out = table;
        return hr;
    }

protected:
    bool ReadProp(ULONG tag, SPropValue& out) override { return ReadFolderProp(*ctx_, *item_, tag, out); }

    SPropValueArray ReadAllProps() override {
        SPropValueArray all = item_->ReadAll(ctx_->file->CodePage());
        for (ULONG tag : {PR_ENTRYID, PR_OBJECT_TYPE, PR_SUBFOLDERS, PR_CONTENT_COUNT, PR_STORE_ENTRYID, PR_STORE_RECORD_KEY,
                          PR_INSTANCE_KEY}) {
            std::erase_if(all, [&](const SPropValue& v) { return v.id() == PROP_ID(tag); });
            SPropValue v;
            if (ReadProp(tag, v)) all.push_back(std::move(v));
        }
        return all;
    }

    bool IdFromName(const MAPINAMEID& name, ULONG& id) override { return PstIdFromName(*ctx_, name, id); }
    bool NameFromId(ULONG id, MAPINAMEID& name) override { return PstNameFromId(*ctx_, id, name); }

private:
    HRESULT MakeTable(bool messages, ULONG flags, IMAPITable** table) {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        *table = nullptr;
        if (flags & MAPI_ASSOCIATED) return MAPI_E_NO_SUPPORT;
        std::vector<ULONG> columns =
            messages ? std::vector<ULONG>{PR_ENTRYID, PR_INSTANCE_KEY, PR_SUBJECT_A, PR_MESSAGE_CLASS_A, PR_MESSAGE_FLAGS,
                                          PR_MESSAGE_DELIVERY_TIME, PR_HASATTACH}
                     : std::vector<ULONG>{PR_ENTRYID, PR_INSTANCE_KEY, PR_DISPLAY_NAME_A, PR_SUBFOLDERS, PR_CONTENT_COUNT,
                                          PR_CONTAINER_CLASS_A};
        std::unique_ptr<TableRowSource> rows;
        if (messages && (item_->Nid() & NID_TYPE_MASK) == NID_TYPE_NORMAL_FOLDER && item_->IsFolder()) {
            // The store's own contents table lists the folder without opening each message; a
            // row it cannot answer comes from the message (a failing count leaves error rows).
            auto perMessage = [ctx = ctx_, item = item_]() -> std::unique_ptr<TableRowSource> {
                int count = 0;
                std::string ignored;
                item->SubMessageCount(count, ignored);
                return std::make_unique<FolderRowSource>(ctx, item, true, count);
            };
            std::string reason;
            rows = MakePstContentsRows(ctx_, item_->Nid(), perMessage, reason);
            if (!rows)
                PlatformTrace(u"contents of folder " + Utf8ToUtf16(std::to_string(item_->Nid())) +
                              u" read message by message: " + Utf8ToUtf16(reason));
        }
        if (!rows) {
            int count = 0;
            std::string why;
            const HRESULT hr = messages ? item_->SubMessageCount(count, why) : item_->SubFolderCount(count, why);
            if (FAILED(hr))
                return Fail(hr, std::string(messages ? "the folder's messages" : "the folder's subfolders") +
                                    " cannot be listed: " + why);
            rows = std::make_unique<FolderRowSource>(ctx_, item_, messages, count);
        }
        *table = new MemTable(std::move(rows), std::move(columns));
        return S_OK;
    }

    PstContextPtr ctx_;
    SharedItem item_;
};

}  // namespace

ComPtr<IMAPIFolder> MakePstFolder(PstContextPtr ctx, PstItem item) {
    return ComPtr<IMAPIFolder>::Adopt(new PstFolder(std::move(ctx), std::move(item)));
}

bool ReadFolderProp(const PstStoreContext& ctx, const PstItem& folder, ULONG tag, SPropValue& out) {
    const std::uint32_t nid = folder.Nid();
    switch (PROP_ID(tag)) {
    case PROP_ID(PR_ENTRYID):
    case PROP_ID(PR_RECORD_KEY):
        out = SPropValue::Binary(CHANGE_PROP_TYPE(tag, PT_BINARY), ctx.file->EntryIdFor(nid));
        return true;
    case PROP_ID(PR_INSTANCE_KEY): out = SPropValue::Binary(PR_INSTANCE_KEY, NidBytes(nid)); return true;
    case PROP_ID(PR_OBJECT_TYPE): out = SPropValue::Long(PR_OBJECT_TYPE, MAPI_FOLDER); return true;
    case PROP_ID(PR_STORE_ENTRYID): out = SPropValue::Binary(PR_STORE_ENTRYID, ctx.storeEntryId); return true;
    case PROP_ID(PR_STORE_RECORD_KEY): out = SPropValue::Binary(PR_STORE_RECORD_KEY, ctx.file->RecordKey()); return true;
    // Counted from the store's own node tree, not taken from flags that may be stale; a count
    // that cannot be read answers as an error value, never as an empty folder.
    case PROP_ID(PR_SUBFOLDERS):
    case PROP_ID(PR_CONTENT_COUNT): {
        const bool subfolders = PROP_ID(tag) == PROP_ID(PR_SUBFOLDERS);
        int count = 0;
        std::string why;
        const HRESULT hr = subfolders ? folder.SubFolderCount(count, why) : folder.SubMessageCount(count, why);
        if (FAILED(hr))
            out = SPropValue::Error(subfolders ? PR_SUBFOLDERS : PR_CONTENT_COUNT, hr);
        else
            out = subfolders ? SPropValue::Bool(PR_SUBFOLDERS, count > 0) : SPropValue::Long(PR_CONTENT_COUNT, count);
        return true;
    }
    default: return folder.ReadProp(PROP_ID(tag), ctx.file->CodePage(), out);
    }
}
