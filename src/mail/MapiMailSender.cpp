#include "mail/MapiMailSender.h"

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "mail/QuoteHeader.h"
#include "platform/mapi/MailHandoff.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinString.h"

MapiMailSender::MapiMailSender(MailDesktop& desktop, const WideString& workFolder, HWND owner)
    : desktop_(desktop), workFolder_(WideIncludeTrailingBackslash(workFolder)), owner_(owner) {}

void MapiMailSender::AddQuotedBody() {
    const bool html = message->bodyIsHtml && !message->htmlBody.empty();
    if (DetectDefaultMailClient(desktop_) == mckNotes) {
        if (message->bodyIsHtml) {
            if (html) AddBody(InsertHtmlQuoteHeader(*message, message->htmlBody, qhSeparator), 1);
        } else if (!message->plainBody.empty()) {
            AddBody(InsertTextQuoteHeader(*message, message->plainBody, qhSeparator), 0);
        }
        return;
    }
    if (html) AddBody(InsertHtmlQuoteHeader(*message, message->htmlBody, qhSeparator), 1);
    if (!message->plainBody.empty()) AddBody(InsertTextQuoteHeader(*message, message->plainBody, qhSeparator), 0);
}

int MapiMailSender::Reply() {
    QUILLORA_TRACE(u"MapiMailSender::Reply");
    if (!message) return -1;
    mode = 0;
    AddQuotedBody();
    AddSubj(u"Re: " + message->subject);
    // Each text may list several people: each becomes a To recipient of its own.
    AddRecipients(1, message->from);
    AddRecipients(1, message->to);
    AddRecipients(1, message->cc);
    return SendMessage(true);
}

int MapiMailSender::Forward() {
    QUILLORA_TRACE(u"MapiMailSender::Forward");
    if (!message) return -1;
    mode = 1;
    AddQuotedBody();
    AddSubj(u"Fw: " + message->subject);
    // Each attachment is saved under its own name into a folder of its own, so the file
    // names cannot clash and each saved file is paired with the attachment it came from.
    for (int i = 0; i < static_cast<int>(message->attachments.size()); ++i) {
        const WideString& name = message->attachments[static_cast<size_t>(i)].name;
        const WideString folder = workFolder_ + Utf8ToUtf16(std::to_string(i + 1)) + u"/";
        WideForceDirectories(folder);
        const WideString fileName = CAppUtils::MakeValidFileName(WideExtractFileName(name), false);
        const WideString path = folder + (fileName.empty() ? WideString(u"attachment") : fileName);
        if (message->SaveAttachment(i, path)) AddAttachment(path, name);
        else LogPrintf(u"FAILED: attachment not saved: %s", name.c_str());
    }
    return SendMessage(true);
}

int MapiMailSender::SendMessage(bool /*withDialog*/) {
    QUILLORA_TRACE(u"MapiMailSender::SendMessage");
    if (exchangeWarning) {
        const WideString text = GetUiString(1099), caption = GetUiString(1087);
        if (MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OKCANCEL) == IDCANCEL) return -1;
    }
    if (!CheckSimpleMAPI(desktop_)) return -1;

    MailHandoffMessage mail;
    mail.subject = subject;
    mail.noteText = body;
    mail.htmlText = htmlBody;
    mail.workFolder = workFolder_;
    for (const MailSenderRecip& r : _recips)
        if (!r.addr.empty()) mail.recips.push_back({r.recipName, r.addr, static_cast<ULONG>(r.recipClass)});
    for (const MailSenderAttach& a : _attaches) mail.files.push_back({a.filePath, a.displayName});

    const ULONG result = MailHandoff(mail, desktop_);
    LogPrintf(u"hand-off result: %lu", static_cast<DWORD>(result));
    if (result != SUCCESS_SUCCESS && result != MAPI_USER_ABORT) {
        const WideString text = GetUiString(1132), caption = GetUiString(1087);
        MessageBoxW(owner_, text.c_str(), caption.c_str(), MB_OK);
    }
    return static_cast<int>(result);
}
