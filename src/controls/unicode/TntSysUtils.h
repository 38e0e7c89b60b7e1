// Wide file, folder, path and message functions, the directory search record and the layer's
// exception classes. Paths are POSIX: "/" is the only delimiter and there is no drive part.
#pragma once

#include <string_view>

#include "controls/unicode/TntSystem.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinFiles.h"

inline constexpr WideChar PathDelim = u'/';

// An exception with a wide message (the 8-bit message is its UTF-8 form).
QUILLORA_EXCEPTION_CLASS(WideException, Exception);
QUILLORA_EXCEPTION_CLASS(EWideFileStreamError, WideException);
QUILLORA_EXCEPTION_CLASS(EWideFCreateError, EWideFileStreamError);
QUILLORA_EXCEPTION_CLASS(EWideFOpenError, EWideFileStreamError);

enum TTntTextLineBreakStyle { LineBreakLF = 0, LineBreakCRLF = 1, LineBreakCR = 2 };

// The state of one directory search, owned by the caller.
struct TSearchRecW {
    // Last-write time in local time as an MS-DOS date (high 16 bits) and time (low 16 bits).
    std::int32_t Time = 0;
    std::int64_t Size = 0;
    std::int32_t Attr = 0;
    WideString Name;
    std::int32_t ExcludeAttr = 0;
    HANDLE FindHandle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW FindData;
};

// --- Paths (no file-system access; positions count from 1) ---

int WideLastDelimiter(std::u16string_view delimiters, std::u16string_view text);
bool WideIsPathDelimiter(std::u16string_view text, int position);
// "/" appended unless the path ends with it; an empty path gives "/".
WideString WideIncludeTrailingBackslash(std::u16string_view path);
// One trailing "/" removed.
WideString WideExcludeTrailingBackslash(std::u16string_view path);
// Up to and including the last "/"; empty when there is none.
WideString WideExtractFilePath(std::u16string_view fileName);
// The folder without its final "/", unless that "/" is the first character or follows another.
WideString WideExtractFileDir(std::u16string_view fileName);
WideString WideExtractFileName(std::u16string_view fileName);
// From the last "." when it comes after the last "/": "a.b/file" gives "", "file." gives ".",
// ".profile" gives ".profile".
WideString WideExtractFileExt(std::u16string_view fileName);
// The name without its extension, followed by extension (which carries its own ".").
WideString WideChangeFileExt(std::u16string_view fileName, std::u16string_view extension);

// --- Text ---

// Simple upper-casing of every character (the length never changes).
WideString WideUpperCaseString(std::u16string_view text);
int WideAdjustLineBreaksLength(std::u16string_view text, TTntTextLineBreakStyle style = LineBreakCRLF);
// Every CR LF, lone CR, lone LF and U+2028 becomes the style's line break.
WideString WideAdjustLineBreaks(std::u16string_view text, TTntTextLineBreakStyle style = LineBreakCRLF);
// True when the text begins with "{\rtf" or "{urtf", in any case.
bool IsRTFText(std::u16string_view text);

// --- Files and folders ---

// The attributes, or INVALID_FILE_ATTRIBUTES.
DWORD WideFileGetAttr(const WideString& fileName);
// True when a search for the name finds an entry and that entry is not a folder (a pattern
// with wildcards counts when its first match is a file).
bool WideFileExists(const WideString& fileName);
bool WideDirectoryExists(const WideString& name);
bool WideCreateDir(const WideString& dir);
bool WideRemoveDir(const WideString& dir);
bool WideDeleteFile(const WideString& fileName);
bool WideCopyFile(const WideString& fromFile, const WideString& toFile, bool failIfExists);
// True when the folder exists afterwards: it and its missing parents are created, and a
// folder that someone else creates meanwhile counts. An empty name raises ETntGeneralError.
bool WideForceDirectories(const WideString& dir);
// Read and write access, no sharing, replacing any file; INVALID_HANDLE_VALUE on failure.
HANDLE WideFileCreate(const WideString& fileName);
// An existing file with the access and sharing of an open mode (fmOpenXxx | fmShareXxx);
// a mode outside the tables raises ERangeError.
HANDLE WideFileOpen(const WideString& fileName, DWORD mode);
// The absolute name; empty when it cannot be made.
WideString WideExpandFileName(const WideString& fileName);
// The module's file name (the program's for nullptr); a failure raises EOSError.
WideString WideGetModuleFileName(HMODULE module);
// The system's message for an error code, trimmed.
WideString WideSysErrorMessage(DWORD errorCode);
// Whether a COM class has an in-process server file. There is no COM here: always false.
bool InprocServerFileExists(const GUID& classId);

// --- Directory search ---

// 0 on success, else the system error code (the search is then closed). Hidden, system and
// folder entries are returned only when attr asks for them.
int WideFindFirst(const WideString& path, int attr, TSearchRecW& f);
// 0 when a further entry was found, else the system error code (ERROR_NO_MORE_FILES at the end).
int WideFindNext(TSearchRecW& f);
// Closes the search; a second call does nothing.
void WideFindClose(TSearchRecW& f);
