object csvExportDlg: TcsvExportDlg
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Export to CSV'
  ClientHeight = 170
  ClientWidth = 272
  Position = poMainFormCenter
  Font.Name = 'Tahoma'
  Font.Height = -13
  object Label1: TTntLabel
    Left = 16
    Top = 14
    Width = 240
    Height = 16
    Caption = 'CSV file encoding:'
  end
  object rbAnsi: TTntRadioButton
    Left = 32
    Top = 36
    Width = 200
    Height = 19
    Caption = 'ANSI'
    Checked = True
    TabOrder = 0
  end
  object rbUnicode: TTntRadioButton
    Left = 32
    Top = 60
    Width = 200
    Height = 19
    Caption = 'UNICODE'
    TabOrder = 1
  end
  object Bevel1: TBevel
    Left = 16
    Top = 88
    Width = 240
    Height = 2
    Shape = bsTopLine
  end
  object cbExportBody: TTntCheckBox
    Left = 16
    Top = 98
    Width = 220
    Height = 19
    Caption = 'Export body'
    TabOrder = 2
  end
  object exportBtn: TTntButton
    Left = 84
    Top = 130
    Width = 82
    Height = 27
    Caption = 'Export'
    Default = True
    ModalResult = 1
    TabOrder = 3
  end
  object cancelBtn: TTntButton
    Left = 174
    Top = 130
    Width = 82
    Height = 27
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 4
  end
end
