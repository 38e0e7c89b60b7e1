#include "platform/vcl/CommCtrl.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/vcl/DateTimePicker.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/PageControl.h"
#include "platform/vcl/StatusBar.h"
#include "platform/vcl/ToolBar.h"
#include "platform/vcl/TreeView.h"

HRESULT ComCtl32GetVersion(DLLVERSIONINFO* info) {
    if (!info || info->cbSize != sizeof(DLLVERSIONINFO)) return E_INVALIDARG;
    info->dwMajorVersion = COMCTL32_VERSION_MAJOR;
    info->dwMinorVersion = COMCTL32_VERSION_MINOR;
    info->dwBuildNumber = 0;
    info->dwPlatformID = 2;  // the NT family
    return S_OK;
}

namespace {

// An overlay picture of size x size in the bottom-left quarter: a link's arrow in a white box,
// or a shared item's small blue figure. Made from pixels, so it needs no drawing device.
int AddOverlayPicture(TCustomImageList& list, bool link) {
    const int size = list.Width();
    std::vector<std::uint32_t> px(static_cast<std::size_t>(size) * size, 0);
    auto set = [&](int x, int y, std::uint32_t c) {
        if (x >= 0 && y >= 0 && x < size && y < size) px[static_cast<std::size_t>(y) * size + x] = c;
    };
    const std::uint32_t black = 0xFF000000u, white = 0xFFFFFFFFu, blue = 0xFF1F4E9Cu;
    const int box = size / 2 + 1;
    const int top = size - box;
    if (link) {
        for (int y = top; y < size; ++y)
            for (int x = 0; x < box; ++x) set(x, y, (x == 0 || y == top || x == box - 1 || y == size - 1) ? black : white);
        // The arrow: a stroke from the lower left to the upper right, with its head.
        const int stroke = std::max(1, size / 16);
        for (int i = 2; i < box - 2; ++i)
            for (int t = 0; t < stroke; ++t) set(i + t, size - 1 - i, black);
        for (int i = 0; i < box / 2 - 1; ++i) {
            set(box - 3 - i, top + 2, black);
            set(box - 3, top + 2 + i, black);
        }
    } else {
        const int r = std::max(1, box / 5);
        const int cx = box / 2, cy = top + r + 1;
        for (int y = top; y < size; ++y)
            for (int x = 0; x < box; ++x) {
                const bool head = (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
                const bool body = y >= cy + r + 1 && std::abs(x - cx) <= (y - cy - r) + r;
                if (head || body) set(x, y, blue);
            }
    }
    return list.AddPixels(std::move(px));
}

std::unique_ptr<TCustomImageList> MakeSystemList(int size) {
    auto list = std::make_unique<TCustomImageList>(nullptr);
    list->SetSize(size, size);
    list->Overlay(AddOverlayPicture(*list, false), SHARE_OVERLAY);
    list->Overlay(AddOverlayPicture(*list, true), LINK_OVERLAY);
    return list;
}

}  // namespace

TCustomImageList* SystemImageList(int sizeIndex) {
    static const std::unique_ptr<TCustomImageList> small = MakeSystemList(16);
    static const std::unique_ptr<TCustomImageList> large = MakeSystemList(32);
    return sizeIndex == 1 ? large.get() : small.get();
}

void RegisterCommonControlClasses() {
    RegisterClasses({&TTreeView::StaticClass(), &TStatusBar::StaticClass(), &TPageControl::StaticClass(), &TTabSheet::StaticClass(),
                     &TTabControl::StaticClass(), &TToolBar::StaticClass(), &TToolButton::StaticClass(), &TImageList::StaticClass(),
                     &TDateTimePicker::StaticClass(), &TMonthCalendar::StaticClass()});
}
