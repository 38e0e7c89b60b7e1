object frmNewFolder: TfrmNewFolder
  Left = 0
  Top = 0
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu]
  Caption = 'Add new folder'
  ClientHeight = 133
  ClientWidth = 324
  Position = poMainFormCenter
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  object uxLbName: TLabel
    Left = 8
    Top = 8
    Width = 30
    Height = 13
    Caption = 'Name'
  end
  object uxName: TTntEdit
    Left = 8
    Top = 24
    Width = 310
    Height = 21
    TabOrder = 0
  end
  object uxLbDescription: TLabel
    Left = 8
    Top = 55
    Width = 54
    Height = 13
    Caption = 'Description'
  end
  object uxDescription: TTntEdit
    Left = 8
    Top = 71
    Width = 310
    Height = 21
    TabOrder = 1
  end
  object uxOK: TButton
    Left = 153
    Top = 102
    Width = 74
    Height = 25
    Caption = 'OK'
    Default = True
    TabOrder = 2
    OnClick = uxOKClick
  end
  object uxCancel: TButton
    Left = 243
    Top = 102
    Width = 74
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    TabOrder = 3
    OnClick = uxCancelClick
  end
end
