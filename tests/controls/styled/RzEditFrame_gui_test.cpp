// The framed edit in the Qt widget set: its frame is painted round the hosted edit on the
// window's border, follows the pointer when hot-tracking, and leaves the toolkit's border
// when switched off.
#include <gtest/gtest.h>

#include <vector>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "controls/styled/RzDateTimeEdit.h"
#include "controls/styled/RzEdit.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"

namespace {

QImage Grab(TWinControl& c) {
    auto* w = dynamic_cast<QWidget*>(c.Peer());
    return w ? w->grab().toImage() : QImage();
}

// The pixels halfway along each side, inset from the edge.
std::vector<QColor> Ring(const QImage& image, int inset) {
    const int w = image.width(), h = image.height();
    return {image.pixelColor(inset, h / 2), image.pixelColor(w - 1 - inset, h / 2), image.pixelColor(w / 2, inset),
            image.pixelColor(w / 2, h - 1 - inset)};
}

TEST(RzEditFrame, TheFrameIsPaintedRoundTheEdit) {
    InstallQtWidgetSet();
    Application->Initialize();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto* edit = new TRzEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 120, 24);
    edit->SetFramingPreference(fpCustomFraming);
    edit->SetFrameVisible(true);
    edit->SetFrameColor(clRed);
    edit->SetFrameHotColor(clBlue);
    // The search dialog's date edits ask for the frame the same way.
    auto* date = new TRzDateTimeEdit(form.get());
    date->SetParent(form.get());
    date->SetBounds(10, 50, 150, 22);
    date->SetFrameVisible(true);
    date->SetFrameColor(clRed);
    form->Show();
    Application->ProcessMessages();
    const QColor red(Qt::red), blue(Qt::blue);

    for (TWinControl* c : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(date)}) {
        const QImage flat = Grab(*c);
        ASSERT_EQ(flat.size(), QSize(c->Width(), c->Height())) << c->ClassName();
        for (const QColor& px : Ring(flat, 0)) EXPECT_EQ(px, red) << c->ClassName();
        for (const QColor& px : Ring(flat, 1)) EXPECT_NE(px, red) << c->ClassName() << ": one ring for fsFlat";
    }

    // Hot while focused or pointed at: the focus goes elsewhere first.
    date->SetFocus();
    Application->ProcessMessages();
    ASSERT_FALSE(edit->Focused());
    edit->SetFrameHotTrack(true);
    Application->ProcessMessages();
    for (const QColor& px : Ring(Grab(*edit), 0)) EXPECT_EQ(px, red) << "not hot yet";
    edit->Perform(CM_MOUSEENTER, 0, 0);
    Application->ProcessMessages();
    for (const QColor& px : Ring(Grab(*edit), 1)) EXPECT_EQ(px, blue) << "hot: bold in the hot colour";
    edit->Perform(CM_MOUSELEAVE, 0, 0);
    Application->ProcessMessages();
    for (const QColor& px : Ring(Grab(*edit), 0)) EXPECT_EQ(px, red);

    edit->SetFrameHotTrack(false);
    edit->SetFrameVisible(false);
    Application->ProcessMessages();
    for (const QColor& px : Ring(Grab(*edit), 0)) EXPECT_NE(px, red) << "the toolkit's own border again";
    form->Hide();
}

}  // namespace
