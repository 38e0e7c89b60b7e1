// The header list of a parsed internet message or of one of its parts: every header with its
// raw value as it stood in the file (folding kept), in file order.
#pragma once

#include <string_view>
#include <vector>

#include "platform/win/WinTypes.h"

class TIdHeaderList {
public:
    // With UnfoldLines on, Values joins a folded value's lines by one blank.
    bool UnfoldLines = true;

    void Clear() { headers_.clear(); }
    // rawValue is the text after the colon, line breaks included.
    void Add(AnsiString name, AnsiString rawValue);

    int Count() const { return static_cast<int>(headers_.size()); }
    const AnsiString& Names(int index) const { return headers_.at(static_cast<size_t>(index)).name; }
    const AnsiString& RawValues(int index) const { return headers_.at(static_cast<size_t>(index)).raw; }

    // Every header as "Name:" + its raw value, folded lines kept, each line ended by CR LF.
    AnsiString Text() const;

    // The value of the first header of that name (compared without regard to case): with
    // UnfoldLines every line trimmed and the lines joined by one blank, else the raw value
    // trimmed at both ends. Empty when the header is absent.
    AnsiString Values(std::string_view name) const;
    bool Contains(std::string_view name) const;
    // Header names (and MIME parameter names) compare without regard to ASCII case.
    static bool SameName(std::string_view a, std::string_view b);

private:
    struct Header {
        AnsiString name;
        AnsiString raw;
    };
    std::vector<Header> headers_;
};
