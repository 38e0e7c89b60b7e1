// The runtime's exception family, its file-open modes and its locale-aware wide text
// comparison and case mapping.
#pragma once

#include <exception>
#include <string_view>

#include "platform/vcl/Classes.h"
#include "platform/win/WinTypes.h"

// The base of every exception the class library raises. The message is wide text; what()
// gives it as UTF-8 (the class library's 8-bit form).
class Exception : public TObject, public std::exception {
public:
    explicit Exception(WideString message);
    // From the class library's 8-bit text (UTF-8).
    explicit Exception(std::string_view message);

    std::string_view ClassName() const override { return "Exception"; }

    const WideString& Message() const { return message_; }
    const AnsiString& AnsiMessage() const { return ansi_; }
    void SetMessage(WideString message);
    const char* what() const noexcept override { return ansi_.c_str(); }

private:
    WideString message_;
    AnsiString ansi_;
};

#define QUILLORA_EXCEPTION_CLASS(Name, Base)                            \
    class Name : public Base {                                          \
    public:                                                             \
        using Base::Base;                                               \
        std::string_view ClassName() const override { return #Name; }   \
    }

QUILLORA_EXCEPTION_CLASS(EAbort, Exception);
QUILLORA_EXCEPTION_CLASS(EConvertError, Exception);
QUILLORA_EXCEPTION_CLASS(ERangeError, Exception);
QUILLORA_EXCEPTION_CLASS(EInvalidArgument, Exception);

// An operating-system call failed: the Windows error code and its system message.
class EOSError : public Exception {
public:
    EOSError(WideString message, DWORD errorCode) : Exception(std::move(message)), errorCode_(errorCode) {}
    std::string_view ClassName() const override { return "EOSError"; }
    DWORD ErrorCode() const { return errorCode_; }

private:
    DWORD errorCode_;
};

// Raises EOSError for the calling thread's last error ("System Error.  Code: n.\r\n<text>"),
// or "A call to an OS function failed" when no error code is set.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD errorCode);
// Raises ERangeError "Range check error".
[[noreturn]] void RaiseRangeError();

// The system's message for a Windows error code, without its line break.
WideString SysErrorMessage(DWORD errorCode);

// File-open modes: the low two bits choose the access, bits 4 to 7 the sharing.
inline constexpr WORD fmCreate = 0xFFFF;
inline constexpr WORD fmOpenRead = 0x0000;
inline constexpr WORD fmOpenWrite = 0x0001;
inline constexpr WORD fmOpenReadWrite = 0x0002;
inline constexpr WORD fmShareCompat = 0x0000;
inline constexpr WORD fmShareExclusive = 0x0010;
inline constexpr WORD fmShareDenyWrite = 0x0020;
inline constexpr WORD fmShareDenyRead = 0x0030;
inline constexpr WORD fmShareDenyNone = 0x0040;

// File attributes of a directory search.
inline constexpr DWORD faReadOnly = 0x01;
inline constexpr DWORD faHidden = 0x02;
inline constexpr DWORD faSysFile = 0x04;
inline constexpr DWORD faVolumeID = 0x08;
inline constexpr DWORD faDirectory = 0x10;
inline constexpr DWORD faArchive = 0x20;
inline constexpr DWORD faAnyFile = 0x3F;

// The CreateFile access and share flags of an open mode; a mode outside the tables (access 3,
// sharing above 4) raises ERangeError.
DWORD FileOpenAccess(DWORD mode);
DWORD FileOpenShare(DWORD mode);

// What the system locale says about the script of the user's language. Both are false here:
// no Far-East bracketed hot keys, no right-to-left default.
struct TSysLocale {
    bool FarEast = false;
    bool MiddleEast = false;
};
extern TSysLocale SysLocale;

// Locale-aware comparison of wide text under the user's collation (the environment's locale;
// the root collation for the C locale). The case-sensitive form orders equal-looking but
// different texts by code unit, so only identical texts compare equal.
int WideCompareStr(std::u16string_view a, std::u16string_view b);
// Case- and width-insensitive: "b" and "B" are equal, accents still count.
int WideCompareText(std::u16string_view a, std::u16string_view b);
inline bool WideSameStr(std::u16string_view a, std::u16string_view b) { return a == b; }
inline bool WideSameText(std::u16string_view a, std::u16string_view b) { return WideCompareText(a, b) == 0; }
// The same over the class library's 8-bit (UTF-8) text.
int AnsiCompareStr(std::string_view a, std::string_view b);
int AnsiCompareText(std::string_view a, std::string_view b);
inline bool AnsiSameText(std::string_view a, std::string_view b) { return AnsiCompareText(a, b) == 0; }

// Simple (length-preserving) case mapping of every character: "ß" stays "ß".
WideString WideUpperCase(std::u16string_view text);
WideString WideLowerCase(std::u16string_view text);
AnsiString AnsiUpperCase(std::string_view text);
AnsiString AnsiLowerCase(std::string_view text);

// Text of 8-bit bytes whose encoding is unknown: UTF-8 when the bytes are well-formed UTF-8,
// else the legacy Western code page 1252, so that no byte is lost.
WideString DecodeUnmarkedText(std::string_view bytes);
