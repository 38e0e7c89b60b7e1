#include "platform/shell/MountTable.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <mutex>
#include <sstream>
#include <utility>

namespace {

constexpr std::array kPseudoTypes{
    "autofs",   "binfmt_misc", "bpf",    "cgroup",  "cgroup2", "configfs", "debugfs", "devpts",
    "devtmpfs", "efivarfs",    "fusectl", "hugetlbfs", "mqueue", "nsfs",   "proc",    "pstore",
    "ramfs",    "rpc_pipefs",  "securityfs", "selinuxfs", "squashfs", "sysfs", "tmpfs", "tracefs"};
constexpr std::array kRemoteTypes{"9p", "afs", "ceph", "cifs", "davfs", "glusterfs", "ncpfs", "nfs",
                                  "nfs4", "smb3", "smbfs"};
// System places that hold mounts of their own but nothing a user browses to as a volume.
constexpr std::array kSystemPrefixes{"/proc", "/sys", "/dev", "/run", "/snap", "/boot", "/var/lib"};

bool OneOf(std::string_view value, const auto& list) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool Under(std::string_view path, std::string_view folder) {
    if (folder == "/") return !path.empty() && path[0] == '/';
    return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

// The table writes space, tab, newline and backslash as \ooo.
std::string Unescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                        field.begin() + static_cast<std::ptrdiff_t>(i) + 4, [](char c) { return c >= '0' && c <= '7'; })) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

// A user-space file system answers only as fast as its daemon, which may wait on a network.
bool MayHang(std::string_view type) {
    return OneOf(type, kRemoteTypes) || type == "fuse" || type == "fuseblk" || type.starts_with("fuse.");
}

struct Source {
    std::mutex mutex;
    MountTableSource text;
};

Source& TheSource() {
    static Source source;
    return source;
}

bool Visible(const MountEntry& e) {
    if (e.mountPoint == "/") return true;
    if (e.mountPoint.empty() || e.mountPoint[0] != '/' || OneOf(e.type, kPseudoTypes)) return false;
    if (e.removable) return true;
    return std::none_of(kSystemPrefixes.begin(), kSystemPrefixes.end(),
                        [&](const char* p) { return Under(e.mountPoint, p); });
}

}  // namespace

std::vector<MountEntry> ParseMountTable(std::string_view text) {
    std::vector<MountEntry> table;
    std::istringstream in{std::string(text)};
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, point, type;
        if (!(fields >> device >> point >> type)) continue;
        MountEntry e{Unescape(device), Unescape(point), type};
        e.remote = MayHang(type);
        e.removable = Under(e.mountPoint, "/media") || Under(e.mountPoint, "/run/media");
        e.visible = Visible(e);
        std::erase_if(table, [&](const MountEntry& old) { return old.mountPoint == e.mountPoint; });
        table.push_back(std::move(e));
    }
    return table;
}

MountTableSource SetMountTableSource(MountTableSource source) {
    Source& s = TheSource();
    std::lock_guard lock(s.mutex);
    return std::exchange(s.text, std::move(source));
}

std::vector<MountEntry> ReadMountTable() {
    MountTableSource source;
    {
        Source& s = TheSource();
        std::lock_guard lock(s.mutex);
        source = s.text;
    }
    if (source) return ParseMountTable(source());
    std::ifstream in(kMountTableFile);
    std::ostringstream text;
    text << in.rdbuf();
    return ParseMountTable(text.str());
}

const MountEntry* MountOf(const std::vector<MountEntry>& table, std::string_view path) {
    const MountEntry* best = nullptr;
    for (const MountEntry& e : table)
        if (Under(path, e.mountPoint) && (!best || e.mountPoint.size() > best->mountPoint.size())) best = &e;
    return best;
}
