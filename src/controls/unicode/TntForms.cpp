#include "controls/unicode/TntForms.h"


bool IsWideCharAccel(WORD charCode, const WideString& caption) {
    const WideString hotKey = WideGetHotkey(caption);
    return !hotKey.empty() && WideSameText(WideString(1, KeyToWideChar(charCode)), hotKey);
}

// --- TTntForm ---------------------------------------------------------------------------------

const TMetaClass& TTntForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntForm>("TTntForm", &TForm::StaticClass(), [](TClassBuilder<TTntForm>& b) {
        PublishWideCaption(b);
        PublishWideHint(b);
    });
    return meta;
}

// --- TTntApplication --------------------------------------------------------------------------

WideString TTntApplication::GetTitle() const { return Application ? Application->Title() : WideString(); }

void TTntApplication::SetTitle(const WideString& title) {
    if (Application) Application->SetTitle(title);
}

WideString TTntApplication::GetHint() const { return Application ? Application->Hint() : WideString(); }

void TTntApplication::SetHint(const WideString& hint) {
    if (Application) Application->SetHint(hint);
}

WideString TTntApplication::MouseLongHint() const {
    if (!Screen || !Mouse) return {};
    return WideGetLongHint(WideGetHintOfChain(Screen->ControlAtPos(Mouse->CursorPos())));
}

void TTntApplication::UpdateWideHint() {
    const WideString hint = MouseLongHint();
    if (hint == GetHint()) SetHint(hint);
}

TTntApplication* TntApplication() {
    static TTntApplication application(nullptr);
    return &application;
}
