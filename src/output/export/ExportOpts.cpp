#include "output/export/ExportOpts.h"

#include "app/CAppUtils.h"
#include "controls/unicode/TntSysUtils.h"
#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

namespace {

WideString Decimal(std::int64_t n) { return Utf8ToUtf16(std::to_string(n)); }

}  // namespace

WideString GenerateFileName(ExportOpts& opts)
{
    WideString name = opts.prefix;
    if (opts.useFileNumbering) {
        name += Decimal(opts.currentNumber);
        ++opts.currentNumber;
        return name;
    }
    if (opts.currentNumber > opts.maxNumber) {
        if (!opts.allowLetterIncrement || opts.letter == 0) return {};
        // The letter stays past "Z", so every later call is refused too.
        if (opts.letter <= u'Z') ++opts.letter;
        if (opts.letter > u'Z') return {};
        opts.currentNumber = opts.startNumber;
    }
    if (opts.letter != 0) name += opts.letter;
    name += Decimal(opts.currentNumber);
    ++opts.currentNumber;
    return name;
}

ExportTarget FormExportTarget(const ExportOpts& opts, const WideString& name, int attachmentCount)
{
    ExportTarget target;
    const WideString cleanName = CAppUtils::MakeValidFileName(name, false);
    const WideString fileName = CAppUtils::MakeValidFileName(cleanName + u"." + opts.formatName, false);
    target.folder = WideIncludeTrailingBackslash(opts.destFolder);
    if (attachmentCount > 0 && opts.extractAttachments && opts.perMessageFolders) {
        const WideString own = CAppUtils::MakeUniqueFileName(target.folder + cleanName);
        if (own.empty()) return {};
        target.folder = WideIncludeTrailingBackslash(own);
    }
    target.fullPath = CAppUtils::MakeUniqueFileName(target.folder + fileName);
    if (target.fullPath.empty()) return {};
    target.baseName = WideChangeFileExt(WideExtractFileName(target.fullPath), u"");
    return target;
}

DWORD ReserveNewFile(const WideString& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : (error ? error : ERROR_ACCESS_DENIED);
    }
    CloseHandle(file);
    return 0;
}
