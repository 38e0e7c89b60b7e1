#include "dialogs/CsvExport.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/AppLocDB.h"
#include "app/FileDlgWrapper.h"
#include "dialogs/CsvExportDlg.h"
#include "message/MessageAttr.h"
#include "platform/vcl/Forms.h"
#include "platform/win/AtomicFile.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

namespace {

bool NeedsQuotes(const WideString& field) {
    for (char16_t c : field)
        if ((c >= 1 && c <= 32) || c == u'"' || c == u',') return true;
    return false;
}

void AppendEncoded(std::string& out, const WideString& text, bool unicode) {
    if (!unicode) {
        out += EncodeCodePage(GetACP(), text);
        return;
    }
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
}

}  // namespace

WideString formatForCSV(const WideString& text) {
    WideString out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
        out += text[i];
    }
    return out;
}

WideString CsvQuoteField(const WideString& field) {
    if (!NeedsQuotes(field)) return field;
    WideString out = u"\"";
    for (char16_t c : field) {
        if (c == u'"') out += u'"';
        out += c;
    }
    out += u'"';
    return out;
}

WideString CsvLine(const std::vector<WideString>& fields) {
    WideString line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) line += u',';
        line += CsvQuoteField(fields[i]);
    }
    return line;
}

WideString CsvHeaderLine(bool withBody) {
    std::vector<WideString> fields;
    for (int id = 1023; id <= (withBody ? 1029 : 1028); ++id) fields.push_back(GetUiString(id));
    return CsvLine(fields);
}

WideString CsvMessageLine(const TMessageAttr& m, bool withBody) {
    std::vector<WideString> fields{m.fileName, m.from, m.subject, m.dateText, m.to, m.cc};
    if (withBody) fields.push_back(m.plainBody);
    for (WideString& f : fields) f = formatForCSV(f);
    return CsvLine(fields);
}

CsvExportResult ExportMessagesToCsv(const MessageAttrDeque& list, const WideString& path, const CsvExportOptions& options) {
    std::string bytes;
    AppendEncoded(bytes, CsvHeaderLine(options.withBody), options.unicode);
    for (TMessageAttr* message : list) {
        if (!message) continue;
        AppendEncoded(bytes, u"\n", options.unicode);
        // A message that cannot load fully still gets its line with what it holds.
        if (options.withBody) message->EnsureFullyLoaded();
        AppendEncoded(bytes, CsvMessageLine(*message, options.withBody), options.unicode);
    }
    const int failure = ReplaceFileAtomically(std::filesystem::path(Utf16ToUtf8(path)), bytes);
    if (failure == 0) return {};
    return {false, WideFormat(GetUiFormat(1165).c_str(), path.c_str(), Utf8ToUtf16(std::strerror(failure)).c_str())};
}

bool RunCsvExportCommand(const MessageAttrDeque& list) {
    if (list.empty()) {
        Application->MessageBox(GetUiString(1020), GetUiString(1021), MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!csvExportDlg || csvExportDlg->ShowModal() != mrOk) return false;
    SaveDlgWrapper save(WideString(), GetUiString(1022) + u" (*.csv)|*.csv", u"*.csv");
    if (!save.Exec(WideString(), WideString(), WideString())) return false;
    const CsvExportResult result = ExportMessagesToCsv(list, save.GetFileName(), csvExportDlg->Options());
    if (!result.ok) {
        Application->MessageBox(result.error, GetUiString(1007), MB_OK | MB_ICONERROR);
        return false;
    }
    Application->MessageBox(GetUiString(1030), GetUiString(1031), MB_OK | MB_ICONINFORMATION);
    return true;
}
