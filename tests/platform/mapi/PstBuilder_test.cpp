// The generated store files read back with libpff's own reader.
#include "PstBuilder.h"
#include "PstPeer.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(PstBuilder, SampleStoreReadsBackWithLibpff) {
    testsupport::TempDir dir;
    const std::string path = (dir / "sample.pst").string();
    ASSERT_TRUE(pstbuild::WriteFile(pstbuild::SampleStore(), path));

    std::vector<pstpeer::PeerFolder> folders;
    ASSERT_TRUE(pstpeer::ReadFolders(path, true, folders));
    ASSERT_EQ(folders.size(), 5u);
    struct Expected {
        int depth;
        std::u16string path;
        std::u16string cls;
        int messages;
    } expected[] = {{0, u"Inbox", u"IPF.Note", 2},
                    {1, u"Inbox\\Projects", u"IPF.Note", 1},
                    {0, u"Sent Items", u"IPF.Note", 0},
                    {0, u"Deleted Items", u"IPF.Note", 0},
                    {0, u"Calendar", u"IPF.Appointment", 0}};
    for (std::size_t i = 0; i < folders.size(); ++i) {
        EXPECT_EQ(folders[i].depth, expected[i].depth) << i;
        EXPECT_EQ(folders[i].path, expected[i].path) << i;
        EXPECT_EQ(folders[i].containerClass, expected[i].cls) << i;
        EXPECT_EQ(folders[i].messageCount, expected[i].messages) << i;
    }
    const pstpeer::PeerMessage& hello = folders[0].messages.at(0);
    EXPECT_EQ(hello.subject, u"Hello");
    EXPECT_EQ(hello.sender, u"Alice");
    EXPECT_EQ(hello.displayTo, u"Bob");
    EXPECT_EQ(hello.recipients, 2);
    EXPECT_EQ(hello.attachments, 1);
    EXPECT_EQ(hello.firstAttachmentData, "attached text");
    EXPECT_EQ(folders[1].messages.at(0).subject, u"Plan");
}

TEST(PstBuilder, LargeFoldersSpanSeveralBlocks) {
    // Enough messages that the contents table and its heap need more than one block, and a
    // body larger than a block.
    pstbuild::Store s;
    pstbuild::Folder big{u"Big", u"IPF.Note", {}, {}, ""};
    for (int i = 0; i < 300; ++i) {
        pstbuild::Message m;
        m.subject = u"Message number " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
        m.sender = u"Sender";
        m.recipients = {{1, u"Someone", u"someone@example.org"}};
        if (i == 0) m.body = std::u16string(10000, u'x');
        big.messages.push_back(m);
    }
    s.folders = {big};
    testsupport::TempDir dir;
    const std::string path = (dir / "big.pst").string();
    ASSERT_TRUE(pstbuild::WriteFile(s, path));
    std::vector<pstpeer::PeerFolder> folders;
    ASSERT_TRUE(pstpeer::ReadFolders(path, true, folders));
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].messageCount, 300);
    ASSERT_EQ(folders[0].messages.size(), 300u);
    EXPECT_EQ(folders[0].messages[299].subject, u"Message number N");
}

}  // namespace
