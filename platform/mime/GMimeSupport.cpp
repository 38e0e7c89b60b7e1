#include "platform/mime/GMimeSupport.h"

#include <mutex>

namespace mime_detail {

void EnsureGMime()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

namespace {

std::string TakeBytes(GMimeStream* stream)
{
    GByteArray* array = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream));
    if (!array || array->len == 0) return {};
    return std::string(reinterpret_cast<const char*>(array->data), array->len);
}

}  // namespace

std::string WriteObject(GMimeObject* object)
{
    if (!object) return {};
    GPtr<GMimeStream> stream(g_mime_stream_mem_new());
    if (g_mime_object_write_to_stream(object, nullptr, stream.get()) < 0) return {};
    return TakeBytes(stream.get());
}

std::string DecodedContent(GMimePart* part)
{
    GMimeDataWrapper* content = part ? g_mime_part_get_content(part) : nullptr;
    if (!content) return {};
    GPtr<GMimeStream> stream(g_mime_stream_mem_new());
    if (g_mime_data_wrapper_write_to_stream(content, stream.get()) < 0) return {};
    return TakeBytes(stream.get());
}

}  // namespace mime_detail
