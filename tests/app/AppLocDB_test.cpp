#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/UiStrings.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

WideString W(const fs::path& p) { return Utf8ToUtf16(p.string()); }

std::string Utf16Bytes(const WideString& text, bool bigEndian) {
    std::string out;
    for (char16_t c : text) {
        const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

const WideString kFixture =
    u"// Quillora translation\r\n"
    u"1001, \"Bereit\"\r\n"
    u"\r\n"
    u"Form1:Caption \"Fenster \"eins\"\"\r\n"
    u"1097, \"erste Zeile\\\r\n"
    u"zweite Zeile\"\r\n"
    u"1001, \"Fertig\"\r\n"
    u"  1002, \"leading blanks\"\r\n"
    u"1003, \"one quote\r\n"
    u"1004, \"\"\r\n"
    u"  // 1005, \"commented\"\r\n"
    u"form1, \"lower\"";

}  // namespace

TEST(AppLocDB, ParseLineTable) {
    struct Row {
        const char16_t* line;
        const char16_t* key;
        const char16_t* text;
    };
    const Row rows[] = {
        {u"1001, \"Ready\"", u"1001", u"Ready"},
        {u"1001 \"Ready\"", u"1001", u"Ready"},                      // blank instead of comma
        {u"  1001, \"Ready\"", u"", u"Ready"},                       // blank start: no key
        {u",\"x\"", u"", u"x"},
        {u"1001, \"one", u"1001", u""},                              // a single quote
        {u"1001, \"\"", u"1001", u""},                               // adjacent quotes
        {u"k, \"say \"hi\" now\" tail", u"k", u"say \"hi\" now"},    // inner quotes kept
        {u"k, \"a\\nb\"", u"k", u"a\nb"},
        {u"Form1:Menu1:Item2, \"&Open\"", u"Form1:Menu1:Item2", u"&Open"},
    };
    for (const Row& r : rows) {
        const auto [key, text] = AppLocDB::ParseLine(r.line);
        EXPECT_EQ(key, r.key) << Utf16ToUtf8(r.line);
        EXPECT_EQ(text, r.text) << Utf16ToUtf8(r.line);
    }
}

TEST(AppLocDB, LoadsFixtureLineRules) {
    testsupport::TempDir dir;
    const fs::path file = dir.WriteFile("fr.txt", Utf16Bytes(kFixture, false));
    AppLocDB db;
    db.SetString(u"1010", u"kept");
    ASSERT_EQ(db.LoadDB(W(file)), 0);
    EXPECT_EQ(db.GetString(u"1001"), u"Fertig");  // the last of two wins
    EXPECT_EQ(db.GetString(u"Form1:Caption"), u"Fenster \"eins\"");
    EXPECT_EQ(db.GetString(u"1097"), u"erste Zeile\nzweite Zeile");
    EXPECT_EQ(db.GetString(u"form1"), u"lower");  // keys are case-sensitive
    EXPECT_EQ(db.GetString(u"1010"), u"kept");    // loading merges
    for (const char16_t* absent : {u"1002", u"1003", u"1004", u"1005", u"Form1"})
        EXPECT_FALSE(db.HasKey(absent)) << Utf16ToUtf8(absent);
    EXPECT_EQ(db.Count(), 5u);
}

// The byte-order mark is looked at once, at the start; big-endian files are swapped; a NUL
// does not cut off what follows; a mark-like unit at any other place stays text.
TEST(AppLocDB, EncodingsAndMarks) {
    testsupport::TempDir dir;
    WideString longText(5000, u'x');
    longText[2046] = 0xFEFF;  // where a 2047-unit chunk would begin
    const WideString withNul =
        u"1001, \"Ready\"\r\n1002, \"" + longText + u"\"\r\n1003, \"a" + WideString(1, u'\0') + u"b\"\r\n";
    const std::pair<std::string, std::string> files[] = {
        {"le.txt", Utf16Bytes(withNul, false)},
        {"le-bom.txt", "\xFF\xFE" + Utf16Bytes(withNul, false)},
        {"be-bom.txt", "\xFE\xFF" + Utf16Bytes(withNul, true)},
        {"odd.txt", Utf16Bytes(withNul, false) + "\x41"},
    };
    for (const auto& [name, bytes] : files) {
        AppLocDB db;
        ASSERT_EQ(db.LoadDB(W(dir.WriteFile(name, bytes))), 0) << name;
        EXPECT_EQ(db.GetString(u"1001"), u"Ready") << name;
        EXPECT_EQ(db.GetString(u"1002"), longText) << name;
        EXPECT_EQ(db.GetString(u"1003"), u"ab") << name;
    }
}

TEST(AppLocDB, SaveLoadRoundTrip) {
    testsupport::TempDir dir;
    AppLocDB db;
    db.SetString(u"1001", u"Ready");
    db.SetString(u"1099", u"line one\r\nline two \u2019 \"quoted\"");
    db.SetString(u"Form1:Caption", u"\u0416\u0443\u0440\u043d\u0430\u043b");
    db.SetString(u"1012", u"");
    const fs::path file = dir / "out.txt";
    ASSERT_EQ(db.SaveDB(W(file)), 0);

    const std::string bytes = testsupport::ReadFileBytes(file);
    EXPECT_EQ(bytes.substr(0, 2), std::string("1\0", 2));  // no byte-order mark
    EXPECT_NE(bytes.find(Utf16Bytes(u"1012, \"\"\r\n", false)), std::string::npos);
    EXPECT_NE(bytes.find(Utf16Bytes(u"line one\\\r\nline two", false)), std::string::npos);

    AppLocDB back;
    ASSERT_EQ(back.LoadDB(W(file)), 0);
    EXPECT_EQ(back.GetString(u"1001"), u"Ready");
    EXPECT_EQ(back.GetString(u"1099"), u"line one\nline two \u2019 \"quoted\"");
    EXPECT_EQ(back.GetString(u"Form1:Caption"), u"\u0416\u0443\u0440\u043d\u0430\u043b");
    EXPECT_FALSE(back.HasKey(u"1012"));  // an empty text is written and not read back
    // The format cannot keep a literal backslash-n: it reads back as a line break.
    AppLocDB path;
    path.SetString(u"k", u"/tmp\\new");
    ASSERT_EQ(path.SaveDB(W(file)), 0);
    ASSERT_EQ(path.LoadDB(W(file)), 0);
    EXPECT_EQ(path.GetString(u"k"), u"/tmp\new");
}

TEST(AppLocDB, FailuresAreReported) {
    testsupport::TempDir dir;
    AppLocDB db;
    db.SetString(u"1001", u"Ready");
    EXPECT_EQ(db.LoadDB(W(dir / "missing.txt")), -1);
    EXPECT_EQ(db.GetString(u"1001"), u"Ready");
    EXPECT_EQ(db.SaveDB(W(dir / "no-such-folder" / "out.txt")), -1);
    // A failed save leaves an existing file as it was: the target is a folder here.
    fs::create_directory(dir / "taken.txt");
    std::ofstream(dir / "taken.txt" / "inner") << "old";
    EXPECT_EQ(db.SaveDB(W(dir / "taken.txt")), -1);
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "taken.txt" / "inner"), "old");
    EXPECT_TRUE(fs::is_directory(dir / "taken.txt"));
}

TEST(AppLocDB, UiStringsFromDatabaseThenBuiltIn) {
    EXPECT_EQ(GetUiString(1087), u"Quillora Pro");
    EXPECT_EQ(GetUiString(1012), u"");
    EXPECT_EQ(GetUiString(99999), u"");
    EXPECT_FALSE(appLocDB.HasKey(u"1012"));  // a lookup inserts nothing

    appLocDB.SetString(u"1001", u"Pr\u00eat");
    EXPECT_EQ(GetUiString(1001), u"Pr\u00eat");
    appLocDB.SetString(u"1001", u"");
    EXPECT_EQ(GetUiString(1001), u"Ready");
}

// A translated format with other conversions than the built-in one would read arguments that
// are not there; the built-in format is used instead.
TEST(AppLocDB, UiFormatsKeepTheirConversions) {
    appLocDB.SetString(u"1065", u"Kopiert: %d von %d Dateien");
    EXPECT_EQ(GetUiFormat(1065), u"Kopiert: %d von %d Dateien");
    appLocDB.SetString(u"1065", u"Kopiert: %s von %d");
    EXPECT_EQ(GetUiFormat(1065), u"Copied: %d files of %d");
    appLocDB.SetString(u"1113", u"Nachricht \"%s\" %s");
    EXPECT_EQ(GetUiFormat(1113), u"Can't load message \"%s\"");
    appLocDB.SetString(u"1113", u"100%% sicher: \"%s\"");
    EXPECT_EQ(GetUiFormat(1113), u"100%% sicher: \"%s\"");
    appLocDB.SetString(u"1065", u"");
    appLocDB.SetString(u"1113", u"");
}

TEST(AppLocDB, LanguageFiles) {
    EXPECT_EQ(LanguageFileName(LanguageEnglish), u"Localization/LocalizationDB_EN.txt");
    EXPECT_EQ(LanguageFileName(LanguageItalian), u"Localization/LocalizationDB_IT.txt");
    EXPECT_EQ(LanguageFileName(LanguageNone), u"");
    EXPECT_EQ(LanguageFileName(LanguageCustom), u"");
    EXPECT_EQ(LanguageFilePath(LanguageRussian), CAppUtils::getAppFolder() + u"Localization/LocalizationDB_RU.txt");
}

// A template of the built-in texts writes one line per text, in key order.
TEST(AppLocDB, BuiltInTemplateHoldsEveryUiText) {
    const auto table = BuiltInUiTexts();
    const auto written = static_cast<std::size_t>(
        std::count_if(table.begin(), table.end(), [](const UiText& t) { return t.text && *t.text; }));
    testsupport::TempDir dir;
    AppLocDB db;
    StoreResourceStrings(db);
    EXPECT_EQ(db.Count(), written);
    ASSERT_EQ(db.SaveDB(W(dir / "template.txt")), 0);

    const std::string bytes = testsupport::ReadFileBytes(dir / "template.txt");
    const std::string first = Utf16Bytes(u"1000, \"Loading messages\"\r\n1001, \"Ready\"\r\n", false);
    EXPECT_EQ(bytes.substr(0, first.size()), first);
    for (const char16_t* line :
         {u"\r\n1011, \"Required file libquillora-utils.so can't be loaded.\\\r\nPlease reinstall application.\"\r\n",
          u"\r\n1087, \"Quillora Pro\"\r\n",
          u"\r\n1139, \"Too many files for current naming scheme, please change naming scheme settings.\"\r\n"})
        EXPECT_NE(bytes.find(Utf16Bytes(line, false)), std::string::npos) << Utf16ToUtf8(line);
    EXPECT_EQ(bytes.find(Utf16Bytes(u"\r\n1012,", false)), std::string::npos);  // no text, no line
    const std::string lineEnd = Utf16Bytes(u"\"\r\n", false);
    std::size_t lines = 0;
    for (std::size_t at = bytes.find(lineEnd); at != std::string::npos; at = bytes.find(lineEnd, at + 1)) ++lines;
    EXPECT_EQ(lines, written);
}

// The English file beside the program is the template of the real windows: every UI text and
// the texts of the menus, the toolbar, the search window and the other windows.
TEST(AppLocDB, EnglishFileHoldsEveryUiTextAndTheWindowTexts) {
    AppLocDB english;
    ASSERT_EQ(english.LoadDB(Utf8ToUtf16(QUILLORA_LOCALIZATION_EN)), 0);
    for (const UiText& t : BuiltInUiTexts())
        EXPECT_EQ(english.GetString(Utf8ToUtf16(std::to_string(t.id))), t.text) << t.id;
    const std::pair<const char16_t*, const char16_t*> windowTexts[] = {
        {u"Form1:File1", u"File"},
        {u"Form1:TopBar:Button3", u"Open"},
        {u"Form1:actionOpenFile", u"Open..."},
        {u"Form1:Panel4:RzPageControl2:TabSheet5", u"Favorites"},
        {u"SearchDlg:SearchPanel:Label1", u"Search in:"},
        {u"SearchDlg:SearchPanel:RzBitBtn3.Hint", u"Start search process"},
        {u"SettingsDlg:TntGroupBox2:rbCustom", u"Custom"},
        {u"Form3:TntLabel1", u"Preparing message, please wait..."},
        {u"AboutDlg", u"About"},
        {u"frmFavorites:TntPopupMenu1:Open1", u"&Open"},
        {u"uxFolderProperties:uxTabs:uxGeneralInfo:uxTittle", u"Title:"},
        {u"SplashScreen", u"Quillora is loading"},
    };
    for (const auto& [key, text] : windowTexts) EXPECT_EQ(english.GetString(key), text) << Utf16ToUtf8(key);
}
