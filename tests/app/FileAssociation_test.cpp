#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "app/FileAssoc/AssociationManager.h"
#include "app/FileAssoc/XdgFileAssociation.h"
#include "app/SupportLibrary.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// A private XDG tree: user and system configuration and data folders.
class FileAssociationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1); }

    fs::path UserList() const { return root_ / "config" / "mimeapps.list"; }
    fs::path SystemList() const { return root_ / "etc-xdg" / "mimeapps.list"; }
    void Install(const fs::path& dataDir, const std::string& id) {
        fs::create_directories(dataDir / "applications");
        std::ofstream(dataDir / "applications" / id) << "[Desktop Entry]\nType=Application\nName=X\nExec=x\n";
    }
    static std::string Read(const fs::path& p) { return testsupport::ReadFileBytes(p); }

    testsupport::TempDir tmp_;
    fs::path root_ = tmp_.path();
    testsupport::ScopedEnv config_{"XDG_CONFIG_HOME", (root_ / "config").string()};
    testsupport::ScopedEnv configDirs_{"XDG_CONFIG_DIRS", (root_ / "etc-xdg").string()};
    testsupport::ScopedEnv data_{"XDG_DATA_HOME", (root_ / "data").string()};
    testsupport::ScopedEnv dataDirs_{"XDG_DATA_DIRS", (root_ / "usr-share").string()};
    AssociationManager manager_;
};

}  // namespace

TEST_F(FileAssociationTest, SetThenQueryForTheUser) {
    EXPECT_FALSE(manager_.IsAssociated(kProgramProgId, u".msg", false));
    manager_.SetAssociation(kProgramProgId, u".msg", false);
    EXPECT_TRUE(manager_.IsAssociated(kProgramProgId, u".msg", false));
    EXPECT_FALSE(manager_.IsAssociated(kProgramProgId, u".eml", false));
    manager_.SetAssociation(kProgramProgId, u".EML", false);
    EXPECT_TRUE(manager_.IsAssociated(kProgramProgId, u".eml", false));

    const std::string list = Read(UserList());
    EXPECT_NE(list.find("[Default Applications]\napplication/vnd.ms-outlook=quillora.desktop;\n"
                        "message/rfc822=quillora.desktop;\n"),
              std::string::npos)
        << list;
    EXPECT_NE(list.find("[Added Associations]\n"), std::string::npos);
    // The desktop honours a default only for an installed program: its entry was written.
    const std::string entry = Read(root_ / "data" / "applications" / "quillora.desktop");
    EXPECT_NE(entry.find("MimeType=application/vnd.ms-outlook;message/rfc822;"), std::string::npos);
    EXPECT_NE(entry.find("Exec=\"" QUILLORA_PROGRAM_DIR "quillora\" %f"), std::string::npos) << entry;
}

TEST_F(FileAssociationTest, KeepsOtherEntriesAndSeesOtherDefaults) {
    Install(root_ / "data", "viewer.desktop");
    fs::create_directories(root_ / "config");
    std::ofstream(UserList()) << "# mine\n[Default Applications]\ntext/plain=viewer.desktop;\n"
                                 "application/vnd.ms-outlook=viewer.desktop;\n\n[Removed Associations]\n"
                                 "image/png=viewer.desktop;\n";
    EXPECT_FALSE(manager_.IsAssociated(kProgramProgId, u".msg", false));
    EXPECT_EQ(XdgFileAssociation::GetProgIDbyExtension(u".msg"), u"viewer.desktop");
    manager_.SetAssociation(kProgramProgId, u".msg", false);
    EXPECT_TRUE(manager_.IsAssociated(kProgramProgId, u".msg", false));
    const std::string list = Read(UserList());
    EXPECT_NE(list.find("# mine\n"), std::string::npos);
    EXPECT_NE(list.find("text/plain=viewer.desktop;\n"), std::string::npos);
    EXPECT_NE(list.find("[Removed Associations]\nimage/png=viewer.desktop;\n"), std::string::npos);

    // Another program named by the user's list wins over the system list.
    std::ofstream(UserList()) << "[Default Applications]\nmessage/rfc822=viewer.desktop\n";
    fs::create_directories(root_ / "etc-xdg");
    std::ofstream(SystemList()) << "[Default Applications]\nmessage/rfc822=quillora.desktop\n";
    EXPECT_FALSE(manager_.IsAssociated(kProgramProgId, u".eml", false));
    // A default naming a program that is not installed is passed over.
    std::ofstream(UserList()) << "[Default Applications]\nmessage/rfc822=gone.desktop;\n";
    EXPECT_TRUE(manager_.IsAssociated(kProgramProgId, u".eml", false));
}

TEST_F(FileAssociationTest, AllUsersWritesTheSystemList) {
    manager_.SetAssociation(kProgramProgId, u".eml", true);
    EXPECT_NE(Read(SystemList()).find("message/rfc822=quillora.desktop;"), std::string::npos);
    EXPECT_FALSE(fs::exists(UserList()));
    EXPECT_TRUE(fs::exists(root_ / "usr-share" / "applications" / "quillora.desktop"));
    EXPECT_TRUE(manager_.IsAssociated(kProgramProgId, u".eml", false));
}

TEST_F(FileAssociationTest, FailuresAreSwallowed) {
    // The user's configuration folder is a file: nothing can be written there.
    std::ofstream(root_ / "config") << "not a folder";
    EXPECT_NO_THROW(manager_.SetAssociation(kProgramProgId, u".msg", false));
    EXPECT_FALSE(manager_.IsAssociated(kProgramProgId, u".msg", false));
    // An extension without a known file type, and a missing support library.
    EXPECT_FALSE(manager_.IsAssociated(kProgramProgId, u".pst", false));
    EXPECT_THROW(XdgFileAssociation().IsAssociated(kProgramProgId, u".pst", false), Exception);
    FreeHelperLibraries();
    EXPECT_NO_THROW(manager_.SetAssociation(kProgramProgId, u".msg", false));
    EXPECT_FALSE(manager_.IsAssociated(kProgramProgId, u".msg", false));
    EXPECT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1);
}

TEST(XdgFileAssociationNames, ApplicationAndDesktopIds) {
    EXPECT_EQ(XdgFileAssociation::AppNameFromProgID(kProgramProgId), u"QuilloraPro");
    EXPECT_EQ(XdgFileAssociation::AppNameFromProgID(u"NoDots"), u"NoDots");
    EXPECT_EQ(XdgFileAssociation::DesktopIdOfProgID(kProgramProgId), u"quillora.desktop");
    EXPECT_EQ(XdgFileAssociation::DesktopIdOfProgID(u"Other.App"), u"other.desktop");
}
