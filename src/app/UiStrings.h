// The program's built-in English user-interface texts (ids 1000-1165), the string table that
// GetUiString falls back to.
#pragma once

#include <span>

#include "platform/win/WinTypes.h"

struct UiText {
    UINT id;
    const char16_t* text;
};

inline constexpr UINT kFirstUiTextId = 1000;
inline constexpr UINT kLastUiTextId = 1165;

// Every built-in text, by ascending id.
std::span<const UiText> BuiltInUiTexts();
// Puts the built-in texts into the program's string table (LoadStringW); safe to call often.
void RegisterUiStrings();
