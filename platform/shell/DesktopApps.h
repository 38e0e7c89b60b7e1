// The desktop's applications that open files, read from the ".desktop" entries of the XDG data
// folders, and starting one with files. An entry's command line is split by the entry format's
// own quoting rules into an argument list: nothing ever goes through a shell.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct DesktopApp {
    std::string id;    // the entry's file name, e.g. "viewer.desktop"
    std::string file;  // the entry's full path
    std::string name;
    std::string icon;
    std::string exec;
    std::vector<std::string> mimeTypes;
};

// The applications whose command takes files or URLs (%f, %F, %u, %U), shown in menus (not
// Hidden or NoDisplay), in order of name. An entry of $XDG_DATA_HOME/applications hides one of
// the same id in the folders of $XDG_DATA_DIRS (default /usr/local/share:/usr/share), and an
// earlier folder hides a later one. Entries that cannot be read or parsed are left out.
std::vector<DesktopApp> ReadDesktopApps();
// As ReadDesktopApps, read again only when the data folders or their application folders
// changed since the last call (GUI thread).
const std::vector<DesktopApp>& CachedDesktopApps();
// One entry file; false when it is not an application that takes files.
bool ParseDesktopApp(const std::string& file, DesktopApp& app);

// Whether the application declares one of the types.
bool DesktopAppAccepts(const DesktopApp& app, const std::vector<std::string>& types);

// The argument lists that run the application with the files: one list when its command
// takes several (%F, %U), else one per file. Files go as paths for %f/%F and as "file://" URLs
// for %u/%U. Empty when the command is malformed (an unclosed quote, an unknown field code).
std::vector<std::vector<std::string>> DesktopAppCommands(const DesktopApp& app, const std::vector<std::string>& files);

// Starts the application with the files; false when a command could not be started. A
// replacement launcher (tests) receives each argument list instead.
bool LaunchDesktopApp(const DesktopApp& app, const std::vector<std::string>& files);
using DesktopAppLauncher = std::function<bool(const std::vector<std::string>& argv)>;
void SetDesktopAppLauncher(DesktopAppLauncher launcher);
