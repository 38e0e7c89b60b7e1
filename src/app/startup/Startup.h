// The program's run from start to exit: the trace-log question, the support library, the
// options, the two batch runs that end early ("/SETUP", "+EXPORT"), the forms and their
// translation, the message loop and the closing steps. app/main.cpp calls RunApplication; tests
// call it in-process with their own hooks.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

class CAppOptions;
class TCustomForm;

// Exit statuses of the program. A command-line export returns the export's own status.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;      // what the run was asked to do could not be done
inline constexpr int kExitNoDisplay = 2;   // a run that shows windows found no display
inline constexpr int kExitNoMainWindow = 3;  // this build has no main window to show

// How the run goes, from the switches and whether a display exists.
enum class RunMode {
    Interactive,  // the main window and the message loop
    Setup,        // "/SETUP": settings and associations written, no window
    Export,       // "+EXPORT...": forms created, never shown; the export runs
    Template,     // "+EXPTEXT": the template is written, nothing shown
};

struct RunPlan {
    RunMode mode = RunMode::Interactive;
    bool toolkit = true;     // the display toolkit is installed (no windows at all otherwise)
    bool offscreen = false;  // ... on the offscreen platform, since there is no display
    bool prompts = true;     // questions may be asked (the debug-log question)
    bool refused = false;    // an interactive run without a display: said so, status 2
};
RunPlan PlanRun(const CAppOptions& switches, bool hasDisplay);

// Whether the environment names a display (DISPLAY or WAYLAND_DISPLAY, or a toolkit platform
// other than the offscreen ones).
bool EnvironmentHasDisplay();

// Ends the process with kExitNoDisplay and a clear line on standard error: the toolkit could
// not start on the display the environment names (it is gone or refuses us). The toolkit's
// own reason follows.
[[noreturn]] void ExitDisplayUnreachable(const char* reason);

// "YY.MM.DD_HH.MM.SS" of a local time.
WideString LogStamp(const SYSTEMTIME& time);
// The trace-log file: folder + "quillorapro_<pid>_<stamp>.log". The folder is the desktop;
// where the desktop folder does not exist (it is then the home folder) or is unknown, the
// application-data folder, else the temporary folder.
WideString DebugLogPath(DWORD pid, const SYSTEMTIME& time);

// Stores the flag in debugMode and returns it.
bool SetDebugMode(bool on);

// What the executable supplies and tests replace.
struct StartupHooks {
    // Whether a display exists; the environment when unset.
    std::function<bool()> hasDisplay;
    // Installs the display toolkit (offscreen when asked) and, for an interactive run with a
    // display, the web-browser control. Unset: the current widget set stays.
    std::function<void(bool offscreen, bool interactive)> installToolkit;
    // Creates the splash screen; unset or null: none.
    std::function<std::unique_ptr<TCustomForm>()> createSplash;
    // Creates the program's forms through Application->CreateForm, the main window first.
    std::function<void()> createForms;
    // The command-line export over the raw command line; its exit status.
    std::function<int(const WideString& commandLine)> cmdLineExport;
};

// The whole run; args[0] is the program. Returns the exit status.
int RunApplication(const std::vector<std::string>& args, const StartupHooks& hooks);
