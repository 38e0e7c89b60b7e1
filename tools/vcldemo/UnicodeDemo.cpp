#include "tools/vcldemo/UnicodeDemo.h"

#include "tools/vcldemo/DemoRun.h"

#include <cstdio>


#include "controls/unicode/TntForms.h"
#include "controls/unicode/TntListView.h"
#include "controls/unicode/TntRegisterClasses.h"
#include "controls/unicode/TntRichEdit.h"
#include "controls/unicode/TntStatusBar.h"
#include "controls/unicode/TntTreeView.h"
#include "platform/vcl/VclClasses.h"
#include "platform/vcl/richedit/RichEdit.h"
#include "platform/win/WinString.h"

namespace {

class TUnicodeDemoForm : public TTntForm {
    QUILLORA_COMPONENT(TUnicodeDemoForm)
public:
    using TTntForm::TTntForm;
};

const TMetaClass& TUnicodeDemoForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TUnicodeDemoForm>("TUnicodeDemoForm", &TTntForm::StaticClass());
    return meta;
}

// What the form file cannot hold: columns, rows, nodes, rich text and panels.
void Fill(TUnicodeDemoForm& form) {
    if (auto* list = dynamic_cast<TTntListView*>(form.FindComponent("Messages"))) {
        TTntListColumn* subject = list->GetColumns()->Add();
        subject->SetCaption(u"\u0422\u0435\u043C\u0430");
        subject->SetWidth(220);
        list->GetColumns()->Add()->SetCaption(u"\u03A0\u03B1\u03C1\u03B1\u03BB\u03AE\u03C0\u03C4\u03B7\u03C2");
        const char16_t* rows[][2] = {{u"\u041F\u0440\u0438\u0432\u0435\u0442 \U0001F600", u"\u0391\u03BB\u03AD\u03BE\u03B7\u03C2"},
                                     {u"\u4F1A\u8B70\u306E\u304A\u77E5\u3089\u305B", u"\u7530\u4E2D"},
                                     {u"\u0394\u03B9\u03B1\u03BA\u03BF\u03C0\u03AD\u03C2", u"\u041C\u0430\u0440\u0438\u044F"}};
        for (const auto& row : rows) {
            TTntListItem* item = list->GetItems()->Add();
            item->SetCaption(row[0]);
            item->SubItems()->Add(row[1]);
        }
        list->GetItems()->GetItem(1)->SetChecked(true);
    }
    if (auto* tree = dynamic_cast<TTntTreeView*>(form.FindComponent("Folders"))) {
        TTntTreeNode* root = tree->GetItems()->Add(nullptr, u"\u0418\u0437\u0431\u0440\u0430\u043D\u043D\u043E\u0435 \u2B50");
        tree->GetItems()->AddChild(root, u"\u0395\u03C1\u03B3\u03B1\u03C3\u03AF\u03B1");
        tree->GetItems()->AddChild(root, u"\u5BB6\u65CF");
        root->Expand(false);
    }
    if (auto* body = dynamic_cast<TTntRichEdit*>(form.FindComponent("Body")))
        body->SetText(u"{\\rtf1\\ansi{\\fonttbl{\\f0 Sans;}}{\\colortbl;\\red32\\green74\\blue135;}"
                      u"\\f0\\fs22{\\b\\cf1 \u0417\u0434\u0440\u0430\u0432\u0441\u0442\u0432\u0443\u0439\u0442\u0435!}\\par "
                      u"{\\i \u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1} \u2014 \u3053\u3093\u306B\u3061\u306F \U0001F44B\\par}");
    if (auto* status = dynamic_cast<TTntStatusBar*>(form.FindComponent("Status"))) {
        TTntStatusPanel* found = status->GetPanels()->Add();
        found->SetWidth(240);
        found->SetText(u"\u041D\u0430\u0439\u0434\u0435\u043D\u043E \u0441\u043E\u043E\u0431\u0449\u0435\u043D\u0438\u0439: 3");
        status->GetPanels()->Add()->SetText(u"\t\u65E5\u672C\u8A9E");
    }
}

}  // namespace

int RunUnicodeDemo(const char* screenshot) {
    RegisterVclClasses();
    RegisterRichEditClasses();
    RegisterTntClasses();
    RegisterClass(TUnicodeDemoForm::StaticClass());
    Application->Initialize();
    Application->SetTitle(u"vcldemo \u2014 Unicode");
    return RunDemoForm<TUnicodeDemoForm>(screenshot, [](TUnicodeDemoForm& form) { Fill(form); });
}
