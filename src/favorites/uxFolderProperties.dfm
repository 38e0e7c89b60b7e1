object uxFolderProperties: TuxFolderProperties
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Caption = 'Properties'
  ClientHeight = 212
  ClientWidth = 402
  Position = poMainFormCenter
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  OnActivate = FormActivate
  object uxTabs: TTntPageControl
    Left = 0
    Top = 0
    Width = 402
    Height = 174
    Align = alTop
    TabOrder = 0
    object uxGeneralInfo: TTntTabSheet
      Caption = 'General Info'
      object uxTittle: TTntLabel
        Left = 16
        Top = 16
        Width = 23
        Height = 13
        Caption = 'Title:'
      end
      object TntEdit1: TTntEdit
        Left = 16
        Top = 31
        Width = 362
        Height = 21
        TabOrder = 0
      end
      object uxLbFolderList: TTntLabel
        Left = 16
        Top = 63
        Width = 34
        Height = 13
        Caption = 'Folder:'
      end
      object uxFolders: TRzImageComboBox
        Left = 16
        Top = 78
        Width = 362
        Height = 22
        ItemHeight = 16
        TabOrder = 1
      end
    end
    object uxComment: TTntTabSheet
      Caption = 'Comment'
      object uxEditComment: TTntMemo
        Left = 0
        Top = 0
        Width = 394
        Height = 146
        Align = alClient
        TabOrder = 0
      end
    end
  end
  object uxOk: TRzButton
    Left = 238
    Top = 181
    Width = 74
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object uxCancel: TRzButton
    Left = 322
    Top = 181
    Width = 74
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end
