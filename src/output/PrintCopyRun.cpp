#include "output/PrintCopyRun.h"

#include <algorithm>
#include <exception>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "message/MessageAttr.h"
#include "output/EMFPrinter.h"
#include "output/HDCAdapter.h"
#include "output/IRenderer.h"
#include "output/MessageRender.h"
#include "output/TextRenderer.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Printers.h"
#include "platform/win/WinString.h"

namespace {

WideString NameOf(const TMessageAttr& message)
{
    if (!message.subject.empty()) return message.subject;
    const std::size_t cut = message.fileName.find_last_of(u"/\\");
    return cut == WideString::npos ? message.fileName : message.fileName.substr(cut + 1);
}

}  // namespace

TPrintChoice ChoosePrintJob(bool silent, HDC& dc)
{
    dc = nullptr;
    PRINTDLGW dialog;
    dialog.Flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_RETURNDC | PD_USEDEVMODECOPIES;
    dialog.nFromPage = dialog.nToPage = 0xFFFF;
    dialog.nMinPage = 1;
    dialog.nMaxPage = 0xFFFF;
    if (silent) {
        if (GetDefaultPrinterName().empty()) return TPrintChoice::NoPrinter;
        dialog.Flags |= PD_RETURNDEFAULT;
    }
    if (!PrintDlgW(&dialog) || !dialog.hDC) return silent ? TPrintChoice::NoPrinter : TPrintChoice::Cancelled;
    dc = dialog.hDC;
    return TPrintChoice::Chosen;
}

int RunSegments(int n) { return std::min(n, 32); }

TRunResult PrintMessages(const std::vector<TMessageAttr*>& messages, HDC printer, IHTMLConverter& converter,
                         IRunProgress& progress)
{
    QUILLORA_TRACE(u"PrintMessages");
    TRunResult result;
    result.total = static_cast<int>(messages.size());
    progress.Start(RunSegments(result.total), result.total);
    DOCINFOW info;
    info.lpszDocName = u"Text Document";
    info.lpszDatatype = u"RAW";
    if (result.total > 0 && StartDocW(printer, &info) > 0) {
        result.started = true;
        MessageRender render;
        PRN_HDCAdapter device(printer);
        for (TMessageAttr* message : messages) {
            if (progress.Cancelled()) break;
            StartPage(printer);
            try {
                if (render.RenderToDC(*message, device, converter, 1)) ++result.done;
                else result.failures.push_back({NameOf(*message), render.LastError()});
            } catch (const std::exception& e) {
                result.failures.push_back({NameOf(*message), e.what()});
            }
            EndPage(printer);
            progress.Step(WideFormat(GetUiFormat(1106).c_str(), result.done, result.total));
        }
        if (EndDoc(printer) <= 0 && result.done > 0) {
            result.failures.push_back({u"", "the printer did not accept the document"});
            result.done = 0;
        }
    }
    DeleteDC(printer);
    return result;
}

TRunResult CopyMessages(const std::vector<TMessageAttr*>& messages, const WideString& destination, IRunProgress& progress)
{
    QUILLORA_TRACE(u"CopyMessages");
    TRunResult result;
    result.total = static_cast<int>(messages.size());
    if (result.total == 0) return result;
    result.started = true;
    progress.Start(RunSegments(result.total), result.total);
    for (TMessageAttr* message : messages) {
        if (progress.Cancelled()) break;
        try {
            if (!message->Export(destination).empty()) ++result.done;
            else result.failures.push_back({NameOf(*message), "the message could not be copied"});
        } catch (const std::exception& e) {
            result.failures.push_back({NameOf(*message), e.what()});
        }
        progress.Step(WideFormat(GetUiFormat(1065).c_str(), result.done, result.total));
    }
    return result;
}

WideString HeaderPrintText(const std::vector<TMessageAttr*>& messages)
{
    WideString text;
    for (TMessageAttr* message : messages) {
        TextRenderer lines;
        message->RenderHeaders(lines);
        text += lines.GetDocument() + u"\n\n\n";
    }
    return text;
}

bool PrintHeaders(const std::vector<TMessageAttr*>& messages, HDC printer, IHTMLConverter& converter)
{
    QUILLORA_TRACE(u"PrintHeaders");
    bool printed = false;
    const WideString folder = CAppUtils::getAppTempFolder();
    DOCINFOW info;
    info.lpszDocName = u"Text Document";
    info.lpszDatatype = u"RAW";
    if (!messages.empty() && !folder.empty() && StartDocW(printer, &info) > 0) {
        WideString text;
        for (const char16_t c : HeaderPrintText(messages))
            if (c != u'\r') text += c;
        TextRenderer page;
        page.AddParagraph(u"<html><body><pre>" + EscapeHtmlText(text) + u"</pre></body></html>");
        const WideString path = folder + u"printHeaders.html";
        PRN_HDCAdapter device(printer);
        HENHMETAFILE picture = nullptr;
        long dpiX = 0, dpiY = 0;
        const double scale = device.GetResolutionX() / 96.0;
        StartPage(printer);
        if (page.SaveToFileUnicode(path) &&
            SUCCEEDED(converter.ConvertToEMF(u"file:///" + path, u"", picture, static_cast<long>(device.GetPageWidth() / scale),
                                             0, dpiX, dpiY))) {
            printed = EMFPrinter::printMetaFile(device, picture, dpiX, dpiY, 0, 50, 50, 50, 50) != -1;
            DeleteEnhMetaFile(picture);
        } else {
            LogPrintf(u"header print failed: %s", Utf8ToUtf16(converter.LastError()).c_str());
        }
        EndPage(printer);
        printed = EndDoc(printer) > 0 && printed;
    }
    DeleteDC(printer);
    return printed;
}

WideString RunReport(const TRunResult& result, bool copy)
{
    if (result.total == 0) return {};
    WideString text = result.done > 0 ? WideFormat(GetUiFormat(copy ? 1066 : 1107).c_str(), result.done, result.total)
                                      : GetUiString(copy ? 1068 : 1108);
    for (const TRunFailure& f : result.failures) {
        text += u"\n";
        if (!f.message.empty()) text += f.message + u": ";
        text += Utf8ToUtf16(f.reason);
    }
    return text;
}
