// The executable: the run itself is RunApplication; this file chooses the display toolkit and
// supplies what the run creates (forms) and runs (the command-line export).
#include <cstdlib>
#include <string>
#include <vector>

#include "app/startup/Startup.h"
#include "dialogs/SplashScreen.h"
#include "output/export/CmdLineExport.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/outside/qt/WebBrowserQt.h"
#include "platform/shell/qt/OpenWithPortalQt.h"
#include "platform/shell/qt/ShellIconsQt.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "ui/Form1.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    StartupHooks hooks;
    hooks.installToolkit = [](bool offscreen, bool interactive) {
        // Batch runs without a display draw offscreen (export needs fonts and painting).
        if (offscreen) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        InstallQtWidgetSet(ExitDisplayUnreachable);
        InstallQtShellIcons();
        if (interactive) {
            InstallWebBrowser();
            InstallOpenWithPortal();
        }
    };
    hooks.createForms = CreateMainForms;
    hooks.createSplash = CreateSplashScreen;
    hooks.cmdLineExport = [&args](const WideString&) {
        // The export reads its fields from the arguments themselves.
        const int status = cmdLineExport(args, CreateHtmlConverter());
        // The run's temporary folder goes with it, as when the window closes.
        if (Form1) Form1->CleanUpTempFolder();
        return status;
    };
    return RunApplication(args, hooks);
}
