#include "platform/shell/DesktopApps.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string_view>

#include "platform/shell/ShellFileOps.h"
#include "platform/win/ProcessSpawn.h"
#include "platform/win/ShellFolders.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxEntryBytes = 64 * 1024;

DesktopAppLauncher& Launcher() {
    static DesktopAppLauncher launcher;
    return launcher;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

// The value escapes of the entry format: \s \n \t \r \\.
std::string Unescape(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (const char c = value[++i]) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: out += '\\'; out += c; break;  // left for the command's own quoting
        }
    }
    return out;
}

bool IsTrue(const std::string& v) { return v == "true"; }

// The command split into arguments: blanks separate, double quotes group, and within quotes a
// backslash escapes ", `, $ and \. False for an unclosed quote.
bool SplitCommand(const std::string& command, std::vector<std::string>& args, std::vector<bool>& quoted) {
    std::string arg;
    bool inArg = false, inQuotes = false, wasQuoted = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (inQuotes) {
            if (c == '"') inQuotes = false;
            else if (c == '\\' && i + 1 < command.size() && std::string_view("\"`$\\").find(command[i + 1]) != std::string_view::npos)
                arg += command[++i];
            else arg += c;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inArg) {
                args.push_back(arg);
                quoted.push_back(wasQuoted);
            }
            arg.clear();
            inArg = wasQuoted = false;
        } else if (c == '"') {
            inQuotes = inArg = wasQuoted = true;
        } else if (c == '\\' && i + 1 < command.size()) {
            arg += command[++i];
            inArg = true;
        } else {
            arg += c;
            inArg = true;
        }
    }
    if (inQuotes) return false;
    if (inArg) {
        args.push_back(arg);
        quoted.push_back(wasQuoted);
    }
    return true;
}

std::string FileUrl(const std::string& path) { return "file://" + EncodePathForUrl(path); }

bool TakesFiles(const std::string& exec) {
    for (const char* code : {"%f", "%F", "%u", "%U"})
        if (exec.find(code) != std::string::npos) return true;
    return false;
}

// One argument list for files (all of them for %F/%U, else the one file).
bool Expand(const DesktopApp& app, const std::vector<std::string>& args, const std::vector<bool>& quoted,
            const std::vector<std::string>& files, std::vector<std::string>& argv) {
    for (std::size_t a = 0; a < args.size(); ++a) {
        const std::string& arg = args[a];
        if (!quoted[a] && (arg == "%F" || arg == "%U")) {
            for (const std::string& f : files) argv.push_back(arg == "%F" ? f : FileUrl(f));
            continue;
        }
        if (!quoted[a] && arg == "%i") {
            if (!app.icon.empty()) argv.insert(argv.end(), {"--icon", app.icon});
            continue;
        }
        std::string out;
        bool onlyDropped = true;  // an argument of deprecated codes alone goes
        for (std::size_t i = 0; i < arg.size(); ++i) {
            if (arg[i] != '%') {
                out += arg[i];
                onlyDropped = false;
                continue;
            }
            const char code = i + 1 < arg.size() ? arg[i + 1] : 0;
            if (std::string_view("dDnNvm").find(code) == std::string_view::npos || !code) onlyDropped = false;
            if (quoted[a] && (i + 1 == arg.size() || arg[i + 1] != '%')) return false;  // no field codes in quotes
            if (i + 1 == arg.size()) return false;
            switch (arg[++i]) {
            case '%': out += '%'; break;
            case 'f': out += files.empty() ? std::string() : files.front(); break;
            case 'u': out += files.empty() ? std::string() : FileUrl(files.front()); break;
            case 'c': out += app.name; break;
            case 'k': out += app.file; break;
            case 'd': case 'D': case 'n': case 'N': case 'v': case 'm': break;  // deprecated: dropped
            default: return false;
            }
        }
        if (!onlyDropped || quoted[a]) argv.push_back(out);
    }
    return !argv.empty();
}

}  // namespace

bool ParseDesktopApp(const std::string& file, DesktopApp& app) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) > kMaxEntryBytes || ec) return false;
    std::ifstream in(file);
    std::string line;
    bool inEntry = false;
    std::string type;
    bool hidden = false;
    app = DesktopApp{};
    app.file = file;
    app.id = fs::path(file).filename().string();
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inEntry || eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        while (!key.empty() && key.back() == ' ') key.pop_back();
        std::string value = line.substr(eq + 1);
        while (!value.empty() && value.front() == ' ') value.erase(value.begin());
        if (key == "Type") type = value;
        else if (key == "Name") app.name = Unescape(value);
        else if (key == "Icon") app.icon = Unescape(value);
        else if (key == "Exec") app.exec = Unescape(value);
        else if (key == "MimeType") app.mimeTypes = Split(value, ';');
        else if (key == "Hidden" || key == "NoDisplay") hidden |= IsTrue(value);
    }
    // A command that cannot be split would never start: not offered.
    return type == "Application" && !hidden && !app.name.empty() && TakesFiles(app.exec) &&
           !DesktopAppCommands(app, {"/"}).empty();
}

std::vector<DesktopApp> ReadDesktopApps() {
    std::vector<DesktopApp> apps;
    std::set<std::string> seen;
    for (const std::string& folder : XdgDataFolders()) {
        std::error_code ec;
        std::vector<std::string> entries;
        for (fs::directory_iterator it(folder + "/applications", ec), end; !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".desktop") entries.push_back(it->path().string());
        std::sort(entries.begin(), entries.end());
        for (const std::string& entry : entries) {
            const std::string id = fs::path(entry).filename().string();
            if (!seen.insert(id).second) continue;  // an earlier folder's entry wins, hidden or not
            DesktopApp app;
            if (ParseDesktopApp(entry, app)) apps.push_back(std::move(app));
        }
    }
    std::stable_sort(apps.begin(), apps.end(), [](const DesktopApp& a, const DesktopApp& b) { return a.name < b.name; });
    return apps;
}

const std::vector<DesktopApp>& CachedDesktopApps() {
    static std::string key;
    static std::vector<DesktopApp> apps;
    std::string now;
    for (const std::string& folder : XdgDataFolders()) {
        struct stat st {};
        const std::string dir = folder + "/applications";
        now += dir + '\n';
        if (stat(dir.c_str(), &st) == 0)
            now += std::to_string(st.st_mtim.tv_sec) + '.' + std::to_string(st.st_mtim.tv_nsec) + '\n';
    }
    if (now != key) {
        apps = ReadDesktopApps();
        key = std::move(now);
    }
    return apps;
}

bool DesktopAppAccepts(const DesktopApp& app, const std::vector<std::string>& types) {
    for (const std::string& t : types)
        if (std::find(app.mimeTypes.begin(), app.mimeTypes.end(), t) != app.mimeTypes.end()) return true;
    return false;
}

std::vector<std::vector<std::string>> DesktopAppCommands(const DesktopApp& app, const std::vector<std::string>& files) {
    std::vector<std::string> args;
    std::vector<bool> quoted;
    if (files.empty() || !SplitCommand(app.exec, args, quoted) || args.empty()) return {};
    const bool many = std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "%F" || a == "%U"; });
    std::vector<std::vector<std::string>> commands;
    const std::size_t runs = many ? 1 : files.size();
    for (std::size_t i = 0; i < runs; ++i) {
        std::vector<std::string> argv;
        const std::vector<std::string> these = many ? files : std::vector<std::string>{files[i]};
        if (!Expand(app, args, quoted, these, argv)) return {};
        commands.push_back(std::move(argv));
    }
    return commands;
}

bool LaunchDesktopApp(const DesktopApp& app, const std::vector<std::string>& files) {
    const std::vector<std::vector<std::string>> commands = DesktopAppCommands(app, files);
    if (commands.empty()) return false;
    bool ok = true;
    for (const std::vector<std::string>& argv : commands) ok &= Launcher() ? Launcher()(argv) : SpawnDetached(argv);
    return ok;
}

void SetDesktopAppLauncher(DesktopAppLauncher launcher) { Launcher() = std::move(launcher); }
