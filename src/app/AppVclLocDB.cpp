#include <algorithm>
#include <cwctype>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppLocDB.h"
#include "app/IChangeableLangForm.h"
#include "app/UiStrings.h"
#include "app/cLogger.h"
#include "controls/unicode/TntControls.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/ListView.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/WinString.h"

namespace {

// The forms whose texts a translation covers are walked in this order first; every other
// window that exists follows in the order it was made.
constexpr std::u16string_view kLocalisedForms[] = {
    u"Form1", u"OpenAttachmentDlg", u"SelectFolderDlg", u"SearchDlg", u"fmBateStamp", u"csvExportDlg", u"SettingsDlg",
};

WideString NameOf(const TComponent& c) { return Utf8ToUtf16(c.Name()); }
WideString Number(int i) { return Utf8ToUtf16(std::to_string(i)); }

// Styled controls are known by their class names, so this walk needs no styled controls.
bool IsClassOrDerived(const TControl& control, std::string_view name) {
    for (const TMetaClass* c = &control.ClassType(); c; c = c->ClassParent())
        if (c->ClassName() == name) return true;
    return false;
}

bool IsPageControl(const TControl& control) {
    return IsClassOrDerived(control, "TRzPageControl") || IsClassOrDerived(control, "TPageControl");
}

// Panels, toolbars, scroll boxes and page controls hold controls and show no text of their own.
bool IsContainer(const TControl& control) {
    return control.InheritsFrom(TCustomPanel::StaticClass()) || IsPageControl(control) ||
           IsClassOrDerived(control, "TScrollBox");
}

// What the user types or picks (edits, combo boxes) is data, not a text of the program.
bool HoldsData(const TControl& control) {
    return IsClassOrDerived(control, "TCustomEdit") || IsClassOrDerived(control, "TCustomComboBox") ||
           IsClassOrDerived(control, "TCustomRichEdit") || IsClassOrDerived(control, "TCustomMemo");
}

// A text with no two letters in a row ("0", "...", "0X000") is a value shown, not language.
bool IsLanguage(const WideString& text) {
    bool letter = false;
    for (char16_t c : text) {
        // Beyond ASCII every character counts as a letter, whatever the C locale knows.
        const bool isLetter = c >= 0x80 || std::iswalpha(static_cast<wint_t>(c)) != 0;
        if (isLetter && letter) return true;
        letter = isLetter;
    }
    return false;
}

// Group boxes and tab sheets show their caption and hold controls with texts of their own. A
// radio group's buttons are made from its items, which are keyed instead.
bool HoldsTextControls(const TControl& control) {
    if (control.InheritsFrom(TCustomRadioGroup::StaticClass())) return false;
    return control.InheritsFrom(TCustomGroupBox::StaticClass()) || IsClassOrDerived(control, "TRzTabSheet") ||
           IsClassOrDerived(control, "TTabSheet");
}

// The items of the form's menu bar; the menu's own name takes no part in the keys.
TMenuItem* MenuBar(const TCustomForm& form) {
    auto* menu = dynamic_cast<TMenu*>(form.Menu());
    return menu ? menu->Items() : nullptr;
}

}  // namespace

int AppVclLocDB::ProcessForms(bool store) {
    QUILLORA_TRACE(u"AppVclLocDB::ProcessForms");
    std::vector<TCustomForm*> walked;
    for (std::u16string_view name : kLocalisedForms) {
        auto* form = dynamic_cast<TCustomForm*>(FindGlobalComponent(Utf16ToUtf8(WideString(name))));
        if (!form) continue;
        FormStoreRestore(form, store);
        walked.push_back(form);
    }
    if (!Screen) return 0;
    // A copy: a form's LanguageChanged may make or free windows.
    const std::vector<TCustomForm*> forms = Screen->AllForms();
    for (TCustomForm* form : forms) {
        if (std::find(walked.begin(), walked.end(), form) != walked.end()) continue;
        if (std::find(Screen->AllForms().begin(), Screen->AllForms().end(), form) == Screen->AllForms().end()) continue;
        FormStoreRestore(form, store);
    }
    return 0;
}

void AppVclLocDB::FormStoreRestore(TCustomForm* form, bool store) {
    QUILLORA_TRACE(u"AppVclLocDB::FormStoreRestore");
    LogPrintf(u"Form: %s", NameOf(*form).c_str());
    LogPrintf(store ? u"store" : u"restore");
    if (store) {
        StoreForm(form);
    } else {
        RestoreForm(form);
        if (auto* changeable = dynamic_cast<IChangeableLangForm*>(form)) changeable->LanguageChanged();
    }
}

void AppVclLocDB::StoreForm(TCustomForm* form) { WalkForm(form, true); }

void AppVclLocDB::RestoreForm(TCustomForm* form) { WalkForm(form, false); }

void AppVclLocDB::WalkForm(TCustomForm* form, bool store) {
    const WideString key = NameOf(*form);
    // Captions are kept wide: a translated caption must not lose the characters of its script.
    if (store) {
        if (const WideString caption = GetWideControlText(form); !key.empty() && !caption.empty())
            SetString(key, caption);
    } else if (const WideString text = GetString(key); !text.empty()) {
        SetWideControlText(form, text);
    }
    if (TMenuItem* bar = MenuBar(*form))
        for (int i = 0; i < bar->Count(); ++i) StoreRestoreMenuItem(bar->Items(i), key, store);
    StoreRestoreComponents(form, key, store);
    for (int i = 0; i < form->ControlCount(); ++i) StoreRestoreControl(form->Controls(i), key, store);
}

void AppVclLocDB::StoreRestoreText(const WideString& key, WideString text,
                                   const std::function<void(const WideString&)>& apply, bool store) {
    if (key.empty()) return;
    if (store) {
        if (IsLanguage(text)) SetString(key, text);
    } else if (const WideString translated = GetString(key); !translated.empty() && translated != text) {
        apply(translated);
    }
}

void AppVclLocDB::StoreRestoreComponents(TCustomForm* form, const WideString& formKey, bool store) {
    // Actions give menu items and buttons their texts again whenever they change, and popup
    // menus are what a right click shows: both are texts the user reads.
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* component = form->Components(i);
        if (component->Name().empty()) continue;
        const WideString key = formKey + u":" + NameOf(*component);
        if (auto* action = dynamic_cast<TCustomAction*>(component)) {
            StoreRestoreText(key, action->Caption(), [action](const WideString& t) { action->SetCaption(t); }, store);
            StoreRestoreText(key + u".Hint", action->Hint(), [action](const WideString& t) { action->SetHint(t); },
                             store);
        } else if (auto* popup = dynamic_cast<TPopupMenu*>(component)) {
            for (int j = 0; j < popup->Items()->Count(); ++j) StoreRestoreMenuItem(popup->Items()->Items(j), key, store);
        }
    }
}

void AppVclLocDB::StoreRestoreMenuItem(TMenuItem* item, WideString parentKey, bool store) {
    // Hidden items are walked too: an item shown later must show the language chosen before.
    if (!item || item->Name().empty()) return;
    const WideString key = parentKey + u":" + NameOf(*item);
    if (!item->IsLine())
        StoreRestoreText(key, item->Caption(), [item](const WideString& t) { item->SetCaption(t); }, store);
    for (int i = 0; i < item->Count(); ++i) StoreRestoreMenuItem(item->Items(i), key, store);
}

void AppVclLocDB::StoreRestoreControl(TControl* control, WideString parentKey, bool store) {
    // A window placed inside another (the favorites pane) is walked as a window of its own.
    if (!control || dynamic_cast<TCustomForm*>(control) || HoldsData(*control)) return;
    const WideString key = parentKey + u":" + NameOf(*control);
    const bool container = IsContainer(*control);
    if (!container)
        StoreRestoreText(key, GetWideControlText(control),
                         [control](const WideString& t) { SetWideControlText(control, t); }, store);
    if (!control->Hint().empty() || !store)
        StoreRestoreText(key + u".Hint", control->Hint(), [control](const WideString& t) { control->SetHint(t); },
                         store);
    StoreRestoreItems(control, key, store);
    if (container || HoldsTextControls(*control)) {
        if (auto* holder = dynamic_cast<TWinControl*>(control))
            for (int i = 0; i < holder->ControlCount(); ++i) StoreRestoreControl(holder->Controls(i), key, store);
    }
}

void AppVclLocDB::StoreRestoreItems(TControl* control, const WideString& key, bool store) {
    if (auto* group = dynamic_cast<TCustomRadioGroup*>(control)) {
        TStrings* items = group->Items();
        for (int i = 0; i < items->Count(); ++i)
            StoreRestoreText(key + u".Items." + Number(i), Utf8ToUtf16(items->Get(i)),
                             [items, i](const WideString& t) { items->Put(i, Utf16ToUtf8(t)); }, store);
    } else if (auto* list = dynamic_cast<TCustomListView*>(control)) {
        TListColumns* columns = list->Columns();
        for (int i = 0; i < columns->Count(); ++i) {
            TListColumn* column = columns->Items(i);
            StoreRestoreText(key + u".Columns." + Number(i), column->Caption(),
                             [column](const WideString& t) { column->SetCaption(t); }, store);
        }
    }
}

void AppVclLocDB::KeepBuiltInTexts() {
    AppVclLocDB walk;
    // From the program's own table: the database may hold a translation already.
    for (const UiText& t : BuiltInUiTexts())
        if (t.text && *t.text) walk.SetString(Utf8ToUtf16(std::to_string(t.id)), t.text);
    walk.ProcessForms(true);
    builtIn_ = walk;
}

int AppVclLocDB::SwitchLanguage(const WideString& path) {
    AppLocDB file;
    // English is built in: without its file the built-in texts are English all the same.
    if ((file.LoadDB(path) != 0 || file.Count() == 0) && path != LanguageFilePath(LanguageEnglish)) return -1;
    if (builtIn_.Count() == 0) KeepBuiltInTexts();
    static_cast<AppLocDB&>(*this) = builtIn_;
    for (const auto& [key, text] : file.Entries()) SetString(key, text);
    ProcessForms(false);
    return 0;
}
