object Form1: TForm1
  Left = 177
  Top = 140
  ClientWidth = 1146
  ClientHeight = 756
  Caption = 'Kestrelwright Quillora Pro'
  Color = clBtnFace
  Font.Name = 'Tahoma'
  Font.Height = -13
  ShowHint = True
  OnCreate = FormCreate
  OnShow = FormShow
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  object TopBar: TRzToolbar
    Left = 0
    Top = 0
    Width = 1146
    Height = 62
    Align = alTop
    Images = ToolImages
    ButtonLayout = blGlyphTop
    ButtonWidth = 80
    ButtonHeight = 58
    RowHeight = 58
    ShowButtonCaptions = True
    TextOptions = ttoCustom
    object Button3: TRzToolButton
      Action = actionOpen
    end
    object Button1: TRzToolButton
      Action = actionExit
    end
    object Button4: TRzToolButton
      Action = actionReply
    end
    object Button5: TRzToolButton
      Action = actionForward
    end
    object Button6: TRzToolButton
      Action = actionSaveMsg
    end
    object Button7: TRzToolButton
      Action = actionSaveHeader
    end
    object Button8: TRzToolButton
      Action = actionPrintMessage
    end
    object Button9: TRzToolButton
      Action = actionPrintHeader
    end
    object Button10: TRzToolButton
      Action = actionSearch
    end
    object Button11: TRzToolButton
      Action = actionExport
    end
    object Button12: TRzToolButton
      Action = actionCopyTo
    end
    object Button13: TRzToolButton
      Action = actionDelete
    end
    object Button14: TRzToolButton
      Action = actionRefreshList
    end
    object Button15: TRzToolButton
      Action = actionStopList
    end
  end
  object StatusBar1: TTntStatusBar
    Left = 0
    Top = 734
    Width = 1146
    Height = 22
    Align = alBottom
    Panels = <
      item
        Width = 280
      end
      item
        Style = psOwnerDraw
        Width = 100
      end
      item
        Width = 50
      end>
    OnDrawPanel = StatusBar1DrawPanel
  end
  object Panel4: TPanel
    Left = 0
    Top = 62
    Width = 233
    Height = 672
    Align = alLeft
    BevelOuter = bvNone
    object RzPageControl2: TRzPageControl
      Left = 0
      Top = 0
      Width = 233
      Height = 646
      Align = alClient
      object TabSheet4: TRzTabSheet
        Caption = 'Files'
        object ShellDirList: TRzShellTree
          Left = 0
          Top = 0
          Width = 229
          Height = 620
          Align = alClient
          Options = [stoAutoFill, stoVirtualFolders, stoShowHidden]
          ReadOnly = True
          HideSelection = False
          Indent = 19
          OnKeyUp = ShellDirListKeyUp
          OnMouseDown = ShellDirListMouseDown
        end
      end
      object TabSheet5: TRzTabSheet
        Caption = 'Favorites'
      end
    end
    object rbSubFolder: TRzCheckBox
      Left = 0
      Top = 646
      Width = 233
      Height = 26
      Align = alBottom
      Caption = 'Include SubFolders'
      OnClick = rbSubFolderClick
    end
  end
  object Splitter1: TSplitter
    Left = 233
    Top = 62
    Width = 4
    Height = 672
    Align = alLeft
  end
  object RightPanel: TPanel
    Left = 237
    Top = 62
    Width = 909
    Height = 672
    Align = alClient
    BevelOuter = bvNone
    object Messagelist: TTntListView
      Left = 0
      Top = 0
      Width = 909
      Height = 105
      Align = alTop
      ViewStyle = vsReport
      OwnerData = True
      Checkboxes = True
      GridLines = True
      RowSelect = True
      MultiSelect = True
      HideSelection = False
      ReadOnly = True
      SmallImages = ImageList1
      Font.Name = 'Arial Unicode MS'
      Font.Height = -15
      OnData = MessagelistData
      OnColumnClick = MessagelistColumnClick
      OnSelectItem = MessagelistSelectItem
      OnItemChecked = MessagelistItemChecked
      OnKeyDown = MessagelistKeyDown
    end
    object Splitter2: TSplitter
      Left = 0
      Top = 105
      Width = 909
      Height = 4
      Align = alTop
    end
    object HeaderPanel: TPanel
      Left = 0
      Top = 109
      Width = 909
      Height = 92
      Align = alTop
      BevelOuter = bvNone
      object Label7: TTntLabel
        Left = 8
        Top = 6
        Width = 60
        Height = 17
        Caption = 'From:'
      end
      object lbFrom: TTntLabel
        Left = 76
        Top = 6
        Width = 560
        Height = 17
        ShowAccelChar = False
        Font.Name = 'Arial Unicode MS'
        Font.Height = -13
        Font.Style = [fsBold]
      end
      object Label8: TTntLabel
        Left = 8
        Top = 27
        Width = 60
        Height = 17
        Caption = 'To:'
      end
      object lbTo: TTntLabel
        Left = 76
        Top = 27
        Width = 560
        Height = 17
        ShowAccelChar = False
        Font.Name = 'Arial Unicode MS'
        Font.Height = -13
      end
      object Label9: TTntLabel
        Left = 8
        Top = 48
        Width = 60
        Height = 17
        Caption = 'CC:'
      end
      object lbCC: TTntLabel
        Left = 76
        Top = 48
        Width = 560
        Height = 17
        ShowAccelChar = False
        Font.Name = 'Arial Unicode MS'
        Font.Height = -13
      end
      object Label10: TTntLabel
        Left = 8
        Top = 69
        Width = 60
        Height = 17
        Caption = 'Subject:'
      end
      object lbSubject: TTntLabel
        Left = 76
        Top = 69
        Width = 560
        Height = 17
        ShowAccelChar = False
        Font.Name = 'Arial Unicode MS'
        Font.Height = -13
        Font.Style = [fsBold]
      end
      object Label11: TTntLabel
        Left = 650
        Top = 6
        Width = 120
        Height = 17
        Caption = 'Sent:'
      end
      object lbDate: TTntLabel
        Left = 650
        Top = 27
        Width = 250
        Height = 17
        ShowAccelChar = False
      end
      object Label12: TTntLabel
        Left = 650
        Top = 48
        Width = 120
        Height = 17
        Caption = 'Time Zone:'
      end
      object cbTimeZone: TComboBox
        Left = 650
        Top = 66
        Width = 100
        Height = 24
        Style = csDropDownList
        OnChange = cbTimeZoneChange
      end
    end
    object AttachmentPanel: TPanel
      Left = 0
      Top = 606
      Width = 909
      Height = 66
      Align = alBottom
      BevelOuter = bvNone
      object Label13: TTntLabel
        Left = 0
        Top = 0
        Width = 909
        Height = 18
        Align = alTop
        Caption = 'Attachments:'
      end
      object AttachmentList: TTntListView
        Left = 0
        Top = 18
        Width = 909
        Height = 48
        Align = alClient
        ViewStyle = vsSmallIcon
        MultiSelect = True
        ReadOnly = True
        SmallImages = AttachmentImages
        PopupMenu = AttachmentMenu
      end
    end
    object Splitter3: TSplitter
      Left = 0
      Top = 602
      Width = 909
      Height = 4
      Align = alBottom
    end
    object RzPageControl1: TRzPageControl
      Left = 0
      Top = 201
      Width = 909
      Height = 401
      Align = alClient
      object TabSheet1: TRzTabSheet
        Caption = 'Message'
        object BodyPanel: TPanel
          Left = 0
          Top = 0
          Width = 905
          Height = 375
          Align = alClient
          BevelOuter = bvNone
          object mmBody: TTntRichEdit
            Left = 0
            Top = 0
            Width = 905
            Height = 375
            Align = alClient
            ReadOnly = True
            ScrollBars = ssBoth
            WordWrap = False
          end
          object CppWebBrowser1: TCppWebBrowser
            Left = 0
            Top = 0
            Width = 905
            Height = 375
            Align = alClient
            Visible = False
            OnDocumentComplete = CppWebBrowser1DocumentComplete
          end
        end
      end
      object TabSheet2: TRzTabSheet
        Caption = 'Message Header'
        object mmHeader: TTntRichEdit
          Left = 0
          Top = 0
          Width = 905
          Height = 375
          Align = alClient
          ReadOnly = True
          ScrollBars = ssVertical
        end
      end
      object TabSheet3: TRzTabSheet
        Caption = 'Extended Message Properties '
        object tvProperties: TTntTreeView
          Left = 0
          Top = 0
          Width = 420
          Height = 375
          Align = alLeft
          Indent = 20
          ReadOnly = True
          OnChange = tvPropertiesChange
        end
        object PropPanel: TPanel
          Left = 420
          Top = 0
          Width = 485
          Height = 375
          Align = alClient
          BevelOuter = bvNone
          object lbPropID: TTntLabel
            Left = 8
            Top = 6
            Width = 200
            Height = 17
            Caption = '0X000'
          end
          object lbPropType: TTntLabel
            Left = 220
            Top = 6
            Width = 100
            Height = 17
            Caption = '0'
          end
          object mmPropValues: TTntMemo
            Left = 8
            Top = 28
            Width = 470
            Height = 340
            ReadOnly = True
            ScrollBars = ssBoth
          end
        end
      end
    end
  end
  object ActionList1: TActionList
    Images = ToolImages
    object actionOpen: TAction
      Caption = 'Open'
      ImageIndex = 0
      OnExecute = actionOpenExecute
    end
    object actionExit: TAction
      Caption = 'Exit'
      ImageIndex = 1
      Visible = False
      OnExecute = actionExitExecute
    end
    object actionReply: TAction
      Caption = 'Reply'
      ImageIndex = 2
    end
    object actionForward: TAction
      Caption = 'Forward'
      ImageIndex = 3
    end
    object actionSaveMsg: TAction
      Caption = 'Save Msg'
      ImageIndex = 4
      Visible = False
    end
    object actionSaveHeader: TAction
      Caption = 'Save header'
      ImageIndex = 5
      Visible = False
    end
    object actionPrintMessage: TAction
      Caption = 'Print Message'
      ImageIndex = 6
    end
    object actionPrintHeader: TAction
      Caption = 'Print Header'
      ImageIndex = 7
      Visible = False
    end
    object actionSearch: TAction
      Caption = 'Search'
      ImageIndex = 8
      OnExecute = actionSearchExecute
    end
    object actionExport: TAction
      Caption = 'Export'
      ImageIndex = 9
    end
    object actionCopyTo: TAction
      Caption = 'Copy to'
      ImageIndex = 10
    end
    object actionDelete: TAction
      Caption = 'Delete'
      ImageIndex = 11
    end
    object actionRefreshList: TAction
      Caption = 'Refresh'
      ImageIndex = 12
      OnExecute = actionRefreshListExecute
    end
    object actionStopList: TAction
      Caption = 'Stop'
      ImageIndex = 13
      Visible = False
      OnExecute = actionStopListExecute
    end
  end
  object AttachmentMenu: TPopupMenu
    object SaveAttachments1: TMenuItem
      Caption = 'Save Attachment(s)...'
    end
  end
  object ImageList1: TImageList
    Width = 16
    Height = 16
  end
  object AttachmentImages: TImageList
    Width = 16
    Height = 16
  end
  object ToolImages: TImageList
    Width = 32
    Height = 32
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 100
    OnTimer = Timer1Timer
  end
  object TreeTimer: TTimer
    Enabled = False
    Interval = 10
    OnTimer = TreeTimerTimer
  end
  object KeyTimer: TTimer
    Enabled = False
    Interval = 150
    OnTimer = KeyTimerTimer
  end
end
