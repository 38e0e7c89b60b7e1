// The base of the ways the program hands a reply or a forward of a message to a mail program:
// it holds the message being answered and the mail being prepared (subject, plain and HTML
// body, recipients, attachments). One sender lives for one command.
#pragma once

#include <string>
#include <vector>

#include "message/MessageAttr.h"
#include "platform/mapi/MailHandoff.h"

struct MailSenderRecip {
    WideString recipName;
    WideString addr;
    int recipClass = 1;  // 0 originator, 1 To, 2 CC, 3 BCC
};

struct MailSenderAttach {
    WideString filePath;
    WideString displayName;
};

// The mail program that handles mailto links.
enum MailClientKind : int {
    mckOutlook = 0,
    mckThunderbird = 1,
    mckOpera = 2,
    mckNotes = 3,
    mckTheBat = 4,
    mckOther = 5,
};

class MailSender {
public:
    MailSender() = default;
    MailSender(const MailSender&) = delete;
    MailSender& operator=(const MailSender&) = delete;

    // --- The virtual operations, in their fixed order; 0 is success ---
    virtual ~MailSender() = default;
    virtual int Reply() = 0;
    virtual int Forward() = 0;
    // -1 for a null message. forward is for the kinds that prepare differently.
    virtual int SetMessage(TMessageAttr* message, bool forward);
    virtual int SendMessage(bool withDialog) = 0;

    void AddSubj(const WideString& text) { subject = text; }
    // kind 1 sets the HTML body, any other kind the plain-text body.
    void AddBody(const WideString& text, int kind);
    // False when both texts are empty, the class is not 0-3, or the address text holds no
    // e-mail address (that also sets exchangeWarning). The name defaults to the address.
    bool AddRecipient(int recipClass, const WideString& addr, const WideString& displayName);
    // Every mailbox of an address-list text as its own recipient; a text without any
    // internet address goes whole through AddRecipient (and so sets the warning). The number
    // of recipients added.
    int AddRecipients(int recipClass, const WideString& list);
    // False when no file of that name exists. The display name defaults to the path.
    bool AddAttachment(const WideString& attachFileName, const WideString& displayName);

    // Whether a mail program can be reached at all (xdg-email, or a mailto handler).
    static bool CheckSimpleMAPI(MailDesktop& desktop = SessionMailDesktop());

    const WideString& Subject() const { return subject; }
    const WideString& Body() const { return body; }
    const WideString& HtmlBody() const { return htmlBody; }
    const std::vector<MailSenderRecip>& Recips() const { return _recips; }
    const std::vector<MailSenderAttach>& Attaches() const { return _attaches; }
    bool ExchangeWarning() const { return exchangeWarning; }
    unsigned char Mode() const { return mode; }

protected:
    TMessageAttr* message = nullptr;  // not owned
    unsigned char mode = 0;           // 0 reply, 1 forward
    WideString subject;
    WideString body;
    WideString htmlBody;
    std::vector<MailSenderRecip> _recips;
    std::vector<MailSenderAttach> _attaches;
    bool exchangeWarning = false;
};

// The kind named by the handler's desktop id and command line (lower-cased, first of
// "outlook", "thunderbird", "opera", "notes", "thebat" contained); mckOther otherwise.
MailClientKind MailClientKindOf(const std::string& handlerText);
MailClientKind DetectDefaultMailClient(MailDesktop& desktop = SessionMailDesktop());
