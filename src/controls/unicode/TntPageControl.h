// The Unicode page control and tab sheet: wide captions, tab accelerators (Alt and the
// underlined letter of a tab caption), and a control docked as a page of its own.
#pragma once

#include "controls/unicode/TntControls.h"
#include "platform/vcl/PageControl.h"

class TTntTabSheet : public TTntWideControl<TTabSheet> {
    QUILLORA_COMPONENT(TTntTabSheet)
public:
    using TTntWideControl<TTabSheet>::TTntWideControl;
    WideString GetCaption() const { return GetWideControlText(this); }
    void SetCaption(const WideString& caption) { SetWideControlText(this, caption); }
};

class TTntPageControl : public TTntWideControl<TPageControl> {
    QUILLORA_COMPONENT(TTntPageControl)
    QUILLORA_MESSAGES()
public:
    using TTntWideControl<TPageControl>::TTntWideControl;
    // Puts client on a new page of its own, captioned with the first line of its text; the
    // page shows when the client is visible.
    TTntTabSheet* DockClient(TControl* client);

protected:
    void CMDialogChar(TMessage& message);
};
