// The trace log: one UTF-16LE file per run that reads as a call tree. Tracing costs one flag
// test when it is off: QUILLORA_TRACE builds no text unless debugMode is set.
#pragma once

#include <functional>

#include "platform/win/WinTypes.h"

extern bool debugMode;

// A trace scope: created at the top of a traced operation, it writes "> name" on entry and
// "< name" when it ends.
class cLogger {
public:
    cLogger() = default;
    ~cLogger();
    cLogger(const cLogger&) = delete;
    cLogger& operator=(const cLogger&) = delete;

    // Writes the entry line "> name : " + the expanded format, when the log is open.
    void LogEnter(const char16_t* name, const char16_t* fmt, ...);

    // Opens (appending) the log at path; 0 on success, -1 when it cannot be opened.
    static int logStart(const WideString& path);
    // Writes "Log stopped" and closes the log.
    static void logStop();

private:
    WideString name_;
    // Only a scope whose entry line was written writes an exit line, so a scope that began
    // before the log opened cannot unbalance the indentation.
    bool entered_ = false;
};

// Writes one free line (the expanded format); 0 when nothing was written.
int LogPrintf(const char16_t* fmt, ...);
// Writes one stamped, indented line; the bytes written, or -1 when the log is closed.
int LogWriteLine(std::u16string_view text);
bool IsLogging();
// Builds the line stamp format and clears the log path; runs once at start.
void InitLogTimeFormat();

// The clock and thread id that stamp each line; tests fix them.
struct LogStampSource {
    std::function<SYSTEMTIME()> now;
    std::function<DWORD()> threadId;
};
void SetLogStampSource(LogStampSource source);

// Opens a trace scope named `name` for the rest of the enclosing block.
#define QUILLORA_TRACE(name)                                                          \
    cLogger quilloraTraceScope;                                                       \
    if (debugMode) quilloraTraceScope.LogEnter(name, u"%s %d", u"" __FILE_NAME__, __LINE__)
