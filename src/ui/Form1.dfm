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
  Menu = MainMenu1
  Constraints.MinWidth = 400
  Constraints.MinHeight = 400
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
      Action = actionOpenFile
      Caption = 'Open'
    end
    object Button1: TRzToolButton
      Caption = 'Exit'
      ImageIndex = 1
      Visible = False
    end
    object Button4: TRzToolButton
      Action = actionReply
      Caption = 'Reply'
    end
    object Button5: TRzToolButton
      Action = actionForward
      Caption = 'Forward'
    end
    object Button6: TRzToolButton
      Caption = 'Save Msg'
      ImageIndex = 4
      Visible = False
    end
    object Button7: TRzToolButton
      Caption = 'Save header'
      ImageIndex = 5
      Visible = False
    end
    object Button8: TRzToolButton
      Action = actionPrintMessageSilent
      Caption = 'Print Message'
    end
    object Button9: TRzToolButton
      Caption = 'Print Header'
      ImageIndex = 7
      Visible = False
    end
    object Button10: TRzToolButton
      Action = actionSearch
      Caption = 'Search'
    end
    object Button11: TRzToolButton
      Action = actionExport
      Caption = 'Export'
    end
    object Button12: TRzToolButton
      Action = actionCopyTo
      Caption = 'Copy to'
    end
    object Button13: TRzToolButton
      Action = actionDelete
      Caption = 'Delete'
    end
    object Button14: TRzToolButton
      Action = actionRefreshList
      Caption = 'Refresh'
    end
    object Button15: TRzToolButton
      Action = actionStopList
      Caption = 'Stop'
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
      TabStyle = tsDoubleSlant
      FixedDimension = 22
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
      OnMouseDown = MessagelistMouseDown
      OnDblClick = MessagelistDblClick
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
      object cbTimeZone: TRzComboBox
        Left = 650
        Top = 66
        Width = 100
        Height = 24
        Style = csOwnerDrawFixed
        FrameHotTrack = True
        FrameVisible = True
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
        PopupMenu = TntPopupMenu1
        OnDblClick = AttachmentListDblClick
        OnKeyDown = AttachmentListKeyDown
        OnMouseMove = AttachmentListMouseMove
        OnMouseDown = AttachmentListMouseDown
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
      ShowFocusRect = False
      TabStyle = tsDoubleSlant
      FixedDimension = 22
      OnChange = RzPageControl1Change
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
        object tvProperties: TRzTreeView
          Left = 0
          Top = 0
          Width = 420
          Height = 375
          Align = alLeft
          SelectionPen.Color = clBtnShadow
          HotTrack = True
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
  object TntActionList1: TTntActionList
    Images = ToolImages
    object actionSaveAttachment: TTntAction
      Caption = 'Save Attachment(s)...'
      OnExecute = actionSaveAttachmentExecute
    end
    object actionOpenAttachment: TTntAction
      Caption = 'Open Attachment...'
      OnExecute = actionOpenAttachmentExecute
    end
    object actionOpenFile: TTntAction
      Caption = 'Open...'
      ImageIndex = 0
      ShortCut = 16463
      OnExecute = actionOpenFileExecute
    end
    object actionSaveBody: TTntAction
      Caption = 'Save message body...'
      ImageIndex = 4
      ShortCut = 16467
      OnExecute = actionSaveBodyExecute
    end
    object actionSaveHeader: TTntAction
      Caption = 'Save message header...'
      ImageIndex = 5
      OnExecute = actionSaveHeaderExecute
    end
    object actionExport: TTntAction
      Caption = 'Export messages...'
      ImageIndex = 9
      OnExecute = actionExportExecute
    end
    object actionExportCsv: TTntAction
      Caption = 'Export all to CSV...'
      OnExecute = actionExportCsvExecute
    end
    object actionFileNaming: TTntAction
      Caption = 'File Naming Utility...'
      OnExecute = actionFileNamingExecute
    end
    object actionRefreshList: TTntAction
      Caption = 'Refresh'
      ImageIndex = 12
      OnExecute = actionRefreshListExecute
    end
    object actionCopyTo: TTntAction
      Caption = 'Copy to ...'
      ImageIndex = 10
      OnExecute = actionCopyToExecute
    end
    object actionExit: TTntAction
      Caption = 'Exit'
      ImageIndex = 1
      OnExecute = actionExitExecute
    end
    object actionViewMessage: TTntAction
      Caption = 'Message Body'
      Checked = True
      GroupIndex = 1
      OnExecute = actionViewMessageExecute
    end
    object actionViewMessageHeader: TTntAction
      Caption = 'Message Header'
      GroupIndex = 1
      OnExecute = actionViewMessageHeaderExecute
    end
    object actionSelectAll: TTntAction
      Caption = 'Select All'
      ShortCut = 16449
      OnExecute = actionSelectAllExecute
    end
    object actionCopyMessage: TTntAction
      Caption = 'Copy Message Body'
      OnExecute = actionCopyMessageExecute
    end
    object actionCopyMessageHeader: TTntAction
      Caption = 'Copy Message Header'
      OnExecute = actionCopyMessageHeaderExecute
    end
    object actionFontSelect: TTntAction
      Caption = 'Font...'
      Visible = False
      OnExecute = actionFontSelectExecute
    end
    object actionReply: TTntAction
      Caption = 'Reply to Message...'
      ImageIndex = 2
      ShortCut = 16466
      OnExecute = actionReplyExecute
    end
    object actionForward: TTntAction
      Caption = 'Forward Message...'
      ImageIndex = 3
      ShortCut = 49234
      OnExecute = actionForwardExecute
    end
    object actionSearch: TTntAction
      Caption = 'Search...'
      ImageIndex = 8
      ShortCut = 16454
      OnExecute = actionSearchExecute
    end
    object actionCheckAll: TTntAction
      Caption = 'Check All'
      ShortCut = 49217
      OnExecute = actionCheckAllExecute
    end
    object actionUncheckAll: TTntAction
      Caption = 'Uncheck All'
      ShortCut = 49217
      OnExecute = actionUncheckAllExecute
    end
    object actionAddToFavs: TTntAction
      Caption = 'Add To Favorites'
      OnExecute = actionAddToFavsExecute
    end
    object actionPlainTextBody: TTntAction
      Caption = 'Plain Text Body'
      OnExecute = actionPlainTextBodyExecute
    end
    object actionStopList: TTntAction
      Caption = 'Stop'
      ImageIndex = 13
      Visible = False
      OnExecute = actionStopListExecute
    end
    object actionSettingsDlg: TTntAction
      Caption = 'Settings...'
      OnExecute = actionSettingsDlgExecute
    end
    object actionShowFoldersTree: TTntAction
      Caption = 'Show Folders Tree'
      Checked = True
      OnExecute = actionShowFoldersTreeExecute
    end
    object actionShowToolbar: TTntAction
      Caption = 'Show Toolbar'
      Checked = True
      OnExecute = actionShowToolbarExecute
    end
    object actionShowMessagesList: TTntAction
      Caption = 'Show Messages List'
      Checked = True
      OnExecute = actionShowMessagesListExecute
    end
    object actionDelete: TTntAction
      Caption = 'Delete'
      ImageIndex = 11
      OnExecute = actionDeleteExecute
    end
    object actionPrintMessage: TTntAction
      Caption = 'Print Message...'
      ImageIndex = 6
      OnExecute = actionPrintMessageExecute
    end
    object actionPrintHeader: TTntAction
      Caption = 'Print Header...'
      ImageIndex = 7
      OnExecute = actionPrintHeaderExecute
    end
    object actionPrintMessageSilent: TTntAction
      Caption = 'Print Message...'
      ImageIndex = 6
      ShortCut = 16464
      OnExecute = actionPrintMessageSilentExecute
    end
    object actionPrintHeaderSilent: TTntAction
      Caption = 'Print Header...'
      ImageIndex = 7
      ShortCut = 49232
      OnExecute = actionPrintHeaderSilentExecute
    end
  end
  object MainMenu1: TTntMainMenu
    object File1: TTntMenuItem
      Caption = 'File'
      object miOpenFile: TTntMenuItem
        Action = actionOpenFile
      end
      object miSaveBody: TTntMenuItem
        Action = actionSaveBody
      end
      object miSaveHeader: TTntMenuItem
        Action = actionSaveHeader
        ShortCut = 49235
      end
      object N1: TTntMenuItem
        Caption = '-'
      end
      object miExport: TTntMenuItem
        Action = actionExport
        ShortCut = 16453
      end
      object ExportToCsvMenu: TTntMenuItem
        Action = actionExportCsv
      end
      object miFileNaming: TTntMenuItem
        Action = actionFileNaming
      end
      object miCopyTo: TTntMenuItem
        Action = actionCopyTo
      end
      object N2: TTntMenuItem
        Caption = '-'
      end
      object miRefreshList: TTntMenuItem
        Action = actionRefreshList
      end
      object N3: TTntMenuItem
        Caption = '-'
      end
      object miExit: TTntMenuItem
        Action = actionExit
        ShortCut = 16472
      end
    end
    object View1: TTntMenuItem
      Caption = 'View'
      object miViewMessage: TTntMenuItem
        Action = actionViewMessage
        GroupIndex = 1
        RadioItem = True
      end
      object miViewMessageHeader: TTntMenuItem
        Action = actionViewMessageHeader
        GroupIndex = 1
        RadioItem = True
      end
      object N4: TTntMenuItem
        Caption = '-'
      end
      object miPlainTextBody: TTntMenuItem
        Action = actionPlainTextBody
      end
      object N5: TTntMenuItem
        Caption = '-'
      end
      object miShowFoldersTree: TTntMenuItem
        Action = actionShowFoldersTree
      end
      object miShowMessagesList: TTntMenuItem
        Action = actionShowMessagesList
      end
      object miShowToolbar: TTntMenuItem
        Action = actionShowToolbar
      end
    end
    object Edit1: TTntMenuItem
      Caption = 'Edit'
      object miSelectAll: TTntMenuItem
        Action = actionSelectAll
      end
      object menuCheckAll: TTntMenuItem
        Action = actionCheckAll
      end
      object N6: TTntMenuItem
        Caption = '-'
      end
      object miSearch: TTntMenuItem
        Action = actionSearch
      end
      object N7: TTntMenuItem
        Caption = '-'
      end
      object miCopyMessage: TTntMenuItem
        Action = actionCopyMessage
      end
      object miCopyMessageHeader: TTntMenuItem
        Action = actionCopyMessageHeader
      end
    end
    object Message1: TTntMenuItem
      Caption = 'Message'
      object miPrintMessage: TTntMenuItem
        Action = actionPrintMessage
      end
      object miPrintHeader: TTntMenuItem
        Action = actionPrintHeader
      end
      object miAddToFavs: TTntMenuItem
        Action = actionAddToFavs
      end
      object N8: TTntMenuItem
        Caption = '-'
      end
      object miReply: TTntMenuItem
        Action = actionReply
      end
      object miForward: TTntMenuItem
        Action = actionForward
      end
      object N9: TTntMenuItem
        Caption = '-'
      end
      object miOpenAttachment: TTntMenuItem
        Action = actionOpenAttachment
      end
      object miSaveAttachment: TTntMenuItem
        Action = actionSaveAttachment
      end
    end
    object Application1: TTntMenuItem
      Caption = 'Application'
      object miSettingsDlg: TTntMenuItem
        Action = actionSettingsDlg
      end
    end
    object About1: TTntMenuItem
      Caption = 'About'
      object Help1: TTntMenuItem
        Caption = 'Help'
        OnClick = Help1Click
      end
    end
  end

  object TntPopupMenu1: TTntPopupMenu
    object attSave: TTntMenuItem
      Action = actionSaveAttachment
    end
  end
  object FontDialog1: TFontDialog
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
