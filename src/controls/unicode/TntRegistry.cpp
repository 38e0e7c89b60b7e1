#include "controls/unicode/TntRegistry.h"

#include <cstring>
#include <vector>

#include "controls/unicode/TntSystem.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

WideString TTntRegistry::ReadString(const WideString& name) const {
    if (!UseWideWinApi) return AnsiToWideCodePage(TRegistry::ReadString(WideToAnsiCodePage(name, CP_UTF8)), CP_UTF8);
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExW(CurrentKey(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(WideFormat(u"Invalid data type for '%s'", name.c_str()));
    if (size == 1) size = 2;
    // Zero-filled, so an odd size never leaves a character half read.
    std::vector<char16_t> buffer(size / 2 + 1, u'\0');
    DWORD got = size;
    if (RegQueryValueExW(CurrentKey(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
        ERROR_SUCCESS)
        throw ERegistryException(WideFormat(u"Failed to get data for '%s'", name.c_str()));
    const std::u16string_view text(buffer.data(), std::min<std::size_t>(got / 2, size / 2));
    return WideString(text.substr(0, text.find(u'\0')));
}

void TTntRegistry::WriteString(const WideString& name, const WideString& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(char16_t));
    if (RegSetValueExW(CurrentKey(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) !=
        ERROR_SUCCESS)
        throw ERegistryException(WideFormat(u"Failed to set data for '%s'", name.c_str()));
}
