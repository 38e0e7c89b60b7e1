// Recorded drawings: a picture recorded at one size plays at another like a direct drawing,
// its header tells its frame and bounds, and it plays onto a PDF page.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/vcl/Metafile.h"
#include "platform/vcl/Printers.h"
#include "platform/win/WinError.h"
#include "tests/platform/vcl/gdi/GdiTestSupport.h"
#include "tests/support/TestSupport.h"

using gditest::Surface;

namespace {

// 96 x 48 pixels at 96 per inch is 2540 x 1270 hundredths of a millimetre.
constexpr RECT kFrame{0, 0, 2540, 1270};

// Fills, a frame and a pattern whose pixels scale exactly.
void DrawScene(HDC dc, int scale) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    const RECT a{4 * scale, 4 * scale, 40 * scale, 20 * scale};
    FillRect(dc, &a, red);
    const RECT b{50 * scale, 10 * scale, 90 * scale, 44 * scale};
    FillRect(dc, &b, blue);
    HGDIOBJ oldBrush = SelectObject(dc, red);
    PatBlt(dc, 10 * scale, 30 * scale, 21 * scale, 11 * scale, PATCOPY);
    SelectObject(dc, oldBrush);
    PatBlt(dc, 60 * scale, 20 * scale, 10 * scale, 10 * scale, WHITENESS);
    DeleteObject(red);
    DeleteObject(blue);
}

HENHMETAFILE RecordScene() {
    HDC rec = CreateEnhMetaFileW(nullptr, nullptr, &kFrame, u"scene");
    EXPECT_NE(rec, nullptr);
    DrawScene(rec, 1);
    return CloseEnhMetaFile(rec);
}

TEST(Metafile, PlayedTwiceAsLargeMatchesADirectDrawing) {
    gditest::EnsureApp();
    HENHMETAFILE picture = RecordScene();
    ASSERT_NE(picture, nullptr);
    Surface played(192, 96), direct(192, 96);
    const RECT target{0, 0, 192, 96};
    ASSERT_TRUE(PlayEnhMetaFile(played.dc(), picture, &target));
    DrawScene(direct.dc(), 2);
    EXPECT_TRUE(played.SameAs(direct)) << played.Picture(0, 0, 96, 48);
    // At its own size, shifted: the same as drawing at the offset.
    Surface shifted(120, 70), offset(120, 70);
    const RECT at{10, 20, 106, 68};
    PlayEnhMetaFile(shifted.dc(), picture, &at);
    SetViewportOrgEx(offset.dc(), 10, 20, nullptr);
    DrawScene(offset.dc(), 1);
    SetViewportOrgEx(offset.dc(), 0, 0, nullptr);
    EXPECT_TRUE(shifted.SameAs(offset));
    DeleteEnhMetaFile(picture);
}

TEST(Metafile, HeaderTellsFrameBoundsAndDevice) {
    gditest::EnsureApp();
    HENHMETAFILE picture = RecordScene();
    ENHMETAHEADER h;
    EXPECT_EQ(GetEnhMetaFileHeader(picture, 0, nullptr), sizeof(ENHMETAHEADER));
    ASSERT_EQ(GetEnhMetaFileHeader(picture, sizeof(h), &h), sizeof(ENHMETAHEADER));
    EXPECT_EQ(h.dSignature, ENHMETA_SIGNATURE);
    EXPECT_EQ(h.rclFrame.right, 2540);
    EXPECT_EQ(h.rclFrame.bottom, 1270);
    EXPECT_EQ(h.rclBounds.left, 4);
    EXPECT_EQ(h.rclBounds.top, 4);
    EXPECT_EQ(h.rclBounds.right, 89);  // inclusive
    EXPECT_EQ(h.rclBounds.bottom, 43);
    EXPECT_GT(h.szlDevice.cx, 0);
    EXPECT_EQ(h.nDescription, 5u);
    // A picture without a frame takes the bounds of what is drawn.
    HDC rec = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    const RECT r{10, 10, 30, 20};
    FillRect(rec, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HENHMETAFILE bounded = CloseEnhMetaFile(rec);
    GetEnhMetaFileHeader(bounded, sizeof(h), &h);
    EXPECT_EQ(h.rclBounds.right, 29);
    Surface s(40, 20);
    const RECT target{0, 0, 40, 20};
    PlayEnhMetaFile(s.dc(), bounded, &target);  // 20 x 10 drawn into 40 x 20
    EXPECT_EQ(s.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(s.At(39, 19), RGB(0, 0, 0));
    EXPECT_FALSE(PlayEnhMetaFile(s.dc(), nullptr, &target));
    // File metafiles are not made (no file format here).
    EXPECT_EQ(CreateEnhMetaFileW(nullptr, u"/tmp/x.emf", nullptr, nullptr), nullptr);
    DeleteEnhMetaFile(picture);
    DeleteEnhMetaFile(bounded);
    EXPECT_FALSE(DeleteEnhMetaFile(bounded));
}

using testsupport::PdfText;

TEST(Metafile, APageOfALongPicturePlaysOnlyWhatMeetsTheClip) {
    gditest::EnsureApp();
    // A tall picture of 1000 lines, as a long message body is.
    HDC rec = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < 1000; ++i) TextOutW(rec, 0, i * 20, u"line of a long body", 19);
    HENHMETAFILE tall = CloseEnhMetaFile(rec);
    ENHMETAHEADER h;
    GetEnhMetaFileHeader(tall, sizeof(h), &h);
    ASSERT_GE(h.nRecords, 1000u);

    // One "page" of it: 10 lines' worth of clip. What lands in the page is those lines only.
    HDC page = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    IntersectClipRect(page, 0, 0, 400, 200);
    const RECT at{0, -4000, h.rclBounds.right + 1, -4000 + h.rclBounds.bottom + 1};
    EXPECT_TRUE(PlayEnhMetaFile(page, tall, &at));
    HENHMETAFILE onePage = CloseEnhMetaFile(page);
    ENHMETAHEADER p;
    GetEnhMetaFileHeader(onePage, sizeof(p), &p);
    EXPECT_LT(p.nRecords, 30u);
    EXPECT_GT(p.nRecords, 10u);
    DeleteEnhMetaFile(onePage);

    // A page may end at a line's top, not through it; a page too short for one line is cut.
    EXPECT_EQ(GetEnhMetaFileBreak(tall, 205, 0), 200);
    EXPECT_EQ(GetEnhMetaFileBreak(tall, 200, 0), 200);
    EXPECT_EQ(GetEnhMetaFileBreak(tall, 205, 200), 205);
    DeleteEnhMetaFile(tall);
}

TEST(PdfDevice, HoldsTheTextDrawnDirectlyAndThroughAMetafile) {
    gditest::EnsureApp();
    if (!testsupport::HasPdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    testsupport::TempDir dir;
    const auto file = dir / "page.pdf";
    const std::u16string name = file.u16string();
    HDC pdf = CreatePdfDCW(name.c_str(), 210, 297, 300);
    ASSERT_NE(pdf, nullptr);
    EXPECT_EQ(GetDeviceCaps(pdf, LOGPIXELSX), 300);
    EXPECT_EQ(GetDeviceCaps(pdf, HORZRES), 2480);
    DOCINFOW info;
    info.lpszDocName = u"Quillora test";
    ASSERT_GT(StartDocW(pdf, &info), 0);
    ASSERT_GT(StartPage(pdf), 0);
    LOGFONTW lf;
    lf.lfHeight = -50;
    std::u16string_view(u"Arial").copy(lf.lfFaceName, LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(pdf, font);
    TextOutW(pdf, 200, 200, u"Subject: Quarterly report", 25);
    SelectObject(pdf, old);
    // A recorded picture with text, played onto the page at four times its size.
    HDC rec = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    LOGFONTW small;
    small.lfHeight = -12;
    HFONT f2 = CreateFontIndirectW(&small);
    SelectObject(rec, f2);
    TextOutW(rec, 0, 0, u"Recorded attachment list", 24);
    HENHMETAFILE picture = CloseEnhMetaFile(rec);
    ENHMETAHEADER h;
    GetEnhMetaFileHeader(picture, sizeof(h), &h);
    const RECT target{200, 400, 200 + 4 * (h.rclBounds.right + 1), 400 + 4 * (h.rclBounds.bottom + 1)};
    EXPECT_TRUE(PlayEnhMetaFile(pdf, picture, &target));
    ASSERT_GT(EndPage(pdf), 0);
    ASSERT_GT(StartPage(pdf), 0);
    TextOutW(pdf, 200, 200, u"Second page", 11);
    ASSERT_GT(EndPage(pdf), 0);
    ASSERT_GT(EndDoc(pdf), 0);
    DeleteDC(pdf);
    DeleteObject(font);
    DeleteObject(f2);
    DeleteEnhMetaFile(picture);
    const std::string text = PdfText(file);
    EXPECT_NE(text.find("Subject: Quarterly report"), std::string::npos) << text;
    EXPECT_NE(text.find("Recorded attachment list"), std::string::npos) << text;
    EXPECT_NE(text.find("Second page"), std::string::npos) << text;
    EXPECT_NE(text.find('\f'), std::string::npos);  // two pages
}

TEST(PdfDevice, PrintingWithoutAPrinterFailsAndSaysSo) {
    gditest::EnsureApp();
    HDC dc = CreateDCW(u"WINSPOOL", u"No such printer", nullptr, nullptr);
    EXPECT_EQ(dc, nullptr);
    EXPECT_NE(GetLastError(), 0u);
    // The dialog hook answers without showing anything.
    SetPrintDialogHook([](PRINTDLGW& d) {
        d.printerName = u"No such printer";
        return true;
    });
    PRINTDLGW dialog;
    dialog.Flags = PD_RETURNDC;
    EXPECT_FALSE(PrintDlgW(&dialog));
    EXPECT_EQ(dialog.hDC, nullptr);
    SetPrintDialogHook(nullptr);
}

}  // namespace
