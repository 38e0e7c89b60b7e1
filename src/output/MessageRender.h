// Renders one message off-screen onto an output device: the message shows itself into this
// invisible view (which keeps an RTF or plain-text body in a rich-text document), then the
// header block and the body are each laid out by the HTML converter into a recorded picture
// and placed page by page, the body continuing below the header.
//
// The body document stands in for the hidden rich-edit control: it has no window, so the
// view itself has the message place its pictures and objects into it.
#pragma once

#include <functional>
#include <string>

#include "message/ViewEmpty.h"
#include "platform/vcl/richtext/RichTextDocument.h"

class IHDCAdapter;
class IHTMLConverter;

class MessageRender : public ViewEmpty {
public:
    // Margins on each side, in screen pixels; the placer scales them to the device.
    static constexpr int kMargin = 50;

    using HeaderBuilder = std::function<WideString(const TMessageAttr& message, int flags)>;
    // headerBuilder: the header block's HTML (default: the quote header, BuildHtmlQuoteHeader).
    explicit MessageRender(HeaderBuilder headerBuilder = {});

    // Loads RTF (text starting with an RTF signature) or plain text into the body document and
    // has the message place its pictures and objects there. richEdit, when given, receives
    // null: there is no control for the message to reach.
    void ViewRTFString(TMessageAttr& message, const WideString& text, HWND* richEdit = nullptr) override;

    // Renders the message onto the device's current page and the pages after it. flags go to
    // the header builder (1 lists the attachments, 2 adds the file-name line). False when the
    // header or the body could not be laid out or placed; LastError says why.
    bool RenderToDC(TMessageAttr& message, IHDCAdapter& device, IHTMLConverter& converter, int flags);
    const std::string& LastError() const { return error_; }

private:
    bool Fail(std::string why);

    richtext::RichTextDocument body_;
    HeaderBuilder headerBuilder_;
    TMessageAttr* message_ = nullptr;
    std::string error_;
};
