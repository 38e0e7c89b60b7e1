object OpenAttachmentDlg: TOpenAttachmentDlg
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Attachment manager'
  ClientHeight = 150
  ClientWidth = 284
  Position = poMainFormCenter
  KeyPreview = True
  Font.Name = 'Tahoma'
  Font.Height = -13
  OnActivate = FormActivate
  OnKeyDown = FormKeyDown
  object rbOpen: TTntRadioButton
    Left = 24
    Top = 16
    Width = 240
    Height = 19
    Caption = 'Open attachment'
    Checked = True
    TabOrder = 0
  end
  object rbSave: TTntRadioButton
    Left = 24
    Top = 40
    Width = 240
    Height = 19
    Caption = 'Save attachment'
    TabOrder = 1
  end
  object rbSaveAll: TTntRadioButton
    Left = 24
    Top = 64
    Width = 240
    Height = 19
    Caption = 'Save all attachments'
    TabOrder = 4
  end
  object Bevel1: TBevel
    Left = 12
    Top = 96
    Width = 260
    Height = 2
    Shape = bsTopLine
    Style = bsRaised
  end
  object Button3: TTntButton
    Left = 190
    Top = 110
    Width = 82
    Height = 27
    Cancel = True
    Caption = 'Cancel'
    TabOrder = 2
    OnClick = Button3Click
  end
  object bbOk: TTntButton
    Left = 100
    Top = 110
    Width = 82
    Height = 27
    Caption = 'OK'
    Default = True
    TabOrder = 3
    OnClick = bbOkClick
  end
end
