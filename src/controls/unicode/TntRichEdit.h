// The Unicode rich edit: TTntRichEdit over the class library's rich edit. Text is read as
// RTF when it starts with the RTF signature (in either case), and every text and position the
// control hands out counts a line break as CR LF, while the document holds one character per
// break; the lines are a wide string list.
#pragma once

#include "controls/unicode/TntClasses.h"
#include "controls/unicode/TntControls.h"
#include "controls/unicode/TntStdCtrls.h"
#include "controls/unicode/TntSysUtils.h"
#include "platform/vcl/richedit/RichEdit.h"

class TTntCustomRichEdit;

// The wide lines of a rich edit: the document's hard lines.
class TTntRichEditStrings : public TTntMemoStrings {
public:
    explicit TTntRichEditStrings(TTntCustomRichEdit& edit);
    std::string_view ClassName() const override { return "TTntRichEditStrings"; }

    // The whole text, with the control's change notifications off meanwhile.
    void SetText(const WideString& text) override;
    // Adds the lines without selection-change events.
    void AddStrings(const TWideStrings& strings);
    // Plain text through the wide list's own reading and writing; otherwise RTF.
    void LoadFromStreamEx(TStream& stream, bool detectCharSet) override;
    void SaveToStreamEx(TStream& stream, bool withBom) const override;

private:
    TTntCustomRichEdit& edit_;
};

class TTntCustomRichEdit : public TTntWideControl<TCustomRichEdit> {
    QUILLORA_COMPONENT(TTntCustomRichEdit)
public:
    explicit TTntCustomRichEdit(TComponent* owner);
    ~TTntCustomRichEdit() override;

    TTntRichEditStrings* Lines() const { return lines_.get(); }
    void SetLines(const TWideStrings* lines);

    // RTF (by IsRTFText) is read as RTF, other text set as it is; an equal text changes nothing.
    void SetText(const WideString& value);
    // The text with CR LF line breaks.
    WideString GetText() const;
    WideString GetWideSelText() const;
    // Positions and lengths count a line break as two characters.
    int GetSelStart() const;
    void SetSelStart(int value);
    int GetSelLength() const;
    void SetSelLength(int value);
    // Between document positions (one character a break) and CR LF positions.
    int ToCrLfPosition(int position) const;
    int FromCrLfPosition(int position) const;
    // The document keeps one character a line break.
    TTntTextLineBreakStyle GetLineBreakStyle() const { return LineBreakCR; }

    // Enter adds a line; without it Enter reaches the form (its default button), Ctrl+Enter
    // still adds one.
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v) { wantReturns_ = v; }

protected:
    void CreateParams(TCreateParams& params) override;
    void KeyDown(WORD& key, TShiftState shift) override;

private:
    std::unique_ptr<TTntRichEditStrings> lines_;
    bool wantReturns_ = true;
};

class TTntRichEdit : public TTntCustomRichEdit {
    QUILLORA_COMPONENT(TTntRichEdit)
public:
    using TTntCustomRichEdit::TTntCustomRichEdit;
};

// The rich-edit library is part of the class library, and no input-method manager is needed.
inline bool IsRichEdit20Available() { return true; }
inline bool IsActiveIMMAvailable() { return false; }
