// A stream over a growable byte vector, for media handed to and from data objects. A stream
// handed out positioned at its end (as rendered data is) still reads from its start until the
// reader first seeks, since readers take media as they come.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/com/StructuredStorage.h"

class ByteStream final : public ComObject<IStream> {
public:
    // atEnd: positioned after the bytes, reading from the start until the first seek.
    explicit ByteStream(std::vector<std::uint8_t> bytes = {}, bool atEnd = false);

    HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override;
    HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    HRESULT SetSize(ULARGE_INTEGER newSize) override;
    HRESULT CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override;
    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return S_OK; }
    HRESULT Stat(STATSTG* stat, DWORD statFlag) override;

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t pos_;
    bool positioned_;
};
