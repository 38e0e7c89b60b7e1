#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "platform/com/DataObject.h"
#include "platform/com/DropFilesBlock.h"
#include "platform/com/FileGroupDescriptor.h"
#include "platform/com/FormatEtcEnumerator.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(DropFilesBlock, EightCharacterNameGivesTheExactBlocks) {
    const Bytes wide = BuildDropFilesBlock({u"abcdefgh"}, true);
    ASSERT_EQ(wide.size(), 40u);
    EXPECT_EQ(wide[0], 20);   // list offset
    EXPECT_EQ(wide[16], 1);   // wide flag
    EXPECT_EQ(wide[20], 'a');
    EXPECT_EQ(wide[21], 0);
    for (std::size_t i = 36; i < 40; ++i) EXPECT_EQ(wide[i], 0) << i;

    const Bytes narrow = BuildDropFilesBlock({u"abcdefgh"}, false);
    ASSERT_EQ(narrow.size(), 31u);
    EXPECT_EQ(narrow[16], 0);
    EXPECT_EQ(std::memcmp(narrow.data() + 20, "abcdefgh\0\0", 11), 0);
}

TEST(DropFilesBlock, NamesRoundTripInBothWidthsWithoutLoss) {
    const std::vector<WideString> names{u"/tmp/\u4E00\u00E9.msg", u"/home/u/b.eml"};
    for (bool wide : {true, false}) {
        EXPECT_EQ(ReadDropFilesBlock(BuildDropFilesBlock(names, wide)), names) << wide;
        HGLOBAL g = BuildDropFilesGlobal(names, wide);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(ReadFilesFromHGlobal(g), names);
        GlobalFree(g);
    }
    EXPECT_TRUE(BuildDropFilesBlock({}, true).empty());
}

TEST(DropFilesBlock, MalformedBlocksReadNothingOutsideThem) {
    Bytes good = BuildDropFilesBlock({u"abc", u"def"}, true);
    struct Case {
        const char* what;
        Bytes block;
        std::size_t names;
    };
    Bytes badOffset = good;
    badOffset[0] = 0xF0, badOffset[1] = 0xFF, badOffset[2] = 0xFF, badOffset[3] = 0x7F;
    Bytes offsetInHeader = good;
    offsetInHeader[0] = 4;
    Bytes truncated(good.begin(), good.begin() + 29);  // inside the second name's first unit
    Bytes unterminated(good.begin(), good.begin() + 32);  // "abc\0de" without a terminator
    const Case cases[] = {
        {"header only", Bytes(good.begin(), good.begin() + 20), 0},
        {"offset past the end", badOffset, 0},
        {"offset inside the header", offsetInHeader, 0},
        {"cut in a unit", truncated, 1},
        {"no terminator", unterminated, 1},
        {"empty", {}, 0},
    };
    for (const Case& c : cases) {
        // A heap copy of exactly the block's size, so ASan sees any read past it.
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[c.block.size() + 1]);
        if (!c.block.empty()) std::memcpy(exact.get(), c.block.data(), c.block.size());
        EXPECT_EQ(ReadDropFilesBlock({exact.get(), c.block.size()}).size(), c.names) << c.what;
    }
}

TEST(FileGroupDescriptor, RoundTripsAndRejectsCountsBeyondTheBlock) {
    const std::vector<WideString> names{u"a.msg", u"\u4E00.eml"};
    for (bool wide : {true, false}) {
        const Bytes block = BuildFileGroupDescriptor(names, wide);
        EXPECT_EQ(block.size(), 4 + 2 * (wide ? 592u : 332u));
        EXPECT_EQ(ReadFileGroupDescriptorNames(block, wide), names);
        EXPECT_FALSE(ReadFileGroupDescriptorNames({block.data(), block.size() - 1}, wide));
    }
    Bytes huge = BuildFileGroupDescriptor(names, true);
    huge[0] = huge[1] = huge[2] = huge[3] = 0xFF;  // 4 + 0xFFFFFFFF * 592 overflows 32 bits
    EXPECT_FALSE(FileGroupDescriptorCount(huge, true));
    const std::uint8_t three[3] = {1, 0, 0};
    EXPECT_FALSE(FileGroupDescriptorCount(three, false));
}

TEST(StgMedium, CopyDuplicatesGlobalBlocksAndReleaseEmpties) {
    STGMEDIUM source;
    source.tymed = TYMED_HGLOBAL;
    source.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(source.hGlobal), "abcd", 4);
    GlobalUnlock(source.hGlobal);
    STGMEDIUM copy;
    ASSERT_EQ(CopyStgMedium(&source, &copy), S_OK);
    EXPECT_NE(copy.hGlobal, source.hGlobal);
    ReleaseStgMedium(&source);
    EXPECT_EQ(source.tymed, TYMED_NULL);
    EXPECT_EQ(std::memcmp(GlobalLock(copy.hGlobal), "abcd", 4), 0);
    GlobalUnlock(copy.hGlobal);
    ReleaseStgMedium(&copy);
    STGMEDIUM empty;
    EXPECT_EQ(CopyStgMedium(&empty, &copy), DV_E_TYMED);
}

TEST(FormatEtcEnumerator, NextSkipResetAndCloneKeepThePosition) {
    std::vector<FORMATETC> formats(3);
    for (WORD i = 0; i < 3; ++i) formats[i].cfFormat = static_cast<CLIPFORMAT>(i + 1);
    const auto e = MakeComObject<FormatEtcEnumerator>(formats);
    FORMATETC got[3];
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(1, got, &fetched), S_OK);
    EXPECT_EQ(got[0].cfFormat, 1);
    ComPtr<IEnumFORMATETC> clone;
    ASSERT_EQ(e->Clone(clone.put()), S_OK);
    EXPECT_EQ(e->Skip(5), S_FALSE);
    EXPECT_EQ(e->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(clone->Next(3, got, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(got[1].cfFormat, 3);
    e->Reset();
    EXPECT_EQ(e->Next(3, got, &fetched), S_OK);
}

}  // namespace
