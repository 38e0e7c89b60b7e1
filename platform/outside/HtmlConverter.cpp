#include "platform/outside/HtmlConverter.h"

#include <algorithm>

#include "platform/outside/HtmlNormalizer.h"
#include "platform/outside/HtmlPainter.h"
#include "platform/outside/HtmlSource.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsImages.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinString.h"

namespace {

// The largest page laid out: beyond it a body is refused rather than allocated.
constexpr int kMaxLayoutWidth = 20000;

std::string PathOfUrl(const WideString& url) {
    std::string u = Utf16ToUtf8(url);
    if (u.rfind("file://", 0) == 0) {
        u = u.substr(7);
        while (u.size() > 1 && u[0] == '/' && u[1] == '/') u.erase(0, 1);
    }
    return u;
}

std::string Extension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

class HtmlConverter : public IHTMLConverter {
public:
    explicit HtmlConverter(const THtmlConverterLimits& limits) : limits_(limits) {
        context_.load_master_stylesheet(HtmlConverterStyleSheet());
    }

    HRESULT GetSupportedFormats(WideString& formats) override {
        formats = u"PDF\nPNG\nJPG\nJPEG\nBMP";
        return S_OK;
    }

    HRESULT ConvertToEMF(const WideString& url, const WideString& emfPath, HENHMETAFILE& picture, long width, long height,
                         long& dpiX, long& dpiY) override {
        return Convert(url, emfPath, picture, width, height, dpiX, dpiY, {});
    }

    HRESULT ConvertToEMFCharset(const WideString& url, const WideString& emfPath, HENHMETAFILE& picture, long width, long height,
                                long& dpiX, long& dpiY, const WideString& charset) override {
        return Convert(url, emfPath, picture, width, height, dpiX, dpiY, Utf16ToUtf8(charset));
    }

    HRESULT ImageSave(const WideString& path, HDC dc, long width, long height) override {
        error_.clear();
        const std::string file = Utf16ToUtf8(path);
        const std::string ext = Extension(file);
        std::unique_ptr<TRasterImage> image;
        if (ext == "png") image = std::make_unique<TPngImage>();
        else if (ext == "jpg" || ext == "jpeg") image = std::make_unique<TJPEGImage>();
        else if (ext != "bmp") return Fail(E_INVALIDARG, "no image format for \"" + ext + "\"");
        auto bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
        if (!bitmap || width <= 0 || height <= 0) return Fail(E_INVALIDARG, "no bitmap to save");
        try {
            TBitmap whole;
            whole.SetHandle(bitmap);
            TBitmap part;
            part.SetSize(static_cast<int>(width), static_cast<int>(height));
            const TRect r(0, 0, static_cast<int>(width), static_cast<int>(height));
            part.Canvas()->CopyRect(r, whole.Canvas(), r);
            whole.ReleaseHandle();
            if (image) {
                image->Assign(&part);
                image->SaveToFile(file);
            } else {
                part.SaveToFile(file);
            }
        } catch (const std::exception& e) {
            return Fail(E_FAIL, e.what());
        }
        return S_OK;
    }

    const std::string& LastError() const override { return error_; }

private:
    HRESULT Fail(HRESULT result, std::string why) {
        error_ = std::move(why);
        return result;
    }

    HRESULT Convert(const WideString& url, const WideString&, HENHMETAFILE& picture, long width, long, long& dpiX, long& dpiY,
                    const std::string& charset) {
        error_.clear();
        picture = nullptr;
        THtmlSource source;
        std::string why;
        if (!LoadHtmlSource(PathOfUrl(url), charset, source, why)) return Fail(E_FAIL, why);
        if (!NormalizeMailHtml(source.html, why)) return Fail(E_FAIL, why);
        const int layoutWidth = width > 0 ? static_cast<int>(std::min<long>(width, kMaxLayoutWidth)) : limits_.defaultWidth;

        HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, u"metafile");
        if (!dc) return Fail(E_FAIL, "cannot record a picture");
        try {
            HtmlPainter painter(dc, source, layoutWidth, std::chrono::steady_clock::now() + limits_.layoutBudget);
            litehtml::document::ptr doc = litehtml::document::createFromUTF8(source.html.c_str(), &painter, &context_);
            if (!doc) throw std::runtime_error("the page could not be read");
            doc->render(layoutWidth);
            painter.SetDocumentSize(doc->width(), doc->height());
            const litehtml::position clip(0, 0, std::max(doc->width(), layoutWidth), doc->height());
            doc->draw(reinterpret_cast<litehtml::uint_ptr>(dc), 0, 0, &clip);
            doc.reset();  // fonts go back before the painter does
        } catch (const std::exception& e) {
            DeleteEnhMetaFile(CloseEnhMetaFile(dc));
            return Fail(E_FAIL, e.what());
        }
        picture = CloseEnhMetaFile(dc);
        if (!picture) return Fail(E_FAIL, "cannot record a picture");
        dpiX = dpiY = 96;
        return S_OK;
    }

    THtmlConverterLimits limits_;
    litehtml::context context_;
    std::string error_;
};

}  // namespace

std::unique_ptr<IHTMLConverter> CreateHtmlConverter(const THtmlConverterLimits& limits) {
    return std::make_unique<HtmlConverter>(limits);
}
