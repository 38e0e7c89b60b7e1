#include "platform/mapi/PstFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <libpff.h>

#include "platform/win/ByteOrder.h"
#include "platform/win/CodePages.h"
#include "platform/win/PlatformTrace.h"
#include "platform/win/WinString.h"

namespace {

std::string ErrorText(libpff_error_t*& error) {
    std::string text;
    if (error) {
        char buf[1024] = {};
        if (libpff_error_sprint(error, buf, sizeof buf) > 0) text = buf;
        libpff_error_free(&error);
    }
    return text;
}

void Discard(libpff_error_t*& error) {
    if (error) libpff_error_free(&error);
}

struct RecordEntry {
    libpff_record_entry_t* e = nullptr;
    ~RecordEntry() {
        libpff_error_t* err = nullptr;
        if (e) libpff_record_entry_free(&e, &err);
        Discard(err);
    }
};


std::string_view Bytes(const BYTE* p, std::size_t size) { return {reinterpret_cast<const char*>(p), size}; }

std::u16string Utf16Le(const BYTE* p, std::size_t size) {
    const std::string_view d = Bytes(p, size);
    std::u16string s(size / 2, u'\0');
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char16_t>(Le16(d, 2 * i));
    while (!s.empty() && s.back() == 0) s.pop_back();
    return s;
}

}  // namespace

bool DecodeStoreValue(ULONG tag, const BYTE* d, std::size_t n, const LazyCodePage& codePage, SPropValue& out) {
    const ULONG type = PROP_TYPE(tag);
    const std::string_view bytes = Bytes(d, n);
    auto need = [n](std::size_t size) { return n >= size; };
    switch (type) {
    case PT_I2:
        if (!need(2)) return false;
        out = SPropValue::Short(tag, static_cast<short>(Le16(bytes, 0)));
        return true;
    case PT_LONG:
        if (!need(4)) return false;
        out = SPropValue::Long(tag, static_cast<LONG>(Le32(bytes, 0)));
        return true;
    case PT_ERROR:
        if (!need(4)) return false;
        out = SPropValue::Error(tag, static_cast<SCODE>(Le32(bytes, 0)));
        return true;
    case PT_BOOLEAN:
        if (!need(1)) return false;
        out = SPropValue::Bool(tag, d[0] != 0);
        return true;
    case PT_R4: {
        if (!need(4)) return false;
        float f;
        const std::uint32_t bits = Le32(bytes, 0);
        std::memcpy(&f, &bits, 4);
        out = SPropValue::Float(tag, f);
        return true;
    }
    case PT_DOUBLE:
    case PT_APPTIME:
    case PT_I8:
    case PT_CURRENCY:
    case PT_SYSTIME: {
        if (!need(8)) return false;
        const ULONGLONG v = ULONGLONG(Le32(bytes, 0)) | ULONGLONG(Le32(bytes, 4)) << 32;
        if (type == PT_SYSTIME) {
            out = SPropValue::SysTime(tag, FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)});
        } else if (type == PT_I8 || type == PT_CURRENCY) {
            out = SPropValue::I8(tag, static_cast<LONGLONG>(v));
        } else {
            double x;
            std::memcpy(&x, &v, 8);
            out = SPropValue::Double(tag, x);
        }
        return true;
    }
    case PT_CLSID:
        if (!need(16)) return false;
        out = SPropValue::Guid(tag, GuidFromBytes(d));
        return true;
    case PT_STRING8: {
        std::size_t len = n;
        while (len > 0 && d[len - 1] == 0) --len;
        out = SPropValue::String8(tag, Utf16ToUtf8(DecodeStoreText(reinterpret_cast<const char*>(d), len, codePage.Get())));
        return true;
    }
    case PT_UNICODE: out = SPropValue::Unicode(tag, Utf16Le(d, n)); return true;
    case PT_BINARY: out = SPropValue::Binary(tag, d, n); return true;
    case PT_MV_LONG: {
        std::vector<LONG> v;
        for (std::size_t i = 0; i + 4 <= n; i += 4) v.push_back(static_cast<LONG>(Le32(bytes, i)));
        out = SPropValue::MVLong(tag, std::move(v));
        return true;
    }
    case PT_MV_I8:
    case PT_MV_SYSTIME: {
        std::vector<LONGLONG> v;
        for (std::size_t i = 0; i + 8 <= n; i += 8)
            v.push_back(static_cast<LONGLONG>(ULONGLONG(Le32(bytes, i)) | ULONGLONG(Le32(bytes, i + 4)) << 32));
        if (type == PT_MV_I8) {
            out = SPropValue::MVI8(tag, std::move(v));
        } else {
            std::vector<FILETIME> t;
            for (LONGLONG x : v) t.push_back(FILETIME{static_cast<DWORD>(x), static_cast<DWORD>(ULONGLONG(x) >> 32)});
            out = SPropValue::MVSysTime(tag, std::move(t));
        }
        return true;
    }
    case PT_MV_CLSID: {
        std::vector<GUID> v;
        for (std::size_t i = 0; i + 16 <= n; i += 16) v.push_back(GuidFromBytes(d + i));
        out = SPropValue::MVGuid(tag, std::move(v));
        return true;
    }
    case PT_MV_STRING8:
    case PT_MV_UNICODE:
    case PT_MV_BINARY: {
        // A count, one offset per value, then the values back to back.
        if (!need(4)) return false;
        const std::uint32_t count = Le32(bytes, 0);
        if (count > (n - 4) / 4) return false;
        std::vector<std::vector<BYTE>> parts;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t start = Le32(bytes, 4 + 4 * i);
            const std::uint32_t end = i + 1 < count ? Le32(bytes, 8 + 4 * i) : static_cast<std::uint32_t>(n);
            if (start > end || end > n) return false;
            parts.emplace_back(d + start, d + end);
        }
        if (type == PT_MV_BINARY) {
            out = SPropValue::MVBinary(tag, parts);
        } else if (type == PT_MV_UNICODE) {
            std::vector<std::u16string> v;
            for (const auto& p : parts) v.push_back(Utf16Le(p.data(), p.size()));
            out = SPropValue::MVUnicode(tag, v);
        } else {
            std::vector<std::string> v;
            for (const auto& p : parts) {
                std::size_t len = p.size();
                while (len > 0 && p[len - 1] == 0) --len;
                v.push_back(Utf16ToUtf8(DecodeStoreText(reinterpret_cast<const char*>(p.data()), len, codePage.Get())));
            }
            out = SPropValue::MVString8(tag, v);
        }
        return true;
    }
    default: return false;
    }
}

namespace {

bool ReadEntry(libpff_record_entry_t* entry, const LazyCodePage& codePage, SPropValue& out) {
    libpff_error_t* err = nullptr;
    uint32_t id = 0, type = 0;
    size_t size = 0;
    if (libpff_record_entry_get_entry_type(entry, &id, &err) != 1 ||
        libpff_record_entry_get_value_type(entry, &type, &err) != 1 ||
        libpff_record_entry_get_data_size(entry, &size, &err) != 1) {
        Discard(err);
        return false;
    }
    std::vector<BYTE> data(size);
    if (size > 0 && libpff_record_entry_get_data(entry, data.data(), size, &err) != 1) {
        Discard(err);
        return false;
    }
    return DecodeStoreValue(PROP_TAG(type, id & 0xFFFF), data.data(), data.size(), codePage, out);
}

}  // namespace

struct PstItemHandle {
    libpff_item_t* item = nullptr;
    libpff_record_set_t* set0 = nullptr;  // record set 0, read once
    bool set0Tried = false;

    ~PstItemHandle() {
        libpff_error_t* err = nullptr;
        if (set0) libpff_record_set_free(&set0, &err);
        Discard(err);
        if (item) libpff_item_free(&item, &err);
        Discard(err);
    }

    libpff_record_set_t* Set0() {
        if (!set0Tried) {
            set0Tried = true;
            libpff_error_t* err = nullptr;
            if (libpff_item_get_record_set_by_index(item, 0, &set0, &err) != 1) set0 = nullptr;
            Discard(err);
        }
        return set0;
    }
};

namespace {

// The answer to a failed libpff call: the store is damaged there; libpff's text goes to why.
HRESULT Failed(libpff_error_t*& error, std::string* why) {
    std::string text = ErrorText(error);
    if (why) *why = text.empty() ? "libpff gave no reason" : std::move(text);
    return MAPI_E_CORRUPT_DATA;
}

// Runs a libpff call that hands out a new item: MAPI_E_NOT_FOUND when libpff has none,
// MAPI_E_CORRUPT_DATA with libpff's text when the call fails.
template <class F>
HRESULT FetchItem(F call, PstItem& out, std::string* why) {
    out = PstItem();
    libpff_item_t* raw = nullptr;
    libpff_error_t* err = nullptr;
    const int rc = call(&raw, &err);
    if (rc == 0) {
        Discard(err);
        if (why) *why = "not in the store";
        return MAPI_E_NOT_FOUND;
    }
    if (rc != 1 || !raw) return Failed(err, why);
    auto h = std::make_unique<PstItemHandle>();
    h->item = raw;
    uint32_t nid = 0;
    if (libpff_item_get_identifier(raw, &nid, &err) != 1) return Failed(err, why);
    out = PstItem(std::move(h), nid);
    return S_OK;
}

template <class F>
PstItem Fetch(F call, std::string* why) {
    PstItem item;
    FetchItem(call, item, why);
    return item;
}

// Runs a libpff call that answers a count.
template <class F>
HRESULT CountOf(F call, int& count, std::string& why) {
    libpff_error_t* err = nullptr;
    if (call(&count, &err) == 1) return S_OK;
    count = 0;
    return Failed(err, &why);
}

HRESULT NoItem(int& count, std::string& why) {
    count = 0;
    why = "no item";
    return MAPI_E_INVALID_OBJECT;
}

}  // namespace

PstItem::PstItem(std::unique_ptr<PstItemHandle> h, std::uint32_t nid) : h_(std::move(h)), nid_(nid) {}
PstItem::PstItem() = default;
PstItem::PstItem(PstItem&&) noexcept = default;
PstItem& PstItem::operator=(PstItem&&) noexcept = default;
PstItem::~PstItem() = default;

HRESULT PstItem::RecordSetCount(int& count, std::string& why) const {
    if (!h_) return NoItem(count, why);
    return CountOf([&](int* n, libpff_error_t** e) { return libpff_item_get_number_of_record_sets(h_->item, n, e); }, count,
                   why);
}

bool PstItem::ReadProp(ULONG propId, const LazyCodePage& codePage, SPropValue& out, int set) const {
    if (!h_) return false;
    libpff_error_t* err = nullptr;
    libpff_record_set_t* rs = nullptr;
    bool ownSet = false;
    if (set == 0) {
        rs = h_->Set0();
    } else {
        if (libpff_item_get_record_set_by_index(h_->item, set, &rs, &err) != 1) rs = nullptr;
        ownSet = rs != nullptr;
        Discard(err);
    }
    if (!rs) return false;
    RecordEntry entry;
    const int found = libpff_record_set_get_entry_by_type(
        rs, propId, 0, &entry.e,
        LIBPFF_ENTRY_VALUE_FLAG_MATCH_ANY_VALUE_TYPE | LIBPFF_ENTRY_VALUE_FLAG_IGNORE_NAME_TO_ID_MAP, &err);
    Discard(err);
    const bool ok = found == 1 && entry.e && ReadEntry(entry.e, codePage, out);
    if (ownSet) libpff_record_set_free(&rs, &err);
    Discard(err);
    return ok;
}

SPropValueArray PstItem::ReadAll(const LazyCodePage& codePage, int set) const {
    SPropValueArray values;
    if (!h_) return values;
    libpff_error_t* err = nullptr;
    libpff_record_set_t* rs = nullptr;
    bool ownSet = false;
    if (set == 0) {
        rs = h_->Set0();
    } else {
        if (libpff_item_get_record_set_by_index(h_->item, set, &rs, &err) != 1) rs = nullptr;
        ownSet = rs != nullptr;
        Discard(err);
    }
    if (!rs) return values;
    int n = 0;
    if (libpff_record_set_get_number_of_entries(rs, &n, &err) != 1) n = 0;
    Discard(err);
    for (int i = 0; i < n; ++i) {
        RecordEntry entry;
        if (libpff_record_set_get_entry_by_index(rs, i, &entry.e, &err) != 1) {
            Discard(err);
            continue;
        }
        SPropValue v;
        if (ReadEntry(entry.e, codePage, v)) values.push_back(std::move(v));
    }
    if (ownSet) libpff_record_set_free(&rs, &err);
    Discard(err);
    return values;
}

bool PstItem::IsFolder() const {
    std::uint8_t type = 0;
    libpff_error_t* err = nullptr;
    const bool known = h_ && libpff_item_get_type(h_->item, &type, &err) == 1;
    Discard(err);
    return known && type == LIBPFF_ITEM_TYPE_FOLDER;
}

HRESULT PstItem::SubFolderCount(int& count, std::string& why) const {
    if (!h_) return NoItem(count, why);
    return CountOf([&](int* n, libpff_error_t** e) { return libpff_folder_get_number_of_sub_folders(h_->item, n, e); },
                   count, why);
}

PstItem PstItem::SubFolder(int index, std::string* why) const {
    if (!h_) return PstItem();
    return Fetch([&](libpff_item_t** o, libpff_error_t** e) { return libpff_folder_get_sub_folder(h_->item, index, o, e); },
                 why);
}

HRESULT PstItem::SubMessageCount(int& count, std::string& why) const {
    if (!h_) return NoItem(count, why);
    return CountOf([&](int* n, libpff_error_t** e) { return libpff_folder_get_number_of_sub_messages(h_->item, n, e); },
                   count, why);
}

PstItem PstItem::SubMessage(int index, std::string* why) const {
    if (!h_) return PstItem();
    return Fetch([&](libpff_item_t** o, libpff_error_t** e) { return libpff_folder_get_sub_message(h_->item, index, o, e); },
                 why);
}

HRESULT PstItem::AttachmentCount(int& count, std::string& why) const {
    if (!h_) return NoItem(count, why);
    return CountOf([&](int* n, libpff_error_t** e) { return libpff_message_get_number_of_attachments(h_->item, n, e); },
                   count, why);
}

PstItem PstItem::Attachment(int index, std::string* why) const {
    if (!h_) return PstItem();
    return Fetch([&](libpff_item_t** o, libpff_error_t** e) { return libpff_message_get_attachment(h_->item, index, o, e); },
                 why);
}

HRESULT PstItem::Recipients(PstItem& out, std::string& why) const {
    int unused = 0;
    if (!h_) return NoItem(unused, why);
    const HRESULT hr =
        FetchItem([&](libpff_item_t** o, libpff_error_t** e) { return libpff_message_get_recipients(h_->item, o, e); }, out, &why);
    return hr == MAPI_E_NOT_FOUND ? S_OK : hr;
}

int PstItem::AttachmentKind() const {
    int kind = 0;
    libpff_error_t* err = nullptr;
    if (!h_ || libpff_attachment_get_type(h_->item, &kind, &err) != 1) kind = 0;
    Discard(err);
    return kind;
}

bool PstItem::AttachmentData(std::vector<BYTE>& out) const {
    out.clear();
    if (!h_) return false;
    libpff_error_t* err = nullptr;
    size64_t size = 0;
    if (libpff_attachment_get_data_size(h_->item, &size, &err) != 1 || size > 0x7FFFFFFF) {
        Discard(err);
        return false;
    }
    if (libpff_attachment_data_seek_offset(h_->item, 0, SEEK_SET, &err) < 0) {
        Discard(err);
        return false;
    }
    out.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = libpff_attachment_data_read_buffer(h_->item, out.data() + done, out.size() - done, &err);
        if (got <= 0) {
            Discard(err);
            out.resize(done);
            return got == 0;
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

PstItem PstItem::AttachedItem(std::string* why) const {
    if (!h_) return PstItem();
    return Fetch([&](libpff_item_t** o, libpff_error_t** e) { return libpff_attachment_get_item(h_->item, o, e); }, why);
}


struct PstFile::Handle {
    libpff_file_t* file = nullptr;
    ~Handle() {
        libpff_error_t* err = nullptr;
        if (file) {
            libpff_file_close(file, &err);
            Discard(err);
            libpff_file_free(&file, &err);
            Discard(err);
        }
    }
};

PstFile::~PstFile() = default;

std::shared_ptr<PstFile> PstFile::Open(const std::string& utf8Path, HRESULT& hr, std::string& errorText) {
    hr = S_OK;
    errorText.clear();
    // Probe the path first so that the common failures carry their system error.
    const int fd = ::open(utf8Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        hr = MapiErrorFromErrno(e);
        errorText = utf8Path + ": " + std::strerror(e);
        return nullptr;
    }
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (!regular) {
        hr = MAPI_E_CALL_FAILED;
        errorText = utf8Path + ": not a regular file";
        return nullptr;
    }

    std::shared_ptr<PstFile> pst(new PstFile());
    pst->path_ = utf8Path;
    pst->h_ = std::make_unique<Handle>();
    libpff_error_t* err = nullptr;
    if (libpff_file_initialize(&pst->h_->file, &err) != 1) {
        hr = MAPI_E_NOT_ENOUGH_RESOURCES;
        errorText = ErrorText(err);
        return nullptr;
    }
    if (libpff_file_open(pst->h_->file, utf8Path.c_str(), LIBPFF_OPEN_READ, &err) != 1) {
        libpff_file_free(&pst->h_->file, nullptr);
        pst->h_->file = nullptr;
        hr = MAPI_E_CORRUPT_DATA;
        errorText = ErrorText(err);
        if (errorText.empty()) errorText = "not a personal folders file";
        return nullptr;
    }
    int cp = 0;
    if (libpff_file_get_ascii_codepage(pst->h_->file, &cp, &err) == 1 && cp > 0) pst->codePage_ = static_cast<ULONG>(cp);
    Discard(err);

    PstItem store = pst->MessageStore();
    if (!store) {
        hr = MAPI_E_CORRUPT_DATA;
        errorText = "the file has no message store";
        return nullptr;
    }
    SPropValue key;
    if (store.ReadProp(PROP_ID(PR_RECORD_KEY), pst->codePage_, key) && key.type() == PT_BINARY && key.Value.bin.cb == 16) {
        pst->recordKey_.assign(key.Value.bin.lpb, key.Value.bin.lpb + 16);
    } else {
        // No usable record key: derive one from the path so ids stay distinct per store.
        std::uint64_t h1 = 1469598103934665603ull, h2 = 1099511628211ull;
        for (unsigned char c : utf8Path) {
            h1 = (h1 ^ c) * 1099511628211ull;
            h2 = (h2 + c) * 6364136223846793005ull;
        }
        pst->recordKey_.resize(16);
        for (int i = 0; i < 8; ++i) {
            pst->recordKey_[i] = static_cast<BYTE>(h1 >> (8 * i));
            pst->recordKey_[8 + i] = static_cast<BYTE>(h2 >> (8 * i));
        }
    }
    pst->LoadNameMap();
    std::string why;
    pst->nodes_ = PstNodeReader::Open(utf8Path, why);
    if (!pst->nodes_) PlatformTrace(u"store lists go through libpff: " + Utf8ToUtf16(why));
    return pst;
}

PstItem PstFile::MessageStore() const {
    return Fetch([&](libpff_item_t** o, libpff_error_t** e) { return libpff_file_get_message_store(h_->file, o, e); }, nullptr);
}

PstItem PstFile::ItemByNid(std::uint32_t nid, std::string* why) const {
    return Fetch([&](libpff_item_t** o, libpff_error_t** e) { return libpff_file_get_item_by_identifier(h_->file, nid, o, e); },
                 why);
}

const std::map<std::uint32_t, PstFile::TreePlace>& PstFile::FolderTree() const {
    std::call_once(treeOnce_, [this] {
        std::vector<PstItem> pending;
        pending.push_back(FolderByNid(NID_ROOT_FOLDER));
        while (!pending.empty()) {
            const PstItem folder = std::move(pending.back());
            pending.pop_back();
            int count = 0;
            std::string why;
            // A folder whose subfolders cannot be listed reports that when it is opened.
            if (!folder || FAILED(folder.SubFolderCount(count, why))) continue;
            for (int i = 0; i < count; ++i) {
                PstItem sub = folder.SubFolder(i);
                if (!sub || sub.Nid() == NID_ROOT_FOLDER || tree_.count(sub.Nid())) continue;
                tree_[sub.Nid()] = TreePlace{folder.Nid(), i};
                pending.push_back(std::move(sub));
            }
        }
    });
    return tree_;
}

PstItem PstFile::FolderByNid(std::uint32_t nid, std::string* why) const {
    if (nid == NID_ROOT_FOLDER)
        return Fetch([&](libpff_item_t** o, libpff_error_t** e) { return libpff_file_get_root_folder(h_->file, o, e); }, why);
    const auto& tree = FolderTree();
    if (!tree.count(nid)) return ItemByNid(nid, why);  // outside the tree: by id alone
    // The indexes from the root down; every parent in the tree leads back to the root.
    std::vector<int> indexes;
    for (auto at = tree.find(nid); at != tree.end(); at = tree.find(at->second.parent))
        indexes.push_back(at->second.index);
    PstItem folder = FolderByNid(NID_ROOT_FOLDER, why);
    for (auto index = indexes.rbegin(); folder && index != indexes.rend(); ++index) folder = folder.SubFolder(*index, why);
    return folder;
}

HRESULT PstFile::ReceiveFolder(const std::string& messageClass, std::uint32_t& nid, std::string& explicitClass,
                               std::string& why) const {
    constexpr std::uint32_t kReceiveFolderTable = 0x62B;  // rows: message class, folder node id
    PstItem table;
    HRESULT hr = FetchItem(
        [&](libpff_item_t** o, libpff_error_t** e) {
            return libpff_file_get_item_by_identifier(h_->file, kReceiveFolderTable, o, e);
        },
        table, &why);
    if (hr == MAPI_E_NOT_FOUND) why = "the store has no receive-folder table";
    if (FAILED(hr)) return hr;
    int rows = 0;
    if (FAILED(hr = table.RecordSetCount(rows, why))) return hr;
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    const std::string wanted = lower(messageClass);
    bool found = false;
    for (int r = 0; r < rows; ++r) {
        SPropValue cls, folder;
        if (!table.ReadProp(PROP_ID(PR_MESSAGE_CLASS_W), codePage_, cls, r) ||
            !table.ReadProp(0x6605, codePage_, folder, r) || folder.type() != PT_LONG)
            continue;
        const std::string entry = Utf16ToUtf8(PropValueText(cls));
        const std::string key = lower(entry);
        const bool matches = key.empty() || wanted == key || wanted.rfind(key + ".", 0) == 0;
        if (!matches || (found && key.size() <= explicitClass.size())) continue;
        found = true;
        explicitClass = entry;
        nid = static_cast<std::uint32_t>(folder.Value.l);
    }
    if (!found) {
        why = "the store names no receive folder for " + messageClass;
        return MAPI_E_NOT_FOUND;
    }
    return S_OK;
}

std::vector<BYTE> PstFile::EntryIdFor(std::uint32_t nid) const {
    std::vector<BYTE> eid(24, 0);  // flags, record key, node id
    std::memcpy(eid.data() + 4, recordKey_.data(), std::min<std::size_t>(16, recordKey_.size()));
    for (int i = 0; i < 4; ++i) eid[20 + i] = static_cast<BYTE>(nid >> (8 * i));
    return eid;
}

std::optional<std::uint32_t> PstFile::NidFromEntryId(const BYTE* eid, ULONG cb) const {
    if (!eid || cb != 24 || std::memcmp(eid + 4, recordKey_.data(), 16) != 0) return std::nullopt;
    return Le32(Bytes(eid, cb), 20);
}

void PstFile::LoadNameMap() {
    PstItem map =
        Fetch([&](libpff_item_t** o, libpff_error_t** e) { return libpff_file_get_name_to_id_map(h_->file, o, e); }, nullptr);
    if (!map) return;
    SPropValue guids, entries, strings;
    map.ReadProp(0x0002, codePage_, guids);
    map.ReadProp(0x0004, codePage_, strings);
    if (!map.ReadProp(0x0003, codePage_, entries) || entries.type() != PT_BINARY) return;
    const std::string_view e = Bytes(entries.Value.bin.lpb, entries.Value.bin.cb);
    const std::string_view text = strings.type() == PT_BINARY ? Bytes(strings.Value.bin.lpb, strings.Value.bin.cb) : "";
    for (std::size_t at = 0; at + 8 <= e.size(); at += 8) {
        const std::uint32_t value = Le32(e, at);
        const std::uint16_t guidField = Le16(e, at + 4);
        const std::uint16_t index = Le16(e, at + 6);
        MAPINAMEID name;
        const ULONG guidIndex = guidField >> 1;
        if (guidIndex == 1) {
            name.guid = PS_MAPI;
        } else if (guidIndex == 2) {
            name.guid = PS_PUBLIC_STRINGS;
        } else if (guidIndex >= 3) {
            const ULONG at = (guidIndex - 3) * 16;
            if (guids.type() != PT_BINARY || at + 16 > guids.Value.bin.cb) continue;
            name.guid = GuidFromBytes(guids.Value.bin.lpb + at);
        } else {
            continue;
        }
        if (guidField & 1) {
            if (value + 4ull > text.size()) continue;
            const std::uint32_t len = Le32(text, value);
            if (value + 4ull + len > text.size()) continue;
            name.ulKind = MNID_STRING;
            name.lpwstrName = Utf16Le(strings.Value.bin.lpb + value + 4, len);
        } else {
            name.ulKind = MNID_ID;
            name.lID = static_cast<LONG>(value);
        }
        if (names_.size() <= index) names_.resize(index + 1u, MAPINAMEID{GUID{}, 0xFFFFFFFFu, 0, {}});
        names_[index] = std::move(name);
    }
}

std::optional<ULONG> PstFile::IdFromName(const MAPINAMEID& name) const {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        const MAPINAMEID& n = names_[i];
        if (n.ulKind != name.ulKind || !(n.guid == name.guid)) continue;
        if (name.ulKind == MNID_ID ? n.lID == name.lID : n.lpwstrName == name.lpwstrName)
            return static_cast<ULONG>(0x8000 + i);
    }
    return std::nullopt;
}

std::optional<MAPINAMEID> PstFile::NameFromId(ULONG id) const {
    if (id < 0x8000 || id - 0x8000 >= names_.size() || names_[id - 0x8000].ulKind > MNID_STRING) return std::nullopt;
    return names_[id - 0x8000];
}

std::u16string DecodeStoreText(const char* bytes, std::size_t size, ULONG codePage) {
    // Text without a code page of its own is in the store's ANSI code page, never the OEM one.
    return DecodeCodePage(codePage == 0 ? 1252 : codePage, std::string_view(bytes, size));
}
