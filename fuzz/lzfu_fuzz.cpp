// Decodes arbitrary bytes as compressed RTF, and checks that encoding them as text decodes
// back to the same text.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "message/CompressedRTF.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    CompressedRTFResult r = DecodeCompressedRTFEx(input);
    (void)CompressedRTFToText(data, size);
    if (r.status == CompressedRTFStatus::Decoded && r.text.empty()) std::abort();

    if (size > 0) {
        std::vector<std::uint8_t> encoded = EncodeCompressedRTF(input);
        CompressedRTFResult back = DecodeCompressedRTFEx(encoded);
        if (back.status != CompressedRTFStatus::Decoded || back.text.size() != size ||
            !std::equal(back.text.begin(), back.text.end(), data))
            std::abort();
    }
    return 0;
}
