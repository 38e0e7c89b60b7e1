// The program's windows switched between the six languages: each translation file reaches the
// menus, the toolbar, the search window and the UI texts, and English brings every one back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <QWidget>

#include "app/AppLocDB.h"
#include "app/UiStrings.h"
#include "controls/unicode/TntControls.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "search/SearchDlg.h"
#include "tests/support/TestSupport.h"
#include "ui/Form1.h"

namespace {

WideString LanguageFile(const char* code) {
    return Utf8ToUtf16(std::string(QUILLORA_LOCALIZATION_DIR "/LocalizationDB_") + code + ".txt");
}

// With QUILLORA_SCREENSHOT set, the window as drawn ("<base>_<name>.png").
void Screenshot(TCustomForm& form, const std::string& name) {
    const char* path = std::getenv("QUILLORA_SCREENSHOT");
    if (!path) return;
    const bool wasVisible = form.Visible();
    if (!wasVisible) form.Show();
    Application->ProcessMessages();
    EXPECT_TRUE(dynamic_cast<QWidget*>(form.Peer())->grab().save(QString::fromStdString(std::string(path) + "_" + name + ".png")));
    if (!wasVisible) form.Hide();
}

class Languages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallQtWidgetSet();
        RegisterUiStrings();
        Application->Initialize();
    }
    void SetUp() override {
        StoreResourceStrings(appLocDB);
        CreateMainForms();
        appLocDB.KeepBuiltInTexts();
    }
    void TearDown() override {
        ScanRunning = false;
        // The windows the application owns; the favorites pane goes with the main window.
        const std::vector<TCustomForm*> forms = Screen->AllForms();
        for (auto it = forms.rbegin(); it != forms.rend(); ++it)
            if ((*it)->Owner() == Application) delete *it;
        appLocDB.SwitchLanguage(LanguageFile("EN"));
    }

    // The four texts the table checks: a menu caption, a toolbar caption, a search-window
    // label and a UI text.
    static std::vector<WideString> Shown() {
        auto* view = dynamic_cast<TMenuItem*>(Form1->FindComponent("View1"));
        return {view ? view->Caption() : WideString(), GetWideControlText(Find(Form1, "Button3")),
                GetWideControlText(Find(SearchDlg, "Label1")), GetUiString(1001)};
    }
    static TControl* Find(TComponent* form, const char* name) {
        return dynamic_cast<TControl*>(form ? form->FindComponent(name) : nullptr);
    }

    testsupport::ScopedRegistry registry_;
};

TEST_F(Languages, EachFileReachesEveryWindowAndEnglishRestoresIt) {
    const std::vector<WideString> english = Shown();
    ASSERT_EQ(english, (std::vector<WideString>{u"View", u"Open", u"Search in:", u"Ready"}));
    // Check boxes size themselves to their captions: a longer one must not wrap in the width
    // a shorter one left behind.
    SearchDlg->Show();
    Application->ProcessMessages();
    TControl* closeBox = Find(SearchDlg, "cbCloseDlg");
    ASSERT_NE(closeBox, nullptr);
    const int oneLine = closeBox->Height();
    for (const char* code : {"EN", "FR", "DE", "ES", "RU", "IT"}) {
        SCOPED_TRACE(code);
        AppLocDB file;
        ASSERT_EQ(file.LoadDB(LanguageFile(code)), 0);
        ASSERT_EQ(appLocDB.SwitchLanguage(LanguageFile(code)), 0);
        const std::vector<WideString> expected = {file.GetString(u"Form1:View1"), file.GetString(u"Form1:TopBar:Button3"),
                                                  file.GetString(u"SearchDlg:SearchPanel:Label1"), file.GetString(u"1001")};
        EXPECT_EQ(Shown(), expected);
        if (std::string(code) != "EN")
            for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NE(expected[i], english[i]) << i;
        for (const char* name : {"Form1", "SearchDlg", "SettingsDlg", "fmBateStamp", "AboutDlg", "csvExportDlg",
                                 "OpenAttachmentDlg", "Form2", "Form3"})
            if (auto* form = dynamic_cast<TCustomForm*>(FindGlobalComponent(name)))
                Screenshot(*form, std::string(name) + "_" + code);
        Application->ProcessMessages();
        EXPECT_EQ(closeBox->Height(), oneLine) << Utf16ToUtf8(GetWideControlText(closeBox));
        ASSERT_EQ(appLocDB.SwitchLanguage(LanguageFile("EN")), 0);
        EXPECT_EQ(Shown(), english);
    }
}

// A file that cannot be read changes nothing on screen; one that names only some keys leaves
// the others at their built-in texts, not at an earlier language's.
TEST_F(Languages, UnreadableAndPartialFilesKeepTheOtherTexts) {
    const std::vector<WideString> english = Shown();
    ASSERT_EQ(appLocDB.SwitchLanguage(LanguageFile("DE")), 0);
    const std::vector<WideString> german = Shown();
    EXPECT_EQ(appLocDB.SwitchLanguage(u"/nonexistent/LocalizationDB_XX.txt"), -1);
    EXPECT_EQ(Shown(), german);

    testsupport::TempDir dir;
    const auto partial = dir.path() / "partial.txt";
    AppLocDB custom;
    custom.SetString(u"Form1:View1", u"Ansicht (eigene)");
    ASSERT_EQ(custom.SaveDB(Utf8ToUtf16(partial.string())), 0);
    ASSERT_EQ(appLocDB.SwitchLanguage(Utf8ToUtf16(partial.string())), 0);
    EXPECT_EQ(Shown(), (std::vector<WideString>{u"Ansicht (eigene)", english[1], english[2], english[3]}));
}

}  // namespace
