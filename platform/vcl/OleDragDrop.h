// Windows as drop targets of the data-object model: a registered window hands every drag
// over it to its IDropTarget (the widget set turns the desktop's drag events into its calls).
#pragma once

#include "platform/com/DataObject.h"
#include "platform/vcl/GdiTypes.h"

inline constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
inline constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);
inline constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102u);

// The window keeps a reference to the target until it is revoked or destroyed.
HRESULT RegisterDragDrop(HWND window, IDropTarget* target);
HRESULT RevokeDragDrop(HWND window);
// The target registered for the window, if any.
ComPtr<IDropTarget> RegisteredDropTarget(HWND window);
