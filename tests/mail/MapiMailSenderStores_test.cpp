// Replies and forwards of ".msg" and store records (kept apart: the property tree's TMessage and the
// window messages' TMessage cannot meet in one file).
#include <gtest/gtest.h>

#include "PstBuilder.h"
#include "mail/MapiMailSender.h"
#include "mapi/MessagePST.h"
#include "message/MessageMSG.h"
#include "tests/mail/SenderFixture.h"
#include "tests/message/MsgTreeBuilder.h"
#include "tests/mapi/StoreRecords.h"
#include "tests/message/RecordingView.h"

using namespace senderfixture;

namespace {

TEST_F(SenderFixture, ReplyAndForwardOfMsg) {
    using namespace msgtree;
    TMSGFile f;
    TMSGProperties& root = f.GetProperties();
    Bytes(root, 0x001A001E, "IPM.Note");
    Wide(root, 0x0037001F, u"");
    Wide(root, 0x0C1A001F, u"Ann");
    Wide(root, 0x0C1F001F, u"ann@ex.com");
    Wide(root, 0x0E04001F, u"Bob");
    Wide(root, 0x1000001F, u"plain \u00e9");
    for (const auto& [name, data] : {std::pair{u"a.txt", "AAA"}, std::pair{u"b.txt", "BBB"}}) {
        TMSGProperties& a = Node(root, 0x37000000);
        Wide(a, 0x3707001F, name);
        Bytes(a, 0x37010102, data);
    }
    MessageMSG msg;
    ASSERT_TRUE(msg.LoadFromFile(W(Write(f, dir, "m.msg")), false));

    {
        // "Bob" alone is not an address: refused (the warning box, with no display, lets the
        // reply go on).
        MapiMailSender sender(desktop, Work());
        sender.SetMessage(&msg, false);
        EXPECT_EQ(sender.Reply(), 0);
        EXPECT_TRUE(sender.ExchangeWarning());
        const Handed h = Draft();
        EXPECT_EQ(sender.Subject(), u"Re: ");
        EXPECT_EQ(h.to, (Strings{"ann@ex.com"}));
        EXPECT_EQ(h.bodies, (Strings{"text/plain"}));
        EXPECT_NE(h.plain.find("plain \xC3\xA9"), std::string::npos) << h.plain;  // Unicode end to end
    }
    desktop.launched.clear();
    MapiMailSender sender(desktop, Work() + u"2");
    sender.SetMessage(&msg, true);
    EXPECT_EQ(sender.Forward(), 0);
    EXPECT_EQ(Draft().attachments, (Strings{"a.txt=AAA", "b.txt=BBB"}));
}

// A store message: its attachments saved through the store, one that cannot be saved
// (an OLE object) leaves the others paired with their own names.
class StoreSenderFixture : public SenderFixture {
protected:
    void SetUp() override {
        SenderFixture::SetUp();
        libs_.libraries = {{"Default", "mapi32.dll", false}};
        ASSERT_TRUE(libs_.Open(0));
    }

    std::unique_ptr<MessagePST> Record(const pstbuild::Message& message) {
        pstbuild::Store store;
        store.folders = {pstbuild::Folder{u"Inbox", u"IPF.Note", {message}, {}, ""}};
        const std::string path = (dir.path() / "s.pst").string();
        EXPECT_TRUE(pstbuild::WriteFile(store, path));
        auto records = storerecords::Records(libs_, path);
        if (!records.empty()) {
            RecordingView view;
            records[0]->Display(view, false);
            return std::move(records[0]);
        }
        ADD_FAILURE() << "no message in the store";
        return nullptr;
    }

    MapiLibs libs_;
};

TEST_F(StoreSenderFixture, ForwardPairsSavedFilesWithTheirOwnAttachments) {
    pstbuild::Message mail;
    mail.subject = u"Store mail";
    mail.sender = u"Alice";
    mail.body = u"store body";
    mail.recipients = {{1, u"Bob", u"bob@example.org"}};
    mail.attachments = {{u"first.txt", "ONE", {}, {}},
                        {u"object.bin", "OLE", {pstbuild::Prop::Long(0x37050003, 6)}, {}},
                        {u"third.txt", "THREE", {}, {}}};
    auto m = Record(mail);
    ASSERT_TRUE(m);
    ASSERT_EQ(m->attachments.size(), 3u);
    MapiMailSender sender(desktop, Work());
    sender.SetMessage(m.get(), true);
    EXPECT_EQ(sender.Forward(), 0);
    const Handed h = Draft();
    EXPECT_EQ(h.subject, "Fw: Store mail");
    EXPECT_EQ(h.attachments, (Strings{"first.txt=ONE", "third.txt=THREE"}));
    EXPECT_NE(h.plain.find("store body"), std::string::npos);
}

}  // namespace
