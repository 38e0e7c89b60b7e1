#include "platform/vcl/OleClipboard.h"

#include <cstring>

#include "platform/com/FormatEtcEnumerator.h"
#include "platform/vcl/Clipbrd.h"

namespace {

ComPtr<IDataObject>& Current() {
    static ComPtr<IDataObject> current;
    return current;
}

// What the clipboard holds, read when asked.
class ClipboardDataObject final : public ComObject<IDataObject> {
public:
    HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        *medium = STGMEDIUM{};
        if (!(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
        const std::optional<std::string> bytes = Clipboard()->Buffer(format->cfFormat);
        if (!bytes) return DV_E_FORMATETC;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes->size());
        if (!block) return E_OUTOFMEMORY;
        if (!bytes->empty()) std::memcpy(GlobalLock(block), bytes->data(), bytes->size());
        GlobalUnlock(block);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        return S_OK;
    }
    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(FORMATETC* format) override {
        if (!format) return E_INVALIDARG;
        if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
        return Clipboard()->HasFormat(format->cfFormat) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_INVALIDARG;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (int i = 0; i < Clipboard()->FormatCount(); ++i)
            formats.push_back({static_cast<CLIPFORMAT>(Clipboard()->Formats(i)), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        *out = MakeComObject<FormatEtcEnumerator>(std::move(formats)).Detach();
        return S_OK;
    }
    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

}  // namespace

HRESULT OleSetClipboard(IDataObject* data) {
    std::vector<std::pair<UINT, std::string>> items;
    if (data) {
        ComPtr<IEnumFORMATETC> formats;
        if (FAILED(data->EnumFormatEtc(DATADIR_GET, formats.put())) || !formats) return E_FAIL;
        FORMATETC f;
        ULONG got = 0;
        while (formats->Next(1, &f, &got) == S_OK && got == 1) {
            f.tymed = TYMED_HGLOBAL;
            ScopedStgMedium medium;
            if (data->GetData(&f, medium.get()) != S_OK || (*medium).tymed != TYMED_HGLOBAL) continue;
            const auto* bytes = static_cast<const char*>(GlobalLock((*medium).hGlobal));
            if (!bytes) continue;
            items.emplace_back(f.cfFormat, std::string(bytes, GlobalSize((*medium).hGlobal)));
            GlobalUnlock((*medium).hGlobal);
        }
    }
    TClipboard& clipboard = *Clipboard();
    try {
        clipboard.Open();
    } catch (const std::exception&) {
        return CLIPBRD_E_CANT_OPEN;
    }
    HRESULT hr = S_OK;
    try {
        clipboard.Clear();
        for (const auto& [format, bytes] : items) clipboard.SetBuffer(format, bytes);
    } catch (const std::exception&) {
        hr = E_FAIL;
    }
    clipboard.Close();
    Current() = SUCCEEDED(hr) && data ? ComPtr<IDataObject>(data) : nullptr;
    return hr;
}

HRESULT OleGetClipboard(IDataObject** data) {
    if (!data) return E_INVALIDARG;
    *data = MakeComObject<ClipboardDataObject>().Detach();
    return S_OK;
}

HRESULT OleFlushClipboard() {
    Current().reset();
    return S_OK;
}

HRESULT OleIsCurrentClipboard(IDataObject* data) { return data && Current().get() == data ? S_OK : S_FALSE; }
