// The framed edit over the headless widget set: the colour of each state, a focus colour that
// follows Color, hot-track switching the frame on, Enter as Tab, the drop-down keys and the
// drop button of a read-only edit.
#include <gtest/gtest.h>

#include "controls/styled/RzEdit.h"
#include "controls/styled/RzFrameController.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"

namespace {

class RzEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        RegisterStdCtrls();
        RegisterStyledEdits();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 300, 200);
        form_->Show();
        edit_ = new TRzEdit(form_.get());
        edit_->SetParent(form_.get());
        other_ = new TEdit(form_.get());
        other_->SetParent(form_.get());
        other_->SetTop(40);
    }
    std::unique_ptr<TForm> form_;
    TRzEdit* edit_ = nullptr;
    TEdit* other_ = nullptr;
};

TEST_F(RzEditTest, ColourFollowsTheState) {
    edit_->SetFocusColor(clYellow);
    edit_->SetReadOnlyColor(clAqua);
    edit_->SetDisabledColor(clGray);
    other_->SetFocus();
    EXPECT_EQ(edit_->Color(), clWindow);
    edit_->SetFocus();
    EXPECT_EQ(edit_->Color(), clYellow);
    edit_->SetReadOnly(true);
    EXPECT_EQ(edit_->Color(), clYellow) << "focused read-only keeps the focus colour";
    edit_->SetReadOnlyColorOnFocus(true);
    other_->SetFocus();
    edit_->SetFocus();
    EXPECT_EQ(edit_->Color(), clAqua);
    other_->SetFocus();
    EXPECT_EQ(edit_->Color(), clAqua);
    edit_->SetReadOnly(false);
    EXPECT_EQ(edit_->Color(), clWindow);
    edit_->SetEnabled(false);
    EXPECT_EQ(edit_->Color(), clGray);
    EXPECT_FALSE(edit_->IsColorStored());
    edit_->SetEnabled(true);
    EXPECT_EQ(edit_->Color(), clWindow);
    EXPECT_EQ(edit_->NormalColor(), clWindow);
}

TEST_F(RzEditTest, FormDataKeepsTheColourOnlyWhileEnabledAndNotFromAController) {
    edit_->SetName("Path");
    const auto written = [this] {
        const std::string text = ComponentToText(form_.get());
        const size_t at = text.find("object Path");
        return text.substr(at, text.find("end", at) - at);
    };
    edit_->SetColor(clYellow);
    EXPECT_NE(written().find("Color = clYellow"), std::string::npos) << written();
    edit_->SetEnabled(false);  // shows the disabled colour, which is not the edit's own
    EXPECT_EQ(written().find(" Color = "), std::string::npos) << written();
    edit_->SetEnabled(true);

    // A frame controller's settings arrive, and what it supplies is not written again.
    TRzFrameController fc(nullptr);
    fc.SetFrameColor(clRed);
    fc.SetFrameVisible(true);
    edit_->SetFrameController(&fc);
    EXPECT_EQ(edit_->FrameColor(), clRed);
    EXPECT_TRUE(edit_->FrameVisible());
    EXPECT_FALSE(edit_->IsColorStored());
    fc.SetFrameColor(clBlue);
    EXPECT_EQ(edit_->FrameColor(), clBlue);
    edit_->SetFrameController(nullptr);
    EXPECT_EQ(fc.ControlCount(), 0);
}

TEST_F(RzEditTest, FocusColourEqualToTheOldColourFollowsColor) {
    EXPECT_FALSE(edit_->IsFocusColorStored());
    edit_->SetColor(clCream);
    EXPECT_EQ(edit_->FocusColor(), clCream);
    edit_->SetFocusColor(clYellow);
    edit_->SetColor(clWhite);
    EXPECT_EQ(edit_->FocusColor(), clYellow);
    EXPECT_TRUE(edit_->IsFocusColorStored());
}

TEST_F(RzEditTest, HotTrackTurnsTheFrameOnAndResetsItsSidesUnlessLoading) {
    edit_->SetFrameSides({sdTop});
    edit_->SetFrameHotTrack(true);
    EXPECT_TRUE(edit_->FrameVisible());
    EXPECT_EQ(edit_->FrameSides(), sdAllSides);
    EXPECT_TRUE(edit_->DrawsCustomFrame()) << "themes are off, so the custom frame is drawn";
    EXPECT_EQ(edit_->CurrentFrameStyle(), fsFlat);
    edit_->SetFocus();
    EXPECT_EQ(edit_->CurrentFrameStyle(), fsFlatBold);

    TForm loaded(nullptr);
    ReadComponentText(R"(object Loaded: TForm
  object Edit: TRzEdit
    FrameFlat = False
    FrameFlatStyle = fsNone
    FrameSides = [sdLeft]
    FrameHotTrack = True
  end
end
)", &loaded);
    auto* read = dynamic_cast<TRzEdit*>(loaded.FindComponent("Edit"));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->FrameHotTrack());
    EXPECT_EQ(read->FrameSides(), TSides{sdLeft});
}

TEST_F(RzEditTest, EnterMovesTheFocusWithTabOnEnter) {
    edit_->SetTabOnEnter(true);
    edit_->SetText(u"abc");
    edit_->SetFocus();
    edit_->Perform(WM_CHAR, u'\r', 0);
    Application->ProcessMessages();
    EXPECT_TRUE(other_->Focused());
    EXPECT_EQ(edit_->GetText(), u"abc");
}

TEST_F(RzEditTest, DropDownKeysAndTheReadOnlyButton) {
    int drops = 0, closes = 0;
    edit_->OnDropDown = [&](TObject* s) {
        ++drops;
        EXPECT_TRUE(static_cast<TRzEdit*>(s)->DroppedDown());
    };
    edit_->OnCloseUp = [&](TObject*) { ++closes; };
    edit_->SetDropButtonVisible(true);
    EXPECT_TRUE(edit_->ShowDropButton());
    EXPECT_EQ(edit_->DropButtonRect().Width(), 16);
    constexpr LONG alt = 1 << 29, ctrl = 1 << 26;
    const struct {
        WORD key;
        LONG keyData;
        int drops;
    } keys[] = {{VK_DOWN, alt, 1}, {0x73, 0, 2}, {0x73, ctrl, 3}, {VK_DOWN, ctrl, 3}, {VK_DOWN, 0, 3}};
    for (const auto& k : keys) {
        edit_->Perform(WM_KEYDOWN, k.key, k.keyData);
        EXPECT_EQ(drops, k.drops) << k.key << " " << k.keyData;
    }
    EXPECT_EQ(closes, 3);
    EXPECT_FALSE(edit_->DroppedDown());
    edit_->SetReadOnly(true);
    EXPECT_FALSE(edit_->ShowDropButton());
    edit_->Perform(WM_KEYDOWN, 0x73, 0);
    EXPECT_EQ(drops, 3);
    edit_->SetReadOnly(false);
    EXPECT_TRUE(edit_->ShowDropButton());
    edit_->SetDropButtonVisible(false);
    edit_->SetReadOnly(true);
    edit_->SetReadOnly(false);
    EXPECT_FALSE(edit_->ShowDropButton());
}

TEST_F(RzEditTest, ValidationMessageRaises) {
    edit_->OnValidateError = [](TObject*, WideString& message) { message = u"Not a number"; };
    EXPECT_THROW(edit_->ValidateError(), EDBEditError);
    edit_->OnValidateError = nullptr;
    EXPECT_NO_THROW(edit_->ValidateError());
}

}  // namespace
