#include "platform/win/CodePages.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr const char* kNativeUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

enum class Kind { Iconv, Utf8, Utf16LE, Utf16BE, Hz, Symbol };

struct CodePageInfo {
    UINT cp;
    Kind kind;
    const char* decodeName;  // iconv name for bytes -> UTF-16
    const char* encodeName;  // iconv name for UTF-16 -> bytes (nullptr: same as decodeName)
    BYTE maxCharSize;
    std::array<BYTE, 4> leadBytes;  // up to two inclusive ranges of DBCS lead bytes
    const char* names;              // MIME charset names, space-separated, preferred first
};

// The one table from Windows code-page numbers to their converters and charset names.
// 28600, 28604 and 28606 follow the ISO-8859 series for the charsets mail uses that have no
// Windows number of their own.
constexpr CodePageInfo kCodePages[] = {
    {42, Kind::Symbol, nullptr, nullptr, 1, {}, ""},
    {437, Kind::Iconv, "IBM437", nullptr, 1, {}, "ibm437 cp437 437 cspc8codepage437"},
    {850, Kind::Iconv, "IBM850", nullptr, 1, {}, "ibm850 cp850 850 cspc850multilingual"},
    {852, Kind::Iconv, "IBM852", nullptr, 1, {}, "ibm852 cp852 852 cspcp852"},
    {866, Kind::Iconv, "IBM866", nullptr, 1, {}, "cp866 ibm866 866 csibm866"},
    {874, Kind::Iconv, "CP874", nullptr, 1, {}, "windows-874 tis-620 iso-8859-11 dos-874 x-cp874"},
    {932, Kind::Iconv, "CP932", nullptr, 2, {0x81, 0x9F, 0xE0, 0xFC},
     "shift_jis sjis shift-jis ms_kanji csshiftjis x-sjis windows-31j cswindows31j x-ms-cp932"},
    {936, Kind::Iconv, "CP936", nullptr, 2, {0x81, 0xFE, 0, 0},
     "gb2312 gbk csgb2312 gb_2312-80 csiso58gb231280 iso-ir-58 chinese x-gbk cp936 ms936"},
    {949, Kind::Iconv, "CP949", nullptr, 2, {0x81, 0xFE, 0, 0},
     "ks_c_5601-1987 ks_c_5601-1989 ks_c_5601 ksc_5601 ksc5601 korean csksc56011987 iso-ir-149 uhc"},
    {950, Kind::Iconv, "CP950", nullptr, 2, {0x81, 0xFE, 0, 0}, "big5 big5-hkscs cn-big5 csbig5 x-x-big5 x-big5"},
    {1200, Kind::Utf16LE, nullptr, nullptr, 2, {}, "utf-16 utf-16le unicode ucs-2 iso-10646-ucs-2 csunicode"},
    {1201, Kind::Utf16BE, nullptr, nullptr, 2, {}, "utf-16be unicodefffe"},
    {1250, Kind::Iconv, "CP1250", nullptr, 1, {}, "windows-1250"},
    {1251, Kind::Iconv, "CP1251", nullptr, 1, {}, "windows-1251"},
    {1252, Kind::Iconv, "CP1252", nullptr, 1, {}, "windows-1252"},
    {1253, Kind::Iconv, "CP1253", nullptr, 1, {}, "windows-1253"},
    {1254, Kind::Iconv, "CP1254", nullptr, 1, {}, "windows-1254"},
    {1255, Kind::Iconv, "CP1255", nullptr, 1, {}, "windows-1255"},
    {1256, Kind::Iconv, "CP1256", nullptr, 1, {}, "windows-1256"},
    {1257, Kind::Iconv, "CP1257", nullptr, 1, {}, "windows-1257"},
    {1258, Kind::Iconv, "CP1258", nullptr, 1, {}, "windows-1258"},
    {1361, Kind::Iconv, "JOHAB", nullptr, 2, {0x84, 0xD3, 0xD8, 0xF9}, "johab"},
    {10000, Kind::Iconv, "MACINTOSH", nullptr, 1, {}, "macintosh mac x-mac-roman csmacintosh macroman"},
    {10007, Kind::Iconv, "MAC-CYRILLIC", nullptr, 1, {}, "x-mac-cyrillic mac-cyrillic"},
    {10029, Kind::Iconv, "MAC-CENTRALEUROPE", nullptr, 1, {}, "x-mac-ce mac-centraleurope"},
    {20127, Kind::Iconv, "ANSI_X3.4-1968", nullptr, 1, {},
     "us-ascii ascii us iso646-us ansi_x3.4-1968 ansi_x3.4-1986 iso-ir-6 cp367 ibm367 csascii"},
    {20866, Kind::Iconv, "KOI8-R", nullptr, 1, {}, "koi8-r koi8 cskoi8r koi"},
    {21866, Kind::Iconv, "KOI8-U", nullptr, 1, {}, "koi8-u koi8-ru"},
    {28591, Kind::Iconv, "ISO-8859-1", nullptr, 1, {},
     "iso-8859-1 latin1 l1 iso-ir-100 csisolatin1 ibm819 cp819 iso_8859-1:1987"},
    {28592, Kind::Iconv, "ISO-8859-2", nullptr, 1, {}, "iso-8859-2 latin2 l2 csisolatin2 iso-ir-101"},
    {28593, Kind::Iconv, "ISO-8859-3", nullptr, 1, {}, "iso-8859-3 latin3 l3 csisolatin3 iso-ir-109"},
    {28594, Kind::Iconv, "ISO-8859-4", nullptr, 1, {}, "iso-8859-4 latin4 l4 csisolatin4 iso-ir-110"},
    {28595, Kind::Iconv, "ISO-8859-5", nullptr, 1, {}, "iso-8859-5 cyrillic csisolatincyrillic iso-ir-144"},
    {28596, Kind::Iconv, "ISO-8859-6", nullptr, 1, {}, "iso-8859-6 arabic csisolatinarabic ecma-114 iso-ir-127"},
    {28597, Kind::Iconv, "ISO-8859-7", nullptr, 1, {}, "iso-8859-7 greek greek8 csisolatingreek elot_928 ecma-118"},
    {28598, Kind::Iconv, "ISO-8859-8", nullptr, 1, {}, "iso-8859-8 hebrew csisolatinhebrew iso-ir-138 visual"},
    {28599, Kind::Iconv, "ISO-8859-9", nullptr, 1, {}, "iso-8859-9 latin5 l5 csisolatin5 iso-ir-148"},
    {28600, Kind::Iconv, "ISO-8859-10", nullptr, 1, {}, "iso-8859-10 latin6 l6 csisolatin6"},
    {28603, Kind::Iconv, "ISO-8859-13", nullptr, 1, {}, "iso-8859-13 latin7"},
    {28604, Kind::Iconv, "ISO-8859-14", nullptr, 1, {}, "iso-8859-14 latin8"},
    {28605, Kind::Iconv, "ISO-8859-15", nullptr, 1, {}, "iso-8859-15 latin9 l9 csisolatin9"},
    {28606, Kind::Iconv, "ISO-8859-16", nullptr, 1, {}, "iso-8859-16 latin10"},
    {38598, Kind::Iconv, "ISO-8859-8", nullptr, 1, {}, "iso-8859-8-i logical csiso88598i"},
    // Reading accepts every ISO-2022-JP form (JIS X 0201 kana, JIS X 0213 rows); writing 50220
    // keeps to plain ISO-2022-JP, which every reader understands.
    {50220, Kind::Iconv, "ISO-2022-JP-3", "ISO-2022-JP", 5, {}, "iso-2022-jp csiso2022jp"},
    {50221, Kind::Iconv, "ISO-2022-JP-3", "ISO-2022-JP-3", 5, {}, "iso-2022-jp"},
    {50222, Kind::Iconv, "ISO-2022-JP-3", "ISO-2022-JP-3", 5, {}, "iso-2022-jp"},
    {50225, Kind::Iconv, "ISO-2022-KR", nullptr, 5, {}, "iso-2022-kr csiso2022kr"},
    {51932, Kind::Iconv, "EUC-JP-MS", nullptr, 3, {0x8E, 0x8F, 0xA1, 0xFE}, "euc-jp x-euc-jp cseucpkdfmtjapanese x-euc"},
    {51936, Kind::Iconv, "EUC-CN", nullptr, 2, {0xA1, 0xFE, 0, 0}, "euc-cn x-euc-cn"},
    {51949, Kind::Iconv, "EUC-KR", nullptr, 2, {0xA1, 0xFE, 0, 0}, "euc-kr cseuckr"},
    {52936, Kind::Hz, nullptr, nullptr, 5, {}, "hz-gb-2312 hz"},
    {54936, Kind::Iconv, "GB18030", nullptr, 4, {}, "gb18030"},
    {65000, Kind::Iconv, "UTF-7", nullptr, 5, {}, "utf-7 unicode-1-1-utf-7 csunicode11utf7 x-unicode20utf7"},
    {65001, Kind::Utf8, nullptr, nullptr, 4, {}, "utf-8 utf8 unicode-1-1-utf-8 unicode-2-0-utf-8 x-unicode20utf8"},
};

UINT ResolveCodePage(UINT cp) {
    switch (cp) {
    case CP_ACP:
    case CP_THREAD_ACP: return GetACP();
    case CP_OEMCP: return GetOEMCP();
    case CP_MACCP: return 10000;
    default: return cp;
    }
}

const CodePageInfo* FindCodePage(UINT cp) {
    cp = ResolveCodePage(cp);
    const auto* end = std::end(kCodePages);
    const auto* it = std::lower_bound(std::begin(kCodePages), end, cp,
                                      [](const CodePageInfo& e, UINT v) { return e.cp < v; });
    return it != end && it->cp == cp ? it : nullptr;
}

// iconv descriptors are not thread-safe: each thread keeps its own, opened on first use.
class IconvCache {
public:
    ~IconvCache() {
        for (auto& [key, cd] : open_)
            if (cd != Invalid()) iconv_close(cd);
    }
    // The descriptor for the pair, reset to its initial state; Invalid() when unsupported.
    iconv_t Get(const char* to, const char* from) {
        std::string key = std::string(to) + '\n' + from;
        auto it = open_.find(key);
        if (it == open_.end()) it = open_.emplace(std::move(key), iconv_open(to, from)).first;
        if (it->second != Invalid()) iconv(it->second, nullptr, nullptr, nullptr, nullptr);
        return it->second;
    }
    static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }

private:
    std::unordered_map<std::string, iconv_t> open_;
};

IconvCache& Converters() {
    thread_local IconvCache cache;
    return cache;
}

enum class Result { Ok, Invalid, Unsupported };

// Bytes -> UTF-16 through iconv. strict: fail on an invalid or truncated sequence; otherwise
// each undecodable byte (a truncated tail as a whole) becomes U+FFFD.
Result IconvDecode(const char* name, std::string_view in, bool strict, WideString& out) {
    iconv_t cd = Converters().Get(kNativeUtf16, name);
    if (cd == IconvCache::Invalid()) return Result::Unsupported;
    char* inp = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char16_t chunk[512];
    while (inLeft > 0) {
        char* outp = reinterpret_cast<char*>(chunk);
        std::size_t outLeft = sizeof chunk;
        const std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        const int err = errno;
        out.append(chunk, (sizeof chunk - outLeft) / sizeof(char16_t));
        if (r != static_cast<std::size_t>(-1) || err == E2BIG) continue;
        if (strict) return Result::Invalid;
        out.push_back(kReplacement);
        if (err == EINVAL) break;  // truncated sequence at the end
        ++inp;
        --inLeft;
    }
    // Decoders that compose (1255, 1258) hold back the last character until told the input ended.
    char* outp = reinterpret_cast<char*>(chunk);
    std::size_t outLeft = sizeof chunk;
    iconv(cd, nullptr, nullptr, &outp, &outLeft);
    out.append(chunk, (sizeof chunk - outLeft) / sizeof(char16_t));
    return Result::Ok;
}

// What an encoder does with a character it cannot write.
struct DefaultPolicy {
    bool strict = false;             // fail on a lone surrogate
    std::string_view defaultBytes;   // raw replacement bytes, or empty for the converter's own
    char16_t defaultChar = u'?';
    bool usedDefault = false;
};

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Length of the character at text[i] (2 for a surrogate pair), and whether it is a lone surrogate.
std::size_t CharAt(std::u16string_view text, std::size_t i, bool& lone) {
    lone = false;
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) return 2;
    lone = IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]);
    return 1;
}

// Runs one iconv step over UTF-16 input into out. Returns false on EILSEQ/EINVAL with inp at
// the offending unit.
bool IconvStep(iconv_t cd, char*& inp, std::size_t& inLeft, AnsiString& out) {
    char chunk[1024];
    for (;;) {
        char* outp = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t r = iconv(cd, inp ? &inp : nullptr, inp ? &inLeft : nullptr, &outp, &outLeft);
        const int err = errno;
        out.append(chunk, sizeof chunk - outLeft);
        if (r != static_cast<std::size_t>(-1)) return true;
        if (err != E2BIG) return false;
    }
}

Result IconvEncode(const char* name, std::u16string_view in, DefaultPolicy& policy, AnsiString& out) {
    iconv_t cd = Converters().Get(name, kNativeUtf16);
    if (cd == IconvCache::Invalid()) return Result::Unsupported;
    char* inp = const_cast<char*>(reinterpret_cast<const char*>(in.data()));
    std::size_t inLeft = in.size() * sizeof(char16_t);
    while (inLeft > 0) {
        if (IconvStep(cd, inp, inLeft, out)) continue;
        const std::size_t pos = in.size() - inLeft / sizeof(char16_t);
        bool lone;
        const std::size_t len = CharAt(in, pos, lone);
        if (lone && policy.strict) return Result::Invalid;
        policy.usedDefault = true;
        if (!policy.defaultBytes.empty()) {
            out.append(policy.defaultBytes);
        } else {
            // Written through the converter so that a stateful encoding shifts back first.
            char* dp = const_cast<char*>(reinterpret_cast<const char*>(&policy.defaultChar));
            std::size_t dLeft = sizeof(char16_t);
            if (!IconvStep(cd, dp, dLeft, out)) out.push_back('?');
        }
        inp += len * sizeof(char16_t);
        inLeft -= len * sizeof(char16_t);
    }
    char* none = nullptr;
    std::size_t zero = 0;
    IconvStep(cd, none, zero, out);  // back to the initial shift state
    return Result::Ok;
}

Result Utf8Decode(std::string_view in, bool strict, WideString& out) {
    if (strict && !IsValidUtf8(in)) return Result::Invalid;
    out += Utf8ToUtf16(in);
    return Result::Ok;
}

Result Utf8Encode(std::u16string_view in, DefaultPolicy& policy, AnsiString& out) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < in.size();) {
        bool lone;
        const std::size_t len = CharAt(in, i, lone);
        if (lone) {
            if (policy.strict) return Result::Invalid;
            out += Utf16ToUtf8(in.substr(runStart, i - runStart));
            out += "\xEF\xBF\xBD";
            policy.usedDefault = true;
            runStart = i + len;
        }
        i += len;
    }
    out += Utf16ToUtf8(in.substr(runStart));
    return Result::Ok;
}

Result Utf16Decode(std::string_view in, bool bigEndian, bool strict, WideString& out) {
    const std::size_t pairs = in.size() / 2;
    for (std::size_t i = 0; i < pairs; ++i) {
        const auto b0 = static_cast<unsigned char>(in[2 * i]);
        const auto b1 = static_cast<unsigned char>(in[2 * i + 1]);
        out.push_back(static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0));
    }
    if (in.size() % 2) {  // half a code unit at the end
        if (strict) return Result::Invalid;
        out.push_back(kReplacement);
    }
    return Result::Ok;
}

void Utf16Encode(std::u16string_view in, bool bigEndian, AnsiString& out) {
    for (char16_t c : in) {
        const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out.push_back(bigEndian ? hi : lo);
        out.push_back(bigEndian ? lo : hi);
    }
}

// Symbol fonts: bytes 0x20-0xFF live in the private-use area at U+F020-U+F0FF.
void SymbolDecode(std::string_view in, WideString& out) {
    for (char ch : in) {
        const auto b = static_cast<unsigned char>(ch);
        out.push_back(static_cast<char16_t>(b < 0x20 ? b : 0xF000 + b));
    }
}

Result SymbolEncode(std::u16string_view in, DefaultPolicy& policy, AnsiString& out) {
    for (std::size_t i = 0; i < in.size();) {
        bool lone;
        const std::size_t len = CharAt(in, i, lone);
        const char16_t c = in[i];
        i += len;
        if (len == 1 && c < 0x100) {
            out.push_back(static_cast<char>(c));
        } else if (len == 1 && c >= 0xF020 && c <= 0xF0FF) {
            out.push_back(static_cast<char>(c - 0xF000));
        } else {
            if (lone && policy.strict) return Result::Invalid;
            policy.usedDefault = true;
            if (policy.defaultBytes.empty()) out.push_back('?');
            else out.append(policy.defaultBytes);
        }
    }
    return Result::Ok;
}

// HZ (RFC 1843): ASCII with "~{" ... "~}" runs of GB2312 in 7 bits; "~~" is '~' and "~\n" a
// line continuation.
Result HzDecode(std::string_view in, bool strict, WideString& out) {
    bool gb = false;
    for (std::size_t i = 0; i < in.size();) {
        const char c = in[i];
        if (c == '~' && i + 1 < in.size()) {
            const char n = in[i + 1];
            if (!gb && n == '~') { out.push_back(u'~'); i += 2; continue; }
            if (!gb && n == '\n') { i += 2; continue; }
            if (n == '{') { gb = true; i += 2; continue; }
            if (n == '}') { gb = false; i += 2; continue; }
        }
        if (gb && c != '\n' && c != '\r') {
            std::string euc;
            while (i + 1 < in.size() && in[i] != '~' && in[i] != '\n' && in[i] != '\r') {
                euc.push_back(static_cast<char>(in[i] | 0x80));
                euc.push_back(static_cast<char>(in[i + 1] | 0x80));
                i += 2;
            }
            if (euc.empty()) {  // a lone byte before the end or a line end
                if (strict) return Result::Invalid;
                out.push_back(kReplacement);
                ++i;
                continue;
            }
            const Result r = IconvDecode("EUC-CN", euc, strict, out);
            if (r != Result::Ok) return r;
            continue;
        }
        if (c == '\n') gb = false;
        if (static_cast<unsigned char>(c) >= 0x80 || c == '~') {
            if (strict) return Result::Invalid;
            out.push_back(kReplacement);
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        ++i;
    }
    return Result::Ok;
}

Result HzEncode(std::u16string_view in, DefaultPolicy& policy, AnsiString& out) {
    bool gb = false;
    for (std::size_t i = 0; i < in.size();) {
        bool lone;
        const std::size_t len = CharAt(in, i, lone);
        const std::u16string_view ch = in.substr(i, len);
        i += len;
        if (len == 1 && ch[0] < 0x80) {
            if (gb) { out += "~}"; gb = false; }
            if (ch[0] == u'~') out += "~~";
            else out.push_back(static_cast<char>(ch[0]));
            continue;
        }
        if (lone && policy.strict) return Result::Invalid;
        AnsiString euc;
        DefaultPolicy probe;
        probe.defaultBytes = "\x01";  // marks failure; never part of GB2312
        const Result r = IconvEncode("EUC-CN", ch, probe, euc);
        if (r != Result::Ok) return r;
        if (probe.usedDefault || euc.size() != 2) {
            if (gb) { out += "~}"; gb = false; }
            policy.usedDefault = true;
            out.append(policy.defaultBytes.empty() ? std::string_view("?") : policy.defaultBytes);
            continue;
        }
        if (!gb) { out += "~{"; gb = true; }
        out.push_back(static_cast<char>(euc[0] & 0x7F));
        out.push_back(static_cast<char>(euc[1] & 0x7F));
    }
    if (gb) out += "~}";
    return Result::Ok;
}

// A single-byte code page read byte by byte, each byte's character asked of iconv once per
// thread: a text then costs a table look-up per byte instead of a conversion call.
// Decoders that compose a base and a following mark (1255, 1258) are not byte by byte.
struct ByteTable {
    std::array<char16_t, 256> units{};
    std::array<bool, 256> known{};
};

const ByteTable* SingleByteTable(const CodePageInfo& info) {
    if (info.kind != Kind::Iconv || info.maxCharSize != 1 || info.cp == 1255 || info.cp == 1258) return nullptr;
    thread_local std::unordered_map<UINT, std::optional<ByteTable>> tables;
    auto [it, added] = tables.try_emplace(info.cp);
    if (added) {
        ByteTable table;
        bool any = false;
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            WideString one;
            if (IconvDecode(info.decodeName, std::string_view(&byte, 1), true, one) != Result::Ok || one.size() != 1)
                continue;
            table.units[static_cast<size_t>(b)] = one[0];
            table.known[static_cast<size_t>(b)] = any = true;
        }
        if (any) it->second = table;
    }
    return it->second ? &*it->second : nullptr;
}

// False (nothing written) when a byte has no character of its own: iconv then decides.
bool TableDecode(const ByteTable& table, std::string_view in, WideString& out) {
    const std::size_t start = out.size();
    out.resize(start + in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (!table.known[b]) {
            out.resize(start);
            return false;
        }
        out[start + i] = table.units[b];
    }
    return true;
}

Result Decode(const CodePageInfo& info, std::string_view in, bool strict, WideString& out) {
    switch (info.kind) {
    case Kind::Iconv:
        if (const ByteTable* table = SingleByteTable(info); table && TableDecode(*table, in, out)) return Result::Ok;
        return IconvDecode(info.decodeName, in, strict, out);
    case Kind::Utf8: return Utf8Decode(in, strict, out);
    case Kind::Utf16LE: return Utf16Decode(in, false, strict, out);
    case Kind::Utf16BE: return Utf16Decode(in, true, strict, out);
    case Kind::Hz: return HzDecode(in, strict, out);
    case Kind::Symbol: SymbolDecode(in, out); return Result::Ok;
    }
    return Result::Unsupported;
}

Result Encode(const CodePageInfo& info, std::u16string_view in, DefaultPolicy& policy, AnsiString& out) {
    switch (info.kind) {
    case Kind::Iconv: return IconvEncode(info.encodeName ? info.encodeName : info.decodeName, in, policy, out);
    case Kind::Utf8: return Utf8Encode(in, policy, out);
    case Kind::Utf16LE: Utf16Encode(in, false, out); return Result::Ok;
    case Kind::Utf16BE: Utf16Encode(in, true, out); return Result::Ok;
    case Kind::Hz: return HzEncode(in, policy, out);
    case Kind::Symbol: return SymbolEncode(in, policy, out);
    }
    return Result::Unsupported;
}

bool IsStateful(const CodePageInfo& info) {
    return info.kind == Kind::Hz || info.cp == CP_UTF7 || (info.cp >= 50220 && info.cp <= 50229);
}

bool IsLeadByte(const CodePageInfo& info, BYTE b) {
    const auto& r = info.leadBytes;
    return (r[0] && b >= r[0] && b <= r[1]) || (r[2] && b >= r[2] && b <= r[3]);
}

bool IsAvailable(const CodePageInfo& info) {
    if (info.kind != Kind::Iconv && info.kind != Kind::Hz) return true;
    const char* name = info.kind == Kind::Hz ? "EUC-CN" : info.decodeName;
    if (Converters().Get(kNativeUtf16, name) == IconvCache::Invalid()) return false;
    const char* enc = info.kind == Kind::Hz ? "EUC-CN" : (info.encodeName ? info.encodeName : info.decodeName);
    return Converters().Get(enc, kNativeUtf16) != IconvCache::Invalid();
}

// Copies a converted result into the caller's buffer the Win32 way.
template <class Char>
int Deliver(const std::basic_string<Char>& result, Char* dest, int destSize) {
    if (result.size() > static_cast<std::size_t>(INT_MAX)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const int needed = static_cast<int>(result.size());
    if (destSize == 0) return needed;
    if (needed > destSize) {
        std::copy_n(result.data(), destSize, dest);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy_n(result.data(), needed, dest);
    return needed;
}

}  // namespace

UINT GetACP() { return CP_UTF8; }

UINT GetOEMCP() { return 437; }

BOOL IsValidCodePage(UINT CodePage) {
    const CodePageInfo* info = FindCodePage(CodePage);
    return info && IsAvailable(*info) ? TRUE : FALSE;
}

BOOL GetCPInfo(UINT CodePage, CPINFO* lpCPInfo) {
    const CodePageInfo* info = FindCodePage(CodePage);
    if (!lpCPInfo || !info || !IsAvailable(*info)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpCPInfo = CPINFO{};
    lpCPInfo->MaxCharSize = info->maxCharSize;
    lpCPInfo->DefaultChar[0] = '?';
    if (info->maxCharSize == 2)  // lead-byte ranges are reported for double-byte code pages only
        std::copy(info->leadBytes.begin(), info->leadBytes.end(), lpCPInfo->LeadByte);
    return TRUE;
}

BOOL IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar) {
    const CodePageInfo* info = FindCodePage(CodePage);
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return info->maxCharSize == 2 && IsLeadByte(*info, TestChar) ? TRUE : FALSE;
}

BOOL IsDBCSLeadByte(BYTE TestChar) { return IsDBCSLeadByteEx(CP_ACP, TestChar); }

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, const char* lpMultiByteStr, int cbMultiByte,
                        char16_t* lpWideCharStr, int cchWideChar) {
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && !lpWideCharStr) ||
        static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (dwFlags & ~(MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const CodePageInfo* info = FindCodePage(CodePage);
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t length;
    if (cbMultiByte >= 0) {
        length = static_cast<std::size_t>(cbMultiByte);
    } else if (info->kind == Kind::Utf16LE || info->kind == Kind::Utf16BE) {
        length = 0;
        while (lpMultiByteStr[length] || lpMultiByteStr[length + 1]) length += 2;
        length += 2;
    } else {
        length = std::strlen(lpMultiByteStr) + 1;
    }
    WideString result;
    switch (Decode(*info, std::string_view(lpMultiByteStr, length), (dwFlags & MB_ERR_INVALID_CHARS) != 0, result)) {
    case Result::Ok: break;
    case Result::Invalid: SetLastError(ERROR_NO_UNICODE_TRANSLATION); return 0;
    case Result::Unsupported: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
    return Deliver(result, lpWideCharStr, cchWideChar);
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, const char16_t* lpWideCharStr, int cchWideChar,
                        char* lpMultiByteStr, int cbMultiByte, const char* lpDefaultChar,
                        BOOL* lpUsedDefaultChar) {
    if (lpUsedDefaultChar) *lpUsedDefaultChar = FALSE;
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && !lpMultiByteStr) ||
        static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (dwFlags & ~(WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | WC_ERR_INVALID_CHARS |
                    WC_NO_BEST_FIT_CHARS)) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const CodePageInfo* info = FindCodePage(CodePage);
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t length = cchWideChar >= 0 ? static_cast<std::size_t>(cchWideChar)
                                                : std::char_traits<char16_t>::length(lpWideCharStr) + 1;
    DefaultPolicy policy;
    policy.strict = (dwFlags & WC_ERR_INVALID_CHARS) != 0;
    if (info->cp == CP_UTF8 || info->cp == CP_UTF7) policy.defaultChar = kReplacement;
    // A caller's default character is raw bytes of the code page; stateful code pages and UTF
    // forms use their own ('?' or U+FFFD written through the encoder).
    if (lpDefaultChar && *lpDefaultChar && !IsStateful(*info) && info->kind != Kind::Utf8) {
        const auto first = static_cast<BYTE>(lpDefaultChar[0]);
        const std::size_t n = IsLeadByte(*info, first) && lpDefaultChar[1] ? 2 : 1;
        policy.defaultBytes = std::string_view(lpDefaultChar, n);
    }
    AnsiString result;
    switch (Encode(*info, std::u16string_view(lpWideCharStr, length), policy, result)) {
    case Result::Ok: break;
    case Result::Invalid: SetLastError(ERROR_NO_UNICODE_TRANSLATION); return 0;
    case Result::Unsupported: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
    if (lpUsedDefaultChar) *lpUsedDefaultChar = policy.usedDefault ? TRUE : FALSE;
    return Deliver(result, lpMultiByteStr, cbMultiByte);
}

namespace {

// Charset names compare by their letters and digits only: "ISO_8859-1", "iso-8859-1" and
// "ISO8859-1" are one name.
std::string NormalizeCharsetName(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') key.push_back(static_cast<char>(c - 'A' + 'a'));
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) key.push_back(c);
    }
    return key;
}

const std::unordered_map<std::string, UINT>& CharsetNames() {
    // An object, not a leaked pointer: the support library that holds a copy of this code
    // can be unloaded, and must then free it.
    static const std::unordered_map<std::string, UINT> names = [] {
        std::unordered_map<std::string, UINT> map;
        for (const CodePageInfo& e : kCodePages) {
            std::string_view list = e.names;
            while (!list.empty()) {
                const std::size_t space = list.find(' ');
                map.emplace(NormalizeCharsetName(list.substr(0, space)), e.cp);  // first claim wins
                list = space == std::string_view::npos ? std::string_view() : list.substr(space + 1);
            }
        }
        return map;
    }();
    return names;
}

}  // namespace

UINT CodePageFromCharsetName(std::string_view name) {
    const std::string key = NormalizeCharsetName(name);
    if (key.empty()) return 0;
    const auto& names = CharsetNames();
    if (auto it = names.find(key); it != names.end()) return it->second;
    // Numbered forms: cp1250, windows-1250, x-cp1250, ibm850, ms936.
    for (std::string_view prefix : {"windows", "xcp", "cp", "ibm", "ms"}) {
        if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string_view digits = std::string_view(key).substr(prefix.size());
        if (digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const UINT cp = static_cast<UINT>(std::stoul(std::string(digits)));
        if (cp > CP_THREAD_ACP && FindCodePage(cp)) return cp;
    }
    return 0;
}

const char* CharsetNameOfCodePage(UINT codePage) {
    static const std::unordered_map<UINT, std::string> preferred = [] {
        std::unordered_map<UINT, std::string> map;
        for (const CodePageInfo& e : kCodePages) {
            const std::string_view list = e.names;
            if (!list.empty()) map.emplace(e.cp, std::string(list.substr(0, list.find(' '))));
        }
        return map;
    }();
    const auto it = preferred.find(ResolveCodePage(codePage));
    return it == preferred.end() ? nullptr : it->second.c_str();
}

UINT CodePageOfLocale(LCID locale) {
    const LANGID lang = static_cast<LANGID>(locale & 0xFFFF);
    // Locales whose sublanguage changes the code page (script or region).
    switch (lang) {
    case 0x0404: case 0x0C04: case 0x1404: case 0x7C04: return 950;  // Chinese, traditional
    case 0x0804: case 0x1004: case 0x0004: return 936;                // Chinese, simplified
    case 0x081A: case 0x141A: case 0x181A: case 0x241A: case 0x2C1A: case 0x041A: case 0x101A:
        return 1250;  // Serbian, Bosnian and Croatian in Latin script
    case 0x0C1A: case 0x1C1A: case 0x201A: case 0x281A: case 0x301A:
        return 1251;  // Serbian and Bosnian in Cyrillic script
    case 0x042C: return 1254;  // Azerbaijani, Latin
    case 0x082C: return 1251;  // Azerbaijani, Cyrillic
    case 0x0443: return 1254;  // Uzbek, Latin
    case 0x0843: return 1251;  // Uzbek, Cyrillic
    case 0x0450: return 1251;  // Mongolian, Cyrillic
    case 0x0400: case 0x0800: case 0x0000: return 0;  // default and neutral locales name no language
    default: break;
    }
    switch (lang & 0x3FF) {  // primary language
    case 0x01: case 0x20: case 0x29: case 0x80: case 0x8C: case 0x92: return 1256;  // Arabic script
    case 0x02: case 0x19: case 0x22: case 0x23: case 0x28: case 0x2F: case 0x3F: case 0x40:
    case 0x44: case 0x6D: case 0x85: case 0x50: return 1251;  // Cyrillic
    case 0x04: return 936;
    case 0x05: case 0x0E: case 0x15: case 0x18: case 0x1A: case 0x1B: case 0x1C: case 0x24: case 0x42:
        return 1250;  // Central European
    case 0x08: return 1253;
    case 0x0D: return 1255;
    case 0x11: return 932;
    case 0x12: return 949;
    case 0x1E: return 874;
    case 0x1F: case 0x2C: case 0x43: return 1254;
    case 0x25: case 0x26: case 0x27: return 1257;
    case 0x2A: return 1258;
    case 0x03: case 0x06: case 0x07: case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0F: case 0x10:
    case 0x13: case 0x14: case 0x16: case 0x17: case 0x1D: case 0x21: case 0x2D: case 0x2E: case 0x32:
    case 0x34: case 0x35: case 0x36: case 0x38: case 0x3B: case 0x3C: case 0x3E: case 0x41: case 0x52:
    case 0x56: case 0x5D: case 0x62: case 0x64: case 0x68: case 0x6A: case 0x6B: case 0x6C: case 0x6E:
    case 0x6F: case 0x70: case 0x7A: case 0x7C: case 0x7E: case 0x82: case 0x83: case 0x84: case 0x86:
    case 0x87: case 0x88:
        return 1252;  // Western European and other Latin-script languages
    default: return 0;  // unknown, or a locale with no ANSI code page (Unicode only)
    }
}

WideString DecodeCodePage(UINT codePage, std::string_view bytes) {
    UINT cp = ResolveCodePage(codePage);
    switch (cp) {  // supersets that browsers and mail programs read these labels with
    case 28591: case 20127: cp = 1252; break;
    case 28599: cp = 1254; break;
    case 51936: cp = 936; break;
    case 51949: cp = 949; break;
    default: break;
    }
    const CodePageInfo* info = FindCodePage(cp);
    if (!info || !IsAvailable(*info)) info = FindCodePage(1252);
    WideString out;
    if (Decode(*info, bytes, false, out) != Result::Ok) {
        out.clear();  // no converter at all on this system: keep the bytes as Latin-1
        for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
    }
    return out;
}

AnsiString EncodeCodePage(UINT codePage, std::u16string_view text) {
    const CodePageInfo* info = FindCodePage(codePage);
    if (!info || !IsAvailable(*info)) info = FindCodePage(1252);
    DefaultPolicy policy;
    if (info->cp == CP_UTF8 || info->cp == CP_UTF7) policy.defaultChar = kReplacement;
    AnsiString out;
    if (Encode(*info, text, policy, out) != Result::Ok) {
        out.clear();
        for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return out;
}
