// The main window's pure parts: the zone choice of the shown date, the clean-up of the run's
// temporary folder, and the property tree of a .msg.
#include <filesystem>
#include <map>

#include "app/UiStrings.h"
#include "message/MSGFile.h"
#include "platform/vcl/FormatSettings.h"
#include "platform/win/WinString.h"
#include "tests/message/MsgTreeBuilder.h"
#include "tests/support/TestSupport.h"
#include "ui/DateZone.h"
#include "ui/PropertyTree.h"
#include "ui/TempFolderCleanup.h"

namespace {

namespace fs = std::filesystem;

TEST(DateZone, ItemsHoursAndShownDates)
{
    EXPECT_EQ(WideString(TimeZoneItemText(TimeZoneItemOf(5))), u"+05:00");  // +0530 in whole hours
    EXPECT_EQ(WideString(TimeZoneItemText(TimeZoneItemOf(13))), u"0");      // no item for +1300
    EXPECT_EQ(WideString(TimeZoneItemText(TimeZoneItemOf(-12))), u"-12:00");
    int hours = 99;
    EXPECT_TRUE(ZoneHoursOfText(u"-05:00", hours));
    EXPECT_EQ(hours, -5);
    EXPECT_TRUE(ZoneHoursOfText(u"0", hours));
    EXPECT_EQ(hours, 0);
    EXPECT_FALSE(ZoneHoursOfText(u"+05", hours));
    EXPECT_EQ(DateTextInZone(0, 3), u"N/A");
    // 12:00 UTC seen at -05:00 is 07:00 of the same day.
    TDateTime day = 0;
    ASSERT_TRUE(TryEncodeDate(2022, 11, 15, day));
    EXPECT_EQ(DateTextInZone(day + 0.5, -5), DateTimeToStr(day + 7.0 / 24));
}

// A run's folder with files and planted links, beside another run's folder and a victim's.
struct CleanupScene {
    testsupport::TempDir dir;
    fs::path own = dir.path() / "root" / "100";
    CleanupScene()
    {
        for (const char* name : {"root/100/a.tmp", "root/1234/x.html", "victim/keep.txt"}) {
            fs::create_directories((dir.path() / name).parent_path());
            dir.WriteFile(name, "x");
        }
        fs::permissions(dir.path() / "root", fs::perms::owner_all, fs::perm_options::replace);
        fs::permissions(own, fs::perms::owner_all, fs::perm_options::replace);
        fs::create_symlink(dir.path() / "victim" / "keep.txt", own / "file-link");
        fs::create_directory_symlink(dir.path() / "victim", own / "folder-link");
    }
    bool VictimIntact() const { return fs::exists(dir.path() / "victim" / "keep.txt"); }
};

TEST(TempFolderCleanup, RemovesOnlyThisRunsFolderAndNeverFollowsALink)
{
    CleanupScene scene;
    CleanUpTempFolder(Utf8ToUtf16(scene.own.string() + "/"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(scene.own)));
    EXPECT_TRUE(scene.VictimIntact());
    EXPECT_TRUE(fs::exists(scene.dir.path() / "root" / "1234" / "x.html")) << "another run's folder stays";
}

TEST(TempFolderCleanup, AFolderThatFailsTheCheckIsLeftAlone)
{
    CleanupScene scene;
    // The folder name is a link to the victim's folder.
    const fs::path planted = scene.dir.path() / "root" / "200";
    fs::create_directory_symlink(scene.dir.path() / "victim", planted);
    CleanUpTempFolder(Utf8ToUtf16(planted.string() + "/"));
    EXPECT_TRUE(scene.VictimIntact());
    EXPECT_TRUE(fs::is_symlink(planted));
    // A folder open to other users is not this run's private folder.
    fs::permissions(scene.own, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec,
                    fs::perm_options::replace);
    CleanUpTempFolder(Utf8ToUtf16(scene.own.string()));
    EXPECT_TRUE(fs::exists(scene.own / "a.tmp"));
}

TEST(PropertyTree, GroupsAndTheirChildrenCarryTheirImages)
{
    RegisterUiStrings();
    TMSGFile file;
    TMSGProperties& root = file.GetProperties();
    msgtree::Wide(root, 0x0037001F, u"Subject");
    msgtree::Int(root, 0x7FFF0003, 1);  // no known name
    TMSGProperties& recipient = msgtree::Node(root, 0x0C000000);
    msgtree::Wide(recipient, 0x3001001F, u"Bob");
    TMSGProperties& attachment = msgtree::Node(root, 0x37000000);
    msgtree::Wide(attachment, 0x3707001F, u"a.pdf");
    const std::vector<PropertyNode> nodes = BuildPropertyTree(file);
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[0].image, pniNone);
    EXPECT_EQ(nodes[0].value, u"Subject");
    EXPECT_EQ(nodes[1].text, u"0x7FFF0003");
    std::map<int, const PropertyNode*> groups;
    for (const PropertyNode& n : nodes) groups[n.image] = &n;
    ASSERT_TRUE(groups.count(pniRecipient) && groups.count(pniAttachment));
    EXPECT_EQ(groups[pniRecipient]->text, u"Recipient");
    EXPECT_EQ(groups[pniRecipient]->children.at(0).image, pniRecipientProperty);
    EXPECT_EQ(groups[pniAttachment]->text, u"Attachment");
    EXPECT_EQ(groups[pniAttachment]->children.at(0).image, pniAttachmentProperty);
    EXPECT_EQ(PropertyTagText(0x0037001F), u"0x0037001F");
}

}  // namespace
