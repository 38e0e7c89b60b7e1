#include "controls/unicode/TntRichEdit.h"

#include <algorithm>

#include "controls/unicode/TntWideProperties.h"
#include "platform/vcl/Filer.h"
#include "platform/win/WinString.h"

// --- TTntRichEditStrings ----------------------------------------------------------------------

TTntRichEditStrings::TTntRichEditStrings(TTntCustomRichEdit& edit)
    : TTntMemoStrings(edit, *edit.TCustomRichEdit::Lines()), edit_(edit) {}

void TTntRichEditStrings::SetText(const WideString& text) {
    const LRESULT mask = edit_.Perform(EM_GETEVENTMASK, 0, 0);
    edit_.Perform(EM_SETEVENTMASK, 0, mask & ~static_cast<LRESULT>(ENM_CHANGE));
    try {
        TTntMemoStrings::SetText(text);
    } catch (...) {
        edit_.Perform(EM_SETEVENTMASK, 0, edit_.Perform(EM_GETEVENTMASK, 0, 0) | ENM_CHANGE);
        throw;
    }
    edit_.Perform(EM_SETEVENTMASK, 0, edit_.Perform(EM_GETEVENTMASK, 0, 0) | ENM_CHANGE);
}

void TTntRichEditStrings::AddStrings(const TWideStrings& strings) {
    TNotifyEvent saved = std::move(edit_.OnSelectionChange);
    edit_.OnSelectionChange = nullptr;
    try {
        TTntStrings::AddStrings(strings);
    } catch (...) {
        edit_.OnSelectionChange = std::move(saved);
        throw;
    }
    edit_.OnSelectionChange = std::move(saved);
}

void TTntRichEditStrings::LoadFromStreamEx(TStream& stream, bool detectCharSet) {
    if (edit_.PlainText()) TTntStrings::LoadFromStreamEx(stream, detectCharSet);
    else AnsiLines().LoadFromStream(stream);
}

void TTntRichEditStrings::SaveToStreamEx(TStream& stream, bool withBom) const {
    if (edit_.PlainText()) TTntStrings::SaveToStreamEx(stream, withBom);
    else AnsiLines().SaveToStream(stream);
}

// --- TTntCustomRichEdit -----------------------------------------------------------------------

const TMetaClass& TTntCustomRichEdit::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntCustomRichEdit>(
        "TTntCustomRichEdit", &TCustomRichEdit::StaticClass(), [](TClassBuilder<TTntCustomRichEdit>& b) {
            PublishWideHint(b);
            b.ReadOnly("Lines", [](const TTntCustomRichEdit& e) { return static_cast<TTntStrings*>(e.Lines()); });
            b.Property("WantReturns", &TTntCustomRichEdit::WantReturns, &TTntCustomRichEdit::SetWantReturns).Default(true);
        });
    return meta;
}

TTntCustomRichEdit::TTntCustomRichEdit(TComponent* owner)
    : TTntWideControl<TCustomRichEdit>(owner), lines_(std::make_unique<TTntRichEditStrings>(*this)) {}

TTntCustomRichEdit::~TTntCustomRichEdit() { lines_.reset(); }

void TTntCustomRichEdit::SetLines(const TWideStrings* lines) { lines_->Assign(lines); }

void TTntCustomRichEdit::SetText(const WideString& value) {
    if (IsRTFText(value)) {
        // The wide text is read as it is: no character is lost on the way.
        SETTEXTEX how;
        how.flags = ST_DEFAULT;
        how.codepage = 1200;
        Perform(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(value.c_str()));
        return;
    }
    if (value == GetText()) return;
    SetWideControlText(this, WideAdjustLineBreaks(value, GetLineBreakStyle()));
}

WideString TTntCustomRichEdit::GetText() const { return WideAdjustLineBreaks(GetWideControlText(this), LineBreakCRLF); }

WideString TTntCustomRichEdit::GetWideSelText() const { return WideAdjustLineBreaks(SelText(), LineBreakCRLF); }

int TTntCustomRichEdit::ToCrLfPosition(int position) const {
    if (position <= 0) return position;
    return position + LineFromChar(position);
}

int TTntCustomRichEdit::FromCrLfPosition(int position) const {
    if (position <= 0) return position;
    const int count = LineCount();
    for (int line = 0; line < count; ++line) {
        const LONG start = LineIndex(line);
        const LONG length = LineLength(line);
        const LONG crlfStart = start + line;
        // Inside the line, or at its end; inside the CR LF pair: after its CR.
        if (position <= crlfStart + length) return position - line;
        if (position == crlfStart + length + 1) return static_cast<int>(start + length + 1);
    }
    return std::max(0, position - std::max(0, count - 1));
}

int TTntCustomRichEdit::GetSelStart() const { return ToCrLfPosition(SelStart()); }

void TTntCustomRichEdit::SetSelStart(int value) { TCustomRichEdit::SetSelStart(FromCrLfPosition(value)); }

int TTntCustomRichEdit::GetSelLength() const {
    const int start = SelStart();
    return ToCrLfPosition(start + SelLength()) - ToCrLfPosition(start);
}

void TTntCustomRichEdit::SetSelLength(int value) {
    const int start = GetSelStart();
    TCustomRichEdit::SetSelLength(FromCrLfPosition(start + value) - FromCrLfPosition(start));
}

void TTntCustomRichEdit::CreateParams(TCreateParams& params) {
    TCustomRichEdit::CreateParams(params);
    if (WordWrap()) params.Style &= ~WS_HSCROLL;
}

void TTntCustomRichEdit::KeyDown(WORD& key, TShiftState shift) {
    TCustomRichEdit::KeyDown(key, shift);
    if (!wantReturns_ && key == VK_RETURN && !(shift == TShiftState{ssCtrl})) key = 0;
}

const TMetaClass& TTntRichEdit::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntRichEdit>("TTntRichEdit", &TTntCustomRichEdit::StaticClass());
    return meta;
}
