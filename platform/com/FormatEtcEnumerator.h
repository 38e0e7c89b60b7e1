// An enumerator over a fixed list of formats, for data objects to hand out.
#pragma once

#include <vector>

#include "platform/com/DataObject.h"

class FormatEtcEnumerator final : public ComObject<IEnumFORMATETC> {
public:
    explicit FormatEtcEnumerator(std::vector<FORMATETC> formats, std::size_t position = 0)
        : formats_(std::move(formats)), position_(position) {}

    HRESULT Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override;
    HRESULT Skip(ULONG celt) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC** out) override;

private:
    std::vector<FORMATETC> formats_;
    std::size_t position_;
};
