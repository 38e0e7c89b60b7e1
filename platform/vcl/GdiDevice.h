// The inside of the drawing interface: drawing objects behind their handles, the surface a
// device context draws on, and the device context with its Windows state (selected objects,
// colours, modes, mapping, clipping, saved states).
//
// The Windows rules live here, free of the toolkit: coordinates are mapped to device pixels,
// shapes that must be exact to the pixel become rectangles, and text is laid out. A surface
// only fills, strokes, draws text runs and images in device pixels; the toolkit's surfaces
// (platform/vcl/qt) and the metafile recorder implement it.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/vcl/GdiRegion.h"
#include "platform/vcl/GdiTypes.h"
#include "platform/win/WinHandle.h"

// ---- drawing objects -----------------------------------------------------------------------

class GdiObject : public WinHandleObject {
public:
    explicit GdiObject(DWORD type) : type_(type) {}
    DWORD Type() const { return type_; }
    // Stock objects live for the whole process; deleting one does nothing.
    bool stock = false;
    // How many device contexts (current or saved states) hold the object.
    int selections = 0;

private:
    DWORD type_;
};

class GdiPen : public GdiObject {
public:
    GdiPen() : GdiObject(OBJ_PEN) {}
    int style = PS_SOLID;    // PS_SOLID .. PS_INSIDEFRAME
    int endCap = PS_ENDCAP_ROUND;
    int join = PS_JOIN_ROUND;
    bool geometric = false;
    int width = 0;           // logical units; 0 is one device pixel
    COLORREF color = 0;
    bool dcPen = false;      // the DC_PEN stock pen: takes the context's pen colour
};

class GdiBitmap;

class GdiBrush : public GdiObject {
public:
    GdiBrush() : GdiObject(OBJ_BRUSH) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    // BS_PATTERN: the pattern's pixels (0x00RRGGBB), copied at creation; a monochrome
    // pattern keeps its bits so that it takes the context's text and background colours.
    int patternWidth = 0, patternHeight = 0;
    std::vector<std::uint32_t> pattern;
    std::vector<std::uint8_t> monoPattern;  // 1 = background colour, 0 = text colour
    bool dcBrush = false;  // the DC_BRUSH stock brush
    int sysColorIndex = -1;  // a system colour brush follows the colour scheme
};

class GdiFont : public GdiObject {
public:
    GdiFont() : GdiObject(OBJ_FONT) {}
    LOGFONTW logFont;
};

class GdiRegionObject : public GdiObject {
public:
    GdiRegionObject() : GdiObject(OBJ_REGION) {}
    GdiRegion region;
};

class GdiPalette : public GdiObject {
public:
    GdiPalette() : GdiObject(OBJ_PAL) {}
    std::vector<RGBQUAD> entries;
};

// A device-independent pixel buffer: rows top-down, each padded to four bytes, 1, 4, 8, 24
// or 32 bits a pixel in the Windows byte order (blue, green, red, reserved).
class GdiBitmap : public GdiObject {
public:
    GdiBitmap(int width, int height, int bitsPerPixel);
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bpp_; }
    int Stride() const { return stride_; }
    std::uint8_t* Row(int y) { return bits_.data() + static_cast<size_t>(y) * stride_; }
    const std::uint8_t* Row(int y) const { return bits_.data() + static_cast<size_t>(y) * stride_; }
    std::uint8_t* Bits() { return bits_.data(); }
    std::vector<RGBQUAD> palette;  // 1, 4 and 8 bits a pixel

    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF c);
    // The index of the palette entry nearest the colour.
    int NearestIndex(COLORREF c) const;

private:
    int width_, height_, bpp_, stride_;
    std::vector<std::uint8_t> bits_;
};

// ---- what a surface draws with -------------------------------------------------------------

// A picture in 0xAARRGGBB pixels, rows top-down.
struct GdiImage {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    bool hasAlpha = false;  // else alpha is ignored (opaque)
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A colour or a tile repeated from a device origin. Tile pixels are 0xAARRGGBB; a pixel with
// alpha 0 leaves the destination alone (the gaps of a hatch on a transparent background).
struct GdiPaint {
    COLORREF color = 0;
    bool tiled = false;
    int tileWidth = 0, tileHeight = 0;
    std::vector<std::uint32_t> tile;
    POINT origin;
    // The colour the paint gives at device pixel (x, y), or nullopt where the tile is clear.
    std::optional<COLORREF> At(int x, int y) const;
};

struct GdiStroke {
    COLORREF color = 0;
    double width = 0;          // device pixels; 0 draws one pixel wide at any scale
    int style = PS_SOLID;      // PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_ALTERNATE
    int endCap = PS_ENDCAP_FLAT;
    int join = PS_JOIN_MITER;
    bool opaqueGaps = false;   // the gaps of a styled line take bkColor
    COLORREF bkColor = 0xFFFFFF;
};

// A path in device coordinates: moves, lines, elliptic arcs and closes.
struct GdiPathElement {
    enum Kind { Move, Line, Arc, Close } kind = Move;
    GdiPointF point;
    // Arc: the ellipse's box, the start angle and the sweep in degrees, counter-clockwise on
    // the screen; the arc joins the path with a line from the current point.
    double left = 0, top = 0, right = 0, bottom = 0;
    double start = 0, sweep = 0;
};
using GdiPath = std::vector<GdiPathElement>;

struct GdiTextRun {
    LOGFONTW font;             // lfHeight in device pixels
    GdiPointF origin;          // the left end of the base line, device pixels
    double angle = 0;          // degrees, counter-clockwise
    WideString text;
    std::vector<double> advances;  // per code unit when given, device pixels
    COLORREF color = 0;
    bool rtl = false;
};

// Raster access to a surface's pixels.
struct GdiPixels {
    std::uint8_t* bits = nullptr;
    int width = 0, height = 0, stride = 0, bpp = 32;
    const RGBQUAD* palette = nullptr;
    int paletteSize = 0;
    COLORREF Get(int x, int y) const;
    void Set(int x, int y, COLORREF c);
};

// ---- surfaces ------------------------------------------------------------------------------

class GdiSurface {
public:
    virtual ~GdiSurface() = default;
    GdiSurface() = default;
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    virtual SIZE Size() const = 0;          // device pixels
    virtual SIZE Resolution() const = 0;    // pixels per inch
    virtual int Technology() const { return DT_RASDISPLAY; }
    virtual int BitsPerPixel() const { return 32; }
    // The physical page and its printable offset, for printers (else the surface).
    virtual SIZE PhysicalSize() const { return Size(); }
    virtual POINT PhysicalOffset() const { return POINT{}; }

    // Clipping in device pixels (nullptr: the whole surface). The surface keeps it, so that
    // raster operations done here honour it too.
    void SetClip(const GdiRegion* clip);
    const std::optional<GdiRegion>& Clip() const { return clip_; }

    virtual void FillRects(const std::vector<RECT>& rects, const GdiPaint& paint, int rop2) = 0;
    virtual void FillPath(const GdiPath& path, int fillMode, const GdiPaint& paint, int rop2) = 0;
    virtual void StrokePath(const GdiPath& path, const GdiStroke& stroke, int rop2) = 0;

    // Metrics and advances of a font whose lfHeight is in device pixels.
    virtual TEXTMETRICW Metrics(const LOGFONTW& font) = 0;
    virtual double Advance(const LOGFONTW& font, std::u16string_view text) = 0;
    virtual void DrawTextRun(const GdiTextRun& run) = 0;

    // The pixels, where the surface is a raster in memory; raster operations other than a
    // plain copy need them.
    virtual std::optional<GdiPixels> Pixels() { return std::nullopt; }

    // Puts the source image (or only the pattern, when src is null) into dst with the ternary
    // raster operation. transparent names a source colour left out (CLR_INVALID: none);
    // blend draws the source over the destination by its alpha. The source is scaled to dst.
    // The base does it on Pixels(); returns false when the surface cannot do the operation.
    virtual bool Blit(const RECT& dst, const GdiImage* src, const RECT& srcRect, const GdiPaint* pattern,
                      DWORD rop, COLORREF transparent, bool blend, int stretchMode);

    // Document and page control of printers and PDF files.
    virtual int StartDoc(std::u16string_view docName, std::u16string_view output);
    virtual int StartPage();
    virtual int EndPage();
    virtual int EndDoc();
    virtual int AbortDoc();

protected:
    virtual void ApplyClip(const GdiRegion* clip) = 0;

private:
    std::optional<GdiRegion> clip_;
};

// What only the toolkit can make: surfaces over its paint devices, decoded images, printers.
class GdiBackend {
public:
    virtual ~GdiBackend() = default;
    virtual std::unique_ptr<GdiSurface> CreateBitmapSurface(GdiBitmap& bitmap) = 0;
    // The screen at 96 dots per inch: what measures text for contexts without a device of
    // their own (GetDC(0), metafile recorders). Drawing on it goes nowhere.
    virtual std::unique_ptr<GdiSurface> CreateScreenSurface() = 0;
    // A printer by its desktop name (empty: the default printer), or null with the last error set.
    virtual std::unique_ptr<GdiSurface> CreatePrinterSurface(std::u16string_view printer, bool landscape,
                                                             int copies) = 0;
    // A PDF file of pages of the given size at dpi pixels per inch.
    virtual std::unique_ptr<GdiSurface> CreatePdfSurface(std::u16string_view fileName, double pageWidthMm,
                                                         double pageHeightMm, int dpi) = 0;
    // Image files: decode any format the toolkit reads; encode by format name ("png", "jpg",
    // "bmp", "gif"...). quality -1 is the format's default.
    virtual bool DecodeImage(const void* data, size_t size, GdiImage& out, std::string* format) = 0;
    virtual bool EncodeImage(const GdiImage& image, std::string_view format, int quality,
                             std::vector<std::uint8_t>& out) = 0;
    virtual std::vector<WideString> PrinterNames() = 0;
    virtual WideString DefaultPrinterName() = 0;
    // Shows the printing dialog; false when cancelled.
    virtual bool PrintDialog(PRINTDLGW& dialog) = 0;
};

// The backend in use (installed by the toolkit side at start-up), or nullptr.
GdiBackend* CurrentGdiBackend();
void SetGdiBackend(GdiBackend* backend);

// ---- device contexts -----------------------------------------------------------------------

struct GdiDcState {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    COLORREF dcPenColor = 0;
    COLORREF dcBrushColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int polyFillMode = ALTERNATE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int arcDirection = AD_COUNTERCLOCKWISE;
    int textCharExtra = 0;
    int mapMode = MM_TEXT;
    POINT windowOrg, viewportOrg;
    SIZE windowExt{1, 1}, viewportExt{1, 1};
    POINT brushOrg;
    POINT current;
    std::optional<GdiRegion> clip;  // device pixels
};

class GdiDeviceContext : public WinHandleObject {
public:
    enum class Kind { Memory, Painter, Screen, Metafile, Printer };
    GdiDeviceContext(Kind kind, std::unique_ptr<GdiSurface> surface);
    ~GdiDeviceContext() override;

    Kind kind() const { return kind_; }
    GdiSurface* Surface() const { return surface_.get(); }
    // A memory context draws on its bitmap: the surface follows the selected bitmap.
    void ReplaceSurface(std::unique_ptr<GdiSurface> surface);
    // Run when the context goes (a recorder finishing its picture, a painter's owner).
    std::function<void()> onDelete;
    // The region every drawing stays within besides the clip region (a paint event's area).
    std::optional<GdiRegion> baseClip;

    GdiDcState state;
    std::vector<GdiDcState> saved;

    // Selection bookkeeping of objects held by a state.
    static void Hold(const GdiDcState& s);
    static void Release(const GdiDcState& s);
    void ApplyClip();

    // Logical to device mapping.
    GdiPointF ToDevice(double x, double y) const;
    POINT ToDevicePoint(int x, int y) const;
    GdiPointF ToLogical(double x, double y) const;
    double ScaleX() const;
    double ScaleY() const;
    // A logical rectangle as device pixels, normalised (left < right).
    RECT ToDeviceRect(const RECT& r) const;

private:
    Kind kind_;
    std::unique_ptr<GdiSurface> surface_;
};

// The live context a handle names, or nullptr with ERROR_INVALID_HANDLE set.
GdiDeviceContext* DcFromHandle(HDC dc);
// Registers a new context and returns its handle.
HDC RegisterDc(std::unique_ptr<GdiDeviceContext> dc);
void SetGdiLastErrorInvalidHandle();
// The live drawing object of that type, or nullptr with ERROR_INVALID_HANDLE set.
template <class T>
T* GdiObjectAs(HGDIOBJ h) {
    T* obj = HandleAs<T>(static_cast<HANDLE>(h));
    if (!obj) SetGdiLastErrorInvalidHandle();
    return obj;
}
// Registers a drawing object and returns its handle.
HGDIOBJ RegisterGdiObject(std::unique_ptr<GdiObject> obj);

// Font faces of the design mapped to the installed families (see ARCHITECTURE.md, fonts), and
// the symbol font's characters mapped to the Unicode symbols they show.
WideString SubstituteFontFamily(std::u16string_view face, BYTE pitchAndFamily);
bool IsSymbolFace(std::u16string_view face);
WideString MapSymbolText(std::u16string_view text);
