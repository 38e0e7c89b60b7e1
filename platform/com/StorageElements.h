// Pieces shared by the read and the write side of structured storage: the element list
// behind IEnumSTATSTG, filling STATSTG, UTF-16 names and paths, and CopyTo over Read/Write.
#pragma once

#include <string>
#include <vector>

#include "platform/com/StructuredStorage.h"

struct StorageElement {
    WideString name;
    DWORD type = 0;
    ULONGLONG size = 0;
    CLSID clsid{};
};

// Fills a STATSTG; the name is copied into task-allocator memory unless statFlag is
// STATFLAG_NONAME. E_OUTOFMEMORY when the copy cannot be made.
HRESULT FillStatStg(const StorageElement& element, DWORD mode, DWORD statFlag, STATSTG* stat);

// An enumerator over a snapshot of a storage's elements, already in directory order.
ComPtr<IEnumSTATSTG> MakeElementEnumerator(std::vector<StorageElement> elements);

// The length of a null-terminated UTF-16 name.
std::size_t ElementNameLength(LPCOLESTR name);
// UTF-16 <-> UTF-8 for names and paths; false when the text is not well-formed.
bool ElementNameToUtf8(const WideString& name, std::string& out);
bool ElementNameFromUtf8(const char* name, WideString& out);

// IStream::CopyTo for any stream: reads from source and writes to target in chunks; E_FAIL
// when the target wrote less than it was given.
HRESULT CopyStreamTo(IStream* source, IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                     ULARGE_INTEGER* pcbWritten);
