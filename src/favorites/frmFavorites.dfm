object frmFavorites: TfrmFavorites
  Left = 0
  Top = 0
  Align = alClient
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Favorites'
  ClientHeight = 400
  ClientWidth = 240
  OnClose = FormClose
  object uxTree: TTntTreeView
    Left = 0
    Top = 0
    Width = 240
    Height = 400
    Align = alClient
    Font.Name = 'Arial Unicode MS'
    Font.Height = -13
    Font.Charset = 204
    ParentFont = False
    HideSelection = False
    Indent = 20
    MultiSelect = True
    MultiSelectStyle = [msControlSelect, msShiftSelect]
    RowSelect = True
    ShowHint = True
    PopupMenu = TntPopupMenu1
    TabOrder = 0
    OnChange = uxTreeChange
    OnClick = uxTreeClick
    OnDblClick = uxTreeDblClick
    OnEdited = uxTreeEdited
    OnKeyDown = uxTreeKeyDown
    OnMouseDown = uxTreeMouseDown
    OnMouseMove = uxTreeMouseMove
  end
  object TntPopupMenu1: TTntPopupMenu
    object Open1: TTntMenuItem
      Action = actOpen
    end
    object N1: TTntMenuItem
      Caption = '-'
    end
    object NewFolder1: TTntMenuItem
      Action = actNewFolder
    end
    object NewShortcut1: TTntMenuItem
      Action = actNewShortcut
    end
    object N2: TTntMenuItem
      Caption = '-'
    end
    object Rename1: TTntMenuItem
      Action = actRename
    end
    object Delete1: TTntMenuItem
      Action = actDelete
    end
    object N3: TTntMenuItem
      Caption = '-'
    end
    object Properties1: TTntMenuItem
      Action = actProperties
    end
  end
  object TntActionList1: TTntActionList
    object actOpen: TTntAction
      Caption = '&Open'
      OnExecute = actOpenExecute
    end
    object actNewFolder: TTntAction
      Caption = 'New &Folder'
      OnExecute = actNewFolderExecute
    end
    object actNewShortcut: TTntAction
      Caption = 'New &Shortcut'
      OnExecute = actNewShortcutExecute
    end
    object actRename: TTntAction
      Caption = 'Re&name'
      OnExecute = actRenameExecute
    end
    object actDelete: TTntAction
      Caption = '&Delete'
      OnExecute = actDeleteExecute
    end
    object actProperties: TTntAction
      Caption = '&Properties'
      OnExecute = actPropertiesExecute
    end
  end
end
