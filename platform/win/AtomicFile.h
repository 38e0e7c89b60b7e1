// Saving a whole file so that it is either replaced completely or left as it was.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "platform/win/WinTypes.h"

// Permissions of a file written atomically: createMode less the process umask, or with
// keepExisting those of the file it replaces when there is one.
struct AtomicFilePermissions {
    mode_t createMode = 0666;
    bool keepExisting = false;
};

// The temporary name tried at attempt n (0, 1, ...) for a target named fileName. The default
// draws a fresh random name each time.
using AtomicTempName = std::function<std::string(const std::string& fileName, unsigned attempt)>;

// Writes the bytes to a temporary file created exclusively beside the target (another name is
// tried when one is taken), syncs it, renames it over the target and syncs the folder, so a
// crash leaves either the old file or the complete new one. Nothing is left behind on failure.
// Returns 0, or the errno of the step that failed.
int ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                          AtomicFilePermissions permissions = {}, const AtomicTempName& tempName = {});

// The same for a program path; true on success.
bool WriteFileAtomically(const WideString& path, std::string_view bytes);
