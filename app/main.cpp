// The executable: the run itself is RunApplication; this file chooses the display toolkit.
#include <cstdlib>
#include <string>
#include <vector>

#include "app/startup/Startup.h"
#include "platform/outside/qt/WebBrowserQt.h"
#include "platform/vcl/qt/WidgetSetQt.h"

int main(int argc, char** argv) {
    StartupHooks hooks;
    hooks.installToolkit = [](bool offscreen, bool interactive) {
        // Batch runs without a display draw offscreen (export needs fonts and painting).
        if (offscreen) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        InstallQtWidgetSet();
        if (interactive) InstallWebBrowser();
    };
    return RunApplication(std::vector<std::string>(argv, argv + argc), hooks);
}
