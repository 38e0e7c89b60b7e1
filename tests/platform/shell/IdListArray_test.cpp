#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "platform/shell/IdListArray.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(IdListArray, FolderAndTwoItemsRoundTrip) {
    const IdListArray array{ItemIdList::FromPath(u"/A"), {ItemIdList({u"f1"}), ItemIdList({u"B", u"f2"})}};
    const Bytes block = BuildIdListArray(array);
    EXPECT_EQ(block[0], 2);   // cidl
    EXPECT_EQ(block[4], 16);  // the folder's list follows the three offsets
    const auto back = ReadIdListArray(block);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->folder, array.folder);
    EXPECT_EQ(back->items, array.items);
}

TEST(IdListArray, CommonFolderOfPaths) {
    const auto array = IdListArrayFromPaths({u"/A/f1", u"/A/B/f2"});
    ASSERT_TRUE(array);
    EXPECT_EQ(array->folder, ItemIdList({u"A"}));
    EXPECT_EQ(array->items, (std::vector<ItemIdList>{ItemIdList({u"f1"}), ItemIdList({u"B", u"f2"})}));
    EXPECT_EQ(PathsFromIdListArray(*array), (std::vector<WideString>{u"/A/f1", u"/A/B/f2"}));
    EXPECT_EQ(IdListArrayFromPaths({u"/x"})->folder, ItemIdList());
    EXPECT_FALSE(IdListArrayFromPaths({}));
}

TEST(IdListArray, MalformedBlocksAreRejectedWithinTheBlock) {
    const Bytes good = BuildIdListArray({ItemIdList({u"A"}), {ItemIdList({u"f1"})}});
    struct Case {
        const char* what;
        Bytes block;
    };
    Bytes none = good;
    none[0] = 0;
    Bytes hugeCount = good;
    hugeCount[3] = 0xFF;
    Bytes badOffset = good;
    badOffset[8] = 0xFF;
    Bytes oddItemSize = good;
    oddItemSize[12] = 3;  // the folder's first item claims 3 bytes
    Bytes itemPastEnd = good;
    itemPastEnd[12] = 0x40;
    const Case cases[] = {
        {"no items", none},
        {"count beyond the block", hugeCount},
        {"offset past the end", badOffset},
        {"odd item size", oddItemSize},
        {"item past the end", itemPastEnd},
        {"cut before the closing zero", Bytes(good.begin(), good.end() - 1)},
        {"three bytes", Bytes(good.begin(), good.begin() + 3)},
    };
    for (const Case& c : cases) {
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[c.block.size() + 1]);
        if (!c.block.empty()) std::memcpy(exact.get(), c.block.data(), c.block.size());
        EXPECT_FALSE(ReadIdListArray({exact.get(), c.block.size()})) << c.what;
    }
}

}  // namespace
