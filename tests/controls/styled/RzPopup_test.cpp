// Popups over the headless widget set: input reaches the local loop through the input filter,
// posted from a helper window so that it arrives while the loop runs.
#include <gtest/gtest.h>

#include <deque>

#include "controls/styled/RzPopup.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WidgetSet.h"
#include "platform/vcl/WinUser.h"

namespace {

constexpr UINT kInject = WM_USER + 7;

// The headless set with two monitors: the primary at the left, a larger one to its right.
class TwoMonitors : public TWidgetSet {
public:
    static constexpr TRect kSecond{1024, 0, 2944, 1080};
    const char* Name() const override { return "two monitors"; }
    bool HasDisplay() const override { return false; }
    std::unique_ptr<TWidgetPeer> CreatePeer(TWinControl& c, const TCreateParams& p, TWidgetPeer* parent) override {
        return inner_->CreatePeer(c, p, parent);
    }
    void ProcessEvents() override { inner_->ProcessEvents(); }
    void WaitEvents(std::optional<std::chrono::steady_clock::time_point> d) override { inner_->WaitEvents(d); }
    TPoint CursorPos() const override { return inner_->CursorPos(); }
    TRect DesktopRect() const override { return TRect(0, 0, 1024, 768); }
    std::vector<TMonitorArea> Monitors() const override {
        return {{DesktopRect(), TRect(0, 0, 1024, 740)}, {kSecond, TRect(kSecond.left, 0, kSecond.right, 1050)}};
    }
    std::vector<WideString> FontNames() const override { return inner_->FontNames(); }
    int MessageBox(const TMessageBoxRequest& r) override { return inner_->MessageBox(r); }

private:
    std::unique_ptr<TWidgetSet> inner_ = CreateHeadlessWidgetSet();
};

class RzPopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(100, 100, 400, 300);
        anchor_ = new TPanel(form_.get());
        anchor_->SetParent(form_.get());
        anchor_->SetBounds(20, 30, 120, 22);
        panel_ = new TRzPopupPanel(form_.get());
        panel_->SetParent(form_.get());
        panel_->SetBounds(0, 0, 150, 90);
        inner_ = new TPanel(form_.get());
        inner_->SetParent(panel_);
        inner_->SetAlign(alClient);
        // Runs the queued steps one per posted message, inside the popup's loop.
        injector_ = new TPanel(form_.get());
        injector_->SetParent(form_.get());
        const auto original = injector_->WindowProc;
        injector_->WindowProc = [this, original](TMessage& m) {
            if (m.Msg != kInject) return original(m);
            steps_.at(m.WParam)();
        };
    }
    void Queue(std::function<void()> step) {
        steps_.push_back(std::move(step));
        PostMessageW(injector_->Handle(), kInject, steps_.size() - 1, 0);
    }
    static bool Send(UINT msg, HWND window, WPARAM w = 0) { return FilterToolkitInput({msg, window, w, 0}); }

    std::unique_ptr<TForm> form_;
    TPanel* anchor_ = nullptr;
    TRzPopupPanel* panel_ = nullptr;
    TPanel* inner_ = nullptr;
    TPanel* injector_ = nullptr;
    std::deque<std::function<void()>> steps_;  // a running step may queue another
};

TEST_F(RzPopupTest, ClosePopupAcceptsAndChildrenComeBack) {
    int popups = 0, closes = 0;
    panel_->OnPopup = [&](TObject*) { ++popups; };
    panel_->OnClose = [&](TObject*) { ++closes; };
    bool nested = true;
    Queue([&] {
        ASSERT_TRUE(panel_->IsPoppedUp());
        EXPECT_EQ(inner_->Parent(), panel_->CurrentPopup()) << "children are borrowed";
        nested = panel_->Popup(anchor_);  // a second popup at the same time is refused
        panel_->ClosePopup();
    });
    EXPECT_TRUE(panel_->Popup(anchor_));
    EXPECT_FALSE(nested);
    EXPECT_FALSE(panel_->IsPoppedUp());
    EXPECT_EQ(inner_->Parent(), panel_);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(closes, 1);
}

TEST_F(RzPopupTest, DismissedByEscapeAClickOutsideOrDeactivation) {
    struct Case {
        const char* what;
        UINT msg;
        WPARAM w;
        bool swallowed;
    } cases[] = {
        {"Esc", WM_KEYDOWN, 0x1B, true},
        {"click outside", WM_LBUTTONDOWN, 0, true},
        {"application deactivated", WM_ACTIVATEAPP, 0, false},
    };
    for (const Case& c : cases) {
        bool swallowed = !c.swallowed;
        Queue([&] { swallowed = Send(c.msg, c.msg == WM_LBUTTONDOWN ? anchor_->Handle() : nullptr, c.w); });
        EXPECT_FALSE(panel_->Popup(anchor_)) << c.what;
        EXPECT_EQ(swallowed, c.swallowed) << c.what;
    }
}

TEST_F(RzPopupTest, AClickInsideIsDeliveredAndTheLoopGoesOn) {
    bool swallowed = true;
    Queue([&] {
        swallowed = Send(WM_LBUTTONDOWN, inner_->Handle());
        Queue([&] { panel_->ClosePopup(); });
    });
    EXPECT_TRUE(panel_->Popup(anchor_));
    EXPECT_FALSE(swallowed);
}

TEST_F(RzPopupTest, PlacedUnderTheControlAndKeptOnTheWorkArea) {
    const TRect work = Screen->WorkAreaRect();
    struct Case {
        TRect anchor;  // in the form's client area
        bool flipsAbove, shiftsLeft;
    } cases[] = {
        {TRect(20, 30, 140, 52), false, false},
        {TRect(20, work.bottom - 60, 140, work.bottom - 38), true, false},
        {TRect(work.right - 140, 30, work.right - 60, 52), false, true},
    };
    for (const Case& c : cases) {
        form_->SetBounds(0, 0, work.right, work.bottom);
        anchor_->SetBoundsRect(c.anchor);
        const TPoint origin = form_->ClientToScreen(TPoint(c.anchor.left, c.anchor.top));
        TRect shown;
        Queue([&] {
            shown = panel_->CurrentPopup()->BoundsRect();
            panel_->ClosePopup();
        });
        panel_->SetAlignment(taLeftJustify);
        ASSERT_TRUE(panel_->Popup(anchor_));
        EXPECT_EQ(shown.Width(), 150);
        EXPECT_EQ(shown.top, c.flipsAbove ? origin.y - 90 : origin.y + c.anchor.Height());
        EXPECT_EQ(shown.left, c.shiftsLeft ? work.right - 150 : origin.x);
    }
}

TEST(RzPopupMonitors, APopupOpensOnTheMonitorOfItsControl) {
    SetWidgetSet(std::make_unique<TwoMonitors>());
    SetGuiThread();
    Application->Initialize();
    {
        auto form = std::make_unique<TForm>(nullptr);
        form->SetBounds(TwoMonitors::kSecond.left + 1500, 900, 400, 170);
        auto* anchor = new TPanel(form.get());
        anchor->SetParent(form.get());
        anchor->SetBounds(250, 100, 120, 22);
        auto* panel = new TRzPopupPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(0, 0, 150, 90);
        (new TPanel(form.get()))->SetParent(panel);
        const TPoint origin = form->ClientToScreen(TPoint(250, 100));
        TRect shown;
        // Looked at from inside the popup's loop, through a posted message.
        auto* injector = new TPanel(form.get());
        injector->SetParent(form.get());
        injector->WindowProc = [&, original = injector->WindowProc](TMessage& m) {
            if (m.Msg != kInject) return original(m);
            shown = panel->CurrentPopup()->BoundsRect();
            panel->ClosePopup();
        };
        PostMessageW(injector->Handle(), kInject, 0, 0);
        panel->SetAlignment(taLeftJustify);
        panel->Popup(anchor);
        EXPECT_GE(shown.left, TwoMonitors::kSecond.left) << "not moved back onto the primary monitor";
        EXPECT_EQ(shown.left, std::min(origin.x, TwoMonitors::kSecond.right - 150));
        // Too low for the second monitor's work area: it opens above the control.
        EXPECT_EQ(shown.top, origin.y + 22 + 90 > 1050 ? origin.y - 90 : origin.y + 22);
        EXPECT_EQ(Screen->MonitorCount(), 2);
    }
    SetWidgetSet(nullptr);
}

TEST(NearestMonitor, HoldingElseClosest) {
    const std::vector<TMonitorArea> monitors = {{TRect(0, 0, 100, 100), {}}, {TRect(100, 0, 300, 50), {}}};
    struct Case {
        TPoint p;
        size_t expected;
    } cases[] = {{{50, 50}, 0}, {{150, 10}, 1}, {{99, 99}, 0}, {{100, 0}, 1}, {{250, 80}, 1}, {{-30, 500}, 0}, {{400, 10}, 1}};
    for (const Case& c : cases) EXPECT_EQ(NearestMonitor(monitors, c.p), c.expected) << c.p.x << "," << c.p.y;
    EXPECT_EQ(NearestMonitor({}, TPoint(1, 1)), 0u);
}

}  // namespace
