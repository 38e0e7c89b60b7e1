// Hints over the headless widget set: the short and long parts, Application.Hint and OnHint as
// the mouse moves over controls, ShowHint taken from the parent, CM_HINTSHOW changing the text,
// the hint window (of HintWindowClass) and CancelHint.
#include <gtest/gtest.h>

#include "platform/vcl/Forms.h"
#include "platform/vcl/HintWindow.h"

namespace {

TEST(HintTest, ShortAndLongParts) {
    struct Case {
        const char16_t* hint;
        const char16_t* shortHint;
        const char16_t* longHint;
    };
    const Case cases[] = {
        {u"Open|Opens a message file", u"Open", u"Opens a message file"},
        {u"Both", u"Both", u"Both"},
        {u"|Only long", u"", u"Only long"},
        {u"Only short|", u"Only short", u""},
        {u"a|b|c", u"a", u"b|c"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetShortHint(c.hint), c.shortHint);
        EXPECT_EQ(GetLongHint(c.hint), c.longHint);
    }
}

class TCountingHint : public THintWindow {
    QUILLORA_COMPONENT(TCountingHint)
public:
    using THintWindow::THintWindow;
    void ActivateHintData(TRect rect, const WideString& hint, void* data) override {
        ++shown;
        THintWindow::ActivateHintData(rect, hint, data);
    }
    int shown = 0;
};

const TMetaClass& TCountingHint::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TCountingHint>("TCountingHint", &THintWindow::StaticClass());
    return meta;
}

struct HintFixture : ::testing::Test {
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 300, 200);
        form->SetShowHint(true);
        button = new TCustomControl(form);
        button->SetParent(form);
        button->SetBounds(10, 10, 80, 30);
        button->SetHint(u"Open|Opens a message file");
        quiet = new TCustomControl(form);
        quiet->SetParent(form);
        quiet->SetBounds(10, 100, 80, 30);
        quiet->SetHint(u"Save|Saves the message");
        quiet->SetShowHint(false);
        form->Show();
        Application->OnHint = [this](TObject*) { hints.push_back(Application->Hint()); };
    }
    void TearDown() override {
        Application->CancelHint();
        Application->OnHint = nullptr;
        Application->SetHint({});
        delete form;
    }
    void MoveTo(TWinControl* over, int x, int y) { over->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

    TForm* form = nullptr;
    TCustomControl* button = nullptr;
    TCustomControl* quiet = nullptr;
    std::vector<WideString> hints;
};

TEST_F(HintFixture, MouseOverControlsSetsTheLongHintAndShowsTheShortOne) {
    MoveTo(button, 5, 5);
    ASSERT_EQ(hints, std::vector<WideString>{u"Opens a message file"});
    EXPECT_TRUE(button->ShowHint());  // from the form
    Application->ActivateHint(button->ClientToScreen({5, 5}));
    THintWindow* window = Application->HintWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Active());
    EXPECT_EQ(window->Caption(), u"Open");
    EXPECT_EQ(window->Color(), Application->HintColor);
    EXPECT_GT(window->Width(), 6);
    EXPECT_GE(window->Top(), button->ClientToScreen({5, 5}).y);

    // A control that does not show hints still reports its long hint.
    MoveTo(quiet, 5, 5);
    EXPECT_FALSE(window->Active());
    EXPECT_EQ(Application->Hint(), u"Saves the message");
    Application->ActivateHint(quiet->ClientToScreen({5, 5}));
    EXPECT_FALSE(window->Active());
    EXPECT_EQ(hints.size(), 2u);
}

TEST_F(HintFixture, HintShowMayChangeTheTextAndTheWindowClass) {
    auto inherited = button->WindowProc;
    button->WindowProc = [inherited, b = button](TMessage& m) {
        inherited(m);
        if (m.Msg == CM_HINTSHOW) {
            auto* info = reinterpret_cast<THintInfo*>(m.LParam);
            EXPECT_EQ(info->HintControl, b);
            info->HintStr += u" (Ctrl+O)";
        }
    };
    const TMetaClass* saved = HintWindowClass;
    HintWindowClass = &TCountingHint::StaticClass();
    MoveTo(button, 5, 5);
    Application->ActivateHint(button->ClientToScreen({5, 5}));
    HintWindowClass = saved;
    auto* window = dynamic_cast<TCountingHint*>(Application->HintWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->shown, 1);
    EXPECT_EQ(window->Caption(), u"Open (Ctrl+O)");
    Application->CancelHint();
    EXPECT_FALSE(window->Active());
}

}  // namespace
