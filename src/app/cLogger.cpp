#include "app/cLogger.h"

#include <cstdarg>
#include <string>

#include "platform/win/PlatformTrace.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinProcess.h"
#include "platform/win/WinString.h"
#include "platform/win/WinTime.h"

bool debugMode = false;

namespace {

constexpr size_t kEntryBuffer = 1024;  // units of an entry line's text
constexpr size_t kPrintfBuffer = 8192; // units of a free line's text

struct LogState {
    HANDLE file = nullptr;
    WideString path;
    int depth = 0;
    LogStampSource stamp;
};

LogState& State() {
    static LogState state;
    return state;
}

bool IsOpen() {
    const LogState& s = State();
    return s.file != nullptr && !s.path.empty();
}

void AppendTwoDigits(WideString& out, unsigned v) {
    out.push_back(static_cast<char16_t>(u'0' + (v / 10) % 10));
    out.push_back(static_cast<char16_t>(u'0' + v % 10));
}

// "yyyy-mm-dd hh:mm:ss" (see docs/decisions.md for the fixed separators).
WideString FormatStamp(const SYSTEMTIME& t) {
    WideString out;
    AppendTwoDigits(out, t.wYear / 100);
    AppendTwoDigits(out, t.wYear % 100);
    out.push_back(u'-');
    AppendTwoDigits(out, t.wMonth);
    out.push_back(u'-');
    AppendTwoDigits(out, t.wDay);
    out.push_back(u' ');
    AppendTwoDigits(out, t.wHour);
    out.push_back(u':');
    AppendTwoDigits(out, t.wMinute);
    out.push_back(u':');
    AppendTwoDigits(out, t.wSecond);
    return out;
}

WideString Truncated(WideString text, size_t limit) {
    if (text.size() >= limit) {
        text.resize(limit - 1);
        // Never leave half a surrogate pair at the cut.
        if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
    }
    return text;
}

}  // namespace

void InitLogTimeFormat() {
    State().path.clear();
}

void SetLogStampSource(LogStampSource source) {
    State().stamp = std::move(source);
}

bool IsLogging() {
    return State().file != nullptr;
}

int LogWriteLine(std::u16string_view text) {
    if (!IsOpen()) return -1;
    LogState& s = State();

    SYSTEMTIME now{};
    if (s.stamp.now)
        now = s.stamp.now();
    else
        GetLocalTime(&now);
    const DWORD tid = s.stamp.threadId ? s.stamp.threadId() : GetCurrentThreadId();

    WideString line = FormatStamp(now);
    line.push_back(u' ');
    line += Utf8ToUtf16(std::to_string(tid));
    line.push_back(u'\t');
    for (int i = 1; i < s.depth; ++i) line += u"  ";
    line += text;
    line += u"\r\n";

    std::string bytes;
    bytes.reserve(line.size() * 2);
    for (char16_t c : line) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    DWORD written = 0;
    WriteFile(s.file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(s.file);
    return static_cast<int>(written);
}

int LogPrintf(const char16_t* fmt, ...) {
    if (!IsOpen() || fmt == nullptr) return 0;
    va_list args;
    va_start(args, fmt);
    WideString text = WideFormatV(fmt, args);
    va_end(args);
    return LogWriteLine(Truncated(std::move(text), kPrintfBuffer));
}

void cLogger::LogEnter(const char16_t* name, const char16_t* fmt, ...) {
    if (!IsOpen() || entered_) return;
    name_ = name ? name : u"";
    WideString text = u"> " + name_ + u" : ";
    if (fmt) {
        va_list args;
        va_start(args, fmt);
        text += WideFormatV(fmt, args);
        va_end(args);
    }
    ++State().depth;
    entered_ = true;
    LogWriteLine(Truncated(std::move(text), kEntryBuffer));
}

cLogger::~cLogger() {
    if (!entered_ || !IsOpen()) return;
    LogWriteLine(u"< " + name_);
    --State().depth;
}

int cLogger::logStart(const WideString& path) {
    LogState& s = State();
    s.path = path;
    if (s.file == nullptr) {
        const bool existed = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            s.path.clear();
            return -1;
        }
        LARGE_INTEGER zero{};
        SetFilePointerEx(h, zero, nullptr, FILE_END);
        s.file = h;
        s.depth = 0;
        if (!existed) {
            static const unsigned char bom[2] = {0xFF, 0xFE};
            DWORD written = 0;
            WriteFile(h, bom, 2, &written, nullptr);
            FlushFileBuffers(h);
        }
    }
    // The platform's diagnostics (libraries' warnings) join the log while it is open.
    SetPlatformTraceSink([](std::u16string_view line) { LogWriteLine(line); });
    cLogger scope;
    scope.LogEnter(u"cLogger::logStart", u"%s", u"Log started");
    return 0;
}

void cLogger::logStop() {
    LogState& s = State();
    SetPlatformTraceSink({});
    LogWriteLine(u"Log stopped");
    s.path.clear();
    if (s.file != nullptr) {
        CloseHandle(s.file);
        s.file = nullptr;
    }
    s.depth = 0;
}
