#include <gtest/gtest.h>

#include "platform/vcl/Registry.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<AnsiString> Items(const TStrings& list) {
    std::vector<AnsiString> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

}  // namespace

TEST(TRegistry, WritesAndReadsEachType) {
    testsupport::ScopedRegistry registry;
    {
        TRegistry reg;
        EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("\\Software\\Quillora\\Test", true));
        EXPECT_EQ(reg.CurrentPath(), "Software\\Quillora\\Test");
        reg.WriteString("Path", "/home/\xD0\xB8\xD0\xBC\xD1\x8F");
        reg.WriteInteger("Count", -5);
        reg.WriteBool("On", true);
        const BYTE blob[] = {1, 0, 2, 0xFF};
        reg.WriteBinaryData("Blob", blob, sizeof blob);
        reg.CloseKey();
    }
    QuilloraRegistryReload();  // what was written is on disk
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\Software\\Quillora\\Test"));
    EXPECT_EQ(reg.ReadString("path"), "/home/\xD0\xB8\xD0\xBC\xD1\x8F");
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_EQ(reg.ReadInteger("Count"), -5);
    EXPECT_TRUE(reg.ReadBool("On"));
    BYTE buffer[8] = {};
    EXPECT_EQ(reg.ReadBinaryData("Blob", buffer, sizeof buffer), 4);
    EXPECT_EQ(buffer[3], 0xFF);
    EXPECT_EQ(reg.GetDataType("Blob"), rdBinary);
    EXPECT_EQ(reg.GetDataSize("Blob"), 4);
    EXPECT_EQ(reg.GetDataSize("Missing"), -1);
    EXPECT_TRUE(reg.ValueExists("COUNT"));
    EXPECT_FALSE(reg.ValueExists("Missing"));
    TStringList names;
    reg.GetValueNames(names);
    names.Sort();
    EXPECT_EQ(Items(names), (std::vector<AnsiString>{"Blob", "Count", "On", "Path"}));
}

TEST(TRegistry, WrongTypesAndMissingValuesRaise) {
    testsupport::ScopedRegistry registry;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\T", true));
    reg.WriteInteger("Number", 1);
    reg.WriteString("Text", "x");
    const BYTE blob[] = {1, 2, 3};
    reg.WriteBinaryData("Blob", blob, sizeof blob);
    const auto message = [](auto call) {
        try {
            call();
        } catch (const ERegistryException& e) {
            return e.Message();
        }
        return WideString(u"no error");
    };
    EXPECT_EQ(message([&] { reg.ReadString("Number"); }), u"Invalid data type for 'Number'");
    EXPECT_EQ(message([&] { reg.ReadInteger("Text"); }), u"Invalid data type for 'Text'");
    EXPECT_EQ(message([&] { reg.ReadInteger("None"); }), u"Failed to get data for 'None'");
    BYTE small[2];
    EXPECT_EQ(message([&] { reg.ReadBinaryData("Blob", small, sizeof small); }), u"Invalid data type for 'Blob'");
    EXPECT_TRUE(reg.DeleteValue("Text"));
    EXPECT_FALSE(reg.DeleteValue("Text"));
}

TEST(TRegistry, KeysAreCreatedListedAndDeletedWithTheirSubkeys) {
    testsupport::ScopedRegistry registry;
    TRegistry reg;
    EXPECT_TRUE(reg.CreateKey("\\Software\\Q\\A\\Deep"));
    EXPECT_TRUE(reg.CreateKey("\\Software\\Q\\B"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Q\\a\\deep"));
    EXPECT_FALSE(reg.OpenKey("\\Software\\Q\\C", false));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Q", false));
    EXPECT_TRUE(reg.HasSubKeys());
    ASSERT_TRUE(reg.OpenKey("A", false));  // relative to the current key
    EXPECT_EQ(reg.CurrentPath(), "Software\\Q\\A");
    reg.WriteString("v", "1");
    ASSERT_TRUE(reg.OpenKey("\\Software\\Q", false));
    TStringList names;
    reg.GetKeyNames(names);
    names.Sort();
    EXPECT_EQ(Items(names), (std::vector<AnsiString>{"A", "B"}));
    EXPECT_TRUE(reg.DeleteKey("A"));
    EXPECT_FALSE(reg.KeyExists("A"));
    EXPECT_TRUE(reg.KeyExists("B"));
    EXPECT_FALSE(reg.DeleteKey("A"));
}
