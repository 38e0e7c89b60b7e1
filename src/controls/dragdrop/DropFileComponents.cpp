#include "controls/dragdrop/DropFileComponents.h"

TDropFileSource::TDropFileSource(TComponent* owner)
    : TCustomDropMultiSource(owner),
      files_(Own(std::make_unique<TFileDataFormat>(this))),
      maps_(Own(std::make_unique<TFileMapDataFormat>(this))) {}

TDropFileTarget::TDropFileTarget(TComponent* owner)
    : TCustomDropMultiTarget(owner),
      files_(Own(std::make_unique<TFileDataFormat>(this))),
      maps_(Own(std::make_unique<TFileMapDataFormat>(this))) {
    OptimizedMove = true;
}

DWORD TDropFileTarget::GetPreferredDropEffect() {
    const DWORD effect = TCustomDropMultiTarget::GetPreferredDropEffect();
    return effect ? effect : DROPEFFECT_COPY;
}
