#include "app/SupportLibrary.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "platform/win/WinModule.h"
#include "platform/win/WinString.h"

namespace {

struct HelperLibraryState {
    HMODULE module = nullptr;
    bool complete = false;  // every entry point found and the converter works
    HelperEntryPoints entries;
    HelperLibraryErrorHandler onError;
};

HelperLibraryState& State() {
    static HelperLibraryState state;
    return state;
}

void Report(const WideString& text, const WideString& caption, bool fatal) {
    LogPrintf(u"%s", text.c_str());
    if (State().onError) {
        State().onError(text, caption, fatal);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", Utf16ToUtf8(caption).c_str(), Utf16ToUtf8(text).c_str());
}

template <class Fn>
void Resolve(HMODULE module, const char* name, Fn& slot) {
    slot = reinterpret_cast<Fn>(GetProcAddress(module, name));
}

// Whether the library converts a known text: a library that loads but cannot convert would
// silently turn every message's text into the fallback code page.
bool ConverterWorks(const HelperEntryPoints& e) {
    char16_t out[8] = {};
    const char sample[] = "\xc3\xa9t\xc3\xa9";  // "été" in UTF-8
    return e.ConvertToUStr(out, 8, sample, sizeof sample - 1, "utf-8") == 3 && WideString(out) == u"\u00e9t\u00e9";
}

// The converter answers the whole length whatever it could write: a first call with room for
// `guess` units (a text seldom has more UTF-16 units than bytes) converts once; a longer
// result is converted again into a buffer of its size.
template <class Fn>
std::optional<WideString> Converted(Fn call, size_t guess) {
    guess = std::min<size_t>(guess, INT_MAX - 1);
    WideString out(guess, u'\0');
    const int needed = call(out.data(), static_cast<int>(guess) + 1);
    if (needed < 0 || needed == INT_MAX) return std::nullopt;
    if (static_cast<size_t>(needed) <= guess) {
        out.resize(static_cast<size_t>(needed));
        return out;
    }
    out.assign(static_cast<size_t>(needed), u'\0');
    if (call(out.data(), needed + 1) != needed) return std::nullopt;
    return out;
}

}  // namespace

void SetHelperLibraryErrorHandler(HelperLibraryErrorHandler handler) {
    State().onError = std::move(handler);
}

int LoadHelperLibraries() {
    return LoadHelperLibraries(CAppUtils::getAppFolder());
}

int LoadHelperLibraries(const WideString& folder) {
    QUILLORA_TRACE(u"LoadHelperLibraries");
    HelperLibraryState& s = State();
    if (s.module != nullptr) return s.complete ? 1 : 0;

    const WideString path = folder + kSupportLibraryFile;
    HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) {
        LogPrintf(u"%hs", LastModuleError().c_str());
        Report(GetUiString(1008) + kSupportLibraryFile + u". " + GetUiString(1009) + folder, GetUiString(1010), true);
        return 0;
    }
    HelperEntryPoints e;
    Resolve(module, "ConvertFromUStr", e.ConvertFromUStr);
    Resolve(module, "ConvertToUStr", e.ConvertToUStr);
    Resolve(module, "ConvertToUStrCCSID", e.ConvertToUStrCCSID);
    Resolve(module, "SetAppAsDefault", e.SetAppAsDefault);
    Resolve(module, "SetAppAsDefaultAll", e.SetAppAsDefaultAll);
    Resolve(module, "QueryCurrentDefault", e.QueryCurrentDefault);
    Resolve(module, "ClearUserAssociations", e.ClearUserAssociations);
    const bool complete = e.ConvertFromUStr && e.ConvertToUStr && e.ConvertToUStrCCSID && e.SetAppAsDefault &&
                          e.SetAppAsDefaultAll && e.QueryCurrentDefault && e.ClearUserAssociations;
    // What was found stays usable: a missing entry point is simply never called.
    s.module = module;
    s.entries = e;
    s.complete = complete && ConverterWorks(e);
    if (!s.complete) {
        Report(GetUiString(1011), GetUiString(1010), false);
        return 0;
    }
    return 1;
}

void FreeHelperLibraries() {
    HelperLibraryState& s = State();
    if (s.module == nullptr) return;
    FreeLibrary(s.module);
    s.module = nullptr;
    s.complete = false;
    s.entries = HelperEntryPoints{};
}

const HelperEntryPoints& HelperLibrary() {
    return State().entries;
}

std::optional<WideString> ConvertCharsetToWide(std::string_view bytes, std::string_view charset) {
    const auto fn = HelperLibrary().ConvertToUStr;
    if (fn == nullptr || charset.empty()) return std::nullopt;
    const std::string name(charset);
    return Converted([&](char16_t* dst, int units) {
        return fn(dst, units, bytes.data(), static_cast<int>(bytes.size()), name.c_str());
    }, bytes.size());
}

std::optional<WideString> ConvertCodePageToWide(std::string_view bytes, UINT codePage) {
    const auto fn = HelperLibrary().ConvertToUStrCCSID;
    if (fn == nullptr) return std::nullopt;
    return Converted([&](char16_t* dst, int units) {
        return fn(dst, units, bytes.data(), static_cast<int>(bytes.size()), codePage);
    }, bytes.size());
}
