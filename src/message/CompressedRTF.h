// Compressed RTF, the form in which a message keeps its RTF body (property 0x10090102).
//
// Data: a 16-byte header (compressed size = bytes after this field, raw size, "LZFu" or
// "MELA", CRC) and the payload. LZFu payloads are runs of a control byte and up to 8 tokens,
// literals or big-endian 12-bit offset + 4-bit length references into a 4096-byte window
// that starts with a 207-byte preset RTF prologue. MELA payloads are the text itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

enum class CompressedRTFStatus {
    Decoded,        // the text was decoded
    NotCompressed,  // no compressed-RTF header: too short, sizes disagree, unknown type, raw size 0
    Corrupt,        // a header that lies: impossible raw size, payload ending early, a reference
                    // before the start of the text
};

struct CompressedRTFResult {
    CompressedRTFStatus status = CompressedRTFStatus::NotCompressed;
    std::vector<std::uint8_t> text;  // exactly raw-size bytes when Decoded
    const char* reason = "";         // why, when not Decoded
};

// Decodes compressed RTF. Input longer than the header's compressed size + 4 is accepted
// (writers pad); shorter input is NotCompressed. The raw size is checked against what the
// payload could possibly expand to before anything is allocated.
CompressedRTFResult DecodeCompressedRTFEx(std::span<const std::uint8_t> input);

// The decoded text, or an empty vector when the data is not acceptable compressed RTF.
std::vector<std::uint8_t> DecodeCompressedRTF(std::span<const std::uint8_t> input);

// The decoded text followed by one zero byte; when nothing was decoded, the input bytes
// themselves followed by one zero byte (RTF stored without compression reads as itself).
AnsiString CompressedRTFToText(const std::uint8_t* bytes, std::size_t length);

// Compresses RTF text as LZFu with a correct header, CRC and end marker.
std::vector<std::uint8_t> EncodeCompressedRTF(std::span<const std::uint8_t> text);

// The CRC of the format over a payload (CRC-32 table, start 0, no final inversion).
std::uint32_t CompressedRTFCrc(std::span<const std::uint8_t> payload);

// The 207-byte prologue that every LZFu window starts with.
std::span<const std::uint8_t> CompressedRTFPreset();
