#include "platform/com/GsfReadStorage.h"

#include <algorithm>
#include <memory>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include "platform/com/CompoundFileDirectory.h"
#include "platform/com/GsfInit.h"
#include "platform/com/StorageElements.h"

namespace {

struct GObjectUnref {
    void operator()(gpointer p) const {
        if (p) g_object_unref(p);
    }
};
template <class T>
using GsfRef = std::unique_ptr<T, GObjectUnref>;

// The bytes, their directory and the libgsf objects over them, shared by every storage and
// stream opened from one image.
struct Image {
    StorageImageBytes bytes;
    CompoundFileDirectory directory;
    GsfRef<GsfInput> input;
    GsfRef<GsfInfile> root;
};

class ReadStream final : public ComObject<IStream> {
public:
    ReadStream(std::shared_ptr<Image> image, GsfRef<GsfInput> input, StorageElement element, DWORD mode)
        : image_(std::move(image)), input_(std::move(input)), element_(std::move(element)), mode_(mode) {}

    HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override {
        if (pcbRead) *pcbRead = 0;
        if (!pv && cb) return STG_E_INVALIDPOINTER;
        gsf_off_t left = gsf_input_remaining(input_.get());
        ULONG n = static_cast<ULONG>(std::min<gsf_off_t>(cb, std::max<gsf_off_t>(left, 0)));
        if (n && !gsf_input_read(input_.get(), n, static_cast<guint8*>(pv))) return STG_E_READFAULT;
        if (pcbRead) *pcbRead = n;
        return S_OK;
    }
    HRESULT Write(const void*, ULONG, ULONG* pcbWritten) override {
        if (pcbWritten) *pcbWritten = 0;
        return STG_E_ACCESSDENIED;
    }
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        GSeekType whence;
        switch (origin) {
            case STREAM_SEEK_SET: whence = G_SEEK_SET; break;
            case STREAM_SEEK_CUR: whence = G_SEEK_CUR; break;
            case STREAM_SEEK_END: whence = G_SEEK_END; break;
            default: return STG_E_INVALIDFUNCTION;
        }
        // gsf_input_seek returns TRUE on failure.
        if (gsf_input_seek(input_.get(), move.QuadPart, whence)) return STG_E_SEEKERROR;
        if (newPosition) newPosition->QuadPart = static_cast<ULONGLONG>(gsf_input_tell(input_.get()));
        return S_OK;
    }
    HRESULT SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override {
        return CopyStreamTo(this, target, cb, pcbRead, pcbWritten);
    }
    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT Stat(STATSTG* stat, DWORD statFlag) override { return FillStatStg(element_, mode_, statFlag, stat); }

private:
    std::shared_ptr<Image> image_;
    GsfRef<GsfInput> input_;
    StorageElement element_;
    DWORD mode_;
};

class ReadStorage final : public ComObject<IStorage> {
public:
    ReadStorage(std::shared_ptr<Image> image, GsfInfile* dir, std::uint32_t entry, DWORD mode)
        : image_(std::move(image)), dir_(dir), entry_(entry), mode_(mode) {}

    HRESULT CreateStream(LPCOLESTR, DWORD, DWORD, DWORD, IStream** out) override {
        if (out) *out = nullptr;
        return STG_E_ACCESSDENIED;
    }
    HRESULT OpenStream(LPCOLESTR name, void*, DWORD mode, DWORD, IStream** out) override {
        if (!out) return STG_E_INVALIDPOINTER;
        *out = nullptr;
        if (HRESULT hr = CheckOpenMode(mode); FAILED(hr)) return hr;
        GsfInput* child = nullptr;
        std::uint32_t index = 0;
        if (HRESULT hr = OpenChild(name, STGTY_STREAM, child, index); FAILED(hr)) return hr;
        *out = MakeComObject<ReadStream>(image_, GsfRef<GsfInput>(child), ElementOf(index), mode).Detach();
        return S_OK;
    }
    HRESULT CreateStorage(LPCOLESTR, DWORD, DWORD, DWORD, IStorage** out) override {
        if (out) *out = nullptr;
        return STG_E_ACCESSDENIED;
    }
    HRESULT OpenStorage(LPCOLESTR name, IStorage* priority, DWORD mode, SNB, DWORD, IStorage** out) override {
        if (!out) return STG_E_INVALIDPOINTER;
        *out = nullptr;
        if (priority) return STG_E_INVALIDPARAMETER;
        if (HRESULT hr = CheckOpenMode(mode); FAILED(hr)) return hr;
        GsfInput* child = nullptr;
        std::uint32_t index = 0;
        if (HRESULT hr = OpenChild(name, STGTY_STORAGE, child, index); FAILED(hr)) return hr;
        if (!GSF_IS_INFILE(child)) {
            g_object_unref(child);
            return STG_E_FILENOTFOUND;
        }
        *out = MakeComObject<ReadStorage>(image_, GSF_INFILE(child), index, mode).Detach();
        return S_OK;
    }
    HRESULT EnumElements(DWORD, void*, DWORD, IEnumSTATSTG** out) override {
        if (!out) return STG_E_INVALIDPOINTER;
        std::vector<StorageElement> elements;
        for (std::uint32_t index : image_->directory.entries()[entry_].children) elements.push_back(ElementOf(index));
        *out = MakeElementEnumerator(std::move(elements)).Detach();
        return S_OK;
    }
    HRESULT DestroyElement(LPCOLESTR) override { return STG_E_ACCESSDENIED; }
    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT SetClass(REFCLSID) override { return STG_E_ACCESSDENIED; }
    HRESULT Stat(STATSTG* stat, DWORD statFlag) override {
        StorageElement self = ElementOf(entry_);
        self.type = STGTY_STORAGE;
        return FillStatStg(self, mode_, statFlag, stat);
    }

    ~ReadStorage() override {
        if (dir_) g_object_unref(dir_);
    }

private:
    static HRESULT CheckOpenMode(DWORD mode) {
        if (mode & (STGM_WRITE | STGM_READWRITE)) return STG_E_ACCESSDENIED;
        return S_OK;
    }

    StorageElement ElementOf(std::uint32_t index) const {
        const auto& e = image_->directory.entries()[index];
        return StorageElement{e.name, e.type == 2 ? STGTY_STREAM : STGTY_STORAGE, e.size, e.clsid};
    }

    // Finds the named child of the wanted kind and opens it through libgsf (a new reference).
    HRESULT OpenChild(LPCOLESTR name, DWORD type, GsfInput*& child, std::uint32_t& index) {
        if (!name) return STG_E_INVALIDPOINTER;
        const std::size_t len = ElementNameLength(name);
        const auto& entries = image_->directory.entries();
        for (std::uint32_t i : entries[entry_].children) {
            const WideString& n = entries[i].name;
            if (CompareStorageElementNames(n.data(), n.size(), name, len) != 0) continue;
            if ((entries[i].type == 2) != (type == STGTY_STREAM)) return STG_E_FILENOTFOUND;
            std::string utf8;
            if (!ElementNameToUtf8(n, utf8)) return STG_E_FILENOTFOUND;
            child = gsf_infile_child_by_name(dir_, utf8.c_str());
            if (!child) return STG_E_READFAULT;
            index = i;
            return S_OK;
        }
        return STG_E_FILENOTFOUND;
    }

    std::shared_ptr<Image> image_;
    GsfInfile* dir_;  // one reference, released by the destructor
    std::uint32_t entry_;
    DWORD mode_;
};

}  // namespace

bool StorageImageBytes::Allocate(std::size_t n) {
    try {
        data = std::make_unique_for_overwrite<std::uint8_t[]>(n == 0 ? 1 : n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    size = n;
    return true;
}

HRESULT OpenGsfReadStorage(StorageImageBytes bytes, DWORD mode, IStorage** out, std::string* reason) {
    if (!out) return STG_E_INVALIDPOINTER;
    *out = nullptr;
    if (mode & (STGM_WRITE | STGM_READWRITE)) return STG_E_INVALIDFLAG;
    InitGsf();
    auto image = std::make_shared<Image>();
    image->bytes = std::move(bytes);
    HRESULT hr = image->directory.Parse(image->bytes.data.get(), image->bytes.size);
    if (FAILED(hr)) {
        if (reason) *reason = image->directory.reason();
        return hr;
    }
    image->input.reset(gsf_input_memory_new(image->bytes.data.get(), static_cast<gsf_off_t>(image->bytes.size), FALSE));
    if (!image->input) return E_OUTOFMEMORY;
    GError* err = nullptr;
    image->root.reset(gsf_infile_msole_new(image->input.get(), &err));
    if (!image->root) {
        if (reason) *reason = err ? err->message : "libgsf refused the file";
        g_clear_error(&err);
        return STG_E_DOCFILECORRUPT;
    }
    GsfInfile* root = GSF_INFILE(g_object_ref(image->root.get()));
    *out = MakeComObject<ReadStorage>(image, root, 0, mode).Detach();
    return S_OK;
}
