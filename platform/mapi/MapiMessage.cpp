#include "platform/mapi/MapiMessage.h"

#include "platform/mapi/PstObjects.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

namespace {

using SharedItem = std::shared_ptr<const PstItem>;

std::vector<BYTE> IndexBytes(std::uint32_t n) {
    return {static_cast<BYTE>(n), static_cast<BYTE>(n >> 8), static_cast<BYTE>(n >> 16), static_cast<BYTE>(n >> 24)};
}

bool ReadAttachProp(const PstStoreContext& ctx, const PstItem& att, ULONG index, const LazyCodePage& cp, ULONG tag,
                    SPropValue& out) {
    switch (PROP_ID(tag)) {
    case PROP_ID(PR_ATTACH_NUM): out = SPropValue::Long(PR_ATTACH_NUM, static_cast<LONG>(index)); return true;
    case PROP_ID(PR_INSTANCE_KEY): out = SPropValue::Binary(PR_INSTANCE_KEY, IndexBytes(index)); return true;
    case PROP_ID(PR_OBJECT_TYPE): out = SPropValue::Long(PR_OBJECT_TYPE, MAPI_ATTACH); return true;
    case PROP_ID(PR_STORE_ENTRYID): out = SPropValue::Binary(PR_STORE_ENTRYID, ctx.storeEntryId); return true;
    default: break;
    }
    if (att.ReadProp(PROP_ID(tag), cp, out)) return true;
    switch (PROP_ID(tag)) {
    case PROP_ID(PR_ATTACH_DATA_BIN): {
        std::vector<BYTE> data;
        if (att.AttachmentKind() != 'd' || !att.AttachmentData(data)) return false;
        out = SPropValue::Binary(PR_ATTACH_DATA_BIN, data);
        return true;
    }
    case PROP_ID(PR_ATTACH_METHOD): {
        const int kind = att.AttachmentKind();
        if (kind == 0) return false;
        out = SPropValue::Long(PR_ATTACH_METHOD, kind == 'i' ? ATTACH_EMBEDDED_MSG : ATTACH_BY_VALUE);
        return true;
    }
    default: return false;
    }
}

// Attachment rows of one message.
class AttachmentRowSource final : public TableRowSource {
public:
    AttachmentRowSource(PstContextPtr ctx, SharedItem message, ULONG cp, int count)
        : ctx_(std::move(ctx)), message_(std::move(message)), cp_(cp), count_(count) {}
    ULONG RowCount() override { return static_cast<ULONG>(count_); }
    void ReadRow(ULONG row, const std::vector<ULONG>& tags, std::vector<SPropValue>& out) override {
        out.clear();
        PstItem att = message_->Attachment(static_cast<int>(row));
        for (ULONG tag : tags) {
            SPropValue v;
            const bool found = att && ReadAttachProp(*ctx_, att, row, cp_, tag, v);
            out.push_back(AnswerColumn(tag, found, v));
        }
    }

private:
    PstContextPtr ctx_;
    SharedItem message_;
    ULONG cp_;
    int count_;
};

// Recipient rows of one message: each row is one record set of the recipients item.
class RecipientRowSource final : public TableRowSource {
public:
    RecipientRowSource(PstItem recipients, ULONG cp, int count)
        : recipients_(std::move(recipients)), cp_(cp), count_(count) {}
    ULONG RowCount() override { return static_cast<ULONG>(count_); }
    void ReadRow(ULONG row, const std::vector<ULONG>& tags, std::vector<SPropValue>& out) override {
        out.clear();
        for (ULONG tag : tags) {
            SPropValue v;
            bool found = true;
            if (PROP_ID(tag) == PROP_ID(PR_ROWID))
                v = SPropValue::Long(PR_ROWID, static_cast<LONG>(row));
            else if (PROP_ID(tag) == PROP_ID(PR_INSTANCE_KEY))
                v = SPropValue::Binary(PR_INSTANCE_KEY, IndexBytes(row));
            else
                found = recipients_.ReadProp(PROP_ID(tag), cp_, v, static_cast<int>(row));
            out.push_back(AnswerColumn(tag, found, v));
        }
    }

private:
    PstItem recipients_;
    ULONG cp_;
    int count_ = 0;
};

class PstAttach final : public MapiPropObject<IAttach> {
public:
    PstAttach(PstContextPtr ctx, SharedItem message, PstItem att, ULONG index, ULONG cp)
        : ctx_(std::move(ctx)), message_(std::move(message)), att_(std::move(att)), index_(index), cp_(cp) {}

    HRESULT OpenProperty(ULONG tag, const IID* iid, ULONG, ULONG, IUnknown** out) override {
        if (!out) return MAPI_E_INVALID_PARAMETER;
        *out = nullptr;
        if (PROP_ID(tag) != PROP_ID(PR_ATTACH_DATA_OBJ)) return MAPI_E_NO_SUPPORT;
        if (iid && !(*iid == IID_IMessage)) return MAPI_E_INTERFACE_NOT_SUPPORTED;
        if (att_.AttachmentKind() != 'i') return Fail(MAPI_E_NOT_FOUND, "the attachment holds no message");
        std::string why;
        PstItem item = att_.AttachedItem(&why);
        if (!item) return Fail(MAPI_E_CORRUPT_DATA, "the attached message cannot be read: " + why);
        *out = MakePstMessage(ctx_, std::move(item), kAttachedMessage).Detach();
        return S_OK;
    }

protected:
    bool ReadProp(ULONG tag, SPropValue& out) override { return ReadAttachProp(*ctx_, att_, index_, cp_, tag, out); }
    SPropValueArray ReadAllProps() override {
        SPropValueArray all = att_.ReadAll(cp_);
        for (ULONG tag : {PR_ATTACH_NUM, PR_OBJECT_TYPE, PR_ATTACH_METHOD}) {
            bool have = false;
            for (const SPropValue& v : all) have = have || v.id() == PROP_ID(tag);
            SPropValue v;
            if (!have && ReadProp(tag, v)) all.push_back(std::move(v));
        }
        return all;
    }

private:
    PstContextPtr ctx_;
    SharedItem message_;
    PstItem att_;
    ULONG index_;
    ULONG cp_;
};

class PstMessage final : public MapiPropObject<IMessage> {
public:
    PstMessage(PstContextPtr ctx, PstItem item, std::uint32_t parentNid)
        : ctx_(std::move(ctx)),
          item_(std::make_shared<const PstItem>(std::move(item))),
          parentNid_(parentNid),
          cp_([ctx = ctx_, item = item_] { return MessageCodePage(*ctx, *item); }) {}

    HRESULT GetAttachmentTable(ULONG, IMAPITable** table) override {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        *table = nullptr;
        int count = 0;
        std::string why;
        if (const HRESULT hr = item_->AttachmentCount(count, why); FAILED(hr))
            return Fail(hr, "the message's attachments cannot be listed: " + why);
        *table = new MemTable(std::make_unique<AttachmentRowSource>(ctx_, item_, cp_.Get(), count),
                              {PR_ATTACH_NUM, PR_INSTANCE_KEY, PR_ATTACH_METHOD, PR_ATTACH_LONG_FILENAME_W,
                               PR_ATTACH_FILENAME_W, PR_ATTACH_SIZE, PR_RENDERING_POSITION});
        return S_OK;
    }

    HRESULT OpenAttach(ULONG num, const IID*, ULONG, IAttach** attach) override {
        if (!attach) return MAPI_E_INVALID_PARAMETER;
        *attach = nullptr;
        int count = 0;
        std::string why;
        if (const HRESULT hr = item_->AttachmentCount(count, why); FAILED(hr))
            return Fail(hr, "the message's attachments cannot be listed: " + why);
        if (num >= static_cast<ULONG>(count)) return Fail(MAPI_E_NOT_FOUND, "no such attachment");
        PstItem att = item_->Attachment(static_cast<int>(num), &why);
        if (!att) return Fail(MAPI_E_CORRUPT_DATA, "the attachment cannot be read: " + why);
        *attach = new PstAttach(ctx_, item_, std::move(att), num, cp_.Get());
        return S_OK;
    }

    HRESULT GetRecipientTable(ULONG, IMAPITable** table) override {
        if (!table) return MAPI_E_INVALID_PARAMETER;
        *table = nullptr;
        PstItem recipients;
        int count = 0;
        std::string why;
        HRESULT hr = item_->Recipients(recipients, why);
        if (SUCCEEDED(hr) && recipients) hr = recipients.RecordSetCount(count, why);
        if (FAILED(hr)) return Fail(hr, "the message's recipients cannot be listed: " + why);
        *table = new MemTable(std::make_unique<RecipientRowSource>(std::move(recipients), cp_.Get(), count),
                              {PR_ROWID, PR_INSTANCE_KEY, PR_RECIPIENT_TYPE, PR_DISPLAY_NAME_W, PR_EMAIL_ADDRESS_W,
                               PR_ADDRTYPE_W, PR_ENTRYID});
        return S_OK;
    }

    HRESULT OpenProperty(ULONG tag, const IID* iid, ULONG, ULONG flags, IUnknown** out) override {
        if (!out) return MAPI_E_INVALID_PARAMETER;
        *out = nullptr;
        if (iid && !(*iid == IID_IMAPITable)) return MAPI_E_INTERFACE_NOT_SUPPORTED;
        IMAPITable* table = nullptr;
        HRESULT hr;
        if (tag == PR_MESSAGE_ATTACHMENTS)
            hr = GetAttachmentTable(flags, &table);
        else if (tag == PR_MESSAGE_RECIPIENTS)
            hr = GetRecipientTable(flags, &table);
        else
            return MAPI_E_NO_SUPPORT;
        *out = table;
        return hr;
    }

protected:
    bool ReadProp(ULONG tag, SPropValue& out) override {
        return ReadMessageProp(*ctx_, *item_, parentNid_, cp_, tag, out);
    }
    SPropValueArray ReadAllProps() override {
        SPropValueArray all = item_->ReadAll(cp_);
        for (ULONG tag : {PR_ENTRYID, PR_INSTANCE_KEY, PR_OBJECT_TYPE, PR_STORE_ENTRYID, PR_STORE_RECORD_KEY, PR_PARENT_ENTRYID,
                          PR_HASATTACH, PR_SUBJECT_W, PR_DISPLAY_TO_W, PR_DISPLAY_CC_W, PR_DISPLAY_BCC_W}) {
            SPropValue v;
            if (!ReadProp(tag, v)) continue;
            std::erase_if(all, [&](const SPropValue& have) { return have.id() == v.id(); });
            all.push_back(std::move(v));
        }
        return all;
    }
    bool IdFromName(const MAPINAMEID& name, ULONG& id) override { return PstIdFromName(*ctx_, name, id); }
    bool NameFromId(ULONG id, MAPINAMEID& name) override { return PstNameFromId(*ctx_, id, name); }

private:
    PstContextPtr ctx_;
    SharedItem item_;
    std::uint32_t parentNid_;
    LazyCodePage cp_;
};

// "To", "Cc" or "Bcc" line from the recipients of one type, names joined by "; ";
// MAPI_E_NOT_FOUND when the message keeps no recipients list.
HRESULT RecipientLine(const PstItem& message, const LazyCodePage& cp, ULONG type, std::u16string& line) {
    line.clear();
    PstItem recipients;
    int n = 0;
    std::string why;
    HRESULT hr = message.Recipients(recipients, why);
    if (SUCCEEDED(hr) && !recipients) return MAPI_E_NOT_FOUND;  // no recipients list at all
    if (SUCCEEDED(hr)) hr = recipients.RecordSetCount(n, why);
    if (FAILED(hr)) return hr;
    for (int r = 0; r < n; ++r) {
        SPropValue t, name;
        if (!recipients.ReadProp(PROP_ID(PR_RECIPIENT_TYPE), cp, t, r) || t.type() != PT_LONG ||
            (static_cast<ULONG>(t.Value.l) & 0xF) != type)
            continue;
        if (!recipients.ReadProp(PROP_ID(PR_DISPLAY_NAME_W), cp, name, r)) continue;
        if (!line.empty()) line += u"; ";
        line += PropValueText(name);
    }
    return S_OK;
}

}  // namespace

ComPtr<IMessage> MakePstMessage(PstContextPtr ctx, PstItem item, std::uint32_t parentNid) {
    return ComPtr<IMessage>::Adopt(new PstMessage(std::move(ctx), std::move(item), parentNid));
}

ULONG MessageCodePage(const PstStoreContext& ctx, const PstItem& message) {
    return CodePageFromProps([&](ULONG id, SPropValue& v) { return message.ReadProp(id, 0, v); }, ctx.file->CodePage());
}

void StripSubjectMarker(SPropValue& subject) {
    // A stored subject may start with a marker (U+0001) and the length of its prefix.
    std::u16string text = PropValueText(subject);
    if (text.empty() || text[0] != u'\x01') return;
    text.erase(0, std::min<std::size_t>(2, text.size()));
    subject = subject.type() == PT_STRING8 ? SPropValue::String8(PR_SUBJECT_A, Utf16ToUtf8(text))
                                           : SPropValue::Unicode(PR_SUBJECT_W, text);
}

ULONG CodePageFromProps(const std::function<bool(ULONG propId, SPropValue& out)>& read, ULONG storeCodePage) {
    // The message's own code page, else its internet code page when that can hold stored
    // 8-bit text (transport-only encodings such as ISO-2022-JP or UTF-7 describe the mail, not
    // what the store kept), else the code page of its locale, else the store's.
    SPropValue v;
    if (read(PROP_ID(PR_MESSAGE_CODEPAGE), v) && v.type() == PT_LONG && v.Value.l > 0 &&
        IsValidCodePage(static_cast<UINT>(v.Value.l)))
        return static_cast<ULONG>(v.Value.l);
    if (read(PROP_ID(PR_INTERNET_CPID), v) && v.type() == PT_LONG && v.Value.l > 0) {
        const ULONG cp = static_cast<ULONG>(v.Value.l);
        const bool transportOnly = cp == 1200 || cp == 1201 || cp == 12000 || cp == 12001 || cp == 65000 ||
                                   cp == 20127 || (cp >= 50220 && cp <= 50229) || cp == 52936;
        if (!transportOnly && IsValidCodePage(cp)) return cp;
    }
    if (read(0x3FF1, v) && v.type() == PT_LONG) {  // PR_MESSAGE_LOCALE_ID
        const UINT cp = CodePageOfLocale(static_cast<LCID>(v.Value.l));
        if (cp != 0) return cp;
    }
    return storeCodePage;
}

bool ReadMessageProp(const PstStoreContext& ctx, const PstItem& message, std::uint32_t parentNid,
                     const LazyCodePage& cp, ULONG tag, SPropValue& out) {
    const std::uint32_t nid = message.Nid();
    const bool inTree = parentNid != kAttachedMessage && (nid & NID_TYPE_MASK) == NID_TYPE_NORMAL_MESSAGE;
    switch (PROP_ID(tag)) {
    case PROP_ID(PR_ENTRYID):
        if (!inTree) return false;  // an attached message has no id of its own
        out = SPropValue::Binary(PR_ENTRYID, ctx.file->EntryIdFor(nid));
        return true;
    case PROP_ID(PR_INSTANCE_KEY): out = SPropValue::Binary(PR_INSTANCE_KEY, IndexBytes(nid)); return true;
    case PROP_ID(PR_OBJECT_TYPE): out = SPropValue::Long(PR_OBJECT_TYPE, MAPI_MESSAGE); return true;
    case PROP_ID(PR_STORE_ENTRYID): out = SPropValue::Binary(PR_STORE_ENTRYID, ctx.storeEntryId); return true;
    case PROP_ID(PR_STORE_RECORD_KEY): out = SPropValue::Binary(PR_STORE_RECORD_KEY, ctx.file->RecordKey()); return true;
    case PROP_ID(PR_PARENT_ENTRYID):
        if (parentNid == 0 || parentNid == kAttachedMessage) return false;
        out = SPropValue::Binary(PR_PARENT_ENTRYID, ctx.file->EntryIdFor(parentNid));
        return true;
    case PROP_ID(PR_HASATTACH): {
        int count = 0;
        std::string why;
        const HRESULT hr = message.AttachmentCount(count, why);
        out = FAILED(hr) ? SPropValue::Error(PR_HASATTACH, hr) : SPropValue::Bool(PR_HASATTACH, count > 0);
        return true;
    }
    case PROP_ID(PR_SUBJECT_W): {
        if (!message.ReadProp(PROP_ID(tag), cp, out)) return false;
        StripSubjectMarker(out);
        return true;
    }
    case PROP_ID(PR_DISPLAY_TO_W):
    case PROP_ID(PR_DISPLAY_CC_W):
    case PROP_ID(PR_DISPLAY_BCC_W): {
        if (message.ReadProp(PROP_ID(tag), cp, out)) return true;
        const ULONG type = PROP_ID(tag) == PROP_ID(PR_DISPLAY_TO_W) ? MAPI_TO
                           : PROP_ID(tag) == PROP_ID(PR_DISPLAY_CC_W) ? MAPI_CC
                                                                       : MAPI_BCC;
        std::u16string line;
        const HRESULT hr = RecipientLine(message, cp, type, line);
        if (hr == MAPI_E_NOT_FOUND) return false;
        out = FAILED(hr) ? SPropValue::Error(tag, hr) : SPropValue::Unicode(CHANGE_PROP_TYPE(tag, PT_UNICODE), line);
        return true;
    }
    default: return message.ReadProp(PROP_ID(tag), cp, out);
    }
}
