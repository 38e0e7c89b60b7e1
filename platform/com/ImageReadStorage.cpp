#include "platform/com/ImageReadStorage.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/com/CompoundFileDirectory.h"
#include "platform/com/StorageElements.h"

namespace {

// The bytes and their checked directory, shared by every storage and stream opened from one
// image. Streams are read straight from the image's sectors: the directory check has walked
// every chain, so no second parser is needed to follow them.
struct Image {
    StorageImageBytes bytes;
    CompoundFileDirectory directory;
};

class ReadStream final : public ComObject<IStream> {
public:
    ReadStream(std::shared_ptr<const Image> image, std::uint32_t index, StorageElement element, DWORD mode)
        : image_(std::move(image)), index_(index), element_(std::move(element)), mode_(mode) {}

    HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override {
        if (pcbRead) *pcbRead = 0;
        if (!pv && cb) return STG_E_INVALIDPOINTER;
        const std::uint64_t size = element_.size;
        if (position_ >= size || cb == 0) return S_OK;
        if (extents_.blockSize == 0) extents_ = image_->directory.StreamExtents(index_);
        const ULONG n = static_cast<ULONG>(std::min<std::uint64_t>(cb, size - position_));
        auto* out = static_cast<std::uint8_t*>(pv);
        const std::uint8_t* data = image_->bytes.data.get();
        const std::size_t imageSize = image_->bytes.size;
        const std::size_t bs = extents_.blockSize;
        for (ULONG done = 0; done < n;) {
            const std::size_t block = static_cast<std::size_t>(position_ / bs);
            const std::size_t within = static_cast<std::size_t>(position_ % bs);
            const std::size_t take = std::min<std::size_t>(bs - within, n - done);
            if (block >= extents_.offsets.size()) return STG_E_READFAULT;
            const std::uint64_t at = extents_.offsets[block] + within;
            // The missing tail of a short last sector reads as zeros.
            const std::size_t have = at < imageSize ? static_cast<std::size_t>(std::min<std::uint64_t>(take, imageSize - at)) : 0;
            if (have) std::memcpy(out + done, data + at, have);
            if (have < take) std::memset(out + done + have, 0, take - have);
            done += static_cast<ULONG>(take);
            position_ += take;
        }
        if (pcbRead) *pcbRead = n;
        return S_OK;
    }
    HRESULT Write(const void*, ULONG, ULONG* pcbWritten) override {
        if (pcbWritten) *pcbWritten = 0;
        return STG_E_ACCESSDENIED;
    }
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        std::int64_t base;
        switch (origin) {
            case STREAM_SEEK_SET: base = 0; break;
            case STREAM_SEEK_CUR: base = static_cast<std::int64_t>(position_); break;
            case STREAM_SEEK_END: base = static_cast<std::int64_t>(element_.size); break;
            default: return STG_E_INVALIDFUNCTION;
        }
        const std::int64_t target = base + move.QuadPart;
        // Within the stream only: a read-only stream cannot grow.
        if (target < 0 || static_cast<std::uint64_t>(target) > element_.size) return STG_E_SEEKERROR;
        position_ = static_cast<std::uint64_t>(target);
        if (newPosition) newPosition->QuadPart = position_;
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
    std::shared_ptr<const Image> image_;
    std::uint32_t index_;
    StorageElement element_;
    DWORD mode_;
    std::uint64_t position_ = 0;
    CompoundFileDirectory::Extents extents_;  // found on the first read
};

class ReadStorage final : public ComObject<IStorage> {
public:
    ReadStorage(std::shared_ptr<const Image> image, std::uint32_t entry, DWORD mode)
        : image_(std::move(image)), entry_(entry), mode_(mode) {}

    HRESULT CreateStream(LPCOLESTR, DWORD, DWORD, DWORD, IStream** out) override {
        if (out) *out = nullptr;
        return STG_E_ACCESSDENIED;
    }
    HRESULT OpenStream(LPCOLESTR name, void*, DWORD mode, DWORD, IStream** out) override {
        if (!out) return STG_E_INVALIDPOINTER;
        *out = nullptr;
        if (HRESULT hr = CheckOpenMode(mode); FAILED(hr)) return hr;
        std::uint32_t index = 0;
        if (HRESULT hr = FindChild(name, STGTY_STREAM, index); FAILED(hr)) return hr;
        *out = MakeComObject<ReadStream>(image_, index, ElementOf(index), mode).Detach();
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
        std::uint32_t index = 0;
        if (HRESULT hr = FindChild(name, STGTY_STORAGE, index); FAILED(hr)) return hr;
        *out = MakeComObject<ReadStorage>(image_, index, mode).Detach();
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

private:
    static HRESULT CheckOpenMode(DWORD mode) {
        if (mode & (STGM_WRITE | STGM_READWRITE)) return STG_E_ACCESSDENIED;
        return S_OK;
    }

    StorageElement ElementOf(std::uint32_t index) const {
        const auto& e = image_->directory.entries()[index];
        return StorageElement{e.name, e.type == 2 ? STGTY_STREAM : STGTY_STORAGE, e.size, e.clsid};
    }

    // The named child of the wanted kind.
    HRESULT FindChild(LPCOLESTR name, DWORD type, std::uint32_t& index) const {
        if (!name) return STG_E_INVALIDPOINTER;
        const std::size_t len = ElementNameLength(name);
        const auto& entries = image_->directory.entries();
        for (std::uint32_t i : entries[entry_].children) {
            const WideString& n = entries[i].name;
            if (CompareStorageElementNames(n.data(), n.size(), name, len) != 0) continue;
            if ((entries[i].type == 2) != (type == STGTY_STREAM)) return STG_E_FILENOTFOUND;
            index = i;
            return S_OK;
        }
        return STG_E_FILENOTFOUND;
    }

    std::shared_ptr<const Image> image_;
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

HRESULT OpenImageReadStorage(StorageImageBytes bytes, DWORD mode, IStorage** out, std::string* reason) {
    if (!out) return STG_E_INVALIDPOINTER;
    *out = nullptr;
    if (mode & (STGM_WRITE | STGM_READWRITE)) return STG_E_INVALIDFLAG;
    auto image = std::make_shared<Image>();
    image->bytes = std::move(bytes);
    HRESULT hr = image->directory.Parse(image->bytes.data.get(), image->bytes.size);
    if (FAILED(hr)) {
        if (reason) *reason = image->directory.reason();
        return hr;
    }
    *out = MakeComObject<ReadStorage>(std::move(image), 0, mode).Detach();
    return S_OK;
}
