// Formats as MIME data both ways: the drop-files list as file URLs, text, HTML and our own
// formats, byte for byte where the desktop keeps bytes.
#include <gtest/gtest.h>

#include <QMimeData>
#include <QUrl>

#include "platform/com/DropFilesBlock.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/qt/FormatMime.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/FileNameText.h"
#include "platform/win/WinString.h"

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

TEST_F(FormatMimeTest, CutAndCopiedFilesCarryTheFileManagersMarkerBothWays) {
    // A name that is not UTF-8 keeps its bytes in the URL and comes back whole.
    const std::vector<WideString> files{FileNameToUtf16("/tmp/caf\xe9.eml"), u"/tmp/b c.msg"};
    const std::vector<std::uint8_t> block = BuildDropFilesBlock(files, true);
    const UINT effect = RegisterClipboardFormatW(u"Preferred DropEffect");
    for (const auto& [bytes, word] : {std::pair{std::string("\x02\0\0\0", 4), "cut"}, std::pair{std::string("\x05\0\0\0", 4), "copy"}}) {
        QMimeData ours;
        // Either order of the two formats gives the marker.
        FormatToMime(ours, effect, bytes);
        FormatToMime(ours, CF_HDROP, std::string(block.begin(), block.end()));
        EXPECT_EQ(ours.data("x-special/gnome-copied-files"),
                  QByteArray(word) + "\nfile:///tmp/caf%E9.eml\nfile:///tmp/b%20c.msg");
        EXPECT_EQ(ours.data("application/x-kde-cutselection"), std::string_view(word) == "cut" ? "1" : "0");
        EXPECT_EQ(FilesOf(*FormatFromMime(ours, CF_HDROP)), files);
    }

    QMimeData fileManager;
    fileManager.setData("x-special/gnome-copied-files", "cut\nfile:///home/u/caf%E9\nfile:///home/u/b");
    const std::vector<UINT> formats = FormatsOfMime(fileManager);
    EXPECT_EQ(formats, (std::vector<UINT>{CF_HDROP, effect}));
    EXPECT_EQ(FormatFromMime(fileManager, effect), std::string("\x02\0\0\0", 4)) << "cut reads as a move";
    EXPECT_EQ(FilesOf(*FormatFromMime(fileManager, CF_HDROP)),
              (std::vector<WideString>{FileNameToUtf16("/home/u/caf\xe9"), u"/home/u/b"}));
    QMimeData copied;
    copied.setData("x-special/gnome-copied-files", "copy\nfile:///x");
    EXPECT_EQ(FormatFromMime(copied, effect), std::string("\x01\0\0\0", 4));
}

}  // namespace
