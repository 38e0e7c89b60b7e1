#include "platform/com/StructuredStorage.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include <glib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/com/CompoundFileDirectory.h"
#include "platform/com/DocfileWriteStorage.h"
#include "platform/com/ImageReadStorage.h"
#include "platform/com/StorageElements.h"

const IID& ISequentialStream::iid() {
    static const IID id{0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
    return id;
}
const IID& IStream::iid() {
    static const IID id{0x0000000C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    return id;
}
const IID& IStorage::iid() {
    static const IID id{0x0000000B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    return id;
}
const IID& IEnumSTATSTG::iid() {
    static const IID id{0x0000000D, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    return id;
}

namespace {

thread_local std::string lastOpenFailure;

// Records why an open failed (or clears it) and passes the result on.
HRESULT OpenResult(HRESULT hr, const char* why) {
    if (FAILED(hr) && lastOpenFailure.empty()) lastOpenFailure = why;
    return hr;
}

HRESULT HresultFromOpenErrno(int err) {
    switch (err) {
        case ENOENT: return STG_E_FILENOTFOUND;
        case ENOTDIR: return STG_E_PATHNOTFOUND;
        case EACCES:
        case EPERM: return STG_E_ACCESSDENIED;
        case EMFILE:
        case ENFILE: return STG_E_TOOMANYOPENFILES;
        case EISDIR: return STG_E_ACCESSDENIED;
        default: return STG_E_READFAULT;
    }
}

bool PathToUtf8(LPCOLESTR path, std::string& out) {
    return path && ElementNameToUtf8(WideString(path, ElementNameLength(path)), out);
}

// A file opened for reading, closed when it goes. Non-blocking, so a FIFO is never waited on.
struct ReadOnlyFile {
    int fd;
    int error = 0;
    explicit ReadOnlyFile(const std::string& path) : fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
        if (fd < 0) error = errno;
    }
    ~ReadOnlyFile() {
        if (fd >= 0) ::close(fd);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    // Up to size bytes from the current position; -1 on a read error.
    ssize_t Read(std::uint8_t* out, std::size_t size) const {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd, out + done, size - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return -1;
            if (n == 0) break;
            done += static_cast<std::size_t>(n);
        }
        return static_cast<ssize_t>(done);
    }
};

// Reads a whole regular file; an HRESULT for what failed. One open and one fstat: a folder scan
// reads every message file through here.
HRESULT ReadWholeFile(const std::string& path, StorageImageBytes& bytes) {
    const ReadOnlyFile file(path);
    if (file.fd < 0) return HresultFromOpenErrno(file.error);
    const int fd = file.fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0) return HresultFromOpenErrno(errno);
    if (!S_ISREG(st.st_mode)) return STG_E_ACCESSDENIED;
    if (!bytes.Allocate(static_cast<std::size_t>(st.st_size))) return STG_E_INSUFFICIENTMEMORY;
    // A file that shrank meanwhile is read as far as it goes.
    const ssize_t done = file.Read(bytes.data.get(), bytes.size);
    if (done < 0) return STG_E_READFAULT;
    bytes.size = static_cast<std::size_t>(done);
    return S_OK;
}

char16_t UpperUnit(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    if (c >= 0xD800 && c <= 0xDFFF) return c;
    gunichar u = g_unichar_toupper(c);
    return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

}  // namespace

int CompareStorageElementNames(const char16_t* a, std::size_t alen, const char16_t* b, std::size_t blen) {
    if (alen != blen) return alen < blen ? -1 : 1;
    for (std::size_t i = 0; i < alen; ++i) {
        if (a[i] == b[i]) continue;  // equal units need no case folding
        char16_t x = UpperUnit(a[i]), y = UpperUnit(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

bool IsValidStorageElementName(LPCOLESTR name) {
    if (!name) return false;
    std::size_t len = ElementNameLength(name);
    if (len == 0 || len > 31) return false;
    for (std::size_t i = 0; i < len; ++i)
        if (name[i] == u'/' || name[i] == u'\\' || name[i] == u':' || name[i] == u'!') return false;
    return true;
}

HRESULT StgIsStorageFile(LPCOLESTR path) {
    std::string p;
    if (!PathToUtf8(path, p)) return STG_E_INVALIDNAME;
    // Eight bytes straight from the file, not a buffered block: a folder scan asks this of
    // every message file.
    const ReadOnlyFile file(p);
    if (file.fd < 0) return HresultFromOpenErrno(file.error);
    std::uint8_t head[8] = {};
    const ssize_t n = file.Read(head, sizeof head);
    return n > 0 && CompoundFileDirectory::HasSignature(head, static_cast<std::size_t>(n)) ? S_OK : S_FALSE;
}

HRESULT StgIsStorageMemory(const void* data, std::size_t size) {
    return CompoundFileDirectory::HasSignature(static_cast<const std::uint8_t*>(data), size) ? S_OK : S_FALSE;
}

const std::string& StgLastOpenFailure() { return lastOpenFailure; }

HRESULT StgOpenStorage(LPCOLESTR path, IStorage* priority, DWORD mode, SNB, DWORD, IStorage** out) {
    lastOpenFailure.clear();
    if (!out) return STG_E_INVALIDPOINTER;
    *out = nullptr;
    if (priority) return STG_E_INVALIDPARAMETER;
    if (mode & (STGM_WRITE | STGM_READWRITE)) return STG_E_INVALIDFLAG;
    std::string p;
    if (!PathToUtf8(path, p)) return STG_E_INVALIDNAME;
    StorageImageBytes bytes;
    if (HRESULT hr = ReadWholeFile(p, bytes); FAILED(hr)) return OpenResult(hr, "cannot read the file");
    // As on the original platform, a file that is no compound file "already exists".
    if (!CompoundFileDirectory::HasSignature(bytes.data.get(), bytes.size))
        return OpenResult(STG_E_FILEALREADYEXISTS, "not a compound file");
    return OpenResult(OpenImageReadStorage(std::move(bytes), mode, out, &lastOpenFailure), "cannot open");
}

HRESULT StgOpenStorageOnMemory(const void* data, std::size_t size, DWORD mode, IStorage** out) {
    lastOpenFailure.clear();
    if (!out) return STG_E_INVALIDPOINTER;
    *out = nullptr;
    if (!data && size) return STG_E_INVALIDPOINTER;
    if (!CompoundFileDirectory::HasSignature(static_cast<const std::uint8_t*>(data), size))
        return OpenResult(STG_E_FILEALREADYEXISTS, "not a compound file");
    StorageImageBytes bytes;
    if (!bytes.Allocate(size)) return OpenResult(STG_E_INSUFFICIENTMEMORY, "no memory for the image");
    std::memcpy(bytes.data.get(), data, size);
    return OpenResult(OpenImageReadStorage(std::move(bytes), mode, out, &lastOpenFailure), "cannot open");
}

HRESULT StgCreateDocfile(LPCOLESTR path, DWORD mode, DWORD, IStorage** out) {
    if (!out) return STG_E_INVALIDPOINTER;
    *out = nullptr;
    std::string p;
    if (!PathToUtf8(path, p) || p.empty()) return STG_E_INVALIDNAME;
    return CreateDocfileWriteStorage(p, mode, out);
}

HRESULT WriteClassStg(IStorage* storage, REFCLSID clsid) {
    if (!storage) return E_INVALIDARG;
    return storage->SetClass(clsid);
}

HRESULT ReadClassStg(IStorage* storage, CLSID* clsid) {
    if (!storage || !clsid) return E_INVALIDARG;
    STATSTG st;
    HRESULT hr = storage->Stat(&st, STATFLAG_NONAME);
    *clsid = SUCCEEDED(hr) ? st.clsid : CLSID{};
    return hr;
}
