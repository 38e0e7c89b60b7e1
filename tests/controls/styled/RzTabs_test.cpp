// The styled tab control without a toolkit: selection and its change query, the layout pass's
// repair, geometry and hit testing over a fixed-width measurer, keys, closing, hover and drag.
#include <gtest/gtest.h>

#include "controls/styled/RzTabButtons.h"
#include "controls/styled/RzTabs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/ShortCuts.h"

namespace {

// Every character 6 pixels wide, every line 16 high: tabs 22 thick.
class FixedMeasurer : public TRzTabTextMeasurer {
public:
    TSize Extent(const WideString& text, bool) override { return {static_cast<int>(text.size()) * 6, 16}; }
    int FontHeight() override { return 11; }
};

struct Fixture {
    TForm* form = new TForm(Application);
    TRzCustomTabControl* tabs = new TRzCustomTabControl(form);
    std::vector<std::string> events;

    explicit Fixture(std::initializer_list<const char16_t*> captions, int width = 906, int height = 392) {
        tabs->SetParent(form);
        tabs->SetTextMeasurer(std::make_unique<FixedMeasurer>());
        tabs->SetBounds(0, 0, width, height);
        for (const char16_t* c : captions) tabs->Tabs().Add()->Caption = c;
        tabs->OnChanging = [this](TObject*, int i, bool&) { events.push_back("changing " + std::to_string(i)); };
        tabs->OnChange = [this](TObject*) { events.push_back("change"); };
        tabs->LayoutChanged();
        tabs->UpdateLayout();
        events.clear();
    }
    ~Fixture() { delete form; }
    void Relayout() {
        tabs->LayoutChanged();
        tabs->UpdateLayout();
    }
};

TEST(RzTabControl, SelectionAsksTheChangeQueryOnlyForRealChanges) {
    Fixture f({u"One", u"Two", u"Three"});
    EXPECT_EQ(f.tabs->TabIndex(), 0);  // the layout pass selected the first selectable tab
    for (int bad : {-5, 3}) {
        f.tabs->SetTabIndex(1);
        f.events.clear();
        f.tabs->SetTabIndex(bad);
        EXPECT_EQ(f.tabs->TabIndex(), -1);
        EXPECT_TRUE(f.events.empty());
    }
    f.tabs->SetTabIndex(2);
    f.events.clear();
    f.tabs->SetTabIndex(2);
    EXPECT_TRUE(f.events.empty());

    f.tabs->OnChanging = [](TObject*, int, bool& allow) { allow = false; };
    const int first = f.tabs->FirstVisibleTab();
    f.tabs->SetTabIndex(0);
    EXPECT_EQ(f.tabs->TabIndex(), 2);
    EXPECT_EQ(f.tabs->FirstVisibleTab(), first);
    EXPECT_TRUE(f.events.empty());
}

TEST(RzTabControl, ShadowAndFullFrameGoTogether) {
    Fixture f({u"A"});
    f.tabs->SetShowFullFrame(false);
    EXPECT_FALSE(f.tabs->ShowShadow());
    f.tabs->SetShowShadow(true);
    EXPECT_TRUE(f.tabs->ShowFullFrame());
}

TEST(RzTabControl, LayoutPassRepairsTheSelectionForwardThenBackward) {
    Fixture f({u"A", u"B", u"C", u"D"});
    f.tabs->SetTabIndex(1);
    f.tabs->Tabs().Items(1)->Enabled = false;
    f.Relayout();
    EXPECT_EQ(f.tabs->TabIndex(), 2);
    f.tabs->SetTabIndex(3);
    f.tabs->Tabs().Items(3)->Visible = false;
    f.tabs->Tabs().Items(2)->Enabled = false;
    f.Relayout();
    EXPECT_EQ(f.tabs->TabIndex(), 0);  // nothing after it: backward past the disabled tabs
}

TEST(RzTabControl, PageAreaOfTheMainWindowsPageControls) {
    Fixture f({u"Message", u"Message Header", u"Extended Message Properties"});
    f.tabs->SetTabStyle(tsDoubleSlant);
    f.Relayout();
    EXPECT_EQ(f.tabs->FixedDimension(), 22);
    const TRect d = f.tabs->DisplayRect();
    EXPECT_EQ(d.left, 1);
    EXPECT_EQ(d.top, 23);
    EXPECT_EQ(d.Width(), 902);
    EXPECT_EQ(d.Height(), 366);
    // Adjacent double-slant tabs overlap by the thickness less one.
    const TRect a = f.tabs->Tabs().Items(0)->TabRect, b = f.tabs->Tabs().Items(1)->TabRect;
    EXPECT_EQ(a.right - b.left, f.tabs->FixedDimension() - 1);
    // Width: 2 * (h + 2) + w + 6 with h 16 and "Message" 42 wide.
    EXPECT_EQ(a.Width(), 2 * 18 + 42 + 6);
}

TEST(RzTabControl, AcceleratorsAreLeftOutOfMeasurementAndSplitForDrawing) {
    struct Case {
        const char16_t* line;
        const char16_t *before, *accel, *after, *stripped;
    } cases[] = {
        {u"&File", u"", u"F", u"ile", u"File"},
        {u"Save &as", u"Save ", u"a", u"s", u"Save as"},
        {u"R&&D", u"R&D", u"", u"", u"R&D"},
        {u"Tail&", u"Tail&", u"", u"", u"Tail&"},
        {u"Plain", u"Plain", u"", u"", u"Plain"},
    };
    for (const Case& c : cases) {
        const TRzCaptionPieces p = SplitTabCaption(c.line);
        EXPECT_EQ(p.before, c.before);
        EXPECT_EQ(p.accel, c.accel);
        EXPECT_EQ(p.after, c.after);
        EXPECT_EQ(StripTabAccelerator(c.line), c.stripped);
    }
    EXPECT_EQ(TabAcceleratorChar(u"Save &As"), u'a');
    EXPECT_EQ(TabCaptionLines(u"One\r\nTwo").size(), 2u);
    Fixture f({u"R&&D", u"RxD", u"&RD", u"RD"});
    EXPECT_EQ(f.tabs->Tabs().Items(0)->TabRect.Width(), f.tabs->Tabs().Items(1)->TabRect.Width());
    EXPECT_EQ(f.tabs->Tabs().Items(2)->TabRect.Width(), f.tabs->Tabs().Items(3)->TabRect.Width());
}

TEST(RzTabControl, RegionCacheKeepsTheMostRecentFirst) {
    for (int bad : {0, -2}) EXPECT_THROW(TRzTabRegionCache cache(bad), ERzTabControlError);
    TRzTabRegionCache cache(2);
    const TRect a(0, 0, 5, 5), b(1, 1, 5, 5), c(2, 2, 5, 5);
    cache.Add(a, TRzRegion(CreateRectRgn(0, 0, 5, 5)));
    cache.Add(b, TRzRegion(CreateRectRgn(1, 1, 5, 5)));
    cache.Add(a, TRzRegion(CreateRectRgn(0, 0, 5, 5)));
    cache.Add(c, TRzRegion(CreateRectRgn(2, 2, 5, 5)));
    EXPECT_NE(cache.Find(a), nullptr);
    EXPECT_EQ(cache.Find(b), nullptr);  // the least recently used went
    EXPECT_NE(cache.Find(c), nullptr);
    cache.SetCapacity(-1);
    for (int i = 0; i < 5; ++i) cache.Add(TRect(i, 9, 20, 20), TRzRegion(CreateRectRgn(i, 9, 20, 20)));
    EXPECT_EQ(cache.Count(), 7);
}

TEST(RzTabControl, HitTestPrefersTheActiveTabWhereSlantedTabsOverlap) {
    Fixture f({u"Alpha", u"Beta", u"Gamma"});
    f.tabs->SetTabStyle(tsDoubleSlant);
    f.Relayout();
    const TRect one = f.tabs->TabBounds(0), two = f.tabs->TabBounds(1);
    ASSERT_GT(one.right, two.left);
    // A point low in the overlap lies inside both outlines.
    const int x = (two.left + one.right) / 2, y = one.bottom - 2;
    f.tabs->SetTabIndex(0);
    EXPECT_EQ(f.tabs->TabAtPos(x, y), 0);
    f.tabs->SetTabIndex(1);
    EXPECT_EQ(f.tabs->TabAtPos(x, y), 1);
    f.tabs->SetTabIndex(2);
    EXPECT_EQ(f.tabs->TabAtPos(x, y), 0);  // between inactive tabs: the first tried from the first visible
    EXPECT_EQ(f.tabs->TabAtPos(x, one.bottom + 5), -1);
    EXPECT_EQ(f.tabs->TabAtPos(one.left + 1, one.top + 1), -1);  // beside the slant
}

TEST(RzTabControl, EmptyControlHasNoTabsAndTheCardCoversIt) {
    Fixture f({}, 200, 100);
    EXPECT_EQ(f.tabs->CardRect(0), TRect(0, 0, 199, 99));
    EXPECT_EQ(f.tabs->TabAtPos(10, 5), -1);
    EXPECT_EQ(f.tabs->TabIndex(), -1);
}

TEST(RzTabControl, ScrollerAppearsWhenTheStripIsOnePixelShort) {
    Fixture f({u"AAAA", u"BBBB", u"CCCC"}, 400, 100);
    f.tabs->SetShowShadow(false);  // the strip is then the full width less one
    f.Relayout();
    const int end = f.tabs->Tabs().Items(2)->TabRect.right;
    // The room is the strip length (width - 1) less margins; make it exactly the end.
    f.tabs->SetBounds(0, 0, end + 1, 100);
    f.Relayout();
    EXPECT_FALSE(f.tabs->Scrolling());
    f.tabs->SetBounds(0, 0, end, 100);
    f.Relayout();
    EXPECT_TRUE(f.tabs->Scrolling());
    EXPECT_FALSE(f.tabs->TabIsShown(2));
    ASSERT_NE(f.tabs->Scroller(), nullptr);
    EXPECT_GE(f.tabs->Scroller()->Left(), 0);
    EXPECT_FALSE(f.tabs->CanScrollBack());
    EXPECT_TRUE(f.tabs->CanScrollForward());
    int scrolled = 0;
    f.tabs->OnScrolledTabs = [&](TObject*) { ++scrolled; };
    f.tabs->ScrollTabs(true);
    EXPECT_EQ(f.tabs->FirstVisibleTab(), 1);
    EXPECT_TRUE(f.tabs->TabIsShown(2));
    f.tabs->ScrollTabs(true);  // nothing left to show: stays, and still tells
    EXPECT_EQ(f.tabs->FirstVisibleTab(), 1);
    EXPECT_EQ(scrolled, 2);
    // Selecting a tab before the first visible one scrolls back to it.
    f.tabs->SetTabIndex(0);
    EXPECT_EQ(f.tabs->FirstVisibleTab(), 0);
}

TEST(RzTabControl, OutlinesByStyleAndTheirPlaceOnEverySide) {
    Fixture f({u"Tab", u"Other"}, 300, 200);
    struct Case {
        TRzTabStyle style;
        bool soft;
        std::size_t points;
    } cases[] = {{tsSingleSlant, false, 5}, {tsSingleSlant, true, 6}, {tsDoubleSlant, false, 4},
                 {tsDoubleSlant, true, 6},  {tsCutCorner, false, 5},  {tsRoundCorners, false, 6},
                 {tsBackSlant, false, 5},   {tsBackSlant, true, 6},   {tsSquareCorners, false, 4}};
    for (const Case& c : cases) {
        f.tabs->SetTabStyle(c.style);
        f.tabs->SetSoftCorners(c.soft);
        f.Relayout();
        const auto outline = f.tabs->TabOutline(0);
        EXPECT_EQ(outline.size(), c.points) << c.style;
        // The base line touches the page: the first and last points lie on the tab's bottom.
        EXPECT_EQ(outline.front().y, outline.back().y);
    }
    f.tabs->SetTabStyle(tsSquareCorners);
    f.tabs->SetShowShadow(false);
    // The outer corner of the tab (logical left, top) lands where each side puts it.
    struct Side {
        TRzTabOrientation o;
        TRzTabSequence s;
        bool atLeft, atTop;  // which corner of the bounds the logical (left, top) maps to
    } sides[] = {{toTop, tsStandard, true, true},     {toBottom, tsStandard, true, false},
                 {toLeft, tsStandard, true, false},   {toRight, tsStandard, false, true},
                 {toTop, tsReverse, true, true},      {toRight, tsReverse, false, true}};
    for (const Side& s : sides) {
        f.tabs->SetTabOrientation(s.o);
        f.tabs->SetTabSequence(s.s);
        f.Relayout();
        f.tabs->SetTabIndex(1);  // the active square tab grows: look at the other
        const TRect r = f.tabs->Tabs().Items(0)->TabRect;
        const TPoint p = f.tabs->LogicalToClient({r.left, r.top});
        const TRect b = f.tabs->TabBounds(0);
        EXPECT_EQ(p.x, s.atLeft ? b.left : b.right) << s.o << s.s;
        EXPECT_EQ(p.y, s.atTop ? b.top : b.bottom) << s.o << s.s;
        EXPECT_GE(b.left, 0);
        EXPECT_LE(b.right, f.tabs->Width());
        EXPECT_GE(b.top, 0);
        EXPECT_LE(b.bottom, f.tabs->Height());
        // The page lies on the side of the tabs' base.
        const TRect card = f.tabs->CardRect(0);
        const int base[] = {card.top, card.left, card.bottom, card.right};
        const int edge[] = {b.bottom, b.right, b.top, b.left};
        EXPECT_EQ(base[s.o], edge[s.o]) << s.o << s.s;
    }
}

TEST(RzTabControl, MultiLineStripsWrapAndBringTheSelectedRowForward) {
    Fixture f({u"First tab", u"Second tab", u"Third tab", u"Fourth tab"}, 200, 200);
    f.tabs->SetMultiLine(true);
    f.Relayout();
    EXPECT_GT(f.tabs->RowCount(), 1);
    EXPECT_FALSE(f.tabs->Scrolling());
    const int last = f.tabs->Tabs().Count() - 1;
    ASSERT_GT(f.tabs->Tabs().Items(last)->Row, 0);
    f.tabs->SetTabIndex(last);
    EXPECT_EQ(f.tabs->Tabs().Items(last)->Row, 0);
    EXPECT_EQ(f.tabs->Tabs().Items(last)->TabRect.bottom, f.tabs->TabArea().bottom);
}

TEST(RzTabControl, KeysSkipTabsThatCannotBeSelectedAndAskForEachCandidate) {
    Fixture f({u"A", u"B", u"C", u"D"});
    f.tabs->Tabs().Items(1)->Enabled = false;
    f.tabs->Tabs().Items(2)->Visible = false;
    f.Relayout();
    int clicks = 0;
    f.tabs->OnTabClick = [&](TObject*) { ++clicks; };
    f.events.clear();
    struct Step {
        WORD key;
        int expected;
    } steps[] = {{VK_RIGHT, 3}, {VK_RIGHT, 0}, {VK_LEFT, 3}, {VK_HOME, 0}, {VK_END, 3}, {VK_DOWN, 0}};
    for (const Step& s : steps) {
        f.tabs->Perform(WM_KEYDOWN, s.key, 0);
        EXPECT_EQ(f.tabs->TabIndex(), s.expected) << s.key;
    }
    EXPECT_EQ(clicks, 6);
    // Left tabs in standard sequence run the other way.
    f.tabs->SetTabOrientation(toLeft);
    f.Relayout();
    f.tabs->Perform(WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(f.tabs->TabIndex(), 3);
    // A refused candidate is still asked, the next one chosen.
    f.events.clear();
    f.tabs->SetTabOrientation(toTop);
    f.Relayout();
    f.tabs->OnChanging = [&](TObject*, int i, bool& allow) {
        f.events.push_back("changing " + std::to_string(i));
        allow = i != 0;
    };
    f.tabs->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(f.tabs->TabIndex(), 3);  // back to itself: nothing else allowed
    EXPECT_EQ(f.events, std::vector<std::string>{"changing 0"});
}

TEST(RzTabControl, AcceleratorSelectsTheFirstEnabledVisibleTab) {
    Fixture f({u"&Mail", u"&Notes", u"&News"});
    f.form->Show();
    f.tabs->Tabs().Items(1)->Enabled = false;
    f.Relayout();
    EXPECT_EQ(f.tabs->Perform(CM_DIALOGCHAR, u'n', 0), 1);
    EXPECT_EQ(f.tabs->TabIndex(), 2);
    EXPECT_EQ(f.tabs->Perform(CM_DIALOGCHAR, u'x', 0), 0);
}

TEST(RzTabControl, ClosingNeedsAnOnCloseHandlerThatAllowsIt) {
    struct Closing : TRzCustomTabControl {
        using TRzCustomTabControl::TRzCustomTabControl;
        int closed = 0;
        void CloseTab() override { ++closed; }
    };
    TForm form(nullptr);
    Closing tabs(&form);
    tabs.SetParent(&form);
    tabs.SetTextMeasurer(std::make_unique<FixedMeasurer>());
    tabs.Tabs().Add()->Caption = u"One";
    tabs.UpdateLayout();
    tabs.SetShowCloseButton(true);
    ASSERT_NE(tabs.CloseButton(), nullptr);
    tabs.CloseActiveTab();
    EXPECT_EQ(tabs.closed, 0);
    tabs.OnClose = [](TObject*, bool& allow) { allow = true; };
    tabs.CloseButton()->Perform(WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
    tabs.CloseButton()->Perform(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(tabs.closed, 1);
    tabs.SetTabIndex(-1);
    tabs.CloseActiveTab();
    EXPECT_EQ(tabs.closed, 1);
    tabs.SetParent(nullptr);
}

TEST(RzTabControl, HoverTimerRunsOnlyForHotTrackingOrHints) {
    Fixture f({u"One", u"Two"});
    const TRect b = f.tabs->TabBounds(1);
    const LPARAM at = MAKELPARAM((b.left + b.right) / 2, b.bottom - 3);
    f.tabs->SetHotTrack(false);
    f.tabs->Perform(WM_MOUSEMOVE, 0, at);
    EXPECT_FALSE(f.tabs->HoverTimerRunning());
    EXPECT_EQ(f.tabs->HotTab(), -1);
    f.tabs->SetHotTrack(true);
    f.tabs->Perform(WM_MOUSEMOVE, 0, at);
    EXPECT_EQ(f.tabs->HotTab(), 1);
    EXPECT_TRUE(f.tabs->HoverTimerRunning());
    f.tabs->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(5, 200));
    EXPECT_EQ(f.tabs->HotTab(), -1);
    EXPECT_FALSE(f.tabs->HoverTimerRunning());
}

TEST(RzTabControl, ClickOnTheSelectedTabOfATabStopOnlyFocusesButStillClicks) {
    Fixture f({u"One", u"Two"});
    f.form->Show();
    int clicks = 0;
    f.tabs->OnTabClick = [&](TObject*) { ++clicks; };
    const TRect b = f.tabs->TabBounds(0);
    f.tabs->Perform(WM_LBUTTONDOWN, 0, MAKELPARAM((b.left + b.right) / 2, b.bottom - 3));
    f.tabs->Perform(WM_LBUTTONUP, 0, MAKELPARAM((b.left + b.right) / 2, b.bottom - 3));
    EXPECT_TRUE(f.tabs->Focused());
    EXPECT_EQ(f.tabs->TabIndex(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(f.events.empty());
}

TEST(RzTabButtons, PressLeaveReleaseFiresNothingAndReenteringFires) {
    Fixture f({u"AAAA", u"BBBB", u"CCCC", u"DDDD", u"EEEE"}, 120, 100);
    ASSERT_TRUE(f.tabs->Scrolling());
    TRzTabScroller* s = f.tabs->Scroller();
    ASSERT_NE(s, nullptr);
    int forward = 0, back = 0;
    s->OnUpRightClick = [&](TObject*) { ++forward; };
    s->OnDownLeftClick = [&](TObject*) { ++back; };
    const int right = s->Width() - 2, mid = s->Height() / 2;
    s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right, mid));
    s->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right, mid + 50));
    s->Perform(WM_LBUTTONUP, 0, MAKELPARAM(right, mid + 50));
    EXPECT_EQ(forward, 0);
    s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right, mid));
    s->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right, mid + 50));
    s->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right, mid));
    s->Perform(WM_LBUTTONUP, 0, MAKELPARAM(right, mid));
    EXPECT_EQ(forward, 1);
    // The back half fires although nothing lies before the first tab.
    EXPECT_FALSE(f.tabs->CanScrollBack());
    s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, mid));
    s->Perform(WM_LBUTTONUP, 0, MAKELPARAM(1, mid));
    EXPECT_EQ(back, 1);
}

TEST(RzTabButtons, HoldingTheArrowRepeatsAfterTheFirstDelay) {
    Fixture f({u"AAAA", u"BBBB", u"CCCC", u"DDDD", u"EEEE"}, 120, 100);
    TRzTabScroller* s = f.tabs->Scroller();
    ASSERT_NE(s, nullptr);
    int forward = 0;
    s->OnUpRightClick = [&](TObject*) { ++forward; };
    s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(s->Width() - 2, 2));
    EXPECT_TRUE(s->TimerRunning());
    EXPECT_EQ(s->TimerInterval(), 400u);
    s->TimerTick();
    EXPECT_EQ(s->TimerInterval(), 100u);
    s->TimerTick();
    EXPECT_EQ(forward, 2);
    s->Perform(WM_LBUTTONUP, 0, MAKELPARAM(s->Width() - 2, 2));
    EXPECT_FALSE(s->TimerRunning());
    EXPECT_EQ(forward, 3);  // and once on release
}

TEST(RzTabButtons, MenuListsEveryVisibleTabWithItsState) {
    Fixture f({u"files", u"Mail", u"Files", u"Hidden"});
    f.tabs->Tabs().Items(1)->Enabled = false;
    f.tabs->Tabs().Items(1)->ImageIndex = 4;
    f.tabs->Tabs().Items(1)->DisabledIndex = 5;
    f.tabs->Tabs().Items(3)->Visible = false;
    f.Relayout();
    f.tabs->SetTabIndex(2);
    const auto entries = TabMenuEntries(*f.tabs);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Tag, 0);  // equal captions keep both, in tab order
    EXPECT_EQ(entries[1].Tag, 2);
    EXPECT_TRUE(entries[1].Checked);
    EXPECT_FALSE(entries[0].Checked);
    EXPECT_EQ(entries[2].Caption, u"Mail");
    EXPECT_FALSE(entries[2].Enabled);
    EXPECT_EQ(entries[2].ImageIndex, 5);
    // The chosen entry selects its tab.
    f.tabs->SetShowMenuButton(true);
    int asked = 0;
    SetTabMenuPopup([&](const std::vector<TRzTabMenuEntry>& e, const TRzTabMenuPlacement& p) {
        ++asked;
        EXPECT_TRUE(p.RightAligned);
        return e[0].Tag;
    });
    f.tabs->MenuButton()->DisplayMenu();
    SetTabMenuPopup(nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(f.tabs->TabIndex(), 0);

    // By default the class library's popup menu shows the entries; its second item is tab 2.
    TScopedModalHook hook([](TModalRequest& r) { return r.What == TModalRequest::PopupMenu ? 2 : 0; });
    f.tabs->MenuButton()->DisplayMenu();
    EXPECT_EQ(f.tabs->TabIndex(), 2);
}

}  // namespace
