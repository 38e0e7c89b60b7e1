object fmBateStamp: TfmBateStamp
  Left = 0
  Top = 0
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = 'Export manager'
  ClientHeight = 515
  ClientWidth = 521
  Color = clBtnFace
  Position = poMainFormCenter
  Font.Name = 'MS Sans Serif'
  Font.Height = -13
  OnCreate = FormCreate
  OnShow = FormShow
  OnCloseQuery = FormCloseQuery
  OnResize = FormResize
  object RzLabel1: TRzLabel
    Left = 8
    Top = 20
    Caption = 'Destination folder:'
  end
  object edPath: TTntEdit
    Left = 144
    Top = 16
    Width = 289
    Height = 24
  end
  object RzBitBtn2: TRzBitBtn
    Left = 440
    Top = 15
    Width = 73
    Height = 26
    Caption = 'Browse...'
    OnClick = RzBitBtn2Click
  end
  object cbSameName: TTntRadioButton
    Left = 8
    Top = 50
    Width = 480
    Height = 19
    Caption = 'Give exported file the same name as the email file'
    Font.Name = 'Verdana'
    Font.Height = -12
    Checked = True
    OnClick = cbSameNameClick
  end
  object cbCustomScheme: TTntRadioButton
    Left = 8
    Top = 73
    Width = 480
    Height = 19
    Caption = 'Apply custom naming scheme to exported file:'
    Font.Name = 'Verdana'
    Font.Height = -12
    OnClick = cbCustomSchemeClick
  end
  object TntGroupBox1: TTntGroupBox
    Left = 8
    Top = 96
    Width = 505
    Height = 204
    object Label7: TTntLabel
      Left = 16
      Top = 20
      Caption = 'Text prefix'
      Font.Name = 'Verdana'
      Font.Height = -12
      Enabled = False
    end
    object WP: TTntEdit
      Left = 120
      Top = 17
      Width = 217
      Height = 24
      MaxLength = 127
      Enabled = False
    end
    object Label3: TTntLabel
      Left = 352
      Top = 20
      Caption = '(if none, leave blank)'
      Font.Name = 'Verdana'
      Font.Height = -12
      Enabled = False
    end
    object rbFileNumbering: TTntRadioButton
      Left = 16
      Top = 56
      Width = 400
      Height = 19
      Caption = 'Incrementally number files, beginning at '
      Font.Name = 'Verdana'
      Font.Height = -12
      Checked = True
      Enabled = False
      OnClick = rbFileNumberingClick
    end
    object edNumber: TTntEdit
      Left = 28
      Top = 79
      Width = 121
      Height = 24
      Alignment = taRightJustify
      MaxLength = 9
      Enabled = False
      OnKeyPress = edNumberKeyPress
    end
    object rbNumberRange: TTntRadioButton
      Left = 16
      Top = 119
      Width = 200
      Height = 19
      Caption = 'Letter prefix'
      Font.Name = 'Verdana'
      Font.Height = -12
      Enabled = False
      OnClick = rbNumberRangeClick
    end
    object cbLetter: TRzComboBox
      Left = 28
      Top = 142
      Width = 121
      Height = 24
      Style = csDropDownList
      DropDownCount = 14
      Items.Strings = (
          'NONE'
          'A'
          'B'
          'C'
          'D'
          'E'
          'F'
          'G'
          'H'
          'I'
          'J'
          'K'
          'L'
          'M'
          'N'
          'O'
          'P'
          'Q'
          'R'
          'S'
          'T'
          'U'
          'V'
          'W'
          'X'
          'Y'
          'Z')
      ItemIndex = 0
      Enabled = False
      OnChange = cbLetterChange
    end
    object Label1: TTntLabel
      Left = 250
      Top = 120
      Caption = 'Beginning at:'
      Font.Name = 'Verdana'
      Font.Height = -12
      Enabled = False
    end
    object cbNumberRange: TRzComboBox
      Left = 250
      Top = 142
      Width = 121
      Height = 24
      Style = csDropDownList
      Items.Strings = (
          '0'
          '00'
          '000'
          '0000'
          '00000'
          '000000')
      ItemIndex = 2
      Enabled = False
    end
    object cbIncreaseLetter: TTntCheckBox
      Left = 28
      Top = 172
      Width = 300
      Height = 19
      Caption = 'Allow to increment letter'
      Font.Name = 'Verdana'
      Font.Height = -12
      Enabled = False
    end
  end
  object cbExtractAttachment: TTntCheckBox
    Left = 8
    Top = 307
    Width = 340
    Height = 19
    Caption = 'Extract file attachments from the email'
    OnClick = cbExtractAttachmentClick
  end
  object cbInsertFileName: TTntCheckBox
    Left = 8
    Top = 330
    Width = 500
    Height = 19
    Caption = 'Insert this file name on the top line of the file'
  end
  object cbExportFolders: TTntCheckBox
    Left = 8
    Top = 353
    Width = 500
    Height = 19
    Caption = 'Export messages with attachments to separate folders'
  end
  object cbStopOnError: TTntCheckBox
    Left = 8
    Top = 376
    Width = 500
    Height = 19
    Caption = 'Stop export on error'
  end
  object cbCopyFailed: TTntCheckBox
    Left = 8
    Top = 399
    Width = 500
    Height = 19
    Caption = 'Copy failed messages to separate folder'
    OnClick = cbCopyFailedClick
  end
  object edFailedPath: TTntEdit
    Left = 24
    Top = 422
    Width = 298
    Height = 24
    OnChange = edFailedPathChange
  end
  object browseFailedPath: TRzBitBtn
    Left = 328
    Top = 422
    Width = 26
    Height = 25
    Caption = '...'
    OnClick = browseFailedPathClick
  end
  object ExportFormatLabel: TTntLabel
    Left = 358
    Top = 310
    Caption = 'Export to:'
  end
  object ExportFormatCombo: TComboBox
    Left = 428
    Top = 306
    Width = 85
    Height = 24
    Style = csDropDownList
  end
  object StartBtn: TRzBitBtn
    Left = 335
    Top = 464
    Width = 87
    Height = 27
    Caption = 'Start'
    Default = True
    OnClick = StartBtnClick
  end
  object CancelBtn: TRzBitBtn
    Left = 426
    Top = 464
    Width = 87
    Height = 27
    Caption = 'Cancel'
    Cancel = True
    OnClick = CancelBtnClick
  end
  object StatusBar1: TTntStatusBar
    Left = 0
    Top = 495
    Width = 521
    Height = 20
    Align = alBottom
    SizeGrip = False
    Panels = <
      item
        Style = psOwnerDraw
        Width = 100
      end
      item
        Width = 50
      end>
    OnDrawPanel = StatusBar1DrawPanel
  end
  object FileBox: TListBox
    Left = 8
    Top = 464
    Width = 40
    Height = 20
    Visible = False
  end
end
