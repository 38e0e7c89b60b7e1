#include "output/MessageRender.h"

#include <fstream>

#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "message/MessageAttr.h"
#include "output/EMFPrinter.h"
#include "output/HDCAdapter.h"
#include "mail/QuoteHeader.h"
#include "output/TextRenderer.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Metafile.h"
#include "platform/win/WinString.h"

namespace {

// A recorded picture deleted with its owner.
class Picture {
public:
    Picture() = default;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture()
    {
        if (handle) DeleteEnhMetaFile(handle);
    }
    HENHMETAFILE handle = nullptr;
    long dpiX = 0, dpiY = 0;
};

// The screen's resolution, from a context of the whole screen released at once.
SIZE ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    SIZE dpi{96, 96};
    if (screen) {
        dpi = SIZE{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

bool StartsWithRtf(const WideString& text)
{
    if (text.size() < 5 || text[0] != u'{') return false;
    WideString sig = text.substr(1, 4);
    for (char16_t& c : sig)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    return sig == u"\\RTF" || sig == u"URTF";
}

bool WriteUtf8Page(const WideString& path, const std::string& html)
{
    std::ofstream out(Utf16ToUtf8(path), std::ios::binary | std::ios::trunc);
    out << "\xEF\xBB\xBF" << html;
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace

MessageRender::MessageRender(HeaderBuilder headerBuilder) : headerBuilder_(std::move(headerBuilder))
{
    if (!headerBuilder_) headerBuilder_ = BuildHtmlQuoteHeader;
}

void MessageRender::ViewRTFString(TMessageAttr& message, const WideString& text, HWND* richEdit)
{
    if (!StartsWithRtf(text) || !body_.LoadRtf(std::u16string_view(text))) body_.SetText(text);
    message.PlaceRtfObjects(body_);
    if (richEdit) *richEdit = nullptr;
}

bool MessageRender::Fail(std::string why)
{
    error_ = std::move(why);
    LogPrintf(u"render failed: %s", Utf8ToUtf16(error_).c_str());
    return false;
}

bool MessageRender::RenderToDC(TMessageAttr& message, IHDCAdapter& device, IHTMLConverter& converter, int flags)
{
    QUILLORA_TRACE(u"MessageRender::RenderToDC");
    message_ = &message;
    error_.clear();
    body_.SetText(u"");
    message.shownFile.clear();
    try {
        message.Display(*this, false, false);
    } catch (const std::exception& e) {
        return Fail(std::string("the message could not be shown: ") + e.what());
    }

    const WideString folder = CAppUtils::getAppTempFolder();
    if (folder.empty()) return Fail("no temporary folder");
    int start = 0;
    try {
        const SIZE screen = ScreenDpi();
        double scaleX = static_cast<double>(device.GetResolutionX()) / screen.cx;
        double scaleY = static_cast<double>(device.GetResolutionY()) / screen.cy;
        if (scaleX == 0) scaleX = 1.0;
        if (scaleY == 0) scaleY = 1.0;
        const long pageWidth = static_cast<long>(device.GetPageWidth() / scaleX);
        const long pageHeight = static_cast<long>(device.GetPageHeight() / scaleY);

        // The header block.
        const WideString headerPath = folder + u"tempHeader.html";
        TextRenderer header;
        header.AddParagraph(u"<html><body>" + headerBuilder_(message, flags) + u"</body></html>");
        if (!header.SaveToFileUnicode(headerPath)) return Fail("the header page could not be written");
        Picture headerPicture;
        if (FAILED(converter.ConvertToEMF(u"file:///" + headerPath, u"", headerPicture.handle, pageWidth, pageHeight,
                                          headerPicture.dpiX, headerPicture.dpiY)))
            return Fail("the header could not be laid out: " + converter.LastError());
        start = EMFPrinter::printMetaFile(device, headerPicture.handle, static_cast<int>(headerPicture.dpiX),
                                          static_cast<int>(headerPicture.dpiY), 0, kMargin, kMargin, kMargin, kMargin);
        if (start == -1) return Fail("the header could not be placed on the device");

        // The body: an HTML body (every ".eml" goes through its MIME file) or the document.
        Picture bodyPicture;
        HRESULT result;
        if (message.bodyIsHtml || message.GetType() == mftEML) {
            if (message.shownFile.empty()) return Fail("the message wrote no body page");
            result = converter.ConvertToEMFCharset(u"file:///" + message.shownFile, u"", bodyPicture.handle, pageWidth,
                                                   pageHeight, bodyPicture.dpiX, bodyPicture.dpiY,
                                                   Utf8ToUtf16(message.shownCharset));
        } else {
            const WideString bodyPath = folder + u"printBody.html";
            if (!WriteUtf8Page(bodyPath, body_.ToHtml())) return Fail("the body page could not be written");
            result = converter.ConvertToEMF(u"file:///" + bodyPath, u"", bodyPicture.handle, pageWidth, pageHeight,
                                            bodyPicture.dpiX, bodyPicture.dpiY);
        }
        if (FAILED(result)) return Fail("the body could not be laid out: " + converter.LastError());
        if (EMFPrinter::printMetaFile(device, bodyPicture.handle, static_cast<int>(bodyPicture.dpiX),
                                      static_cast<int>(bodyPicture.dpiY), start, kMargin, kMargin, kMargin,
                                      kMargin) == -1)
            return Fail("the body could not be placed on the device");
    } catch (const std::exception& e) {
        LogPrintf(u"exception caught on line %d", __LINE__);
        return Fail(e.what());
    }
    return true;
}
