#include "platform/win/WinModule.h"

#include <dlfcn.h>

#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {
thread_local AnsiString lastModuleError;

void RememberDlError(DWORD code) {
    const char* text = dlerror();
    lastModuleError = text ? text : "";
    SetLastError(code);
}
}  // namespace

HMODULE LoadLibraryW(LPCWSTR path) {
    if (path == nullptr || *path == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const AnsiString file = Utf16ToUtf8(path);
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) RememberDlError(ERROR_MOD_NOT_FOUND);
    return handle;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    if (module == nullptr || name == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    dlerror();
    void* symbol = dlsym(module, name);
    if (symbol == nullptr) {
        RememberDlError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE module) {
    if (module == nullptr || dlclose(module) != 0) {
        RememberDlError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

AnsiString LastModuleError() { return lastModuleError; }
