// The Unicode standard controls: edit, memo, label, push button, check box, radio button and
// group box, with wide Caption, Text and Hint. The class library's controls hold UTF-16 text,
// answer accelerators (CM_DIALOGCHAR) and draw their captions themselves; the wide classes add
// the operations the program calls and the wide lines of the memo. Each "custom" class stands
// on the platform's published class, so that form files find its properties.
#pragma once

#include "controls/unicode/TntClasses.h"
#include "controls/unicode/TntControls.h"
#include "platform/vcl/StdCtrls.h"

// The wide lines of a memo or rich edit over the control's own (UTF-8) line list.
class TTntMemoStrings : public TTntStrings {
public:
    TTntMemoStrings(TWinControl& control, TStrings& lines) : control_(control), lines_(lines) {}
    std::string_view ClassName() const override { return "TTntMemoStrings"; }

    WideString Get(int index) const override { return Utf8ToUtf16(lines_.Get(index)); }
    int GetCount() const override { return lines_.GetCount(); }
    void Clear() override { lines_.Clear(); }
    void Delete(int index) override { lines_.Delete(index); }
    // A line past the last is appended after it, whatever the last line holds.
    void Insert(int index, const WideString& text) override { lines_.Insert(index, Utf16ToUtf8(text)); }
    void Put(int index, const WideString& text) override { lines_.Put(index, Utf16ToUtf8(text)); }
    // The whole text of the control, its breaks as CR LF.
    WideString GetTextStr() const { return GetWideControlText(&control_); }
    void SetText(const WideString& text) override;

protected:
    void SetUpdateState(bool updating) override {
        if (updating) lines_.BeginUpdate();
        else lines_.EndUpdate();
    }
    TWinControl& Control() const { return control_; }
    TStrings& AnsiLines() const { return lines_; }

private:
    TWinControl& control_;
    TStrings& lines_;
};

class TTntCustomEdit : public TTntWideControl<TEdit> {
    QUILLORA_COMPONENT(TTntCustomEdit)
public:
    using TTntWideControl<TEdit>::TTntWideControl;
    int GetWideSelStart() const { return SelStart(); }
    void SetWideSelStart(int v) { SetSelStart(v); }
    int GetWideSelLength() const { return SelLength(); }
    void SetWideSelLength(int v) { SetSelLength(v); }
    WideString GetWideSelText() const { return SelText(); }
};

class TTntEdit : public TTntCustomEdit {
    QUILLORA_COMPONENT(TTntEdit)
public:
    using TTntCustomEdit::TTntCustomEdit;
    WideString GetText() const { return GetWideControlText(this); }
    void SetText(const WideString& text) { SetWideControlText(this, text); }
    WideChar GetPasswordChar() const { return PasswordChar(); }
    void SetPasswordChar(WideChar c) { TEdit::SetPasswordChar(c); }
};

class TTntCustomMemo : public TTntWideControl<TMemo> {
    QUILLORA_COMPONENT(TTntCustomMemo)
public:
    explicit TTntCustomMemo(TComponent* owner);
    ~TTntCustomMemo() override;
    TTntMemoStrings* Lines() const { return lines_.get(); }
    void SetLines(const TWideStrings* lines) { lines_->Assign(lines); }
    WideString GetText() const { return GetWideControlText(this); }
    void SetText(const WideString& text) { SetWideControlText(this, text); }
    int GetWideSelStart() const { return SelStart(); }
    void SetWideSelStart(int v) { SetSelStart(v); }
    int GetWideSelLength() const { return SelLength(); }
    void SetWideSelLength(int v) { SetSelLength(v); }

private:
    std::unique_ptr<TTntMemoStrings> lines_;
};

class TTntMemo : public TTntCustomMemo {
    QUILLORA_COMPONENT(TTntMemo)
public:
    using TTntCustomMemo::TTntCustomMemo;
};

class TTntCustomLabel : public TTntWideControl<TLabel> {
    QUILLORA_COMPONENT(TTntCustomLabel)
public:
    using TTntWideControl<TLabel>::TTntWideControl;
};

class TTntLabel : public TTntCustomLabel {
    QUILLORA_COMPONENT(TTntLabel)
public:
    using TTntCustomLabel::TTntCustomLabel;
    WideString GetCaption() const { return GetWideControlText(this); }
    void SetCaption(const WideString& caption) { SetWideControlText(this, caption); }
};

class TTntButton : public TTntWideControl<TButton> {
    QUILLORA_COMPONENT(TTntButton)
public:
    using TTntWideControl<TButton>::TTntWideControl;
};

class TTntCustomCheckBox : public TTntWideControl<TCheckBox> {
    QUILLORA_COMPONENT(TTntCustomCheckBox)
public:
    using TTntWideControl<TCheckBox>::TTntWideControl;
};

class TTntCheckBox : public TTntCustomCheckBox {
    QUILLORA_COMPONENT(TTntCheckBox)
public:
    using TTntCustomCheckBox::TTntCustomCheckBox;
};

class TTntRadioButton : public TTntWideControl<TRadioButton> {
    QUILLORA_COMPONENT(TTntRadioButton)
public:
    using TTntWideControl<TRadioButton>::TTntWideControl;
};

class TTntCustomGroupBox : public TTntWideControl<TGroupBox> {
    QUILLORA_COMPONENT(TTntCustomGroupBox)
public:
    using TTntWideControl<TGroupBox>::TTntWideControl;
};

class TTntGroupBox : public TTntCustomGroupBox {
    QUILLORA_COMPONENT(TTntGroupBox)
public:
    using TTntCustomGroupBox::TTntCustomGroupBox;
};
