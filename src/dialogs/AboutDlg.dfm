object AboutDlg: TAboutDlg
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'About'
  ClientHeight = 360
  ClientWidth = 460
  Position = poMainFormCenter
  KeyPreview = True
  Font.Name = 'Tahoma'
  Font.Height = -13
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  object ScrollBox1: TScrollBox
    Left = 0
    Top = 0
    Width = 460
    Height = 360
    Align = alClient
    BorderStyle = bsNone
    Color = clWhite
    ParentColor = False
    object Label1: TTntLabel
      Left = 20
      Top = 16
      Width = 410
      Height = 20
      Caption = 'How to use Quillora Pro'
      Font.Name = 'Tahoma'
      Font.Height = -16
      Font.Style = [fsBold]
      ParentFont = False
    end
    object Label2: TTntLabel
      Left = 20
      Top = 46
      Width = 410
      Height = 70
      AutoSize = False
      WordWrap = True
      Caption = 'Choose a folder on the left to list its message files, or open a file from the File menu. Click a message to read it; check several to print, copy or export them together.'
    end
    object Label16: TTntLabel
      Left = 20
      Top = 126
      Width = 410
      Height = 36
      AutoSize = False
      WordWrap = True
      Caption = 'For support, or to download the latest help file, please visit'
    end
    object Label17: TTntLabel
      Left = 20
      Top = 164
      Width = 300
      Height = 18
      Cursor = crHandPoint
      Caption = 'www.kestrelwright.com/support'
      Font.Name = 'Tahoma'
      Font.Height = -13
      Font.Color = clBlue
      Font.Style = [fsUnderline]
      ParentFont = False
      Hint = 'Visit right now!'
      ShowHint = True
      OnClick = Label17Click
    end
    object Label3: TTntLabel
      Left = 20
      Top = 200
      Width = 410
      Height = 18
      Caption = 'Also from Kestrelwright:'
      Font.Name = 'Tahoma'
      Font.Height = -13
      Font.Style = [fsBold]
      ParentFont = False
    end
    object Label4: TTntLabel
      Left = 20
      Top = 222
      Width = 410
      Height = 36
      AutoSize = False
      WordWrap = True
      Caption = 'Quillora Batch: converts whole folders of saved messages at once.'
    end
    object lbVersion: TTntLabel
      Left = 20
      Top = 276
      Width = 410
      Height = 54
      AutoSize = False
      WordWrap = True
      Caption = 'Quillora Pro version $WCREV$'#13#10'Copyright '#169' Kestrelwright. All rights reserved.'
    end
    object lbDescription: TTntLabel
      Left = 20
      Top = 336
      Width = 410
      Height = 18
      Caption = 'A viewer for saved e-mail messages and message stores.'
      Visible = False
    end
  end
end
