object RzSelectFolderForm: TRzSelectFolderForm
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu, biMaximize]
  Caption = 'Browse for Folder'
  ClientHeight = 325
  ClientWidth = 358
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Position = poScreenCenter
  OnCreate = FormCreate
  OnShow = FormShow
  OnHide = FormHide
  OnResize = FormResize
  object btnNewFolder: TRzToolButton
    Left = 8
    Top = 4
    Width = 121
    ImageIndex = 0
    DisabledIndex = 1
    ShowCaption = True
    UseToolbarShowCaption = False
    UseToolbarVisualStyle = False
    VisualStyle = vsWinXP
    Caption = 'Create Folder'
    OnClick = btnNewFolderClick
  end
  object btnDeleteFolder: TRzToolButton
    Left = 137
    Top = 4
    Width = 92
    ImageIndex = 2
    DisabledIndex = 3
    ShowCaption = True
    UseToolbarShowCaption = False
    UseToolbarVisualStyle = False
    VisualStyle = vsWinXP
    Caption = '&Delete'
    OnClick = btnDeleteFolderClick
  end
  object ShellTree: TRzShellTree
    Left = 8
    Top = 32
    Width = 341
    Height = 241
    HideSelection = False
    Indent = 19
    Options = []
    OnChange = ShellTreeChange
  end
  object ButtonPanel: TRzPanel
    Left = 0
    Top = 277
    Width = 358
    Height = 29
    Align = alBottom
    BorderOuter = fsNone
    ParentColor = True
    object btnOk: TRzBitBtn
      Left = 12
      Top = 2
      Height = 23
      Default = True
      ModalResult = 1
      HotTrack = True
      Caption = 'OK'
    end
    object btnCancel: TRzBitBtn
      Left = 92
      Top = 2
      Height = 23
      Cancel = True
      ModalResult = 2
      HotTrack = True
      Caption = 'Cancel'
    end
  end
  object RzStatusBar1: TRzStatusBar
    Left = 0
    Top = 306
    Width = 358
    Height = 19
    BorderInner = fsNone
    BorderOuter = fsNone
    SimpleStatus = True
  end
end
