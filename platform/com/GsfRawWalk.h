// libgsf alone, for measuring the storage layer against its peer: opens a compound file with
// libgsf's own file input and reads every stream of every storage. No checks, no model.
#pragma once

#include <cstdint>
#include <string>

// The number of stream bytes read; -1 when libgsf cannot open the file.
std::int64_t GsfRawReadAllStreams(const std::string& path);
