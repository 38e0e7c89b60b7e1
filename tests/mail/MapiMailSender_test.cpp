// Replies and forwards of real records handed to a fake desktop: the draft the hand-off writes
// is read back with the MIME reader.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppLocDB.h"
#include "app/UiStrings.h"
#include "mail/MapiMailSender.h"
#include "message/MessageEML.h"
#include "platform/mime/IdMessage.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinString.h"
#include "tests/mail/SenderFixture.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using namespace senderfixture;

namespace {

TEST_F(SenderFixture, ReplyToEmlQuotesBothBodiesAndAddressesEveryone) {
    auto m = Eml();
    MapiMailSender sender(desktop, Work());
    ASSERT_EQ(sender.SetMessage(m.get(), false), 0);
    EXPECT_EQ(sender.Reply(), 0);
    EXPECT_EQ(sender.Mode(), 0);
    const Handed h = Draft();
    EXPECT_EQ(h.subject, "Re: Plans <&>");
    EXPECT_EQ(h.to, (Strings{"ann@ex.com", "bob@ex.org", "carl@ex.net", "dora@ex.com"}));
    EXPECT_TRUE(h.cc.empty());
    EXPECT_EQ(h.bodies, (Strings{"text/plain", "text/html"}));
    EXPECT_NE(h.plain.find("From: Ann Example  [ann@ex.com]\r\nTo: Bob <bob@ex.org>, Carl <carl@ex.net>"),
              std::string::npos);
    EXPECT_NE(h.plain.find("Hello Bob"), std::string::npos);
    // The HTML body travels as the mail's HTML body, its header escaped inside the body tag.
    EXPECT_NE(h.html.find("<body><P DIR=LTR>"), std::string::npos);
    EXPECT_NE(h.html.find("Plans &lt;&amp;&gt;"), std::string::npos);
    EXPECT_TRUE(h.attachments.empty());
}

TEST_F(SenderFixture, ForwardOfEmlCarriesAttachmentsInOrderUnderTheirNames) {
    auto m = Eml();
    MapiMailSender sender(desktop, Work());
    sender.SetMessage(m.get(), true);
    EXPECT_EQ(sender.Forward(), 0);
    const Handed h = Draft();
    EXPECT_EQ(h.subject, "Fw: Plans <&>");
    EXPECT_TRUE(h.to.empty());
    EXPECT_EQ(h.attachments, (Strings{"report.pdf=PDF", "notes.txt=note text"}));
    // Saved into the command's own folder, nowhere else.
    EXPECT_TRUE(fs::exists(dir.path() / "work/1/report.pdf"));
}

TEST_F(SenderFixture, NotesClientGetsOneBodyOnly) {
    desktop.handler = {"notes.desktop", "/opt/hcl/notes/notes %u"};
    desktop.rfc822Exec = "viewer %f";
    auto m = Eml();
    ASSERT_TRUE(m->bodyIsHtml);
    MapiMailSender sender(desktop, Work());
    sender.SetMessage(m.get(), false);
    sender.Reply();
    EXPECT_EQ(Draft().bodies, (Strings{"text/html"}));
    EXPECT_TRUE(sender.Body().empty());
}

TEST_F(SenderFixture, WarningCancelAndHandoffFailure) {
    MessageEML m;
    m.from = u"/O=ORG/CN=ANN";
    std::vector<WideString> boxes;
    int answer = IDCANCEL;
    TScopedModalHook hook([&](TModalRequest& r) {
        boxes.push_back(r.Text);
        return answer;
    });
    {
        MapiMailSender sender(desktop, Work());
        sender.SetMessage(&m, false);
        EXPECT_EQ(sender.Reply(), -1);
        EXPECT_TRUE(desktop.launched.empty());
    }
    // Nothing can be reached: -1 without a box.
    boxes.clear();
    FakeMailDesktop none;
    MessageEML plain;
    plain.from = u"ann@ex.com";
    {
        MapiMailSender sender(none, Work());
        sender.SetMessage(&plain, false);
        EXPECT_EQ(sender.Reply(), -1);
        EXPECT_TRUE(boxes.empty());
    }
    // A mail program that does not start: the logon error box, and the code.
    desktop.launchWorks = false;
    answer = IDOK;
    MapiMailSender sender(desktop, Work());
    sender.SetMessage(&plain, false);
    EXPECT_EQ(sender.Reply(), static_cast<int>(MAPI_E_FAILURE));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], GetUiString(1132));
}

}  // namespace
