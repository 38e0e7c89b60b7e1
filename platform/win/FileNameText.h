// File names through UTF-16 without loss, for places that carry names as UTF-16 (drop-file
// lists, edit boxes): each byte that is not part of well-formed UTF-8 becomes the lone
// surrogate U+DC80..U+DCFF and comes back as that byte; everything else converts as
// WinString.h does. Names shown to the user still go through Utf8ToUtf16 (U+FFFD).
#pragma once

#include <string_view>

#include "platform/win/WinTypes.h"

WideString FileNameToUtf16(std::string_view bytes);
AnsiString FileNameFromUtf16(std::u16string_view name);
