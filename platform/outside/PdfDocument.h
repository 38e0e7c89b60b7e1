// The PDF document the export draws its pages on: a drawing context on the current page,
// page breaks, a rectangle path that clips or is stroked, pictures played at a scale, and the
// document's information (title, author, subject, creator, producer) written with it.
// Results below zero are failures; LastError says why.
#pragma once

#include <memory>
#include <string>

#include "platform/vcl/GdiTypes.h"

class IPDFDocument4 {
public:
    virtual ~IPDFDocument4() = default;
    // Drops what was drawn and starts an empty document with one page.
    virtual HRESULT Clear() = 0;
    // Ends the document and writes it to path (replacing the file in one step). Drawing
    // afterwards starts a new document.
    virtual HRESULT SaveToFile(const WideString& path) = 0;
    // The context that draws on the current page, in page pixels.
    virtual HRESULT GetDC(HDC& dc) = 0;
    virtual HRESULT get_PageResolution(long& dpi) = 0;
    virtual HRESULT get_PageWidth(long& pixels) = 0;
    virtual HRESULT get_PageHeight(long& pixels) = 0;
    virtual HRESULT NewPage() = 0;
    // Makes the rectangle the current path; the fifth value (a corner radius) is not used.
    virtual HRESULT DrawRectangle(float x, float y, float width, float height, float radius) = 0;
    // The current path becomes the clip of the page.
    virtual HRESULT Clip() = 0;
    // Outlines the current path.
    virtual HRESULT Stroke() = 0;
    // Plays the picture with its top-left corner at (x, y), each of its pixels scaleX by scaleY
    // page pixels.
    virtual HRESULT PlayMetaFileFromHandle(HENHMETAFILE picture, float x, float y, float scaleX, float scaleY) = 0;
    virtual HRESULT put_Title(const WideString& text) = 0;
    virtual HRESULT put_Author(const WideString& text) = 0;
    virtual HRESULT put_Subject(const WideString& text) = 0;
    virtual HRESULT put_Creator(const WideString& text) = 0;
    virtual HRESULT put_Producer(const WideString& text) = 0;
    virtual const std::string& LastError() const = 0;
};

struct TPdfPageSetup {
    double widthMm = 210;  // A4
    double heightMm = 297;
    int dpi = 300;
};

// Needs the drawing backend (the Qt widget set) installed.
std::shared_ptr<IPDFDocument4> CreatePdfDocument(const TPdfPageSetup& setup = {});

// Adds an information dictionary to a finished PDF as an incremental update (a new object,
// cross-reference section and trailer after the old ones), so readers take these values over
// whatever the writer put there. False when the bytes hold no trailer to build on.
struct TPdfInfo {
    WideString title, author, subject, creator, producer;
};
bool AppendPdfInfo(std::string& pdf, const TPdfInfo& info);
