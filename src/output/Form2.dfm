object Form2: TForm2
  Left = 0
  Top = 0
  BorderStyle = bsSingle
  BorderIcons = []
  Caption = 'Copying emails'
  ClientHeight = 90
  ClientWidth = 409
  Color = clBtnFace
  Position = poOwnerFormCenter
  Font.Name = 'Tahoma'
  Font.Height = -13
  OnActivate = FormActivate
  object uxProgressRz: TRzProgressStatus
    Left = 8
    Top = 10
    Width = 393
    Height = 22
    BarStyle = bsLED
    FrameStyle = fsStatus
    BackColor = clWindow
  end
  object uxCount: TTntLabel
    Left = 8
    Top = 44
    Width = 290
    Height = 17
    AutoSize = False
  end
  object uxCancel: TRzBitBtn
    Left = 318
    Top = 54
    Width = 83
    Height = 27
    Caption = 'Cancel'
    Cursor = crHandPoint
    Hint = 'Cancel copying messages'
    ShowHint = True
    OnClick = uxCancelClick
  end
  object tmrTimerOne: TTimer
    Enabled = False
    Interval = 100
    OnTimer = tmrTimerOneTimer
  end
end
