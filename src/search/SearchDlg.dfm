object SearchDlg: TSearchDlg
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Search Dialog'
  ClientHeight = 578
  ClientWidth = 537
  Position = poMainFormCenter
  Font.Name = 'Tahoma'
  Font.Height = -13
  OnShow = FormShow
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  object SearchPanel: TRzPanel
    Left = 0
    Top = 0
    Width = 537
    Height = 556
    Align = alClient
    BorderOuter = fsNone
    object Label1: TTntLabel
      Left = 16
      Top = 16
      Width = 120
      Height = 16
      Caption = 'Search in:'
    end
    object edFolder: TTntEdit
      Left = 16
      Top = 36
      Width = 390
      Height = 22
    end
    object RzBitBtn5: TRzBitBtn
      Left = 416
      Top = 33
      Width = 105
      Height = 27
      Caption = 'Browse'
      OnClick = RzBitBtn5Click
    end
    object rbSubFolder: TRzCheckBox
      Left = 16
      Top = 66
      Width = 200
      Height = 19
      Caption = 'Include SubFolders'
      State = cbChecked
    end
    object rbCaseSensitive: TRzCheckBox
      Left = 236
      Top = 66
      Width = 200
      Height = 19
      Caption = 'Case-sensitive'
    end
    object Label2: TTntLabel
      Left = 16
      Top = 98
      Width = 120
      Height = 16
      Caption = 'Search for:'
    end
    object rzcbEml: TRzCheckBox
      Left = 16
      Top = 118
      Width = 90
      Height = 19
      Caption = '*.eml'
      State = cbChecked
    end
    object rzcbMsg: TRzCheckBox
      Left = 116
      Top = 118
      Width = 90
      Height = 19
      Caption = '*.msg'
      State = cbChecked
    end
    object rzcbPst: TRzCheckBox
      Left = 216
      Top = 118
      Width = 90
      Height = 19
      Caption = '*.pst'
      State = cbChecked
    end
    object Label3: TTntLabel
      Left = 16
      Top = 150
      Width = 200
      Height = 16
      Caption = 'Search criterias:'
    end
    object Label4: TTntLabel
      Left = 16
      Top = 174
      Width = 100
      Height = 16
      Caption = 'From:'
    end
    object edFrom: TTntEdit
      Left = 120
      Top = 170
      Width = 280
      Height = 22
    end
    object cbWholeFrom: TRzCheckBox
      Left = 412
      Top = 172
      Width = 110
      Height = 19
      Caption = 'Exact match'
    end
    object Label5: TTntLabel
      Left = 16
      Top = 204
      Width = 100
      Height = 16
      Caption = 'To:'
    end
    object edTo: TTntEdit
      Left = 120
      Top = 200
      Width = 280
      Height = 22
    end
    object cbWholeTo: TRzCheckBox
      Left = 412
      Top = 202
      Width = 110
      Height = 19
      Caption = 'Exact match'
    end
    object Label6: TTntLabel
      Left = 16
      Top = 234
      Width = 100
      Height = 16
      Caption = 'CC:'
    end
    object edCC: TTntEdit
      Left = 120
      Top = 230
      Width = 280
      Height = 22
    end
    object cbWholeCC: TRzCheckBox
      Left = 412
      Top = 232
      Width = 110
      Height = 19
      Caption = 'Exact match'
    end
    object Label7: TTntLabel
      Left = 16
      Top = 264
      Width = 100
      Height = 16
      Caption = 'Subject:'
    end
    object edSubject: TTntEdit
      Left = 120
      Top = 260
      Width = 280
      Height = 22
    end
    object cbWholeSubject: TRzCheckBox
      Left = 412
      Top = 262
      Width = 110
      Height = 19
      Caption = 'Exact match'
    end
    object Label8: TTntLabel
      Left = 16
      Top = 294
      Width = 100
      Height = 16
      Caption = 'Header Text:'
    end
    object edHeader: TTntEdit
      Left = 120
      Top = 290
      Width = 280
      Height = 22
    end
    object Label9: TTntLabel
      Left = 16
      Top = 324
      Width = 100
      Height = 16
      Caption = 'Message Text:'
    end
    object edText: TTntEdit
      Left = 120
      Top = 320
      Width = 280
      Height = 22
    end
    object Label10: TTntLabel
      Left = 16
      Top = 360
      Width = 100
      Height = 16
      Caption = 'From date:'
    end
    object rzDate1: TRzDateTimeEdit
      Left = 120
      Top = 356
      Width = 150
      Height = 22
      CalendarElements = [ceYear, ceMonth, ceArrows, ceDaysOfWeek, ceFillDays, ceTodayButton]
      Color = clWhite
      ReadOnlyColor = clWhite
      FrameVisible = True
      Cursor = crHandPoint
      EditType = etDate
      OnChange = rzDate1Change
      OnExit = rzDate1Exit
    end
    object Label11: TTntLabel
      Left = 16
      Top = 390
      Width = 100
      Height = 16
      Caption = 'To date:'
    end
    object rzDate2: TRzDateTimeEdit
      Left = 120
      Top = 386
      Width = 150
      Height = 22
      CalendarElements = [ceYear, ceMonth, ceArrows, ceDaysOfWeek, ceFillDays, ceTodayButton]
      Color = clWhite
      ReadOnlyColor = clWhite
      FrameVisible = True
      Cursor = crHandPoint
      EditType = etDate
    end
    object Label12: TTntLabel
      Left = 16
      Top = 426
      Width = 150
      Height = 16
      Caption = 'Searching directory:'
    end
    object lbcurrdir: TTntLabel
      Left = 170
      Top = 426
      Width = 350
      Height = 16
      Caption = '...'
    end
    object Label13: TTntLabel
      Left = 16
      Top = 450
      Width = 150
      Height = 16
      Caption = 'Messages Found:'
    end
    object lbfoundnumber: TTntLabel
      Left = 170
      Top = 450
      Width = 100
      Height = 16
      Caption = '0'
    end
    object cbCloseDlg: TRzCheckBox
      Left = 16
      Top = 480
      Width = 400
      Height = 19
      Caption = 'Close dialog after the search completes'
      State = cbChecked
    end
    object btnClose: TRzBitBtn
      Left = 16
      Top = 512
      Width = 150
      Height = 27
      Caption = 'Stop and close'
      OnClick = btnCloseClick
      Hint = 'Stop searching or close dialog window'
      ShowHint = True
    end
    object bbClear: TRzBitBtn
      Left = 186
      Top = 512
      Width = 120
      Height = 27
      Caption = 'Clear'
      OnClick = bbClearClick
      Hint = 'Clear search results'
      ShowHint = True
    end
    object RzBitBtn3: TRzBitBtn
      Left = 371
      Top = 512
      Width = 150
      Height = 27
      Caption = 'START SEARCH'
      OnClick = RzBitBtn3Click
      Hint = 'Start search process'
      ShowHint = True
      Default = True
    end
  end
  object StatusBar1: TTntStatusBar
    Left = 0
    Top = 556
    Width = 537
    Height = 22
    Align = alBottom
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
end
