#include "platform/vcl/SysUtils.h"

#include <memory>
#include <mutex>

#include <unicode/ucol.h>
#include <unicode/uchar.h>
#include <unicode/uloc.h>
#include <unicode/utf16.h>

#include "platform/win/CodePages.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

Exception::Exception(WideString message) { SetMessage(std::move(message)); }

Exception::Exception(std::string_view message) { SetMessage(Utf8ToUtf16(message)); }

void Exception::SetMessage(WideString message) {
    message_ = std::move(message);
    ansi_ = Utf16ToUtf8(message_);
}

TSysLocale SysLocale;

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

void RaiseLastOSError(DWORD errorCode) {
    if (errorCode == ERROR_SUCCESS) throw EOSError(u"A call to an OS function failed", errorCode);
    throw EOSError(WideFormat(u"System Error.  Code: %u.\r\n%s", static_cast<unsigned>(errorCode),
                              SysErrorMessage(errorCode).c_str()),
                   errorCode);
}

void RaiseRangeError() { throw ERangeError(u"Range check error"); }

WideString SysErrorMessage(DWORD errorCode) {
    WideString text = WinErrorMessage(errorCode);
    while (!text.empty() && text.back() <= u' ') text.pop_back();
    return text;
}

namespace {

constexpr DWORD kGenericRead = 0x80000000u;
constexpr DWORD kGenericWrite = 0x40000000u;
constexpr DWORD kShareRead = 0x1;
constexpr DWORD kShareWrite = 0x2;

}  // namespace

DWORD FileOpenAccess(DWORD mode) {
    static constexpr DWORD access[] = {kGenericRead, kGenericWrite, kGenericRead | kGenericWrite};
    const DWORD index = mode & 3;
    if (index >= std::size(access)) RaiseRangeError();
    return access[index];
}

DWORD FileOpenShare(DWORD mode) {
    static constexpr DWORD share[] = {0, 0, kShareRead, kShareWrite, kShareRead | kShareWrite};
    const DWORD index = (mode & 0xF0) >> 4;
    if (index >= std::size(share)) RaiseRangeError();
    return share[index];
}

namespace {

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

// The locale whose collation orders the user's lists: the environment's, or the root
// collation when the environment names the C locale (whose ICU form sorts by code point).
const char* CollationLocale() {
    const char* name = uloc_getDefault();
    if (!name || !*name || std::string_view(name).starts_with("en_US_POSIX")) return "";
    return name;
}

CollatorPtr OpenCollator(UCollationStrength strength) {
    UErrorCode status = U_ZERO_ERROR;
    CollatorPtr c(ucol_open(CollationLocale(), &status));
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        c.reset(ucol_open("", &status));
    }
    if (c) ucol_setStrength(c.get(), strength);
    return c;
}

// Collators are built once; comparing through a shared collator is thread-safe.
const UCollator* Collator(bool caseSensitive) {
    static const CollatorPtr tertiary = OpenCollator(UCOL_TERTIARY);
    static const CollatorPtr secondary = OpenCollator(UCOL_SECONDARY);
    return caseSensitive ? tertiary.get() : secondary.get();
}

int Collate(const UCollator* coll, std::u16string_view a, std::u16string_view b) {
    if (!coll) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    switch (ucol_strcoll(coll, a.data(), static_cast<int32_t>(a.size()), b.data(),
                         static_cast<int32_t>(b.size()))) {
    case UCOL_LESS: return -1;
    case UCOL_GREATER: return 1;
    default: return 0;
    }
}

}  // namespace

int WideCompareStr(std::u16string_view a, std::u16string_view b) {
    const int r = Collate(Collator(true), a, b);
    if (r != 0 || a == b) return r;
    return a < b ? -1 : 1;
}

int WideCompareText(std::u16string_view a, std::u16string_view b) { return Collate(Collator(false), a, b); }

int AnsiCompareStr(std::string_view a, std::string_view b) {
    return WideCompareStr(Utf8ToUtf16(a), Utf8ToUtf16(b));
}

int AnsiCompareText(std::string_view a, std::string_view b) {
    return WideCompareText(Utf8ToUtf16(a), Utf8ToUtf16(b));
}

namespace {

template <class Map>
WideString MapEachCharacter(std::u16string_view text, Map map) {
    WideString out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        UChar32 c;
        const std::size_t start = i;
        U16_NEXT(text.data(), i, text.size(), c);
        const UChar32 mapped = map(c);
        // A lone surrogate, or a mapping that would change the length, stays as it was.
        if (U16_LENGTH(mapped) != static_cast<int>(i - start) || U_IS_SURROGATE(c)) {
            out.append(text.substr(start, i - start));
        } else if (U16_LENGTH(mapped) == 1) {
            out.push_back(static_cast<char16_t>(mapped));
        } else {
            out.push_back(U16_LEAD(mapped));
            out.push_back(U16_TRAIL(mapped));
        }
    }
    return out;
}

}  // namespace

WideString WideUpperCase(std::u16string_view text) { return MapEachCharacter(text, u_toupper); }

WideString WideLowerCase(std::u16string_view text) { return MapEachCharacter(text, u_tolower); }

AnsiString AnsiUpperCase(std::string_view text) { return Utf16ToUtf8(WideUpperCase(Utf8ToUtf16(text))); }

AnsiString AnsiLowerCase(std::string_view text) { return Utf16ToUtf8(WideLowerCase(Utf8ToUtf16(text))); }

WideString DecodeUnmarkedText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return Utf8ToUtf16(bytes);
    return DecodeCodePage(1252, bytes);
}
