#include "controls/dragdrop/DropTextComponents.h"

TDropTextSource::TDropTextSource(TComponent* owner)
    : TCustomDropMultiSource(owner), text_(Own(std::make_unique<TTextDataFormat>(this))) {}

TDropTextTarget::TDropTextTarget(TComponent* owner)
    : TCustomDropMultiTarget(owner), text_(Own(std::make_unique<TTextDataFormat>(this))) {}
