// The HTML body of a compound-file message as text. The body is normally stored as bytes
// (0x10130102) in the charset the message was sent in, not in the code page of its other
// 8-bit text, so it is decoded on its own terms.
#pragma once

#include "message/MSGProperties.h"

// The HTML body (id 0x1013) among the collection's own items: wide text as it is; bytes
// decoded with the internet code page (0x3FDE0003 among the own items or the fixed-length
// entries), else the charset the HTML declares, else windows-1252. Empty when there is none.
WideString MSGHtmlBodyText(const TMSGProperties& collection);

// The charset named by the first charset declaration in the HTML bytes; empty when none.
AnsiString HtmlDeclaredCharset(std::string_view html);
