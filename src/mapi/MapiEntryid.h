// mapi_TEntryid: an owned copy of a MAPI entry id, so ids outlive the values they came from.
#pragma once

#include <vector>

#include "platform/mapi/LogonSession.h"

class mapi_TEntryid {
public:
    ULONG cb = 0;
    std::vector<BYTE> ab;  // empty when no bytes were given

    mapi_TEntryid() = default;
    mapi_TEntryid(const mapi_TEntryid& other) { set(other.cb, other.ab.empty() ? nullptr : other.ab.data()); }
    mapi_TEntryid& operator=(const mapi_TEntryid& other);
    // Only a PT_BINARY value gives an id; any other value leaves it empty.
    mapi_TEntryid& operator=(const SPropValue& value);

    // Keeps count and a copy of count bytes (none when bytes is null).
    void set(ULONG count, const BYTE* bytes);
    void clear() { set(0, nullptr); }
    // An id with no bytes is empty even when its count is not 0.
    bool empty() const { return cb == 0 || ab.empty(); }
    // True when both ids name the same object: the bytes after the four flag bytes compare
    // equal. Empty ids are never equal to anything. The session is not needed for that.
    bool equals(IMAPISession* session, const mapi_TEntryid& other) const;
};
