// The mount table as the namespace's "Computer" folder shows it: "/" and the volumes a user
// mounts (disks, removable media, network shares), without the kernel's pseudo file systems.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct MountEntry {
    std::string device;
    std::string mountPoint;  // raw bytes, octal escapes of the table decoded
    std::string type;
    bool remote = false;     // a network or FUSE file system: may hang, never examined while filling
    bool removable = false;  // mounted under /media or /run/media
    bool visible = false;    // shown under "Computer"
};

// Every entry of a table in /proc/self/mounts form; a mount point mounted again replaces the
// earlier entry, as the later mount hides it.
std::vector<MountEntry> ParseMountTable(std::string_view text);
// The entries of /proc/self/mounts (empty when it cannot be read).
std::vector<MountEntry> ReadMountTable();
// The file whose changes (poll: POLLPRI) say that something was mounted or unmounted.
inline constexpr const char* kMountTableFile = "/proc/self/mounts";

// Where ReadMountTable takes the table's text from: null for kMountTableFile. Tests put a
// table of their own in; answers the source it replaces.
using MountTableSource = std::function<std::string()>;
MountTableSource SetMountTableSource(MountTableSource source);
// The entry whose mount point holds path (the longest one); null when none does.
const MountEntry* MountOf(const std::vector<MountEntry>& table, std::string_view path);
