object SplashScreen: TSplashScreen
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Quillora is loading'
  ClientHeight = 120
  ClientWidth = 320
  Position = poScreenCenter
  object Image1: TImage
    Left = 0
    Top = 0
    Width = 320
    Height = 120
  end
end
