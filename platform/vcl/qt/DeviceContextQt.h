// Surfaces of the drawing interface over QPainter: a painter someone else owns (a widget's
// paint event, the rich-text engine), a QImage, a bitmap of the drawing interface, the screen
// for measuring, a printer and a PDF file.
#pragma once

#include <memory>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "platform/vcl/GdiDevice.h"

namespace vclqt {

// The toolkit font for a font record whose height is in device pixels (the design's face
// names already mapped to families).
QFont FontFromLog(const LOGFONTW& font);
QColor ColorOf(COLORREF c);

class PainterSurface : public GdiSurface {
public:
    // painter may be null until a document starts (printers).
    PainterSurface(QPainter* painter, SIZE size, SIZE dpi);

    SIZE Size() const override { return size_; }
    SIZE Resolution() const override { return dpi_; }

    void FillRects(const std::vector<RECT>& rects, const GdiPaint& paint, int rop2) override;
    void FillPath(const GdiPath& path, int fillMode, const GdiPaint& paint, int rop2) override;
    void StrokePath(const GdiPath& path, const GdiStroke& stroke, int rop2) override;
    TEXTMETRICW Metrics(const LOGFONTW& font) override;
    double Advance(const LOGFONTW& font, std::u16string_view text) override;
    void DrawTextRun(const GdiTextRun& run) override;
    std::optional<GdiPixels> Pixels() override;
    bool Blit(const RECT& dst, const GdiImage* src, const RECT& srcRect, const GdiPaint* pattern, DWORD rop,
              COLORREF transparent, bool blend, int stretchMode) override;

    QPainter* Painter() const { return painter_; }

protected:
    void ApplyClip(const GdiRegion* clip) override;
    // The painter to draw with now, or null when nothing can be drawn; End follows every Begin
    // that gave a painter.
    virtual QPainter* Begin();
    virtual void End() {}
    // The device fonts are measured on.
    virtual QPaintDevice* MeasureDevice() const;
    void SetPainter(QPainter* painter) { painter_ = painter; }
    void SetSize(SIZE size) { size_ = size; }

private:
    QPainter* painter_;
    SIZE size_;
    SIZE dpi_;
};

// A painter that begins on an image it does not own and ends with the surface.
class ImageSurface : public PainterSurface {
public:
    explicit ImageSurface(QImage& image);
    ~ImageSurface() override;

private:
    QImage& image_;
    QPainter painter_;
};

// Draws on a bitmap of the drawing interface: 32-bit bitmaps directly, the other formats
// through a 32-bit copy written back after each drawing.
class BitmapSurface : public PainterSurface {
public:
    explicit BitmapSurface(GdiBitmap& bitmap);
    ~BitmapSurface() override;
    std::optional<GdiPixels> Pixels() override;

protected:
    QPainter* Begin() override;
    void End() override;

private:
    GdiBitmap& bitmap_;
    std::unique_ptr<QImage> image_;
    std::unique_ptr<QPainter> painter_;
};

// The screen at 96 dots per inch, for measuring; drawing on it goes nowhere.
class ScreenSurface : public PainterSurface {
public:
    ScreenSurface();
    ~ScreenSurface() override;
    std::optional<GdiPixels> Pixels() override { return std::nullopt; }

private:
    QImage image_;
    QPainter painter_;
};

// A bitmap of the drawing interface with the pixels of an image (converted to 32 bits).
HBITMAP BitmapFromImage(const QImage& image);
// The bitmap's pixels as an image (32 bits, alpha opaque).
QImage ImageFromBitmap(const GdiBitmap& bitmap);
QImage ImageFromGdi(const GdiImage& image);
GdiImage GdiFromImage(const QImage& image);

}  // namespace vclqt
