// The header block of a message read without the MIME reader, for the message list: a folder
// scan reads thousands of them, and nearly all are plain "Name: value" lines. Whatever is not
// plain is left to the MIME reader, so both routes give the same answers.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "platform/win/WinTypes.h"

struct TIdEmailAddressItem;

namespace mime_detail {

struct PlainHeaderBlock {
    // Every header in file order: its name and its raw value, the text after the colon up to
    // and including the line break of its last line, folded lines kept.
    std::vector<std::pair<AnsiString, AnsiString>> headers;
    AnsiString contentType;  // the media type of the last Content-Type, lower case
    AnsiString charset;      // its charset parameter as written, or empty
};

// Splits the block (ended by its empty line, as the headers-only load reads it). False, with
// out in no defined state, when a line or the content type is anything but plain: an mbox
// "From " line, a name that is not printable ASCII or has blanks before its colon, a
// continuation first, a lone CR or NUL, a content type with comments, encoded or continued
// parameters, escapes, or no subtype.
bool SplitPlainHeaderBlock(std::string_view block, PlainHeaderBlock& out);

// Appends the mailboxes of a plain address-list value ("a@x.org, Ann <b@y.org>, \"Bo, B\"
// <c@z.org>"): display names of atoms or one quoted string, addresses of one "@" between
// atoms. False, with out untouched, for anything else (groups, comments, encoded words, 8-bit
// bytes, escapes, domain literals, line breaks inside a name or an address): the MIME reader reads those.
bool SplitPlainAddressList(std::string_view raw, std::vector<TIdEmailAddressItem>& out);

}  // namespace mime_detail
