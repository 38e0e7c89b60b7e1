#include "platform/shell/ShellNamespace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include "platform/shell/MountTable.h"
#include "platform/shell/ShellChangeNotify.h"
#include "platform/win/FileNameText.h"
#include "platform/win/ShellFolders.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

// The first byte of an item says what it is; a volume's bytes are its mount point, an
// entry's its name.
enum ItemKind : char { kHome = 'H', kDesktopDir = 'D', kDocuments = 'M', kComputer = 'C', kVolume = 'V', kEntry = 'F' };

char KindOf(const std::string& item) { return item.empty() ? '\0' : item[0]; }
std::string NameOf(const std::string& item) { return item.substr(1); }
std::string MakeItem(ItemKind kind, std::string_view bytes = {}) { return std::string(1, kind) + std::string(bytes); }

HRESULT ErrnoResult(int err) { return HRESULT_FROM_WIN32(WinErrorFromErrno(err)); }

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

std::string SpecialPath(int csidl) {
    WideString path;
    return SUCCEEDED(GetSpecialFolderPath(csidl, path)) ? Utf16ToUtf8(path) : std::string();
}

std::string HomePath() {
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) : std::string();
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ValidEntryName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
    return folder.ends_with('/') ? folder + std::string(name) : folder + "/" + std::string(name);
}

// The folder below which a list's entries lie: nullopt when the list names no place, "" for
// the desktop and Computer (no folder of the file system).
std::optional<std::string> ResolvePath(const ShellIdList& list) {
    std::string path;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& item = list.Item(i);
        const char kind = KindOf(item);
        const bool first = i == 0;
        const bool afterComputer = i == 1 && KindOf(list.Item(0)) == kComputer;
        switch (kind) {
        case kHome: if (!first || item.size() != 1) return std::nullopt; path = HomePath(); break;
        case kDesktopDir: if (!first || item.size() != 1) return std::nullopt; path = SpecialPath(CSIDL_DESKTOPDIRECTORY); break;
        case kDocuments: if (!first || item.size() != 1) return std::nullopt; path = SpecialPath(CSIDL_PERSONAL); break;
        case kComputer: if (!first || item.size() != 1) return std::nullopt; break;
        case kVolume:
            if (!afterComputer || item.size() < 2 || item[1] != '/') return std::nullopt;
            path = NameOf(item);
            break;
        case kEntry:
            if (first || afterComputer || !ValidEntryName(NameOf(item))) return std::nullopt;
            path = JoinPath(path, NameOf(item));
            break;
        default: return std::nullopt;
        }
        if (kind != kComputer && path.empty()) return std::nullopt;
    }
    return path;
}

bool OnRemoteMount(const std::vector<MountEntry>& table, const std::string& path) {
    const MountEntry* m = MountOf(table, path);
    return m && m->remote;
}

// A network or FUSE volume mounted exactly there: it is never opened or examined while its
// parent is read, as a hung server would block the reader.
bool IsRemoteMountPoint(const std::vector<MountEntry>& table, const std::string& path) {
    const MountEntry* m = MountOf(table, path);
    return m && m->remote && m->mountPoint == path;
}

struct FolderAccess {
    std::mutex mutex;
    ShellFolderAccess settings;
};

FolderAccess& TheFolderAccess() {
    static FolderAccess access;
    return access;
}

ShellFolderAccess CurrentFolderAccess() {
    FolderAccess& a = TheFolderAccess();
    std::lock_guard lock(a.mutex);
    return a.settings;
}

DirPtr OpenFolder(const ShellFolderOpener& opener, const std::string& path) {
    return DirPtr(opener ? opener(path.c_str()) : opendir(path.c_str()));
}

// What reading a folder needs beside its path: the mount table and the opener.
struct ReadContext {
    std::vector<MountEntry> table;
    ShellFolderOpener open;
};

// Whether a local folder holds a folder: reads entries until the first one.
bool HasSubfolder(const ReadContext& context, const std::string& path) {
    DirPtr dir = OpenFolder(context.open, path);
    if (!dir) return false;
    const int fd = dirfd(dir.get());
    while (const dirent* e = readdir(dir.get())) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        if (e->d_type == DT_DIR) return true;
        if (IsRemoteMountPoint(context.table, JoinPath(path, name))) return true;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st {};
            if (fstatat(fd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode)) return true;
        }
    }
    return false;
}

DWORD FolderAttributes(const ReadContext& context, const std::string& path) {
    DWORD a = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR;
    if (OnRemoteMount(context.table, path) || HasSubfolder(context, path)) a |= SFGAO_HASSUBFOLDER;
    return a;
}

WideString VolumeName(const std::string& mountPoint) {
    if (mountPoint == "/") return u"File System";
    return Utf8ToUtf16(mountPoint.substr(mountPoint.rfind('/') + 1));
}

void DesktopChildren(std::vector<ShellItem>& items) {
    const std::string home = HomePath(), desktop = SpecialPath(CSIDL_DESKTOPDIRECTORY),
                      documents = SpecialPath(CSIDL_PERSONAL);
    const ReadContext context{ReadMountTable(), CurrentFolderAccess().Open};
    auto add = [&](ItemKind kind, const std::string& path, const char16_t* name) {
        if (!path.empty() && (IsRemoteMountPoint(context.table, path) || IsDirectory(path)))
            items.push_back({ShellIdList::Single(MakeItem(kind)), name, FolderAttributes(context, path)});
    };
    add(kHome, home, u"Home");
    if (desktop != home) add(kDesktopDir, desktop, u"Desktop");
    if (documents != home && documents != desktop) add(kDocuments, documents, u"Documents");
    items.push_back({ShellIdList::Single(MakeItem(kComputer)), u"Computer",
                     SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR});
}

void ComputerChildren(std::vector<ShellItem>& items) {
    for (const MountEntry& m : ReadMountTable()) {
        if (!m.visible) continue;
        DWORD a = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;
        if (m.removable) a |= SFGAO_REMOVABLE;
        items.push_back({ShellIdList::Single(MakeItem(kVolume, m.mountPoint)), VolumeName(m.mountPoint), a});
    }
    // The root first, then the volumes by name.
    std::stable_sort(items.begin(), items.end(), [](const ShellItem& a, const ShellItem& b) {
        const bool ra = a.id.Item(0) == MakeItem(kVolume, "/"), rb = b.id.Item(0) == MakeItem(kVolume, "/");
        if (ra != rb) return ra;
        return CompareShellNames(a.name, b.name) < 0;
    });
}

// The attributes of one entry of a folder; false when it cannot be examined (gone, a broken
// link, no permission).
bool EntryAttributes(const ReadContext& context, int dirFd, const std::string& folder, const char* name,
                     unsigned char type, DWORD& attributes) {
    const std::string path = JoinPath(folder, name);
    bool link = type == DT_LNK;
    bool isDir = type == DT_DIR;
    if (IsRemoteMountPoint(context.table, path)) {
        isDir = true;
        link = false;
    } else if (type == DT_LNK || type == DT_UNKNOWN) {
        struct stat st {};
        if (type == DT_UNKNOWN) {
            if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
            link = S_ISLNK(st.st_mode);
        }
        if (fstatat(dirFd, name, &st, 0) != 0) return false;
        isDir = S_ISDIR(st.st_mode);
    }
    attributes = SFGAO_FILESYSTEM | SFGAO_CANRENAME;
    if (isDir) attributes |= FolderAttributes(context, path);
    if (link) attributes |= SFGAO_LINK;
    if (name[0] == '.') attributes |= SFGAO_HIDDEN;
    return true;
}

// The entries of a folder, unsorted.
HRESULT ReadFolderEntries(const ReadContext& context, const std::string& path, DWORD flags,
                          std::vector<ShellItem>& items) {
    DirPtr dir = OpenFolder(context.open, path);
    if (!dir) return ErrnoResult(errno);
    const int fd = dirfd(dir.get());
    errno = 0;
    while (const dirent* e = readdir(dir.get())) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        if (name[0] == '.' && !(flags & SHCONTF_INCLUDEHIDDEN)) continue;
        DWORD a = 0;
        if (!EntryAttributes(context, fd, path, e->d_name, e->d_type, a)) continue;
        const bool folder = a & SFGAO_FOLDER;
        if (folder ? !(flags & SHCONTF_FOLDERS) : !(flags & SHCONTF_NONFOLDERS)) continue;
        items.push_back({ShellIdList::Single(MakeItem(kEntry, name)), Utf8ToUtf16(name), a});
        errno = 0;
    }
    if (errno != 0) return ErrnoResult(errno);
    NoteListedFolder(path);
    return S_OK;
}

// Reads a folder of a volume that may hang on a thread of its own and waits up to the
// deadline. A reader that misses it finishes (or hangs) alone and its answer is dropped.
HRESULT ReadRemoteFolderEntries(ReadContext context, const std::string& path, DWORD flags,
                                std::chrono::milliseconds deadline, std::vector<ShellItem>& items) {
    struct Answer {
        std::mutex mutex;
        std::condition_variable ready;
        bool done = false;
        HRESULT result = E_FAIL;
        std::vector<ShellItem> items;
    };
    auto answer = std::make_shared<Answer>();
    try {
        std::thread([answer, context = std::move(context), path, flags] {
            std::vector<ShellItem> found;
            const HRESULT hr = ReadFolderEntries(context, path, flags, found);
            std::lock_guard lock(answer->mutex);
            answer->result = hr;
            answer->items = std::move(found);
            answer->done = true;
            answer->ready.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return HRESULT_FROM_WIN32(ERROR_NOT_ENOUGH_MEMORY);
    }
    std::unique_lock lock(answer->mutex);
    if (!answer->ready.wait_for(lock, deadline, [&] { return answer->done; })) return kShellNotReachable;
    items = std::move(answer->items);
    return answer->result;
}

HRESULT FileSystemChildren(const std::string& path, DWORD flags, std::vector<ShellItem>& items) {
    const ShellFolderAccess access = CurrentFolderAccess();
    ReadContext context{ReadMountTable(), access.Open};
    const HRESULT hr = OnRemoteMount(context.table, path)
                           ? ReadRemoteFolderEntries(std::move(context), path, flags, access.RemoteDeadline, items)
                           : ReadFolderEntries(context, path, flags, items);
    if (FAILED(hr)) {
        items.clear();
        return hr;
    }
    std::sort(items.begin(), items.end(), [](const ShellItem& a, const ShellItem& b) { return CompareShellItems(a, b) < 0; });
    return S_OK;
}

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

// Secondary strength ignores case; numeric collation orders digit runs by their value.
const UCollator* NaturalCollator() {
    static const std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        // The POSIX locale's collation is code-point order: the root order serves it instead.
        const char* locale = uloc_getDefault();
        if (!locale || std::string_view(locale).starts_with("en_US_POSIX")) locale = "";
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<UCollator, CollatorCloser> c(ucol_open(locale, &status));
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            c.reset(ucol_open("", &status));
        }
        if (c) {
            ucol_setStrength(c.get(), UCOL_SECONDARY);
            ucol_setAttribute(c.get(), UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
        }
        return c;
    }();
    return collator.get();
}

}  // namespace

ShellFolderAccess SetShellFolderAccess(ShellFolderAccess access) {
    FolderAccess& a = TheFolderAccess();
    std::lock_guard lock(a.mutex);
    return std::exchange(a.settings, std::move(access));
}

int CompareShellNames(std::u16string_view a, std::u16string_view b) {
    if (const UCollator* c = NaturalCollator()) {
        const UCollationResult r = ucol_strcoll(c, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                static_cast<int32_t>(b.size()));
        if (r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
    }
    return a.compare(b) < 0 ? -1 : a == b ? 0 : 1;
}

int CompareShellItems(const ShellItem& a, const ShellItem& b) {
    const bool fa = a.attributes & SFGAO_FOLDER, fb = b.attributes & SFGAO_FOLDER;
    if (fa != fb) return fa ? -1 : 1;
    if (const int r = CompareShellNames(a.name, b.name); r != 0) return r;
    // Names that differ only in bytes shown alike keep a stable order.
    return a.id < b.id ? -1 : a.id == b.id ? 0 : 1;
}

HRESULT EnumShellFolder(const ShellIdList& folder, DWORD flags, std::vector<ShellItem>& items) {
    items.clear();
    const std::optional<std::string> path = ResolvePath(folder);
    if (!path) return E_INVALIDARG;
    if (folder.Empty()) {
        if (flags & SHCONTF_FOLDERS) DesktopChildren(items);
        return S_OK;
    }
    if (folder.Count() == 1 && KindOf(folder.Item(0)) == kComputer) {
        if (flags & SHCONTF_FOLDERS) ComputerChildren(items);
        return S_OK;
    }
    return FileSystemChildren(*path, flags, items);
}

HRESULT GetShellAttributes(const ShellIdList& absolute, DWORD& attributes) {
    attributes = 0;
    const std::optional<std::string> path = ResolvePath(absolute);
    if (!path) return E_INVALIDARG;
    if (absolute.Empty() || path->empty()) {
        attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
        return S_OK;
    }
    const ShellIdList parent = absolute.Parent();
    const std::string& last = absolute.Item(absolute.Count() - 1);
    if (KindOf(last) != kEntry) {
        // A place of the desktop or Computer: ask its folder's enumeration.
        std::vector<ShellItem> siblings;
        if (HRESULT hr = EnumShellFolder(parent, SHCONTF_FOLDERS, siblings); FAILED(hr)) return hr;
        for (const ShellItem& s : siblings)
            if (s.id.Item(0) == last) attributes = s.attributes;
        return attributes ? S_OK : HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    const std::string folder = *ResolvePath(parent);
    const ReadContext context{ReadMountTable(), CurrentFolderAccess().Open};
    if (IsRemoteMountPoint(context.table, *path)) {
        attributes = SFGAO_FILESYSTEM | SFGAO_CANRENAME | FolderAttributes(context, *path);
        return S_OK;
    }
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return ErrnoResult(errno);
    const bool ok = EntryAttributes(context, fd, folder, NameOf(last).c_str(), DT_UNKNOWN, attributes);
    const int err = errno;
    close(fd);
    return ok ? S_OK : ErrnoResult(err);
}

std::string ShellIdListToPath(const ShellIdList& absolute) {
    if (absolute.Empty()) return SpecialPath(CSIDL_DESKTOPDIRECTORY);
    return ResolvePath(absolute).value_or(std::string());
}

std::optional<ShellIdList> ParseShellPath(std::string_view path) {
    if (path.empty() || path[0] != '/') return std::nullopt;
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < path.size();) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string_view part = path.substr(at, end - at);
        if (part == "..") return std::nullopt;
        if (!part.empty() && part != "." ) parts.emplace_back(part);
        at = end + 1;
    }
    std::string canonical;
    for (const std::string& p : parts) canonical += "/" + p;
    if (canonical.empty()) canonical = "/";
    struct stat st {};
    if (stat(canonical.c_str(), &st) != 0) return std::nullopt;

    auto under = [&](const std::string& folder) {
        return !folder.empty() && (canonical == folder || (canonical.starts_with(folder) &&
                                   (folder.ends_with('/') || canonical[folder.size()] == '/')));
    };
    ShellIdList list;
    std::string base;
    if (const std::string home = HomePath(); under(home)) {
        list = ShellIdList::Single(MakeItem(kHome));
        base = home;
    } else {
        std::vector<MountEntry> table = ReadMountTable();
        std::erase_if(table, [](const MountEntry& m) { return !m.visible; });
        const MountEntry* m = MountOf(table, canonical);
        base = m ? m->mountPoint : "/";
        list = ShellIdList::Single(MakeItem(kComputer)) + ShellIdList::Single(MakeItem(kVolume, base));
    }
    const std::string rest = canonical.substr(std::min(base.size(), canonical.size()));
    for (std::size_t at = 0; at < rest.size();) {
        const std::size_t end = std::min(rest.find('/', at), rest.size());
        if (end > at) list = list + ShellIdList::Single(MakeItem(kEntry, rest.substr(at, end - at)));
        at = end + 1;
    }
    return list;
}

std::optional<ShellIdList> GetSpecialFolderIdList(int csidl) {
    switch (csidl & ~CSIDL_FLAG_MASK) {
    case CSIDL_DESKTOP: return ShellIdList();
    case CSIDL_DRIVES: return ShellIdList::Single(MakeItem(kComputer));
    case CSIDL_PROFILE: return ParseShellPath(HomePath());
    default: {
        WideString path;
        if (FAILED(GetSpecialFolderPath(csidl & ~CSIDL_FLAG_MASK, path))) return std::nullopt;
        return ParseShellPath(Utf16ToUtf8(path));
    }
    }
}

HRESULT SetShellItemName(const ShellIdList& folder, const ShellIdList& item, const WideString& name,
                         ShellIdList& newItem) {
    const std::optional<std::string> folderPath = ResolvePath(folder);
    if (!folderPath || folderPath->empty() || item.Count() != 1 || KindOf(item.Item(0)) != kEntry ||
        !ResolvePath(folder + item))
        return E_INVALIDARG;
    const std::string bytes = FileNameFromUtf16(name);
    if (!ValidEntryName(bytes)) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    if (bytes.size() > NAME_MAX) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    const std::string from = JoinPath(*folderPath, NameOf(item.Item(0)));
    const std::string to = JoinPath(*folderPath, bytes);
    if (from != to && renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0)
        return ErrnoResult(errno);
    newItem = ShellIdList::Single(MakeItem(kEntry, bytes));
    return S_OK;
}

WideString EditedShellName(const ShellIdList& item, const WideString& typed) {
    if (item.Count() != 1 || KindOf(item.Item(0)) != kEntry) return typed;
    const std::string name = NameOf(item.Item(0));
    // The name's characters as shown, each with its bytes; those shown other than they are
    // stored wait, in order, for the typed text to use them.
    struct Lossy {
        WideString shown;
        std::string bytes;
    };
    std::vector<Lossy> lossy;
    for (std::size_t i = 0; i < name.size();) {
        std::size_t n = std::min<std::size_t>(4, name.size() - i);
        WideString shown;
        for (; n > 0; --n) {
            shown = Utf8ToUtf16(std::string_view(name).substr(i, n));
            const bool pair = shown.size() == 2 && shown[0] >= 0xD800 && shown[0] <= 0xDBFF;
            if (shown.size() == 1 || pair) break;
        }
        const std::string bytes = name.substr(i, n);
        if (Utf16ToUtf8(shown) != bytes) lossy.push_back({shown, bytes});
        i += n;
    }
    WideString out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (next < lossy.size() && typed.compare(i, lossy[next].shown.size(), lossy[next].shown) == 0) {
            out += FileNameToUtf16(lossy[next].bytes);
            i += lossy[next].shown.size() - 1;
            ++next;
        } else if (const char16_t c = typed[i]; c >= 0xD800 && c <= 0xDFFF &&
                   !(c <= 0xDBFF && i + 1 < typed.size() && typed[i + 1] >= 0xDC00 && typed[i + 1] <= 0xDFFF)) {
            // A lone surrogate is stored as its three bytes, which are not UTF-8 either.
            out += FileNameToUtf16(Utf16ToUtf8(std::u16string_view(&typed[i], 1)));
        } else {
            out += c;
            if (c >= 0xD800 && c <= 0xDBFF) out += typed[++i];
        }
    }
    return out;
}

ShellPlace GetShellPlace(const ShellIdList& absolute) {
    if (absolute.Empty()) return ShellPlace::Desktop;
    if (!ResolvePath(absolute)) return ShellPlace::None;
    switch (KindOf(absolute.Item(absolute.Count() - 1))) {
    case kHome: return ShellPlace::Home;
    case kDesktopDir: return ShellPlace::DesktopFolder;
    case kDocuments: return ShellPlace::Documents;
    case kComputer: return ShellPlace::Computer;
    case kVolume: return ShellPlace::Volume;
    default: return ShellPlace::Entry;
    }
}

WideString GetShellDisplayName(const ShellIdList& absolute, ShellNameKind kind) {
    if (kind == ShellNameKind::ForParsing) return Utf8ToUtf16(ShellIdListToPath(absolute));
    if (absolute.Empty()) return u"Desktop";
    if (!ResolvePath(absolute)) return {};
    const std::string& last = absolute.Item(absolute.Count() - 1);
    switch (KindOf(last)) {
    case kHome: return u"Home";
    case kDesktopDir: return u"Desktop";
    case kDocuments: return u"Documents";
    case kComputer: return u"Computer";
    case kVolume: return VolumeName(NameOf(last));
    default: return Utf8ToUtf16(NameOf(last));
    }
}
