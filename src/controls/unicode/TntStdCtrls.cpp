#include "controls/unicode/TntStdCtrls.h"

#include "controls/unicode/TntSysUtils.h"

void TTntMemoStrings::SetText(const WideString& text) {
    const WideString adjusted = WideAdjustLineBreaks(text, LineBreakCRLF);
    if (adjusted == GetTextStr()) return;
    SetWideControlText(&control_, adjusted);
}

namespace {

// A wide class over a platform class: its wide Caption (or Text) and Hint.
template <class C>
const TMetaClass& DescribeWide(const char* name, const TMetaClass& parent, const char* caption = "Caption") {
    return DescribeClass<C>(name, &parent, [caption](TClassBuilder<C>& b) {
        if (caption) PublishWideCaption(b, caption);
        PublishWideHint(b);
    });
}

}  // namespace

const TMetaClass& TTntCustomEdit::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntCustomEdit>("TTntCustomEdit", TEdit::StaticClass(), nullptr);
    return meta;
}

const TMetaClass& TTntEdit::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntEdit>("TTntEdit", TTntCustomEdit::StaticClass(), "Text");
    return meta;
}

const TMetaClass& TTntCustomMemo::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntCustomMemo>(
        "TTntCustomMemo", &TMemo::StaticClass(), [](TClassBuilder<TTntCustomMemo>& b) {
            PublishWideHint(b);
            b.ReadOnly("Lines", [](const TTntCustomMemo& m) { return static_cast<TTntStrings*>(m.Lines()); });
        });
    return meta;
}

TTntCustomMemo::TTntCustomMemo(TComponent* owner)
    : TTntWideControl<TMemo>(owner), lines_(std::make_unique<TTntMemoStrings>(*this, *TMemo::Lines())) {}

TTntCustomMemo::~TTntCustomMemo() { lines_.reset(); }

const TMetaClass& TTntMemo::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntMemo>("TTntMemo", &TTntCustomMemo::StaticClass());
    return meta;
}

const TMetaClass& TTntCustomLabel::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntCustomLabel>("TTntCustomLabel", TLabel::StaticClass(), nullptr);
    return meta;
}

const TMetaClass& TTntLabel::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntLabel>("TTntLabel", TTntCustomLabel::StaticClass());
    return meta;
}

const TMetaClass& TTntButton::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntButton>("TTntButton", TButton::StaticClass());
    return meta;
}

const TMetaClass& TTntCustomCheckBox::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntCustomCheckBox>("TTntCustomCheckBox", TCheckBox::StaticClass(), nullptr);
    return meta;
}

const TMetaClass& TTntCheckBox::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntCheckBox>("TTntCheckBox", TTntCustomCheckBox::StaticClass());
    return meta;
}

const TMetaClass& TTntRadioButton::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntRadioButton>("TTntRadioButton", TRadioButton::StaticClass());
    return meta;
}

const TMetaClass& TTntCustomGroupBox::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntCustomGroupBox>("TTntCustomGroupBox", TGroupBox::StaticClass(), nullptr);
    return meta;
}

const TMetaClass& TTntGroupBox::StaticClass() {
    static const TMetaClass& meta = DescribeWide<TTntGroupBox>("TTntGroupBox", TTntCustomGroupBox::StaticClass());
    return meta;
}
