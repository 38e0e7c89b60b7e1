// The bottom of the Unicode layer: the wide-API flags, the wide entry points to the system,
// the text encodings (UTF-8, UTF-7, code pages), the wide command line, the keyboard code
// page and the hot-key text of captions.
#pragma once

#include <string_view>
#include <vector>

#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinTypes.h"

// True: the system offers the wide API. Every call with a W and an A form tests this flag;
// it is false only when a test forces the 8-bit path.
extern bool UseWideWinApi;
extern bool IsWindowsXPOrLater;
// The system ANSI code page captured at start-up (GetACP: UTF-8). The 8-bit path converts
// names through it.
extern UINT DefaultAnsiCodePage;

// Errors of the layer that input can cause, and broken internal rules.
QUILLORA_EXCEPTION_CLASS(ETntGeneralError, Exception);
QUILLORA_EXCEPTION_CLASS(ETntInternalError, Exception);

// --- Wide entry points: the W call, or the A call on names converted to DefaultAnsiCodePage ---

BOOL WinApiRemoveDirectory(LPCWSTR pathName);
// Names longer than the caller's buffer get the needed size, as the W call does.
DWORD WinApiGetFullPathName(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart);
HANDLE WinApiCreateFile(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                        LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                        DWORD flagsAndAttributes, HANDLE templateFile);
HANDLE WinApiFindFirstFile(LPCWSTR fileName, WIN32_FIND_DATAW* findFileData);
BOOL WinApiFindNextFile(HANDLE findFile, WIN32_FIND_DATAW* findFileData);
DWORD WinApiGetFileAttributes(LPCWSTR fileName);
BOOL WinApiCreateDirectory(LPCWSTR pathName, LPSECURITY_ATTRIBUTES securityAttributes);
BOOL WinApiCopyFile(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);
BOOL WinApiDeleteFile(LPCWSTR fileName);
DWORD WinApiGetModuleFileName(HMODULE module, LPWSTR fileName, DWORD size);
HMODULE WinApiLoadLibrary(LPCWSTR fileName);

// --- Text encodings ---

// Standard UTF-8: a surrogate pair becomes one 4-byte sequence; a lone surrogate its own
// 3-byte sequence, so that every wide string comes back unchanged.
AnsiString WideStringToUTF8(std::u16string_view text);
// Standard UTF-8 (4-byte sequences give surrogate pairs; encoded surrogates are accepted).
// Malformed input (a bad continuation byte, a cut-off sequence, an overlong form, a code
// point above U+10FFFF) gives an empty string.
WideString UTF8ToWideString(std::string_view text);
// UTF-7 as RFC 2152 defines it, writing the optional direct characters as they are.
AnsiString WideStringToUTF7(std::u16string_view text);
// Raises ETntGeneralError "Invalid UTF7" for malformed input.
WideString UTF7ToWideString(std::string_view text);
// 65000 and 65001 go to the routines above; other code pages to the system converters.
WideString AnsiToWideCodePage(std::string_view text, UINT codePage);
AnsiString WideToAnsiCodePage(std::u16string_view text, UINT codePage);

// --- Command line ---

// Sets the command line from the program's arguments (argv[0] is the program). The line is
// rebuilt with each argument that holds a blank or a quote quoted; the arguments themselves
// are kept, so WideParamStr gives each one exactly as the program received it.
void InitWideCommandLine(int argc, const char* const* argv);
// Sets a raw command line, to be parsed by WideParamStr as the system's line would be.
void SetWideCommandLine(WideString line);
// The command line as one text.
WideString WideCommandLine();
// A file or folder named on the command line, made absolute against the folder that was
// current when the line was set: the program changes its folder later, the caller's shell
// meant its own. An empty or absolute path comes back as it is.
WideString WideArgumentPath(const WideString& path);
// Index 0: the program's module file name. Others: the index-th parameter; empty past the last.
WideString WideParamStr(int index);
// The number of parameters after the program's name, empty ones ("") included.
int WideParamCount();
// Reads the token that starts at or after position pos of line; returns the position after it.
std::size_t WideNextParam(std::u16string_view line, std::size_t pos, WideString& token);

// --- Keyboard ---

// The code page of the keyboard's language: the system ANSI code page here.
UINT KeyboardCodePage();
// A key's character: codes from 256 up as they are; below 256 one byte in the keyboard code
// page (under UTF-8 a byte code is the character of that number).
WideChar KeyToWideChar(WORD code);
// Swaps the two bytes of every character (big-endian UTF-16 text).
void SwapWideByteOrder(WideString& text);

// --- Shortcut text ---

// "Shift+", "Ctrl+", "Alt+" and the key's name. Named keys (BkSp, Tab, Enter, Esc, Space,
// PgUp, PgDn, End, Home, arrows, Ins, Del, F1-F24) take the class library's text; digits,
// letters and number-pad digits the character the key types; other keys the keyboard's name.
WideString WideShortCutToText(TShortCut shortCut);
// The character the key types (a digit key always gives its digit); 0 when it types none.
WideChar WideKeyChar(WORD virtualKey);
// The keyboard's name of the shortcut's key; empty when it has none.
WideString WideKeyName(TShortCut shortCut);

// --- Hot-key text of captions ("&File": Alt+F) ---

// 1-based position of the character after the last single "&" that is not the last
// character ("&&" is a literal ampersand); 0 when there is none.
int WideGetHotkeyPos(std::u16string_view caption);
WideString WideGetHotkey(std::u16string_view caption);
// The caption without its markers: "&" removed, "&&" kept as "&"; with a Far-East system
// locale a bracketed "(&X)" after the text is removed whole.
WideString WideStripHotkey(std::u16string_view caption);
bool WideSameCaption(std::u16string_view a, std::u16string_view b);
bool WideSameCaptionStr(std::u16string_view a, std::u16string_view b);
