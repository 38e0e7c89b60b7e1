// The property-value readers of MapiSession. Only a value of another type reads as empty
// text; a failure to hold the text (out of memory) is not an answer and propagates.
#include "mapi/MapiSession.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

AnsiString MapiSession::GetPropValA(const SPropValue* value) {
    if (!value || value->type() != PT_STRING8 || !value->Value.lpszA) return "";
    return value->Value.lpszA;
}

WideString MapiSession::GetPropValW(const SPropValue* value) {
    if (!value || value->type() != PT_UNICODE || !value->Value.lpszW) return u"";
    return value->Value.lpszW;
}

WideString MapiSession::GetPropValAsString(const SPropValue* value, ULONG codePage, ULONG fallbackCodePage) {
    if (!value) return u"";
    if (value->type() == PT_UNICODE) return GetPropValW(value);
    if (value->type() != PT_STRING8) return u"";
    const AnsiString text = GetPropValA(value);
    // 8-bit MAPI text without a code page is in the store's ANSI code page, not the OEM one.
    const UINT cp = codePage != 0 ? codePage : (fallbackCodePage != 0 ? fallbackCodePage : 1252);
    return DecodeCodePage(cp, text);
}
