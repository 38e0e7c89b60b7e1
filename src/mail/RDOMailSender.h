// The sender that composes a reply or forward inside a mail profile through the outside
// mail-profile library: the message is imported into a drafts item, the library makes a
// forward of it (a reply takes the recipients of the library's reply), the quote header goes
// into the RTF body, and the profile's compose window shows the result. Whenever a step of
// the preparation fails, the command uses the hand-off sender instead.
#pragma once

#include <functional>
#include <memory>

#include "mail/MailSender.h"
#include "platform/outside/rdo/RdoObjects.h"

using RDOSessionFactory = std::function<HRESULT(std::shared_ptr<IRDOSession>&)>;

class RDOMailSender : public MailSender {
public:
    // tempFolder receives a store message written as ".msg" for the import (removed again).
    explicit RDOMailSender(const WideString& tempFolder, HWND parent = nullptr,
                           RDOSessionFactory factory = CreateRDOSession);
    ~RDOMailSender() override;

    int Reply() override;
    int Forward() override;
    // 0, or the failing step's HRESULT. The drafts item made for the import is always removed
    // again, so no stray draft stays in the profile.
    int SetMessage(TMessageAttr* message, bool forward) override;
    int SendMessage(bool withDialog) override;

    void FormatRTFBody(bool withHeader);
    HRESULT WriteRTFBody(const AnsiString& rtf);

    // The RTF header that FormatRTFBody puts after the colour table; values escaped.
    static WideString BuildRdoRtfHeader(const TMessageAttr& message, bool withHeader);
    // The RTF with header (made 7-bit) inserted right after the colour table, when there is
    // one that ends inside the text; otherwise the RTF as it is.
    static AnsiString InsertAfterColorTable(const AnsiString& rtf, const WideString& header);

private:
    HRESULT Import(IRDOMail& item);
    // Task, appointment and contact bodies: plain text as HTML and RTF, no header.
    void SetPlainBodies();
    void PrepareBody();

    WideString tempFolder_;
    HWND parent_;
    RDOSessionFactory factory_;
    std::shared_ptr<IRDOSession> rdoSession;
    std::shared_ptr<IRDOMail> rdoMail;
};
