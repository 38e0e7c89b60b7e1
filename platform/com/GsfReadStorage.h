// The read side of structured storage: a compound file image in memory, checked by
// CompoundFileDirectory and read through libgsf.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/StructuredStorage.h"

// Opens the image as a read-only root storage. On a damaged image returns the check's error
// and, when reason is given, why.
HRESULT OpenGsfReadStorage(std::vector<std::uint8_t> image, DWORD mode, IStorage** out,
                           std::string* reason = nullptr);
