// The HTML converter the program asks to turn HTML into recorded drawings for printing and
// export, and to save bitmaps as image files. Its input is a local HTML file in any encoding
// or a whole MIME message file; it lays the page out at a width (0: a default) with our own
// style sheet, fetches nothing from the network, refuses absurd table nesting and stops a
// layout that runs over its time budget: such a body fails, it never hangs the program.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/vcl/GdiTypes.h"

class IHTMLConverter {
public:
    virtual ~IHTMLConverter() = default;
    // The formats ImageSave and the export can write, one per line, upper case ("PDF", "PNG" ...).
    virtual HRESULT GetSupportedFormats(WideString& formats) = 0;
    // Lays out the page at url ("file:///" + path) at width pixels (0: the default width) and
    // records it into a picture in screen pixels (96 dpi); emfPath is not written (pictures stay
    // in memory). height bounds nothing but is kept for callers. On success picture is the new
    // recording (the caller deletes it).
    virtual HRESULT ConvertToEMF(const WideString& url, const WideString& emfPath, HENHMETAFILE& picture, long width,
                                 long height, long& dpiX, long& dpiY) = 0;
    // The same with the page's bytes decoded in charset (a MIME name) unless a byte-order mark says otherwise.
    virtual HRESULT ConvertToEMFCharset(const WideString& url, const WideString& emfPath, HENHMETAFILE& picture, long width,
                                        long height, long& dpiX, long& dpiY, const WideString& charset) = 0;
    // Saves the top-left width x height pixels of the bitmap selected into dc; the format
    // follows the path's extension.
    virtual HRESULT ImageSave(const WideString& path, HDC dc, long width, long height) = 0;
    // Why the last call failed, for the report.
    virtual const std::string& LastError() const = 0;
};

struct THtmlConverterLimits {
    std::chrono::milliseconds layoutBudget{10000};
    int defaultWidth = 800;
};

std::unique_ptr<IHTMLConverter> CreateHtmlConverter(const THtmlConverterLimits& limits = {});

// The default style sheet every page starts from.
const char* HtmlConverterStyleSheet();
