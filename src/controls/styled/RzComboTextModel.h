// What typing does to a styled combo box, without a window: incremental search in the list
// styles (characters within the search delay extend the search), completion in the edit
// (the typed prefix completed from the first matching item, the completed part selected),
// wheel stepping, the drop-down width and the Values mapping. Works on UTF-16 characters:
// any printable character searches, and a surrogate pair is one character.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/WinTypes.h"

// What a step asks the control to do.
struct TRzComboEffects {
    bool changed = false;    // ItemIndex (or the text) changed: click and change fire
    bool beep = false;       // the key was refused
    bool swallowed = false;  // the key goes no further
};

class TRzComboTextModel {
public:
    static constexpr std::int64_t SearchDelayMs = 1500;

    std::vector<WideString> Items;
    int ItemIndex = -1;
    WideString SearchText;
    // The edit field: text, caret and selection (in UTF-16 units).
    WideString Text;
    int SelStart = 0, SelLength = 0;
    bool KeepSearchCase = false;
    bool AllowEdit = true;

    // The first item that begins with prefix, ignoring case; -1 when none.
    int FindItem(const WideString& prefix) const;

    // ---- list styles (no edit field)
    // Esc, Page Up/Down, End, Home and the arrows end the search.
    void ListKeyDown(WORD key);
    TRzComboEffects ListChar(char32_t c, std::int64_t nowMs);

    // ---- the edit field with completion
    TRzComboEffects EditChar(char32_t c);
    TRzComboEffects EditBackspace();
    // Delete: refused without AllowEdit unless everything is selected.
    TRzComboEffects EditDelete();

    // The wheel on a closed list: down selects the next item, up the previous one.
    TRzComboEffects Wheel(bool down);

private:
    bool SelectMatching(const WideString& text);
    bool AutoCompleteMatch(const WideString& typed);
    void SetItem(int index);
    std::int64_t lastCharMs_ = 0;
};

// The width of the open list: dropDownWidth when above 0, else the widest item plus the scroll
// bar when the list scrolls, plus 8, at least the control's width.
int ComboDropDownWidth(const std::vector<int>& itemWidths, int dropDownWidth, int controlWidth, int dropDownCount,
                       int scrollBarWidth);
// The value of item index: its entry in values, or its own text when values has none.
WideString ComboItemValue(const std::vector<WideString>& items, const std::vector<WideString>& values, int index);
