#include "output/PrintHeader.h"

#include "message/MessageAttr.h"
#include "output/IRenderer.h"

namespace {

const WideString kFont = u"<FONT SIZE=2 FACE=\"Tahoma\">";

void Line(WideString& out, const WideString& caption, const WideString& value)
{
    if (value.empty()) return;
    out += u"<B>" + kFont + EscapeHtmlText(caption) + u"</FONT></B>" + kFont + u"  " + EscapeHtmlText(value) +
           u"<BR></FONT>\n";
}

// The part after the last folder separator of either kind.
WideString FilePart(const WideString& path)
{
    const std::size_t cut = path.find_last_of(u"/\\");
    return cut == WideString::npos ? path : path.substr(cut + 1);
}

}  // namespace

WideString BuildPrintHeaderHtml(const TMessageAttr& message, int flags)
{
    WideString out = u"<P DIR=LTR>\n";
    if (flags & 2)
        out += u"<FONT SIZE=1 FACE=\"Tahoma\">Message File name: " + EscapeHtmlText(FilePart(message.fileName)) +
               u"</FONT>\n";
    Line(out, u"From:", message.from);
    Line(out, u"To:", message.to);
    Line(out, u"CC:", message.cc);
    Line(out, u"BCC:", message.bcc);
    if (message.sent && !message.dateText.empty()) Line(out, message.dateCaption, message.dateText);
    Line(out, u"Subject:", message.subject);
    if ((flags & 1) && !message.attachments.empty()) {
        out += u"<BR><FONT SIZE=1 FACE=\"Tahoma\">Attachments:</FONT><BR>\n";
        for (const AttachmentItem& a : message.attachments)
            if (!a.name.empty()) out += u"<FONT SIZE=1 FACE=\"Tahoma\">" + EscapeHtmlText(a.name) + u"</FONT><BR>\n";
    }
    return out + u"</P>";
}
