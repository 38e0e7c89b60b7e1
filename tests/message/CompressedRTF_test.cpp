#include "message/CompressedRTF.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }
std::string S(const Bytes& b) { return std::string(b.begin(), b.end()); }

void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A header for the payload: compressed size = payload + 12, the raw size and type given.
Bytes WithHeader(std::uint32_t rawSize, const char* type, const Bytes& payload, int sizeSkew = 0) {
    Bytes b;
    Put32(b, static_cast<std::uint32_t>(payload.size() + 12 + sizeSkew));
    Put32(b, rawSize);
    b.insert(b.end(), type, type + 4);
    Put32(b, 0);
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

// A reference token's two bytes.
Bytes Ref(unsigned offset, unsigned length) {
    return {static_cast<std::uint8_t>(offset >> 4), static_cast<std::uint8_t>(((offset & 15) << 4) | (length - 2))};
}

TEST(CompressedRTF, TextOfTheFormatVectors) {
    struct Case {
        const char* what;
        Bytes input;
        std::string text;  // CompressedRTFToText, without its trailing zero
    };
    Bytes fifteen = B("0123456789abcde");
    Bytes lzfu = WithHeader(6, "LZFu", Bytes{0x01, 0x00, 0x04});  // one reference: offset 0, length 6
    Bytes ragged = lzfu;
    ragged.pop_back();
    const std::vector<Case> cases = {
        {"MELA abcde", WithHeader(5, "MELA", B("abcde")), "abcde"},
        {"15 bytes", fifteen, S(fifteen)},
        {"reference at 207 copies the preset's start", lzfu, "{\\rtf1"},
        {"size mismatch by one byte", ragged, S(ragged)},
        {"raw size 0", WithHeader(0, "LZFu", Bytes{0x00, 'a'}), S(WithHeader(0, "LZFu", Bytes{0x00, 'a'}))},
        {"unknown type", WithHeader(1, "ABCD", B("x")), S(WithHeader(1, "ABCD", B("x")))},
        {"padding after the data is accepted", WithHeader(6, "LZFu", Bytes{0x01, 0x00, 0x04, 0, 0, 0}, -3), "{\\rtf1"},
    };
    for (const Case& c : cases) {
        std::string text = CompressedRTFToText(c.input.data(), c.input.size());
        ASSERT_FALSE(text.empty()) << c.what;
        EXPECT_EQ(text.back(), '\0') << c.what;
        text.pop_back();
        EXPECT_EQ(text, c.text) << c.what;
    }
}

// The two worked examples of the published format description, byte for byte: a text whose
// references reach into the preset prologue, and one whose reference overlaps the bytes it is
// still writing. Neither was produced by our encoder.
TEST(CompressedRTF, PublishedWorkedExamples) {
    struct Case {
        const char* what;
        Bytes data;
        std::uint32_t crc;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"references into the preset",
         {0x2d, 0x00, 0x00, 0x00, 0x2b, 0x00, 0x00, 0x00, 0x4c, 0x5a, 0x46, 0x75, 0xf1, 0xc5, 0xc7, 0xa7,
          0x03, 0x00, 0x0a, 0x00, 0x72, 0x63, 0x70, 0x67, 0x31, 0x32, 0x35, 0x42, 0x32, 0x0a, 0xf3, 0x20,
          0x68, 0x65, 0x6c, 0x09, 0x00, 0x20, 0x62, 0x77, 0x05, 0xb0, 0x6c, 0x64, 0x7d, 0x0a, 0x80, 0x0f,
          0xa0},
         0xA7C7C5F1u,
         "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n"},
        {"a reference overlapping its own output",
         {0x1a, 0x00, 0x00, 0x00, 0x1c, 0x00, 0x00, 0x00, 0x4c, 0x5a, 0x46, 0x75, 0xe2, 0xd4, 0x4b, 0x51,
          0x41, 0x00, 0x04, 0x20, 0x57, 0x58, 0x59, 0x5a, 0x0d, 0x6e, 0x7d, 0x01, 0x0e, 0xb0},
         0x514BD4E2u,
         "{\\rtf1 WXYZWXYZWXYZWXYZWXYZ}"},
    };
    for (const Case& c : cases) {
        const std::span<const std::uint8_t> payload = std::span<const std::uint8_t>(c.data).subspan(16);
        EXPECT_EQ(CompressedRTFCrc(payload), c.crc) << c.what;
        const CompressedRTFResult r = DecodeCompressedRTFEx(c.data);
        ASSERT_EQ(r.status, CompressedRTFStatus::Decoded) << c.what << ": " << r.reason;
        EXPECT_EQ(S(r.text), c.text) << c.what;
        const Bytes encoded = EncodeCompressedRTF(B(c.text));
        EXPECT_EQ(encoded, c.data) << c.what;
    }
}

TEST(CompressedRTF, OffsetsWrapAtTheWindow) {
    // 4793 literals bring the write position from 207 to 5000; then offset 100 refers to
    // position 4196 and offset 1000 to position 1000 (4096 + 1000 is not before 5000).
    Bytes payload;
    std::string literals;
    for (int i = 0; i < 4793; ++i) literals.push_back(static_cast<char>('A' + i % 26));
    for (std::size_t i = 0; i < literals.size(); ++i) {
        if (i % 8 == 0) payload.push_back(0);
        payload.push_back(static_cast<std::uint8_t>(literals[i]));
    }
    // 4793 = 599 * 8 + 1: the current run has 7 tokens left; two references.
    std::size_t control = payload.size() - 2;
    payload[control] |= 0x02 | 0x04;
    for (std::uint8_t b : Ref(100, 3)) payload.push_back(b);
    for (std::uint8_t b : Ref(1000, 3)) payload.push_back(b);
    CompressedRTFResult r = DecodeCompressedRTFEx(WithHeader(4799, "LZFu", payload));
    ASSERT_EQ(r.status, CompressedRTFStatus::Decoded);
    const std::string full = std::string(reinterpret_cast<const char*>(CompressedRTFPreset().data()), 207) + literals;
    EXPECT_EQ(S(r.text).substr(4793, 3), full.substr(4196, 3));
    EXPECT_EQ(S(r.text).substr(4796, 3), full.substr(1000, 3));
}

TEST(CompressedRTF, DamagedDataIsRefusedNotRead) {
    struct Case {
        const char* what;
        Bytes input;
    };
    const std::vector<Case> cases = {
        {"payload ends before the text", WithHeader(100, "LZFu", Bytes{0x00, 'a', 'b'})},
        {"payload ends inside a reference", WithHeader(10, "LZFu", Bytes{0x01, 0x00})},
        {"reference before the start", WithHeader(10, "LZFu", Bytes{0x01, 0xFF, 0xF0})},
        {"raw size far beyond the payload", WithHeader(0xFFFFFFF0u, "LZFu", Bytes{0x00, 'a'})},
        {"MELA raw size far beyond the payload", WithHeader(0x40000000u, "MELA", B("abc"))},
    };
    for (const Case& c : cases) {
        CompressedRTFResult r = DecodeCompressedRTFEx(c.input);
        EXPECT_EQ(r.status, CompressedRTFStatus::Corrupt) << c.what;
        EXPECT_TRUE(r.text.empty()) << c.what;
        EXPECT_TRUE(DecodeCompressedRTF(c.input).empty()) << c.what;
    }
}

TEST(CompressedRTF, EncoderRoundTripsWithACorrectHeader) {
    std::mt19937 rng(7);
    const std::vector<std::string> words = {"{\\rtf1", "\\ansi", "\\par ", "\\pard", "\\plain", "\\f0", "\\fs20",
                                            "Hello", "world", " ", "}", "{", "\\'e9", "\r\n", "\\b", "\\i0 "};
    for (std::size_t length : {0u, 1u, 17u, 300u, 5000u, 70000u}) {
        std::string text;
        while (text.size() < length) {
            if (rng() % 5 == 0)
                text.push_back(static_cast<char>(rng() % 256));
            else
                text += words[rng() % words.size()];
        }
        text.resize(length);
        Bytes encoded = EncodeCompressedRTF(B(text));
        ASSERT_GE(encoded.size(), 16u);
        std::uint32_t compressedSize = encoded[0] | encoded[1] << 8 | encoded[2] << 16 | static_cast<std::uint32_t>(encoded[3]) << 24;
        EXPECT_EQ(compressedSize + 4, encoded.size());
        std::uint32_t crc = encoded[12] | encoded[13] << 8 | encoded[14] << 16 | static_cast<std::uint32_t>(encoded[15]) << 24;
        EXPECT_EQ(crc, CompressedRTFCrc(std::span<const std::uint8_t>(encoded).subspan(16)));
        if (length == 0) continue;  // raw size 0 reads back as not compressed
        EXPECT_EQ(S(DecodeCompressedRTF(encoded)), text) << length;
        if (length == 70000) {
            EXPECT_LT(encoded.size(), text.size());
        }
    }
}

TEST(CompressedRTF, TruncatedEncodingIsNeverReadPastItsEnd) {
    Bytes encoded = EncodeCompressedRTF(B(std::string(3000, 'x') + "{\\rtf1 tail}"));
    for (std::size_t cut = 0; cut < encoded.size(); cut += 7) {
        Bytes part(encoded.begin(), encoded.begin() + static_cast<std::ptrdiff_t>(cut));
        std::string text = CompressedRTFToText(part.data(), part.size());  // raw, never decoded past the end
        EXPECT_EQ(text.size(), cut + 1);
    }
}

}  // namespace
