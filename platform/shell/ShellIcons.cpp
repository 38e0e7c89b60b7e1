#include "platform/shell/ShellIcons.h"

#include "platform/shell/MountTable.h"
#include "platform/shell/ShellNamespace.h"

namespace {

ShellIconSource& Source() {
    static ShellIconSource source;
    return source;
}

}  // namespace

ShellIcon GetShellIcon(const ShellIdList& absolute, DWORD attributes, bool open) {
    switch (GetShellPlace(absolute)) {
    case ShellPlace::Desktop:
    case ShellPlace::DesktopFolder: return ShellIcon::Desktop;
    case ShellPlace::Home: return ShellIcon::Home;
    case ShellPlace::Documents: return ShellIcon::Documents;
    case ShellPlace::Computer: return ShellIcon::Computer;
    case ShellPlace::Volume:
        if (attributes & SFGAO_REMOVABLE) return ShellIcon::RemovableDrive;
        if (const auto table = ReadMountTable(); const MountEntry* m = MountOf(table, ShellIdListToPath(absolute)))
            if (m->remote) return ShellIcon::NetworkDrive;
        return ShellIcon::Drive;
    default:
        if (!(attributes & SFGAO_FOLDER)) return ShellIcon::File;
        return open ? ShellIcon::FolderOpen : ShellIcon::Folder;
    }
}

void SetShellIconSource(ShellIconSource source) { Source() = std::move(source); }

std::vector<std::uint32_t> ShellIconPixels(ShellIcon icon, int size) {
    if (!Source() || size <= 0) return {};
    std::vector<std::uint32_t> pixels = Source()(icon, size);
    if (pixels.size() != static_cast<std::size_t>(size) * static_cast<std::size_t>(size)) return {};
    return pixels;
}
