// Reads arbitrary bytes as drop data from another process: drop-files lists, shell ID-list
// arrays and file group descriptors, checking what is read survives a round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/com/DropFilesBlock.h"
#include "platform/com/FileGroupDescriptor.h"
#include "platform/shell/IdListArray.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    const std::vector<WideString> files = ReadDropFilesBlock(input);
    if (!files.empty() && ReadDropFilesBlock(BuildDropFilesBlock(files, true)) != files) std::abort();
    if (auto array = ReadIdListArray(input)) {
        const auto back = ReadIdListArray(BuildIdListArray(*array));
        if (!back || back->items != array->items) std::abort();
    }
    (void)ReadFileGroupDescriptorNames(input, true);
    (void)ReadFileGroupDescriptorNames(input, false);
    return 0;
}
