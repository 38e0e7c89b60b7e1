// Decoding of the text a message carries: encoded words (RFC 2047) in header values, header
// parameters (quoted, plain and RFC 2231 forms), and 8-bit text in a named charset.
// Text without a known charset is read as UTF-8 when it is valid UTF-8, else as windows-1252.
#pragma once

#include <string_view>

#include "platform/win/WinTypes.h"

// A header value with its encoded words decoded; unencoded 8-bit text is read as UTF-8 when it
// is valid UTF-8, else in charset.
WideString MimeDecodeHeaderText(std::string_view text, std::string_view charset);

// The decoded value of parameter `name` of a structured header value ("attachment;
// filename=..." or "image/png; name=..."), or empty when it has no such parameter.
WideString MimeDecodeHeaderParam(std::string_view value, std::string_view name, std::string_view charset);

// The charset named by the first encoded word in the text ("=?charset?..."), without any
// RFC 2231 language suffix; empty when there is none.
AnsiString MimeEncodedWordCharset(std::string_view text);

// 8-bit text in the named charset as wide text; never fails (invalid bytes become U+FFFD).
WideString MimeDecodeCharset(std::string_view bytes, std::string_view charset);
