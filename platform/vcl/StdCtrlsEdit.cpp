// TCustomEdit and TCustomMemo: the text, selection and the "EDIT" messages over lines broken
// by CR LF, answered from the control's own state; a widget set's peer shows and edits it.
#include <algorithm>
#include <cwctype>

#include "platform/vcl/StdCtrls.h"

namespace {

struct LineSpan {
    int start;
    int length;
};

// Lines end at CR LF, or at a lone CR or LF.
std::vector<LineSpan> SplitLines(const WideString& t, bool multiLine) {
    const int n = static_cast<int>(t.size());
    if (!multiLine) return {{0, n}};
    std::vector<LineSpan> lines;
    int start = 0;
    for (int i = 0; i < n;) {
        if (t[i] != u'\r' && t[i] != u'\n') {
            ++i;
            continue;
        }
        lines.push_back({start, i - start});
        i += (t[i] == u'\r' && i + 1 < n && t[i + 1] == u'\n') ? 2 : 1;
        start = i;
    }
    lines.push_back({start, n - start});
    return lines;
}

int LineOfChar(const std::vector<LineSpan>& lines, int pos) {
    int line = 0;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i)
        if (lines[i].start <= pos) line = i;
    return line;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomEdit

const TMetaClass& TCustomEdit::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomEdit>("TCustomEdit", &TWinControl::StaticClass());
    return meta;
}

const TMetaClass& TEdit::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TEdit>("TEdit", &TCustomEdit::StaticClass(), [](TClassBuilder<TEdit>& b) {
        b.Property("Alignment", &TEdit::Alignment, &TEdit::SetAlignment).Default(taLeftJustify);
        b.Property("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect).Default(true);
        b.Property("BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle).Default(bsSingle);
        b.Property("CharCase", &TEdit::CharCase, &TEdit::SetCharCase).Default(ecNormal);
        b.Property("HideSelection", &TEdit::HideSelection, &TEdit::SetHideSelection).Default(true);
        b.Property("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
        b.Property("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar).Default(WideChar(0));
        b.Property("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
        b.Property("Text", &TEdit::Text, &TEdit::SetText);
        b.Event("OnChange", static_cast<decltype(TEdit::OnChange) TEdit::*>(&TEdit::OnChange));
    });
    return meta;
}

const TMessageTable& TCustomEdit::ClassMessages() {
    static const TMessageTable table(&TWinControl::ClassMessages(), {
        MESSAGE_HANDLER(WM_SETTEXT, TCustomEdit::WMSetText),
        MESSAGE_HANDLER(WM_GETDLGCODE, TCustomEdit::WMGetDlgCode),
        MESSAGE_HANDLER(WM_CLEAR, TCustomEdit::WMClear),
        MESSAGE_HANDLER(CN_COMMAND, TCustomEdit::CNCommand),
        MESSAGE_HANDLER(EM_GETSEL, TCustomEdit::EMGetSel),
        MESSAGE_HANDLER(EM_SETSEL, TCustomEdit::EMSetSel),
        MESSAGE_HANDLER(EM_REPLACESEL, TCustomEdit::EMReplaceSel),
        MESSAGE_HANDLER(EM_GETLINECOUNT, TCustomEdit::EMGetLineCount),
        MESSAGE_HANDLER(EM_LINEINDEX, TCustomEdit::EMLineIndex),
        MESSAGE_HANDLER(EM_LINELENGTH, TCustomEdit::EMLineLength),
        MESSAGE_HANDLER(EM_LINEFROMCHAR, TCustomEdit::EMLineFromChar),
        MESSAGE_HANDLER(EM_GETLINE, TCustomEdit::EMGetLine),
        MESSAGE_HANDLER(EM_SETPASSWORDCHAR, TCustomEdit::EMSetPasswordChar),
        MESSAGE_HANDLER(EM_GETPASSWORDCHAR, TCustomEdit::EMGetPasswordChar),
        MESSAGE_HANDLER(EM_SETREADONLY, TCustomEdit::EMSetReadOnly),
        MESSAGE_HANDLER(EM_LIMITTEXT, TCustomEdit::EMLimitText),
        MESSAGE_HANDLER(EM_GETLIMITTEXT, TCustomEdit::EMGetLimitText),
        MESSAGE_HANDLER(EM_GETMODIFY, TCustomEdit::EMGetModify),
        MESSAGE_HANDLER(EM_SETMODIFY, TCustomEdit::EMSetModify),
    });
    return table;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 25);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    controlStyle_ = TControlStyle{csClickEvents, csDoubleClicks};  // Text, not Caption, is stored
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = u"EDIT";
    params.OwnerPainted = false;
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (options_.ReadOnly) params.Style |= ES_READONLY;
    if (options_.PasswordChar) params.Style |= ES_PASSWORD;
    if (options_.CharCase == ecUpperCase) params.Style |= ES_UPPERCASE;
    if (options_.CharCase == ecLowerCase) params.Style |= ES_LOWERCASE;
    if (!options_.HideSelection) params.Style |= ES_NOHIDESEL;
    params.Style |= options_.Alignment == taCenter ? ES_CENTER : options_.Alignment == taRightJustify ? ES_RIGHT : ES_LEFT;
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    PushOptions();
    if (auto* p = dynamic_cast<TEditPeer*>(Peer())) p->SetSelection(selStart_, selLength_);
}

void TCustomEdit::DestroyWnd() {
    if (auto* p = dynamic_cast<TEditPeer*>(Peer())) p->Selection(selStart_, selLength_);
    TWinControl::DestroyWnd();
}

void TCustomEdit::PushOptions() {
    if (auto* p = dynamic_cast<TEditPeer*>(Peer())) p->SetOptions(options_);
}

int TCustomEdit::SelStart() const {
    int start = selStart_, length = selLength_;
    if (auto* p = dynamic_cast<TEditPeer*>(Peer())) p->Selection(start, length);
    return start;
}

int TCustomEdit::SelLength() const {
    int start = selStart_, length = selLength_;
    if (auto* p = dynamic_cast<TEditPeer*>(Peer())) p->Selection(start, length);
    return length;
}

void TCustomEdit::SetSelStart(int v) { Perform(EM_SETSEL, static_cast<WPARAM>(v), v); }

void TCustomEdit::SetSelLength(int v) {
    const int start = SelStart();
    Perform(EM_SETSEL, static_cast<WPARAM>(start), start + v);
}

WideString TCustomEdit::SelText() const {
    const int start = SelStart(), length = SelLength();
    return text_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
}

void TCustomEdit::SetSelText(const WideString& text) { Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str())); }

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

void TCustomEdit::SetPasswordChar(WideChar c) {
    if (c == options_.PasswordChar) return;
    Perform(EM_SETPASSWORDCHAR, c, 0);
}

void TCustomEdit::SetReadOnly(bool v) {
    if (v == options_.ReadOnly) return;
    Perform(EM_SETREADONLY, v ? 1 : 0, 0);
}

void TCustomEdit::SetMaxLength(int v) {
    if (v == options_.MaxLength) return;
    Perform(EM_LIMITTEXT, static_cast<WPARAM>(std::max(v, 0)), 0);
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
    if (v == options_.CharCase) return;
    options_.CharCase = v;
    if (v != ecNormal) {
        WideString t = Text();
        for (char16_t& c : t) c = static_cast<char16_t>(v == ecUpperCase ? std::towupper(c) : std::towlower(c));
        SetText(t);
    }
    PushOptions();
}

void TCustomEdit::SetAlignment(TAlignment v) {
    if (v == options_.Alignment) return;
    options_.Alignment = v;
    PushOptions();
}

void TCustomEdit::SetHideSelection(bool v) {
    if (v == options_.HideSelection) return;
    options_.HideSelection = v;
    PushOptions();
}

void TCustomEdit::SetBorderStyle(TFormBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    RecreateWnd();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::SyncFromPeer() {
    if (TWidgetPeer* p = Peer()) {
        if (std::optional<WideString> t = p->Text()) text_ = *t;
        if (auto* e = dynamic_cast<TEditPeer*>(p)) e->Selection(selStart_, selLength_);
    }
}

void TCustomEdit::ReplaceText(const WideString& text, int selStart, int selLength, bool userEdit) {
    settingText_ = true;
    text_ = text;
    selStart_ = std::clamp(selStart, 0, static_cast<int>(text_.size()));
    selLength_ = std::clamp(selLength, 0, static_cast<int>(text_.size()) - selStart_);
    if (TWidgetPeer* p = Peer()) {
        p->SetText(text_);
        if (auto* e = dynamic_cast<TEditPeer*>(p)) e->SetSelection(selStart_, selLength_);
    }
    settingText_ = false;
    if (userEdit) modified_ = true;
    Change();
}

void TCustomEdit::KeyPress(WideChar& key) {
    TWinControl::KeyPress(key);
    if (key < 32) return;
    if (options_.CharCase == ecUpperCase) key = static_cast<WideChar>(std::towupper(key));
    if (options_.CharCase == ecLowerCase) key = static_cast<WideChar>(std::towlower(key));
    // The limit holds for typing; a program's text may be longer.
    if (options_.MaxLength > 0 && static_cast<int>(text_.size()) - SelLength() >= options_.MaxLength) key = 0;
}

void TCustomEdit::DoEnter() {
    if (autoSelect_ && !options_.MultiLine) SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::WMSetText(TMessage& m) {
    const auto* text = reinterpret_cast<LPCWSTR>(m.LParam);
    ReplaceText(text ? WideString(text) : WideString(), 0, 0, false);
    m.Result = TRUE;
}

void TCustomEdit::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS; }

void TCustomEdit::CNCommand(TMessage& m) {
    if (HIWORD(m.WParam) != EN_CHANGE || settingText_) return;
    SyncFromPeer();
    modified_ = true;
    Change();
}

void TCustomEdit::EMGetSel(TMessage& m) {
    const int start = SelStart(), end = start + SelLength();
    if (auto* s = reinterpret_cast<DWORD*>(m.WParam)) *s = static_cast<DWORD>(start);
    if (auto* e = reinterpret_cast<DWORD*>(m.LParam)) *e = static_cast<DWORD>(end);
    m.Result = MAKELONG(static_cast<WORD>(std::min(start, 0xFFFF)), static_cast<WORD>(std::min(end, 0xFFFF)));
}

// EM_SETSEL (start, end): -1 as the start removes the selection; -1 as the end is the text's end.
void TCustomEdit::EMSetSel(TMessage& m) {
    const int length = static_cast<int>(text_.size());
    int start = static_cast<int>(static_cast<INT_PTR>(m.WParam));
    int end = static_cast<int>(m.LParam);
    if (start < 0) {
        start = SelStart();
        end = start;
    }
    if (end < 0) end = length;
    start = std::min(start, length);
    end = std::min(end, length);
    if (end < start) std::swap(start, end);
    selStart_ = start;
    selLength_ = end - start;
    if (auto* p = dynamic_cast<TEditPeer*>(Peer())) p->SetSelection(selStart_, selLength_);
}

void TCustomEdit::EMReplaceSel(TMessage& m) {
    const auto* text = reinterpret_cast<LPCWSTR>(m.LParam);
    const WideString insert = text ? WideString(text) : WideString();
    const int start = SelStart(), length = SelLength();
    WideString t = text_;
    t.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), insert);
    ReplaceText(t, start + static_cast<int>(insert.size()), 0, true);
}

void TCustomEdit::EMGetLineCount(TMessage& m) { m.Result = static_cast<LRESULT>(SplitLines(text_, options_.MultiLine).size()); }

// EM_LINEINDEX (line): the line's first character; -1 is the caret's line; -1 for no such line.
void TCustomEdit::EMLineIndex(TMessage& m) {
    const auto lines = SplitLines(text_, options_.MultiLine);
    int line = static_cast<int>(static_cast<INT_PTR>(m.WParam));
    if (line < 0) line = LineOfChar(lines, SelStart());
    m.Result = line < static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(line)].start : -1;
}

// EM_LINELENGTH (character): the length of the character's line; -1 counts the characters
// of the selection's lines outside the selection.
void TCustomEdit::EMLineLength(TMessage& m) {
    const auto lines = SplitLines(text_, options_.MultiLine);
    const int pos = static_cast<int>(static_cast<INT_PTR>(m.WParam));
    if (pos < 0) {
        const int start = SelStart(), end = start + SelLength();
        const LineSpan& first = lines[static_cast<std::size_t>(LineOfChar(lines, start))];
        const LineSpan& last = lines[static_cast<std::size_t>(LineOfChar(lines, end))];
        m.Result = std::max(0, start - first.start) + std::max(0, last.start + last.length - end);
        return;
    }
    if (pos > static_cast<int>(text_.size())) {
        m.Result = 0;
        return;
    }
    m.Result = lines[static_cast<std::size_t>(LineOfChar(lines, pos))].length;
}

void TCustomEdit::EMLineFromChar(TMessage& m) {
    const auto lines = SplitLines(text_, options_.MultiLine);
    int pos = static_cast<int>(static_cast<INT_PTR>(m.WParam));
    if (pos < 0) pos = SelStart();
    m.Result = LineOfChar(lines, std::min(pos, static_cast<int>(text_.size())));
}

// EM_GETLINE (line, buffer): the buffer's first code unit holds its size; the line is copied
// without a terminating zero and its length returned.
void TCustomEdit::EMGetLine(TMessage& m) {
    auto* buffer = reinterpret_cast<LPWSTR>(m.LParam);
    m.Result = 0;
    if (!buffer) return;
    const auto lines = SplitLines(text_, options_.MultiLine);
    const int line = options_.MultiLine ? static_cast<int>(static_cast<INT_PTR>(m.WParam)) : 0;
    const int size = static_cast<int>(static_cast<WORD>(buffer[0]));
    if (line < 0 || line >= static_cast<int>(lines.size())) return;
    const LineSpan& span = lines[static_cast<std::size_t>(line)];
    const int n = std::min(size, span.length);
    std::copy_n(text_.data() + span.start, n, buffer);
    m.Result = n;
}

// A multi-line edit shows no password characters.
void TCustomEdit::EMSetPasswordChar(TMessage& m) {
    if (options_.MultiLine) return;
    options_.PasswordChar = static_cast<WideChar>(m.WParam);
    PushOptions();
    Invalidate();
}

void TCustomEdit::EMGetPasswordChar(TMessage& m) { m.Result = options_.PasswordChar; }

void TCustomEdit::EMSetReadOnly(TMessage& m) {
    options_.ReadOnly = m.WParam != 0;
    PushOptions();
    m.Result = TRUE;
}

void TCustomEdit::EMLimitText(TMessage& m) {
    options_.MaxLength = static_cast<int>(std::min<WPARAM>(m.WParam, 0x7FFFFFFE));
    PushOptions();
}

void TCustomEdit::EMGetLimitText(TMessage& m) { m.Result = options_.MaxLength > 0 ? options_.MaxLength : 0x7FFFFFFE; }
void TCustomEdit::EMGetModify(TMessage& m) { m.Result = modified_ ? TRUE : FALSE; }
void TCustomEdit::EMSetModify(TMessage& m) { modified_ = m.WParam != 0; }

void TCustomEdit::WMClear(TMessage&) {
    if (!options_.ReadOnly && SelLength() > 0) SetSelText(WideString());
}

// ---------------------------------------------------------------------------------------------
// TCustomMemo

AnsiString TMemoStrings::Get(int index) const {
    const int start = static_cast<int>(memo_.Perform(EM_LINEINDEX, static_cast<WPARAM>(index), 0));
    if (index < 0 || start < 0) Error(u"List index out of bounds (%d)", index);
    const int length = static_cast<int>(memo_.Perform(EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    if (length == 0) return {};
    WideString buffer(static_cast<std::size_t>(std::max(length, 1)), u'\0');
    buffer[0] = static_cast<char16_t>(std::min(length, 0xFFFF));
    if (length > 0xFFFF) throw EOutOfResources("Line too long");
    const auto got = memo_.Perform(EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(got));
    return Utf16ToUtf8(buffer);
}

// The line count less an empty last line (the text's final line break).
int TMemoStrings::GetCount() const {
    int count = static_cast<int>(memo_.Perform(EM_GETLINECOUNT, 0, 0));
    const auto last = memo_.Perform(EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0);
    if (memo_.Perform(EM_LINELENGTH, static_cast<WPARAM>(last), 0) == 0) --count;
    return count;
}

void TMemoStrings::Clear() { memo_.SetText(WideString()); }

void TMemoStrings::Delete(int index) {
    const auto start = memo_.Perform(EM_LINEINDEX, static_cast<WPARAM>(index), 0);
    if (index < 0 || start < 0) Error(u"List index out of bounds (%d)", index);
    auto end = memo_.Perform(EM_LINEINDEX, static_cast<WPARAM>(index + 1), 0);
    if (end < 0) end = start + memo_.Perform(EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    memo_.Perform(EM_SETSEL, static_cast<WPARAM>(start), end);
    memo_.Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u""));
}

void TMemoStrings::Insert(int index, const AnsiString& text) {
    if (index < 0) Error(u"List index out of bounds (%d)", index);
    auto start = memo_.Perform(EM_LINEINDEX, static_cast<WPARAM>(index), 0);
    WideString line;
    if (start >= 0) {
        line = Utf8ToUtf16(text) + u"\r\n";
    } else {
        start = memo_.Perform(EM_LINEINDEX, static_cast<WPARAM>(index - 1), 0);
        if (start < 0) Error(u"List index out of bounds (%d)", index);
        const auto length = memo_.Perform(EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        if (length == 0) return;
        start += length;
        line = u"\r\n" + Utf8ToUtf16(text);
    }
    memo_.Perform(EM_SETSEL, static_cast<WPARAM>(start), start);
    memo_.Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void TMemoStrings::Put(int index, const AnsiString& text) {
    const auto start = memo_.Perform(EM_LINEINDEX, static_cast<WPARAM>(index), 0);
    if (index < 0 || start < 0) Error(u"List index out of bounds (%d)", index);
    const auto length = memo_.Perform(EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    const WideString wide = Utf8ToUtf16(text);
    memo_.Perform(EM_SETSEL, static_cast<WPARAM>(start), start + length);
    memo_.Perform(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void TMemoStrings::SetText(const AnsiString& text) { memo_.SetText(Utf8ToUtf16(text)); }

const TMetaClass& TCustomMemo::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCustomMemo>("TCustomMemo", &TCustomEdit::StaticClass());
    return meta;
}

const TMetaClass& TMemo::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TMemo>("TMemo", &TCustomMemo::StaticClass(), [](TClassBuilder<TMemo>& b) {
        b.Property("Alignment", &TMemo::Alignment, &TMemo::SetAlignment).Default(taLeftJustify);
        b.Property("BorderStyle", &TMemo::BorderStyle, &TMemo::SetBorderStyle).Default(bsSingle);
        b.Property("HideSelection", &TMemo::HideSelection, &TMemo::SetHideSelection).Default(true);
        b.Property("Lines", &TMemo::Lines, &TMemo::SetLines);
        b.Property("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength).Default(0);
        b.Property("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(false);
        b.Property("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars).Default(ssNone);
        b.Property("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns).Default(true);
        b.Property("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs).Default(false);
        b.Property("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(true);
        b.Event("OnChange", static_cast<decltype(TMemo::OnChange) TMemo::*>(&TMemo::OnChange));
    });
    return meta;
}

const TMessageTable& TCustomMemo::ClassMessages() {
    static const TMessageTable table(&TCustomEdit::ClassMessages(), {
        MESSAGE_HANDLER(WM_GETDLGCODE, TCustomMemo::WMGetDlgCodeMemo),
    });
    return table;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(*this)) {
    options_.MultiLine = true;
    SetBounds(Left(), Top(), 185, 89);
    SetAutoSelect(false);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetLines(TStrings* lines) {
    if (lines) lines_->Assign(lines);
    else lines_->Clear();
}

void TCustomMemo::SetWordWrap(bool v) {
    if (v == options_.WordWrap) return;
    options_.WordWrap = v;
    PushOptions();
}

void TCustomMemo::SetWantTabs(bool v) {
    if (v == options_.WantTabs) return;
    options_.WantTabs = v;
    PushOptions();
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
    if (v == options_.ScrollBars) return;
    options_.ScrollBars = v;
    PushOptions();
}

TPoint TCustomMemo::CaretPos() const {
    auto* self = const_cast<TCustomMemo*>(this);
    const int line = static_cast<int>(self->Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(SelStart()), 0));
    const int start = static_cast<int>(self->Perform(EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    return TPoint(SelStart() - start, line);
}

void TCustomMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style = (params.Style & ~ES_AUTOHSCROLL) | ES_MULTILINE;
    if (!options_.WordWrap) params.Style |= ES_AUTOHSCROLL;
    if (wantReturns_) params.Style |= ES_WANTRETURN;
    if (options_.ScrollBars == ssVertical || options_.ScrollBars == ssBoth) params.Style |= WS_VSCROLL;
    if (options_.ScrollBars == ssHorizontal || options_.ScrollBars == ssBoth) params.Style |= WS_HSCROLL;
}

void TCustomMemo::KeyPress(WideChar& key) {
    TCustomEdit::KeyPress(key);
    if (key == u'\r' && !wantReturns_) key = 0;
}

void TCustomMemo::WMGetDlgCodeMemo(TMessage& m) {
    m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
    if (wantReturns_) m.Result |= DLGC_WANTALLKEYS;
    if (options_.WantTabs) m.Result |= DLGC_WANTTAB;
}
