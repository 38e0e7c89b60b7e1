#include "platform/mime/MimeDecoding.h"

#include "platform/mime/GMimeSupport.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

using namespace mime_detail;

WideString MimeDecodeHeaderText(std::string_view text, std::string_view charset)
{
    if (text.empty()) return {};
    const ParserOptionsPtr options = OptionsWithFallback(charset);
    const std::string input(text);
    GCharPtr decoded(g_mime_utils_header_decode_text(options.get(), input.c_str()));
    return decoded ? Utf8ToUtf16(decoded.get()) : MimeDecodeCharset(text, charset);
}

WideString MimeDecodeHeaderParam(std::string_view value, std::string_view name, std::string_view charset)
{
    if (value.empty() || name.empty()) return {};
    const ParserOptionsPtr options = OptionsWithFallback(charset);
    const std::string input(value);
    const std::string param(name);
    const size_t semicolon = value.find(';');
    const bool isContentType = value.substr(0, semicolon).find('/') != std::string_view::npos;
    const char* result = nullptr;
    if (isContentType) {
        GPtr<GMimeContentType> type(g_mime_content_type_parse(options.get(), input.c_str()));
        if (type) result = g_mime_content_type_get_parameter(type.get(), param.c_str());
        return result ? Utf8ToUtf16(result) : WideString();
    }
    GPtr<GMimeContentDisposition> disposition(g_mime_content_disposition_parse(options.get(), input.c_str()));
    if (disposition) result = g_mime_content_disposition_get_parameter(disposition.get(), param.c_str());
    return result ? Utf8ToUtf16(result) : WideString();
}

AnsiString MimeEncodedWordCharset(std::string_view text)
{
    const size_t start = text.find("=?");
    if (start == std::string_view::npos) return {};
    const size_t end = text.find('?', start + 2);
    if (end == std::string_view::npos) return {};
    AnsiString charset(text.substr(start + 2, end - start - 2));
    if (const size_t star = charset.find('*'); star != AnsiString::npos) charset.resize(star);
    return charset;
}

WideString MimeDecodeCharset(std::string_view bytes, std::string_view charset)
{
    UINT codePage = charset.empty() ? 0 : CodePageFromCharsetName(charset);
    if (codePage == 0) codePage = IsValidUtf8(bytes) ? CP_UTF8 : 1252;
    return DecodeCodePage(codePage, bytes);
}
