// A form file holding one of each styled control reads, keeps the retired properties out, and
// writes back only what differs from the defaults and stock kinds.
#include <gtest/gtest.h>

#include "controls/styled/RzBitBtn.h"
#include "controls/styled/RzEdit.h"
#include "controls/styled/RzImageComboBox.h"
#include "controls/styled/RzPanel.h"
#include "controls/styled/RzRadChk.h"
#include "controls/styled/RzSpinner.h"
#include "controls/styled/RzStyledControls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

namespace {

const char* const kForm = R"(object Styled: TForm
  Left = 0
  Top = 0
  Width = 400
  Height = 300
  object Frame: TRzPanel
    Left = 8
    Top = 8
    Width = 380
    Height = 200
    BorderOuter = fsGroove
    BorderInner = fsNone
    BorderSides = [sdLeft, sdTop, sdRight, sdBottom]
    UseGradients = True
    ThemeAware = False
    object Ok: TRzBitBtn
      Left = 8
      Top = 8
      Kind = bkOK
    end
    object Apply: TRzButton
      Left = 90
      Top = 8
      Caption = 'Apply'
      FrameFlat = True
      GroupIndex = 3
    end
    object Sub: TRzCheckBox
      Left = 8
      Top = 40
      Caption = 'Subfolders'
      State = cbChecked
      Flat = True
    end
    object Open: TRzRadioButton
      Left = 8
      Top = 60
      Caption = 'Open'
      Checked = True
    end
    object Year: TRzSpinner
      Left = 8
      Top = 80
      Max = 3000
      Value = 2026
      NumGlyphsMinus = 2
      Flat = True
    end
    object Path: TRzEdit
      Left = 8
      Top = 110
      FrameVisible = True
      TextHint = 'Folder'
    end
    object Zone: TRzComboBox
      Left = 8
      Top = 140
      Style = csOwnerDrawFixed
      Items.Strings = (
        '-01:00'
        '+00:00'
        '+01:00')
      Values.Strings = (
        'west'
        ''
        'east')
      ItemIndex = 1
      FrameFlat = True
    end
    object Folder: TRzImageComboBox
      Left = 200
      Top = 140
      ItemIndent = 16
      FrameVisible = True
    end
  end
end
)";

TEST(RzFormFile, OneOfEachReadsAndWritesBack) {
    SetGuiThread();
    RegisterStdCtrls();
    RegisterStyledControls();
    Application->Initialize();
    TForm form(nullptr);
    ReadComponentText(kForm, &form);
    auto* frame = dynamic_cast<TRzPanel*>(form.FindComponent("Frame"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->VisualStyle(), vsGradient);
    EXPECT_EQ(frame->BorderOuter(), fsGroove);
    auto* ok = dynamic_cast<TRzBitBtn*>(form.FindComponent("Ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->Caption(), u"OK");
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(dynamic_cast<TRzButton*>(form.FindComponent("Apply"))->HotTrack());
    EXPECT_TRUE(dynamic_cast<TRzCheckBox*>(form.FindComponent("Sub"))->Checked());
    EXPECT_TRUE(dynamic_cast<TRzCheckBox*>(form.FindComponent("Sub"))->HotTrack());
    EXPECT_TRUE(dynamic_cast<TRzRadioButton*>(form.FindComponent("Open"))->Checked());
    EXPECT_EQ(dynamic_cast<TRzSpinner*>(form.FindComponent("Year"))->Value(), 2026);
    EXPECT_EQ(dynamic_cast<TRzEdit*>(form.FindComponent("Path"))->TextHint(), u"Folder");
    auto* zone = dynamic_cast<TRzComboBox*>(form.FindComponent("Zone"));
    ASSERT_NE(zone, nullptr);
    EXPECT_EQ(zone->Text(), u"+00:00");
    EXPECT_EQ(zone->GetItemValue(2), u"east");
    EXPECT_TRUE(zone->FrameHotTrack());
    EXPECT_EQ(zone->FrameStyle(), fsStatus);
    auto* folder = dynamic_cast<TRzImageComboBox*>(form.FindComponent("Folder"));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->ItemIndent(), 16);
    EXPECT_TRUE(folder->FrameVisible());

    const std::string text = ComponentToText(&form);
    EXPECT_NE(text.find("Kind = bkOK"), std::string::npos) << text;
    for (const char* absent : {"ModalResult", "Default = True", "NumGlyphs", "Glyph.Data", "FrameFlat", "NumGlyphsMinus",
                               "UseGradients", "AllowEdit", "ShowFocusBorder"})
        EXPECT_EQ(text.find(absent), std::string::npos) << absent << "\n" << text;
    EXPECT_NE(text.find("BorderInner = fsNone"), std::string::npos) << "always stored";

    // Once the button leaves its stock role, the role is written again.
    ok->SetModalResult(mrRetry);
    const std::string again = ComponentToText(&form);
    EXPECT_NE(again.find("ModalResult = 4"), std::string::npos) << again;
    EXPECT_EQ(again.find("Kind = bkOK"), std::string::npos);
}

}  // namespace
