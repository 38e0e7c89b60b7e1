#include "tools/vcldemo/TabsDemo.h"

#include "tools/vcldemo/DemoRun.h"

#include <cstdio>

#include "controls/styled/RzPageControl.h"
#include "controls/styled/RzStatus.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

int RunTabsDemo(const char* screenshot) {
    Application->Initialize();
    auto* form = new TForm(Application);
    form->SetCaption(u"Styled tabs");
    form->SetBounds(40, 40, 560, 300);
    auto* pages = new TRzPageControl(form);
    pages->SetParent(form);
    pages->SetBounds(8, 8, 540, 230);
    pages->SetTabStyle(tsDoubleSlant);
    pages->SetShowCloseButton(true);
    pages->OnClose = [](TObject*, bool& allow) { allow = true; };
    const char16_t* captions[] = {u"Message", u"Message Header", u"Extended Message Properties", u"&Attachments",
                                  u"Favorites", u"Files"};
    for (const char16_t* caption : captions) {
        auto* page = new TRzTabSheet(form);
        page->SetPageControl(pages);
        page->SetCaption(caption);
        auto* label = new TLabel(form);
        label->SetParent(page);
        label->SetBounds(12, 12, 300, 16);
        label->SetCaption(WideString(u"The page \u201C") + caption + u"\u201D");
    }
    pages->SetActivePage(pages->GetPage(1));
    auto* progress = new TRzProgressStatus(form);
    progress->SetParent(form);
    progress->SetBounds(8, 248, 405, 24);
    progress->SetBarStyle(bsLED);
    progress->SetTotalParts(8);
    for (int i = 0; i < 5; ++i) progress->StepIt();
    auto* status = new TRzStatusPane(form);
    status->SetParent(form);
    status->SetBounds(420, 248, 128, 24);
    status->SetCaption(u"Printing page 5 of 8");
    return ShowDemoForm(*form, screenshot);
}
