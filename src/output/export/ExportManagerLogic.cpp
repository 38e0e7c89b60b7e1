#include "output/export/ExportManagerLogic.h"

#include <algorithm>

#include "controls/unicode/TntSysUtils.h"

namespace {

const char* const kExportOnly[] = {"cbSameName",   "cbCustomScheme",    "cbExtractAttachment", "cbExportFolders",
                                   "cbInsertFileName", "ExportFormatCombo", "ExportFormatLabel", "cbStopOnError",
                                   "cbCopyFailed", "edFailedPath",      "browseFailedPath"};
const char* const kScheme[] = {"Label7", "WP",      "Label3",        "rbFileNumbering", "edNumber",
                               "rbNumberRange", "Label1", "cbLetter", "cbNumberRange", "cbIncreaseLetter"};
const char* const kAll[] = {"edPath",          "RzBitBtn2",        "cbSameName",       "cbCustomScheme",
                            "TntGroupBox1",    "cbExtractAttachment", "cbInsertFileName", "cbExportFolders",
                            "ExportFormatCombo", "StartBtn",       "cbStopOnError",    "cbCopyFailed",
                            "edFailedPath",    "browseFailedPath", "CancelBtn"};

constexpr std::int32_t kDigitMax[] = {9, 99, 999, 9999, 99999, 999999};

}  // namespace

ExportFormView UpdateControls(ExportFormState& state)
{
    ExportFormView view;
    for (const char* name : kAll) view[name] = {};
    for (const char* name : kScheme) view[name] = {};
    if (state.exportMode) {
        // Back from file naming, which hid the radio buttons: name after the message again.
        if (!state.lastShownExport) state.sameName = true;
    } else {
        for (const char* name : kExportOnly) view[name].visible = false;
        state.sameName = false;
    }
    state.lastShownExport = state.exportMode;
    view["edFailedPath"].enabled = view["browseFailedPath"].enabled = state.copyFailed;
    view["cbExportFolders"].enabled = state.extractAttachment;
    if (!state.extractAttachment) state.exportFolders = false;
    CustomSchemeControlsLogic(state, view);
    return view;
}

void CustomSchemeControlsLogic(ExportFormState& state, ExportFormView& view)
{
    const bool custom = !state.sameName;
    for (const char* name : kScheme) view[name].enabled = custom;
    if (!custom) return;
    const bool letter = state.letterIndex != 0;
    if (!letter) state.increaseLetter = false;
    view["cbIncreaseLetter"].enabled = letter;
    if (state.fileNumbering) {
        view["edNumber"].enabled = true;
        view["cbNumberRange"].enabled = view["cbLetter"].enabled = view["cbIncreaseLetter"].enabled = false;
    } else {
        view["edNumber"].enabled = false;
        view["cbNumberRange"].enabled = view["cbLetter"].enabled = true;
    }
}

void EnableControls(ExportFormView& view, bool enabled)
{
    for (const char* name : kAll) view[name].enabled = enabled;
    view["CancelBtn"].enabled = true;
}

std::vector<WideString> ExportFormatList(const WideString& converterFormats)
{
    std::vector<WideString> list{u"TXT"};
    WideString line;
    for (const char16_t c : converterFormats + u"\n") {
        if (c != u'\n' && c != u'\r') {
            line += c;
            continue;
        }
        if (!line.empty()) list.push_back(WideUpperCaseString(line));
        line.clear();
    }
    return list;
}

int DefaultFormatIndex(const std::vector<WideString>& formats)
{
    const auto pdf = std::find(formats.begin(), formats.end(), u"PDF");
    if (pdf != formats.end()) return static_cast<int>(pdf - formats.begin());
    return formats.empty() ? -1 : static_cast<int>(formats.size()) - 1;
}

WideString FilterNumberText(const WideString& text)
{
    WideString digits;
    for (const char16_t c : text)
        if (c >= u'0' && c <= u'9' && digits.size() < kStartNumberMaxDigits) digits += c;
    return digits;
}

bool CanStart(const ExportFormState& state) { return !state.path.empty() && WideDirectoryExists(state.path); }

void ReadExportOptions(const ExportFormState& state, ExportOpts& opts)
{
    opts.stopRequested = false;
    opts.destFolder = state.path;
    opts.formatIndex = state.formatIndex;
    opts.formatName = state.formatName;
    opts.sameName = state.sameName;
    opts.prefix = state.prefix.substr(0, kPrefixMaxLength);
    opts.useFileNumbering = state.fileNumbering;
    if (!state.fileNumbering) {
        opts.startNumber = opts.currentNumber = 0;
        opts.maxNumber = kDigitMax[std::clamp(state.digitIndex, 0, 5)];
    } else {
        const WideString digits = FilterNumberText(state.number);
        const std::int32_t start = digits.empty() ? 0 : std::stoi(std::string(digits.begin(), digits.end()));
        opts.startNumber = opts.currentNumber = start;
        opts.maxNumber = 99999999;
    }
    opts.letter = state.letterIndex > 0 && state.letterIndex <= 26 ? static_cast<char16_t>(u'A' + state.letterIndex - 1) : 0;
    opts.allowLetterIncrement = state.increaseLetter && opts.letter != 0;
    opts.extractAttachments = state.extractAttachment;
    opts.insertFileName = state.insertFileName;
    opts.perMessageFolders = state.exportFolders && state.extractAttachment;
    opts.stopOnError = state.stopOnError;
    opts.failedFolder = state.copyFailed ? state.failedPath : WideString();
    opts.progressPercent = 0;
}
