#include "message/MSGFile.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

#include "app/cLogger.h"
#include "platform/mapi/MapiTags.h"

namespace {

constexpr DWORD kOpenFileMode = STGM_READ | STGM_SHARE_DENY_WRITE | STGM_PRIORITY;  // 0x40020
// The design opens a memory image read-write and transacted (0x10012); nothing is ever
// written back, so read access serves and is all the storage layer offers on existing files.
constexpr DWORD kOpenMemoryMode = STGM_READ | STGM_SHARE_EXCLUSIVE;
constexpr DWORD kOpenChildMode = STGM_READ | STGM_SHARE_EXCLUSIVE;  // 0x10

constexpr std::u16string_view kFixedStreamName = u"__properties_version1.0";
constexpr std::u16string_view kValueStreamPrefix = u"__substg1.0_";

bool IsHexDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

// The number in the last 8 characters of the name (the whole name when shorter), when all
// of them are hexadecimal digits.
bool HexTail(std::u16string_view name, std::uint32_t& value) {
    std::u16string_view tail = name.size() > 8 ? name.substr(name.size() - 8) : name;
    if (tail.empty()) return false;
    value = 0;
    for (char16_t c : tail) {
        if (!IsHexDigit(c)) return false;
        value = (value << 4) | static_cast<std::uint32_t>(c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10);
    }
    return true;
}

// "__substg1.0_TTTTTTTT-IIIIIIII": one value of a variable-size multi-valued property.
bool MultiValueElement(std::u16string_view name, std::uint32_t& tag) {
    if (name.size() != kValueStreamPrefix.size() + 17 || name.substr(0, kValueStreamPrefix.size()) != kValueStreamPrefix ||
        name[kValueStreamPrefix.size() + 8] != u'-')
        return false;
    std::uint32_t index;
    return HexTail(name.substr(0, kValueStreamPrefix.size() + 8), tag) && HexTail(name, index) && (tag & 0x1000);
}

std::size_t FixedHeaderSize(std::uint32_t storageTag) {
    if (storageTag == PR_ATTACH_DATA_OBJ) return 24;
    if (storageTag == kTagRecipient || storageTag == kTagAttachment) return 8;
    return 32;  // the root and any other storage
}

bool Contains(std::u16string_view name, std::u16string_view part) { return name.find(part) != std::u16string_view::npos; }

bool OneOf(std::uint16_t id, std::initializer_list<std::uint16_t> ids) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

bool TMSGFile::Fail(HRESULT hr, std::string why) {
    lastError_ = hr;
    lastErrorText_ = std::move(why);
    LogPrintf(u"FAILED: %hs (0x%08X)", lastErrorText_.c_str(), static_cast<unsigned>(hr));
    return false;
}

bool TMSGFile::Wanted(std::uint32_t storageTag, std::uint32_t tag) const {
    if (scope_ == Scope::Everything) return true;
    const auto id = static_cast<std::uint16_t>(tag >> 16);
    switch (storageTag) {
        case kTagRootStorage:  // subject, conversation topic, class, sender, display lines, received-by
            return OneOf(id, {0x0037, 0x0070, 0x001A, 0x0042, 0x0065, 0x0C1A, 0x0C1F, 0x0E04, 0x0E03, 0x0E02, 0x0076});
        case kTagRecipient: return OneOf(id, {0x3001, 0x3003});
        case kTagAttachment:  // names, content id and location, rendering
            return OneOf(id, {0x3001, 0x3704, 0x3707, 0x3709, 0x3712, 0x3713});
        case PR_ATTACH_DATA_OBJ: return id == 0x001A;  // an attached message: its class only
        default: return false;
    }
}

bool TMSGFile::LoadFromFile(const WideString& path) {
    QUILLORA_TRACE(u"TMSGFile::LoadFromFile");
    TMessage::LoadFromFile(path);
    lastError_ = S_OK;
    lastErrorText_.clear();
    damagedRtf_ = false;
    // The open reads the file once and tells a file that is no compound file apart itself.
    ComPtr<IStorage> root;
    const HRESULT hr = StgOpenStorage(path.c_str(), nullptr, kOpenFileMode, nullptr, 0, root.put());
    if (hr == STG_E_FILEALREADYEXISTS) return Fail(S_FALSE, "not a compound file");
    if (FAILED(hr)) return Fail(hr, "cannot open the compound file: " + StgLastOpenFailure());
    return LoadRoot(root.get());
}

bool TMSGFile::LoadFromMemory(std::span<const std::uint8_t> image) {
    QUILLORA_TRACE(u"TMSGFile::LoadFromMemory");
    TMessage::LoadFromMemory(image);
    lastError_ = S_OK;
    lastErrorText_.clear();
    damagedRtf_ = false;
    ComPtr<IStorage> root;
    HRESULT hr = StgOpenStorageOnMemory(image.data(), image.size(), kOpenMemoryMode, root.put());
    if (FAILED(hr)) return Fail(hr, "cannot open the compound file: " + StgLastOpenFailure());
    return LoadRoot(root.get());
}

bool TMSGFile::LoadFromStream(std::istream& in) {
    std::vector<std::uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        TMessage::LoadFromStream(in);
        return Fail(STG_E_READFAULT, "cannot read the stream");
    }
    return LoadFromMemory(image);
}

bool TMSGFile::LoadRoot(IStorage* root) {
    HRESULT hr = LoadIStorage(root, GetProperties(), nullptr, kTagRootStorage, 0);
    InvalidateTextCodePage();
    if (FAILED(hr)) return Fail(hr, lastErrorText_.empty() ? "cannot read the compound file" : lastErrorText_);
    return true;
}

HRESULT TMSGFile::LoadStream(IStorage* storage, const STATSTG& element, std::vector<std::uint8_t>& bytes) {
    ComPtr<IStream> stream;
    if (FAILED(storage->OpenStream(element.pwcsName, nullptr, kOpenChildMode, 0, stream.put()))) {
        bytes.clear();
        return S_FALSE;
    }
    // The storage layer has checked the size against the file; read what is actually there.
    // The buffer is reused from stream to stream and overwritten, never cleared.
    bytes.resize(static_cast<std::size_t>(element.cbSize.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ULONG want = static_cast<ULONG>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        ULONG got = 0;
        HRESULT hr = stream->Read(bytes.data() + done, want, &got);
        if (FAILED(hr)) return hr;
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return S_OK;
}

HRESULT TMSGFile::LoadIStorage(IStorage* storage, TMSGProperties& collection, TMSGProperties* parent,
                               std::uint32_t storageTag, int depth) {
    if (depth > kMaxDepth) {
        lastErrorText_ = "storages nested too deep";
        return STG_E_DOCFILECORRUPT;
    }
    ComPtr<IEnumSTATSTG> elements;
    HRESULT hr = storage->EnumElements(0, nullptr, 0, elements.put());
    if (FAILED(hr)) {
        lastErrorText_ = "cannot enumerate a storage";
        return hr;
    }
    std::vector<std::uint8_t> bytes;
    STATSTG st;
    while (elements->Next(1, &st, nullptr) == S_OK) {
        CoTaskMemPtr<char16_t> nameMemory(st.pwcsName);
        const std::u16string_view name(st.pwcsName);
        std::uint32_t tag = 0;

        if (st.type == STGTY_STORAGE) {
            // The list needs no named properties, nor the storages inside an attached message.
            if (scope_ == Scope::ListColumns &&
                (Contains(name, u"nameid_version") || storageTag == PR_ATTACH_DATA_OBJ))
                continue;
            ComPtr<IStorage> sub;
            if (FAILED(storage->OpenStorage(st.pwcsName, nullptr, kOpenChildMode, nullptr, 0, sub.put())))
                continue;  // a storage that cannot be opened is left out
            MSGValue value = std::u16string(name);
            if (Contains(name, u"nameid_version")) {
                tag = kTagNamedProperties;
            } else if (Contains(name, u"recip_version")) {
                tag = kTagRecipient;
            } else if (Contains(name, u"attach_version")) {
                tag = kTagAttachment;
            } else if (HexTail(name, tag)) {
                value = std::u16string(name.size() > 8 ? name.substr(name.size() - 8) : name);
                // An OLE object in a 0x3701000D storage cannot be loaded on this platform.
            }
            TMSGProperty& node = collection.Add();
            node.TagID = tag;
            node.Value = std::move(value);
            hr = LoadIStorage(sub.get(), node.SubProperties(), &collection, tag, depth + 1);
            if (FAILED(hr)) return hr;
            continue;
        }
        if (st.type != STGTY_STREAM) continue;

        if (name == u"CONTENTS" && parent) {
            // The native data of an OLE object: the attachment's method becomes 6 (OLE).
            TMSGProperty& method = parent->Add();
            method.TagID = PR_ATTACH_METHOD;
            method.Value = std::string("6");
            method.DataSize = 1;
            tag = PR_ATTACH_DATA_BIN;
            if (!Wanted(storageTag, tag)) continue;
        } else if (MultiValueElement(name, tag)) {
            if (!Wanted(storageTag, tag)) continue;
            // One value of a variable-size multi-valued property: a child of that property,
            // tagged with the single-valued type, in index order.
            TMSGProperty* owner = nullptr;
            for (int i = collection.Count() - 1; i >= 0 && !owner; --i)
                if (collection.GetProperty(i).TagID == tag) owner = &collection.GetProperty(i);
            if (!owner) {
                owner = &collection.Add();
                owner->TagID = tag;
                owner->Value = std::string();
            }
            if (HRESULT r = LoadStream(storage, st, bytes); FAILED(r)) {
                lastErrorText_ = "cannot read a property stream";
                return r;
            }
            TMSGProperty& item = owner->SubProperties().Add();
            item.ApplyValueTag(tag & ~0x1000u, bytes);
            continue;
        } else if (name == kFixedStreamName) {
            TMSGProperty& node = collection.Add();
            node.TagID = 0;
            node.Value = std::u16string(name);
            if (HRESULT r = LoadStream(storage, st, bytes); FAILED(r)) {
                lastErrorText_ = "cannot read the fixed-length property stream";
                return r;
            }
            // Whole 16-byte entries after the header; a partial last entry is left out.
            for (std::size_t at = FixedHeaderSize(storageTag); at + 16 <= bytes.size(); at += 16)
                node.SubProperties().Add().ApplyGeneralProperty(std::span<const std::uint8_t, 16>(bytes.data() + at, 16));
            continue;
        } else if (!HexTail(name, tag)) {
            continue;  // any other stream is not a property
        } else if (!Wanted(storageTag, tag)) {
            continue;
        }

        TMSGProperty& leaf = collection.Add();
        leaf.TagID = tag;
        HRESULT r = LoadStream(storage, st, bytes);
        if (FAILED(r)) {
            lastErrorText_ = "cannot read a property stream";
            return r;
        }
        if (r == S_FALSE || bytes.empty()) continue;  // empty or unopenable: an empty leaf
        if (!leaf.ApplyValue(bytes)) {
            // A damaged RTF body loses only itself: its leaf stays empty, the rest still loads.
            damagedRtf_ = true;
            LogPrintf(u"damaged compressed RTF body: %hs", leaf.reason());
        }
    }
    return S_OK;
}
