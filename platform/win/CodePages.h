// Code pages: Windows code-page numbers, the 8-bit <-> UTF-16 conversion calls, and the
// lookups from MIME charset names and locale ids. One table maps every code page to the
// converter that implements it (iconv, or our own code for UTF-8, UTF-16, HZ and Symbol).
// The ANSI code page (CP_ACP) is UTF-8 here, so 8-bit strings of the program are lossless.
#pragma once

#include <string_view>

#include "platform/win/WinTypes.h"

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_OEMCP = 1;
inline constexpr UINT CP_MACCP = 2;
inline constexpr UINT CP_THREAD_ACP = 3;
inline constexpr UINT CP_SYMBOL = 42;
inline constexpr UINT CP_UTF7 = 65000;
inline constexpr UINT CP_UTF8 = 65001;

// MultiByteToWideChar flags. The composition flags are accepted and have no effect.
inline constexpr DWORD MB_PRECOMPOSED = 0x01;
inline constexpr DWORD MB_COMPOSITE = 0x02;
inline constexpr DWORD MB_USEGLYPHCHARS = 0x04;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;

// WideCharToMultiByte flags. Only WC_ERR_INVALID_CHARS changes the result; no best-fit
// mapping is done, so an unmappable character always becomes the default character.
inline constexpr DWORD WC_COMPOSITECHECK = 0x200;
inline constexpr DWORD WC_DISCARDNS = 0x10;
inline constexpr DWORD WC_SEPCHARS = 0x20;
inline constexpr DWORD WC_DEFAULTCHAR = 0x40;
inline constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;
inline constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

inline constexpr UINT MAX_LEADBYTES = 12;
inline constexpr UINT MAX_DEFAULTCHAR = 2;

struct CPINFO {
    UINT MaxCharSize = 0;
    BYTE DefaultChar[MAX_DEFAULTCHAR] = {};
    BYTE LeadByte[MAX_LEADBYTES] = {};  // pairs of inclusive ranges, ended by 0,0
};

// Converts cbMultiByte bytes (-1: up to and including the terminating zero) to UTF-16.
// Returns the number of UTF-16 units written, or needed when cchWideChar is 0; 0 on failure
// with the last error set: ERROR_INVALID_PARAMETER (bad arguments, unknown code page),
// ERROR_INVALID_FLAGS, ERROR_INSUFFICIENT_BUFFER, ERROR_NO_UNICODE_TRANSLATION (invalid or
// truncated input with MB_ERR_INVALID_CHARS; without it such bytes become U+FFFD).
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, const char* lpMultiByteStr, int cbMultiByte,
                        char16_t* lpWideCharStr, int cchWideChar);

// Converts cchWideChar UTF-16 units (-1: through the terminating zero) to the code page.
// Characters the code page lacks, and lone surrogates, become lpDefaultChar (or the code
// page's '?'; U+FFFD for UTF-8 and UTF-7) and set *lpUsedDefaultChar; with
// WC_ERR_INVALID_CHARS a lone surrogate fails with ERROR_NO_UNICODE_TRANSLATION instead.
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, const char16_t* lpWideCharStr, int cchWideChar,
                        char* lpMultiByteStr, int cbMultiByte, const char* lpDefaultChar,
                        BOOL* lpUsedDefaultChar);

UINT GetACP();    // 65001
UINT GetOEMCP();  // 437
BOOL IsValidCodePage(UINT CodePage);
BOOL GetCPInfo(UINT CodePage, CPINFO* lpCPInfo);
BOOL IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar);
BOOL IsDBCSLeadByte(BYTE TestChar);

// The code page of a MIME charset name or common alias ("latin1", "cp1252", "sjis",
// "ks_c_5601-1987", "x-cp1250", ...), ignoring case and punctuation; 0 when unknown.
UINT CodePageFromCharsetName(std::string_view name);
// The preferred MIME charset name of a code page ("windows-1252", "shift_jis"), or nullptr.
const char* CharsetNameOfCodePage(UINT codePage);

// The ANSI code page of a Windows locale id (0x0411 -> 932), by its primary language where
// the sublanguage is not listed; 0 for unknown and Unicode-only locales.
UINT CodePageOfLocale(LCID locale);

// Decodes message bytes: never fails; invalid bytes become U+FFFD; an unknown code page
// decodes as 1252. Labels that mail mislabels are widened the way browsers do:
// ISO-8859-1 and US-ASCII decode as 1252, ISO-8859-9 as 1254.
WideString DecodeCodePage(UINT codePage, std::string_view bytes);
// Encodes text: characters the code page lacks become '?'; an unknown code page encodes as 1252.
AnsiString EncodeCodePage(UINT codePage, std::u16string_view text);
