// HTML encapsulated in RTF, both ways: the HTML rebuilt from an RTF body marked \fromhtml
// (the form most stored mail bodies take), and an RTF body built around HTML for the
// reply composer.
#pragma once

#include <cstddef>

#include "platform/win/WinTypes.h"

// True when the RTF header (the document-level control words before the first text) holds
// \fromhtml; \fromtext and a body without it give false.
bool IsHtmlEncapsulatedRtf(const char* bytes, std::size_t length);

// Appends the HTML encapsulated in the RTF to output: the content of the {\*\htmltag}
// groups and the text between them, without the RTF-only material of \htmlrtf runs,
// {\*\mhtmltag} groups and other destinations. \'hh bytes are read in the code page of the
// font in effect, \uN escapes (with their \ucN fallbacks skipped) become their characters.
// Nothing is appended for an RTF without any {\*\htmltag} group.
void DecapsulateHtmlFromRtf(const char* bytes, std::size_t length, WideString& output);

// The RTF body (7-bit text) that encapsulates the HTML: every tag in a {\*\htmltag0} group,
// backslashes and braces escaped, non-ASCII characters as \'hh (Latin-1 letters) or \uN?,
// line breaks as groups that give CR LF back. DecapsulateHtmlFromRtf gives the HTML back
// (with CR LF line ends).
WideString encodertfhtml(const WideString& html);

// Makes an RTF text 7-bit: every unit from 128 up becomes \uc1\uN? (N unsigned).
WideString EncodeRtfUnicode(const WideString& rtf);
