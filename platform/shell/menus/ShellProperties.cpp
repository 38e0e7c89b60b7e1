#include "platform/shell/menus/ShellProperties.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <locale>

#include "platform/shell/ShellIcons.h"
#include "platform/vcl/FormatSettings.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

WideString Bytes(std::uint64_t n) {
    return ShellGroupedNumber(n, ShellThousandsSeparator()) + (n == 1 ? u" byte" : u" bytes");
}

WideString Name(const std::string& path) { return Utf8ToUtf16(fs::path(path).filename().string()); }

}  // namespace

WideString ShellGroupedNumber(std::uint64_t n, WideChar separator) {
    const std::string digits = std::to_string(n);
    WideString out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += static_cast<WideChar>(digits[i]);
    }
    return out;
}

WideChar ShellThousandsSeparator() {
    static const WideChar separator = [] {
        try {
            const std::locale locale("");
            const auto& punct = std::use_facet<std::numpunct<char>>(locale);
            const char sep = punct.thousands_sep();
            if (!punct.grouping().empty() && sep > ' ' && static_cast<unsigned char>(sep) < 0x80) return static_cast<WideChar>(sep);
        } catch (const std::exception&) {
        }
        return u',';
    }();
    return separator;
}

WideString ShellDateTimeText(std::int64_t unixTime) {
    std::tm local {};
    const std::time_t t = static_cast<std::time_t>(unixTime);
    localtime_r(&t, &local);
    const TFormatSettings& fs = FormatSettings();
    return FormatDateTime(fs.ShortDateFormat + u" " + fs.ShortTimeFormat, UnixToDateTime(unixTime + local.tm_gmtoff));
}

WideString ShellPropertiesText(const std::string& path, DWORD attributes) {
    struct stat link {}, st {};
    if (path.empty() || lstat(path.c_str(), &link) != 0) return {};
    const bool isLink = S_ISLNK(link.st_mode);
    if (!isLink || stat(path.c_str(), &st) != 0) st = link;
    WideString text = u"Name:\t" + Name(path) + u"\nType:\t" + GetShellTypeName(path, attributes);
    text += u"\nLocation:\t" + Utf8ToUtf16(fs::path(path).parent_path().string());
    if (!S_ISDIR(st.st_mode)) text += u"\nSize:\t" + Bytes(static_cast<std::uint64_t>(st.st_size));
    if (isLink) {
        std::error_code ec;
        text += u"\nTarget:\t" + Utf8ToUtf16(fs::read_symlink(path, ec).string());
    }
    text += u"\nModified:\t" + ShellDateTimeText(st.st_mtime);
    text += u"\nAccessed:\t" + ShellDateTimeText(st.st_atime);
    return text;
}

bool ShowShellProperties(HWND owner, const std::string& path, DWORD attributes) {
    const WideString text = ShellPropertiesText(path, attributes);
    if (text.empty()) return false;
    const WideString caption = Name(path) + u" Properties";
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
    return true;
}
