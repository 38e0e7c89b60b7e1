// Shared GMime plumbing of this folder: one-time initialisation, owned references, streams
// to and from bytes. Only this folder's sources include it.
#pragma once

#include <gmime/gmime.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct TIdEmailAddressItem;

namespace mime_detail {

// Initialises the library once per process (thread-safe).
void EnsureGMime();

struct GObjectUnref {
    void operator()(void* object) const {
        if (object) g_object_unref(object);
    }
};
template <class T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};
using GCharPtr = std::unique_ptr<char, GFreeDeleter>;

// The bytes an object writes (its headers and content as GMime serialises them).
std::string WriteObject(GMimeObject* object);
// Appends every mailbox of the list in order, the members of a group in the group's place
// (the group itself is not an address).
void AppendAddresses(InternetAddressList* list, std::vector<TIdEmailAddressItem>& items);
// The transfer-decoded content of a leaf part in a memory stream; null when the part has none
// or it cannot be decoded.
GPtr<GMimeStream> DecodedStream(GMimePart* part);
// The bytes of a memory stream (empty for null), valid while the stream lives.
std::string_view BytesOf(GMimeStream* memory);

}  // namespace mime_detail
