// String resources: each subsystem registers its texts (id -> wide text) at static
// initialisation, and LoadStringW finds them all in one table.
//
//   static const bool registered = RegisterStringTable({
//       {1000, u"Cannot open the file."},
//       {1001, u"The message has no body."},
//   });
#pragma once

#include <initializer_list>
#include <utility>

#include "platform/win/WinTypes.h"

// Adds the texts to the program's table; safe to call during static initialisation in any order.
// Returns false when an id was already registered with a different text (the new text wins).
bool RegisterStringTable(std::initializer_list<std::pair<UINT, const char16_t*>> entries);

// The same as an object, for a namespace-scope registrar.
struct StringTableRegistrar {
    StringTableRegistrar(std::initializer_list<std::pair<UINT, const char16_t*>> entries) {
        RegisterStringTable(entries);
    }
};

// Copies the text with id uID into lpBuffer (at most cchBufferMax - 1 units, then a zero) and
// returns the number of units copied; 0 with ERROR_RESOURCE_NAME_NOT_FOUND when there is no
// such text. With cchBufferMax 0, lpBuffer receives a read-only pointer to the text itself
// (not zero-terminated in the original; here it is) and the text's length is returned.
// hInstance is not used: the program has one table.
int LoadStringW(HINSTANCE hInstance, UINT uID, char16_t* lpBuffer, int cchBufferMax);

// The text with that id, or an empty string.
WideString LoadResString(UINT id);
