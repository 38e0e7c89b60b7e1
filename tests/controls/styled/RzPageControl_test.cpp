// The styled page control without a toolkit: the order of events when a tab is clicked, hidden
// tabs, moving, closing and loading; and the progress status's arithmetic.
#include <gtest/gtest.h>

#include "controls/styled/RzPageControl.h"
#include "controls/styled/RzStatus.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

namespace {

class FixedMeasurer : public TRzTabTextMeasurer {
public:
    TSize Extent(const WideString& text, bool) override { return {static_cast<int>(text.size()) * 6, 16}; }
    int FontHeight() override { return 11; }
};

struct Pages {
    TForm* form = new TForm(Application);
    TRzPageControl* control = new TRzPageControl(form);
    std::vector<TRzTabSheet*> pages;
    std::vector<std::string> events;

    explicit Pages(int count) {
        control->SetParent(form);
        control->SetTextMeasurer(std::make_unique<FixedMeasurer>());
        control->SetBounds(0, 0, 400, 200);
        for (int i = 0; i < count; ++i) {
            auto* page = new TRzTabSheet(form);
            page->SetPageControl(control);
            page->SetCaption(u"Page " + WideString(1, static_cast<WideChar>(u'1' + i)));
            const std::string n = std::to_string(i + 1);
            page->OnShow = [this, n](TObject*) { events.push_back("show " + n); };
            page->OnHide = [this, n](TObject*) { events.push_back("hide " + n); };
            pages.push_back(page);
        }
        control->OnChanging = [this](TObject*, int i, bool&) { events.push_back("changing " + std::to_string(i)); };
        control->OnChange = [this](TObject*) { events.push_back("change"); };
        control->OnPageChange = [this](TObject*) { events.push_back("page change"); };
        control->OnTabClick = [this](TObject*) { events.push_back("tab click"); };
        control->UpdateLayout();
        events.clear();
    }
    ~Pages() { delete form; }
    void ClickTab(int index) {
        control->UpdateLayout();
        const TRect b = control->TabBounds(index);
        const LPARAM at = MAKELPARAM((b.left + b.right) / 2, b.bottom - 3);
        control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
        control->Perform(WM_LBUTTONUP, 0, at);
    }
};

TEST(RzPageControl, ClickSwitchesThePageBeforeTellingTheChange) {
    Pages p(3);
    EXPECT_EQ(p.control->ActivePage(), p.pages[0]);
    p.ClickTab(1);
    const std::vector<std::string> expected{"changing 1", "show 2", "hide 1", "change", "page change", "tab click"};
    EXPECT_EQ(p.events, expected);
    EXPECT_EQ(p.control->ActivePage(), p.pages[1]);
    EXPECT_TRUE(p.pages[1]->Visible());
    EXPECT_FALSE(p.pages[0]->Visible());

    p.events.clear();
    p.control->OnChanging = [&](TObject*, int, bool& allow) { allow = false; };
    p.ClickTab(2);
    EXPECT_EQ(p.control->ActivePage(), p.pages[1]);
    EXPECT_TRUE(p.events.empty());
}

TEST(RzPageControl, HiddenTabsAreNotCounted) {
    Pages p(3);
    p.pages[1]->SetTabVisible(false);
    p.control->UpdateLayout();
    EXPECT_EQ(p.pages[2]->TabIndex(), 1);
    p.ClickTab(1);
    EXPECT_EQ(p.control->ActivePage(), p.pages[2]);
    EXPECT_EQ(p.control->GetActivePageIndex(), 2);

    // Hiding the active page's tab selects no tab; the page stays shown.
    p.pages[2]->SetTabVisible(false);
    EXPECT_EQ(p.control->TabIndex(), -1);
    EXPECT_EQ(p.control->ActivePage(), p.pages[2]);
    EXPECT_TRUE(p.pages[2]->Visible());

    p.control->SetActivePageIndex(-1);
    EXPECT_EQ(p.control->ActivePage(), p.pages[2]);
    EXPECT_THROW(p.pages[0]->SetVisible(true), ERzTabControlError);
}

TEST(RzPageControl, PageIndexMovesAPageAndRefusesIndicesOutsideTheList) {
    Pages p(3);
    std::vector<std::pair<int, int>> moves;
    p.control->OnTabOrderChange = [&](TObject*, int from, int to) { moves.emplace_back(from, to); };
    try {
        p.pages[0]->SetPageIndex(3);
        FAIL();
    } catch (const ERzTabControlError& e) {
        EXPECT_STREQ(e.what(), "3 is an invalid PageIndex value. PageIndex must be between 0 and 2");
    }
    EXPECT_THROW(p.pages[0]->SetPageIndex(-1), ERzTabControlError);
    p.pages[0]->SetPageIndex(2);
    EXPECT_EQ(p.control->GetPage(2), p.pages[0]);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 2}}));
    // Child order is page order, as the walkers of the form expect.
    std::vector<TComponent*> children;
    p.control->GetChildren([&](TComponent* c) { children.push_back(c); }, nullptr);
    EXPECT_EQ(children[2], p.pages[0]);

    // Moving a tab by dragging moves the active page to the drop tab's place.
    p.control->SetActivePage(p.pages[1]);
    p.control->UpdateLayout();
    const TRect b = p.control->TabBounds(2);
    p.control->DragDropTab((b.left + b.right) / 2, b.bottom - 3);
    EXPECT_EQ(p.control->GetPage(2), p.pages[1]);
    // Dropping on the selected tab moves nothing.
    const TRect own = p.control->TabBounds(p.control->TabIndex());
    moves.clear();
    p.control->DragDropTab((own.left + own.right) / 2, own.bottom - 3);
    EXPECT_TRUE(moves.empty());
}

TEST(RzPageControl, ClosingTheFirstTabShowsTheNewFirstOtherwiseThePrevious) {
    Pages p(3);
    p.control->OnClose = [](TObject*, bool& allow) { allow = true; };
    TRzTabSheet* second = p.pages[1];
    TRzTabSheet* third = p.pages[2];
    p.control->CloseActiveTab();
    EXPECT_EQ(p.control->PageCount(), 2);
    EXPECT_EQ(p.control->ActivePage(), second);
    p.control->SetActivePage(third);
    p.control->CloseActiveTab();
    EXPECT_EQ(p.control->ActivePage(), second);
    EXPECT_EQ(p.control->PageCount(), 1);
}

TEST(RzPageControl, ActivePageOfAnotherControlIsIgnored) {
    Pages p(2), q(1);
    p.control->SetActivePage(q.pages[0]);
    EXPECT_EQ(p.control->ActivePage(), p.pages[0]);
}

TEST(RzPageControl, LoadingSelectsTheStreamedPageSilently) {
    Pages p(3);
    p.control->SetLoadingState({csLoading}, {});
    p.control->SetActivePage(p.pages[2]);
    p.events.clear();
    p.control->SetLoadingState({}, {csLoading});
    static_cast<TComponent*>(p.control)->Loaded();
    EXPECT_EQ(p.control->ActivePage(), p.pages[2]);
    for (const std::string& e : p.events) EXPECT_EQ(e.rfind("chang", 0), std::string::npos) << e;
    for (const std::string& e : p.events) EXPECT_NE(e, "page change");
}

TEST(RzProgressStatus, PartsGiveRoundedPercentages) {
    TForm form(nullptr);
    TRzProgressStatus progress(&form);
    progress.SetTotalParts(8);
    struct Case {
        std::uint32_t parts, stored;
        int percent;
    } cases[] = {{1, 1, 12}, {3, 3, 38}, {4, 4, 50}, {9, 8, 100}};
    for (const Case& c : cases) {
        progress.SetPartsComplete(c.parts);
        EXPECT_EQ(progress.PartsComplete(), c.stored);
        EXPECT_EQ(progress.Percent(), c.percent) << c.parts;
    }
    progress.SetTotalParts(8);  // the same total keeps the count
    EXPECT_EQ(progress.PartsComplete(), 8u);
    progress.SetTotalParts(10);
    EXPECT_EQ(progress.PartsComplete(), 0u);
    EXPECT_EQ(progress.Percent(), 0);
    progress.StepIt();
    progress.IncPartsComplete(2);
    EXPECT_EQ(progress.Percent(), 30);

    TRzProgressStatus idle(&form);
    idle.StepIt();
    EXPECT_EQ(idle.PartsComplete(), 0u);
    EXPECT_EQ(idle.Percent(), 0);
    idle.SetShowPercent(true);
    idle.SetBarStyle(bsLED);
    EXPECT_FALSE(idle.ShowPercent());
    idle.SetPercent(250);
    EXPECT_EQ(idle.Percent(), 250);
}

TEST(RzStatusPane, AutoSizeFromTheCaption) {
    TForm form(nullptr);
    TRzStatusPane pane(&form);
    pane.MeasureText = [](const WideString& s) { return static_cast<int>(s.size()) * 7; };
    pane.SetAutoSize(true);
    EXPECT_EQ(pane.Width(), 40);
    pane.SetCaption(u"Ready");
    EXPECT_EQ(pane.Width(), 2 * 1 + 35 + 2 + 6);
    EXPECT_EQ(pane.GetInnerRect(), TRect(2, 2, pane.Width() - 2, 18));
}

}  // namespace

namespace {

TEST(RzPageControl, ReadFromAFormFileWithItsStoredThickness) {
    RegisterRzTabsClasses();
    TForm form(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  Width = 920\n"
                      "  Height = 420\n"
                      "  object Pages: TRzPageControl\n"
                      "    Width = 906\n"
                      "    Height = 392\n"
                      "    ActivePage = Header\n"
                      "    TabStyle = tsDoubleSlant\n"
                      "    ShowFocusRect = False\n"
                      "    FixedDimension = 22\n"
                      "    object Body: TRzTabSheet\n"
                      "      Caption = 'Message'\n"
                      "    end\n"
                      "    object Header: TRzTabSheet\n"
                      "      Caption = 'Message Header'\n"
                      "    end\n"
                      "  end\n"
                      "end\n",
                      &form);
    auto* pages = dynamic_cast<TRzPageControl*>(form.FindComponent("Pages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->GetPage(0)->Caption(), u"Message");
    EXPECT_EQ(pages->ActivePage(), form.FindComponent("Header"));
    EXPECT_EQ(pages->TabIndex(), 1);
    EXPECT_FALSE(pages->ShowFocusRect());
    // Loading laid the tabs out again; the thickness is written back for the next reading.
    EXPECT_EQ(pages->DisplayRect().top, pages->FixedDimension() + 1);
    EXPECT_NE(ComponentToText(&form).find("FixedDimension = " + std::to_string(pages->FixedDimension())),
              std::string::npos);
}

TEST(RzPageControl, APageColourFromFormDataColoursTheTabsAndGoesWhenTheyStop) {
    RegisterRzTabsClasses();
    TForm form(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  object Pages: TRzPageControl\n"
                      "    object Plain: TRzTabSheet\n"
                      "      Caption = 'Plain'\n"
                      "    end\n"
                      "    object Warm: TRzTabSheet\n"
                      "      Caption = 'Warm'\n"
                      "      Color = clRed\n"
                      "    end\n"
                      "  end\n"
                      "end\n",
                      &form);
    auto* pages = dynamic_cast<TRzPageControl*>(form.FindComponent("Pages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_TRUE(pages->UseColoredTabs()) << "the page's own colour turns coloured tabs on";
    EXPECT_EQ(pages->GetPage(1)->Color(), clRed);
    EXPECT_EQ(pages->Tabs().Items(1)->Color, clRed) << "the tab was rebuilt with the colour";
    pages->SetUseColoredTabs(false);
    EXPECT_EQ(pages->GetPage(1)->Color(), pages->Color()) << "without coloured tabs the pages take the control's colour";
}

}  // namespace
