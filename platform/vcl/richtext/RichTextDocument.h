// A rich-text document with the operations the program sends to a rich-edit control: RTF and
// text streaming, selection, find and replace, pictures, and drawing a character range onto a
// page. This header is free of the toolkit; platform/vcl/qt/richtext/RichTextQt.h gives the
// toolkit side.
//
// Positions count one unit per character; a paragraph mark is one position (as a CR), a
// picture is one position. The document always ends with a final paragraph mark, which the
// text length leaves out and a whole-text selection includes.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vcl/richtext/RichEditConstants.h"
#include "platform/win/WinTypes.h"

class QTextDocument;

namespace richtext {

// A painter with its resolution; made from a device context by the drawing layer.
class RichTextCanvas;

// One EM_FORMATRANGE request. Rectangles are in twips from the device origin.
struct RichTextFormatRange {
    RichTextCanvas* canvas = nullptr;  // may be null when render is false
    RECT rc;                           // the area to fill
    RECT rcPage;                       // the whole page
    CHARRANGE chrg;                    // cpMax -1: to the end
};

class RichTextDocument {
public:
    RichTextDocument();
    ~RichTextDocument();
    RichTextDocument(const RichTextDocument&) = delete;
    RichTextDocument& operator=(const RichTextDocument&) = delete;

    // Replaces the content with RTF. Text that is not RTF leaves the document unchanged and
    // gives false.
    bool LoadRtf(std::string_view rtf);
    // RTF held as UTF-16, as the control's wide text setter receives it: characters beyond
    // ASCII are taken as themselves instead of going through an 8-bit code page.
    bool LoadRtf(std::u16string_view rtf);
    // Replaces the content with text; CR, LF and CR LF each end a paragraph.
    void SetText(std::u16string_view text);
    std::string SaveRtf() const;
    // The document as an HTML page in UTF-8 with inline styles; pictures travel inside it as
    // data URIs, so the page needs no files beside it.
    std::string ToHtml() const;

    // The text as a reader sees it: CR LF between paragraphs, tabs between table cells,
    // pictures left out.
    WideString PlainText() const;
    // One unit per position (paragraph marks as CR, pictures as U+FFFC), final mark excluded.
    WideString Text() const;
    WideString TextRange(LONG from, LONG to) const;
    LONG TextLength() const;
    LONG GetTextLengthEx(DWORD flags) const;  // GTL_USECRLF counts each paragraph mark twice

    // EM_STREAMIN: replaces the document, or the selection with SFF_SELECTION. SF_RTF input
    // that is not RTF is read as text. Returns the number of positions added.
    LONG StreamIn(DWORD format, std::string_view bytes);
    // EM_STREAMOUT: RTF, or text (UTF-8, or UTF-16 little-endian with SF_UNICODE).
    std::string StreamOut(DWORD format) const;

    // EM_SETSEL (0, -1 selects everything; a start of -1 removes the selection).
    void SetSel(LONG start, LONG end);
    // EM_EXSETSEL; returns the end of the selection that was set.
    LONG ExSetSel(CHARRANGE range);
    CHARRANGE GetSel() const;
    WideString GetSelText() const;
    // EM_FINDTEXTEXW: the start of the match (and its range in found), or -1.
    LONG FindText(DWORD flags, CHARRANGE range, std::u16string_view text, CHARRANGE* found = nullptr) const;
    // EM_REPLACESEL; the selection collapses after the new text.
    void ReplaceSel(std::u16string_view text);
    // Puts a picture (file bytes: PNG, JPEG, GIF, BMP, EMF, WMF) in place of the selection.
    // A size of 0 takes the picture's own. False when the bytes are no picture.
    bool InsertPicture(std::string_view bytes, LONG widthTwips = 0, LONG heightTwips = 0);

    // EM_SETTARGETDEVICE: 0 wraps at the view, 1 does not wrap, more wraps at that width.
    void SetTargetDevice(LONG lineWidthTwips);
    LONG TargetLineWidth() const;

    // EM_FORMATRANGE: lays out the range into range->rc and, when render is set, draws it.
    // Returns the first position not drawn. A null range releases the cached layout.
    LONG FormatRange(const RichTextFormatRange* range, bool render);

    // Positions of the attachment marks of the last RTF read into the whole document.
    const std::vector<LONG>& ObjectPlaceholders() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    friend QTextDocument& QtDocumentOf(RichTextDocument& document);
};

}  // namespace richtext
