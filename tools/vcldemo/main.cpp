// vcldemo: shows a form built from its compiled-in form file, with controls that paint in
// Paint (panels with bevels, labels, swatches) inside Qt windows.
//   vcldemo                      runs until the window is closed
//   vcldemo --screenshot out.png shows the form, saves a picture of it and ends
//   vcldemo --gallery out.png    saves a picture of the styled controls' drawing and ends
#include <cstdio>
#include <cstring>
#include <ctime>

#include <QImage>
#include <QWidget>

#include "Gallery.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"

namespace {

// A panel: raised bevel, caption centred.
class TDemoPanel : public TCustomControl {
    QUILLORA_COMPONENT(TDemoPanel)
public:
    explicit TDemoPanel(TComponent* owner) : TCustomControl(owner) { controlStyle_ << csAcceptsControls; }

protected:
    void Paint() override {
        TRect r = ClientRect();
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(r);
        DrawEdge(Canvas()->Handle(), &r, EDGE_RAISED, BF_RECT);
        const WideString text = Caption();
        if (text.empty()) return;
        Canvas()->Brush()->SetStyle(bsClear);
        Canvas()->TextRect(r, text, {tfCenter, tfVerticalCenter, tfSingleLine, tfEndEllipsis});
    }
};

const TMetaClass& TDemoPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TDemoPanel>("TDemoPanel", &TCustomControl::StaticClass());
    return meta;
}

// A label without a window: its parent paints it.
class TDemoLabel : public TGraphicControl {
    QUILLORA_COMPONENT(TDemoLabel)
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas()->Brush()->SetStyle(bsClear);
        Canvas()->TextOut(0, 0, Caption());
    }
};

const TMetaClass& TDemoLabel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TDemoLabel>("TDemoLabel", &TGraphicControl::StaticClass());
    return meta;
}

// A colour swatch that takes the focus and shows it.
class TDemoSwatch : public TCustomControl {
    QUILLORA_COMPONENT(TDemoSwatch)
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override {
        TRect r = ClientRect();
        DrawEdge(Canvas()->Handle(), &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(r);
        if (Focused()) {
            TRect f = r;
            f.Inflate(-3, -3);
            Canvas()->DrawFocusRect(f);
        }
    }
    void DoEnter() override {
        TCustomControl::DoEnter();
        Invalidate();
    }
    void DoExit() override {
        TCustomControl::DoExit();
        Invalidate();
    }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        if (CanFocus()) SetFocus();
        TCustomControl::MouseDown(button, shift, x, y);
    }
};

const TMetaClass& TDemoSwatch::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TDemoSwatch>("TDemoSwatch", &TCustomControl::StaticClass());
    return meta;
}

class TDemoForm : public TForm {
    QUILLORA_COMPONENT(TDemoForm)
public:
    using TForm::TForm;

    void FormCreate(TObject*) { ClockTimer(nullptr); }

    void SwatchClick(TObject* sender) {
        auto* swatch = static_cast<TControl*>(sender);
        if (auto* canvas = dynamic_cast<TControl*>(FindComponent("Canvas"))) {
            canvas->SetColor(swatch->Color());
            canvas->SetCaption(Utf8ToUtf16(swatch->Name()));
        }
    }

    void ClockTimer(TObject*) {
        const std::time_t now = std::time(nullptr);
        char text[64];
        std::strftime(text, sizeof text, "Ready  %H:%M:%S", std::localtime(&now));
        if (auto* footer = dynamic_cast<TControl*>(FindComponent("Footer"))) footer->SetCaption(Utf8ToUtf16(text));
    }
};

const TMetaClass& TDemoForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TDemoForm>("TDemoForm", &TForm::StaticClass(), [](TClassBuilder<TDemoForm>& b) {
        b.Method("FormCreate", &TDemoForm::FormCreate);
        b.Method("SwatchClick", &TDemoForm::SwatchClick);
        b.Method("ClockTimer", &TDemoForm::ClockTimer);
    });
    return meta;
}

}  // namespace

int main(int argc, char** argv) {
    const char* screenshot = nullptr;
    const char* gallery = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) screenshot = argv[++i];
        else if (std::strcmp(argv[i], "--gallery") == 0 && i + 1 < argc) gallery = argv[++i];
    }

    InstallQtWidgetSet();
    RegisterClasses({&TDemoPanel::StaticClass(), &TDemoLabel::StaticClass(), &TDemoSwatch::StaticClass(),
                     &TDemoForm::StaticClass(), &TTimer::StaticClass()});
    Application->Initialize();
    Application->SetTitle(u"vcldemo");
    if (gallery) {
        const int result = RunGallery(gallery);
        DoneApplication();
        return result;
    }
    TDemoForm* form = nullptr;
    try {
        Application->CreateForm(form);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vcldemo: %s\n", e.what());
        return 1;
    }
    if (!screenshot) {
        Application->Run();
        DoneApplication();
        return 0;
    }
    form->Show();
    if (auto* green = dynamic_cast<TWinControl*>(form->FindComponent("Green"))) {
        green->SetFocus();
        form->SwatchClick(green);
    }
    Application->ProcessMessages();
    auto* window = dynamic_cast<QWidget*>(form->Peer());
    const bool saved = window && window->grab().toImage().save(QString::fromUtf8(screenshot));
    DoneApplication();
    if (!saved) {
        std::fprintf(stderr, "vcldemo: cannot write %s\n", screenshot);
        return 1;
    }
    return 0;
}
