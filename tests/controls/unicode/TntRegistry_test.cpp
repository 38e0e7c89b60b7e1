#include <gtest/gtest.h>

#include "controls/unicode/TntRegistry.h"
#include "controls/unicode/TntSystem.h"
#include "tests/support/TestSupport.h"

namespace {

// A key of the private registry holding raw values, open in a TTntRegistry.
class TntRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(reg.OpenKey("\\Software\\Quillora\\Layout", true));
    }
    void SetRaw(const WideString& name, DWORD type, const std::string& bytes) {
        ASSERT_EQ(RegSetValueExW(reg.CurrentKey(), name.c_str(), 0, type,
                                 reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }

    testsupport::ScopedRegistry registry;
    TTntRegistry reg;
};

std::string Utf16Bytes(std::u16string_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

}  // namespace

TEST_F(TntRegistryTest, ReadsStringValuesAsWideText) {
    SetRaw(u"StartPath", REG_SZ, Utf16Bytes(std::u16string(u"/home/\u0438\u043c\u044f\0", 10)));
    SetRaw(u"Expand", REG_EXPAND_SZ, Utf16Bytes(std::u16string(u"$HOME/x\0", 8)));
    SetRaw(u"NoNul", REG_SZ, Utf16Bytes(u"abc"));
    SetRaw(u"Inner", REG_SZ, Utf16Bytes(std::u16string(u"ab\0cd\0", 6)));
    SetRaw(u"Empty0", REG_SZ, "");
    SetRaw(u"Empty2", REG_SZ, std::string(2, '\0'));
    SetRaw(u"OneByte", REG_SZ, "A");
    EXPECT_EQ(reg.ReadString(u"StartPath"), u"/home/\u0438\u043c\u044f");
    EXPECT_EQ(reg.ReadString(u"startpath"), u"/home/\u0438\u043c\u044f");
    EXPECT_EQ(reg.ReadString(u"Expand"), u"$HOME/x");
    EXPECT_EQ(reg.ReadString(u"NoNul"), u"abc");
    EXPECT_EQ(reg.ReadString(u"Inner"), u"ab");
    EXPECT_EQ(reg.ReadString(u"Empty0"), u"");
    EXPECT_EQ(reg.ReadString(u"Empty2"), u"");
    EXPECT_EQ(reg.ReadString(u"OneByte"), u"");
    EXPECT_EQ(reg.ReadString(u"Missing"), u"");
}

TEST_F(TntRegistryTest, OtherTypesRaise) {
    reg.WriteInteger("Width", 640);
    SetRaw(u"Blob", REG_BINARY, "xy");
    try {
        reg.ReadString(u"Width");
        FAIL();
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), u"Invalid data type for 'Width'");
    }
    EXPECT_THROW(reg.ReadString(u"Blob"), ERegistryException);
}

TEST_F(TntRegistryTest, EightBitPathReadsTheSameValue) {
    reg.WriteString("Name", "\xD0\x98\xD0\xBC\xD1\x8F");
    const bool saved = UseWideWinApi;
    UseWideWinApi = false;
    const WideString viaAnsi = reg.ReadString(u"Name");
    UseWideWinApi = saved;
    EXPECT_EQ(viaAnsi, u"\u0418\u043c\u044f");
    EXPECT_EQ(reg.ReadString("Name"), "\xD0\x98\xD0\xBC\xD1\x8F");
}
