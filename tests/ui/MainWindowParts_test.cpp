// The main window's pure parts: the zone choice of the shown date, which temporary folders of
// earlier runs go, and the property tree of a .msg.
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

TEST(TempFolderCleanup, OnlyFoldersOfEndedRunsOfThisProgramGo)
{
    const std::map<DWORD, FolderProcess> processes = {
        {5678, {true, true, true, u"editor"}},     // a running process of another program
        {4321, {true, true, true, u"quillora"}},   // a running instance
        {2468, {true, true, false, u"quillora"}},  // an ended instance
        {1357, {true, false, false, u"quillora"}}, // exit state unknown
        {1111, {true, true, false, u"editor"}},    // an ended other program
    };
    const ProcessLookup lookup = [&](DWORD pid) {
        const auto it = processes.find(pid);
        return it == processes.end() ? FolderProcess{false, true, false, {}} : it->second;
    };
    const struct {
        const char16_t* name;
        bool goes;
    } cases[] = {{u"1234", true},  {u"5678", false}, {u"notes", false}, {u"4321", false}, {u"2468", true},
                 {u"1357", false}, {u"1111", false}, {u"12a", false},   {u"", false}};
    for (const auto& c : cases) EXPECT_EQ(TempFolderCanGo(c.name, u"quillora", lookup), c.goes) << Utf16ToUtf8(c.name);
}

TEST(TempFolderCleanup, RemovesOwnFolderAndEndedOnesLeavesTheRest)
{
    testsupport::TempDir dir;
    for (const char* name : {"100/a.tmp", "1234/x.html", "5678/y.html", "notes/z.txt"}) {
        fs::create_directories((dir.path() / name).parent_path());
        dir.WriteFile(name, "x");
    }
    const ProcessLookup lookup = [](DWORD pid) {
        return pid == 5678 ? FolderProcess{true, true, true, u"editor"} : FolderProcess{false, true, false, {}};
    };
    CleanUpTempFolder(Utf8ToUtf16((dir.path() / "100").string() + "/"), lookup);
    EXPECT_FALSE(fs::exists(dir.path() / "100"));
    EXPECT_FALSE(fs::exists(dir.path() / "1234"));
    EXPECT_TRUE(fs::exists(dir.path() / "5678" / "y.html"));
    EXPECT_TRUE(fs::exists(dir.path() / "notes" / "z.txt"));
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
