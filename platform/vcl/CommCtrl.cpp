#include "platform/vcl/CommCtrl.h"

#include <memory>

#include "platform/vcl/Gdi.h"

HRESULT ComCtl32GetVersion(DLLVERSIONINFO* info) {
    if (!info || info->cbSize != sizeof(DLLVERSIONINFO)) return E_INVALIDARG;
    info->dwMajorVersion = COMCTL32_VERSION_MAJOR;
    info->dwMinorVersion = COMCTL32_VERSION_MINOR;
    info->dwBuildNumber = 0;
    info->dwPlatformID = 2;  // the NT family
    return S_OK;
}

namespace {

// Draws an overlay picture of size x size: a link's arrow in a white box at the bottom left,
// or a shared item's open hand shown as a small blue figure.
int AddOverlayPicture(TCustomImageList& list, bool link) {
    const int size = list.Width();
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(size, size);
    TCanvas* c = picture.Canvas();
    const TColor transparent = clFuchsia;
    c->Brush()->SetColor(transparent);
    c->FillRect(Rect(0, 0, size, size));
    const int box = size / 2 + 1;
    const int top = size - box;
    if (link) {
        c->Brush()->SetColor(clWhite);
        c->Pen()->SetColor(clBlack);
        c->Rectangle(0, top, box, size);
        // The arrow: a stroke from the lower left to the upper right with its head.
        c->Pen()->SetWidth(std::max(1, size / 16));
        c->MoveTo(2, size - 3);
        c->LineTo(box - 3, top + 2);
        c->MoveTo(box - 3, top + 2);
        c->LineTo(box - 3, top + box / 2);
        c->MoveTo(box - 3, top + 2);
        c->LineTo(box / 2, top + 2);
    } else {
        c->Brush()->SetColor(clNavy);
        c->Pen()->SetColor(clNavy);
        c->Ellipse(box / 4, top, box / 4 + box / 2, top + box / 2);
        c->RoundRect(0, top + box / 2, box, size, box / 3, box / 3);
    }
    return list.AddMasked(&picture, transparent);
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
