// The base of the program's windows: a form that can be told that the language changed, after
// the texts of the new language were put into its controls, so that it redoes the texts it
// composes at run time (status lines, captions built from data).
#pragma once

#include "controls/unicode/TntForms.h"

class IChangeableLangForm : public TTntForm {
    QUILLORA_COMPONENT(IChangeableLangForm)
public:
    // Built from the form file of the derived class when the application creates it
    // (Application->CreateForm), or without one when created directly ("CreateNew").
    explicit IChangeableLangForm(TComponent* owner) : TTntForm(owner) {}
    ~IChangeableLangForm() override = default;

    virtual void LanguageChanged() = 0;
};
