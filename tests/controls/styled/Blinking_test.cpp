// The shared blinking list steps every blinking control in time; retired properties in form
// data are read and dropped.
#include <gtest/gtest.h>

#include "controls/styled/BlinkingControlsList.h"
#include "controls/styled/OldPropReader.h"
#include "platform/vcl/Forms.h"

namespace {

class TBlinker : public TGraphicControl {
public:
    explicit TBlinker(TComponent* owner, bool blinking) : TGraphicControl(owner), blinking_(blinking) {
        BlinkingControls().AddControl(this);
    }
    ~TBlinker() override {
        BlinkingControls().RemoveControl(this);
        DropBlinkingListWhenEmpty();
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_BLINKQUERY) {
            m.Result = blinking_ ? 1 : 0;
            return;
        }
        if (m.Msg == CM_BLINKSTATE) {
            states.push_back(static_cast<int>(m.WParam));
            return;
        }
        TGraphicControl::WndProc(m);
    }
    std::vector<int> states;

private:
    bool blinking_;
};

TEST(BlinkingControls, EveryBlinkingControlStepsTogetherAndTheListGoesWithTheLast) {
    {
        TBlinker a(nullptr, true), b(nullptr, false), c(nullptr, true);
        TRzBlinkingControlsList& list = BlinkingControls();
        EXPECT_EQ(list.GetCount(), 3);
        EXPECT_EQ(list.BlinkState(), 1);
        list.Tick();
        list.Tick();
        list.Tick();
        EXPECT_EQ(a.states, (std::vector<int>{0, 1, 0}));
        EXPECT_EQ(c.states, a.states);
        EXPECT_TRUE(b.states.empty());  // not blinking: never told
        list.IntervalOn = 250;           // one setting for every control
        EXPECT_EQ(BlinkingControls().IntervalOn, 250);
    }
    EXPECT_FALSE(BlinkingControlsExist());
}

class TRetired : public TComponent {
    QUILLORA_COMPONENT(TRetired)
public:
    using TComponent::TComponent;
    int Tag2 = 0;
    void SetTag2(int v) { Tag2 = v; }
    int GetTag2() const { return Tag2; }

protected:
    void DefineProperties(TFiler* filer) override {
        TComponent::DefineProperties(filer);
        filer->DefineProperty("FrameFlatStyle", TRzOldPropReader::ReadOldEnumProp, nullptr, false);
        filer->DefineProperty("FrameSides", TRzOldPropReader::ReadOldSetProp, nullptr, false);
        filer->DefineProperty("Flat", TRzOldPropReader::ReadOldBooleanProp, nullptr, false);
        filer->DefineProperty("OldWidth", TRzOldPropReader::ReadOldIntegerProp, nullptr, false);
    }
};

const TMetaClass& TRetired::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRetired>("TRetired", &TComponent::StaticClass(), [](TClassBuilder<TRetired>& b) {
        b.Property("Tag2", &TRetired::GetTag2, &TRetired::SetTag2);
    });
    return meta;
}

TEST(OldPropReader, RetiredPropertiesLoadWithoutEffect) {
    TRetired root(nullptr);
    TReader reader(
        "object R: TRetired\n  FrameFlatStyle = fsFlat\n  FrameSides = [sdLeft, sdTop]\n  Flat = True\n  OldWidth = 4\n"
        "  Tag2 = 7\nend\n");
    reader.ReadRootComponent(&root);
    EXPECT_EQ(root.Tag2, 7);
}

}  // namespace
