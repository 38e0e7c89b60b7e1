// The image device: twice the screen's resolution, an unbounded page, a bitmap that only grows
// with what is drawn, a size limit instead of an endless bitmap, and saving through the
// converter in the format of the file's extension.
#include <gtest/gtest.h>

#include <cstdlib>

#include "output/EMFPrinter.h"
#include "output/HDCAdapter.h"
#include "platform/outside/HtmlConverter.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

HENHMETAFILE Bar(int w, int h) {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    const RECT r{0, 0, w + 1, h + 1};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return CloseEnhMetaFile(dc);
}

// Width and height from a PNG file's header.
std::pair<int, int> PngSize(const std::string& bytes) {
    const auto be = [&](std::size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
               (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
    };
    return bytes.size() < 24 ? std::pair{0, 0} : std::pair{be(16), be(20)};
}

class ImageDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
    }
};

TEST_F(ImageDeviceTest, GrowsOnlyAndSavesWhatWasDrawn) {
    auto converter = CreateHtmlConverter();
    IMG_HDCAdapter device(*converter);
    EXPECT_EQ(device.GetResolutionX(), 192);
    EXPECT_EQ(device.GetPageWidth(), 0);
    HENHMETAFILE header = Bar(400, 100), body = Bar(150, 300);
    const int start = EMFPrinter::printMetaFile(device, header, 96, 96, 0, 50, 50, 50, 50);
    ASSERT_GT(start, 0);
    const int headerWidth = device.Width();
    EXPECT_EQ(headerWidth, 100 + 700);  // left margin + right edge: the right margin equals the left
    // A narrower body below keeps the header's width; the height follows the body.
    ASSERT_GT(EMFPrinter::printMetaFile(device, body, 96, 96, start, 50, 50, 50, 50), 0);
    EXPECT_EQ(device.Width(), headerWidth);
    EXPECT_GT(device.Height(), 2 * (start + 300));
    testsupport::TempDir dir;
    const auto png = dir / "page.png";
    ASSERT_TRUE(device.SaveToFile(Utf8ToUtf16(png.string()))) << converter->LastError();
    EXPECT_EQ(PngSize(testsupport::ReadFileBytes(png)), std::make_pair(device.Width(), device.Height()));
    EXPECT_FALSE(device.SaveToFile(Utf8ToUtf16((dir / "page.xyz").string())));
    DeleteEnhMetaFile(header);
    DeleteEnhMetaFile(body);
}

TEST_F(ImageDeviceTest, APictureTallerThanAnImageMayBeFails) {
    auto converter = CreateHtmlConverter();
    IMG_HDCAdapter device(*converter);
    HENHMETAFILE tall = Bar(1000, 70000);  // some 126000 pixels tall at twice the screen's resolution
    EXPECT_EQ(EMFPrinter::printMetaFile(device, tall, 96, 96, 0, 50, 50, 50, 50), -1);
    EXPECT_EQ(device.Height(), 0);
    DeleteEnhMetaFile(tall);
}

}  // namespace
