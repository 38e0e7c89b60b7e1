#include "controls/unicode/TntActnList.h"

#include "platform/vcl/ListView.h"

namespace {

const TCustomAction* AsCustom(const TBasicAction* action) { return dynamic_cast<const TCustomAction*>(action); }

template <class L, class C>
std::unique_ptr<TControlActionLink> MakeWideLink(TControl* client) {
    return std::make_unique<L>(static_cast<C*>(client));
}

// A custom action's own Assign, then its texts from the source.
void AssignAction(TCustomAction& target, const TPersistent* source) {
    const auto* action = dynamic_cast<const TCustomAction*>(source);
    if (!action && !dynamic_cast<const TControl*>(source)) {
        target.TCustomAction::Assign(source);
        return;
    }
    if (action) {
        target.SetChecked(action->Checked());
        target.SetEnabled(action->Enabled());
        target.SetVisible(action->Visible());
        target.SetImageIndex(action->ImageIndex());
        target.SetShortCut(action->ShortCut());
    }
    CopyActionTexts(&target, source);
}

}  // namespace

WideString GetWideActionCaption(const TBasicAction* action) {
    const TCustomAction* a = AsCustom(action);
    return a ? a->Caption() : WideString();
}

void SetWideActionCaption(TBasicAction* action, const WideString& caption) {
    if (auto* a = dynamic_cast<TCustomAction*>(action)) a->SetCaption(caption);
}

WideString GetWideActionHint(const TBasicAction* action) {
    const TCustomAction* a = AsCustom(action);
    return a ? a->Hint() : WideString();
}

void SetWideActionHint(TBasicAction* action, const WideString& hint) {
    if (auto* a = dynamic_cast<TCustomAction*>(action)) a->SetHint(hint);
}

WideString WideActionCaptionForClient(const TBasicAction*, const WideString& caption) { return caption; }

WideString WideActionHintForClient(const TBasicAction*, const WideString& hint) { return hint; }

void CopyActionTexts(TCustomAction* target, const TPersistent* source) {
    if (!target) return;
    if (const auto* action = dynamic_cast<const TCustomAction*>(source)) {
        target->SetCaption(action->Caption());
        target->SetHint(action->Hint());
    } else if (const auto* control = dynamic_cast<const TControl*>(source)) {
        target->SetCaption(GetWideControlText(control));
        target->SetHint(WideGetHint(control));
    }
}

void CopyWideActionTexts(TControl* control, const TObject* action, bool checkDefaults) {
    const auto* a = dynamic_cast<const TCustomAction*>(action);
    if (!control || !a) return;
    const WideString text = GetWideControlText(control);
    if (!checkDefaults || text.empty() || text == Utf8ToUtf16(control->Name())) SetWideControlText(control, a->Caption());
    if (!checkDefaults || WideGetHint(control).empty()) WideSetHint(control, a->Hint());
}

TControlActionLinkClass GetWideActionLinkClass(const TControl* control) {
    if (dynamic_cast<const TCustomListView*>(control)) return &MakeWideLink<TTntListViewActionLink, TWinControl>;
    if (dynamic_cast<const TToolButton*>(control)) return &MakeWideLink<TTntToolButtonActionLink, TToolButton>;
    if (dynamic_cast<const TButtonControl*>(control)) return &MakeWideLink<TTntButtonActionLink, TButtonControl>;
    if (dynamic_cast<const TWinControl*>(control)) return &MakeWideLink<TTntWinControlActionLink, TWinControl>;
    return &MakeWideLink<TTntControlActionLink, TControl>;
}

const TMetaClass& TTntActionList::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntActionList>("TTntActionList", &TActionList::StaticClass());
    return meta;
}

const TMetaClass& TTntAction::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntAction>("TTntAction", &TAction::StaticClass());
    return meta;
}

void TTntAction::Assign(const TPersistent* source) { AssignAction(*this, source); }

const TMetaClass& TTntHintAction::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TTntHintAction>("TTntHintAction", &THintAction::StaticClass());
    return meta;
}

void TTntHintAction::Assign(const TPersistent* source) { AssignAction(*this, source); }
