// The clipboard as a data object. The desktop's clipboard holds bytes, not objects, so setting
// renders every format the object offers on a global block at once: the clipboard is always
// flushed, and later changes of the object do not reach it.
#pragma once

#include "platform/com/DataObject.h"

// Null empties the clipboard. CLIPBRD_E_CANT_OPEN when the clipboard cannot be opened.
HRESULT OleSetClipboard(IDataObject* data);
// A data object reading what the clipboard holds when asked.
HRESULT OleGetClipboard(IDataObject** data);
// Nothing is left to render; S_OK.
HRESULT OleFlushClipboard();
// S_OK when data was the last object put on the clipboard by this process, else S_FALSE.
HRESULT OleIsCurrentClipboard(IDataObject* data);

inline constexpr HRESULT CLIPBRD_E_CANT_OPEN = static_cast<HRESULT>(0x800401D0u);
