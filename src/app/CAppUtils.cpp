#include "app/CAppUtils.h"

#include <array>
#include <chrono>
#include <random>

#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "platform/win/PrivateFolder.h"
#include "platform/win/ShellFolders.h"
#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinProcess.h"
#include "platform/win/WinString.h"

namespace {

constexpr char16_t kProductFolder[] = u"Quillora";
constexpr size_t kNameMaxBytes = 255;  // a file name on Linux file systems

WideString WithSlash(const WideString& path) {
    if (path.empty() || path.back() == u'/') return path;
    return path + u'/';
}

WideString ShellFolder(int csidl) {
    WideString path;
    if (FAILED(GetSpecialFolderPath(csidl, path))) return {};
    return WithSlash(path);
}

bool IsTaken(const WideString& path) {
    return WideFileExists(path) || WideDirectoryExists(path);
}

size_t Utf8Length(char16_t unit, bool pair) {
    if (pair) return 4;
    if (unit < 0x80) return 1;
    if (unit < 0x800) return 2;
    return 3;
}

// Cuts base so that base + ext fits the name limit; the extension is kept when it leaves room
// for at least one character of the base.
WideString FitName(const WideString& base, const WideString& ext) {
    const size_t extBytes = Utf16ToUtf8(ext).size();
    if (Utf16ToUtf8(base).size() + extBytes <= kNameMaxBytes) return base + ext;
    if (extBytes + 4 <= kNameMaxBytes && !base.empty()) return CutToUtf8Bytes(base, kNameMaxBytes - extBytes) + ext;
    return CutToUtf8Bytes(base + ext, kNameMaxBytes);
}

// The extension of a name: from its last "." on, or empty.
size_t ExtensionStart(const WideString& name) {
    const size_t dot = name.rfind(u'.');
    return dot == WideString::npos ? name.size() : dot;
}

bool IsReservedDeviceName(const WideString& part) {
    static const std::array<const char16_t*, 23> kNames = {
        u"CON",  u"PRN",  u"AUX",  u"CLOCK$", u"NUL",  u"COM1", u"COM2", u"COM3",
        u"COM4", u"COM5", u"COM6", u"COM7",   u"COM8", u"COM9", u"LPT1", u"LPT2",
        u"LPT3", u"LPT4", u"LPT5", u"LPT6",   u"LPT7", u"LPT8", u"LPT9"};
    for (const char16_t* n : kNames)
        if (part == n) return true;
    return false;
}

bool IsInvalidNameChar(char16_t c) {
    switch (c) {
    case u'<': case u'>': case u':': case u'"': case u'/': case u'\\': case u'|': case u'?': case u'*':
        return true;
    default:
        return c < 0x20 || c == 0x7F;
    }
}

}  // namespace

WideString CutToUtf8Bytes(const WideString& name, size_t maxBytes) {
    size_t bytes = 0;
    size_t i = 0;
    while (i < name.size()) {
        const char16_t c = name[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
                          name[i + 1] <= 0xDFFF;
        const size_t n = Utf8Length(c, pair);
        if (bytes + n > maxBytes) break;
        bytes += n;
        i += pair ? 2 : 1;
    }
    return name.substr(0, i);
}

WideString CAppUtils::getAppTempFolder() {
    QUILLORA_TRACE(u"CAppUtils::getAppTempFolder");
    // This user's own root: the system's temporary folder is shared by every user.
    const WideString root = PrivateTempRoot(kProductFolder);
    if (root.empty()) {
        LogPrintf(u"FAILED: no private temporary folder (error %u)", static_cast<unsigned>(GetLastError()));
        return {};
    }
    const WideString folder = root + Utf8ToUtf16(std::to_string(GetCurrentProcessId()));
    const bool res = MakePrivateFolder(folder);
    LogPrintf(u"res == %d", res ? 1 : 0);
    if (!res) {
        LogPrintf(u"FAILED: temporary folder %s (error %u)", folder.c_str(), static_cast<unsigned>(GetLastError()));
        return {};
    }
    return folder + u'/';
}

WideString CAppUtils::getAppDataFolder() {
    QUILLORA_TRACE(u"CAppUtils::getAppDataFolder");
    const WideString appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return {};
    const WideString folder = appData + kProductFolder + u'/';
    const bool res = WideCreateDir(folder) || WideDirectoryExists(folder);
    LogPrintf(u"res == %d", res ? 1 : 0);
    return folder;
}

WideString CAppUtils::getDesktopFolder() {
    QUILLORA_TRACE(u"CAppUtils::getDesktopFolder");
    return ShellFolder(CSIDL_DESKTOP);
}

WideString CAppUtils::getUserDocumentsFolder() {
    QUILLORA_TRACE(u"CAppUtils::getUserDocumentsFolder");
    return ShellFolder(CSIDL_PERSONAL);
}

WideString CAppUtils::getSystemFolder() {
    QUILLORA_TRACE(u"CAppUtils::getSystemFolder");
    return ShellFolder(CSIDL_SYSTEM);
}

WideString CAppUtils::getAppFolder() {
    try {
        return WideExtractFilePath(WideGetModuleFileName(nullptr));
    } catch (const Exception&) {
        return {};
    }
}

WideString CAppUtils::getFavoritesXmlFile() {
    QUILLORA_TRACE(u"CAppUtils::getFavoritesXmlFile");
    const WideString appData = getAppDataFolder();
    return appData.empty() ? WideString() : appData + u"favorites.xml";
}

WideString CAppUtils::getFavoritesFolder() {
    QUILLORA_TRACE(u"CAppUtils::getFavoritesFolder");
    const WideString appData = getAppDataFolder();
    // Without an application-data folder there is no place for favorites: a relative
    // "Favorites/" would land wherever the current folder happens to be.
    if (appData.empty()) return {};
    const WideString folder = appData + u"Favorites/";
    const bool res = WideCreateDir(folder) || WideDirectoryExists(folder);
    LogPrintf(u"res == %d", res ? 1 : 0);
    return folder;
}

WideString CAppUtils::MakeValidFileName(const WideString& text, bool lastComponentOnly) {
    QUILLORA_TRACE(u"CAppUtils::MakeValidFileName");
    WideString prefix;
    WideString part = text;
    if (lastComponentOnly) {
        const size_t slash = text.rfind(u'/');
        if (slash != WideString::npos) {
            prefix = text.substr(0, slash + 1);
            part = text.substr(slash + 1);
        }
    }
    for (char16_t& c : part)
        if (IsInvalidNameChar(c)) c = u'_';
    if (part == u"." || part == u"..") part.insert(part.begin(), u'_');
    if (IsReservedDeviceName(part)) part.insert(part.begin(), u'_');
    if (Utf16ToUtf8(part).size() > kNameMaxBytes) {
        const size_t dot = ExtensionStart(part);
        part = FitName(part.substr(0, dot), part.substr(dot));
    }
    return prefix + part;
}

WideString CAppUtils::MakeUniqueFileName(const WideString& path) {
    QUILLORA_TRACE(u"CAppUtils::MakeUniqueFileName");
    if (!IsTaken(path)) return path;

    const size_t slash = path.rfind(u'/');
    const WideString folder = slash == WideString::npos ? WideString() : path.substr(0, slash + 1);
    WideString name = path.substr(folder.size());
    const size_t dot = ExtensionStart(name);
    const WideString ext = name.substr(dot);
    WideString base = name.substr(0, dot);
    WideString stemFolder = folder;
    if (name.empty() && !stemFolder.empty()) {
        // A folder path "…/dir/": the number goes after the folder's own name.
        stemFolder.pop_back();
        const size_t up = stemFolder.rfind(u'/');
        base = stemFolder.substr(up == WideString::npos ? 0 : up + 1);
        stemFolder = stemFolder.substr(0, up == WideString::npos ? 0 : up + 1);
    }

    const auto candidate = [&](unsigned n) {
        const WideString number = u" (" + Utf8ToUtf16(std::to_string(n)) + u")";
        return stemFolder + FitName(base, number + ext);
    };
    for (unsigned n = 2; n <= 100; ++n) {
        const WideString c = candidate(n);
        if (!IsTaken(c)) return c;
    }
    static std::mt19937 generator(static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^ std::random_device{}()));
    std::uniform_int_distribution<unsigned> pick(100, 268435454);
    for (int tries = 0; tries < 99; ++tries) {
        const WideString c = candidate(pick(generator));
        if (!IsTaken(c)) return c;
    }
    // Never hand out a taken name: count on until a free one turns up.
    for (unsigned n = 101; n <= 268435454; ++n) {
        const WideString c = candidate(n);
        if (!IsTaken(c)) return c;
    }
    return {};
}
