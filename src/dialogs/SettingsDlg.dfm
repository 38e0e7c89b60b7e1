object SettingsDlg: TSettingsDlg
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Settings'
  ClientHeight = 318
  ClientWidth = 400
  Position = poMainFormCenter
  Font.Name = 'Tahoma'
  Font.Height = -13
  OnShow = FormShow
  object TntGroupBox1: TTntGroupBox
    Left = 12
    Top = 10
    Width = 376
    Height = 78
    Caption = 'File association'
    TabOrder = 0
    object cbRegisterMSG: TTntCheckBox
      Left = 14
      Top = 24
      Width = 350
      Height = 19
      Caption = 'Register as default viewer for .MSG files'
      TabOrder = 0
    end
    object cbRegisterEML: TTntCheckBox
      Left = 14
      Top = 48
      Width = 350
      Height = 19
      Caption = 'Register as default viewer for .EML files'
      TabOrder = 1
    end
  end
  object TntGroupBox2: TTntGroupBox
    Left = 12
    Top = 98
    Width = 376
    Height = 168
    Caption = 'Language settings'
    TabOrder = 1
    object rbEnglish: TTntRadioButton
      Left = 14
      Top = 24
      Width = 170
      Height = 19
      Caption = 'English'
      Checked = True
      TabOrder = 0
      OnClick = rbCustomClick
    end
    object rbFrench: TTntRadioButton
      Left = 14
      Top = 48
      Width = 170
      Height = 19
      Caption = 'Fran'#231'ais'
      TabOrder = 1
      OnClick = rbCustomClick
    end
    object rbGerman: TTntRadioButton
      Left = 14
      Top = 72
      Width = 170
      Height = 19
      Caption = 'Deutsch'
      TabOrder = 2
      OnClick = rbCustomClick
    end
    object rbSpanish: TTntRadioButton
      Left = 190
      Top = 24
      Width = 170
      Height = 19
      Caption = 'Espa'#241'ol'
      TabOrder = 3
      OnClick = rbCustomClick
    end
    object rbRussian: TTntRadioButton
      Left = 190
      Top = 48
      Width = 170
      Height = 19
      Caption = #1056#1091#1089#1089#1082#1080#1081
      TabOrder = 4
      OnClick = rbCustomClick
    end
    object rbItaliano: TTntRadioButton
      Left = 190
      Top = 72
      Width = 170
      Height = 19
      Caption = 'Italiano'
      TabOrder = 5
      OnClick = rbCustomClick
    end
    object rbCustom: TTntRadioButton
      Left = 14
      Top = 100
      Width = 170
      Height = 19
      Caption = 'Custom'
      TabOrder = 6
      OnClick = rbCustomClick
    end
    object edCustomLangDB: TTntEdit
      Left = 14
      Top = 128
      Width = 242
      Height = 24
      Enabled = False
      TabOrder = 7
    end
    object btnBrowse: TTntButton
      Left = 264
      Top = 126
      Width = 100
      Height = 27
      Caption = 'Browse'
      Enabled = False
      TabOrder = 8
      OnClick = btnBrowseClick
    end
  end
  object cbPrintPageBreaks: TTntCheckBox
    Left = 12
    Top = 282
    Width = 180
    Height = 19
    Caption = 'Print emails with page breaks'
    TabOrder = 2
    Visible = False
  end
  object TntButton1: TTntButton
    Left = 214
    Top = 278
    Width = 82
    Height = 27
    Caption = 'OK'
    Default = True
    TabOrder = 3
    OnClick = TntButton1Click
  end
  object TntButton2: TTntButton
    Left = 306
    Top = 278
    Width = 82
    Height = 27
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 4
  end
end
