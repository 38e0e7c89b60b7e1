// Unicode menus. The class library's menu items hold UTF-16 captions and hints, are shown by
// the toolkit's menus with those texts, and give the application the long hint of the item the
// mouse is over; the wide classes add the operations the program calls and the hot-key
// alignment of two forms of a caption.
#pragma once

#include "controls/unicode/TntControls.h"
#include "platform/vcl/Menus.h"

// The destination with its "&" hot keys at the source's positions; nothing changes when the
// two are equal or differ beyond hot keys. ETntInternalError when they cannot be made equal.
WideString SyncHotKeyPosition(const WideString& source, const WideString& destination);
// The item's wide hint.
WideString WideGetMenuItemHint(const TMenuItem* item);

class TTntMenuItem : public TMenuItem {
    QUILLORA_COMPONENT(TTntMenuItem)
public:
    using TMenuItem::TMenuItem;
    WideString GetCaption() const { return Caption(); }
    WideString GetHint() const { return Hint(); }
    void DefineProperties(TFiler* filer) override { DefineWideProperties(filer, this); }
};

class TTntPopupMenu : public TPopupMenu {
    QUILLORA_COMPONENT(TTntPopupMenu)
public:
    using TPopupMenu::TPopupMenu;
    // A new wide item owned by the menu's owner.
    TTntMenuItem* CreateMenuItem() { return new TTntMenuItem(Owner() ? Owner() : this); }
};

class TTntMainMenu : public TMainMenu {
    QUILLORA_COMPONENT(TTntMainMenu)
public:
    using TMainMenu::TMainMenu;
};
