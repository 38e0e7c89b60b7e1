// The desktop's applications read from a temporary set of XDG data folders, and the argument
// lists that start one with files: split by the entry format's quoting, never by a shell.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/shell/DesktopApps.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class DesktopAppsTest : public ::testing::Test {
protected:
    void Entry(const fs::path& folder, const char* id, const std::string& body) const {
        fs::create_directories(folder / "applications");
        dir_.WriteFile(fs::relative(folder / "applications" / id, dir_.path()).string(), "[Desktop Entry]\n" + body);
    }
    static std::string Names(const std::vector<DesktopApp>& apps) {
        std::string out;
        for (const DesktopApp& a : apps) out += (out.empty() ? "" : ", ") + a.name;
        return out;
    }

    testsupport::TempDir dir_;
    fs::path home_ = dir_ / "home", system_ = dir_ / "system", extra_ = dir_ / "extra";
    testsupport::ScopedEnv homeEnv_{"XDG_DATA_HOME", home_.string()};
    testsupport::ScopedEnv dirsEnv_{"XDG_DATA_DIRS", system_.string() + ":" + extra_.string()};
};

TEST_F(DesktopAppsTest, ListsApplicationsThatTakeFilesWithEarlierFoldersWinning) {
    Entry(system_, "viewer.desktop", "Type=Application\nName=Mail Viewer\nExec=viewer %F\nMimeType=message/rfc822;\n");
    Entry(system_, "editor.desktop", "Type=Application\nName=Editor\nExec=editor %f\nMimeType=text/plain;\n");
    Entry(home_, "editor.desktop", "Type=Application\nName=Editor\nHidden=true\n");  // the user removed it
    Entry(extra_, "viewer.desktop", "Type=Application\nName=Old Viewer\nExec=old %f\n");
    Entry(system_, "settings.desktop", "Type=Application\nName=Settings\nExec=settings\n");  // takes no files
    Entry(system_, "helper.desktop", "Type=Application\nName=Helper\nNoDisplay=true\nExec=helper %u\n");
    Entry(system_, "broken.desktop", "Type=Application\nName=Broken\nExec=broken \"%f\n");
    Entry(system_, "link.desktop", "Type=Link\nName=Site\nURL=https://example.org\nExec=x %f\n");
    Entry(system_, "uploader.desktop", "[Other Group]\nName=Not this\n[Desktop Entry]\nType=Application\nName=Uploader\n"
                                       "Exec=upload --to \"my \\\\\\\\server\" %U\nMimeType=application/octet-stream;\n");
    const std::vector<DesktopApp> apps = ReadDesktopApps();
    EXPECT_EQ(Names(apps), "Mail Viewer, Uploader");
    ASSERT_EQ(apps.size(), 2u);
    EXPECT_TRUE(DesktopAppAccepts(apps[0], {"text/plain", "message/rfc822"}));
    EXPECT_FALSE(DesktopAppAccepts(apps[0], {"text/plain"}));
    EXPECT_EQ(DesktopAppCommands(apps[1], {"/m/a b.eml"}),
              (std::vector<std::vector<std::string>>{{"upload", "--to", "my \\server", "file:///m/a%20b.eml"}}));
    EXPECT_EQ(&CachedDesktopApps(), &CachedDesktopApps());
    EXPECT_EQ(Names(CachedDesktopApps()), "Mail Viewer, Uploader");
}

TEST_F(DesktopAppsTest, CommandsKeepEachFileOneArgument) {
    const std::vector<std::string> files = {"/m/it's $(rm -rf ~).eml", "/m/b;c.eml"};
    struct Case {
        const char* exec;
        std::vector<std::vector<std::string>> argv;
    };
    const Case cases[] = {
        {"viewer %F", {{"viewer", files[0], files[1]}}},
        {"viewer --one %f", {{"viewer", "--one", files[0]}, {"viewer", "--one", files[1]}}},
        {"viewer --file=%f --name %c", {{"viewer", "--file=" + files[0], "--name", "Viewer"}, {"viewer", "--file=" + files[1], "--name", "Viewer"}}},
        {"\"/opt/my viewer/run\" %i %U 100%%", {{"/opt/my viewer/run", "--icon", "mail", "file:///m/it%27s%20%24%28rm%20-rf%20~%29.eml", "file:///m/b%3Bc.eml", "100%"}}},
        {"viewer %d %F", {{"viewer", files[0], files[1]}}},  // deprecated codes go
        {"viewer \"%f\"", {}},   // no field codes within quotes
        {"viewer %x %F", {}},    // unknown field code
        {"viewer \"open %F", {}}, // unclosed quote
    };
    for (const Case& c : cases) {
        DesktopApp app;
        app.name = "Viewer";
        app.icon = "mail";
        app.exec = c.exec;
        EXPECT_EQ(DesktopAppCommands(app, files), c.argv) << c.exec;
    }

    std::vector<std::vector<std::string>> launched;
    SetDesktopAppLauncher([&](const std::vector<std::string>& argv) {
        launched.push_back(argv);
        return true;
    });
    DesktopApp app;
    app.exec = "viewer %f";
    EXPECT_TRUE(LaunchDesktopApp(app, files));
    EXPECT_EQ(launched.size(), 2u);
    EXPECT_FALSE(LaunchDesktopApp(app, {})) << "nothing to send";
    SetDesktopAppLauncher(nullptr);
}

}  // namespace
