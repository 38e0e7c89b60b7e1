#include "platform/vcl/qt/DeviceContextQt.h"

#include <cmath>
#include <cstring>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>

namespace vclqt {

namespace {

QString ToQString(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

QPainter::CompositionMode ModeOf(int rop2) {
    switch (rop2) {
        case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
        case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
        case R2_NOT: return QPainter::RasterOp_NotDestination;
        case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
        case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
        case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
        case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
        case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
        case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
        case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
        case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
        case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
        case R2_BLACK: return QPainter::RasterOp_ClearDestination;
        case R2_WHITE: return QPainter::RasterOp_SetDestination;
        default: return QPainter::CompositionMode_SourceOver;
    }
}

// Raster operations are done by the raster engine only; other engines draw plainly.
void SetMode(QPainter& p, int rop2) {
    QPainter::CompositionMode mode = ModeOf(rop2);
    if (mode != QPainter::CompositionMode_SourceOver && p.paintEngine() &&
        p.paintEngine()->type() != QPaintEngine::Raster)
        mode = QPainter::CompositionMode_SourceOver;
    p.setCompositionMode(mode);
}

QBrush BrushOf(const GdiPaint& paint) {
    if (!paint.tiled) return QBrush(ColorOf(paint.color));
    QImage tile(paint.tileWidth, paint.tileHeight, QImage::Format_ARGB32);
    for (int y = 0; y < paint.tileHeight; ++y)
        for (int x = 0; x < paint.tileWidth; ++x)
            tile.setPixel(x, y, paint.tile[static_cast<size_t>(y) * paint.tileWidth + x]);
    QBrush brush(tile);
    // The tile's pixel (0,0) lies on the origin.
    brush.setTransform(QTransform::fromTranslate(paint.origin.x, paint.origin.y));
    return brush;
}

QPainterPath PathOf(const GdiPath& path, int fillMode, double shift) {
    QPainterPath p;
    p.setFillRule(fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    for (const auto& e : path) {
        switch (e.kind) {
            case GdiPathElement::Move: p.moveTo(e.point.x + shift, e.point.y + shift); break;
            case GdiPathElement::Line: p.lineTo(e.point.x + shift, e.point.y + shift); break;
            case GdiPathElement::Arc:
                p.arcTo(QRectF(QPointF(e.left + shift, e.top + shift), QPointF(e.right + shift, e.bottom + shift)),
                        e.start, e.sweep);
                break;
            case GdiPathElement::Close: p.closeSubpath(); break;
        }
    }
    return p;
}

}  // namespace

QColor ColorOf(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

QFont FontFromLog(const LOGFONTW& lf) {
    QFont font(QString::fromUtf16(lf.lfFaceName));
    font.setStyleStrategy(lf.lfQuality == NONANTIALIASED_QUALITY ? QFont::NoAntialias : QFont::PreferDefault);
    int em = std::max<LONG>(1, std::abs(lf.lfHeight));
    if (lf.lfHeight > 0) {
        // A positive height is the cell (ascent + descent), not the character height.
        QFont probe = font;
        probe.setPixelSize(100);
        const QFontMetricsF m(probe);
        const double cellPerEm = (m.ascent() + m.descent()) / 100.0;
        if (cellPerEm > 0) em = std::max(1, static_cast<int>(std::lround(lf.lfHeight / cellPerEm)));
    }
    font.setPixelSize(em);
    font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight == 0 ? 400 : lf.lfWeight, 100, 900)));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    font.setKerning(false);
    if ((lf.lfPitchAndFamily & 0x03) == FIXED_PITCH) font.setFixedPitch(true);
    return font;
}

// ---- painter surfaces

PainterSurface::PainterSurface(QPainter* painter, SIZE size, SIZE dpi) : painter_(painter), size_(size), dpi_(dpi) {}

QPainter* PainterSurface::Begin() { return painter_ && painter_->isActive() ? painter_ : nullptr; }

QPaintDevice* PainterSurface::MeasureDevice() const {
    return painter_ && painter_->isActive() ? painter_->device() : nullptr;
}

void PainterSurface::ApplyClip(const GdiRegion* clip) {
    QPainter* p = Begin();
    if (!p) return;
    if (clip) {
        QRegion region;
        for (const RECT& r : clip->Rects()) region += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
        p->setClipRegion(region);
    } else {
        p->setClipping(false);
    }
    End();
}

void PainterSurface::FillRects(const std::vector<RECT>& rects, const GdiPaint& paint, int rop2) {
    if (rop2 == R2_NOP) return;
    QPainter* p = Begin();
    if (!p) return;
    p->save();
    SetMode(*p, rop2);
    const QBrush brush = BrushOf(paint);
    for (const RECT& r : rects) {
        if (r.right <= r.left || r.bottom <= r.top) continue;
        p->fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), brush);
    }
    p->restore();
    End();
}

void PainterSurface::FillPath(const GdiPath& path, int fillMode, const GdiPaint& paint, int rop2) {
    if (rop2 == R2_NOP) return;
    QPainter* p = Begin();
    if (!p) return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    SetMode(*p, rop2);
    p->fillPath(PathOf(path, fillMode, 0), BrushOf(paint));
    p->restore();
    End();
}

void PainterSurface::StrokePath(const GdiPath& path, const GdiStroke& stroke, int rop2) {
    if (rop2 == R2_NOP) return;
    QPainter* p = Begin();
    if (!p) return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    SetMode(*p, rop2);
    p->setBrush(Qt::NoBrush);
    const bool cosmetic = stroke.width <= 0;
    QPen pen(ColorOf(stroke.color));
    pen.setWidthF(cosmetic ? 0 : stroke.width);
    pen.setCosmetic(cosmetic);
    if (cosmetic) {
        // A one-pixel line leaves out its last pixel.
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        pen.setCapStyle(stroke.endCap == PS_ENDCAP_FLAT ? Qt::FlatCap
                        : stroke.endCap == PS_ENDCAP_SQUARE ? Qt::SquareCap
                                                            : Qt::RoundCap);
        pen.setJoinStyle(stroke.join == PS_JOIN_BEVEL ? Qt::BevelJoin
                         : stroke.join == PS_JOIN_MITER ? Qt::MiterJoin
                                                        : Qt::RoundJoin);
    }
    // Pixel-centre coordinates: a one-pixel line is drawn on pixel indices.
    const QPainterPath qpath = PathOf(path, ALTERNATE, cosmetic ? -0.5 : 0);
    Qt::PenStyle style = Qt::SolidLine;
    switch (stroke.style) {
        case PS_DASH: style = Qt::DashLine; break;
        case PS_DOT:
        case PS_ALTERNATE: style = Qt::DotLine; break;
        case PS_DASHDOT: style = Qt::DashDotLine; break;
        case PS_DASHDOTDOT: style = Qt::DashDotDotLine; break;
        default: break;
    }
    if (style != Qt::SolidLine && stroke.opaqueGaps) {
        QPen gaps = pen;
        gaps.setColor(ColorOf(stroke.bkColor));
        p->setPen(gaps);
        p->drawPath(qpath);
    }
    pen.setStyle(style);
    p->setPen(pen);
    p->drawPath(qpath);
    p->restore();
    End();
}

TEXTMETRICW PainterSurface::Metrics(const LOGFONTW& lf) {
    const QFont font = FontFromLog(lf);
    QPaintDevice* device = MeasureDevice();
    const QFontMetricsF m = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    TEXTMETRICW tm;
    tm.tmAscent = static_cast<LONG>(std::ceil(m.ascent() - 0.01));
    tm.tmDescent = static_cast<LONG>(std::ceil(m.descent() - 0.01));
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - font.pixelSize());
    tm.tmExternalLeading = std::max<LONG>(0, static_cast<LONG>(std::lround(m.leading())));
    tm.tmAveCharWidth = static_cast<LONG>(std::lround(m.averageCharWidth()));
    tm.tmMaxCharWidth = static_cast<LONG>(std::lround(m.maxWidth()));
    tm.tmWeight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
    tm.tmItalic = lf.lfItalic;
    tm.tmUnderlined = lf.lfUnderline;
    tm.tmStruckOut = lf.lfStrikeOut;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = u'?';
    tm.tmBreakChar = u' ';
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    const bool fixed = QFontInfo(font).fixedPitch();
    // Scalable outline fonts: TrueType and vector; the "fixed pitch" bit means variable pitch.
    tm.tmPitchAndFamily = static_cast<BYTE>(TMPF_TRUETYPE | TMPF_VECTOR | (fixed ? 0 : TMPF_FIXED_PITCH) |
                                            (lf.lfPitchAndFamily & 0xF0));
    tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
    return tm;
}

double PainterSurface::Advance(const LOGFONTW& lf, std::u16string_view text) {
    const QFont font = FontFromLog(lf);
    QPaintDevice* device = MeasureDevice();
    const QFontMetricsF m = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    return m.horizontalAdvance(ToQString(text));
}

void PainterSurface::DrawTextRun(const GdiTextRun& run) {
    QPainter* p = Begin();
    if (!p) return;
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setFont(FontFromLog(run.font));
    p->setPen(ColorOf(run.color));
    p->setLayoutDirection(run.rtl ? Qt::RightToLeft : Qt::LeftToRight);
    p->translate(run.origin.x, run.origin.y);
    if (run.angle != 0) p->rotate(-run.angle);
    const QString text = ToQString(run.text);
    if (run.advances.empty()) {
        p->drawText(QPointF(0, 0), text);
    } else {
        double x = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
            p->drawText(QPointF(x, 0), text.mid(i, pair ? 2 : 1));
            if (static_cast<size_t>(i) < run.advances.size()) x += run.advances[static_cast<size_t>(i)];
            if (pair) {
                ++i;
                if (static_cast<size_t>(i) < run.advances.size()) x += run.advances[static_cast<size_t>(i)];
            }
        }
    }
    p->restore();
    End();
}

std::optional<GdiPixels> PainterSurface::Pixels() {
    if (!painter_ || !painter_->isActive() || painter_->device()->devType() != QInternal::Image) return std::nullopt;
    auto* image = static_cast<QImage*>(painter_->device());
    if (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32) return std::nullopt;
    // Only where our coordinates are the image's pixels.
    if (!painter_->worldTransform().isIdentity()) return std::nullopt;
    GdiPixels px;
    px.bits = image->bits();
    px.width = image->width();
    px.height = image->height();
    px.stride = static_cast<int>(image->bytesPerLine());
    px.bpp = 32;
    return px;
}

bool PainterSurface::Blit(const RECT& dst, const GdiImage* src, const RECT& srcRect, const GdiPaint* pattern, DWORD rop,
                          COLORREF transparent, bool blend, int stretchMode) {
    if (Pixels()) return GdiSurface::Blit(dst, src, srcRect, pattern, rop, transparent, blend, stretchMode);
    QPainter* p = Begin();
    if (!p) return false;
    const QRect target(QPoint(std::min(dst.left, dst.right), std::min(dst.top, dst.bottom)),
                       QSize(std::abs(dst.right - dst.left), std::abs(dst.bottom - dst.top)));
    bool done = true;
    p->save();
    if ((rop == SRCCOPY || blend) && src) {
        QImage image = ImageFromGdi(*src);
        if (transparent != CLR_INVALID) {
            image = image.convertToFormat(QImage::Format_ARGB32);
            const QRgb key = qRgb(GetRValue(transparent), GetGValue(transparent), GetBValue(transparent));
            for (int y = 0; y < image.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) row[x] = 0;
            }
        }
        QRect source(QPoint(std::min(srcRect.left, srcRect.right), std::min(srcRect.top, srcRect.bottom)),
                     QSize(std::abs(srcRect.right - srcRect.left), std::abs(srcRect.bottom - srcRect.top)));
        const bool mirrorX = (dst.right < dst.left) != (srcRect.right < srcRect.left);
        const bool mirrorY = (dst.bottom < dst.top) != (srcRect.bottom < srcRect.top);
        if (mirrorX || mirrorY) image = image.copy(source).mirrored(mirrorX, mirrorY), source = image.rect();
        p->setRenderHint(QPainter::SmoothPixmapTransform, stretchMode == HALFTONE);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->drawImage(target, image, source);
    } else if (rop == PATCOPY && pattern) {
        p->fillRect(target, BrushOf(*pattern));
    } else if (rop == BLACKNESS || rop == WHITENESS) {
        p->fillRect(target, rop == BLACKNESS ? Qt::black : Qt::white);
    } else if (p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster &&
               (rop == DSTINVERT || rop == PATINVERT || rop == SRCINVERT || rop == SRCAND || rop == SRCPAINT)) {
        // Raster operations on a device without pixel access: the painter's raster modes.
        if (rop == DSTINVERT) {
            p->setCompositionMode(QPainter::RasterOp_NotDestination);
            p->fillRect(target, Qt::white);
        } else if (rop == PATINVERT && pattern) {
            p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p->fillRect(target, BrushOf(*pattern));
        } else if (src) {
            p->setCompositionMode(rop == SRCINVERT ? QPainter::RasterOp_SourceXorDestination
                                  : rop == SRCAND  ? QPainter::RasterOp_SourceAndDestination
                                                   : QPainter::RasterOp_SourceOrDestination);
            const QRect source(QPoint(std::min(srcRect.left, srcRect.right), std::min(srcRect.top, srcRect.bottom)),
                               QSize(std::abs(srcRect.right - srcRect.left), std::abs(srcRect.bottom - srcRect.top)));
            p->drawImage(target, ImageFromGdi(*src), source);
        } else {
            done = false;
        }
    } else {
        done = false;
    }
    p->restore();
    End();
    return done;
}

// ---- images

ImageSurface::ImageSurface(QImage& image)
    : PainterSurface(nullptr, SIZE{image.width(), image.height()}, SIZE{96, 96}), image_(image) {
    painter_.begin(&image_);
    SetPainter(&painter_);
}

ImageSurface::~ImageSurface() {
    if (painter_.isActive()) painter_.end();
}

// ---- bitmaps

BitmapSurface::BitmapSurface(GdiBitmap& bitmap)
    : PainterSurface(nullptr, SIZE{bitmap.Width(), bitmap.Height()}, SIZE{96, 96}), bitmap_(bitmap) {
    if (bitmap.BitsPerPixel() == 32 && bitmap.Width() > 0 && bitmap.Height() > 0) {
        image_ = std::make_unique<QImage>(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
                                          QImage::Format_RGB32);
        painter_ = std::make_unique<QPainter>(image_.get());
        SetPainter(painter_.get());
    }
}

BitmapSurface::~BitmapSurface() {
    if (painter_ && painter_->isActive()) painter_->end();
}

std::optional<GdiPixels> BitmapSurface::Pixels() {
    GdiPixels px;
    px.bits = bitmap_.Bits();
    px.width = bitmap_.Width();
    px.height = bitmap_.Height();
    px.stride = bitmap_.Stride();
    px.bpp = bitmap_.BitsPerPixel();
    px.palette = bitmap_.palette.data();
    px.paletteSize = static_cast<int>(bitmap_.palette.size());
    return px;
}

QPainter* BitmapSurface::Begin() {
    if (bitmap_.Width() <= 0 || bitmap_.Height() <= 0) return nullptr;
    if (bitmap_.BitsPerPixel() == 32) return PainterSurface::Begin();
    // Other formats: draw on a 32-bit copy, written back in End.
    image_ = std::make_unique<QImage>(ImageFromBitmap(bitmap_));
    painter_ = std::make_unique<QPainter>(image_.get());
    SetPainter(painter_.get());
    if (Clip()) {
        QRegion region;
        for (const RECT& r : Clip()->Rects()) region += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
        painter_->setClipRegion(region);
    }
    return painter_.get();
}

void BitmapSurface::End() {
    if (bitmap_.BitsPerPixel() == 32 || !painter_) return;
    painter_->end();
    GdiPixels px = *Pixels();
    for (int y = 0; y < bitmap_.Height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image_->constScanLine(y));
        for (int x = 0; x < bitmap_.Width(); ++x) {
            const COLORREF c = RGB(qRed(row[x]), qGreen(row[x]), qBlue(row[x]));
            if (px.Get(x, y) != c) px.Set(x, y, c);
        }
    }
    SetPainter(nullptr);
    painter_.reset();
    image_.reset();
}

// ---- screen

namespace {

SIZE ScreenSize() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        (void)app;
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            const QSize size = s->size();
            if (size.width() > 0 && size.height() > 0) return SIZE{size.width(), size.height()};
        }
    }
    return SIZE{1920, 1080};
}

}  // namespace

ScreenSurface::ScreenSurface()
    : PainterSurface(nullptr, ScreenSize(), SIZE{96, 96}), image_(1, 1, QImage::Format_RGB32) {
    image_.setDotsPerMeterX(3780);
    image_.setDotsPerMeterY(3780);
    painter_.begin(&image_);
    SetPainter(&painter_);
}

ScreenSurface::~ScreenSurface() {
    if (painter_.isActive()) painter_.end();
}

// ---- conversions

QImage ImageFromGdi(const GdiImage& image) {
    QImage out(image.width, image.height, image.hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width; ++x) row[x] = image.hasAlpha ? image.At(x, y) : (image.At(x, y) | 0xFF000000u);
    }
    return out;
}

GdiImage GdiFromImage(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    GdiImage out;
    out.width = argb.width();
    out.height = argb.height();
    out.hasAlpha = image.hasAlphaChannel();
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::copy(row, row + out.width, out.pixels.begin() + static_cast<std::ptrdiff_t>(y) * out.width);
    }
    return out;
}

QImage ImageFromBitmap(const GdiBitmap& bitmap) {
    QImage out(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    for (int y = 0; y < bitmap.Height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < bitmap.Width(); ++x) {
            const COLORREF c = bitmap.Pixel(x, y);
            row[x] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
        }
    }
    return out;
}

HBITMAP BitmapFromImage(const QImage& image) {
    if (image.isNull()) return nullptr;
    auto bitmap = std::make_unique<GdiBitmap>(image.width(), image.height(), 32);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(bitmap->Row(y), rgb.constScanLine(y), static_cast<size_t>(rgb.width()) * 4);
    return static_cast<HBITMAP>(RegisterGdiObject(std::move(bitmap)));
}

}  // namespace vclqt
