// The code pages of an RTF text: the document's default (\ansicpgN) and the one of each font
// of the font table (\fcharsetN), with the font in effect while a reader walks the text.
#pragma once

#include <cstddef>
#include <map>
#include <string_view>

#include "platform/win/WinTypes.h"

namespace Helpers {

// Code pages are named "CP" + number ("CP1252"), as the charset converter takes them.
class Fonts {
public:
    explicit Fonts(std::string_view rtf);

    // The code page to convert with now: the selected font's, else the document's.
    const AnsiString& CurrentCodePage() const { return currentCodePage.empty() ? defaultCodePage : currentCodePage; }
    int CurrentFont() const { return currentFont; }
    // Selects a font of the table; a number the table does not hold changes nothing.
    void SelectFont(int number);
    // Puts the selection back to what it was when a group began: a font of the table, or
    // none (-1 or an unknown number).
    void RestoreFont(int number);

    const AnsiString& DefaultCodePage() const { return defaultCodePage; }
    const std::map<int, AnsiString>& FontCodePages() const { return fontCodePages; }

    // The length of a font switch "\fN" (any number of digits, a whole control word) at
    // position, with N in number; 0 (and number -1) when there is none.
    static std::size_t ReadFontSwitch(const char* position, std::size_t remaining, int& number);
    // "fcharset204" -> "CP1251"; empty for a character set without a code page (symbol,
    // default, unknown) and for any text that is not exactly "fcharset" and digits.
    static AnsiString CodePageOfCharset(std::string_view charsetText);
    static AnsiString CodePageOfCharsetNumber(int charset);

private:
    void ReadDefaultCodePage(std::string_view rtf);
    void ParseFontTable(std::string_view rtf);
    // The first definition of a number wins.
    void AddFont(int number, const AnsiString& codePage);

    AnsiString currentCodePage;
    AnsiString defaultCodePage;
    int currentFont = -1;
    std::map<int, AnsiString> fontCodePages;
};

}  // namespace Helpers
