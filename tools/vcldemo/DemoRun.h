// How every demonstration form runs: made by the application from its form file and filled;
// without a picture path it runs until closed, with one it is shown, settled, saved and ended.
#pragma once

#include <cstdio>
#include <exception>
#include <functional>

#include "platform/vcl/Forms.h"

// Saves the form's window as a picture; false (and a message) when it cannot be written.
bool SaveFormPicture(TCustomForm& form, const char* path);

// Shows a form built in code: without a picture path until it is closed, with one until it
// has settled, then saves it. The exit status of the demo run.
int ShowDemoForm(TCustomForm& form, const char* screenshot);

// The exit status of a demo run.
template <class F>
int RunDemoForm(const char* screenshot, const std::function<void(F&)>& fill = {},
                const std::function<void(F&)>& settle = {}) {
    F* form = nullptr;
    try {
        Application->CreateForm(form);
        if (fill) fill(*form);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vcldemo: %s\n", e.what());
        return 1;
    }
    if (!screenshot) {
        Application->Run();
        DoneApplication();
        return 0;
    }
    form->Show();
    if (settle) settle(*form);
    Application->ProcessMessages();
    const bool saved = SaveFormPicture(*form, screenshot);
    DoneApplication();
    return saved ? 0 : 1;
}
