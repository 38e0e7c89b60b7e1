// Formats as MIME data both ways: the drop-files list as file URLs, text, HTML and our own
// formats, byte for byte where the desktop keeps bytes.
#include <gtest/gtest.h>

#include <QMimeData>
#include <QUrl>

#include "platform/com/DropFilesBlock.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/qt/FormatMime.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

using namespace vclqt;

class FormatMimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
    }
};

std::vector<WideString> FilesOf(const std::string& block) {
    return ReadDropFilesBlock({reinterpret_cast<const std::uint8_t*>(block.data()), block.size()});
}

TEST_F(FormatMimeTest, DropFilesTravelAsFileUrls) {
    const std::vector<WideString> files{u"/tmp/a b/\u4E00 Grüße.msg", u"/tmp/100%.eml"};
    const std::vector<std::uint8_t> block = BuildDropFilesBlock(files, true);
    QMimeData data;
    FormatToMime(data, CF_HDROP, std::string(block.begin(), block.end()));
    ASSERT_TRUE(data.hasFormat("text/uri-list"));
    EXPECT_TRUE(data.data("text/uri-list").contains("a%20b/%E4%B8%80%20Gr%C3%BC%C3%9Fe.msg"));

    QMimeData fromDesktop;
    fromDesktop.setData("text/uri-list", "file:///tmp/a%20b/%E4%B8%80.msg\r\nhttps://example.org/x\r\n");
    EXPECT_EQ(FormatsOfMime(fromDesktop).front(), CF_HDROP);
    EXPECT_EQ(FilesOf(*FormatFromMime(fromDesktop, CF_HDROP)), std::vector<WideString>{u"/tmp/a b/\u4E00.msg"});
    EXPECT_EQ(FilesOf(*FormatFromMime(data, CF_HDROP)), files);

    QMimeData webOnly;
    webOnly.setUrls({QUrl("https://example.org/")});
    EXPECT_FALSE(FormatFromMime(webOnly, CF_HDROP));
}

TEST_F(FormatMimeTest, TextHtmlAndPrivateFormatsRoundTrip) {
    QMimeData data;
    FormatToMime(data, CF_UNICODETEXT, ClipboardTextBytes(u"Grüße"));
    FormatToMime(data, CF_HTML(), MakeClipboardHtml("<html><body>x</body></html>"));
    const UINT mine = RegisterClipboardFormatW(u"Preferred DropEffect");
    FormatToMime(data, mine, std::string("\x01\0\0\0", 4));
    EXPECT_EQ(data.text(), QString::fromUtf8("Grüße"));
    EXPECT_EQ(FormatFromMime(data, CF_UNICODETEXT), ClipboardTextBytes(u"Grüße"));
    EXPECT_EQ(FormatFromMime(data, CF_TEXT), std::string("Gr\xC3\xBC\xC3\x9F" "e") + '\0');
    EXPECT_EQ(FormatFromMime(data, mine), std::string("\x01\0\0\0", 4));
    const std::vector<UINT> formats = FormatsOfMime(data);
    EXPECT_EQ(formats, (std::vector<UINT>{CF_UNICODETEXT, CF_HTML(), mine}));
    EXPECT_FALSE(FormatFromMime(data, CF_RTF()));
}

}  // namespace
