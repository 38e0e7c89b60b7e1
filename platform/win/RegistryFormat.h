// The text file of one registry hive. UTF-8, one line per entry, "\n" line ends:
//
//   QUILLORA-REGISTRY 1
//   ; comment lines start with ';' or '#'; blank lines are ignored
//   [Software\Quillora\Settings]
//   @=sz:"the default value"
//   "Window Left"=dword:00000064
//   "Size"=qword:0000000000010000
//   "Path"=expand:"%HOME%/mail"
//   "Recent"=multi:"first","second"
//   "Blob"=binary:00,ff,10
//   "Odd"=type(11):01,02
//
// A section header names a key by its full path inside the hive ("[]" is the hive's root);
// in it '%', control characters and lone surrogates are written as %XXXX (UTF-16 code unit in
// hex). Quoted text escapes \\ \" \n \r \t and \uXXXX (control characters, lone surrogates).
// Text values are written as text only when their bytes are exactly what the text form gives
// back (one terminating NUL, no NUL inside); any other data of any type is written as bytes
// with type(N), so every value survives a round trip byte for byte.
// Every key is written, including empty ones. Reading is strict: a line that does not parse,
// a missing or unknown version header, or a file over 64 MiB makes the whole file damaged.
#pragma once

#include <string>
#include <string_view>

#include "platform/win/RegistryStore.h"

inline constexpr std::string_view kRegistryFileHeader = "QUILLORA-REGISTRY 1";
inline constexpr std::size_t kRegistryFileMaxBytes = 64u << 20;

std::string WriteRegistryText(const RegistryKey& root);

// Fills the (empty) root from text. Returns false with a message ("line 7: ...") when the text
// is damaged; root is then left partly filled and must be discarded.
bool ReadRegistryText(std::string_view text, RegistryKey& root, std::string& error);
