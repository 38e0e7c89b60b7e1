object frmSelectFolder: TfrmSelectFolder
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Select Folder'
  ClientHeight = 403
  ClientWidth = 396
  Position = poMainFormCenter
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  object RzShellTree1: TRzShellTree
    Left = 6
    Top = 6
    Width = 382
    Height = 359
    Options = [stoAutoFill, stoVirtualFolders, stoDynamicRefresh, stoShowHidden]
    HideSelection = False
    Indent = 19
    TabOrder = 0
  end
  object Button1: TButton
    Left = 257
    Top = 375
    Width = 60
    Height = 22
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object Button2: TButton
    Left = 328
    Top = 375
    Width = 60
    Height = 22
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
end
