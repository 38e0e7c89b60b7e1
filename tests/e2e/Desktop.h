// A private X desktop for the journeys: a virtual display (Xvfb, numbered by the server itself),
// a small window manager (openbox), the program started on it, and real input through the X
// server (xdotool). Controls are found by name in the map the program writes when
// QUILLORA_CONTROL_MAP is set, so clicks are aimed, never guessed.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace e2e {

using namespace std::chrono_literals;

// A child process with its own environment, its output in a file; killed when it goes.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
          const std::filesystem::path& output);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Running();
    // The exit status once it ended within the time (-1 killed by a signal, -2 still running).
    int Wait(std::chrono::milliseconds timeout);
    void Kill();
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// One line of the program's control map.
struct Control {
    std::string path;  // Form.Control...
    std::string cls;
    int x = 0, y = 0, w = 0, h = 0;
    std::string flags;  // E enabled, F focused
    std::string text;
    std::string detail;  // items=N selected=I first=... current=... | selected=... | panels
    int cx() const { return x + w / 2; }
    int cy() const { return y + h / 2; }
    bool Focused() const { return flags.find('F') != std::string::npos; }
    bool Enabled() const { return flags.find('E') != std::string::npos; }
};

class Desktop {
public:
    // Starts the display with one screen of the size given, and the window manager.
    explicit Desktop(int width = 1366, int height = 768);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // Empty when the display started; otherwise why not.
    const std::string& Failure() const { return failure_; }
    const std::string& Display() const { return display_; }

    // Runs a tool on the display and returns its standard output (empty on failure).
    std::string Tool(const std::vector<std::string>& argv) const;
    // Real input: the pointer moves there, the button goes down and comes up.
    void Click(int x, int y, int button = 1) const;
    void DoubleClick(int x, int y) const;
    void Press(int x, int y) const;
    void Release(int x, int y) const;
    void MoveTo(int x, int y) const;
    // Key chords as xdotool names them ("ctrl+f", "Return", "alt+F4").
    void Key(const std::string& chord) const;
    void Type(const std::string& text) const;
    // The title of the active window.
    std::string ActiveTitle() const;
    // The screen as an image file (PNG).
    bool Screenshot(const std::filesystem::path& png) const;

private:
    std::string failure_;
    std::string display_;
    std::filesystem::path dir_;
    std::unique_ptr<Child> server_;
    std::unique_ptr<Child> manager_;
};

// The program started on a desktop in a home of its own.
class Program {
public:
    Program(Desktop& desktop, const std::filesystem::path& home, const std::vector<std::string>& args,
            const std::map<std::string, std::string>& extraEnv = {});
    ~Program();

    // The controls showing now, as the program last wrote them.
    std::vector<Control> Controls() const;
    // Waits for a showing control: "Form.Name" is a control of the form whose path ends with
    // .Name (at any depth), ".Name" one of any form, "Form" the form itself.
    std::optional<Control> WaitFor(const std::string& pathSuffix, std::chrono::milliseconds timeout = 20s) const;
    // Waits until the condition holds over the map; false on timeout.
    bool WaitUntil(const std::function<bool(const std::vector<Control>&)>& condition,
                   std::chrono::milliseconds timeout = 20s) const;
    // The control found now, if showing.
    std::optional<Control> Find(const std::string& pathSuffix) const;
    // Clicks the middle of a control found by name; false when it does not show.
    bool ClickOn(const std::string& pathSuffix, std::chrono::milliseconds timeout = 20s) const;

    // Ends the program through its window (alt+F4 on the main window), else kills it.
    int Close(const std::string& mainForm = "Form1", std::chrono::milliseconds timeout = 30s);
    bool Running() const { return child_->Running(); }
    std::string Errors() const;
    const std::filesystem::path& Home() const { return home_; }
    std::filesystem::path Trace() const;

private:
    // Waits until the X window of the form is mapped: the map is written before the window
    // manager shows it, and a click then would land on whatever is below.
    void EnsureMapped(const std::string& caption) const;

    Desktop& desktop_;
    std::filesystem::path home_;
    std::filesystem::path map_;
    std::unique_ptr<Child> child_;
};

// Reads a control map file.
std::vector<Control> ReadControlMap(const std::filesystem::path& file);
std::optional<Control> FindControl(const std::vector<Control>& controls, const std::string& pathSuffix);

// The home of one journey: HOME, XDG folders and registry below a fresh folder, with copies of
// corpus files in mail/.
std::filesystem::path MakeHome(const std::filesystem::path& root);

}  // namespace e2e
