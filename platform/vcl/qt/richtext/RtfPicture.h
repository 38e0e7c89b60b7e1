// A picture of rich text (\pict) and its decoding into an image of its display size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <QImage>
#include <QSize>

namespace richtext {

enum class PictureFormat { Unknown, Png, Jpeg, Emf, Wmf, Dib, DeviceBitmap };

struct RtfPicture {
    PictureFormat format = PictureFormat::Unknown;
    std::string data;
    // \picw \pich: pixels for bitmaps, hundredths of a millimetre for metafiles.
    int width = 0;
    int height = 0;
    // \picwgoal \pichgoal in twips; 0 when absent.
    int goalWidth = 0;
    int goalHeight = 0;
    // \picscalex \picscaley in percent.
    int scaleX = 100;
    int scaleY = 100;
    // Device-dependent bitmaps (\wbitmap): \wbmbitspixel, \wbmwidthbytes.
    int bitsPerPixel = 1;
    int widthBytes = 0;
};

class RtfPictureDecoder {
public:
    // Largest number of pixels a picture may decode to, and the largest side shown on a page.
    static constexpr std::int64_t kMaxPixels = 40'000'000;
    static constexpr int kMaxDisplaySide = 8000;

    // The size the picture takes in the text, in pixels at 96 dots per inch. Never empty.
    static QSize DisplaySize(const RtfPicture& picture, QSize decodedSize);
    // The decoded picture, or a null image when it cannot be read.
    static QImage Decode(const RtfPicture& picture);
    // Decodes a picture file's bytes (PNG, JPEG, GIF, BMP, metafiles) by their content.
    static QImage DecodeFile(std::string_view bytes);
    // A light box with a frame standing in for a picture that cannot be shown.
    static QImage PlaceholderBox(QSize size);

private:
    static QImage DecodeWithReader(std::string_view bytes, const char* format);
    static QImage DecodeDib(std::string_view dib);
    static QImage DecodeDeviceBitmap(const RtfPicture& picture);
    static QImage RenderSvg(const std::string& svg);
};

}  // namespace richtext
