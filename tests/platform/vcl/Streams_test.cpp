#include <gtest/gtest.h>

#include "platform/vcl/Streams.h"
#include "tests/support/TestSupport.h"

TEST(TMemoryStream, ReadsWritesSeeksAndGrows) {
    TMemoryStream m;
    m.WriteBuffer("hello", 5);
    EXPECT_EQ(m.Size(), 5);
    EXPECT_EQ(m.Position(), 5);
    m.Seek(-2, TSeekOrigin::soEnd);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 2);
    EXPECT_STREQ(buf, "lo");
    EXPECT_EQ(m.Seek(-1, TSeekOrigin::soBeginning), -1);
    m.SetPosition(7);
    m.WriteBuffer("!", 1);
    EXPECT_EQ(m.Size(), 8);
    EXPECT_EQ(std::string(static_cast<const char*>(m.Memory()), 8), std::string("hello\0\0!", 8));
    m.SetPosition(6);
    EXPECT_THROW(m.ReadBuffer(buf, 4), EReadError);
    m.SetSize(2);
    EXPECT_EQ(m.Position(), 2);
}

TEST(TStringStream, IsAStreamOverItsString) {
    TStringStream s("abc");
    EXPECT_EQ(s.ReadString(2), "ab");
    s.WriteString("XYZ");
    EXPECT_EQ(s.DataString(), "abXYZ");
    TMemoryStream m;
    m.CopyFrom(s, 0);
    EXPECT_EQ(m.Size(), 5);
}

TEST(TFileStream, CreatesOpensAndReportsFailures) {
    testsupport::TempDir dir;
    const AnsiString name = (dir / "d\xC3\xA9j\xC3\xA0.bin").string();
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("0123456789", 10);
        f.SetSize(4);
        EXPECT_EQ(f.Size(), 4);
    }
    {
        TFileStream f(name, fmOpenRead | fmShareDenyWrite);
        char buf[8] = {};
        EXPECT_EQ(f.Read(buf, 8), 4);
        EXPECT_STREQ(buf, "0123");
        EXPECT_EQ(f.Write("x", 1), -1);  // opened for reading only
    }
    try {
        TFileStream f((dir / "none").string(), fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(u"Cannot open file"), WideString::npos);
        EXPECT_NE(e.Message().find(u"none"), WideString::npos);
    }
    EXPECT_THROW(TFileStream((dir / "no" / "such").string(), fmCreate), EFCreateError);
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(m.Size(), 4);
}
