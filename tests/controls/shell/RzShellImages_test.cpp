// Pictures of files by type: one image-list index per type, kept for good, and the generic
// file's picture for a type the theme has none for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "controls/shell/RzShellImages.h"
#include "controls/shell/RzShellList.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/vcl/Forms.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class ShellImagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        for (const char* f : {"a.eml", "b.eml", "c.msg", "d.txt", "e.zip", "f"}) std::ofstream(dir_ / f) << f;
        SetShellIconSource([](ShellIcon icon, int size) {
            return std::vector<std::uint32_t>(static_cast<std::size_t>(size * size), 0xFF000000u + static_cast<unsigned>(icon));
        });
        SetShellTypeIconNameSource([](const std::string& path) -> std::string {
            const std::string ext = fs::path(path).extension().string();
            if (ext == ".eml" || ext == ".msg") return "message";
            if (ext == ".txt") return "text";
            return ext == ".zip" ? "archive" : "";
        });
        SetShellNamedIconSource([this](const std::string& name, int size) {
            ++drawn_;
            // The theme has no archive picture.
            return name == "archive" ? std::vector<std::uint32_t>() : std::vector<std::uint32_t>(static_cast<std::size_t>(size * size), 0xFF00FF00u);
        });
    }
    void TearDown() override {
        SetShellIconSource(nullptr);
        SetShellTypeIconNameSource(nullptr);
        SetShellNamedIconSource(nullptr);
    }
    int Index(TRzShellImages& images, const char* name) const {
        const ShellIdList id = *ParseShellPath((dir_ / name).string());
        DWORD attributes = 0;
        GetShellAttributes(id, attributes);
        return images.ItemIconIndex(id, attributes, false);
    }

    testsupport::TempDir dir_;
    int drawn_ = 0;
};

TEST_F(ShellImagesTest, EachTypeHasOneLastingIndex) {
    TRzShellImages images(16);
    const int message = Index(images, "a.eml");
    const int text = Index(images, "d.txt");
    const int generic = images.IconIndex(ShellIcon::File);
    EXPECT_GE(message, 0);
    EXPECT_NE(message, text);
    EXPECT_NE(message, generic);
    EXPECT_EQ(Index(images, "b.eml"), message);
    EXPECT_EQ(Index(images, "c.msg"), message) << "types sharing a picture share its index";
    EXPECT_EQ(Index(images, "e.zip"), generic) << "a picture the theme lacks";
    EXPECT_EQ(Index(images, "f"), generic) << "an unknown type";
    EXPECT_EQ(Index(images, "e.zip"), generic);
    EXPECT_EQ(drawn_, 3) << "each named picture is drawn once";
    EXPECT_EQ(Index(images, "a.eml"), message);
    EXPECT_EQ(Index(images, "d.txt"), text);
}

TEST_F(ShellImagesTest, ShellListItemsShowTheirTypesPictures) {
    TRzShellList list(nullptr);
    TRzShellLocator at;
    at.SetPath(dir_.path().string());
    list.SetFolder(&at);
    auto image = [&](const char16_t* caption) {
        for (int i = 0; i < list.Items()->Count(); ++i)
            if (list.Items()->Item(i)->Caption() == caption) return list.Items()->Item(i)->ImageIndex();
        return -2;
    };
    EXPECT_EQ(image(u"a.eml"), image(u"c.msg"));
    EXPECT_NE(image(u"a.eml"), image(u"d.txt"));
    EXPECT_EQ(image(u"e.zip"), image(u"f"));
}

}  // namespace
