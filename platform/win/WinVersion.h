// The system version the program's version tests ask for: an NT-family system, 10.0, so every
// version branch takes its newest path.
#pragma once

#include "platform/win/WinTypes.h"

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOW {
    DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    char16_t szCSDVersion[128] = {};
};

// Fills the record; false (ERROR_INSUFFICIENT_BUFFER) when its size field is too small.
BOOL GetVersionExW(OSVERSIONINFOW* info);
