#include "app/TransferDecoding.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

AnsiString DecodeQuotedPrintable(std::string_view text) {
    AnsiString out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '=') {
            out.push_back(c);
            continue;
        }
        if (i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2])));
            i += 2;
            continue;
        }
        // A soft line break: "=" with only blanks before the line end.
        size_t j = i + 1;
        while (j < text.size() && (text[j] == ' ' || text[j] == '\t')) ++j;
        if (j < text.size() && (text[j] == '\r' || text[j] == '\n')) {
            if (text[j] == '\r' && j + 1 < text.size() && text[j + 1] == '\n') ++j;
            i = j;
            continue;
        }
        out.push_back(c);
    }
    return out;
}

AnsiString DecodeBase64(std::string_view text) {
    AnsiString out;
    out.reserve(text.size() / 4 * 3 + 3);
    unsigned bits = 0;
    int count = 0;
    for (const char c : text) {
        if (c == '=') break;
        const int v = Base64Value(c);
        if (v < 0) continue;
        bits = ((bits << 6) | static_cast<unsigned>(v)) & 0xFFFFu;
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(static_cast<char>((bits >> count) & 0xFF));
        }
    }
    return out;
}
