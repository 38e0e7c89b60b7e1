#include "controls/styled/RzStyledControls.h"

#include "controls/styled/RzBitBtn.h"
#include "controls/styled/RzButton.h"
#include "controls/styled/RzEdit.h"
#include "controls/styled/RzPanel.h"
#include "controls/styled/RzRadChk.h"
#include "controls/styled/RzSpinner.h"

void RegisterStyledControls() {
    RegisterStyledButtons();
    RegisterStyledBitButtons();
    RegisterStyledCheckBoxes();
    RegisterStyledSpinner();
    RegisterStyledPanels();
    RegisterStyledEdits();
}
