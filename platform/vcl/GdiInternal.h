// Helpers shared by the drawing functions' source files; not for callers of the interface.
#pragma once

#include <optional>

#include "platform/vcl/GdiDevice.h"

inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE_GDI = 1400;

// The paint of a brush in a context (hatch gaps and monochrome patterns take its colours),
// nullopt for a hollow brush or a bad handle. A brush value 1..31 is a system colour + 1.
std::optional<GdiPaint> GdiBrushPaint(const GdiDeviceContext& d, HBRUSH brush);
// The selected pen as a stroke in device pixels, nullopt for the null pen.
std::optional<GdiStroke> GdiPenStroke(const GdiDeviceContext& d);
bool GdiPenIsInsideFrame(const GdiDeviceContext& d);
// Counts a context's hold on a selected object (+1) or its release (-1).
void GdiAdjustSelections(HGDIOBJ h, int delta);
// The 1x1 monochrome bitmap a new memory context holds.
HBITMAP GdiDefaultBitmap();
bool GdiIsMetafileHandle(HGDIOBJ h);
// Decodes the pixel rows of a device-independent bitmap (1 to 32 bits a pixel, uncompressed or
// with bit fields) into a picture; false for a header it cannot read or too few bytes.
bool GdiDibToImage(const BITMAPINFOHEADER& header, const RGBQUAD* colors, int colorCount, const void* bits,
                   size_t bitsSize, GdiImage& out);
