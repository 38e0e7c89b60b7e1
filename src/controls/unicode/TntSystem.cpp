#include "controls/unicode/TntSystem.h"

#include <array>
#include <filesystem>
#include <mutex>
#include <optional>

#include "controls/unicode/TntSysUtils.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinError.h"
#include "platform/win/WinModule.h"
#include "platform/win/WinString.h"

bool UseWideWinApi = true;
bool IsWindowsXPOrLater = true;
UINT DefaultAnsiCodePage = GetACP();

// --- Wide entry points -----------------------------------------------------------------------

namespace {

// The name as the A call would see it: converted to the ANSI code page and back.
WideString AnsiName(LPCWSTR name) {
    if (!name) return {};
    return AnsiToWideCodePage(WideToAnsiCodePage(name, DefaultAnsiCodePage), DefaultAnsiCodePage);
}

// The find data as the A call reports it: the names pass through the ANSI code page.
void NarrowFindData(WIN32_FIND_DATAW& data) {
    const WideString name = AnsiName(data.cFileName);
    const std::size_t n = std::min<std::size_t>(name.size(), std::size(data.cFileName) - 1);
    std::copy_n(name.begin(), n, data.cFileName);
    data.cFileName[n] = 0;
}

}  // namespace

BOOL WinApiRemoveDirectory(LPCWSTR pathName) {
    if (UseWideWinApi) return RemoveDirectoryW(pathName);
    return RemoveDirectoryW(AnsiName(pathName).c_str());
}

DWORD WinApiGetFullPathName(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart) {
    if (UseWideWinApi) return GetFullPathNameW(fileName, bufferLength, buffer, filePart);
    return GetFullPathNameW(AnsiName(fileName).c_str(), bufferLength, buffer, filePart);
}

HANDLE WinApiCreateFile(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                        LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                        DWORD flagsAndAttributes, HANDLE templateFile) {
    const WideString name = UseWideWinApi ? WideString() : AnsiName(fileName);
    return CreateFileW(UseWideWinApi ? fileName : name.c_str(), desiredAccess, shareMode, securityAttributes,
                       creationDisposition, flagsAndAttributes, templateFile);
}

HANDLE WinApiFindFirstFile(LPCWSTR fileName, WIN32_FIND_DATAW* findFileData) {
    if (UseWideWinApi) return FindFirstFileW(fileName, findFileData);
    const HANDLE h = FindFirstFileW(AnsiName(fileName).c_str(), findFileData);
    if (h != INVALID_HANDLE_VALUE) NarrowFindData(*findFileData);
    return h;
}

BOOL WinApiFindNextFile(HANDLE findFile, WIN32_FIND_DATAW* findFileData) {
    const BOOL ok = FindNextFileW(findFile, findFileData);
    if (ok && !UseWideWinApi) NarrowFindData(*findFileData);
    return ok;
}

DWORD WinApiGetFileAttributes(LPCWSTR fileName) {
    if (UseWideWinApi) return GetFileAttributesW(fileName);
    return GetFileAttributesW(AnsiName(fileName).c_str());
}

BOOL WinApiCreateDirectory(LPCWSTR pathName, LPSECURITY_ATTRIBUTES securityAttributes) {
    if (UseWideWinApi) return CreateDirectoryW(pathName, securityAttributes);
    return CreateDirectoryW(AnsiName(pathName).c_str(), securityAttributes);
}

BOOL WinApiCopyFile(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
    if (UseWideWinApi) return CopyFileW(existingFileName, newFileName, failIfExists);
    return CopyFileW(AnsiName(existingFileName).c_str(), AnsiName(newFileName).c_str(), failIfExists);
}

BOOL WinApiDeleteFile(LPCWSTR fileName) {
    if (UseWideWinApi) return DeleteFileW(fileName);
    return DeleteFileW(AnsiName(fileName).c_str());
}

DWORD WinApiGetModuleFileName(HMODULE module, LPWSTR fileName, DWORD size) {
    return GetModuleFileNameW(module, fileName, size);
}

HMODULE WinApiLoadLibrary(LPCWSTR fileName) {
    if (UseWideWinApi) return LoadLibraryW(fileName);
    return LoadLibraryW(AnsiName(fileName).c_str());
}

// --- UTF-8 -----------------------------------------------------------------------------------

AnsiString WideStringToUTF8(std::u16string_view text) { return Utf16ToUtf8(text); }

namespace {

// Well-formed UTF-8, except that encoded surrogates (ED A0..BF xx) are accepted: they are
// what WideStringToUTF8 writes for a lone surrogate.
bool IsUtf8Text(std::string_view text) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char b0 = byte(i);
        std::size_t need;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b0 < 0x80) {
            ++i;
            continue;
        } else if (b0 >= 0xC2 && b0 <= 0xDF) {
            need = 1;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            need = 2;
            if (b0 == 0xE0) lo = 0xA0;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            need = 3;
            if (b0 == 0xF0) lo = 0x90;
            if (b0 == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (i + need >= text.size()) return false;  // cut off by the end
        if (byte(i + 1) < lo || byte(i + 1) > hi) return false;
        for (std::size_t k = 2; k <= need; ++k)
            if ((byte(i + k) & 0xC0) != 0x80) return false;
        i += need + 1;
    }
    return true;
}

}  // namespace

WideString UTF8ToWideString(std::string_view text) {
    if (!IsUtf8Text(text)) return {};
    return Utf8ToUtf16(text);
}

// --- UTF-7 -----------------------------------------------------------------------------------

namespace {

constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kDirect = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?";
constexpr std::string_view kOptionalDirect = "!\"#$%&*;<=>@[]^_`{|}";
constexpr std::string_view kWhite = "\t\r\n ";

struct Utf7Tables {
    std::array<bool, 128> mustEncode{};  // the optional table: strict minus the optional set
    std::array<std::int16_t, 128> decode{};
};

// Built at compile time: no first-use race between threads.
constexpr Utf7Tables MakeUtf7Tables() {
    Utf7Tables t;
    for (auto& m : t.mustEncode) m = true;
    for (char c : kDirect) t.mustEncode[static_cast<unsigned char>(c)] = false;
    for (char c : kWhite) t.mustEncode[static_cast<unsigned char>(c)] = false;
    for (char c : kOptionalDirect) t.mustEncode[static_cast<unsigned char>(c)] = false;
    for (auto& d : t.decode) d = -1;
    for (std::size_t i = 0; i < kBase64.size(); ++i) t.decode[static_cast<unsigned char>(kBase64[i])] = static_cast<std::int16_t>(i);
    return t;
}

constexpr Utf7Tables kUtf7 = MakeUtf7Tables();

bool MustEncode(char16_t c) { return c >= 128 || kUtf7.mustEncode[c]; }
bool IsBase64(char16_t c) { return c < 128 && kUtf7.decode[c] >= 0; }

[[noreturn]] void InvalidUtf7() { throw ETntGeneralError(u"Invalid UTF7"); }

}  // namespace

AnsiString WideStringToUTF7(std::u16string_view text) {
    AnsiString out;
    bool inRun = false;
    std::uint32_t bitBuffer = 0;
    int bits = 0;
    const auto flush = [&] {
        if (bits > 0) out += kBase64[(bitBuffer << (6 - bits)) & 63];
        bits = 0;
        bitBuffer = 0;
    };
    for (const char16_t c : text) {
        const bool encode = MustEncode(c);
        if (!inRun && !encode) {
            out += static_cast<char>(c);
            continue;
        }
        if (!inRun) {
            out += '+';
            if (c == u'+') {
                out += '-';
                continue;
            }
            inRun = true;
        }
        if (encode) {
            bitBuffer = ((bitBuffer << 16) | c) & 0x3FFFFF;
            bits += 16;
            while (bits >= 6) {
                bits -= 6;
                out += kBase64[(bitBuffer >> bits) & 63];
            }
            continue;
        }
        flush();
        if (IsBase64(c) || c == u'-') out += '-';
        out += static_cast<char>(c);
        inRun = false;
    }
    if (inRun) flush();
    return out;
}

WideString UTF7ToWideString(std::string_view text) {
    WideString out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b != '+') {
            if (b > 127) InvalidUtf7();
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        const std::size_t runStart = ++i;
        std::uint32_t bitBuffer = 0;
        int bits = 0;
        std::size_t produced = 0;
        while (i < text.size() && IsBase64(static_cast<unsigned char>(text[i]))) {
            bitBuffer = ((bitBuffer << 6) | static_cast<std::uint32_t>(kUtf7.decode[static_cast<unsigned char>(text[i])])) & 0x3FFFFF;
            bits += 6;
            if (bits >= 16) {
                bits -= 16;
                out += static_cast<char16_t>((bitBuffer >> bits) & 0xFFFF);
                ++produced;
            }
            ++i;
        }
        const bool endsWithDash = i < text.size() && text[i] == '-';
        if (endsWithDash) ++i;
        if (endsWithDash && i == runStart + 1) {
            out += u'+';
            continue;
        }
        if (produced == 0) InvalidUtf7();
        if ((bitBuffer & ((1u << bits) - 1)) != 0) InvalidUtf7();
    }
    return out;
}

// --- Code pages ------------------------------------------------------------------------------

WideString AnsiToWideCodePage(std::string_view text, UINT codePage) {
    if (codePage == CP_UTF7) return UTF7ToWideString(text);
    if (codePage == CP_UTF8) return UTF8ToWideString(text);
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (needed <= 0) return {};
    WideString out(static_cast<std::size_t>(needed), u'\0');
    out.resize(static_cast<std::size_t>(
        std::max(0, MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), needed))));
    return out;
}

AnsiString WideToAnsiCodePage(std::u16string_view text, UINT codePage) {
    if (codePage == CP_UTF7) return WideStringToUTF7(text);
    if (codePage == CP_UTF8) return WideStringToUTF8(text);
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    AnsiString out(static_cast<std::size_t>(needed), '\0');
    out.resize(static_cast<std::size_t>(std::max(
        0, WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), needed, nullptr, nullptr))));
    return out;
}

// --- Command line ----------------------------------------------------------------------------

namespace {

struct CommandLine {
    std::mutex lock;
    WideString line;
    std::optional<std::vector<WideString>> arguments;  // set when the line came from argv
    WideString folder;  // the current folder when the line was set: relative arguments name files there
};

CommandLine& TheCommandLine() {
    static CommandLine commandLine;
    return commandLine;
}

WideString CurrentFolder() {
    std::vector<char16_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n == 0) return {};
        if (n < buffer.size()) return WideString(buffer.data(), n);
        buffer.resize(n + 1);
    }
}

WideString QuotedArgument(const WideString& argument) {
    const bool quote = argument.empty() || argument.find_first_of(u" \t\"") != WideString::npos;
    return quote ? u"\"" + argument + u"\"" : argument;
}

}  // namespace

void InitWideCommandLine(int argc, const char* const* argv) {
    std::vector<WideString> arguments;
    WideString line;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(Utf8ToUtf16(argv[i]));
        if (i > 0) line += u' ';
        line += QuotedArgument(arguments.back());
    }
    CommandLine& c = TheCommandLine();
    std::lock_guard<std::mutex> guard(c.lock);
    c.line = std::move(line);
    c.arguments = std::move(arguments);
    c.folder = CurrentFolder();
}

void SetWideCommandLine(WideString line) {
    CommandLine& c = TheCommandLine();
    std::lock_guard<std::mutex> guard(c.lock);
    c.line = std::move(line);
    c.arguments.reset();
    c.folder = CurrentFolder();
}

WideString WideArgumentPath(const WideString& path) {
    if (path.empty() || path.front() == u'/') return path;
    WideString folder;
    {
        CommandLine& c = TheCommandLine();
        std::lock_guard<std::mutex> guard(c.lock);
        folder = c.folder;
    }
    if (folder.empty()) return path;
    namespace fs = std::filesystem;
    const fs::path joined = (fs::path(Utf16ToUtf8(folder)) / fs::path(Utf16ToUtf8(path))).lexically_normal();
    return Utf8ToUtf16(joined.string());
}

WideString WideCommandLine() {
    CommandLine& c = TheCommandLine();
    std::lock_guard<std::mutex> guard(c.lock);
    return c.line;
}

std::size_t WideNextParam(std::u16string_view line, std::size_t pos, WideString& token) {
    const auto at = [&](std::size_t k) -> char16_t { return k < line.size() ? line[k] : u'\0'; };
    for (;;) {
        while (pos < line.size() && line[pos] >= 1 && line[pos] <= 32) ++pos;
        if (at(pos) == u'"' && at(pos + 1) == u'"') {
            pos += 2;
            continue;
        }
        break;
    }
    token.clear();
    while (pos < line.size() && line[pos] > 32) {
        if (line[pos] == u'"') {
            ++pos;
            while (pos < line.size() && line[pos] != u'"') token += line[pos++];
            if (pos < line.size()) ++pos;
        } else {
            token += line[pos++];
        }
    }
    return pos;
}

WideString WideParamStr(int index) {
    if (index == 0) return WideGetModuleFileName(nullptr);
    if (index < 0) return {};
    CommandLine& c = TheCommandLine();
    std::unique_lock<std::mutex> guard(c.lock);
    if (c.arguments) {
        const auto& args = *c.arguments;
        return static_cast<std::size_t>(index) < args.size() ? args[static_cast<std::size_t>(index)] : WideString();
    }
    const WideString line = c.line;
    guard.unlock();
    std::size_t pos = 0;
    WideString token;
    for (int i = 0; i <= index; ++i) {
        pos = WideNextParam(line, pos, token);
        if (token.empty()) break;
    }
    return token;
}

int WideParamCount() {
    CommandLine& c = TheCommandLine();
    std::unique_lock<std::mutex> guard(c.lock);
    if (c.arguments) return c.arguments->empty() ? 0 : static_cast<int>(c.arguments->size()) - 1;
    const WideString line = c.line;
    guard.unlock();
    WideString token;
    std::size_t pos = WideNextParam(line, 0, token);  // the program's name
    int count = 0;
    for (;;) {
        while (pos < line.size() && line[pos] >= 1 && line[pos] <= 32) ++pos;
        if (pos >= line.size()) break;
        const std::size_t next = WideNextParam(line, pos, token);
        if (next <= pos || (token.empty() && next >= line.size())) break;
        pos = next;
        ++count;
    }
    return count;
}

// --- Keyboard --------------------------------------------------------------------------------

UINT KeyboardCodePage() { return DefaultAnsiCodePage; }

WideChar KeyToWideChar(WORD code) {
    if (code >= 256) return static_cast<WideChar>(code);
    const UINT codePage = KeyboardCodePage();
    if (codePage == CP_UTF8 || code < 128) return static_cast<WideChar>(code);
    const char byte = static_cast<char>(code);
    char16_t out = 0;
    if (MultiByteToWideChar(codePage, MB_USEGLYPHCHARS, &byte, 1, &out, 1) != 1) return static_cast<WideChar>(code);
    return out;
}

void SwapWideByteOrder(WideString& text) {
    for (char16_t& c : text) c = static_cast<char16_t>((c >> 8) | (c << 8));
}

// --- Shortcut text --------------------------------------------------------------------------

WideChar WideKeyChar(WORD virtualKey) { return VirtualKeyChar(virtualKey); }

WideString WideKeyName(TShortCut shortCut) { return VirtualKeyName(shortCut & 0xFF); }

WideString WideShortCutToText(TShortCut shortCut) {
    const WORD key = shortCut & 0xFF;
    const bool named = key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE ||
                       (key >= VK_SPACE && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE ||
                       (key >= VK_F1 && key <= VK_F24);
    if (!UseWideWinApi || named) return Utf8ToUtf16(ShortCutToText(shortCut));
    WideString name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)) {
        const WideChar c = WideKeyChar(key);
        if (c != 0) name = WideString(1, c);
    } else {
        name = WideKeyName(shortCut);
    }
    if (name.empty()) return {};
    WideString text;
    if (shortCut & scShift) text += u"Shift+";
    if (shortCut & scCtrl) text += u"Ctrl+";
    if (shortCut & scAlt) text += u"Alt+";
    return text + name;
}

// --- Hot keys --------------------------------------------------------------------------------

int WideGetHotkeyPos(std::u16string_view caption) {
    int result = 0;
    const std::size_t n = caption.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (caption[i] == u'&' && i + 1 < n) {
            ++i;
            if (caption[i] != u'&') result = static_cast<int>(i) + 1;
        }
    }
    return result;
}

WideString WideGetHotkey(std::u16string_view caption) {
    const int pos = WideGetHotkeyPos(caption);
    return pos == 0 ? WideString() : WideString(1, caption[static_cast<std::size_t>(pos - 1)]);
}

WideString WideStripHotkey(std::u16string_view caption) {
    WideString result(caption);
    std::size_t i = 0;
    while (i < result.size()) {
        if (result[i] != u'&') {
            ++i;
        } else if (SysLocale.FarEast && i > 0 && result.size() - i > 2 && result[i - 1] == u'(' && result[i + 2] == u')') {
            // The whole "(&X)" goes; what follows it is read next.
            result.erase(i - 1, 4);
            --i;
        } else {
            // "&&" leaves one "&", which is kept as text.
            result.erase(i, 1);
            ++i;
        }
    }
    return result;
}

bool WideSameCaption(std::u16string_view a, std::u16string_view b) {
    return WideSameText(WideStripHotkey(a), WideStripHotkey(b));
}

bool WideSameCaptionStr(std::u16string_view a, std::u16string_view b) {
    return WideSameStr(WideStripHotkey(a), WideStripHotkey(b));
}
