// The body of a compound-file message kept as RTF: the HTML it encapsulates, or the RTF.
#pragma once

#include "platform/win/WinTypes.h"

class TMessage;

// The message's RTF body (RTF_COMPRESSED, as the reader expanded it): the HTML rebuilt from
// it when it encapsulates HTML (isHtml is then set to true), else the RTF text itself
// (isHtml untouched). Empty when the message has no RTF body, or when RTF_IN_SYNC says the
// RTF is out of date (a missing RTF_IN_SYNC counts as in sync).
WideString ExtractRTF(const TMessage& message, bool& isHtml);
