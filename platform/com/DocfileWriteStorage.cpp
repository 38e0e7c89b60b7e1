#include "platform/com/DocfileWriteStorage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/stat.h>

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

#include "platform/com/GsfInit.h"
#include "platform/com/StorageElements.h"
#include "platform/win/AtomicFile.h"

namespace {

// One element of the tree being built.
struct Node {
    WideString name;
    bool storage = false;
    std::vector<std::uint8_t> data;
    CLSID clsid{};
    std::vector<std::shared_ptr<Node>> children;  // kept in directory order

    std::shared_ptr<Node> Find(LPCOLESTR n, std::size_t len) const {
        for (const auto& c : children)
            if (CompareStorageElementNames(c->name.data(), c->name.size(), n, len) == 0) return c;
        return nullptr;
    }
    void Insert(std::shared_ptr<Node> child) {
        auto pos = std::lower_bound(children.begin(), children.end(), child, [](const auto& a, const auto& b) {
            return CompareStorageElementNames(a->name.data(), a->name.size(), b->name.data(), b->name.size()) < 0;
        });
        children.insert(pos, std::move(child));
    }
    void Remove(const std::shared_ptr<Node>& child) {
        children.erase(std::remove(children.begin(), children.end(), child), children.end());
    }
    StorageElement Element() const {
        return StorageElement{name, storage ? STGTY_STORAGE : STGTY_STREAM, storage ? 0 : data.size(), clsid};
    }
};

HRESULT HresultFromErrno(int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR: return STG_E_PATHNOTFOUND;
        case EACCES:
        case EPERM: return STG_E_ACCESSDENIED;
        case EROFS: return STG_E_DISKISWRITEPROTECTED;
        case ENOSPC:
        case EDQUOT: return STG_E_MEDIUMFULL;
        case EMFILE:
        case ENFILE: return STG_E_TOOMANYOPENFILES;
        case ENOMEM: return STG_E_INSUFFICIENTMEMORY;
        default: return STG_E_WRITEFAULT;
    }
}

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

class MemoryStream final : public ComObject<IStream> {
public:
    MemoryStream(std::shared_ptr<Node> node, DWORD mode) : node_(std::move(node)), mode_(mode) {}

    HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override {
        if (pcbRead) *pcbRead = 0;
        if (!pv && cb) return STG_E_INVALIDPOINTER;
        const auto& d = node_->data;
        std::size_t n = pos_ < d.size() ? std::min<std::size_t>(cb, d.size() - pos_) : 0;
        if (n) std::memcpy(pv, d.data() + pos_, n);
        pos_ += n;
        if (pcbRead) *pcbRead = static_cast<ULONG>(n);
        return S_OK;
    }
    HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
        if (pcbWritten) *pcbWritten = 0;
        if (!pv && cb) return STG_E_INVALIDPOINTER;
        auto& d = node_->data;
        try {
            if (pos_ + cb > d.size()) d.resize(pos_ + cb);
        } catch (const std::bad_alloc&) {
            return STG_E_MEDIUMFULL;
        }
        if (cb) std::memcpy(d.data() + pos_, pv, cb);
        pos_ += cb;
        if (pcbWritten) *pcbWritten = cb;
        return S_OK;
    }
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        LONGLONG base;
        switch (origin) {
            case STREAM_SEEK_SET: base = 0; break;
            case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(pos_); break;
            case STREAM_SEEK_END: base = static_cast<LONGLONG>(node_->data.size()); break;
            default: return STG_E_INVALIDFUNCTION;
        }
        LONGLONG target = base + move.QuadPart;
        if (target < 0) return STG_E_INVALIDFUNCTION;
        pos_ = static_cast<std::size_t>(target);
        if (newPosition) newPosition->QuadPart = pos_;
        return S_OK;
    }
    HRESULT SetSize(ULARGE_INTEGER size) override {
        try {
            node_->data.resize(static_cast<std::size_t>(size.QuadPart));
        } catch (const std::exception&) {
            return STG_E_MEDIUMFULL;
        }
        return S_OK;
    }
    HRESULT CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override {
        return CopyStreamTo(this, target, cb, pcbRead, pcbWritten);
    }
    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT Stat(STATSTG* stat, DWORD statFlag) override { return FillStatStg(node_->Element(), mode_, statFlag, stat); }

private:
    std::shared_ptr<Node> node_;
    DWORD mode_;
    std::size_t pos_ = 0;
};

// A class id in its on-disk form (little-endian fields).
void ClsidToBytes(const CLSID& clsid, std::uint8_t out[16]) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(clsid.Data1 >> (8 * i));
    for (int i = 0; i < 2; ++i) out[4 + i] = static_cast<std::uint8_t>(clsid.Data2 >> (8 * i));
    for (int i = 0; i < 2; ++i) out[6 + i] = static_cast<std::uint8_t>(clsid.Data3 >> (8 * i));
    std::memcpy(out + 8, clsid.Data4, 8);
}

// Writes one node's children into a libgsf output folder, in directory order.
bool WriteChildren(const Node& node, GsfOutfile* out) {
    for (const auto& child : node.children) {
        std::string name;
        if (!ElementNameToUtf8(child->name, name)) return false;
        GsfOutput* o = gsf_outfile_new_child(out, name.c_str(), child->storage);
        if (!o) return false;
        bool ok = true;
        if (child->storage) {
            std::uint8_t id[16];
            ClsidToBytes(child->clsid, id);
            gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(o), id);
            ok = WriteChildren(*child, GSF_OUTFILE(o));
        } else if (!child->data.empty()) {
            ok = gsf_output_write(o, child->data.size(), child->data.data());
        }
        ok = gsf_output_close(o) && ok;
        g_object_unref(o);
        if (!ok) return false;
    }
    return true;
}

// The document: where it goes and its root node.
struct Document {
    std::string path;
    std::shared_ptr<Node> root = std::make_shared<Node>();

    HRESULT Save() const {
        InitGsf();
        GsfOutput* sink = gsf_output_memory_new();
        GsfOutfile* ole = gsf_outfile_msole_new(sink);
        std::uint8_t id[16];
        ClsidToBytes(root->clsid, id);
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole), id);
        bool ok = WriteChildren(*root, ole);
        ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
        g_object_unref(ole);
        HRESULT hr = ok ? S_OK : STG_E_CANTSAVE;
        if (ok) {
            // Closing the compound file closes its sink too.
            if (!gsf_output_is_closed(sink)) gsf_output_close(sink);
            const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink));
            hr = ReplaceFile(bytes, static_cast<std::size_t>(gsf_output_size(sink)));
        }
        g_object_unref(sink);
        return hr;
    }

    // Replaces the target atomically, so that it is either the old file or the complete new one.
    HRESULT ReplaceFile(const std::uint8_t* bytes, std::size_t size) const {
        const int err = ReplaceFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes), size));
        return err ? HresultFromErrno(err) : S_OK;
    }
};

class WriteStorage final : public ComObject<IStorage> {
public:
    WriteStorage(std::shared_ptr<Document> doc, std::shared_ptr<Node> node, DWORD mode)
        : doc_(std::move(doc)), node_(std::move(node)), mode_(mode) {}

    HRESULT CreateStream(LPCOLESTR name, DWORD mode, DWORD, DWORD, IStream** out) override {
        std::shared_ptr<Node> node;
        if (HRESULT hr = CreateChild(name, mode, false, node); FAILED(hr)) return Clear(out, hr);
        *out = MakeComObject<MemoryStream>(node, mode).Detach();
        return S_OK;
    }
    HRESULT OpenStream(LPCOLESTR name, void*, DWORD mode, DWORD, IStream** out) override {
        if (!out) return STG_E_INVALIDPOINTER;
        *out = nullptr;
        if (!name) return STG_E_INVALIDPOINTER;
        auto node = node_->Find(name, ElementNameLength(name));
        if (!node || node->storage) return STG_E_FILENOTFOUND;
        *out = MakeComObject<MemoryStream>(node, mode).Detach();
        return S_OK;
    }
    HRESULT CreateStorage(LPCOLESTR name, DWORD mode, DWORD, DWORD, IStorage** out) override {
        std::shared_ptr<Node> node;
        if (HRESULT hr = CreateChild(name, mode, true, node); FAILED(hr)) return Clear(out, hr);
        *out = MakeComObject<WriteStorage>(doc_, node, mode).Detach();
        return S_OK;
    }
    HRESULT OpenStorage(LPCOLESTR name, IStorage* priority, DWORD mode, SNB, DWORD, IStorage** out) override {
        if (!out) return STG_E_INVALIDPOINTER;
        *out = nullptr;
        if (!name) return STG_E_INVALIDPOINTER;
        if (priority) return STG_E_INVALIDPARAMETER;
        auto node = node_->Find(name, ElementNameLength(name));
        if (!node || !node->storage) return STG_E_FILENOTFOUND;
        *out = MakeComObject<WriteStorage>(doc_, node, mode).Detach();
        return S_OK;
    }
    HRESULT EnumElements(DWORD, void*, DWORD, IEnumSTATSTG** out) override {
        if (!out) return STG_E_INVALIDPOINTER;
        std::vector<StorageElement> elements;
        for (const auto& c : node_->children) elements.push_back(c->Element());
        *out = MakeElementEnumerator(std::move(elements)).Detach();
        return S_OK;
    }
    HRESULT DestroyElement(LPCOLESTR name) override {
        if (!name) return STG_E_INVALIDPOINTER;
        auto node = node_->Find(name, ElementNameLength(name));
        if (!node) return STG_E_FILENOTFOUND;
        node_->Remove(node);
        return S_OK;
    }
    // The root writes the whole file; a sub-storage's changes are already part of the tree.
    HRESULT Commit(DWORD) override { return node_ == doc_->root ? doc_->Save() : S_OK; }
    HRESULT Revert() override { return STG_E_UNIMPLEMENTEDFUNCTION; }
    HRESULT SetClass(REFCLSID clsid) override {
        node_->clsid = clsid;
        return S_OK;
    }
    HRESULT Stat(STATSTG* stat, DWORD statFlag) override {
        StorageElement self = node_->Element();
        self.type = STGTY_STORAGE;
        if (node_ == doc_->root) ElementNameFromUtf8(doc_->path.c_str(), self.name);
        return FillStatStg(self, mode_, statFlag, stat);
    }

private:
    template <class T>
    static HRESULT Clear(T** out, HRESULT hr) {
        if (out) *out = nullptr;
        return hr;
    }

    HRESULT CreateChild(LPCOLESTR name, DWORD mode, bool storage, std::shared_ptr<Node>& node) {
        if (!name) return STG_E_INVALIDPOINTER;
        if (!IsValidStorageElementName(name)) return STG_E_INVALIDNAME;
        if (!(mode_ & (STGM_WRITE | STGM_READWRITE))) return STG_E_ACCESSDENIED;
        const std::size_t len = ElementNameLength(name);
        if (auto old = node_->Find(name, len)) {
            if (!(mode & STGM_CREATE)) return STG_E_FILEALREADYEXISTS;
            node_->Remove(old);
        }
        node = std::make_shared<Node>();
        node->name.assign(name, len);
        node->storage = storage;
        node_->Insert(node);
        return S_OK;
    }

    std::shared_ptr<Document> doc_;
    std::shared_ptr<Node> node_;
    DWORD mode_;
};

}  // namespace

HRESULT CreateDocfileWriteStorage(const std::string& path, DWORD mode, IStorage** out) {
    if (!out) return STG_E_INVALIDPOINTER;
    *out = nullptr;
    if (!(mode & (STGM_WRITE | STGM_READWRITE))) return STG_E_INVALIDFLAG;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!(mode & STGM_CREATE)) return STG_E_FILEALREADYEXISTS;
        if (S_ISDIR(st.st_mode)) return STG_E_ACCESSDENIED;
    }
    // Refuse early what Commit could never do.
    std::string folder = FolderOf(path);
    if (::access(folder.c_str(), F_OK) != 0) return STG_E_PATHNOTFOUND;
    if (::access(folder.c_str(), W_OK) != 0) return STG_E_ACCESSDENIED;
    auto doc = std::make_shared<Document>();
    doc->path = path;
    *out = MakeComObject<WriteStorage>(doc, doc->root, mode).Detach();
    return S_OK;
}
