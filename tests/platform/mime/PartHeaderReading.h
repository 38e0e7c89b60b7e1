// The MIME reader's own reading of a header block as one part: the reference the plain split
// must equal.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/mime/PlainHeaderBlock.h"

#include <gmime/gmime.h>

namespace partreading {

inline mime_detail::PlainHeaderBlock ReadWithMimeReader(std::string_view block)
{
    g_mime_init();
    mime_detail::PlainHeaderBlock r;
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(block.data(), block.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeObject* part = g_mime_parser_construct_part(parser, nullptr);
    if (part) {
        GMimeHeaderList* list = g_mime_object_get_header_list(part);
        for (int i = 0; list && i < g_mime_header_list_get_count(list); ++i) {
            GMimeHeader* h = g_mime_header_list_get_header_at(list, i);
            const char* raw = g_mime_header_get_raw_value(h);
            r.headers.emplace_back(g_mime_header_get_name(h), raw ? raw : "");
        }
        r.contentType = "text/plain";
        if (GMimeContentType* type = g_mime_object_get_content_type(part)) {
            char* text = g_mime_content_type_get_mime_type(type);
            if (text) {
                r.contentType = text;
                for (char& c : r.contentType) c = g_ascii_tolower(c);
            }
            g_free(text);
        }
        const char* charset = g_mime_object_get_content_type_parameter(part, "charset");
        r.charset = charset ? charset : "";
        g_object_unref(part);
    }
    g_object_unref(parser);
    g_object_unref(stream);
    return r;
}

// The mailboxes of an address-list value as the MIME reader parses it ("name<address>," each;
// groups are never plain, so they are not walked).
inline std::string ReadAddressesWithMimeReader(const std::string& raw)
{
    g_mime_init();
    std::string d;
    InternetAddressList* list = internet_address_list_parse(nullptr, raw.c_str());
    for (int i = 0; list && i < internet_address_list_length(list); ++i) {
        InternetAddress* a = internet_address_list_get_address(list, i);
        const char* name = internet_address_get_name(a);
        const char* addr =
            INTERNET_ADDRESS_IS_MAILBOX(a) ? internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(a)) : "(group)";
        d += std::string(name ? name : "") + "<" + (addr ? addr : "") + ">,";
    }
    if (list) g_object_unref(list);
    return d;
}

// The block as the headers-only load reads it: up to and including the first empty line.
inline std::string_view HeaderBlockOf(std::string_view text)
{
    for (size_t i = 0; i < text.size(); i = text.find('\n', i) + 1) {
        const std::string_view rest = text.substr(i);
        if (rest.starts_with("\n")) return text.substr(0, i + 1);
        if (rest.starts_with("\r\n")) return text.substr(0, i + 2);
        if (text.find('\n', i) == std::string_view::npos) break;
    }
    return text;
}

inline std::string Describe(const mime_detail::PlainHeaderBlock& b)
{
    std::string d = b.contentType + "|" + b.charset + "|";
    for (const auto& [name, raw] : b.headers) d += name + ":" + raw + "|";
    return d;
}

}  // namespace partreading
