// The named colours of colour-choosing lists: 40 RGB colours and the 30 system colours.
#pragma once

#include <array>

#include "platform/vcl/Graphics.h"

struct TColorData {
    TColor Color;
    WideString Name;
};

const std::array<TColorData, 70>& ColorNames();
