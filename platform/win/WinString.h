// UTF-8 / UTF-16 conversion and the printf-style formatter over char16_t.
//
// Conversion rules (see docs/decisions.md):
// - UTF-16 -> UTF-8 is WTF-8: a lone surrogate becomes its own 3-byte sequence, so any
//   WideString survives a round trip through UTF-8 unchanged.
// - UTF-8 -> UTF-16 accepts those 3-byte surrogate sequences back; every other invalid byte
//   sequence (stray continuation byte, overlong form, code point above U+10FFFF, truncated
//   sequence) becomes one U+FFFD per maximal invalid subpart, never an error.
#pragma once

#include <cstdarg>
#include <string_view>

#include "platform/win/WinTypes.h"

AnsiString Utf16ToUtf8(std::u16string_view text);
WideString Utf8ToUtf16(std::string_view text);

// True when the bytes are well-formed UTF-8 (no surrogate code points, no overlong forms).
bool IsValidUtf8(std::string_view bytes);

// printf over char16_t, following the wide printf of the original platform:
//   %s and %ls take const char16_t*, %hs takes const char* (UTF-8), %c takes a UTF-16 code
//   unit (int), %hc a char; %d %i %u %x %X %o with the size prefixes h, l, ll, I64, I and z;
//   %p;
//   %f %e %g %E %G on double; flags '-', '0', '+', ' ', '#'; width and precision, either
//   given or '*'. A null string pointer prints "(null)". An unknown conversion is copied
//   literally and consumes no argument.
// 'l' means 32 bits, as LONG and DWORD are: %ld/%lu/%lx take a LONG or DWORD. A 64-bit value
// needs ll or I64 (size_t and pointers-sized values: z or I).
WideString WideFormat(const char16_t* fmt, ...);
WideString WideFormatV(const char16_t* fmt, va_list args);

// The same rules over UTF-8, except that %s takes const char* (UTF-8) and %ls const char16_t*.
AnsiString AnsiFormat(const char* fmt, ...);
AnsiString AnsiFormatV(const char* fmt, va_list args);
