#include "output/export/ExportRun.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "mail/QuoteHeader.h"
#include "mapi/MessagePST.h"
#include "message/MessageEML.h"
#include "message/MessageMSG.h"
#include "output/HDCAdapter.h"
#include "output/MessageRender.h"
#include "output/TextRenderer.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/outside/PdfDocument.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kTooManyErrors = 50;

WideString Decimal(long long n) { return Utf8ToUtf16(std::to_string(n)); }

// The files a message's rendering leaves in the temporary folder (body pages, inline pictures):
// whatever was not there before the message is removed after it, and nothing else.
class TempIntermediates {
public:
    explicit TempIntermediates(const WideString& folder) : folder_(Utf16ToUtf8(folder)) { before_ = List(); }
    ~TempIntermediates() {
        for (const std::string& name : List()) {
            if (before_.count(name)) continue;
            std::error_code error;
            fs::remove(fs::path(folder_) / name, error);
        }
    }
    TempIntermediates(const TempIntermediates&) = delete;
    TempIntermediates& operator=(const TempIntermediates&) = delete;

private:
    std::set<std::string> List() const {
        std::set<std::string> names;
        std::error_code error;
        if (folder_.empty()) return names;
        for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error))
            if (it->is_regular_file(error)) names.insert(it->path().filename().string());
        return names;
    }

    std::string folder_;
    std::set<std::string> before_;
};

// A fresh record of the listed message's kind that loads everything itself; the listed record
// keeps holding its list fields only. A store message's copy shares the store's session.
std::unique_ptr<TMessageAttr> MakeWorkingCopy(TMessageAttr& item)
{
    switch (item.GetType()) {
        case mftEML: return std::make_unique<MessageEML>();
        case mftMSG: return std::make_unique<MessageMSG>();
        case mftPST: {
            auto* listed = dynamic_cast<MessagePST*>(&item);
            if (!listed) return nullptr;
            auto copy = std::make_unique<MessagePST>();
            copy->pstAttr = listed->pstAttr;
            copy->attachRow = listed->attachRow;
            copy->unicodeStore = listed->unicodeStore;
            copy->session = listed->session;
            copy->codePage = listed->codePage;
            copy->fileName = listed->fileName;
            copy->subject = listed->subject;
            copy->from = listed->from;
            copy->to = listed->to;
            copy->cc = listed->cc;
            copy->bcc = listed->bcc;
            copy->date = listed->date;
            copy->dateText = listed->dateText;
            copy->dateCaption = listed->dateCaption;
            copy->sent = listed->sent;
            copy->msgType = listed->msgType;
            copy->hasAttachments = listed->hasAttachments;
            copy->loadLevel = mllHeaders;
            return copy;
        }
        default: return nullptr;
    }
}

bool RemoveIfEmpty(const WideString& path)
{
    std::error_code error;
    const fs::path p(Utf16ToUtf8(path));
    return fs::is_regular_file(p, error) && fs::file_size(p, error) == 0 && fs::remove(p, error);
}

class ExportRunner {
public:
    explicit ExportRunner(ExportOpts& opts) : opts_(opts) {}

    ExportOutcome Run();

private:
    bool SetUp();
    // One message; false when it failed.
    bool ExportOne(TMessageAttr& item);
    bool WriteText(TMessageAttr& work, const ExportTarget& target, const WideString& source);
    bool WritePdf(TMessageAttr& work, const ExportTarget& target, const WideString& source);
    bool WriteImage(TMessageAttr& work, const ExportTarget& target, const WideString& source);
    void Failed(TMessageAttr& item);
    void Status(int index, int count);
    void End();
    void Report(const WideString& line) { outcome_.reportLines.push_back(line); }
    void Box(int text, int caption, TExportBoxIcon icon) {
        if (opts_.progressForm) opts_.progressForm->ShowBox(GetUiString(text), GetUiString(caption), icon);
    }

    ExportOpts& opts_;
    ExportOutcome outcome_;
    bool copyFailed_ = false;
    WideString reportFolder_;
    int headerFlags_ = qhAttachments;
    std::int32_t counter_ = 0;
    bool pdf_ = false;
    std::shared_ptr<IPDFDocument4> document_;
    long long totalMs_ = 0;
    bool exhausted_ = false;
};

ExportOutcome ExportRunner::Run()
{
    QUILLORA_TRACE(u"TfmBateStamp::PDFExport");
    if (!SetUp()) return outcome_;
    outcome_.started = true;
    const int count = opts_.messages ? static_cast<int>(opts_.messages->size()) : 0;
    try {
        for (int index = 0; index < count; ++index) {
            const auto start = Clock::now();
            TMessageAttr* item = (*opts_.messages)[static_cast<size_t>(index)];
            bool ok = false;
            try {
                ok = item && ExportOne(*item);
            } catch (const std::exception& e) {
                LogPrintf(u"export failed: %hs", e.what());
            } catch (...) {
                LogPrintf(u"export failed");
            }
            if (exhausted_) break;
            if (ok) {
                ++outcome_.exported;
            } else if (item) {
                Failed(*item);
            } else {
                ++outcome_.failed;
            }
            if (opts_.stopRequested) break;
            totalMs_ += std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            // Cancel pressed while messages are pumped here ends the run after the next message.
            Status(index, count);
            if (TooManyErrors(outcome_.failed, index)) {
                Report(GetUiString(1118));
                break;
            }
        }
    } catch (...) {
        ++outcome_.failed;
        Report(GetUiString(1117));
    }
    End();
    return outcome_;
}

bool ExportRunner::SetUp()
{
    copyFailed_ = !opts_.failedFolder.empty();
    reportFolder_ = opts_.failedFolder;
    if (copyFailed_ && !WideForceDirectories(opts_.failedFolder)) {
        Box(1121, 1007, TExportBoxIcon::None);
        copyFailed_ = false;
        reportFolder_.clear();
    }
    if (reportFolder_.empty()) reportFolder_ = CAppUtils::getAppDataFolder();
    if (opts_.insertFileName) headerFlags_ |= qhFileName;
    counter_ = opts_.currentNumber;
    if (opts_.formatIndex == 0) return true;
    if (!opts_.converter) {
        outcome_.refusal = "the HTML converter is not available";
        Box(1084, 1007, TExportBoxIcon::None);
        return false;
    }
    pdf_ = WideUpperCaseString(opts_.formatName) == u"PDF";
    if (pdf_) {
        document_ = CreatePdfDocument();
        if (!document_) {
            outcome_.refusal = "the PDF document cannot be created";
            Box(1110, 1007, TExportBoxIcon::None);
            return false;
        }
    }
    return true;
}

bool ExportRunner::ExportOne(TMessageAttr& item)
{
    const WideString source = item.fileName;
    std::unique_ptr<TMessageAttr> work = MakeWorkingCopy(item);
    if (!work || (work->loadLevel < mllFull && !work->LoadFromFile(source, false))) {
        Report(FormatUiText(1113, {source}));
        return false;
    }
    TempIntermediates intermediates(CAppUtils::getAppTempFolder());

    WideString name;
    if (opts_.sameName) {
        name = item.GetExportName();
    } else if (opts_.useFileNumbering) {
        name = opts_.prefix + Decimal(counter_++);
    } else {
        name = GenerateFileName(opts_);
        if (name.empty()) {
            Report(GetUiString(1139));
            ++outcome_.failed;
            opts_.stopRequested = true;
            exhausted_ = true;
            return false;
        }
    }

    const int attachments = work->GetAttachmentCount();
    ExportTarget target;
    DWORD reserved = ERROR_FILE_EXISTS;
    // Another writer may take a name between forming and creating it: form it again then.
    for (int attempt = 0; attempt < 8 && reserved == ERROR_FILE_EXISTS; ++attempt) {
        target = FormExportTarget(opts_, name, attachments);
        if (target.fullPath.empty()) break;
        if (!WideForceDirectories(target.folder)) {
            Report(FormatUiText(1111, {target.folder, source}));
            return false;
        }
        reserved = ReserveNewFile(target.fullPath);
    }
    if (reserved != 0) {
        if (opts_.formatIndex == 0) {
            Report(FormatUiText(1114, {source}));
        } else {
            outcome_.writeError = reserved;
            Report(GetUiString(1116));
        }
        return false;
    }

    if (attachments > 0 && opts_.extractAttachments &&
        !work->SaveAllAttachments(target.folder, AttachmentPrefix(target.baseName, opts_.perMessageFolders, opts_.sameName),
                                  nullptr, false)) {
        Report(FormatUiText(1112, {source}));
        RemoveIfEmpty(target.fullPath);
        return false;
    }

    bool ok = false;
    if (opts_.formatIndex == 0)
        ok = WriteText(*work, target, source);
    else if (pdf_)
        ok = WritePdf(*work, target, source);
    else
        ok = WriteImage(*work, target, source);
    if (!ok) RemoveIfEmpty(target.fullPath);
    return ok;
}

bool ExportRunner::WriteText(TMessageAttr& work, const ExportTarget& target, const WideString& source)
{
    TextRenderer text;
    text.AddParagraph(BuildTextQuoteHeader(work, headerFlags_));
    const bool hasBody = !work.plainBody.empty();
    if (hasBody) {
        text.AddParagraph(work.plainBody);
    } else {
        text.AddParagraph(FormatUiText(1124, {WideString()}));
        Report(FormatUiText(1124, {source}));
    }
    if (!text.SaveToFileUnicode(target.fullPath)) {
        Report(FormatUiText(1114, {source}));
        return false;
    }
    // The file stays, but a message without a plain body was not exported properly.
    return hasBody;
}

bool ExportRunner::WritePdf(TMessageAttr& work, const ExportTarget& target, const WideString& source)
{
    document_->Clear();
    PDF_HDCAdapter device(document_);
    MessageRender render;
    if (!render.RenderToDC(work, device, *opts_.converter, headerFlags_)) {
        LogPrintf(u"PDF export failed: %hs", render.LastError().c_str());
        Report(FormatUiText(1119, {source}));
        return false;
    }
    const WideString product = GetUiString(1087);
    document_->put_Author(product);
    document_->put_Creator(product);
    document_->put_Producer(product);
    document_->put_Subject(work.subject);
    document_->put_Title(WideExtractFileName(work.fileName.empty() ? source : work.fileName));
    if (document_->SaveToFile(target.fullPath) < 0) {
        LogPrintf(u"PDF save failed: %hs", document_->LastError().c_str());
        Report(FormatUiText(1120, {source}));
        return false;
    }
    return true;
}

bool ExportRunner::WriteImage(TMessageAttr& work, const ExportTarget& target, const WideString& source)
{
    IMG_HDCAdapter device(*opts_.converter);
    MessageRender render;
    if (!render.RenderToDC(work, device, *opts_.converter, headerFlags_)) {
        LogPrintf(u"image export failed: %hs", render.LastError().c_str());
        Report(FormatUiText(1123, {source}));
        return false;
    }
    if (!device.SaveToFile(target.fullPath)) {
        Report(FormatUiText(1122, {source}));
        return false;
    }
    return true;
}

void ExportRunner::Failed(TMessageAttr& item)
{
    ++outcome_.failed;
    if (copyFailed_) {
        try {
            // A store message is written as a ".msg" file; a failed copy is not reported.
            item.Export(opts_.failedFolder);
        } catch (...) {
        }
    }
    if (opts_.stopOnError) opts_.stopRequested = true;
}

void ExportRunner::Status(int index, int count)
{
    if (!opts_.progressForm) return;
    const long long average = totalMs_ / (index + 1);
    opts_.progressForm->ShowStatus(ExportStatusText(index, count, average * (count - index)));
    opts_.progressPercent = (index + 1) * 100 / count;
    opts_.progressForm->InvalidateProgress();
    opts_.progressForm->ProcessMessages();
}

void ExportRunner::End()
{
    if (outcome_.failed > 0) {
        TextRenderer report;
        for (const WideString& line : outcome_.reportLines) report.AddParagraph(line);
        outcome_.reportPath = WideIncludeTrailingBackslash(reportFolder_) + u"ExportLog.txt";
        outcome_.reportWritten = !reportFolder_.empty() && report.SaveToFileUnicode(outcome_.reportPath);
        if (!outcome_.reportWritten) LogPrintf(u"FAILED: report not written: \"%s\"", outcome_.reportPath.c_str());
        if (opts_.progressForm && outcome_.reportWritten) opts_.progressForm->OpenReport(outcome_.reportPath);
        if (opts_.stopRequested && outcome_.writeError != 0) {
            const WideString text = WideSysErrorMessage(outcome_.writeError);
            if (opts_.progressForm)
                opts_.progressForm->ShowBox(text, GetUiString(1007), TExportBoxIcon::Error);
            else
                std::fprintf(stderr, "%s\n", Utf16ToUtf8(text).c_str());
        } else {
            Box(1082, 1031, TExportBoxIcon::Error);
        }
    } else if (opts_.stopRequested) {
        Box(1082, 1093, TExportBoxIcon::Information);
    } else {
        Box(1081, 1031, TExportBoxIcon::Information);
    }
    if (opts_.progressForm) {
        opts_.progressForm->ShowStatus(GetUiString(1031));
        opts_.progressPercent = 0;
        opts_.progressForm->InvalidateProgress();
    }
    document_.reset();
}

}  // namespace

ExportOutcome PDFExport(ExportOpts& opts) { return ExportRunner(opts).Run(); }

WideString RemainingTimeText(long long milliseconds)
{
    long long seconds = milliseconds / 1000;
    WideString text;
    const struct {
        long long size;
        const char16_t* unit;
    } parts[] = {{86400, u" d "}, {3600, u" h "}, {60, u" m "}, {1, u" s"}};
    for (const auto& part : parts) {
        const long long n = seconds / part.size;
        seconds %= part.size;
        if (n != 0) text += Decimal(n) + part.unit;
    }
    return text;
}

WideString ExportStatusText(int index, int count, long long remainingMilliseconds)
{
    const WideString remaining = index < 5 ? WideString() : RemainingTimeText(remainingMilliseconds);
    return GetUiString(1092) + u" [" + Decimal(index + 1) + u" " + GetUiString(1091) + u" " + Decimal(count) + u"];  " +
           GetUiString(1129) + remaining;
}

bool TooManyErrors(int errors, int index) { return errors > kTooManyErrors && errors == index + 1; }

WideString AttachmentPrefix(const WideString& baseName, bool perMessageFolders, bool sameName)
{
    return perMessageFolders || sameName ? WideString() : baseName + u" - ";
}

WideString SubstituteArgs(const WideString& format, std::initializer_list<WideString> args)
{
    WideString out;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size()) {
            if (format[i + 1] == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if (format[i + 1] == u's' && next != args.end()) {
                out += *next++;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

WideString FormatUiText(int id, std::initializer_list<WideString> args) { return SubstituteArgs(GetUiString(id), args); }
