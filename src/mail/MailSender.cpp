#include "mail/MailSender.h"

#include "app/RegExpUtils.h"
#include "controls/unicode/TntSysUtils.h"
#include "platform/mapi/MailHandoff.h"
#include "platform/mime/IdMessage.h"
#include "platform/win/WinString.h"

int MailSender::SetMessage(TMessageAttr* msg, bool /*forward*/) {
    if (!msg) return -1;
    message = msg;
    return 0;
}

void MailSender::AddBody(const WideString& text, int kind) {
    if (kind == 1) htmlBody = text;
    else body = text;
}

bool MailSender::AddRecipient(int recipClass, const WideString& addr, const WideString& displayName) {
    if (addr.empty() && displayName.empty()) return false;
    if (recipClass < 0 || recipClass > 3) return false;
    if (!IsValidEmailAddress(addr, false)) {
        exchangeWarning = true;
        return false;
    }
    _recips.push_back({displayName.empty() ? addr : displayName, addr, recipClass});
    return true;
}

int MailSender::AddRecipients(int recipClass, const WideString& list) {
    if (list.empty()) return 0;
    const std::vector<TIdEmailAddressItem> mailboxes = ParseEmailAddressList(Utf16ToUtf8(list));
    if (mailboxes.empty()) return AddRecipient(recipClass, list, u"") ? 1 : 0;
    int added = 0;
    for (const TIdEmailAddressItem& m : mailboxes)
        if (AddRecipient(recipClass, Utf8ToUtf16(m.Address), Utf8ToUtf16(m.Name))) ++added;
    return added;
}

bool MailSender::AddAttachment(const WideString& attachFileName, const WideString& displayName) {
    if (!WideFileExists(attachFileName)) return false;
    _attaches.push_back({attachFileName, displayName.empty() ? attachFileName : displayName});
    return true;
}

bool MailSender::CheckSimpleMAPI(MailDesktop& desktop) { return MailHandoffAvailable(desktop); }

MailClientKind MailClientKindOf(const std::string& handlerText) {
    std::string text = handlerText;
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    const char* names[] = {"outlook", "thunderbird", "opera", "notes", "thebat"};
    for (int kind = 0; kind < 5; ++kind)
        if (text.find(names[kind]) != std::string::npos) return static_cast<MailClientKind>(kind);
    return mckOther;
}

MailClientKind DetectDefaultMailClient(MailDesktop& desktop) {
    const MailtoHandler handler = desktop.MailtoHandlerEntry();
    if (handler.desktopId.empty() && handler.exec.empty()) return mckOther;
    return MailClientKindOf(handler.desktopId + " " + handler.exec);
}
