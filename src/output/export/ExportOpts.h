// One run of the export manager, an export or a renaming: where the output goes, in which
// format, which messages, how output files are named, what happens to attachments and to
// messages that fail, and who shows the progress. Also the Bates-style naming scheme and the
// way an export forms each output file's name and folder without ever reusing a name.
#pragma once

#include <memory>

#include "platform/vcl/GdiTypes.h"
#include "message/MessageAttrDeque.h"
#include "platform/win/WinTypes.h"

class IHTMLConverter;
class TMessageAttr;

// Message box icons of a run's boxes.
enum class TExportBoxIcon { None, Information, Error };

// The dialog's side of a run; a run without one is silent.
class IExportProgress {
public:
    virtual ~IExportProgress() = default;
    // Status panel 1.
    virtual void ShowStatus(const WideString& text) = 0;
    // Repaints the progress panel from the record's progressPercent.
    virtual void InvalidateProgress() = 0;
    // Lets pending window messages run (Cancel and closing take effect here).
    virtual void ProcessMessages() = 0;
    virtual void ShowBox(const WideString& text, const WideString& caption, TExportBoxIcon icon) = 0;
    // Opens the report with the desktop's program for it.
    virtual void OpenReport(const WideString& path) = 0;
};

struct ExportOpts {
    bool stopRequested = false;
    WideString destFolder;
    std::int32_t formatIndex = 0;  // 0 text, else a format of the HTML converter
    WideString formatName;         // the output extension without its dot, as listed or typed
    MessageAttrDeque* messages = nullptr;
    bool sameName = false;
    WideString prefix;
    bool useFileNumbering = false;
    std::int32_t startNumber = 0;
    std::int32_t currentNumber = 0;
    std::int32_t maxNumber = 0;
    char16_t letter = 0;  // 'A' to 'Z', or 0 for none
    bool allowLetterIncrement = false;
    bool extractAttachments = false;
    bool insertFileName = false;
    bool perMessageFolders = false;
    bool stopOnError = false;
    WideString failedFolder;
    HWND owner = nullptr;
    IExportProgress* progressForm = nullptr;
    std::shared_ptr<IHTMLConverter> converter;
    std::int32_t progressPercent = 0;
};

// The next numbered name (no folder, no extension), or empty once the letter scheme is used up.
// Advances currentNumber and, on a change of series, letter.
WideString GenerateFileName(ExportOpts& opts);

// Where one message's output goes.
struct ExportTarget {
    WideString folder;    // ends with "/"
    WideString fullPath;  // a name no file had when it was formed
    WideString baseName;  // the file name of fullPath without its extension
};

// Forms the output of a message named name (already chosen by the naming scheme). The name is
// cleaned as one file name before anything is joined, so no part of it can name a folder; a
// message with attachments gets a new folder of its own when both extractAttachments and
// perMessageFolders are set. Empty paths when no unique name is left.
ExportTarget FormExportTarget(const ExportOpts& opts, const WideString& name, int attachmentCount);

// Creates path as a new empty file, never touching an existing one; 0 or the system error code
// (ERROR_FILE_EXISTS when something already has that name).
DWORD ReserveNewFile(const WideString& path);
