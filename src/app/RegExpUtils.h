// The small regular-expression helpers the rest of the program calls instead of holding
// compiled patterns: each call compiles its pattern, runs one operation and returns a plain
// result. Flags are the engine's compile flags (regex/RegexContext.h).
#pragma once

#include <string>

#include "platform/vcl/Strings.h"
#include "platform/win/WinTypes.h"

// The text with a backslash before every character that is special in a pattern:
// [ \ ^ $ . | ? * + ( ) { } # blank and TAB. "]" and "-" stay as they are.
WideString RegExpEscape(const WideString& text);

// The text with every match of pattern replaced by replacement ("$" references as Replace
// knows them). An empty pattern leaves the text unchanged.
WideString RegExpReplace(const WideString& text, const WideString& pattern, const WideString& replacement,
                         int flags = 0);

// The whole first match of pattern in text; empty when nothing matches or the pattern is empty.
WideString RegExpFirstGroup(const WideString& text, const WideString& pattern);

// Appends to list: every match, when the pattern has no groups (the result is then -1); else
// the groups 1..n of the first match, an unset group as "", and the result is the end of that
// match, so a caller can go on from there. start is where to search (-1: from the beginning)
// and receives the result. No match appends nothing and gives -1.
int RegExpMatchAll(TStrings& list, const AnsiString& text, const AnsiString& pattern, int flags, int& start);

// Strict: the whole text is one address with a lower-case domain (message readers).
// Loose: an address appears anywhere in the text, in any case (reply composer).
bool IsValidEmailAddress(const WideString& address, bool strict);
