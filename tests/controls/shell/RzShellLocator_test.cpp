// The locator: when it tells its owner of a change, and its "Pidl" stream form, including
// streams that do not hold what they claim.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/shell/RzShellLocator.h"
#include "platform/shell/ShellNamespace.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class ShellLocatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "a/b");
        locator_.OnChange = [this](TObject*) { ++changes_; };
    }
    std::string Path(const char* relative) const { return (dir_ / relative).string(); }

    testsupport::TempDir dir_;
    TRzShellLocator locator_;
    int changes_ = 0;
};

TEST_F(ShellLocatorTest, ChangesFireOnlyWhenThePlaceDiffers) {
    locator_.SetPath(Path("a/b"));
    EXPECT_EQ(changes_, 1);
    EXPECT_EQ(locator_.GetPath(), Path("a/b"));
    locator_.SetPath(Path("a//b/"));
    EXPECT_EQ(changes_, 1) << "the same place";

    TRzShellLocator same;
    same.SetPath(Path("a/b"));
    locator_.Assign(&same);
    EXPECT_EQ(changes_, 1);

    locator_.SetPath(Path("a/missing"));
    EXPECT_EQ(changes_, 2);
    EXPECT_TRUE(locator_.GetIdList().Empty()) << "an unparsable path names the desktop";
    locator_.Clear();
    EXPECT_EQ(changes_, 2);

    locator_.SetSpecialFolder(CSIDL_DRIVES);
    EXPECT_EQ(changes_, 3);
    EXPECT_EQ(locator_.GetPath(), "") << "Computer has no path";
    locator_.SetIdList(*GetSpecialFolderIdList(CSIDL_DRIVES));
    EXPECT_EQ(changes_, 4) << "a list after a special folder is a change";

    locator_.Assign(nullptr);
    EXPECT_EQ(changes_, 5);
    EXPECT_TRUE(locator_.GetIdList().Empty());
}

TEST_F(ShellLocatorTest, PidlStreamRoundTripsAndAnEmptyCountIsTheDesktop) {
    locator_.SetPath(Path("a/b"));
    TMemoryStream stream;
    locator_.WritePidl(stream);
    stream.SetPosition(0);
    TRzShellLocator back;
    back.ReadPidl(stream);
    EXPECT_TRUE(back.IsEqual(locator_));

    locator_.SetSpecialFolder(CSIDL_DRIVES);
    TMemoryStream special;
    locator_.WritePidl(special);
    EXPECT_EQ(special.Size(), 2);
    special.SetPosition(0);
    back.ReadPidl(special);
    EXPECT_TRUE(back.IsSpecialFolder());
    EXPECT_EQ(back.SpecialFolder(), CSIDL_DRIVES);

    const Bytes empty{0, 0, 0, 0, 0};
    TMemoryStream zero;
    zero.WriteBuffer(empty.data(), 5);
    zero.SetPosition(0);
    back.ReadPidl(zero);
    EXPECT_TRUE(back.IsSpecialFolder());
    EXPECT_EQ(back.SpecialFolder(), 0);
    EXPECT_TRUE(back.GetIdList().Empty());
}

TEST_F(ShellLocatorTest, MalformedPidlStreamsAreRefused) {
    struct Case {
        const char* what;
        Bytes bytes;
    } const cases[] = {
        {"count beyond the stream", {0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0}},
        {"count below a terminator", {0, 1, 0, 0, 0, 0}},
        {"item past the count", {0, 6, 0, 0, 0, 9, 0, 'H', 0, 0, 0}},
        {"bytes after the list", {0, 4, 0, 0, 0, 0, 0, 0, 0}},
        {"no mode", {}},
        {"no number", {1}},
    };
    for (const Case& c : cases) {
        TMemoryStream stream;
        if (!c.bytes.empty()) stream.WriteBuffer(c.bytes.data(), static_cast<std::int64_t>(c.bytes.size()));
        stream.SetPosition(0);
        TRzShellLocator target;
        EXPECT_THROW(target.ReadPidl(stream), EReadError) << c.what;
    }
}

}  // namespace
