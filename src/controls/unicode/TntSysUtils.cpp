#include "controls/unicode/TntSysUtils.h"

#include <vector>

#include "platform/win/WinError.h"
#include "platform/win/WinString.h"
#include "platform/win/WinTime.h"

// --- Paths -----------------------------------------------------------------------------------

int WideLastDelimiter(std::u16string_view delimiters, std::u16string_view text) {
    for (std::size_t i = text.size(); i > 0; --i) {
        const char16_t c = text[i - 1];
        if (c != 0 && delimiters.find(c) != std::u16string_view::npos) return static_cast<int>(i);
    }
    return 0;
}

bool WideIsPathDelimiter(std::u16string_view text, int position) {
    return position > 0 && static_cast<std::size_t>(position) <= text.size() &&
           text[static_cast<std::size_t>(position - 1)] == PathDelim;
}

WideString WideIncludeTrailingBackslash(std::u16string_view path) {
    WideString result(path);
    if (result.empty() || result.back() != PathDelim) result += PathDelim;
    return result;
}

WideString WideExcludeTrailingBackslash(std::u16string_view path) {
    WideString result(path);
    if (!result.empty() && result.back() == PathDelim) result.pop_back();
    return result;
}

namespace {

constexpr std::u16string_view kPathDelimiters = u"/";
constexpr std::u16string_view kExtensionDelimiters = u"./";

}  // namespace

WideString WideExtractFilePath(std::u16string_view fileName) {
    const int i = WideLastDelimiter(kPathDelimiters, fileName);
    return WideString(fileName.substr(0, static_cast<std::size_t>(i)));
}

WideString WideExtractFileDir(std::u16string_view fileName) {
    int i = WideLastDelimiter(kPathDelimiters, fileName);
    if (i > 1 && fileName[static_cast<std::size_t>(i - 1)] == PathDelim &&
        fileName[static_cast<std::size_t>(i - 2)] != PathDelim)
        --i;
    return WideString(fileName.substr(0, static_cast<std::size_t>(i)));
}

WideString WideExtractFileName(std::u16string_view fileName) {
    const int i = WideLastDelimiter(kPathDelimiters, fileName);
    return WideString(fileName.substr(static_cast<std::size_t>(i)));
}

WideString WideExtractFileExt(std::u16string_view fileName) {
    const int i = WideLastDelimiter(kExtensionDelimiters, fileName);
    if (i > 0 && fileName[static_cast<std::size_t>(i - 1)] == u'.')
        return WideString(fileName.substr(static_cast<std::size_t>(i - 1)));
    return {};
}

WideString WideChangeFileExt(std::u16string_view fileName, std::u16string_view extension) {
    const int i = WideLastDelimiter(kExtensionDelimiters, fileName);
    std::size_t keep = fileName.size();
    if (i > 0 && fileName[static_cast<std::size_t>(i - 1)] == u'.') keep = static_cast<std::size_t>(i - 1);
    return WideString(fileName.substr(0, keep)) + WideString(extension);
}

// --- Text ------------------------------------------------------------------------------------

WideString WideUpperCaseString(std::u16string_view text) {
    if (UseWideWinApi) return WideUpperCase(text);
    return WideUpperCase(AnsiToWideCodePage(WideToAnsiCodePage(text, DefaultAnsiCodePage), DefaultAnsiCodePage));
}

namespace {

std::u16string_view LineBreakOf(TTntTextLineBreakStyle style) {
    switch (style) {
    case LineBreakLF: return u"\n";
    case LineBreakCR: return u"\r";
    default: return u"\r\n";
    }
}

// Calls emit(text piece) for every run of characters and every replaced line break.
template <class Emit>
void ForEachLinePiece(std::u16string_view text, TTntTextLineBreakStyle style, Emit emit) {
    const std::u16string_view lineBreak = LineBreakOf(style);
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char16_t c = text[i];
        if (c != u'\r' && c != u'\n' && c != 0x2028) {
            ++i;
            continue;
        }
        emit(text.substr(start, i - start));
        emit(lineBreak);
        i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
        start = i;
    }
    emit(text.substr(start));
}

}  // namespace

int WideAdjustLineBreaksLength(std::u16string_view text, TTntTextLineBreakStyle style) {
    std::size_t length = 0;
    ForEachLinePiece(text, style, [&](std::u16string_view piece) { length += piece.size(); });
    return static_cast<int>(length);
}

WideString WideAdjustLineBreaks(std::u16string_view text, TTntTextLineBreakStyle style) {
    WideString out;
    out.reserve(static_cast<std::size_t>(WideAdjustLineBreaksLength(text, style)));
    ForEachLinePiece(text, style, [&](std::u16string_view piece) { out.append(piece); });
    return out;
}

bool IsRTFText(std::u16string_view text) {
    const WideString head = WideUpperCaseString(text.substr(0, 5));
    return head == u"{\\RTF" || head == u"{URTF";
}

// --- Files and folders -----------------------------------------------------------------------

DWORD WideFileGetAttr(const WideString& fileName) { return WinApiGetFileAttributes(fileName.c_str()); }

bool WideFileExists(const WideString& fileName) {
    WIN32_FIND_DATAW data;
    const HANDLE h = WinApiFindFirstFile(fileName.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return false;
    FindClose(h);
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WideDirectoryExists(const WideString& name) {
    const DWORD attributes = WideFileGetAttr(name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WideCreateDir(const WideString& dir) { return WinApiCreateDirectory(dir.c_str(), nullptr) != FALSE; }

bool WideRemoveDir(const WideString& dir) { return WinApiRemoveDirectory(dir.c_str()) != FALSE; }

bool WideDeleteFile(const WideString& fileName) { return WinApiDeleteFile(fileName.c_str()) != FALSE; }

bool WideCopyFile(const WideString& fromFile, const WideString& toFile, bool failIfExists) {
    return WinApiCopyFile(fromFile.c_str(), toFile.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

bool WideForceDirectories(const WideString& dir) {
    if (dir.empty()) throw ETntGeneralError(u"Unable to create directory");
    // Every trailing "/" goes ("a//" is the folder a); the root itself always exists.
    WideString path = dir;
    while (path.size() > 1 && path.back() == PathDelim) path.pop_back();
    if (path == u"/" || WideDirectoryExists(path)) return true;
    const WideString parent = WideExtractFilePath(path);
    if (!parent.empty() && !WideForceDirectories(parent)) return false;
    // Another process may have made it between the test above and this call.
    return WideCreateDir(path) || WideDirectoryExists(path);
}

HANDLE WideFileCreate(const WideString& fileName) {
    return WinApiCreateFile(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE WideFileOpen(const WideString& fileName, DWORD mode) {
    return WinApiCreateFile(fileName.c_str(), FileOpenAccess(mode), FileOpenShare(mode), nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
}

WideString WideExpandFileName(const WideString& fileName) {
    std::vector<char16_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 4; ++attempt) {
        LPWSTR filePart = nullptr;
        const DWORD n = WinApiGetFullPathName(fileName.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(),
                                              &filePart);
        if (n == 0) return {};
        if (n < buffer.size()) return WideString(buffer.data(), n);
        buffer.resize(n + 1);  // n is the size needed, terminator included
    }
    return {};
}

WideString WideGetModuleFileName(HMODULE module) {
    std::vector<char16_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = WinApiGetModuleFileName(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) RaiseLastOSError();
        // A name that filled the whole buffer was cut: try again with more room.
        if (n < buffer.size()) {
            const WideString name(buffer.data(), n);
            return name.substr(0, name.find(u'\0'));
        }
        buffer.resize(buffer.size() * 2);
    }
}

WideString WideSysErrorMessage(DWORD errorCode) {
    const WideString text = WinErrorMessage(errorCode);
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] <= u' ') ++begin;
    while (end > begin && text[end - 1] <= u' ') --end;
    if (begin == end) return WideFormat(u"Unspecified error (%d) from %s.", static_cast<int>(errorCode), u"system");
    return text.substr(begin, end - begin);
}

bool InprocServerFileExists(const GUID&) { return false; }

// --- Directory search ------------------------------------------------------------------------

namespace {

// Skips the entries that ExcludeAttr rules out and takes the first one that passes.
int FindMatchingFile(TSearchRecW& f) {
    while ((f.FindData.dwFileAttributes & static_cast<DWORD>(f.ExcludeAttr)) != 0)
        if (!WinApiFindNextFile(f.FindHandle, &f.FindData)) return static_cast<int>(GetLastError());
    FILETIME local;
    WORD dosDate = 0, dosTime = 0;
    FileTimeToLocalFileTime(&f.FindData.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &dosDate, &dosTime);
    f.Time = static_cast<std::int32_t>((static_cast<DWORD>(dosDate) << 16) | dosTime);
    f.Size = static_cast<std::int64_t>((static_cast<std::uint64_t>(f.FindData.nFileSizeHigh) << 32) |
                                       f.FindData.nFileSizeLow);
    f.Attr = static_cast<std::int32_t>(f.FindData.dwFileAttributes);
    const std::u16string_view name(f.FindData.cFileName, std::size(f.FindData.cFileName));
    f.Name = WideString(name.substr(0, name.find(u'\0')));
    return 0;
}

}  // namespace

int WideFindFirst(const WideString& path, int attr, TSearchRecW& f) {
    constexpr int kFaSpecial = faHidden | faSysFile | faDirectory;
    f.ExcludeAttr = ~attr & kFaSpecial;
    f.FindHandle = WinApiFindFirstFile(path.c_str(), &f.FindData);
    if (f.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    const int result = FindMatchingFile(f);
    if (result != 0) WideFindClose(f);
    return result;
}

int WideFindNext(TSearchRecW& f) {
    if (!WinApiFindNextFile(f.FindHandle, &f.FindData)) return static_cast<int>(GetLastError());
    return FindMatchingFile(f);
}

void WideFindClose(TSearchRecW& f) {
    if (f.FindHandle == INVALID_HANDLE_VALUE) return;
    FindClose(f.FindHandle);
    f.FindHandle = INVALID_HANDLE_VALUE;
}
