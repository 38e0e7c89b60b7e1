// Unicode actions and their links. The class library's actions hold UTF-16 captions and hints
// and their links hand them to the clients as they are, so the wide actions need no helper
// object keeping a wide shadow; the wide classes, the text functions the program calls and a
// link class per kind of client remain.
#pragma once

#include "controls/unicode/TntControls.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBar.h"

// The wide texts of any action (empty for an action without a caption or hint).
WideString GetWideActionCaption(const TBasicAction* action);
void SetWideActionCaption(TBasicAction* action, const WideString& caption);
WideString GetWideActionHint(const TBasicAction* action);
void SetWideActionHint(TBasicAction* action, const WideString& hint);
// The text a link hands its client for the action's change.
WideString WideActionCaptionForClient(const TBasicAction* action, const WideString& caption);
WideString WideActionHintForClient(const TBasicAction* action, const WideString& hint);
// Caption and hint of a custom action or a control into the action.
void CopyActionTexts(TCustomAction* target, const TPersistent* source);
// The action's caption and hint into the control: with checkDefaults only into an empty caption
// (or one that is the control's name) and an empty hint.
void CopyWideActionTexts(TControl* control, const TObject* action, bool checkDefaults);
// The wide link class for a control: list view, tool button, button, windowed control, control.
TControlActionLinkClass GetWideActionLinkClass(const TControl* control);

class TTntControlActionLink : public TControlActionLink {
public:
    using TControlActionLink::TControlActionLink;
    std::string_view ClassName() const override { return "TTntControlActionLink"; }
};

class TTntWinControlActionLink : public TWinControlActionLink {
public:
    using TWinControlActionLink::TWinControlActionLink;
    std::string_view ClassName() const override { return "TTntWinControlActionLink"; }
};

class TTntButtonActionLink : public TButtonActionLink {
public:
    using TButtonActionLink::TButtonActionLink;
    std::string_view ClassName() const override { return "TTntButtonActionLink"; }
};

class TTntListViewActionLink : public TWinControlActionLink {
public:
    using TWinControlActionLink::TWinControlActionLink;
    std::string_view ClassName() const override { return "TTntListViewActionLink"; }
};

class TTntToolButtonActionLink : public TToolButtonActionLink {
public:
    using TToolButtonActionLink::TToolButtonActionLink;
    std::string_view ClassName() const override { return "TTntToolButtonActionLink"; }
};

class TTntMenuActionLink : public TMenuActionLink {
public:
    using TMenuActionLink::TMenuActionLink;
    std::string_view ClassName() const override { return "TTntMenuActionLink"; }
};

class TTntActionList : public TActionList {
    QUILLORA_COMPONENT(TTntActionList)
public:
    using TActionList::TActionList;
};

class TTntAction : public TAction {
    QUILLORA_COMPONENT(TTntAction)
public:
    using TAction::TAction;
    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler* filer) override { DefineWideProperties(filer, this); }
};

class TTntHintAction : public THintAction {
    QUILLORA_COMPONENT(TTntHintAction)
public:
    using THintAction::THintAction;
    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler* filer) override { DefineWideProperties(filer, this); }
};
