// The layer's form and application: TTntForm (the base of the program's forms, with wide
// Caption and Hint and form files read down from it), TTntApplication (the application's wide
// title and hint) and the hot-key test of the wide controls' accelerators.
#pragma once

#include "controls/unicode/TntControls.h"
#include "platform/vcl/Forms.h"

// True when the character of the key code is the caption's hot key (without case).
bool IsWideCharAccel(WORD charCode, const WideString& caption);

class TTntForm : public TTntWideControl<TForm> {
    QUILLORA_COMPONENT(TTntForm)
public:
    // A form without its form files; InitForm (the application's CreateForm) reads those of
    // the classes below TTntForm. A derived class without one raises EResNotFound
    // "Resource <class> not found"; TTntForm itself needs none.
    explicit TTntForm(TComponent* owner) : TTntWideControl<TForm>(owner) {}

    WideString GetCaption() const { return GetWideControlText(this); }
    void SetCaption(const WideString& caption) { SetWideControlText(this, caption); }
    WideString GetHint() const { return WideGetHint(this); }
    void SetHint(const WideString& hint) { WideSetHint(this, hint); }

protected:
    const TMetaClass& FormFileRoot() const override { return StaticClass(); }
};

// The application's wide title and hint.
class TTntApplication : public TComponent {
public:
    explicit TTntApplication(TComponent* owner) : TComponent(owner) {}
    std::string_view ClassName() const override { return "TTntApplication"; }

    WideString GetTitle() const;
    void SetTitle(const WideString& title);
    WideString GetHint() const;
    void SetHint(const WideString& hint);
    // The long hint of the control under the mouse (its chain's).
    WideString MouseLongHint() const;
    // The application's hint follows the control under the mouse when nothing else set it.
    void UpdateWideHint();
};

// The layer's application object (made on first use).
TTntApplication* TntApplication();
