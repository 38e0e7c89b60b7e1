// Before the library headers, which define TRUE and FALSE as macros.
#include "platform/mime/IdMessage.h"
#include "platform/mime/GMimeSupport.h"

#include <mutex>

namespace mime_detail {

void EnsureGMime()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

std::string WriteObject(GMimeObject* object)
{
    if (!object) return {};
    GPtr<GMimeStream> stream(g_mime_stream_mem_new());
    if (g_mime_object_write_to_stream(object, nullptr, stream.get()) < 0) return {};
    return std::string(BytesOf(stream.get()));
}

void AppendAddresses(InternetAddressList* list, std::vector<TIdEmailAddressItem>& items)
{
    // Walked with its own stack, in order: a hostile header cannot nest the walk deep.
    std::vector<std::pair<InternetAddressList*, int>> pending;
    if (list) pending.push_back({list, 0});
    while (!pending.empty()) {
        auto& [current, next] = pending.back();
        if (next >= internet_address_list_length(current)) {
            pending.pop_back();
            continue;
        }
        InternetAddress* a = internet_address_list_get_address(current, next++);
        if (INTERNET_ADDRESS_IS_GROUP(a)) {
            if (InternetAddressList* members = internet_address_group_get_members(INTERNET_ADDRESS_GROUP(a)))
                pending.push_back({members, 0});
            continue;
        }
        const char* name = internet_address_get_name(a);
        const char* addr =
            INTERNET_ADDRESS_IS_MAILBOX(a) ? internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(a)) : nullptr;
        items.push_back({name ? name : "", addr ? addr : ""});
    }
}

GPtr<GMimeStream> DecodedStream(GMimePart* part)
{
    GMimeDataWrapper* content = part ? g_mime_part_get_content(part) : nullptr;
    if (!content) return nullptr;
    // Decoding never grows the content: an array of the encoded size is never moved.
    GMimeStream* encoded = g_mime_data_wrapper_get_stream(content);
    const gint64 size = encoded ? g_mime_stream_length(encoded) : -1;
    GByteArray* array = g_byte_array_sized_new(size > 0 && size < G_MAXINT ? static_cast<guint>(size) : 0);
    GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_byte_array(array));
    if (g_mime_data_wrapper_write_to_stream(content, stream.get()) < 0) return nullptr;
    return stream;
}

std::string_view BytesOf(GMimeStream* memory)
{
    GByteArray* array = memory ? g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory)) : nullptr;
    if (!array || array->len == 0) return {};
    return {reinterpret_cast<const char*>(array->data), array->len};
}

}  // namespace mime_detail
