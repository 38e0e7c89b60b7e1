#include "controls/dragdrop/SimpleFormats.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/com/ByteStream.h"
#include "platform/vcl/Clipbrd.h"

DRAGDROP_DEFINE_ABSTRACT_CLASS(TClipboardFormatClass, TCustomSimpleClipboardFormat, TClipboardFormat)
DRAGDROP_DEFINE_ABSTRACT_CLASS(TClipboardFormatClass, TCustomAnsiStringClipboardFormat, TCustomSimpleClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TAnsiStringClipboardFormat, TCustomAnsiStringClipboardFormat)
DRAGDROP_DEFINE_ABSTRACT_CLASS(TClipboardFormatClass, TCustomStringListClipboardFormat, TCustomSimpleClipboardFormat)
DRAGDROP_DEFINE_ABSTRACT_CLASS(TClipboardFormatClass, TCustomDWORDClipboardFormat, TCustomSimpleClipboardFormat)

namespace {

constexpr std::size_t kChunk = 0x100000;

// The stream's size, or none when it cannot tell.
std::optional<std::uint64_t> StreamSize(IStream* stream) {
    STATSTG stat;
    if (!stream || stream->Stat(&stat, STATFLAG_NONAME) != S_OK) return std::nullopt;
    return stat.cbSize.QuadPart;
}

// Reads from the stream's start into buffer until size bytes, a failure or the end; the
// bytes read, or none on failure.
std::optional<std::size_t> ReadStream(IStream* stream, std::uint8_t* buffer, std::size_t size) {
    LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return std::nullopt;
    std::size_t done = 0;
    while (done < size) {
        ULONG got = 0;
        const ULONG want = static_cast<ULONG>(std::min(kChunk, size - done));
        if (FAILED(stream->Read(buffer + done, want, &got))) return std::nullopt;
        if (got == 0) break;
        done += std::min<std::size_t>(got, want);
    }
    return done;
}

}  // namespace

CLIPFORMAT RegisteredFormat(const char* name) { return static_cast<CLIPFORMAT>(RegisterClipboardFormatA(name)); }

std::int64_t GetMediumDataSize(const STGMEDIUM& medium) {
    switch (medium.tymed) {
        case TYMED_HGLOBAL: return static_cast<std::int64_t>(GlobalSize(medium.hGlobal));
        case TYMED_ISTREAM: {
            const auto size = StreamSize(medium.pstm);
            return size && *size <= MaxMediumDataSize ? static_cast<std::int64_t>(*size) : -1;
        }
        default: return -1;
    }
}

bool TCustomSimpleClipboardFormat::DoGetData(IDataObject* data, const STGMEDIUM& medium) {
    // Storages have no source on this desktop; they are refused rather than guessed at.
    if (medium.tymed != TYMED_HGLOBAL && medium.tymed != TYMED_ISTREAM) return false;
    if (medium.tymed == TYMED_ISTREAM && !StreamSize(medium.pstm)) return false;
    const std::int64_t size = GetMediumDataSize(medium);
    if (size < 0) return false;
    if (size == 0) return true;
    return DoGetDataSized(data, medium, static_cast<std::size_t>(size));
}

bool TCustomSimpleClipboardFormat::DoGetDataSized(IDataObject*, const STGMEDIUM& medium, std::size_t size) {
    if (size < 1 || size > MaxMediumDataSize) return false;
    if (medium.tymed == TYMED_HGLOBAL) {
        const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(medium.hGlobal));
        if (!bytes) return false;
        // The block may be smaller than asked for; never read past it.
        const bool ok = ReadData(bytes, std::min(size, GlobalSize(medium.hGlobal)));
        GlobalUnlock(medium.hGlobal);
        return ok;
    }
    if (medium.tymed == TYMED_ISTREAM && medium.pstm) {
        std::vector<std::uint8_t> buffer(size);
        const auto got = ReadStream(medium.pstm, buffer.data(), size);
        return got && ReadData(buffer.data(), *got);
    }
    return false;
}

bool TCustomSimpleClipboardFormat::ReadDataInto(const STGMEDIUM& medium, void* buffer, std::size_t size) {
    if (!buffer || size == 0) return false;
    if (medium.tymed == TYMED_HGLOBAL) {
        const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(medium.hGlobal));
        if (!bytes) return false;
        std::memcpy(buffer, bytes, std::min(size, GlobalSize(medium.hGlobal)));
        GlobalUnlock(medium.hGlobal);
        return true;
    }
    if (medium.tymed == TYMED_ISTREAM && medium.pstm)
        return ReadStream(medium.pstm, static_cast<std::uint8_t*>(buffer), size).has_value();
    return false;
}

bool TCustomSimpleClipboardFormat::DoSetData(const FORMATETC& format, STGMEDIUM& medium) {
    const std::size_t size = GetSize();
    if (size == 0) return false;
    const DWORD mine = FormatEtc().tymed;
    if (format.tymed != static_cast<DWORD>(-1) && (format.tymed & mine & TYMED_ISTREAM)) {
        std::vector<std::uint8_t> bytes(size, 0);
        if (!WriteData(bytes.data(), size)) return false;
        // Handed over at its end, as rendered; it still reads from its start.
        medium.pstm = MakeComObject<ByteStream>(std::move(bytes), true).Detach();
        medium.tymed = TYMED_ISTREAM;
        return true;
    }
    if (format.tymed & mine & TYMED_HGLOBAL) {
        HGLOBAL block = GlobalAlloc(GHND, size);
        if (!block) return false;
        auto* bytes = static_cast<std::uint8_t*>(GlobalLock(block));
        const bool ok = bytes && WriteData(bytes, size);
        GlobalUnlock(block);
        if (!ok) {
            GlobalFree(block);
            return false;
        }
        medium.hGlobal = block;
        medium.tymed = TYMED_HGLOBAL;
        return true;
    }
    return false;
}

bool TCustomAnsiStringClipboardFormat::ReadData(const std::uint8_t* data, std::size_t size) {
    data_.assign(reinterpret_cast<const char*>(data), size);
    if (TrimAtZero) data_ = data_.substr(0, data_.find('\0'));
    return true;
}

bool TCustomAnsiStringClipboardFormat::WriteData(std::uint8_t* data, std::size_t size) {
    if (size > data_.size() + 1) return false;
    std::memcpy(data, data_.c_str(), size);
    return true;
}

bool TCustomStringListClipboardFormat::ReadData(const std::uint8_t* data, std::size_t size) {
    // The last byte is the terminator; the text ends at the first zero in any case.
    AnsiString text(reinterpret_cast<const char*>(data), size ? size - 1 : 0);
    lines_.SetText(text.substr(0, text.find('\0')));
    return true;
}

bool TCustomStringListClipboardFormat::WriteData(std::uint8_t* data, std::size_t size) {
    const AnsiString text = lines_.Text();
    if (size != text.size() + 1) return false;
    std::memcpy(data, text.c_str(), size);
    return true;
}

bool TCustomDWORDClipboardFormat::ReadData(const std::uint8_t* data, std::size_t size) {
    // A short medium gives what it holds, zero-extended.
    std::uint8_t bytes[4] = {};
    std::memcpy(bytes, data, std::min<std::size_t>(size, 4));
    Value = DWORD(bytes[0]) | DWORD(bytes[1]) << 8 | DWORD(bytes[2]) << 16 | DWORD(bytes[3]) << 24;
    return true;
}

bool TCustomDWORDClipboardFormat::WriteData(std::uint8_t* data, std::size_t size) {
    if (size != 4) return false;
    for (int i = 0; i < 4; ++i) data[i] = static_cast<std::uint8_t>(Value >> (8 * i));
    return true;
}
