// The support library libquillora-utils.so beside the program: loaded once at start-up,
// its seven entry points resolved by name, and the services the program calls through it.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "app/utils/UtilsExports.h"
#include "platform/win/WinTypes.h"

inline constexpr char16_t kSupportLibraryFile[] = u"libquillora-utils.so";

// The resolved entry points; null until LoadHelperLibraries found them.
struct HelperEntryPoints {
    ConvertFromUStrFn ConvertFromUStr = nullptr;
    ConvertToUStrFn ConvertToUStr = nullptr;
    ConvertToUStrCCSIDFn ConvertToUStrCCSID = nullptr;
    SetAppAsDefaultFn SetAppAsDefault = nullptr;
    SetAppAsDefaultAllFn SetAppAsDefaultAll = nullptr;
    QueryCurrentDefaultFn QueryCurrentDefault = nullptr;
    ClearUserAssociationsFn ClearUserAssociations = nullptr;
};

// Loads the library from the program's folder (or from folder, which ends with "/") and
// resolves its entry points. 1 when the library and all seven entry points were found and
// the converter works; otherwise the error is reported (texts 1008-1011) and the result is 0.
// A library already loaded stays loaded and gives 1.
int LoadHelperLibraries();
int LoadHelperLibraries(const WideString& folder);
// Unloads the library (at shutdown).
void FreeHelperLibraries();
const HelperEntryPoints& HelperLibrary();

// How a load failure reaches the user: the message text, the caption, and whether the
// program cannot go on (the library itself is missing). The default writes to stderr; the
// windowing code installs a message box and ends the application when fatal.
using HelperLibraryErrorHandler = std::function<void(const WideString& text, const WideString& caption, bool fatal)>;
void SetHelperLibraryErrorHandler(HelperLibraryErrorHandler handler);

// 8-bit text in a named charset as UTF-16; nothing when the charset is unknown or the library
// is not loaded, so that the caller can fall back to its own code page.
std::optional<WideString> ConvertCharsetToWide(std::string_view bytes, std::string_view charset);
// The same by Windows code-page number.
std::optional<WideString> ConvertCodePageToWide(std::string_view bytes, UINT codePage);
