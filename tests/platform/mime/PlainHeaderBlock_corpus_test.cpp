// Every .eml header block of the shared corpus that the plain split takes, and every header
// value in it that the plain address split takes, reads as the MIME reader reads it.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/mime/IdMessage.h"
#include "tests/platform/mime/PartHeaderReading.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

TEST(PlainHeaderBlockCorpus, EveryPlainBlockReadsAsTheMimeReader)
{
    QUILLORA_REQUIRE_CORPUS();
    int plain = 0, all = 0, plainLists = 0;
    for (const auto& entry : fs::recursive_directory_iterator(testsupport::CorpusDir())) {
        if (!entry.is_regular_file() || entry.path().extension() != ".eml") continue;
        SCOPED_TRACE(entry.path().string());
        const std::string text = testsupport::ReadFileBytes(entry.path());
        const std::string_view block = partreading::HeaderBlockOf(text);
        ++all;
        mime_detail::PlainHeaderBlock split;
        if (!mime_detail::SplitPlainHeaderBlock(block, split)) continue;
        ++plain;
        EXPECT_EQ(partreading::Describe(split), partreading::Describe(partreading::ReadWithMimeReader(block)));
        for (const auto& [name, raw] : split.headers) {
            std::vector<TIdEmailAddressItem> items;
            if (!mime_detail::SplitPlainAddressList(raw, items)) continue;
            ++plainLists;
            std::string mine;
            for (const TIdEmailAddressItem& item : items) mine += item.Name + "<" + item.Address + ">,";
            EXPECT_EQ(mine, partreading::ReadAddressesWithMimeReader(raw)) << name;
        }
    }
    EXPECT_GT(plainLists, 0);
    // Even these fixtures, many of them odd on purpose (mbox separators first), are mostly plain:
    // the split is taken for most real mail.
    EXPECT_GT(plain * 2, all) << plain << " of " << all;
}

}  // namespace
