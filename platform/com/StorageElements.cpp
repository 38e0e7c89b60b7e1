#include "platform/com/StorageElements.h"

#include <cstring>

#include <glib.h>

namespace {

class ElementEnumerator final : public ComObject<IEnumSTATSTG> {
public:
    explicit ElementEnumerator(std::vector<StorageElement> elements, std::size_t pos = 0)
        : elements_(std::move(elements)), pos_(pos) {}

    HRESULT Next(ULONG celt, STATSTG* rgelt, ULONG* pceltFetched) override {
        if (!rgelt || (celt > 1 && !pceltFetched)) return STG_E_INVALIDPOINTER;
        ULONG done = 0;
        while (done < celt && pos_ < elements_.size()) {
            HRESULT hr = FillStatStg(elements_[pos_], 0, STATFLAG_DEFAULT, &rgelt[done]);
            if (FAILED(hr)) {
                for (ULONG i = 0; i < done; ++i) CoTaskMemFree(std::exchange(rgelt[i].pwcsName, nullptr));
                if (pceltFetched) *pceltFetched = 0;
                return hr;
            }
            ++done;
            ++pos_;
        }
        if (pceltFetched) *pceltFetched = done;
        return done == celt ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG celt) override {
        std::size_t left = elements_.size() - pos_;
        if (celt > left) {
            pos_ = elements_.size();
            return S_FALSE;
        }
        pos_ += celt;
        return S_OK;
    }
    HRESULT Reset() override {
        pos_ = 0;
        return S_OK;
    }
    HRESULT Clone(IEnumSTATSTG** out) override {
        if (!out) return STG_E_INVALIDPOINTER;
        *out = MakeComObject<ElementEnumerator>(elements_, pos_).Detach();
        return S_OK;
    }

private:
    std::vector<StorageElement> elements_;
    std::size_t pos_;
};

}  // namespace

HRESULT FillStatStg(const StorageElement& element, DWORD mode, DWORD statFlag, STATSTG* stat) {
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    if (statFlag != STATFLAG_NONAME) {
        auto* name = static_cast<char16_t*>(CoTaskMemAlloc((element.name.size() + 1) * sizeof(char16_t)));
        if (!name) return E_OUTOFMEMORY;
        std::memcpy(name, element.name.c_str(), (element.name.size() + 1) * sizeof(char16_t));
        stat->pwcsName = name;
    }
    stat->type = element.type;
    stat->cbSize.QuadPart = element.size;
    stat->grfMode = mode;
    stat->clsid = element.clsid;
    return S_OK;
}

ComPtr<IEnumSTATSTG> MakeElementEnumerator(std::vector<StorageElement> elements) {
    return MakeComObject<ElementEnumerator>(std::move(elements));
}

std::size_t ElementNameLength(LPCOLESTR name) {
    std::size_t n = 0;
    while (name[n]) ++n;
    return n;
}

bool ElementNameToUtf8(const WideString& name, std::string& out) {
    GError* err = nullptr;
    glong written = 0;
    gchar* s = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(name.data()),
                               static_cast<glong>(name.size()), nullptr, &written, &err);
    if (!s) {
        g_clear_error(&err);
        return false;
    }
    out.assign(s, static_cast<std::size_t>(written));
    g_free(s);
    return true;
}

bool ElementNameFromUtf8(const char* name, WideString& out) {
    glong written = 0;
    gunichar2* s = g_utf8_to_utf16(name, -1, nullptr, &written, nullptr);
    if (!s) return false;
    out.assign(reinterpret_cast<const char16_t*>(s), static_cast<std::size_t>(written));
    g_free(s);
    return true;
}

HRESULT CopyStreamTo(IStream* source, IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                     ULARGE_INTEGER* pcbWritten) {
    if (!target) return STG_E_INVALIDPOINTER;
    std::vector<char> buf(64 * 1024);
    ULONGLONG readTotal = 0, writtenTotal = 0;
    HRESULT hr = S_OK;
    while (readTotal < cb.QuadPart) {
        ULONG want = static_cast<ULONG>(std::min<ULONGLONG>(buf.size(), cb.QuadPart - readTotal));
        ULONG got = 0;
        hr = source->Read(buf.data(), want, &got);
        if (FAILED(hr) || got == 0) break;
        readTotal += got;
        ULONG put = 0;
        hr = target->Write(buf.data(), got, &put);
        writtenTotal += put;
        if (FAILED(hr)) break;
        // A target that takes less than it was given has lost data.
        if (put < got) {
            hr = E_FAIL;
            break;
        }
    }
    if (pcbRead) pcbRead->QuadPart = readTotal;
    if (pcbWritten) pcbWritten->QuadPart = writtenTotal;
    return FAILED(hr) ? hr : S_OK;
}
