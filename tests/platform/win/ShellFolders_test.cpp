#include <filesystem>

#include <gtest/gtest.h>

#include "platform/win/ShellFolders.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// A private home with its own XDG folders for one test.
struct FakeHome {
    testsupport::TempDir dir;
    fs::path home = dir / "home";
    testsupport::ScopedEnv homeEnv{"HOME", home.string()};
    testsupport::ScopedEnv config{"XDG_CONFIG_HOME", (home / ".config").string()};
    testsupport::ScopedEnv data{"XDG_DATA_HOME", (dir / "data").string()};
    FakeHome() { fs::create_directories(home / ".config"); }
    void UserDirs(const std::string& text) const { dir.WriteFile("home/.config/user-dirs.dirs", text); }
};

WideString Folder(int csidl) {
    char16_t buf[MAX_PATH];
    const HRESULT hr = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
    return SUCCEEDED(hr) ? WideString(buf) : u"<failed>";
}

WideString W(const fs::path& p) { return Utf8ToUtf16(p.string()); }

}  // namespace

TEST(ShellFolders, DesktopAndDocumentsComeFromUserDirs) {
    FakeHome h;
    h.UserDirs("# written by the desktop\n"
               "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
               "XDG_DOCUMENTS_DIR=\"" + (h.dir / "Docs \\\"x\\\"").string() + "/\"\n");
    fs::create_directories(h.home / "Schreibtisch");
    fs::create_directories(h.dir / "Docs \"x\"");
    EXPECT_EQ(Folder(CSIDL_DESKTOP), W(h.home / "Schreibtisch"));
    EXPECT_EQ(Folder(CSIDL_DESKTOPDIRECTORY), W(h.home / "Schreibtisch"));
    EXPECT_EQ(Folder(CSIDL_PERSONAL), W(h.dir / "Docs \"x\""));
}

TEST(ShellFolders, MissingOrUnsetUserDirsFallBackToHome) {
    FakeHome h;
    EXPECT_EQ(Folder(CSIDL_DESKTOP), W(h.home));  // no user-dirs.dirs at all
    h.UserDirs("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"relative/docs\"\n");
    EXPECT_EQ(Folder(CSIDL_DESKTOP), W(h.home));  // configured but never made
    EXPECT_EQ(Folder(CSIDL_PERSONAL), W(h.home)); // not a usable path
    EXPECT_EQ(Folder(CSIDL_DESKTOP | CSIDL_FLAG_CREATE), W(h.home / "Desktop"));
    EXPECT_TRUE(fs::is_directory(h.home / "Desktop"));
}

TEST(ShellFolders, ApplicationDataIsTheXdgDataFolderAndExists) {
    FakeHome h;
    EXPECT_EQ(Folder(CSIDL_APPDATA), W(h.dir / "data"));
    EXPECT_TRUE(fs::is_directory(h.dir / "data"));  // callers create their own folder inside it
    EXPECT_EQ(Folder(CSIDL_LOCAL_APPDATA), W(h.dir / "data"));
    testsupport::ScopedEnv relative("XDG_DATA_HOME", "not/absolute");
    EXPECT_EQ(Folder(CSIDL_APPDATA), W(h.home / ".local/share"));
    EXPECT_TRUE(fs::is_directory(h.home / ".local/share"));
}

TEST(ShellFolders, SystemAndProgramFolders) {
    EXPECT_EQ(Folder(CSIDL_SYSTEM), u"/usr/lib");
    EXPECT_EQ(Folder(CSIDL_PROGRAM_FILES), W(fs::read_symlink("/proc/self/exe").parent_path()));
    char narrow[MAX_PATH];
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_SYSTEM, nullptr, 0, narrow), S_OK);
    EXPECT_STREQ(narrow, "/usr/lib");
    char16_t buf[MAX_PATH];
    EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, buf, CSIDL_SYSTEM, FALSE));
}

TEST(ShellFolders, FailsCleanly) {
    char16_t buf[MAX_PATH] = u"junk";
    EXPECT_EQ(SHGetFolderPathW(nullptr, 0x0077, nullptr, 0, buf), E_INVALIDARG);
    EXPECT_EQ(buf[0], u'\0');
    EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_SYSTEM, nullptr, 0, nullptr), E_INVALIDARG);

    FakeHome h;
    const fs::path deep = h.dir / std::string(120, 'a') / std::string(120, 'b') / std::string(120, 'c');
    testsupport::ScopedEnv data("XDG_DATA_HOME", deep.string());
    EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, buf), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    WideString any;
    ASSERT_EQ(GetSpecialFolderPath(CSIDL_APPDATA, any), S_OK);  // the unbounded form still answers
    EXPECT_EQ(any, W(deep));

    h.dir.WriteFile("blocker", "a file where a folder should be");
    testsupport::ScopedEnv blocked("XDG_DATA_HOME", (h.dir / "blocker" / "data").string());
    EXPECT_TRUE(FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, buf)));
}
