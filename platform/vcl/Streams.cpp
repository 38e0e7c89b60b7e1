#include "platform/vcl/Streams.h"

#include <algorithm>
#include <cstring>

#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(position, TSeekOrigin::soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) {}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError(u"Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const std::int64_t total = count;
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 0xF000)));
    while (count > 0) {
        const std::int64_t n = std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        count -= n;
    }
    return total;
}

// --- THandleStream ---------------------------------------------------------------------------

std::int64_t THandleStream::Read(void* buffer, std::int64_t count) {
    std::int64_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::int64_t>(count - done, 0x40000000));
        DWORD got = 0;
        if (!ReadFile(handle_, out + done, chunk, &got, nullptr)) return done == 0 ? -1 : done;
        if (got == 0) break;
        done += got;
    }
    return done;
}

std::int64_t THandleStream::Write(const void* buffer, std::int64_t count) {
    std::int64_t done = 0;
    const auto* in = static_cast<const char*>(buffer);
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::int64_t>(count - done, 0x40000000));
        DWORD put = 0;
        if (!WriteFile(handle_, in + done, chunk, &put, nullptr)) return done == 0 ? -1 : done;
        if (put == 0) break;
        done += put;
    }
    return done;
}

std::int64_t THandleStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER moved;
    moved.QuadPart = 0;
    const DWORD method = origin == TSeekOrigin::soBeginning ? FILE_BEGIN
                         : origin == TSeekOrigin::soCurrent ? FILE_CURRENT
                                                              : FILE_END;
    if (!SetFilePointerEx(handle_, distance, &moved, method)) return -1;
    return moved.QuadPart;
}

void THandleStream::SetSize(std::int64_t size) {
    const std::int64_t position = Position();
    if (Seek(size, TSeekOrigin::soBeginning) < 0 || !SetEndOfFile(handle_)) RaiseLastOSError();
    Seek(std::min(position, size), TSeekOrigin::soBeginning);
}

// --- TFileStream -----------------------------------------------------------------------------

namespace {

WideString FileErrorText(const char16_t* format, const AnsiString& fileName) {
    const DWORD error = GetLastError();
    const WideString name = Utf8ToUtf16(fileName);
    return WideFormat(format, name.c_str(), SysErrorMessage(error).c_str());
}

}  // namespace

TFileStream::TFileStream(const AnsiString& fileName, WORD mode)
    : THandleStream(INVALID_HANDLE_VALUE), fileName_(fileName) {
    const WideString name = Utf8ToUtf16(fileName);
    if (mode == fmCreate) {
        handle_ = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            throw EFCreateError(FileErrorText(u"Cannot create file \"%s\". %s", fileName));
    } else {
        handle_ = CreateFileW(name.c_str(), FileOpenAccess(mode), FileOpenShare(mode), nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            throw EFOpenError(FileErrorText(u"Cannot open file \"%s\". %s", fileName));
    }
}

TFileStream::~TFileStream() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

// --- TMemoryStream ---------------------------------------------------------------------------

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    const std::int64_t available = Size() - position_;
    const std::int64_t n = std::clamp<std::int64_t>(count, 0, std::max<std::int64_t>(available, 0));
    if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    if (position_ + count > Size()) data_.resize(static_cast<std::size_t>(position_ + count));
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    const std::int64_t base = origin == TSeekOrigin::soBeginning ? 0
                              : origin == TSeekOrigin::soCurrent ? position_
                                                                   : Size();
    if (base + offset < 0) return -1;
    position_ = base + offset;
    return position_;
}

void TMemoryStream::SetSize(std::int64_t size) {
    data_.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    const std::int64_t size = stream.Size();
    SetSize(size);
    if (size > 0) stream.ReadBuffer(data_.data(), size);
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) const {
    if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<std::int64_t>(data_.size()));
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const AnsiString& fileName) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// --- TStringStream ---------------------------------------------------------------------------

std::int64_t TStringStream::Read(void* buffer, std::int64_t count) {
    const std::int64_t available = static_cast<std::int64_t>(data_.size()) - position_;
    const std::int64_t n = std::clamp<std::int64_t>(count, 0, std::max<std::int64_t>(available, 0));
    if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t TStringStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    const auto end = static_cast<std::size_t>(position_ + count);
    if (end > data_.size()) data_.resize(end);
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

std::int64_t TStringStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    const std::int64_t base = origin == TSeekOrigin::soBeginning ? 0
                              : origin == TSeekOrigin::soCurrent ? position_
                                                                   : static_cast<std::int64_t>(data_.size());
    if (base + offset < 0) return -1;
    position_ = base + offset;
    return position_;
}

void TStringStream::SetSize(std::int64_t size) {
    data_.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    position_ = std::min<std::int64_t>(position_, static_cast<std::int64_t>(data_.size()));
}

AnsiString TStringStream::ReadString(std::int64_t count) {
    AnsiString out(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)), '\0');
    out.resize(static_cast<std::size_t>(Read(out.data(), count)));
    return out;
}

void TStringStream::WriteString(std::string_view text) {
    Write(text.data(), static_cast<std::int64_t>(text.size()));
}
