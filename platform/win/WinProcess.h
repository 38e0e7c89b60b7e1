// Processes: ids, process handles (OpenProcess) and what can be asked of them.
// A process handle is closed with CloseHandle (platform/win/WinFiles.h).
#pragma once

#include "platform/win/WinTypes.h"

inline constexpr DWORD PROCESS_TERMINATE = 0x0001;
inline constexpr DWORD PROCESS_VM_READ = 0x0010;
inline constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;
inline constexpr DWORD PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
inline constexpr DWORD SYNCHRONIZE = 0x00100000;
inline constexpr DWORD PROCESS_ALL_ACCESS = 0x001FFFFF;
inline constexpr DWORD STILL_ACTIVE = 259;
inline constexpr DWORD PROCESS_NAME_NATIVE = 0x00000001;

DWORD GetCurrentProcessId();
DWORD GetCurrentThreadId();

// A handle to a running process, or nullptr with ERROR_INVALID_PARAMETER when no process has
// that id. The handle names that process only: a later process given the same id is not it.
HANDLE OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId);

// STILL_ACTIVE while the process runs; afterwards its exit code when it was our child, else 0
// (the system keeps no exit code for other processes).
BOOL GetExitCodeProcess(HANDLE hProcess, DWORD* lpExitCode);

DWORD GetProcessId(HANDLE hProcess);

// The full path of the process's executable (from /proc/<pid>/exe). *lpdwSize holds the
// buffer size in characters and receives the length written, without the terminator.
BOOL QueryFullProcessImageNameW(HANDLE hProcess, DWORD dwFlags, char16_t* lpExeName, DWORD* lpdwSize);

// The same for a process id; empty when the process is gone or not ours to inspect.
WideString ProcessImageName(DWORD processId);
