// The entry points of the support library libquillora-utils.so, which the program loads
// from its own folder at start-up. Plain C names and types, so that the program resolves them
// by name. Every output goes to a buffer the caller owns; nothing needs freeing.
#pragma once

extern "C" {

// srcBytes bytes of 8-bit text in the named charset (a MIME name or alias such as "utf-8",
// "iso-8859-1", "CP1251", "x-sjis"; "CP0" is the legacy default code page 1252) to UTF-16.
// Writes at most dstUnits - 1 units and a terminating zero (nothing when dst is null or
// dstUnits is 0). Returns the length of the whole conversion, which may exceed what was
// written, or -1 for an unknown charset or a conversion that failed (out of memory); dst is
// then untouched. Bad bytes become U+FFFD. No entry point lets an exception out.
int ConvertToUStr(char16_t* dst, int dstUnits, const char* src, int srcBytes, const char* charset);
// The same with a Windows code-page number (0: the legacy default code page 1252).
int ConvertToUStrCCSID(char16_t* dst, int dstUnits, const char* src, int srcBytes, unsigned codePage);
// UTF-16 to the named charset: at most dstBytes - 1 bytes and a zero; the whole length, or -1.
// Characters the charset lacks become "?".
int ConvertFromUStr(char* dst, int dstBytes, const char16_t* src, int srcUnits, const char* charset);

// Makes the application the desktop's default program for the extension (".msg", ".eml"):
// the current user's choice, or the system-wide one (which needs write access to the
// system's configuration). 0 on success, -1 on failure.
int SetAppAsDefault(const char16_t* appName, const char16_t* extension);
int SetAppAsDefaultAll(const char16_t* appName, const char16_t* extension);
// The desktop id of the program that opens files of the extension for the current user
// ("" when none): at most dstUnits - 1 units and a zero. Returns the id's length, or -1 when
// the extension's type is unknown.
int QueryCurrentDefault(const char16_t* extension, char16_t* dst, int dstUnits);
// Removes the current user's own default-program choice for the extension. 0 or -1.
int ClearUserAssociations(const char16_t* extension);

}  // extern "C"

using ConvertToUStrFn = decltype(&ConvertToUStr);
using ConvertToUStrCCSIDFn = decltype(&ConvertToUStrCCSID);
using ConvertFromUStrFn = decltype(&ConvertFromUStr);
using SetAppAsDefaultFn = decltype(&SetAppAsDefault);
using SetAppAsDefaultAllFn = decltype(&SetAppAsDefaultAll);
using QueryCurrentDefaultFn = decltype(&QueryCurrentDefault);
using ClearUserAssociationsFn = decltype(&ClearUserAssociations);

// The desktop id under which an application is registered: the program's own "QuilloraPro"
// is "quillora.desktop"; any other name is its lower-case form + ".desktop".
inline const char* const kProgramAppName = "QuilloraPro";
inline const char* const kProgramDesktopId = "quillora.desktop";
