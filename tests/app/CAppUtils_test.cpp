#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/CAppUtils.h"
#include "platform/win/WinProcess.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

WideString W(const fs::path& p) { return Utf8ToUtf16(p.string()); }
void Touch(const fs::path& p) { std::ofstream(p) << "x"; }

}  // namespace

TEST(MakeValidFileName, CleansTheWholeTextOrTheLastComponent) {
    struct Row {
        const char16_t* text;
        bool lastOnly;
        const char16_t* expected;
    };
    const Row rows[] = {
        {u"Re: meeting?", false, u"Re_ meeting_"},
        {u"/home/u/a:b.txt", false, u"_home_u_a_b.txt"},
        {u"a<b>c\"d|e*f\\g\th", false, u"a_b_c_d_e_f_g_h"},
        {u"nul\x01" u"byte\x7F", false, u"nul_byte_"},
        {u"CON", false, u"_CON"},
        {u"NUL", false, u"_NUL"},
        {u"CLOCK$", false, u"_CLOCK$"},
        {u"con", false, u"con"},
        {u"CON.txt", false, u"CON.txt"},
        {u"COM10", false, u"COM10"},
        {u".", false, u"_."},
        {u"..", false, u"_.."},
        {u"/home/u/a:b.txt", true, u"/home/u/a_b.txt"},
        {u"/home/u/..", true, u"/home/u/_.."},
        {u"/home/u/PRN", true, u"/home/u/_PRN"},
        {u"bare:name", true, u"bare_name"},  // bare names come back bare, never as "/name"
        {u"", true, u""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CAppUtils::MakeValidFileName(r.text, r.lastOnly), r.expected) << Utf16ToUtf8(r.text);
}

// Linux limits a name to 255 bytes: a Cyrillic subject hits that at 127 characters.
TEST(MakeValidFileName, CutsLongNamesToTheByteLimitKeepingTheExtension) {
    WideString subject;
    for (int i = 0; i < 200; ++i) subject += u"\u0416";  // 2 bytes each in UTF-8
    const WideString name = CAppUtils::MakeValidFileName(subject + u".msg", false);
    EXPECT_LE(Utf16ToUtf8(name).size(), 255u);
    EXPECT_EQ(name, WideString(125, u'\u0416') + u".msg");

    WideString emoji;
    for (int i = 0; i < 100; ++i) emoji += u"\U0001F600";  // a surrogate pair, 4 bytes
    const WideString cut = CAppUtils::MakeValidFileName(u"/x/" + emoji, true);
    EXPECT_EQ(cut, u"/x/" + emoji.substr(0, 2 * 63));
}

TEST(MakeUniqueFileName, NumbersBeforeTheLastExtension) {
    testsupport::TempDir dir;
    const fs::path a = dir / "a.txt";
    EXPECT_EQ(CAppUtils::MakeUniqueFileName(W(a)), W(a));
    Touch(a);
    EXPECT_EQ(CAppUtils::MakeUniqueFileName(W(a)), W(dir / "a (2).txt"));
    Touch(dir / "a (2).txt");
    EXPECT_EQ(CAppUtils::MakeUniqueFileName(W(a)), W(dir / "a (3).txt"));

    Touch(dir / "plain");
    EXPECT_EQ(CAppUtils::MakeUniqueFileName(W(dir / "plain")), W(dir / "plain (2)"));
    Touch(dir / "arch.tar.gz");
    EXPECT_EQ(CAppUtils::MakeUniqueFileName(W(dir / "arch.tar.gz")), W(dir / "arch.tar (2).gz"));

    // A folder of that name is taken as much as a file.
    fs::create_directory(dir / "b.eml");
    EXPECT_EQ(CAppUtils::MakeUniqueFileName(W(dir / "b.eml")), W(dir / "b (2).eml"));
    fs::create_directory(dir / "Export");
    EXPECT_EQ(CAppUtils::MakeUniqueFileName(W(dir / "Export") + u"/"), W(dir / "Export (2)"));
}

TEST(MakeUniqueFileName, GoesRandomAfterAHundredAndNeverReturnsATakenName) {
    testsupport::TempDir dir;
    Touch(dir / "m.msg");
    for (int n = 2; n <= 100; ++n) Touch(dir / ("m (" + std::to_string(n) + ").msg"));
    const WideString unique = CAppUtils::MakeUniqueFileName(W(dir / "m.msg"));
    ASSERT_FALSE(unique.empty());
    EXPECT_FALSE(fs::exists(fs::path(Utf16ToUtf8(unique))));
    EXPECT_EQ(unique.substr(0, W(dir / "m (").size()), W(dir / "m ("));
}

TEST(AppFolders, TemporaryFolderIsPerProcessStableAndRecreated) {
    testsupport::TempDir tmp;
    testsupport::ScopedEnv env("TMPDIR", tmp.path().string());
    const WideString first = CAppUtils::getAppTempFolder();
    EXPECT_EQ(first, W(tmp / "Quillora" / std::to_string(GetCurrentProcessId())) + u"/");
    EXPECT_TRUE(fs::is_directory(Utf16ToUtf8(first)));
    fs::remove_all(tmp / "Quillora");
    EXPECT_EQ(CAppUtils::getAppTempFolder(), first);
    EXPECT_TRUE(fs::is_directory(Utf16ToUtf8(first)));
}

TEST(AppFolders, DataFavoritesAndProgramFolders) {
    testsupport::TempDir data;
    testsupport::ScopedEnv env("XDG_DATA_HOME", (data / "Dätä").string());
    const WideString appData = CAppUtils::getAppDataFolder();
    EXPECT_EQ(appData, W(data / "Dätä" / "Quillora") + u"/");
    EXPECT_TRUE(fs::is_directory(data / "Dätä" / "Quillora"));
    EXPECT_EQ(CAppUtils::getFavoritesXmlFile(), appData + u"favorites.xml");
    EXPECT_EQ(CAppUtils::getFavoritesFolder(), appData + u"Favorites/");
    EXPECT_TRUE(fs::is_directory(data / "Dätä" / "Quillora" / "Favorites"));

    const WideString program = CAppUtils::getAppFolder();
    EXPECT_EQ(program, W(fs::read_symlink("/proc/self/exe").parent_path()) + u"/");
    EXPECT_EQ(CAppUtils::getDesktopFolder().back(), u'/');
    EXPECT_EQ(CAppUtils::getUserDocumentsFolder().back(), u'/');
}
