// The styled check box sizing itself to its caption through the toolkit: a longer caption set
// later (another language) widens it again up to its form width instead of wrapping in the
// width a shorter caption left behind.
#include <gtest/gtest.h>

#include <memory>

#include "controls/styled/RzRadChk.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/qt/WidgetSetQt.h"

TEST(RzCheckBoxSize, ALongerCaptionWidensUpToTheFormWidth) {
    InstallQtWidgetSet();
    Application->Initialize();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 200);
    auto* box = new TRzCheckBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(8, 8, 300, 19);
    box->SetCaption(u"Include");
    form->Show();
    Application->ProcessMessages();
    const int shortWidth = box->Width();
    const int lineHeight = box->Height();
    ASSERT_LT(shortWidth, 300);

    box->SetCaption(u"Close dialog after the search completes");
    Application->ProcessMessages();
    EXPECT_GT(box->Width(), shortWidth + 100);
    EXPECT_LE(box->Width(), 300);
    EXPECT_EQ(box->Height(), lineHeight) << "the caption wraps";

    // Beyond the form width it wraps.
    box->SetCaption(u"Close dialog after the search completes and every other window as well, too");
    Application->ProcessMessages();
    EXPECT_LE(box->Width(), 300);
    EXPECT_GT(box->Height(), lineHeight);
}
