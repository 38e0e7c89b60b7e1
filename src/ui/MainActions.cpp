#include "ui/MainActions.h"

#include "app/CAppOptions.h"
#include "message/MessageAttr.h"

namespace {

bool Blank(const WideString& text)
{
    for (char16_t c : text)
        if (c > u' ') return false;
    return true;
}

}  // namespace

ActionTargets ComputeActionTargets(const SelectionFacts& facts)
{
    ActionTargets t;
    if (facts.scanRunning) return t;
    t.checked = facts.checked > 2 ? 2 : facts.checked;
    // Reply and forward answer the row the user sees, whatever is checked.
    t.answerable = facts.selectedRows == 1 && facts.selected;
    if (t.checked >= 2) {
        t.targets = t.headerTargets = true;
    } else if (t.checked == 1) {
        t.targets = t.headerTargets = t.singleHeader = t.singleBody = true;
    } else if (facts.selectedRows == 1) {
        if (const TMessageAttr* m = facts.selected) {
            if (!(m->from + m->to + m->cc + m->subject).empty()) t.headerTargets = t.singleHeader = true;
            if (facts.shownAsHtml || !Blank(m->htmlBody) || !Blank(m->plainBody) || t.headerTargets)
                t.targets = t.singleBody = true;
        }
    } else if (facts.selectedRows > 1) {
        t.targets = t.headerTargets = true;
    }
    return t;
}

std::vector<ActionState> ComputeActionStates(const ActionTargets& t, bool listEmpty, const CAppOptions& o)
{
    std::vector<ActionState> states;
    // A hidden part is neither shown nor usable; a shown one is usable when its condition holds.
    auto add = [&](const char* name, bool hidden, bool condition = true) {
        states.push_back({name, condition && !hidden, !hidden});
    };
    // A "+DIR" run lists its folder only: Open stays off for the whole run.
    add("actionOpenFile", o.hideOF, o.startDir.empty());
    add("actionRefreshList", o.hideOF);
    add("actionSaveBody", o.hideSM, t.singleBody);
    add("actionSaveHeader", o.hideSH, t.singleHeader);
    add("actionExport", o.hideX, t.targets);
    add("actionExportCsv", o.hideCSV, !listEmpty);
    add("actionCopyTo", o.hideSM, t.targets);
    add("actionExit", o.hideC);
    for (const char* name : {"actionSelectAll", "actionCheckAll", "actionUncheckAll", "actionFontSelect"}) add(name, o.hideE);
    add("actionCopyMessage", o.hideE, t.singleBody);
    add("actionCopyMessageHeader", o.hideE, t.singleHeader);
    add("actionAddToFavs", o.hideFAVS, t.singleBody);
    add("actionOpenAttachment", o.hideATTOPEN);
    add("actionSaveAttachment", o.hideATTSAVE);
    add("actionPrintMessage", o.hidePM, t.targets);
    add("actionPrintHeader", o.hidePH, t.headerTargets);
    add("actionReply", o.hideR, t.answerable);
    add("actionForward", o.hideF, t.answerable);
    add("actionSearch", o.hideS);
    add("actionSettingsDlg", o.hideAPP);
    add("actionViewMessage", o.hideHEADER);
    add("actionViewMessageHeader", o.hideHEADER);
    for (const char* name : {"actionShowFoldersTree", "actionShowMessagesList", "actionShowToolbar"}) add(name, o.hidePANELS);
    add("actionDelete", o.hideDEL, t.targets);
    return states;
}

std::vector<int> MenusToPrune(const CAppOptions& o)
{
    std::vector<int> menus;
    if (o.hideAPP) menus.push_back(4);
    if (o.hidePM && o.hidePH && o.hideFAVS && o.hideR && o.hideF && o.hideATTOPEN && o.hideATTSAVE) menus.push_back(3);
    if (o.hideE) menus.push_back(2);
    return menus;
}

TMessageAttr* SingleTarget(const MessageAttrDeque& messages, TMessageAttr* selected)
{
    TMessageAttr* only = nullptr;
    for (TMessageAttr* m : messages) {
        if (!m->checked) continue;
        if (only) return nullptr;
        only = m;
    }
    return only ? only : selected;
}
