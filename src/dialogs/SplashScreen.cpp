#include "dialogs/SplashScreen.h"

#include "app/AppLocDB.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/GraphicsImages.h"
#include "platform/vcl/VclClasses.h"

namespace {

// The picture: the product's name on the program's blue, drawn here so that no image file
// has to ship with the program.
void DrawSplashPicture(TImage& image) {
    TBitmap* bitmap = image.Picture()->Bitmap();
    bitmap->SetSize(image.Width(), image.Height());
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(static_cast<TColor>(0x7A4A1F));
    canvas->FillRect(TRect{0, 0, image.Width(), image.Height()});
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetName(u"Tahoma");
    canvas->Font()->SetColor(clWhite);
    canvas->Font()->SetHeight(-30);
    canvas->Font()->SetStyle(TFontStyles{fsBold});
    canvas->TextOut(24, 26, u"Quillora Pro");
    canvas->Font()->SetHeight(-14);
    canvas->Font()->SetStyle(TFontStyles{});
    canvas->TextOut(26, 76, GetUiString(1142));
    image.Invalidate();
}

}  // namespace

const TMetaClass& TSplashScreen::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TSplashScreen>("TSplashScreen", &TForm::StaticClass(), [](TClassBuilder<TSplashScreen>&) {});
    return meta;
}

TSplashScreen::TSplashScreen(TComponent* owner) : TForm(owner) {}

std::unique_ptr<TCustomForm> CreateSplashScreen() {
    // Made before any other window, so its classes may not be known yet.
    RegisterVclClasses();
    RegisterClasses({&TSplashScreen::StaticClass()});
    auto splash = std::make_unique<TSplashScreen>(nullptr);
    splash->InitForm();
    if (auto* image = dynamic_cast<TImage*>(splash->FindComponent("Image1"))) DrawSplashPicture(*image);
    return splash;
}
