object ToolbarForm: TToolbarForm
  Left = 0
  Top = 0
  Width = 1180
  Height = 130
  Caption = 'Toolbar'
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  ShowHint = True
  object Icons: TImageList
    Width = 24
    Height = 24
  end
  object Actions: TActionList
    Images = Icons
    object ActOpen: TAction
      Caption = '&Open'
      Hint = 'Open a message file'
      ImageIndex = 0
      OnExecute = ActionExecute
    end
    object ActSave: TAction
      Caption = '&Save'
      Hint = 'Save the message'
      ImageIndex = 1
      OnExecute = ActionExecute
    end
    object ActPrint: TAction
      Caption = '&Print'
      Hint = 'Print the message'
      ImageIndex = 2
      OnExecute = ActionExecute
    end
    object ActReply: TAction
      Caption = '&Reply'
      Hint = 'Reply to the sender'
      ImageIndex = 3
      OnExecute = ActionExecute
    end
    object ActReplyAll: TAction
      Caption = 'Reply &All'
      Hint = 'Reply to everyone'
      ImageIndex = 4
      OnExecute = ActionExecute
    end
    object ActForward: TAction
      Caption = '&Forward'
      Hint = 'Forward the message'
      ImageIndex = 5
      OnExecute = ActionExecute
    end
    object ActSearch: TAction
      Caption = 'S&earch'
      Hint = 'Search the messages'
      ImageIndex = 6
      OnExecute = ActionExecute
    end
    object ActFavorites: TAction
      Caption = 'Fa&vorites'
      Hint = 'Show the favorites'
      ImageIndex = 7
      AutoCheck = True
      Checked = True
      GroupIndex = 1
      OnExecute = ActionExecute
    end
    object ActExport: TAction
      Caption = 'E&xport'
      Hint = 'Export the messages'
      ImageIndex = 8
      OnExecute = ActionExecute
    end
    object ActCopyTo: TAction
      Caption = '&Copy to'
      Hint = 'Copy the message file to a folder'
      ImageIndex = 9
      OnExecute = ActionExecute
    end
    object ActDelete: TAction
      Caption = '&Delete'
      Hint = 'Delete the message file'
      ImageIndex = 10
      OnExecute = ActionExecute
    end
    object ActRefresh: TAction
      Caption = 'Re&fresh'
      Hint = 'Read the folder again'
      ImageIndex = 11
      OnExecute = ActionExecute
    end
    object ActStop: TAction
      Caption = 'S&top'
      Hint = 'Stop reading'
      ImageIndex = 12
      OnExecute = ActionExecute
    end
    object ActHelp: TAction
      Caption = '&Help'
      Hint = 'Show the help'
      ImageIndex = 13
      OnExecute = ActionExecute
    end
  end
  object TopBar: TRzToolbar
    Images = Icons
    ButtonLayout = blGlyphTop
    ButtonWidth = 80
    ButtonHeight = 58
    RowHeight = 58
    ShowButtonCaptions = True
    TextOptions = ttoCustom
    object OpenButton: TRzToolButton
      Action = ActOpen
    end
    object SaveButton: TRzToolButton
      Action = ActSave
    end
    object PrintButton: TRzToolButton
      Action = ActPrint
    end
    object Gap1: TRzSpacer
      Grooved = True
    end
    object ReplyButton: TRzToolButton
      Action = ActReply
    end
    object ReplyAllButton: TRzToolButton
      Action = ActReplyAll
    end
    object ForwardButton: TRzToolButton
      Action = ActForward
    end
    object Gap2: TRzSpacer
      Grooved = True
    end
    object SearchButton: TRzToolButton
      Action = ActSearch
    end
    object FavoritesButton: TRzToolButton
      Action = ActFavorites
      GroupIndex = 1
      AllowAllUp = True
    end
    object Gap3: TRzSpacer
      Grooved = True
    end
    object ExportButton: TRzToolButton
      Action = ActExport
    end
    object CopyToButton: TRzToolButton
      Action = ActCopyTo
    end
    object DeleteButton: TRzToolButton
      Action = ActDelete
    end
    object Gap4: TRzSpacer
      Grooved = True
    end
    object RefreshButton: TRzToolButton
      Action = ActRefresh
    end
    object StopButton: TRzToolButton
      Action = ActStop
    end
    object Gap5: TRzSpacer
      Grooved = True
    end
    object HelpButton: TRzToolButton
      Action = ActHelp
    end
  end
  object Status: TRzStatusBar
    SimpleStatus = True
    SimpleCaption = 'Ready'
  end
end
