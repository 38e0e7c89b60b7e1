// The header block printed above a message's body: From, To, CC, BCC, the date, the subject
// and (with flag 1) the attachments, as HTML. Every value from the message is escaped, so
// message text never becomes markup.
#pragma once

#include "platform/win/WinTypes.h"

class TMessageAttr;

// flags: 1 lists the attachments, 2 starts with the message's file name.
WideString BuildPrintHeaderHtml(const TMessageAttr& message, int flags);
