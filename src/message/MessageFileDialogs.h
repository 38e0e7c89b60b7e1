// The filter strings and default extensions that the save and export dialogs use for ".eml"
// and ".msg" records ("description|*.ext" pairs joined by "|").
#pragma once

#include "platform/win/WinTypes.h"

class TMessageAttr;

// HTML when the body is HTML; text when there is a plain body or nothing else was offered.
WideString MessageExportFilterString(const TMessageAttr& message);
// "*.html" for both kinds.
WideString MessageExportDefaultExtension();

WideString EmlSaveFilterString();
WideString EmlDefaultExtension();
WideString MsgSaveFilterString();
WideString MsgDefaultExtension();
