// vcldemo: shows a form built from its compiled-in form file, with controls that paint in
// Paint (panels with bevels, labels, swatches) inside Qt windows.
//   vcldemo                      runs until the window is closed
//   vcldemo --screenshot out.png shows the form, saves a picture of it and ends
//   vcldemo --controls [out.png]  the second form, with one of each control
//   vcldemo --unicode [out.png]   the third form, of the Unicode layer's controls
//   vcldemo --tabs [out.png]      a styled page control and a progress status
//   vcldemo --gallery out.png     saves a picture of the styled controls' drawing and ends
//   vcldemo --dates [out.png]     a date edit with its calendar dropped down, and a status bar
//   vcldemo --toolbar [out.png]   a styled toolbar of image buttons bound to actions
//   vcldemo --shell [out.png]     a shell tree and list over a temporary folder tree
//   vcldemo --combos [out.png]    styled combo boxes and an image combo box
//   vcldemo --select-folder [out.png]  the select-folder dialog over a temporary folder tree
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/qt/WidgetSetQt.h"
#include "platform/win/WinString.h"
#include "tools/vcldemo/CombosDemo.h"
#include "tools/vcldemo/ControlsDemo.h"
#include "tools/vcldemo/DatesDemo.h"
#include "tools/vcldemo/DemoRun.h"
#include "tools/vcldemo/Gallery.h"
#include "tools/vcldemo/SelectFolderDemo.h"
#include "tools/vcldemo/ShellDemo.h"
#include "tools/vcldemo/TabsDemo.h"
#include "tools/vcldemo/ToolbarDemo.h"
#include "tools/vcldemo/UnicodeDemo.h"

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

// The gallery draws off-screen into a picture; it has no window to run.
int RunGalleryDemo(const char* path) {
    if (!path) {
        std::fprintf(stderr, "vcldemo: --gallery needs a picture path\n");
        return 2;
    }
    Application->Initialize();
    const int result = RunGallery(path);
    DoneApplication();
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    // The forms besides the first one, each behind its switch.
    static const struct {
        const char* flag;
        int (*run)(const char* screenshot);
    } demos[] = {{"--controls", RunControlsDemo},
                 {"--unicode", RunUnicodeDemo},
                 {"--tabs", RunTabsDemo},
                 {"--gallery", RunGalleryDemo},
                 {"--dates", RunDatesDemo},
                 {"--toolbar", RunToolbarDemo},
                 {"--shell", RunShellDemo},
                 {"--combos", RunCombosDemo},
                 {"--select-folder", RunSelectFolderDemo}};
    const char* screenshot = nullptr;
    int (*demo)(const char*) = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) screenshot = argv[++i];
        for (const auto& d : demos) {
            if (std::strcmp(argv[i], d.flag) != 0) continue;
            demo = d.run;
            if (i + 1 < argc && argv[i + 1][0] != '-') screenshot = argv[++i];
        }
    }

    InstallQtWidgetSet();
    if (demo) return demo(screenshot);
    RegisterClasses({&TDemoPanel::StaticClass(), &TDemoLabel::StaticClass(), &TDemoSwatch::StaticClass(),
                     &TDemoForm::StaticClass(), &TTimer::StaticClass()});
    Application->Initialize();
    Application->SetTitle(u"vcldemo");
    return RunDemoForm<TDemoForm>(screenshot, {}, [](TDemoForm& form) {
        if (auto* green = dynamic_cast<TWinControl*>(form.FindComponent("Green"))) {
            green->SetFocus();
            form.SwatchClick(green);
        }
    });
}
