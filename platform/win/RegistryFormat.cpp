#include "platform/win/RegistryFormat.h"

#include <cstdio>

#include "platform/win/Registry.h"
#include "platform/win/WinString.h"

namespace {

constexpr char kHex[] = "0123456789abcdef";

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Appends lead followed by the code unit as four hex digits.
void AppendUnitEscape(std::string& out, std::string_view lead, char16_t c) {
    out += lead;
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(c >> shift) & 0xF]);
}

// Appends text as UTF-8, escaping through escape(c) the code units it claims.
template <class Escape>
void AppendText(std::string& out, std::u16string_view s, Escape escape) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (IsHigh(c) && i + 1 < s.size() && IsLow(s[i + 1])) {
            out += Utf16ToUtf8(s.substr(i, 2));
            ++i;
        } else if (!escape(out, c, IsHigh(c) || IsLow(c))) {
            out += Utf16ToUtf8(s.substr(i, 1));
        }
    }
}

void AppendQuoted(std::string& out, std::u16string_view s) {
    out.push_back('"');
    AppendText(out, s, [](std::string& o, char16_t c, bool loneSurrogate) {
        switch (c) {
        case u'\\': o += "\\\\"; return true;
        case u'"': o += "\\\""; return true;
        case u'\n': o += "\\n"; return true;
        case u'\r': o += "\\r"; return true;
        case u'\t': o += "\\t"; return true;
        default: break;
        }
        if (c < 0x20 || c == 0x7F || loneSurrogate) {
            AppendUnitEscape(o, "\\u", c);
            return true;
        }
        return false;
    });
    out.push_back('"');
}

void AppendKeyName(std::string& out, std::u16string_view s) {
    AppendText(out, s, [](std::string& o, char16_t c, bool loneSurrogate) {
        if (c == u'%' || c < 0x20 || c == 0x7F || loneSurrogate) {
            AppendUnitEscape(o, "%", c);
            return true;
        }
        return false;
    });
}

void AppendHexBytes(std::string& out, const std::vector<BYTE>& data) {
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i) out.push_back(',');
        out.push_back(kHex[data[i] >> 4]);
        out.push_back(kHex[data[i] & 0xF]);
    }
}

std::u16string_view Units(const std::vector<BYTE>& data) {
    return {reinterpret_cast<const char16_t*>(data.data()), data.size() / 2};
}

std::vector<BYTE> Bytes(std::u16string_view units) {
    const auto* p = reinterpret_cast<const BYTE*>(units.data());
    return std::vector<BYTE>(p, p + units.size() * 2);
}

// The text of a string value whose bytes are exactly that text and one terminating NUL.
bool CanonicalText(const std::vector<BYTE>& data, std::u16string_view& text) {
    if (data.size() < 2 || data.size() % 2) return false;
    const std::u16string_view u = Units(data);
    if (u.back() != 0 || u.substr(0, u.size() - 1).find(char16_t(0)) != std::u16string_view::npos)
        return false;
    text = u.substr(0, u.size() - 1);
    return true;
}

WideString MultiUnits(const std::vector<WideString>& items) {
    WideString u;
    for (const auto& s : items) {
        u += s;
        u.push_back(0);
    }
    u.push_back(0);
    if (items.empty()) u.resize(1);  // an empty list is a single NUL
    return u;
}

// The strings of a multi-string value whose bytes are exactly what MultiUnits gives back.
bool CanonicalMulti(const std::vector<BYTE>& data, std::vector<WideString>& items) {
    if (data.size() < 2 || data.size() % 2) return false;
    const std::u16string_view u = Units(data);
    std::size_t start = 0;
    while (start < u.size()) {
        const std::size_t end = u.find(char16_t(0), start);
        if (end == std::u16string_view::npos || end == start) break;
        items.emplace_back(u.substr(start, end - start));
        start = end + 1;
    }
    return MultiUnits(items) == u;
}

std::uint64_t LittleEndian(const std::vector<BYTE>& data) {
    std::uint64_t v = 0;
    for (std::size_t i = data.size(); i-- > 0;) v = (v << 8) | data[i];
    return v;
}

void AppendValue(std::string& out, const RegistryValue& v) {
    if (v.name.empty())
        out.push_back('@');
    else
        AppendQuoted(out, v.name);
    out.push_back('=');
    std::u16string_view text;
    std::vector<WideString> items;
    if ((v.type == REG_SZ || v.type == REG_EXPAND_SZ) && CanonicalText(v.data, text)) {
        out += v.type == REG_SZ ? "sz:" : "expand:";
        AppendQuoted(out, text);
    } else if (v.type == REG_MULTI_SZ && CanonicalMulti(v.data, items)) {
        out += "multi:";
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i) out.push_back(',');
            AppendQuoted(out, items[i]);
        }
    } else if ((v.type == REG_DWORD && v.data.size() == 4) || (v.type == REG_QWORD && v.data.size() == 8)) {
        char buf[24];
        const auto n = static_cast<unsigned long long>(LittleEndian(v.data));
        std::snprintf(buf, sizeof buf, v.type == REG_DWORD ? "dword:%08llx" : "qword:%016llx", n);
        out += buf;
    } else if (v.type == REG_BINARY) {
        out += "binary:";
        AppendHexBytes(out, v.data);
    } else {
        out += "type(" + std::to_string(v.type) + "):";
        AppendHexBytes(out, v.data);
    }
    out.push_back('\n');
}

void AppendKey(std::string& out, const RegistryKey& key, std::string& path, bool isRoot) {
    if (!isRoot || !key.values().empty()) {
        out += "\n[" + path + "]\n";
        for (const auto& v : key.values()) AppendValue(out, v);
    }
    for (const auto& [folded, sub] : key.subkeys()) {
        const std::size_t mark = path.size();
        if (!isRoot) path.push_back('\\');
        AppendKeyName(path, sub->name());
        AppendKey(out, *sub, path, false);
        path.resize(mark);
    }
}

// Reading: a cursor over one line.
class LineReader {
public:
    explicit LineReader(std::string_view s) : s_(s) {}
    bool atEnd() const { return i_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[i_]; }
    bool take(char c) {
        if (peek() != c) return false;
        ++i_;
        return true;
    }
    bool take(std::string_view word) {
        if (s_.substr(i_, word.size()) != word) return false;
        i_ += word.size();
        return true;
    }
    void skipSpaces() {
        while (peek() == ' ' || peek() == '\t') ++i_;
    }

    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    // Exactly n hex digits.
    bool hexUnits(int n, std::uint64_t& v) {
        if (s_.size() - i_ < static_cast<std::size_t>(n)) return false;
        v = 0;
        for (int k = 0; k < n; ++k) {
            const int d = HexDigit(s_[i_ + k]);
            if (d < 0) return false;
            v = (v << 4) | static_cast<unsigned>(d);
        }
        i_ += n;
        return true;
    }
    // 1 to maxDigits hex digits.
    bool hexNumber(int maxDigits, std::uint64_t& v) {
        int n = 0;
        v = 0;
        while (n < maxDigits && HexDigit(peek()) >= 0) {
            v = (v << 4) | static_cast<unsigned>(HexDigit(peek()));
            ++i_;
            ++n;
        }
        return n > 0 && HexDigit(peek()) < 0;
    }
    bool decimal(DWORD& v) {
        std::uint64_t n = 0;
        int digits = 0;
        while (peek() >= '0' && peek() <= '9' && digits < 10) {
            n = n * 10 + static_cast<unsigned>(peek() - '0');
            ++i_;
            ++digits;
        }
        if (!digits || n > 0xFFFFFFFFu || (peek() >= '0' && peek() <= '9')) return false;
        v = static_cast<DWORD>(n);
        return true;
    }
    bool hexBytes(std::vector<BYTE>& out) {
        if (atEnd()) return true;
        do {
            std::uint64_t b;
            if (!hexUnits(2, b)) return false;
            out.push_back(static_cast<BYTE>(b));
        } while (take(','));
        return atEnd();
    }
    bool quoted(WideString& out) {
        if (!take('"')) return false;
        std::size_t run = i_;
        const auto flush = [&] { out += Utf8ToUtf16(s_.substr(run, i_ - run)); };
        while (!atEnd()) {
            const char c = s_[i_];
            if (c == '"') {
                flush();
                ++i_;
                return true;
            }
            if (c != '\\') {
                ++i_;
                continue;
            }
            flush();
            ++i_;
            const char e = peek();
            ++i_;
            std::uint64_t u;
            switch (e) {
            case '\\': out.push_back(u'\\'); break;
            case '"': out.push_back(u'"'); break;
            case 'n': out.push_back(u'\n'); break;
            case 'r': out.push_back(u'\r'); break;
            case 't': out.push_back(u'\t'); break;
            case 'u':
                if (!hexUnits(4, u)) return false;
                out.push_back(static_cast<char16_t>(u));
                break;
            default: return false;
            }
            run = i_;
        }
        return false;
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
};

bool ParseKeyPath(std::string_view s, std::vector<WideString>& path) {
    WideString name;
    std::size_t run = 0;
    std::size_t i = 0;
    const auto flush = [&] { name += Utf8ToUtf16(s.substr(run, i - run)); };
    const auto endName = [&] {
        if (!name.empty()) path.push_back(std::move(name));
        name.clear();
    };
    while (i < s.size()) {
        if (s[i] == '\\') {
            flush();
            endName();
            run = ++i;
        } else if (s[i] == '%') {
            flush();
            LineReader r(s.substr(i + 1, 4));
            std::uint64_t u;
            if (!r.hexUnits(4, u)) return false;
            name.push_back(static_cast<char16_t>(u));
            i += 5;
            run = i;
        } else {
            ++i;
        }
    }
    flush();
    endName();
    return true;
}

bool ParseValue(std::string_view line, RegistryKey& key) {
    LineReader r(line);
    WideString name;
    if (!r.take('@') && !r.quoted(name)) return false;
    r.skipSpaces();
    if (!r.take('=')) return false;
    r.skipSpaces();
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    const auto number = [&](int bytes) {
        std::uint64_t n;
        if (!r.hexNumber(bytes * 2, n) || !r.atEnd()) return false;
        for (int i = 0; i < bytes; ++i) data.push_back(static_cast<BYTE>(n >> (8 * i)));
        return true;
    };
    const auto text = [&] {
        WideString s;
        if (!r.quoted(s) || !r.atEnd()) return false;
        s.push_back(0);
        data = Bytes(s);
        return true;
    };
    if (r.take("sz:")) {
        type = REG_SZ;
        if (!text()) return false;
    } else if (r.take("expand:")) {
        type = REG_EXPAND_SZ;
        if (!text()) return false;
    } else if (r.take("multi:")) {
        type = REG_MULTI_SZ;
        std::vector<WideString> items;
        if (!r.atEnd()) {
            do {
                WideString s;
                r.skipSpaces();
                if (!r.quoted(s) || s.empty()) return false;
                items.push_back(std::move(s));
                r.skipSpaces();
            } while (r.take(','));
        }
        if (!r.atEnd()) return false;
        data = Bytes(MultiUnits(items));
    } else if (r.take("dword:")) {
        type = REG_DWORD;
        if (!number(4)) return false;
    } else if (r.take("qword:")) {
        type = REG_QWORD;
        if (!number(8)) return false;
    } else if (r.take("binary:")) {
        type = REG_BINARY;
        if (!r.hexBytes(data)) return false;
    } else if (r.take("type(")) {
        if (!r.decimal(type) || !r.take("):") || !r.hexBytes(data)) return false;
    } else {
        return false;
    }
    key.setValue(name, type, std::move(data));
    return true;
}

}  // namespace

std::string WriteRegistryText(const RegistryKey& root) {
    std::string out(kRegistryFileHeader);
    out += "\n; Quillora settings. UTF-8; edit only while the program is not running.\n";
    std::string path;
    AppendKey(out, root, path, true);
    return out;
}

bool ReadRegistryText(std::string_view text, RegistryKey& root, std::string& error) {
    if (text.size() > kRegistryFileMaxBytes) {
        error = "file is larger than 64 MiB";
        return false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (!IsValidUtf8(text)) {
        error = "file is not valid UTF-8";
        return false;
    }
    RegistryKey* key = nullptr;
    std::size_t lineNo = 0;
    bool sawHeader = false;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        ++lineNo;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        const auto fail = [&](const char* what) {
            error = "line " + std::to_string(lineNo) + ": " + what;
            return false;
        };
        if (!sawHeader) {
            if (line != kRegistryFileHeader) return fail("missing or unknown version header");
            sawHeader = true;
            continue;
        }
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return fail("section header without ']'");
            std::vector<WideString> path;
            if (!ParseKeyPath(line.substr(1, line.size() - 2), path)) return fail("bad key name");
            key = &root;
            for (const auto& name : path) key = &key->createSubkey(name);
            continue;
        }
        if (!key) return fail("value outside a key section");
        if (!ParseValue(line, *key)) return fail("value does not parse");
    }
    if (!sawHeader) {
        error = "missing version header";
        return false;
    }
    return true;
}
