// Storing and restoring the texts of forms: keys from component names, which containers are
// walked into, and the form's notice after a restore.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/AppLocDB.h"
#include "app/IChangeableLangForm.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/PageControl.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/WinString.h"

namespace {

// The styled page control is recognised by its class name.
class TRzPageControl : public TPageControl {
    QUILLORA_COMPONENT(TRzPageControl)
public:
    using TPageControl::TPageControl;
};

const TMetaClass& TRzPageControl::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TRzPageControl>("TRzPageControl", &TPageControl::StaticClass());
    return meta;
}

// A panel of the styled kind (toolbars are ones too): not a TPanel, still a container.
class TStyledPanel : public TCustomPanel {
    QUILLORA_COMPONENT(TStyledPanel)
public:
    using TCustomPanel::TCustomPanel;
};

const TMetaClass& TStyledPanel::StaticClass() {
    static const TMetaClass& meta = DescribeClass<TStyledPanel>("TStyledPanel", &TCustomPanel::StaticClass());
    return meta;
}

std::vector<std::string> changedForms;

class TLangForm : public IChangeableLangForm {
public:
    explicit TLangForm(const char* name) : IChangeableLangForm(nullptr) { SetName(name); }
    void LanguageChanged() override { changedForms.push_back(Name()); }
};

template <class C>
C* Make(TWinControl* parent, const char* name, const WideString& text = {}) {
    auto* c = new C(parent->Owner() ? parent->Owner() : parent);
    c->SetName(name);
    c->SetParent(parent);
    if (!text.empty()) c->SetText(text);
    return c;
}

TMenuItem* Item(TMenuItem* parent, const char* name, const WideString& caption, bool visible = true) {
    auto* item = new TMenuItem(parent->Owner());
    item->SetName(name);
    item->SetCaption(caption);
    item->SetVisible(visible);
    parent->Add(item);
    return item;
}

// Form1 "Main": a menu bar File1 (Open1, a separator N1, an invisible Hidden1 with Sub1, a
// nameless item with Named1, Exit1) and View1; Panel3 > Panel5 > RzPageControl1 with the pages
// TabSheet1 "Mail" (holding a button) and TabSheet3 "Props"; a group box with a check box; a
// nameless button; a label; an edit with content; a styled panel TopBar with a hinted button; a
// label showing a value; an action.
struct MainForm {
    std::unique_ptr<TLangForm> form = std::make_unique<TLangForm>("Form1");
    TTabSheet* mail = nullptr;
    TTabSheet* props = nullptr;
    TButton* onPage = nullptr;
    TGroupBox* group = nullptr;
    TCheckBox* inGroup = nullptr;
    TButton* nameless = nullptr;
    TLabel* label = nullptr;
    TPanel* outer = nullptr;
    TMenuItem* exit = nullptr;
    TMenuItem* line = nullptr;

    MainForm() {
        TLangForm* f = form.get();
        f->SetCaption(u"Main");
        auto* menu = new TMainMenu(f);
        menu->SetName("MainMenu1");
        f->SetMenu(menu);
        TMenuItem* file = Item(menu->Items(), "File1", u"&File");
        Item(file, "Open1", u"&Open...");
        line = Item(file, "N1", u"-");
        Item(Item(file, "Hidden1", u"Hidden", false), "Sub1", u"Below a hidden item");
        Item(Item(file, "", u"Nameless"), "Named1", u"Below a nameless item");
        exit = Item(file, "Exit1", u"E&xit");
        Item(menu->Items(), "View1", u"&View");
        outer = Make<TPanel>(f, "Panel3", u"Outer panel");
        auto* inner = Make<TPanel>(outer, "Panel5");
        auto* pages = new TRzPageControl(f);
        pages->SetName("RzPageControl1");
        pages->SetParent(inner);
        mail = new TTabSheet(f);
        mail->SetName("TabSheet1");
        mail->SetPageControl(pages);
        mail->SetCaption(u"Mail");
        props = new TTabSheet(f);
        props->SetName("TabSheet3");
        props->SetPageControl(pages);
        props->SetCaption(u"Props");
        onPage = Make<TButton>(mail, "Button9", u"On a page");
        group = Make<TGroupBox>(f, "TntGroupBox1", u"File association");
        inGroup = Make<TCheckBox>(group, "cbMsg", u".msg files");
        nameless = new TButton(f);
        nameless->SetParent(f);
        nameless->SetCaption(u"Nameless");
        label = Make<TLabel>(f, "Label1", u"Label");
        Make<TEdit>(f, "Edit1", u"typed by the user");
        auto* bar = Make<TStyledPanel>(f, "TopBar");
        barButton = Make<TButton>(bar, "Button3", u"Open");
        barButton->SetHint(u"Open a message file");
        Make<TLabel>(f, "lbCount", u"0");
        action = new TAction(f);
        action->SetName("actionOpenFile");
        action->SetCaption(u"Open...");
    }
    TButton* barButton = nullptr;
    TAction* action = nullptr;
};

std::map<std::string, std::string> Entries(const AppLocDB& db) {
    std::map<std::string, std::string> out;
    for (const auto& [k, v] : db.Entries()) out[Utf16ToUtf8(k)] = Utf16ToUtf8(v);
    return out;
}

}  // namespace

TEST(AppVclLocDB, StoreKeysFollowNamesPanelsAndPageControls) {
    MainForm m;
    AppVclLocDB db;
    changedForms.clear();
    db.FormStoreRestore(m.form.get(), true);
    const std::map<std::string, std::string> expected = {
        {"Form1", "Main"},
        {"Form1:File1", "&File"},
        {"Form1:File1:Open1", "&Open..."},
        {"Form1:File1:Exit1", "E&xit"},
        {"Form1:File1:Hidden1", "Hidden"},  // shown later, so translated too
        {"Form1:File1:Hidden1:Sub1", "Below a hidden item"},
        {"Form1:View1", "&View"},
        {"Form1:Panel3:Panel5:RzPageControl1:TabSheet1", "Mail"},
        {"Form1:Panel3:Panel5:RzPageControl1:TabSheet1:Button9", "On a page"},
        {"Form1:Panel3:Panel5:RzPageControl1:TabSheet3", "Props"},
        {"Form1:TntGroupBox1", "File association"},
        {"Form1:TntGroupBox1:cbMsg", ".msg files"},
        {"Form1:", "Nameless"},
        {"Form1:Label1", "Label"},
        {"Form1:TopBar:Button3", "Open"},
        {"Form1:TopBar:Button3.Hint", "Open a message file"},
        {"Form1:actionOpenFile", "Open..."},
    };
    EXPECT_EQ(Entries(db), expected);
    EXPECT_TRUE(changedForms.empty());  // storing tells no form
}

TEST(AppVclLocDB, RestoreSetsOnlyKeyedTextsAndTellsTheFormOnce) {
    MainForm m;
    AppVclLocDB db;
    db.SetString(u"Form1", u"Главное окно");
    db.SetString(u"Form1:TntGroupBox1", u"Association de fichiers");
    db.SetString(u"Form1:Panel3:Panel5:RzPageControl1:TabSheet3", u"Propriétés");
    db.SetString(u"Form1:TntGroupBox1:cbMsg", u"Fichiers .msg");
    db.SetString(u"Form1:TopBar:Button3", u"Ouvrir");
    db.SetString(u"Form1:actionOpenFile", u"Ouvrir...");
    db.SetString(u"Form1:Panel3", u"a container has no text");
    db.SetString(u"Form1:File1:Exit1", u"Выход");
    changedForms.clear();
    db.FormStoreRestore(m.form.get(), false);
    EXPECT_EQ(m.form->Caption(), u"Главное окно");  // wide captions keep their script
    EXPECT_EQ(m.group->Caption(), u"Association de fichiers");
    EXPECT_EQ(m.props->Caption(), u"Propriétés");
    EXPECT_EQ(m.mail->Caption(), u"Mail");
    EXPECT_EQ(m.inGroup->Caption(), u"Fichiers .msg");
    EXPECT_EQ(m.barButton->Caption(), u"Ouvrir");
    EXPECT_EQ(m.action->Caption(), u"Ouvrir...");
    EXPECT_EQ(m.outer->Caption(), u"Outer panel");
    EXPECT_EQ(m.onPage->Caption(), u"On a page");
    EXPECT_EQ(m.nameless->Caption(), u"Nameless");
    EXPECT_EQ(m.exit->Caption(), u"Выход");
    EXPECT_EQ(m.line->Caption(), u"-");
    EXPECT_EQ(changedForms, std::vector<std::string>{"Form1"});
    EXPECT_EQ(db.Count(), 8u);  // lookups add nothing

    AppVclLocDB empty;
    changedForms.clear();
    empty.FormStoreRestore(m.form.get(), false);
    EXPECT_EQ(m.label->Caption(), u"Label");
    EXPECT_EQ(changedForms, std::vector<std::string>{"Form1"});
}

// The seven translated forms first, in their order, then every other window that exists.
TEST(AppVclLocDB, ProcessFormsWalksEveryWindowTheSevenFirst) {
    std::vector<std::unique_ptr<TLangForm>> forms;
    for (const char* name : {"SettingsDlg", "AboutDlg", "SearchDlg", "Form1", "csvExportDlg"})
        forms.push_back(std::make_unique<TLangForm>(name));
    forms[1]->SetCaption(u"About");
    AppVclLocDB db;
    changedForms.clear();
    EXPECT_EQ(db.ProcessForms(false), 0);
    EXPECT_EQ(changedForms, (std::vector<std::string>{"Form1", "SearchDlg", "csvExportDlg", "SettingsDlg", "AboutDlg"}));
    EXPECT_EQ(db.ProcessForms(true), 0);
    EXPECT_EQ(db.GetString(u"AboutDlg"), u"About");
}

TEST(AppVclLocDB, FormWithoutNameKeysItsControlsFromTheColon) {
    TLangForm form("");
    form.SetCaption(u"Untitled");
    Make<TButton>(&form, "Button1", u"Go");
    AppVclLocDB db;
    db.FormStoreRestore(&form, true);
    EXPECT_EQ(Entries(db), (std::map<std::string, std::string>{{":Button1", "Go"}}));
}
