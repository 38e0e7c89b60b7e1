#include "platform/win/WinString.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The end of the run of ASCII bytes that starts at i, found eight bytes at a time.
std::size_t AsciiRunEnd(std::string_view text, std::size_t i) {
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + i, 8);
        if (block & 0x8080808080808080u) break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    return i;
}

// Writes the code point's one or two units at `at`; returns the place after them.
char16_t* PutUtf16(char16_t* at, char32_t cp) {
    if (cp < 0x10000) {
        *at++ = static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        *at++ = static_cast<char16_t>(0xD800 + (cp >> 10));
        *at++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
    return at;
}

// Decodes one sequence at text[i]. Returns the number of bytes consumed; cp is the code point,
// or -1 for an invalid maximal subpart. allowSurrogates accepts ED A0..BF xx (WTF-8).
std::size_t DecodeUtf8(std::string_view text, std::size_t i, long& cp, bool allowSurrogates) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    int need;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2;
        cp = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED && !allowSurrogates) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3;
        cp = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        cp = -1;
        return 1;
    }
    std::size_t k = i + 1;
    for (int n = 0; n < need; ++n, ++k) {
        if (k >= text.size()) {
            cp = -1;
            return k - i;
        }
        const unsigned char b = byte(k);
        const bool ok = n == 0 ? (b >= lo && b <= hi) : IsContinuation(b);
        if (!ok) {
            cp = -1;
            return k - i;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    return k - i;
}

}  // namespace

// Written in place: no unit gives more than three bytes (a pair gives four for its two), and
// ASCII, most of any mail text and every path, is copied as it comes.
AnsiString Utf16ToUtf8(std::u16string_view text) {
    AnsiString out(3 * text.size(), '\0');
    char* at = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            *at++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        // A lone surrogate is written as its own 3-byte sequence.
        if (c < 0x800) {
            *at++ = static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *at++ = static_cast<char>(0xE0 | (c >> 12));
            *at++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            *at++ = static_cast<char>(0xF0 | (c >> 18));
            *at++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *at++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *at++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    out.resize(static_cast<std::size_t>(at - out.data()));
    return out;
}

// Written in place: no sequence gives more UTF-16 units than it has bytes, and runs of ASCII,
// most of any mail text, are copied without decoding.
WideString Utf8ToUtf16(std::string_view text) {
    WideString out(text.size(), u'\0');
    char16_t* const begin = out.data();
    char16_t* at = begin;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t ascii = AsciiRunEnd(text, i);
        for (; i < ascii; ++i) *at++ = static_cast<char16_t>(text[i]);
        if (i == text.size()) break;
        long cp;
        i += DecodeUtf8(text, i, cp, true);
        if (cp < 0)
            *at++ = kReplacement;
        else
            at = PutUtf16(at, static_cast<char32_t>(cp));
    }
    out.resize(static_cast<std::size_t>(at - begin));
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        i = AsciiRunEnd(bytes, i);  // most of any mail text
        if (i == bytes.size()) break;
        long cp;
        i += DecodeUtf8(bytes, i, cp, false);
        if (cp < 0) return false;
    }
    return true;
}

namespace {

struct ArgList {
    va_list ap;
};

enum class Size { Default, Short, Char, Long, LongLong, SizeT };

WideString Widen(const char* ascii) {
    WideString s;
    for (; *ascii; ++ascii) s.push_back(static_cast<unsigned char>(*ascii));
    return s;
}

void Pad(WideString& out, const WideString& body, int width, bool left) {
    const int fill = width > static_cast<int>(body.size()) ? width - static_cast<int>(body.size()) : 0;
    if (!left) out.append(static_cast<std::size_t>(fill), u' ');
    out += body;
    if (left) out.append(static_cast<std::size_t>(fill), u' ');
}

// Rebuilds the narrow conversion (width and precision resolved) and lets the C library format
// the number, which gets every flag combination right.
template <class T>
WideString FormatNumber(const std::string& flags, int width, int precision, const char* length,
                        char conv, T value) {
    std::string directive = "%" + flags;
    if (width > 0) directive += std::to_string(width);
    if (precision >= 0) {
        directive += '.';
        directive += std::to_string(precision);
    }
    directive += length;
    directive.push_back(conv);
    char small[128];
    int n = std::snprintf(small, sizeof small, directive.c_str(), value);
    if (n < 0) return WideString();
    if (static_cast<std::size_t>(n) < sizeof small) return Widen(small);
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), directive.c_str(), value);
    big.resize(static_cast<std::size_t>(n));
    return Widen(big.c_str());
}

// The formatter proper; narrowStrings makes %s take const char* (AnsiFormat).
WideString Format(std::u16string_view fmt, ArgList& args, bool narrowStrings) {
    WideString out;
    std::size_t i = 0;
    while (i < fmt.size()) {
        const char16_t c = fmt[i];
        if (c != u'%') {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::size_t start = i++;
        if (i < fmt.size() && fmt[i] == u'%') {
            out.push_back(u'%');
            ++i;
            continue;
        }
        std::string flags;
        bool left = false;
        while (i < fmt.size() && std::u16string_view(u"-0+ #").find(fmt[i]) != std::u16string_view::npos) {
            if (flags.find(static_cast<char>(fmt[i])) == std::string::npos) flags.push_back(static_cast<char>(fmt[i]));
            if (fmt[i] == u'-') left = true;
            ++i;
        }
        int width = 0;
        if (i < fmt.size() && fmt[i] == u'*') {
            width = va_arg(args.ap, int);
            if (width < 0) {
                left = true;
                if (flags.find('-') == std::string::npos) flags.push_back('-');
                width = width == -2147483647 - 1 ? 0 : -width;
            }
            ++i;
        } else {
            while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
                if (width < 100000) width = width * 10 + (fmt[i] - u'0');
                ++i;
            }
        }
        int precision = -1;
        if (i < fmt.size() && fmt[i] == u'.') {
            ++i;
            precision = 0;
            if (i < fmt.size() && fmt[i] == u'*') {
                precision = va_arg(args.ap, int);
                if (precision < 0) precision = -1;
                ++i;
            } else {
                while (i < fmt.size() && fmt[i] >= u'0' && fmt[i] <= u'9') {
                    if (precision < 100000) precision = precision * 10 + (fmt[i] - u'0');
                    ++i;
                }
            }
        }
        Size size = Size::Default;
        if (i < fmt.size()) {
            const std::u16string_view rest = fmt.substr(i);
            if (rest.starts_with(u"ll")) { size = Size::LongLong; i += 2; }
            else if (rest.starts_with(u"I64")) { size = Size::LongLong; i += 3; }
            else if (rest.starts_with(u"I32")) { size = Size::Long; i += 3; }
            else if (rest.starts_with(u"hh")) { size = Size::Char; i += 2; }
            else if (rest[0] == u'l' || rest[0] == u'w') { size = Size::Long; ++i; }
            else if (rest[0] == u'h') { size = Size::Short; ++i; }
            else if (rest[0] == u'I' || rest[0] == u'z') { size = Size::SizeT; ++i; }
        }
        if (i >= fmt.size()) {  // the text ends inside a conversion: keep it as written
            out.append(fmt.substr(start));
            break;
        }
        const char16_t conv = fmt[i++];
        switch (conv) {
        case u'd':
        case u'i': {
            long long v;
            switch (size) {
            case Size::LongLong: v = va_arg(args.ap, long long); break;
            case Size::SizeT: v = static_cast<long long>(va_arg(args.ap, std::ptrdiff_t)); break;
            case Size::Short: v = static_cast<short>(va_arg(args.ap, int)); break;
            case Size::Char: v = static_cast<signed char>(va_arg(args.ap, int)); break;
            default: v = va_arg(args.ap, int); break;  // 'l' is 32-bit, as LONG is
            }
            out += FormatNumber(flags, width, precision, "ll", 'd', v);
            break;
        }
        case u'u':
        case u'x':
        case u'X':
        case u'o': {
            unsigned long long v;
            switch (size) {
            case Size::LongLong: v = va_arg(args.ap, unsigned long long); break;
            case Size::SizeT: v = va_arg(args.ap, std::size_t); break;
            case Size::Short: v = static_cast<unsigned short>(va_arg(args.ap, unsigned)); break;
            case Size::Char: v = static_cast<unsigned char>(va_arg(args.ap, unsigned)); break;
            default: v = va_arg(args.ap, unsigned); break;
            }
            out += FormatNumber(flags, width, precision, "ll", static_cast<char>(conv), v);
            break;
        }
        case u'f':
        case u'F':
        case u'e':
        case u'E':
        case u'g':
        case u'G':
        case u'a':
        case u'A':
            out += FormatNumber(flags, width, precision, "", static_cast<char>(conv), va_arg(args.ap, double));
            break;
        case u'p': {
            const auto v = reinterpret_cast<std::uintptr_t>(va_arg(args.ap, void*));
            const WideString digits = FormatNumber(std::string("0"), static_cast<int>(2 * sizeof(void*)), -1,
                                                   "ll", 'X', static_cast<unsigned long long>(v));
            Pad(out, digits, width, left);
            break;
        }
        case u'c':
        case u'C': {
            WideString body;
            const int v = va_arg(args.ap, int);
            bool narrow = narrowStrings;
            if (size == Size::Short) narrow = true;
            else if (size == Size::Long) narrow = false;
            else if (conv == u'C') narrow = !narrowStrings;
            if (narrow)
                body = Utf8ToUtf16(std::string(1, static_cast<char>(v)));
            else
                body.push_back(static_cast<char16_t>(v));
            Pad(out, body, width, left);
            break;
        }
        case u's':
        case u'S': {
            // Which string type: 'h' is narrow, 'l'/'w' wide; bare %s follows the formatter's
            // own width and %S the other one, as on the original platform.
            bool narrow = narrowStrings;
            if (size == Size::Short) narrow = true;
            else if (size == Size::Long) narrow = false;
            else if (conv == u'S') narrow = !narrowStrings;
            WideString body;
            if (narrow) {
                const char* s = va_arg(args.ap, const char*);
                body = s ? Utf8ToUtf16(s) : WideString(u"(null)");
            } else {
                const char16_t* s = va_arg(args.ap, const char16_t*);
                body = s ? WideString(s) : WideString(u"(null)");
            }
            if (precision >= 0 && static_cast<std::size_t>(precision) < body.size()) body.resize(static_cast<std::size_t>(precision));
            Pad(out, body, width, left);
            break;
        }
        default:
            out.append(fmt.substr(start, i - start));  // unknown: keep as written
            break;
        }
    }
    return out;
}

}  // namespace

WideString WideFormatV(const char16_t* fmt, va_list args) {
    if (!fmt) return WideString();
    ArgList list;
    va_copy(list.ap, args);
    WideString out = Format(fmt, list, false);
    va_end(list.ap);
    return out;
}

WideString WideFormat(const char16_t* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    WideString out = WideFormatV(fmt, args);
    va_end(args);
    return out;
}

AnsiString AnsiFormatV(const char* fmt, va_list args) {
    if (!fmt) return AnsiString();
    ArgList list;
    va_copy(list.ap, args);
    const WideString wideFmt = Utf8ToUtf16(fmt);
    AnsiString out = Utf16ToUtf8(Format(wideFmt, list, true));
    va_end(list.ap);
    return out;
}

AnsiString AnsiFormat(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    AnsiString out = AnsiFormatV(fmt, args);
    va_end(args);
    return out;
}
