// Replies and forwards of real records handed to a fake desktop: the draft the hand-off
// writes is read back with the MIME reader.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/UiStrings.h"
#include "message/MessageEML.h"
#include "platform/mime/IdMessage.h"
#include "platform/win/WinString.h"
#include "tests/platform/mapi/FakeMailDesktop.h"
#include "tests/support/TestSupport.h"

namespace senderfixture {

using Strings = std::vector<std::string>;

inline const char kEml[] =
    "From: Ann Example <ann@ex.com>\r\n"
    "To: Bob <bob@ex.org>, Carl <carl@ex.net>\r\n"
    "Cc: dora@ex.com\r\n"
    "Subject: Plans <&>\r\n"
    "Date: Tue, 15 Nov 2022 08:12:31 +0000\r\n"
    "Content-Type: multipart/mixed; boundary=\"m\"\r\n"
    "\r\n"
    "--m\r\n"
    "Content-Type: multipart/alternative; boundary=\"a\"\r\n"
    "\r\n"
    "--a\r\n"
    "Content-Type: text/plain; charset=utf-8\r\n"
    "\r\n"
    "Hello Bob\r\n"
    "--a\r\n"
    "Content-Type: text/html; charset=utf-8\r\n"
    "\r\n"
    "<html><body><p>Hello Bob</p></body></html>\r\n"
    "--a--\r\n"
    "--m\r\n"
    "Content-Type: application/pdf; name=\"report.pdf\"\r\n"
    "Content-Disposition: attachment; filename=\"report.pdf\"\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "UERG\r\n"
    "--m\r\n"
    "Content-Type: text/plain; name=\"notes.txt\"\r\n"
    "Content-Disposition: attachment; filename=\"notes.txt\"\r\n"
    "\r\n"
    "note text\r\n"
    "--m--\r\n";

// What the mail program was given: the draft, read back.
struct Handed {
    std::string subject;
    Strings to, cc;
    Strings bodies;       // content types of the non-empty text parts, in order
    std::string plain, html;
    Strings attachments;  // "name=content"
};

class SenderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterUiStrings();
        desktop.handler = {"mail.desktop", "mail %u"};
        desktop.rfc822Exec = "viewer %f";
    }

    Handed Draft() const {
        Handed h;
        EXPECT_EQ(desktop.launched.size(), 1u);
        if (desktop.launched.empty()) return h;
        TIdMessage m;
        m.LoadFromBytes(testsupport::ReadFileBytes(desktop.launched[0].at(1)), false);
        h.subject = m.Headers().Values("Subject");
        for (int i = 0; i < m.Recipients().Count(); ++i) h.to.push_back(m.Recipients().Items(i).Address);
        for (int i = 0; i < m.CCList().Count(); ++i) h.cc.push_back(m.CCList().Items(i).Address);
        for (int i = 0; i < m.MessageParts().Count(); ++i) {
            const TIdMessagePart& p = m.MessageParts().Items(i);
            if (p.Kind() == TIdMessagePartKind::Attachment) {
                const std::string disposition = p.Headers().Values("Content-Disposition");
                const size_t at = disposition.find("filename=");
                std::string name = at == std::string::npos ? "" : disposition.substr(at + 9);
                if (!name.empty() && name.front() == '"') name = name.substr(1, name.size() - 2);
                h.attachments.push_back(name + "=" + static_cast<const TIdAttachment&>(p).Content());
            } else if (!static_cast<const TIdText&>(p).Body().empty()) {
                h.bodies.push_back(p.ContentType());
                (p.ContentType() == "text/html" ? h.html : h.plain) = static_cast<const TIdText&>(p).Body();
            }
        }
        if (m.MessageParts().Count() == 0) {
            h.bodies.push_back(m.ContentType());
            (m.ContentType() == "text/html" ? h.html : h.plain) = m.Body();
        }
        return h;
    }

    WideString Work() const { return Utf8ToUtf16((dir.path() / "work").string()); }

    std::unique_ptr<MessageEML> Eml() {
        auto m = std::make_unique<MessageEML>();
        EXPECT_TRUE(m->LoadFromFile(Utf8ToUtf16(dir.WriteFile("in.eml", kEml).string()), false));
        return m;
    }

    testsupport::TempDir dir;
    FakeMailDesktop desktop;
};

}  // namespace senderfixture
