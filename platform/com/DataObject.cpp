#include "platform/com/DataObject.h"

#include <cstring>

const IID& IEnumFORMATETC::iid() {
    static const IID id{0x00000103, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    return id;
}
const IID& IDataObject::iid() {
    static const IID id{0x0000010E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    return id;
}
const IID& IDropSource::iid() {
    static const IID id{0x00000121, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    return id;
}
const IID& IDropTarget::iid() {
    static const IID id{0x00000122, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    return id;
}
const IID& IAsyncOperation::iid() {
    static const IID id{0x3D8B0590, 0xF691, 0x11D2, {0x8E, 0xA9, 0x00, 0x60, 0x97, 0xDF, 0x5B, 0xD4}};
    return id;
}

void ReleaseStgMedium(STGMEDIUM* medium) {
    if (!medium) return;
    if (medium->pUnkForRelease) {
        medium->pUnkForRelease->Release();
    } else {
        switch (medium->tymed) {
            case TYMED_HGLOBAL:
                if (medium->hGlobal) GlobalFree(medium->hGlobal);
                break;
            case TYMED_ISTREAM:
                if (medium->pstm) medium->pstm->Release();
                break;
            case TYMED_ISTORAGE:
                if (medium->pstg) medium->pstg->Release();
                break;
            default:
                break;
        }
    }
    *medium = STGMEDIUM{};
}

HRESULT CopyStgMedium(const STGMEDIUM* source, STGMEDIUM* destination) {
    if (!source || !destination) return E_POINTER;
    STGMEDIUM copy;
    copy.tymed = source->tymed;
    switch (source->tymed) {
        case TYMED_HGLOBAL: {
            if (!source->hGlobal) return DV_E_TYMED;
            const std::size_t size = GlobalSize(source->hGlobal);
            copy.hGlobal = GlobalAlloc(GMEM_MOVEABLE, size);
            if (!copy.hGlobal) return E_OUTOFMEMORY;
            const void* from = GlobalLock(source->hGlobal);
            void* to = GlobalLock(copy.hGlobal);
            if (from && to && size) std::memcpy(to, from, size);
            GlobalUnlock(copy.hGlobal);
            GlobalUnlock(source->hGlobal);
            break;
        }
        case TYMED_ISTREAM:
            if (!source->pstm) return DV_E_TYMED;
            copy.pstm = source->pstm;
            copy.pstm->AddRef();
            break;
        case TYMED_ISTORAGE:
            if (!source->pstg) return DV_E_TYMED;
            copy.pstg = source->pstg;
            copy.pstg->AddRef();
            break;
        default:
            return DV_E_TYMED;
    }
    *destination = copy;
    return S_OK;
}
