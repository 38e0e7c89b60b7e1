#include "tools/vcldemo/ToolbarDemo.h"

#include <functional>

#include <QCoreApplication>

#include "controls/styled/RzStatusBar.h"
#include "controls/styled/RzStyledControls.h"
#include "controls/styled/RzToolbar.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/VclClasses.h"
#include "tools/vcldemo/DemoRun.h"

namespace {

class TToolbarForm : public TForm {
    QUILLORA_COMPONENT(TToolbarForm)
public:
    using TForm::TForm;
    // Every action says in the status bar that it ran.
    void ActionExecute(TObject* sender) {
        auto* action = dynamic_cast<TCustomAction*>(sender);
        auto* status = dynamic_cast<TRzStatusBar*>(FindComponent("Status"));
        if (action && status) status->SetSimpleCaption(StripHotkey(action->Caption()) + u" chosen");
    }
};

const TMetaClass& TToolbarForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TToolbarForm>("TToolbarForm", &TForm::StaticClass(), [](TClassBuilder<TToolbarForm>& b) {
        b.Method("ActionExecute", &TToolbarForm::ActionExecute);
    });
    return meta;
}

using Pictogram = std::function<void(TCanvas&)>;

void Shape(TCanvas& c, TColor fill, TColor line) {
    c.Brush()->SetColor(fill);
    c.Pen()->SetColor(line);
}

// 24 x 24 pictures of the toolbar's commands, drawn on a fuchsia background left out.
const std::vector<Pictogram>& Pictograms() {
    static const std::vector<Pictogram> all = {
        [](TCanvas& c) {  // open: a folder
            Shape(c, TColor(0x30C0F0), TColor(0x106090));
            c.Polygon({TPoint(2, 6), TPoint(9, 6), TPoint(11, 8), TPoint(21, 8), TPoint(21, 20), TPoint(2, 20)});
        },
        [](TCanvas& c) {  // save: a disk
            Shape(c, TColor(0xA05020), TColor(0x602000));
            c.Rectangle(3, 3, 21, 21);
            Shape(c, clWhite, TColor(0x602000));
            c.Rectangle(7, 4, 17, 10);
        },
        [](TCanvas& c) {  // print: a printer with a page
            Shape(c, clWhite, clGray);
            c.Rectangle(7, 2, 17, 10);
            Shape(c, clSilver, clGray);
            c.Rectangle(2, 9, 22, 18);
            Shape(c, clWhite, clGray);
            c.Rectangle(7, 15, 17, 22);
        },
        [](TCanvas& c) {  // reply: an arrow to the left
            Shape(c, TColor(0xC06020), TColor(0x803000));
            c.Polygon({TPoint(2, 11), TPoint(10, 4), TPoint(10, 8), TPoint(21, 8), TPoint(21, 15), TPoint(10, 15), TPoint(10, 19)});
        },
        [](TCanvas& c) {  // reply all: two arrows
            Shape(c, TColor(0xC06020), TColor(0x803000));
            c.Polygon({TPoint(1, 11), TPoint(7, 5), TPoint(7, 17)});
            c.Polygon({TPoint(7, 11), TPoint(14, 4), TPoint(14, 8), TPoint(22, 8), TPoint(22, 15), TPoint(14, 15), TPoint(14, 19)});
        },
        [](TCanvas& c) {  // forward: an arrow to the right
            Shape(c, TColor(0x20A040), TColor(0x106020));
            c.Polygon({TPoint(22, 11), TPoint(14, 4), TPoint(14, 8), TPoint(3, 8), TPoint(3, 15), TPoint(14, 15), TPoint(14, 19)});
        },
        [](TCanvas& c) {  // search: a magnifier
            c.Pen()->SetColor(TColor(0x404040));
            c.Pen()->SetWidth(3);
            c.MoveTo(14, 14);
            c.LineTo(21, 21);
            c.Pen()->SetWidth(2);
            Shape(c, TColor(0xF0E0C0), TColor(0x404040));
            c.Ellipse(2, 2, 16, 16);
            c.Pen()->SetWidth(1);
        },
        [](TCanvas& c) {  // favorites: a star
            Shape(c, TColor(0x00D0FF), TColor(0x0080C0));
            c.Polygon({TPoint(12, 1), TPoint(15, 9), TPoint(23, 9), TPoint(17, 14), TPoint(19, 22), TPoint(12, 17),
                       TPoint(5, 22), TPoint(7, 14), TPoint(1, 9), TPoint(9, 9)});
        },
        [](TCanvas& c) {  // export: a page with an arrow out
            Shape(c, clWhite, clGray);
            c.Rectangle(2, 4, 15, 22);
            Shape(c, TColor(0x20A040), TColor(0x106020));
            c.Polygon({TPoint(23, 12), TPoint(17, 6), TPoint(17, 10), TPoint(8, 10), TPoint(8, 14), TPoint(17, 14), TPoint(17, 18)});
        },
        [](TCanvas& c) {  // copy to: two pages
            Shape(c, clWhite, clGray);
            c.Rectangle(2, 2, 14, 17);
            Shape(c, TColor(0xF0F0D0), TColor(0x806040));
            c.Rectangle(9, 7, 22, 22);
        },
        [](TCanvas& c) {  // delete: a red cross
            c.Pen()->SetColor(TColor(0x2020D0));
            c.Pen()->SetWidth(4);
            c.MoveTo(5, 5);
            c.LineTo(19, 19);
            c.MoveTo(19, 5);
            c.LineTo(5, 19);
            c.Pen()->SetWidth(1);
        },
        [](TCanvas& c) {  // refresh: a ring open at the top right, with an arrow head
            c.Pen()->SetColor(TColor(0x20A040));
            c.Pen()->SetWidth(3);
            c.Brush()->SetStyle(bsClear);
            c.Ellipse(4, 4, 20, 20);
            c.Pen()->SetWidth(1);
            Shape(c, clFuchsia, clFuchsia);
            c.Polygon({TPoint(12, 12), TPoint(24, 0), TPoint(24, 12)});
            Shape(c, TColor(0x20A040), TColor(0x20A040));
            c.Polygon({TPoint(14, 3), TPoint(22, 3), TPoint(19, 11)});
        },
        [](TCanvas& c) {  // stop: an octagon
            Shape(c, TColor(0x2020C0), TColor(0x101080));
            c.Polygon({TPoint(8, 2), TPoint(16, 2), TPoint(22, 8), TPoint(22, 16), TPoint(16, 22), TPoint(8, 22), TPoint(2, 16),
                       TPoint(2, 8)});
            Shape(c, clWhite, clWhite);
            c.Rectangle(6, 10, 18, 14);
        },
        [](TCanvas& c) {  // help: a blue disc with a mark
            Shape(c, TColor(0xC07020), TColor(0x804010));
            c.Ellipse(2, 2, 22, 22);
            Shape(c, clWhite, clWhite);
            c.Rectangle(11, 6, 14, 14);
            c.Rectangle(11, 16, 14, 19);
        },
    };
    return all;
}

void Fill(TToolbarForm& form) {
    auto* icons = dynamic_cast<TCustomImageList*>(form.FindComponent("Icons"));
    if (!icons) throw Exception(u"the form has no image list");
    for (const Pictogram& draw : Pictograms()) {
        TBitmap picture(24, 24);
        TCanvas& c = *picture.Canvas();
        c.Brush()->SetColor(clFuchsia);
        c.FillRect(TRect(0, 0, 24, 24));
        draw(c);
        icons->AddMasked(&picture, clFuchsia);
    }
    // Nothing is being read, so there is nothing to stop.
    if (auto* stop = dynamic_cast<TCustomAction*>(form.FindComponent("ActStop"))) stop->SetEnabled(false);
}

}  // namespace

int RunToolbarDemo(const char* screenshot) {
    RegisterVclClasses();
    RegisterStyledControls();
    RegisterClasses({&TToolbarForm::StaticClass()});
    Application->Initialize();
    Application->SetTitle(u"vcldemo");
    return RunDemoForm<TToolbarForm>(screenshot, Fill, [](TToolbarForm& form) {
        // The pointer rests on Reply, as when the user is about to click it.
        if (auto* reply = dynamic_cast<TControl*>(form.FindComponent("ReplyButton"))) reply->Perform(CM_MOUSEENTER, 0, 0);
        for (int i = 0; i < 10; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 25);
            Application->ProcessMessages();
        }
    });
}
