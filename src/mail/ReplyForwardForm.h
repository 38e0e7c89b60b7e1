// The wait window of the reply and forward commands ("Preparing message, please wait..."): shown
// modally by the main window's actions, it runs the command from its one-shot timer once it is
// on screen and closes itself; Cancel closes it before the command runs.
#pragma once

#include <functional>
#include <memory>

#include "app/IChangeableLangForm.h"
#include "mail/ReplyForward.h"

class TTimer;

class TForm3 : public IChangeableLangForm {
    QUILLORA_COMPONENT(TForm3)
public:
    explicit TForm3(TComponent* owner);
    ~TForm3() override;

    // Forward (true) or reply; set by the action before the window is shown.
    bool isForward() const { return wait_->isForward; }
    void SetIsForward(bool forward) { wait_->isForward = forward; }
    // The command the timer runs: the main window's Reply or Forward.
    std::function<void(bool forward)> Command;

    void FormShow(TObject* sender);
    void Timer1Timer(TObject* sender);
    void TntButton1Click(TObject* sender);
    void LanguageChanged() override {}

private:
    class Timer;
    std::unique_ptr<Timer> timer_;
    std::unique_ptr<ReplyForwardWait> wait_;
};

// Registers the window's class for its form file.
void RegisterReplyForwardForm();

// The wait window made at start-up.
extern TForm3* Form3;
