// The window helpers that draw: the progress bar of a status panel, and a rich-text control
// printed page by page into a PDF.
#include <gtest/gtest.h>

#include "app/UiHelpers.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/GraphicsImages.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/vcl/richedit/RichEdit.h"
#include "platform/win/WinString.h"
#include "tests/support/TestSupport.h"

namespace {

class UiHelpersGui : public ::testing::Test {
protected:
    void SetUp() override {
        InstallQtWidgetSet();
        Application->Initialize();
    }
};

// Row 10 of a 106 x 20 panel after drawing percent: 'w' untouched, 'b' blue, 'f' button face.
std::string DrawnRow(unsigned percent) {
    TBitmap bitmap;
    bitmap.SetSize(106, 20);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 106, 20));
    DrawStatusProgress(canvas, TRect(0, 0, 106, 20), percent);
    const COLORREF face = ColorToRGB(clBtnFace);
    std::string row;
    for (int x = 0; x < 106; ++x) {
        const COLORREF c = GetPixel(canvas->Handle(), x, 10);
        row += c == RGB(0, 0, 255) ? 'b' : c == face ? 'f' : c == RGB(255, 255, 255) ? 'w' : '?';
    }
    // The 2-pixel strips at top and bottom stay untouched.
    EXPECT_EQ(GetPixel(canvas->Handle(), 50, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(canvas->Handle(), 50, 18), RGB(255, 255, 255));
    EXPECT_NE(GetPixel(canvas->Handle(), 50, 17), RGB(255, 255, 255));
    return row;
}

}  // namespace

TEST_F(UiHelpersGui, StatusProgressBarInsetAndCapped) {
    ASSERT_NE(ColorToRGB(clBtnFace), RGB(0, 0, 255));
    EXPECT_EQ(DrawnRow(50), "www" + std::string(50, 'b') + std::string(53, 'f'));
    EXPECT_EQ(DrawnRow(0), "www" + std::string(103, 'f'));
    EXPECT_EQ(DrawnRow(100), "www" + std::string(100, 'b') + "fff");
    EXPECT_EQ(DrawnRow(250), DrawnRow(100));
}

TEST_F(UiHelpersGui, PrintRtfPutsEveryPageOfAPagedDeviceAtItsTop) {
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* edit = new TRichEdit(&form);
    edit->SetParent(&form);
    form.Show();

    const auto print = [&](const std::filesystem::path& pdf) {
        const WideString name = Utf8ToUtf16(pdf.string());
        HDC dc = CreatePdfDCW(name.c_str(), 210, 297, 150);
        DOCINFOW info;
        info.lpszDocName = u"print";
        StartDocW(dc, &info);
        StartPage(dc);
        const int result = printRTF(edit->Handle(), dc, 1240, 1754);
        EndPage(dc);
        EndDoc(dc);
        DeleteDC(dc);
        return result;
    };
    testsupport::TempDir dir;
    EXPECT_EQ(print(dir / "empty.pdf"), 1);
    EXPECT_EQ(testsupport::PdfText(dir / "empty.pdf").find_first_not_of(" \n\f"), std::string::npos);

    std::u16string rtf = u"{\\rtf1\\ansi\\fs24 ";
    for (int i = 0; i < 150; ++i) rtf += u"Paragraph " + Utf8ToUtf16(std::to_string(i)) + u" of the text.\\par ";
    edit->SetTextAuto(rtf + u"}");
    EXPECT_EQ(print(dir / "long.pdf"), 1);
    const std::string text = testsupport::PdfText(dir / "long.pdf");
    std::size_t pages = 1;
    for (char c : text) pages += c == '\f' ? 1 : 0;
    EXPECT_GE(pages, 3u);
    // Every paragraph reached a page, the last ones included.
    for (const char* line : {"Paragraph 0 of", "Paragraph 75 of", "Paragraph 149 of"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}
