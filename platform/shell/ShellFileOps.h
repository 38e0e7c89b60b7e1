// What the shell does to files for a user: move them to the trash (never delete them), open
// them with the desktop's handler (never run them).
#pragma once

#include <functional>
#include <string>

#include "platform/win/WinTypes.h"

// Moves a file or folder into the user's trash as the desktop's trash folders lay it out:
// $XDG_DATA_HOME/Trash on the home file system, the volume's .Trash-<uid> folder elsewhere,
// each item with its ".trashinfo" (original path and deletion time) so the desktop can put it
// back. Fails (the file stays) when no trash can take it.
HRESULT MoveToTrash(const std::string& path);
// Makes one folder at a path of raw bytes (its parent must exist): S_OK, or the file
// system's error (ERROR_ALREADY_EXISTS when the name is taken).
HRESULT MakeShellFolder(const std::string& path);

// The home trash folder: $XDG_DATA_HOME/Trash, else ~/.local/share/Trash.
std::string HomeTrashPath();

// Opens a file or folder with the program the desktop associates with it (xdg-open); false
// when that could not be started. A replacement (tests) sees the path instead.
bool OpenWithDesktop(const std::string& path);
using ShellOpener = std::function<bool(const std::string& path)>;
void SetShellOpener(ShellOpener opener);

// Percent-encodes a path for a file URL or a ".trashinfo" (unreserved bytes and "/" stay).
std::string EncodePathForUrl(const std::string& path);

// The program's wide paths: the same move, with a readable reason when the file stays.
bool MoveToTrash(const WideString& path, std::string* error);

enum class DesktopOpenResult { Opened, NoHandler, Failed };

// Opens a file with the program the desktop sets for its type. NoHandler when the desktop
// knows the type but has no program for it, so the user can be told instead of nothing
// happening. Nothing is ever run directly.
DesktopOpenResult OpenFileWithDesktop(const WideString& path);
