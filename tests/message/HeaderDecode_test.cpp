#include <gtest/gtest.h>

#include "app/SupportLibrary.h"
#include "message/HeaderDecode.h"
#include "platform/mime/IdHeaderList.h"
#include "platform/win/WinString.h"

namespace {

class HeaderDecodeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(LoadHelperLibraries(Utf8ToUtf16(QUILLORA_PROGRAM_DIR)), 1); }
};

}  // namespace

TEST_F(HeaderDecodeTest, HeaderText) {
    struct Row {
        const char* text;
        const char16_t* expected;
    };
    const Row rows[] = {
        {"Plain ASCII subject", u"Plain ASCII subject"},
        // two padded base64 words: the blank between them goes
        {"=?utf-8?B?w6k=?= =?utf-8?B?w6k=?=", u"\u00e9\u00e9"},
        // no character after a word is lost
        {"=?utf-8?B?w6k=?=x =?utf-8?B?w6k=?= y", u"\u00e9x \u00e9 y"},
        {"=?utf-8?B?w6k=?=", u"\u00e9"},
        {"[=?iso-8859-1?Q?=E9?=]", u"[\u00e9]"},
    };
    for (const Row& r : rows) EXPECT_EQ(DecodeHeaderText(r.text, ""), r.expected) << r.text;
}

TEST_F(HeaderDecodeTest, Parameters) {
    struct Row {
        const char* value;
        const char* param;
        const char* charset;
        const char16_t* expected;
    };
    const Row rows[] = {
        {"attachment; filename=\"a.pdf\"; size=123; creation-date=\"Tue, 01 Mar 2022 10:00:00 GMT\";"
         " modification-date=\"Tue, 01 Mar 2022 10:00:00 GMT\"",
         "filename", "", u"a.pdf"},
        {"attachment; filename=plain.txt; size=5", "filename", "", u"plain.txt"},
        {"attachment; FileName = spaced name.txt ", "filename", "", u"spaced name.txt"},
        {"attachment; filename=\"semi;colon \\\"q\\\".txt\"; x=1", "filename", "", u"semi;colon \"q\".txt"},
        {"attachment; filename=\"=?utf-8?Q?r=C3=A9sum=C3=A9?= =?utf-8?Q?.pdf?=\"", "filename", "", u"r\u00e9sum\u00e9.pdf"},
        // "name" is not found inside "filename"
        {"attachment; filename=\"f.txt\"", "name", "", u""},
        {"image/png; name=\"pic.png\"", "name", "", u"pic.png"},
        {"attachment", "filename", "", u""},
        // RFC 2231
        {"attachment; filename*=UTF-8''report%20final.pdf", "filename", "", u"report final.pdf"},
        {"attachment; filename*=iso-8859-1'en'caf%E9.txt", "filename", "", u"caf\u00e9.txt"},
        {"attachment; filename*=caf%E9.txt", "filename", "windows-1252", u"caf\u00e9.txt"},
        {"attachment; filename*0*=UTF-8''%C3%A9t; filename*1*=%C3%A9; filename*2=\".txt\"", "filename", "",
         u"\u00e9t\u00e9.txt"},
        // continuations out of order, one character split across two of them
        {"attachment; filename*1*=%A9.txt; filename*0*=utf-8''x%C3", "filename", "", u"x\u00e9.txt"},
        // the extended form wins over the plain one
        {"attachment; filename=\"fallback.txt\"; filename*=utf-8''%E2%82%AC.txt", "filename", "", u"\u20ac.txt"},
        {"attachment; filename*=utf-8''100%.txt", "filename", "", u"100%.txt"},
        // raw 8-bit bytes: UTF-8 when they are valid UTF-8, whatever the message declares...
        {"attachment;\tfilename=ci\xC3\xABle.txt", "filename", "iso-8859-1", u"ci\u00EBle.txt"},
        {"text/plain; name=\"\xE2\x82\xAC 5.txt\"", "name", "windows-1251", u"\u20AC 5.txt"},
        // ...else in the message's charset
        {"attachment; filename=\"caf\xE9.txt\"", "filename", "iso-8859-1", u"caf\u00E9.txt"},
        {"attachment; filename=\xEE\xF2\xF7\xE5\xF2.doc", "filename", "windows-1251", u"\u043E\u0442\u0447\u0435\u0442.doc"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(DecodeHeaderParam(r.value, r.param, r.charset), r.expected) << r.value << " / " << r.param;
}

TEST_F(HeaderDecodeTest, HeaderFromTheList) {
    TIdHeaderList list;
    list.Add("Subject", " =?utf-8?Q?Gr=C3=BC=C3=9Fe?=\r\n =?iso-8859-1?Q?_und_Caf=E9?=");
    list.Add("Content-Disposition", " attachment;\r\n\tfilename=\"a.pdf\"; size=123");
    EXPECT_EQ(GetDecodedHeader(list, "subject", "", ""), u"Gr\u00fc\u00dfe und Caf\u00e9");
    EXPECT_EQ(GetDecodedHeader(list, "Content-Disposition", "filename", ""), u"a.pdf");
    EXPECT_EQ(GetDecodedHeader(list, "X-Absent", "", "utf-8"), u"");
    EXPECT_EQ(GetDecodedHeader(list, "X-Absent", "filename", "utf-8"), u"");
}
