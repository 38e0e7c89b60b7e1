// The sender that hands a reply or a forward to the desktop's mail program (the mail
// hand-off): the body quoted under the quote header, a reply addressed to the message's
// sender and recipients, a forward with the message's attachments.
#pragma once

#include "mail/MailSender.h"
#include "platform/vcl/GdiTypes.h"
#include "platform/win/WinTypes.h"

class MapiMailSender : public MailSender {
public:
    // desktop: how the mail program is found and started. workFolder: a folder of this
    // command's own for the attachments of a forward and the files the hand-off writes; they
    // stay until the program's temporary folder goes, since the mail program reads them after
    // the hand-off returns. owner: the window that owns the error box.
    MapiMailSender(MailDesktop& desktop, const WideString& workFolder, HWND owner = nullptr);

    int Reply() override;
    int Forward() override;
    // -1 when the user cancels the address warning or no mail program can be reached;
    // otherwise the hand-off's result (0 once the compose window is on its way).
    int SendMessage(bool withDialog) override;

    void AddQuotedBody();

private:
    MailDesktop& desktop_;
    WideString workFolder_;
    HWND owner_;
};
