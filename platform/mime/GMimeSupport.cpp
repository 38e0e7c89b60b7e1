#include "platform/mime/GMimeSupport.h"

#include <mutex>
#include <vector>

namespace mime_detail {

void EnsureGMime()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

ParserOptionsPtr OptionsWithFallback(std::string_view charset)
{
    EnsureGMime();
    ParserOptionsPtr options(g_mime_parser_options_new());
    std::string first(charset);
    // Valid UTF-8 is almost never text in another charset, while the charset a header is read
    // with is often only borrowed from a body part: UTF-8 is tried first.
    std::vector<const char*> list{"UTF-8"};
    if (!first.empty()) list.push_back(first.c_str());
    list.push_back("windows-1252");
    list.push_back(nullptr);
    // The options copy the names.
    g_mime_parser_options_set_fallback_charsets(options.get(), list.data());
    return options;
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
