// The end of a run's temporary files: the run's own folder goes with the files in it. Only
// what this run made is deleted: the folder is checked first (a folder of this user, not a
// link), entries are removed without following links, and folders of other runs are never
// touched (their process id may belong to a run in another process name space).
#pragma once

#include "platform/win/WinTypes.h"

// Deletes the files of tempFolder and then the folder. Files or sub-folders that cannot be
// deleted, and the folder holding them, stay; a folder that fails the check is left alone.
void CleanUpTempFolder(const WideString& tempFolder);
