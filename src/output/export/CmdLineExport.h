// The command-line export: "+EXPORT=<source>,<destination>,<format>,<options>,<failed-folder>"
// exports a message file or every message file of a folder without any window, box or
// prompt, and tells the outcome by its exit status and one line on standard error.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

class IHTMLConverter;
class TMessageAttr;

// Exit statuses of the command-line export.
enum CmdLineExportStatus : int {
    ceAllExported = 0,
    ceSomeFailed = 1,    // ExportLog.txt was written
    ceBadRequest = 2,    // bad argument, missing source, or no converter or PDF back end
    ceReportFailed = 3,  // messages failed and the report could not be written
};

struct CmdLineExportArgs {
    WideString source;
    WideString destination;
    WideString format;   // blanks trimmed, case as typed
    WideString options;  // as typed; only the upper-case letters A, N, F, S count
    WideString failedFolder;
    bool extractAttachments = false;  // A
    bool insertFileName = false;      // N
    bool perMessageFolders = false;   // F
    bool stopOnError = false;         // S
};

// True when the argument asks for an export ("+EXPORT" at its start, any case).
bool IsExportArgument(const std::string& argument);
// The text the export reads: the first argument starting with "+EXPORT=" (any case) joined
// with every later argument by single spaces, since the last field runs to the end of the
// command line. Empty when there is none; the program's own path is never looked at.
std::string ExportArgumentText(const std::vector<std::string>& argv);
// The five fields of the export text; nothing when a field separator is missing. Double
// quotes let the source, the destination and the failed folder hold commas and are removed.
std::optional<CmdLineExportArgs> ParseExportArgument(const std::string& text);

// Appends the message, or a store's messages, of one file; the kind comes from the extension.
// A ".msg" file that is no compound file is read as a MIME message. A store that cannot be
// opened is appended as one record that will fail to load, so that the run reports it.
void AddMessageFile(const WideString& path, std::vector<std::unique_ptr<TMessageAttr>>& list);
// The message files directly inside the folder (no subfolders, no empty files), by name.
void AddFolderMessages(const WideString& folder, std::vector<std::unique_ptr<TMessageAttr>>& list);

// Runs the export the arguments ask for with the given converter (may be null: text only);
// writes the summary line to standard error and returns the exit status.
int cmdLineExport(const std::vector<std::string>& argv, std::shared_ptr<IHTMLConverter> converter);

// The whole command-line export of the program: chooses the off-screen display, installs the
// widget set, loads the helper library, creates the HTML converter and runs cmdLineExport.
// Call it before any application object exists; its result is the exit status.
int RunCommandLineExport(const std::vector<std::string>& argv);
