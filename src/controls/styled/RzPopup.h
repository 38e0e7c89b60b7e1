// Popups: a hidden framed panel whose children are shown on request in a borderless window next
// to another control, while a local loop runs until the user accepts (ClosePopup) or dismisses
// the popup (Esc, a click outside, the application losing the focus).
#pragma once

#include <memory>

#include "controls/styled/RzPanel.h"
#include "platform/vcl/InputFilter.h"

class TRzCustomPopup : public TRzCustomPanel {
    QUILLORA_COMPONENT(TRzCustomPopup)
public:
    explicit TRzCustomPopup(TComponent* owner);

protected:
    void AdjustClientRect(TRect& rect) const override;
};

class TRzPopupPanel;

// The window that shows a popup panel's children while popped up.
class TRzPopup : public TRzCustomPopup {
    QUILLORA_COMPONENT(TRzPopup)
public:
    // The private message that ends a popup's loop.
    static constexpr UINT kCloseMessage = 0x2423;

    TRzPopup(TComponent* owner, TRzPopupPanel& panel);
    ~TRzPopup() override;

    // Shows the panel's children next to control and runs the local loop; true when accepted.
    bool Popup(TControl* control, TAlignment alignment, int x, int y);
    void Accept() { cancelled_ = false; }
    void PostClose();
    TWinControl* FocusTarget() const { return focusTarget_; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    struct LoopState {
        bool running = false;
        bool ending = false;
        bool destroyed = false;
    };
    void RunLoop();
    bool LoopInput(const TInputPeek& peek);
    bool Contains(HWND window) const;
    void MoveChildren(TWinControl& from, TWinControl& to);
    void EndLoop();

    TRzPopupPanel& panel_;
    TControl* control_ = nullptr;
    TWinControl* focusTarget_ = nullptr;
    bool cancelled_ = true;
    std::shared_ptr<LoopState> loop_ = std::make_shared<LoopState>();
};

class TRzPopupPanel : public TRzCustomPopup {
    QUILLORA_COMPONENT(TRzPopupPanel)
public:
    explicit TRzPopupPanel(TComponent* owner);
    ~TRzPopupPanel() override;

    bool Popup(TControl* control) { return PopupAt(control, -1, -1); }
    // Offsets -1, -1 place the popup under the control, aligned by Alignment.
    bool PopupAt(TControl* control, int x, int y);
    void ClosePopup();
    bool IsPoppedUp() const { return popup_ != nullptr; }
    TRzPopup* CurrentPopup() const { return popup_; }
    TControl* PoppedUpFor() const { return control_; }

    TNotifyEvent OnClose;
    TNotifyEvent OnPopup;

protected:
    void DestroyWnd() override;

private:
    TControl* control_ = nullptr;
    TRzPopup* popup_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

void RegisterStyledPopups();
