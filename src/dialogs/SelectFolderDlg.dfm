object SelectFolderDlg: TSelectFolderDlg
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Select Folder'
  ClientHeight = 420
  ClientWidth = 360
  Position = poMainFormCenter
  Font.Name = 'Tahoma'
  Font.Height = -13
  object CDirectoryOutline1: TRzShellTree
    Left = 8
    Top = 8
    Width = 344
    Height = 362
    Options = [stoAutoFill, stoVirtualFolders, stoDynamicRefresh, stoShowHidden]
    HideSelection = False
    Indent = 19
    TabOrder = 0
    OnChange = CDirectoryOutline1Change
  end
  object RzBitBtn1: TRzBitBtn
    Left = 180
    Top = 382
    Width = 82
    Height = 27
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object RzBitBtn2: TRzBitBtn
    Left = 270
    Top = 382
    Width = 82
    Height = 27
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end
