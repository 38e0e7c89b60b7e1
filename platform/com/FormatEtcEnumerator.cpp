#include "platform/com/FormatEtcEnumerator.h"

#include <algorithm>

HRESULT FormatEtcEnumerator::Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) {
    if (!rgelt || (celt > 1 && !pceltFetched)) return E_POINTER;
    ULONG fetched = 0;
    while (fetched < celt && position_ < formats_.size()) rgelt[fetched++] = formats_[position_++];
    if (pceltFetched) *pceltFetched = fetched;
    return fetched == celt ? S_OK : S_FALSE;
}

HRESULT FormatEtcEnumerator::Skip(ULONG celt) {
    const std::size_t left = formats_.size() - position_;
    position_ += std::min<std::size_t>(celt, left);
    return celt <= left ? S_OK : S_FALSE;
}

HRESULT FormatEtcEnumerator::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT FormatEtcEnumerator::Clone(IEnumFORMATETC** out) {
    if (!out) return E_POINTER;
    *out = MakeComObject<FormatEtcEnumerator>(formats_, position_).Detach();
    return S_OK;
}
