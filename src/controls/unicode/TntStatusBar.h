// The Unicode status bar: typed panels with wide text and the wide simple text. The class
// library's bar holds UTF-16 texts and aligns a panel by its leading tabs.
#pragma once

#include "controls/unicode/TntControls.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/StatusBar.h"

// The wide text with as many leading tabs as the other text has: tabs added at the front, or
// characters taken from it.
WideString MatchLeadingTabs(const WideString& wide, const WideString& other);

class TTntStatusPanel : public TStatusPanel {
    QUILLORA_PERSISTENT(TTntStatusPanel)
public:
    explicit TTntStatusPanel(TCollection* collection) : TStatusPanel(collection) {}
    WideString GetText() const { return Text(); }
    void DefineProperties(TFiler* filer) override;
};

class TTntStatusPanels : public TStatusPanels {
public:
    explicit TTntStatusPanels(TCustomStatusBar* owner);
    std::string_view ClassName() const override { return "TTntStatusPanels"; }
    TTntStatusPanel* GetItem(int index) const;
    TTntStatusPanel* Add();
};

class TTntCustomStatusBar : public TTntWideControl<TCustomStatusBar> {
    QUILLORA_COMPONENT(TTntCustomStatusBar)
public:
    explicit TTntCustomStatusBar(TComponent* owner);
    // The application's hint shows in the bar: in panel 0, or as the simple text.
    bool AutoHint() const { return autoHint_; }
    void SetAutoHint(bool v) { autoHint_ = v; }
    // A hint action with AutoHint set shows its hint, unless OnHint takes it; true when shown
    // or taken.
    bool ExecuteAction(TBasicAction* action);
    TNotifyEvent OnHint;

protected:
    void WndProc(TMessage& message) override;

private:
    bool autoHint_ = false;
};

class TTntStatusBar : public TTntCustomStatusBar {
    QUILLORA_COMPONENT(TTntStatusBar)
public:
    using TTntCustomStatusBar::TTntCustomStatusBar;
    TTntStatusPanels* GetPanels() const;
    WideString GetSimpleText() const { return SimpleText(); }
    void SetSimpleText(const WideString& text) { TCustomStatusBar::SetSimpleText(text); }
};
