// The data-object model of drag and drop and the clipboard: formats, media, the data object,
// its format enumerator and the two partners of a drag (source and target).
#pragma once

#include "platform/com/ComBase.h"
#include "platform/com/StructuredStorage.h"
#include "platform/win/WinGlobalMemory.h"

using CLIPFORMAT = WORD;

inline constexpr DWORD DVASPECT_CONTENT = 1;
inline constexpr DWORD TYMED_NULL = 0, TYMED_HGLOBAL = 1, TYMED_ISTREAM = 4, TYMED_ISTORAGE = 8;
inline constexpr DWORD DATADIR_GET = 1, DATADIR_SET = 2;

inline constexpr DWORD DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2,
                       DROPEFFECT_LINK = 4, DROPEFFECT_SCROLL = 0x80000000u;

// The key state of a drag: the mouse-message MK_* bits, plus Alt.
inline constexpr DWORD MK_ALT = 0x20;

inline constexpr HRESULT DRAGDROP_S_DROP = 0x00040100, DRAGDROP_S_CANCEL = 0x00040101,
                         DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
inline constexpr HRESULT DATA_S_SAMEFORMATETC = 0x00040130;
inline constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
inline constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069u);
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003u);

struct DVTARGETDEVICE;

struct FORMATETC {
    CLIPFORMAT cfFormat = 0;
    DVTARGETDEVICE* ptd = nullptr;
    DWORD dwAspect = DVASPECT_CONTENT;
    LONG lindex = -1;
    DWORD tymed = TYMED_NULL;
};

// One medium: a global block, a stream or a storage, by tymed. pUnkForRelease, when set,
// owns the content and is released instead of freeing it.
struct STGMEDIUM {
    DWORD tymed = TYMED_NULL;
    HGLOBAL hGlobal = nullptr;
    IStream* pstm = nullptr;
    IStorage* pstg = nullptr;
    IUnknown* pUnkForRelease = nullptr;
};

// Frees the content (or releases its owner) and empties the medium.
void ReleaseStgMedium(STGMEDIUM* medium);
// Copies a medium: a global block is duplicated; a stream or storage is shared with one more
// reference (their content is not copied). DV_E_TYMED for an empty medium.
HRESULT CopyStgMedium(const STGMEDIUM* source, STGMEDIUM* destination);

// Holds one medium and releases it when it goes.
class ScopedStgMedium {
public:
    ScopedStgMedium() = default;
    ScopedStgMedium(const ScopedStgMedium&) = delete;
    ScopedStgMedium& operator=(const ScopedStgMedium&) = delete;
    ~ScopedStgMedium() { ReleaseStgMedium(&medium_); }
    STGMEDIUM* get() { return &medium_; }
    const STGMEDIUM& operator*() const { return medium_; }

private:
    STGMEDIUM medium_;
};

struct IEnumFORMATETC : IUnknown {
    using Base = IUnknown;
    static const IID& iid();
    virtual HRESULT Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT Skip(ULONG celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** out) = 0;
};

struct IAdviseSink;
struct IEnumSTATDATA;

struct IDataObject : IUnknown {
    using Base = IUnknown;
    static const IID& iid();
    virtual HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) = 0;
    virtual HRESULT GetDataHere(FORMATETC* format, STGMEDIUM* medium) = 0;
    virtual HRESULT QueryGetData(FORMATETC* format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) = 0;
    // With release true the object takes the medium over.
    virtual HRESULT SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) = 0;
    virtual HRESULT DAdvise(FORMATETC* format, DWORD advf, IAdviseSink* sink, DWORD* connection) = 0;
    virtual HRESULT DUnadvise(DWORD connection) = 0;
    virtual HRESULT EnumDAdvise(IEnumSTATDATA** out) = 0;
};

struct IDropSource : IUnknown {
    using Base = IUnknown;
    static const IID& iid();
    virtual HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) = 0;
    virtual HRESULT GiveFeedback(DWORD effect) = 0;
};

struct IDropTarget : IUnknown {
    using Base = IUnknown;
    static const IID& iid();
    virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
};

struct IAsyncOperation : IUnknown {
    using Base = IUnknown;
    static const IID& iid();
    virtual HRESULT SetAsyncMode(BOOL async) = 0;
    virtual HRESULT GetAsyncMode(BOOL* async) = 0;
    virtual HRESULT StartOperation(void* reserved) = 0;
    virtual HRESULT InOperation(BOOL* inOperation) = 0;
    virtual HRESULT EndOperation(HRESULT result, void* reserved, DWORD effects) = 0;
};
