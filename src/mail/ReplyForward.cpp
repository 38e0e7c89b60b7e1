#include "mail/ReplyForward.h"

#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "mail/MapiMailSender.h"
#include "platform/mapi/MailHandoff.h"

namespace {

// A new folder for this command's files; the temporary folder itself when it cannot be made.
WideString CommandFolder(const WideString& tempFolder) {
    const WideString folder = CAppUtils::MakeUniqueFileName(WideIncludeTrailingBackslash(tempFolder) + u"Mail");
    if (!folder.empty() && WideForceDirectories(folder)) return WideIncludeTrailingBackslash(folder);
    LogPrintf(u"FAILED: folder not created: %s", folder.c_str());
    return WideIncludeTrailingBackslash(tempFolder);
}

int Run(MailSender& sender, bool forward) { return forward ? sender.Forward() : sender.Reply(); }

}  // namespace

bool UseRdoSender(bool mapiReady, MailClientKind kind) { return mapiReady && kind == mckOutlook; }

ReplyForwardRoute RunReplyForward(TMessageAttr* message, bool forward, const ReplyForwardContext& context) {
    QUILLORA_TRACE(forward ? u"Forward" : u"Reply");
    if (!message) return ReplyForwardRoute::None;
    // A listed record may hold its headers only; the reply quotes the body.
    message->EnsureFullyLoaded();
    MailDesktop& desktop = context.desktop ? *context.desktop : SessionMailDesktop();
    const WideString folder = CommandFolder(context.tempFolder);
    if (UseRdoSender(context.mapiReady, DetectDefaultMailClient(desktop))) {
        RDOMailSender rdo(folder, context.owner, context.rdoFactory);
        if (rdo.SetMessage(message, forward) == 0 && Run(rdo, forward) == 0) return ReplyForwardRoute::Rdo;
    }
    MapiMailSender sender(desktop, folder, context.owner);
    sender.SetMessage(message, forward);
    Run(sender, forward);
    return ReplyForwardRoute::Handoff;
}

ReplyForwardWait::ReplyForwardWait(WaitTimer& timer, std::function<void(bool)> command, std::function<void()> close)
    : timer_(timer), command_(std::move(command)), close_(std::move(close)) {}

void ReplyForwardWait::FormShow() {
    armed_ = true;
    timer_.SetEnabled(true);
}

void ReplyForwardWait::Timer1Timer() {
    timer_.SetEnabled(false);
    // A tick already queued when Cancel was pressed finds the window disarmed.
    if (!armed_) return;
    armed_ = false;
    command_(isForward);
    close_();
}

void ReplyForwardWait::TntButton1Click() {
    armed_ = false;
    timer_.SetEnabled(false);
    close_();
}
