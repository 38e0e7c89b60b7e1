// The per-process temporary folders: each process of the program keeps its files in a folder
// named by its process id. At the end of a run its own folder goes, and so do the folders of
// earlier runs whose process has ended; a folder whose id belongs to a running process, or to
// another program, stays.
#pragma once

#include <functional>

#include "platform/win/WinTypes.h"

// What is known of the process a folder is named after.
struct FolderProcess {
    bool exists = false;   // a process with that id could be opened
    bool knownExit = true; // its exit state could be read
    bool running = false;
    WideString imageName;  // the file name of its executable
};
using ProcessLookup = std::function<FolderProcess(DWORD pid)>;

// Asks the system.
FolderProcess LookUpProcess(DWORD pid);

// Whether the folder named `name` can go, for a program whose executable is named ownName.
// Names that are not whole numbers are never touched.
bool TempFolderCanGo(const WideString& name, const WideString& ownName, const ProcessLookup& lookup);

// Deletes the files of tempFolder and the folder, then the folders of ended runs beside it.
// Files or folders that cannot be deleted stay.
void CleanUpTempFolder(const WideString& tempFolder, const ProcessLookup& lookup = LookUpProcess);
