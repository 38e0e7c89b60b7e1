#include "tools/vcldemo/ControlsDemo.h"

#include "tools/vcldemo/DemoRun.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <QCoreApplication>

#include "platform/outside/WebBrowser.h"
#include "platform/outside/qt/WebBrowserQt.h"
#include "platform/vcl/CommCtrl.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GraphicsImageList.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/RangeCtrls.h"
#include "platform/vcl/StatusBar.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TreeView.h"
#include "platform/vcl/VclClasses.h"
#include "platform/vcl/richedit/RichEdit.h"
#include "platform/win/WinString.h"

namespace {

class TControlsForm : public TForm {
    QUILLORA_COMPONENT(TControlsForm)
public:
    using TForm::TForm;
    // The actions' handlers: the status bar says what ran.
    void ActOpenExecute(TObject*) { Say(u"Open... chosen"); }
    void ActWrapExecute(TObject*) { Say(u"Wrap lines toggled"); }

private:
    void Say(const WideString& text) {
        if (auto* status = dynamic_cast<TStatusBar*>(FindComponent("Status"))) status->Panels()->Items(0)->SetText(text);
    }
};

const TMetaClass& TControlsForm::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TControlsForm>("TControlsForm", &TForm::StaticClass(), [](TClassBuilder<TControlsForm>& b) {
        b.Method("ActOpenExecute", &TControlsForm::ActOpenExecute);
        b.Method("ActWrapExecute", &TControlsForm::ActWrapExecute);
    });
    return meta;
}

// A 16 x 16 icon: a rounded square of one colour with a white band.
std::vector<std::uint32_t> Icon(std::uint32_t argb) {
    std::vector<std::uint32_t> px(16 * 16, 0);
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x) {
            const bool corner = (x == 1 || x == 14) && (y == 1 || y == 14);
            if (!corner) px[y * 16 + x] = (y == 6 || y == 7) && x > 3 && x < 12 ? 0xFFFFFFFF : argb;
        }
    return px;
}

template <class T>
T* Find(TForm& form, const char* name) {
    return dynamic_cast<T*>(form.FindComponent(name));
}

void Fill(TForm& form, const std::filesystem::path& page) {
    if (auto* icons = Find<TCustomImageList>(form, "Icons"))
        for (std::uint32_t c : {0xFF3465A4u, 0xFF4E9A06u, 0xFFC4A000u, 0xFFCC0000u}) icons->AddPixels(Icon(c));

    if (auto* tree = Find<TTreeView>(form, "Folders")) {
        TTreeNodes* nodes = tree->Items();
        TTreeNode* root = nodes->AddChild(nullptr, u"Case 2026-114");
        for (const char16_t* name : {u"Inbox", u"Sent Items", u"Drafts", u"archive.pst"}) {
            TTreeNode* node = nodes->AddChild(root, name);
            node->SetImageIndex(0);
            node->SetSelectedIndex(0);
        }
        TTreeNode* sub = nodes->AddChild(root->GetLastChild(), u"Contracts \u00E9t\u00E9");
        sub->SetImageIndex(1);
        sub->SetSelectedIndex(1);
        root->Expand(true);
        tree->SetSelected(root->GetFirstChild());
    }

    if (auto* list = Find<TListView>(form, "Messages")) {
        static const char16_t* const subjects[] = {u"Contract draft", u"Re: Invoice 2026-05", u"Meeting notes",
                                                   u"Fwd: Offer f\u00FCr M\u00FCller", u"Signed agreement"};
        static const char16_t* const senders[] = {u"Ann M\u00FCller", u"Bob Stone", u"Chen Wei", u"Dana Ruiz"};
        list->OnData = [](TObject*, TListItem* item) {
            const int i = item->Index();
            item->SetCaption(WideString(subjects[i % 5]) + u" #" + Utf8ToUtf16(std::to_string(i + 1)));
            item->SubItems()->Add(senders[i % 4]);
            item->SubItems()->Add(Utf8ToUtf16(std::to_string(12 + (i * 37) % 900) + " KB"));
            item->SetImageIndex(i % 4);
            item->SetStateIndex(i % 3 == 0 ? 2 : 1);
        };
        list->Items()->SetCount(100000);
        list->Items()->Item(1)->SetSelected(true);
    }

    if (auto* body = Find<TCustomRichEdit>(form, "Body"))
        body->SetTextAuto(
            u"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red204\\green0\\blue0;}"
            u"\\f0\\fs22 Dear Ann,\\par\\par The {\\b signed contract} is attached; the {\\i annex} follows "
            u"{\\cf1 tomorrow}.\\par {\\f1 Ref. 2026-114/B}\\par}");

    if (auto* status = Find<TStatusBar>(form, "Status")) status->Panels()->Items(0)->SetText(u"Ready");

    if (auto* html = Find<TCppWebBrowser>(form, "Html")) html->Navigate(u"file:///" + Utf8ToUtf16(page.string()));
}

}  // namespace

int RunControlsDemo(const char* screenshot) {
    InstallWebBrowser();
    RegisterVclClasses();
    RegisterRichEditClasses();
    RegisterClasses({&TControlsForm::StaticClass(), &TCppWebBrowser::StaticClass()});
    Application->Initialize();
    Application->SetTitle(u"vcldemo");

    // The HTML view shows a local page; remote content would be refused.
    const std::filesystem::path page = std::filesystem::temp_directory_path() / "quillora-vcldemo.html";
    std::ofstream(page, std::ios::binary) << "\xEF\xBB\xBF<html><body style='font-family:sans-serif'>"
                                             "<h3 style='color:#204a87'>HTML body</h3><p>Caf\xC3\xA9 &amp; "
                                             "<b>bold</b> text, a <a href='https://example.org/'>link</a>.</p>"
                                             "<img src='http://tracker.invalid/pixel.png' alt=''></body></html>";
    return RunDemoForm<TControlsForm>(
        screenshot, [&](TControlsForm& form) { Fill(form, page); },
        [](TControlsForm& form) {
            // Give the HTML view a moment to show its page.
            bool loaded = false;
            if (auto* html = dynamic_cast<TCppWebBrowser*>(form.FindComponent("Html")))
                html->OnDocumentComplete = [&](TObject*, const WideString&) { loaded = true; };
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!loaded && std::chrono::steady_clock::now() < end) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
                Application->ProcessMessages();
            }
            for (int i = 0; i < 20; ++i) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 25);
                Application->ProcessMessages();
            }
        });
}
