object frmAddItem: TfrmAddItem
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Caption = 'Add Item'
  ClientHeight = 134
  ClientWidth = 306
  Position = poMainFormCenter
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  OnActivate = FormActivate
  object uxLbTitle: TTntLabel
    Left = 8
    Top = 8
    Width = 23
    Height = 13
    Caption = 'Title:'
  end
  object uxTittle: TTntEdit
    Left = 8
    Top = 24
    Width = 285
    Height = 21
    TabOrder = 0
  end
  object uxLbFolderList: TTntLabel
    Left = 8
    Top = 55
    Width = 34
    Height = 13
    Caption = 'Folder:'
  end
  object uxFolders: TRzImageComboBox
    Left = 8
    Top = 71
    Width = 285
    Height = 22
    ItemHeight = 16
    TabOrder = 1
  end
  object uxOk: TRzButton
    Left = 197
    Top = 102
    Width = 74
    Height = 25
    Caption = 'OK'
    TabOrder = 2
    OnClick = uxOkClick
  end
  object uxCancel: TRzButton
    Left = 110
    Top = 102
    Width = 74
    Height = 25
    Caption = 'Cancel'
    TabOrder = 3
    OnClick = uxCancelClick
  end
end
