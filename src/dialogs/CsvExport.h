// The message list as comma-separated text: one header line, then one line per message (source
// path, From, subject, date, To, CC and optionally the plain-text body), lines joined by a bare
// LF with none after the last, in UTF-16LE or in the ANSI code page, neither with a byte-order
// mark.
#pragma once

#include <vector>

#include "message/MessageAttrDeque.h"
#include "platform/win/WinTypes.h"

struct CsvExportOptions {
    bool unicode = false;   // UTF-16LE, else the ANSI code page
    bool withBody = false;  // adds the "Body" column; each message first loads fully
};

struct CsvExportResult {
    bool ok = true;
    WideString error;  // why the file was not written; empty on success
};

// Every CR LF pair becomes a single LF.
WideString formatForCSV(const WideString& text);
// The field as written: in double quotes, with each inner quote doubled, when it holds a
// character 1-32, a double quote or a comma; else as it stands.
WideString CsvQuoteField(const WideString& field);
// The fields quoted and joined by commas.
WideString CsvLine(const std::vector<WideString>& fields);

// The header line (texts 1023-1029) and a message's line.
WideString CsvHeaderLine(bool withBody);
WideString CsvMessageLine(const TMessageAttr& message, bool withBody);

// Writes the list into path, replacing any file there only once the whole file is written;
// on failure an existing file is left as it was. With bodies, each message loads fully from
// its source first; one that cannot still gets its line with the fields it holds.
CsvExportResult ExportMessagesToCsv(const MessageAttrDeque& list, const WideString& path, const CsvExportOptions& options);

// The "Export all to CSV..." command: the notice for an empty list, the options dialog
// (csvExportDlg), the save dialog, the export, then the completion box or the failure. True
// when the file was written.
bool RunCsvExportCommand(const MessageAttrDeque& list);
