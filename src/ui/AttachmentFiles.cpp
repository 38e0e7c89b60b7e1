#include "ui/AttachmentFiles.h"

#include <random>

#include "app/CAppUtils.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/MessageAttr.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

namespace {

WideString Hex(unsigned value)
{
    return Utf8ToUtf16(AnsiFormat("%X", value));
}

unsigned RandomNumber()
{
    static std::mt19937 gen{std::random_device{}()};
    return static_cast<unsigned>(gen() & 0xFFFFF);
}

bool CreateExclusive(const WideString& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

}  // namespace

WideString SafeAttachmentName(const WideString& displayName)
{
    WideString name = CAppUtils::MakeValidFileName(displayName, false);
    // Leading dots would hide the file or climb with the next join.
    std::size_t dots = 0;
    while (dots < name.size() && name[dots] == u'.') ++dots;
    if (dots > 0) name = u"_" + name.substr(dots);
    return name == u"_" || name.empty() ? WideString(u"attachment") : name;
}

WideString UpperExtension(const WideString& displayName)
{
    return WideUpperCase(WideExtractFileExt(displayName));
}

WideString CreateTempFileName(const WideString& folder)
{
    const WideString dir = WideIncludeTrailingBackslash(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const WideString path = dir + u"NEW" + Hex(RandomNumber()) + u".TMP";
        if (CreateExclusive(path)) return path;
    }
    return {};
}

bool SaveAttachmentSafely(TMessageAttr& message, int index, const WideString& target, bool replace)
{
    const std::size_t slash = target.rfind(u'/');
    const WideString folder = slash == WideString::npos ? WideString() : target.substr(0, slash + 1);
    WideString temp;
    for (int attempt = 0; attempt < 100 && temp.empty(); ++attempt) {
        const WideString candidate = folder + u".saving-" + Hex(RandomNumber()) + u".part";
        if (CreateExclusive(candidate)) temp = candidate;
    }
    if (temp.empty()) return false;
    bool ok = false;
    try {
        ok = message.SaveAttachment(index, temp, false);
    } catch (...) {
        ok = false;
    }
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
}
