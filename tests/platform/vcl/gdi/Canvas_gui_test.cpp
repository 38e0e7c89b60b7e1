// The canvas unit: a canvas selecting its objects, bitmaps with scan lines and BMP files,
// pictures in PNG and other files, image lists.
#include <gtest/gtest.h>

#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/GraphicsImages.h"
#include "tests/platform/vcl/gdi/GdiTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override { gditest::EnsureApp(); }
};

TEST_F(CanvasTest, CanvasDrawsWithItsPenBrushAndFont) {
    TBitmap bmp(20, 20);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 20, 20));
    c->Pen()->SetColor(clRed);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(2, 2, 10, 10);
    EXPECT_EQ(c->Pixel(2, 2), clRed);
    EXPECT_EQ(c->Pixel(5, 5), clBlue);
    EXPECT_EQ(c->Pixel(10, 10), clWhite);
    // Changing the pen after it was selected takes effect on the next drawing.
    c->Pen()->SetColor(clLime);
    c->MoveTo(0, 15);
    c->LineTo(10, 15);
    EXPECT_EQ(c->Pixel(0, 15), clLime);
    EXPECT_EQ(c->Pixel(10, 15), clWhite);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clBlack);
    c->Font()->SetStyle({fsBold});
    EXPECT_GT(c->TextWidth(u"Wide"), 0);
    EXPECT_GT(c->TextHeight(u"W"), 8);
    TRect r(0, 0, 200, 0);
    c->TextRect(r, u"line one\nline two", TTextFormat{tfCalcRect});
    EXPECT_EQ(r.Height(), 2 * c->TextHeight(u"W"));
    // A canvas without a context cannot draw.
    TCanvas bare;
    EXPECT_THROW(bare.LineTo(1, 1), EInvalidGraphicOperation);
}

TEST_F(CanvasTest, BitmapScanLinesFollowThePixelFormat) {
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(3, 2);
    auto* row = static_cast<std::uint8_t*>(bmp.ScanLine(1));
    row[3] = 0x11;  // pixel 1: blue, green, red
    row[4] = 0x22;
    row[5] = 0x33;
    EXPECT_EQ(bmp.Canvas()->Pixel(1, 1), static_cast<TColor>(RGB(0x33, 0x22, 0x11)));
    EXPECT_THROW(bmp.ScanLine(2), EInvalidGraphicOperation);
    EXPECT_THROW(bmp.SetPixelFormat(pf16bit), EInvalidGraphicOperation);
    // Growing keeps the pixels and fills white.
    bmp.SetSize(4, 4);
    EXPECT_EQ(bmp.Canvas()->Pixel(1, 1), static_cast<TColor>(RGB(0x33, 0x22, 0x11)));
    EXPECT_EQ(bmp.Canvas()->Pixel(3, 3), clWhite);
}

TEST_F(CanvasTest, BmpFilesRoundTripInEveryFormat) {
    testsupport::TempDir dir;
    for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
        TBitmap bmp;
        bmp.SetPixelFormat(f);
        bmp.SetSize(13, 5);
        TCanvas* c = bmp.Canvas();
        c->SetPixel(0, 0, clBlack);
        c->SetPixel(12, 4, clBlack);
        const auto file = (dir / "b.bmp").string();
        bmp.SaveToFile(file);
        TBitmap back;
        back.LoadFromFile(file);
        EXPECT_EQ(back.PixelFormat(), f);
        EXPECT_EQ(back.Width(), 13);
        EXPECT_EQ(back.Height(), 5);
        EXPECT_EQ(back.Canvas()->Pixel(0, 0), clBlack) << f;
        EXPECT_EQ(back.Canvas()->Pixel(12, 4), clBlack) << f;
        EXPECT_EQ(back.Canvas()->Pixel(5, 2), clWhite) << f;
    }
    // Damaged files are refused, never read past their end.
    const auto bad = dir.WriteFile("bad.bmp", std::string("BM") + std::string(60, '\x7f'));
    TBitmap b;
    EXPECT_THROW(b.LoadFromFile(bad.string()), EInvalidGraphic);
    std::string truncated;
    {
        TBitmap ok(64, 64);
        TMemoryStream m;
        ok.SaveToStream(m);
        truncated.assign(static_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()) / 2);
    }
    EXPECT_THROW(b.LoadFromFile(dir.WriteFile("half.bmp", truncated).string()), EInvalidGraphic);
}

TEST_F(CanvasTest, PicturesLoadAndSaveByKind) {
    testsupport::TempDir dir;
    TBitmap bmp(8, 6);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(Rect(0, 0, 4, 6));
    TPicture picture;
    picture.SetGraphic(&bmp);
    for (const char* ext : {"png", "bmp", "jpg"}) {
        const auto file = (dir / (std::string("p.") + ext)).string();
        picture.SaveToFile(file);
        TPicture back;
        back.LoadFromFile(file);
        ASSERT_NE(back.Graphic(), nullptr) << ext;
        EXPECT_EQ(back.Width(), 8) << ext;
        EXPECT_EQ(back.Height(), 6) << ext;
        TBitmap drawn(8, 6);
        drawn.Canvas()->Draw(0, 0, back.Graphic());
        const COLORREF left = ColorToRGB(drawn.Canvas()->Pixel(1, 1));
        EXPECT_GT(GetRValue(left), 200) << ext;
        EXPECT_LT(GetGValue(left), 60) << ext;
        EXPECT_GT(GetGValue(ColorToRGB(drawn.Canvas()->Pixel(6, 3))), 200) << ext;
    }
    EXPECT_THROW(picture.SaveToFile((dir / "p.xyz").string()), EInvalidGraphic);
    // GIF files are read (one red pixel); the toolkit has no GIF writer, which is said.
    const std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,\x00\x00\x00\x00"
                          "\x01\x00\x01\x00\x00\x02\x02" "D\x01\x00;", 35);
    TPicture g;
    g.LoadFromFile(dir.WriteFile("red.gif", gif).string());
    ASSERT_NE(dynamic_cast<TGIFImage*>(g.Graphic()), nullptr);
    TBitmap one(1, 1);
    one.Canvas()->Draw(0, 0, g.Graphic());
    EXPECT_EQ(one.Canvas()->Pixel(0, 0), clRed);
    EXPECT_THROW(g.SaveToFile((dir / "again.gif").string()), EInvalidGraphicOperation);
    const auto junk = dir.WriteFile("junk.png", "not a picture at all");
    TPicture p2;
    EXPECT_THROW(p2.LoadFromFile(junk.string()), EInvalidGraphic);
}

TEST_F(CanvasTest, MetafileCanvasRecordsAndPlays) {
    TMetafile mf;
    mf.SetSize(48, 24);
    {
        TMetafileCanvas mc(mf, nullptr);
        mc.Brush()->SetColor(clNavy);
        mc.FillRect(Rect(0, 0, 24, 24));
    }
    ASSERT_FALSE(mf.Empty());
    EXPECT_EQ(mf.Width(), 48);
    EXPECT_EQ(mf.Height(), 24);
    TBitmap bmp(96, 48);
    bmp.Canvas()->StretchDraw(Rect(0, 0, 96, 48), &mf);
    EXPECT_EQ(bmp.Canvas()->Pixel(47, 47), clNavy);
    EXPECT_EQ(bmp.Canvas()->Pixel(48, 0), clWhite);
}

TEST_F(CanvasTest, ImageListDrawsMaskedDisabledAndOverlaid) {
    TCustomImageList list(nullptr);
    list.SetSize(4, 4);
    TBitmap strip(8, 4);  // two pictures side by side
    TCanvas* s = strip.Canvas();
    s->Brush()->SetColor(clFuchsia);
    s->FillRect(Rect(0, 0, 8, 4));
    s->Brush()->SetColor(clBlack);
    s->FillRect(Rect(1, 1, 3, 3));
    s->Brush()->SetColor(clRed);
    s->FillRect(Rect(4, 0, 5, 1));
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(list.Count(), 2);
    TBitmap target(4, 4);
    TCanvas* t = target.Canvas();
    t->Brush()->SetColor(clWhite);
    t->FillRect(Rect(0, 0, 4, 4));
    list.Draw(t, 0, 0, 0);
    EXPECT_EQ(t->Pixel(0, 0), clWhite);  // the mask colour shows what is under it
    EXPECT_EQ(t->Pixel(1, 1), clBlack);
    EXPECT_TRUE(list.Overlay(1, 0));
    list.DrawOverlay(t, 0, 0, 0, 0);
    EXPECT_EQ(t->Pixel(0, 0), clRed);
    // Disabled: no black, the shape in the shadow colour.
    t->FillRect(Rect(0, 0, 4, 4));
    list.Draw(t, 0, 0, 0, false);
    EXPECT_EQ(ColorToRGB(t->Pixel(1, 1)), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(t->Pixel(0, 0), clWhite);
    EXPECT_THROW(list.Delete(5), EInvalidGraphicOperation);
}

}  // namespace
