#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "app/CAppOptions.h"
#include "controls/unicode/TntRegistry.h"
#include "controls/unicode/TntSystem.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

// Answers association questions from its fields and records every request.
class FakeAssociations : public IFileAssociation {
public:
    bool IsAssociated(const WideString&, const WideString& extension, bool) override {
        return extension == u".msg" ? msg : eml;
    }
    void SetAssociation(const WideString& progId, const WideString& extension, bool allUsers) override {
        set.push_back(Utf16ToUtf8(progId + u" " + extension) + (allUsers ? " all" : " user"));
    }
    bool msg = false;
    bool eml = false;
    std::vector<std::string> set;
};

class OptionsTest : public ::testing::Test {
protected:
    OptionsTest() {
        auto fake = std::make_unique<FakeAssociations>();
        assoc_ = fake.get();
        options_.assocManager = std::move(fake);
    }
    ~OptionsTest() override { Args({}); }

    static void Args(std::vector<std::string> args) {
        args.insert(args.begin(), "quillora");
        std::vector<const char*> argv;
        for (const std::string& a : args) argv.push_back(a.c_str());
        InitWideCommandLine(static_cast<int>(argv.size()), argv.data());
    }
    static std::unique_ptr<TTntRegistry> Key(HKEY root) {
        auto reg = std::make_unique<TTntRegistry>();
        reg->SetRootKey(root);
        EXPECT_TRUE(reg->OpenKey(kOptionsKey, true));
        return reg;
    }
    static bool KeyExists(HKEY root) {
        TTntRegistry reg(KEY_READ);
        reg.SetRootKey(root);
        return reg.OpenKeyReadOnly(kOptionsKey);
    }
    static WideString UserString(const char16_t* name) {
        TTntRegistry reg(KEY_READ);
        reg.SetRootKey(HKEY_CURRENT_USER);
        EXPECT_TRUE(reg.OpenKeyReadOnly(kOptionsKey));
        return reg.ReadString(WideString(name));
    }
    void ReadAll() {
        options_.Read(true);
        options_.Read(false);
        options_.parse();
    }

    testsupport::ScopedRegistry registry_;
    CAppOptions options_;
    FakeAssociations* assoc_ = nullptr;
};

}  // namespace

TEST_F(OptionsTest, DefaultsWithoutRegistryOrArguments) {
    Args({});
    ReadAll();
    EXPECT_EQ(options_.language, 0);
    EXPECT_TRUE(options_.showSplash);
    EXPECT_TRUE(options_.showFolders && options_.showToolbar && options_.showMessageList);
    EXPECT_EQ(options_.failedExportPath.substr(options_.failedExportPath.size() - 14), u"Failed export/");
    EXPECT_TRUE(options_.fileToOpen.empty());
}

TEST_F(OptionsTest, UserOverridesMachineAndSwitchOverridesUser) {
    {
        const auto m = Key(HKEY_LOCAL_MACHINE);
        m->WriteInteger("SortMode", 2);
        m->WriteInteger("Language", 3);
        m->WriteInteger("Print page breaks", 1);
        m->WriteString("Localization Database", "/opt/machine.txt");
        m->WriteString("UI", "C,TOOLBAR");
        const auto u = Key(HKEY_CURRENT_USER);
        u->WriteInteger("SortMode", 5);
        u->WriteInteger("SortDir", 7);
        u->WriteString("Localization Database", "/home/ü/Übersetzung.txt");
        u->WriteString("FailedExportMessagesCopyPath", "/home/ü/Fehlgeschlagen/");
    }
    assoc_->eml = true;
    Args({"+DIR", "/srv/Почта", "+EXPTEXT", "/tmp/Vorlage.txt"});
    ReadAll();
    EXPECT_EQ(options_.sortMode, 5);
    EXPECT_TRUE(options_.sortDir);
    EXPECT_EQ(options_.language, 3);
    EXPECT_TRUE(options_.printPageBreaks);
    EXPECT_EQ(options_.failedExportPath, u"/home/\u00fc/Fehlgeschlagen/");
    EXPECT_EQ(options_.uiList, u"C,TOOLBAR");  // the user has none: the machine's counts
    EXPECT_TRUE(options_.hideC);
    EXPECT_FALSE(options_.showToolbar);
    EXPECT_TRUE(options_.exportTexts);
    EXPECT_EQ(options_.localizationDb, u"/tmp/Vorlage.txt");
    EXPECT_EQ(options_.startDir, u"/srv/\u041f\u043e\u0447\u0442\u0430");
    EXPECT_FALSE(options_.assocMsg);
    EXPECT_TRUE(options_.assocEml);
}

TEST_F(OptionsTest, RegistryUiNamesAreExactCase) {
    Key(HKEY_CURRENT_USER)->WriteString("UI", "c,folders,Mlist");
    ReadAll();
    EXPECT_FALSE(options_.hideC);
    EXPECT_TRUE(options_.showFolders && options_.showMessageList);
}

TEST_F(OptionsTest, UiSwitchTable) {
    struct Row {
        std::vector<std::string> args;
        bool c, x, folders, panels;
    };
    const Row rows[] = {
        {{"-UI=C,X"}, true, true, true, false},
        {{"-ui:c,x"}, true, true, true, false},        // the argument is upper-cased
        {{"-UIC,X"}, false, true, true, false},        // the 4th character is always skipped
        {{"-UI=C,,FOLDERS,"}, true, false, false, false},
        {{"-UI=C,NOPE,PANELS"}, true, false, true, true},
        {{"-UI=C", "-UI"}, false, false, true, false},  // "-UI" alone resets
        {{"-UI=C", "-UI="}, false, false, true, false},
    };
    for (const Row& r : rows) {
        CAppOptions o;
        o.assocManager = std::make_unique<FakeAssociations>();
        Args(r.args);
        o.parse();
        EXPECT_EQ(o.hideC, r.c) << r.args[0];
        EXPECT_EQ(o.hideX, r.x) << r.args[0];
        EXPECT_EQ(o.showFolders, r.folders) << r.args[0];
        EXPECT_EQ(o.hidePANELS, r.panels) << r.args[0];
    }
}

TEST_F(OptionsTest, FullScreenAndUiOrder) {
    Args({"+FULLSCR", "/m/Bericht.msg", "-UI=C"});
    options_.parse();
    EXPECT_TRUE(options_.fullScreenView && options_.fullScreenStart);
    EXPECT_EQ(options_.fileToOpen, u"/m/Bericht.msg");
    EXPECT_TRUE(options_.hideC);
    EXPECT_FALSE(options_.hideOF || options_.hidePANELS || options_.hideAPP || options_.hideS);
    EXPECT_TRUE(options_.showFolders && options_.showToolbar && options_.showMessageList);
    EXPECT_FALSE(options_.showSplash);

    CAppOptions other;
    Args({"-UI=C", "+FULLSCR", "/m/a.msg"});
    other.parse();
    EXPECT_TRUE(other.hideC && other.hideOF && other.hidePANELS && other.hideAPP && other.hideS);
    EXPECT_FALSE(other.showFolders || other.showToolbar || other.showMessageList);
}

TEST_F(OptionsTest, SwitchesAndPlainFiles) {
    Args({"/setup", "/AllUsers", "+regmsg", "+DEBUG", "-LOAD", "+PRINT", "+EXPORT=src;dst", "first.eml",
          "Zweite \u00c4nderung.msg"});
    options_.parse();
    EXPECT_TRUE(options_.setupMode && options_.allUsers && options_.assocMsg && options_.debugSwitch);
    EXPECT_TRUE(options_.noLoad && options_.silentPrint && options_.exportMode && options_.runCmdLineExport);
    EXPECT_FALSE(options_.showSplash);
    // The later file wins, case kept, named in the folder the program was started in.
    EXPECT_EQ(options_.fileToOpen, WideArgumentPath(u"Zweite \u00c4nderung.msg"));

    // An empty argument does not end the line: the switches after it still count.
    {
        CAppOptions o;
        Args({"", "+EXPORT=src;dst"});
        o.parse();
        EXPECT_TRUE(o.exportMode && o.runCmdLineExport);
    }

    for (const char* last : {"+EXPTEXT", "+DIR", "+FULLSCR"}) {
        CAppOptions o;
        Args({"-LOAD", last});
        o.parse();
        EXPECT_EQ(o.fileToOpen, WideArgumentPath(Utf8ToUtf16(last)));
        EXPECT_FALSE(o.exportTexts || o.fullScreenView);
        EXPECT_TRUE(o.startDir.empty());
    }
}

TEST_F(OptionsTest, RelativePathsNameFilesInTheFolderTheProgramWasStartedIn) {
    // The program changes its own folder after reading the line: the caller's folder counts.
    testsupport::TempDir caller;
    testsupport::TempDir elsewhere;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(caller.path());
    const std::filesystem::path callerFolder = std::filesystem::current_path();
    Args({"+DIR", "Mail", "+EXPTEXT", "../t.txt", "/abs/a.msg", "sub/b.eml"});
    std::filesystem::current_path(elsewhere.path());
    options_.parse();
    std::filesystem::current_path(before);
    const std::string base = callerFolder.string();
    EXPECT_EQ(Utf16ToUtf8(options_.startDir), base + "/Mail");
    EXPECT_EQ(Utf16ToUtf8(options_.localizationDb), callerFolder.parent_path().string() + "/t.txt");
    EXPECT_EQ(Utf16ToUtf8(options_.fileToOpen), base + "/sub/b.eml");
    Args({"+FULLSCR", "./c.msg"});
    CAppOptions full;
    full.parse();
    EXPECT_EQ(Utf16ToUtf8(full.fileToOpen), std::filesystem::current_path().string() + "/c.msg");
}

TEST_F(OptionsTest, WriteRebuildsTheUiList) {
    struct Row {
        const char16_t* list;
        bool folders, toolbar;
        const char16_t* stored;
    };
    const Row rows[] = {
        {u"", false, true, u",FOLDERS"},
        {u"C", false, true, u"C,FOLDERS"},
        {u"FOLDERS,C", true, true, u",C"},           // the leading comma stays
        {u"C,FOLDERS,X", true, true, u"C,X"},
        {u"C,TOOLBAR", true, true, u"C,"},
        {u"C", true, false, u"C,TOOLBAR"},
    };
    for (const Row& r : rows) {
        options_.uiList = r.list;
        options_.showFolders = r.folders;
        options_.showToolbar = r.toolbar;
        options_.Write(false);
        EXPECT_EQ(UserString(u"UI"), r.stored) << Utf16ToUtf8(r.list);
        EXPECT_EQ(options_.uiList, r.stored);
    }
}

TEST_F(OptionsTest, WriteStoresUnicodeValuesAndReadsThemBack) {
    options_.language = 255;
    options_.sortMode = 4;
    options_.sortDir = true;
    options_.localizationDb = u"/home/\u0416/\u7ffb\u8a33.txt";
    options_.failedExportPath = u"/home/\u0416/\U0001F4E7/";
    options_.Write(false);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE));

    CAppOptions back;
    back.assocManager = std::make_unique<FakeAssociations>();
    back.Read(false);
    EXPECT_EQ(back.language, 255);
    EXPECT_EQ(back.sortMode, 4);
    EXPECT_TRUE(back.sortDir);
    EXPECT_EQ(back.localizationDb, u"/home/\u0416/\u7ffb\u8a33.txt");
    EXPECT_EQ(back.failedExportPath, u"/home/\u0416/\U0001F4E7/");

    options_.Write(true);  // "/SETUP /ALLUSERS"
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE));
}

// A template export names a file of English texts; it must not become the user's translation.
TEST_F(OptionsTest, TemplateExportKeepsTheChosenTranslation) {
    Key(HKEY_CURRENT_USER)->WriteString("Localization Database", "/usr/lib/quillora/Localization/LocalizationDB_FR.txt");
    Args({"+EXPTEXT", "/tmp/template.txt"});
    ReadAll();
    EXPECT_EQ(options_.localizationDb, u"/tmp/template.txt");
    options_.Write(false);
    EXPECT_EQ(UserString(u"Localization Database"), u"/usr/lib/quillora/Localization/LocalizationDB_FR.txt");
    // A translation chosen afterwards in the settings is saved.
    options_.localizationDb = u"/home/u/mine.txt";
    options_.Write(false);
    EXPECT_EQ(UserString(u"Localization Database"), u"/home/u/mine.txt");
}

TEST_F(OptionsTest, AssociationsOnlyWhenRequested) {
    assoc_->msg = true;  // already the default at start
    Args({});
    ReadAll();
    options_.Write(false);
    EXPECT_TRUE(assoc_->set.empty());  // not re-asserted over a change made elsewhere

    options_.assocEml = true;  // the settings dialog asks for it
    options_.allUsers = true;
    options_.Write(false);
    EXPECT_EQ(assoc_->set, std::vector<std::string>{"QuilloraPro.FileAssoc.MSG .eml all"});

    assoc_->set.clear();
    Args({"+REGMSG"});
    options_.parse();
    options_.Write(false);
    EXPECT_EQ(assoc_->set.front(), "QuilloraPro.FileAssoc.MSG .msg all");
}

TEST_F(OptionsTest, FullScreenWriteTouchesNothing) {
    Args({"+FULLSCR", "/m/a.msg", "+REGMSG"});
    ReadAll();
    options_.Write(false);
    EXPECT_TRUE(assoc_->set.empty());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER));
}
