// Favorite items and the favorites file: a round trip keeps the tree, odd documents read as
// the design says, and a damaged file is kept aside instead of being written over.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>

#include "favorites/FavoritesFile.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

FavNode Folder(const WideString& title, std::vector<FavNode> children = {}) {
    auto item = std::make_unique<FavFolder>();
    item->Tittle = title;
    item->ImageIndex = 3;
    return FavNode{std::move(item), std::move(children)};
}

TEST(Favorites, ARoundTripKeepsTheTree) {
    auto msg = std::make_unique<FavMsg>();
    msg->Tittle = u"Angebot f\u00FCr \"M\u00FCller\" & <Partner>";
    msg->Comments = u"";
    msg->FileName = u"/home/u/offer \u00E9.msg";
    msg->ImageIndex = 7;
    const GUID guid = msg->Guid;
    auto shortcut = std::make_unique<FavShortcut>();
    shortcut->Tittle = u"\u6587\u4EF6";
    shortcut->Path = u"/home/u/\u6587\u4EF6";
    std::vector<FavNode> tree;
    std::vector<FavNode> inner;
    inner.push_back(FavNode{std::move(msg), {}});
    inner.push_back(FavNode{std::move(shortcut), {}});
    tree.push_back(Folder(u"Clients", std::move(inner)));
    tree.push_back(Folder(u""));

    const std::string text = FavoritesText(tree);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>", 0), 0u) << text;
    EXPECT_NE(text.find("<Folder Tittle=\"\" Comments=\"\" ImageIndex=\"3\" />"), std::string::npos) << text;

    const FavLoadResult back = ParseFavorites(text);
    ASSERT_TRUE(back.error.empty()) << Utf16ToUtf8(back.error);
    ASSERT_EQ(back.nodes.size(), 2u);
    ASSERT_EQ(back.nodes[0].children.size(), 2u);
    const auto* m = dynamic_cast<const FavMsg*>(back.nodes[0].children[0].item.get());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Tittle, u"Angebot f\u00FCr \"M\u00FCller\" & <Partner>");
    EXPECT_EQ(m->FileName, u"/home/u/offer \u00E9.msg");
    EXPECT_EQ(m->ImageIndex, 7);
    EXPECT_EQ(std::memcmp(&m->Guid, &guid, sizeof guid), 0);
    const auto* s = dynamic_cast<const FavShortcut*>(back.nodes[0].children[1].item.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Path, u"/home/u/\u6587\u4EF6");
    EXPECT_EQ(back.nodes[1].item->Tittle, u"");
    EXPECT_EQ(back.nodes[1].item->Kind, 0);
}

TEST(Favorites, OddDocumentsReadAsDesigned) {
    // A first element that is a folder, names that are case-sensitive, unknown elements whose
    // children join the parent, a message without GUID getting a fresh one each time.
    const char* text =
        "<Folder Tittle=\"Top\"><folder Tittle=\"lower\"/><Group><Shortcut Tittle=\"S\" Path=\"/p\"/></Group>"
        "<Message Tittle=\"M\"/></Folder>";
    const FavLoadResult a = ParseFavorites(text), b = ParseFavorites(text);
    ASSERT_TRUE(a.error.empty());
    ASSERT_EQ(a.nodes.size(), 1u);
    EXPECT_EQ(a.nodes[0].item->Tittle, u"Top");
    ASSERT_EQ(a.nodes[0].children.size(), 2u);
    EXPECT_EQ(a.nodes[0].children[0].item->Tittle, u"S");
    const auto* ma = dynamic_cast<const FavMsg*>(a.nodes[0].children[1].item.get());
    const auto* mb = dynamic_cast<const FavMsg*>(b.nodes[0].children[1].item.get());
    ASSERT_TRUE(ma && mb);
    EXPECT_NE(std::memcmp(&ma->Guid, &mb->Guid, sizeof(GUID)), 0);

    // A GUID that is not one stops reading with the design's message; what was read stays.
    const FavLoadResult bad = ParseFavorites(
        "<Items><Folder Tittle=\"kept\"/><Message Tittle=\"x\" GUID=\"{nonsense}\"/><Folder Tittle=\"lost\"/></Items>");
    EXPECT_EQ(bad.error, u"'{nonsense}' is not a valid GUID value");
    ASSERT_EQ(bad.nodes.size(), 1u);
    EXPECT_EQ(bad.nodes[0].item->Tittle, u"kept");

    // A character cut off at the very end is mended before the parser sees it (which would
    // read past it); the element it cuts is still damaged.
    const FavLoadResult cut = ParseFavorites("<Items><Folder Tittle=\"\xD2");
    EXPECT_FALSE(cut.error.empty());
    EXPECT_TRUE(cut.nodes.empty());

    FavMsg storage;
    storage.FileName = u"C:\\Users\\u\\offer.msg";
    EXPECT_EQ(storage.GetStoragePath(u"/root"), u"/root/" + storage.GetGuidText() + u"/offer.msg");
    storage.FileName = u"/x/..";
    EXPECT_EQ(storage.GetStoragePath(u"/root"), u"/root/" + storage.GetGuidText() + u"/");
}

TEST(Favorites, TitlesOfAnyTextComeBack) {
    // A subject with a broken surrogate pair becomes a title; the file must read back whole.
    const WideString titles[] = {u"broken \xD83D", u"\xDC00 leading low", u"emoji \U0001F600",
                                 u"\u041F\u0440\u0438\u0432\u0435\u0442"};
    std::vector<FavNode> tree;
    for (const WideString& t : titles) tree.push_back(Folder(t));
    const FavLoadResult back = ParseFavorites(FavoritesText(tree));
    ASSERT_TRUE(back.error.empty()) << Utf16ToUtf8(back.error);
    ASSERT_EQ(back.nodes.size(), std::size(titles));
    for (size_t i = 0; i < std::size(titles); ++i) EXPECT_EQ(back.nodes[i].item->Tittle, titles[i]) << i;

    // A title written by hand in another code page costs that title's bad bytes, not the file.
    const FavLoadResult latin = ParseFavorites("<Items><Folder Tittle=\"caf\xE9\"/><Folder Tittle=\"next\"/></Items>");
    ASSERT_TRUE(latin.error.empty()) << Utf16ToUtf8(latin.error);
    ASSERT_EQ(latin.nodes.size(), 2u);
    EXPECT_EQ(latin.nodes[0].item->Tittle, u"caf\uFFFD");
    EXPECT_EQ(latin.nodes[1].item->Tittle, u"next");
}

TEST(Favorites, ADamagedFileIsKeptAsideAndNeverWrittenOver) {
    testsupport::TempDir dir;
    const auto file = dir.WriteFile("favorites.xml", "<Items><Folder Tittle=\"a\"");
    dir.WriteFile("favorites.xml.damaged", "an earlier damaged file");
    const WideString path = Utf8ToUtf16(file.string());
    const FavLoadResult r = LoadFavoritesFile(path);
    EXPECT_TRUE(r.nodes.empty());
    EXPECT_NE(r.error.find(u"damaged"), WideString::npos);
    EXPECT_EQ(r.keptAsidePath, path + u".damaged-2");
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "favorites.xml.damaged-2"), "<Items><Folder Tittle=\"a\"");
    EXPECT_EQ(testsupport::ReadFileBytes(dir / "favorites.xml.damaged"), "an earlier damaged file");
    EXPECT_FALSE(std::filesystem::exists(file));

    // Missing and empty files are simply no favorites.
    EXPECT_TRUE(LoadFavoritesFile(path).error.empty());
    dir.WriteFile("empty.xml", "");
    EXPECT_TRUE(LoadFavoritesFile(Utf8ToUtf16((dir / "empty.xml").string())).error.empty());

    // Saving writes the whole file; a folder that does not exist is reported.
    std::vector<FavNode> tree;
    tree.push_back(Folder(u"Saved"));
    WideString error;
    ASSERT_TRUE(SaveFavoritesFile(path, tree, error));
    EXPECT_EQ(LoadFavoritesFile(path).nodes.size(), 1u);
    EXPECT_FALSE(SaveFavoritesFile(Utf8ToUtf16((dir / "no/such/favorites.xml").string()), tree, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
