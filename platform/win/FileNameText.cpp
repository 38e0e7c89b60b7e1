#include "platform/win/FileNameText.h"

#include "platform/win/WinString.h"

namespace {

// The length of the well-formed UTF-8 sequence at text[i]; 0 when there is none.
std::size_t ValidSequence(std::string_view text, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    const std::size_t n = b0 < 0x80 ? 1 : b0 >= 0xC2 && b0 <= 0xDF ? 2 : b0 >= 0xE0 && b0 <= 0xEF ? 3 : b0 >= 0xF0 && b0 <= 0xF4 ? 4 : 0;
    return n && i + n <= text.size() && IsValidUtf8(text.substr(i, n)) ? n : 0;
}

}  // namespace

WideString FileNameToUtf16(std::string_view bytes) {
    WideString out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (const std::size_t n = ValidSequence(bytes, i)) {
            out += Utf8ToUtf16(bytes.substr(i, n));
            i += n;
        } else {
            // Only the first byte is escaped: the rest may start a sequence of their own.
            out += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[i++]));
        }
    }
    return out;
}

AnsiString FileNameFromUtf16(std::u16string_view name) {
    AnsiString out;
    out.reserve(name.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] < 0xDC80 || name[i] > 0xDCFF) continue;
        // A low surrogate after a high one is half of a pair, not an escaped byte.
        if (i > 0 && name[i - 1] >= 0xD800 && name[i - 1] <= 0xDBFF) continue;
        out += Utf16ToUtf8(name.substr(start, i - start));
        out += static_cast<char>(name[i] - 0xDC00);
        start = i + 1;
    }
    out += Utf16ToUtf8(name.substr(start));
    return out;
}
