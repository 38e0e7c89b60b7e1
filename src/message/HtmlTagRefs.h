// References to files in HTML tags.
//
// Whether an HTML text has a tag that refers to a name through its SRC attribute, read as the
// pattern "<KEY[^<>]+SRC[^<>]+LEAD NAME[^<]*>" (letter case ignored, ASCII only) reads it,
// in one pass and without building a pattern for every name.
#pragma once

#include <string_view>

#include "platform/win/WinTypes.h"

// key: the text right after "<" (such as u"IMG"), may be empty; lead: the text right before
// the name (such as u"CID:"), may be empty.
bool HasTagReferring(std::u16string_view html, std::u16string_view key, std::u16string_view lead,
                     std::u16string_view name);

// A file name as a relative URL: every byte of its UTF-8 but the unreserved ones
// percent-encoded, so "#", "?" and "%" stay part of the name.
WideString UrlOfFileName(const WideString& name);
