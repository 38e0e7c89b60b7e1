#include <gtest/gtest.h>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Strings.h"
#include "platform/vcl/SysUtils.h"

TEST(TObject, KnowsItsClassName) {
    TStringList list;
    EXPECT_EQ(list.ClassName(), "TStringList");
    EXPECT_TRUE(list.ClassNameIs("tstringlist"));
    EXPECT_FALSE(list.ClassNameIs("TStrings"));
}

TEST(TPersistent, AssignBetweenStrangersRaisesConvertError) {
    TPersistent a;
    TStringList list;
    try {
        list.Assign(&a);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"Cannot assign a TPersistent to a TStringList");
    }
    EXPECT_THROW(list.Assign(nullptr), EConvertError);
}
