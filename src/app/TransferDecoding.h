// The two transfer encodings of internet mail text, decoded into bytes: quoted-printable
// (also the "Q" form of encoded words) and base64 (also the "B" form). Both are lenient:
// malformed input is kept or skipped, never an error.
#pragma once

#include <string_view>

#include "platform/win/WinTypes.h"

// "=" and two hexadecimal digits (either case) give that byte; "=" at the end of a line is a
// soft line break and vanishes with the line end; any other "=" stays as it is.
AnsiString DecodeQuotedPrintable(std::string_view text);

// Base64 to bytes: characters outside the alphabet (line ends, blanks) are skipped, the
// first "=" ends the data, and a last incomplete group yields the whole bytes it holds.
AnsiString DecodeBase64(std::string_view text);
