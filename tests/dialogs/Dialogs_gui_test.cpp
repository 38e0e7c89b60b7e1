// The small dialogs from their form files: the attachment action codes, the folder dialog's OK
// state, the settings dialog's OK rules, the about box's version, the CSV command's boxes.
// With QUILLORA_SCREENSHOT set (a .png path), each dialog is also saved beside it as a picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <QWidget>

#include "app/AppLocDB.h"
#include "app/CAppOptions.h"
#include "app/cLogger.h"
#include "controls/shell/RzShellTree.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/CsvExport.h"
#include "dialogs/CsvExportDlg.h"
#include "dialogs/DialogForms.h"
#include "dialogs/OpenAttachmentDlg.h"
#include "dialogs/SelectFolderDlg.h"
#include "dialogs/SettingsDlg.h"
#include "dialogs/SplashScreen.h"
#include "message/MessageAttr.h"
#include "platform/shell/qt/ShellIconsQt.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WinUser.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// Saves the shown form as "<screenshot path without .png>_<name>.png".
void Screenshot(TCustomForm& form, const std::string& name) {
    const char* path = std::getenv("QUILLORA_SCREENSHOT");
    if (!path) return;
    std::string base = path;
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".png") == 0) base.resize(base.size() - 4);
    const bool wasVisible = form.Visible();
    if (!wasVisible) form.Show();
    Application->ProcessMessages();
    EXPECT_TRUE(dynamic_cast<QWidget*>(form.Peer())->grab().save(QString::fromStdString(base + "_" + name + ".png")));
    if (!wasVisible) form.Hide();
}

template <class T>
T* Get(TComponent* form, const char* name) {
    auto* c = dynamic_cast<T*>(form->FindComponent(name));
    EXPECT_TRUE(c) << name;
    return c;
}

class SmallDialogsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallQtWidgetSet();
        InstallQtShellIcons();
        RegisterDialogForms();
        Application->Initialize();
    }
    template <class F>
    std::unique_ptr<F> Make(F*& global) {
        Application->CreateForm(global);
        return std::unique_ptr<F>(global);
    }
};

// ---- attachment manager

TEST_F(SmallDialogsTest, AttachmentDialogCodes) {
    auto dlg = Make(OpenAttachmentDlg);
    EXPECT_EQ(dlg->Caption(), u"Attachment manager");
    Screenshot(*dlg, "OpenAttachmentDlg");
    const struct {
        const char* radio;  // checked before the answer; null: leave as is
        std::function<void(TOpenAttachmentDlg&)> answer;
        int code;
    } cases[] = {
        {"rbOpen", [](TOpenAttachmentDlg& d) { d.bbOkClick(nullptr); }, aaOpen},
        {"rbSave", [](TOpenAttachmentDlg& d) { d.bbOkClick(nullptr); }, aaSave},
        {"rbSaveAll", [](TOpenAttachmentDlg& d) { d.bbOkClick(nullptr); }, aaSaveAll},
        {nullptr, [](TOpenAttachmentDlg& d) {
             WORD key = VK_RETURN;
             d.FormKeyDown(nullptr, key, {});
         }, aaSaveAll},
        {nullptr, [](TOpenAttachmentDlg& d) {
             WORD key = VK_ESCAPE;
             d.FormKeyDown(nullptr, key, {});
         }, aaCancel},
        {nullptr, [](TOpenAttachmentDlg& d) { d.Button3Click(nullptr); }, aaCancel},
        {nullptr, [](TOpenAttachmentDlg& d) { SendMessageW(d.Handle(), WM_CLOSE, 0, 0); }, aaNone},
    };
    for (const auto& c : cases) {
        if (c.radio) Get<TRadioButton>(dlg.get(), c.radio)->SetChecked(true);
        TScopedModalHook hook([&](TModalRequest& r) {
            EXPECT_EQ(r.What, TModalRequest::ModalForm);
            c.answer(*dlg);
            return 0;
        });
        EXPECT_EQ(dlg->AskAction(), c.code) << (c.radio ? c.radio : "kept radio");
        EXPECT_EQ(dlg->attachmentAction, c.code);
    }
    EXPECT_TRUE(Get<TRadioButton>(dlg.get(), "rbSaveAll")->Checked()) << "the choice is kept between uses";
}

// ---- folder dialog

class SelectFolderTest : public SmallDialogsTest {
protected:
    SelectFolderTest() {
        fs::create_directories(home_ / "mail");
        fs::create_directories(home_ / ".config");
    }
    testsupport::TempDir dir_;
    fs::path home_ = dir_ / "home";
    testsupport::ScopedEnv homeEnv_{"HOME", home_.string()};
    testsupport::ScopedEnv configEnv_{"XDG_CONFIG_HOME", (home_ / ".config").string()};
};

TTreeNode* ChildNamed(TTreeNode* parent, const char16_t* text) {
    for (TTreeNode* c = parent->GetFirstChild(); c; c = c->GetNextSibling())
        if (c->Text() == text) return c;
    return nullptr;
}

TEST_F(SelectFolderTest, OkOnlyForFoldersWithAPath) {
    auto dlg = Make(SelectFolderDlg);
    TRzShellTree* tree = dlg->Tree();
    ASSERT_TRUE(tree);
    tree->FillTree();
    TTreeNode* root = tree->Items()->GetFirstNode();
    ASSERT_TRUE(root);
    auto* ok = Get<TControl>(dlg.get(), "RzBitBtn1");
    tree->SetSelected(ChildNamed(root, u"Computer"));
    EXPECT_FALSE(ok->Enabled()) << "a virtual folder has no path";
    tree->SetSelected(ChildNamed(root, u"Home"));
    EXPECT_TRUE(ok->Enabled());

    WideString folder = Utf8ToUtf16((home_ / "mail").string());
    TScopedModalHook hook([&](TModalRequest& r) {
        EXPECT_EQ(r.Caption, u"Select Folder");
        EXPECT_TRUE(ok->Enabled()) << "the given folder is selected";
        Screenshot(*dlg, "SelectFolderDlg");
        return mrOk;
    });
    ASSERT_TRUE(dlg->Choose(folder));
    EXPECT_EQ(folder, Utf8ToUtf16((home_ / "mail").string()));
}

// ---- settings

class RecordingAssociations : public IFileAssociation {
public:
    bool IsAssociated(const WideString&, const WideString&, bool) override { return false; }
    void SetAssociation(const WideString&, const WideString& extension, bool) override { set.push_back(extension); }
    std::vector<WideString> set;
};

class SettingsTest : public SmallDialogsTest {
protected:
    void SetUp() override {
        auto assoc = std::make_unique<RecordingAssociations>();
        assoc_ = assoc.get();
        appOptions.assocManager = std::move(assoc);
        appOptions.language = LanguageEnglish;
        appOptions.localizationDb = LanguageFilePath(LanguageEnglish);
        appOptions.assocMsg = appOptions.assocEml = false;
        dlg_ = Make(SettingsDlg);
        dlg_->ApplyLanguage = [this](const WideString& file) {
            applied_.push_back(file);
            return applyResult_;
        };
    }
    void TearDown() override { appOptions.assocManager.reset(); }
    void Show() { dlg_->FormShow(nullptr); }
    void Check(const char* radio) { Get<TRadioButton>(dlg_.get(), radio)->SetChecked(true); }
    TControl* C(const char* name) { return Get<TControl>(dlg_.get(), name); }
    // Presses OK; the boxes it shows are counted.
    void Ok() {
        TScopedModalHook hook([this](TModalRequest& r) {
            if (r.What == TModalRequest::MessageBox) boxes_.push_back(r.Text);
            return IDOK;
        });
        dlg_->SetModalResult(mrNone);
        dlg_->TntButton1Click(nullptr);
    }

    std::unique_ptr<TSettingsDlg> dlg_;
    RecordingAssociations* assoc_ = nullptr;
    std::vector<WideString> applied_;
    std::vector<WideString> boxes_;
    int applyResult_ = 0;
};

// Beside this test there are no translation files: every language but the built-in English is
// offered disabled, its hint naming the missing file. A file that cannot be read is refused with
// a box, and the choice made before stays.
TEST_F(SettingsTest, MissingAndUnreadableLanguageFiles) {
    Show();
    EXPECT_TRUE(C("rbEnglish")->Enabled());
    for (const char* name : {"rbFrench", "rbGerman", "rbSpanish", "rbRussian", "rbItaliano"}) {
        EXPECT_FALSE(C(name)->Enabled()) << name;
        EXPECT_NE(C(name)->Hint().find(u"Localization/LocalizationDB_"), WideString::npos) << name;
    }
    EXPECT_TRUE(C("rbCustom")->Enabled());

    applyResult_ = -1;
    Check("rbCustom");
    C("edCustomLangDB")->SetText(u"/lang/unreadable.txt");
    Ok();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_NE(boxes_[0].find(u"/lang/unreadable.txt"), WideString::npos);
    EXPECT_EQ(dlg_->ModalResult(), mrNone);
    EXPECT_EQ(appOptions.language, LanguageEnglish);
    EXPECT_EQ(appOptions.localizationDb, LanguageFilePath(LanguageEnglish));
}

TEST_F(SettingsTest, OkRules) {
    Show();
    Screenshot(*dlg_, "SettingsDlg");
    EXPECT_TRUE(Get<TRadioButton>(dlg_.get(), "rbEnglish")->Checked());
    EXPECT_FALSE(C("edCustomLangDB")->Enabled());

    // Custom without a file: the box, nothing stored, the dialog stays open.
    Check("rbCustom");
    EXPECT_TRUE(C("edCustomLangDB")->Enabled());
    EXPECT_TRUE(C("btnBrowse")->Enabled());
    Ok();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], GetUiString(1097));
    EXPECT_EQ(dlg_->ModalResult(), mrNone);
    EXPECT_EQ(appOptions.language, LanguageEnglish);
    EXPECT_TRUE(applied_.empty());

    // Same language: nothing to load.
    Check("rbEnglish");
    Ok();
    EXPECT_EQ(dlg_->ModalResult(), mrOk);
    EXPECT_TRUE(applied_.empty());

    // Another language: loaded once.
    Show();
    Check("rbFrench");
    Ok();
    EXPECT_EQ(appOptions.language, LanguageFrench);
    EXPECT_EQ(applied_, std::vector<WideString>{LanguageFilePath(LanguageFrench)});

    // Custom with a file, then Custom again with another file: both are applied.
    for (const char16_t* file : {u"/lang/first.txt", u"/lang/second.txt"}) {
        Show();
        Check("rbCustom");
        C("edCustomLangDB")->SetText(file);
        Ok();
        EXPECT_EQ(appOptions.localizationDb, file);
        EXPECT_EQ(applied_.back(), file);
    }
    EXPECT_EQ(applied_.size(), 3u);
    EXPECT_EQ(boxes_.size(), 1u);

    // Shown again: Custom with its file; Italiano then disables the file field.
    Show();
    EXPECT_TRUE(Get<TRadioButton>(dlg_.get(), "rbCustom")->Checked());
    EXPECT_EQ(C("edCustomLangDB")->Text(), u"/lang/second.txt");
    EXPECT_TRUE(C("btnBrowse")->Enabled());
    Check("rbItaliano");
    EXPECT_FALSE(C("edCustomLangDB")->Enabled());
    EXPECT_FALSE(C("btnBrowse")->Enabled());
}

TEST_F(SettingsTest, AssociationBoxesAndBrowse) {
    appOptions.assocMsg = true;
    appOptions.language = 77;
    Show();
    auto* msg = Get<TCustomCheckBox>(dlg_.get(), "cbRegisterMSG");
    auto* eml = Get<TCustomCheckBox>(dlg_.get(), "cbRegisterEML");
    EXPECT_TRUE(msg->Checked());
    EXPECT_FALSE(msg->Enabled()) << "an existing association cannot be removed here";
    EXPECT_FALSE(eml->Checked());
    EXPECT_TRUE(eml->Enabled());
    for (const char* radio : {"rbEnglish", "rbFrench", "rbCustom"})
        EXPECT_FALSE(Get<TRadioButton>(dlg_.get(), radio)->Checked()) << "an unknown language checks none";

    Check("rbCustom");
    testsupport::TempDir dir;
    const WideString file = Utf8ToUtf16(dir.WriteFile("mine.txt", "").string());
    {
        TScopedModalHook hook([&](TModalRequest& r) {
            EXPECT_EQ(r.What, TModalRequest::OpenDialog) << Utf16ToUtf8(r.Text);
            r.Files = {file};
            return r.What == TModalRequest::OpenDialog ? mrOk : IDOK;
        });
        dlg_->btnBrowseClick(nullptr);
    }
    EXPECT_EQ(C("edCustomLangDB")->Text(), file);

    eml->SetChecked(true);
    Ok();
    EXPECT_TRUE(appOptions.assocEml);
    ASSERT_FALSE(assoc_->set.empty());
    EXPECT_EQ(assoc_->set.back(), u".eml") << "the newly asked association is made";
}

// ---- about box and splash screen

TEST(AboutVersion, SubstitutesTheFirstPlaceholder) {
    const struct {
        const char16_t* text;
        bool debug;
        const char16_t* shown;
    } cases[] = {
        {u"Version $WCREV$ of", false, u"Version 1.2.3.4 of"},
        {u"Version $WCREV$", true, u"Version 1.2.3.4 (Debug)"},
        {u"$WCREV$/$WCREV$", false, u"1.2.3.4/$WCREV$"},
        {u"No placeholder", true, u"No placeholder"},
    };
    for (const auto& c : cases) EXPECT_EQ(SubstituteVersion(c.text, u"1.2.3.4", c.debug), c.shown);
}

TEST_F(SmallDialogsTest, AboutShowsTheVersionAndEscCloses) {
    const bool debug = debugMode;
    debugMode = false;
    auto dlg = Make(AboutDlg);
    debugMode = debug;
    const WideString version = Get<TControl>(dlg.get(), "lbVersion")->Text();
    EXPECT_NE(version.find(u"version " + ProgramVersion() + u"\r\n"), WideString::npos) << Utf16ToUtf8(version);
    const WideString number = ProgramVersion();
    EXPECT_EQ(std::count(number.begin(), number.end(), u'.'), 3) << "four numbers";
    Screenshot(*dlg, "AboutDlg");
    TScopedModalHook hook([&](TModalRequest&) {
        WORD key = VK_ESCAPE;
        dlg->FormKeyDown(nullptr, key, {});
        return 0;
    });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_FALSE(dlg->Visible());
}

TEST_F(SmallDialogsTest, SplashScreenIsABorderlessPicture) {
    const std::unique_ptr<TCustomForm> splash = CreateSplashScreen();
    EXPECT_EQ(splash->Caption(), u"Quillora is loading");
    EXPECT_EQ(splash->BorderStyle(), bsNone);
    EXPECT_EQ(splash->ClientWidth(), 320);
    EXPECT_EQ(splash->ClientHeight(), 120);
    Screenshot(*splash, "SplashScreen");
}

// ---- CSV command

class FakeMessage : public TMessageAttr {
public:
    explicit FakeMessage(WideString path) { fileName = std::move(path); }
    int GetType() override { return 0; }
};

TEST_F(SmallDialogsTest, CsvCommandShowsCompletionOnlyWhenWritten) {
    auto dlg = Make(csvExportDlg);
    EXPECT_EQ(dlg->Caption(), u"Export to CSV");
    EXPECT_FALSE(dlg->Options().unicode);
    EXPECT_FALSE(dlg->Options().withBody);
    Screenshot(*dlg, "csvExportDlg");

    testsupport::TempDir dir;
    FakeMessage m(u"/mail/a.msg");
    std::vector<WideString> boxes;
    int forms = 0;
    WideString target;
    TModalResult formAnswer = mrOk;
    TScopedModalHook hook([&](TModalRequest& r) {
        switch (r.What) {
        case TModalRequest::MessageBox: boxes.push_back(r.Caption); return IDOK;
        case TModalRequest::ModalForm:
            ++forms;
            Get<TRadioButton>(r.Form, "rbUnicode")->SetChecked(true);
            return formAnswer;
        case TModalRequest::SaveDialog:
            r.Files = {target};
            return mrOk;
        default: return 0;
        }
    });

    EXPECT_FALSE(RunCsvExportCommand({}));
    EXPECT_EQ(boxes, std::vector<WideString>{u"No files"});
    EXPECT_EQ(forms, 0);

    boxes.clear();
    target = Utf8ToUtf16((dir / "list.csv").string());
    EXPECT_TRUE(RunCsvExportCommand({&m}));
    EXPECT_EQ(boxes, std::vector<WideString>{u"Completed"});
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "list.csv").substr(0, 2), std::string("P\0", 2)) << "the dialog's encoding";

    boxes.clear();
    target = Utf8ToUtf16((dir / "no/such/folder/list.csv").string());
    EXPECT_FALSE(RunCsvExportCommand({&m}));
    EXPECT_EQ(boxes, std::vector<WideString>{u"Error"}) << "a failure box and no completion box";

    boxes.clear();
    formAnswer = mrCancel;
    EXPECT_FALSE(RunCsvExportCommand({&m}));
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
