#include "controls/dragdrop/DropPIDLComponents.h"

TDropPIDLSource::TDropPIDLSource(TComponent* owner)
    : TCustomDropMultiSource(owner),
      pidls_(Own(std::make_unique<TPIDLDataFormat>(this))),
      maps_(Own(std::make_unique<TFileMapDataFormat>(this))) {}

void TDropPIDLSource::CopyFolderPIDLToList(const ItemIdList& folder) {
    pidls_.Clear();
    maps_.Clear();
    pidls_.PIDLs().Add(folder);
}

void TDropPIDLSource::CopyFilePIDLToList(const ItemIdList& item) {
    if (pidls_.PIDLs().Count() == 0) throw Exception("Folder PIDL must be added first");
    pidls_.PIDLs().Add(item);
}

TDropPIDLTarget::TDropPIDLTarget(TComponent* owner)
    : TCustomDropMultiTarget(owner),
      pidls_(Own(std::make_unique<TPIDLDataFormat>(this))),
      maps_(Own(std::make_unique<TFileMapDataFormat>(this))) {}

std::optional<ItemIdList> TDropPIDLTarget::FolderPIDL() {
    if (PIDLCount() == 0) return std::nullopt;
    return pidls_.PIDLs().Item(0);
}

std::optional<ItemIdList> TDropPIDLTarget::RelativeFilePIDL(int index) {
    if (index <= 0 || index >= PIDLCount()) return std::nullopt;
    return pidls_.PIDLs().Item(index);
}

std::optional<ItemIdList> TDropPIDLTarget::AbsoluteFilePIDL(int index) {
    if (index < 1 || index >= PIDLCount()) return std::nullopt;
    return pidls_.PIDLs().Item(0).Combine(pidls_.PIDLs().Item(index));
}

DWORD TDropPIDLTarget::GetPreferredDropEffect() {
    const DWORD effect = TCustomDropMultiTarget::GetPreferredDropEffect();
    return effect ? effect : DROPEFFECT_COPY;
}
