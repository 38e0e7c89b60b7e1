// The model's small writers of a message: ".eml", text, HTML and XML, and the e-mail date
// formatter they share.
#pragma once

#include "message/Message.h"
#include "platform/win/WinTime.h"

// "Sun, 5 Jan 2025 09:03:07 +0100": the date-time as given, with the offset of the local zone
// in effect at that local time ("GMT" for none).
AnsiString EMailFormatDate(TDateTime date);

// The writers: UTF-8 text, lines ended by CR LF, written aside and renamed into place.
// False when the file cannot be written. withProperties adds the whole property tree.
bool SaveToEMLFile(const TMessage& message, const WideString& path);
bool SaveToTextFile(const TMessage& message, const WideString& path, bool withProperties);
bool SaveToHTMLFile(const TMessage& message, const WideString& path, bool withProperties);
bool SaveToXMLFile(const TMessage& message, const WideString& path, bool withProperties);

// The text for an XML element: " & ' < > as entities.
AnsiString XmlEscape(const AnsiString& text);
