// The main window's command state, its menus and the view commands.
#include "ui/Form1.h"

#include "app/CAppOptions.h"
#include "controls/shell/RzShellTree.h"
#include "controls/styled/RzPageControl.h"
#include "controls/unicode/TntActnList.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntMenus.h"
#include "message/MessageAttr.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "ui/MainActions.h"
#include "ui/MainImages.h"

TMessageAttr* TForm1::GetTargetMessage() const { return SingleTarget(m_messages, GetSelectedMessage()); }

void TForm1::ToolbarInit()
{
    SelectionFacts facts;
    facts.scanRunning = ScanRunning;
    if (!facts.scanRunning) {
        for (const TMessageAttr* m : m_messages)
            if (m->checked && ++facts.checked > 1) break;
        facts.selectedRows = static_cast<int>(SelectedRows().size());
        if (facts.selectedRows == 1) facts.selected = GetSelectedMessage();
        facts.shownAsHtml = m_bodyKind == 3;
    }
    const ActionTargets targets = ComputeActionTargets(facts);

    if (auto* entry = Find<TMenuItem>("menuCheckAll"))
        entry->SetAction(Find<TAction>(targets.checked > 0 ? "actionUncheckAll" : "actionCheckAll"));

    auto shown = [&](const char* action) {
        const auto* a = Find<TAction>(action);
        return !a || a->Checked();
    };
    auto showControl = [&](const char* name, bool visible) {
        if (auto* c = Find<TControl>(name)) c->SetVisible(visible);
    };
    showControl("TopBar", shown("actionShowToolbar"));
    showControl("Panel4", shown("actionShowFoldersTree"));
    showControl("Splitter1", shown("actionShowFoldersTree"));
    showControl("Messagelist", shown("actionShowMessagesList"));
    showControl("Splitter2", shown("actionShowMessagesList"));

    for (const ActionState& state : ComputeActionStates(targets, m_messages.empty(), appOptions)) {
        if (auto* action = Find<TAction>(state.name.c_str())) {
            action->SetEnabled(state.enabled);
            action->SetVisible(state.visible);
        }
    }
    // Nothing to add a message to until the favorites pane exists.
    if (!addToFavorites) SetAction("actionAddToFavs", false);

    if (auto* pages = Find<TRzPageControl>("RzPageControl1"); pages && pages->PageCount() > 2) {
        pages->GetPage(1)->SetTabEnabled(!appOptions.hideHEADER);
        pages->GetPage(1)->SetTabVisible(!appOptions.hideHEADER);
        pages->GetPage(2)->SetTabEnabled(!appOptions.hidePROPS);
        pages->GetPage(2)->SetTabVisible(!appOptions.hidePROPS);
    }
    showControl("Label12", !appOptions.hideTZONE);
    if (auto* zone = Find<TControl>("cbTimeZone")) {
        zone->SetVisible(!appOptions.hideTZONE);
        // The zone list only means something while a dated message is shown.
        if (appOptions.hideTZONE) zone->SetEnabled(false);
    }
    if (auto* tree = Find<TControl>("ShellDirList"); tree && tree->Visible()) tree->SetEnabled(!appOptions.hideOF);
}

void TForm1::PruneMainMenu()
{
    auto* menu = Find<TMainMenu>("MainMenu1");
    if (!menu) return;
    TMenuItem* items = menu->Items();
    for (int index : MenusToPrune(appOptions))
        if (index < items->Count()) items->Delete(index);
}

void TForm1::RzPageControl1Change(TObject*)
{
    auto* pages = Find<TRzPageControl>("RzPageControl1");
    if (!pages) return;
    const int page = pages->GetActivePageIndex();
    if (page != 0 && page != 1) return;
    if (auto* body = Find<TAction>("actionViewMessage")) body->SetChecked(page == 0);
    if (auto* header = Find<TAction>("actionViewMessageHeader")) header->SetChecked(page == 1);
}

void TForm1::actionViewMessageExecute(TObject*)
{
    if (auto* pages = Find<TRzPageControl>("RzPageControl1")) pages->SetActivePageIndex(0);
    RzPageControl1Change(nullptr);
}

void TForm1::actionViewMessageHeaderExecute(TObject*)
{
    if (auto* pages = Find<TRzPageControl>("RzPageControl1")) pages->SetActivePageIndex(1);
    RzPageControl1Change(nullptr);
}

void TForm1::actionPlainTextBodyExecute(TObject*)
{
    auto* action = Find<TAction>("actionPlainTextBody");
    if (!action) return;
    action->SetChecked(!action->Checked());
    m_plainTextMode = action->Checked();
    if (TMessageAttr* m = GetSelectedMessage(); m && !m_closing) m->Display(*this, m_plainTextMode, false);
}

namespace {

void FlipPane(TForm1& form, TAction* action, bool& flag)
{
    flag = !flag;
    if (action) action->SetChecked(flag);
    form.ToolbarInit();
}

}  // namespace

void TForm1::actionShowToolbarExecute(TObject*)
{
    FlipPane(*this, Find<TAction>("actionShowToolbar"), appOptions.showToolbar);
}

void TForm1::actionShowFoldersTreeExecute(TObject*)
{
    FlipPane(*this, Find<TAction>("actionShowFoldersTree"), appOptions.showFolders);
}

void TForm1::actionShowMessagesListExecute(TObject*)
{
    FlipPane(*this, Find<TAction>("actionShowMessagesList"), appOptions.showMessageList);
}

void TForm1::actionSelectAllExecute(TObject*)
{
    if (auto* list = List()) list->SelectAll();
    ToolbarInit();
}

void TForm1::SetAllChecked(bool checked)
{
    if (m_messages.empty()) return;
    if (auto* entry = Find<TMenuItem>("menuCheckAll"))
        entry->SetAction(Find<TAction>(checked ? "actionUncheckAll" : "actionCheckAll"));
    for (TMessageAttr* m : m_messages) m->checked = checked;
    if (auto* list = List()) {
        if (list->Columns()->Count() > 0)
            list->Columns()->Items(0)->SetImageIndex(checked ? kImageHeaderChecked : kImageHeaderUnchecked);
        list->InvalidateOwnerDataCache();
        list->Invalidate();
    }
    ToolbarInit();
}

void TForm1::actionCheckAllExecute(TObject*) { SetAllChecked(true); }

void TForm1::actionUncheckAllExecute(TObject*) { SetAllChecked(false); }
