// The drawing interface's toolkit side: install it once at start-up, then make device
// contexts over the toolkit's painters. The window side's paint path, the rich-text engine
// and tests use this header; the program's code uses the Windows functions (Gdi.h).
#pragma once

#include <functional>
#include <memory>

#include <QFont>
#include <QRegion>
#include <QImage>
#include <QPainter>

#include "platform/vcl/GdiTypes.h"

// Installs the toolkit backend of the drawing interface (idempotent). A QGuiApplication must
// exist before text is measured.
void InstallQtGdi();

// A context that draws with a painter someone else owns (a widget's paint event, a printer
// page of the rich-text engine). The painter's current transform stays: logical units of the
// context are the painter's coordinates at the device's resolution (96 dots per inch for
// screens and images, the printer's for printers). The painter's clip bounds all drawing.
// Delete the context with DeleteDC before the painter ends.
HDC CreatePainterDC(QPainter& painter);
// A context that owns a painter on the image (kept alive by the caller until DeleteDC).
HDC CreateImageDC(QImage& image);
// A context on a shared image that draws only within visible (image pixels), as a window's
// whole-window context draws only on its frame. The context keeps the image alive; released
// runs when the context is deleted.
HDC CreateImageDC(std::shared_ptr<QImage> image, const QRegion& visible, std::function<void()> released);
// The painter a context draws with, for code that draws with the toolkit itself (rich text);
// null for contexts without one (metafile recorders, a printer before StartDoc).
QPainter* PainterOfDC(HDC dc);
// The resolution a context's coordinates have, in dots per inch.
SIZE ResolutionOfDC(HDC dc);

// A font record (height in pixels at the given resolution) as a toolkit font with the design's
// face names mapped to installed families; for widgets that show class-library fonts.
QFont QtFontOf(const LOGFONTW& font, int dpi = 96);

// Pictures between the toolkit and the drawing interface.
HBITMAP CreateBitmapFromQImage(const QImage& image);
QImage QImageFromBitmap(HBITMAP bitmap);
