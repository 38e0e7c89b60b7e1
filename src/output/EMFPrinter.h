// Lays a recorded picture onto a device's pages: from a vertical position of the current page,
// inside margins, scaled to the device, one band a page for as many pages as it needs. A page
// ends between lines of text (and above a picture), not through them.
#pragma once

#include "platform/vcl/GdiTypes.h"

class IHDCAdapter;

namespace EMFPrinter {

// Positions and margins are in the picture's units (pixels at dpiX x dpiY). Returns where a
// following piece may start (source units on the last page used), 0 when the picture is empty
// and nothing was placed, -1 when the device failed. A start at or beyond the usable part of
// the page begins the picture on a new page.
int printMetaFile(IHDCAdapter& device, HENHMETAFILE picture, int dpiX, int dpiY, int startY, int marginLeft,
                  int marginTop, int marginRight, int marginBottom);

}  // namespace EMFPrinter
