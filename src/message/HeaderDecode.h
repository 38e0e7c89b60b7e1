// Header values of internet messages as wide text: encoded words (RFC 2047) and the
// parameter forms of RFC 2183 and RFC 2231 (quoted, plain, extended, continued).
#pragma once

#include "platform/win/WinTypes.h"

class TIdHeaderList;

// The named header of the list, unfolded; with a parameter name the decoded value of that
// parameter, else the decoded text. Empty when the header (or parameter) is absent.
WideString GetDecodedHeader(TIdHeaderList& list, const AnsiString& name, const AnsiString& param,
                            const AnsiString& charset);

// The text with its encoded words decoded, each with its own charset; the rest is read in
// charset. Only the blanks between two adjacent encoded words are dropped.
WideString DecodeHeaderText(const AnsiString& text, const AnsiString& charset);

// The value of parameter `param` (matched whole, in any case) of a structured header value
// such as `attachment; filename="a.pdf"; size=123`. A quoted value ends at its closing quote
// (backslash escapes honoured), a plain one at ";". The RFC 2231 forms (name*=charset'lang'%XX,
// name*0*=, name*1=...) are joined in order and percent-decoded, in the charset the first
// part names (else `charset`), and win over a plain value of the same name. A plain value in
// raw 8-bit bytes is read as UTF-8 when it is valid UTF-8, else in `charset`. Empty when absent.
WideString DecodeHeaderParam(const AnsiString& value, const AnsiString& param, const AnsiString& charset);
