// The run from start to exit, in-process (each run in a child process of its own) with the
// headless widget set: the modal hook answers every question.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/IChangeableLangForm.h"
#include "app/SupportLibrary.h"
#include "app/startup/Startup.h"
#include "controls/unicode/TntSystem.h"
#include "platform/vcl/FormFiles.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/WinString.h"
#include "tests/app/startup/ChildRun.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::RunInChild;
using testsupport::TempDir;

namespace {

// A window of the program as start-up sees it: created by the application, translated, shown.
class TTestMainForm : public IChangeableLangForm {
    QUILLORA_COMPONENT(TTestMainForm)
public:
    using IChangeableLangForm::IChangeableLangForm;
    void LanguageChanged() override {}
    static inline std::vector<std::string>* events = nullptr;
    // The texts on screen when the window shows: its caption and the settings dialog's button.
    static inline std::vector<WideString>* shownTexts = nullptr;

protected:
    void DoShow() override {
        IChangeableLangForm::DoShow();
        if (events) events->push_back("main shown");
        if (shownTexts) {
            auto* settings = Application->FindComponent("SettingsDlg");
            auto* ok = settings ? dynamic_cast<TControl*>(settings->FindComponent("TntButton1")) : nullptr;
            *shownTexts = {GetCaption(), ok ? ok->Text() : WideString(), GetUiString(1001)};
        }
        Application->Terminate();  // the user closes the window at once
    }
};

const TMetaClass& TTestMainForm::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TTestMainForm>("TTestMainForm", &IChangeableLangForm::StaticClass());
    return meta;
}

class TTestDialog : public IChangeableLangForm {
public:
    using IChangeableLangForm::IChangeableLangForm;
    void LanguageChanged() override {}
};

// The settings dialog with a caption and a button, as a template stores them.
void CreateTestForms(bool withMain) {
    if (withMain) {
        RegisterFormResource("TTestMainForm", "object Form1: TTestMainForm\n  Caption = 'Main'\nend\n");
        TTestMainForm* main = nullptr;
        Application->CreateForm(main);
    }
    auto* settings = new TTestDialog(Application);
    settings->SetName("SettingsDlg");
    settings->SetCaption(u"Settings");
    auto* ok = new TButton(settings);
    ok->SetName("TntButton1");
    ok->SetCaption(u"OK");
    ok->SetParent(settings);
}

StartupHooks Hooks(bool display) {
    StartupHooks hooks;
    hooks.hasDisplay = [display] { return display; };
    return hooks;
}

int StartRun(std::vector<std::string> args, const StartupHooks& hooks) {
    LoadHelperLibraries(u"" QUILLORA_PROGRAM_DIR);
    args.insert(args.begin(), "quillora");
    return RunApplication(args, hooks);
}

std::string Utf16File(const fs::path& p) {
    const std::string bytes = ReadFileBytes(p);
    return Utf16ToUtf8(WideString(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2));
}

fs::path FindLog(const fs::path& root) {
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.path().extension() == ".log") return e.path();
    return {};
}

}  // namespace

TEST(StartupPlan, SwitchesAndDisplayDecideTheRun) {
    struct Case {
        std::vector<const char*> args;
        bool display;
        RunMode mode;
        bool toolkit, offscreen, prompts, refused;
    };
    const Case cases[] = {
        {{}, true, RunMode::Interactive, true, false, true, false},
        {{}, false, RunMode::Interactive, true, true, false, true},
        {{"+DIR", "/tmp"}, false, RunMode::Interactive, true, true, false, true},
        {{"/setup"}, true, RunMode::Setup, false, false, false, false},
        {{"/SETUP", "+EXPORT=a"}, false, RunMode::Setup, false, false, false, false},
        {{"+EXPORT=src;dst"}, false, RunMode::Export, true, true, false, false},
        // Batch runs go offscreen even where a display is named: it may be gone.
        {{"+export"}, true, RunMode::Export, true, true, false, false},
        {{"+EXPTEXT", "t.txt"}, false, RunMode::Template, true, true, false, false},
        {{"+EXPTEXT", "t.txt"}, true, RunMode::Template, true, true, false, false},
        // "+EXPTEXT" without its file is an ordinary file argument.
        {{"+EXPTEXT"}, false, RunMode::Interactive, true, true, false, true},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"quillora"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        InitWideCommandLine(static_cast<int>(argv.size()), argv.data());
        CAppOptions switches;
        switches.parse();
        const RunPlan plan = PlanRun(switches, c.display);
        const std::string what = Utf16ToUtf8(WideCommandLine()) + (c.display ? " (display)" : "");
        EXPECT_EQ(plan.mode, c.mode) << what;
        EXPECT_EQ(plan.toolkit, c.toolkit) << what;
        EXPECT_EQ(plan.offscreen, c.offscreen) << what;
        EXPECT_EQ(plan.prompts, c.prompts) << what;
        EXPECT_EQ(plan.refused, c.refused) << what;
    }
    InitWideCommandLine(0, nullptr);
}

TEST(StartupLog, StampAndFolderWithoutDesktop) {
    SYSTEMTIME t{};
    t.wYear = 2007;
    t.wMonth = 3;
    t.wDay = 9;
    t.wHour = 14;
    t.wMinute = 5;
    t.wSecond = 7;
    EXPECT_EQ(LogStamp(t), u"07.03.09_14.05.07");

    TempDir dir;
    const int status = RunInChild(dir.path(), [&] {
        // No ~/Desktop: the log goes to the application-data folder.
        const std::string path = Utf16ToUtf8(DebugLogPath(42, t));
        const std::string expected = (dir.path() / "home/.local/share/Quillora/quillorapro_42_07.03.09_14.05.07.log").string();
        if (path != expected) return 10;
        fs::create_directories(dir.path() / "home/Desktop");
        std::ofstream(dir.path() / "home/.config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n";
        return Utf16ToUtf8(DebugLogPath(42, t)) == (dir.path() / "home/Desktop/quillorapro_42_07.03.09_14.05.07.log").string()
                   ? 0 : 11;
    });
    EXPECT_EQ(status, 0);
}

TEST(StartupRun, NoDisplayRefusesAnInteractiveRun) {
    TempDir dir;
    EXPECT_EQ(RunInChild(dir.path(), [] { return StartRun({}, Hooks(false)); }), kExitNoDisplay);
}

TEST(StartupRun, SetupWritesTheSettingsAndCreatesNoWindow) {
    struct Case {
        std::vector<std::string> args;
        bool machine;  // the settings go to the machine-wide hive
    };
    const Case cases[] = {{{"/SETUP"}, false}, {{"/SETUP", "/ALLUSERS"}, true}, {{"/SETUP", "+EXPORT=a;b"}, false}};
    for (const Case& c : cases) {
        TempDir dir;
        const int status = RunInChild(dir.path(), [&] {
            StartupHooks hooks = Hooks(false);
            bool created = false, exported = false;
            hooks.createForms = [&] { created = true; };
            hooks.cmdLineExport = [&](const WideString&) { return exported = true, 0; };
            const int s = StartRun(c.args, hooks);
            if (created || exported || (Screen && Screen->FormCount() != 0)) return 20;
            return s;
        });
        EXPECT_EQ(status, kExitOk) << c.args.size();
        const std::string user = ReadFileBytes(dir.path() / "registry/user.reg");
        const std::string machine = ReadFileBytes(dir.path() / "registry/machine.reg");
        const std::string& written = c.machine ? machine : user;
        EXPECT_NE(written.find("Kestrelwright"), std::string::npos) << c.args.size();
        EXPECT_NE(written.find("Print page breaks"), std::string::npos) << c.args.size();
        if (c.machine) {
            EXPECT_EQ(user.find("Print page breaks"), std::string::npos);
        } else {
            EXPECT_EQ(machine.find("Print page breaks"), std::string::npos);
        }
    }
}

TEST(StartupRun, TemplateHoldsTheUiTextsAndTheFormTexts) {
    TempDir dir;
    const fs::path file = dir.path() / "t.txt";
    const int status = RunInChild(dir.path(), [&] {
        StartupHooks hooks = Hooks(false);
        hooks.createForms = [] { CreateTestForms(false); };
        return StartRun({"+EXPTEXT", file.string()}, hooks);
    });
    EXPECT_EQ(status, kExitOk);
    const std::string bytes = ReadFileBytes(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_NE(bytes.substr(0, 2), "\xFF\xFE");  // no byte-order mark
    const std::string text = Utf16File(file);
    EXPECT_NE(text.find("1000, \"Loading messages\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("SettingsDlg, \"Settings\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("SettingsDlg:TntButton1, \"OK\"\r\n"), std::string::npos);
    EXPECT_EQ(text.find("\n1012, "), std::string::npos);  // no built-in text
    EXPECT_EQ(text.find("\n1076, "), std::string::npos);
}

TEST(StartupRun, DebugSwitchAnsweredYesStartsTheLog) {
    struct Case {
        const char* arg;
        bool asked;
    };
    for (const Case c : {Case{"+DEBUG", true}, Case{"+debug", false}}) {
        TempDir dir;
        const int status = RunInChild(dir.path(), [&] {
            bool asked = false;
            TScopedModalHook hook([&](TModalRequest& r) {
                if (r.What == TModalRequest::MessageBox && r.Text.find(u"enable debug logs") != WideString::npos) {
                    asked = true;
                    return IDYES;
                }
                return IDOK;  // the box that says there is no main window
            });
            const int s = StartRun({c.arg}, Hooks(true));
            return asked != c.asked ? 30 : s;
        });
        EXPECT_EQ(status, kExitNoMainWindow) << c.arg;
        const fs::path log = FindLog(dir.path() / "home");
        if (!c.asked) {
            EXPECT_TRUE(log.empty()) << c.arg;
            continue;
        }
        ASSERT_FALSE(log.empty());
        const std::string text = Utf16File(log);
        EXPECT_NE(text.find("Log started"), std::string::npos);
        EXPECT_NE(text.find("Temp folder: "), std::string::npos);
        EXPECT_NE(text.find("Log stopped"), std::string::npos);
    }
}

TEST(StartupRun, DebugSwitchWithoutDisplayTurnsTheLogOnUnasked) {
    TempDir dir;
    const int status = RunInChild(dir.path(), [&] {
        bool asked = false;
        TScopedModalHook hook([&](TModalRequest&) { return asked = true, IDNO; });
        const int s = StartRun({"/SETUP", "+DEBUG"}, Hooks(false));
        return asked ? 40 : s;
    });
    EXPECT_EQ(status, kExitOk);
    const fs::path log = FindLog(dir.path() / "home");
    ASSERT_FALSE(log.empty());
    EXPECT_NE(Utf16File(log).find("Temp folder: "), std::string::npos);
}

TEST(StartupRun, SettingsDialogComesFirstOnlyWhileNoLanguageWasChosen) {
    for (const bool chosen : {false, true}) {
        TempDir dir;
        const int status = RunInChild(dir.path(), [&] {
            if (chosen) {
                appOptions.language = LanguageEnglish;
                appOptions.Write(false);
                appOptions.language = LanguageNone;
            }
            std::vector<std::string> events;
            TTestMainForm::events = &events;
            TScopedModalHook hook([&](TModalRequest& r) {
                if (r.What == TModalRequest::ModalForm) events.push_back(r.Form->Name());
                return mrOk;
            });
            StartupHooks hooks = Hooks(true);
            hooks.createForms = [] { CreateTestForms(true); };
            const int s = StartRun({}, hooks);
            const std::vector<std::string> expected =
                chosen ? std::vector<std::string>{"main shown"} : std::vector<std::string>{"SettingsDlg", "main shown"};
            return events != expected ? 50 : s;
        });
        EXPECT_EQ(status, kExitOk) << chosen;
    }
}

// The translation chosen before reaches every window before it shows; one that cannot be read
// leaves the built-in texts and says so.
TEST(StartupRun, TheChosenTranslationReachesTheWindowsAndAnUnreadableOneIsReported) {
    for (const bool readable : {true, false}) {
        TempDir dir;
        const fs::path file = dir.path() / "custom.txt";
        if (readable) {
            AppLocDB custom;
            custom.SetString(u"Form1", u"Hauptfenster");
            custom.SetString(u"SettingsDlg:TntButton1", u"Übernehmen");
            custom.SetString(u"1001", u"Bereit");
            ASSERT_EQ(custom.SaveDB(Utf8ToUtf16(file.string())), 0);
        }
        const int status = RunInChild(dir.path(), [&] {
            appOptions.language = LanguageCustom;
            appOptions.localizationDb = Utf8ToUtf16(file.string());
            appOptions.Write(false);
            std::vector<WideString> shown, boxes;
            TTestMainForm::shownTexts = &shown;
            TScopedModalHook hook([&](TModalRequest& r) {
                if (r.What == TModalRequest::MessageBox) boxes.push_back(r.Text);
                return IDOK;
            });
            StartupHooks hooks = Hooks(true);
            hooks.createForms = [] { CreateTestForms(true); };
            const int s = StartRun({}, hooks);
            const std::vector<WideString> expected = readable
                ? std::vector<WideString>{u"Hauptfenster", u"Übernehmen", u"Bereit"}
                : std::vector<WideString>{u"Main", u"OK", u"Ready"};
            if (shown != expected) return 60;
            if (readable != boxes.empty()) return 61;
            if (!readable && boxes[0].find(Utf8ToUtf16(file.string())) == WideString::npos) return 62;
            return s;
        });
        EXPECT_EQ(status, kExitOk) << readable;
    }
}

TEST(StartupRun, AnExceptionIsShownAndTheClosingStepsStillRun) {
    TempDir dir;
    const int status = RunInChild(dir.path(), [&] {
        WideString shown;
        TScopedModalHook hook([&](TModalRequest& r) { return shown = r.Text, IDOK; });
        StartupHooks hooks = Hooks(true);
        hooks.createForms = [] { throw Exception(u"The form file is damaged"); };
        const int s = StartRun({}, hooks);
        return shown != u"The form file is damaged." ? 60 : s;
    });
    EXPECT_EQ(status, kExitFailed);
    // The per-user options were still saved.
    EXPECT_NE(ReadFileBytes(dir.path() / "registry/user.reg").find("Print page breaks"), std::string::npos);
}

TEST(StartupRun, ExportRunReturnsTheExportStatus) {
    for (const int exportStatus : {0, 4}) {
        TempDir dir;
        const int status = RunInChild(dir.path(), [&] {
            StartupHooks hooks = Hooks(false);
            WideString line;
            hooks.cmdLineExport = [&](const WideString& commandLine) { return line = commandLine, exportStatus; };
            const int s = StartRun({"+EXPORT=/in;/out;TXT"}, hooks);
            return line.find(u"+EXPORT=/in;/out;TXT") == WideString::npos ? 70 : s;
        });
        EXPECT_EQ(status, exportStatus);
    }
}

TEST(StartupRun, MissingSupportLibraryIsShownAndEndsTheRun) {
    TempDir dir;
    const int status = RunInChild(dir.path(), [&] {
        std::vector<std::string> events;
        TTestMainForm::events = &events;
        WideString shown;
        TScopedModalHook hook([&](TModalRequest& r) {
            if (r.What == TModalRequest::MessageBox && shown.empty()) shown = r.Text;
            return IDOK;
        });
        StartupHooks hooks = Hooks(true);
        hooks.createForms = [] { CreateTestForms(true); };
        appOptions.language = LanguageEnglish;
        // The program's folder here is the test's, where the library is not.
        std::vector<std::string> args = {"quillora"};
        const int s = RunApplication(args, hooks);
        if (shown.find(u"libquillora-utils.so") == WideString::npos) return 80;
        return events.empty() || events == std::vector<std::string>{"main shown"} ? s : 81;
    });
    EXPECT_EQ(status, kExitFailed);
}
