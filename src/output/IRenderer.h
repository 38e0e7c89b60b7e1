// A document builder: collects text pieces into one wide-string document and writes it to a
// file as UTF-8, UTF-16LE with a byte-order mark, or the legacy 8-bit code page.
//
// Renderers do not escape what they are given: whoever adds message text escapes it first with
// the renderer's Escape (identity for plain text, entities for HTML).
#pragma once

#include "platform/win/WinTypes.h"

class IRenderer {
public:
    IRenderer() = default;
    IRenderer(const IRenderer&) = delete;
    IRenderer& operator=(const IRenderer&) = delete;
    virtual ~IRenderer() = default;

    // The finished document (the content in the kind's frame).
    virtual WideString GetDocument() = 0;
    virtual void AddBold(const WideString& text) = 0;
    virtual void AddParagraph(const WideString& text) = 0;
    virtual void AddPreformatted(const WideString& text) = 0;
    virtual void AddRule() = 0;

    // Each saver refuses (false, the file untouched) while nothing was added, and otherwise
    // writes the whole document to a temporary file beside the target and renames it over the
    // target, so a failed write leaves no truncated file; true when every byte was written.
    // UTF-8 without a byte-order mark.
    virtual bool SaveToFileUTF8(const WideString& path);
    // FF FE, then UTF-16 little-endian code units.
    virtual bool SaveToFileUnicode(const WideString& path);
    // The legacy 8-bit code page, windows-1252; characters it lacks become "?".
    virtual bool SaveToFileAnsi(const WideString& path);

    // Message text made safe for this kind of document.
    virtual WideString Escape(const WideString& text) const { return text; }

    const WideString& Content() const { return content_; }

protected:
    WideString content_;
};

// Text made safe inside HTML element content and quoted attributes: & < > " become entities.
inline WideString EscapeHtmlText(const WideString& text)
{
    WideString out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        switch (c) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'"': out += u"&quot;"; break;
        default: out += c;
        }
    }
    return out;
}
