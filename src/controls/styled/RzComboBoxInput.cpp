// What typing, the wheel and the mouse do to a styled combo box: the list styles search as
// the user types, the edit completes the typed prefix from the items.
#include <chrono>

#include "controls/styled/RzComboBox.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ShortCuts.h"
#include "platform/vcl/StdCtrlsMessages.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/WinString.h"

namespace {

constexpr WORD kF4 = 0x73;
constexpr int kWheelLines = 3;

bool IsHighSurrogate(WideChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WideChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

// The first half of a surrogate pair waits (swallowed) for the second; false meanwhile.
bool TRzCustomComboBox::TakeCharacter(WideChar& key, char32_t& c) {
    if (IsHighSurrogate(key)) {
        pendingHigh_ = key;
        key = 0;
        return false;
    }
    c = IsLowSurrogate(key) && pendingHigh_ ? 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (key - 0xDC00) : key;
    pendingHigh_ = 0;
    return true;
}

void TRzCustomComboBox::InvalidKeyPressed() {
    if (beepOnInvalidKey_) MessageBeep(0);
}

void TRzCustomComboBox::LoadModel() {
    model_.Items.clear();
    for (int i = 0; i < Items()->Count(); ++i) model_.Items.push_back(Utf8ToUtf16(Items()->Get(i)));
    model_.ItemIndex = ItemIndex();
    model_.Text = Text();
    GetEditSelection(model_.SelStart, model_.SelLength);
    model_.KeepSearchCase = keepSearchCase_;
    model_.AllowEdit = allowEdit_;
}

void TRzCustomComboBox::ApplyModel(const TRzComboEffects& fx, int oldIndex) {
    const bool saved = suppressTextMatch_;
    suppressTextMatch_ = true;
    try {
        if (model_.ItemIndex != ItemIndex()) SetItemIndex(model_.ItemIndex);
        if (!ListStyle()) {
            if (Text() != model_.Text) SetText(model_.Text);
            SetEditSelection(model_.SelStart, model_.SelLength);
        }
    } catch (...) {
        suppressTextMatch_ = saved;
        throw;
    }
    suppressTextMatch_ = saved;
    if (fx.beep) InvalidKeyPressed();
    if (fx.changed) {
        Click();
        Change();
    }
    if (!ListStyle() && ItemIndex() >= 0 && ItemIndex() != oldIndex && OnMatch) OnMatch(this);
}

// ---- keys

void TRzCustomComboBox::KeyDown(WORD& key, TShiftState shift) {
    TCustomComboBox::KeyDown(key, shift);
    if (key == 0) return;
    const bool navigation = key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN;
    if (readOnly_ && (ListStyle() || navigation || key == kF4)) {
        if (key != VK_TAB) key = 0;
        return;
    }
    if (autoDropDown_ && key == VK_TAB && DroppedDown()) SetDroppedDown(false);
    if (ListStyle()) {
        model_.ListKeyDown(key);
        return;
    }
    if (!autoComplete_) return;
    if (navigation) {
        suppressTextMatch_ = true;
        model_.SearchText.clear();
    } else if (key == VK_END || key == VK_HOME || key == VK_LEFT || key == VK_RIGHT) {
        model_.SearchText = Text();
    } else if (key == VK_INSERT) {
        if (shift.Contains(ssShift)) pasteSeen_ = true;
        if (!allowEdit_) key = 0;
    } else if (key == VK_DELETE) {
        LoadModel();
        const TRzComboEffects fx = model_.EditDelete();
        // The widget deletes; the model only follows the typed prefix.
        if (fx.swallowed) key = 0;
    }
}

void TRzCustomComboBox::WMSysKeyDown(TMessage& m) {
    // Alt+F4 still reaches the form.
    if (readOnly_ && m.WParam != kF4) return;
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
}

void TRzCustomComboBox::KeyPress(WideChar& key) {
    TCustomComboBox::KeyPress(key);
    if (key == 0) return;
    if (readOnly_) {
        if (key == u'\r' && tabOnEnter_ && !DroppedDown() && HandleAllocated())
            PostMessageW(WindowHandle(), WM_KEYDOWN, VK_TAB, 0);
        if (key != 3) key = 0;  // Ctrl+C still copies
        return;
    }
    if (key == u'\r' && tabOnEnter_ && !DroppedDown()) {
        key = 0;
        if (HandleAllocated()) PostMessageW(WindowHandle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    const WideChar typed = key;
    if (ListStyle()) ListKeyPress(key);
    else if (autoComplete_) EditKeyPress(key);
    else if (Style() == csDropDown && key >= 32 && MaxLength() > 0) {
        int start = 0, length = 0;
        GetEditSelection(start, length);
        if (length == 0 && static_cast<int>(Text().size()) >= MaxLength()) {
            InvalidKeyPressed();
            key = 0;
        }
    }
    if (autoDropDown_ && typed != u'\b' && typed != 27 && typed != u'\t' && !DroppedDown()) SetDroppedDown(true);
}

// Any printable character searches, a surrogate pair as one character; a pause of the search
// delay starts a new search (the model keeps the time of the last character).
void TRzCustomComboBox::ListKeyPress(WideChar& key) {
    char32_t c = 0;
    if (!TakeCharacter(key, c)) return;
    if (c == 27) return;
    LoadModel();
    const int oldIndex = ItemIndex();
    const TRzComboEffects fx = model_.ListChar(c, Clock ? Clock() : SteadyMs());
    if (fx.swallowed) key = 0;
    ApplyModel(fx, oldIndex);
}

void TRzCustomComboBox::EditKeyPress(WideChar& key) {
    switch (key) {
    case u'\b': {
        key = 0;
        EditBackspace();
        return;
    }
    case u'\r':
        if (DroppedDown() && OnSelEndOk) OnSelEndOk(this);
        enterSeen_ = true;
        return;
    case 22:  // Ctrl+V
    case 24:  // Ctrl+X
        if (!allowEdit_) key = 0;
        else pasteSeen_ = true;
        return;
    case 27:
        model_.SearchText.clear();
        if (!DroppedDown()) key = 0;
        return;
    default: break;
    }
    if (key < 32) return;
    char32_t c = 0;
    if (!TakeCharacter(key, c)) return;
    key = 0;  // the model's text replaces the widget's handling
    LoadModel();
    if (Style() == csDropDown && MaxLength() > 0 && model_.SelLength == 0 && static_cast<int>(model_.Text.size()) >= MaxLength()) {
        InvalidKeyPressed();
        return;
    }
    const int oldIndex = ItemIndex();
    TRzComboEffects fx = model_.EditChar(c);
    if (fx.changed && !fx.swallowed) {
        // Typed, not completed: the text changes but no item was chosen.
        fx.changed = false;
        ApplyModel(fx, oldIndex);
        Change();
        return;
    }
    ApplyModel(fx, oldIndex);
}

void TRzCustomComboBox::EditBackspace() {
    LoadModel();
    const int oldIndex = ItemIndex();
    if (model_.SearchText.empty()) {
        // Nothing typed to shorten: the widget deletes as usual.
        InvalidKeyPressed();
        if (model_.SelStart == 0 && model_.SelLength == 0) return;
        const int from = model_.SelLength > 0 ? model_.SelStart : model_.SelStart - 1;
        const int count = model_.SelLength > 0 ? model_.SelLength : 1;
        model_.Text.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
        model_.SelStart = from;
        model_.SelLength = 0;
        model_.ItemIndex = -1;
        ApplyModel(TRzComboEffects{}, oldIndex);
        Change();
        return;
    }
    const TRzComboEffects fx = model_.EditBackspace();
    ApplyModel(fx, oldIndex);
}

// ---- text set from outside

void TRzCustomComboBox::WMSetText(TMessage& m) {
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
    if (!suppressTextMatch_ && autoComplete_ && !Loading() && !ComponentState().Contains(csDesigning) && !DroppedDown())
        MatchOutsideText();
    suppressTextMatch_ = false;
}

void TRzCustomComboBox::MatchOutsideText() {
    if (Style() != csDropDown) return;
    if (enterSeen_) enterSeen_ = false;
    else model_.SearchText = Text();
    if (model_.SearchText.empty()) return;
    const int found = FindItem(model_.SearchText);
    if (found < 0) return;
    const std::size_t typed = model_.SearchText.size();
    suppressTextMatch_ = true;
    SetItemIndex(found);
    suppressTextMatch_ = false;
    SetEditSelection(static_cast<int>(typed), static_cast<int>(Text().size() - std::min(typed, Text().size())));
}

// ---- mouse

void TRzCustomComboBox::WMMouseWheel(TMessage& m) {
    m.Result = 1;
    if (readOnly_) return;
    const bool down = static_cast<short>(HIWORD(m.WParam)) < 0;
    if (DroppedDown()) {
        if (auto* p = dynamic_cast<TComboBoxPeer*>(Peer())) p->SetTopIndex(std::max(0, p->TopIndex() + (down ? kWheelLines : -kWheelLines)));
        return;
    }
    LoadModel();
    const int oldIndex = ItemIndex();
    ApplyModel(model_.Wheel(down), oldIndex);
}

void TRzCustomComboBox::WMLButtonDown(TMessage& m) {
    if (readOnly_) return;
    if (Style() == csDropDown) model_.SearchText = Text();
    InheritedMessage(TCustomComboBox::ClassMessages(), m);
}
