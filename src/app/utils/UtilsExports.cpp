// The support library's entry points: charset conversion over the program's code-page tables,
// and the default program of a file type over the desktop's mimeapps.list files.
#include "app/utils/UtilsExports.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "app/utils/MimeAppsList.h"
#include "platform/win/AtomicFile.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

#define QUILLORA_EXPORT extern "C" __attribute__((visibility("default")))

namespace fs = std::filesystem;

namespace {

// Code page 0 names the system's legacy code page, which is Western European for the texts
// this library is asked to convert.
constexpr UINT kLegacyCodePage = 1252;

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

UINT CodePageOfCharset(const char* charset) {
    if (charset == nullptr) return 0;
    std::string key;
    for (const char* p = charset; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p))) key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*p))));
    if (key == "cp0" || key == "windows0") return kLegacyCodePage;
    return CodePageFromCharsetName(charset);
}

int CopyOut(const WideString& text, char16_t* dst, int dstUnits) {
    if (dst != nullptr && dstUnits > 0) {
        const size_t n = std::min(text.size(), static_cast<size_t>(dstUnits - 1));
        std::copy_n(text.begin(), n, dst);
        dst[n] = 0;
    }
    return static_cast<int>(text.size());
}

int Convert(UINT codePage, char16_t* dst, int dstUnits, const char* src, int srcBytes) {
    if (codePage == 0 || !IsValidCodePage(codePage)) return -1;
    const std::string_view bytes = src == nullptr || srcBytes <= 0 ? std::string_view()
                                                                   : std::string_view(src, static_cast<size_t>(srcBytes));
    return CopyOut(DecodeCodePage(codePage, bytes), dst, dstUnits);
}

std::string MimeTypeOfExtension(const char16_t* extension) {
    if (extension == nullptr) return {};
    const std::string ext = Lower(Utf16ToUtf8(extension));
    if (ext == ".msg") return "application/vnd.ms-outlook";
    if (ext == ".eml") return "message/rfc822";
    return {};
}

std::string DesktopIdOf(const char16_t* appName) {
    if (appName == nullptr || *appName == 0) return {};
    const std::string name = Utf16ToUtf8(appName);
    if (name == kProgramAppName) return kProgramDesktopId;
    if (name.find('/') != std::string::npos) return {};
    return Lower(name) + ".desktop";
}

// Escapes a path for the Exec key: quoted, with the characters the quoting reserves escaped,
// every backslash doubled once more for the string value itself, and "%" doubled so that it
// is no field code.
std::string ExecArgument(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '\\') {
            quoted += "\\\\\\\\";  // escaped for the quotes, then again for the string value
        } else if (c == '%') {
            quoted += "%%";
        } else {
            if (c == '"' || c == '`' || c == '$') quoted += "\\\\";
            quoted += c;
        }
    }
    return quoted + "\"";
}

// The program beside this library.
std::string ProgramPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&SetAppAsDefault), &info) == 0 || info.dli_fname == nullptr) return {};
    return (fs::path(info.dli_fname).parent_path() / "quillora").string();
}

// The program's desktop entry must exist for the desktop to honour a default naming it.
bool EnsureProgramEntry(const XdgFolders& xdg, const fs::path& applications) {
    if (xdg.IsInstalled(kProgramDesktopId)) return true;
    const std::string program = ProgramPath();
    if (program.empty()) return false;
    std::error_code ec;
    fs::create_directories(applications, ec);
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Quillora Pro\n"
                              "Comment=Read, print and export e-mail message files\n"
                              "Exec=" + ExecArgument(program) + " %f\n"
                              "Terminal=false\n"
                              "MimeType=application/vnd.ms-outlook;message/rfc822;application/vnd.ms-outlook-pst;\n"
                              "Categories=Office;Email;\n";
    return ReplaceFileAtomically(applications / kProgramDesktopId, entry) == 0;
}

int SetDefault(const char16_t* appName, const char16_t* extension, bool allUsers) {
    const std::string mime = MimeTypeOfExtension(extension);
    const std::string id = DesktopIdOf(appName);
    if (mime.empty() || id.empty()) return -1;
    const XdgFolders xdg = XdgFolders::FromEnvironment();
    if (allUsers && (xdg.configDirs.empty() || xdg.dataDirs.empty())) return -1;
    const fs::path configDir = allUsers ? xdg.configDirs.front() : xdg.configHome;
    const fs::path dataDir = allUsers ? xdg.dataDirs.front() : xdg.dataHome;
    if (id == kProgramDesktopId) {
        if (!EnsureProgramEntry(xdg, dataDir / "applications")) return -1;
    } else if (!xdg.IsInstalled(id)) {
        return -1;
    }
    MimeAppsList list;
    const fs::path file = configDir / "mimeapps.list";
    if (!list.Load(file)) return -1;
    list.SetDefault(mime, id);
    list.AddAssociation(mime, id);
    return list.Save(file) ? 0 : -1;
}

// Runs an entry point's body: no exception crosses the C boundary; any (out of memory, a
// failed system call) is the entry points' documented failure, -1.
template <class F>
int CatchAtBoundary(F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return -1;
    }
}

}  // namespace

QUILLORA_EXPORT int ConvertToUStr(char16_t* dst, int dstUnits, const char* src, int srcBytes, const char* charset) {
    return CatchAtBoundary([&] { return Convert(CodePageOfCharset(charset), dst, dstUnits, src, srcBytes); });
}

QUILLORA_EXPORT int ConvertToUStrCCSID(char16_t* dst, int dstUnits, const char* src, int srcBytes, unsigned codePage) {
    return CatchAtBoundary([&] { return Convert(codePage == 0 ? kLegacyCodePage : codePage, dst, dstUnits, src, srcBytes); });
}

QUILLORA_EXPORT int ConvertFromUStr(char* dst, int dstBytes, const char16_t* src, int srcUnits, const char* charset) {
    return CatchAtBoundary([&] {
        const UINT codePage = CodePageOfCharset(charset);
        if (codePage == 0 || !IsValidCodePage(codePage)) return -1;
        const std::u16string_view text = src == nullptr || srcUnits <= 0
                                             ? std::u16string_view()
                                             : std::u16string_view(src, static_cast<size_t>(srcUnits));
        const AnsiString bytes = EncodeCodePage(codePage, text);
        if (dst != nullptr && dstBytes > 0) {
            const size_t n = std::min(bytes.size(), static_cast<size_t>(dstBytes - 1));
            std::copy_n(bytes.begin(), n, dst);
            dst[n] = 0;
        }
        return static_cast<int>(bytes.size());
    });
}

QUILLORA_EXPORT int SetAppAsDefault(const char16_t* appName, const char16_t* extension) {
    return CatchAtBoundary([&] { return SetDefault(appName, extension, false); });
}

QUILLORA_EXPORT int SetAppAsDefaultAll(const char16_t* appName, const char16_t* extension) {
    return CatchAtBoundary([&] { return SetDefault(appName, extension, true); });
}

QUILLORA_EXPORT int QueryCurrentDefault(const char16_t* extension, char16_t* dst, int dstUnits) {
    return CatchAtBoundary([&] {
        const std::string mime = MimeTypeOfExtension(extension);
        if (mime.empty()) return -1;
        const XdgFolders xdg = XdgFolders::FromEnvironment();
        // The first installed program of the first list that names one, as the desktop does.
        for (const fs::path& file : xdg.MimeAppsFiles()) {
            MimeAppsList list;
            if (!list.Load(file)) continue;
            for (const std::string& id : list.Defaults(mime))
                if (xdg.IsInstalled(id)) return CopyOut(Utf8ToUtf16(id), dst, dstUnits);
        }
        return CopyOut(WideString(), dst, dstUnits);
    });
}

QUILLORA_EXPORT int ClearUserAssociations(const char16_t* extension) {
    return CatchAtBoundary([&] {
        const std::string mime = MimeTypeOfExtension(extension);
        if (mime.empty()) return -1;
        const fs::path file = XdgFolders::FromEnvironment().configHome / "mimeapps.list";
        MimeAppsList list;
        if (!list.Load(file)) return -1;
        list.RemoveType(mime);
        return list.Save(file) ? 0 : -1;
    });
}
