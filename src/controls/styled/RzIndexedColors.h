// Colours a control keeps by index (the calendar's, the clock face's): an unknown index reads
// 0x1FFFFFFF, and every change repaints the control that owns them.
#pragma once

#include <array>
#include <cstddef>

#include "platform/vcl/Controls.h"

template <std::size_t N>
class TRzIndexedColors : public TPersistent {
public:
    TRzIndexedColors(TControl* owner, const std::array<TColor, N>& defaults) : owner_(owner), colors_(defaults) {}

    TColor GetColor(int index) const {
        if (index < 0 || index >= static_cast<int>(N)) return TColor(0x1FFFFFFF);
        return colors_[static_cast<std::size_t>(index)];
    }
    void SetColor(int index, TColor color) {
        if (index < 0 || index >= static_cast<int>(N)) return;
        colors_[static_cast<std::size_t>(index)] = color;
        if (owner_) owner_->Invalidate();
    }

    // Another set of the same kind is copied colour by colour, repainting the owner.
    void Assign(const TPersistent* source) override {
        if (const auto* other = dynamic_cast<const TRzIndexedColors*>(source)) {
            for (int i = 0; i < static_cast<int>(N); ++i) SetColor(i, other->GetColor(i));
            return;
        }
        TPersistent::Assign(source);
    }

private:
    TControl* owner_;
    std::array<TColor, N> colors_;
};
