// The text model of the styled combo boxes.
#include "controls/styled/RzComboTextModel.h"

#include <algorithm>

#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/SysUtils.h"

namespace {

WideString ToUtf16(char32_t c) {
    WideString s;
    if (c >= 0x10000) {
        c -= 0x10000;
        s += static_cast<char16_t>(0xD800 + (c >> 10));
        s += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
        s += static_cast<char16_t>(c);
    }
    return s;
}

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Drops the last character, a surrogate pair as a whole.
void DropLastChar(WideString& s) {
    if (s.empty()) return;
    const bool pair = s.size() >= 2 && IsLowSurrogate(s.back());
    s.resize(s.size() - (pair ? 2 : 1));
}

}  // namespace

int TRzComboTextModel::FindItem(const WideString& prefix) const {
    const WideString folded = WideLowerCase(prefix);
    for (std::size_t i = 0; i < Items.size(); ++i) {
        const WideString& item = Items[i];
        if (item.size() >= prefix.size() && WideLowerCase(std::u16string_view(item).substr(0, prefix.size())) == folded)
            return static_cast<int>(i);
    }
    return -1;
}

void TRzComboTextModel::SetItem(int index) {
    ItemIndex = index;
    Text = index >= 0 ? Items[static_cast<std::size_t>(index)] : WideString();
}

// ---- list styles

void TRzComboTextModel::ListKeyDown(WORD key) {
    if (key == VK_ESCAPE || (key >= VK_PRIOR && key <= VK_DOWN)) SearchText.clear();
}

bool TRzComboTextModel::SelectMatching(const WideString& text) {
    const int found = FindItem(text);
    if (found < 0) return false;
    SetItem(found);
    SearchText = text;
    return true;
}

TRzComboEffects TRzComboTextModel::ListChar(char32_t c, std::int64_t nowMs) {
    TRzComboEffects fx;
    // A pause of the search delay starts a new search.
    if (nowMs - lastCharMs_ >= SearchDelayMs) SearchText.clear();
    if (c == u'\b') {
        fx.swallowed = true;
        if (SearchText.empty()) {
            fx.beep = true;
            fx.changed = SelectMatching(WideString());
            return fx;
        }
        WideString shorter = SearchText;
        DropLastChar(shorter);
        if (!shorter.empty()) {
            fx.changed = SelectMatching(shorter);
            fx.beep = !fx.changed;
        } else {
            SetItem(Items.empty() ? -1 : 0);
            SearchText.clear();
            fx.changed = true;
        }
        lastCharMs_ = nowMs;
        return fx;
    }
    // Any printable character searches, whatever its script.
    if (c < 32 || c == 127) return fx;
    fx.swallowed = true;
    const WideString extended = SearchText + ToUtf16(c);
    fx.changed = SelectMatching(extended);
    fx.beep = !fx.changed;
    lastCharMs_ = nowMs;
    return fx;
}

// ---- edit with completion

bool TRzComboTextModel::AutoCompleteMatch(const WideString& typed) {
    const int found = FindItem(typed);
    if (found < 0) return false;
    const WideString& item = Items[static_cast<std::size_t>(found)];
    ItemIndex = found;
    Text = KeepSearchCase ? typed + item.substr(typed.size()) : item;
    SelStart = static_cast<int>(typed.size());
    SelLength = static_cast<int>(Text.size()) - SelStart;
    return true;
}

TRzComboEffects TRzComboTextModel::EditChar(char32_t c) {
    TRzComboEffects fx;
    if (c < 32) return fx;
    const WideString old = SearchText;
    // The typed text: what was typed before, with the selection replaced by the character.
    WideString typed = Text.substr(0, static_cast<std::size_t>(SelStart)) + ToUtf16(c) +
                       Text.substr(static_cast<std::size_t>(std::min<int>(SelStart + SelLength, static_cast<int>(Text.size()))));
    const int caret = SelStart + static_cast<int>(ToUtf16(c).size());
    if (AutoCompleteMatch(typed.substr(0, static_cast<std::size_t>(caret)))) {
        SearchText = typed.substr(0, static_cast<std::size_t>(caret));
        fx.changed = fx.swallowed = true;
        return fx;
    }
    if (AllowEdit) {
        Text = typed;
        SelStart = caret;
        SelLength = 0;
        SearchText = Text;
        ItemIndex = -1;
        fx.changed = true;
        return fx;
    }
    SearchText = old;
    fx.beep = fx.swallowed = true;
    return fx;
}

TRzComboEffects TRzComboTextModel::EditBackspace() {
    TRzComboEffects fx;
    WideString p = SearchText;
    if (p.empty()) {
        fx.beep = true;
        return fx;
    }
    if (SelStart >= static_cast<int>(p.size())) {
        DropLastChar(p);
    } else if (SelLength > 0 && AllowEdit) {
        p.erase(static_cast<std::size_t>(SelStart), static_cast<std::size_t>(SelLength));
        ItemIndex = -1;
    } else if (AllowEdit && SelStart > 0) {
        const bool pair = SelStart >= 2 && IsLowSurrogate(p[static_cast<std::size_t>(SelStart - 1)]);
        const int n = pair ? 2 : 1;
        p.erase(static_cast<std::size_t>(SelStart - n), static_cast<std::size_t>(n));
        SelStart -= n;
    }
    fx.changed = true;
    if (p.empty()) {
        ItemIndex = -1;
        Text.clear();
        SearchText.clear();
        SelStart = SelLength = 0;
        return fx;
    }
    SearchText = p;
    if (AutoCompleteMatch(p)) {
        fx.swallowed = true;
    } else {
        Text = p;
        SelStart = static_cast<int>(p.size());
        SelLength = 0;
    }
    return fx;
}

TRzComboEffects TRzComboTextModel::EditDelete() {
    TRzComboEffects fx;
    const bool all = SelStart == 0 && SelLength == static_cast<int>(Text.size());
    if (!AllowEdit && !all) {
        fx.swallowed = true;
        return fx;
    }
    const int n = std::max(SelLength, 1);
    if (SelStart < static_cast<int>(Text.size())) Text.erase(static_cast<std::size_t>(SelStart), static_cast<std::size_t>(n));
    SelLength = 0;
    SearchText = Text;
    fx.changed = true;
    return fx;
}

TRzComboEffects TRzComboTextModel::Wheel(bool down) {
    TRzComboEffects fx;
    fx.swallowed = true;
    const int count = static_cast<int>(Items.size());
    if (down) {
        if (ItemIndex + 1 < count) {
            SetItem(ItemIndex + 1);
            fx.changed = true;
        }
    } else if (ItemIndex <= 0) {
        if (count > 0) SetItem(0);  // quietly, without events
    } else {
        SetItem(ItemIndex - 1);
        fx.changed = true;
    }
    return fx;
}

int ComboDropDownWidth(const std::vector<int>& itemWidths, int dropDownWidth, int controlWidth, int dropDownCount,
                       int scrollBarWidth) {
    if (dropDownWidth > 0) return dropDownWidth;
    int widest = 0;
    for (int w : itemWidths) widest = std::max(widest, w);
    if (static_cast<int>(itemWidths.size()) > dropDownCount) widest += scrollBarWidth;
    return std::max(widest + 8, controlWidth);
}

WideString ComboItemValue(const std::vector<WideString>& items, const std::vector<WideString>& values, int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) return WideString();
    const auto i = static_cast<std::size_t>(index);
    if (i < values.size() && !values[i].empty()) return values[i];
    return items[i];
}
