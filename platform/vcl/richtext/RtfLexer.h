// Splits RTF bytes into tokens: groups, control words and symbols, hexadecimal bytes, text runs
// and binary data. Every size is bounded by the input: numbers saturate, a \bin count larger
// than what remains takes only what remains, and a backslash at the end is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace richtext {

enum class RtfTokenKind {
    End,          // no more input
    GroupStart,   // {
    GroupEnd,     // }
    ControlWord,  // \word or \wordN (name, hasParam, param)
    ControlSymbol,// \ followed by one non-letter, other than the escapes below (symbol)
    HexByte,      // \'hh (byte)
    Text,         // a run of literal bytes (text); \\ \{ \} arrive as one-byte runs
    Binary,       // the bytes after \binN (text)
};

struct RtfToken {
    RtfTokenKind kind = RtfTokenKind::End;
    std::string_view name;   // control word name, at most kMaxWordLength letters
    bool hasParam = false;
    std::int32_t param = 0;  // saturated to the 32-bit range
    char symbol = 0;
    std::uint8_t byte = 0;
    std::string_view text;
};

class RtfLexer {
public:
    static constexpr std::size_t kMaxWordLength = 32;

    explicit RtfLexer(std::string_view input) : input_(input) {}

    RtfToken Next();
    // Bytes consumed so far.
    std::size_t Offset() const { return pos_; }

private:
    RtfToken LexControl();

    std::string_view input_;
    std::size_t pos_ = 0;
};

}  // namespace richtext
