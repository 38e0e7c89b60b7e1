// OLE structured storage (compound files) for the program's code: IStorage, IStream,
// IEnumSTATSTG and the Stg* functions. Files are written through libgsf.
//
// Reading: a compound file (from a path or from memory) is checked for structural damage
// (sector chains, directory tree, sizes) before any stream is read, so a damaged file fails with
// STG_E_DOCFILECORRUPT instead of loading partly. Only read access is offered on an existing
// compound file.
//
// Writing: StgCreateDocfile gives a storage kept in memory; Commit on the root writes the
// whole compound file to a temporary file beside the target and renames it into place.
// Releasing the root without Commit leaves the target untouched.
//
// Enumeration order: the children of a storage are always enumerated in the compound file's
// directory order: shorter names first, names of equal length by their upper-case UTF-16
// code units. Element names compare case-insensitively in that same sense.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/com/ComBase.h"

using LPOLESTR = char16_t*;
using LPCOLESTR = const char16_t*;
using SNB = char16_t**;

// Access and sharing modes.
inline constexpr DWORD STGM_READ = 0x00000000;
inline constexpr DWORD STGM_WRITE = 0x00000001;
inline constexpr DWORD STGM_READWRITE = 0x00000002;
inline constexpr DWORD STGM_SHARE_DENY_NONE = 0x00000040;
inline constexpr DWORD STGM_SHARE_DENY_READ = 0x00000030;
inline constexpr DWORD STGM_SHARE_DENY_WRITE = 0x00000020;
inline constexpr DWORD STGM_SHARE_EXCLUSIVE = 0x00000010;
inline constexpr DWORD STGM_PRIORITY = 0x00040000;
inline constexpr DWORD STGM_CREATE = 0x00001000;
inline constexpr DWORD STGM_CONVERT = 0x00020000;
inline constexpr DWORD STGM_FAILIFTHERE = 0x00000000;
inline constexpr DWORD STGM_DIRECT = 0x00000000;
inline constexpr DWORD STGM_TRANSACTED = 0x00010000;
inline constexpr DWORD STGM_NOSCRATCH = 0x00100000;
inline constexpr DWORD STGM_NOSNAPSHOT = 0x00200000;
inline constexpr DWORD STGM_SIMPLE = 0x08000000;
inline constexpr DWORD STGM_DELETEONRELEASE = 0x04000000;

// Element kinds in STATSTG::type.
inline constexpr DWORD STGTY_STORAGE = 1;
inline constexpr DWORD STGTY_STREAM = 2;
inline constexpr DWORD STGTY_LOCKBYTES = 3;
inline constexpr DWORD STGTY_PROPERTY = 4;

// Seek origins.
inline constexpr DWORD STREAM_SEEK_SET = 0;
inline constexpr DWORD STREAM_SEEK_CUR = 1;
inline constexpr DWORD STREAM_SEEK_END = 2;

// Stat flags.
inline constexpr DWORD STATFLAG_DEFAULT = 0;
inline constexpr DWORD STATFLAG_NONAME = 1;

// Commit flags (all behave as STGC_DEFAULT here).
inline constexpr DWORD STGC_DEFAULT = 0;
inline constexpr DWORD STGC_OVERWRITE = 1;
inline constexpr DWORD STGC_ONLYIFCURRENT = 2;

// Storage errors.
inline constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001u);
inline constexpr HRESULT STG_E_FILENOTFOUND = static_cast<HRESULT>(0x80030002u);
inline constexpr HRESULT STG_E_PATHNOTFOUND = static_cast<HRESULT>(0x80030003u);
inline constexpr HRESULT STG_E_TOOMANYOPENFILES = static_cast<HRESULT>(0x80030004u);
inline constexpr HRESULT STG_E_ACCESSDENIED = static_cast<HRESULT>(0x80030005u);
inline constexpr HRESULT STG_E_INVALIDHANDLE = static_cast<HRESULT>(0x80030006u);
inline constexpr HRESULT STG_E_INSUFFICIENTMEMORY = static_cast<HRESULT>(0x80030008u);
inline constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009u);
inline constexpr HRESULT STG_E_NOMOREFILES = static_cast<HRESULT>(0x80030012u);
inline constexpr HRESULT STG_E_DISKISWRITEPROTECTED = static_cast<HRESULT>(0x80030013u);
inline constexpr HRESULT STG_E_SEEKERROR = static_cast<HRESULT>(0x80030019u);
inline constexpr HRESULT STG_E_WRITEFAULT = static_cast<HRESULT>(0x8003001Du);
inline constexpr HRESULT STG_E_READFAULT = static_cast<HRESULT>(0x8003001Eu);
inline constexpr HRESULT STG_E_SHAREVIOLATION = static_cast<HRESULT>(0x80030020u);
inline constexpr HRESULT STG_E_LOCKVIOLATION = static_cast<HRESULT>(0x80030021u);
inline constexpr HRESULT STG_E_FILEALREADYEXISTS = static_cast<HRESULT>(0x80030050u);
inline constexpr HRESULT STG_E_INVALIDPARAMETER = static_cast<HRESULT>(0x80030057u);
inline constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070u);
inline constexpr HRESULT STG_E_INVALIDHEADER = static_cast<HRESULT>(0x800300FBu);
inline constexpr HRESULT STG_E_INVALIDNAME = static_cast<HRESULT>(0x800300FCu);
inline constexpr HRESULT STG_E_UNIMPLEMENTEDFUNCTION = static_cast<HRESULT>(0x800300FEu);
inline constexpr HRESULT STG_E_INVALIDFLAG = static_cast<HRESULT>(0x800300FFu);
inline constexpr HRESULT STG_E_REVERTED = static_cast<HRESULT>(0x80030102u);
inline constexpr HRESULT STG_E_CANTSAVE = static_cast<HRESULT>(0x80030103u);
inline constexpr HRESULT STG_E_DOCFILECORRUPT = static_cast<HRESULT>(0x80030109u);

struct STATSTG {
    LPOLESTR pwcsName = nullptr;  // from CoTaskMemAlloc; the receiver frees it
    DWORD type = 0;
    ULARGE_INTEGER cbSize{};
    FILETIME mtime{};
    FILETIME ctime{};
    FILETIME atime{};
    DWORD grfMode = 0;
    DWORD grfLocksSupported = 0;
    CLSID clsid{};
    DWORD grfStateBits = 0;
    DWORD reserved = 0;
};

struct ISequentialStream : IUnknown {
    using Base = IUnknown;
    static const IID& iid();
    virtual HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
    virtual HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;
};

struct IStream : ISequentialStream {
    using Base = ISequentialStream;
    static const IID& iid();
    virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
    virtual HRESULT SetSize(ULARGE_INTEGER newSize) = 0;
    virtual HRESULT CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                           ULARGE_INTEGER* pcbWritten) = 0;
    virtual HRESULT Commit(DWORD flags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT Stat(STATSTG* stat, DWORD statFlag) = 0;
};

struct IEnumSTATSTG : IUnknown {
    using Base = IUnknown;
    static const IID& iid();
    // Fills up to celt entries; S_FALSE when fewer than celt were left.
    virtual HRESULT Next(ULONG celt, STATSTG* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumSTATSTG** out) = 0;
};

struct IStorage : IUnknown {
    using Base = IUnknown;
    static const IID& iid();
    virtual HRESULT CreateStream(LPCOLESTR name, DWORD mode, DWORD reserved1, DWORD reserved2,
                                 IStream** out) = 0;
    virtual HRESULT OpenStream(LPCOLESTR name, void* reserved1, DWORD mode, DWORD reserved2,
                               IStream** out) = 0;
    virtual HRESULT CreateStorage(LPCOLESTR name, DWORD mode, DWORD reserved1, DWORD reserved2,
                                  IStorage** out) = 0;
    virtual HRESULT OpenStorage(LPCOLESTR name, IStorage* priority, DWORD mode, SNB exclude,
                                DWORD reserved, IStorage** out) = 0;
    virtual HRESULT EnumElements(DWORD reserved1, void* reserved2, DWORD reserved3,
                                 IEnumSTATSTG** out) = 0;
    virtual HRESULT DestroyElement(LPCOLESTR name) = 0;
    virtual HRESULT Commit(DWORD flags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT SetClass(REFCLSID clsid) = 0;
    virtual HRESULT Stat(STATSTG* stat, DWORD statFlag) = 0;
};

// S_OK when the file is a compound file, S_FALSE when it is not, an STG_E_ error when it
// cannot be read.
HRESULT StgIsStorageFile(LPCOLESTR path);
// S_OK / S_FALSE for a compound file image held in memory.
HRESULT StgIsStorageMemory(const void* data, std::size_t size);

// Opens an existing compound file for reading (STGM_WRITE and STGM_READWRITE are refused with
// STG_E_INVALIDFLAG). The file is read into memory; nothing keeps it open afterwards.
HRESULT StgOpenStorage(LPCOLESTR path, IStorage* priority, DWORD mode, SNB exclude,
                       DWORD reserved, IStorage** out);
// Opens a compound file image held in memory for reading; the bytes are copied.
HRESULT StgOpenStorageOnMemory(const void* data, std::size_t size, DWORD mode, IStorage** out);

// Why the last StgOpenStorage or StgOpenStorageOnMemory of this thread failed, in words for a
// log ("broken stream sector chain", ...); empty after a success.
const std::string& StgLastOpenFailure();

// Creates a new compound file to be written at path (see the top of this file). Without
// STGM_CREATE an existing file fails with STG_E_FILEALREADYEXISTS.
HRESULT StgCreateDocfile(LPCOLESTR path, DWORD mode, DWORD reserved, IStorage** out);

HRESULT WriteClassStg(IStorage* storage, REFCLSID clsid);
HRESULT ReadClassStg(IStorage* storage, CLSID* clsid);

// Element names: at most 31 UTF-16 units, none of '/', '\\', ':', '!'.
bool IsValidStorageElementName(LPCOLESTR name);
// The compound-file directory order of two element names (negative, 0, positive).
int CompareStorageElementNames(const char16_t* a, std::size_t alen, const char16_t* b,
                               std::size_t blen);
