// The read side of structured storage: a compound file image in memory, checked by
// CompoundFileDirectory and read along its allocation tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/com/StructuredStorage.h"

// A compound file image in memory; filled by the caller, never zeroed first.
struct StorageImageBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;

    // Room for size bytes; false when there is no memory for them.
    bool Allocate(std::size_t n);
};

// Opens the image as a read-only root storage. On a damaged image returns the check's error
// and, when reason is given, why.
HRESULT OpenImageReadStorage(StorageImageBytes image, DWORD mode, IStorage** out,
                           std::string* reason = nullptr);
