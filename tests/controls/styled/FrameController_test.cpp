// The frame controller pushes its settings into linked controls by property name, filtered by
// each control's notification set.
#include <gtest/gtest.h>

#include "controls/styled/RzFrameController.h"
#include "platform/vcl/Filer.h"

namespace {

class TFramed : public TGraphicControl {
    QUILLORA_COMPONENT(TFramed)
public:
    explicit TFramed(TComponent* owner) : TGraphicControl(owner) {}
    ~TFramed() override { SetFrameController(nullptr); }
    TColor FocusColor() const { return focusColor_; }
    void SetFocusColor(TColor v) { focusColor_ = v; ++focusWrites; }
    TSides FrameSides() const { return sides_; }
    void SetFrameSides(TSides v) { sides_ = v; }
    TRzFrameControllerNotifications Notifications() const { return notifications_; }
    void SetNotifications(TRzFrameControllerNotifications v) { notifications_ = v; }
    TRzFrameController* FrameController() const { return controller_; }
    void SetFrameController(TRzFrameController* c) { LinkFrameController(*this, controller_, c); }
    int focusWrites = 0;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TGraphicControl::Notification(c, op);
        if (op == TOperation::opRemove && c == controller_) controller_ = nullptr;
    }

private:
    TColor focusColor_ = clYellow;
    TSides sides_ = {sdLeft};
    TRzFrameControllerNotifications notifications_ = fccAll;
    TRzFrameController* controller_ = nullptr;
};

const TMetaClass& TFramed::StaticClass() {
    static const TMetaClass& meta =
        DescribeClass<TFramed>("TFramed", &TGraphicControl::StaticClass(), [](TClassBuilder<TFramed>& b) {
            b.Property("FocusColor", &TFramed::FocusColor, &TFramed::SetFocusColor);
            b.Property("FrameSides", &TFramed::FrameSides, &TFramed::SetFrameSides);
            b.Property("FrameControllerNotifications", &TFramed::Notifications, &TFramed::SetNotifications);
        });
    return meta;
}

class TSelfFramed : public TGraphicControl, public IRzCustomFraming {
public:
    using TGraphicControl::TGraphicControl;
    void CustomFramingChanged() override { ++calls; }
    int calls = 0;
};

TEST(FrameController, LinkingPushesEverySettingOnceAndFiltersByNotifications) {
    TRzFrameController fc(nullptr);
    fc.SetColor(clAqua);  // FocusColor equalled Color: it moves along
    EXPECT_EQ(fc.FocusColor(), clAqua);
    TFramed a(nullptr), b(nullptr);
    b.SetNotifications(fccAll - TRzFrameControllerNotifications{fcpColor});
    b.SetColor(clRed);
    a.SetFrameController(&fc);
    b.SetFrameController(&fc);
    fc.AddControl(&a);  // listed already: nothing again
    EXPECT_EQ(fc.ControlCount(), 2);
    EXPECT_EQ(a.focusWrites, 1);
    EXPECT_EQ(a.Color(), clAqua);
    EXPECT_EQ(a.FocusColor(), clAqua);
    EXPECT_TRUE(a.FrameSides() == sdAllSides);  // copied as a set through its text
    fc.SetColor(clLime);
    EXPECT_EQ(a.Color(), clLime);
    EXPECT_EQ(b.Color(), clRed);
    EXPECT_EQ(fc.FocusColor(), clLime);
    EXPECT_EQ(a.FocusColor(), clAqua);  // moved without a push of its own
}

TEST(FrameController, UpdatesWaitForEndUpdateAndDestructionUnlinksBothWays) {
    TFramed a(nullptr);
    TSelfFramed self(nullptr);
    {
        TRzFrameController fc(nullptr);
        a.SetFrameController(&fc);
        fc.AddControl(&self);
        EXPECT_EQ(self.calls, 1);
        const int writes = a.focusWrites;
        fc.BeginUpdate();
        fc.SetFocusColor(clNavy);
        fc.SetFrameSides({sdTop});
        EXPECT_NE(a.FocusColor(), clNavy);
        fc.EndUpdate();
        EXPECT_EQ(a.FocusColor(), clNavy);
        EXPECT_TRUE(a.FrameSides() == TSides{sdTop});
        EXPECT_EQ(a.focusWrites, writes + 1);
        EXPECT_EQ(self.calls, 2);  // reads the settings itself, once per push
        fc.SetFrameHotTrack(true);
        EXPECT_TRUE(fc.FrameVisible());
        EXPECT_TRUE(fc.FrameSides() == sdAllSides);
        fc.RemoveControl(&self);
    }
    EXPECT_EQ(a.FrameController(), nullptr);
}

TEST(FrameController, RetiredPropertiesMapOntoTheirSuccessors) {
    struct Case {
        const char* text;
        TFrameStyle style, hotStyle;
        bool hotTrack;
    } const cases[] = {
        {"  FrameFlat = True\n", fsStatus, fsLowered, true},
        {"  FrameFlat = False\n", fsFlat, fsFlatBold, false},
        {"  FrameFocusStyle = fsGroove\n  FrameFlatStyle = fsFlat\n", fsFlat, fsGroove, false},
        {"  FrameFocusStyle = fsFlatRounded\n", fsFlat, fsFlatBold, false},  // no published style: dropped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TRzFrameController fc(nullptr);
        TReader reader(std::string("object F: TRzFrameController\n") + c.text + "end\n");
        reader.ReadRootComponent(&fc);
        EXPECT_EQ(fc.FrameStyle(), c.style);
        EXPECT_EQ(fc.FrameHotStyle(), c.hotStyle);
        EXPECT_EQ(fc.FrameHotTrack(), c.hotTrack);
    }
}

}  // namespace
