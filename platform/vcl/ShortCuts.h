// Keyboard shortcuts of menus and actions: virtual-key codes, the shortcut value (key in the
// low byte, Shift/Ctrl/Alt bits above) and its text ("Ctrl+Del"), with Windows-style English
// key names for a US keyboard layout.
#pragma once

#include "platform/win/WinTypes.h"

using TShortCut = WORD;

inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

inline constexpr WORD VK_BACK = 0x08;
inline constexpr WORD VK_TAB = 0x09;
inline constexpr WORD VK_RETURN = 0x0D;
inline constexpr WORD VK_ESCAPE = 0x1B;
inline constexpr WORD VK_SPACE = 0x20;
inline constexpr WORD VK_PRIOR = 0x21;
inline constexpr WORD VK_NEXT = 0x22;
inline constexpr WORD VK_END = 0x23;
inline constexpr WORD VK_HOME = 0x24;
inline constexpr WORD VK_LEFT = 0x25;
inline constexpr WORD VK_UP = 0x26;
inline constexpr WORD VK_RIGHT = 0x27;
inline constexpr WORD VK_DOWN = 0x28;
inline constexpr WORD VK_INSERT = 0x2D;
inline constexpr WORD VK_DELETE = 0x2E;
inline constexpr WORD VK_NUMPAD0 = 0x60;
inline constexpr WORD VK_NUMPAD9 = 0x69;
inline constexpr WORD VK_MULTIPLY = 0x6A;
inline constexpr WORD VK_ADD = 0x6B;
inline constexpr WORD VK_SUBTRACT = 0x6D;
inline constexpr WORD VK_DECIMAL = 0x6E;
inline constexpr WORD VK_DIVIDE = 0x6F;
inline constexpr WORD VK_F1 = 0x70;
inline constexpr WORD VK_F24 = 0x87;

TShortCut ShortCut(WORD key, TShortCut shiftBits);
// The class library's 8-bit text of a shortcut: "Shift+", "Ctrl+", "Alt+" in that order, then
// the key's name; empty for a key without a name.
AnsiString ShortCutToText(TShortCut shortCut);
// The character a key types on a US layout without modifiers ('A' for the A key, '0' for the
// 0 and number-pad 0 keys, ';' for the semicolon key); 0 for keys that type none.
WideChar VirtualKeyChar(WORD virtualKey);
// The key's name as the keyboard reports it ("Num 0", "Num *", "Del", ";"); empty when unknown.
WideString VirtualKeyName(WORD virtualKey);
