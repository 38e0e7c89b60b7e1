#include "platform/vcl/qt/richtext/RtfPicture.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

#include "platform/vcl/richtext/MetafileConverter.h"
#include "platform/win/ByteOrder.h"

namespace richtext {

namespace {

constexpr int kMaxBitmapSide = 30000;
constexpr int kMaxSvgSide = 2048;

bool PixelCountAllowed(std::int64_t w, std::int64_t h) {
    return w > 0 && h > 0 && w <= kMaxBitmapSide && h <= kMaxBitmapSide &&
           w * h <= RtfPictureDecoder::kMaxPixels;
}

bool IsMetafile(PictureFormat f) { return f == PictureFormat::Emf || f == PictureFormat::Wmf; }

int ClampSide(double v) {
    if (!(v >= 1.0)) return 1;
    return static_cast<int>(std::min<double>(std::lround(v), RtfPictureDecoder::kMaxDisplaySide));
}

}  // namespace

QSize RtfPictureDecoder::DisplaySize(const RtfPicture& p, QSize decoded) {
    const double sx = std::clamp(p.scaleX, 1, 10000) / 100.0;
    const double sy = std::clamp(p.scaleY, 1, 10000) / 100.0;
    double w = 0, h = 0;
    if (p.goalWidth > 0 && p.goalHeight > 0) {
        w = p.goalWidth / 15.0;
        h = p.goalHeight / 15.0;
    } else if (p.width > 0 && p.height > 0) {
        if (IsMetafile(p.format)) {
            w = p.width * 96.0 / 2540.0;
            h = p.height * 96.0 / 2540.0;
        } else {
            w = p.width;
            h = p.height;
        }
    } else if (!decoded.isEmpty()) {
        w = decoded.width();
        h = decoded.height();
    } else {
        w = h = 32;
    }
    return {ClampSide(w * sx), ClampSide(h * sy)};
}

QImage RtfPictureDecoder::Decode(const RtfPicture& p) {
    switch (p.format) {
    case PictureFormat::Png:
        return DecodeWithReader(p.data, "png");
    case PictureFormat::Jpeg:
        return DecodeWithReader(p.data, "jpeg");
    case PictureFormat::Dib:
        return DecodeDib(p.data);
    case PictureFormat::DeviceBitmap:
        return DecodeDeviceBitmap(p);
    case PictureFormat::Emf:
        if (auto svg = MetafileConverter::EmfToSvg(p.data)) return RenderSvg(*svg);
        return {};
    case PictureFormat::Wmf:
        if (auto svg = MetafileConverter::WmfToSvg(p.data)) return RenderSvg(*svg);
        return {};
    case PictureFormat::Unknown:
        break;
    }
    return {};
}

QImage RtfPictureDecoder::DecodeFile(std::string_view bytes) {
    if (MetafileConverter::IsWellFormedEmf(bytes)) {
        if (auto svg = MetafileConverter::EmfToSvg(bytes)) return RenderSvg(*svg);
        return {};
    }
    if (bytes.size() >= 4 && Le32(bytes, 0) == 0x9AC6CDD7u) {
        if (auto svg = MetafileConverter::WmfToSvg(bytes)) return RenderSvg(*svg);
        return {};
    }
    return DecodeWithReader(bytes, nullptr);
}

QImage RtfPictureDecoder::PlaceholderBox(QSize size) {
    QImage box(size.expandedTo({1, 1}), QImage::Format_ARGB32_Premultiplied);
    box.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter painter(&box);
    painter.setPen(QColor(0xA0, 0xA0, 0xA0));
    painter.drawRect(0, 0, box.width() - 1, box.height() - 1);
    return box;
}

QImage RtfPictureDecoder::DecodeWithReader(std::string_view bytes, const char* format) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX)) return {};
    QByteArray array = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&array);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(true);  // producers mislabel JPEG as PNG and back
    const QSize size = reader.size();
    if (size.isValid() && !PixelCountAllowed(size.width(), size.height())) return {};
    QImage image = reader.read();
    if (image.isNull() || !PixelCountAllowed(image.width(), image.height())) return {};
    return image;
}

// A packed device-independent bitmap (header, colour table, bits) gets the file header that
// the image reader expects in front of it.
QImage RtfPictureDecoder::DecodeDib(std::string_view dib) {
    if (dib.size() < 12) return {};
    const std::uint32_t headerSize = Le32(dib, 0);
    if (headerSize < 12 || headerSize > dib.size()) return {};
    std::int64_t width = 0, height = 0;
    std::uint32_t bitCount = 0, paletteEntries = 0, entrySize = 4, masks = 0;
    if (headerSize == 12) {
        width = Le16(dib, 4);
        height = Le16(dib, 6);
        bitCount = Le16(dib, 10);
        entrySize = 3;
        paletteEntries = bitCount <= 8 ? (1u << bitCount) : 0;
    } else {
        if (headerSize < 40) return {};
        width = static_cast<std::int32_t>(Le32(dib, 4));
        height = static_cast<std::int32_t>(Le32(dib, 8));
        bitCount = Le16(dib, 14);
        const std::uint32_t compression = Le32(dib, 16);
        const std::uint32_t used = Le32(dib, 32);
        if (bitCount > 32) return {};
        paletteEntries = used ? std::min<std::uint32_t>(used, 256)
                              : (bitCount <= 8 ? (1u << bitCount) : 0);
        if (headerSize == 40 && (compression == 3 || compression == 6)) masks = compression == 3 ? 12 : 16;
    }
    if (!PixelCountAllowed(width, std::llabs(height))) return {};
    const std::uint64_t offset = 14ull + headerSize + masks + std::uint64_t(paletteEntries) * entrySize;
    std::string file = "BM";
    AppendLe(file, std::min<std::uint64_t>(14 + dib.size(), UINT32_MAX), 4);
    AppendLe(file, 0, 4);
    AppendLe(file, std::min<std::uint64_t>(offset, UINT32_MAX), 4);
    file.append(dib);
    return DecodeWithReader(file, "bmp");
}

// A device-dependent bitmap: rows of \wbmwidthbytes bytes, top row first.
QImage RtfPictureDecoder::DecodeDeviceBitmap(const RtfPicture& p) {
    const int w = p.width, h = p.height;
    if (!PixelCountAllowed(w, h)) return {};
    QImage::Format format;
    switch (p.bitsPerPixel) {
    case 1: format = QImage::Format_Mono; break;
    case 8: format = QImage::Format_Grayscale8; break;
    case 24: format = QImage::Format_BGR888; break;
    case 32: format = QImage::Format_RGB32; break;
    default: return {};
    }
    const std::int64_t minRow = (std::int64_t(w) * p.bitsPerPixel + 7) / 8;
    const std::int64_t row = p.widthBytes > 0 ? p.widthBytes : ((minRow + 1) / 2) * 2;
    if (row < minRow || row * h > static_cast<std::int64_t>(p.data.size())) return {};
    QImage image(w, h, format);
    if (image.isNull()) return {};
    if (format == QImage::Format_Mono) image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < h; ++y)
        std::copy_n(p.data.data() + row * y, minRow, reinterpret_cast<char*>(image.scanLine(y)));
    return image;
}

QImage RtfPictureDecoder::RenderSvg(const std::string& svg) {
    QSvgRenderer renderer(QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
    if (!renderer.isValid()) return {};
    QSize size = renderer.defaultSize();
    if (size.isEmpty()) return {};
    size.scale(std::min(size.width(), kMaxSvgSide), std::min(size.height(), kMaxSvgSide),
               Qt::KeepAspectRatio);
    QImage image(size.expandedTo({1, 1}), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

}  // namespace richtext
