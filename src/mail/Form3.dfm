object Form3: TForm3
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Quillora Pro'
  ClientHeight = 105
  ClientWidth = 424
  Font.Name = 'Tahoma'
  Font.Height = -13
  OnShow = FormShow
  object TntLabel1: TTntLabel
    Left = 16
    Top = 16
    Width = 300
    Height = 17
    Caption = 'Preparing message, please wait...'
  end
  object TntButton1: TTntButton
    Left = 341
    Top = 72
    Width = 75
    Height = 25
    Caption = 'Cancel'
    TabOrder = 0
    TabStop = True
    OnClick = TntButton1Click
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 100
    OnTimer = Timer1Timer
  end
end
