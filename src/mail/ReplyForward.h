// The reply and forward commands, without their windows: the main window's actions show the
// wait window, whose one-shot timer runs RunReplyForward on the selected message.
#pragma once

#include <functional>

#include "mail/MailSender.h"
#include "mail/RDOMailSender.h"

// What a command needs of the main window and the platform.
struct ReplyForwardContext {
    MailDesktop* desktop = nullptr;  // the session desktop when null
    bool mapiReady = false;          // MapiLibs::get().isReady: the command does not open MAPI
    WideString tempFolder;           // the program's per-process temporary folder
    HWND owner = nullptr;            // the main window
    RDOSessionFactory rdoFactory = CreateRDOSession;
};

// The profile sender is tried only with MAPI ready and the profile's mail program handling
// mailto links.
bool UseRdoSender(bool mapiReady, MailClientKind kind);

enum class ReplyForwardRoute { None, Rdo, Handoff };

// Replies to (forward false) or forwards the message: the profile sender when chosen and its
// preparation and sending succeed, else the hand-off sender, which reports its own failures.
// Each command works in a new folder of its own inside tempFolder, so it never touches the
// files of the shown message or of earlier commands. Nothing happens for a null message.
ReplyForwardRoute RunReplyForward(TMessageAttr* message, bool forward, const ReplyForwardContext& context);

// The timer of the wait window.
class WaitTimer {
public:
    virtual ~WaitTimer() = default;
    virtual void SetEnabled(bool enabled) = 0;
};

// The wait window's logic ("Preparing message, please wait..."): showing arms the 100 ms
// one-shot timer, the timer runs the command once and closes the window, Cancel stops the
// timer and closes the window, so a cancelled command never runs later.
class ReplyForwardWait {
public:
    static constexpr unsigned kIntervalMs = 100;

    ReplyForwardWait(WaitTimer& timer, std::function<void(bool forward)> command, std::function<void()> close);

    bool isForward = false;

    void FormShow();
    void Timer1Timer();
    void TntButton1Click();

private:
    WaitTimer& timer_;
    std::function<void(bool)> command_;
    std::function<void()> close_;
    bool armed_ = false;
};
