// The styled controls painting over the Qt drawing interface: pixel probes of the caption
// painter, the latched pattern and the faces, and a form holding one of each (saved as a PNG
// when QUILLORA_SCREENSHOT names a file).
#include <gtest/gtest.h>

#include <cstdlib>

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QWidget>

#include "controls/styled/ColorHelpers.h"
#include "controls/styled/RzBitBtn.h"
#include "controls/styled/RzCalendar.h"
#include "controls/styled/RzEdit.h"
#include "controls/styled/RzTimePicker.h"
#include "controls/styled/RzButton.h"
#include "controls/styled/RzPanel.h"
#include "controls/styled/RzRadChk.h"
#include "controls/styled/RzSpinner.h"
#include "controls/styled/RzStatusBar.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsImages.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

class StyledGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        InstallQtWidgetSet();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(10, 10, 420, 300);
    }
    template <class C>
    C* Make(int left, int top, TWinControl* parent = nullptr) {
        auto* c = new C(form_.get());
        c->SetParent(parent ? parent : form_.get());
        c->SetLeft(left);
        c->SetTop(top);
        return c;
    }
    std::unique_ptr<TForm> form_;
};

// Draws the caption painter on a bitmap to probe where and in which colour it puts the text.
class ProbeButton : public TRzButton {
public:
    using TRzButton::TRzButton;
    std::unique_ptr<TBitmap> Draw(UINT flags) {
        auto bitmap = std::make_unique<TBitmap>(80, 30);
        bitmap->Canvas()->Brush()->SetColor(clWhite);
        bitmap->Canvas()->FillRect(TRect(0, 0, 80, 30));
        DrawCaption(*bitmap->Canvas(), TRect(0, 0, 80, 30), flags);
        return bitmap;
    }
};

// The rightmost column holding a pixel that is not white, and its colour.
std::pair<int, TColor> RightmostInk(TBitmap& b) {
    for (int x = b.Width() - 1; x >= 0; --x)
        for (int y = 0; y < b.Height(); ++y)
            if (const TColor c = b.Canvas()->Pixel(x, y); c != 0xFFFFFF) return {x, c};
    return {-1, clNone};
}

// The darkest pixel: text is smoothed, so its edges blend with the background.
TColor DarkestInk(TBitmap& b) {
    TColor best = 0xFFFFFF;
    int bestSum = 3 * 255;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = b.Canvas()->Pixel(x, y);
            const int sum = static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
            if (sum < bestSum) best = c, bestSum = sum;
        }
    return best;
}

TEST_F(StyledGuiTest, CaptionPainterOffsetsAndColours) {
    auto* b = Make<ProbeButton>(0, 0);
    b->SetCaption(u"HH");
    b->Font()->SetColor(clBlack);
    b->Font()->SetSize(18);
    b->Font()->SetStyle({fsBold});  // strokes wide enough to hold the pure colour
    auto right = b->Draw(DT_RIGHT | DT_SINGLELINE);
    b->SetTextShadowDepth(0);
    auto flush = b->Draw(DT_RIGHT | DT_SINGLELINE);
    EXPECT_EQ(RightmostInk(*flush).first - RightmostInk(*right).first, 2) << "right-aligned text sits the shadow depth left";
    EXPECT_EQ(DarkestInk(*right), TColor(0)) << "normal text in the font colour";
    // Disabled: grey text, or the dark shadow colour on a face close to grey text.
    b->SetEnabled(false);
    b->SetColor(clWhite);
    auto grey = b->Draw(DT_LEFT | DT_SINGLELINE);
    EXPECT_EQ(DarkestInk(*grey), ColorToRGB(clGrayText));
    b->SetColor(clGrayText);
    auto dark = b->Draw(DT_LEFT | DT_SINGLELINE);
    EXPECT_EQ(DarkestInk(*dark), ColorToRGB(cl3DDkShadow));
}

TEST_F(StyledGuiTest, LatchedButtonShowsTheDitherPattern) {
    auto* b = Make<TRzButton>(0, 0);
    TBitmap pattern;
    b->BuildDownPattern(pattern);
    EXPECT_EQ(pattern.Canvas()->Pixel(0, 0), ColorToRGB(clSilver));
    EXPECT_EQ(pattern.Canvas()->Pixel(1, 1), ColorToRGB(clSilver));
    EXPECT_EQ(pattern.Canvas()->Pixel(1, 0), ColorToRGB(clBtnFace));
    b->SetColor(clSilver);
    b->BuildDownPattern(pattern);
    EXPECT_EQ(pattern.Canvas()->Pixel(2, 4), ColorToRGB(clGray));
}

// Paints a control's client area on a bitmap through its own paint handler.
std::unique_ptr<TBitmap> Snapshot(TWinControl& control) {
    auto bitmap = std::make_unique<TBitmap>(control.Width(), control.Height());
    control.PaintHandler(bitmap->Canvas()->Handle());
    return bitmap;
}

// Saves a snapshot as a PNG when the environment variable names a file.
void SavePicture(TBitmap& shot, const char* variable) {
    const char* path = std::getenv(variable);
    if (!path) return;
    QImage image(shot.Width(), shot.Height(), QImage::Format_RGB32);
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            const TColor c = shot.Canvas()->Pixel(x, y);
            image.setPixel(x, y, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
    EXPECT_TRUE(image.save(QString::fromLocal8Bit(path), "PNG"));
}

TEST_F(StyledGuiTest, PanelGridAndGradient) {
    auto* panel = Make<TRzPanel>(0, 0);
    panel->SetBounds(0, 0, 40, 30);
    panel->SetBorderOuter(fsNone);
    panel->SetColor(clWhite);
    panel->SetShowGrid(true);
    panel->SetGridColor(clRed);
    auto dots = Snapshot(*panel);
    EXPECT_EQ(dots->Canvas()->Pixel(7, 7), TColor(clRed));
    EXPECT_EQ(dots->Canvas()->Pixel(15, 23), TColor(clRed));
    EXPECT_EQ(dots->Canvas()->Pixel(8, 7), TColor(clWhite));
    EXPECT_EQ(dots->Canvas()->Pixel(39, 7), TColor(clRed)) << "40 / 8 columns: the fifth at x 39";
    panel->SetGridStyle(gsSolidLines);
    panel->SetGridYSize(0);  // no horizontal lines
    auto lines = Snapshot(*panel);
    for (int y : {0, 7, 13, 29}) EXPECT_EQ(lines->Canvas()->Pixel(15, y), TColor(clRed)) << y;
    EXPECT_EQ(lines->Canvas()->Pixel(3, 7), TColor(clWhite));
    panel->SetGridStyle(gsDottedLines);
    auto dotted = Snapshot(*panel);
    EXPECT_EQ(dotted->Canvas()->Pixel(15, 1), TColor(clRed));
    EXPECT_EQ(dotted->Canvas()->Pixel(15, 2), TColor(clWhite));

    panel->SetShowGrid(false);
    panel->SetVisualStyle(vsGradient);
    panel->SetGradientColorStyle(gcsCustom);
    panel->SetGradientColorStart(clBlue);
    panel->SetGradientColorStop(clYellow);
    auto gradient = Snapshot(*panel);
    // Bands of a gradient are near its end colours, not exactly on them.
    EXPECT_TRUE(ColorsAreClose(gradient->Canvas()->Pixel(20, 0), clBlue)) << "start colour on top";
    EXPECT_TRUE(ColorsAreClose(gradient->Canvas()->Pixel(20, 29), clYellow));
}

TEST_F(StyledGuiTest, StatusBarGripAndSimpleCaption) {
    auto* bar = Make<TRzStatusBar>(0, 0);
    form_->SetClientWidth(100);
    ASSERT_EQ(bar->Width(), 100);
    auto grip = Snapshot(*bar);
    // Light squares, and dark ones a pixel up and left: the light shows on their lower right.
    EXPECT_EQ(grip->Canvas()->Pixel(97, 8), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(grip->Canvas()->Pixel(95, 6), ColorToRGB(clBtnShadow));
    EXPECT_EQ(grip->Canvas()->Pixel(88, 15), ColorToRGB(clBtnShadow));
    EXPECT_EQ(grip->Canvas()->Pixel(80, 10), ColorToRGB(clBtnFace));

    form_->SetWindowState(wsMaximized);
    EXPECT_EQ(Snapshot(*bar)->Canvas()->Pixel(95, 6), ColorToRGB(clBtnFace)) << "no grip when maximised";
    form_->SetWindowState(wsNormal);

    bar->SetVisualStyle(vsClassic);
    bar->SetSimpleStatus(true);
    bar->SetSimpleCaption(u"Ready");
    auto simple = Snapshot(*bar);
    EXPECT_EQ(simple->Canvas()->Pixel(50, 2), ColorToRGB(AdjustedColor(clBtnShadow, 30))) << "flat frame on top";
    EXPECT_EQ(simple->Canvas()->Pixel(50, 3), ColorToRGB(clBtnFace));
    auto text = std::make_unique<TBitmap>(40, 12);
    text->Canvas()->CopyRect(TRect(0, 0, 40, 12), simple->Canvas(), TRect(3, 4, 43, 16));
    EXPECT_LT(DarkestInk(*text) & 0xFF, 0x60) << "the caption is drawn";
}

TEST_F(StyledGuiTest, PanelBordersAndPressedButtonByPixels) {
    auto* panel = Make<TRzPanel>(0, 0);
    panel->SetBounds(0, 0, 40, 30);
    panel->SetBorderOuter(fsFlat);
    panel->SetFlatColorAdjustment(0);
    panel->SetFlatColor(clRed);
    panel->SetColor(clWhite);
    auto flat = Snapshot(*panel);
    EXPECT_EQ(flat->Canvas()->Pixel(0, 10), TColor(clRed));
    EXPECT_EQ(flat->Canvas()->Pixel(39, 29), TColor(clRed));
    EXPECT_EQ(flat->Canvas()->Pixel(1, 10), TColor(clWhite));
    panel->SetBorderSides({sdTop});
    auto top = Snapshot(*panel);
    EXPECT_EQ(top->Canvas()->Pixel(10, 0), TColor(clRed));
    EXPECT_EQ(top->Canvas()->Pixel(0, 10), TColor(clWhite));

    // A latched classic button is sunken: dark on its top-left, the dither inside.
    auto* b = Make<TRzButton>(50, 0);
    b->SetGroupIndex(1);
    b->SetDown(true);
    b->SetShowDownPattern(true);
    auto down = Snapshot(*b);
    EXPECT_NE(down->Canvas()->Pixel(0, 10), ColorToRGB(clBtnHighlight));
    const TColor a = down->Canvas()->Pixel(10, 10), c = down->Canvas()->Pixel(11, 10);
    EXPECT_NE(a, c) << "the dither alternates";
}

TEST_F(StyledGuiTest, UserPictureStripsAndRadioEdges) {
    auto* radio = Make<TRzRadioButton>(0, 0);
    TBitmap strip(54, 13);
    radio->SetCustomGlyphs(&strip);
    EXPECT_TRUE(radio->UseCustomGlyphs());
    EXPECT_EQ(radio->PictureWidth(), 9);
    EXPECT_EQ(radio->PictureHeight(), 13);
    TBitmap empty;
    radio->SetCustomGlyphs(&empty);
    EXPECT_FALSE(radio->UseCustomGlyphs());
    EXPECT_EQ(radio->PictureWidth(), 13);

    TBitmap circle(13, 13);
    circle.Canvas()->Brush()->SetColor(clWhite);
    circle.Canvas()->FillRect(TRect(0, 0, 13, 13));
    SmoothRadioEdges(circle, clBlack);
    EXPECT_EQ(circle.Canvas()->Pixel(4, 0), BlendColors(clBlack, clWhite, 128));
    EXPECT_EQ(circle.Canvas()->Pixel(3, 12), BlendColors(clBlack, clWhite, 40));
    EXPECT_EQ(circle.Canvas()->Pixel(6, 6), TColor(clWhite));
}

TEST_F(StyledGuiTest, AutoSizeWrapsALongCaption) {
    form_->Show();
    auto* box = Make<TRzCheckBox>(0, 0);
    box->SetCaption(u"Short");
    const int oneLine = box->Height();
    const int width = 140;
    EXPECT_GE(oneLine, 15);
    box->SetCaption(u"A caption long enough to wrap over several lines of this narrow box");
    box->SetBounds(0, 0, width, oneLine);
    box->SetCaption(box->Caption() + u".");
    EXPECT_GT(box->Height(), 2 * oneLine - 4);
    EXPECT_LE(box->Width(), width);
}

TEST_F(StyledGuiTest, StockPicturesAndThePressedGlyph) {
    TBitmap ok;
    ok.Assign(&GetKindGlyph(bkOK));
    EXPECT_EQ(ok.Canvas()->Pixel(13, 3), TColor(0x008000)) << "the check mark";
    EXPECT_EQ(ok.Canvas()->Pixel(0, 0), TColor(0x008080)) << "olive, left out when painted";
    EXPECT_EQ(ok.Canvas()->Pixel(16 + 13, 3), ColorToRGB(clBtnShadow)) << "the disabled picture";

    form_->Show();
    auto* b = Make<TRzBitBtn>(0, 0);
    b->SetKind(bkOK);
    b->SetColor(clWhite);
    const TRect rest = b->GetGlyphRect();
    auto up = Snapshot(*b);
    EXPECT_EQ(up->Canvas()->Pixel(rest.left + 13, rest.top + 3), TColor(0x008000));
    EXPECT_EQ(up->Canvas()->Pixel(rest.left, rest.top), TColor(clWhite)) << "olive left out";
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    auto down = Snapshot(*b);
    EXPECT_EQ(down->Canvas()->Pixel(rest.left + 14, rest.top + 4), TColor(0x008000)) << "one pixel right and down";
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(StyledGuiTest, AFormWithOneOfEachLooksRight) {
    form_->SetCaption(u"Styled controls");
    form_->SetBounds(10, 10, 420, 300);
    form_->SetColor(clBtnFace);
    auto* panel = Make<TRzPanel>(8, 8);
    panel->SetBounds(8, 8, 400, 120);
    panel->SetCaption(u"Framed panel");
    panel->SetAlignmentVertical(avTop);
    panel->SetBorderOuter(fsGroove);
    auto* ok = Make<TRzButton>(16, 40, panel);
    ok->SetCaption(u"OK");
    ok->SetDefault(true);
    auto* cancel = Make<TRzButton>(100, 40, panel);
    cancel->SetCaption(u"Cancel");
    auto* hot = Make<TRzButton>(184, 40, panel);
    hot->SetCaption(u"Hot track");
    hot->SetHotTrack(true);
    hot->SetColor(0x00E0C8A0);
    auto* latched = Make<TRzButton>(268, 40, panel);
    latched->SetCaption(u"Latched");
    latched->SetGroupIndex(1);
    latched->SetDown(true);
    auto* spin = Make<TRzSpinner>(16, 80, panel);
    spin->SetValue(42);
    auto* hex = Make<TRzSpinner>(110, 80, panel);
    hex->SetShowHexValue(true);
    hex->SetMin(0);
    hex->SetMax(0);
    hex->SetValue(255);
    auto* bitOk = Make<TRzBitBtn>(16, 250);
    bitOk->SetKind(bkOK);
    auto* bitCancel = Make<TRzBitBtn>(100, 250);
    bitCancel->SetKind(bkCancel);
    auto* bitTop = Make<TRzBitBtn>(184, 236);
    bitTop->SetBounds(184, 236, 64, 48);
    bitTop->SetKind(bkHelp);
    bitTop->SetLayout(blGlyphTop);
    bitTop->SetHotTrack(true);
    bitTop->SetSpacing(0);
    auto* check = Make<TRzCheckBox>(216, 80, panel);
    check->SetWidth(160);
    check->SetCaption(u"Include subfolders");
    check->SetChecked(true);
    auto* radioA = Make<TRzRadioButton>(16, 200);
    radioA->SetCaption(u"Open");
    radioA->SetChecked(true);
    auto* radioB = Make<TRzRadioButton>(16, 220);
    radioB->SetCaption(u"Save");
    auto* hotCheck = Make<TRzCheckBox>(120, 200);
    hotCheck->SetWidth(200);
    hotCheck->SetCaption(u"Hot-tracked, grayed");
    hotCheck->SetHotTrack(true);
    hotCheck->SetAllowGrayed(true);
    hotCheck->SetState(cbGrayed);
    auto* hotRadio = Make<TRzRadioButton>(120, 220);
    hotRadio->SetWidth(200);
    hotRadio->SetCaption(u"Hot-tracked radio");
    hotRadio->SetHotTrack(true);
    auto* gradient = Make<TRzPanel>(8, 136);
    gradient->SetBounds(8, 136, 400, 60);
    gradient->SetVisualStyle(vsGradient);
    gradient->SetGradientColorStyle(gcsCustom);
    gradient->SetGradientColorStart(clWhite);
    gradient->SetGradientColorStop(0x00C08040);
    gradient->SetCaption(u"Gradient panel with a grid");
    gradient->SetShowGrid(true);
    gradient->SetBorderOuter(fsFlat);
    form_->Show();
    ok->SetFocus();
    Application->ProcessMessages();
    auto* peer = dynamic_cast<QWidget*>(form_->Peer());
    ASSERT_NE(peer, nullptr);
    const QImage shot = peer->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    if (const char* path = std::getenv("QUILLORA_SCREENSHOT")) {
        EXPECT_TRUE(shot.save(QString::fromLocal8Bit(path), "PNG"));
    }
}

}  // namespace

namespace {

TEST_F(StyledGuiTest, CalendarShowsTheMonthWithTheDateAndToday) {
    auto* cal = Make<TRzCalendar>(8, 8);
    TDateTime today = 0, picked = 0;
    ASSERT_TRUE(TryEncodeDate(2026, 3, 10, today));
    ASSERT_TRUE(TryEncodeDate(2026, 3, 18, picked));
    cal->Today = [today] { return today; };
    cal->SetFirstDayOfWeek(fdowMonday);
    cal->SetElements(cal->Elements() + TRzCalendarElements{ceWeekNumbers});
    cal->SetDate(picked);
    form_->SetClientWidth(cal->Width() + 16);
    form_->SetClientHeight(cal->Height() + 16);
    auto shot = Snapshot(*cal);
    // Wednesday the 18th: the fourth row, the third column.
    cal->Perform(WM_MOUSEMOVE, 0, 0);
    const TRect grid = cal->AreaRect(calDays);
    const int w = grid.Width() / 7;
    const int h = grid.Height() / 6;
    EXPECT_EQ(shot->Canvas()->Pixel(grid.left + 2 * w, grid.top + 3 * h + 1), ColorToRGB(clHighlight));
    EXPECT_EQ(shot->Canvas()->Pixel(grid.left + 2 * w, grid.top + 2 * h + 1), ColorToRGB(clWindow));
    SavePicture(*shot, "QUILLORA_SCREENSHOT_CALENDAR");
}

}  // namespace

namespace {

TEST_F(StyledGuiTest, TimePickerDrawsTheClock) {
    auto* picker = Make<TRzTimePicker>(8, 8);
    TDateTime t = 0;
    ASSERT_TRUE(TryEncodeTime(10, 10, 0, 0, t));
    picker->SetTime(t);
    picker->SetShowSetButton(true);
    auto shot = Snapshot(*picker);
    const TPoint c = picker->ClockCentre();
    EXPECT_EQ(shot->Canvas()->Pixel(c.x, c.y), ColorToRGB(clWindowText)) << "the hands meet in the centre";
    EXPECT_EQ(shot->Canvas()->Pixel(c.x, c.y + picker->ClockRadius() / 2), ColorToRGB(clBtnFace)) << "no hand points at six";
    SavePicture(*shot, "QUILLORA_SCREENSHOT_CLOCK");
}

}  // namespace

namespace {

TEST_F(StyledGuiTest, TheDropButtonAtTheEndOfAnEditDropsDown) {
    auto* edit = Make<TRzEdit>(8, 8);
    int drops = 0;
    edit->OnDropDown = [&](TObject*) { ++drops; };
    edit->SetDropButtonVisible(true);
    edit->HandleNeeded();
    auto* line = dynamic_cast<QWidget*>(edit->Peer())->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(line->actions().size(), 1);
    line->actions().front()->trigger();
    EXPECT_EQ(drops, 1);
    edit->SetReadOnly(true);
    EXPECT_TRUE(line->actions().isEmpty()) << "a read-only edit offers no drop-down";
}

}  // namespace
