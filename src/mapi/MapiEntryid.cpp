#include "mapi/MapiEntryid.h"

#include <cstring>

mapi_TEntryid& mapi_TEntryid::operator=(const mapi_TEntryid& other) {
    if (this != &other) set(other.cb, other.ab.empty() ? nullptr : other.ab.data());
    return *this;
}

mapi_TEntryid& mapi_TEntryid::operator=(const SPropValue& value) {
    clear();
    if (value.type() == PT_BINARY) set(value.Value.bin.cb, value.Value.bin.lpb);
    return *this;
}

void mapi_TEntryid::set(ULONG count, const BYTE* bytes) {
    cb = count;
    if (bytes)
        ab.assign(bytes, bytes + count);
    else
        ab.clear();
}

bool mapi_TEntryid::equals(IMAPISession*, const mapi_TEntryid& other) const {
    if (empty() || other.empty() || cb != other.cb) return false;
    const std::size_t skip = cb >= 4 ? 4 : 0;
    return std::memcmp(ab.data() + skip, other.ab.data() + skip, cb - skip) == 0;
}
