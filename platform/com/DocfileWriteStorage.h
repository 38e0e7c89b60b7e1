// The write side of structured storage: a compound file built in memory and written by
// libgsf on Commit of the root, through a temporary file renamed into place.
#pragma once

#include <string>

#include "platform/com/StructuredStorage.h"

// A new, empty root storage to be written to path (UTF-8) on Commit.
HRESULT CreateDocfileWriteStorage(const std::string& path, DWORD mode, IStorage** out);
