// Clipboard formats whose data is one block of bytes, on a global block or a stream: the base
// with the medium handling, and the 8-bit string, line list, 32-bit value, class id and
// named formats over it.
#pragma once

#include "controls/dragdrop/ClipboardFormat.h"
#include "platform/vcl/Strings.h"

// Media from other processes larger than this are refused rather than read.
inline constexpr std::uint64_t MaxMediumDataSize = 256u << 20;

class TCustomSimpleClipboardFormat : public TClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    TCustomSimpleClipboardFormat() : TClipboardFormat(TYMED_HGLOBAL | TYMED_ISTREAM) {}

    // Copies the medium's bytes from its start into buffer (size bytes at most).
    static bool ReadDataInto(const STGMEDIUM& medium, void* buffer, std::size_t size);

protected:
    bool DoGetData(IDataObject* data, const STGMEDIUM& medium) override;
    virtual bool DoGetDataSized(IDataObject* data, const STGMEDIUM& medium, std::size_t size);
    bool DoSetData(const FORMATETC& format, STGMEDIUM& medium) override;
    virtual bool ReadData(const std::uint8_t* data, std::size_t size) = 0;
    virtual bool WriteData(std::uint8_t* data, std::size_t size) = 0;
    // Bytes WriteData writes; 0 when there is nothing to render.
    virtual std::size_t GetSize() = 0;
};

// The size of a medium's data; -1 for media without one.
std::int64_t GetMediumDataSize(const STGMEDIUM& medium);

class TCustomAnsiStringClipboardFormat : public TCustomSimpleClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    const AnsiString& Data() const { return data_; }
    void SetData(const AnsiString& data) { data_ = data; }
    bool TrimAtZero = false;

    void Clear() override { data_.clear(); }
    bool HasData() override { return !data_.empty(); }

protected:
    bool ReadData(const std::uint8_t* data, std::size_t size) override;
    bool WriteData(std::uint8_t* data, std::size_t size) override;
    std::size_t GetSize() override { return data_.size(); }

    AnsiString data_;
};

// An 8-bit string under a format id its owner sets.
class TAnsiStringClipboardFormat : public TCustomAnsiStringClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    TAnsiStringClipboardFormat() = default;
    explicit TAnsiStringClipboardFormat(const FORMATETC& format) { formatEtc_ = format; }
    CLIPFORMAT GetClipboardFormat() override { return formatEtc_.cfFormat; }
};

// Lines joined by CR LF, ended by a zero.
class TCustomStringListClipboardFormat : public TCustomSimpleClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    TStringList& Lines() { return lines_; }
    void Clear() override { lines_.Clear(); }
    bool HasData() override { return lines_.Count() > 0; }

protected:
    bool ReadData(const std::uint8_t* data, std::size_t size) override;
    bool WriteData(std::uint8_t* data, std::size_t size) override;
    std::size_t GetSize() override { return lines_.Text().size() + 1; }

private:
    TStringList lines_;
};

// A 32-bit little-endian value.
class TCustomDWORDClipboardFormat : public TCustomSimpleClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    DWORD Value = 0;
    bool GetValueBoolean() const { return Value != 0; }
    void SetValueBoolean(bool value) { Value = value ? 1 : 0; }
    void Clear() override { Value = 0; }

protected:
    bool ReadData(const std::uint8_t* data, std::size_t size) override;
    bool WriteData(std::uint8_t* data, std::size_t size) override;
    std::size_t GetSize() override { return 4; }
};

// The format id of a registered name, registered on first use.
CLIPFORMAT RegisteredFormat(const char* name);
