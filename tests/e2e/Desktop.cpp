#include "tests/e2e/Desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace e2e {
namespace {

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> p;
    for (auto& s : strings) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
}

std::vector<std::string> Environment(const std::map<std::string, std::string>& env) {
    std::vector<std::string> out;
    for (const auto& [k, v] : env) out.push_back(k + "=" + v);
    return out;
}

// What every child of the journeys gets from the test's own environment.
std::map<std::string, std::string> BaseEnvironment() {
    std::map<std::string, std::string> env = {{"PATH", "/usr/local/bin:/usr/bin:/bin"}, {"LANG", "C.UTF-8"}};
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "TMPDIR"})
        if (const char* v = std::getenv(name)) env[name] = v;
    return env;
}

}  // namespace

Child::Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const fs::path& output) {
    std::vector<std::string> a = argv;
    std::vector<std::string> e = Environment(env);
    auto ap = Pointers(a);
    auto ep = Pointers(e);
    pid_ = fork();
    if (pid_ == 0) {
        // Its own process group: the program's helper processes go with it.
        setpgid(0, 0);
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        dup2(in, 0);
        dup2(out, 1);
        dup2(out, 2);
        execve(ap[0], ap.data(), ep.data());
        _exit(127);
    }
    if (pid_ > 0) setpgid(pid_, pid_);
}

Child::~Child() { Kill(); }

bool Child::Running() { return Wait(0ms) == -2; }

int Child::Wait(std::chrono::milliseconds timeout) {
    if (status_) return *status_;
    if (pid_ <= 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            kill(-pid_, SIGKILL);  // what it left behind
            return *status_;
        }
        if (std::chrono::steady_clock::now() >= deadline) return -2;
        std::this_thread::sleep_for(20ms);
    }
}

void Child::Kill() {
    if (pid_ <= 0 || status_) return;
    kill(-pid_, SIGTERM);
    if (Wait(3s) == -2) {
        kill(-pid_, SIGKILL);
        Wait(10s);
    }
}

// ---------------------------------------------------------------------------------------------

Desktop::Desktop(int width, int height) {
    static int counter = 0;
    dir_ = fs::temp_directory_path() / ("quillora-e2e-x-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(dir_);
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        failure_ = "no pipe for the display number";
        return;
    }
    const std::string fd = std::to_string(pipeFds[1]);
    server_ = std::make_unique<Child>(
        std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", fd, "-screen", "0",
                                 std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp",
                                 "-noreset"},
        BaseEnvironment(), dir_ / "xvfb.log");
    close(pipeFds[1]);
    std::string number;
    pollfd p{pipeFds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline && number.find('\n') == std::string::npos) {
        if (poll(&p, 1, 200) <= 0) {
            if (!server_->Running()) break;
            continue;
        }
        char buf[32];
        const ssize_t n = read(pipeFds[0], buf, sizeof buf);
        if (n <= 0) break;
        number.append(buf, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    while (!number.empty() && (number.back() == '\n' || number.back() == '\r')) number.pop_back();
    if (number.empty()) {
        failure_ = "the virtual X display (Xvfb) did not start: " + testsupport::ReadFileBytes(dir_ / "xvfb.log");
        return;
    }
    display_ = ":" + number;
    auto env = BaseEnvironment();
    env["DISPLAY"] = display_;
    env["HOME"] = dir_.string();
    manager_ = std::make_unique<Child>(std::vector<std::string>{"/usr/bin/openbox", "--sm-disable"}, env,
                                       dir_ / "openbox.log");
    // The window manager is up once it names its check window on the root.
    for (int i = 0; i < 200; ++i) {
        if (Tool({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") != std::string::npos) return;
        std::this_thread::sleep_for(50ms);
    }
    failure_ = "the window manager (openbox) did not start: " + testsupport::ReadFileBytes(dir_ / "openbox.log");
}

Desktop::~Desktop() {
    manager_.reset();
    server_.reset();
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::string Desktop::Tool(const std::vector<std::string>& argv) const {
    int fds[2];
    if (pipe(fds) != 0) return {};
    auto env = BaseEnvironment();
    env["DISPLAY"] = display_;
    std::vector<std::string> a = argv;
    if (!a.empty() && a[0].find('/') == std::string::npos) a[0] = "/usr/bin/" + a[0];
    std::vector<std::string> e = Environment(env);
    auto ap = Pointers(a);
    auto ep = Pointers(e);
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        dup2(fds[1], 1);
        const int err = open("/dev/null", O_WRONLY);
        dup2(err, 2);
        close(fds[0]);
        execve(ap[0], ap.data(), ep.data());
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buf[4096];
    pollfd p{fds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (poll(&p, 1, 100) <= 0) continue;
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    return out;
}

void Desktop::MoveTo(int x, int y) const {
    Tool({"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

void Desktop::Click(int x, int y, int button) const {
    MoveTo(x, y);
    Tool({"xdotool", "mousedown", std::to_string(button)});
    std::this_thread::sleep_for(30ms);
    Tool({"xdotool", "mouseup", std::to_string(button)});
    std::this_thread::sleep_for(150ms);
}

void Desktop::DoubleClick(int x, int y) const {
    MoveTo(x, y);
    Tool({"xdotool", "click", "--repeat", "2", "--delay", "80", "1"});
    std::this_thread::sleep_for(150ms);
}

void Desktop::Press(int x, int y) const {
    MoveTo(x, y);
    Tool({"xdotool", "mousedown", "1"});
}

void Desktop::Release(int x, int y) const {
    MoveTo(x, y);
    Tool({"xdotool", "mouseup", "1"});
    std::this_thread::sleep_for(150ms);
}

void Desktop::Key(const std::string& chord) const {
    Tool({"xdotool", "key", "--clearmodifiers", chord});
    std::this_thread::sleep_for(150ms);
}

void Desktop::Type(const std::string& text) const {
    Tool({"xdotool", "type", "--delay", "30", text});
    std::this_thread::sleep_for(150ms);
}

std::string Desktop::ActiveTitle() const {
    std::string t = Tool({"xdotool", "getactivewindow", "getwindowname"});
    while (!t.empty() && t.back() == '\n') t.pop_back();
    return t;
}

bool Desktop::Screenshot(const fs::path& png) const {
    Tool({"import", "-window", "root", png.string()});
    return fs::exists(png) && fs::file_size(png) > 0;
}

// ---------------------------------------------------------------------------------------------

std::vector<Control> ReadControlMap(const fs::path& file) {
    std::vector<Control> out;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            f.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (f.size() < 8) continue;
        Control c;
        c.path = f[0];
        c.cls = f[1];
        c.x = std::atoi(f[2].c_str());
        c.y = std::atoi(f[3].c_str());
        c.w = std::atoi(f[4].c_str());
        c.h = std::atoi(f[5].c_str());
        c.flags = f[6];
        c.text = f[7];
        if (f.size() > 8) c.detail = f[8];
        out.push_back(std::move(c));
    }
    return out;
}

std::optional<Control> FindControl(const std::vector<Control>& controls, const std::string& suffix) {
    if (suffix.empty()) return std::nullopt;
    const auto endsWith = [](const std::string& s, const std::string& end) {
        return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
    };
    // "Form.Name": a control of that form whose path ends with .Name; ".Name" of any form.
    const std::size_t dot = suffix.find('.');
    const std::string form = dot == std::string::npos ? suffix : suffix.substr(0, dot);
    const std::string rest = dot == std::string::npos ? std::string() : suffix.substr(dot);
    for (const Control& c : controls) {
        if (c.path == suffix) return c;
        if (rest.empty()) continue;
        if ((form.empty() || c.path.rfind(form + ".", 0) == 0) && endsWith(c.path, rest)) return c;
    }
    return std::nullopt;
}

fs::path MakeHome(const fs::path& root) {
    for (const char* sub : {"home/.config", "home/.local/share", "run", "registry", "mail"})
        fs::create_directories(root / sub);
    fs::permissions(root / "run", fs::perms::owner_all);
    return root;
}

namespace {

// An xdotool name pattern matching exactly that window title.
std::string TitlePattern(const std::string& title) {
    std::string pattern = "^";
    for (const char ch : title) {
        if (std::string_view("\\^$.|?*+()[]{}").find(ch) != std::string_view::npos) pattern += '\\';
        pattern += ch;
    }
    return pattern + "$";
}

}  // namespace

Program::Program(Desktop& desktop, const fs::path& home, const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& extraEnv)
    : desktop_(desktop), home_(home), map_(home / "controls.txt") {
    auto env = BaseEnvironment();
    env["DISPLAY"] = desktop.Display();
    env["QT_QPA_PLATFORM"] = "xcb";
    env["HOME"] = (home / "home").string();
    env["XDG_CONFIG_HOME"] = (home / "home/.config").string();
    env["XDG_DATA_HOME"] = (home / "home/.local/share").string();
    env["XDG_RUNTIME_DIR"] = (home / "run").string();
    env["QUILLORA_REGISTRY_DIR"] = (home / "registry").string();
    env["QUILLORA_CONTROL_MAP"] = map_.string();
    env["NO_AT_BRIDGE"] = "1";
    env["LSAN_OPTIONS"] = "suppressions=" QUILLORA_LSAN_SUPPRESSIONS;
    for (const auto& [k, v] : extraEnv) env[k] = v;
    std::error_code ec;
    fs::remove(map_, ec);
    std::vector<std::string> argv = {QUILLORA_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    child_ = std::make_unique<Child>(argv, env, home / "stderr.txt");
}

Program::~Program() { child_->Kill(); }

std::vector<Control> Program::Controls() const { return ReadControlMap(map_); }

std::optional<Control> Program::Find(const std::string& suffix) const { return FindControl(Controls(), suffix); }

bool Program::WaitUntil(const std::function<bool(const std::vector<Control>&)>& condition,
                        std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition(Controls())) return true;
        if (std::chrono::steady_clock::now() >= deadline || !child_->Running()) return false;
        std::this_thread::sleep_for(100ms);
    }
}

std::optional<Control> Program::WaitFor(const std::string& suffix, std::chrono::milliseconds timeout) const {
    std::optional<Control> found;
    WaitUntil(
        [&](const std::vector<Control>& cs) {
            found = FindControl(cs, suffix);
            return found.has_value();
        },
        timeout);
    return found;
}

void Program::EnsureMapped(const std::string& caption) const {
    const std::string pattern = TitlePattern(caption);
    const std::string found = desktop_.Tool({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(child_->Pid()),
                                             "--name", pattern});
    if (!found.empty()) return;
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(100ms);
        if (!desktop_.Tool({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(child_->Pid()), "--name", pattern})
                 .empty()) {
            std::this_thread::sleep_for(300ms);  // the window manager's placement settles
            return;
        }
    }
}

bool Program::ClickOn(const std::string& suffix, std::chrono::milliseconds timeout) const {
    auto c = WaitFor(suffix, timeout);
    if (!c) return false;
    const std::string form = c->path.substr(0, c->path.find('.'));
    if (const auto f = Find(form)) EnsureMapped(f->text);
    // Where the window manager put it.
    c = WaitFor(suffix, timeout);
    if (!c) return false;
    desktop_.Click(c->cx(), c->cy());
    return true;
}

int Program::Close(const std::string& mainForm, std::chrono::milliseconds timeout) {
    // The main window by its title, activated, then alt+F4; again while it still shows (a key
    // sent while the window manager was still activating it goes nowhere).
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (int attempt = 0; attempt < 3 && !mainForm.empty(); ++attempt) {
        const auto form = Find(mainForm);
        if (!form || !child_->Running()) break;
        desktop_.Tool({"xdotool", "search", "--onlyvisible", "--limit", "1", "--pid", std::to_string(child_->Pid()), "--name",
                       TitlePattern(form->text), "windowactivate", "--sync"});
        desktop_.Key("alt+F4");
        if (child_->Wait(8s) != -2) break;
    }
    const int status = child_->Wait(std::max<std::chrono::milliseconds>(
        0ms, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())));
    if (status == -2) child_->Kill();
    return status;
}

std::string Program::Errors() const { return testsupport::ReadFileBytes(home_ / "stderr.txt"); }

fs::path Program::Trace() const {
    for (const fs::path& dir : {home_ / "home/Desktop", home_ / "home/.local/share/Quillora", home_ / "home"}) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir, ec))
            if (e.path().extension() == ".log") return e.path();
    }
    return {};
}

}  // namespace e2e
