// Code units of the two engines and the engine's own ASCII character classes.
// The 8-bit engine orders its code units as signed bytes (0x80..0xFF below 0x00) whatever the
// platform's char is; the wide engine's code units are unsigned 16-bit values. No class, word
// test or case folding knows anything above ASCII.
#pragma once

template <class T>
struct RegexUnit;

template <>
struct RegexUnit<char16_t> {
    static constexpr int kMaxDecimalDigits = 6;
    // The value that orders and classifies the unit.
    static int Code(char16_t c) { return static_cast<int>(c); }
    // Index 0..255 for the small-unit tables, or -1 when the unit is above 255.
    static int SmallIndex(char16_t c) { return c < 256 ? static_cast<int>(c) : -1; }
    static char16_t FromValue(unsigned long v) { return static_cast<char16_t>(v & 0xFFFFu); }
    static char Narrow(char16_t c) { return c > 255 ? '\0' : static_cast<char>(static_cast<unsigned char>(c)); }
};

template <>
struct RegexUnit<char> {
    static constexpr int kMaxDecimalDigits = 3;
    static int Code(char c) { return static_cast<int>(static_cast<signed char>(c)); }
    static int SmallIndex(char c) { return static_cast<int>(static_cast<unsigned char>(c)); }
    static char FromValue(unsigned long v) { return static_cast<char>(static_cast<unsigned char>(v & 0xFFu)); }
    static char Narrow(char c) { return c; }
};

namespace regexchars {

inline bool InRange(int c, int lo, int hi) { return c >= lo && c <= hi; }
inline int IsUpper(int c) { return InRange(c, 'A', 'Z'); }
inline int IsLower(int c) { return InRange(c, 'a', 'z'); }
inline int IsAlpha(int c) { return IsUpper(c) || IsLower(c); }
inline int IsDigit(int c) { return InRange(c, '0', '9'); }
inline int IsAlnum(int c) { return IsAlpha(c) || IsDigit(c); }
inline int IsWord(int c) { return IsAlnum(c) || c == '_'; }
inline int IsAscii(int c) { return InRange(c, 0, 127); }
inline int IsBlank(int c) { return c == ' ' || c == '\t'; }
inline int IsCntrl(int c) { return InRange(c, 0, 31) || c == 127; }
inline int IsGraph(int c) { return InRange(c, 33, 126); }
inline int IsPrint(int c) { return InRange(c, 32, 126); }
inline int IsPunct(int c)
{
    return InRange(c, 33, 47) || InRange(c, 58, 64) || InRange(c, 91, 96) || InRange(c, 123, 126);
}
inline int IsSpace(int c) { return InRange(c, 9, 13) || c == 32; }
inline int IsXDigit(int c) { return IsDigit(c) || InRange(c, 'A', 'F') || InRange(c, 'a', 'f'); }
inline int ToLower(int c) { return IsUpper(c) ? c + 32 : c; }
inline int ToUpper(int c) { return IsLower(c) ? c - 32 : c; }

// Blanks of the pattern syntax: TAB, LF, VT, FF, CR and SPACE.
inline bool IsPatternBlank(int c) { return IsSpace(c); }

using ClassTest = int (*)(int);

// The POSIX class of a name ("alpha", ...), or null for a name that is no class.
ClassTest PosixClassByName(const char* name, int length);

}  // namespace regexchars

// Equal when equal, or when both are ASCII letters differing only in case.
template <class T>
inline bool RegexFoldEqual(T a, T b)
{
    if (a == b) return true;
    int ca = RegexUnit<T>::Code(a), cb = RegexUnit<T>::Code(b);
    return (ca ^ cb) == 32 && regexchars::IsAlpha(ca) && regexchars::IsAlpha(cb);
}
