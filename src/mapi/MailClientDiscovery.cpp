// MapiLibs::Enum: the candidate MAPI libraries from the mail clients registered under the
// local machine, the default client first, with the program registered for Outlook when
// Outlook has no library of its own.
#include <cstdlib>

#include "app/cLogger.h"
#include "mapi/MapiLibs.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

namespace {

constexpr const char* kClientsKey = "SOFTWARE\\Clients\\Mail";
constexpr const char* kMessagingKey = "SOFTWARE\\Microsoft\\Windows Messaging Subsystem";
constexpr const char* kMapiAppsKey = "SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\MSMapiApps";
constexpr const char* kOutlook = "Microsoft Outlook";

// Open key handle, closed when it goes.
class Key {
public:
    ~Key() {
        if (h_) RegCloseKey(h_);
    }
    LONG Open(HKEY parent, const AnsiString& path, REGSAM access) {
        return RegOpenKeyExW(parent, Utf8ToUtf16(path).c_str(), 0, access, &h_);
    }
    HKEY get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

// %NAME% replaced by the environment variable; unknown names stay as written.
AnsiString ExpandEnvironment(const AnsiString& text) {
    AnsiString out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('%', at);
        const std::size_t close = open == AnsiString::npos ? AnsiString::npos : text.find('%', open + 1);
        if (close == AnsiString::npos) {
            out += text.substr(at);
            break;
        }
        out += text.substr(at, open - at);
        const AnsiString name = text.substr(open + 1, close - open - 1);
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        out += value ? AnsiString(value) : text.substr(open, close - open + 1);
        at = close + 1;
    }
    return out;
}

AnsiString ProgramFileName() {
    char16_t buf[4096] = {};
    const DWORD n = GetModuleFileNameW(nullptr, buf, 4096);
    AnsiString path = Utf16ToUtf8(std::u16string_view(buf, n));
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == AnsiString::npos ? path : path.substr(cut + 1);
}

}  // namespace

AnsiString MapiLibs::mapi_RegQueryString(HKEY key, const AnsiString& name) {
    const WideString wname = Utf8ToUtf16(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
    if (type != REG_SZ && type != REG_EXPAND_SZ) return "";
    std::u16string data(size / 2 + 1, u'\0');
    DWORD got = static_cast<DWORD>(data.size() * 2);
    if (RegQueryValueExW(key, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) != ERROR_SUCCESS)
        return "";
    data.resize(std::min<std::size_t>(got / 2, data.size()));
    const std::size_t nul = data.find(u'\0');
    if (nul != std::u16string::npos) data.resize(nul);
    AnsiString text = Utf16ToUtf8(data);
    if (type == REG_EXPAND_SZ) text = ExpandEnvironment(text);
    return text;
}

std::vector<AnsiString> MapiLibs::mapi_RegQuerySubkeys(HKEY key) {
    std::vector<AnsiString> names;
    for (DWORD i = 0;; ++i) {
        char16_t name[1024];
        DWORD len = 1024;
        if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(Utf16ToUtf8(std::u16string_view(name, len)));
    }
    return names;
}

LONG MapiLibs::Enum() {
    QUILLORA_TRACE(u"MapiLibs::Enum");
    if (isReady) return 0;
    bool outlookSeen = false, outlookHasLibrary = false, libraryFound = false;
    {
        Key clients;
        if (clients.Open(HKEY_LOCAL_MACHINE, kClientsKey, KEY_READ) == ERROR_SUCCESS) {
            const AnsiString defaultClient = mapi_RegQueryString(clients.get(), "");
            const std::vector<AnsiString> names = mapi_RegQuerySubkeys(clients.get());
            for (const AnsiString& name : names) {
                const bool isOutlook = name == kOutlook;  // exact: same length, same bytes
                if (isOutlook) outlookSeen = true;
                Key client;
                if (client.Open(HKEY_LOCAL_MACHINE, AnsiString(kClientsKey) + "\\" + name, KEY_READ) != ERROR_SUCCESS) continue;
                const AnsiString path = mapi_RegQueryString(client.get(), "DLLPathEx");
                if (path.empty()) continue;
                if (isOutlook) outlookHasLibrary = true;
                mapi_TLibraryInfo info{name, path, true};
                libraryFound = true;
                if (name == defaultClient)
                    libraries.insert(libraries.begin(), info);
                else
                    libraries.push_back(info);
            }
        }
    }
    if (outlookSeen && outlookHasLibrary) return 0;
    if (libraryFound && outlookSeen) {
        Key apps;
        if (apps.Open(HKEY_LOCAL_MACHINE, kMapiAppsKey, KEY_SET_VALUE) != ERROR_SUCCESS) return 0;
        const WideString value = Utf8ToUtf16(ProgramFileName());
        const std::u16string data = u"Microsoft Outlook";
        const LONG rc = RegSetValueExW(apps.get(), value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                       static_cast<DWORD>((data.size() + 1) * 2));
        if (rc != ERROR_SUCCESS) {
            LogPrintf(u"FAILED: RegSetValueEx MSMapiApps %d", static_cast<int>(rc));
            return rc;
        }
        libraries.push_back({kOutlook, "mapi32.dll", false});
        return 0;
    }
    if (libraryFound) return 0;
    Key messaging;
    const LONG rc = messaging.Open(HKEY_LOCAL_MACHINE, kMessagingKey, KEY_READ);
    if (rc != ERROR_SUCCESS) {
        LogPrintf(u"FAILED: no MAPI registration (%hs)", kMessagingKey);
        return rc;
    }
    libraries.push_back({"Default", "mapi32.dll", false});
    return 0;
}
