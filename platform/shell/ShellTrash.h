// Moving files and folders to the desktop's trash (the home trash of the freedesktop.org
// trash layout: files/ holds the item, info/ a .trashinfo with its original path and date).
#pragma once

#include <string>

#include "platform/win/WinTypes.h"

// Moves path (raw bytes, absolute) into the home trash under a free name. Returns S_OK, or
// the file system's error (HRESULT_FROM_WIN32) with nothing moved; an item on another file
// system than the trash is refused (ERROR_NOT_SAME_DEVICE) rather than deleted.
HRESULT MoveToTrash(const std::string& path);
// The home trash folder: $XDG_DATA_HOME/Trash, else ~/.local/share/Trash.
std::string HomeTrashFolder();
