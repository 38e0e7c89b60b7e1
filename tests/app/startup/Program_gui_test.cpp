// The program itself, started as a user starts it, without a display: the batch runs go
// offscreen and end on their own, an interactive run says it needs a display. Every run is
// bounded in time and reads no input.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/AppLocDB.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace {

struct Outcome {
    int status = -1;  // -2: killed after the time limit
    std::string err;
};

// How a run is started beyond its arguments.
struct Start {
    fs::path folder;                     // the working folder; the test's own when empty
    std::vector<std::string> extraEnv;   // NAME=value
};

Outcome RunProgram(const fs::path& home, const std::vector<std::string>& args, const Start& start = {}) {
    const fs::path errFile = home / "stderr.txt";
    std::vector<std::string> env = {
        "HOME=" + (home / "home").string(),
        "XDG_CONFIG_HOME=" + (home / "home/.config").string(),
        "XDG_DATA_HOME=" + (home / "home/.local/share").string(),
        "XDG_RUNTIME_DIR=" + (home / "run").string(),
        "QUILLORA_REGISTRY_DIR=" + (home / "registry").string(),
        "PATH=/usr/bin:/bin",
    };
    if (const char* asan = std::getenv("ASAN_OPTIONS")) env.push_back(std::string("ASAN_OPTIONS=") + asan);
    // Leaks of the system's libraries that no program can free are not ours to report.
    env.push_back("LSAN_OPTIONS=suppressions=" QUILLORA_LSAN_SUPPRESSIONS);
    env.insert(env.end(), start.extraEnv.begin(), start.extraEnv.end());
    fs::create_directories(home / "home/.config");
    fs::create_directories(home / "run");
    fs::permissions(home / "run", fs::perms::owner_all);
    std::vector<std::string> argv = {QUILLORA_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());

    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(in, 0);
        dup2(err, 2);
        if (!start.folder.empty() && chdir(start.folder.c_str()) != 0) _exit(126);
        std::vector<char*> a, e;
        for (auto& s : argv) a.push_back(s.data());
        for (auto& s : env) e.push_back(s.data());
        a.push_back(nullptr);
        e.push_back(nullptr);
        execve(a[0], a.data(), e.data());
        _exit(127);
    }
    Outcome out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            out.status = -2;
            out.err = ReadFileBytes(errFile);
            return out;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    out.err = ReadFileBytes(errFile);
    // A clean exit: no fault or leak found on the way out.
    EXPECT_EQ(out.err.find("Sanitizer"), std::string::npos) << out.err;
    return out;
}

}  // namespace

TEST(Program, InteractiveRunWithoutDisplaySaysSo) {
    TempDir dir;
    const Outcome out = RunProgram(dir.path(), {});
    EXPECT_EQ(out.status, 2) << out.err;
    EXPECT_NE(out.err.find("needs a display"), std::string::npos) << out.err;
}

TEST(Program, SetupWritesTheSettings) {
    TempDir dir;
    const Outcome out = RunProgram(dir.path(), {"/SETUP", "+DEBUG"});
    EXPECT_EQ(out.status, 0) << out.err;
    EXPECT_NE(ReadFileBytes(dir.path() / "registry/user.reg").find("Kestrelwright"), std::string::npos);
    // No desktop folder: the log is in the application-data folder.
    bool log = false;
    for (const auto& e : fs::directory_iterator(dir.path() / "home/.local/share/Quillora"))
        log = log || e.path().extension() == ".log";
    EXPECT_TRUE(log);
}

TEST(Program, TemplateRunsOffscreenAndEnds) {
    TempDir dir;
    const fs::path file = dir.path() / "template.txt";
    const Outcome out = RunProgram(dir.path(), {"+EXPTEXT", file.string()});
    EXPECT_EQ(out.status, 0) << out.err;
    // The template holds the texts of the menus, the toolbar and the search window.
    AppLocDB db;
    ASSERT_EQ(db.LoadDB(Utf8ToUtf16(file.string())), 0);
    EXPECT_EQ(db.GetString(u"1001"), u"Ready");
    EXPECT_EQ(db.GetString(u"Form1:File1"), u"File");
    EXPECT_EQ(db.GetString(u"Form1:TopBar:Button3"), u"Open");
    EXPECT_EQ(db.GetString(u"Form1:TopBar:Button10"), u"Search");
    EXPECT_EQ(db.GetString(u"SearchDlg:SearchPanel:Label1"), u"Search in:");
    EXPECT_EQ(db.GetString(u"SearchDlg:SearchPanel:RzBitBtn3"), u"START SEARCH");
}

TEST(Program, ExportRunsOffscreenAndReturnsItsStatus) {
    TempDir dir;
    std::filesystem::create_directories(dir / "in");
    dir.WriteFile("in/m.eml", "From: a@example.com\r\nTo: b@example.com\r\nSubject: Hello\r\n"
                              "Date: Mon, 1 Jan 2024 10:00:00 +0000\r\n\r\nBody text\r\n");
    const std::string out = (dir / "out").string();
    Outcome run = RunProgram(dir.path(), {"+EXPORT=" + (dir / "in").string() + "," + out + ",TXT,,"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "out/m.TXT")) << run.err;
    // The options of an export run are never saved.
    EXPECT_FALSE(fs::exists(dir / "registry/user.reg"));

    run = RunProgram(dir.path(), {"+EXPORT=" + (dir / "missing").string() + "," + out + ",TXT,,"});
    EXPECT_EQ(run.status, 2) << run.err;  // a bad request
    EXPECT_NE(run.err.find("does not exist"), std::string::npos) << run.err;
}

namespace {

void WriteMessage(const TempDir& dir, const std::string& name) {
    dir.WriteFile(name, "From: a@example.com\r\nTo: b@example.com\r\nSubject: Hello\r\n"
                        "Date: Mon, 1 Jan 2024 10:00:00 +0000\r\n\r\nBody text\r\n");
}

}  // namespace

TEST(Program, RelativeExportPathsNameFoldersOfTheCallersFolder) {
    // The program moves to its own folder at start; the paths the shell typed still count.
    TempDir dir;
    fs::create_directories(dir / "work/in");
    WriteMessage(dir, "work/in/m.eml");
    const Outcome run = RunProgram(dir.path(), {"+EXPORT=in,out,txt,,"}, {dir / "work", {}});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "work/out/m.txt")) << run.err;
    // Unicode text: the subject in UTF-16.
    EXPECT_NE(ReadFileBytes(dir / "work/out/m.txt").find(std::string("H\0e\0l\0l\0o\0", 10)), std::string::npos);
}

TEST(Program, ADisplayThatIsGoneStopsNoBatchRunAndRefusesAWindow) {
    TempDir dir;
    fs::create_directories(dir / "in");
    WriteMessage(dir, "in/m.eml");
    const Start deadDisplay{{}, {"DISPLAY=:77"}};
    const std::string out = (dir / "out").string();
    Outcome run = RunProgram(dir.path(), {"+EXPORT=" + (dir / "in").string() + "," + out + ",txt,,"}, deadDisplay);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "out/m.txt")) << run.err;

    const fs::path file = dir.path() / "template.txt";
    run = RunProgram(dir.path(), {"+EXPTEXT", file.string()}, deadDisplay);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(file));

    // A window cannot be shown: said plainly, with a status, not an abort.
    run = RunProgram(dir.path(), {"-LOAD"}, deadDisplay);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("cannot open the display \":77\""), std::string::npos) << run.err;
}

TEST(Program, ADamagedFavoritesFileDoesNotHoldUpAnExport) {
    TempDir dir;
    fs::create_directories(dir / "in");
    WriteMessage(dir, "in/m.eml");
    dir.WriteFile("home/.local/share/Quillora/favorites.xml", "<Favorites><Folder Name=\"broken");
    const std::string out = (dir / "out").string();
    const Outcome run = RunProgram(dir.path(), {"+EXPORT=" + (dir / "in").string() + "," + out + ",txt,,"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "out/m.txt")) << run.err;
    // What the box would have said is on standard error.
    EXPECT_NE(run.err.find("Favorites"), std::string::npos) << run.err;
}
