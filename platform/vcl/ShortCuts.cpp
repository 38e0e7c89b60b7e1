#include "platform/vcl/ShortCuts.h"

#include <string>

#include "platform/win/WinString.h"

namespace {

struct KeyText {
    WORD key;
    const char* name;
};

// The keys whose names the class library spells itself.
constexpr KeyText kMenuKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

// US-layout characters of the punctuation keys.
constexpr KeyText kOemKeys[] = {
    {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"},
    {0xC0, "`"}, {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"},
};

constexpr KeyText kKeyboardNames[] = {
    {VK_MULTIPLY, "Num *"}, {VK_ADD, "Num +"}, {VK_SUBTRACT, "Num -"}, {VK_DECIMAL, "Num Del"},
    {VK_DIVIDE, "Num /"},   {0x13, "Pause"},   {0x14, "Caps Lock"},    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},  {0x2C, "Prnt Scrn"},
};

template <std::size_t N>
const char* Find(const KeyText (&table)[N], WORD key) {
    for (const KeyText& k : table)
        if (k.key == key) return k.name;
    return nullptr;
}

}  // namespace

TShortCut ShortCut(WORD key, TShortCut shiftBits) {
    return (key & 0xFF00) != 0 ? scNone : static_cast<TShortCut>(key | (shiftBits & (scShift | scCtrl | scAlt)));
}

AnsiString ShortCutToText(TShortCut shortCut) {
    const WORD key = shortCut & 0xFF;
    AnsiString name;
    if (const char* n = Find(kMenuKeyNames, key))
        name = n;
    else if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        name = static_cast<char>(key);
    else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        name = static_cast<char>('0' + key - VK_NUMPAD0);
    else if (key >= VK_F1 && key <= VK_F24)
        name = "F" + std::to_string(key - VK_F1 + 1);
    else
        name = Utf16ToUtf8(VirtualKeyName(key));
    if (name.empty()) return {};
    AnsiString text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + name;
}

WideChar VirtualKeyChar(WORD virtualKey) {
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) return virtualKey;
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) return static_cast<WideChar>(u'0' + virtualKey - VK_NUMPAD0);
    if (const char* c = Find(kOemKeys, virtualKey)) return static_cast<WideChar>(c[0]);
    if (virtualKey == VK_SPACE) return u' ';
    return 0;
}

WideString VirtualKeyName(WORD virtualKey) {
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9)
        return u"Num " + WideString(1, static_cast<WideChar>(u'0' + virtualKey - VK_NUMPAD0));
    if (virtualKey >= VK_F1 && virtualKey <= VK_F24) return Utf8ToUtf16("F" + std::to_string(virtualKey - VK_F1 + 1));
    if (const char* n = Find(kKeyboardNames, virtualKey)) return Utf8ToUtf16(n);
    if (const char* n = Find(kOemKeys, virtualKey)) return Utf8ToUtf16(n);
    if (const char* n = Find(kMenuKeyNames, virtualKey)) return Utf8ToUtf16(n);
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return WideString(1, virtualKey);
    return {};
}
