#include "message/MSGWriter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/cLogger.h"
#include "message/CompressedRTF.h"
#include "platform/mapi/MapiTags.h"
#include "platform/win/ByteOrder.h"
#include "platform/win/WinString.h"

const CLSID CLSID_MailMessage = {0x00020D0B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

constexpr std::uint16_t kMultiValued = 0x1000;
constexpr DWORD kCreateRootMode = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;  // 0x1012
constexpr DWORD kCreateChildMode = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE;     // 0x1011
constexpr std::uint32_t kEntryFlags = 0x00000006;  // readable and writable
constexpr std::u16string_view kFixedStreamName = u"__properties_version1.0";


std::int64_t IntegerOf(const MSGValue& value)
{
    if (const auto* v = std::get_if<std::int16_t>(&value)) return *v;
    if (const auto* v = std::get_if<std::int32_t>(&value)) return *v;
    if (const auto* v = std::get_if<std::uint32_t>(&value)) return *v;
    if (const auto* v = std::get_if<bool>(&value)) return *v ? 1 : 0;
    if (const auto* v = std::get_if<double>(&value)) return std::isfinite(*v) ? std::llround(*v) : 0;
    if (const auto* v = std::get_if<std::string>(&value)) return std::atoll(v->c_str());
    return 0;
}

double DoubleOf(const MSGValue& value)
{
    if (const auto* v = std::get_if<double>(&value)) return *v;
    if (const auto* v = std::get_if<DateTime>(&value)) return v->days;
    return static_cast<double>(IntegerOf(value));
}

std::uint64_t FileTimeOf(const MSGValue& value) { return FileTimeOfDays(DoubleOf(value)); }

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (the model's text of a GUID) to its 16 bytes.
std::string GuidBytes(const MSGValue& value)
{
    std::string digits;
    if (const auto* text = std::get_if<std::string>(&value))
        for (char c : *text)
            if (HexValue(c) >= 0) digits.push_back(c);
    if (digits.size() != 32) return std::string(16, '\0');
    auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(HexValue(digits[2 * i]) * 16 + HexValue(digits[2 * i + 1])); };
    std::string out;
    // Data1, Data2 and Data3 are stored little-endian, Data4 as it reads.
    for (int i : {3, 2, 1, 0, 5, 4, 7, 6}) out.push_back(static_cast<char>(byteAt(static_cast<std::size_t>(i))));
    for (std::size_t i = 8; i < 16; ++i) out.push_back(static_cast<char>(byteAt(i)));
    return out;
}

// A value of a fixed-size type in its stored form.
std::string FixedBytes(std::uint16_t type, const MSGValue& value)
{
    std::string out;
    switch (type) {
        case 0x0002: AppendLe(out, static_cast<std::uint64_t>(IntegerOf(value)), 2); break;
        case 0x0003:
        case 0x000A: AppendLe(out, static_cast<std::uint64_t>(IntegerOf(value)), 4); break;
        case 0x000B: AppendLe(out, IntegerOf(value) != 0 ? 1 : 0, 2); break;
        case 0x0004: {
            const float f = static_cast<float>(DoubleOf(value));
            std::uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            AppendLe(out, bits, 4);
            break;
        }
        case 0x0005:
        case 0x0007: {
            const double d = DoubleOf(value);
            std::uint64_t bits;
            std::memcpy(&bits, &d, sizeof bits);
            AppendLe(out, bits, 8);
            break;
        }
        case 0x0006:
        case 0x0014: AppendLe(out, static_cast<std::uint64_t>(IntegerOf(value)), 8); break;
        case 0x0040: AppendLe(out, FileTimeOf(value), 8); break;
        case 0x0048: out = GuidBytes(value); break;
        default: break;
    }
    return out;
}

std::string Utf16LeBytes(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) AppendLe(out, c, 2);
    return out;
}

// The bytes of a property's value stream.
std::string LeafBytes(const TMSGProperty& p)
{
    if (p.TagID == PR_RTF_COMPRESSED) {
        // The model holds the RTF text (plus one zero); the stream holds it compressed.
        const std::string* text = p.RawBytes();
        if (!text || text->empty()) return {};
        std::string_view rtf(*text);
        if (rtf.back() == '\0') rtf.remove_suffix(1);
        if (rtf.empty()) return {};
        const std::vector<std::uint8_t> packed =
            EncodeCompressedRTF(std::span(reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size()));
        return std::string(packed.begin(), packed.end());
    }
    return std::visit(
        [&p](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return {};
            } else if constexpr (std::is_same_v<T, std::string>) {
                return p.PropertyType() == 0x0048 ? GuidBytes(p.Value) : v;
            } else if constexpr (std::is_same_v<T, std::u16string>) {
                return Utf16LeBytes(v);
            } else {
                const std::uint16_t type = p.PropertyType();
                if (MapiFixedValueSize(type)) return FixedBytes(type, p.Value);
                return {};  // a number under a variable-size type: nothing that type could hold
            }
        },
        p.Value);
}

bool IsMultiValued(const TMSGProperty& p) { return p.TagID != 0 && (p.PropertyType() & kMultiValued); }

bool IsStorageNode(const TMSGProperty& p)
{
    if (p.TagID == 0) return false;
    if (p.TagID == kTagNamedProperties || p.TagID == kTagRecipient || p.TagID == kTagAttachment) return true;
    if (p.PropertyType() == 0x000D) return true;
    return !IsMultiValued(p) && !p.SubProperties().Empty();
}

bool IsHexName(const std::u16string& name)
{
    if (name.size() != 8) return false;
    for (char16_t c : name)
        if (c > 0x7F || HexValue(static_cast<char>(c)) < 0) return false;
    return true;
}

std::u16string HexName(const char* prefix, std::uint32_t number)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%08X", prefix, number);
    return WideFromAscii(buf);
}

// The number after "#" in a recipient or attachment storage name; -1 when there is none.
long long NumberInName(const TMSGProperty& node)
{
    const auto* name = std::get_if<std::u16string>(&node.Value);
    if (!name) return -1;
    const std::size_t hash = name->rfind(u'#');
    if (hash == std::u16string::npos || hash + 1 >= name->size()) return -1;
    long long n = 0;
    for (std::size_t i = hash + 1; i < name->size(); ++i) {
        const int d = (*name)[i] < 0x80 ? HexValue(static_cast<char>((*name)[i])) : -1;
        if (d < 0 || n > 0xFFFFFFF) return -1;
        n = n * 16 + d;
    }
    return n;
}

// Sub-storage names: the name the node was read under, with a bare hex name given its
// "__substg1.0_" prefix back; for a node built in memory, the name its tag calls for.
std::u16string StorageName(const TMSGProperty& node, int ordinal)
{
    if (const auto* name = std::get_if<std::u16string>(&node.Value); name && !name->empty()) {
        std::u16string n = *name;
        while (!n.empty() && n.back() == 0) n.pop_back();
        if (IsHexName(n)) return u"__substg1.0_" + n;
        if (!n.empty()) return n;
    }
    switch (node.TagID) {
        case kTagNamedProperties: return u"__nameid_version1.0";
        case kTagRecipient: return HexName("__recip_version1.0_#", static_cast<std::uint32_t>(ordinal));
        case kTagAttachment: return HexName("__attach_version1.0_#", static_cast<std::uint32_t>(ordinal));
        default: return HexName("__substg1.0_", node.TagID);
    }
}

class MsgTreeWriter {
public:
    HRESULT WriteCollection(IStorage* storage, const TMSGProperties& items, std::uint32_t storageTag)
    {
        int recipients = 0, attachments = 0;
        for (const auto& holder : items) {
            const TMSGProperty& item = *holder;
            HRESULT hr = S_OK;
            if (item.TagID == 0) {
                hr = WriteStream(storage, std::u16string(kFixedStreamName), FixedStream(item, items, storageTag));
            } else if (IsStorageNode(item)) {
                int ordinal = 0;
                if (item.TagID == kTagRecipient) ordinal = recipients++;
                if (item.TagID == kTagAttachment) ordinal = attachments++;
                ComPtr<IStorage> sub;
                hr = storage->CreateStorage(StorageName(item, ordinal).c_str(), kCreateChildMode, 0, 0, sub.put());
                if (SUCCEEDED(hr)) hr = WriteCollection(sub.get(), item.SubProperties(), item.TagID);
            } else if (IsMultiValued(item)) {
                hr = WriteMultiValued(storage, item);
            } else if (item.TagID == PR_ATTACH_METHOD && std::holds_alternative<std::string>(item.Value)) {
                continue;  // stands for the CONTENTS stream of an OLE object; reading makes it again
            } else if (item.TagID == PR_ATTACH_DATA_BIN && storageTag == PR_ATTACH_DATA_OBJ) {
                hr = WriteStream(storage, u"CONTENTS", LeafBytes(item));  // an OLE object's native data
            } else {
                hr = WriteLeaf(storage, item);
            }
            if (FAILED(hr)) return hr;
        }
        return S_OK;
    }

    HRESULT WriteLeaf(IStorage* storage, const TMSGProperty& item)
    {
        return WriteStream(storage, HexName("__substg1.0_", item.TagID), LeafBytes(item));
    }

private:
    static HRESULT WriteStream(IStorage* storage, const std::u16string& name, const std::string& bytes)
    {
        ComPtr<IStream> stream;
        HRESULT hr = storage->CreateStream(name.c_str(), kCreateChildMode, 0, 0, stream.put());
        if (FAILED(hr)) {
            LogPrintf(u"FAILED: CreateStream %s", name.c_str());
            return hr;
        }
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            ULONG written = 0;
            hr = stream->Write(bytes.data() + done, chunk, &written);
            if (FAILED(hr)) return hr;
            if (written == 0) return STG_E_WRITEFAULT;
            done += written;
        }
        return S_OK;
    }

    // Multi-valued properties: one stream of the values for fixed-size types; for variable-size
    // types a stream of their lengths and one stream per value, "-" and its index after the name.
    HRESULT WriteMultiValued(IStorage* storage, const TMSGProperty& item)
    {
        const std::uint16_t single = item.PropertyType() & ~kMultiValued;
        const std::string* kept = item.RawBytes();
        std::string main = kept ? *kept : std::string();
        const bool fixed = MapiFixedValueSize(single) != 0;
        if (main.empty()) {
            for (const auto& value : item.SubProperties()) {
                if (fixed) {
                    main += FixedBytes(single, value->Value);
                } else {
                    AppendLe(main, LeafBytes(*value).size(), 4);
                    if (single == 0x0102) AppendLe(main, 0, 4);
                }
            }
        }
        HRESULT hr = WriteStream(storage, HexName("__substg1.0_", item.TagID), main);
        if (FAILED(hr) || fixed) return hr;
        int index = 0;
        for (const auto& value : item.SubProperties()) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, "-%08X", index++);
            hr = WriteStream(storage, HexName("__substg1.0_", item.TagID) + WideFromAscii(suffix), LeafBytes(*value));
            if (FAILED(hr)) return hr;
        }
        return S_OK;
    }

    // The property header of a storage: message storages count their recipients and
    // attachments and name the next free ids; recipients and attachments have 8 reserved bytes.
    static std::string FixedHeader(const TMSGProperties& items, std::uint32_t storageTag)
    {
        std::string header(8, '\0');
        if (storageTag == kTagRecipient || storageTag == kTagAttachment) return header;
        std::uint32_t recipients = 0, attachments = 0;
        long long nextRecipient = 0, nextAttachment = 0;
        for (const auto& item : items) {
            if (item->TagID == kTagRecipient) {
                ++recipients;
                nextRecipient = std::max(nextRecipient, NumberInName(*item) + 1);
            } else if (item->TagID == kTagAttachment) {
                ++attachments;
                nextAttachment = std::max(nextAttachment, NumberInName(*item) + 1);
            }
        }
        AppendLe(header, static_cast<std::uint64_t>(std::max<long long>(nextRecipient, recipients)), 4);
        AppendLe(header, static_cast<std::uint64_t>(std::max<long long>(nextAttachment, attachments)), 4);
        AppendLe(header, recipients, 4);
        AppendLe(header, attachments, 4);
        if (storageTag != PR_ATTACH_DATA_OBJ) header.append(8, '\0');
        return header;
    }

    // One 16-byte entry: the stored entry as read, else built from the property (the type of a
    // typeless entry comes from the value stream of the same id beside it).
    static std::string FixedEntry(const TMSGProperty& entry, const TMSGProperties& siblings)
    {
        if (entry.StoredEntry().size() == 16) return entry.StoredEntry();
        std::uint16_t type = entry.PropertyType();
        const std::uint16_t id = entry.PureTag();
        const TMSGProperty* stream = nullptr;
        for (const auto& s : siblings)
            if (s->TagID != 0 && s->PureTag() == id && !IsStorageNode(*s)) {
                stream = s.get();
                break;
            }
        if (type == 0 && stream) type = stream->PropertyType();
        std::string out;
        AppendLe(out, type, 2);
        AppendLe(out, id, 2);
        AppendLe(out, kEntryFlags, 4);
        std::string value;
        if (type == 0x000B) {
            value.push_back(IntegerOf(entry.Value) != 0 ? 1 : 0);
        } else if (MapiFixedValueSize(type) && MapiFixedValueSize(type) <= 8) {
            value = FixedBytes(type, entry.Value);
        } else if (stream) {
            // Variable-size values: the size of their stream, terminating zero included.
            std::size_t size = LeafBytes(*stream).size();
            if (type == 0x001E && (size == 0 || !stream->RawBytes() || stream->RawBytes()->back() != '\0')) size += 1;
            if (type == 0x001F) {
                const auto* text = std::get_if<std::u16string>(&stream->Value);
                if (!text || text->empty() || text->back() != 0) size += 2;
            }
            AppendLe(value, size, 4);
        }
        value.resize(8, '\0');
        return out + value;
    }

    static std::string FixedStream(const TMSGProperty& node, const TMSGProperties& siblings, std::uint32_t storageTag)
    {
        std::string bytes = FixedHeader(siblings, storageTag);
        for (const auto& entry : node.SubProperties()) bytes += FixedEntry(*entry, siblings);
        return bytes;
    }
};

}  // namespace

HRESULT SaveToMsgFile(const TMessage& message, const WideString& path, bool full)
{
    QUILLORA_TRACE(u"TMessage::SaveToMsgFile");
    ComPtr<IStorage> root;
    HRESULT hr = StgCreateDocfile(path.c_str(), kCreateRootMode, 0, root.put());
    if (FAILED(hr)) {
        LogPrintf(u"FAILED: StgCreateDocfile %s", path.c_str());
        return hr;
    }
    hr = WriteClassStg(root.get(), CLSID_MailMessage);
    MsgTreeWriter writer;
    const TMSGProperties& items = message.GetProperties();
    if (SUCCEEDED(hr)) {
        if (full) {
            hr = writer.WriteCollection(root.get(), items, kTagRootStorage);
        } else {
            for (std::uint32_t tag : {0x0042001Eu, 0x0044001Eu, 0x0037001Eu, 0x00390040u, 0x1035001Eu}) {
                if (const TMSGProperty* p = items.GetPropertyByTag(tag, false, false)) hr = writer.WriteLeaf(root.get(), *p);
                if (FAILED(hr)) break;
            }
        }
    }
    if (SUCCEEDED(hr)) hr = root->Commit(STGC_DEFAULT);
    LogPrintf(u"hr: %X", static_cast<unsigned>(hr));
    return hr;
}
