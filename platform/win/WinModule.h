// Loading shared libraries by path, the way the program loads its support library.
#pragma once

#include "platform/win/WinTypes.h"

using FARPROC = void (*)();

// Loads the shared library at path (a POSIX path); nullptr with ERROR_MOD_NOT_FOUND when it
// cannot be loaded. The loader's own message is kept for the trace log (LastModuleError).
HMODULE LoadLibraryW(LPCWSTR path);
// The exported symbol, or nullptr with ERROR_PROC_NOT_FOUND.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);
// The loader's text for the last failed LoadLibraryW or GetProcAddress of this thread.
AnsiString LastModuleError();
