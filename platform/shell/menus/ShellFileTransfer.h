// Copying and moving files into a folder, for paste and for drops. Names come from outside
// (the clipboard, another program's drag), so each one is checked before anything is touched.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/GdiTypes.h"
#include "platform/win/WinTypes.h"

inline constexpr HRESULT kShellTransferCancelled = HRESULT_FROM_WIN32(1223);  // ERROR_CANCELLED
// Milliseconds before a transfer shows its window (tests may show it at once).
inline unsigned ShellTransferProgressDelay = 500;

// Drop effects a transfer understands.
inline constexpr DWORD kShellTransferCopy = 1, kShellTransferMove = 2;

// A dropped name without trailing slashes (programs name folders either way); "/" stays.
std::string TransferSourcePath(std::string path);

// Why a source cannot go into folder: empty when it can. A source must be an absolute path
// without "." or ".." parts that exists; a folder never goes into itself or below itself.
WideString ShellTransferProblem(const std::string& folder, const std::string& source);

// Copies (kShellTransferCopy) or moves (kShellTransferMove) the sources into folder. An
// existing name is never replaced: the copy takes "name (2)", "name (3)" ... A move within one
// file system renames; across file systems the source is removed only after its copy is
// complete (a failed copy leaves the source and removes the part copied). Moving an item into
// the folder that holds it changes nothing. Each source that fails shows one warning box with
// its reason and the rest go on; the result is S_OK when all went, else the last failure.
// The files are copied on a thread of their own; a transfer still running after
// ShellTransferProgressDelay milliseconds shows a window with its progress and a Cancel
// button. Cancelled, the item being copied is removed again, the items done stay, and the
// result is kShellTransferCancelled (no box).
HRESULT TransferShellFiles(HWND owner, const std::string& folder, const std::vector<std::string>& sources, DWORD effect);
