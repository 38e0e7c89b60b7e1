#include "message/MAPITags.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(MAPITags, TagNameLookups) {
    struct Case {
        std::uint32_t tag;
        int row;
        const char* name;
    };
    const Case cases[] = {
        {0x3001001F, 14, "DISPLAY_NAME"},          // a wide tag finds its 8-bit row
        {0x37010102, 426, "ATTACH_DATA_OBJ"},      // the first row with the id
        {0x00010000, 294, "ACKNOWLEDGEMENT_MODE"}, // the type is ignored
        {0x370F0102, 440, "ATTACH_ADDITIONAL_INFO"},
        {0x00000000, -1, nullptr},
        {0x12340003, -1, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetMAPITagIndex(c.tag), c.row) << std::hex << c.tag;
        if (c.name) {
            EXPECT_STREQ(GetMAPITagRow(c.row)->name, c.name);
        }
    }
    EXPECT_EQ(GetMAPITagRow(0), nullptr);
    EXPECT_EQ(GetMAPITagRow(441), nullptr);
    EXPECT_STREQ(MAPITagNames[78].description, "Mail Persmission");
    EXPECT_STREQ(MAPITagNames[14].description, "Display Name (Unicode)");
    EXPECT_STREQ(MAPITagNames[419].description, "RTF Compressed");
}

TEST(MAPITags, TnefLookups) {
    EXPECT_EQ(GetMAPITagFromTNEF(0x00018004), 0x0037001Eu);
    EXPECT_EQ(GetMAPITagFromTNEF(0x00078004), 0x0037001Eu);  // only the low word counts
    EXPECT_EQ(GetMAPITagFromTNEF(0x00019999), 0x00019999u);
    EXPECT_EQ(GetMAPITagFromTNEFIndex(0x00038020), 24);
    EXPECT_EQ(GetMAPITagFromTNEFIndex(0x00019999), -1);
    const std::pair<std::uint32_t, std::uint32_t> types[] = {{1, 0x001E}, {2, 0x001E}, {3, 0x0007}, {4, 0x0002}, {5, 0x0003},
                                                             {6, 0x0102}, {7, 0x0002}, {8, 0x0003}, {9, 0}, {0, 0}};
    for (auto [code, type] : types) EXPECT_EQ(GetMAPITypeFromTNEF(code), type) << code;
}

}  // namespace
