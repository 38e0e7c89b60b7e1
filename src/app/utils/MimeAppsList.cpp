#include "app/utils/MimeAppsList.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/win/AtomicFile.h"

namespace fs = std::filesystem;

namespace {

constexpr char kDefaults[] = "Default Applications";
constexpr char kAdded[] = "Added Associations";

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool IsGroupLine(const std::string& line) {
    const std::string t = Trim(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

std::string GroupName(const std::string& line) {
    const std::string t = Trim(line);
    return t.substr(1, t.size() - 2);
}

std::vector<std::string> SplitList(const std::string& value) {
    std::vector<std::string> out;
    std::stringstream in(value);
    std::string item;
    while (std::getline(in, item, ';')) {
        item = Trim(item);
        if (!item.empty()) out.push_back(item);
    }
    return out;
}

std::vector<fs::path> PathList(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    const std::string list = value && *value ? value : fallback;
    std::vector<fs::path> out;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ':'))
        if (!item.empty() && item.front() == '/') out.emplace_back(item);
    return out;
}

fs::path HomeFolder(const char* variable, const char* belowHome) {
    const char* value = std::getenv(variable);
    if (value && *value == '/') return value;
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/") / belowHome;
}

}  // namespace

bool MimeAppsList::Load(const fs::path& file) {
    lines_.clear();
    std::error_code ec;
    if (!fs::exists(file, ec)) return !ec;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(line);
    }
    return !in.bad();
}

bool MimeAppsList::Save(const fs::path& file) const {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::string text;
    for (const std::string& line : lines_) text.append(line).push_back('\n');
    return ReplaceFileAtomically(file, text) == 0;
}

bool MimeAppsList::Find(const std::string& group, const std::string& key, size_t& line) const {
    bool inGroup = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (IsGroupLine(lines_[i])) {
            inGroup = GroupName(lines_[i]) == group;
            continue;
        }
        if (!inGroup) continue;
        const size_t eq = lines_[i].find('=');
        if (eq != std::string::npos && Trim(lines_[i].substr(0, eq)) == key) {
            line = i;
            return true;
        }
    }
    return false;
}

void MimeAppsList::Put(const std::string& group, const std::string& key, const std::string& value) {
    size_t at = 0;
    if (Find(group, key, at)) {
        lines_[at] = key + "=" + value;
        return;
    }
    // After the group's last entry, or a new group at the end.
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (!IsGroupLine(lines_[i]) || GroupName(lines_[i]) != group) continue;
        size_t end = i + 1;
        size_t lastEntry = i;
        for (; end < lines_.size() && !IsGroupLine(lines_[end]); ++end)
            if (!Trim(lines_[end]).empty()) lastEntry = end;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastEntry + 1), key + "=" + value);
        return;
    }
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + group + "]");
    lines_.push_back(key + "=" + value);
}

std::vector<std::string> MimeAppsList::Defaults(const std::string& mimeType) const {
    size_t at = 0;
    if (!Find(kDefaults, mimeType, at)) return {};
    return SplitList(lines_[at].substr(lines_[at].find('=') + 1));
}

void MimeAppsList::SetDefault(const std::string& mimeType, const std::string& id) {
    Put(kDefaults, mimeType, id + ";");
}

void MimeAppsList::AddAssociation(const std::string& mimeType, const std::string& id) {
    std::string value = id + ";";
    size_t at = 0;
    if (Find(kAdded, mimeType, at))
        for (const std::string& other : SplitList(lines_[at].substr(lines_[at].find('=') + 1)))
            if (other != id) value += other + ";";
    Put(kAdded, mimeType, value);
}

void MimeAppsList::RemoveType(const std::string& mimeType) {
    for (const char* group : {kDefaults, kAdded}) {
        size_t at = 0;
        while (Find(group, mimeType, at)) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

XdgFolders XdgFolders::FromEnvironment() {
    XdgFolders f;
    f.configHome = HomeFolder("XDG_CONFIG_HOME", ".config");
    f.configDirs = PathList("XDG_CONFIG_DIRS", "/etc/xdg");
    f.dataHome = HomeFolder("XDG_DATA_HOME", ".local/share");
    f.dataDirs = PathList("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    return f;
}

std::vector<fs::path> XdgFolders::MimeAppsFiles() const {
    std::vector<fs::path> files{configHome / "mimeapps.list"};
    for (const fs::path& d : configDirs) files.push_back(d / "mimeapps.list");
    files.push_back(dataHome / "applications" / "mimeapps.list");
    for (const fs::path& d : dataDirs) files.push_back(d / "applications" / "mimeapps.list");
    return files;
}

bool XdgFolders::IsInstalled(const std::string& desktopId) const {
    if (desktopId.empty() || desktopId.find('/') != std::string::npos) return false;
    std::error_code ec;
    if (fs::is_regular_file(dataHome / "applications" / desktopId, ec)) return true;
    for (const fs::path& d : dataDirs)
        if (fs::is_regular_file(d / "applications" / desktopId, ec)) return true;
    return false;
}
