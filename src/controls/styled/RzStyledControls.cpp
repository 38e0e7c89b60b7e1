#include "controls/styled/RzStyledControls.h"

#include "controls/styled/RzBitBtn.h"
#include "controls/styled/RzButton.h"
#include "controls/styled/RzCalendar.h"
#include "controls/styled/RzComboBox.h"
#include "controls/styled/RzDateTimeEdit.h"
#include "controls/styled/RzEdit.h"
#include "controls/styled/RzPanel.h"
#include "controls/styled/RzPopup.h"
#include "controls/styled/RzRadChk.h"
#include "controls/styled/RzSpinner.h"
#include "controls/styled/RzStatusBar.h"
#include "controls/styled/RzTimePicker.h"
#include "controls/styled/RzToolbar.h"

void RegisterStyledControls() {
    RegisterStyledButtons();
    RegisterStyledBitButtons();
    RegisterStyledCheckBoxes();
    RegisterStyledSpinner();
    RegisterStyledPanels();
    RegisterStyledEdits();
    RegisterStyledCombos();
    RegisterStyledStatusBar();
    RegisterStyledPopups();
    RegisterStyledCalendar();
    RegisterStyledDateTimeEdit();
    RegisterStyledTimePicker();
    RegisterStyledToolbars();
}
