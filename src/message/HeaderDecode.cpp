#include "message/HeaderDecode.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "app/CharsetConv.h"
#include "platform/win/WinString.h"
#include "platform/mime/IdHeaderList.h"

namespace {

struct Parameter {
    std::string name;  // lower case
    std::string value;
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The "name=value" items of a structured header value, in order. Items are separated by ";"
// outside quotes; an item without "=" (the value's first word, "attachment") is left out.
std::vector<Parameter> SplitParameters(std::string_view text) {
    std::vector<Parameter> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t itemEnd = text.find_first_of(";=", i);
        if (itemEnd == std::string_view::npos) break;
        if (text[itemEnd] == ';') {
            i = itemEnd + 1;
            continue;
        }
        Parameter p;
        p.name = Lower(Trim(text.substr(i, itemEnd - i)));
        i = itemEnd + 1;
        while (i < text.size() && IsSpace(text[i])) ++i;
        if (i < text.size() && text[i] == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size()) ++i;
                p.value.push_back(text[i]);
            }
            const std::size_t next = text.find(';', i);
            i = next == std::string_view::npos ? text.size() : next + 1;
        } else {
            const std::size_t next = text.find(';', i);
            const std::size_t end = next == std::string_view::npos ? text.size() : next;
            p.value = Trim(text.substr(i, end - i));
            i = end == text.size() ? end : end + 1;
        }
        if (!p.name.empty()) out.push_back(std::move(p));
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%HH" gives its byte; every other character, a "%" without two digits included, stays.
std::string PercentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// One part of an RFC 2231 value: "name*" (number 0, encoded), "name*N" or "name*N*".
struct Section {
    std::string value;
    bool encoded = false;
};

std::optional<std::pair<int, bool>> SectionOf(std::string_view name, std::string_view param) {
    if (name.size() <= param.size() || name.substr(0, param.size()) != param || name[param.size()] != '*')
        return std::nullopt;
    std::string_view rest = name.substr(param.size() + 1);
    if (rest.empty()) return std::make_pair(0, true);
    const bool encoded = rest.back() == '*';
    if (encoded) rest.remove_suffix(1);
    if (rest.empty() || rest.size() > 4 || rest.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return std::make_pair(std::stoi(std::string(rest)), encoded);
}

}  // namespace

WideString DecodeHeaderText(const AnsiString& text, const AnsiString& charset) {
    return ConvertCharsetW(nullptr, text, charset);
}

WideString DecodeHeaderParam(const AnsiString& value, const AnsiString& param, const AnsiString& charset) {
    const std::string wanted = Lower(param);
    if (wanted.empty()) return {};
    std::optional<std::string> plain;
    std::map<int, Section> sections;
    for (Parameter& p : SplitParameters(value)) {
        if (p.name == wanted) {
            if (!plain) plain = std::move(p.value);
        } else if (const auto section = SectionOf(p.name, wanted)) {
            sections.emplace(section->first, Section{std::move(p.value), section->second});
        }
    }
    if (!sections.empty()) {
        std::string bytes;
        std::string cs = charset;
        bool first = true;
        for (const auto& [number, section] : sections) {
            std::string_view data = section.value;
            if (first && section.encoded) {
                // charset'language'data; either part may be empty.
                const std::size_t q1 = data.find('\'');
                if (q1 != std::string_view::npos) {
                    if (q1 > 0) cs = data.substr(0, q1);
                    const std::size_t q2 = data.find('\'', q1 + 1);
                    data.remove_prefix((q2 == std::string_view::npos ? q1 : q2) + 1);
                }
            }
            bytes += section.encoded ? PercentDecode(data) : std::string(data);
            first = false;
        }
        return ConvertCharsetBytes(bytes, cs);
    }
    if (plain) {
        // Raw 8-bit bytes that form valid UTF-8 were written as UTF-8, whatever the message
        // declares for its text: a legacy charset would turn "é" into "Ã©".
        const bool utf8 = std::any_of(plain->begin(), plain->end(), [](char c) { return (c & 0x80) != 0; }) &&
                          IsValidUtf8(*plain);
        return DecodeHeaderText(*plain, utf8 ? AnsiString("utf-8") : charset);
    }
    return {};
}

WideString GetDecodedHeader(TIdHeaderList& list, const AnsiString& name, const AnsiString& param,
                            const AnsiString& charset) {
    list.UnfoldLines = true;
    const AnsiString value = list.Values(name);
    if (value.empty()) return {};
    if (!param.empty()) return DecodeHeaderParam(value, param, charset);
    return DecodeHeaderText(value, charset);
}
