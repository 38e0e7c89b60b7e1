#include "output/export/FileRename.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <unistd.h>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

WideString Decimal(long long n) { return Utf8ToUtf16(std::to_string(n)); }

bool MoveNoReplace(const WideString& from, const WideString& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), 0) != FALSE;
}

// Moves the file aside to a name of its own in the same folder; empty when it could not move.
WideString MoveAside(const WideString& path, int index)
{
    const WideString folder = WideIncludeTrailingBackslash(WideExtractFilePath(path));
    const WideString stem = folder + u".quillora-rename-" + Decimal(::getpid()) + u"-" + Decimal(index);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const WideString aside = CAppUtils::MakeUniqueFileName(stem);
        if (aside.empty()) return {};
        if (MoveNoReplace(path, aside)) return aside;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

}  // namespace

std::vector<WideString> ListFolderFiles(const WideString& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(Utf16ToUtf8(folder)), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code e;
        if (it->is_regular_file(e)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    std::vector<WideString> out;
    for (const fs::path& p : files) out.push_back(Utf8ToUtf16(p.string()));
    return out;
}

int GetFilesCount(const WideString& folder) { return static_cast<int>(ListFolderFiles(folder).size()); }

long long NamingCapacity(const ExportOpts& opts)
{
    const long long perLetter = static_cast<long long>(opts.maxNumber) + 1;
    if (opts.letter == 0 || !opts.allowLetterIncrement || opts.letter > u'Z') return perLetter;
    return perLetter * (u'Z' - opts.letter + 1);
}

bool CheckNamingCapacity(const ExportOpts& opts)
{
    const int count = GetFilesCount(opts.destFolder);
    const long long capacity = NamingCapacity(opts);
    if (capacity >= count) return true;
    if (opts.progressForm)
        opts.progressForm->ShowBox(GetUiString(1069) + Decimal(capacity) + GetUiString(1070) + GetUiString(1071) +
                                       Decimal(count) + GetUiString(1072),
                                   GetUiString(1073), TExportBoxIcon::Information);
    return false;
}

std::vector<RenamePlanItem> PlanRenames(ExportOpts& opts, const std::vector<WideString>& files)
{
    std::vector<RenamePlanItem> plan;
    bool exhausted = false;
    for (const WideString& path : files) {
        RenamePlanItem item{path, {}};
        WideString name;
        if (opts.useFileNumbering) {
            name = opts.prefix + Decimal(opts.currentNumber++);
        } else if (!exhausted) {
            name = GenerateFileName(opts);
            exhausted = name.empty();
        }
        if (!name.empty())
            item.to = WideIncludeTrailingBackslash(WideExtractFilePath(path)) +
                      CAppUtils::MakeValidFileName(name + WideExtractFileExt(path), false);
        plan.push_back(std::move(item));
    }
    return plan;
}

RenameOutcome ApplyRenames(const std::vector<RenamePlanItem>& plan)
{
    RenameOutcome outcome;
    outcome.listed = static_cast<int>(plan.size());
    std::set<WideString> sources;
    for (const RenamePlanItem& item : plan) sources.insert(item.from);

    // Step one: every file that moves goes aside, unless its new name belongs to something that
    // is not being renamed (that file keeps its name and counts as failed).
    struct Moving {
        const RenamePlanItem* item;
        WideString aside;
    };
    std::vector<Moving> moving;
    int index = 0;
    for (const RenamePlanItem& item : plan) {
        ++index;
        if (item.to.empty()) {
            ++outcome.failed;
            continue;
        }
        if (item.to == item.from) {
            ++outcome.renamed;
            continue;
        }
        if (!sources.count(item.to) && (WideFileExists(item.to) || WideDirectoryExists(item.to))) {
            ++outcome.failed;
            continue;
        }
        const WideString aside = MoveAside(item.from, index);
        if (aside.empty()) {
            ++outcome.failed;
            continue;
        }
        moving.push_back({&item, aside});
    }
    // Step two: into the new names, never over a file; a file that cannot go there goes back.
    for (const Moving& m : moving) {
        if (MoveNoReplace(m.aside, m.item->to)) {
            ++outcome.renamed;
            continue;
        }
        ++outcome.failed;
        if (!MoveNoReplace(m.aside, m.item->from))
            LogPrintf(u"FAILED: \"%s\" stays as \"%s\"", m.item->from.c_str(), m.aside.c_str());
    }
    return outcome;
}

RenameOutcome PDFRename(ExportOpts& opts)
{
    QUILLORA_TRACE(u"TfmBateStamp::PDFRename");
    RenameOutcome outcome;
    if (!opts.useFileNumbering) {
        if (!CheckNamingCapacity(opts)) {
            outcome.refused = true;
            return outcome;
        }
        opts.currentNumber = 0;
    }
    const std::vector<WideString> files = ListFolderFiles(opts.destFolder);
    if (opts.progressForm) {
        opts.progressForm->ShowStatus(GetUiString(1074));
        opts.progressForm->ProcessMessages();
    }
    // Cancel is honoured before the first rename; once begun, the two steps finish together.
    if (opts.stopRequested) return outcome;
    outcome = ApplyRenames(PlanRenames(opts, files));
    if (opts.progressForm) {
        if (outcome.failed == 0)
            opts.progressForm->ShowBox(GetUiString(1075), GetUiString(1031), TExportBoxIcon::Information);
        else if (outcome.failed < outcome.listed)
            opts.progressForm->ShowBox(GetUiString(1133), GetUiString(1007), TExportBoxIcon::Information);
        else
            opts.progressForm->ShowBox(GetUiString(1134), GetUiString(1007), TExportBoxIcon::Information);
        opts.progressForm->ShowStatus(GetUiString(1031));
    }
    return outcome;
}
