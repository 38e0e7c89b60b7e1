// The metafile placer against a device that records what it is asked: the fitting arithmetic
// of the bands, page breaks only between bands, and a start low on the page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "output/EMFPrinter.h"
#include "output/HDCAdapter.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class RecordingDevice : public IHDCAdapter {
public:
    RecordingDevice(int dpi, int pageWidth, int pageHeight) : dpi_(dpi), width_(pageWidth), height_(pageHeight) {}
    HDC GetDC() override { return nullptr; }
    int GetResolutionX() override { return dpi_; }
    int GetResolutionY() override { return dpi_; }
    int GetPageWidth() override { return width_; }
    int GetPageHeight() override { return height_; }
    void GetScale(int dpiX, int dpiY, int, int, float& sx, float& sy) override {
        sx = static_cast<float>(dpi_) / static_cast<float>(dpiX);
        sy = static_cast<float>(dpi_) / static_cast<float>(dpiY);
    }
    bool NewPage() override {
        calls.push_back("page");
        return newPageWorks;
    }
    bool SetClipRect(const RECT& r) override {
        calls.push_back("clip " + Four(r.left, r.top, r.right, r.bottom));
        return true;
    }
    bool RenderEMF(HENHMETAFILE, int l, int t, int r, int b, float, float) override {
        calls.push_back("draw " + Four(l, t, r, b));
        return renderWorks;
    }
    static std::string Four(long a, long b, long c, long d) {
        return std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + " " + std::to_string(d);
    }

    std::vector<std::string> calls;
    bool newPageWorks = true, renderWorks = true;

private:
    int dpi_, width_, height_;
};

// A picture whose bounds measure w by h (the placer takes right minus left of the inclusive
// bounds, so the drawing is one pixel larger).
HENHMETAFILE PictureOf(int w, int h) {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    const RECT r{0, 0, w + 1, h + 1};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return CloseEnhMetaFile(dc);
}

struct Case {
    const char* name;
    int dpi, pageWidth, pageHeight;  // page 0: unbounded
    int w, h, start;
    int result;
    std::vector<std::string> calls;
};

class EMFPrinterTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
    }
};

TEST_P(EMFPrinterTest, PlacesTheBands) {
    const Case& c = GetParam();
    RecordingDevice device(c.dpi, c.pageWidth, c.pageHeight);
    HENHMETAFILE picture = PictureOf(c.w, c.h);
    EXPECT_EQ(EMFPrinter::printMetaFile(device, picture, 96, 96, c.start, 50, 50, 50, 50), c.result);
    EXPECT_EQ(device.calls, c.calls);
    DeleteEnhMetaFile(picture);
}

// Scale 2 everywhere (192 dpi over 96), so the margins are 100 device pixels.
INSTANTIATE_TEST_SUITE_P(
    Placer, EMFPrinterTest,
    ::testing::Values(
        // The image device: the page is the content plus margins, one band, no page break;
        // page height trunc((300 + 0 + 100) * 2) = 800.
        Case{"unbounded", 192, 0, 0, 400, 300, 0, 325, {"clip 100 100 900 700", "draw 100 100 700 550"}},
        // The same below a header: the page grows by the start position.
        Case{"unbounded_below", 192, 0, 0, 400, 300, 40, 365, {"clip 100 100 900 780", "draw 100 180 700 630"}},
        // Three pages of 800-pixel bands, a break between bands only.
        Case{"three_pages", 192, 1000, 1000, 400, 1200, 0, 200,
             {"clip 100 100 900 900", "draw 100 100 700 1900", "page", "clip 100 100 900 900",
              "draw 100 -700 700 1100", "page", "clip 100 100 900 900", "draw 100 -1500 700 300"}},
        // No wider than both margins: nothing is drawn, a position is still given.
        Case{"narrow", 192, 1000, 1000, 100, 50, 0, 500, {}},
        // The last start that fits the usable area stays on the page (and runs onto the next)...
        Case{"start_fits", 192, 1000, 1000, 400, 10, 399, 106,
             {"clip 100 100 900 900", "draw 100 898 700 913", "page", "clip 100 100 900 900", "draw 100 98 700 113"}},
        // ...one more begins a new page instead of failing the message.
        Case{"start_beyond", 192, 1000, 1000, 400, 10, 400, 107, {"page", "clip 100 100 900 900", "draw 100 100 700 115"}},
        Case{"start_past_page", 192, 1000, 1000, 400, 100, 501, 175,
             {"page", "clip 100 100 900 900", "draw 100 100 700 250"}},
        Case{"empty", 192, 1000, 1000, 0, 0, 0, 0, {}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(EMFPrinterFailures, DeviceFailuresGiveMinusOne) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InstallQtWidgetSet();
    HENHMETAFILE picture = PictureOf(400, 1200);
    RecordingDevice drawFails(192, 1000, 1000);
    drawFails.renderWorks = false;
    EXPECT_EQ(EMFPrinter::printMetaFile(drawFails, picture, 96, 96, 0, 50, 50, 50, 50), -1);
    RecordingDevice pageFails(192, 1000, 1000);
    pageFails.newPageWorks = false;
    EXPECT_EQ(EMFPrinter::printMetaFile(pageFails, picture, 96, 96, 0, 50, 50, 50, 50), -1);
    EXPECT_EQ(pageFails.calls.size(), 3u);  // one band drawn, then the break that failed
    RecordingDevice noRoom(192, 150, 150);  // the margins alone fill the page
    EXPECT_EQ(EMFPrinter::printMetaFile(noRoom, picture, 96, 96, 0, 50, 50, 50, 50), -1);
    DeleteEnhMetaFile(picture);
}

}  // namespace
