#include "output/EMFPrinter.h"

#include <algorithm>
#include <cmath>

#include "output/HDCAdapter.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Metafile.h"

namespace EMFPrinter {

namespace {

int Trunc(float v) { return static_cast<int>(v); }

}  // namespace

int printMetaFile(IHDCAdapter& device, HENHMETAFILE picture, int dpiX, int dpiY, int startY, int marginLeft,
                  int marginTop, int marginRight, int marginBottom)
{
    SetMapMode(device.GetDC(), MM_TEXT);
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(picture, sizeof(header), &header);
    const int w = header.rclBounds.right - header.rclBounds.left;
    const int h = header.rclBounds.bottom - header.rclBounds.top;
    if (w < 1 || h < 1) return 0;

    float sx = 0, sy = 0;
    device.GetScale(dpiX, dpiY, w + marginLeft + marginRight, h + marginTop + marginBottom, sx, sy);
    if (!(sx > 0) || !(sy > 0)) return -1;
    int pageWidth = device.GetPageWidth();
    int pageHeight = device.GetPageHeight();
    if (pageWidth == 0) pageWidth = Trunc(static_cast<float>(w + marginLeft + marginRight) * sx);
    if (pageHeight == 0) pageHeight = Trunc(static_cast<float>(h + startY + marginTop + marginBottom) * sy);
    if (pageWidth == 0 || pageHeight == 0) return -1;

    const int l = Trunc(static_cast<float>(marginLeft) * sx);
    const int r = Trunc(static_cast<float>(marginRight) * sx);
    const int t = Trunc(static_cast<float>(marginTop) * sy);
    const int b = Trunc(static_cast<float>(marginBottom) * sy);
    const RECT clip{l, t, pageWidth - r, pageHeight - b};
    if (clip.bottom <= clip.top) return -1;  // margins that leave no room would never end

    // A piece that would start at or below the usable area (a header that ended low on the
    // page) goes to the top of the next page instead of failing the whole message.
    if (Trunc(static_cast<float>(startY) * sy) + t >= clip.bottom) {
        if (!device.NewPage()) return -1;
        startY = 0;
    }

    const float ratio = static_cast<float>(h) / static_cast<float>(w);
    RECT out;
    out.left = l;
    out.right = Trunc(static_cast<float>(w) * sx - static_cast<float>(r));
    out.top = Trunc(static_cast<float>(startY) * sy) + t;
    out.bottom = Trunc(static_cast<float>(Trunc(static_cast<float>(h + startY) * sy) + t) - static_cast<float>(l + r) * ratio);

    // Device pixels per picture pixel along the height, for ending pages between lines.
    const double perPixel = static_cast<double>(out.bottom - out.top) / (h + 1);
    while (out.bottom > clip.top) {
        RECT page = clip;
        if (out.bottom > clip.bottom && perPixel > 0) {
            const LONG top = header.rclBounds.top;
            const auto lowest = static_cast<LONG>(std::floor((clip.bottom - out.top) / perPixel)) + top;
            const auto highest = static_cast<LONG>(std::ceil(std::max(0, clip.top - out.top) / perPixel)) + top;
            const LONG cut = GetEnhMetaFileBreak(picture, lowest, highest);
            if (cut < lowest) page.bottom = std::max(clip.top + 1, out.top + static_cast<int>((cut - top) * perPixel));
        }
        device.SetClipRect(page);
        if (!device.RenderEMF(picture, out.left, out.top, out.right, out.bottom, sx, sy)) return -1;
        const int step = page.bottom - page.top;
        out.top -= step;
        out.bottom -= step;
        if (out.bottom > clip.top && !device.NewPage()) return -1;
    }
    return Trunc(static_cast<float>(out.bottom + clip.bottom) / sy);
}

}  // namespace EMFPrinter
