#include "platform/com/ByteStream.h"

#include <cstring>
#include <new>

#include "platform/com/StorageElements.h"

ByteStream::ByteStream(std::vector<std::uint8_t> bytes, bool atEnd)
    : bytes_(std::move(bytes)), pos_(atEnd ? bytes_.size() : 0), positioned_(!atEnd) {}

HRESULT ByteStream::Read(void* pv, ULONG cb, ULONG* pcbRead) {
    if (pcbRead) *pcbRead = 0;
    if (!pv && cb) return STG_E_INVALIDPOINTER;
    if (!positioned_) {
        pos_ = 0;
        positioned_ = true;
    }
    const std::size_t n = pos_ < bytes_.size() ? std::min<std::size_t>(cb, bytes_.size() - pos_) : 0;
    if (n) std::memcpy(pv, bytes_.data() + pos_, n);
    pos_ += n;
    if (pcbRead) *pcbRead = static_cast<ULONG>(n);
    return S_OK;
}

HRESULT ByteStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten) {
    if (pcbWritten) *pcbWritten = 0;
    if (!pv && cb) return STG_E_INVALIDPOINTER;
    positioned_ = true;
    try {
        if (pos_ + cb > bytes_.size()) bytes_.resize(pos_ + cb);
    } catch (const std::bad_alloc&) {
        return STG_E_MEDIUMFULL;
    }
    if (cb) std::memcpy(bytes_.data() + pos_, pv, cb);
    pos_ += cb;
    if (pcbWritten) *pcbWritten = cb;
    return S_OK;
}

HRESULT ByteStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) {
    LONGLONG base;
    switch (origin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(pos_); break;
        case STREAM_SEEK_END: base = static_cast<LONGLONG>(bytes_.size()); break;
        default: return STG_E_INVALIDFUNCTION;
    }
    const LONGLONG target = base + move.QuadPart;
    if (target < 0) return STG_E_INVALIDFUNCTION;
    pos_ = static_cast<std::size_t>(target);
    positioned_ = true;
    if (newPosition) newPosition->QuadPart = pos_;
    return S_OK;
}

HRESULT ByteStream::SetSize(ULARGE_INTEGER newSize) {
    try {
        bytes_.resize(static_cast<std::size_t>(newSize.QuadPart));
    } catch (const std::exception&) {
        return STG_E_MEDIUMFULL;
    }
    return S_OK;
}

HRESULT ByteStream::CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) {
    return CopyStreamTo(this, target, cb, pcbRead, pcbWritten);
}

HRESULT ByteStream::Stat(STATSTG* stat, DWORD) {
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = bytes_.size();
    return S_OK;
}
