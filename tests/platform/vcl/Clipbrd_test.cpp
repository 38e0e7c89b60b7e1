// The clipboard over its in-process store: the Windows calls with global memory blocks,
// registered formats, the text formats standing in for each other, "HTML Format" headers and
// TClipboard.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/vcl/Clipbrd.h"

namespace {

long Field(const std::string& content, const std::string& name) {
    const auto at = content.find(name + ":");
    return at == std::string::npos ? -1 : std::stol(content.substr(at + name.size() + 1, 10));
}

HGLOBAL Block(const void* data, std::size_t size) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(h), data, size);
    GlobalUnlock(h);
    return h;
}

TEST(ClipboardTest, WindowsCallsPutAndGetBlocks) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr));  // one owner at a time
    ASSERT_TRUE(EmptyClipboard());
    const char text[] = "Gr\xC3\xBC\xC3\x9F" "e";
    HGLOBAL put = Block(text, sizeof text);
    EXPECT_EQ(SetClipboardData(CF_TEXT, put), put);
    const UINT custom = RegisterClipboardFormatA("Shell IDList Array");
    const char raw[] = {1, 0, 2};
    SetClipboardData(custom, Block(raw, sizeof raw));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GlobalSize(put), 0u);  // the clipboard freed what it owned

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(CountClipboardFormats(), 2);
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);  // not open
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE wide = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(wide))), u"Grüße");
    GlobalUnlock(wide);
    HANDLE back = GetClipboardData(custom);
    ASSERT_EQ(GlobalSize(back), 3u);
    EXPECT_EQ(std::memcmp(GlobalLock(back), raw, 3), 0);
    EXPECT_EQ(GetClipboardData(CF_RTF()), nullptr);
    CloseClipboard();
    EXPECT_EQ(SetClipboardData(CF_TEXT, Block(text, sizeof text)), nullptr);  // not open
}

TEST(ClipboardTest, RegisteredFormatsByNameWithoutRegardToCase) {
    const UINT a = RegisterClipboardFormatW(u"FileNameW");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatA("filenamew"), a);
    EXPECT_NE(RegisterClipboardFormatA("FileName"), a);
    EXPECT_EQ(RegisterClipboardFormatA(""), 0u);
    char name[32];
    EXPECT_EQ(GetClipboardFormatNameA(a, name, sizeof name), 9);
    EXPECT_STREQ(name, "FileNameW");
    WideChar shortName[5];
    EXPECT_EQ(GetClipboardFormatNameW(a, shortName, 5), 4);
    EXPECT_EQ(GetClipboardFormatNameW(CF_TEXT, shortName, 5), 0);
    EXPECT_EQ(RegisterClipboardFormatA("html format"), CF_HTML());
}

TEST(ClipboardTest, HtmlFormatHeaderOffsetsPointIntoTheDocument) {
    struct Case {
        std::string html;
        std::string fragment;
    };
    const Case cases[] = {
        {"<html><body><b>Bold</b> \xC3\xA4</body></html>", "<b>Bold</b> \xC3\xA4"},
        {"<p>plain</p>", "<p>plain</p>"},
        {"<html><BODY class=x>one<!--StartFragment-->two<!--EndFragment--></BODY></html>", "two"},
    };
    for (const Case& c : cases) {
        const std::string content = MakeClipboardHtml(c.html);
        EXPECT_EQ(content.rfind("Version:0.9\r\n", 0), 0u);
        const long startHtml = Field(content, "StartHTML"), endHtml = Field(content, "EndHTML");
        const long startFragment = Field(content, "StartFragment"), endFragment = Field(content, "EndFragment");
        EXPECT_EQ(static_cast<std::size_t>(endHtml), content.size());
        EXPECT_EQ(content.substr(startFragment, endFragment - startFragment), c.fragment) << c.html;
        const std::string doc = ClipboardHtmlDocument(content);
        EXPECT_EQ(doc, content.substr(startHtml));
        EXPECT_NE(doc.find(c.fragment), std::string::npos);
    }
    // Broken offsets: the part after the header lines.
    EXPECT_EQ(ClipboardHtmlDocument("Version:0.9\r\nStartHTML:9999\r\nEndHTML:1\r\n<p>x</p>"), "<p>x</p>");
}

TEST(ClipboardTest, TClipboardTextHtmlAndRtf) {
    TClipboard* c = Clipboard();
    c->SetAsText(u"Hello");
    EXPECT_EQ(c->AsText(), u"Hello");
    EXPECT_TRUE(c->HasFormat(CF_TEXT));
    WideChar buffer[4];
    EXPECT_EQ(c->GetTextBuf(buffer, 4), 3);
    EXPECT_EQ(std::u16string(buffer), u"Hel");
    c->SetTextBuf(u"Second");
    EXPECT_EQ(c->AsText(), u"Second");

    // Several formats in one opening replace the content together.
    c->Open();
    c->SetBuffer(CF_RTF(), "{\\rtf1 x}");
    c->SetAsText(u"x");
    c->SetBuffer(CF_HTML(), MakeClipboardHtml("<b>x</b>"));
    c->Close();
    EXPECT_EQ(c->FormatCount(), 3);
    EXPECT_EQ(c->Buffer(CF_RTF()), "{\\rtf1 x}");
    EXPECT_EQ(ClipboardHtmlDocument(*c->Buffer(CF_HTML())).find("<b>x</b>") != std::string::npos, true);
    c->Clear();
    EXPECT_FALSE(c->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(c->AsText(), u"");
}

}  // namespace
