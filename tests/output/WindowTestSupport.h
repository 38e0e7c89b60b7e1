// What the tests of the output windows share: a main window that hands out a fixed list of
// chosen messages, and a fixture that loads the helper library, draws offscreen and removes the
// renderer's temporary folder afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/CAppUtils.h"
#include "app/SupportLibrary.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "ui/IQuilloraProvider.h"

namespace testsupport {

class StubProvider : public IQuilloraProvider {
public:
    void Show(const WideString&) override {}
    void GoToFolder(const WideString&) override {}
    WideString GetRootFolderLocation() override { return {}; }
    void GetMessagesFromList(MessageAttrDeque& out, bool checkedOnly) override {
        EXPECT_FALSE(checkedOnly);
        out.assign(chosen.begin(), chosen.end());
    }
    TForm* GetOwnerForm() override { return nullptr; }
    std::vector<TMessageAttr*> chosen;
};

class OutputWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1); }
    static void TearDownTestSuite() {
        std::error_code error;
        std::filesystem::remove_all(Utf16ToUtf8(CAppUtils::getAppTempFolder()), error);
    }
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
    }
};

}  // namespace testsupport
