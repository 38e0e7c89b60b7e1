// Charset conversion of message text: 8-bit text tagged with a charset, RFC 2047 encoded
// words in it, and the charset declaration of an HTML document.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/win/WinTypes.h"

class TComponent;

// One encoded word "=?charset?X?payload?=" found in a text: its span [begin, end), the
// charset without any RFC 2231 language suffix (possibly empty), the encoding letter as
// written, and the payload.
struct EncodedWord {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view charset;
    char encoding = 0;
    std::string_view payload;
};

// The encoded word starting at `at` when the text there follows the RFC 2047 grammar: a
// charset token, one letter Q or B (either case), and a payload without "?" or blanks.
std::optional<EncodedWord> ParseEncodedWord(std::string_view text, std::size_t at);
// The bytes the word's payload stands for.
AnsiString DecodeEncodedWordPayload(const EncodedWord& word);

// 8-bit text to wide text. Each encoded word is decoded with its own charset (a word with
// an empty charset uses `charset`), the text outside the words with `charset`, and blanks
// between two adjacent words are dropped. Decoded text is never scanned again. `owner` is
// not used.
WideString ConvertCharsetW(TComponent* owner, const AnsiString& text, const AnsiString& charset);

// Bytes in the named charset to wide text through the support library's converter (the
// platform's code-page table when the library lacks it), without looking for encoded words.
// An empty or unknown charset reads the bytes as UTF-8 when they are valid UTF-8, else as
// windows-1252, so that no byte is lost.
WideString ConvertCharsetBytes(std::string_view bytes, std::string_view charset);
// The same, but nothing for an empty or unknown charset.
std::optional<WideString> TryConvertCharset(std::string_view bytes, std::string_view charset);

// The charset named by the first encoded word of the text, or by the start of one
// ("Subject: =?utf-8?"); empty when there is none.
WideString GetEncodedWordCharset(const WideString& text);

// Makes the HTML declare `charset`: the value of the first charset declaration of a <meta>
// tag before the body is replaced (quoted, unquoted and http-equiv forms); otherwise a
// Content-Type <meta> tag naming the charset is inserted before "</head>", else after a
// plain "<body>", else at the start. Always true.
bool SetHtmlMetaCharset(WideString& html, const WideString& charset);
