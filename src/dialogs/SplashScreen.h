// The borderless picture shown while the program starts.
#pragma once

#include <memory>

#include "platform/vcl/Forms.h"

class TSplashScreen : public TForm {
    QUILLORA_COMPONENT(TSplashScreen)
public:
    explicit TSplashScreen(TComponent* owner);
};

// A splash screen built from its form file (registering what it needs), for the start-up to
// show and free.
std::unique_ptr<TCustomForm> CreateSplashScreen();
