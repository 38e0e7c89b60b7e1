// The rich-edit control ("RichEdit20W"): TCustomRichEdit, TRichEdit and TRichEditStrings over
// the rich-text engine's document, the rich-edit messages the program sends (selection, lines,
// find, event mask, paged drawing into a device, the OLE interface) and the peer interface
// through which a toolkit view shows the document.
//
// Lines are the document's hard lines: a paragraph mark or a line break ends one, whatever
// width a view wraps them at, so line numbers do not depend on the window's size.
#pragma once

#include <memory>

#include "platform/com/ComBase.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrlsMessages.h"
#include "platform/vcl/Strings.h"
#include "platform/vcl/richtext/RichTextDocument.h"

using richtext::CHARRANGE;
using richtext::EM_EXGETSEL;
using richtext::EM_EXLINEFROMCHAR;
using richtext::EM_EXSETSEL;
using richtext::EM_FINDTEXTEXW;
using richtext::EM_FORMATRANGE;
using richtext::EM_GETEVENTMASK;
using richtext::EM_GETOLEINTERFACE;
using richtext::EM_GETSELTEXT;
using richtext::EM_GETTEXTLENGTHEX;
using richtext::EM_SETEDITSTYLE;
using richtext::EM_SETEVENTMASK;
using richtext::EM_SETTARGETDEVICE;
using richtext::EM_SETTEXTEX;
using richtext::EM_STREAMIN;
using richtext::EM_STREAMOUT;
using richtext::FR_DOWN;
using richtext::FR_MATCHCASE;
using richtext::FR_WHOLEWORD;

inline constexpr UINT EM_GETTEXTRANGE = 0x044B;
inline constexpr UINT EM_GETEDITSTYLE = 0x04CD;

inline constexpr DWORD ENM_NONE = 0x0, ENM_CHANGE = 0x1, ENM_UPDATE = 0x2, ENM_SCROLL = 0x4,
                       ENM_KEYEVENTS = 0x10000, ENM_MOUSEEVENTS = 0x20000, ENM_REQUESTRESIZE = 0x40000,
                       ENM_SELCHANGE = 0x80000, ENM_PROTECTED = 0x200000, ENM_LINK = 0x4000000;
inline constexpr DWORD SES_USEAIMM = 0x40;
inline constexpr DWORD ST_DEFAULT = 0, ST_KEEPUNDO = 1, ST_SELECTION = 2, ST_NEWCHARS = 4, ST_UNICODE = 8;
// Notification codes the view sends the control through CN_COMMAND.
inline constexpr WORD EN_SELCHANGE = 0x0702;

struct SETTEXTEX {
    DWORD flags = ST_DEFAULT;
    UINT codepage = 0;  // CP_ACP (UTF-8 here), 1200 for UTF-16
};
struct FINDTEXTEXW {
    CHARRANGE chrg;
    LPCWSTR lpstrText = nullptr;
    CHARRANGE chrgText;
};
struct TEXTRANGEW {
    CHARRANGE chrg;
    LPWSTR lpstrText = nullptr;
};
// EM_FORMATRANGE: rectangles in twips; hdc receives the drawing.
struct FORMATRANGE {
    HDC hdc = nullptr;
    HDC hdcTarget = nullptr;
    RECT rc;
    RECT rcPage;
    CHARRANGE chrg;
};

// What EM_GETOLEINTERFACE hands out: objects placed into the text at the selection. Our
// objects are static pictures given as file bytes (PNG, JPEG, GIF, BMP, EMF, WMF).
struct IRichEditOle : IUnknown {
    using Base = IUnknown;
    static const IID& iid();
    virtual LONG GetObjectCount() = 0;
    // Replaces the selection with the picture; a size of 0 takes the picture's own (twips).
    virtual HRESULT InsertPicture(const void* bytes, std::size_t size, LONG widthTwips, LONG heightTwips) = 0;
};


// The toolkit view of a rich edit: shows the control's document, takes its settings, and owns
// the selection while the user changes it.
class TRichEditPeer {
public:
    virtual ~TRichEditPeer() = default;
    // The document was replaced or changed by the control: show it again.
    virtual void DocumentChanged() = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void SetWordWrap(bool wrap) = 0;
    virtual void SetScrollBars(TScrollStyle style) = 0;
    virtual void SetSelection(CHARRANGE range) = 0;
    virtual CHARRANGE Selection() const = 0;
};

// EM_FORMATRANGE draws through the toolkit: the toolkit side installs the painter of a device
// context. Without one the range is measured but not drawn.
using TRichTextDrawer = std::function<LONG(richtext::RichTextDocument& document, const FORMATRANGE& range, bool render)>;
void SetRichTextDrawer(TRichTextDrawer drawer);

class TCustomRichEdit;

// The lines of a rich edit as strings (UTF-8); changing them changes the document.
class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TCustomRichEdit& edit) : edit_(edit) {}
    std::string_view ClassName() const override { return "TRichEditStrings"; }
    AnsiString Get(int index) const override;
    int GetCount() const override;
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, const AnsiString& text) override;
    void Put(int index, const AnsiString& text) override;
    // RTF (by its signature, unless PlainText) or text.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

private:
    TCustomRichEdit& edit_;
};

class TCustomRichEdit : public TWinControl {
    QUILLORA_COMPONENT(TCustomRichEdit)
    QUILLORA_MESSAGES()
public:
    explicit TCustomRichEdit(TComponent* owner);
    ~TCustomRichEdit() override;

    richtext::RichTextDocument& Document() const { return *document_; }
    TRichEditStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* lines);

    // Text that starts with the RTF signature is read as RTF, other text as plain text.
    void SetTextAuto(const WideString& text);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    // Lines read and write plain text instead of RTF.
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool v) { plainText_ = v; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v) { hideSelection_ = v; }

    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    WideString SelText() const;
    void SetSelText(const WideString& text);
    void SelectAll();
    void ClearSelection();
    // The selection as text and RTF on the clipboard.
    void CopyToClipboard();
    void CutToClipboard();
    // The start of the match of text in [start, start + length), or -1.
    int FindText(const WideString& text, int start, int length, bool matchCase, bool wholeWord) const;

    DWORD EventMask() const { return eventMask_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;

    // Positions of the hard lines (for the messages and TRichEditStrings).
    int LineCount() const;
    int LineFromChar(LONG pos) const;
    LONG LineIndex(int line) const;
    LONG LineLength(int line) const;

protected:
    friend class TRichEditStrings;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    virtual void Change();
    virtual void SelectionChange();
    // The document changed by the control: tell the view and the OnChange handler.
    void DocumentChanged();
    friend bool ChangeRichEditDocument(HWND window, const std::function<void(richtext::RichTextDocument&)>& change);
    void CNCommand(TMessage& m);

private:
    TRichEditPeer* View() const { return dynamic_cast<TRichEditPeer*>(Peer()); }
    // The selection the user made in the view (it says when: EN_SELCHANGE).
    void TakeViewSelection();
    void SetSelection(CHARRANGE range);
    bool HandleRichEditMessage(TMessage& m);
    std::vector<LONG> LineStarts() const;

    std::unique_ptr<richtext::RichTextDocument> document_;
    std::unique_ptr<TRichEditStrings> lines_;
    ComPtr<IRichEditOle> ole_;
    bool readOnly_ = false;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
    bool plainText_ = false;
    bool hideSelection_ = true;
    DWORD eventMask_ = ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE | ENM_PROTECTED;
    DWORD editStyle_ = 0;
};

class TRichEdit : public TCustomRichEdit {
    QUILLORA_COMPONENT(TRichEdit)
public:
    explicit TRichEdit(TComponent* owner) : TCustomRichEdit(owner) {}
};

// Registers the rich edit for form files.
void RegisterRichEditClasses();
