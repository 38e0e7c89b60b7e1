// The Unicode page control and tab sheet: wide captions, tab accelerators (Alt and the
// underlined letter of a tab caption), and a control docked as a page of its own.
#pragma once

#include "controls/unicode/TntControls.h"
#include "platform/vcl/PageControl.h"

class TTntTabSheet : public TTabSheet {
    QUILLORA_COMPONENT(TTntTabSheet)
public:
    using TTabSheet::TTabSheet;
    WideString GetCaption() const { return GetWideControlText(this); }
    void SetCaption(const WideString& caption) { SetWideControlText(this, caption); }
    void DefineProperties(TFiler* filer) override;

protected:
    void WndProc(TMessage& message) override;
};

class TTntPageControl : public TPageControl {
    QUILLORA_COMPONENT(TTntPageControl)
    QUILLORA_MESSAGES()
public:
    using TPageControl::TPageControl;
    void DefineProperties(TFiler* filer) override;
    // Puts client on a new page of its own, captioned with the first line of its text; the
    // page shows when the client is visible.
    TTntTabSheet* DockClient(TControl* client);

protected:
    void WndProc(TMessage& message) override;
    void CMDialogChar(TMessage& message);
};
