#include <gtest/gtest.h>

#include "platform/win/WinError.h"
#include "platform/win/WinModule.h"

TEST(WinModule, LoadsALibraryAndFindsItsSymbols) {
    HMODULE libm = LoadLibraryW(u"libm.so.6");
    ASSERT_NE(libm, nullptr) << LastModuleError();
    auto cosine = reinterpret_cast<double (*)(double)>(GetProcAddress(libm, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(GetProcAddress(libm, "no_such_symbol_here"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_TRUE(FreeLibrary(libm));
}

TEST(WinModule, MissingLibraryFailsWithModNotFound) {
    EXPECT_EQ(LoadLibraryW(u"/nonexistent/libnothing.so"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_FALSE(LastModuleError().empty());
    EXPECT_EQ(LoadLibraryW(u""), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
