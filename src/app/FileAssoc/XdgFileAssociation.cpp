#include "app/FileAssoc/XdgFileAssociation.h"

#include <vector>

#include "app/SupportLibrary.h"
#include "app/cLogger.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinString.h"

WideString XdgFileAssociation::AppNameFromProgID(const WideString& progId) {
    return progId.substr(0, progId.find(u'.'));
}

WideString XdgFileAssociation::DesktopIdOfProgID(const WideString& progId) {
    const WideString app = AppNameFromProgID(progId);
    if (Utf16ToUtf8(app) == kProgramAppName) return Utf8ToUtf16(kProgramDesktopId);
    return WideLowerCase(app) + u".desktop";
}

WideString XdgFileAssociation::GetProgIDbyExtension(const WideString& extension) {
    const auto query = HelperLibrary().QueryCurrentDefault;
    if (query == nullptr) throw Exception(std::string_view("the support library is not loaded"));
    const int needed = query(extension.c_str(), nullptr, 0);
    if (needed < 0) throw Exception(u"no file type known for " + extension);
    std::vector<char16_t> buffer(static_cast<size_t>(needed) + 1);
    query(extension.c_str(), buffer.data(), static_cast<int>(buffer.size()));
    WideString current(buffer.data());
    LogPrintf(u"curDefault == %s", current.c_str());
    return current;
}

bool XdgFileAssociation::IsAssociated(const WideString& progId, const WideString& extension, bool) {
    const WideString current = GetProgIDbyExtension(extension);
    const WideString me = DesktopIdOfProgID(progId);
    LogPrintf(u"curr: %s, me: %s", current.c_str(), me.c_str());
    return !current.empty() && current == me;
}

void XdgFileAssociation::SetAssociation(const WideString& progId, const WideString& extension, bool allUsers) {
    const WideString app = AppNameFromProgID(progId);
    LogPrintf(u"%s, %s", app.c_str(), extension.c_str());
    const HelperEntryPoints& lib = HelperLibrary();
    const auto set = allUsers ? lib.SetAppAsDefaultAll : lib.SetAppAsDefault;
    if (set == nullptr) throw Exception(std::string_view("the support library is not loaded"));
    if (set(app.c_str(), extension.c_str()) != 0)
        throw Exception(u"cannot make " + app + u" the default program for " + extension);
}
