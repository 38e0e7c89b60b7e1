// The command state worked out from the selection, the shown message and the hidden parts:
// what each selection enables, and which menus the hidden parts remove.
#include <gtest/gtest.h>

#include <map>

#include "app/CAppOptions.h"
#include "message/MessageEML.h"
#include "ui/MainActions.h"

namespace {

std::map<std::string, ActionState> States(const SelectionFacts& facts, const CAppOptions& options = {}, bool listEmpty = false)
{
    std::map<std::string, ActionState> out;
    for (const ActionState& s : ComputeActionStates(ComputeActionTargets(facts), listEmpty, options)) out[s.name] = s;
    return out;
}

TEST(MainActions, SelectionDecidesWhatIsEnabled)
{
    MessageEML headed, bare, htmlOnly;
    headed.subject = u"Hello";
    bare.plainBody = u"  body text ";
    htmlOnly.htmlBody = u"   ";

    const char* singleBody[] = {"actionSaveBody", "actionCopyMessage", "actionAddToFavs"};
    const char* answer[] = {"actionReply", "actionForward"};
    const char* singleHeader[] = {"actionSaveHeader", "actionCopyMessageHeader"};
    const char* targets[] = {"actionExport", "actionCopyTo", "actionPrintMessage", "actionDelete"};

    struct Case {
        const char* what;
        SelectionFacts facts;
        bool body, header, any, printHeader, answer;
    } const cases[] = {
        {"nothing", {false, 0, 0, nullptr, false}, false, false, false, false, false},
        {"one checked, nothing selected", {false, 1, 0, nullptr, false}, true, true, true, true, false},
        {"two checked, one selected", {false, 2, 1, &headed, false}, false, false, true, true, true},
        {"a walk runs", {true, 1, 1, &headed, false}, false, false, false, false, false},
        {"one selected with a header", {false, 0, 1, &headed, false}, true, true, true, true, true},
        {"no header but a plain body", {false, 0, 1, &bare, false}, true, false, true, false, true},
        {"no header, blank body shown as HTML", {false, 0, 1, &htmlOnly, true}, true, false, true, false, true},
        {"no header, blank body", {false, 0, 1, &htmlOnly, false}, false, false, false, false, true},
        {"several selected", {false, 0, 3, nullptr, false}, false, false, true, true, false},
    };
    for (const Case& c : cases) {
        auto s = States(c.facts);
        for (const char* a : singleBody) EXPECT_EQ(s[a].enabled, c.body) << c.what << ": " << a;
        for (const char* a : singleHeader) EXPECT_EQ(s[a].enabled, c.header) << c.what << ": " << a;
        for (const char* a : answer) EXPECT_EQ(s[a].enabled, c.answer) << c.what << ": " << a;
        for (const char* a : targets) EXPECT_EQ(s[a].enabled, c.any) << c.what << ": " << a;
        EXPECT_EQ(s["actionPrintHeader"].enabled, c.printHeader) << c.what;
        // The selection never touches these.
        EXPECT_TRUE(s["actionOpenFile"].enabled && s["actionSearch"].enabled && s["actionSaveAttachment"].enabled) << c.what;
    }
    EXPECT_EQ(ComputeActionTargets({true, 2, 0, nullptr, false}).checked, 0);
}

TEST(MainActions, HiddenPartsAreNeitherShownNorUsable)
{
    CAppOptions o;
    o.hideSM = o.hideE = o.hideCSV = o.hidePANELS = true;
    auto s = States({false, 1, 0, nullptr, false}, o);
    for (const char* a : {"actionSaveBody", "actionCopyTo", "actionSelectAll", "actionCheckAll", "actionCopyMessage",
                          "actionFontSelect", "actionExportCsv", "actionShowToolbar"}) {
        EXPECT_FALSE(s[a].visible) << a;
        EXPECT_FALSE(s[a].enabled) << a;
    }
    EXPECT_TRUE(s["actionSaveHeader"].visible && s["actionSaveHeader"].enabled);
    // CSV export needs something listed.
    EXPECT_FALSE(States({}, CAppOptions{}, true)["actionExportCsv"].enabled);
    EXPECT_TRUE(States({}, CAppOptions{}, false)["actionExportCsv"].enabled);
    // A "+DIR" run keeps Open shown but off.
    CAppOptions dir;
    dir.startDir = u"/mail";
    EXPECT_TRUE(States({}, dir)["actionOpenFile"].visible);
    EXPECT_FALSE(States({}, dir)["actionOpenFile"].enabled);
}

TEST(MainActions, MenusGoOnlyWhenEveryEntryIsHidden)
{
    CAppOptions o;
    EXPECT_TRUE(MenusToPrune(o).empty());
    o.hidePM = o.hidePH = o.hideFAVS = o.hideR = o.hideF = o.hideATTOPEN = true;
    EXPECT_TRUE(MenusToPrune(o).empty()) << "Save Attachment(s) still keeps the Message menu";
    o.hideATTSAVE = true;
    EXPECT_EQ(MenusToPrune(o), (std::vector<int>{3}));
    o.hideE = o.hideAPP = true;
    EXPECT_EQ(MenusToPrune(o), (std::vector<int>{4, 3, 2}));
}

TEST(MainActions, SingleTargetIsTheOnlyCheckedElseTheSelected)
{
    MessageEML a, b, selected;
    MessageAttrDeque list{&a, &b, &selected};
    EXPECT_EQ(SingleTarget(list, &selected), &selected);
    EXPECT_EQ(SingleTarget(list, nullptr), nullptr);
    b.checked = true;
    EXPECT_EQ(SingleTarget(list, nullptr), &b);
    EXPECT_EQ(SingleTarget(list, &selected), &b);
    a.checked = true;
    EXPECT_EQ(SingleTarget(list, &selected), nullptr);
}

}  // namespace
