// The stream family: TStream, THandleStream over a file handle, TFileStream that opens the
// handle by name, TMemoryStream and TStringStream.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/SysUtils.h"

QUILLORA_EXCEPTION_CLASS(EStreamError, Exception);
QUILLORA_EXCEPTION_CLASS(EFCreateError, EStreamError);
QUILLORA_EXCEPTION_CLASS(EFOpenError, EStreamError);
QUILLORA_EXCEPTION_CLASS(EReadError, EStreamError);
QUILLORA_EXCEPTION_CLASS(EWriteError, EStreamError);

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    std::string_view ClassName() const override { return "TStream"; }

    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Writes up to count bytes; returns how many were written.
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Moves the position and returns the new one (-1 when the move failed).
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size);

    // Read or write exactly count bytes, else raise EReadError / EWriteError.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies count bytes from the source's position; 0 copies the whole source from its start.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// A stream over a file handle it does not own.
class THandleStream : public TStream {
public:
    explicit THandleStream(HANDLE handle) : handle_(handle) {}
    std::string_view ClassName() const override { return "THandleStream"; }

    HANDLE Handle() const { return handle_; }
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;

protected:
    HANDLE handle_;
};

// A file opened by its (UTF-8) name with an open mode (fmCreate, or fmOpenXxx | fmShareXxx);
// it owns the handle. Failures raise EFCreateError / EFOpenError with the system's reason.
class TFileStream : public THandleStream {
public:
    TFileStream(const AnsiString& fileName, WORD mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    std::string_view ClassName() const override { return "TFileStream"; }

    const AnsiString& FileName() const { return fileName_; }

private:
    AnsiString fileName_;
};

// Bytes in memory; Size may be set, Memory points at them.
class TMemoryStream : public TStream {
public:
    std::string_view ClassName() const override { return "TMemoryStream"; }

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;

    void* Memory() { return data_.data(); }
    const void* Memory() const { return data_.data(); }
    void Clear();
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName) const;

private:
    std::vector<char> data_;
    std::int64_t position_ = 0;
};

// A stream over an 8-bit string.
class TStringStream : public TStream {
public:
    explicit TStringStream(AnsiString data = {}) : data_(std::move(data)) {}
    std::string_view ClassName() const override { return "TStringStream"; }

    const AnsiString& DataString() const { return data_; }
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;
    // Reads up to count bytes from the position.
    AnsiString ReadString(std::int64_t count);
    void WriteString(std::string_view text);

private:
    AnsiString data_;
    std::int64_t position_ = 0;
};
