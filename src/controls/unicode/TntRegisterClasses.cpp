#include "controls/unicode/TntRegisterClasses.h"

#include "controls/unicode/TntActnList.h"
#include "controls/unicode/TntForms.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntMenus.h"
#include "controls/unicode/TntPageControl.h"
#include "controls/unicode/TntRichEdit.h"
#include "controls/unicode/TntStatusBar.h"
#include "controls/unicode/TntStdCtrls.h"
#include "controls/unicode/TntTreeView.h"

void RegisterTntClasses() {
    RegisterClasses({
        &TTntForm::StaticClass(), &TTntEdit::StaticClass(), &TTntMemo::StaticClass(), &TTntLabel::StaticClass(),
        &TTntButton::StaticClass(), &TTntCheckBox::StaticClass(), &TTntRadioButton::StaticClass(),
        &TTntGroupBox::StaticClass(), &TTntListView::StaticClass(), &TTntTreeView::StaticClass(),
        &TTntRichEdit::StaticClass(), &TTntStatusBar::StaticClass(), &TTntPageControl::StaticClass(),
        &TTntTabSheet::StaticClass(), &TTntMenuItem::StaticClass(), &TTntPopupMenu::StaticClass(),
        &TTntMainMenu::StaticClass(), &TTntActionList::StaticClass(), &TTntAction::StaticClass(),
        &TTntHintAction::StaticClass(),
    });
}
