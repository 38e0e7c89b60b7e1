// The toolbar over the headless widget set: rows that wrap, separators, columns, the overflow
// button, text options, the automatic border, the stored control order and a form file of a
// toolbar whose buttons run actions.
#include <gtest/gtest.h>

#include "controls/styled/RzStyledControls.h"
#include "controls/styled/RzToolbar.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/VclClasses.h"

namespace {

class RzToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetGuiThread();
        RegisterVclClasses();
        RegisterStyledControls();
        Application->Initialize();
        form_ = std::make_unique<TForm>(nullptr);
        form_->SetBounds(0, 0, 400, 300);
        form_->Show();
        bar_ = new TRzToolbar(form_.get());
        bar_->SetParent(form_.get());
        bar_->SetAlign(alNone);
        bar_->SetBounds(0, 0, 200, 32);
    }
    TRzToolButton* Button(const char* name, int width = 50) {
        auto* b = new TRzToolButton(form_.get());
        b->SetName(name);
        b->SetParent(bar_);
        b->SetWidth(width);
        return b;
    }
    std::unique_ptr<TForm> form_;
    TRzToolbar* bar_ = nullptr;
};

TEST_F(RzToolbarTest, ControlsWrapIntoRowsAndTheToolbarGrowsToThem) {
    TRzToolButton* b[5];
    const char* names[] = {"A", "B", "C", "D", "E"};
    for (int i = 0; i < 5; ++i) b[i] = Button(names[i]);
    // x runs 4, 54, 104; the fourth would end at 204 > 200 - 4 and starts the second row.
    EXPECT_EQ(b[0]->BoundsRect(), TRect(4, 2, 54, 27));
    EXPECT_EQ(b[2]->Left(), 104);
    EXPECT_EQ(b[3]->BoundsRect(), TRect(4, 27, 54, 52));
    EXPECT_EQ(b[4]->Left(), 54);
    EXPECT_EQ(bar_->Height(), 25 * 2 + 2 * 2);

    // A separator takes its place in the row; a hidden control takes none.
    auto* spacer = new TRzSpacer(form_.get());
    spacer->SetParent(bar_);
    bar_->ToolbarControls().Exclude(spacer);
    bar_->ToolbarControls().Exclude(b[3]);
    bar_->ToolbarControls().Exclude(b[4]);
    for (TControl* c : std::initializer_list<TControl*>{spacer, b[3], b[4]}) bar_->ToolbarControls().Include(c);
    b[1]->SetVisible(false);
    EXPECT_EQ(b[2]->Left(), 54);
    EXPECT_EQ(spacer->Left(), 104);
    EXPECT_EQ(b[3]->Left(), 112);
    EXPECT_EQ(b[4]->BoundsRect(), TRect(4, 27, 54, 52));
    // A removed control leaves the order.
    delete b[2];
    EXPECT_EQ(bar_->ToolbarControls().PositionOfName("C"), -1);
    EXPECT_EQ(spacer->Left(), 54);
}

TEST_F(RzToolbarTest, VerticalToolbarWrapsIntoColumns) {
    auto* side = new TPanel(form_.get());
    side->SetParent(form_.get());
    side->SetBevelOuter(bvNone);
    side->SetBounds(0, 0, 300, 100);
    bar_->SetParent(side);
    bar_->SetOrientation(orVertical);
    bar_->SetAlign(alLeft);
    TRzToolButton* b[3] = {Button("A", 25), Button("B", 25), Button("C", 25)};
    for (auto* x : b) x->SetHeight(40);
    // y runs 4, 44; the third would end at 124 > 100 - 4 and opens the second column.
    EXPECT_EQ(b[0]->BoundsRect(), TRect(4, 4, 29, 44));
    EXPECT_EQ(b[1]->Top(), 44);
    EXPECT_EQ(b[2]->BoundsRect(), TRect(29, 4, 54, 44));
    EXPECT_EQ(bar_->Width(), 25 * 2 + 2 + 2);
}

TEST_F(RzToolbarTest, WithoutWrappingTheOverflowButtonListsOnlyWhatIsCutOff) {
    bar_->SetWrapControls(false);
    TRzToolButton* b[5] = {Button("A"), Button("B"), Button("C"), Button("D"), Button("E")};
    EXPECT_EQ(bar_->Height(), 25 + 4) << "one row";
    ASSERT_TRUE(bar_->OverflowShown());
    EXPECT_EQ(bar_->OverflowButton()->BoundsRect(), TRect(186, 0, 200, bar_->Height()));
    EXPECT_TRUE(bar_->OverflowButton()->Visible());
    EXPECT_EQ(bar_->ToolbarControls().PositionOfControl(bar_->OverflowButton()), -1);
    EXPECT_EQ(bar_->HiddenToolButtons(), (std::vector<TRzToolButton*>{b[3], b[4]}));
    b[3]->SetVisible(false);
    b[4]->SetVisible(false);
    EXPECT_FALSE(bar_->OverflowShown()) << "everything shown fits";
    EXPECT_FALSE(bar_->OverflowButton()->Visible());
    bar_->SetWrapControls(true);
    EXPECT_FALSE(bar_->OverflowShown());
}

TEST_F(RzToolbarTest, TextOptionsSetButtonsAndAButtonSettingMakesThemCustom) {
    auto* b = Button("A");
    b->SetUseToolbarButtonSize(true);
    b->SetCaption(u"Go");
    bar_->SetTextOptions(ttoShowTextLabels);
    EXPECT_EQ(bar_->ButtonWidth(), 60);
    EXPECT_EQ(bar_->ButtonHeight(), 40);
    EXPECT_EQ(bar_->RowHeight(), 40);
    EXPECT_EQ(bar_->ButtonLayout(), blGlyphTop);
    EXPECT_TRUE(bar_->ShowButtonCaptions());
    EXPECT_EQ(bar_->TextOptions(), ttoShowTextLabels);
    EXPECT_EQ(b->BoundsRect(), TRect(4, 2, 64, 42));
    EXPECT_TRUE(b->ShowCaption());
    EXPECT_EQ(b->Layout(), blGlyphTop);
    bar_->SetButtonWidth(80);
    EXPECT_EQ(bar_->TextOptions(), ttoCustom);
    EXPECT_EQ(b->Width(), 80);
    bar_->SetTextOptions(ttoNoTextLabels);
    EXPECT_EQ(b->BoundsRect(), TRect(4, 2, 29, 27));
    EXPECT_FALSE(b->ShowCaption());
}

TEST_F(RzToolbarTest, AutoStyleFollowsTheAlignmentUntilABorderIsSetByHand) {
    bar_->SetAlign(alLeft);
    EXPECT_EQ(bar_->BorderSides(), TSides{sdLeft});
    EXPECT_EQ(bar_->BorderOuter(), fsGroove);
    EXPECT_EQ(bar_->Width(), 32);
    bar_->SetAlign(alBottom);
    EXPECT_EQ(bar_->BorderSides(), TSides{sdBottom});
    bar_->SetShowDivider(false);
    EXPECT_EQ(bar_->BorderOuter(), fsNone);
    bar_->SetBorderSides(sdAllSides);
    EXPECT_FALSE(bar_->AutoStyle());
    bar_->SetAlign(alTop);
    EXPECT_EQ(bar_->BorderSides(), sdAllSides);
}

const char* const kForm = R"(object Main: TForm
  Left = 0
  Top = 0
  Width = 640
  Height = 200
  object Icons: TImageList
    Width = 24
    Height = 24
  end
  object Actions: TActionList
    Images = Icons
    object ActOpen: TAction
      Caption = '&Open'
      ImageIndex = 0
      Hint = 'Open a message file'
    end
    object ActReply: TAction
      Caption = 'Reply'
      ImageIndex = 1
    end
  end
  object Stray: TRzToolButton
    Left = 300
    Top = 100
  end
  object TopBar: TRzToolbar
    Images = Icons
    ButtonWidth = 80
    ButtonHeight = 58
    RowHeight = 58
    ButtonLayout = blGlyphTop
    ShowButtonCaptions = True
    TextOptions = ttoCustom
    ToolbarControls = (
      Reply
      Stray
      Gap
      Open)
    object Open: TRzToolButton
      Action = ActOpen
    end
    object Reply: TRzToolButton
      Action = ActReply
      GradientColorStart = clWhite
      UseGradients = True
    end
    object Gap: TRzSpacer
    end
  end
end
)";

TEST_F(RzToolbarTest, FormFileOfAToolbarWithActionButtonsReadsAndWritesBack) {
    TForm form(nullptr);
    ReadComponentText(kForm, &form);
    auto* bar = dynamic_cast<TRzToolbar*>(form.FindComponent("TopBar"));
    auto* open = dynamic_cast<TRzToolButton*>(form.FindComponent("Open"));
    auto* reply = dynamic_cast<TRzToolButton*>(form.FindComponent("Reply"));
    ASSERT_TRUE(bar && open && reply);
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(open->Caption(), u"&Open");
    EXPECT_EQ(open->Hint(), u"Open a message file");
    EXPECT_EQ(open->ImageIndex(), 0);
    EXPECT_EQ(reply->ImageIndex(), 1);
    EXPECT_EQ(open->PictureList(), bar->Images());
    EXPECT_TRUE(open->ShowCaption());
    EXPECT_EQ(open->Layout(), blGlyphTop);
    EXPECT_EQ(open->Width(), 80);
    EXPECT_EQ(open->Height(), 58);
    EXPECT_EQ(reply->VisualStyle(), vsGradient) << "the older UseGradients";
    EXPECT_EQ(reply->SelectionColorStart(), TColor(clWhite));
    // "Stray" lives on the form, not the toolbar: dropped, and the stored order kept otherwise.
    const TRzToolbarControlList& order = bar->ToolbarControls();
    ASSERT_EQ(order.Count(), 3);
    EXPECT_EQ(order.Items(0).Control, reply);
    EXPECT_EQ(order.Items(1).Name, "Gap");
    EXPECT_EQ(order.Items(2).Control, open);
    EXPECT_EQ(reply->Left(), 4);
    EXPECT_EQ(open->Left(), 4 + 80 + 8);
    EXPECT_EQ(bar->Height(), 58 + 4);

    const std::string text = ComponentToText(&form);
    EXPECT_NE(text.find("ToolbarControls = (\n      Reply\n      Gap\n      Open)"), std::string::npos) << text;
    for (const char* absent : {"ActReply\n      ImageIndex", "ActOpen\n      ImageIndex", "UseGradients", "      Width = 80", "ShowCaption"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent << "\n" << text;
    EXPECT_NE(text.find("VisualStyle = vsGradient"), std::string::npos) << text;

    TForm again(nullptr);
    ReadComponentText(text, &again);
    auto* bar2 = dynamic_cast<TRzToolbar*>(again.FindComponent("TopBar"));
    ASSERT_NE(bar2, nullptr);
    ASSERT_EQ(bar2->ToolbarControls().Count(), 3);
    EXPECT_EQ(bar2->ToolbarControls().Items(0).Name, "Reply");
    EXPECT_EQ(ComponentToText(&again), text);
}

}  // namespace
