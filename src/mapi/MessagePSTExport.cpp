// Export of a store message: as a ".msg" file, as HTML, and the names and filters of both.
#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "mapi/MessagePST.h"
#include "mapi/PstMsgBuilder.h"
#include "message/MSGWriter.h"
#include "platform/win/WinString.h"

namespace {

WideString RowText(std::int32_t row) { return Utf8ToUtf16(std::to_string(row)); }

}  // namespace

int MessagePST::SaveToMSG(IMessage* message, const WideString& path, bool)
{
    QUILLORA_TRACE(u"MessagePST::SaveToMSG");
    if (!message) {
        LogPrintf(u"pMessage == NULL");
        return 1;
    }
    // A message without a subject is saved all the same.
    TMSGFile file;
    if (!BuildMsgTreeFromIMessage(message, MapiLibs::get(), file)) {
        LogPrintf(u"FAILED: the message's properties could not be read");
        return 1;
    }
    const HRESULT hr = SaveToMsgFile(file, path, true);
    LogPrintf(u"hRes: %d", static_cast<int>(hr));
    return SUCCEEDED(hr) ? 0 : 1;
}

WideString MessagePST::Export(const WideString& destination)
{
    QUILLORA_TRACE(u"MessagePST::Export");
    const WideString target = FormatExportFileName(destination, u".msg");
    if (target.empty()) return {};
    ComPtr<IMessage> message = GetIMessage(nullptr);
    if (!message) return {};
    return SaveToMSG(message.get(), target, false) == 0 ? target : WideString();
}

WideString MessagePST::ExportToHtml(const WideString& destination)
{
    QUILLORA_TRACE(u"MessagePST::ExportToHtml");
    const WideString target = FormatExportFileName(destination, u".html");
    if (target.empty() || !EnsureFullyLoaded()) return {};
    // This message's own body, not the page of whichever message was shown last.
    return SaveBodyAsHtml(target) ? target : WideString();
}

WideString MessagePST::FormatExportFileName(const WideString& destination, const WideString& extension)
{
    WideString path;
    if (destination.empty()) return {};
    if (WideDirectoryExists(destination)) {
        // Fitted again: the new extension may be longer than the one the name was fitted with.
        path = WideIncludeTrailingBackslash(destination) +
               CAppUtils::MakeValidFileName(WideChangeFileExt(GetExportFileName(), extension), false);
    } else {
        // A file path is the target itself (callers pass full paths); only its name is cleaned.
        path = CAppUtils::MakeValidFileName(destination, true);
    }
    return CAppUtils::MakeUniqueFileName(path);
}

WideString MessagePST::GetExportName()
{
    // The whole subject is cleaned: a "\" or "/" in it must not make folders of its parts.
    WideString name = CAppUtils::MakeValidFileName(subject, false);
    if (name.empty() || subject.empty())
        name = WideChangeFileExt(WideExtractFileName(fileName), u"") + u"_" + RowText(pstAttr.row);
    return name;
}

WideString MessagePST::GetExportFileName()
{
    WideString name = subject.empty() ? WideString() : CAppUtils::MakeValidFileName(subject, false);
    if (name.empty()) name = WideChangeFileExt(WideExtractFileName(fileName), u"") + u"_" + RowText(pstAttr.row);
    // A long subject is cut so that the name with its extension fits the file system.
    return CAppUtils::MakeValidFileName(name + u".msg", false);
}

WideString MessagePST::GetExportFilterString()
{
    WideString filter;
    if (bodyIsHtml) filter = GetUiString(1005) + u"(*.html)|*.html";
    if (!plainBody.empty() || filter.empty()) {
        if (!filter.empty()) filter += u"|";
        filter += GetUiString(1004) + u"(*.txt)|*.txt";
    }
    return filter;
}

WideString MessagePST::GetSaveFilterString() { return GetUiString(1033) + u" (*.msg)|*.msg"; }
WideString MessagePST::GetDefaultExtension() { return u"*.msg"; }
WideString MessagePST::GetExportDefaultExtension() { return u"*.html"; }
