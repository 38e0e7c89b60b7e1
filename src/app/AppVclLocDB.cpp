#include <string_view>

#include "app/AppLocDB.h"
#include "app/IChangeableLangForm.h"
#include "app/cLogger.h"
#include "controls/unicode/TntControls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Menus.h"
#include "platform/win/WinString.h"

namespace {

// The forms whose texts a translation covers, in the order they are walked.
constexpr std::u16string_view kLocalisedForms[] = {
    u"Form1", u"OpenAttachmentDlg", u"SelectFolderDlg", u"SearchDlg", u"fmBateStamp", u"csvExportDlg", u"SettingsDlg",
};

WideString NameOf(const TComponent& c) { return Utf8ToUtf16(c.Name()); }

// The styled page control is known by its class name, so this walk needs no styled controls.
bool IsPageControl(const TControl& control) {
    for (const TMetaClass* c = &control.ClassType(); c; c = c->ClassParent())
        if (c->ClassName() == "TRzPageControl") return true;
    return false;
}

bool IsContainer(const TControl& control) {
    return control.InheritsFrom(TPanel::StaticClass()) || IsPageControl(control);
}

// The items of the form's menu bar; the menu's own name takes no part in the keys.
TMenuItem* MenuBar(const TCustomForm& form) {
    auto* menu = dynamic_cast<TMenu*>(form.Menu());
    return menu ? menu->Items() : nullptr;
}

}  // namespace

int AppVclLocDB::ProcessForms(bool store) {
    QUILLORA_TRACE(u"AppVclLocDB::ProcessForms");
    for (std::u16string_view name : kLocalisedForms) {
        auto* form = dynamic_cast<IChangeableLangForm*>(FindGlobalComponent(Utf16ToUtf8(WideString(name))));
        if (form) FormStoreRestore(form, store);
    }
    return 0;
}

void AppVclLocDB::FormStoreRestore(IChangeableLangForm* form, bool store) {
    QUILLORA_TRACE(u"AppVclLocDB::FormStoreRestore");
    LogPrintf(u"Form: %s", NameOf(*form).c_str());
    LogPrintf(store ? u"store" : u"restore");
    if (store) {
        StoreForm(form);
    } else {
        RestoreForm(form);
        form->LanguageChanged();
    }
}

void AppVclLocDB::StoreForm(IChangeableLangForm* form) {
    const WideString key = NameOf(*form);
    // Captions are kept wide: a translated caption must not lose the characters of its script.
    const WideString caption = form->GetCaption();
    if (!key.empty() && !caption.empty()) SetString(key, caption);
    if (TMenuItem* bar = MenuBar(*form))
        for (int i = 0; i < bar->Count(); ++i) StoreRestoreMenuItem(bar->Items(i), key, true);
    for (int i = 0; i < form->ControlCount(); ++i) StoreRestoreControl(form->Controls(i), key, true);
}

void AppVclLocDB::RestoreForm(IChangeableLangForm* form) {
    const WideString key = NameOf(*form);
    if (const WideString text = GetString(key); !text.empty()) form->SetCaption(text);
    if (TMenuItem* bar = MenuBar(*form))
        for (int i = 0; i < bar->Count(); ++i) StoreRestoreMenuItem(bar->Items(i), key, false);
    for (int i = 0; i < form->ControlCount(); ++i) StoreRestoreControl(form->Controls(i), key, false);
}

void AppVclLocDB::StoreRestoreMenuItem(TMenuItem* item, WideString parentKey, bool store) {
    if (!item || !item->Visible() || item->Name().empty()) return;
    const WideString key = parentKey + u":" + NameOf(*item);
    if (store) {
        if (!item->Caption().empty() && !item->IsLine()) SetString(key, item->Caption());
    } else if (const WideString text = GetString(key); !text.empty()) {
        item->SetCaption(text);
    }
    for (int i = 0; i < item->Count(); ++i) StoreRestoreMenuItem(item->Items(i), key, store);
}

void AppVclLocDB::StoreRestoreControl(TControl* control, WideString parentKey, bool store) {
    if (!control) return;
    const WideString key = parentKey + u":" + NameOf(*control);
    if (IsContainer(*control)) {
        if (auto* container = dynamic_cast<TWinControl*>(control))
            for (int i = 0; i < container->ControlCount(); ++i) StoreRestoreControl(container->Controls(i), key, store);
        return;
    }
    if (store) {
        if (const WideString text = GetWideControlText(control); !text.empty()) SetString(key, text);
    } else if (const WideString text = GetString(key); !text.empty()) {
        SetWideControlText(control, text);
    }
}
