// The file naming utility: gives every file directly inside a folder a Bates-style name from
// the naming scheme of an ExportOpts, keeping each file's extension. All new names are planned
// first and the files move in two steps through unique temporary names, with renames that never
// replace a file, so a collision can never destroy a file or leave names swapped half-way.
#pragma once

#include <vector>

#include "output/export/ExportOpts.h"

struct RenamePlanItem {
    WideString from;
    WideString to;  // empty: the naming scheme ran out of names for this file
};

struct RenameOutcome {
    int listed = 0;
    int renamed = 0;
    int failed = 0;
    bool refused = false;  // the letter scheme cannot name every file; nothing was renamed
};

// The files (not folders) directly in the folder, by name.
std::vector<WideString> ListFolderFiles(const WideString& folder);
int GetFilesCount(const WideString& folder);
// How many names the letter scheme holds: (max + 1) per letter, times the letters from the
// chosen one to "Z" when the letter may grow.
long long NamingCapacity(const ExportOpts& opts);
// True when the letter scheme can name every file of destFolder; otherwise shows the box (with
// a progressForm) and answers false.
bool CheckNamingCapacity(const ExportOpts& opts);
// The new name of each file in order, advancing the record's numbering as the run does.
std::vector<RenamePlanItem> PlanRenames(ExportOpts& opts, const std::vector<WideString>& files);
// Carries out a plan; every file keeps either its old or its new name.
RenameOutcome ApplyRenames(const std::vector<RenamePlanItem>& plan);
// The whole run: lists, checks capacity (letter scheme, which starts at 0), plans, renames,
// shows the summary box and "Completed".
RenameOutcome PDFRename(ExportOpts& opts);
