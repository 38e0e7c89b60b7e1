#include "controls/unicode/TntStatusBar.h"

#include "controls/unicode/TntWideProperties.h"

namespace {

std::size_t LeadingTabs(const WideString& text) {
    std::size_t n = 0;
    while (n < text.size() && text[n] == u'\t') ++n;
    return n;
}

}  // namespace

WideString MatchLeadingTabs(const WideString& wide, const WideString& other) {
    const std::size_t want = LeadingTabs(other);
    const std::size_t have = LeadingTabs(wide);
    if (have < want) return WideString(want - have, u'\t') + wide;
    return wide.substr(have - want);
}

const TMetaClass& TTntStatusPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntStatusPanel>(
        "TTntStatusPanel", &TStatusPanel::StaticClass(), [](TClassBuilder<TTntStatusPanel>& b) {
            b.Property("Text", &TTntStatusPanel::Text, &TTntStatusPanel::SetText).NoDefault();
        });
    return meta;
}

void TTntStatusPanel::DefineProperties(TFiler* filer) {
    TStatusPanel::DefineProperties(filer);
    DefineWideProperties(filer, this);
}

TTntStatusPanels::TTntStatusPanels(TCustomStatusBar* owner)
    : TStatusPanels(owner, [](TCollection* c) { return std::make_unique<TTntStatusPanel>(c); }) {
    TTntStatusPanel::StaticClass();
}

TTntStatusPanel* TTntStatusPanels::GetItem(int index) const {
    auto* panel = dynamic_cast<TTntStatusPanel*>(Items(index));
    if (!panel) throw EInvalidCast(u"Invalid class typecast");
    return panel;
}

TTntStatusPanel* TTntStatusPanels::Add() { return static_cast<TTntStatusPanel*>(TStatusPanels::Add()); }

const TMetaClass& TTntCustomStatusBar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntCustomStatusBar>(
        "TTntCustomStatusBar", &TCustomStatusBar::StaticClass(),
        [](TClassBuilder<TTntCustomStatusBar>& b) {
            PublishWideHint(b);
            b.Property("AutoHint", &TTntCustomStatusBar::AutoHint, &TTntCustomStatusBar::SetAutoHint).Default(false);
            b.Event("OnHint", &TTntCustomStatusBar::OnHint);
        });
    return meta;
}

TTntCustomStatusBar::TTntCustomStatusBar(TComponent* owner) : TTntWideControl<TCustomStatusBar>(owner) {
    SetPanelsCollection(std::make_unique<TTntStatusPanels>(this));
}

bool TTntCustomStatusBar::ExecuteAction(TBasicAction* action) {
    const auto* hint = dynamic_cast<const TCustomHintAction*>(action);
    if (!autoHint_ || !hint) return false;
    if (OnHint) {
        OnHint(this);
        return true;
    }
    if (!SimplePanel() && Panels()->Count() > 0) Panels()->Items(0)->SetText(hint->Hint());
    else SetSimpleText(hint->Hint());
    return true;
}

void TTntCustomStatusBar::WndProc(TMessage& message) {
    if (message.Msg == WM_GETTEXTLENGTH) {
        message.Result = static_cast<LRESULT>(SimpleText().size());
        return;
    }
    TTntWideControl<TCustomStatusBar>::WndProc(message);
}

const TMetaClass& TTntStatusBar::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntStatusBar>("TTntStatusBar", &TTntCustomStatusBar::StaticClass());
    return meta;
}

TTntStatusPanels* TTntStatusBar::GetPanels() const {
    auto* panels = dynamic_cast<TTntStatusPanels*>(Panels());
    if (!panels) throw EInvalidCast(u"Invalid class typecast");
    return panels;
}
