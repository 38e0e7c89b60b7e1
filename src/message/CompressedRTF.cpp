#include "message/CompressedRTF.h"

#include "platform/win/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr std::uint32_t kTypeCompressed = 0x75465A4C;    // "LZFu"
constexpr std::uint32_t kTypeUncompressed = 0x414C454D;  // "MELA"
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kWindow = 4096;
constexpr std::size_t kMaxMatch = 17;

constexpr char kPresetText[] =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}"
    "{\\f0\\fnil \\froman \\fswiss \\fmodern \\fscript "
    "\\fdecor MS Sans SerifSymbolArialTimes New RomanCourier"
    "{\\colortbl\\red0\\green0\\blue0"
    "\r\n"
    "\\par "
    "\\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
constexpr std::size_t kPresetSize = sizeof kPresetText - 1;
static_assert(kPresetSize == 207);


std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[i] = c;
    }
    return t;
}

CompressedRTFResult Refuse(CompressedRTFStatus status, const char* why) {
    CompressedRTFResult r;
    r.status = status;
    r.reason = why;
    return r;
}

}  // namespace

std::span<const std::uint8_t> CompressedRTFPreset() {
    return {reinterpret_cast<const std::uint8_t*>(kPresetText), kPresetSize};
}

std::uint32_t CompressedRTFCrc(std::span<const std::uint8_t> payload) {
    static const auto table = MakeCrcTable();
    std::uint32_t crc = 0;
    for (std::uint8_t b : payload) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc;
}

CompressedRTFResult DecodeCompressedRTFEx(std::span<const std::uint8_t> input) {
    using S = CompressedRTFStatus;
    if (input.size() < kHeaderSize) return Refuse(S::NotCompressed, "shorter than the header");
    const std::uint64_t compressedSize = Le32(input.data());
    const std::uint32_t rawSize = Le32(input.data() + 4);
    const std::uint32_t type = Le32(input.data() + 8);
    if (input.size() < compressedSize + 4) return Refuse(S::NotCompressed, "shorter than its compressed size");
    if (compressedSize < kHeaderSize - 4) return Refuse(S::NotCompressed, "compressed size below the header");
    if (type != kTypeCompressed && type != kTypeUncompressed) return Refuse(S::NotCompressed, "unknown type");
    if (rawSize == 0) return Refuse(S::NotCompressed, "raw size 0");
    const std::span<const std::uint8_t> payload = input.subspan(kHeaderSize, compressedSize + 4 - kHeaderSize);

    // A run of 17 payload bytes (control byte and 8 references) yields at most 136 bytes, so
    // a raw size beyond 8 times the payload (plus a little) cannot be honest.
    if (rawSize > 8 * payload.size() + 1024) return Refuse(S::Corrupt, "raw size larger than the payload can hold");

    CompressedRTFResult r;
    if (type == kTypeUncompressed) {
        r.text.assign(rawSize, 0);
        std::copy_n(payload.begin(), std::min<std::size_t>(payload.size(), rawSize), r.text.begin());
        r.status = S::Decoded;
        return r;
    }

    // One linear buffer: the preset, then the text; positions are those of the stream.
    std::vector<std::uint8_t> buf(kPresetSize + rawSize, 0);
    std::memcpy(buf.data(), kPresetText, kPresetSize);
    std::size_t p = kPresetSize;
    std::size_t in = 0;
    unsigned control = 0;
    std::size_t tokens = 0;
    while (p < buf.size()) {
        if (tokens % 8 == 0) {
            if (in >= payload.size()) return Refuse(S::Corrupt, "payload ends before the text is complete");
            control = payload[in++];
        } else {
            control >>= 1;
        }
        ++tokens;
        if (!(control & 1)) {
            if (in >= payload.size()) return Refuse(S::Corrupt, "payload ends before the text is complete");
            buf[p++] = payload[in++];
            continue;
        }
        if (in + 2 > payload.size()) return Refuse(S::Corrupt, "payload ends inside a reference");
        const unsigned b1 = payload[in], b2 = payload[in + 1];
        in += 2;
        const std::size_t offset = (b1 << 4) | (b2 >> 4);
        const std::size_t length = (b2 & 15) + 2;
        std::size_t src = (p / kWindow) * kWindow + offset;
        if (src >= p) {
            if (src < kWindow) return Refuse(S::Corrupt, "reference before the start of the text");
            src -= kWindow;
        }
        for (std::size_t k = 0; k < length && p < buf.size(); ++k) buf[p++] = buf[src + k];
    }
    buf.erase(buf.begin(), buf.begin() + kPresetSize);  // in place: no second buffer
    r.text = std::move(buf);
    r.status = S::Decoded;
    return r;
}

std::vector<std::uint8_t> DecodeCompressedRTF(std::span<const std::uint8_t> input) {
    CompressedRTFResult r = DecodeCompressedRTFEx(input);
    return r.status == CompressedRTFStatus::Decoded ? std::move(r.text) : std::vector<std::uint8_t>{};
}

AnsiString CompressedRTFToText(const std::uint8_t* bytes, std::size_t length) {
    std::vector<std::uint8_t> decoded = DecodeCompressedRTF({bytes, length});
    AnsiString text;
    if (!decoded.empty())
        text.assign(decoded.begin(), decoded.end());
    else if (length)
        text.assign(reinterpret_cast<const char*>(bytes), length);
    text.push_back('\0');
    return text;
}

std::vector<std::uint8_t> EncodeCompressedRTF(std::span<const std::uint8_t> text) {
    // The linear view of the stream: preset, then the text.
    std::vector<std::uint8_t> buf(kPresetSize + text.size());
    std::memcpy(buf.data(), kPresetText, kPresetSize);
    std::copy(text.begin(), text.end(), buf.begin() + kPresetSize);

    // Chains of the places of each 2-byte prefix, newest first, find match candidates.
    constexpr std::size_t kHashSize = 1 << 16;
    constexpr int kMaxChain = 64;
    std::vector<std::int32_t> head(kHashSize, -1), prev(buf.size(), -1);
    auto hash = [&](std::size_t i) { return (static_cast<std::size_t>(buf[i]) << 8) | buf[i + 1]; };
    auto insert = [&](std::size_t i) {
        if (i + 1 >= buf.size()) return;
        std::size_t h = hash(i);
        prev[i] = head[h];
        head[h] = static_cast<std::int32_t>(i);
    };
    for (std::size_t i = 0; i < kPresetSize; ++i) insert(i);

    std::vector<std::uint8_t> out(kHeaderSize, 0);
    std::size_t controlAt = 0;
    int tokenInRun = 8;
    auto startToken = [&](bool reference) {
        if (tokenInRun == 8) {
            controlAt = out.size();
            out.push_back(0);
            tokenInRun = 0;
        }
        if (reference) out[controlAt] |= static_cast<std::uint8_t>(1u << tokenInRun);
        ++tokenInRun;
    };

    std::size_t p = kPresetSize;
    while (p < buf.size()) {
        std::size_t bestLen = 0, bestSrc = 0;
        if (p + 1 < buf.size()) {
            const std::size_t maxLen = std::min(kMaxMatch, buf.size() - p);
            int chain = 0;
            // Sources down to p - 4095: p - 4096 would encode as the end marker. Of equally long
            // matches the oldest wins, as in the format's reference compressor, so that the
            // same text compresses to the same bytes.
            for (std::int32_t s = head[hash(p)]; s >= 0 && chain < kMaxChain; s = prev[s], ++chain) {
                if (p - static_cast<std::size_t>(s) >= kWindow) break;
                std::size_t len = 0;
                while (len < maxLen && buf[s + len] == buf[p + len]) ++len;
                if (len >= bestLen) {
                    bestLen = len;
                    bestSrc = static_cast<std::size_t>(s);
                }
            }
        }
        // A 2-byte reference costs what two literals cost, less one control bit.
        if (bestLen >= 2) {
            startToken(true);
            const std::size_t offset = bestSrc % kWindow;
            out.push_back(static_cast<std::uint8_t>(offset >> 4));
            out.push_back(static_cast<std::uint8_t>(((offset & 15) << 4) | (bestLen - 2)));
            for (std::size_t k = 0; k < bestLen; ++k) insert(p + k);
            p += bestLen;
        } else {
            startToken(false);
            out.push_back(buf[p]);
            insert(p);
            ++p;
        }
    }
    // End marker: a reference to the write position itself.
    startToken(true);
    const std::size_t endOffset = p % kWindow;
    out.push_back(static_cast<std::uint8_t>(endOffset >> 4));
    out.push_back(static_cast<std::uint8_t>((endOffset & 15) << 4));

    PutLe32(out.data() + 0, static_cast<std::uint32_t>(out.size() - 4));
    PutLe32(out.data() + 4, static_cast<std::uint32_t>(text.size()));
    PutLe32(out.data() + 8, kTypeCompressed);
    PutLe32(out.data() + 12, CompressedRTFCrc(std::span<const std::uint8_t>(out).subspan(kHeaderSize)));
    return out;
}
