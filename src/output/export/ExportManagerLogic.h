// The export manager's logic without its window: the state of its controls, which of them are
// shown, enabled and checked in export and file naming mode, the format list, the start check
// and the mapping of the controls into the run's ExportOpts. The window sets its controls from
// ExportFormView and fills ExportFormState from them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "output/export/ExportOpts.h"

// What the user chose, as the controls hold it.
struct ExportFormState {
    bool exportMode = true;       // false: the file naming utility
    bool lastShownExport = true;  // the mode the dialog was last shown in
    bool sameName = true;         // cbSameName (else cbCustomScheme)
    bool fileNumbering = true;    // rbFileNumbering (else rbNumberRange)
    int letterIndex = 0;          // cbLetter: 0 "NONE", 1..26 "A".."Z"
    int digitIndex = 2;           // cbNumberRange: 0 "0" .. 5 "000000"; "000" by default
    bool increaseLetter = false;
    bool extractAttachment = false;
    bool insertFileName = false;
    bool exportFolders = false;
    bool stopOnError = false;
    bool copyFailed = false;
    WideString path;         // edPath
    WideString prefix;       // WP
    WideString number;       // edNumber
    WideString failedPath;   // edFailedPath
    int formatIndex = 0;     // ExportFormatCombo
    WideString formatName;
};

struct ControlFlags {
    bool visible = true;
    bool enabled = true;
};

// Visible and enabled state by control name (edPath, WP, cbLetter ...).
using ExportFormView = std::map<std::string, ControlFlags>;

inline constexpr int kPrefixMaxLength = 127;
inline constexpr int kStartNumberMaxDigits = 9;

// The controls after the dialog is shown or a check box changed; adjusts the checks the rules
// force (the naming radio buttons, "Allow to increment letter", the per-message folders).
ExportFormView UpdateControls(ExportFormState& state);
// The naming group alone, after a naming radio button or the letter changed.
void CustomSchemeControlsLogic(ExportFormState& state, ExportFormView& view);
// During a run only Cancel stays enabled.
void EnableControls(ExportFormView& view, bool enabled);

// "TXT" and then the converter's formats, upper case.
std::vector<WideString> ExportFormatList(const WideString& converterFormats);
// The format chosen at first: "PDF" when listed (the list's order is the converter's), else the
// last one.
int DefaultFormatIndex(const std::vector<WideString>& formats);

// The start-number edit keeps only digits, at most nine of them (typing and pasting alike).
WideString FilterNumberText(const WideString& text);
// Start runs only into an existing folder; otherwise the dialog says "Select folder, please".
bool CanStart(const ExportFormState& state);

// The run's record from the controls (the messages, converter and progress are the caller's).
void ReadExportOptions(const ExportFormState& state, ExportOpts& opts);
