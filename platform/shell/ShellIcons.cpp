#include "platform/shell/ShellIcons.h"

#include <algorithm>

#include "platform/shell/MountTable.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/win/WinString.h"

namespace {

ShellIconSource& Source() {
    static ShellIconSource source;
    return source;
}

ShellTypeNameSource& TypeSource() {
    static ShellTypeNameSource source;
    return source;
}

ShellTypeIconNameSource& IconNameSource() {
    static ShellTypeIconNameSource source;
    return source;
}

ShellNamedIconSource& NamedSource() {
    static ShellNamedIconSource source;
    return source;
}

ShellMimeTypeSource& MimeSource() {
    static ShellMimeTypeSource source;
    return source;
}

bool SquareOf(const std::vector<std::uint32_t>& pixels, int size) {
    return pixels.size() == static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
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
    return SquareOf(pixels, size) ? pixels : std::vector<std::uint32_t>();
}

void SetShellTypeIconNameSource(ShellTypeIconNameSource source) { IconNameSource() = std::move(source); }

std::string ShellTypeIconName(const std::string& path) {
    return IconNameSource() && !path.empty() ? IconNameSource()(path) : std::string();
}

void SetShellNamedIconSource(ShellNamedIconSource source) { NamedSource() = std::move(source); }

std::vector<std::uint32_t> ShellNamedIconPixels(const std::string& name, int size) {
    if (!NamedSource() || name.empty() || size <= 0) return {};
    std::vector<std::uint32_t> pixels = NamedSource()(name, size);
    return SquareOf(pixels, size) ? pixels : std::vector<std::uint32_t>();
}

WideString GetShellTypeName(const std::string& path, DWORD attributes) {
    if (!(attributes & SFGAO_FILESYSTEM) || path.empty()) return u"System Folder";
    const bool folder = (attributes & SFGAO_FOLDER) != 0;
    if (TypeSource())
        if (WideString name = TypeSource()(path, folder); !name.empty()) return name;
    if (folder) return u"Folder";
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot <= slash + 1) || dot + 1 == path.size()) return u"File";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return Utf8ToUtf16(ext) + u" File";
}

void SetShellTypeNameSource(ShellTypeNameSource source) { TypeSource() = std::move(source); }

void SetShellMimeTypeSource(ShellMimeTypeSource source) { MimeSource() = std::move(source); }

std::vector<std::string> ShellMimeTypes(const std::string& path, bool folder) {
    if (folder) return {"inode/directory"};
    std::vector<std::string> types;
    if (MimeSource()) types = MimeSource()(path, false);
    if (std::find(types.begin(), types.end(), "application/octet-stream") == types.end()) types.push_back("application/octet-stream");
    return types;
}
