object ControlsForm: TControlsForm
  Left = 0
  Top = 0
  Width = 1040
  Height = 680
  Caption = 'Class library controls'
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  Font.Height = -13
  Position = poScreenCenter
  ShowHint = True
  Menu = MainMenu1
  object Tools: TToolBar
    Left = 0
    Top = 0
    Width = 1040
    Height = 44
    Align = alTop
    Images = Icons
    ShowCaptions = True
    Flat = True
    object OpenButton: TToolButton
      Action = ActOpen
    end
    object PrintButton: TToolButton
      Caption = 'Print'
      ImageIndex = 1
    end
    object ToolSep: TToolButton
      Width = 8
      Style = tbsSeparator
    end
    object WrapButton: TToolButton
      Action = ActWrap
      Style = tbsCheck
    end
  end
  object Status: TStatusBar
    Left = 0
    Top = 640
    Width = 1040
    Height = 22
    Align = alBottom
    Panels = <
      item
        Text = 'Ready'
        Width = 200
      end
      item
        Text = '100000 messages'
        Width = 160
      end
      item
        Text = 'UTF-8'
        Width = 80
      end>
  end
  object Left: TPanel
    Left = 0
    Top = 44
    Width = 330
    Height = 596
    Align = alLeft
    BevelOuter = bvNone
    TabOrder = 0
    object NameLabel: TLabel
      Left = 12
      Top = 14
      Width = 60
      Height = 17
      Caption = '&Sender:'
      FocusControl = NameEdit
    end
    object NameEdit: TEdit
      Left = 90
      Top = 10
      Width = 226
      Height = 25
      Text = 'Ann M'#252'ller <ann@example.com>'
      TabOrder = 0
      TabStop = True
    end
    object Notes: TMemo
      Left = 12
      Top = 44
      Width = 304
      Height = 70
      Lines.Strings = (
        'Notes on the case:'
        'the contract draft arrived on 3 May.')
      ScrollBars = ssVertical
      TabOrder = 1
      TabStop = True
    end
    object Options: TGroupBox
      Left = 12
      Top = 122
      Width = 304
      Height = 84
      Caption = 'Export'
      TabOrder = 2
      object WithAttachments: TCheckBox
        Left = 10
        Top = 22
        Width = 140
        Height = 20
        Caption = 'With attachments'
        State = cbChecked
        TabOrder = 0
        TabStop = True
      end
      object AsPdf: TRadioButton
        Left = 10
        Top = 50
        Width = 60
        Height = 20
        Caption = 'PDF'
        Checked = True
        TabOrder = 1
        TabStop = True
      end
      object AsText: TRadioButton
        Left = 80
        Top = 50
        Width = 60
        Height = 20
        Caption = 'Text'
        TabOrder = 2
        TabStop = True
      end
      object Bates: TCheckBox
        Left = 160
        Top = 22
        Width = 130
        Height = 20
        Caption = 'Bates numbers'
        TabOrder = 3
        TabStop = True
      end
    end
    object Kind: TComboBox
      Left = 12
      Top = 214
      Width = 150
      Height = 25
      Style = csDropDownList
      Items.Strings = (
        'All messages'
        'Unread'
        'With attachments')
      ItemIndex = 0
      TabOrder = 3
      TabStop = True
    end
    object Zone: TRadioGroup
      Left = 170
      Top = 208
      Width = 146
      Height = 70
      Caption = 'Dates'
      Columns = 2
      Items.Strings = (
        'Local'
        'UTC')
      ItemIndex = 0
      TabOrder = 4
    end
    object Files: TListBox
      Left = 12
      Top = 246
      Width = 150
      Height = 80
      Items.Strings = (
        'offer.msg'
        'reply.eml'
        'archive.pst')
      TabOrder = 5
      TabStop = True
    end
    object Progress: TProgressBar
      Left = 12
      Top = 336
      Width = 200
      Height = 18
      Position = 60
      TabOrder = 6
    end
    object Copies: TEdit
      Left = 220
      Top = 332
      Width = 60
      Height = 25
      Text = '2'
      TabOrder = 7
      TabStop = True
    end
    object CopiesUpDown: TUpDown
      Left = 282
      Top = 332
      Width = 17
      Height = 25
      Associate = Copies
      Max = 99
      Position = 2
      TabOrder = 8
    end
    object Zoom: TTrackBar
      Left = 12
      Top = 364
      Width = 200
      Height = 36
      Position = 5
      TabOrder = 9
      TabStop = True
    end
    object Scroll: TScrollBar
      Left = 220
      Top = 372
      Width = 96
      Height = 17
      Max = 100
      Position = 30
      TabOrder = 10
      TabStop = True
    end
    object Rule: TBevel
      Left = 12
      Top = 408
      Width = 304
      Height = 2
      Shape = bsTopLine
    end
    object Pages: TPageControl
      Left = 12
      Top = 418
      Width = 304
      Height = 130
      ActivePage = DateSheet
      TabOrder = 11
      object DateSheet: TTabSheet
        Caption = 'Date'
        object When: TDateTimePicker
          Left = 8
          Top = 10
          Width = 150
          Height = 25
          DateTime = 45000.5
        end
      end
      object TabsSheet: TTabSheet
        Caption = 'Tabs'
        object Tabs: TTabControl
          Left = 4
          Top = 4
          Width = 280
          Height = 80
          Tabs.Strings = (
            'Header'
            'Body')
          TabIndex = 0
        end
      end
    end
    object Buttons: TPanel
      Left = 12
      Top = 556
      Width = 304
      Height = 34
      BevelOuter = bvNone
      TabOrder = 12
      object OkButton: TButton
        Left = 134
        Top = 4
        Width = 80
        Height = 27
        Caption = 'OK'
        Default = True
        TabOrder = 0
        TabStop = True
      end
      object CancelButton: TButton
        Left = 220
        Top = 4
        Width = 80
        Height = 27
        Caption = 'Cancel'
        Cancel = True
        TabOrder = 1
        TabStop = True
      end
    end
  end
  object Folders: TTreeView
    Left = 330
    Top = 44
    Width = 200
    Height = 596
    Align = alLeft
    Images = Icons
    ReadOnly = True
    TabOrder = 1
  end
  object FolderSplit: TSplitter
    Left = 530
    Top = 44
    Width = 4
    Height = 596
  end
  object Right: TPanel
    Left = 534
    Top = 44
    Width = 506
    Height = 596
    Align = alClient
    BevelOuter = bvNone
    TabOrder = 2
    object Messages: TListView
      PopupMenu = ListMenu
      Left = 0
      Top = 0
      Width = 506
      Height = 250
      Align = alTop
      ViewStyle = vsReport
      OwnerData = True
      RowSelect = True
      MultiSelect = True
      Checkboxes = True
      GridLines = True
      HideSelection = False
      SmallImages = Icons
      Columns = <
        item
          Caption = 'Subject'
          Width = 220
        end
        item
          Caption = 'From'
          Width = 150
        end
        item
          Alignment = taRightJustify
          Caption = 'Size'
          Width = 90
        end>
      TabOrder = 0
    end
    object Body: TRichEdit
      Left = 0
      Top = 254
      Width = 506
      Height = 150
      Align = alTop
      ReadOnly = True
      TabOrder = 1
    end
    object Html: TCppWebBrowser
      Left = 0
      Top = 408
      Width = 506
      Height = 188
      Align = alClient
      TabOrder = 2
    end
  end
  object Icons: TImageList
    Width = 16
    Height = 16
  end
  object MainMenu1: TMainMenu
    Images = Icons
    object FileMenu: TMenuItem
      Caption = '&File'
      object FileOpen: TMenuItem
        Action = ActOpen
      end
      object FileSep: TMenuItem
        Caption = '-'
      end
      object FileExit: TMenuItem
        Caption = 'E&xit'
        ShortCut = 16472
      end
    end
    object ViewMenu: TMenuItem
      Caption = '&View'
      object ViewWrap: TMenuItem
        Action = ActWrap
      end
      object ViewBody: TMenuItem
        Caption = 'Message &Body'
        Checked = True
        GroupIndex = 1
        RadioItem = True
      end
      object ViewHeader: TMenuItem
        Caption = 'Message &Header'
        GroupIndex = 1
        RadioItem = True
      end
    end
  end
  object ListMenu: TPopupMenu
    Images = Icons
    object ListOpen: TMenuItem
      Action = ActOpen
    end
    object ListWrap: TMenuItem
      Action = ActWrap
    end
  end
  object Actions: TActionList
    Images = Icons
    object ActOpen: TAction
      Caption = '&Open...'
      Hint = 'Open a message file'
      ImageIndex = 0
      ShortCut = 16463
      OnExecute = ActOpenExecute
    end
    object ActWrap: TAction
      AutoCheck = True
      Caption = '&Wrap'
      Checked = True
      ImageIndex = 2
      OnExecute = ActWrapExecute
    end
  end
end
