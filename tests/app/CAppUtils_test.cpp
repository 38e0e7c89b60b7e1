#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/CAppUtils.h"
#include "platform/win/WinProcess.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"
#include "tests/support/Unprivileged.h"

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

// The folder and every folder up to this user's root: a folder of this user, not a link,
// closed to everyone else.
void ExpectPrivate(const fs::path& folder) {
    struct stat facts {};
    ASSERT_EQ(::lstat(folder.c_str(), &facts), 0) << folder;
    EXPECT_TRUE(S_ISDIR(facts.st_mode)) << folder;
    EXPECT_EQ(facts.st_uid, ::geteuid()) << folder;
    EXPECT_EQ(facts.st_mode & 0777, 0700u) << folder;
}

TEST(AppFolders, TemporaryFolderIsThisUsersOwnClosedAndRecreated) {
    testsupport::TempDir tmp;
    fs::create_directory(tmp / "runtime");
    fs::permissions(tmp / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    const std::string pid = std::to_string(GetCurrentProcessId());
    const struct {
        std::string runtime;
        fs::path root;
    } cases[] = {
        {(tmp / "runtime").string(), tmp / "runtime" / "Quillora"},
        {"", tmp / "shared" / ("Quillora-" + std::to_string(::geteuid()))},
        {(tmp / "missing").string(), tmp / "shared" / ("Quillora-" + std::to_string(::geteuid()))},
    };
    fs::create_directory(tmp / "shared");
    testsupport::ScopedEnv shared("TMPDIR", (tmp / "shared").string());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.runtime);
        testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", c.runtime);
        const mode_t umask = ::umask(0);  // the folders are closed whatever the umask
        const WideString first = CAppUtils::getAppTempFolder();
        ::umask(umask);
        EXPECT_EQ(first, W(c.root / pid) + u"/");
        ExpectPrivate(c.root);
        ExpectPrivate(c.root / pid);
        fs::remove_all(c.root);
        EXPECT_EQ(CAppUtils::getAppTempFolder(), first) << "made again";
        ExpectPrivate(c.root / pid);
    }
}

TEST(AppFolders, ATemporaryFolderThatFailsTheCheckIsAnErrorNotAPath) {
    testsupport::TempDir tmp;
    testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", "");
    testsupport::ScopedEnv shared("TMPDIR", tmp.path().string());
    const fs::path root = tmp / ("Quillora-" + std::to_string(::geteuid()));
    const fs::path pidFolder = root / std::to_string(GetCurrentProcessId());
    fs::create_directory(tmp / "elsewhere");
    // The root planted as a link, then as a folder open to others; then the run's own folder
    // planted as a link inside a sound root.
    fs::create_directory_symlink(tmp / "elsewhere", root);
    EXPECT_EQ(CAppUtils::getAppTempFolder(), u"");
    fs::remove(root);
    fs::create_directory(root);
    fs::permissions(root, fs::perms::all, fs::perm_options::replace);
    EXPECT_EQ(CAppUtils::getAppTempFolder(), u"");
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::replace);
    fs::create_directory_symlink(tmp / "elsewhere", pidFolder);
    EXPECT_EQ(CAppUtils::getAppTempFolder(), u"");
    EXPECT_TRUE(fs::is_empty(tmp / "elsewhere"));
    // A file in the way of the root.
    fs::remove_all(root);
    Touch(root);
    EXPECT_EQ(CAppUtils::getAppTempFolder(), u"");
}

// A second user of the same temporary folder gets a folder of their own, which the first
// user cannot enter, and neither can read the other's.
TEST(AppFolders, TwoUsersSharingTheTemporaryFolderEachHaveTheirOwn) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    testsupport::TempDir tmp;
    testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", "");
    testsupport::ScopedEnv shared("TMPDIR", tmp.path().string());
    const WideString first = CAppUtils::getAppTempFolder();
    ASSERT_FALSE(first.empty());
    Touch(fs::path(Utf16ToUtf8(first)) / "page.html");
    testsupport::RunUnprivileged(tmp.path(), [&] {
        const WideString second = CAppUtils::getAppTempFolder();
        ASSERT_FALSE(second.empty());
        EXPECT_NE(second.find(u"/Quillora-65534/"), WideString::npos) << Utf16ToUtf8(second);
        std::ofstream page(fs::path(Utf16ToUtf8(second)) / "page.html");
        EXPECT_TRUE(page << "mine" && page.flush()) << "the second user writes into their folder";
        std::error_code error;
        EXPECT_FALSE(fs::exists(fs::path(Utf16ToUtf8(first)) / "page.html", error)) << "the first user's files are out of reach";
    });
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
