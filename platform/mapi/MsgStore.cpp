#include "platform/mapi/MsgStore.h"

#include <cstring>

#include "platform/mapi/PstObjects.h"

const MAPIUID kPstProviderUid = {{0x51, 0x75, 0x69, 0x6C, 0x6C, 0x6F, 0x72, 0x61, 0x50, 0x53, 0x54, 0x01, 0x00, 0x00, 0x00,
                                  0x01}};

namespace {

constexpr ULONG kDefaultSupportMask = STORE_ENTRYID_UNIQUE | STORE_READONLY | STORE_RESTRICTION_OK | STORE_SORT_OK |
                                      STORE_ATTACH_OK | STORE_HTML_OK | STORE_UNICODE_OK;

class PstMsgStore final : public MapiPropObject<IMsgStore> {
public:
    explicit PstMsgStore(PstContextPtr ctx) : ctx_(std::move(ctx)), item_(ctx_->file->MessageStore()) {}

    HRESULT OpenEntry(ULONG cb, const BYTE* eid, const IID*, ULONG, ULONG* objType, IUnknown** object) override {
        if (!object) return MAPI_E_INVALID_PARAMETER;
        *object = nullptr;
        std::string why = "no folder or message with this entry id in the store";
        // No id: the store's root folder.
        const HRESULT hr = cb == 0 || !eid ? OpenPstEntry(ctx_, 0, nullptr, objType, object, why)
                                           : OpenPstEntry(ctx_, cb, eid, objType, object, why);
        return FAILED(hr) ? Fail(hr, why) : hr;
    }

    HRESULT CompareEntryIDs(ULONG cb1, const BYTE* id1, ULONG cb2, const BYTE* id2, ULONG, ULONG* result) override {
        if (!result) return MAPI_E_INVALID_PARAMETER;
        const auto a = ctx_->file->NidFromEntryId(id1, cb1);
        const auto b = ctx_->file->NidFromEntryId(id2, cb2);
        if (!a || !b) return MAPI_E_UNKNOWN_ENTRYID;
        *result = *a == *b ? TRUE : FALSE;
        return S_OK;
    }

    HRESULT GetReceiveFolder(const char* messageClass, ULONG, std::vector<BYTE>* entryID,
                             std::string* explicitClass) override {
        if (entryID) entryID->clear();
        if (explicitClass) explicitClass->clear();
        std::uint32_t nid = 0;
        std::string cls, why;
        const HRESULT hr = ctx_->file->ReceiveFolder(messageClass ? messageClass : "", nid, cls, why);
        if (FAILED(hr)) return Fail(hr, why);
        if (entryID) *entryID = ctx_->file->EntryIdFor(nid);
        if (explicitClass) *explicitClass = cls;
        return S_OK;
    }

protected:
    bool ReadProp(ULONG tag, SPropValue& out) override {
        const PstFile& f = *ctx_->file;
        switch (PROP_ID(tag)) {
        case PROP_ID(PR_ENTRYID):
        case PROP_ID(PR_STORE_ENTRYID):
            out = SPropValue::Binary(CHANGE_PROP_TYPE(tag, PT_BINARY), ctx_->storeEntryId);
            return true;
        case PROP_ID(PR_RECORD_KEY):
        case PROP_ID(PR_STORE_RECORD_KEY):
            out = SPropValue::Binary(CHANGE_PROP_TYPE(tag, PT_BINARY), f.RecordKey());
            return true;
        case PROP_ID(PR_OBJECT_TYPE): out = SPropValue::Long(PR_OBJECT_TYPE, MAPI_STORE); return true;
        case PROP_ID(PR_MDB_PROVIDER): out = SPropValue::Binary(PR_MDB_PROVIDER, kPstProviderUid.ab, 16); return true;
        case PROP_ID(PR_PST_PATH_W): out = SPropValue::String8(PR_PST_PATH_A, f.Path()); return true;
        default: break;
        }
        if (item_.ReadProp(PROP_ID(tag), f.CodePage(), out)) return true;
        switch (PROP_ID(tag)) {
        case PROP_ID(PR_STORE_SUPPORT_MASK):
            out = SPropValue::Long(PR_STORE_SUPPORT_MASK, static_cast<LONG>(kDefaultSupportMask));
            return true;
        case PROP_ID(PR_DISPLAY_NAME_W): out = SPropValue::Unicode(PR_DISPLAY_NAME_W, u"Personal Folders"); return true;
        default: return false;
        }
    }

    SPropValueArray ReadAllProps() override {
        SPropValueArray all = item_.ReadAll(ctx_->file->CodePage());
        for (ULONG tag : {PR_ENTRYID, PR_STORE_ENTRYID, PR_RECORD_KEY, PR_STORE_RECORD_KEY, PR_OBJECT_TYPE, PR_MDB_PROVIDER,
                          PR_STORE_SUPPORT_MASK, PR_DISPLAY_NAME_W}) {
            bool have = false;
            for (const SPropValue& v : all) have = have || v.id() == PROP_ID(tag);
            SPropValue v;
            if (!have && ReadProp(tag, v)) all.push_back(std::move(v));
        }
        return all;
    }

    bool IdFromName(const MAPINAMEID& name, ULONG& id) override { return PstIdFromName(*ctx_, name, id); }
    bool NameFromId(ULONG id, MAPINAMEID& name) override { return PstNameFromId(*ctx_, id, name); }

private:
    PstContextPtr ctx_;
    PstItem item_;
};

}  // namespace

std::vector<BYTE> PstStoreEntryId(const std::string& utf8Path) {
    std::vector<BYTE> eid(20 + utf8Path.size() + 1, 0);  // flags, provider id, path, NUL
    std::memcpy(eid.data() + 4, kPstProviderUid.ab, 16);
    std::memcpy(eid.data() + 20, utf8Path.data(), utf8Path.size());
    return eid;
}

bool PstPathFromStoreEntryId(const BYTE* eid, ULONG cb, std::string& utf8Path) {
    if (!eid || cb < 21 || std::memcmp(eid + 4, kPstProviderUid.ab, 16) != 0 || eid[cb - 1] != 0) return false;
    utf8Path.assign(reinterpret_cast<const char*>(eid + 20), cb - 21);
    return utf8Path.find('\0') == std::string::npos && !utf8Path.empty();
}

ComPtr<IMsgStore> MakePstStore(PstContextPtr ctx) { return ComPtr<IMsgStore>::Adopt(new PstMsgStore(std::move(ctx))); }

HRESULT OpenPstEntry(const PstContextPtr& ctx, ULONG cb, const BYTE* eid, ULONG* objType, IUnknown** object,
                     std::string& why) {
    *object = nullptr;
    std::uint32_t nid = NID_ROOT_FOLDER;
    if (cb != 0 || eid) {
        const auto found = ctx->file->NidFromEntryId(eid, cb);
        if (!found) return MAPI_E_INVALID_ENTRYID;
        nid = *found;
    }
    const std::uint32_t kind = nid & NID_TYPE_MASK;
    if (kind != NID_TYPE_NORMAL_FOLDER && kind != NID_TYPE_SEARCH_FOLDER && kind != NID_TYPE_NORMAL_MESSAGE)
        return MAPI_E_INVALID_ENTRYID;
    PstItem item = kind == NID_TYPE_NORMAL_MESSAGE ? ctx->file->ItemByNid(nid, &why) : ctx->file->FolderByNid(nid, &why);
    if (!item) return MAPI_E_NOT_FOUND;
    if (kind == NID_TYPE_NORMAL_MESSAGE) {
        if (objType) *objType = MAPI_MESSAGE;
        *object = MakePstMessage(ctx, std::move(item), 0).Detach();
    } else {
        if (objType) *objType = MAPI_FOLDER;
        *object = MakePstFolder(ctx, std::move(item)).Detach();
    }
    return S_OK;
}

SPropValue AnswerColumn(ULONG tag, bool found, const SPropValue& value) {
    if (!found) return SPropValue::Error(tag, MAPI_E_NOT_FOUND);
    if (value.isError()) return SPropValue::Error(tag, value.Value.err);
    ULONG want = tag;
    if (PROP_TYPE(tag) == PT_UNSPECIFIED) {
        if (value.type() == PT_UNICODE) want = CHANGE_PROP_TYPE(tag, PT_STRING8);
        if (value.type() == PT_MV_UNICODE) want = CHANGE_PROP_TYPE(tag, PT_MV_STRING8);
    }
    SPropValue out;
    if (!ConvertPropValue(value, want, out)) return SPropValue::Error(tag, MAPI_E_INVALID_TYPE);
    return out;
}
