// The block of lines naming sender, recipients, date and subject that stands in front of a
// quoted or printed message body, in HTML, RTF and plain text, and the inserters that put it
// into a body of the same markup. Every message value is escaped for the markup it goes into:
// message text never becomes markup.
#pragma once

#include "message/MessageAttr.h"

// Header flags, combined by OR; 0 tells the inserters to add nothing.
enum QuoteHeaderFlags : int {
    qhAttachments = 1,  // list the attachments at the end
    qhFileName = 2,     // begin with the message's file name
    qhSeparator = 4,    // begin with a rule; 8 means the same
    qhSeparatorAlt = 8,
};

// Splits "Name <address>" (also [address] or "address") at the last opening bracket or quote
// that a closing one follows. Both parts as they stand; false (outputs untouched) without one.
bool SplitNameAndAddress(const WideString& text, WideString& name, WideString& address);

// Text made safe inside HTML content and quoted attributes: & < > " become entities.
WideString HtmlEscape(const WideString& text);
// Text made safe inside RTF: \ { } get a backslash in front. Non-ASCII is left for
// EncodeRtfUnicode.
WideString RtfEscape(const WideString& text);

WideString BuildHtmlQuoteHeader(const TMessageAttr& message, int flags);
WideString BuildRtfQuoteHeader(const TMessageAttr& message, int flags);
// The text block is also the header of the plain-text export: its lines are a file format.
WideString BuildTextQuoteHeader(const TMessageAttr& message, int flags);

// After the ">" of the first body tag (any case); in front of the whole body when it has none.
WideString InsertHtmlQuoteHeader(const TMessageAttr& message, const WideString& html, int flags);
// After the colour table, else after the first "\par "; only inside the body (not at either
// end), the block made 7-bit with EncodeRtfUnicode. Otherwise the body comes back unchanged.
WideString InsertRtfQuoteHeader(const TMessageAttr& message, const WideString& rtf, int flags);
WideString InsertTextQuoteHeader(const TMessageAttr& message, const WideString& text, int flags);
