// Showing an internet message, exporting it, and its file-dialog strings.
//
// The view's browser shows web pages, not mail: a MIME file of the kinds mail uses (mixed,
// alternative, a single text part) does not render as a page. So the body is shown as an HTML
// page built from the parsed message: the HTML body with its cid: pictures saved beside it,
// or the plain text escaped in <pre>.
#include <filesystem>
#include <fstream>

#include "app/CAppUtils.h"
#include "app/RegExpUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/HtmlTagRefs.h"
#include "message/MessageEML.h"
#include "message/MessageFileDialogs.h"
#include "output/IRenderer.h"
#include "platform/win/WinString.h"
#include "regex/RegexContext.h"

namespace {

bool WriteUtf8WithMark(const WideString& path, const WideString& text)
{
    std::ofstream out(std::filesystem::path(Utf16ToUtf8(path)), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const AnsiString bytes = "\xEF\xBB\xBF" + Utf16ToUtf8(text);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

bool IsFolder(const WideString& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(std::filesystem::path(Utf16ToUtf8(path)), error);
}

}  // namespace

void MessageEML::Display(IView& view, bool plainText, bool withHeader)
{
    QUILLORA_TRACE(u"MessageEML::Display");
    if (!EnsureFullyLoaded()) LogPrintf(u"load failed: %s", fileName.c_str());
    TMessageAttr::Display(view, plainText, withHeader);
    view.SetDateFiled(*this, date, dateCaption, zoneHours);
    if (plainText) {
        view.ViewRTFString(*this, plainBody);
        return;
    }
    std::error_code error;
    if (shownFile.empty() || !std::filesystem::exists(std::filesystem::path(Utf16ToUtf8(shownFile)), error))
        shownFile = WriteBodyPage();
    if (shownFile.empty()) {
        LogPrintf(u"body page not written");
        return;
    }
    shownCharset = "utf-8";
    view.ViewHTMLFile(*this, shownFile, u"");
}

WideString MessageEML::WriteBodyPage()
{
    const WideString folder = CAppUtils::getAppTempFolder();
    if (folder.empty()) return {};
    WideString page;
    if (bodyIsHtml) {
        page = htmlBody;
        for (const AttachmentItem& part : inlineParts) {
            auto saved = inlineFiles_.find(part.number);
            if (saved == inlineFiles_.end()) {
                const WideString path = CAppUtils::MakeUniqueFileName(folder + CAppUtils::MakeValidFileName(part.name, false));
                if (path.empty() || !SavePart(part.number, path)) continue;
                saved = inlineFiles_.emplace(part.number, path).first;
            }
            const WideString pattern = u"\\bsrc\\s*=\\s*\"(cid:)?" + RegExpEscape(part.contentId) + u"\"";
            page = RegExpReplace(page, pattern, u"src=\"" + UrlOfFileName(WideExtractFileName(saved->second)) + u"\"",
                                 CaseInsensitive);
        }
    } else {
        page = u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title></title></head><body><pre>" +
               EscapeHtmlText(plainBody) + u"</pre></body></html>";
    }
    std::uniform_int_distribution<std::uint32_t> pick(0, 0xFFFFFE);
    const WideString path =
        CAppUtils::MakeUniqueFileName(folder + Utf8ToUtf16(std::to_string(pick(RandomNames()))) + u".html");
    if (path.empty() || !WriteUtf8WithMark(path, page)) return {};
    return path;
}

WideString MessageEML::ExportToHtml(const WideString& destination)
{
    QUILLORA_TRACE(u"MessageEML::ExportToHtml");
    WideString target =
        IsFolder(destination) ? WideIncludeTrailingBackslash(destination) + GetExportFileName() : destination;
    target = WideChangeFileExt(target, u".mht");
    LogPrintf(u"fileName: \"%s\" dstFileName: \"%s\"", fileName.c_str(), target.c_str());
    const bool ok = WideCopyFile(fileName, target, false);
    LogPrintf(u"res: %d", ok ? 1 : 0);
    return ok ? target : WideString();
}

WideString MessageEML::GetExportFilterString() { return MessageExportFilterString(*this); }
WideString MessageEML::GetSaveFilterString() { return EmlSaveFilterString(); }
WideString MessageEML::GetDefaultExtension() { return EmlDefaultExtension(); }
WideString MessageEML::GetExportDefaultExtension() { return MessageExportDefaultExtension(); }
