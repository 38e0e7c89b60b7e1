#include "platform/vcl/WidgetSet.h"

#include "platform/vcl/Controls.h"
#include "platform/vcl/WinUser.h"

namespace {

// The focused peer of the headless set: focus moves by SetFocus alone.
class HeadlessPeer;
HeadlessPeer* focusedPeer = nullptr;

class HeadlessPeer : public TWidgetPeer {
public:
    HeadlessPeer(TWinControl& control, HeadlessPeer* parent) : control_(control), parent_(parent) {}
    ~HeadlessPeer() override {
        if (focusedPeer == this) focusedPeer = nullptr;
    }

    void SetBounds(const TRect& bounds) override {
        const bool resized = bounds.Width() != bounds_.Width() || bounds.Height() != bounds_.Height();
        bounds_ = bounds;
        if (resized) control_.Perform(WM_SIZE, SIZE_RESTORED, MAKELPARAM(control_.ClientWidth(), control_.ClientHeight()));
    }
    void SetVisible(bool visible) override { visible_ = visible; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    void SetText(const WideString& text) override { text_ = text; }
    void SetFont(const LOGFONTW&, COLORREF) override {}
    void SetColor(COLORREF) override {}
    void SetZOrder(bool) override {}
    void Invalidate(const TRect*) override {}
    void Update() override {}
    void SetFocus() override {
        if (focusedPeer == this) return;
        HeadlessPeer* old = focusedPeer;
        focusedPeer = this;
        HWND oldHandle = old ? old->control_.WindowHandle() : nullptr;
        if (old) old->control_.Perform(WM_KILLFOCUS, reinterpret_cast<WPARAM>(control_.WindowHandle()), 0);
        if (focusedPeer == this) control_.Perform(WM_SETFOCUS, reinterpret_cast<WPARAM>(oldHandle), 0);
    }
    bool Focused() const override { return focusedPeer == this; }
    void SetCursor(int) override {}
    TPoint ClientOrigin() const override {
        const TPoint own(bounds_.left, bounds_.top);
        return parent_ ? parent_->ClientOrigin() + own : own;
    }

private:
    TWinControl& control_;
    HeadlessPeer* parent_;
    TRect bounds_;
    bool visible_ = false;
    bool enabled_ = true;
    WideString text_;
};

class HeadlessWidgetSet : public TWidgetSet {
public:
    const char* Name() const override { return "headless"; }
    bool HasDisplay() const override { return false; }
    std::unique_ptr<TWidgetPeer> CreatePeer(TWinControl& control, const TCreateParams&, TWidgetPeer* parent) override {
        return std::make_unique<HeadlessPeer>(control, static_cast<HeadlessPeer*>(parent));
    }
    void ProcessEvents() override {}
    void WaitEvents(std::optional<std::chrono::steady_clock::time_point> deadline) override {
        // Never sleep for good: without a display nothing but a post or a timer can come.
        if (!deadline) deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        WaitForQueuedMessage(deadline);
    }
    TPoint CursorPos() const override { return cursor_; }
    void SetCursorPos(TPoint p) override { cursor_ = p; }
    TRect DesktopRect() const override { return TRect(0, 0, 1024, 768); }
    std::vector<WideString> FontNames() const override { return {u"DejaVu Sans", u"Liberation Sans", u"Liberation Serif", u"Liberation Mono"}; }
    int MessageBox(const TMessageBoxRequest&) override { return 0; }

private:
    TPoint cursor_;
};

std::unique_ptr<TWidgetSet>& Slot() {
    static std::unique_ptr<TWidgetSet> slot = CreateHeadlessWidgetSet();
    return slot;
}

}  // namespace

std::unique_ptr<TWidgetSet> CreateHeadlessWidgetSet() { return std::make_unique<HeadlessWidgetSet>(); }

TWidgetSet& WidgetSet() { return *Slot(); }

size_t NearestMonitor(const std::vector<TMonitorArea>& monitors, TPoint p) {
    size_t best = 0;
    long long bestDistance = -1;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const TRect& r = monitors[i].Bounds;
        // Squared distance to the rectangle; 0 inside it.
        const long long dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
        const long long dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
        const long long d = dx * dx + dy * dy;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void SetWidgetSet(std::unique_ptr<TWidgetSet> widgetSet) {
    Slot() = widgetSet ? std::move(widgetSet) : CreateHeadlessWidgetSet();
}
