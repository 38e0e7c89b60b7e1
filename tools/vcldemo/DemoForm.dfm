object DemoForm: TDemoForm
  Left = 0
  Top = 0
  Width = 480
  Height = 320
  Caption = 'Class library demonstration'
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  Font.Height = -13
  Position = poScreenCenter
  ShowHint = True
  OnCreate = FormCreate
  object Header: TDemoPanel
    Left = 0
    Top = 0
    Width = 480
    Height = 48
    Align = alTop
    Caption = 'Quillora '#8212' forms from form files'
    Color = clNavy
    Font.Color = clWhite
    Font.Height = -16
    Font.Style = [fsBold]
  end
  object Footer: TDemoPanel
    Left = 0
    Top = 280
    Width = 480
    Height = 28
    Align = alBottom
    Caption = 'Ready'
    Hint = 'The status line shows the time'
  end
  object Side: TDemoPanel
    Left = 0
    Top = 48
    Width = 120
    Height = 232
    Align = alLeft
    Caption = ''
    Color = clWindow
    object NameLabel: TDemoLabel
      Left = 12
      Top = 16
      Width = 96
      Height = 20
      Caption = 'Swatches:'
    end
    object Red: TDemoSwatch
      Left = 12
      Top = 44
      Width = 96
      Height = 28
      Color = clRed
      Hint = 'Red'
      TabOrder = 0
      TabStop = True
      OnClick = SwatchClick
    end
    object Green: TDemoSwatch
      Left = 12
      Top = 80
      Width = 96
      Height = 28
      Color = clGreen
      Hint = 'Green'
      TabOrder = 1
      TabStop = True
      OnClick = SwatchClick
    end
    object Blue: TDemoSwatch
      Left = 12
      Top = 116
      Width = 96
      Height = 28
      Color = clBlue
      Hint = 'Blue'
      TabOrder = 2
      TabStop = True
      OnClick = SwatchClick
    end
  end
  object Canvas: TDemoPanel
    Left = 120
    Top = 48
    Width = 360
    Height = 232
    Align = alClient
    Caption = 'Click a swatch'
    Color = clWhite
  end
  object Clock: TTimer
    Interval = 1000
    OnTimer = ClockTimer
  end
end
