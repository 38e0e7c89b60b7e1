// The window helpers that need no display: status-panel rectangles and process names.
#include <gtest/gtest.h>

#include <unistd.h>

#include "app/UiHelpers.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinString.h"

TEST(UiHelpers, StatusPanelRectSumsThePanelsBefore) {
    const TRect client(2, 1, 500, 21);
    const std::vector<int> widths = {100, 50, 200};
    const struct {
        unsigned index;
        std::optional<TRect> rect;
    } cases[] = {
        {0, TRect(2, 1, 102, 21)},
        {1, TRect(102, 1, 152, 21)},
        {2, TRect(152, 1, 352, 21)},
        {3, std::nullopt},  // the number of panels: nothing
        {1000, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(StatusPanelRect(client, widths, c.index), c.rect) << c.index;
    EXPECT_EQ(StatusPanelRect(client, {}, 0), std::nullopt);
}

TEST(UiHelpers, ProcessNameOfAnIdIsItsExecutablesBaseName) {
    EXPECT_EQ(GetProcessNameById(static_cast<DWORD>(getpid())), u"tests_app_unit");
    EXPECT_EQ(GetProcessNameById(0x7FFFFFF0u), u"");
    EXPECT_EQ(GetProcessNameByHandle(nullptr), u"");
}

TEST(UiHelpers, SystemErrorBoxAndFolderChoiceGoThroughTheHook) {
    std::vector<TModalRequest> seen;
    WideString folder = u"/srv/mail";
    TScopedModalHook hook([&](TModalRequest& r) {
        seen.push_back(r);
        if (r.What != TModalRequest::FolderDialog) return IDOK;
        if (folder.empty()) return static_cast<int>(mrCancel);
        r.Files = {folder};
        return static_cast<int>(mrOk);
    });
    ShowSystemError(5);
    ShowSystemError(123456);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Text, u"Access is denied.");
    EXPECT_EQ(seen[0].Caption, u"Error");
    EXPECT_EQ(seen[0].Flags, UINT(MB_OK | MB_ICONERROR));
    EXPECT_EQ(seen[1].Text, u"Unknown error 123456.");  // never an empty box

    EXPECT_EQ(BrowseForFolder(nullptr), u"/srv/mail");
    folder.clear();
    EXPECT_EQ(BrowseForFolder(nullptr), u"");
}
