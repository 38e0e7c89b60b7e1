#include "mapi/PstMsgBuilder.h"

#include <map>

#include "app/cLogger.h"
#include "message/CompressedRTF.h"
#include "platform/mapi/MapiTags.h"
#include "platform/win/ByteOrder.h"
#include "platform/win/WinGuid.h"
#include "platform/win/WinString.h"
#include "platform/win/WinTime.h"

namespace {


// Recipient columns copied into the file (the table answers any of them by id).
constexpr ULONG kRecipientColumns[] = {0x0C150003, 0x3001001F, 0x3003001F, 0x3002001F, 0x39FE001F, 0x3A20001F,
                                       0x0FFF0102, 0x300B0102, 0x39000003, 0x39050003, 0x5FF6001F, 0x5FFD0003,
                                       0x0FFE0003, 0x0C190102, 0x5FE5001F, 0x5FDF0003};

// Properties that describe the message's place in the store, not the message.
bool IsStoreInternal(ULONG id, bool recipient)
{
    switch (id) {
        case 0x0FF6:  // instance key
        case 0x0FFA:  // store record key
        case 0x0FFB:  // store entry id
        case 0x0E09:  // parent entry id
        case 0x0E21:  // attachment number
        case 0x340D:  // store support mask
        case 0x3000:  // row id
        case 0x0E12:  // message recipients (object)
        case 0x0E13:  // message attachments (object)
            return true;
        case 0x0FFF:  // entry id: a recipient's is an address, a message's names its store node
        case 0x0FF9:
        case 0x0FFE:
            return !recipient;
        default: return id >= 0x6700 && id < 0x6800;  // the store's own range
    }
}

// Named properties met in the message, renumbered from 0x8000 in order of meeting.
class NameRenumbering {
public:
    explicit NameRenumbering(IMAPIProp* source) : source_(source) {}

    // The file's id for the store's named id; 0 when the store cannot name it.
    ULONG Map(ULONG storeId)
    {
        if (auto it = ids_.find(storeId); it != ids_.end()) return it->second;
        SPropTagArray tags{PROP_TAG(PT_UNSPECIFIED, storeId)};
        std::vector<MAPINAMEID> names;
        ULONG mapped = 0;
        if (source_ && source_->GetNamesFromIDs(tags, &names) == S_OK && names.size() == 1 && names_.size() < 0x7FFE) {
            names_.push_back(names[0]);
            mapped = 0x8000 + static_cast<ULONG>(names_.size() - 1);
        }
        ids_[storeId] = mapped;
        return mapped;
    }

    bool Empty() const { return names_.empty(); }

    // The name mapping storage: GUID, entry and string streams.
    void Write(TMSGProperties& root) const
    {
        std::string guids, entries, strings;
        std::vector<GUID> sets;
        for (std::size_t k = 0; k < names_.size(); ++k) {
            const MAPINAMEID& n = names_[k];
            std::uint32_t setIndex;
            if (n.guid == PS_MAPI) {
                setIndex = 1;
            } else if (n.guid == PS_PUBLIC_STRINGS) {
                setIndex = 2;
            } else {
                std::size_t at = 0;
                while (at < sets.size() && !(sets[at] == n.guid)) ++at;
                if (at == sets.size()) {
                    sets.push_back(n.guid);
                    BYTE b[16];
                    GuidToBytes(n.guid, b);
                    guids.append(reinterpret_cast<const char*>(b), 16);
                }
                setIndex = 3 + static_cast<std::uint32_t>(at);
            }
            const bool isString = n.ulKind != MNID_ID;
            if (isString) {
                AppendLe(entries, strings.size(), 4);
                AppendLe(strings, n.lpwstrName.size() * 2, 4);
                for (char16_t c : n.lpwstrName) AppendLe(strings, c, 2);
                while (strings.size() % 4) strings.push_back('\0');
            } else {
                AppendLe(entries, static_cast<std::uint32_t>(n.lID), 4);
            }
            AppendLe(entries, (setIndex << 1) | (isString ? 1u : 0u), 2);
            AppendLe(entries, k, 2);
        }
        TMSGProperty& node = root.Add();
        node.TagID = kTagNamedProperties;
        for (auto [tag, bytes] : {std::pair{kTagGuidStream, guids}, {kTagEntryStream, entries}, {kTagStringStream, strings}}) {
            TMSGProperty& leaf = node.SubProperties().Add();
            leaf.TagID = tag;
            leaf.Value = bytes;
            leaf.DataSize = static_cast<std::int32_t>(bytes.size());
        }
    }

private:
    IMAPIProp* source_;
    std::map<ULONG, ULONG> ids_;
    std::vector<MAPINAMEID> names_;
};

class TreeBuilder {
public:
    TreeBuilder(MapiLibs& libs, NameRenumbering& names) : libs_(libs), names_(names) {}

    // One storage's properties: the fixed-length entries node first, then the value streams.
    void AddProps(TMSGProperties& into, const SPropValueArray& values, bool recipient)
    {
        TMSGProperty& fixed = into.Add();
        fixed.TagID = 0;
        for (const SPropValue& v : values) {
            if (v.isError() || IsStoreInternal(v.id(), recipient)) continue;
            ULONG id = v.id();
            if (id >= 0x8000) {
                id = names_.Map(id);
                if (id == 0) continue;
            }
            AddValue(into, fixed, id, v);
        }
    }

    bool AddMessage(IMessage* message, TMSGProperties& into)
    {
        ULONG count = 0;
        SPropValueArray values;
        const HRESULT hr = message->GetProps(nullptr, MAPI_UNICODE, &count, &values);
        if (hr != S_OK && hr != MAPI_W_ERRORS_RETURNED) {
            LogPrintf(u"FAILED: GetProps %X", static_cast<unsigned>(hr));
            return false;
        }
        AddProps(into, values, false);
        AddRecipients(message, into);
        AddAttachments(message, into);
        return true;
    }

private:
    void AddValue(TMSGProperties& into, TMSGProperty& fixed, ULONG id, const SPropValue& v)
    {
        const ULONG type = v.type();
        auto entry = [&](ULONG entryType, MSGValue value) {
            TMSGProperty& e = fixed.SubProperties().Add();
            e.TagID = PROP_TAG(entryType, id);
            e.Value = std::move(value);
        };
        auto leaf = [&](ULONG leafType, MSGValue value, std::size_t size) {
            TMSGProperty& l = into.Add();
            l.TagID = PROP_TAG(leafType, id);
            l.Value = std::move(value);
            l.DataSize = static_cast<std::int32_t>(size);
            entry(leafType, std::monostate{});
        };
        switch (type) {
            case PT_I2: entry(type, static_cast<std::int16_t>(v.Value.i)); break;
            case PT_LONG:
            case PT_ERROR: entry(type, static_cast<std::int32_t>(v.Value.l)); break;
            case PT_BOOLEAN: entry(type, v.Value.b != 0); break;
            case PT_R4: entry(type, static_cast<double>(v.Value.flt)); break;
            case PT_DOUBLE:
            case PT_APPTIME: entry(type, v.Value.dbl); break;
            case PT_CURRENCY:
            case PT_I8: entry(type, std::string(std::to_string(v.Value.li))); break;
            case PT_SYSTIME: entry(type, DateTimeFromFileTime(FileTimeToTicks(v.Value.ft))); break;
            case PT_STRING8:
            case PT_UNICODE: {
                std::u16string text = PropValueText(v);
                while (!text.empty() && text.back() == 0) text.pop_back();
                const std::size_t size = text.size() * 2 + 2;
                leaf(PT_UNICODE, std::move(text), size);
                break;
            }
            case PT_BINARY: {
                std::string bytes(reinterpret_cast<const char*>(v.Value.bin.lpb), v.Value.bin.cb);
                if (PROP_TAG(type, id) == PR_RTF_COMPRESSED) {
                    // The model keeps the RTF as text; the writer compresses it again.
                    const CompressedRTFResult r = DecodeCompressedRTFEx(
                        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
                    if (r.status != CompressedRTFStatus::Decoded) {
                        LogPrintf(u"RTF body left out: %s", Utf8ToUtf16(r.reason).c_str());
                        break;
                    }
                    bytes.assign(r.text.begin(), r.text.end());
                    bytes.push_back('\0');
                }
                const std::size_t size = bytes.size();
                leaf(type, std::move(bytes), size);
                break;
            }
            case PT_CLSID:
                // The model keeps a GUID as its text; the writer stores its 16 bytes.
                if (v.Value.lpguid) leaf(PT_CLSID, Utf16ToUtf8(StringFromCLSID(*v.Value.lpguid)), 16);
                break;
            default:
                if (!AddMultiValue(into, fixed, id, v)) LogPrintf(u"property %X left out", static_cast<unsigned>(v.ulPropTag));
                break;
        }
    }

    // A multi-valued property: one child per value, tagged with the single-valued type.
    static bool AddMultiValue(TMSGProperties& into, TMSGProperty& fixed, ULONG id, const SPropValue& v)
    {
        const ULONG type = v.type();
        if (!(type & MV_FLAG)) return false;  // GUID and object values are not written
        ULONG single = type & ~MV_FLAG;
        std::vector<MSGValue> values;
        switch (single) {
            case PT_LONG:
                for (ULONG i = 0; i < v.Value.MVl.cValues; ++i) values.emplace_back(static_cast<std::int32_t>(v.Value.MVl.lpl[i]));
                break;
            case PT_I8:
                for (ULONG i = 0; i < v.Value.MVli.cValues; ++i) values.emplace_back(std::to_string(v.Value.MVli.lpli[i]));
                break;
            case PT_SYSTIME:
                for (ULONG i = 0; i < v.Value.MVft.cValues; ++i)
                    values.emplace_back(DateTimeFromFileTime(FileTimeToTicks(v.Value.MVft.lpft[i])));
                break;
            case PT_UNICODE:
                for (ULONG i = 0; i < v.Value.MVszW.cValues; ++i) values.emplace_back(std::u16string(v.Value.MVszW.lppszW[i]));
                break;
            case PT_STRING8:
                single = PT_UNICODE;
                for (ULONG i = 0; i < v.Value.MVszA.cValues; ++i) values.emplace_back(Utf8ToUtf16(v.Value.MVszA.lppszA[i]));
                break;
            case PT_BINARY:
                for (ULONG i = 0; i < v.Value.MVbin.cValues; ++i)
                    values.emplace_back(std::string(reinterpret_cast<const char*>(v.Value.MVbin.lpbin[i].lpb), v.Value.MVbin.lpbin[i].cb));
                break;
            default: return false;
        }
        TMSGProperty& node = into.Add();
        node.TagID = PROP_TAG(MV_FLAG | single, id);
        for (MSGValue& value : values) {
            TMSGProperty& item = node.SubProperties().Add();
            item.TagID = PROP_TAG(single, id);
            item.Value = std::move(value);
        }
        TMSGProperty& e = fixed.SubProperties().Add();
        e.TagID = node.TagID;
        return true;
    }

    void AddRecipients(IMessage* message, TMSGProperties& into)
    {
        ComPtr<IMAPITable> table;
        if (message->GetRecipientTable(0, table.put()) != S_OK || !table) return;
        std::vector<ULONG> columns;
        for (ULONG tag : kRecipientColumns) columns.push_back(tag);
        const SPropTagArray cols(columns);
        SRowSetPtr rows;
        if (libs_.HrQueryAllRows(table.get(), &cols, nullptr, nullptr, 0, &rows) != S_OK || !rows) return;
        for (const SRow& row : rows->aRow) {
            TMSGProperty& node = into.Add();
            node.TagID = kTagRecipient;
            AddProps(node.SubProperties(), row.lpProps, true);
        }
    }

    void AddAttachments(IMessage* message, TMSGProperties& into)
    {
        ComPtr<IMAPITable> table;
        if (message->GetAttachmentTable(0, table.put()) != S_OK || !table) return;
        const SPropTagArray cols{PR_ATTACH_NUM};
        SRowSetPtr rows;
        if (libs_.HrQueryAllRows(table.get(), &cols, nullptr, nullptr, 0, &rows) != S_OK || !rows) return;
        for (const SRow& row : rows->aRow) {
            if (row.cValues() == 0 || row.lpProps[0].isError()) continue;
            ComPtr<IAttach> attachment;
            if (message->OpenAttach(static_cast<ULONG>(row.lpProps[0].Value.l), nullptr, MAPI_BEST_ACCESS,
                                    attachment.put()) != S_OK)
                continue;
            ULONG count = 0;
            SPropValueArray values;
            const HRESULT hr = attachment->GetProps(nullptr, MAPI_UNICODE, &count, &values);
            if (hr != S_OK && hr != MAPI_W_ERRORS_RETURNED) continue;
            int method = ATTACH_BY_VALUE;
            bool haveData = false;
            for (const SPropValue& v : values) {
                if (v.ulPropTag == PR_ATTACH_METHOD) method = v.Value.l;
                if (v.ulPropTag == PR_ATTACH_DATA_BIN) haveData = true;
            }
            if (method == static_cast<int>(ATTACH_BY_VALUE) && !haveData) {
                SPropValuePtr data;
                if (MapiLibs::HrGetOneProp(attachment.get(), PR_ATTACH_DATA_BIN, &data) == S_OK && data)
                    values.push_back(*data);
            }
            TMSGProperty& node = into.Add();
            node.TagID = kTagAttachment;
            AddProps(node.SubProperties(), values, false);
            if (method != static_cast<int>(ATTACH_EMBEDDED_MSG)) continue;
            IUnknown* object = nullptr;
            if (attachment->OpenProperty(PR_ATTACH_DATA_OBJ, &IID_IMessage, 0, 0, &object) != S_OK || !object) continue;
            ComPtr<IMessage> inner = ComPtr<IMessage>::Adopt(static_cast<IMessage*>(object));
            TMSGProperty& holder = node.SubProperties().Add();
            holder.TagID = PR_ATTACH_DATA_OBJ;
            AddMessage(inner.get(), holder.SubProperties());
        }
    }

    MapiLibs& libs_;
    NameRenumbering& names_;
};

}  // namespace

bool BuildMsgTreeFromIMessage(IMessage* message, MapiLibs& libs, TMSGFile& file)
{
    QUILLORA_TRACE(u"BuildMsgTreeFromIMessage");
    if (!message) return false;
    file.ClearInternalLists();
    NameRenumbering names(message);
    TreeBuilder builder(libs, names);
    if (!builder.AddMessage(message, file.GetProperties())) return false;
    names.Write(file.GetProperties());
    file.InvalidateTextCodePage();
    return true;
}
