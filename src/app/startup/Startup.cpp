#include "app/startup/Startup.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <optional>
#include <string_view>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/CAppUtils.h"
#include "app/SupportLibrary.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSystem.h"
#include "mapi/MapiRegistration.h"
#include "mapi/MapiSession.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Registry.h"
#include "platform/win/WinProcess.h"
#include "platform/win/WinString.h"
#include "platform/win/WinTime.h"
#include "regex/RegexpT.h"

namespace {

constexpr char16_t kTitle[] = u"Quillora Pro 3.1.0";
constexpr char16_t kDebugCaption[] = u"Quillora Pro";
constexpr char16_t kDebugQuestion[] =
    u"Do you want to enable debug logs? (This window will appear if you started Quillora Pro with "
    u"SHIFT key pressed, or specified +DEBUG command-line argument";
constexpr char16_t kNoDisplay[] =
    u"Quillora Pro needs a display: neither DISPLAY nor WAYLAND_DISPLAY is set. "
    u"\"/SETUP\", \"+EXPTEXT <file>\" and \"+EXPORT=...\" run without one.";
constexpr char16_t kNoMainWindow[] =
    u"This build of Quillora Pro has no main window yet: the settings, the support library and "
    u"the translation were set up, and the program ends here.";
constexpr char16_t kNoExport[] = u"This build of Quillora Pro has no command-line export yet.";

void ToStderr(const WideString& text) { std::fprintf(stderr, "%s\n", Utf16ToUtf8(text).c_str()); }

// Whether messages are shown in boxes: only in an interactive run with a display. A batch run
// has nobody to close a box, so it writes to standard error.
bool showBoxes = false;

// A message that the user must see, also written to the trace log.
void Report(const WideString& text, const WideString& caption, UINT flags) {
    LogPrintf(u"%s", text.c_str());
    if (showBoxes)
        MessageBoxW(nullptr, text.c_str(), caption.c_str(), flags);
    else
        ToStderr(text);
}

// Stands in for the user in a batch run, where nobody could answer: a box is written to
// standard error and the log and answered with its default button (what Enter would press);
// a window or dialog asking for input is cancelled, a popup menu dismissed.
int AnswerUnattended(TModalRequest& request) {
    if (request.What == TModalRequest::PopupMenu) return kPopupMenuDismissed;
    if (request.What != TModalRequest::MessageBox) {
        LogPrintf(u"A batch run cancelled a window that asked for input");
        return mrCancel;
    }
    const WideString line = request.Caption.empty() ? request.Text : request.Caption + u": " + request.Text;
    LogPrintf(u"%s", line.c_str());
    ToStderr(line);
    static constexpr int kButtons[][3] = {
        {IDOK, IDOK, IDOK},        {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL},   {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL},
    };
    const UINT type = request.Flags & MB_TYPEMASK;
    const int choice = (request.Flags & MB_DEFBUTTON3) ? 2 : (request.Flags & MB_DEFBUTTON2) ? 1 : 0;
    return type < std::size(kButtons) ? kButtons[type][choice] : IDOK;
}

WideString HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home == '/' ? Utf8ToUtf16(home) : WideString();
}

// Set by the support library's error handler: the program cannot do its work without it.
bool supportLibraryMissing = false;

bool EnvSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// What every way out of the run does last.
class Shutdown {
public:
    ~Shutdown() {
        // Forms go before the toolkit's own teardown at exit: a live window then crashes it.
        DoneApplication();
        RegistrySavePending();
    }
};

// The settings dialog when no language was ever chosen, then the main window and the loop.
int ShowAndRun(std::unique_ptr<TCustomForm> splash) {
    if (appOptions.language == LanguageNone && !Application->Terminated()) {
        if (auto* settings = dynamic_cast<TCustomForm*>(FindGlobalComponent("SettingsDlg"))) settings->ShowModal();
    }
    if (splash) {
        splash->Hide();
        splash.reset();
    }
    TCustomForm* main = Application->MainForm();
    if (!main) {
        if (Application->Terminated()) return kExitOk;
        Report(kNoMainWindow, kDebugCaption, MB_OK | MB_ICONINFORMATION);
        return kExitNoMainWindow;
    }
    main->Show();
    LogPrintf(u"+Application->Run()");
    Application->Run();
    LogPrintf(u"-Application->Run()");
    return kExitOk;
}

}  // namespace

bool EnvironmentHasDisplay() {
    if (EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY")) return true;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!platform || !*platform) return false;
    const std::string_view p(platform);
    return p.rfind("offscreen", 0) != 0 && p.rfind("minimal", 0) != 0;
}

void ExitDisplayUnreachable(const char* reason) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const std::string named = display && *display ? display : wayland && *wayland ? wayland : "";
    std::fprintf(stderr,
                 "Quillora Pro cannot open the display \"%s\": it is gone or refuses the connection. "
                 "\"/SETUP\", \"+EXPTEXT <file>\" and \"+EXPORT=...\" run without one.\n%s\n",
                 named.c_str(), reason ? reason : "");
    std::fflush(stderr);
    // Nothing of the run exists yet that would need an orderly end.
    std::_Exit(kExitNoDisplay);
}

RunPlan PlanRun(const CAppOptions& switches, bool hasDisplay) {
    RunPlan plan;
    if (switches.setupMode) {
        // "/SETUP" ends before any window exists, so it wins over "+EXPORT".
        plan.mode = RunMode::Setup;
        plan.toolkit = false;
    } else if (switches.exportMode) {
        plan.mode = RunMode::Export;
    } else if (switches.exportTexts) {
        plan.mode = RunMode::Template;
    }
    // A batch run never needs the display, which may be gone (a cron job, an ssh shell with a
    // stale DISPLAY): it draws offscreen whatever the environment names.
    plan.offscreen = plan.toolkit && (plan.mode != RunMode::Interactive || !hasDisplay);
    plan.prompts = plan.mode == RunMode::Interactive && hasDisplay;
    plan.refused = plan.mode == RunMode::Interactive && !hasDisplay;
    return plan;
}

WideString LogStamp(const SYSTEMTIME& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02u.%02u.%02u_%02u.%02u.%02u", unsigned(t.wYear % 100), unsigned(t.wMonth),
                  unsigned(t.wDay), unsigned(t.wHour), unsigned(t.wMinute), unsigned(t.wSecond));
    return Utf8ToUtf16(buf);
}

WideString DebugLogPath(DWORD pid, const SYSTEMTIME& time) {
    WideString folder = CAppUtils::getDesktopFolder();
    const WideString home = HomeFolder();
    // The desktop folder falls back to the home folder when it does not exist.
    if (folder.empty() || (!home.empty() && (folder == home || folder == home + u"/")))
        folder = CAppUtils::getAppDataFolder();
    if (folder.empty()) folder = CAppUtils::getAppTempFolder();
    const WideString stamp = CAppUtils::MakeValidFileName(LogStamp(time), false);
    return folder + u"quillorapro_" + Utf8ToUtf16(std::to_string(pid)) + u"_" + stamp + u".log";
}

bool SetDebugMode(bool on) {
    debugMode = on;
    return debugMode;
}

int RunApplication(const std::vector<std::string>& args, const StartupHooks& hooks) {
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    InitWideCommandLine(static_cast<int>(argv.size()), argv.data());

    // The switches decide whether the toolkit is needed before anything is shown; the
    // options object itself reads them again in order after the registry.
    const bool hasDisplay = hooks.hasDisplay ? hooks.hasDisplay() : EnvironmentHasDisplay();
    RunPlan plan;
    {
        CAppOptions switches;
        switches.parse();
        plan = PlanRun(switches, hasDisplay);
    }
    if (plan.refused) {
        ToStderr(kNoDisplay);
        return kExitNoDisplay;
    }
    if (plan.toolkit && hooks.installToolkit) hooks.installToolkit(plan.offscreen, plan.mode == RunMode::Interactive);

    // SHIFT held at start asks for the log too; the toolkit knows the keyboard once it exists.
    const DWORD pid = GetCurrentProcessId();
    bool askDebug = plan.prompts && GetKeyState(VK_SHIFT) < 0;
    SYSTEMTIME started{};
    GetLocalTime(&started);
    QUILLORA_TRACE(u"WinMain");

    showBoxes = plan.prompts;
    // Whatever a window of a batch run would ask (a damaged favorites file while the forms are
    // made, say) goes to standard error instead of waiting forever offscreen; also while the
    // forms are destroyed at the end.
    std::optional<TScopedModalHook> unattended;
    if (!showBoxes) unattended.emplace(AnswerUnattended);
    Shutdown shutdown;
    int status = kExitOk;
    supportLibraryMissing = false;
    try {
        Application->Initialize();
        Application->SetTitle(kTitle);
        const WideString commandLine = WideCommandLine();
        // The raw line, case-sensitively, as the log question has always been triggered.
        const bool debugSwitch = commandLine.find(u"+DEBUG") != WideString::npos;
        if (debugSwitch) askDebug = true;
        if (askDebug) {
            // Without a display or in a batch run nothing is asked: the switch turns the log on.
            const bool yes = plan.prompts ? MessageBoxW(nullptr, kDebugQuestion, kDebugCaption, MB_YESNO) == IDYES
                                          : debugSwitch;
            if (yes) {
                SetDebugMode(true);
                const WideString logPath = DebugLogPath(pid, started);
                if (cLogger::logStart(logPath) != 0) ToStderr(u"Can not open the trace log " + logPath);
            }
        }

        SetHelperLibraryErrorHandler([](const WideString& text, const WideString& caption, bool fatal) {
            Report(text, caption, MB_OK | MB_ICONERROR);
            if (fatal) {
                supportLibraryMissing = true;
                Application->Terminate();
            }
        });
        LoadHelperLibraries();
        // A search cut off by its step budget looks like "no match": the trace log says so.
        SetRegexBudgetHandler([](std::int64_t steps) {
            LogPrintf(u"regular expression stopped after %lld steps: its result may be incomplete",
                      static_cast<long long>(steps));
        });
        if (showBoxes) {
            SetMapiErrorBoxSink([](ULONG_PTR owner, const WideString& caption, const WideString& text) {
                MessageBoxW(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
            });
        }
        if (const LONG mapi = EnsureMapiRegistration(); mapi != ERROR_SUCCESS)
            LogPrintf(u"MAPI provider not registered (error %d): .pst files cannot be opened", int(mapi));

        const WideString tempFolder = CAppUtils::getAppTempFolder();
        LogPrintf(u"Temp folder: %s", tempFolder.c_str());
        if (tempFolder.empty())
            ToStderr(u"Quillora Pro: no private temporary folder could be made (check TMPDIR and XDG_RUNTIME_DIR); "
                     u"message bodies cannot be shown, printed or exported");
        appOptions.Read(true);
        appOptions.Read(false);
        appOptions.parse();

        if (plan.mode == RunMode::Setup) {
            appOptions.Write(appOptions.allUsers);
            if (RegistrySavePending() != ERROR_SUCCESS) {
                ToStderr(u"Quillora Pro: the settings could not be saved.");
                return kExitFailed;
            }
            return supportLibraryMissing ? kExitFailed : kExitOk;
        }

        // The texts come first, so that the splash screen and every window made below can be
        // given the chosen language before anything is shown.
        LogPrintf(u"before storing resource strings to localization db");
        StoreResourceStrings(appLocDB);
        LogPrintf(u"after storing resource strings to localization db");
        LogPrintf(u"before loading localized resource strings");
        const AppLocDB builtInTexts = appLocDB;
        AppLocDB translation;
        bool translated = false;
        if (!appOptions.localizationDb.empty() && !appOptions.exportTexts) {
            translated = translation.LoadDB(appOptions.localizationDb) == 0 && translation.Count() != 0;
            for (const auto& [key, text] : translation.Entries()) appLocDB.SetString(key, text);
        }

        std::unique_ptr<TCustomForm> splash;
        // A template holds the splash screen's texts too, so it is made (and never shown).
        const bool wantSplash = (appOptions.showSplash && plan.mode == RunMode::Interactive) || appOptions.exportTexts;
        if (wantSplash && hooks.createSplash) {
            splash = hooks.createSplash();
            if (splash && translated) appLocDB.RestoreForm(splash.get());
            if (splash && plan.mode == RunMode::Interactive) {
                splash->Show();
                Application->ProcessMessages();
            }
        }

        // The windows are made with the built-in texts, kept for later language switches, and
        // only then given the translation.
        const AppLocDB translatedTexts = appLocDB;
        if (translated) static_cast<AppLocDB&>(appLocDB) = builtInTexts;
        LogPrintf(u"TForm1");
        if (hooks.createForms) hooks.createForms();
        if (!appOptions.exportTexts) appLocDB.KeepBuiltInTexts();
        if (translated) static_cast<AppLocDB&>(appLocDB) = translatedTexts;

        if (appOptions.exportTexts) {
            if (!appOptions.localizationDb.empty()) {
                appLocDB.ProcessForms(true);
                if (appLocDB.SaveDB(appOptions.localizationDb) != 0) {
                    Report(u"Can not write the translation template " + appOptions.localizationDb, kDebugCaption,
                           MB_OK | MB_ICONERROR);
                    status = kExitFailed;
                }
            }
        } else {
            if (translated) {
                appLocDB.ProcessForms(false);
            } else if (!appOptions.localizationDb.empty() &&
                       appOptions.localizationDb != LanguageFilePath(LanguageEnglish)) {
                // English is built in: without its file the windows are English all the same.
                Report(WideFormat(GetUiFormat(1140).c_str(), appOptions.localizationDb.c_str()), GetUiString(1087),
                       MB_OK | MB_ICONWARNING);
            }
        }
        LogPrintf(u"after loading localized resource strings");

        if (appOptions.runCmdLineExport) {
            if (hooks.cmdLineExport) return hooks.cmdLineExport(commandLine);
            ToStderr(kNoExport);
            return kExitFailed;
        }
        // A template written without a display ends here: there is nothing to show.
        if (plan.mode != RunMode::Template) {
            if (const int shown = ShowAndRun(std::move(splash)); shown != kExitOk) status = shown;
        }
    } catch (const std::exception& e) {
        LogPrintf(u"Exception: %hs", e.what());
        if (showBoxes) Application->ShowException(e);
        else ToStderr(Utf8ToUtf16(e.what()));
        status = kExitFailed;
    } catch (...) {
        if (showBoxes) Application->ShowException(Exception(u""));
        else ToStderr(u"Quillora Pro: an unknown error ended the run.");
        status = kExitFailed;
    }

    // An export run never saves the options, not even after a failure.
    if (appOptions.runCmdLineExport) return status;
    appOptions.Write(false);
    FreeHelperLibraries();
    cLogger::logStop();
    if (supportLibraryMissing) status = kExitFailed;
    return status;
}
