// The export run: every message of a job becomes one output file (Unicode text, PDF or an
// image), optionally with its attachments beside it. Failed messages are counted, described in
// the report "ExportLog.txt" and copied into the folder for failed messages; nothing that
// exists is ever overwritten.
#pragma once

#include <string>
#include <vector>

#include "output/export/ExportOpts.h"

struct ExportOutcome {
    bool started = false;       // false: refused before the first message (no back end)
    std::string refusal;        // why it was refused
    int exported = 0;           // messages written without a failure
    int failed = 0;             // the error count
    std::vector<WideString> reportLines;
    WideString reportPath;      // where the report went (empty when there was nothing to report)
    bool reportWritten = false;
    DWORD writeError = 0;       // the system error of a failed reservation of an output file
};

// Runs the job described by opts; with a progressForm it shows status, progress and boxes,
// without one it is silent and writes what a box would say to standard error.
ExportOutcome PDFExport(ExportOpts& opts);

// --- The run's rules, exposed for their tests ---

// "1 d 2 h 3 m 4 s" with the zero parts left out; empty for less than a second.
WideString RemainingTimeText(long long milliseconds);
// Status panel text after message index (0-based) of count; the remaining time shows from index 5 on.
WideString ExportStatusText(int index, int count, long long remainingMilliseconds);
// More than 50 errors and every message so far failed.
bool TooManyErrors(int errors, int index);
// Attachments of a numbered output are prefixed with its base name unless they get a folder of
// their own or the outputs are named after the messages.
WideString AttachmentPrefix(const WideString& baseName, bool perMessageFolders, bool sameName);
// A UI text with each "%s" replaced by the next argument ("%%" is "%"); every other "%"
// sequence and a "%s" without an argument stay as they stand, so a translation cannot make the
// substitution read what is not there.
WideString FormatUiText(int id, std::initializer_list<WideString> args);
WideString SubstituteArgs(const WideString& format, std::initializer_list<WideString> args);
