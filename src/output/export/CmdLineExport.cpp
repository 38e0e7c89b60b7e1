#include "output/export/CmdLineExport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/SupportLibrary.h"
#include "app/UiStrings.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "controls/unicode/TntSystem.h"
#include "mapi/MapiLibs.h"
#include "mapi/StoreMessageList.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "output/export/ExportManagerLogic.h"
#include "output/export/ExportRun.h"
#include "platform/com/StructuredStorage.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

constexpr char kUsage[] = "usage: +EXPORT=<source>,<destination>,<format>,<options>,<failed-folder>";

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string WithoutQuotes(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    return text;
}

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int Refuse(const std::string& why)
{
    std::fprintf(stderr, "Quillora Pro export: %s; %s\n", why.c_str(), kUsage);
    return ceBadRequest;
}

}  // namespace

bool IsExportArgument(const std::string& argument) { return Upper(argument.substr(0, 7)) == "+EXPORT"; }

std::string ExportArgumentText(const std::vector<std::string>& argv)
{
    for (size_t i = 1; i < argv.size(); ++i) {
        if (Upper(argv[i].substr(0, 8)) != "+EXPORT=") continue;
        std::string text = argv[i];
        for (size_t j = i + 1; j < argv.size(); ++j) text += " " + argv[j];
        return text;
    }
    return {};
}

std::optional<CmdLineExportArgs> ParseExportArgument(const std::string& text)
{
    // Split by hand rather than by one pattern: a lazy pattern lets an empty options field
    // swallow the start of a quoted failed folder.
    const std::string upper = Upper(text);
    size_t at = upper.find("EXPORT=");
    if (at == std::string::npos) return std::nullopt;
    at += 7;
    std::vector<std::string> groups;
    for (int field = 0; field < 4; ++field) {
        size_t end = std::string::npos;
        if (field < 2 && at < text.size() && text[at] == '"') {
            const size_t close = text.find('"', at + 1);
            if (close != std::string::npos && close + 1 < text.size() && text[close + 1] == ',') end = close + 1;
        }
        if (end == std::string::npos) end = text.find(',', at);
        if (end == std::string::npos) return std::nullopt;
        groups.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    groups.push_back(text.substr(at));
    CmdLineExportArgs args;
    args.source = Utf8ToUtf16(WithoutQuotes(groups[0]));
    args.destination = Utf8ToUtf16(WithoutQuotes(groups[1]));
    args.format = Utf8ToUtf16(Trimmed(groups[2]));
    args.options = Utf8ToUtf16(groups[3]);
    args.failedFolder = Utf8ToUtf16(WithoutQuotes(groups[4]));
    args.extractAttachments = args.options.find(u'A') != WideString::npos;
    args.insertFileName = args.options.find(u'N') != WideString::npos;
    args.perMessageFolders = args.options.find(u'F') != WideString::npos;
    args.stopOnError = args.options.find(u'S') != WideString::npos;
    return args;
}

void AddMessageFile(const WideString& path, std::vector<std::unique_ptr<TMessageAttr>>& list)
{
    const MessageFileType kind = GetMessageFileType(path, false);
    if (kind == mftEML || kind == mftMSG) {
        std::unique_ptr<TMessageAttr> m;
        if (kind == mftMSG && StgIsStorageFile(path.c_str()) == S_OK)
            m = std::make_unique<MessageMSG>();
        else
            m = std::make_unique<MessageEML>();
        // A file that does not load is still listed: the run reports it and copies it aside.
        if (!m->LoadFromFile(path, true)) m->fileName = path;
        list.push_back(std::move(m));
    } else if (kind == mftPST) {
        EnsureMapi();
        auto session = std::make_shared<MapiSession>();
        session->Open(path, &MapiLibs::get(), 0);
        if (!session->opened || PST_EnumAllMessages(session, path, list) == 0) {
            if (session->opened) return;  // an empty store has nothing to export
            auto unopened = std::make_unique<MessagePST>();
            unopened->fileName = path;
            list.push_back(std::move(unopened));
        }
    }
}

void AddFolderMessages(const WideString& folder, std::vector<std::unique_ptr<TMessageAttr>>& list)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(Utf16ToUtf8(folder)), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code e;
        if (it->is_directory(e) || !it->is_regular_file(e) || it->file_size(e) == 0 || e) continue;
        files.push_back(it->path());
    }
    // Sorted by name, so that the order and the numbering of the outputs do not depend on the
    // file system's listing order.
    std::sort(files.begin(), files.end());
    for (const fs::path& p : files) AddMessageFile(Utf8ToUtf16(p.string()), list);
}

int cmdLineExport(const std::vector<std::string>& argv, std::shared_ptr<IHTMLConverter> converter)
{
    QUILLORA_TRACE(u"TfmBateStamp::cmdLineExport");
    RegisterUiStrings();
    const std::string text = ExportArgumentText(argv);
    std::optional<CmdLineExportArgs> args = ParseExportArgument(text);
    if (!args) return Refuse("the export argument needs five fields separated by four commas");
    // Named from the caller's folder, which the program has left by now.
    args->source = WideArgumentPath(args->source);
    args->destination = WideArgumentPath(args->destination);
    args->failedFolder = WideArgumentPath(args->failedFolder);
    if (args->destination.empty()) return Refuse("no destination folder");
    WideString listed;
    if (converter) converter->GetSupportedFormats(listed);
    const std::vector<WideString> formats = ExportFormatList(listed);
    const WideString format = WideUpperCaseString(args->format);
    if (std::find(formats.begin(), formats.end(), format) == formats.end()) {
        std::string known;
        for (const WideString& f : formats) known += (known.empty() ? "" : ", ") + Utf16ToUtf8(f);
        return Refuse("unknown format \"" + Utf16ToUtf8(args->format) + "\" (known: " + known + ")");
    }

    std::vector<std::unique_ptr<TMessageAttr>> owned;
    if (WideFileExists(args->source)) {
        AddMessageFile(args->source, owned);
        if (owned.empty()) return Refuse("\"" + Utf16ToUtf8(args->source) + "\" is no message file");
    } else if (!args->source.empty() && WideDirectoryExists(args->source)) {
        AddFolderMessages(args->source, owned);
    } else {
        return Refuse("the source \"" + Utf16ToUtf8(args->source) + "\" does not exist");
    }

    MessageAttrDeque messages;
    for (const auto& m : owned) messages.push_back(m.get());
    ExportOpts opts;
    opts.destFolder = args->destination;
    opts.formatName = args->format;
    opts.formatIndex = format == u"TXT" ? 0 : 1;
    opts.messages = &messages;
    opts.sameName = true;
    opts.maxNumber = 99999999;
    opts.extractAttachments = args->extractAttachments;
    opts.insertFileName = args->insertFileName;
    opts.perMessageFolders = args->perMessageFolders;
    opts.stopOnError = args->stopOnError;
    opts.failedFolder = args->failedFolder;
    opts.converter = std::move(converter);

    const ExportOutcome outcome = PDFExport(opts);
    if (!outcome.started) return Refuse(outcome.refusal);
    std::string summary = "Quillora Pro export: " + std::to_string(outcome.exported) + " of " +
                          std::to_string(messages.size()) + " messages exported";
    if (outcome.failed == 0) {
        std::fprintf(stderr, "%s\n", summary.c_str());
        return ceAllExported;
    }
    summary += ", " + std::to_string(outcome.failed) + " failed";
    if (!outcome.reportWritten) {
        std::fprintf(stderr, "%s; the report %s could not be written\n", summary.c_str(),
                     Utf16ToUtf8(outcome.reportPath).c_str());
        return ceReportFailed;
    }
    std::fprintf(stderr, "%s; see %s\n", summary.c_str(), Utf16ToUtf8(outcome.reportPath).c_str());
    return ceSomeFailed;
}

int RunCommandLineExport(const std::vector<std::string>& argv)
{
    // No window is ever shown, so the display is never needed (it may be gone, as in a cron
    // job or an ssh shell with a stale DISPLAY): the off-screen platform does the drawing.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    InstallQtWidgetSet();
    LoadHelperLibraries();
    std::shared_ptr<IHTMLConverter> converter = CreateHtmlConverter();
    return cmdLineExport(argv, std::move(converter));
}
