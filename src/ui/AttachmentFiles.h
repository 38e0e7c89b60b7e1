// Writing attachments to files without ever losing one the user has: names from messages are
// made safe before they meet a folder, and a save writes a temporary file first.
#pragma once

#include "platform/win/WinTypes.h"

class TMessageAttr;

// A display name as a single safe file name: no folder parts, no control characters, never
// "." or "..", never empty.
WideString SafeAttachmentName(const WideString& displayName);

// The upper-cased extension of a display name, dot included; empty when it has none.
WideString UpperExtension(const WideString& displayName);

// Saves attachment `index` to target through a temporary file beside it. With replace false an
// existing target is kept and the save fails. A failed save leaves the target as it was.
bool SaveAttachmentSafely(TMessageAttr& message, int index, const WideString& target, bool replace);

// A new, empty, uniquely named file "NEW<hex>.TMP" in folder; the caller appends the extension
// for the real copy. Empty when none can be made.
WideString CreateTempFileName(const WideString& folder);
