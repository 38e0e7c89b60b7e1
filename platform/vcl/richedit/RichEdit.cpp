#include "platform/vcl/richedit/RichEdit.h"

#include <algorithm>

#include "platform/vcl/richedit/RichEditOfWindow.h"

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Streams.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

using richtext::RichTextDocument;

namespace {

constexpr UINT kCodePageUtf16 = 1200;

TRichTextDrawer& Drawer() {
    static TRichTextDrawer drawer;
    return drawer;
}

bool IsRtf(std::u16string_view text) { return text.substr(0, 5) == u"{\\rtf"; }
bool IsRtf(std::string_view text) { return text.substr(0, 5) == "{\\rtf"; }

bool EndsLine(char16_t c) { return c == u'\r' || c == 0x2028; }

// Text with CR LF for every line end, as WM_GETTEXT gives it.
WideString WithCrLf(const WideString& text) {
    WideString out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (EndsLine(c)) out += u"\r\n";
        else out += c;
    }
    return out;
}

class RichEditOle : public ComObject<IRichEditOle> {
public:
    explicit RichEditOle(TCustomRichEdit& edit) : edit_(&edit) {}
    void Detach() { edit_ = nullptr; }
    LONG GetObjectCount() override {
        if (!edit_) return 0;
        const WideString text = edit_->Document().Text();
        return static_cast<LONG>(std::count(text.begin(), text.end(), u'\xFFFC'));
    }
    HRESULT InsertPicture(const void* bytes, std::size_t size, LONG widthTwips, LONG heightTwips) override {
        if (!edit_) return E_FAIL;
        if (!bytes || size == 0) return E_INVALIDARG;
        if (!edit_->Document().InsertPicture(std::string_view(static_cast<const char*>(bytes), size), widthTwips,
                                            heightTwips))
            return E_INVALIDARG;
        edit_->Perform(CN_COMMAND, MAKEWPARAM(0, EN_CHANGE), 0);
        return S_OK;
    }

private:
    TCustomRichEdit* edit_;
};

}  // namespace

const IID& IRichEditOle::iid() {
    static const IID id{0x00020D00, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    return id;
}

void SetRichTextDrawer(TRichTextDrawer drawer) { Drawer() = std::move(drawer); }

// ---------------------------------------------------------------------------------------------
// TRichEditStrings

int TRichEditStrings::GetCount() const {
    // An empty document has no lines; a final empty line after a mark is no line either.
    const WideString text = edit_.Document().Text();
    if (text.empty()) return 0;
    const int count = edit_.LineCount();
    return EndsLine(text.back()) ? count - 1 : count;
}

AnsiString TRichEditStrings::Get(int index) const {
    if (index < 0 || index >= GetCount()) RaiseRangeError();
    const LONG start = edit_.LineIndex(index);
    return Utf16ToUtf8(edit_.Document().TextRange(start, start + edit_.LineLength(index)));
}

void TRichEditStrings::Clear() {
    edit_.Document().SetText(u"");
    edit_.DocumentChanged();
}

void TRichEditStrings::Delete(int index) {
    if (index < 0 || index >= GetCount()) RaiseRangeError();
    const LONG start = edit_.LineIndex(index);
    const LONG end = index + 1 < edit_.LineCount() ? edit_.LineIndex(index + 1) : edit_.Document().TextLength();
    edit_.Document().SetSel(start, end);
    edit_.Document().ReplaceSel(u"");
    edit_.DocumentChanged();
}

void TRichEditStrings::Insert(int index, const AnsiString& text) {
    const int count = GetCount();
    if (index < 0 || index > count) RaiseRangeError();
    WideString line = Utf8ToUtf16(text);
    LONG at;
    if (index < count) {
        at = edit_.LineIndex(index);
        line += u'\r';
    } else {
        at = edit_.Document().TextLength();
        const WideString all = edit_.Document().Text();
        if (!all.empty() && !EndsLine(all.back())) line.insert(line.begin(), u'\r');
    }
    edit_.Document().SetSel(at, at);
    edit_.Document().ReplaceSel(line);
    edit_.DocumentChanged();
}

void TRichEditStrings::Put(int index, const AnsiString& text) {
    if (index < 0 || index >= GetCount()) RaiseRangeError();
    const LONG start = edit_.LineIndex(index);
    edit_.Document().SetSel(start, start + edit_.LineLength(index));
    edit_.Document().ReplaceSel(Utf8ToUtf16(text));
    edit_.DocumentChanged();
}

void TRichEditStrings::LoadFromStream(TStream& stream) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const auto n = stream.Read(buffer, sizeof buffer);
        if (n <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    RichTextDocument& doc = edit_.Document();
    if (edit_.PlainText() || !IsRtf(bytes) || !doc.LoadRtf(bytes)) doc.SetText(Utf8ToUtf16(bytes));
    edit_.DocumentChanged();
}

void TRichEditStrings::SaveToStream(TStream& stream) const {
    const std::string bytes = edit_.Document().StreamOut(edit_.PlainText() ? richtext::SF_TEXT : richtext::SF_RTF);
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// ---------------------------------------------------------------------------------------------
// TCustomRichEdit

const TMetaClass& TCustomRichEdit::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomRichEdit>("TCustomRichEdit", &TWinControl::StaticClass(), [](TClassBuilder<TCustomRichEdit>& b) {
        b.Property("HideSelection", &TCustomRichEdit::HideSelection, &TCustomRichEdit::SetHideSelection).Default(true);
        b.Property("Lines", &TCustomRichEdit::Lines, &TCustomRichEdit::SetLines);
        b.Property("PlainText", &TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText).Default(false);
        b.Property("ReadOnly", &TCustomRichEdit::ReadOnly, &TCustomRichEdit::SetReadOnly).Default(false);
        b.Property("ScrollBars", &TCustomRichEdit::ScrollBars, &TCustomRichEdit::SetScrollBars).Default(ssNone);
        b.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
        b.Property("WordWrap", &TCustomRichEdit::WordWrap, &TCustomRichEdit::SetWordWrap).Default(true);
        b.Event("OnChange", &TCustomRichEdit::OnChange);
        b.Event("OnSelectionChange", &TCustomRichEdit::OnSelectionChange);
    });
    return meta;
}

const TMessageTable& TCustomRichEdit::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(CN_COMMAND, TCustomRichEdit::CNCommand),
    });
    return table;
}

TCustomRichEdit::TCustomRichEdit(TComponent* owner)
    : TWinControl(owner), document_(std::make_unique<RichTextDocument>()),
      lines_(std::make_unique<TRichEditStrings>(*this)) {
    SetBounds(Left(), Top(), 185, 89);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

TCustomRichEdit::~TCustomRichEdit() {
    // The view shows the document: it goes first.
    DestroyHandle();
    if (ole_) static_cast<RichEditOle*>(ole_.get())->Detach();
}

void TCustomRichEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"RichEdit20W";
    params.OwnerPainted = false;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
}

void TCustomRichEdit::CreateWnd() {
    TWinControl::CreateWnd();
    if (TRichEditPeer* v = View()) {
        v->SetReadOnly(readOnly_);
        v->SetWordWrap(wordWrap_);
        v->SetScrollBars(scrollBars_);
        v->DocumentChanged();
        v->SetSelection(document_->GetSel());
    }
}

void TCustomRichEdit::SetLines(TStrings* lines) {
    if (lines == lines_.get()) return;
    WideString text;
    if (lines)
        for (int i = 0; i < lines->Count(); ++i) {
            if (i) text += u'\r';
            text += Utf8ToUtf16(lines->Get(i));
        }
    document_->SetText(text);
    DocumentChanged();
}

void TCustomRichEdit::SetTextAuto(const WideString& text) {
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomRichEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (TRichEditPeer* p = View()) p->SetReadOnly(v);
}

void TCustomRichEdit::SetWordWrap(bool v) {
    wordWrap_ = v;
    if (TRichEditPeer* p = View()) p->SetWordWrap(v);
}

void TCustomRichEdit::SetScrollBars(TScrollStyle v) {
    scrollBars_ = v;
    if (TRichEditPeer* p = View()) p->SetScrollBars(v);
}

void TCustomRichEdit::TakeViewSelection() {
    if (TRichEditPeer* p = View()) {
        const CHARRANGE r = p->Selection();
        const CHARRANGE now = document_->GetSel();
        if (r.cpMin != now.cpMin || r.cpMax != now.cpMax) document_->ExSetSel(r);
    }
}

void TCustomRichEdit::SetSelection(CHARRANGE range) {
    document_->ExSetSel(range);
    if (TRichEditPeer* p = View()) p->SetSelection(document_->GetSel());
}

int TCustomRichEdit::SelStart() const {
    return document_->GetSel().cpMin;
}
int TCustomRichEdit::SelLength() const {
    const CHARRANGE r = document_->GetSel();
    return r.cpMax - r.cpMin;
}
void TCustomRichEdit::SetSelStart(int v) { SetSelection({v, v}); }
void TCustomRichEdit::SetSelLength(int v) { SetSelection({SelStart(), SelStart() + v}); }
WideString TCustomRichEdit::SelText() const {
    return document_->GetSelText();
}

void TCustomRichEdit::SetSelText(const WideString& text) {
    document_->ReplaceSel(text);
    DocumentChanged();
}

void TCustomRichEdit::SelectAll() { SetSelection({0, -1}); }

void TCustomRichEdit::ClearSelection() { SetSelText({}); }

void TCustomRichEdit::CopyToClipboard() {
    if (SelLength() <= 0) return;
    TClipboard* c = Clipboard();
    c->Open();
    c->SetBuffer(CF_RTF(), document_->StreamOut(richtext::SF_RTF | richtext::SFF_SELECTION) + '\0');
    const std::string text = document_->StreamOut(richtext::SF_TEXT | richtext::SF_UNICODE | richtext::SFF_SELECTION);
    c->SetBuffer(CF_UNICODETEXT, text + std::string(2, '\0'));
    c->Close();
}

void TCustomRichEdit::CutToClipboard() {
    if (readOnly_) return;
    CopyToClipboard();
    ClearSelection();
}

int TCustomRichEdit::FindText(const WideString& text, int start, int length, bool matchCase, bool wholeWord) const {
    DWORD flags = FR_DOWN;
    if (matchCase) flags |= FR_MATCHCASE;
    if (wholeWord) flags |= FR_WHOLEWORD;
    return document_->FindText(flags, {start, start + length}, text);
}

std::vector<LONG> TCustomRichEdit::LineStarts() const {
    std::vector<LONG> starts{0};
    const WideString text = document_->Text();
    for (std::size_t i = 0; i < text.size(); ++i)
        if (EndsLine(text[i])) starts.push_back(static_cast<LONG>(i + 1));
    return starts;
}

int TCustomRichEdit::LineCount() const { return static_cast<int>(LineStarts().size()); }

int TCustomRichEdit::LineFromChar(LONG pos) const {
    const auto starts = LineStarts();
    if (pos < 0) pos = document_->GetSel().cpMin;
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin()) - 1;
}

LONG TCustomRichEdit::LineIndex(int line) const {
    const auto starts = LineStarts();
    if (line < 0) line = LineFromChar(-1);
    return line < static_cast<int>(starts.size()) ? starts[static_cast<std::size_t>(line)] : -1;
}

LONG TCustomRichEdit::LineLength(int line) const {
    const auto starts = LineStarts();
    if (line < 0 || line >= static_cast<int>(starts.size())) return 0;
    const auto i = static_cast<std::size_t>(line);
    const LONG end = i + 1 < starts.size() ? starts[i + 1] - 1 : document_->TextLength();
    return end - starts[i];
}

void TCustomRichEdit::DocumentChanged() {
    if (TRichEditPeer* p = View()) {
        p->DocumentChanged();
        p->SetSelection(document_->GetSel());
    }
    Change();
}

void TCustomRichEdit::Change() {
    if ((eventMask_ & ENM_CHANGE) && OnChange) OnChange(this);
}

void TCustomRichEdit::SelectionChange() {
    if ((eventMask_ & ENM_SELCHANGE) && OnSelectionChange) OnSelectionChange(this);
}

void TCustomRichEdit::CNCommand(TMessage& m) {
    switch (HIWORD(m.WParam)) {
    case EN_CHANGE: Change(); break;
    case EN_SELCHANGE:
        TakeViewSelection();
        SelectionChange();
        break;
    default: break;
    }
}

void TCustomRichEdit::WndProc(TMessage& m) {
    if (HandleRichEditMessage(m)) return;
    TWinControl::WndProc(m);
}

bool TCustomRichEdit::HandleRichEditMessage(TMessage& m) {
    RichTextDocument& doc = *document_;
    switch (m.Msg) {
    case WM_SETTEXT: {
        const auto* text = reinterpret_cast<LPCWSTR>(m.LParam);
        const std::u16string_view t = text ? text : u"";
        if (!IsRtf(t) || !doc.LoadRtf(t)) doc.SetText(t);
        m.Result = TRUE;
        DocumentChanged();
        return true;
    }
    case WM_GETTEXTLENGTH: m.Result = doc.GetTextLengthEx(richtext::GTL_USECRLF); return true;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<LPWSTR>(m.LParam);
        m.Result = 0;
        if (!buffer || m.WParam == 0) return true;
        const WideString text = WithCrLf(doc.Text());
        const std::size_t n = std::min<std::size_t>(text.size(), m.WParam - 1);
        std::copy_n(text.data(), n, buffer);
        buffer[n] = 0;
        m.Result = static_cast<LRESULT>(n);
        return true;
    }
    case EM_SETTEXTEX: {
        const auto* st = reinterpret_cast<const SETTEXTEX*>(m.WParam);
        const SETTEXTEX how = st ? *st : SETTEXTEX{};
        WideString text;
        if (m.LParam) {
            if (how.codepage == kCodePageUtf16)
                text = reinterpret_cast<LPCWSTR>(m.LParam);
            else
                text = Utf8ToUtf16(reinterpret_cast<const char*>(m.LParam));
        }
        if (how.flags & ST_SELECTION) {
            // RTF replaces the selection through the stream path; text replaces it as text.
            if (IsRtf(text)) doc.StreamIn(richtext::SF_RTF | richtext::SFF_SELECTION, Utf16ToUtf8(text));
            else doc.ReplaceSel(text);
        } else if (!IsRtf(text) || !doc.LoadRtf(std::u16string_view(text))) {
            doc.SetText(text);
        }
        m.Result = 1;
        DocumentChanged();
        return true;
    }
    case EM_GETSEL: {
        const CHARRANGE r = doc.GetSel();
        if (m.WParam) *reinterpret_cast<DWORD*>(m.WParam) = static_cast<DWORD>(r.cpMin);
        if (m.LParam) *reinterpret_cast<DWORD*>(m.LParam) = static_cast<DWORD>(r.cpMax);
        m.Result = MAKELONG(std::min<LONG>(r.cpMin, 0xFFFF), std::min<LONG>(r.cpMax, 0xFFFF));
        return true;
    }
    case EM_SETSEL:
        doc.SetSel(static_cast<LONG>(m.WParam), static_cast<LONG>(m.LParam));
        if (TRichEditPeer* p = View()) p->SetSelection(doc.GetSel());
        return true;
    case EM_EXGETSEL:
        if (auto* r = reinterpret_cast<CHARRANGE*>(m.LParam)) *r = doc.GetSel();
        return true;
    case EM_EXSETSEL: {
        const auto* r = reinterpret_cast<const CHARRANGE*>(m.LParam);
        if (!r) return true;
        m.Result = doc.ExSetSel(*r);
        if (TRichEditPeer* p = View()) p->SetSelection(doc.GetSel());
        return true;
    }
    case EM_GETSELTEXT: {
        const WideString text = doc.GetSelText();
        if (auto* buffer = reinterpret_cast<LPWSTR>(m.LParam)) {
            std::copy(text.begin(), text.end(), buffer);
            buffer[text.size()] = 0;
        }
        m.Result = static_cast<LRESULT>(text.size());
        return true;
    }
    case EM_GETTEXTRANGE: {
        auto* tr = reinterpret_cast<TEXTRANGEW*>(m.LParam);
        m.Result = 0;
        if (!tr || !tr->lpstrText) return true;
        const LONG end = tr->chrg.cpMax < 0 ? doc.TextLength() : tr->chrg.cpMax;
        const WideString text = doc.TextRange(tr->chrg.cpMin, end);
        std::copy(text.begin(), text.end(), tr->lpstrText);
        tr->lpstrText[text.size()] = 0;
        m.Result = static_cast<LRESULT>(text.size());
        return true;
    }
    case EM_REPLACESEL: {
        const auto* text = reinterpret_cast<LPCWSTR>(m.LParam);
        doc.ReplaceSel(text ? text : u"");
        DocumentChanged();
        return true;
    }
    case EM_EXLINEFROMCHAR: m.Result = LineFromChar(static_cast<LONG>(m.LParam)); return true;
    case EM_LINEFROMCHAR: m.Result = LineFromChar(static_cast<LONG>(static_cast<INT_PTR>(m.WParam))); return true;
    case EM_LINEINDEX:
        m.Result = LineIndex(static_cast<int>(static_cast<INT_PTR>(m.WParam)));
        return true;
    case EM_LINELENGTH: {
        const auto pos = static_cast<LONG>(static_cast<INT_PTR>(m.WParam));
        m.Result = LineLength(LineFromChar(pos));
        return true;
    }
    case EM_GETLINECOUNT: m.Result = LineCount(); return true;
    case EM_GETEVENTMASK: m.Result = static_cast<LRESULT>(eventMask_); return true;
    case EM_SETEVENTMASK:
        m.Result = static_cast<LRESULT>(eventMask_);
        eventMask_ = static_cast<DWORD>(m.LParam);
        return true;
    case EM_SETEDITSTYLE: {
        // Styles we have no use for (the input method's SES_USEAIMM) are kept and reported.
        const auto mask = static_cast<DWORD>(m.LParam ? m.LParam : m.WParam);
        editStyle_ = (editStyle_ & ~mask) | (static_cast<DWORD>(m.WParam) & mask);
        m.Result = static_cast<LRESULT>(editStyle_);
        return true;
    }
    case EM_GETEDITSTYLE: m.Result = static_cast<LRESULT>(editStyle_); return true;
    case EM_SETREADONLY:
        SetReadOnly(m.WParam != 0);
        m.Result = TRUE;
        return true;
    case EM_GETTEXTLENGTHEX: {
        const auto* flags = reinterpret_cast<const DWORD*>(m.WParam);
        m.Result = doc.GetTextLengthEx(flags ? *flags : 0);
        return true;
    }
    case EM_FINDTEXTEXW: {
        auto* ft = reinterpret_cast<FINDTEXTEXW*>(m.LParam);
        if (!ft || !ft->lpstrText) {
            m.Result = -1;
            return true;
        }
        m.Result = doc.FindText(static_cast<DWORD>(m.WParam), ft->chrg, ft->lpstrText, &ft->chrgText);
        return true;
    }
    case EM_FORMATRANGE: {
        const auto* fr = reinterpret_cast<const FORMATRANGE*>(m.LParam);
        if (!fr) {
            doc.FormatRange(nullptr, false);
            m.Result = 0;
        } else if (Drawer()) {
            m.Result = Drawer()(doc, *fr, m.WParam != 0);
        } else {
            richtext::RichTextFormatRange range{nullptr, fr->rc, fr->rcPage, fr->chrg};
            m.Result = doc.FormatRange(&range, false);
        }
        return true;
    }
    case EM_SETTARGETDEVICE:
        doc.SetTargetDevice(static_cast<LONG>(m.LParam));
        m.Result = TRUE;
        return true;
    case EM_STREAMOUT:
    case EM_STREAMIN:
        // The program streams through the document (Document()) instead of callbacks.
        return false;
    case EM_GETOLEINTERFACE: {
        auto** out = reinterpret_cast<IRichEditOle**>(m.LParam);
        if (!out) {
            m.Result = FALSE;
            return true;
        }
        if (!ole_) ole_ = MakeComObject<RichEditOle>(*this);
        ole_->AddRef();
        *out = ole_.get();
        m.Result = TRUE;
        return true;
    }
    case WM_COPY: CopyToClipboard(); return true;
    default: return false;
    }
}

const TMetaClass& TRichEdit::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRichEdit>("TRichEdit", &TCustomRichEdit::StaticClass());
    return meta;
}

void RegisterRichEditClasses() { RegisterClass(TRichEdit::StaticClass()); }

bool ChangeRichEditDocument(HWND window, const std::function<void(RichTextDocument&)>& change) {
    auto* edit = dynamic_cast<TCustomRichEdit*>(FindControl(window));
    if (!edit || !change) return false;
    change(edit->Document());
    edit->DocumentChanged();
    return true;
}
