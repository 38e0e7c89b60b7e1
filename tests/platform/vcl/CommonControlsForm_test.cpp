// A form file with one of each common control: read, written and read again to the same text.
#include <gtest/gtest.h>

#include "platform/vcl/CommCtrl.h"
#include "platform/vcl/DateTimePicker.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/PageControl.h"
#include "platform/vcl/StatusBar.h"
#include "platform/vcl/ToolBar.h"
#include "platform/vcl/TreeView.h"

namespace {

class TControlsForm : public TForm {
    QUILLORA_COMPONENT(TControlsForm)
public:
    explicit TControlsForm(TComponent* owner) : TForm(owner) {}
    void PanelDraw(TCustomStatusBar*, TStatusPanel*, const TRect&) { ++drawn; }
    void PagesChange(TObject*) { ++changed; }
    int drawn = 0, changed = 0;
};

const TMetaClass& TControlsForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TControlsForm>("TControlsForm", &TForm::StaticClass(), [](TClassBuilder<TControlsForm>& b) {
        b.Method("PanelDraw", &TControlsForm::PanelDraw);
        b.Method("PagesChange", &TControlsForm::PagesChange);
    });
    return meta;
}

const char* const kForm = R"(object ControlsForm: TControlsForm
  Left = 0
  Top = 0
  Width = 500
  Height = 400
  Caption = 'Common controls'
  object Tools: TToolBar
    Left = 0
    Top = 0
    Width = 500
    Height = 44
    Images = Icons
    ShowCaptions = True
    Flat = True
    object OpenButton: TToolButton
      Caption = 'Open'
      ImageIndex = 0
    end
    object Sep: TToolButton
      Width = 8
      Style = tbsSeparator
    end
    object BoldButton: TToolButton
      Caption = 'Bold'
      Grouped = True
      Style = tbsCheck
      Down = True
    end
  end
  object Pages: TPageControl
    Left = 8
    Top = 50
    Width = 300
    Height = 200
    ActivePage = Second
    OnChange = PagesChange
    object First: TTabSheet
      Caption = 'First'
      object Folders: TTreeView
        Left = 0
        Top = 0
        Width = 120
        Height = 100
        Images = Icons
        ReadOnly = True
        ShowLines = False
        SortType = stText
      end
    end
    object Second: TTabSheet
      Caption = 'Second'
      TabVisible = False
      object When: TDateTimePicker
        Left = 4
        Top = 4
        Width = 120
        Height = 21
        MinDate = 36526
        DateTime = 45000.5
        Kind = dtkTime
        ShowCheckbox = True
        Checked = False
      end
      object Month: TMonthCalendar
        Left = 4
        Top = 30
        Width = 191
        Height = 154
        DateTime = 45001
      end
    end
  end
  object Tabs: TTabControl
    Left = 320
    Top = 50
    Width = 160
    Height = 100
    Tabs.Strings = (
      'One'
      'Two')
    TabIndex = 1
  end
  object Status: TStatusBar
    Left = 0
    Top = 381
    Width = 500
    Height = 19
    Panels = <
      item
        Text = 'Ready'
        Width = 120
      end
      item
        Alignment = taCenter
        Bevel = pbRaised
        Style = psOwnerDraw
        Width = 80
      end>
    SizeGrip = False
    OnDrawPanel = PanelDraw
  end
  object Icons: TImageList
    Width = 24
    Height = 24
  end
end
)";

TEST(CommonControlsForm, EveryControlSurvivesAFormFileRoundTrip) {
    RegisterCommonControlClasses();
    RegisterClass(TControlsForm::StaticClass());
    TControlsForm form(nullptr);
    ReadComponentText(kForm, &form);

    auto* tools = static_cast<TToolBar*>(form.FindComponent("Tools"));
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->ButtonCount(), 3);
    EXPECT_TRUE(static_cast<TToolButton*>(form.FindComponent("BoldButton"))->Down());
    EXPECT_EQ(tools->Images(), form.FindComponent("Icons"));
    auto* pages = static_cast<TPageControl*>(form.FindComponent("Pages"));
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), form.FindComponent("Second"));
    EXPECT_EQ(pages->TabCount(), 1);
    EXPECT_EQ(form.changed, 0);  // reading raises no change events
    auto* folders = static_cast<TTreeView*>(form.FindComponent("Folders"));
    EXPECT_EQ(folders->Parent(), form.FindComponent("First"));
    EXPECT_EQ(folders->SortType(), stText);
    auto* when = static_cast<TDateTimePicker*>(form.FindComponent("When"));
    EXPECT_EQ(when->Kind(), dtkTime);
    EXPECT_FALSE(when->Checked());
    EXPECT_DOUBLE_EQ(when->Time(), 0.5);
    EXPECT_EQ(static_cast<TTabControl*>(form.FindComponent("Tabs"))->TabIndex(), 1);
    auto* status = static_cast<TStatusBar*>(form.FindComponent("Status"));
    ASSERT_EQ(status->Panels()->Count(), 2);
    EXPECT_EQ(status->Panels()->Items(1)->Style(), psOwnerDraw);
    ASSERT_TRUE(status->OnDrawPanel);
    status->OnDrawPanel(status, status->Panels()->Items(1), TRect());
    EXPECT_EQ(form.drawn, 1);

    const std::string written = ComponentToText(&form);
    TControlsForm again(nullptr);
    ReadComponentText(written, &again);
    EXPECT_EQ(ComponentToText(&again), written);
    EXPECT_NE(written.find("Style = psOwnerDraw"), std::string::npos);
    EXPECT_NE(written.find("ActivePage = Second"), std::string::npos);
    EXPECT_NE(written.find("object Folders: TTreeView"), std::string::npos);
}

TEST(CommonControlsForm, VersionAndSharedSystemImageLists) {
    DLLVERSIONINFO info;
    EXPECT_EQ(ComCtl32GetVersion(&info), S_OK);
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 0u);
    info.cbSize = 3;
    EXPECT_EQ(ComCtl32GetVersion(&info), E_INVALIDARG);
    EXPECT_GE(ComCtl32PackedVersion(), 0x00040048u);  // new enough for the tree's tooltips

    TCustomImageList* small = SystemImageList(0);
    TCustomImageList* large = SystemImageList(1);
    EXPECT_EQ(small, SystemImageList(0));
    EXPECT_EQ(small->Width(), 16);
    EXPECT_EQ(large->Width(), 32);
    for (TCustomImageList* list : {small, large}) {
        EXPECT_GE(list->OverlayImage(SHARE_OVERLAY), 0);
        EXPECT_GE(list->OverlayImage(LINK_OVERLAY), 0);
        EXPECT_NE(list->OverlayImage(SHARE_OVERLAY), list->OverlayImage(LINK_OVERLAY));
        // The link overlay leaves the top right of the picture under it clear.
        const auto& px = list->Pixels(list->OverlayImage(LINK_OVERLAY));
        EXPECT_EQ(px[static_cast<std::size_t>(list->Width() - 1)] >> 24, 0u);
    }
}

}  // namespace
