#include "platform/shell/menus/ShellTransferProgress.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/WinString.h"

void TShellTransferProgress::SetCurrent(std::string name) {
    std::lock_guard guard(lock_);
    current_ = std::move(name);
}

std::string TShellTransferProgress::CurrentName() const {
    std::lock_guard guard(lock_);
    return current_;
}

void ShowShellTransferProgress(HWND, TShellTransferProgress& progress, bool move,
                               const std::function<bool()>& finished) {
    TForm form(nullptr);
    form.SetCaption(move ? u"Moving" : u"Copying");
    form.SetBorderStyle(bsDialog);
    form.SetPosition(poScreenCenter);
    form.SetClientWidth(360);
    form.SetClientHeight(100);
    auto* status = new TLabel(&form);
    status->SetParent(&form);
    status->SetBounds(12, 12, 336, 40);
    status->SetWordWrap(true);
    auto* cancel = new TButton(&form);
    cancel->SetParent(&form);
    cancel->SetCaption(u"Cancel");
    cancel->SetBounds(274, 64, 75, 25);
    cancel->SetCancel(true);
    cancel->OnClick = [&](TObject*) {
        progress.Cancel = true;
        cancel->SetEnabled(false);
    };
    // Closing the window is a Cancel too; it goes once the transfer has stopped.
    form.OnCloseQuery = [&](TObject*, bool& canClose) {
        progress.Cancel = true;
        canClose = finished();
    };
    TTimer timer(nullptr);
    timer.SetInterval(100);
    auto update = [&] {
        if (finished()) {
            form.SetModalResult(mrOk);
            return;
        }
        const WideString verb = progress.Cancel ? u"Cancelling" : move ? u"Moving" : u"Copying";
        status->SetCaption(verb + u" \"" + Utf8ToUtf16(progress.CurrentName()) + u"\" (" +
                           Utf8ToUtf16(std::to_string(std::min(progress.Done.load() + 1, progress.Total))) + u" of " +
                           Utf8ToUtf16(std::to_string(progress.Total)) + u")");
    };
    timer.OnTimer = [&](TObject*) { update(); };
    update();
    timer.SetEnabled(true);
    form.ShowModal();
    timer.SetEnabled(false);
}
