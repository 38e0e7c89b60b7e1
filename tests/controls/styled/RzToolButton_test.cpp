// The toolbar button over the headless widget set: the press state machine, latching groups,
// the drop-down and split button with its timing, the action link both ways, the settings it
// takes from a toolbar, and the picture and caption layout.
#include <gtest/gtest.h>

#include "controls/styled/RzToolbar.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace {

// Counts the menus it drops instead of showing them, on a clock the test turns.
class CountingButton : public TRzToolButton {
public:
    explicit CountingButton(TComponent* owner) : TRzToolButton(owner) {
        TickCount = [this] { return now; };
    }
    void DropDown() override {
        ++drops;
        TRzToolButton::DropDown();
    }
    DWORD now = 5000;
    int drops = 0;
};

class RzToolButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        RegisterStdCtrls();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
        form_->Show();
    }
    template <class C>
    C* Make(TWinControl* parent = nullptr) {
        auto* c = new C(form_.get());
        c->SetParent(parent ? parent : form_.get());
        return c;
    }
    std::unique_ptr<TForm> form_;
};

void Press(TControl& c, int x, int y) { c.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
void Move(TControl& c, int x, int y) { c.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
void Release(TControl& c, int x, int y) { c.Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
void ClickAt(TControl& c, int x, int y) {
    Press(c, x, y);
    Release(c, x, y);
}

TEST_F(RzToolButtonTest, PressDragAndReleaseClickOnlyInside) {
    auto* b = Make<TRzToolButton>();
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    Press(*b, 5, 5);
    EXPECT_EQ(b->ButtonState(), TRzToolButton::bsDown);
    EXPECT_TRUE(b->Tracking());
    Move(*b, 40, 5);
    EXPECT_EQ(b->ButtonState(), TRzToolButton::bsUp);
    Move(*b, 24, 24);
    EXPECT_EQ(b->ButtonState(), TRzToolButton::bsDown);
    Release(*b, 24, 24);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->ButtonState(), TRzToolButton::bsUp);
    EXPECT_FALSE(b->Tracking());
    // The right and bottom edges lie outside.
    Press(*b, 5, 5);
    Release(*b, 25, 5);
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    Press(*b, 5, 5);
    EXPECT_FALSE(b->Tracking());
    EXPECT_EQ(clicks, 1);
}

// A modal window opened while the button is held takes the press away: the button comes up and
// the release that follows clicks nothing.
TEST_F(RzToolButtonTest, AModalWindowDuringThePressCancelsIt) {
    auto* b = Make<TRzToolButton>();
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    TScopedModalHook hook([](TModalRequest&) { return IDOK; });
    Press(*b, 5, 5);
    ASSERT_EQ(GetCaptureControl(), b);
    MessageBoxW(nullptr, u"Text", u"Caption", MB_OK);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_FALSE(b->Tracking());
    EXPECT_EQ(b->ButtonState(), TRzToolButton::bsUp);
    Release(*b, 5, 5);
    EXPECT_EQ(clicks, 0);
    ClickAt(*b, 5, 5);
    EXPECT_EQ(clicks, 1);
}

TEST_F(RzToolButtonTest, GroupsLatchAndClickOnlyWhenDownChanges) {
    auto* a = Make<TRzToolButton>();
    auto* b = Make<TRzToolButton>();
    auto* other = Make<TRzToolButton>();
    a->SetDown(true);
    EXPECT_FALSE(a->Down()) << "no group, no latch";
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    other->SetGroupIndex(2);
    other->SetDown(true);
    int clicks = 0;
    a->OnClick = b->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(*a, 5, 5);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->ButtonState(), TRzToolButton::bsExclusive);
    ClickAt(*b, 5, 5);
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->ButtonState(), TRzToolButton::bsUp);
    EXPECT_TRUE(b->Down());
    EXPECT_TRUE(other->Down()) << "another group";
    EXPECT_EQ(clicks, 2);
    // Down without AllowAllUp stays down, and a press that changes nothing does not click.
    ClickAt(*b, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 2);
    // Released outside: the latch holds and nothing clicks.
    Press(*a, 5, 5);
    Release(*a, 50, 50);
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(b->ButtonState(), TRzToolButton::bsExclusive);
    EXPECT_EQ(clicks, 2);
    // AllowAllUp spreads over the group and lets the last one up.
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp());
    EXPECT_FALSE(other->AllowAllUp());
    ClickAt(*b, 5, 5);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 3);
}

TEST_F(RzToolButtonTest, DropDownStyleWidensAndLeavesItsGroup) {
    auto* b = Make<TRzToolButton>();
    b->SetGroupIndex(3);
    b->SetToolStyle(tsDropDown);
    EXPECT_EQ(b->Width(), 25 + TRzToolButton::kArrowWidth);
    EXPECT_EQ(b->GroupIndex(), 0);
    b->SetGroupIndex(3);
    EXPECT_EQ(b->GroupIndex(), 0) << "a drop-down button is never grouped";
    b->SetToolStyle(tsButton);
    EXPECT_EQ(b->Width(), 25);
}

TEST_F(RzToolButtonTest, SplitButtonClicksOnItsMainPartAndDropsFromItsArrow) {
    auto* menu = new TPopupMenu(form_.get());
    auto* b = Make<CountingButton>();
    b->SetToolStyle(tsDropDown);  // 39 wide: the arrow part is x >= 25
    b->SetDropDownMenu(menu);
    int clicks = 0;
    TObject* droppedFor = nullptr;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->OnDropDown = [&](TObject* sender) { droppedFor = sender; };
    ClickAt(*b, 5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->drops, 0);

    Press(*b, 30, 5);
    EXPECT_EQ(b->drops, 1);
    EXPECT_EQ(droppedFor, menu);
    EXPECT_EQ(menu->PopupComponent(), b);
    EXPECT_FALSE(b->InDropDown());
    EXPECT_EQ(b->ButtonState(), TRzToolButton::bsUp) << "back up once the menu closed";
    Release(*b, 30, 5);
    EXPECT_EQ(clicks, 1) << "the arrow does not click";

    // A press within 100 ms of the menu closing is the one that closed it.
    b->now += 60;
    Press(*b, 30, 5);
    Release(*b, 30, 5);
    EXPECT_EQ(b->drops, 1);
    b->now += 200;
    Press(*b, 30, 5);
    Release(*b, 30, 5);
    EXPECT_EQ(b->drops, 2);
    // Without a handler or action the whole button drops the menu.
    b->OnClick = nullptr;
    b->now += 200;
    ClickAt(*b, 5, 5);
    EXPECT_EQ(b->drops, 3);
    // Its accelerator drops the menu too; with a handler again, it clicks.
    b->SetCaption(u"&Mail");
    EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, u'm', 0), 1);
    EXPECT_EQ(b->drops, 4);
    b->OnClick = [&](TObject*) { ++clicks; };
    // The first press on the main part after a menu closed over the button only ends the drop.
    ClickAt(*b, 5, 5);
    EXPECT_EQ(clicks, 1);
    form_->Perform(CM_DIALOGCHAR, u'm', 0);
    EXPECT_EQ(b->drops, 4);
    EXPECT_EQ(clicks, 2);
}

TEST_F(RzToolButtonTest, MenuTooWideForTheWorkAreaEndsWithTheButton) {
    struct Case {
        int left, menuWidth, expected;
    } cases[] = {{100, 200, 100}, {900, 200, 725}, {800, 200, 800}, {801, 200, 626}};
    for (const Case& c : cases) EXPECT_EQ(DropDownMenuLeft(c.left, 25, c.menuWidth, 1000), c.expected) << c.left;
}

TEST_F(RzToolButtonTest, ActionReachesTheButtonAndTheButtonRunsTheAction) {
    auto* images = new TImageList(form_.get());
    auto* action = new TAction(form_.get());
    action->SetCaption(u"&Reply");
    action->SetHint(u"Reply to the sender");
    action->SetImageIndex(2);
    int runs = 0;
    action->OnExecute = [&](TObject*) { ++runs; };
    auto* b = Make<TRzToolButton>();
    b->SetImages(images);
    b->SetGroupIndex(4);
    b->SetAllowAllUp(true);
    b->SetAction(action);
    EXPECT_EQ(b->Caption(), u"&Reply");
    EXPECT_EQ(b->Hint(), u"Reply to the sender");
    EXPECT_EQ(b->ImageIndex(), 2);
    EXPECT_FALSE(b->IsImageIndexStored()) << "the action supplies it";
    action->SetChecked(true);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(b->IsDownStored());
    action->SetEnabled(false);
    EXPECT_FALSE(b->Enabled());
    action->SetEnabled(true);
    action->SetVisible(false);
    EXPECT_FALSE(b->Visible());
    action->SetVisible(true);
    action->SetImageIndex(3);
    EXPECT_EQ(b->ImageIndex(), 3);
    ClickAt(*b, 5, 5);
    EXPECT_EQ(runs, 1);
    // A picture chosen for the button itself no longer follows the action.
    b->SetImageIndex(7);
    action->SetImageIndex(4);
    EXPECT_EQ(b->ImageIndex(), 7);
    EXPECT_TRUE(b->IsImageIndexStored());
    // The other way: an action made from the button takes its Down and picture.
    EXPECT_FALSE(b->Down()) << "the click let it up";
    b->SetDown(true);
    TAction copy(nullptr);
    copy.Assign(b);
    EXPECT_TRUE(copy.Checked());
    EXPECT_EQ(copy.ImageIndex(), 7);
    EXPECT_EQ(copy.Caption(), u"&Reply");
}

TEST_F(RzToolButtonTest, FollowsTheToolbarUntilItsOwnSettingIsSet) {
    auto* bar = Make<TRzToolbar>();
    bar->SetWidth(400);
    bar->SetShowButtonCaptions(true);
    bar->SetButtonLayout(blGlyphTop);
    bar->SetButtonWidth(60);
    bar->SetButtonHeight(40);
    auto* b = Make<TRzToolButton>(bar);
    b->SetCaption(u"Open");
    EXPECT_TRUE(b->ShowCaption());
    EXPECT_EQ(b->Layout(), blGlyphTop);
    EXPECT_EQ(b->Width(), 60);
    EXPECT_EQ(b->Height(), 40);
    EXPECT_FALSE(b->IsSizeStored());
    EXPECT_TRUE(b->UseToolbarShowCaption());
    bar->SetVisualStyle(vsGradient);
    EXPECT_EQ(b->VisualStyle(), vsGradient);

    b->SetShowCaption(false);
    EXPECT_FALSE(b->UseToolbarShowCaption());
    bar->SetShowButtonCaptions(false);
    bar->SetShowButtonCaptions(true);
    EXPECT_FALSE(b->ShowCaption()) << "its own setting holds";
    b->SetWidth(33);
    bar->SetButtonWidth(70);
    EXPECT_EQ(b->Width(), 33);
    EXPECT_TRUE(b->IsSizeStored());
    // Giving the flag back takes the toolbar's value at once.
    b->SetUseToolbarButtonSize(true);
    EXPECT_EQ(b->Width(), 70);
    // A caption wider than the toolbar's button width widens a captioned button.
    b->SetUseToolbarShowCaption(true);
    b->SetCaption(u"A rather long caption");
    EXPECT_GT(b->Width(), 70);
}

// Layout of a 60 x 40 button, 16 x 16 pictures and a 30 x 13 caption: the inner area is
// (2, 2, 58, 38).
TEST_F(RzToolButtonTest, PictureAndCaptionPlacesByLayoutAndAlignment) {
    auto* images = new TImageList(form_.get());
    auto* b = Make<TRzToolButton>();
    b->SetBounds(0, 0, 60, 40);
    b->SetImages(images);
    b->SetImageIndex(0);
    b->SetCaption(u"Caption");
    b->SetShowCaption(true);
    b->MeasureCaption = [](const TRect&) { return TSize{30, 13}; };
    struct Case {
        TButtonLayout layout;
        TPoint picture, text;
    } cases[] = {
        {blGlyphLeft, {5, 12}, {25, 13}},
        {blGlyphRight, {39, 12}, {5, 13}},
        {blGlyphTop, {22, 3}, {15, 23}},
        {blGlyphBottom, {22, 21}, {15, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.layout));
        b->SetLayout(c.layout);
        b->SetAlignment(taCenter);
        TRect picture, text;
        b->CalcLayout(picture, text);
        EXPECT_EQ(picture, TRect(c.picture.x, c.picture.y, c.picture.x + 16, c.picture.y + 16));
        EXPECT_EQ(text, TRect(c.text.x, c.text.y, c.text.x + 30, c.text.y + 13));
        b->SetAlignment(taLeftJustify);
        b->CalcLayout(picture, text);
        EXPECT_EQ(std::min(picture.left, text.left), 4) << "the leftmost part starts 4 px in";
    }
    // Pressed, both move by one pixel down and right; without a caption the picture is centred.
    b->SetAlignment(taCenter);
    b->SetLayout(blGlyphLeft);
    Press(*b, 5, 5);
    TRect picture, text;
    b->CalcLayout(picture, text);
    EXPECT_EQ(picture.TopLeft(), TPoint(6, 13));
    Release(*b, 5, 5);
    b->SetShowCaption(false);
    b->CalcLayout(picture, text);
    EXPECT_EQ(picture, TRect(22, 12, 38, 28));
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
