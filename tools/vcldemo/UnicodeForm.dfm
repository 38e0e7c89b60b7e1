object UnicodeForm: TUnicodeDemoForm
  Left = 80
  Top = 80
  Width = 640
  Height = 460
  Caption = #$042E#$043D#$0438#$043A#$043E#$0434' '#$2014' '#$0395#$03BB#$03BB#$03B7#$03BD#$03B9#$03BA#$03AC' '#$2014' '#$65E5#$672C#$8A9E
  Menu = MainMenu
  object Greeting: TTntLabel
    Left = 12
    Top = 10
    Caption = '&'#$041F#$0440#$0438#$0432#$0435#$0442', '#$03BA#$03CC#$03C3#$03BC#$03B5', '#$4E16#$754C
    FocusControl = NameEdit
  end
  object NameEdit: TTntEdit
    Left = 12
    Top = 32
    Width = 200
    Height = 24
    Text = #$0391#$03B8#$03AE#$03BD#$03B1
  end
  object Agree: TTntCheckBox
    Left = 230
    Top = 34
    Width = 180
    Height = 20
    Caption = #$0421#$043E#$0433#$043B#$0430#$0441#$0435#$043D
  end
  object Ok: TTntButton
    Left = 430
    Top = 30
    Width = 90
    Height = 28
    Caption = #$041E#$041A
  end
  object Messages: TTntListView
    Left = 12
    Top = 68
    Width = 400
    Height = 160
    ViewStyle = vsReport
    Checkboxes = True
    GridLines = True
    RowSelect = True
  end
  object Folders: TTntTreeView
    Left = 420
    Top = 68
    Width = 200
    Height = 160
  end
  object Body: TTntRichEdit
    Left = 12
    Top = 236
    Width = 608
    Height = 150
  end
  object Status: TTntStatusBar
  end
  object MainMenu: TTntMainMenu
    object FileMenu: TTntMenuItem
      Caption = '&'#$0424#$0430#$0439#$043B
      object OpenItem: TTntMenuItem
        Caption = #$041E#$0442#$043A#$0440#$044B#$0442#$044C' '#$D83D#$DCC2
      end
    end
    object ViewMenu: TTntMenuItem
      Caption = #$03A0#$03C1#$03BF#$03B2#$03BF#$03BB#$03AE
    end
    object HelpMenu: TTntMenuItem
      Caption = #$30D8#$30EB#$30D7
    end
  end
end
