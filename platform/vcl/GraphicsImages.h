// Pictures of the canvas unit: TGraphic and its kinds (TBitmap with pixel formats, scan lines
// and BMP files; TIcon; PNG, JPEG and GIF images; TMetafile with TMetafileCanvas), and TPicture
// that holds any of them and loads files by their kind.
#pragma once

#include <memory>
#include <string>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Streams.h"

class TGraphic : public TPersistent {
public:
    std::string_view ClassName() const override { return "TGraphic"; }
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetSize(int width, int height) = 0;
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    // Drawn leaving out its transparent parts.
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool transparent);

    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    // File names are UTF-8.
    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName);

    // Draws the picture scaled into r of the canvas (what TCanvas::StretchDraw calls).
    virtual void DrawOn(TCanvas& canvas, const TRect& r) = 0;

    bool Modified = false;
    TNotifyEvent OnChange;

protected:
    TGraphic() = default;
    virtual void Changed();

private:
    bool transparent_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    std::string_view ClassName() const override { return "TBitmap"; }
    void Assign(const TPersistent* source) override;

    bool Empty() const override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // Keeps the pixels that the new size still holds; new pixels are white.
    void SetSize(int width, int height) override;
    TPixelFormat PixelFormat() const { return format_; }
    // Converts the pixels; 15 and 16 bits a pixel and pfCustom raise EInvalidGraphicOperation.
    void SetPixelFormat(TPixelFormat format);
    bool Monochrome() const { return format_ == pf1bit; }
    void SetMonochrome(bool mono) { SetPixelFormat(mono ? pf1bit : pfDevice); }

    // Row y of the pixels, top row first, in the pixel format's layout (blue, green, red for
    // 24 and 32 bits). Raises EInvalidGraphicOperation for a row outside the bitmap.
    void* ScanLine(int y);

    HBITMAP Handle();
    // Takes ownership of a bitmap handle.
    void SetHandle(HBITMAP bitmap);
    // Gives the handle to the caller; the TBitmap becomes empty.
    HBITMAP ReleaseHandle();
    TCanvas* Canvas();

    TColor TransparentColor();
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }

    // BMP files: 1, 4, 8, 16, 24 and 32 bits a pixel, uncompressed or with bit fields.
    // A file that is not a readable bitmap raises EInvalidGraphic "Bitmap image is not valid".
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void DrawOn(TCanvas& canvas, const TRect& r) override;

    // Releases the canvas context (its handle goes with it).
    void FreeCanvasContext();

private:
    void Replace(HBITMAP bitmap);
    HBITMAP handle_ = nullptr;
    int width_ = 0, height_ = 0;
    TPixelFormat format_ = pfDevice;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clDefault;
    std::unique_ptr<TBitmapCanvas> canvas_;
};

// The canvas of a bitmap: a memory context with the bitmap selected, made on demand.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }
    void FreeContext();

protected:
    void CreateHandle() override;

private:
    TBitmap& bitmap_;
    HDC dc_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};

class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;
    std::string_view ClassName() const override { return "TIcon"; }
    void Assign(const TPersistent* source) override;
    bool Empty() const override { return handle_ == nullptr; }
    int Width() const override;
    int Height() const override;
    // Icons have their own size; asking another raises EInvalidGraphicOperation.
    void SetSize(int width, int height) override;
    HICON Handle() const { return handle_; }
    void SetHandle(HICON icon);
    HICON ReleaseHandle();
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void DrawOn(TCanvas& canvas, const TRect& r) override;

private:
    HICON handle_ = nullptr;
};

// A picture in a compressed file format, read and written through the toolkit's image
// readers and writers; drawn with its transparency.
class TRasterImage : public TGraphic {
public:
    std::string_view ClassName() const override { return "TRasterImage"; }
    void Assign(const TPersistent* source) override;
    bool Empty() const override { return width_ == 0 || height_ == 0; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    // Rescales the picture.
    void SetSize(int width, int height) override;
    // A file that the format's reader cannot read raises EInvalidGraphic.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void DrawOn(TCanvas& canvas, const TRect& r) override;
    // The pixels as 0xAARRGGBB, top row first.
    const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
    void SetPixels(int width, int height, std::vector<std::uint32_t> argb);
    const std::string& Format() const { return format_; }
    int Quality = -1;  // JPEG quality 0..100, -1 for the writer's default

protected:
    explicit TRasterImage(std::string format) : format_(std::move(format)) {}

private:
    std::string format_;
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

class TPngImage : public TRasterImage {
public:
    TPngImage() : TRasterImage("png") {}
    std::string_view ClassName() const override { return "TPngImage"; }
};
class TJPEGImage : public TRasterImage {
public:
    TJPEGImage() : TRasterImage("jpeg") {}
    std::string_view ClassName() const override { return "TJPEGImage"; }
};
class TGIFImage : public TRasterImage {
public:
    TGIFImage() : TRasterImage("gif") {}
    std::string_view ClassName() const override { return "TGIFImage"; }
};

// A recorded drawing. Its size is the frame it was recorded with; it has no file form here:
// loading and saving raise EInvalidGraphicOperation.
class TMetafile : public TGraphic {
public:
    TMetafile() = default;
    ~TMetafile() override;
    std::string_view ClassName() const override { return "TMetafile"; }
    void Assign(const TPersistent* source) override;
    bool Empty() const override { return handle_ == nullptr; }
    int Width() const override;   // pixels at 96 per inch
    int Height() const override;
    void SetSize(int width, int height) override;
    // .01 millimetres.
    int MMWidth() const;
    int MMHeight() const;
    void SetMMSize(int width, int height);
    bool Enhanced() const { return true; }
    HENHMETAFILE Handle() const { return handle_; }
    void SetHandle(HENHMETAFILE picture);
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void DrawOn(TCanvas& canvas, const TRect& r) override;

private:
    HENHMETAFILE handle_ = nullptr;
    int mmWidth_ = 0, mmHeight_ = 0;  // the frame to record with, when set
};

// A canvas that records into a metafile; the metafile receives the picture when the canvas
// goes. Text is measured on ref (null: the screen).
class TMetafileCanvas : public TCanvas {
public:
    TMetafileCanvas(TMetafile& metafile, HDC ref);
    ~TMetafileCanvas() override;

private:
    TMetafile& metafile_;
};

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    std::string_view ClassName() const override { return "TPicture"; }
    void Assign(const TPersistent* source) override;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Takes a copy of the graphic (null empties the picture).
    void SetGraphic(TGraphic* graphic);
    // The picture as that kind; a picture of another kind is replaced by an empty one.
    TBitmap* Bitmap();
    TIcon* Icon();
    TMetafile* Metafile();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // By the file's content (BMP, PNG, JPEG, GIF, ICO), else its extension; an unknown kind
    // raises EInvalidGraphic "Unknown picture file extension".
    void LoadFromFile(const AnsiString& fileName);
    // In the kind the extension names (.bmp, .png, .jpg, .gif, .ico), converting the picture
    // when it is of another kind.
    void SaveToFile(const AnsiString& fileName);

    TNotifyEvent OnChange;

private:
    void Take(std::unique_ptr<TGraphic> graphic);
    std::unique_ptr<TGraphic> graphic_;
};
