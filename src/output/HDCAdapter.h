// The output devices messages are rendered onto: a printer context, a PDF document, or one
// tall bitmap saved as an image file. Each gives a context, its resolution and page size
// (0: unbounded), a scale rule, page breaks, clipping and the drawing of a recorded picture.
// Devices are local objects of their users, lent to the renderer through the interface.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/vcl/GdiTypes.h"
#include "platform/vcl/GraphicsImages.h"

class IHTMLConverter;
class IPDFDocument4;

class IHDCAdapter {
public:
    virtual HDC GetDC() = 0;
    virtual int GetResolutionX() = 0;
    virtual int GetResolutionY() = 0;
    virtual int GetPageWidth() = 0;
    virtual int GetPageHeight() = 0;
    // Device units per source unit for a picture made at dpiX x dpiY whose content, margins
    // included, is width x height source units.
    virtual void GetScale(int dpiX, int dpiY, int width, int height, float& scaleX, float& scaleY) = 0;
    virtual bool NewPage() = 0;
    virtual bool SetClipRect(const RECT& r) = 0;
    virtual bool RenderEMF(HENHMETAFILE picture, int left, int top, int right, int bottom, float scaleX, float scaleY) = 0;
    // Outlines a rectangle; nothing calls it, and the base draws nothing.
    virtual bool DrawRect(float, float, float, float, float) { return true; }

protected:
    ~IHDCAdapter() = default;
};

// A device query that failed; what names the call.
class EDeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A printer context lent by the print run, which starts and ends the document.
class PRN_HDCAdapter : public IHDCAdapter {
public:
    explicit PRN_HDCAdapter(HDC printer) : dc_(printer) {}
    HDC GetDC() override { return dc_; }
    int GetResolutionX() override;
    int GetResolutionY() override;
    int GetPageWidth() override;
    int GetPageHeight() override;
    void GetScale(int dpiX, int dpiY, int width, int height, float& scaleX, float& scaleY) override;
    bool NewPage() override;
    bool SetClipRect(const RECT& r) override;
    bool RenderEMF(HENHMETAFILE picture, int left, int top, int right, int bottom, float scaleX, float scaleY) override;

private:
    HDC dc_;
};

// A PDF document; the content with its margins is stretched to the page width.
class PDF_HDCAdapter : public IHDCAdapter {
public:
    explicit PDF_HDCAdapter(std::shared_ptr<IPDFDocument4> document) : document_(std::move(document)) {}
    HDC GetDC() override;
    int GetResolutionX() override;
    int GetResolutionY() override { return GetResolutionX(); }
    int GetPageWidth() override;
    int GetPageHeight() override;
    void GetScale(int dpiX, int dpiY, int width, int height, float& scaleX, float& scaleY) override;
    bool NewPage() override;
    bool SetClipRect(const RECT& r) override;
    bool RenderEMF(HENHMETAFILE picture, int left, int top, int right, int bottom, float scaleX, float scaleY) override;
    bool DrawRect(float x, float y, float width, float height, float radius) override;

private:
    std::shared_ptr<IPDFDocument4> document_;
};

// One bitmap at twice the screen's resolution that grows with what is drawn on it.
class IMG_HDCAdapter : public IHDCAdapter {
public:
    // The largest bitmap: JPEG stops at 65535 pixels a side, and a bigger picture would not
    // fit in memory sensibly anyway. A drawing that needs more fails.
    static constexpr int kMaxSide = 65535;
    static constexpr long long kMaxPixels = 1LL << 28;

    explicit IMG_HDCAdapter(IHTMLConverter& converter) : converter_(converter) {}
    HDC GetDC() override;
    int GetResolutionX() override;
    int GetResolutionY() override;
    int GetPageWidth() override { return 0; }
    int GetPageHeight() override { return 0; }
    void GetScale(int dpiX, int dpiY, int width, int height, float& scaleX, float& scaleY) override;
    bool NewPage() override { return true; }
    bool SetClipRect(const RECT&) override { return true; }
    bool RenderEMF(HENHMETAFILE picture, int left, int top, int right, int bottom, float scaleX, float scaleY) override;
    // Writes the bitmap in the format of the path's extension; false when it was not written.
    bool SaveToFile(const WideString& path);

    int Width() const { return bitmap_.Width(); }
    int Height() const { return bitmap_.Height(); }

private:
    TBitmap bitmap_;
    IHTMLConverter& converter_;
};
