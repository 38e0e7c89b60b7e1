// Global memory blocks (HGLOBAL): the blocks the clipboard and storage media hand around.
// A block is a handle of its own; GlobalLock gives its bytes, GlobalFree takes it back.
#pragma once

#include <cstddef>

#include "platform/win/WinTypes.h"

using HGLOBAL = HANDLE;

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
inline constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// A block of size bytes (zeroed with GMEM_ZEROINIT), or null with ERROR_NOT_ENOUGH_MEMORY.
HGLOBAL GlobalAlloc(UINT flags, std::size_t size);
// The block's bytes (null for a handle that is no block); GlobalUnlock ends the use.
void* GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
std::size_t GlobalSize(HGLOBAL memory);
// Null on success, the handle when it was no block.
HGLOBAL GlobalFree(HGLOBAL memory);
