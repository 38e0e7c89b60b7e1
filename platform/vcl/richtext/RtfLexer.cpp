#include "platform/vcl/richtext/RtfLexer.h"

#include <algorithm>
#include <limits>

namespace richtext {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

RtfToken Token(RtfTokenKind kind) {
    RtfToken t;
    t.kind = kind;
    return t;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

RtfToken RtfLexer::Next() {
    while (pos_ < input_.size()) {
        const char c = input_[pos_];
        if (c == '{') {
            ++pos_;
            return Token(RtfTokenKind::GroupStart);
        }
        if (c == '}') {
            ++pos_;
            return Token(RtfTokenKind::GroupEnd);
        }
        if (c == '\\') {
            // An escape that yields nothing (\' without hex digits) is skipped here, in the loop,
            // so a long run of them cannot deepen the stack.
            const std::size_t before = pos_;
            RtfToken t = LexControl();
            if (t.kind != RtfTokenKind::End || pos_ >= input_.size() || pos_ == before) return t;
            continue;
        }
        if (c == '\r' || c == '\n') {  // line ends carry no meaning in RTF
            ++pos_;
            continue;
        }
        const std::size_t start = pos_;
        while (pos_ < input_.size()) {
            const char d = input_[pos_];
            if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n') break;
            ++pos_;
        }
        RtfToken t = Token(RtfTokenKind::Text);
        t.text = input_.substr(start, pos_ - start);
        return t;
    }
    return {};
}

RtfToken RtfLexer::LexControl() {
    ++pos_;  // the backslash
    if (pos_ >= input_.size()) return {};
    const char c = input_[pos_];
    if (!IsLetter(c)) {
        ++pos_;
        if (c == '\'') {
            // \'hh; a malformed escape yields what hex digits there are (none gives 0 and is dropped)
            int value = 0, digits = 0;
            while (digits < 2 && pos_ < input_.size() && HexValue(input_[pos_]) >= 0) {
                value = value * 16 + HexValue(input_[pos_]);
                ++pos_;
                ++digits;
            }
            if (digits == 0) return {};  // dropped; Next() goes on with the following input
            RtfToken t = Token(RtfTokenKind::HexByte);
            t.byte = static_cast<std::uint8_t>(value);
            return t;
        }
        if (c == '\\' || c == '{' || c == '}') {
            RtfToken t = Token(RtfTokenKind::Text);
            t.text = input_.substr(pos_ - 1, 1);
            return t;
        }
        if (c == '\r' || c == '\n') {  // an escaped line end is a paragraph mark
            RtfToken t = Token(RtfTokenKind::ControlWord);
            t.name = "par";
            return t;
        }
        RtfToken t = Token(RtfTokenKind::ControlSymbol);
        t.symbol = c;
        return t;
    }

    const std::size_t start = pos_;
    while (pos_ < input_.size() && IsLetter(input_[pos_])) ++pos_;
    RtfToken t = Token(RtfTokenKind::ControlWord);
    t.name = input_.substr(start, std::min(pos_ - start, kMaxWordLength));

    bool negative = false;
    if (pos_ + 1 < input_.size() && input_[pos_] == '-' && IsDigit(input_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < input_.size() && IsDigit(input_[pos_])) {
        std::int64_t value = 0;
        constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
        while (pos_ < input_.size() && IsDigit(input_[pos_])) {
            value = std::min<std::int64_t>(value * 10 + (input_[pos_] - '0'), kLimit + 1);
            ++pos_;
        }
        t.hasParam = true;
        if (negative) value = -value;
        t.param = static_cast<std::int32_t>(std::clamp<std::int64_t>(
            value, std::numeric_limits<std::int32_t>::min(), kLimit));
    }
    if (pos_ < input_.size() && input_[pos_] == ' ') ++pos_;  // the delimiting blank

    if (t.name == "bin") {
        const std::size_t want = t.hasParam && t.param > 0 ? static_cast<std::size_t>(t.param) : 0;
        const std::size_t take = std::min(want, input_.size() - pos_);
        RtfToken b = Token(RtfTokenKind::Binary);
        b.text = input_.substr(pos_, take);
        pos_ += take;
        return b;
    }
    return t;
}

}  // namespace richtext
