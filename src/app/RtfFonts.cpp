#include "app/RtfFonts.h"

#include <string>

#include "platform/vcl/richtext/RtfLexer.h"

using richtext::RtfLexer;
using richtext::RtfToken;
using richtext::RtfTokenKind;

namespace Helpers {

namespace {

// Code page 0 means "the system's" to the writers of such RTF: the legacy Western one.
constexpr int kLegacyCodePage = 1252;

AnsiString CodePageName(int codePage) { return "CP" + std::to_string(codePage); }

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

Fonts::Fonts(std::string_view rtf) {
    ReadDefaultCodePage(rtf);
    ParseFontTable(rtf);
}

void Fonts::SelectFont(int number) {
    const auto it = fontCodePages.find(number);
    if (it == fontCodePages.end()) return;
    currentFont = number;
    currentCodePage = it->second;
}

void Fonts::RestoreFont(int number) {
    const auto it = fontCodePages.find(number);
    currentFont = it == fontCodePages.end() ? -1 : number;
    currentCodePage = it == fontCodePages.end() ? AnsiString() : it->second;
}

// The header's control words at the document level, up to the first text of the body.
void Fonts::ReadDefaultCodePage(std::string_view rtf) {
    RtfLexer lexer(rtf);
    int depth = 0;
    for (RtfToken t = lexer.Next(); t.kind != RtfTokenKind::End; t = lexer.Next()) {
        if (t.kind == RtfTokenKind::GroupStart) {
            ++depth;
        } else if (t.kind == RtfTokenKind::GroupEnd) {
            if (--depth <= 0) break;
        } else if (depth == 1) {
            if (t.kind == RtfTokenKind::Text && !IsBlank(t.text)) break;
            if (t.kind == RtfTokenKind::ControlWord && t.name == "ansicpg" && t.hasParam && t.param >= 0) {
                defaultCodePage = CodePageName(t.param == 0 ? kLegacyCodePage : t.param);
                break;
            }
        }
    }
    if (defaultCodePage.empty()) defaultCodePage = CodePageName(kLegacyCodePage);
}

// Reads {\fonttbl ...}: entries in groups of their own ({\f1\fnil\fcharset204 Name;}) or
// one after another (\f0\fswiss Name;\f1 ...), with any other control words and nested
// destinations (\panose, \falt) around them.
void Fonts::ParseFontTable(std::string_view rtf) {
    RtfLexer lexer(rtf);
    int depth = 0;
    int tableDepth = -1;
    bool groupJustStarted = false;
    int number = -1;
    int charset = -1;
    const auto commit = [&] {
        if (number >= 0) AddFont(number, CodePageOfCharsetNumber(charset));
        number = -1;
        charset = -1;
    };
    for (RtfToken t = lexer.Next(); t.kind != RtfTokenKind::End; t = lexer.Next()) {
        const bool atGroupStart = groupJustStarted;
        groupJustStarted = false;
        switch (t.kind) {
        case RtfTokenKind::GroupStart:
            ++depth;
            groupJustStarted = true;
            break;
        case RtfTokenKind::GroupEnd:
            if (tableDepth >= 0 && depth <= tableDepth + 1) commit();
            if (depth == tableDepth) return;
            --depth;
            break;
        case RtfTokenKind::ControlWord:
            if (tableDepth < 0) {
                if (atGroupStart && t.name == "fonttbl") tableDepth = depth;
            } else if (depth <= tableDepth + 1) {
                if (t.name == "f" && t.hasParam && t.param >= 0) {
                    if (number >= 0 && number != t.param) commit();
                    number = t.param;
                } else if (t.name == "fcharset" && t.hasParam) {
                    charset = t.param;
                }
            }
            break;
        case RtfTokenKind::Text:
            if (tableDepth >= 0 && depth <= tableDepth + 1 && t.text.find(';') != std::string_view::npos) commit();
            break;
        default:
            break;
        }
    }
}

void Fonts::AddFont(int number, const AnsiString& codePage) { fontCodePages.emplace(number, codePage); }

std::size_t Fonts::ReadFontSwitch(const char* position, std::size_t remaining, int& number) {
    number = -1;
    if (position == nullptr || remaining < 3 || position[0] != '\\' || position[1] != 'f') return 0;
    std::size_t i = 2;
    long long value = 0;
    while (i < remaining && position[i] >= '0' && position[i] <= '9') {
        if (value < 1000000000) value = value * 10 + (position[i] - '0');
        ++i;
    }
    if (i == 2) return 0;  // \fs24, \fi-360: another control word
    number = static_cast<int>(value);
    return i;
}

AnsiString Fonts::CodePageOfCharset(std::string_view charsetText) {
    static constexpr std::string_view kPrefix = "fcharset";
    if (charsetText.substr(0, kPrefix.size()) != kPrefix) return {};
    const std::string_view digits = charsetText.substr(kPrefix.size());
    if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string_view::npos) return {};
    return CodePageOfCharsetNumber(std::stoi(std::string(digits)));
}

AnsiString Fonts::CodePageOfCharsetNumber(int charset) {
    switch (charset) {
    case 0: return "CP1252";
    case 128: return "CP932";
    case 129: return "CP949";
    case 130: return "CP1361";  // Johab
    case 134: return "CP936";
    case 136: return "CP950";
    case 161: return "CP1253";
    case 162: return "CP1254";
    case 163: return "CP1258";
    case 177: return "CP1255";
    case 178: return "CP1256";
    case 186: return "CP1257";
    case 204: return "CP1251";
    case 222: return "CP874";
    case 238: return "CP1250";
    default: return {};
    }
}

}  // namespace Helpers
